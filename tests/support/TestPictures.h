#pragma once

#include <QColor>
#include <QSize>
#include <QString>

// Writes picture files for the source and thumbnail tests.
namespace TestPictures {

// A picture of the given size filled with colour, in the format the suffix names
// (.png, .jpg, .jpeg, .bmp through Qt; .gif as a hand-made 1 x 1 GIF, Qt writes none).
bool write(const QString &path, const QSize &size, const QColor &colour = Qt::blue);

// A PNG whose header declares width x height but which holds no pixel data.
bool writeAbsurdPng(const QString &path, quint32 width, quint32 height);

// Any bytes at all under the given name.
bool writeBytes(const QString &path, const QByteArray &bytes);

} // namespace TestPictures

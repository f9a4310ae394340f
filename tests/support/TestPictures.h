#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
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

// The JPEG of `image` (quality 90) carrying an EXIF block with the given orientation tag
// (1 upright, 3 upside down, 6 to be turned a quarter clockwise, 8 counter-clockwise, ...).
QByteArray jpegWithOrientation(const QImage &image, int orientation);

// A JPEG whose frame header is patched to declare width x height over the picture data of a
// small one (what a hostile file looks like).
QByteArray jpegDeclaring(quint16 width, quint16 height);

// A picture with a different colour in each quarter (red, green / blue, white), so that turns
// and mirrors can be told apart.
QImage quarters(const QSize &size);

} // namespace TestPictures

#pragma once
// Writes a Windows icon file holding several images. Qt's own icon writer stores one image
// per file, so the container is written here: each image as a 32-bit BGRA bitmap with its
// AND mask, which every icon reader (Qt's included) understands.
//
// Thread contract: stateless; any thread.
#include <QByteArray>
#include <QImage>
#include <QVector>

class IcoWriter
{
public:
    // The file's bytes for the given square images (1 to 256 pixels each).
    static QByteArray encode(const QVector<QImage> &images);
};

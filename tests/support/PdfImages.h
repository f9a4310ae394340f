#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QVector>

// Reads back what a PDF printer wrote, without a PDF renderer: the number of pages and the
// picture objects with their declared size and, for 8-bit RGB pictures stored as JPEG
// (DCTDecode) or zlib (FlateDecode), the decoded pixels.
namespace PdfImages {

struct Picture
{
    QSize size;        // /Width and /Height of the picture object
    QByteArray filter; // e.g. "DCTDecode", "FlateDecode"; empty when stored plain
    QImage image;      // decoded pixels; null when the encoding is not one of the above
};

bool isPdf(const QByteArray &file);
int pageCount(const QByteArray &file);
QVector<Picture> pictures(const QByteArray &file);

} // namespace PdfImages

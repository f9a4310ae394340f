#include "TestPictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QtEndian>

namespace TestPictures {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool write(const QString &path, const QSize &size, const QColor &colour)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "gif") {
        static const unsigned char gif[] = {'G', 'I', 'F', '8',  '9',  'a',  1,    0,    1, 0, 0x80, 0,
                                            0,   0,   0,   0xff, 0xff, 0xff, 0xff, 0x2c, 0, 0, 0,    0,
                                            1,   0,   1,   0,    0,    2,    2,    0x44, 1, 0, 0x3b};
        return writeBytes(path, QByteArray(reinterpret_cast<const char *>(gif), sizeof gif));
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const char *format = suffix == "jpeg" ? "jpg" : nullptr;
    return image.save(path, format);
}

namespace {

quint32 crc32Of(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    QByteArray out;
    char length[4];
    qToBigEndian<quint32>(quint32(data.size()), length);
    out.append(length, 4);
    const QByteArray body = QByteArray(type, 4) + data;
    out.append(body);
    char crc[4];
    qToBigEndian<quint32>(crc32Of(body), crc);
    out.append(crc, 4);
    return out;
}

} // namespace

bool writeAbsurdPng(const QString &path, quint32 width, quint32 height)
{
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(width, ihdr.data());
    qToBigEndian<quint32>(height, ihdr.data() + 4);
    ihdr[8] = 8; // bit depth
    ihdr[9] = 6; // RGBA
    const QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr)
        + chunk("IDAT", QByteArray("\x78\x9c\x03\x00", 4)) + chunk("IEND", QByteArray());
    return writeBytes(path, png);
}

QImage quarters(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    QPainter p(&image);
    p.fillRect(0, 0, w, h, Qt::red);
    p.fillRect(w, 0, size.width() - w, h, Qt::green);
    p.fillRect(0, h, w, size.height() - h, Qt::blue);
    p.fillRect(w, h, size.width() - w, size.height() - h, Qt::white);
    return image;
}

QByteArray jpegWithOrientation(const QImage &image, int orientation)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    // APP1 "Exif": a big-endian TIFF header and one IFD entry, Orientation (0x0112), SHORT.
    QByteArray tiff("MM\0*\0\0\0\x08", 8);
    tiff += QByteArray("\0\x01", 2);
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8);
    char value[4] = {0, char(orientation), 0, 0};
    tiff += QByteArray(value, 4);
    tiff += QByteArray(4, '\0'); // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xff\xe1", 2);
    char length[2];
    qToBigEndian<quint16>(quint16(payload.size() + 2), length);
    segment += QByteArray(length, 2) + payload;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray jpegDeclaring(quint16 width, quint16 height)
{
    QImage small = quarters(QSize(64, 48));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "JPEG", 90);
    // Walk the segments to the frame header (SOF0..SOF2) and patch its size.
    int i = 2;
    while (i + 9 < jpeg.size() && quint8(jpeg[i]) == 0xff) {
        const quint8 marker = quint8(jpeg[i + 1]);
        const int length = (quint8(jpeg[i + 2]) << 8) | quint8(jpeg[i + 3]);
        if (marker >= 0xc0 && marker <= 0xc2) {
            qToBigEndian<quint16>(height, jpeg.data() + i + 5);
            qToBigEndian<quint16>(width, jpeg.data() + i + 7);
            break;
        }
        i += 2 + length;
    }
    return jpeg;
}

} // namespace TestPictures

#include "TestPictures.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
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

} // namespace TestPictures

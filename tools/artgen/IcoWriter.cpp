#include "IcoWriter.h"

#include <QBuffer>
#include <QDataStream>

namespace {

QByteArray bitmap(const QImage &source)
{
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width();
    const int h = img.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    // BITMAPINFOHEADER; the height counts the colour rows and the mask rows together.
    s << quint32(40) << qint32(w) << qint32(h * 2) << quint16(1) << quint16(32) << quint32(0)
      << quint32(w * h * 4 + maskStride * h) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
    for (int y = h - 1; y >= 0; --y) { // bitmaps run bottom-up
        const QRgb *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x)
            s << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
              << quint8(qAlpha(row[x]));
    }
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        QByteArray mask(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = char(quint8(mask[x / 8]) | (0x80 >> (x % 8)));
        }
        s.writeRawData(mask.constData(), mask.size());
    }
    return out;
}

} // namespace

QByteArray IcoWriter::encode(const QVector<QImage> &images)
{
    QVector<QByteArray> bodies;
    for (const QImage &img : images)
        bodies << bitmap(img);
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint16(0) << quint16(1) << quint16(images.size()); // ICONDIR: reserved, type icon, count
    quint32 offset = 6 + 16 * quint32(images.size());
    for (int i = 0; i < images.size(); ++i) {
        const QImage &img = images[i];
        // A dimension of 256 is written as 0.
        s << quint8(img.width() >= 256 ? 0 : img.width()) << quint8(img.height() >= 256 ? 0 : img.height())
          << quint8(0) << quint8(0) << quint16(1) << quint16(32) << quint32(bodies[i].size())
          << quint32(offset);
        offset += quint32(bodies[i].size());
    }
    for (const QByteArray &b : bodies)
        s.writeRawData(b.constData(), b.size());
    return out;
}

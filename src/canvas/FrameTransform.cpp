#include "FrameTransform.h"

#include <QTransform>

#include <algorithm>
#include <cstring>

void FrameTransform::prepare(QImage &picture, const QSize &size, QImage::Format format)
{
    if (picture.size() == size && picture.format() == format && picture.isDetached())
        return;
    picture = QImage(size, format);
}

void FrameTransform::importFrame(uchar *data, int width, int height, bool alpha, bool flip,
                                 bool settleInPlace, QImage &into)
{
    prepare(into, QSize(width, height), frameFormat(alpha));
    const int rowBytes = width * (alpha ? 4 : 3);
    for (int y = 0; y < height; ++y) {
        uchar *src = data + std::size_t(flip ? height - 1 - y : y) * rowBytes;
        uchar *dst = into.scanLine(y);
        if (alpha && settleInPlace) {
            auto *s = reinterpret_cast<quint32 *>(src);
            auto *d = reinterpret_cast<quint32 *>(dst);
            for (int x = 0; x < width; ++x) {
                const quint32 v = s[x] | 0xff000000u;
                d[x] = v;
                s[x] = v;
            }
        } else if (alpha) {
            const auto *s = reinterpret_cast<const quint32 *>(src);
            auto *d = reinterpret_cast<quint32 *>(dst);
            for (int x = 0; x < width; ++x)
                d[x] = s[x] | 0xff000000u;
        } else {
            std::memcpy(dst, src, std::size_t(rowBytes));
        }
    }
}

void FrameTransform::exportFrame(const QImage &picture, uchar *data, bool alpha, bool flip)
{
    const QImage::Format format = frameFormat(alpha);
    const QImage converted = picture.format() == format ? picture : picture.convertToFormat(format);
    const int width = converted.width();
    const int height = converted.height();
    const std::size_t rowBytes = std::size_t(width) * (alpha ? 4 : 3);
    for (int y = 0; y < height; ++y)
        std::memcpy(data + std::size_t(flip ? height - 1 - y : y) * rowBytes,
                    converted.constScanLine(y), rowBytes);
}

void FrameTransform::rotate(const QImage &source, int quarterTurns, QImage &target)
{
    target = source.transformed(QTransform().rotate(90.0 * quarterTurns), Qt::FastTransformation);
}

void FrameTransform::copyInto(const QImage &source, QImage &target)
{
    prepare(target, source.size(), source.format());
    const std::size_t rowBytes = std::size_t(source.bytesPerLine());
    for (int y = 0; y < source.height(); ++y)
        std::memcpy(target.scanLine(y), source.constScanLine(y), rowBytes);
}

void FrameTransform::cutOut(const QImage &source, const QRect &rect, QImage &target)
{
    prepare(target, rect.size(), source.format());
    const QRect inside = rect.intersected(source.rect());
    const int bpp = source.depth() / 8;
    if (inside != rect)
        target.fill(0);
    if (inside.isEmpty())
        return;
    const std::size_t bytes = std::size_t(inside.width()) * bpp;
    const int dx = inside.x() - rect.x();
    const int dy = inside.y() - rect.y();
    for (int y = 0; y < inside.height(); ++y)
        std::memcpy(target.scanLine(dy + y) + dx * bpp,
                    source.constScanLine(inside.y() + y) + inside.x() * bpp, bytes);
}

void FrameTransform::scale(const QImage &source, const QSize &size, QImage &target)
{
    target = source.scaled(size, Qt::KeepAspectRatio, Qt::FastTransformation);
}

void FrameTransform::letterbox(const QImage &picture, const QSize &frameSize, QImage &target)
{
    const QImage::Format format = picture.depth() == 24 ? QImage::Format_RGB888 : picture.format();
    prepare(target, frameSize, format);
    // Opaque black: bytes 0, 0, 0 with a fourth byte of 255 in the 4-byte layouts.
    if (format == QImage::Format_RGB888)
        target.fill(0);
    else
        target.fill(0xff000000u);
    const int x0 = (frameSize.width() - picture.width()) / 2;
    const int y0 = (frameSize.height() - picture.height()) / 2;
    const QRect inside = QRect(x0, y0, picture.width(), picture.height()).intersected(target.rect());
    const int bpp = picture.depth() / 8;
    const std::size_t bytes = std::size_t(inside.width()) * bpp;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        std::memcpy(target.scanLine(y) + inside.x() * bpp,
                    picture.constScanLine(y - y0) + (inside.x() - x0) * bpp, bytes);
}

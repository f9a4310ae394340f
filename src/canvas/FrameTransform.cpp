#include "FrameTransform.h"

#include <QTransform>

#include <algorithm>
#include <cstring>
#include <vector>

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

namespace {

struct Pixel24
{
    uchar b[3];
};
static_assert(sizeof(Pixel24) == 3, "packed 3-byte pixel");

// Quarter turns in tiles, so that the column-wise side of the transpose stays in the cache.
template <typename P>
void rotatePixels(const QImage &source, int quarterTurns, QImage &target)
{
    constexpr int TILE = 64;
    const int w = source.width();
    const int h = source.height();
    const uchar *src = source.constBits();
    const qsizetype sbpl = source.bytesPerLine();
    auto srcAt = [&](int x, int y) { return reinterpret_cast<const P *>(src + y * sbpl)[x]; };
    if (quarterTurns == 2) {
        for (int yd = 0; yd < h; ++yd) {
            P *d = reinterpret_cast<P *>(target.scanLine(yd));
            const P *s = reinterpret_cast<const P *>(src + (h - 1 - yd) * sbpl);
            for (int xd = 0; xd < w; ++xd)
                d[xd] = s[w - 1 - xd];
        }
        return;
    }
    // Target is h x w: a clockwise turn takes target (xd, yd) from source (yd, h - 1 - xd),
    // three turns from source (w - 1 - yd, xd).
    for (int yd0 = 0; yd0 < w; yd0 += TILE) {
        const int yd1 = std::min(yd0 + TILE, w);
        for (int xd0 = 0; xd0 < h; xd0 += TILE) {
            const int xd1 = std::min(xd0 + TILE, h);
            for (int yd = yd0; yd < yd1; ++yd) {
                P *d = reinterpret_cast<P *>(target.scanLine(yd));
                if (quarterTurns == 1) {
                    for (int xd = xd0; xd < xd1; ++xd)
                        d[xd] = srcAt(yd, h - 1 - xd);
                } else {
                    for (int xd = xd0; xd < xd1; ++xd)
                        d[xd] = srcAt(w - 1 - yd, xd);
                }
            }
        }
    }
}

} // namespace

void FrameTransform::rotate(const QImage &source, int quarterTurns, QImage &target)
{
    quarterTurns = ((quarterTurns % 4) + 4) % 4;
    const int depth = source.depth();
    if (quarterTurns == 0 || (depth != 32 && source.format() != QImage::Format_RGB888)) {
        target = source.transformed(QTransform().rotate(90.0 * quarterTurns), Qt::FastTransformation);
        return;
    }
    const QSize size = quarterTurns == 2 ? source.size() : source.size().transposed();
    prepare(target, size, source.format());
    if (depth == 32)
        rotatePixels<quint32>(source, quarterTurns, target);
    else
        rotatePixels<Pixel24>(source, quarterTurns, target);
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

namespace {

// Source column or row of each target column or row for a nearest-neighbour scale, sampled
// at pixel centres in 16.16 fixed point exactly as the toolkit's raster engine does (an
// inverse scale with a 1/65536 rounding offset; columns step from a start recomputed every
// 2048 pixels, rows are computed one by one), so that the result equals
// QImage::scaled(..., Qt::FastTransformation) byte for byte.
std::vector<int> nearestIndices(int sourceLength, int targetLength, int restartEvery)
{
    constexpr int FIXED = 65536;
    const double inverse = 1.0 / (double(targetLength) / sourceLength);
    const int step = int(inverse * FIXED);
    std::vector<int> index(static_cast<std::size_t>(targetLength));
    int fixed = 0;
    for (int i = 0; i < targetLength; ++i) {
        if (i % restartEvery == 0)
            fixed = int((inverse * (i + 0.5) - 1.0 / FIXED) * FIXED);
        index[std::size_t(i)] = std::min(std::max(fixed >> 16, 0), sourceLength - 1);
        fixed += step;
    }
    return index;
}

template <typename P>
void scalePixels(const QImage &source, QImage &target)
{
    const std::vector<int> columns = nearestIndices(source.width(), target.width(), 2048);
    const std::vector<int> rows = nearestIndices(source.height(), target.height(), 1);
    const std::size_t rowBytes = std::size_t(target.width()) * sizeof(P);
    for (int y = 0; y < target.height(); ++y) {
        P *d = reinterpret_cast<P *>(target.scanLine(y));
        if (y > 0 && rows[std::size_t(y)] == rows[std::size_t(y) - 1]) {
            std::memcpy(d, target.constScanLine(y - 1), rowBytes);
            continue;
        }
        const P *s = reinterpret_cast<const P *>(source.constScanLine(rows[std::size_t(y)]));
        for (int x = 0; x < target.width(); ++x)
            d[x] = s[columns[std::size_t(x)]];
    }
}

} // namespace

void FrameTransform::scale(const QImage &source, const QSize &size, QImage &target)
{
    const QSize scaled = source.size().scaled(size, Qt::KeepAspectRatio);
    if (scaled.isEmpty() || scaled == source.size()
        || (source.depth() != 32 && source.format() != QImage::Format_RGB888)) {
        target = source.scaled(size, Qt::KeepAspectRatio, Qt::FastTransformation);
        return;
    }
    prepare(target, scaled, source.format());
    if (source.depth() == 32)
        scalePixels<quint32>(source, target);
    else
        scalePixels<Pixel24>(source, target);
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

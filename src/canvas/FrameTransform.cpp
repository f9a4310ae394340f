#include "canvas/FrameTransform.h"

#include <QTransform>

#include <algorithm>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// One row of 4-byte pixels made opaque into `to`, and also back into `settle` unless it is
// null. Runs once per live frame over every pixel, so it goes four pixels at a time.
void opaqueRow(const quint32 *from, quint32 *to, quint32 *settle, int width)
{
    int x = 0;
#ifdef __SSE2__
    const __m128i alpha = _mm_set1_epi32(int(0xff000000u));
    for (; x + 4 <= width; x += 4) {
        const __m128i v = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(from + x)), alpha);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + x), v);
        if (settle)
            _mm_storeu_si128(reinterpret_cast<__m128i *>(settle + x), v);
    }
#endif
    for (; x < width; ++x) {
        const quint32 v = from[x] | 0xff000000u;
        to[x] = v;
        if (settle)
            settle[x] = v;
    }
}

} // namespace

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
        if (alpha) {
            auto *s = reinterpret_cast<quint32 *>(src);
            opaqueRow(s, reinterpret_cast<quint32 *>(dst), settleInPlace ? s : nullptr, width);
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
        std::memcpy(data + std::size_t(flip ? height - 1 - y : y) * rowBytes, converted.constScanLine(y),
                    rowBytes);
}

namespace {

struct Pixel24
{
    uchar b[3];
};
static_assert(sizeof(Pixel24) == 3, "packed 3-byte pixel");

// A region of the turned picture, in tiles, so that the column-wise side of the transpose
// stays in the cache. Target (xd, yd) is the turned picture's (region.x + xd, region.y + yd),
// which is source (yr, h - 1 - xr) after one clockwise turn, (w - 1 - xr, h - 1 - yr) after
// two and (w - 1 - yr, xr) after three.
template<typename P>
void rotatePixels(const QImage &source, int quarterTurns, const QRect &region, QImage &target)
{
    constexpr int TILE = 64;
    const int w = source.width();
    const int h = source.height();
    const uchar *src = source.constBits();
    const qsizetype sbpl = source.bytesPerLine();
    const int rx = region.x();
    const int ry = region.y();
    if (quarterTurns == 2) {
        for (int yd = 0; yd < region.height(); ++yd) {
            P *d = reinterpret_cast<P *>(target.scanLine(yd));
            const P *s = reinterpret_cast<const P *>(src + (h - 1 - ry - yd) * sbpl) + (w - 1 - rx);
            for (int xd = 0; xd < region.width(); ++xd)
                d[xd] = *(s - xd);
        }
        return;
    }
    for (int yd0 = 0; yd0 < region.height(); yd0 += TILE) {
        const int yd1 = std::min(yd0 + TILE, region.height());
        for (int xd0 = 0; xd0 < region.width(); xd0 += TILE) {
            const int xd1 = std::min(xd0 + TILE, region.width());
            for (int yd = yd0; yd < yd1; ++yd) {
                P *d = reinterpret_cast<P *>(target.scanLine(yd));
                const int yr = ry + yd;
                if (quarterTurns == 1) {
                    const uchar *s = src + (h - 1 - rx - xd0) * sbpl + qsizetype(yr) * qsizetype(sizeof(P));
                    for (int xd = xd0; xd < xd1; ++xd, s -= sbpl)
                        d[xd] = *reinterpret_cast<const P *>(s);
                } else {
                    const uchar *s = src + (rx + xd0) * sbpl + qsizetype(w - 1 - yr) * qsizetype(sizeof(P));
                    for (int xd = xd0; xd < xd1; ++xd, s += sbpl)
                        d[xd] = *reinterpret_cast<const P *>(s);
                }
            }
        }
    }
}

} // namespace

void FrameTransform::rotate(const QImage &source, int quarterTurns, QImage &target)
{
    quarterTurns = ((quarterTurns % 4) + 4) % 4;
    const QSize turned = quarterTurns % 2 ? source.size().transposed() : source.size();
    rotateRegion(source, quarterTurns, QRect(QPoint(0, 0), turned), target);
}

void FrameTransform::rotateRegion(const QImage &source, int quarterTurns, const QRect &region, QImage &target)
{
    quarterTurns = ((quarterTurns % 4) + 4) % 4;
    const int depth = source.depth();
    const QSize turned = quarterTurns % 2 ? source.size().transposed() : source.size();
    if (!QRect(QPoint(0, 0), turned).contains(region) || region.isEmpty()) {
        target = QImage();
        return;
    }
    if (quarterTurns == 0) {
        cutOut(source, region, target);
        return;
    }
    if (depth != 32 && source.format() != QImage::Format_RGB888) {
        const QImage turnedPicture = source.transformed(QTransform().rotate(90.0 * quarterTurns),
                                                        Qt::FastTransformation);
        target = turnedPicture.copy(region);
        return;
    }
    prepare(target, region.size(), source.format());
    if (depth == 32)
        rotatePixels<quint32>(source, quarterTurns, region, target);
    else
        rotatePixels<Pixel24>(source, quarterTurns, region, target);
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

template<typename P>
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

namespace {

template<typename P>
void rotateScalePixels(const QImage &source, int quarterTurns, const QRect &region, QImage &target)
{
    const int w = source.width();
    const int h = source.height();
    const std::vector<int> columns = nearestIndices(region.width(), target.width(), 2048);
    const std::vector<int> rows = nearestIndices(region.height(), target.height(), 1);
    const uchar *src = source.constBits();
    const qsizetype sbpl = source.bytesPerLine();
    // Along a target row the turned picture's x runs down (one turn) or along (three turns)
    // a source column, or backwards along a source row (two turns).
    std::vector<const uchar *> lines(std::size_t(target.width()));
    std::vector<int> offsets(std::size_t(target.width()));
    for (int x = 0; x < target.width(); ++x) {
        const int xr = region.x() + columns[std::size_t(x)];
        if (quarterTurns == 1)
            lines[std::size_t(x)] = src + (h - 1 - xr) * sbpl;
        else if (quarterTurns == 3)
            lines[std::size_t(x)] = src + xr * sbpl;
        else
            offsets[std::size_t(x)] = w - 1 - xr;
    }
    if (quarterTurns == 0) {
        const std::size_t rowBytes = std::size_t(target.width()) * sizeof(P);
        for (int y = 0; y < target.height(); ++y) {
            P *d = reinterpret_cast<P *>(target.scanLine(y));
            if (y > 0 && rows[std::size_t(y)] == rows[std::size_t(y) - 1]) {
                std::memcpy(d, target.constScanLine(y - 1), rowBytes);
                continue;
            }
            const P *s = reinterpret_cast<const P *>(src + (region.y() + rows[std::size_t(y)]) * sbpl)
                + region.x();
            for (int x = 0; x < target.width(); ++x)
                d[x] = s[columns[std::size_t(x)]];
        }
        return;
    }
    if (quarterTurns == 2) {
        for (int y = 0; y < target.height(); ++y) {
            P *d = reinterpret_cast<P *>(target.scanLine(y));
            const int yr = region.y() + rows[std::size_t(y)];
            const P *s = reinterpret_cast<const P *>(src + (h - 1 - yr) * sbpl);
            for (int x = 0; x < target.width(); ++x)
                d[x] = s[offsets[std::size_t(x)]];
        }
        return;
    }
    // In bands of target columns, so that the source lines one band reads stay in the cache
    // and the address translation buffers from one target row to the next.
    constexpr int BAND = 128;
    for (int x0 = 0; x0 < target.width(); x0 += BAND) {
        const int x1 = std::min(x0 + BAND, target.width());
        for (int y = 0; y < target.height(); ++y) {
            P *d = reinterpret_cast<P *>(target.scanLine(y));
            const int yr = region.y() + rows[std::size_t(y)];
            const int column = quarterTurns == 1 ? yr : w - 1 - yr;
            for (int x = x0; x < x1; ++x)
                d[x] = reinterpret_cast<const P *>(lines[std::size_t(x)])[column];
        }
    }
}

} // namespace

bool FrameTransform::rotateScale(const QImage &source, int quarterTurns, const QRect &region,
                                 const QSize &size, QImage &target)
{
    quarterTurns = ((quarterTurns % 4) + 4) % 4;
    const QSize turned = quarterTurns % 2 ? source.size().transposed() : source.size();
    const QSize scaled = region.size().scaled(size, Qt::KeepAspectRatio);
    if (region.isEmpty() || !QRect(QPoint(0, 0), turned).contains(region) || scaled.isEmpty()
        || scaled == region.size() || (source.depth() != 32 && source.format() != QImage::Format_RGB888))
        return false;
    prepare(target, scaled, source.format());
    if (source.depth() == 32)
        rotateScalePixels<quint32>(source, quarterTurns, region, target);
    else
        rotateScalePixels<Pixel24>(source, quarterTurns, region, target);
    return true;
}

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

#include "canvas/FrameTransform.h"

#include "canvas/PixelRows.h"

#include <QTransform>

#include <algorithm>
#include <cstring>
#include <vector>

bool FrameTransform::prepare(QImage &picture, const QSize &size, QImage::Format format)
{
    if (picture.size() == size && picture.format() == format && picture.isDetached())
        return true;
    picture = QImage(size, format);
    return false;
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
            PixelRows::opaque(s, reinterpret_cast<quint32 *>(dst), settleInPlace, width);
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
void nearestIndices(int sourceLength, int targetLength, int restartEvery, std::vector<int> &index)
{
    constexpr int FIXED = 65536;
    const double inverse = 1.0 / (double(targetLength) / sourceLength);
    const int step = int(inverse * FIXED);
    index.resize(static_cast<std::size_t>(targetLength));
    int fixed = 0;
    for (int i = 0; i < targetLength; ++i) {
        if (i % restartEvery == 0)
            fixed = int((inverse * (i + 0.5) - 1.0 / FIXED) * FIXED);
        index[std::size_t(i)] = std::min(std::max(fixed >> 16, 0), sourceLength - 1);
        fixed += step;
    }
}

// The whole factor by which `index` repeats each source pixel (i / factor), or 0.
int wholeFactor(const std::vector<int> &index, int sourceLength)
{
    const int count = int(index.size());
    const int factor = sourceLength > 0 ? count / sourceLength : 0;
    if (factor < 2 || factor > PixelRows::maxFactor() || factor * sourceLength != count)
        return 0;
    for (int i = 0; i < count; ++i)
        if (index[std::size_t(i)] != i / factor)
            return 0;
    return factor;
}

// Where a scaled picture is written: `width` x `height` pixels from `bits` on, rows
// `bytesPerLine` apart (a whole picture, or the middle of a letterboxed one).
struct Area
{
    uchar *bits;
    qsizetype bytesPerLine;
    int width;
    int height;
    uchar *row(int y) const { return bits + y * bytesPerLine; }
};

// The work lists of a scale, kept by the thread from frame to frame so that the steady frame
// path does not allocate.
struct ScaleLists
{
    std::vector<int> columns;
    std::vector<int> rows;
    std::vector<const uchar *> lines;
};

ScaleLists &scaleLists()
{
    thread_local ScaleLists lists;
    return lists;
}

template<typename P>
void gatherRow(const P *from, const int *index, P *to, int count)
{
    for (int x = 0; x < count; ++x)
        to[x] = from[index[x]];
}

template<>
void gatherRow<quint32>(const quint32 *from, const int *index, quint32 *to, int count)
{
    PixelRows::gather(from, index, to, count);
}

// rotateRegion() followed by a nearest-neighbour scale into `to`, reading only the sampled
// pixels.
template<typename P>
void rotateScalePixels(const QImage &source, int quarterTurns, const QRect &region, const Area &to)
{
    const int w = source.width();
    const int h = source.height();
    const int tw = to.width;
    const int th = to.height;
    ScaleLists &lists = scaleLists();
    nearestIndices(region.width(), tw, 2048, lists.columns);
    nearestIndices(region.height(), th, 1, lists.rows);
    const int *columns = lists.columns.data();
    const int *rows = lists.rows.data();
    const uchar *src = source.constBits();
    const qsizetype sbpl = source.bytesPerLine();
    const std::size_t rowBytes = std::size_t(tw) * sizeof(P);
    if (quarterTurns == 0 || quarterTurns == 2) {
        // Along a target row the turned picture's x runs along a source row, backwards after
        // two turns.
        int factor = 0;
        if (quarterTurns == 2) {
            for (int x = 0; x < tw; ++x)
                lists.columns[std::size_t(x)] = w - 1 - (region.x() + columns[x]);
        } else if (sizeof(P) == 4) {
            factor = wholeFactor(lists.columns, region.width());
        }
        for (int y = 0; y < th; ++y) {
            P *d = reinterpret_cast<P *>(to.row(y));
            if (y > 0 && rows[y] == rows[y - 1]) {
                std::memcpy(d, to.row(y - 1), rowBytes);
                continue;
            }
            const int yr = region.y() + rows[y];
            if (quarterTurns == 2) {
                gatherRow(reinterpret_cast<const P *>(src + (h - 1 - yr) * sbpl), columns, d, tw);
                continue;
            }
            const P *s = reinterpret_cast<const P *>(src + yr * sbpl) + region.x();
            if (factor)
                PixelRows::expand(reinterpret_cast<const quint32 *>(s), reinterpret_cast<quint32 *>(d), tw,
                                  factor);
            else
                gatherRow(s, columns, d, tw);
        }
        return;
    }
    // Along a target row the turned picture's x runs down (one turn) or along (three turns) a
    // source column.
    lists.lines.resize(std::size_t(tw));
    const uchar **lines = lists.lines.data();
    for (int x = 0; x < tw; ++x) {
        const int xr = region.x() + columns[x];
        lines[x] = quarterTurns == 1 ? src + (h - 1 - xr) * sbpl : src + xr * sbpl;
    }
    // In bands of target columns, each a cache line of the target wide: the source lines one
    // band reads stay in the cache from one target row to the next, and each source line is
    // asked for a few lines before it is read (a turned read walks across the source rows, which
    // the processor's own prefetching does not follow).
    constexpr int BAND = 64 / int(sizeof(P)) < 16 ? 16 : 64 / int(sizeof(P));
    constexpr int AHEAD = 64;      // pixels
    constexpr int AHEAD_EVERY = 8; // target rows; a column step is at most two pixels at best fit
    const int lead = int((reinterpret_cast<quintptr>(to.bits) / sizeof(P)) % BAND);
    for (int x0 = 0; x0 < tw;) {
        const int x1 = std::min(x0 == 0 && lead ? BAND - lead : x0 + BAND, tw);
        for (int y = 0; y < th; ++y) {
            P *d = reinterpret_cast<P *>(to.row(y));
            const int yr = region.y() + rows[y];
            const int column = quarterTurns == 1 ? yr : w - 1 - yr;
            if (y % AHEAD_EVERY == 0) {
                const int ahead = quarterTurns == 1 ? column + AHEAD : column - AHEAD;
                if (ahead >= 0 && ahead < w)
                    for (int x = x0; x < x1; ++x)
                        __builtin_prefetch(reinterpret_cast<const P *>(lines[x]) + ahead);
            }
            for (int x = x0; x < x1; ++x)
                d[x] = reinterpret_cast<const P *>(lines[x])[column];
        }
        x0 = x1;
    }
}

void rotateScaleInto(const QImage &source, int quarterTurns, const QRect &region, const Area &to)
{
    if (source.depth() == 32)
        rotateScalePixels<quint32>(source, quarterTurns, region, to);
    else
        rotateScalePixels<Pixel24>(source, quarterTurns, region, to);
}

// What rotateScale() makes of `region` for `size`; empty when it cannot do it directly.
QSize rotateScaleSize(const QImage &source, int quarterTurns, const QRect &region, const QSize &size)
{
    const QSize turned = quarterTurns % 2 ? source.size().transposed() : source.size();
    const QSize scaled = region.size().scaled(size, Qt::KeepAspectRatio);
    if (region.isEmpty() || !QRect(QPoint(0, 0), turned).contains(region) || scaled.isEmpty()
        || scaled == region.size() || (source.depth() != 32 && source.format() != QImage::Format_RGB888))
        return QSize();
    return scaled;
}

QImage::Format letterboxFormat(const QImage &picture)
{
    return picture.depth() == 24 ? QImage::Format_RGB888 : picture.format();
}

// Makes `target` a frameSize picture that is opaque black outside `inside`, where the caller
// writes the picture next. Margins written for the same `inside` into the same unshared
// picture are still there; `placed` remembers what was written.
void prepareLetterbox(QImage &target, const QSize &frameSize, QImage::Format format, const QRect &inside,
                      QRect &placed)
{
    const bool kept = FrameTransform::prepare(target, frameSize, format);
    if (kept && placed == inside)
        return;
    // Opaque black: bytes 0, 0, 0 with a fourth byte of 255 in the 4-byte layouts.
    if (format == QImage::Format_RGB888)
        target.fill(0);
    else
        target.fill(0xff000000u);
    placed = inside;
}

QRect letterboxPlace(const QSize &picture, const QSize &frameSize)
{
    const int x0 = (frameSize.width() - picture.width()) / 2;
    const int y0 = (frameSize.height() - picture.height()) / 2;
    return QRect(QPoint(x0, y0), picture);
}

} // namespace

bool FrameTransform::rotateScale(const QImage &source, int quarterTurns, const QRect &region,
                                 const QSize &size, QImage &target)
{
    quarterTurns = ((quarterTurns % 4) + 4) % 4;
    const QSize scaled = rotateScaleSize(source, quarterTurns, region, size);
    if (scaled.isEmpty())
        return false;
    prepare(target, scaled, source.format());
    rotateScaleInto(source, quarterTurns, region,
                    Area{target.bits(), target.bytesPerLine(), scaled.width(), scaled.height()});
    return true;
}

bool FrameTransform::rotateScaleLetterboxed(const QImage &source, int quarterTurns, const QRect &region,
                                            const QSize &size, const QSize &frameSize, QImage &target,
                                            QRect &placed)
{
    quarterTurns = ((quarterTurns % 4) + 4) % 4;
    const QSize scaled = rotateScaleSize(source, quarterTurns, region, size);
    if (scaled.isEmpty() || scaled.width() > frameSize.width() || scaled.height() > frameSize.height())
        return false;
    const QRect inside = letterboxPlace(scaled, frameSize);
    prepareLetterbox(target, frameSize, letterboxFormat(source), inside, placed);
    const int bpp = source.depth() / 8;
    uchar *origin = target.bits() + inside.y() * target.bytesPerLine() + inside.x() * bpp;
    rotateScaleInto(source, quarterTurns, region,
                    Area{origin, target.bytesPerLine(), scaled.width(), scaled.height()});
    return true;
}

void FrameTransform::scale(const QImage &source, const QSize &size, QImage &target)
{
    if (!rotateScale(source, 0, source.rect(), size, target))
        target = source.scaled(size, Qt::KeepAspectRatio, Qt::FastTransformation);
}

void FrameTransform::letterbox(const QImage &picture, const QSize &frameSize, QImage &target, QRect *placed)
{
    const QImage::Format format = letterboxFormat(picture);
    const QRect where = letterboxPlace(picture.size(), frameSize);
    QRect written;
    prepareLetterbox(target, frameSize, format, where, placed ? *placed : written);
    const QRect inside = where.intersected(target.rect());
    const int bpp = picture.depth() / 8;
    const std::size_t bytes = std::size_t(inside.width()) * bpp;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        std::memcpy(target.scanLine(y) + inside.x() * bpp,
                    picture.constScanLine(y - where.y()) + (inside.x() - where.x()) * bpp, bytes);
}

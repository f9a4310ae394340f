#pragma once

// Looks for colours in processed pictures: how many pixels of a region are near a colour and
// the box they fill, and how well two pictures match when one is shifted.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdlib>

namespace PixelProbe {

inline bool near(QRgb pixel, const QColor &colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance
        && std::abs(qGreen(pixel) - colour.green()) <= tolerance
        && std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

inline bool near(const QImage &image, const QPoint &at, const QColor &colour, int tolerance)
{
    return image.valid(at) && near(image.pixel(at), colour, tolerance);
}

// Pixels of `region` (the whole picture when null) within `tolerance` of `colour`, and the box
// they span.
struct Match
{
    int count = 0;
    QRect box;
};

inline Match find(const QImage &picture, const QColor &colour, int tolerance, QRect region = QRect())
{
    Match match;
    if (picture.isNull())
        return match;
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    region = region.isNull() ? image.rect() : region.intersected(image.rect());
    int left = region.right() + 1, right = -1, top = region.bottom() + 1, bottom = -1;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = region.left(); x <= region.right(); ++x) {
            if (!near(row[x], colour, tolerance))
                continue;
            ++match.count;
            left = qMin(left, x);
            right = qMax(right, x);
            top = qMin(top, y);
            bottom = qMax(bottom, y);
        }
    }
    if (match.count > 0)
        match.box = QRect(QPoint(left, top), QPoint(right, bottom));
    return match;
}

// Mean difference per colour channel between `a` at p + shift and `b` at p, over a grid of
// points p inside both pictures; 255 when they share no point.
inline double shiftedDifference(const QImage &a, const QImage &b, const QPoint &shift, int step = 8)
{
    const QImage ia = a.convertToFormat(QImage::Format_RGB32);
    const QImage ib = b.convertToFormat(QImage::Format_RGB32);
    qint64 sum = 0;
    qint64 samples = 0;
    for (int y = 0; y < ib.height(); y += step) {
        for (int x = 0; x < ib.width(); x += step) {
            const QPoint p(x + shift.x(), y + shift.y());
            if (!ia.valid(p))
                continue;
            const QRgb pa = ia.pixel(p);
            const QRgb pb = ib.pixel(x, y);
            sum += std::abs(qRed(pa) - qRed(pb)) + std::abs(qGreen(pa) - qGreen(pb))
                + std::abs(qBlue(pa) - qBlue(pb));
            samples += 3;
        }
    }
    return samples ? double(sum) / samples : 255.0;
}

} // namespace PixelProbe

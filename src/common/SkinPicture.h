#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QPainter;

// The skin's pictures for dense screens. Every picture of the resource tree has a partner drawn
// at twice its size ("X@2x.png" beside "X.png"). Where a logical pixel is more than one device
// pixel the partner is loaded and carries device pixel ratio 2: it covers the same logical area
// as the plain picture and shows twice the detail. QImage reports its size in device pixels,
// so layout asks logicalSize() instead.
//
// Threads: any thread; nothing is kept between calls.
class SkinPicture
{
public:
    // The picture at path for painting at devicePixelRatio; null when the picture is missing.
    static QImage load(const QString &path, qreal devicePixelRatio);
    // The same for the highest ratio of the application's screens. Widgets load their pictures
    // once, mostly before they are shown, and may later move to another screen: a 2x picture
    // reduced on a plain screen stays sharp, a plain one enlarged on a dense screen does not.
    static QImage load(const QString &path);
    // "@2x" before the file name's extension, or appended to a name without one.
    static QString highDensityPath(const QString &path);
    // The area a picture covers, in logical pixels.
    static QSize logicalSize(const QImage &picture);
    // A picture stretched to a logical size at its own pixel ratio (frame strips, the panel's
    // middle, slider tracks); null for a null picture or an empty size.
    static QImage stretched(const QImage &picture, const QSize &logicalSize);
    // Between whole ratios (1.5) a 2x picture is drawn reduced: filtered, its edges stay even
    // instead of losing every fourth row and column. At whole ratios pictures land pixel for
    // pixel and the filter changes nothing.
    static void prepare(QPainter &painter);
};

#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

// The view geometry of a canvas: digital zoom, view offset (pan) and rotation in quarter turns,
// the cut-out and scale-back sizes of the frame processing, and the mappings between widget,
// frame and annotation-layer coordinates.
//
// Threads: a plain value class without locking. The frame pipeline owns one and guards it with
// its lock, so every member is called with that lock held (on the GUI thread, or on the capture
// thread inside the frame processing).
class ViewGeometry
{
public:
    static constexpr int MAX_ZOOM = 6;

    // Where and how large the display image is painted inside a widget.
    struct PaintMapping
    {
        double scale = 0.0;
        int drawnWidth = 0;
        int drawnHeight = 0;
        int marginX = 0;
        int marginY = 0;
        bool isValid() const { return scale > 0.0; }
    };

    int frameWidth() const { return m_width; }
    int frameHeight() const { return m_height; }
    QSize frameSize() const { return QSize(m_width, m_height); }
    int rotation() const { return m_rotation; }
    double zoom() const { return m_zoom; }
    QPoint viewOffset() const { return QPoint(m_offsetX, m_offsetY); }

    int rotatedWidth() const { return m_rotation % 2 == 0 ? m_width : m_height; }
    int rotatedHeight() const { return m_rotation % 2 == 0 ? m_height : m_width; }
    double fitZoom() const;

    // Stores a new frame size and re-clamps the view around its centre at the current
    // whole-number zoom.
    void setFrameSize(int width, int height);
    // The same picture at another resolution: the frame size changes and the view keeps its
    // zoom and its centre on the picture.
    void rescaleFrame(int width, int height);

    QPointF viewCentre() const;
    void zoomAround(const QPointF &centre, int z);
    void setViewOffset(int x, int y);

    // One step in; false (and nothing changes) when the next step would pass MAX_ZOOM.
    bool zoomIn();
    void zoomOut();
    // One step in or out that keeps the picture point under `framePoint` (a point of the
    // processed frame) where it is; false when the zoom stays.
    bool zoomStepAt(const QPointF &framePoint, bool in);
    void zoomBestFit();
    // A quarter turn; the caller turns the annotation layer with the view.
    void rotateClockwise();
    void rotateCounterClockwise();
    // Re-clamps after a widget resize (the processed frame keeps its size).
    void reclamp();
    // The hand tool: the picture follows the pointer from `last` to `current` (frame points).
    void pan(const QPoint &last, const QPoint &current);

    // Region of the rotated picture (pictureWidth x pictureHeight) that the view shows; parts
    // outside the picture are possible and come out black.
    QRect cutOutRect(int pictureWidth, int pictureHeight) const;
    // Size the cut-out is scaled to before it is letterboxed into the frame.
    QSize scaleBackSize(const QSize &cutOut) const;

    static PaintMapping paintMapping(const QSize &widget, const QSize &image);
    static QPoint widgetToFrame(const PaintMapping &m, const QPointF &widgetPoint);
    QPoint frameToLayer(const QPoint &framePoint, const QSize &displayImage, const QSize &layer) const;
    static QRectF frameRectToWidget(const PaintMapping &m, int x1, int y1, int x2, int y2);

private:
    int m_width = -1;
    int m_height = -1;
    int m_rotation = 0;
    double m_zoom = 1.0;
    int m_offsetX = 0;
    int m_offsetY = 0;
};

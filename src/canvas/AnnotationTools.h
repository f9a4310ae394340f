#pragma once

#include "canvas/CanvasTypes.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPolygon>
#include <QPolygonF>
#include <QRect>

#include <cmath>
#include <functional>

class ViewGeometry;

// The drawing tools of a canvas working on its annotation layer: the tool and line settings, the
// layer backup of the rubber-band shapes, the press point and the clip selection. The layer
// itself and its dirty flag belong to the canvas; every operation is handed them.
//
// Threads: owned by the canvas and guarded by the canvas lock; every member is called on the GUI
// thread with that lock held.
class AnnotationTools
{
public:
    // Layer point of a frame point under the current view.
    using ToLayer = std::function<QPoint(const QPoint &)>;

    // The line and fill settings the colour, line-width and fill popups write.
    struct Style
    {
        int lineWidth = 2;
        QColor lineColor = Qt::black;
        bool fillEnabled = false;
        QColor fillColor = Qt::black;
        QColor backgroundColor = Qt::white; // kept for the fill popup; nothing draws with it
        // Freehand as a highlighter: a translucent stroke three times as wide, even where it
        // crosses itself.
        bool highlighter = false;
    };

    int tool = TOOL_HAND;
    Style style;
    // Layer pixels to a screen pixel, never below 1: the widths are screen pixels, so that a
    // pen looks as wide on screen at every capture size (set at each press).
    double widthScale = 1.0;

    // Mouse press at a frame point: remembers it and backs the layer up. Returns whether the
    // layer is to be marked as holding drawings (the shape tools).
    bool press(const QPoint &framePoint, const QImage &layer);
    // Mouse move to frame point `current` (a button is held).
    void move(const QPoint &current, QImage &layer, ViewGeometry &view, const ToLayer &toLayer);
    // The layer as it was at the last press.
    const QImage &backup() const { return m_backup; }
    // Whether the tool changes the layer (shapes, freehand, eraser).
    bool drawsOnLayer() const { return tool >= TOOL_FREEHAND && tool <= TOOL_ERASER; }

    // The clip selection in frame points, inclusive; none is (0, 0, -1, -1).
    bool hasClipSelection() const { return m_clipX2 >= m_clipX1 && m_clipY2 >= m_clipY1; }
    QRect clipRect() const { return QRect(QPoint(m_clipX1, m_clipY1), QPoint(m_clipX2, m_clipY2)); }
    int clipX1() const { return m_clipX1; }
    int clipY1() const { return m_clipY1; }
    int clipX2() const { return m_clipX2; }
    int clipY2() const { return m_clipY2; }
    void resetClipSelection();

    // Eraser radius: 2 x line width + 1, in layer pixels.
    int eraserRadius() const { return int(std::lround((2 * style.lineWidth + 1) * widthScale)); }

    // The shapes, from press point p to current point q in layer points.
    static QPolygonF arrowPolygon(const QPoint &p, const QPoint &q);
    static QPolygon trianglePolygon(const QPoint &p, const QPoint &q);
    // Rectangle with the corners p and q - (1, 1), as dragged (not normalised).
    static QRect shapeRect(const QPoint &p, const QPoint &q);
    // Makes transparent every layer pixel within `radius` of `centre` in both axes.
    static void erase(QImage &layer, const QPoint &centre, int radius);

private:
    void drawShape(QImage &layer, const QPoint &p, const QPoint &q);
    void updateClipSelection(const QPoint &current, const ViewGeometry &view);

    QPoint m_last;
    QImage m_backup;
    QPolygon m_path; // the highlighter's stroke so far, in layer points
    int m_clipX1 = 0;
    int m_clipY1 = 0;
    int m_clipX2 = -1;
    int m_clipY2 = -1;
};

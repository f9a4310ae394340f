#include "canvas/AnnotationTools.h"

#include "canvas/ViewGeometry.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstring>

bool AnnotationTools::press(const QPoint &framePoint, const QImage &layer)
{
    m_last = framePoint;
    m_backup = layer.copy();
    m_path.clear();
    return tool >= TOOL_FREEHAND && tool <= TOOL_TRIANGLE;
}

void AnnotationTools::move(const QPoint &current, QImage &layer, ViewGeometry &view, const ToLayer &toLayer)
{
    switch (tool) {
    case TOOL_HAND:
        view.pan(m_last, current);
        m_last = current;
        return;
    case TOOL_CLIP:
        updateClipSelection(current, view);
        return;
    case TOOL_TEXT:
        return;
    default:
        break;
    }
    if (layer.isNull())
        return;
    const QPoint p = toLayer(m_last);
    const QPoint q = toLayer(current);
    if (tool == TOOL_ERASER) {
        erase(layer, q, eraserRadius());
        return;
    }
    if (tool == TOOL_FREEHAND && style.highlighter) {
        // The whole stroke again over the layer as it was: translucent ink laid once.
        if (m_path.isEmpty())
            m_path << p;
        m_path << q;
        const double width = 3 * (style.lineWidth > 0 ? style.lineWidth : 1) * widthScale;
        QPainter painter(&layer);
        if (m_backup.size() == layer.size()) {
            // Only the stroke's box goes back to the layer as it was: it holds the stroke so
            // far, and copying a whole 8 MP layer at every move would lag the pointer.
            const int pad = int(std::ceil(width / 2)) + 2;
            const QRect dirty = m_path.boundingRect().adjusted(-pad, -pad, pad, pad) & layer.rect();
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(dirty.topLeft(), m_backup, dirty);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        QColor ink = style.lineColor;
        ink.setAlpha(96);
        painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        painter.drawPolyline(m_path);
        m_last = current;
        return;
    }
    if (tool == TOOL_FREEHAND) {
        drawShape(layer, p, q);
        m_last = current;
        return;
    }
    // Rubber band: the shape from the press point replaces the previous one. A backup of
    // another size is from before a frame size change and no longer fits.
    if (m_backup.size() == layer.size())
        layer = m_backup.copy();
    drawShape(layer, p, q);
}

void AnnotationTools::drawShape(QImage &layer, const QPoint &p, const QPoint &q)
{
    QPainter painter(&layer);
    painter.setPen(
        QPen(style.lineColor, (style.lineWidth > 0 ? style.lineWidth : 1) * widthScale, Qt::SolidLine));
    painter.setBrush(style.fillEnabled ? QBrush(style.fillColor, Qt::SolidPattern) : QBrush(Qt::NoBrush));
    switch (tool) {
    case TOOL_FREEHAND:
    case TOOL_LINE:
        painter.drawLine(p, q);
        break;
    case TOOL_ARROW:
        painter.drawPolygon(arrowPolygon(p, q), Qt::OddEvenFill);
        break;
    case TOOL_RECTANGLE:
        painter.drawRect(shapeRect(p, q));
        break;
    case TOOL_CIRCLE:
        painter.drawEllipse(shapeRect(p, q));
        break;
    case TOOL_TRIANGLE:
        painter.drawPolygon(trianglePolygon(p, q), Qt::OddEvenFill);
        break;
    default:
        break;
    }
}

QPolygonF AnnotationTools::arrowPolygon(const QPoint &p, const QPoint &q)
{
    const QPoint d = q - p;
    const QPointF n(-0.05 * d.y(), 0.05 * d.x());
    const QPointF pf(p);
    const QPointF head = pf + 0.8 * QPointF(d);
    return QPolygonF({pf + n, head + n, head + 2 * n, QPointF(q), head - 2 * n, head - n, pf - n});
}

QPolygon AnnotationTools::trianglePolygon(const QPoint &p, const QPoint &q)
{
    const QPoint d = q - p;
    const double root3 = std::sqrt(3.0);
    // std::lround rounds halves away from zero.
    const QPoint u(int(std::lround(-d.y() / root3)), int(std::lround(d.x() / root3)));
    return QPolygon({p, q + u, q - u});
}

QRect AnnotationTools::shapeRect(const QPoint &p, const QPoint &q)
{
    return QRect(p, QPoint(q.x() - 1, q.y() - 1));
}

void AnnotationTools::erase(QImage &layer, const QPoint &centre, int radius)
{
    const QRect square = QRect(QPoint(centre.x() - radius, centre.y() - radius),
                               QPoint(centre.x() + radius, centre.y() + radius))
                             .intersected(layer.rect());
    if (square.isEmpty())
        return;
    const int bpp = layer.depth() / 8;
    for (int y = square.top(); y <= square.bottom(); ++y)
        std::memset(layer.scanLine(y) + square.left() * bpp, 0, std::size_t(square.width()) * bpp);
}

void AnnotationTools::updateClipSelection(const QPoint &current, const ViewGeometry &view)
{
    m_clipX1 = std::max(0, std::min(m_last.x(), current.x()));
    m_clipY1 = std::max(0, std::min(m_last.y(), current.y()));
    m_clipX2 = std::min(std::max(m_last.x(), current.x()), view.frameWidth() - 1);
    m_clipY2 = std::min(std::max(m_last.y(), current.y()), view.frameHeight() - 1);
}

void AnnotationTools::resetClipSelection()
{
    m_clipX1 = 0;
    m_clipY1 = 0;
    m_clipX2 = -1;
    m_clipY2 = -1;
}

#include "canvas/ViewGeometry.h"

#include <QtGlobal>

#include <algorithm>

double ViewGeometry::fitZoom() const
{
    if (m_rotation % 2 == 0)
        return 1.0;
    const double w = m_width;
    const double h = m_height;
    return std::min(h / w, w / h);
}

void ViewGeometry::setFrameSize(int width, int height)
{
    m_width = width;
    m_height = height;
    zoomAround(viewCentre(), int(m_zoom));
}

void ViewGeometry::rescaleFrame(int width, int height)
{
    const QPointF centre = viewCentre();
    const double fx = double(width) / m_width;
    const double fy = double(height) / m_height;
    // The centre is in turned-picture pixels: a quarter turn swaps what the two factors scale.
    const bool quarter = m_rotation % 2 != 0;
    const QPointF scaled(centre.x() * (quarter ? fy : fx), centre.y() * (quarter ? fx : fy));
    m_width = width;
    m_height = height;
    zoomAround(scaled, int(m_zoom));
}

QPointF ViewGeometry::viewCentre() const
{
    const double m = std::min(m_zoom, 1.0);
    const double cx = (std::min(int(rotatedWidth() * m_zoom), m_width) * m * 0.5 + m_offsetX) / m_zoom;
    const double cy = (std::min(int(rotatedHeight() * m_zoom), m_height) * m * 0.5 + m_offsetY) / m_zoom;
    return QPointF(cx, cy);
}

void ViewGeometry::zoomAround(const QPointF &centre, int z)
{
    m_zoom = std::max(double(z), fitZoom());
    const double m = std::min(m_zoom, 1.0);
    setViewOffset(int(m_zoom * centre.x() - m_width * m * 0.5),
                  int(m_zoom * centre.y() - m_height * m * 0.5));
}

void ViewGeometry::setViewOffset(int x, int y)
{
    // One less than the full travel, as the cut-out is taken in whole frame pixels.
    const int maxX = int(m_zoom * rotatedWidth()) - m_width - 1;
    const int maxY = int(m_zoom * rotatedHeight()) - m_height - 1;
    m_offsetX = std::max(0, std::min(x, maxX));
    m_offsetY = std::max(0, std::min(y, maxY));
}

bool ViewGeometry::zoomIn()
{
    if (m_zoom + 1 > MAX_ZOOM)
        return false;
    zoomAround(viewCentre(), int(m_zoom + 1));
    return true;
}

void ViewGeometry::zoomOut()
{
    zoomAround(viewCentre(), int(m_zoom / 1.1));
}

bool ViewGeometry::zoomStepAt(const QPointF &framePoint, bool in)
{
    const double before = m_zoom;
    if (in && before + 1 > MAX_ZOOM)
        return false;
    const int z = in ? int(before + 1) : int(before / 1.1);
    const double after = std::max(double(z), fitZoom());
    if (qFuzzyCompare(after, before))
        return false;
    // At zoom z the frame shows the turned picture from the offset on, z frame pixels to a
    // picture pixel: the point under the pointer lies (d / z) from the view centre.
    const QPointF d(framePoint.x() - m_width * 0.5, framePoint.y() - m_height * 0.5);
    const double shift = 1.0 / std::max(before, 1.0) - 1.0 / std::max(after, 1.0);
    zoomAround(viewCentre() + d * shift, z);
    return true;
}

void ViewGeometry::zoomBestFit()
{
    zoomAround(viewCentre(), int(fitZoom()));
}

void ViewGeometry::rotateClockwise()
{
    const QPointF c = viewCentre();
    m_rotation = (m_rotation + 1) % 4;
    const double x = (int(rotatedWidth() * m_zoom) - m_zoom * c.y() - 1) / m_zoom;
    const double y = c.x();
    zoomAround(QPointF(x, y), qFuzzyCompare(m_zoom, 1.0) ? int(fitZoom()) : int(m_zoom));
}

void ViewGeometry::rotateCounterClockwise()
{
    const QPointF c = viewCentre();
    m_rotation = (m_rotation + 3) % 4;
    const double x = c.y();
    const double y = (int(rotatedWidth() * m_zoom) - m_zoom * c.x() - 1) / m_zoom;
    zoomAround(QPointF(x, y), qFuzzyCompare(m_zoom, 1.0) ? int(fitZoom()) : int(m_zoom));
}

void ViewGeometry::reclamp()
{
    zoomAround(viewCentre(), int(m_zoom));
}

void ViewGeometry::pan(const QPoint &last, const QPoint &current)
{
    setViewOffset(m_offsetX + last.x() - current.x(), m_offsetY + last.y() - current.y());
}

QRect ViewGeometry::cutOutRect(int pictureWidth, int pictureHeight) const
{
    const int x0 = int(m_offsetX / m_zoom);
    const int y0 = int(m_offsetY / m_zoom);
    const int cw = std::min(pictureWidth, int(m_width / m_zoom));
    const int ch = std::min(pictureHeight, int(m_height / m_zoom));
    return QRect(x0, y0, cw, ch);
}

QSize ViewGeometry::scaleBackSize(const QSize &cutOut) const
{
    const double f = std::min(double(m_width) / cutOut.width(), double(m_height) / cutOut.height());
    return QSize(int(cutOut.width() * f), int(cutOut.height() * f));
}

ViewGeometry::PaintMapping ViewGeometry::paintMapping(const QSize &widget, const QSize &image)
{
    PaintMapping m;
    if (image.isEmpty() || widget.isEmpty())
        return m;
    m.scale = std::min(double(widget.height()) / image.height(), double(widget.width()) / image.width());
    m.drawnWidth = int(image.width() * m.scale);
    m.drawnHeight = int(image.height() * m.scale);
    m.marginX = (widget.width() - m.drawnWidth) / 2;
    m.marginY = (widget.height() - m.drawnHeight) / 2;
    return m;
}

QPoint ViewGeometry::widgetToFrame(const PaintMapping &m, const QPointF &widgetPoint)
{
    if (!m.isValid())
        return QPoint();
    return QPoint(int((widgetPoint.x() - m.marginX) / m.scale), int((widgetPoint.y() - m.marginY) / m.scale));
}

QPoint ViewGeometry::frameToLayer(const QPoint &framePoint, const QSize &displayImage,
                                  const QSize &layer) const
{
    const int lx = std::max(0, int((displayImage.width() - layer.width() * m_zoom) * 0.5));
    const int ly = std::max(0, int((displayImage.height() - layer.height() * m_zoom) * 0.5));
    return QPoint(int((m_offsetX - lx + framePoint.x()) / m_zoom),
                  int((m_offsetY - ly + framePoint.y()) / m_zoom));
}

QRectF ViewGeometry::frameRectToWidget(const PaintMapping &m, int x1, int y1, int x2, int y2)
{
    return QRectF(m.marginX + m.scale * x1, m.marginY + m.scale * y1, m.scale * (x2 - x1 + 1),
                  m.scale * (y2 - y1 + 1));
}

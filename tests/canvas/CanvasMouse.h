#pragma once

// A shown canvas driven by real mouse events, and the widget -> frame -> layer mappings written
// out for checking where the tools draw.

#include "canvas/ImageCanvas.h"

#include <QPoint>
#include <QSize>
#include <QWindow>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace CanvasMouse {

// A top-level canvas of `widget` size, shown and exposed, that has processed one still of
// `frame` size in a flat colour.
inline std::unique_ptr<ImageCanvas> shownCanvas(const QSize &widget, const QSize &frame,
                                                const QColor &colour = QColor(128, 128, 128))
{
    auto canvas = std::make_unique<ImageCanvas>();
    canvas->resize(widget);
    canvas->show();
    if (!QTest::qWaitForWindowExposed(canvas.get()))
        return nullptr;
    QImage still(frame, QImage::Format_RGB888);
    still.fill(colour);
    canvas->pipeline()->stillImageCaptured(&still);
    return canvas;
}

// Mouse events go through the canvas's window, as the platform delivers them, with the button
// held from press to release.
inline void press(ImageCanvas &canvas, const QPoint &at)
{
    QTest::mousePress(canvas.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}
inline void move(ImageCanvas &canvas, const QPoint &to)
{
    QTest::mouseMove(canvas.windowHandle(), to);
}
inline void release(ImageCanvas &canvas, const QPoint &at)
{
    QTest::mouseRelease(canvas.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}
inline void drag(ImageCanvas &canvas, const QPoint &from, const QList<QPoint> &moves)
{
    press(canvas, from);
    for (const QPoint &p : moves)
        move(canvas, p);
    release(canvas, moves.isEmpty() ? from : moves.last());
}

// The picture is painted scaled by s = min(widget h / image h, widget w / image w), centred.
inline QPoint widgetToFrame(const QSize &widget, const QSize &image, const QPoint &p)
{
    const double s = std::min(double(widget.height()) / image.height(),
                              double(widget.width()) / image.width());
    const int mx = (widget.width() - int(image.width() * s)) / 2;
    const int my = (widget.height() - int(image.height() * s)) / 2;
    return QPoint(int((p.x() - mx) / s), int((p.y() - my) / s));
}

// Frame point -> layer point through view offset, letterbox margins and zoom.
inline QPoint frameToLayer(const ViewGeometry &view, const QSize &image, const QSize &layer, const QPoint &f)
{
    const double zoom = view.zoom();
    const int lx = std::max(0, int((image.width() - layer.width() * zoom) * 0.5));
    const int ly = std::max(0, int((image.height() - layer.height() * zoom) * 0.5));
    return QPoint(int((view.viewOffset().x() - lx + f.x()) / zoom),
                  int((view.viewOffset().y() - ly + f.y()) / zoom));
}

inline QPoint widgetToLayer(const ImageCanvas &canvas, const QPoint &p)
{
    const ViewGeometry view = canvas.pipeline()->view();
    const QSize image = canvas.pipeline()->outputImage().size();
    return frameToLayer(view, image, canvas.pipeline()->annotationLayer().size(),
                        widgetToFrame(canvas.size(), image, p));
}

} // namespace CanvasMouse

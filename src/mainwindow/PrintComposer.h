#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

class QPagedPaintDevice;

// Lays one picture on one printed page: a quarter turn clockwise on a portrait page, scaled as
// large as the page allows (truncated to whole pixels), centred; no smoothing anywhere, so the
// printed pixels are the canvas's pixels.
//
// Threads: any thread; no state.
class PrintComposer
{
public:
    struct Layout
    {
        bool turned = false; // a quarter turn clockwise before scaling
        QSize size;          // the scaled picture on the page, in device pixels
        QPoint offset;       // its top-left corner on the page
    };

    // The layout of a picture of `imageSize` on a page of `pageSize` device pixels; an empty
    // layout (invalid size) for an empty picture or page.
    static Layout layout(const QSize &imageSize, const QSize &pageSize);
    // The picture as it goes on the page (turned and scaled); null for an empty layout.
    static QImage compose(const QImage &image, const Layout &layout);
    // Paints `image` on `device`'s page as laid out; false for an empty picture (nothing
    // painted) or when the painter cannot begin or end on the device.
    static bool paint(QPagedPaintDevice *device, const QImage &image);
};

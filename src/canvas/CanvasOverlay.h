#pragma once

#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

// What a canvas paints over its picture and under its border (the on-screen display), and what
// it tells of each snapshot file it wrote. The canvas knows only this interface; the display
// that implements it knows the canvas.
//
// Threads: paint() is called from the canvas's paint with the frame pipeline's lock held;
// showSnapshot() and showSnapshotFailure() from inside the frame processing with that lock held,
// possibly on a media streaming thread. Implementations guard what the two share by that lock.
class CanvasOverlay
{
public:
    // What the canvas knows at paint time, read under its lock.
    struct CanvasState
    {
        QSize size; // the canvas widget
        bool freeze = false;
        bool clipSelected = false;
        QRectF clipFrame; // widget rectangle of the clip selection, when selected
    };

    virtual ~CanvasOverlay();

    virtual void paint(QPainter *painter, const CanvasState &state) = 0;
    virtual void showSnapshot() = 0;
    // A snapshot file that was due could not be written; `cause` says why, in words.
    virtual void showSnapshotFailure(const QString &cause) { Q_UNUSED(cause) }

protected:
    CanvasOverlay() = default;
    CanvasOverlay(const CanvasOverlay &) = delete;
    CanvasOverlay &operator=(const CanvasOverlay &) = delete;
};

#pragma once

#include <QPointer>
#include <QWidget>

class FramePipeline;
class QPaintEvent;
class QScreen;

// A frameless window that fills a screen of its own (a projector) with one canvas's picture
// exactly as the canvas's pipeline processed it: zoom, rotation, effect, mask and drawing, in
// black bars where the screen's shape differs. It paints the pipeline's display picture straight
// from the pipeline under the pipeline's lock, as the canvas widget does, and repaints after each
// processed frame (updateFromWorker): no copy of the picture is made and no second source feeds
// it. The on-screen indications stay on the presenter's canvas.
//
// Threads: GUI thread only. paintEvent() holds the pipeline's lock while it reads the picture.
class ProjectorWindow : public QWidget
{
    Q_OBJECT
public:
    // A window of its own, owned by `parent` through the parent chain.
    explicit ProjectorWindow(QWidget *parent);

    // Shows `pipeline`'s pictures from now on (none: black).
    void setPipeline(FramePipeline *pipeline);
    FramePipeline *pipeline() const;
    // Shows the window full screen on `screen`.
    void showOn(QScreen *screen);
    QScreen *shownScreen() const;

    // Where a picture of `picture` size lands in a window of `window` size: centred, as large as
    // it fits, its shape kept.
    static QRect pictureRect(const QSize &window, const QSize &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<FramePipeline> m_pipeline;
    QMetaObject::Connection m_frames;
};

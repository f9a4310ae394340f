#include "canvas/ProjectorWindow.h"

#include "canvas/FramePipeline.h"
#include "canvas/ViewGeometry.h"

#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <mutex>

ProjectorWindow::ProjectorWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    // The window paints every pixel itself, black around the picture; the audience sees no
    // pointer.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(Qt::BlankCursor);
    setWindowTitle(QStringLiteral("Document Camera"));
}

void ProjectorWindow::setPipeline(FramePipeline *pipeline)
{
    if (pipeline == m_pipeline)
        return;
    disconnect(m_frames);
    m_pipeline = pipeline;
    if (pipeline)
        m_frames = connect(pipeline, &FramePipeline::updateFromWorker, this,
                           QOverload<>::of(&QWidget::update), Qt::QueuedConnection);
    update();
}

FramePipeline *ProjectorWindow::pipeline() const
{
    return m_pipeline;
}

void ProjectorWindow::showOn(QScreen *screen)
{
    // The native window must exist before it can be put on a screen.
    winId();
    windowHandle()->setScreen(screen);
    setGeometry(screen->geometry());
    showFullScreen();
    // Without a window manager a full-screen state moves nothing: the geometry does it.
    setGeometry(screen->geometry());
}

QScreen *ProjectorWindow::shownScreen() const
{
    return windowHandle() ? windowHandle()->screen() : nullptr;
}

QRect ProjectorWindow::pictureRect(const QSize &window, const QSize &picture)
{
    const ViewGeometry::PaintMapping m = ViewGeometry::paintMapping(window, picture);
    if (!m.isValid())
        return QRect();
    return QRect(m.marginX, m.marginY, m.drawnWidth, m.drawnHeight);
}

void ProjectorWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_pipeline)
        return;
    std::lock_guard<CanvasLock> lock(m_pipeline->lock());
    const QImage &display = m_pipeline->displayLocked();
    const QRect target = pictureRect(size(), display.size());
    if (target.isNull())
        return;
    // As on the canvas: a processed camera frame is opaque where it shows a picture and zero
    // outside, so read as RGB32 it is scaled by plain copying.
    if (display.format() == QImage::Format_ARGB32)
        painter.drawImage(target,
                          QImage(display.constBits(), display.width(), display.height(),
                                 display.bytesPerLine(), QImage::Format_RGB32));
    else
        painter.drawImage(target, display);
}

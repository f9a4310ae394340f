#include "canvas/ImageCanvas.h"

#include "canvas/CanvasOverlay.h"
#include "common/Logging.h"

#include <QColor>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPen>
#include <QWheelEvent>

#include <cmath>
#include <cstdlib>
#include <mutex>

namespace {

QFont canvasFont()
{
    return QFont(QStringLiteral("Arial"), 18);
}

} // namespace

ImageCanvas::ImageCanvas(QWidget *parent, const Clock &clock)
    : QWidget(parent)
    , m_pipeline(clock)
    , m_controller(this, canvasFont(), [this](const AnnotationController::Work &work) {
        std::lock_guard<CanvasLock> lock(m_pipeline.lock());
        AnnotationController::State state{m_pipeline.layerLocked(),   m_pipeline.layerDirtyLocked(),
                                          m_pipeline.historyLocked(), m_pipeline.viewLocked(),
                                          m_pipeline.displayLocked(), m_annotation};
        work(state);
    })
{
    setFont(canvasFont());
    connect(&m_pipeline, &FramePipeline::updateFromWorker, this, QOverload<>::of(&QWidget::update),
            Qt::QueuedConnection);

    QImage background(QStringLiteral(":/icons/Background/MAIN_WINDOWS.png"));
    if (background.isNull())
        qCWarning(lcCanvas) << "start picture :/icons/Background/MAIN_WINDOWS.png is missing";
    else
        m_pipeline.stillImageCaptured(&background);
}

ImageCanvas::~ImageCanvas() = default;

void ImageCanvas::zoomIn()
{
    if (m_pipeline.zoomIn()) {
        update();
        emit viewChanged();
    }
}

void ImageCanvas::zoomOut()
{
    m_pipeline.zoomOut();
    update();
    emit viewChanged();
}

void ImageCanvas::zoomBestFit()
{
    m_pipeline.zoomBestFit();
    emit viewChanged();
}

void ImageCanvas::zoomAt(const QPointF &at, bool in)
{
    bool changed = false;
    {
        std::lock_guard<CanvasLock> lock(m_pipeline.lock());
        const QSize display = m_pipeline.displayLocked().size();
        if (display.isEmpty())
            return;
        const QPoint frame = ViewGeometry::widgetToFrame(ViewGeometry::paintMapping(size(), display), at);
        changed = m_pipeline.viewLocked().zoomStepAt(QPointF(frame), in);
    }
    if (changed) {
        update();
        emit viewChanged();
    }
}

void ImageCanvas::wheelEvent(QWheelEvent *event)
{
    // A notch is 120; touchpads send many small parts of one.
    m_wheelAngle += event->angleDelta().y();
    while (std::abs(m_wheelAngle) >= 120) {
        zoomAt(event->position(), m_wheelAngle > 0);
        m_wheelAngle -= m_wheelAngle > 0 ? 120 : -120;
    }
    event->accept();
}

bool ImageCanvas::event(QEvent *event)
{
    if (event->type() == QEvent::NativeGesture) {
        auto *gesture = static_cast<QNativeGestureEvent *>(event);
        if (gesture->gestureType() == Qt::BeginNativeGesture)
            m_pinch = 0;
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            // A quarter more or less of the size, as the fingers spread or close, is one step.
            m_pinch += gesture->value();
            while (std::abs(m_pinch) >= 0.25) {
                zoomAt(gesture->localPos(), m_pinch > 0);
                m_pinch -= m_pinch > 0 ? 0.25 : -0.25;
            }
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void ImageCanvas::rotateClockwise()
{
    m_pipeline.rotateClockwise();
    update();
    emit viewChanged();
}

void ImageCanvas::rotateCounterClockwise()
{
    m_pipeline.rotateCounterClockwise();
    update();
    emit viewChanged();
}

void ImageCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_pipeline.reclampView();
}

void ImageCanvas::paintOverlay(QPainter &painter, const ViewGeometry::PaintMapping &mapping)
{
    CanvasOverlay *overlay = m_pipeline.overlayLocked();
    if (!overlay)
        return;
    CanvasOverlay::CanvasState state;
    state.size = size();
    state.freeze = m_pipeline.freeze();
    state.clipSelected = m_annotation.hasClipSelection() && mapping.isValid();
    if (state.clipSelected)
        state.clipFrame = ViewGeometry::frameRectToWidget(mapping, m_annotation.clipX1(),
                                                          m_annotation.clipY1(), m_annotation.clipX2(),
                                                          m_annotation.clipY2());
    overlay->paint(&painter, state);
}

const QImage &ImageCanvas::opaqueView(const QImage &display)
{
    // The view is made again only when the display picture moved to other pixels; frame after
    // frame the processing writes into the same ones.
    if (m_opaqueView.constBits() != display.constBits() || m_opaqueView.size() != display.size()
        || m_opaqueView.bytesPerLine() != display.bytesPerLine())
        m_opaqueView = QImage(display.constBits(), display.width(), display.height(), display.bytesPerLine(),
                              QImage::Format_RGB32);
    return m_opaqueView;
}

void ImageCanvas::paintEvent(QPaintEvent *)
{
    std::lock_guard<CanvasLock> lock(m_pipeline.lock());
    const QImage &display = m_pipeline.displayLocked();
    QPainter painter(this);
    const int w = width();
    const int h = height();
    if (!m_board)
        painter.fillRect(QRect(QPoint(2, 2), QPoint(w - 3, h - 3)), Qt::black);
    const ViewGeometry::PaintMapping mapping = ViewGeometry::paintMapping(size(), display.size());
    if (mapping.isValid()) {
        const QRect target(mapping.marginX, mapping.marginY, mapping.drawnWidth, mapping.drawnHeight);
        // A processed camera frame holds opaque pixels and, outside the picture, zero ones,
        // which show black over the black fill either way: read as RGB32 the painter scales
        // it by plain copying instead of converting and blending every pixel.
        if (!m_board && display.format() == QImage::Format_ARGB32)
            painter.drawImage(target, opaqueView(display));
        else
            painter.drawImage(target, display);
    }
    paintOverlay(painter, mapping);
    painter.setPen(
        QPen(QBrush(QColor(QStringLiteral("#484848"))), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(1, 1), QPoint(w - 2, h - 2)));
    painter.end();
    m_pipeline.paintedLocked();
}

// --- annotation -----------------------------------------------------------------------------

void ImageCanvas::fillBackground(const QColor &colour)
{
    m_controller.setBackground(colour);
    m_pipeline.fillStill(colour);
}

bool ImageCanvas::undo()
{
    QColor background;
    const bool done = m_controller.undo(&background);
    if (background.isValid())
        m_pipeline.fillStill(background);
    return done;
}

bool ImageCanvas::redo()
{
    QColor background;
    const bool done = m_controller.redo(&background);
    if (background.isValid())
        m_pipeline.fillStill(background);
    return done;
}

void ImageCanvas::mousePressEvent(QMouseEvent *event)
{
    m_controller.press(event->localPos());
}

void ImageCanvas::mouseMoveEvent(QMouseEvent *event)
{
    m_controller.move(event->localPos());
}

void ImageCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_controller.release(event->pos()))
        emit clipDone();
}

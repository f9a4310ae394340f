#include "ImageCanvas.h"

#include "CanvasTypes.h"
#include "FrameTransform.h"
#include "ImageEffects.h"
#include "Logging.h"
#include "OSDProcessor.h"

#include <QColor>
#include <QDebug>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QTimer>
#include <QTransform>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

QFont canvasFont()
{
    return QFont(QStringLiteral("Arial"), 18);
}

} // namespace

ImageCanvas::ImageCanvas(QWidget *parent)
    : QWidget(parent)
    , m_refreshTimer(new QTimer(this))
    , m_controller(this, canvasFont(), [this](const AnnotationController::Work &work) {
        std::lock_guard<CanvasLock> lock(m_lock);
        AnnotationController::State state{m_layer, m_layerDirty, m_view, m_display, m_annotation};
        work(state);
    })
{
    setFont(canvasFont());
    recordingActive.store(false, std::memory_order_release);
    m_refreshTimer->setInterval(REFRESH_INTERVAL_MS);

    connect(this, &ImageCanvas::updateFromWorker, this, QOverload<>::of(&QWidget::update),
            Qt::QueuedConnection);
    connect(m_refreshTimer, &QTimer::timeout, this, &ImageCanvas::autoRefresh);
    // Emitted on the capture thread, so it reaches precessFrameData() through the event loop.
    connect(this, &ImageCanvas::newFrameData, this, &ImageCanvas::precessFrameData);

    QImage background(QStringLiteral(":/icons/Background/MAIN_WINDOWS.png"));
    if (background.isNull())
        qCWarning(lcCanvas) << "start picture :/icons/Background/MAIN_WINDOWS.png is missing";
    else
        stillImageCaptured(&background);
}

ImageCanvas::~ImageCanvas() = default;

void *ImageCanvas::allocateFrameBlock(std::size_t bytes)
{
    return std::malloc(bytes);
}

void ImageCanvas::adjStreamFrameData(STREAM_FRAME_DATA *pSFD, int width, int height, bool flip,
                                     bool alpha)
{
    FrameSlots::adjStreamFrameData(pSFD, width, height, flip, alpha,
                                   [this](std::size_t bytes) { return allocateFrameBlock(bytes); });
}

void ImageCanvas::streamImageCaptured(void *data, int width, int height, bool flip, bool alpha)
{
    const qint64 arrival = m_timing.stamp();
    emit streamFrameUpdate();

    const std::size_t length = FrameSlots::frameBytes(width, height, alpha);
    if (!data || length == 0) {
        qCWarning(lcCanvas) << "frame without pixels ignored:" << width << "x" << height;
        return;
    }
    auto *pixels = static_cast<unsigned char *>(data);

    // The state is looked at before the front index: while the GUI thread is idle with
    // nothing pending it cannot move the front index, so the slots read below stay put.
    const bool idle = m_slots.frameProcessState.load() == FPS_IDLE && !m_slots.pending.load();
    const int frontIndex = m_slots.frontIndex.load();
    STREAM_FRAME_DATA &front = m_slots.slot(frontIndex);
    STREAM_FRAME_DATA &back = m_slots.slot(frontIndex + 1);

    if (front.width == width && front.height == height && front.alpha == alpha && front.buffer) {
        if (idle) {
            adjStreamFrameData(&back, width, height, flip, alpha);
            if (back.buffer) {
                back.arrivalNs = arrival;
                std::memcpy(back.buffer, pixels, length);
                std::memcpy(pixels, front.buffer, length);
                m_slots.pending.store(true);
                emit newFrameData();
                return;
            }
            // No block for the back slot: the frame is dropped like one arriving while busy.
        }
        std::memcpy(pixels, front.buffer, length);
        return;
    }

    qDebug().nospace() << "streamImageCaptured(), reset szie " << width << "x" << height;
    adjStreamFrameData(&front, width, height, flip, alpha);
    if (front.buffer) {
        std::memcpy(front.buffer, pixels, length);
        processFrame(front.buffer, width, height, flip, alpha, arrival);
        std::memcpy(pixels, front.buffer, length);
    } else {
        // Without a block the frame is processed in the caller's buffer and not kept; the
        // next frame tries to allocate again.
        processFrame(pixels, width, height, flip, alpha, arrival);
    }
    m_slots.pending.store(false);
}

void ImageCanvas::precessFrameData()
{
    if (m_slots.frameProcessState.load() == FPS_BUSY) {
        qDebug() << "FPS_BUSY == frameProcessState";
        return;
    }
    m_slots.frameProcessState.store(FPS_BUSY);
    // A frame queued before a size change was superseded by the synchronous path, which
    // cleared the flag; its slot may already be refilled by the capture thread.
    if (!m_slots.pending.load()) {
        m_slots.frameProcessState.store(FPS_IDLE);
        return;
    }
    const int b = 1 - m_slots.frontIndex.load();
    STREAM_FRAME_DATA &back = m_slots.slot(b);
    processFrame(back.buffer, back.width, back.height, back.flip, back.alpha, back.arrivalNs);
    m_slots.frontIndex.store(b);
    m_slots.frameProcessState.store(FPS_IDLE);
    m_slots.pending.store(false);
}

void ImageCanvas::imageCaptured(void *data, int width, int height, bool flip, bool alpha)
{
    processFrame(data, width, height, flip, alpha, 0);
}

void ImageCanvas::processFrame(void *data, int width, int height, bool flip, bool alpha, qint64 arrivalNs)
{
    if (!data || FrameSlots::frameBytes(width, height, alpha) == 0) {
        qCWarning(lcCanvas) << "frame without pixels ignored:" << width << "x" << height;
        return;
    }
    auto *pixels = static_cast<unsigned char *>(data);
    const int effect = m_effect.load();
    const int mask = m_mask.load();
    const bool freeze = m_freeze.load();
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        // Dropping the previous results first leaves the work buffers unshared, so this
        // frame can reuse them (a copy handed out by outputImage() keeps its own).
        m_output = QImage();
        m_display = QImage();

        // Steps 1-3: frame in (flip undone on the way), or the frozen picture.
        const bool frozen = freeze && !m_source.isNull() && m_source.size() == QSize(width, height);
        const bool unchanged = !frozen && changesNothingLocked(width, height, effect, mask);
        if (!frozen)
            FrameTransform::importFrame(pixels, width, height, alpha, flip, unchanged, m_source);

        const QImage &picture = processLocked(width, height, effect, mask);

        writeSnapshot(picture);                                       // step 11
        m_output = picture;                                           // step 12
        m_display = picture;
        // Step 13; a frame that went through unchanged was already settled by the import.
        if (!unchanged || &picture != &m_source)
            FrameTransform::exportFrame(picture, pixels, alpha, flip);
        if (alpha)                                                    // step 14
            m_recording.exchange(*this, pixels, width, height, flip);
        m_timing.processed(arrivalNs);
    }
    emit updateFromWorker();
}

bool ImageCanvas::changesNothingLocked(int width, int height, int effect, int mask) const
{
    return m_view.frameSize() == QSize(width, height) && m_view.rotation() == 0
        && !(m_layerDirty && !m_layer.isNull()) && !ImageEffects::changesPicture(effect)
        && !ImageEffects::masks(mask) && m_view.cutOutRect(width, height) == QRect(0, 0, width, height);
}

QImage *ImageCanvas::ownedForWriting(QImage *current)
{
    if (current != &m_source)
        return current;
    FrameTransform::copyInto(m_source, m_work);
    return &m_work;
}

const QImage &ImageCanvas::processLocked(int width, int height, int effect, int mask)
{
    // Step 4: a new frame size re-centres the view and starts a fresh annotation layer.
    if (m_view.frameSize() != QSize(width, height)) {
        m_view.setFrameSize(width, height);
        m_layer = QImage(m_view.rotatedWidth(), m_view.rotatedHeight(),
                         QImage::Format_ARGB32_Premultiplied);
        m_layer.fill(Qt::transparent);
    }

    // `frame` follows the picture through the steps; a step that changes nothing leaves it
    // where it is, and m_source itself is never written.
    QImage *frame = &m_source;
    const int turns = m_view.rotation();
    const QRect turned(0, 0, m_view.rotatedWidth(), m_view.rotatedHeight());
    const QRect cut = m_view.cutOutRect(turned.width(), turned.height());
    const bool overlay = m_layerDirty && !m_layer.isNull() && m_layer.size() == turned.size();
    // The overlay, B & W and negative work pixel by pixel, so they give the same bytes on the
    // cut-out as on the whole picture: when the cut-out lies inside the picture it is taken
    // first (turning only its pixels) and steps 6 and 7 run on it alone. The mosaic averages
    // blocks of the whole turned picture and keeps the full order.
    const QSize frameSize(width, height);
    bool scaled = false;
    if (effect != EFFECT_MOSAIC && turned.contains(cut)) {
        // With nothing to paint or mask, the turned cut-out is only sampled by the
        // scale-back: steps 5, 8 and 10 then read just the sampled pixels (an unturned one
        // only when no effect would then run on the larger scaled picture).
        if ((turns != 0 || !ImageEffects::changesPicture(effect)) && !overlay
            && !ImageEffects::masks(mask) && cut.size() != frameSize
            && FrameTransform::rotateScale(m_source, turns, cut, m_view.scaleBackSize(cut.size()),
                                           m_scaled)) {
            frame = &m_scaled;
            scaled = true;
        } else if (turns != 0) {                                      // steps 5 and 8
            FrameTransform::rotateRegion(m_source, turns, cut, m_cut);
            frame = &m_cut;
        } else if (cut != turned) {
            FrameTransform::cutOut(m_source, cut, m_cut);
            frame = &m_cut;
        }
        if (overlay) {                                                // step 6
            frame = ownedForWriting(frame);
            paintLayerLocked(frame, cut.topLeft());
        }
        frame = applyEffectLocked(frame, effect);                     // step 7
    } else {
        if (turns != 0) {                                             // step 5
            FrameTransform::rotate(m_source, turns, m_rotated);
            frame = &m_rotated;
        }
        if (overlay) {                                                // step 6
            frame = ownedForWriting(frame);
            paintLayerLocked(frame, QPoint(0, 0));
        }
        frame = applyEffectLocked(frame, effect);                     // step 7
        if (cut != frame->rect()) {                                   // step 8
            FrameTransform::cutOut(*frame, cut, m_cut);
            frame = &m_cut;
        }
    }
    if (ImageEffects::masks(mask)) {                                  // step 9
        if (frame == &m_source) {
            FrameTransform::prepare(m_work, m_source.size(), m_source.format());
            ImageEffects::applyMask(m_source, m_work, mask);
            frame = &m_work;
        } else {
            ImageEffects::applyMask(*frame, mask);
        }
    }
    if (!scaled && frame->size() != frameSize) {                      // step 10
        FrameTransform::scale(*frame, m_view.scaleBackSize(frame->size()), m_scaled);
        frame = &m_scaled;
        scaled = true;
    }
    if (scaled) {
        if (frame->width() < width || frame->height() < height) {
            FrameTransform::letterbox(*frame, frameSize, m_letterboxed);
            frame = &m_letterboxed;
        }
    }
    return *frame;
}

void ImageCanvas::paintLayerLocked(QImage *frame, const QPoint &layerOrigin)
{
    const QRect part(layerOrigin, frame->size());
    if (frame->format() == QImage::Format_ARGB32) {
        // Frames come in opaque, and for opaque pixels the premultiplied layout has the same
        // bytes: painting through that view skips the painter's conversions.
        QImage view(frame->bits(), frame->width(), frame->height(), frame->bytesPerLine(),
                    QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&view);
        painter.drawImage(QPoint(0, 0), m_layer, part);
    } else {
        QPainter painter(frame);
        painter.drawImage(QPoint(0, 0), m_layer, part);
    }
}

QImage *ImageCanvas::applyEffectLocked(QImage *frame, int effect)
{
    if (!ImageEffects::changesPicture(effect))
        return frame;
    if (frame != &m_source) {
        ImageEffects::applyEffect(*frame, effect);
        return frame;
    }
    // Read from the source, write the work buffer: no separate copy.
    FrameTransform::prepare(m_work, m_source.size(), m_source.format());
    ImageEffects::applyEffect(m_source, m_work, effect);
    return &m_work;
}

void ImageCanvas::writeSnapshot(const QImage &picture)
{
    // Only a file that was written gets the mark; a failed write left a debug line.
    if (m_snapshots.write(picture) && m_osd)
        m_osd->showSnapshot();
}

ImageCanvas::StillBlock ImageCanvas::packStill(const QImage &image)
{
    StillBlock still{StillBlock::Pixels(nullptr, &std::free), 0, 0};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const std::size_t rowBytes = std::size_t(rgb.width()) * 3;
    still.pixels.reset(static_cast<unsigned char *>(std::malloc(rowBytes * std::size_t(rgb.height()))));
    if (!still.pixels) {
        qCWarning(lcCanvas) << "no memory for a still picture of" << rgb.width() << "x" << rgb.height();
        return still;
    }
    still.width = rgb.width();
    still.height = rgb.height();
    for (int y = 0; y < still.height; ++y)
        std::memcpy(still.pixels.get() + rowBytes * std::size_t(y), rgb.constScanLine(y), rowBytes);
    return still;
}

void ImageCanvas::stillImageCaptured(QImage *image)
{
    if (!image || image->isNull()) {
        qCWarning(lcCanvas) << "empty still picture ignored";
        return;
    }
    StillBlock still{StillBlock::Pixels(nullptr, &std::free), 0, 0};
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        still = packStill(*image);
    }
    if (still.pixels)
        imageCaptured(still.pixels.get(), still.width, still.height, false, false);
}

void ImageCanvas::autoRefresh()
{
    StillBlock still{StillBlock::Pixels(nullptr, &std::free), 0, 0};
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        if (m_source.isNull())
            return;
        still = packStill(m_source);
    }
    if (still.pixels)
        imageCaptured(still.pixels.get(), still.width, still.height, false, false);
}

void ImageCanvas::startAutoRefresh()
{
    m_refreshTimer->start();
}

void ImageCanvas::stopAutoRefresh()
{
    m_refreshTimer->stop();
}

void ImageCanvas::fillStill(const QColor &colour)
{
    QImage still(STILL_WIDTH, STILL_HEIGHT, QImage::Format_RGB888);
    still.fill(colour);
    stillImageCaptured(&still);
}

QImage ImageCanvas::outputImage() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_output.copy();
}

QImage ImageCanvas::annotationLayer() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_layer.copy();
}

void ImageCanvas::drawOnLayer(const std::function<void(QPainter &)> &draw)
{
    std::lock_guard<CanvasLock> lock(m_lock);
    if (m_layer.isNull())
        return;
    QPainter painter(&m_layer);
    draw(painter);
    m_layerDirty = true;
}

// --- view -----------------------------------------------------------------------------------

void ImageCanvas::zoomIn()
{
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        if (!m_view.zoomIn())
            return;
    }
    update();
}

void ImageCanvas::zoomOut()
{
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        m_view.zoomOut();
    }
    update();
}

void ImageCanvas::zoomBestFit()
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_view.zoomBestFit();
}

void ImageCanvas::rotateClockwise()
{
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        m_view.rotateClockwise();
        if (!m_layer.isNull())
            m_layer = m_layer.transformed(QTransform().rotate(90), Qt::FastTransformation);
    }
    update();
}

void ImageCanvas::rotateCounterClockwise()
{
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        m_view.rotateCounterClockwise();
        if (!m_layer.isNull())
            m_layer = m_layer.transformed(QTransform().rotate(270), Qt::FastTransformation);
    }
    update();
}

void ImageCanvas::setViewOffset(int x, int y)
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_view.setViewOffset(x, y);
}

void ImageCanvas::setBoard(bool board)
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_board = board;
}

bool ImageCanvas::isBoard() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_board;
}

double ImageCanvas::zoom() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_view.zoom();
}

int ImageCanvas::rotation() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_view.rotation();
}

ViewGeometry ImageCanvas::view() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_view;
}

void ImageCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    std::lock_guard<CanvasLock> lock(m_lock);
    m_view.reclamp();
}

ViewGeometry::PaintMapping ImageCanvas::paintMappingLocked() const
{
    return ViewGeometry::paintMapping(size(), m_display.size());
}

QPoint ImageCanvas::widgetToFrameLocked(const QPointF &widgetPoint) const
{
    return ViewGeometry::widgetToFrame(paintMappingLocked(), widgetPoint);
}

QPoint ImageCanvas::frameToLayerLocked(const QPoint &framePoint) const
{
    return m_view.frameToLayer(framePoint, m_display.size(), m_layer.size());
}

void ImageCanvas::paintOverlay(QPainter &painter, const ViewGeometry::PaintMapping &mapping)
{
    if (!m_osd)
        return;
    OSDProcessor::CanvasState state;
    state.size = size();
    state.freeze = m_freeze.load();
    state.clipSelected = m_annotation.hasClipSelection() && mapping.isValid();
    if (state.clipSelected)
        state.clipFrame = ViewGeometry::frameRectToWidget(mapping, m_annotation.clipX1(), m_annotation.clipY1(),
                                                          m_annotation.clipX2(), m_annotation.clipY2());
    m_osd->paint(&painter, state);
}

void ImageCanvas::paintEvent(QPaintEvent *)
{
    std::lock_guard<CanvasLock> lock(m_lock);
    QPainter painter(this);
    const int w = width();
    const int h = height();
    if (!m_board)
        painter.fillRect(QRect(QPoint(2, 2), QPoint(w - 3, h - 3)), Qt::black);
    const ViewGeometry::PaintMapping mapping = paintMappingLocked();
    if (mapping.isValid()) {
        const QRect target(mapping.marginX, mapping.marginY, mapping.drawnWidth, mapping.drawnHeight);
        // A processed camera frame holds opaque pixels and, outside the picture, zero ones,
        // which show black over the black fill either way: read as RGB32 the painter scales
        // it by plain copying instead of converting and blending every pixel.
        if (!m_board && m_display.format() == QImage::Format_ARGB32)
            painter.drawImage(target, QImage(m_display.constBits(), m_display.width(), m_display.height(),
                                             m_display.bytesPerLine(), QImage::Format_RGB32));
        else
            painter.drawImage(target, m_display);
    }
    paintOverlay(painter, mapping);
    painter.setPen(QPen(QBrush(QColor(QStringLiteral("#484848"))), 2, Qt::SolidLine, Qt::SquareCap,
                        Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(1, 1), QPoint(w - 2, h - 2)));
    painter.end();
    m_timing.painted();
}

// --- annotation -----------------------------------------------------------------------------

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

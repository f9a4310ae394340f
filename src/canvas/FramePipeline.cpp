#include "canvas/FramePipeline.h"

#include "canvas/CanvasOverlay.h"
#include "canvas/CanvasTypes.h"
#include "canvas/FrameTransform.h"
#include "canvas/ImageEffects.h"
#include "common/Logging.h"

#include <QColor>
#include <QDebug>
#include <QPainter>
#include <QTimer>
#include <QTransform>

#include <cstdlib>
#include <cstring>

FramePipeline::FramePipeline(const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_refreshTimer(new QTimer(this))
    , m_snapshots(clock)
    , m_clock(&clock)
{
    recordingActive.store(false, std::memory_order_release);
    m_refreshTimer->setInterval(REFRESH_INTERVAL_MS);
    connect(m_refreshTimer, &QTimer::timeout, this, &FramePipeline::autoRefresh);
    // Emitted on the capture thread, so it reaches precessFrameData() through the event loop.
    connect(this, &FramePipeline::newFrameData, this, &FramePipeline::precessFrameData);
}

FramePipeline::~FramePipeline() = default;

void *FramePipeline::allocateFrameBlock(std::size_t bytes)
{
    return std::malloc(bytes);
}

void FramePipeline::adjStreamFrameData(STREAM_FRAME_DATA *pSFD, int width, int height, bool flip, bool alpha)
{
    FrameSlots::adjStreamFrameData(pSFD, width, height, flip, alpha,
                                   [this](std::size_t bytes) { return allocateFrameBlock(bytes); });
}

void FramePipeline::streamImageCaptured(void *data, int width, int height, bool flip, bool alpha)
{
    const FramePaintTiming::Stamp arrival = m_timing.stamp();
    // Stamped here, where every frame passes however busy the GUI thread is, so that the
    // supervision measures the camera and not the window.
    m_lastArrivalMs.store(m_clock->monotonicMs(), std::memory_order_release);
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
                back.arrivalNs = arrival.arrivalNs;
                back.decoderNs = arrival.decoderNs;
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

    qCDebug(lcTrace).nospace() << "streamImageCaptured(), reset szie " << width << "x" << height;
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

void FramePipeline::precessFrameData()
{
    if (m_slots.frameProcessState.load() == FPS_BUSY) {
        qCDebug(lcTrace) << "FPS_BUSY == frameProcessState";
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
    FramePaintTiming::Stamp stamp;
    stamp.arrivalNs = back.arrivalNs;
    stamp.decoderNs = back.decoderNs;
    processFrame(back.buffer, back.width, back.height, back.flip, back.alpha, stamp);
    m_slots.frontIndex.store(b);
    m_slots.frameProcessState.store(FPS_IDLE);
    m_slots.pending.store(false);
}

void FramePipeline::imageCaptured(void *data, int width, int height, bool flip, bool alpha)
{
    processFrame(data, width, height, flip, alpha, FramePaintTiming::Stamp());
}

void FramePipeline::processFrame(void *data, int width, int height, bool flip, bool alpha,
                                 const FramePaintTiming::Stamp &arrival)
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

        writeSnapshot(picture); // step 11
        m_output = picture;     // step 12
        m_display = picture;
        // Step 13; a frame that went through unchanged was already settled by the import.
        if (!unchanged || &picture != &m_source)
            FrameTransform::exportFrame(picture, pixels, alpha, flip);
        if (alpha) // step 14
            m_recording.exchange(*this, pixels, width, height, flip);
        m_timing.processed(arrival);
        m_processedKey = refreshKeyLocked(effect, mask, freeze);
    }
    m_processedCount.fetch_add(1, std::memory_order_relaxed);
    emit updateFromWorker();
}

FramePipeline::RefreshKey FramePipeline::refreshKeyLocked(int effect, int mask, bool freeze) const
{
    RefreshKey key;
    key.source = m_source.cacheKey();
    key.layer = m_layer.cacheKey();
    key.layerDirty = m_layerDirty;
    key.frame = m_view.frameSize();
    key.rotation = m_view.rotation();
    key.zoom = m_view.zoom();
    key.offset = m_view.viewOffset();
    key.effect = effect;
    key.mask = mask;
    key.freeze = freeze;
    return key;
}

bool FramePipeline::changesNothingLocked(int width, int height, int effect, int mask) const
{
    return m_view.frameSize() == QSize(width, height) && m_view.rotation() == 0
        && !(m_layerDirty && !m_layer.isNull()) && !ImageEffects::changesPicture(effect)
        && !ImageEffects::masks(mask) && m_view.cutOutRect(width, height) == QRect(0, 0, width, height);
}

const QImage &FramePipeline::processLocked(int width, int height, int effect, int mask)
{
    // Step 4: a new frame size re-centres the view. The drawings are the user's work: they stay,
    // scaled to the new size (a capture-size change shows the same page); the recorded drawing
    // steps no longer fit the layer.
    if (m_view.frameSize() != QSize(width, height)) {
        m_view.setFrameSize(width, height);
        const QSize turned(m_view.rotatedWidth(), m_view.rotatedHeight());
        if (m_layerDirty && !m_layer.isNull())
            m_layer = m_layer.scaled(turned, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        else {
            m_layer = QImage(turned, QImage::Format_ARGB32_Premultiplied);
            m_layer.fill(Qt::transparent);
        }
        m_history.clear();
    }

    const bool overlay = m_layerDirty && !m_layer.isNull();
    return m_processing.run(m_source, m_view, overlay ? &m_layer : nullptr, effect, mask);
}

FramePipeline::StillBlock FramePipeline::packStill(const QImage &image)
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

void FramePipeline::stillImageCaptured(QImage *image)
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

void FramePipeline::stillImageResampled(QImage *image)
{
    if (!image || image->isNull()) {
        qCWarning(lcCanvas) << "empty still picture ignored";
        return;
    }
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        const QSize old = m_view.frameSize();
        if (old.isValid() && !old.isEmpty() && old != image->size()) {
            m_view.rescaleFrame(image->width(), image->height());
            if (!m_layer.isNull()) {
                const QSize turned(m_view.rotatedWidth(), m_view.rotatedHeight());
                m_layer = m_layer.scaled(turned, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            }
        }
    }
    stillImageCaptured(image);
}

void FramePipeline::autoRefresh()
{
    const int effect = m_effect.load();
    const int mask = m_mask.load();
    const bool freeze = m_freeze.load();
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        if (m_source.isNull())
            return;
        // Nothing the picture follows from has changed: the last processed picture stands, and
        // only the paint runs (the on-screen display may have moved on). Armed snapshots are
        // written from the processing, so they keep it running.
        if (!m_snapshots.isArmed() && refreshKeyLocked(effect, mask, freeze) == m_processedKey) {
            m_skippedRefreshes.fetch_add(1, std::memory_order_relaxed);
        } else {
            // The input picture is processed where it lies, in its own layout: no copy of it is
            // made, and the work pictures of the processing are reused.
            const QSize size = m_source.size();
            m_output = QImage();
            m_display = QImage();
            const QImage &picture = processLocked(size.width(), size.height(), effect, mask);
            writeSnapshot(picture); // step 11
            m_output = picture;     // step 12
            m_display = picture;
            m_processedKey = refreshKeyLocked(effect, mask, freeze);
            m_processedCount.fetch_add(1, std::memory_order_relaxed);
        }
    }
    emit updateFromWorker();
}

void FramePipeline::startAutoRefresh()
{
    m_refreshTimer->start();
}

void FramePipeline::stopAutoRefresh()
{
    m_refreshTimer->stop();
}

void FramePipeline::fillStill(const QColor &colour)
{
    QImage still(STILL_WIDTH, STILL_HEIGHT, QImage::Format_RGB888);
    still.fill(colour);
    stillImageCaptured(&still);
}

void FramePipeline::writeSnapshot(const QImage &picture)
{
    // Only a file that was written gets the mark; one that could not be says why.
    const bool written = m_snapshots.write(picture);
    if (written)
        emit snapshotSaved(m_snapshots.written(), picture.scaledToHeight(96));
    if (!m_overlay)
        return;
    if (written)
        m_overlay->showSnapshot();
    else if (!m_snapshots.failure().isEmpty())
        m_overlay->showSnapshotFailure(m_snapshots.failure());
}

void FramePipeline::setSnapshotSettings(const SnapshotWriter::Settings &settings)
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_snapshots.setSettings(settings);
}

SnapshotWriter::Settings FramePipeline::snapshotSettings() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_snapshots.settings();
}

void FramePipeline::startSnapshot()
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_snapshots.start();
}

void FramePipeline::stopSnapshot()
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_snapshots.stop();
}

bool FramePipeline::isSnapshotArmed() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_snapshots.isArmed();
}

void FramePipeline::setOverlay(CanvasOverlay *overlay)
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_overlay = overlay;
}

void FramePipeline::detachOverlay(CanvasOverlay *overlay)
{
    std::lock_guard<CanvasLock> lock(m_lock);
    if (m_overlay == overlay)
        m_overlay = nullptr;
}

QImage FramePipeline::outputImage() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_output.copy();
}

QImage FramePipeline::annotationLayer() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_layer.copy();
}

void FramePipeline::drawOnLayer(const std::function<void(QPainter &)> &draw)
{
    std::lock_guard<CanvasLock> lock(m_lock);
    if (m_layer.isNull())
        return;
    QPainter painter(&m_layer);
    draw(painter);
    m_layerDirty = true;
}

// --- view -----------------------------------------------------------------------------------

bool FramePipeline::zoomIn()
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_view.zoomIn();
}

void FramePipeline::zoomOut()
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_view.zoomOut();
}

void FramePipeline::zoomBestFit()
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_view.zoomBestFit();
}

void FramePipeline::rotateClockwise()
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_view.rotateClockwise();
    rotateLayerLocked(90);
}

void FramePipeline::rotateCounterClockwise()
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_view.rotateCounterClockwise();
    rotateLayerLocked(270);
}

void FramePipeline::rotateLayerLocked(int degrees)
{
    // The drawing turns with the picture it was drawn on.
    if (!m_layer.isNull())
        m_layer = m_layer.transformed(QTransform().rotate(degrees), Qt::FastTransformation);
}

void FramePipeline::setViewOffset(int x, int y)
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_view.setViewOffset(x, y);
}

void FramePipeline::reclampView()
{
    std::lock_guard<CanvasLock> lock(m_lock);
    m_view.reclamp();
}

double FramePipeline::zoom() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_view.zoom();
}

int FramePipeline::rotation() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_view.rotation();
}

ViewGeometry FramePipeline::view() const
{
    std::lock_guard<CanvasLock> lock(m_lock);
    return m_view;
}

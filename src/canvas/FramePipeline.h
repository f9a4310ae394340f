#pragma once

#include "canvas/AnnotationHistory.h"
#include "canvas/CanvasLock.h"
#include "canvas/FramePaintTiming.h"
#include "canvas/FrameProcessing.h"
#include "canvas/FrameSlots.h"
#include "canvas/RecordingEncoder.h"
#include "canvas/SnapshotWriter.h"
#include "canvas/ViewGeometry.h"
#include "common/Clock.h"
#include "common/ICaptureCB.h"

#include <QImage>
#include <QObject>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>

class CanvasOverlay;
class QColor;
class QPainter;
class QTimer;

// The document half of a canvas: it takes raw frames from a media source (ICaptureCB),
// processes each in a fixed order (flip, freeze, rotation, annotation overlay, colour effect,
// zoom cut-out, mask, scale back, snapshot, output, recording exchange) and hands the processed
// frame back to the source. It owns the frame slots, the view geometry the processing follows,
// the annotation layer, the snapshot files and the recording exchange; the canvas widget that
// owns it paints its display picture and turns mouse input into drawing. Nothing here is a
// widget, so it runs and is tested without a window.
//
// Threads:
// - streamImageCaptured() runs on a media streaming thread (one per pipeline at a time); it is
//   the only entry point for that thread. In the steady state it copies the frame into the back
//   slot and queues newFrameData() without waiting; on the first frame and after a change of
//   size or pixel layout it processes the frame itself.
// - Everything else runs on the GUI thread.
// - The lock (a non-recursive QMutex inside a CanvasLock) guards every picture, the view
//   geometry, the annotation layer and its undo history. processFrame() holds it for a whole frame; the still
//   and refresh entries hold it while they read their picture; the view operations and accessors take it for
//   their call; the canvas widget holds it while it paints and while its mouse tools work on the layer
//   (lock(), *Locked()). No member that holds it calls another member that takes it; writeSnapshot() and the
//   overlay's showSnapshot() run with it held.
// - The frame handover (front index, frame-process state, pending flag) lives in FrameSlots as
//   atomics; effect, mask and freeze are atomics written by the GUI thread and read once per
//   frame by the processing.
// - The frame timing is switched on and off on the GUI thread; its shown stamp is guarded by the
//   lock. The arrival stamp of the latest frame is an atomic written by the streaming thread.
// - The owner stops every source feeding the pipeline before deleting it.
class FramePipeline : public QObject, public ICaptureCB
{
    Q_OBJECT
public:
    enum { FPS_IDLE = FrameSlots::FPS_IDLE, FPS_BUSY = FrameSlots::FPS_BUSY };
    static constexpr int REFRESH_INTERVAL_MS = 40;
    static constexpr int STILL_WIDTH = 1280;
    static constexpr int STILL_HEIGHT = 720;

    // `clock` times and names the snapshot files.
    explicit FramePipeline(const Clock &clock = Clock::system(), QObject *parent = nullptr);
    ~FramePipeline() override;

    // ICaptureCB
    void imageCaptured(void *data, int width, int height, bool flip, bool alpha) override;
    void stillImageCaptured(QImage *image) override;
    void streamImageCaptured(void *data, int width, int height, bool flip, bool alpha) override;
    void startAutoRefresh() override;
    void stopAutoRefresh() override;
    // The shown still at another resolution: the view and the annotation layer are scaled to
    // it (centre, zoom and drawings stay where they are on the picture) before it is processed.
    void stillImageResampled(QImage *image) override;

    void adjStreamFrameData(STREAM_FRAME_DATA *pSFD, int width, int height, bool flip, bool alpha);
    void fillStill(const QColor &colour);
    // A deep copy of the last processed picture at frame size (null before the first frame).
    QImage outputImage() const;
    // Pictures processed so far (frames, stills and refreshes that did work), and refreshes that
    // found nothing changed and only asked for a repaint. Any thread.
    quint64 processedCount() const { return m_processedCount.load(std::memory_order_relaxed); }
    quint64 skippedRefreshCount() const { return m_skippedRefreshes.load(std::memory_order_relaxed); }
    // Measurements (GUI thread): `observer` gets each camera frame's entry into its decoder, its
    // arrival and the end of the paint that first showed it; see FramePaintTiming. An empty
    // observer switches it off.
    void setFrameTimingObserver(FramePaintTiming::Observer observer)
    {
        m_timing.setObserver(std::move(observer));
    }
    // When the latest frame reached streamImageCaptured(), on the clock's monotonic count, as
    // the streaming thread stamped it (NO_ARRIVAL before the first). Any thread: the window's
    // supervision reads it to tell a silent camera from a busy window.
    static constexpr qint64 NO_ARRIVAL = std::numeric_limits<qint64>::min();
    qint64 lastArrivalMs() const { return m_lastArrivalMs.load(std::memory_order_acquire); }

    // View (GUI thread). The zoom and rotation operations return whether the view changed.
    bool zoomIn();
    void zoomOut();
    void zoomBestFit();
    void rotateClockwise();
    void rotateCounterClockwise();
    // Pans the view (hand tool): the offset is clamped to the zoomed picture.
    void setViewOffset(int x, int y);
    // Keeps the offset inside the picture after the canvas's size changed.
    void reclampView();
    double zoom() const;
    int rotation() const;
    // A copy of the whole view state (zoom, rotation, offset, frame size).
    ViewGeometry view() const;

    // Picture settings (GUI thread); used from the next processed frame on.
    void setEffect(int effect) { m_effect.store(effect); }
    int effect() const { return m_effect.load(); }
    void setMask(int mask) { m_mask.store(mask); }
    int mask() const { return m_mask.load(); }
    void setFreeze(bool freeze) { m_freeze.store(freeze); }
    bool freeze() const { return m_freeze.load(); }

    // Annotation layer: rotated-frame size, transparent where nothing is drawn. drawOnLayer()
    // runs `draw` with a painter on the layer under the lock and marks the layer as holding
    // drawings, so it is painted over the following frames; nothing happens before the first
    // frame.
    QImage annotationLayer() const;
    void drawOnLayer(const std::function<void(QPainter &)> &draw);
    bool layerDirty() const
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        return m_layerDirty;
    }

    // Snapshot files (GUI thread). The settings are given before startSnapshot(), which arms only
    // when the folder exists.
    void setSnapshotSettings(const SnapshotWriter::Settings &settings);
    SnapshotWriter::Settings snapshotSettings() const;
    void startSnapshot();
    void stopSnapshot();
    bool isSnapshotArmed() const;

    // What is painted over the picture and told of each written snapshot (GUI thread; the
    // overlay detaches itself when it goes).
    void setOverlay(CanvasOverlay *overlay);
    void detachOverlay(CanvasOverlay *overlay);

    // For the canvas widget: the lock, and what it reads or changes while holding it.
    CanvasLock &lock() const { return m_lock; }
    const QImage &displayLocked() const { return m_display; }
    QImage &layerLocked() { return m_layer; }
    bool &layerDirtyLocked() { return m_layerDirty; }
    ViewGeometry &viewLocked() { return m_view; }
    // The drawing's undo history; cleared where the layer is replaced (a new frame size).
    AnnotationHistory &historyLocked() { return m_history; }
    CanvasOverlay *overlayLocked() const { return m_overlay; }
    // A paint that shows the processed picture finished (lock held).
    void paintedLocked() { m_timing.painted(); }

signals:
    // updateFromWorker() asks the canvas for a repaint after each processed frame.
    // streamFrameUpdate() is emitted on the capture thread for every arriving frame; the owner
    // connects it to its frame-timing supervision.
    void updateFromWorker();
    void newFrameData();
    void streamFrameUpdate();
    // A snapshot file was written at `path`; `thumbnail` is its picture made small. Emitted on
    // the thread that processed the frame, with the canvas lock held: connect it queued.
    void snapshotSaved(const QString &path, const QImage &thumbnail);

public slots:
    void autoRefresh();
    void precessFrameData();

protected:
    // Source of the slot blocks; must return memory that std::free releases, or null.
    virtual void *allocateFrameBlock(std::size_t bytes);
    // Processing step 11 (snapshot files), lock held, with the picture at frame size.
    virtual void writeSnapshot(const QImage &picture);

private:
    // What the processed picture follows from: a refresh that finds all of it as it was when
    // the picture was processed last has nothing to do but the paint. Pictures are told apart
    // by their cache keys, which change whenever their pixels may have been written.
    struct RefreshKey
    {
        qint64 source = 0;
        qint64 layer = 0;
        bool layerDirty = false;
        QSize frame;
        int rotation = 0;
        double zoom = 0.0;
        QPoint offset;
        int effect = -1;
        int mask = -1;
        bool freeze = false;
        bool operator==(const RefreshKey &o) const
        {
            return source == o.source && layer == o.layer && layerDirty == o.layerDirty && frame == o.frame
                && rotation == o.rotation && zoom == o.zoom && offset == o.offset && effect == o.effect
                && mask == o.mask && freeze == o.freeze;
        }
    };
    RefreshKey refreshKeyLocked(int effect, int mask, bool freeze) const;

    struct StillBlock
    {
        using Pixels = std::unique_ptr<unsigned char, decltype(&std::free)>;
        Pixels pixels;
        int width;
        int height;
    };
    // A still picture as packed 3-byte R, G, B rows in a block of its own; called with the lock
    // held when the picture is one of the pipeline's own.
    static StillBlock packStill(const QImage &image);
    // imageCaptured() for a frame with these arrival stamps (zeros: not timed).
    void processFrame(void *data, int width, int height, bool flip, bool alpha,
                      const FramePaintTiming::Stamp &arrival);
    // Whether steps 4 to 10 would hand the input picture through untouched.
    bool changesNothingLocked(int width, int height, int effect, int mask) const;
    // Runs steps 4 to 10 on the input picture and returns the processed picture.
    const QImage &processLocked(int width, int height, int effect, int mask);
    void rotateLayerLocked(int degrees);

    mutable CanvasLock m_lock;
    FrameSlots m_slots;
    FramePaintTiming m_timing;
    RecordingEncoder m_recording; // used under m_lock
    QTimer *m_refreshTimer = nullptr;

    // Guarded by m_lock.
    ViewGeometry m_view;
    QImage m_layer;
    bool m_layerDirty = false;
    AnnotationHistory m_history; // steps of m_layer
    QImage m_source;             // last input picture (after flip, before rotation)
    QImage m_output;
    QImage m_display;
    FrameProcessing m_processing;
    SnapshotWriter m_snapshots;
    CanvasOverlay *m_overlay = nullptr; // not owned; detaches itself when it goes

    const Clock *m_clock;
    std::atomic<qint64> m_lastArrivalMs{NO_ARRIVAL};
    RefreshKey m_processedKey; // guarded by m_lock: what the last processed picture followed from

    std::atomic<int> m_effect{0};
    std::atomic<int> m_mask{0};
    std::atomic<bool> m_freeze{false};
    std::atomic<quint64> m_processedCount{0};
    std::atomic<quint64> m_skippedRefreshes{0};
};

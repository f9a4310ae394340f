#pragma once

#include "AnnotationController.h"
#include "AnnotationTools.h"
#include "CanvasLock.h"
#include "FramePaintTiming.h"
#include "FrameSlots.h"
#include "ICaptureCB.h"
#include "RecordingEncoder.h"
#include "SnapshotWriter.h"
#include "ViewGeometry.h"

#include <QImage>
#include <QWidget>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>

class OSDProcessor;
class QPainter;
class QTextEdit;
class QTimer;

// The picture widget every frame of a mode passes through: it takes raw frames from a media
// source (ICaptureCB), processes each in a fixed order (flip, freeze, rotation, annotation
// overlay, colour effect, zoom cut-out, mask, scale back, snapshot, output, recording
// exchange), hands the processed frame back to the source and paints it.
//
// Threads:
// - streamImageCaptured() runs on a media streaming thread (one per canvas at a time); it
//   is the only entry point for that thread. In the steady state it copies the frame into
//   the back slot and queues newFrameData() without waiting; on the first frame and after
//   a change of size or pixel layout it processes the frame itself through imageCaptured().
// - Everything else runs on the GUI thread.
// - The canvas lock (m_lock, a non-recursive QMutex inside a CanvasLock) guards every
//   picture of the canvas, the view geometry and the annotation layer. It is held by
//   imageCaptured() for a whole frame, by stillImageCaptured() and autoRefresh() while they
//   read their picture, by paintEvent(), by the view operations and accessors, and by
//   outputImage(), and by the mouse tools, the drawing settings and the snapshot settings.
//   No member that holds it calls another member that takes it; paintOverlay() and
//   writeSnapshot() are called with it held, and so are the on-screen display's paint() and
//   showSnapshot() they call. clipDone() is emitted after the lock is released.
// - The text editor and the text settings are touched on the GUI thread only.
// - The frame handover (front index, frame-process state, pending flag) lives in FrameSlots
//   as atomics; effect, mask and freeze are atomics written by the GUI thread and read once
//   per frame by the processing.
// - The frame timing (FramePaintTiming) is switched on and off on the GUI thread; its shown
//   stamp is guarded by m_lock, and its observer is called from paintEvent() with m_lock held.
// - The owner stops every source feeding the canvas before deleting it.
class ImageCanvas : public QWidget, public ICaptureCB
{
    Q_OBJECT
public:
    enum { FPS_IDLE = FrameSlots::FPS_IDLE, FPS_BUSY = FrameSlots::FPS_BUSY };
    static constexpr int REFRESH_INTERVAL_MS = 40;
    static constexpr int STILL_WIDTH = 1280;
    static constexpr int STILL_HEIGHT = 720;

    explicit ImageCanvas(QWidget *parent = nullptr);
    ~ImageCanvas() override;

    // ICaptureCB
    void imageCaptured(void *data, int width, int height, bool flip, bool alpha) override;
    void stillImageCaptured(QImage *image) override;
    void streamImageCaptured(void *data, int width, int height, bool flip, bool alpha) override;
    void startAutoRefresh() override;
    void stopAutoRefresh() override;

    void adjStreamFrameData(STREAM_FRAME_DATA *pSFD, int width, int height, bool flip, bool alpha);
    void fillStill(const QColor &colour);
    // A deep copy of the last processed picture at frame size, taken under the lock (null
    // before the first frame).
    QImage outputImage() const;
    // Measurements (GUI thread): `observer` gets each camera frame's arrival and the end of the
    // paint that first showed it; see FramePaintTiming. An empty observer switches it off.
    void setFrameTimingObserver(FramePaintTiming::Observer observer)
    {
        m_timing.setObserver(std::move(observer));
    }

    // View (GUI thread).
    void zoomIn();
    void zoomOut();
    void zoomBestFit();
    void rotateClockwise();
    void rotateCounterClockwise();
    // Pans the view (hand tool): the offset is clamped to the zoomed picture.
    void setViewOffset(int x, int y);
    void setBoard(bool board);
    bool isBoard() const;
    double zoom() const;
    int rotation() const;
    // A copy of the whole view state (zoom, rotation, offset, frame size).
    ViewGeometry view() const;

    // Picture settings (GUI thread); used from the next processed frame on. mask() and
    // setMask(int) are the canvas's mask kind (MaskKind); they hide QWidget's widget mask.
    void setEffect(int effect) { m_effect.store(effect); }
    int effect() const { return m_effect.load(); }
    void setMask(int mask) { m_mask.store(mask); }
    int mask() const { return m_mask.load(); }
    void setFreeze(bool freeze) { m_freeze.store(freeze); }
    bool freeze() const { return m_freeze.load(); }

    // Annotation layer: rotated-frame size, transparent where nothing is drawn. drawOnLayer()
    // runs `draw` with a painter on the layer under the canvas lock and marks the layer as
    // holding drawings, so it is painted over the following frames; nothing happens before
    // the first frame.
    QImage annotationLayer() const;
    void drawOnLayer(const std::function<void(QPainter &)> &draw);
    bool layerDirty() const { std::lock_guard<CanvasLock> lock(m_lock); return m_layerDirty; }

    // Drawing tools (GUI thread). Choosing any tool but TOOL_TEXT commits a text being edited.
    void setTool(int tool) { m_controller.setTool(tool); }
    int tool() const { std::lock_guard<CanvasLock> lock(m_lock); return m_annotation.tool; }
    // Line and fill settings, written by the colour, line-width and fill popups.
    void setDrawingStyle(const AnnotationTools::Style &style)
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        m_annotation.style = style;
    }
    AnnotationTools::Style drawingStyle() const
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        return m_annotation.style;
    }
    // Erases every drawing; the layer is painted over frames again once a tool draws.
    void clearAnnotations() { m_controller.clear(); }
    // The clip selection in frame points, inclusive; null while nothing is selected.
    QRect clipSelection() const
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        return m_annotation.hasClipSelection() ? m_annotation.clipRect() : QRect();
    }

    // Text tool (GUI thread): the format of what is typed from now on.
    void setTextColor(const QColor &colour) { m_controller.text().setTextColor(colour); }
    void setTextFamily(const QString &family) { m_controller.text().setTextFamily(family); }
    void setTextSize(int points) { m_controller.text().setTextSize(points); }
    QColor textColor() const { return m_controller.text().textColor(); }
    QString textFamily() const { return m_controller.text().textFamily(); }
    int textSize() const { return m_controller.text().textSize(); }
    QTextEdit *textEditor() const { return m_controller.text().editor(); }

    // Snapshot files (GUI thread). The settings are given before startSnapshot(), which arms
    // only when the folder exists.
    void setSnapshotSettings(const SnapshotWriter::Settings &settings)
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        m_snapshots.setSettings(settings);
    }
    SnapshotWriter::Settings snapshotSettings() const
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        return m_snapshots.settings();
    }
    void startSnapshot() { std::lock_guard<CanvasLock> lock(m_lock); m_snapshots.start(); }
    void stopSnapshot() { std::lock_guard<CanvasLock> lock(m_lock); m_snapshots.stop(); }
    bool isSnapshotArmed() const { std::lock_guard<CanvasLock> lock(m_lock); return m_snapshots.isArmed(); }
    // Test seam: the snapshot stopwatch's millisecond clock and the wall clock naming files.
    void setSnapshotClocks(std::function<qint64()> msecs, std::function<QDateTime()> now)
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        m_snapshots.clock().setSource(std::move(msecs));
        m_snapshots.setWallClock(std::move(now));
    }

    // The on-screen display painted over the picture; OSDProcessor attaches and detaches
    // itself (GUI thread).
    void setOSDProcessor(OSDProcessor *osd) { std::lock_guard<CanvasLock> lock(m_lock); m_osd = osd; }
    void detachOSDProcessor(OSDProcessor *osd)
    {
        std::lock_guard<CanvasLock> lock(m_lock);
        if (m_osd == osd)
            m_osd = nullptr;
    }

signals:
    // streamFrameUpdate() is emitted on the capture thread for every arriving frame; the
    // owner connects it to its frame-timing supervision.
    void clipDone();
    void updateFromWorker();
    void newFrameData();
    void streamFrameUpdate();

public slots:
    void autoRefresh();
    void precessFrameData();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    // Source of the slot blocks; must return memory that std::free releases, or null.
    virtual void *allocateFrameBlock(std::size_t bytes);
    // Processing step 11 (snapshot files), lock held, with the picture at frame size.
    virtual void writeSnapshot(const QImage &picture);
    // Painted over the picture and under the border (the on-screen display), lock held.
    virtual void paintOverlay(QPainter &painter, const ViewGeometry::PaintMapping &mapping);

    // Mappings of the mouse tools; the caller holds the canvas lock.
    ViewGeometry::PaintMapping paintMappingLocked() const;
    QPoint widgetToFrameLocked(const QPointF &widgetPoint) const;
    QPoint frameToLayerLocked(const QPoint &framePoint) const;

    mutable CanvasLock m_lock;
    ViewGeometry m_view;            // guarded by m_lock
    QImage m_layer;                 // guarded by m_lock
    bool m_layerDirty = false;      // guarded by m_lock

private:
    struct StillBlock
    {
        using Pixels = std::unique_ptr<unsigned char, decltype(&std::free)>;
        Pixels pixels;
        int width;
        int height;
    };
    // A still picture as packed 3-byte R, G, B rows in a block of its own; called with the
    // lock held when the picture is one of the canvas's own.
    static StillBlock packStill(const QImage &image);
    // imageCaptured() for a frame that arrived at `arrivalNs` (0: not timed).
    void processFrame(void *data, int width, int height, bool flip, bool alpha, qint64 arrivalNs);
    // Whether steps 4 to 10 would hand the input picture through untouched.
    bool changesNothingLocked(int width, int height, int effect, int mask) const;
    // Runs steps 4 to 10 on the input picture and returns the processed picture.
    const QImage &processLocked(int width, int height, int effect, int mask);
    // Step 6 on `frame`, which shows the turned picture from `layerOrigin` on.
    void paintLayerLocked(QImage *frame, const QPoint &layerOrigin);
    // Step 7; returns the picture that holds the result.
    QImage *applyEffectLocked(QImage *frame, int effect);
    // The picture `current` points at, made safe to change in place.
    QImage *ownedForWriting(QImage *current);

    FrameSlots m_slots;
    FramePaintTiming m_timing;
    RecordingEncoder m_recording;   // used under m_lock
    QTimer *m_refreshTimer = nullptr;

    // Guarded by m_lock.
    QImage m_source;                // last input picture (after flip, before rotation)
    QImage m_output;
    QImage m_display;
    QImage m_rotated;               // work buffers reused from frame to frame
    QImage m_work;
    QImage m_cut;
    QImage m_scaled;
    QImage m_letterboxed;
    bool m_board = false;
    AnnotationTools m_annotation;
    SnapshotWriter m_snapshots;
    OSDProcessor *m_osd = nullptr;  // not owned; detaches itself when it goes

    AnnotationController m_controller;  // GUI thread only; after the members it reaches

    std::atomic<int> m_effect{0};
    std::atomic<int> m_mask{0};
    std::atomic<bool> m_freeze{false};
};

#pragma once

#include "canvas/CanvasOverlay.h"
#include "canvas/OsdNotice.h"
#include "common/Clock.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTimer>

class CanvasMessages;
class ImageCanvas;
class LiveSourceBase;
class QPainter;

// The on-screen display of one canvas: short-lived indications (mask, colour effect, camera
// brightness bar, zoom, rotation, autofocus), standing marks (freeze, macro), the running
// recording time, the snapshot mark and the blinking frame of a clip selection, notices about a
// file the user asked for (OsdNotice), and messages in words (CanvasMessages) over all of them.
// The main window calls an indication right after each action; the canvas paints the display
// from its own paint and shows the snapshot mark after each written file. The display asks its
// canvas for the repaints it needs itself: one when an indication comes, one when it goes and one
// for each blink of the clip frame, so indications show and vanish on a canvas that nothing else
// repaints (Live mode without a camera, a still picture with nothing changing). The messages
// repaint by themselves too.
//
// Threads: GUI thread, except showSnapshot() and showSnapshotFailure(), which the canvas calls
// from inside the frame processing (possibly on a streaming thread). The snapshot picture,
// stopwatch and notice are therefore guarded by the canvas lock: those two and paint() are
// only called with it held, noticeText() takes it, and only paint() reads the snapshot stopwatch
// and notice to time a repaint. Every other member (the repaint timer too) is GUI-thread only
// and touches no canvas state but through the canvas's own
// locked accessors (never from inside paint()).
class OSDProcessor : public QObject, public CanvasOverlay
{
    Q_OBJECT
public:
    static constexpr qint64 SHOW_MS = 1000;
    static constexpr qint64 SNAPSHOT_SHOW_MS = 500;
    static constexpr qint64 CLIP_BLINK_END_MS = 899;

    // Attaches to `canvas` (which then paints this display) and reads the brightness levels from
    // `liveSource` (may be null: the levels are then 0, as for a closed device). `clock` times
    // the indications.
    OSDProcessor(ImageCanvas *canvas, LiveSourceBase *liveSource, QObject *parent = nullptr,
                 const Clock &clock = Clock::system());
    ~OSDProcessor() override;

    // Indications.
    void showMask();
    void showColor();
    void showBrightness();
    void showZoomIn();
    void showZoomOut();
    void showRotate();
    void showAutoFocus();
    void showFreeze();
    void showMacro(int on);
    void startRecordingTime();
    void stopRecordingTime();
    bool isRecordingTimeRunning() const { return m_recordingWatch.isValid(); }
    void showSnapshot() override;
    void showSnapshotFailure(const QString &cause) override;
    // A sentence over the picture for a while (OsdNotice): what became of a file the user
    // asked for. A newer notice replaces it.
    void showNotice(const QString &text);
    void clearNotice() { m_notice.clear(); }
    // The sentence shown now, or empty.
    QString noticeText() const;

    void paint(QPainter *painter, const CanvasState &state) override;

    // The canvas's messages in words; owned by the display.
    CanvasMessages *messages() const { return m_messages; }

    // "Best fit" below zoom 1, else the magnification: "1x", "2x", "3x" ... "6x".
    static QString zoomLabel(double zoom);
    // "hh:mm:ss" with hours unbounded.
    static QString timeText(qint64 seconds);

    QString colorLabel() const { return m_colorLabel; }
    QString zoomLabelText() const { return m_zoomLabel; }
    QString rotateLabel() const { return m_rotateLabel; }
    // Milliseconds until the display next changes by itself (an indication goes, the clip frame
    // blinks), -1 when nothing shown will change. GUI thread; the snapshot mark only with the
    // canvas lock held.
    qint64 nextChangeMs(bool withSnapshot = false) const;

private:
    // The notice to show: the newer of the two, or null.
    const OsdNotice *newerNotice() const;
    // Repaints the canvas now and when the display next changes by itself.
    void repaintCanvas();
    void scheduleRepaint(bool withSnapshot);

    void showZoom(const QString &picture);
    void paintLabelled(QPainter *painter, int x, int y, const QImage &picture, const QString &text);
    void paintBrightness(QPainter *painter, int w, int h);
    void paintRecordingTime(QPainter *painter, int w, int h);
    void paintClipFrame(QPainter *painter, const CanvasState &state);

    QImage m_maskPicture;
    QImage m_colorPicture;
    QImage m_zoomPicture;
    QImage m_rotatePicture;
    QImage m_autoFocusPicture;
    QImage m_freezePicture;
    QImage m_macroPicture;
    QString m_colorLabel;
    QString m_zoomLabel;
    QString m_rotateLabel;
    QImage m_brightnessMin;
    QImage m_brightnessMax;
    QImage m_brightnessShort;
    QImage m_brightnessLong;
    QImage m_brightnessBar;
    QImage m_brightnessBarCenter;
    QImage m_timePicture;
    QImage m_snapshotPicture; // guarded by the canvas lock
    QPointer<ImageCanvas> m_canvas;
    QPointer<LiveSourceBase> m_liveSource;
    CanvasMessages *m_messages = nullptr;

    Stopwatch m_maskWatch;
    Stopwatch m_colorWatch;
    Stopwatch m_brightnessWatch;
    Stopwatch m_zoomWatch;
    Stopwatch m_rotateWatch;
    Stopwatch m_clipWatch;
    Stopwatch m_autoFocusWatch;
    Stopwatch m_recordingWatch;
    Stopwatch m_snapshotWatch; // guarded by the canvas lock

    OsdNotice m_notice;
    OsdNotice m_snapshotNotice; // guarded by the canvas lock

    int m_macro = 0;
    QRectF m_clipFrame;
    QTimer m_repaintTimer; // single shot at the display's next change
};

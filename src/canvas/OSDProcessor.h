#pragma once

#include "canvas/CanvasOverlay.h"
#include "common/Clock.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTimer>

class ImageCanvas;
class LiveSourceBase;
class QPainter;

// The on-screen display of one canvas: short-lived indications (mask, colour effect, camera
// brightness bar, zoom, rotation, autofocus), standing marks (freeze, macro), the running
// recording time, the snapshot mark and the blinking frame of a clip selection. The main window
// calls an indication right after each action; the canvas paints the display from its own paint
// and shows the snapshot mark after each written file. The display asks its canvas for the
// repaints it needs itself: one when an indication comes, one when it goes and one for each
// blink of the clip frame, so indications show and vanish on a canvas that nothing else
// repaints (Live mode without a camera, a still picture with nothing changing).
//
// Threads: GUI thread, except showSnapshot(), which the canvas calls from inside the frame
// processing (possibly on a streaming thread). The snapshot picture and stopwatch are therefore
// guarded by the canvas lock: showSnapshot() and paint() are only called with it held, and only
// paint() reads the snapshot stopwatch to time a repaint. Every other member (the repaint timer
// too) is GUI-thread only and touches no canvas state but through the canvas's own
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
    void showSnapshot() override;

    void paint(QPainter *painter, const CanvasState &state) override;

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

    Stopwatch m_maskWatch;
    Stopwatch m_colorWatch;
    Stopwatch m_brightnessWatch;
    Stopwatch m_zoomWatch;
    Stopwatch m_rotateWatch;
    Stopwatch m_clipWatch;
    Stopwatch m_autoFocusWatch;
    Stopwatch m_recordingWatch;
    Stopwatch m_snapshotWatch; // guarded by the canvas lock

    int m_macro = 0;
    QRectF m_clipFrame;
    QTimer m_repaintTimer; // single shot at the display's next change
};

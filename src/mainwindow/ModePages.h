#pragma once

#include "mainwindow/WindowMode.h"

#include <QHash>

#include <memory>

class Clock;
class DeviceBackend;
class FilmBar;
class FilmBarControl;
class FilmSource;
class ImageButton;
class ImageCanvas;
class LiveSource;
class OSDProcessor;
class PhotographBar;
class PhotographBarControl;
class PhotographSource;
class PopupSlot;
class QSize;
class QStackedWidget;
class QWidget;

// The four pages of the main window and what feeds them: one canvas per mode in the page
// stack, each with its on-screen display, the live, film and photograph sources with the
// canvas of their mode as frame sink, and the bottom bar of each mode (the live bar with its
// recording button, the film bar and the photograph bar with the controls that run them).
// Builds them in mode order and runs the per-mode steps of leaving and entering a mode; the
// window connects what reaches its own slots.
//
// Ownership: every widget and display object is a child of the window; the sources are
// children of the window too, but deleteSources() takes them down first, because their
// graphs feed the canvases.
//
// Threads: GUI thread only.
class ModePages
{
public:
    // Builds the pages as children of `window`. The camera opens at `capture` and is searched
    // among `cameraDevices` (none: the system's devices, or the simulated camera when
    // DOCUMENT_CAMERA_SIMULATED=1). The bars' actions close the popup of `popup` first.
    // `clock` times the canvases' snapshots and indications.
    ModePages(QWidget *window, PopupSlot *popup, const QSize &capture,
              std::unique_ptr<DeviceBackend> cameraDevices, const Clock &clock);
    ~ModePages();
    ModePages(const ModePages &) = delete;
    ModePages &operator=(const ModePages &) = delete;

    void leave(WindowMode mode);
    void enter(WindowMode mode);
    // Places the page stack and the bars for a window of w x h whose panel takes panelOffset.
    void layout(int w, int h, int panelOffset);
    // Deletes the sources; called by the window before its children go.
    void deleteSources();
    // The largest size, in pixels, a canvas shows a picture at: film frames are scaled down to
    // it and photographs decoded to fit it.
    static QSize largestShownSize();

    ImageCanvas *canvas(WindowMode mode) const { return m_canvases[mode]; }
    // When the newest frame of any canvas arrived at its pipeline (FramePipeline::lastArrivalMs,
    // stamped on the streaming threads); FramePipeline::NO_ARRIVAL before the first.
    qint64 newestArrivalMs() const;
    OSDProcessor *osd(ImageCanvas *canvas) const { return m_osdMap.value(canvas); }
    QStackedWidget *pageStack() const { return m_pageStack; }
    QWidget *liveBar() const { return m_liveBar; }
    ImageButton *liveRecordingButton() const { return m_liveRecordingButton; }
    FilmBar *filmBar() const { return m_filmBar.get(); }
    PhotographBar *photographBar() const { return m_photographBar.get(); }
    FilmBarControl *filmControl() const { return m_filmControl; }
    PhotographBarControl *photographControl() const { return m_photographControl; }
    LiveSource *liveSource() const { return m_liveSource; }
    FilmSource *filmSource() const { return m_filmSource; }
    PhotographSource *photographSource() const { return m_photographSource; }

private:
    ImageCanvas *createCanvas();
    void attachOsd(ImageCanvas *canvas);
    void createLivePage(const QSize &capture, std::unique_ptr<DeviceBackend> cameraDevices);
    void createFilmPage(PopupSlot *popup);
    void createPhotographPage(PopupSlot *popup);
    void createDrawingBoardPage();

    QWidget *m_window;
    const Clock &m_clock;
    QStackedWidget *m_pageStack;
    ImageCanvas *m_canvases[WINDOW_MODE_COUNT] = {};
    QHash<ImageCanvas *, OSDProcessor *> m_osdMap;
    QWidget *m_liveBar = nullptr;
    ImageButton *m_liveRecordingButton = nullptr;
    std::unique_ptr<FilmBar> m_filmBar;
    std::unique_ptr<PhotographBar> m_photographBar;
    FilmBarControl *m_filmControl = nullptr;
    PhotographBarControl *m_photographControl = nullptr;
    LiveSource *m_liveSource = nullptr;
    FilmSource *m_filmSource = nullptr;
    PhotographSource *m_photographSource = nullptr;
};

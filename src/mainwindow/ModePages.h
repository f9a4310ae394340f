#pragma once

#include "WindowMode.h"

#include <QHash>

#include <memory>

class DeviceBackend;
class FilmBar;
class FilmSource;
class ImageButton;
class ImageCanvas;
class LiveSource;
class OSDProcessor;
class MainWindow;
class PhotographBar;
class PhotographSource;
class QStackedWidget;
class QWidget;

// The four pages of the main window and what feeds them: one canvas per mode in the page
// stack, each with its on-screen display, the live, film and photograph sources with the canvas of their mode as frame sink, and the
// bottom bar of each mode (the live bar with its recording button, the film bar, the
// photograph bar). Builds them in mode order, wires their buttons to the window's slots, and
// runs the per-mode steps of leaving and entering a mode.
//
// Ownership: every widget and display object is a child of the window; the sources are
// children of the window too, but deleteSources() takes them down first, because their
// graphs feed the canvases.
//
// Threads: GUI thread only.
class ModePages
{
public:
    // The live camera is searched among `cameraDevices` (none: the system's devices, or the
    // simulated camera when DOCUMENT_CAMERA_SIMULATED=1).
    ModePages(MainWindow *window, std::unique_ptr<DeviceBackend> cameraDevices);
    ~ModePages();
    ModePages(const ModePages &) = delete;
    ModePages &operator=(const ModePages &) = delete;

    void leave(WindowMode mode);
    void enter(WindowMode mode);
    // Places the page stack and the bars for a window of w x h whose panel takes panelOffset.
    void layout(int w, int h, int panelOffset);
    // Deletes the sources; called by the window before its children go.
    void deleteSources();

    ImageCanvas *canvas(WindowMode mode) const { return m_canvases[mode]; }
    OSDProcessor *osd(ImageCanvas *canvas) const { return m_osdMap.value(canvas); }
    QStackedWidget *pageStack() const { return m_pageStack; }
    QWidget *liveBar() const { return m_liveBar; }
    ImageButton *liveRecordingButton() const { return m_liveRecordingButton; }
    FilmBar *filmBar() const { return m_filmBar.get(); }
    PhotographBar *photographBar() const { return m_photographBar.get(); }
    LiveSource *liveSource() const { return m_liveSource; }
    FilmSource *filmSource() const { return m_filmSource; }
    PhotographSource *photographSource() const { return m_photographSource; }

private:
    ImageCanvas *createCanvas();
    void attachOsd(ImageCanvas *canvas);
    void createLivePage(std::unique_ptr<DeviceBackend> cameraDevices);
    void createFilmPage();
    void createPhotographPage();
    void createDrawingBoardPage();

    MainWindow *m_window;
    QStackedWidget *m_pageStack;
    ImageCanvas *m_canvases[WINDOW_MODE_COUNT] = {};
    QHash<ImageCanvas *, OSDProcessor *> m_osdMap;
    QWidget *m_liveBar = nullptr;
    ImageButton *m_liveRecordingButton = nullptr;
    std::unique_ptr<FilmBar> m_filmBar;
    std::unique_ptr<PhotographBar> m_photographBar;
    LiveSource *m_liveSource = nullptr;
    FilmSource *m_filmSource = nullptr;
    PhotographSource *m_photographSource = nullptr;
};

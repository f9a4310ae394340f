#pragma once

#include "common/Clock.h"
#include "mainwindow/FullScreenView.h"
#include "mainwindow/ModePages.h"
#include "mainwindow/OpenFileDialog.h"
#include "mainwindow/PopupSlot.h"
#include "mainwindow/ToolButtons.h"
#include "mainwindow/WindowMode.h"
#include "sources/devices/DeviceBackend.h"
#include "toolwindows/ToolWindowHost.h"
#include "widgets/StyleWindow.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QVector>

#include <functional>
#include <memory>

class CameraStatusDisplay;
class DeviceSupervisor;
class FileNotice;
class FilmBar;
class FilmSource;

class ImageButton;
class ImageCanvas;
class KeyHelpWindow;
class Panel;
class PhotographBar;
class PhotographSource;
class PrintControl;
class ProjectorControl;
class RecordingControl;
class SnapshotControl;
class ToolActions;
class WindowCommands;
class QButtonGroup;
class QCloseEvent;
class QStackedWidget;

// The program's one window: four mode buttons across the top, the collapsible tool panel on
// the left, a page stack with one canvas per mode, and a control bar along the bottom for the
// Live, Film and Photograph modes. Every tool action works on the canvas of the current mode.
// At most one popup tool window is open (PopupSlot). Every command has keys (WindowCommands,
// from the action table); the key list, full screen and the projector screen have buttons in
// the top band beside the window's own.
//
// Threads: GUI thread only. Canvases report frames with streamFrameUpdate() from the media
// streaming threads; the automatic connection queues them onto the GUI thread.
class MainWindow : public StyleWindow, public ToolWindowHost
{
    Q_OBJECT
public:
    static constexpr int PANEL_WIDTH_OFFSET = 138;
    static constexpr int MINIMUM_WIDTH = 800;
    static constexpr int MINIMUM_HEIGHT = 640;

    // `clock` measures the gaps between frames, times the indications and snapshots and names
    // the files. `cameraDevices` is where the live camera is searched; none means the system's
    // devices (or the simulated camera when DOCUMENT_CAMERA_SIMULATED=1).
    explicit MainWindow(const Clock &clock = Clock::system(),
                        std::unique_ptr<DeviceBackend> cameraDevices = {});
    ~MainWindow() override;

    // The capture size for a "resolution2" setting: the largest supported size when the
    // setting exceeds it in either dimension, otherwise the setting.
    static QSize captureResolution(const QSize &setting, const QVector<QSize> &supported);

    WindowMode currentMode() const { return m_currentMode; }
    ImageCanvas *currentCanvas() const override { return m_currentCanvas; }
    ImageCanvas *canvas(WindowMode mode) const { return m_pages->canvas(mode); }
    // The on-screen display of a canvas.
    OSDProcessor *osd(ImageCanvas *canvas) const { return m_pages->osd(canvas); }
    LiveSource *liveSource() const { return m_pages->liveSource(); }

    // Hands a power-line frequency code (1 = 50 Hz, 2 = 60 Hz) to an open camera.
    void applyFlicker(int code) override;

    // ToolWindowHost: what the popups read and apply.
    QWidget *hostWidget() override { return this; }
    OSDProcessor *osdProcessor(ImageCanvas *canvas) const override { return osd(canvas); }
    void setLiveResolution(int width, int height) override;
    QSize liveResolution() const override;
    QMetaObject::Connection connectModeChanged(QObject *receiver, std::function<void()> slot) override;
    ImageButton *modeButton(WindowMode mode) const { return m_modeButtons[mode]; }
    ImageButton *aboutButton() const { return m_aboutButton; }
    ImageButton *sideButton() const { return m_sideButton; }
    ImageButton *liveRecordingButton() const { return m_pages->liveRecordingButton(); }
    const ToolButtons &toolButtons() const { return m_tools; }
    Panel *toolPanel() const { return m_toolPanel; }
    QStackedWidget *pageStack() const { return m_pages->pageStack(); }
    QWidget *liveBar() const { return m_pages->liveBar(); }
    FilmBar *filmBar() const { return m_pages->filmBar(); }
    PhotographBar *photographBar() const { return m_pages->photographBar(); }
    DeviceSupervisor *deviceSupervisor() const { return m_supervisor; }
    QTimer &deviceCheckTimer() { return m_deviceCheckTimer; }
    PopupSlot &popupSlot() { return m_popup; }
    const QVector<QSize> &supportedResolutions() const override { return m_supportedResolutions; }
    bool isPanelExpanded() const { return m_panelExpanded; }
    QImage aboutPicture() const override { return m_aboutPicture; }
    FilmSource *filmSource() const { return m_pages->filmSource(); }
    PhotographSource *photographSource() const { return m_pages->photographSource(); }
    PrintControl *printControl() const { return m_printControl; }
    RecordingControl *recordingControl() const { return m_recordingControl; }
    FileNotice *fileNotice() const { return m_fileNotice; }
    ToolActions *toolActions() const { return m_actions; }
    WindowCommands *commands() const { return m_commands; }
    ProjectorControl *projector() const { return m_projector; }
    // The key list, once it was opened.
    KeyHelpWindow *keyHelp() const;
    ImageButton *keyHelpButton() const { return m_keyHelpButton; }
    ImageButton *projectorButton() const { return m_projectorButton; }
    ImageButton *fullScreenButton() const { return m_fullScreenButton; }
    bool isFullScreenView() const { return m_fullScreen->isOn(); }
    bool isRecording() const;
    // Replaces the file dialog of the film and photograph Open buttons (tests answer it).
    void setOpenFileDialog(const OpenFileDialog &dialog);

    // Section labels of the colour popups, translated once at construction.
    const QString &widthLabel() const override { return m_widthLabel; }
    const QString &lineWidthLabel() const override { return m_lineWidthLabel; }
    const QString &lineColorLabel() const override { return m_lineColorLabel; }
    const QString &fillColorLabel() const override { return m_fillColorLabel; }

signals:
    void modeChanged();

public slots:
    void streamFrameUpdate();
    void deviceActiveCheck();
    void handleDevicePlugIn();
    void expand();
    void switchMode();
    void About();
    // Back to the idle recording state after the settings changed the capture size (the live
    // graph has been rebuilt without a recording branch).
    void resetRecordingState() override;
    // The current canvas's drawing, one step back or forward.
    void undo();
    void redo();
    // Full screen for the current canvas (F11; Esc leaves).
    void setFullScreenView(bool on);
    void toggleFullScreenView() { setFullScreenView(!isFullScreenView()); }
    // Opens the key list, or closes it.
    void toggleKeyHelp();

protected:
    void layoutContents() override;
    void closeEvent(QCloseEvent *event) override;
    // Esc that nothing else took closes the open popup, else the key list.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Wires the pages' signals to the window's slots.
    void connectPages();
    // The key list, projector and full-screen buttons of the top band.
    void createTopBandButtons();
    // Keys, tooltips and accessible names for every command, button and slider.
    void bindCommands();
    void describeSliders();
    ImageButton *createModeButton(const QString &iconName, const QString &caption);
    // A camera that stalled or vanished: end its recording and close it until it is back.
    void closeStalledCamera();
    OSDProcessor *currentOsd() const { return osd(m_currentCanvas); }
    void closePopup() { m_popup.close(); }
    int panelOffset() const { return m_panelExpanded ? PANEL_WIDTH_OFFSET : 0; }

    QVector<QSize> m_supportedResolutions;
    ImageButton *m_modeButtons[WINDOW_MODE_COUNT] = {};
    QButtonGroup *m_modeGroup = nullptr;
    ImageButton *m_aboutButton = nullptr;
    ImageButton *m_sideButton = nullptr;
    ImageCanvas *m_currentCanvas = nullptr;
    PopupSlot m_popup;
    Panel *m_toolPanel = nullptr;
    ToolButtons m_tools;
    std::unique_ptr<ModePages> m_pages;
    bool m_panelExpanded = false;
    SnapshotControl *m_snapshotControl = nullptr;
    CameraStatusDisplay *m_cameraStatus = nullptr;
    RecordingControl *m_recordingControl = nullptr;
    FileNotice *m_fileNotice = nullptr;
    ToolActions *m_actions = nullptr;
    PrintControl *m_printControl = nullptr;
    WindowMode m_currentMode = MODE_LIVE;
    QString m_aboutIconName;
    int m_aboutButtonX = 0;
    QImage m_aboutPicture;
    DeviceSupervisor *m_supervisor = nullptr;
    QTimer m_deviceCheckTimer;
    ImageButton *m_keyHelpButton = nullptr;
    ImageButton *m_projectorButton = nullptr;
    ImageButton *m_fullScreenButton = nullptr;
    WindowCommands *m_commands = nullptr;
    ProjectorControl *m_projector = nullptr;
    QPointer<KeyHelpWindow> m_keyHelp;
    std::unique_ptr<FullScreenView> m_fullScreen;

    QString m_widthLabel;
    QString m_lineWidthLabel;
    QString m_lineColorLabel;
    QString m_fillColorLabel;
};

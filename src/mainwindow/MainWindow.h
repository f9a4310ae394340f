#pragma once

#include "DeviceBackend.h"
#include "FrameClock.h"
#include "ModePages.h"
#include "PopupSlot.h"
#include "StyleWindow.h"
#include "ToolButtons.h"
#include "ToolWindowHost.h"
#include "WindowMode.h"

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QVector>

#include <functional>
#include <memory>


class DeviceSupervisor;
class FilmBar;
class FilmSource;

class ImageButton;
class ImageCanvas;
class Panel;
class PhotographBar;
class PhotographSource;
class PrintControl;
class RecordingControl;
class SnapshotControl;
class QButtonGroup;
class QCloseEvent;
class QStackedWidget;

// The program's one window: four mode buttons across the top, the collapsible tool panel on
// the left, a page stack with one canvas per mode, and a control bar along the bottom for the
// Live, Film and Photograph modes. Every tool action works on the canvas of the current mode.
// At most one popup tool window is open (PopupSlot).
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

    // The toolkit's open-file dialog: (parent, caption, start folder, filter) -> chosen file,
    // empty when cancelled.
    using OpenFileDialog =
        std::function<QString(QWidget *, const QString &, const QString &, const QString &)>;

    // `frameClock` measures the gaps between frames; none means the monotonic system clock.
    // `cameraDevices` is where the live camera is searched; none means the system's devices
    // (or the simulated camera when DOCUMENT_CAMERA_SIMULATED=1).
    explicit MainWindow(std::unique_ptr<FrameClock> frameClock = {},
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
    QMetaObject::Connection connectModeChanged(QObject *receiver,
                                               std::function<void()> slot) override;
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
    int rememberedMask() const { return m_rememberedMask; }
    void setRememberedMask(int mask) { m_rememberedMask = mask; }
    QImage aboutPicture() const override { return m_aboutPicture; }
    FilmSource *filmSource() const { return m_pages->filmSource(); }
    PhotographSource *photographSource() const { return m_pages->photographSource(); }
    SnapshotControl *snapshotControl() const { return m_snapshotControl; }
    RecordingControl *recordingControl() const { return m_recordingControl; }
    PrintControl *printControl() const { return m_printControl; }
    bool isRecording() const;
    // Replaces the file dialog of the film and photograph Open buttons (tests answer it).
    void setOpenFileDialog(OpenFileDialog dialog) { m_openFileDialog = std::move(dialog); }

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
    void line();
    void lineHold();
    void rectangle();
    void rectangleHold();
    void freehand();
    void freehandHold();
    void circle();
    void circleHold();
    void arrow();
    void arrowHold();
    void triangle();
    void triangleHold();
    void erase();
    void eraseHold();
    void eraseAll();
    void text();
    void textHold();
    void clip();
    void fillBackground();
    void fillBackgroundHold();
    void hand();
    void mask();
    void maskHold();
    void effectHold();
    void zoomInStart();
    void zoomInStop();
    void zoomOutStart();
    void zoomOutStop();
    void zoomReset();
    void autoFocus();
    void brightnessDown();
    void brightnessUp();
    void rotate();
    void rotateRev();
    void macro();
    void freeze();
    void record();
    void snapshot();
    void settings();
    void print();
    // Back to the idle recording state after the settings changed the capture size (the live
    // graph has been rebuilt without a recording branch).
    void resetRecordingState() override;
    void filmOpenFile();
    void filmPlay();
    void filmPause();
    void filmStop();
    void filmBackward();
    void filmForward();
    void filmVolume();
    void filmTick();
    void photographOpenDirectory();
    void photographPrevious();
    void photographPlay();
    void photographPlayDone();
    void photographNext();
    void photographPreview();
    void photographPlayInterval();
    void photographPlayIntervalChanged(int value);
    void photographIdChange(int id);

protected:
    void layoutContents() override;
    void closeEvent(QCloseEvent *event) override;

private:
    ImageButton *createModeButton(const QString &iconName, const QString &caption);
    void enableToolsFor(WindowMode mode);
    void showCanvasState();
    // A camera that stalled or vanished: end its recording and close it until it is back.
    void closeStalledCamera();
    OSDProcessor *currentOsd() const { return osd(m_currentCanvas); }
    void closePopup() { m_popup.close(); }
    // Selects the tool of a line style and opens its popup beside `anchor`.
    void openLineStylePopup(int style, ImageButton *anchor);
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
    OpenFileDialog m_openFileDialog;
    bool m_panelExpanded = false;
    SnapshotControl *m_snapshotControl = nullptr;
    RecordingControl *m_recordingControl = nullptr;
    PrintControl *m_printControl = nullptr;
    WindowMode m_currentMode = MODE_LIVE;
    int m_rememberedMask = 1;
    QString m_aboutIconName;
    int m_aboutButtonX = 0;
    QImage m_aboutPicture;
    DeviceSupervisor *m_supervisor = nullptr;
    QTimer m_deviceCheckTimer;

    QString m_widthLabel;
    QString m_lineWidthLabel;
    QString m_lineColorLabel;
    QString m_fillColorLabel;
};

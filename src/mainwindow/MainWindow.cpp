#include "mainwindow/MainWindow.h"

#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/Config.h"
#include "common/Logging.h"
#include "common/SkinPicture.h"
#include "common/UserPrompts.h"
#include "mainwindow/ActionTable.h"
#include "mainwindow/CameraStatusDisplay.h"
#include "mainwindow/DeviceSupervisor.h"
#include "mainwindow/FileNotice.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/FilmBarControl.h"
#include "mainwindow/KeptWork.h"
#include "mainwindow/KeyHelpWindow.h"
#include "mainwindow/PhotographBar.h"
#include "mainwindow/PhotographBarControl.h"
#include "mainwindow/PrintControl.h"
#include "mainwindow/ProjectorControl.h"
#include "mainwindow/RecordingControl.h"
#include "mainwindow/SnapshotControl.h"
#include "mainwindow/ToolActions.h"
#include "mainwindow/ToolPanelBuilder.h"
#include "mainwindow/WindowCommands.h"
#include "sources/live/LiveSource.h"
#include "sources/photograph/PhotographSource.h"
#include "sources/photograph/ThumbnailWidget.h"
#include "toolwindows/AboutToolWindow.h"
#include "toolwindows/PopupFactory.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/Panel.h"
#include "widgets/Slider.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QFont>
#include <QKeyEvent>
#include <QStackedWidget>

#include <algorithm>

namespace {
constexpr int DeviceCheckIntervalMs = 1000;
constexpr int ModeButtonY = 5;
constexpr int ModeButtonStep = 107;
constexpr int BottomReserve = 100;
// The top band's own buttons, left of the window's minimise button (at W - 79).
constexpr int FullScreenButtonRight = 103;
constexpr int ProjectorButtonRight = 123;
constexpr int KeyHelpButtonRight = 143;
constexpr int TopBandButtonY = 4;
} // namespace

MainWindow::MainWindow(const Clock &clock, std::unique_ptr<DeviceBackend> cameraDevices)
    : m_widthLabel(tr("Width"))
    , m_lineWidthLabel(tr("Line Width"))
    , m_lineColorLabel(tr("Line Color"))
    , m_fillColorLabel(tr("Fill Color"))
{
    m_supportedResolutions = {QSize(1024, 768),  QSize(1280, 720),  QSize(1600, 1200), QSize(1920, 1080),
                              QSize(2048, 1536), QSize(2592, 1944), QSize(3264, 2448)};

    m_supervisor = new DeviceSupervisor(clock, this);
    m_supervisor->setCameraOpenQuery([this] { return m_pages && liveSource()->isOpen(); });
    connect(m_supervisor, &DeviceSupervisor::cameraStalled, this, &MainWindow::closeStalledCamera);
    m_deviceCheckTimer.setInterval(DeviceCheckIntervalMs);
    connect(&m_deviceCheckTimer, &QTimer::timeout, this, &MainWindow::deviceActiveCheck);
    m_deviceCheckTimer.start();

    setDesignedMinimumSize(QSize(MINIMUM_WIDTH, MINIMUM_HEIGHT));
    resize(MINIMUM_WIDTH, 680);

    m_modeButtons[MODE_LIVE] = createModeButton("MAIN_BUTTON", tr("Live"));
    m_modeButtons[MODE_FILM] = createModeButton("MAIN_BUTTON", tr("Film"));
    m_modeButtons[MODE_PHOTOGRAPH] = createModeButton("MAIN_BUTTON", tr("Photograph"));
    m_modeButtons[MODE_DRAWING_BOARD] = createModeButton("MAIN_BUTTON_LONG", tr("Drawing Board"));
    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->setExclusive(true);
    for (ImageButton *button : m_modeButtons)
        m_modeGroup->addButton(button);

    m_aboutIconName = "AboutButton";
    m_aboutButtonX = 34;
    m_aboutPicture = SkinPicture::load(":/icons/Background/POP_BK_ABOUT_small.png");
    m_aboutButton = new ImageButton(m_aboutIconName, this, QPoint(m_aboutButtonX, height() - 55));
    connect(m_aboutButton, &ImageButton::clicked, this, &MainWindow::About);

    m_sideButton = new ImageButton(QString(), this, QPoint(0, 0));
    connect(m_sideButton, &ImageButton::clicked, this, &MainWindow::expand);

    m_toolPanel = new Panel(this);
    m_tools = ToolPanelBuilder(m_toolPanel, this).build();

    m_pages = std::make_unique<ModePages>(this, &m_popup,
                                          captureResolution(Config::resolution(), m_supportedResolutions),
                                          std::move(cameraDevices), clock);
    connectPages();
    // Frames are timed where they arrive, on the streaming threads, so that a busy window is
    // never taken for a silent camera.
    m_supervisor->setArrivalQuery([this] { return m_pages->newestArrivalMs(); });
    m_currentCanvas = m_pages->canvas(MODE_LIVE);
    m_currentCanvas->setTool(TOOL_FREEHAND);
    pageStack()->setCurrentWidget(m_currentCanvas);

    // The live canvas says in words what keeps the camera's picture away.
    m_cameraStatus = new CameraStatusDisplay(liveSource(), osd(canvas(MODE_LIVE))->messages(), this);
    m_snapshotControl = new SnapshotControl(m_tools.snapshot, this, this);
    m_snapshotControl->setLiveCamera(
        canvas(MODE_LIVE), [this] { return liveSource()->isOpen(); },
        [this] { m_cameraStatus->explainNoSnapshot(currentOsd() ? currentOsd()->messages() : nullptr); });
    m_printControl = new PrintControl(this, this);
    RecordingControl::Parts recordingParts;
    recordingParts.recordButton = m_tools.record;
    recordingParts.liveRecordingButton = liveRecordingButton();
    recordingParts.freezeButton = m_tools.freeze;
    recordingParts.deviceCheckTimer = &m_deviceCheckTimer;
    recordingParts.supervisor = m_supervisor;
    recordingParts.dialogParent = this;
    recordingParts.currentCanvas = [this] { return m_currentCanvas; };
    recordingParts.currentOSD = [this] { return currentOsd(); };
    recordingParts.liveOSD = [this] { return osd(canvas(MODE_LIVE)); };
    recordingParts.clock = &clock;
    m_recordingControl = new RecordingControl(recordingParts, this);
    // Where each snapshot and recording went, said over the window.
    m_fileNotice = new FileNotice(this);
    m_fileNotice->follow(*m_pages, *m_recordingControl);
    m_recordingControl->setCamera(RecordingControl::Camera::live(liveSource(), canvas(MODE_LIVE), [this] {
        m_cameraStatus->explainNoRecording(currentOsd() ? currentOsd()->messages() : nullptr);
    }));
    connect(liveSource(), &LiveSource::recordingFailed, m_recordingControl, &RecordingControl::writerFailed);
    m_recordingControl->repairUnfinished(Config::recordPath());

    ToolActions::Parts actions;
    actions.tools = &m_tools;
    actions.popup = &m_popup;
    actions.host = this;
    actions.liveSource = liveSource();
    actions.snapshots = m_snapshotControl;
    actions.recording = m_recordingControl;
    actions.printing = m_printControl;
    actions.currentCanvas = [this] { return m_currentCanvas; };
    actions.currentOsd = [this] { return currentOsd(); };
    m_actions = new ToolActions(actions, this);
    ToolPanelBuilder::connect(m_tools, m_actions);
    connect(liveRecordingButton(), &ImageButton::clicked, m_actions, &ToolActions::record);

    createTopBandButtons();
    m_fullScreen = std::make_unique<FullScreenView>(this, pageStack());
    m_projector = new ProjectorControl(this);
    m_projector->setPipeline(m_currentCanvas->pipeline());
    bindCommands();

    m_currentMode = MODE_LIVE;
    m_popup.close();
    m_panelExpanded = false;

    expand();

    // Film's enter and leave run once, so every bar starts in the state a mode change gives.
    m_modeButtons[MODE_FILM]->setChecked(true);
    switchMode();
    m_modeButtons[MODE_LIVE]->setChecked(true);
    switchMode();

    KeptWork::restoreWork(*m_pages);
}

MainWindow::~MainWindow()
{
    m_deviceCheckTimer.stop();
    m_popup.close();
    // The projector window paints a canvas's picture: it goes first.
    delete m_projector;
    if (isRecording())
        liveSource()->stopRecording();
    // The sources feed the canvases from their graphs: they go before the canvases do.
    m_pages->deleteSources();
}

void MainWindow::connectPages()
{
    for (int m = MODE_LIVE; m <= MODE_DRAWING_BOARD; ++m)
        connect(canvas(WindowMode(m))->pipeline(), &FramePipeline::streamFrameUpdate, this,
                &MainWindow::streamFrameUpdate);
    connect(liveSource(), &LiveSource::devicePlugIn, this, &MainWindow::handleDevicePlugIn);
}

void MainWindow::setOpenFileDialog(const OpenFileDialog &dialog)
{
    m_pages->filmControl()->setOpenFileDialog(dialog);
    m_pages->photographControl()->setOpenFileDialog(dialog);
}

QSize MainWindow::captureResolution(const QSize &setting, const QVector<QSize> &supported)
{
    const QSize largest = supported.last();
    if (largest.width() < setting.width() || largest.height() < setting.height())
        return largest;
    return setting;
}

ImageButton *MainWindow::createModeButton(const QString &iconName, const QString &caption)
{
    auto *button = new ImageButton(iconName, this, QPoint(0, 0));
    button->setText(caption);
    button->setFont(QFont("Arial", 11));
    button->setTextColor(Qt::white);
    button->setCheckable(true);
    connect(button, &ImageButton::clicked, this, &MainWindow::switchMode);
    return button;
}

void MainWindow::switchMode()
{
    WindowMode mode = m_currentMode;
    for (int m = MODE_LIVE; m <= MODE_DRAWING_BOARD; ++m) {
        if (m_modeButtons[m]->isChecked()) {
            mode = WindowMode(m);
            break;
        }
    }
    m_currentCanvas = m_pages->canvas(mode);
    pageStack()->setCurrentWidget(m_currentCanvas);
    if (mode == m_currentMode)
        return;

    m_fullScreen->showHidden();
    m_pages->leave(m_currentMode);
    m_pages->enter(mode);
    m_currentMode = mode;
    m_fullScreen->hideShown();
    m_commands->setMode(mode);
    m_projector->setPipeline(m_currentCanvas->pipeline());
    m_tools.enableFor(mode);
    m_tools.showCanvasState(*m_currentCanvas);
    closePopup();
    m_toolPanel->refresh();
    emit modeChanged();
}

void MainWindow::expand()
{
    // The full screen shows the canvas alone; the panel keeps its state for afterwards.
    if (m_fullScreen && m_fullScreen->isOn())
        return;
    m_panelExpanded = !m_panelExpanded;
    const bool keepGeometry = isMaximized() || isFullScreen();
    if (m_panelExpanded) {
        if (!keepGeometry) {
            resize(width() + PANEL_WIDTH_OFFSET, height());
            if (isVisible())
                move(x() - PANEL_WIDTH_OFFSET, y());
        }
        // The panel grows out to the left; on a small screen the canvas gives way instead.
        if (!keepGeometry)
            fitToScreen();
        m_sideButton->setImage("BUTTON_SIDE_CLOSE");
        m_toolPanel->move(40, 30);
        m_toolPanel->show();
    } else {
        if (!keepGeometry) {
            resize(width() - PANEL_WIDTH_OFFSET, height());
            if (isVisible())
                move(x() + PANEL_WIDTH_OFFSET, y());
        }
        m_sideButton->setImage("BUTTON_SIDE_OPEN");
        m_toolPanel->hide();
        closePopup();
    }
    layoutContents();
}

void MainWindow::layoutContents()
{
    // The frame lays out on every resize, including those before the contents exist.
    if (!m_pages)
        return;
    const int w = width();
    const int h = height();
    const int e = panelOffset();

    m_toolPanel->resize(m_toolPanel->width(), h - BottomReserve);
    m_aboutButton->move(m_aboutButtonX, h - 55);
    m_sideButton->move(4, 50);
    for (int m = MODE_LIVE; m <= MODE_DRAWING_BOARD; ++m)
        m_modeButtons[m]->move(e + 40 + m * ModeButtonStep, ModeButtonY);
    m_fullScreenButton->move(w - FullScreenButtonRight, TopBandButtonY);
    m_projectorButton->move(w - ProjectorButtonRight, TopBandButtonY);
    m_keyHelpButton->move(w - KeyHelpButtonRight, TopBandButtonY);
    m_pages->layout(w, h, e);
    if (m_fullScreen->isOn())
        pageStack()->setGeometry(rect());
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_popup.popup() && m_popup.popup()->isVisible()) {
            m_popup.close();
            return;
        }
        if (m_keyHelp && m_keyHelp->isVisible()) {
            m_keyHelp->close();
            return;
        }
    }
    StyleWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The loader thread must not outlive the window's last event loop turn.
    photographBar()->thumbnailStrip()->stopLoader();
    // The projector's picture and the key list go with the window.
    m_projector->close();
    if (m_keyHelp)
        m_keyHelp->close();
    // What the user drew and set up is there at the next start.
    KeptWork::storeWork(*m_pages);
    KeptWork::storePlacement(*this);
    // The settings are written as they change and once more here, where the user can still
    // be told that they would be lost.
    QString error;
    if (!Config::save(&error)) {
        qCWarning(lcMainWindow) << "the settings cannot be saved in" << Config::storeFile() << error;
        UserPrompts::instance()->critical(this, tr("Error"),
                                          tr("The settings could not be saved in %1: %2")
                                              .arg(QDir::toNativeSeparators(Config::storeFile()), error));
    }
    StyleWindow::closeEvent(event);
}

// --- frame timing supervision ----------------------------------------------------------

void MainWindow::streamFrameUpdate()
{
    m_supervisor->frameArrived();
}

void MainWindow::deviceActiveCheck()
{
    m_supervisor->check();
}

void MainWindow::closeStalledCamera()
{
    if (isRecording())
        m_actions->record();
    liveSource()->close();
}

void MainWindow::handleDevicePlugIn()
{
    // The frame timing counts from the opening: a camera that opens after a long absence
    // (another program held it) must not have that absence taken for a stall of its first frame.
    m_supervisor->restartClock();
    const qint32 code = liveSource()->flicker();
    Config::setFlicker(quint64(qint64(code)));
    qCDebug(lcTrace) << "device plug in, flicker type =" << code;
}

void MainWindow::applyFlicker(int code)
{
    if (liveSource()->isOpen())
        liveSource()->setFlicker(code);
}

void MainWindow::About()
{
    m_popup.open(PopupFactory::about(m_aboutButton, this), m_aboutButton);
}

void MainWindow::setLiveResolution(int width, int height)
{
    liveSource()->setResolution(width, height);
}

QSize MainWindow::liveResolution() const
{
    return liveSource()->captureSize();
}

QMetaObject::Connection MainWindow::connectModeChanged(QObject *receiver, std::function<void()> slot)
{
    return connect(this, &MainWindow::modeChanged, receiver, std::move(slot));
}

void MainWindow::resetRecordingState()
{
    m_recordingControl->resetRecordingState();
}

bool MainWindow::isRecording() const
{
    return m_recordingControl->isRecording();
}

// --- keys, full screen, projector --------------------------------------------------------------

void MainWindow::createTopBandButtons()
{
    m_keyHelpButton = new ImageButton(QStringLiteral("WINDOWS_KEYS"), this, QPoint(0, 0));
    connect(m_keyHelpButton, &ImageButton::clicked, this, &MainWindow::toggleKeyHelp);
    m_projectorButton = new ImageButton(QStringLiteral("WINDOWS_PROJECTOR"), this, QPoint(0, 0));
    m_projectorButton->setCheckable(true);
    m_fullScreenButton = new ImageButton(QStringLiteral("WINDOWS_FULLSCREEN"), this, QPoint(0, 0));
    connect(m_fullScreenButton, &ImageButton::clicked, this, &MainWindow::toggleFullScreenView);
}

void MainWindow::bindCommands()
{
    m_commands = new WindowCommands(this);
    for (const CommandSpec &command : ActionTable::commands()) {
        if (command.button)
            m_commands->bindButton(command.command, m_tools.*command.button);
    }
    m_commands->describe(Command::Record, liveRecordingButton());
    const Command modes[WINDOW_MODE_COUNT] = {Command::ModeLive, Command::ModeFilm, Command::ModePhotograph,
                                              Command::ModeDrawingBoard};
    for (int m = MODE_LIVE; m <= MODE_DRAWING_BOARD; ++m)
        m_commands->bindButton(modes[m], m_modeButtons[m]);
    const std::pair<Command, QAbstractButton *> buttons[] = {
        {Command::About, m_aboutButton},         {Command::ToolPanel, m_sideButton},
        {Command::Minimize, minimizeButton()},   {Command::Maximize, maximizeButton()},
        {Command::Close, closeButton()},         {Command::Help, m_keyHelpButton},
        {Command::Projector, m_projectorButton}, {Command::FullScreen, m_fullScreenButton},
    };
    for (const auto &[command, button] : buttons)
        m_commands->bindButton(command, button);
    m_commands->bindBars(filmBar(), photographBar());
    m_commands->bindFunction(Command::Undo, [this] { undo(); });
    m_commands->bindFunction(Command::Redo, [this] { redo(); });
    m_commands->bindFunction(Command::LeaveFullScreen, [this] { setFullScreenView(false); });
    m_commands->bindFunction(Command::ProjectorNextScreen, [this] { m_projector->moveToNextScreen(); });
    describeSliders();

    m_commands->setMode(m_currentMode);
    m_commands->setAvailable(Command::LeaveFullScreen, false);
    m_projector->attachButton(m_projectorButton, m_commands);
}

void MainWindow::describeSliders()
{
    const auto describe = [](QWidget *slider, const QString &name) {
        slider->setToolTip(name);
        slider->setAccessibleName(name);
    };
    describe(filmBar()->positionSlider(), tr("Film position"));
    describe(filmBar()->volumeSlider(), tr("Volume"));
    describe(photographBar()->intervalSelector(), tr("Slide interval"));
    describe(photographBar()->stripScrollBar(), tr("Thumbnails"));
}

void MainWindow::undo()
{
    closePopup();
    m_currentCanvas->undo();
}

void MainWindow::redo()
{
    closePopup();
    m_currentCanvas->redo();
}

void MainWindow::setFullScreenView(bool on)
{
    if (on == m_fullScreen->isOn())
        return;
    closePopup();
    if (on)
        m_fullScreen->enter();
    else
        m_fullScreen->leave();
    m_commands->setAvailable(Command::LeaveFullScreen, on);
    layoutContents();
}

KeyHelpWindow *MainWindow::keyHelp() const
{
    return m_keyHelp;
}

void MainWindow::toggleKeyHelp()
{
    if (m_keyHelp && m_keyHelp->isVisible()) {
        m_keyHelp->close();
        return;
    }
    if (!m_keyHelp)
        m_keyHelp = new KeyHelpWindow(this);
    m_keyHelp->showOverParent();
}

#include "MainWindow.h"

#include "AboutToolWindow.h"
#include "CanvasTypes.h"
#include "ColorToolWindow.h"
#include "Config.h"
#include "DeviceBackend.h"
#include "DeviceSupervisor.h"
#include "EffectToolWindow.h"
#include "FilmBar.h"
#include "FilmSource.h"
#include "FillBackgroundToolWindow.h"
#include "ImageButton.h"
#include "HorizontalSlider.h"
#include "ImageCanvas.h"
#include "LiveSource_linux.h"
#include "MaskToolWindow.h"
#include "MonotonicFrameClock.h"
#include "OSDProcessor.h"
#include "Panel.h"
#include "PhotographBar.h"
#include "PhotographSource.h"
#include "PopupFactory.h"
#include "PrintControl.h"
#include "RecordingControl.h"
#include "RecordingRecovery.h"
#include "SettingsToolWindow.h"
#include "SnapshotControl.h"
#include "TextToolWindow.h"
#include "ThumbnailWidget.h"
#include "ToolPanelBuilder.h"
#include "UserPrompts.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QColor>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QStackedWidget>

namespace {
constexpr int DeviceCheckIntervalMs = 1000;
constexpr int ModeButtonY = 5;
constexpr int ModeButtonStep = 107;
constexpr int BottomReserve = 100;

const char *const MaskButtonIcons[] = {"ICON_MASK_CIRCLE", "ICON_MASK_CIRCLE",
                                       "ICON_MASK_RECTANGLE", "ICON_MASK_LEFT",
                                       "ICON_MASK_TOP"};
const char *const EffectButtonIcons[] = {"ICON_EFFECT_COLOR", "ICON_EFFECT_BW",
                                         "ICON_EFFECT_NEGATIVE", "ICON_EFFECT_MOSAIC"};
} // namespace

MainWindow::MainWindow(std::unique_ptr<FrameClock> frameClock,
                       std::unique_ptr<DeviceBackend> cameraDevices)
    : m_openFileDialog([](QWidget *parent, const QString &caption, const QString &folder,
                          const QString &filter) {
          return QFileDialog::getOpenFileName(parent, caption, folder, filter);
      }),
      m_widthLabel(tr("Width")),
      m_lineWidthLabel(tr("Line Width")),
      m_lineColorLabel(tr("Line Color")),
      m_fillColorLabel(tr("Fill Color"))
{
    m_supportedResolutions = {QSize(1024, 768),  QSize(1280, 720),  QSize(1600, 1200),
                              QSize(1920, 1080), QSize(2048, 1536), QSize(2592, 1944),
                              QSize(3264, 2448)};

    if (!frameClock)
        frameClock = std::make_unique<MonotonicFrameClock>();
    m_supervisor = new DeviceSupervisor(std::move(frameClock), this);
    m_supervisor->setCameraOpenQuery([this] { return m_pages && liveSource()->isOpen(); });
    connect(m_supervisor, &DeviceSupervisor::cameraStalled, this,
            &MainWindow::closeStalledCamera);
    m_deviceCheckTimer.setInterval(DeviceCheckIntervalMs);
    connect(&m_deviceCheckTimer, &QTimer::timeout, this, &MainWindow::deviceActiveCheck);
    m_deviceCheckTimer.start();

    setMinimumSize(MINIMUM_WIDTH, MINIMUM_HEIGHT);
    resize(MINIMUM_WIDTH, 680);

    m_modeButtons[MODE_LIVE] = createModeButton("MAIN_BUTTON", tr("Live"));
    m_modeButtons[MODE_FILM] = createModeButton("MAIN_BUTTON", tr("Film"));
    m_modeButtons[MODE_PHOTOGRAPH] = createModeButton("MAIN_BUTTON", tr("Photograph"));
    m_modeButtons[MODE_DRAWING_BOARD] = createModeButton("MAIN_BUTTON_LONG",
                                                         tr("Drawing Board"));
    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->setExclusive(true);
    for (ImageButton *button : m_modeButtons)
        m_modeGroup->addButton(button);

    m_aboutIconName = "AboutButton";
    m_aboutButtonX = 34;
    m_aboutPicture = QImage(":/icons/Background/POP_BK_ABOUT_small.png");
    m_aboutButton = new ImageButton(m_aboutIconName, this,
                                    QPoint(m_aboutButtonX, height() - 55));
    connect(m_aboutButton, &ImageButton::clicked, this, &MainWindow::About);

    m_sideButton = new ImageButton(QString(), this, QPoint(0, 0));
    connect(m_sideButton, &ImageButton::clicked, this, &MainWindow::expand);

    m_toolPanel = new Panel(this);
    m_tools = ToolPanelBuilder(this, m_toolPanel).build();

    m_pages = std::make_unique<ModePages>(this, std::move(cameraDevices));
    m_currentCanvas = m_pages->canvas(MODE_LIVE);
    m_currentCanvas->setTool(TOOL_FREEHAND);
    pageStack()->setCurrentWidget(m_currentCanvas);

    m_snapshotControl = new SnapshotControl(m_tools.snapshot, this, this);
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
    m_recordingControl = new RecordingControl(recordingParts, this);
    RecordingControl::Camera camera;
    camera.isOpen = [this] { return liveSource()->isOpen(); };
    camera.startRecording = [this](const QString &path) { liveSource()->startRecording(path); };
    camera.stopRecording = [this] { liveSource()->stopRecording(); };
    m_recordingControl->setCamera(camera);
    // Recordings a crash left unfinished in the record folder are repaired off the GUI thread;
    // the user hears once what became of them.
    auto *recovery = new RecordingRecovery(this);
    connect(recovery, &RecordingRecovery::finished, this, [this](const QVector<RecordingRepairer::Outcome> &outcomes) {
        if (!outcomes.isEmpty())
            UserPrompts::instance()->critical(this, RecordingRecovery::title(), RecordingRecovery::message(outcomes));
    });
    recovery->start({Config::recordPath()});

    m_currentMode = MODE_LIVE;
    m_popup.close();
    m_panelExpanded = false;

    expand();

    // Film's enter and leave run once, so every bar starts in the state a mode change gives.
    m_modeButtons[MODE_FILM]->setChecked(true);
    switchMode();
    m_modeButtons[MODE_LIVE]->setChecked(true);
    switchMode();
}

MainWindow::~MainWindow()
{
    m_deviceCheckTimer.stop();
    m_popup.close();
    if (isRecording())
        liveSource()->stopRecording();
    // The sources feed the canvases from their graphs: they go before the canvases do.
    m_pages->deleteSources();
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

    m_pages->leave(m_currentMode);
    m_pages->enter(mode);
    m_currentMode = mode;
    enableToolsFor(mode);
    showCanvasState();
    closePopup();
    m_toolPanel->refresh();
    emit modeChanged();
}

void MainWindow::enableToolsFor(WindowMode mode)
{
    const bool live = mode == MODE_LIVE;
    m_tools.fillBackground->setEnabled(mode == MODE_DRAWING_BOARD);
    for (ImageButton *cameraButton : {m_tools.autoFocus, m_tools.brightnessUp,
                                      m_tools.brightnessDown, m_tools.freeze, m_tools.record,
                                      m_tools.settings})
        cameraButton->setEnabled(live);
    m_tools.snapshot->setEnabled(true);
    m_tools.hand->setEnabled(!live);
}

void MainWindow::showCanvasState()
{
    ImageButton *const toolButtons[] = {m_tools.hand,      m_tools.freehand, m_tools.line,
                                        m_tools.arrow,     m_tools.rectangle, m_tools.circle,
                                        m_tools.triangle,  m_tools.eraser,   m_tools.clip,
                                        m_tools.text};
    const int tool = m_currentCanvas->tool();
    if (tool >= TOOL_HAND && tool <= TOOL_TEXT)
        toolButtons[tool]->setChecked(true);

    const int mask = m_currentCanvas->mask();
    m_tools.mask->setChecked(mask != MASK_NONE);
    if (mask >= MASK_NONE && mask <= MASK_TOP)
        m_tools.mask->setImage(MaskButtonIcons[mask]);

    const int effect = m_currentCanvas->effect();
    if (effect >= EFFECT_COLOR && effect <= EFFECT_MOSAIC)
        m_tools.effect->setImage(EffectButtonIcons[effect]);

    m_tools.freeze->setChecked(m_currentCanvas->freeze());
}

void MainWindow::expand()
{
    m_panelExpanded = !m_panelExpanded;
    const bool keepGeometry = isMaximized() || isFullScreen();
    if (m_panelExpanded) {
        if (!keepGeometry) {
            resize(width() + PANEL_WIDTH_OFFSET, height());
            if (isVisible())
                move(x() - PANEL_WIDTH_OFFSET, y());
        }
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
    m_pages->layout(w, h, e);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The loader thread must not outlive the window's last event loop turn.
    photographBar()->thumbnailStrip()->stopLoader();
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
        record();
    liveSource()->close();
}

void MainWindow::handleDevicePlugIn()
{
    const qint32 code = liveSource()->flicker();
    Config::setFlicker(quint64(qint64(code)));
    qDebug() << "device plug in, flicker type =" << code;
}

void MainWindow::applyFlicker(int code)
{
    if (liveSource()->isOpen())
        liveSource()->setFlicker(code);
}

// --- drawing tools ----------------------------------------------------------------------

void MainWindow::line()
{
    m_currentCanvas->setTool(TOOL_LINE);
    m_popup.keepOwn(m_tools.line);
}

void MainWindow::rectangle()
{
    m_currentCanvas->setTool(TOOL_RECTANGLE);
    m_popup.keepOwn(m_tools.rectangle);
}

void MainWindow::freehand()
{
    m_currentCanvas->setTool(TOOL_FREEHAND);
    m_popup.keepOwn(m_tools.freehand);
}

void MainWindow::circle()
{
    m_currentCanvas->setTool(TOOL_CIRCLE);
    m_popup.keepOwn(m_tools.circle);
}

void MainWindow::arrow()
{
    m_currentCanvas->setTool(TOOL_ARROW);
    m_popup.keepOwn(m_tools.arrow);
}

void MainWindow::triangle()
{
    m_currentCanvas->setTool(TOOL_TRIANGLE);
    m_popup.keepOwn(m_tools.triangle);
}

void MainWindow::erase()
{
    m_currentCanvas->setTool(TOOL_ERASER);
    m_popup.keepOwn(m_tools.eraser);
}

void MainWindow::text()
{
    m_currentCanvas->setTool(TOOL_TEXT);
    m_popup.keepOwn(m_tools.text);
}

void MainWindow::clip()
{
    closePopup();
    m_currentCanvas->setTool(TOOL_CLIP);
}

void MainWindow::hand()
{
    closePopup();
    m_currentCanvas->setTool(TOOL_HAND);
}

void MainWindow::eraseAll()
{
    closePopup();
    m_currentCanvas->clearAnnotations();
}

void MainWindow::fillBackground()
{
    // The background colour is chosen in the button's popup; the click itself selects nothing.
    m_popup.keepOwn(m_tools.fillBackground);
}

// --- masks and effects ------------------------------------------------------------------

void MainWindow::mask()
{
    m_popup.keepOwn(m_tools.mask);
    if (m_tools.mask->isChecked()) {
        m_currentCanvas->setMask(m_rememberedMask);
    } else {
        m_rememberedMask = m_currentCanvas->mask();
        m_currentCanvas->setMask(MASK_NONE);
    }
}

// --- picture adjustments ----------------------------------------------------------------

void MainWindow::zoomInStart()
{
    closePopup();
    m_currentCanvas->zoomIn();
    currentOsd()->showZoomIn();
}

void MainWindow::zoomInStop()
{
    closePopup();
}

void MainWindow::zoomOutStart()
{
    closePopup();
    m_currentCanvas->zoomOut();
    currentOsd()->showZoomOut();
}

void MainWindow::zoomOutStop()
{
    closePopup();
}

void MainWindow::zoomReset()
{
    closePopup();
    m_currentCanvas->zoomBestFit();
    currentOsd()->showZoomIn();
}

void MainWindow::autoFocus()
{
    closePopup();
    if (!liveSource()->isOpen())
        return;
    liveSource()->triggerAutoFocus();
    currentOsd()->showAutoFocus();
}

void MainWindow::brightnessDown()
{
    closePopup();
    liveSource()->brightnessDown();
    currentOsd()->showBrightness();
}

void MainWindow::brightnessUp()
{
    closePopup();
    liveSource()->brightnessUp();
    currentOsd()->showBrightness();
}

void MainWindow::rotate()
{
    closePopup();
    m_currentCanvas->rotateClockwise();
    currentOsd()->showRotate();
}

void MainWindow::rotateRev()
{
    closePopup();
    m_currentCanvas->rotateCounterClockwise();
    currentOsd()->showRotate();
}

void MainWindow::macro()
{
    // No button triggers it: the panel offers no Macro button.
    closePopup();
}

void MainWindow::freeze()
{
    closePopup();
    m_currentCanvas->setFreeze(m_tools.freeze->isChecked());
    currentOsd()->showFreeze();
}

// --- popups, snapshots, recording, printing -------------------------------------------
// The buttons are wired to these slots from the start; the popup windows, the snapshot and
// recording control and the printing fill them in.

void MainWindow::openLineStylePopup(int style, ImageButton *anchor)
{
    const auto lineStyle = static_cast<PopupFactory::LineStyle>(style);
    m_currentCanvas->setTool(PopupFactory::toolOf(lineStyle));
    m_popup.open(PopupFactory::lineStyle(lineStyle, anchor, this), anchor);
}

void MainWindow::lineHold() { openLineStylePopup(PopupFactory::Line, m_tools.line); }

void MainWindow::rectangleHold() { openLineStylePopup(PopupFactory::Rectangle, m_tools.rectangle); }

void MainWindow::freehandHold() { openLineStylePopup(PopupFactory::Freehand, m_tools.freehand); }

void MainWindow::circleHold() { openLineStylePopup(PopupFactory::Circle, m_tools.circle); }

void MainWindow::arrowHold() { openLineStylePopup(PopupFactory::Arrow, m_tools.arrow); }

void MainWindow::triangleHold() { openLineStylePopup(PopupFactory::Triangle, m_tools.triangle); }

void MainWindow::eraseHold() { openLineStylePopup(PopupFactory::Eraser, m_tools.eraser); }

void MainWindow::textHold()
{
    m_currentCanvas->setTool(TOOL_TEXT);
    m_popup.open(PopupFactory::text(m_tools.text, this), m_tools.text);
}

void MainWindow::fillBackgroundHold()
{
    m_popup.open(PopupFactory::fillBackground(m_tools.fillBackground, this), m_tools.fillBackground);
}

void MainWindow::maskHold()
{
    m_popup.open(PopupFactory::mask(m_tools.mask, this), m_tools.mask);
}

void MainWindow::effectHold()
{
    m_popup.open(PopupFactory::effect(m_tools.effect, this), m_tools.effect);
}

void MainWindow::About()
{
    m_popup.open(PopupFactory::about(m_aboutButton, this), m_aboutButton);
}

void MainWindow::settings()
{
    m_popup.open(PopupFactory::settings(m_tools.settings, this), m_tools.settings);
}

void MainWindow::setLiveResolution(int width, int height)
{
    liveSource()->setResolution(width, height);
}

QMetaObject::Connection MainWindow::connectModeChanged(QObject *receiver,
                                                       std::function<void()> slot)
{
    return connect(this, &MainWindow::modeChanged, receiver, std::move(slot));
}

void MainWindow::record()
{
    closePopup();
    m_recordingControl->record();
}

void MainWindow::resetRecordingState()
{
    m_recordingControl->resetRecordingState();
}

void MainWindow::snapshot()
{
    closePopup();
    m_snapshotControl->snapshot(m_currentCanvas);
}

void MainWindow::print()
{
    closePopup();
    m_printControl->print(m_currentCanvas->outputImage());
}

// --- film bar --------------------------------------------------------------------------

void MainWindow::filmOpenFile()
{
    closePopup();
    const QString path = m_openFileDialog(this, QString(), Config::recordPath(),
                                          "AVI Files (*.avi);;WMV Files (*.wmv)");
    if (!path.isEmpty() && QFileInfo::exists(path))
        filmSource()->open(path);
}

void MainWindow::filmPlay()
{
    closePopup();
    filmSource()->play();
}

void MainWindow::filmPause()
{
    closePopup();
    filmSource()->pause();
}

void MainWindow::filmStop()
{
    closePopup();
    filmSource()->stop();
}

void MainWindow::filmBackward()
{
    closePopup();
    filmSource()->backward();
}

void MainWindow::filmForward()
{
    closePopup();
    filmSource()->forward();
}

void MainWindow::filmVolume()
{
    closePopup();
    filmBar()->showVolumeFromButton();
}

void MainWindow::filmTick()
{
    // The setter repaints without valueChanged(), so the tick never seeks.
    filmBar()->positionSlider()->setValue(filmSource()->position());
}

// --- photograph bar ---------------------------------------------------------------------

void MainWindow::photographOpenDirectory()
{
    closePopup();
    const QString file = m_openFileDialog(this, QString(), Config::snapshotPath(), QString());
    if (file.isEmpty())
        return;
    const QFileInfo chosen(file);
    if (!QDir(chosen.absolutePath()).exists())
        return;
    if (photographSource()->openPhotograph(chosen.absolutePath(), chosen.fileName()))
        photographBar()->slideButton()->setChecked(false);
}

void MainWindow::photographPrevious()
{
    closePopup();
    photographSource()->previous();
}

void MainWindow::photographPlay()
{
    closePopup();
    if (photographBar()->slideButton()->isChecked())
        photographSource()->play();
    else
        photographSource()->stop();
}

void MainWindow::photographPlayDone()
{
    photographBar()->slideButton()->setChecked(false);
}

void MainWindow::photographNext()
{
    closePopup();
    photographSource()->next();
}

void MainWindow::photographPreview()
{
    closePopup();
    photographBar()->showStripFromButton();
}

void MainWindow::photographPlayInterval()
{
    closePopup();
    photographBar()->showIntervalFromButton();
}

void MainWindow::photographPlayIntervalChanged(int value)
{
    photographSource()->setPlayInterval(PhotographBar::intervalMs(value));
}

void MainWindow::photographIdChange(int id)
{
    photographBar()->counterLabel()->setText(
        PhotographBar::counterText(id, photographSource()->count()));
}

bool MainWindow::isRecording() const
{
    return m_recordingControl->isRecording();
}

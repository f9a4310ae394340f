#include "ModePages.h"

#include "Config.h"
#include "DeviceBackend.h"
#include "FilmBar.h"
#include "FilmSource.h"
#include "HorizontalSlider.h"
#include "ImageButton.h"
#include "ImageCanvas.h"
#include "LiveSource_linux.h"
#include "MainWindow.h"
#include "OSDProcessor.h"
#include "PhotographBar.h"
#include "PhotographSource.h"
#include "Slider.h"

#include <QColor>
#include <QStackedWidget>

namespace {
constexpr int ContentLeft = 36;
constexpr int ContentTop = 25;
constexpr int BottomReserve = 100;
constexpr int RightReserve = 55;
constexpr int BarOffsetFromBottom = 60;
constexpr int LiveBarWidth = 60;
constexpr int LiveBarHeight = 37;
} // namespace

ModePages::ModePages(MainWindow *window, std::unique_ptr<DeviceBackend> cameraDevices)
    : m_window(window), m_pageStack(new QStackedWidget(window))
{
    createLivePage(std::move(cameraDevices));
    createFilmPage();
    createPhotographPage();
    createDrawingBoardPage();
}

ModePages::~ModePages()
{
    deleteSources();
}

void ModePages::deleteSources()
{
    delete m_liveSource;
    m_liveSource = nullptr;
    delete m_filmSource;
    m_filmSource = nullptr;
    delete m_photographSource;
    m_photographSource = nullptr;
}

ImageCanvas *ModePages::createCanvas()
{
    auto *canvas = new ImageCanvas(m_window);
    QObject::connect(canvas, &ImageCanvas::streamFrameUpdate, m_window,
                     &MainWindow::streamFrameUpdate);
    m_pageStack->addWidget(canvas);
    return canvas;
}

void ModePages::attachOsd(ImageCanvas *canvas)
{
    // The display attaches itself to the canvas, which paints it over every picture.
    auto *osd = new OSDProcessor(canvas, m_liveSource, m_window);
    m_osdMap.insert(canvas, osd);
}

void ModePages::createLivePage(std::unique_ptr<DeviceBackend> cameraDevices)
{
    ImageCanvas *canvas = createCanvas();
    m_canvases[MODE_LIVE] = canvas;
    const QSize capture =
        MainWindow::captureResolution(Config::resolution(), m_window->supportedResolutions());
    const QSize recording = Config::recordingResolution();
    if (cameraDevices)
        m_liveSource = new LiveSource(std::move(cameraDevices), canvas, capture.width(),
                                      capture.height(), recording.width(), recording.height(),
                                      m_window);
    else
        m_liveSource = new LiveSource(canvas, capture.width(), capture.height(),
                                      recording.width(), recording.height(), m_window);
    // The live source connects its devicePlugIn() to the window's handleDevicePlugIn() itself.
    attachOsd(canvas);

    m_liveBar = new QWidget(m_window);
    m_liveBar->setFixedSize(LiveBarWidth, LiveBarHeight);
    m_liveRecordingButton = new ImageButton("ICON_LIVE_RECORDING", m_liveBar, QPoint(20, 5));
    m_liveRecordingButton->setCheckable(true);
    QObject::connect(m_liveRecordingButton, &ImageButton::clicked, m_window,
                     &MainWindow::record);
}

void ModePages::createFilmPage()
{
    m_canvases[MODE_FILM] = createCanvas();
    attachOsd(m_canvases[MODE_FILM]);
    m_filmSource = new FilmSource(m_canvases[MODE_FILM], m_window);
    QObject::connect(m_filmSource, &FilmSource::tick, m_window, &MainWindow::filmTick);

    m_filmBar = std::make_unique<FilmBar>(m_window);
    const FilmBar &bar = *m_filmBar;
    MainWindow *w = m_window;
    QObject::connect(bar.openButton(), &ImageButton::clicked, w, &MainWindow::filmOpenFile);
    QObject::connect(bar.playButton(), &ImageButton::clicked, w, &MainWindow::filmPlay);
    QObject::connect(bar.pauseButton(), &ImageButton::clicked, w, &MainWindow::filmPause);
    QObject::connect(bar.stopButton(), &ImageButton::clicked, w, &MainWindow::filmStop);
    QObject::connect(bar.backwardButton(), &ImageButton::clicked, w, &MainWindow::filmBackward);
    QObject::connect(bar.forwardButton(), &ImageButton::clicked, w, &MainWindow::filmForward);
    QObject::connect(bar.volumeButton(), &ImageButton::clicked, w, &MainWindow::filmVolume);
    QObject::connect(bar.volumeSlider(), &Slider::valueChanged, m_filmSource,
                     &FilmSource::setVolume);
    QObject::connect(bar.positionSlider(), &HorizontalSlider::valueChanged, m_filmSource,
                     &FilmSource::setPosition);
}

void ModePages::createPhotographPage()
{
    ImageCanvas *canvas = createCanvas();
    m_canvases[MODE_PHOTOGRAPH] = canvas;
    attachOsd(canvas);
    m_photographSource = new PhotographSource(canvas, m_window);
    m_photographSource->setPlayInterval(PhotographBar::intervalMs(0));
    MainWindow *w = m_window;
    QObject::connect(m_photographSource, &PhotographSource::playDone, w,
                     &MainWindow::photographPlayDone);
    QObject::connect(m_photographSource, &PhotographSource::photographChanged, w,
                     &MainWindow::photographIdChange);

    m_photographBar = std::make_unique<PhotographBar>(w, m_photographSource, canvas);
    const PhotographBar &bar = *m_photographBar;
    QObject::connect(bar.openButton(), &ImageButton::clicked, w,
                     &MainWindow::photographOpenDirectory);
    QObject::connect(bar.previousButton(), &ImageButton::clicked, w,
                     &MainWindow::photographPrevious);
    QObject::connect(bar.slideButton(), &ImageButton::clicked, w, &MainWindow::photographPlay);
    QObject::connect(bar.nextButton(), &ImageButton::clicked, w, &MainWindow::photographNext);
    QObject::connect(bar.thumbnailButton(), &ImageButton::clicked, w,
                     &MainWindow::photographPreview);
    QObject::connect(bar.timeButton(), &ImageButton::clicked, w,
                     &MainWindow::photographPlayInterval);
    QObject::connect(bar.intervalSelector(), &Slider::valueChanged, w,
                     &MainWindow::photographPlayIntervalChanged);
}

void ModePages::createDrawingBoardPage()
{
    ImageCanvas *board = createCanvas();
    m_canvases[MODE_DRAWING_BOARD] = board;
    attachOsd(board);
    board->setBoard(true);
    board->fillStill(Qt::white);
}

void ModePages::leave(WindowMode mode)
{
    switch (mode) {
    case MODE_LIVE:
        // The camera keeps running; only its bar goes.
        m_liveSource->pauseCapture();
        m_liveBar->hide();
        break;
    case MODE_FILM:
        m_filmBar->leave();
        m_filmSource->pauseCapture();
        break;
    case MODE_PHOTOGRAPH:
        m_photographBar->leave();
        m_photographSource->pauseCapture();
        break;
    case MODE_DRAWING_BOARD:
        m_canvases[MODE_DRAWING_BOARD]->stopAutoRefresh();
        break;
    }
}

void ModePages::enter(WindowMode mode)
{
    switch (mode) {
    case MODE_LIVE:
        m_liveBar->show();
        m_liveBar->raise();
        m_liveSource->resumeCapture();
        break;
    case MODE_FILM:
        m_filmBar->enter();
        m_filmSource->resumeCapture();
        break;
    case MODE_PHOTOGRAPH:
        m_photographBar->enter();
        m_photographSource->resumeCapture();
        break;
    case MODE_DRAWING_BOARD:
        m_canvases[MODE_DRAWING_BOARD]->startAutoRefresh();
        break;
    }
}

void ModePages::layout(int w, int h, int panelOffset)
{
    const int e = panelOffset;
    m_pageStack->setGeometry(e + ContentLeft, ContentTop, w - e - RightReserve,
                             h - BottomReserve);
    m_liveBar->move((w - e - m_liveBar->width()) / 2 + e, h - BarOffsetFromBottom);
    m_filmBar->layout(w, h, e, m_pageStack->geometry());
    m_photographBar->layout(w, h, e, m_pageStack->geometry());
}

#include "mainwindow/ModePages.h"

#include "canvas/CanvasMessages.h"
#include "canvas/FramePipeline.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/Config.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/FilmBarControl.h"
#include "mainwindow/PhotographBar.h"
#include "mainwindow/PhotographBarControl.h"
#include "sources/devices/DeviceBackend.h"
#include "sources/film/FilmSource.h"
#include "sources/live/LiveSource.h"
#include "sources/photograph/PhotographSource.h"
#include "widgets/ImageButton.h"

#include <QColor>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QStackedWidget>

#include <algorithm>

namespace {
constexpr int ContentLeft = 36;
constexpr int ContentTop = 25;
constexpr int BottomReserve = 100;
constexpr int RightReserve = 55;
constexpr int BarOffsetFromBottom = 60;
constexpr int LiveBarWidth = 60;
constexpr int LiveBarHeight = 37;
// The empty Film and Photograph pages: black, as the page around a picture is.
const QColor EmptyPageColour(Qt::black);

// The key that opens a film or photographs, as the key list names it.
QString openKey()
{
    return QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText);
}
} // namespace

ModePages::ModePages(QWidget *window, PopupSlot *popup, const QSize &capture,
                     std::unique_ptr<DeviceBackend> cameraDevices, const Clock &clock)
    : m_window(window)
    , m_clock(clock)
    , m_pageStack(new QStackedWidget(window))
{
    createLivePage(capture, std::move(cameraDevices));
    createFilmPage(popup);
    createPhotographPage(popup);
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
    auto *canvas = new ImageCanvas(m_window, m_clock);
    m_pageStack->addWidget(canvas);
    return canvas;
}

void ModePages::attachOsd(ImageCanvas *canvas)
{
    // The display attaches itself to the canvas, which paints it over every picture.
    auto *osd = new OSDProcessor(canvas, m_liveSource, m_window, m_clock);
    m_osdMap.insert(canvas, osd);
}

void ModePages::createLivePage(const QSize &capture, std::unique_ptr<DeviceBackend> cameraDevices)
{
    ImageCanvas *canvas = createCanvas();
    m_canvases[MODE_LIVE] = canvas;
    const QSize recording = Config::recordingResolution();
    if (cameraDevices)
        m_liveSource = new LiveSource(std::move(cameraDevices), canvas->pipeline(), capture.width(),
                                      capture.height(), recording.width(), recording.height(), m_window);
    else
        m_liveSource = new LiveSource(canvas->pipeline(), capture.width(), capture.height(),
                                      recording.width(), recording.height(), m_window);
    attachOsd(canvas);

    m_liveBar = new QWidget(m_window);
    m_liveBar->setFixedSize(LiveBarWidth, LiveBarHeight);
    m_liveRecordingButton = new ImageButton("ICON_LIVE_RECORDING", m_liveBar, QPoint(20, 5));
    m_liveRecordingButton->setCheckable(true);
}

QSize ModePages::largestShownSize()
{
    // The canvas is never shown larger than the screen, in the screen's own pixels; a screen
    // smaller than full HD still gets full HD pictures, which keep their detail in a zoom.
    QSize size(1920, 1080);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.expandedTo(screen->size() * screen->devicePixelRatio());
    return size;
}

void ModePages::createFilmPage(PopupSlot *popup)
{
    ImageCanvas *canvas = createCanvas();
    m_canvases[MODE_FILM] = canvas;
    attachOsd(canvas);
    m_filmSource = new FilmSource(canvas->pipeline(), m_window);
    m_filmSource->setFrameLimit(largestShownSize());
    m_filmBar = std::make_unique<FilmBar>(m_window);
    m_filmControl = new FilmBarControl(m_filmSource, m_filmBar.get(), popup, m_window, m_window);
    // Until a film plays the page says how to open one, not the camera's start picture.
    CanvasMessages *messages = m_osdMap.value(canvas)->messages();
    FilmSource *film = m_filmSource;
    const auto sayWhatToOpen = [messages, film] {
        if (film->isLoaded()) {
            messages->setStanding(QString());
            return;
        }
        messages->setStanding(
            QCoreApplication::translate("MainWindow", "No film is open"),
            QCoreApplication::translate("MainWindow", "Open a film with %1 or the folder button below.")
                .arg(openKey()));
    };
    canvas->pipeline()->fillStill(EmptyPageColour);
    sayWhatToOpen();
    QObject::connect(film, &FilmSource::opened, messages, sayWhatToOpen);
    QObject::connect(film, &FilmSource::openFailed, messages, sayWhatToOpen);
}

void ModePages::createPhotographPage(PopupSlot *popup)
{
    ImageCanvas *canvas = createCanvas();
    m_canvases[MODE_PHOTOGRAPH] = canvas;
    attachOsd(canvas);
    m_photographSource = new PhotographSource(canvas->pipeline(), m_window);
    m_photographSource->setPlayInterval(PhotographBar::intervalMs(0));
    m_photographSource->setShownSize(largestShownSize());
    // Zoomed in, the photograph is decoded again with the detail the zoom can show.
    PhotographSource *source = m_photographSource;
    QObject::connect(canvas, &ImageCanvas::viewChanged, source,
                     [source, canvas] { source->setViewZoom(canvas->pipeline()->zoom()); });
    m_photographBar = std::make_unique<PhotographBar>(m_window, m_photographSource, canvas);
    m_photographControl = new PhotographBarControl(m_photographSource, m_photographBar.get(), popup, m_window,
                                                   m_window);
    CanvasMessages *messages = m_osdMap.value(canvas)->messages();
    const auto sayWhatToOpen = [messages, source] {
        if (source->count() > 0) {
            messages->setStanding(QString());
            return;
        }
        messages->setStanding(
            QCoreApplication::translate("MainWindow", "No photographs are open"),
            QCoreApplication::translate("MainWindow",
                                        "Open a folder of pictures with %1 or the folder button below.")
                .arg(openKey()));
    };
    canvas->pipeline()->fillStill(EmptyPageColour);
    sayWhatToOpen();
    QObject::connect(source, &PhotographSource::photographListChanged, messages, sayWhatToOpen);
}

void ModePages::createDrawingBoardPage()
{
    ImageCanvas *board = createCanvas();
    m_canvases[MODE_DRAWING_BOARD] = board;
    attachOsd(board);
    board->setBoard(true);
    board->pipeline()->fillStill(Qt::white);
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
        m_canvases[MODE_DRAWING_BOARD]->pipeline()->stopAutoRefresh();
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
        m_canvases[MODE_DRAWING_BOARD]->pipeline()->startAutoRefresh();
        break;
    }
}

void ModePages::layout(int w, int h, int panelOffset)
{
    const int e = panelOffset;
    m_pageStack->setGeometry(e + ContentLeft, ContentTop, w - e - RightReserve, h - BottomReserve);
    m_liveBar->move((w - e - m_liveBar->width()) / 2 + e, h - BarOffsetFromBottom);
    m_filmBar->layout(w, h, e, m_pageStack->geometry());
    m_photographBar->layout(w, h, e, m_pageStack->geometry());
}

qint64 ModePages::newestArrivalMs() const
{
    qint64 newest = FramePipeline::NO_ARRIVAL;
    for (int m = MODE_LIVE; m <= MODE_DRAWING_BOARD; ++m)
        newest = std::max(newest, m_canvases[m]->pipeline()->lastArrivalMs());
    return newest;
}

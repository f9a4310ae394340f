#include "sources/film/FilmSource.h"

#include "common/ICaptureCB.h"
#include "common/Logging.h"
#include "sources/film/FilmGraph.h"
#include "sources/media/BusBridge.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaGraph.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <malloc.h>

namespace {
constexpr int SPEED_RATES[FilmSource::SPEED_COUNT] = {-2, 1, 2, 4, 8, 16, 32, 100};
constexpr qint64 UNITS_PER_MS = 10000; // 100-ns units
constexpr qint64 NS_PER_UNIT = 100;

// The graph counts in nanoseconds; -1 (not known) stays -1.
qint64 unitsOf(qint64 nanoseconds)
{
    return nanoseconds < 0 ? -1 : nanoseconds / NS_PER_UNIT;
}
} // namespace

int FilmSource::speedRate(int index)
{
    return SPEED_RATES[std::clamp(index, 0, SPEED_COUNT - 1)];
}

FilmSource::FilmSource(ICaptureCB *sink, QObject *parent)
    : QObject(parent)
    , m_sink(sink)
    , m_tickTimer(new QTimer(this))
    , m_audioOutput(FilmGraph::DEFAULT_AUDIO_OUTPUT)
    , m_openPoll(new QTimer(this))
{
    // Listeners may take the failure through a queued connection or a signal spy.
    qRegisterMetaType<FilmSource::OpenFailure>();
    m_openPoll->setInterval(OPEN_POLL_MS);
    connect(m_openPoll, &QTimer::timeout, this, &FilmSource::pollOpening);
    MediaFramework::initialize();
    m_grabber = std::make_shared<DirectShowTransformFilter>(sink, DirectShowTransformFilter::MODE_FILM);
    m_tickTimer->setInterval(TICK_MS);
    connect(m_tickTimer, &QTimer::timeout, this, &FilmSource::tickEvent);
    m_speedClock.start();
}

FilmSource::~FilmSource()
{
    dropOpening();
    unload();
}

QString FilmSource::failureText(OpenFailure failure)
{
    switch (failure) {
    case OpenFailure::NoFile:
        return tr("The file does not exist.");
    case OpenFailure::Unreadable:
        return tr("The file cannot be read.");
    case OpenFailure::NotAFilm:
        return tr("The file is not a film that can be played here.");
    case OpenFailure::NoVideo:
        return tr("The file holds no pictures, only sound.");
    case OpenFailure::Damaged:
        return tr("The file is damaged.");
    case OpenFailure::TimedOut:
        return tr("The film did not start within %1 seconds.").arg(OPEN_TIMEOUT_MS / 1000);
    case OpenFailure::Other:
        break;
    }
    return tr("The film cannot be played.");
}

const QStringList &FilmSource::mimeTypes()
{
    static const QStringList types = {"video/x-msvideo",  "video/x-ms-wmv", "video/mp4", "video/quicktime",
                                      "video/x-matroska", "video/webm",     "video/ogg", "video/mpeg",
                                      "video/x-flv",      "video/3gpp"};
    return types;
}

bool FilmSource::open(const QString &path)
{
    dropOpening();
    m_openingPath = path;
    // A file: URL names a file by its bytes, which may be no text.
    const QByteArray local = path.startsWith(QLatin1String("file://"))
        ? QByteArray::fromPercentEncoding(path.mid(7).toUtf8())
        : QFile::encodeName(path);
    struct stat info = {};
    if (::stat(local.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        failOpening(OpenFailure::NoFile);
        return false;
    }
    m_opening = std::make_unique<FilmGraph>();
    if (m_opening->start(path, m_grabber, m_audioOutput, m_frameLimit) != FilmGraph::Result::Opening) {
        failOpening(OpenFailure::Other);
        return false;
    }
    // The film shown until now stands still while the new one opens; it stays if that fails.
    pause();
    m_openingBus = new BusBridge(m_opening->graph().bus(), this);
    connect(m_openingBus, &BusBridge::messageReceived, this, &FilmSource::openingMessage);
    m_openClock.start();
    m_openPoll->start();
    return true;
}

void FilmSource::openingMessage(GstMessage *message)
{
    if (!m_opening)
        return;
    m_opening->handle(message);
    // The outcome is taken after the bus has finished this message: a failure deletes the bus.
    QMetaObject::invokeMethod(this, &FilmSource::pollOpening, Qt::QueuedConnection);
}

void FilmSource::pollOpening()
{
    if (!m_opening)
        return;
    switch (m_opening->poll()) {
    case FilmGraph::Result::Opened:
        adoptOpening();
        return;
    case FilmGraph::Result::Opening:
        if (m_openClock.elapsed() >= OPEN_TIMEOUT_MS)
            failOpening(OpenFailure::TimedOut);
        return;
    case FilmGraph::Result::NoVideo:
        failOpening(OpenFailure::NoVideo);
        return;
    case FilmGraph::Result::NoGraph:
    case FilmGraph::Result::Failed:
        break;
    }
    switch (m_opening->failure()) {
    case FilmGraph::Failure::Unreadable:
        failOpening(OpenFailure::Unreadable);
        break;
    case FilmGraph::Failure::NotAFilm:
        failOpening(OpenFailure::NotAFilm);
        break;
    case FilmGraph::Failure::Damaged:
        failOpening(OpenFailure::Damaged);
        break;
    default:
        failOpening(OpenFailure::Other);
        break;
    }
}

void FilmSource::failOpening(OpenFailure failure)
{
    dropOpening();
    qCInfo(lcSources) << "film not opened:" << m_openingPath << failure;
    emit openFailed(m_openingPath, failure, failureText(failure));
}

void FilmSource::dropOpening()
{
    m_openPoll->stop();
    delete m_openingBus;
    m_openingBus = nullptr;
    m_opening.reset();
}

void FilmSource::adoptOpening()
{
    m_openPoll->stop();
    std::unique_ptr<FilmGraph> graph = std::move(m_opening);
    BusBridge *bus = m_openingBus;
    m_openingBus = nullptr;
    disconnect(bus, nullptr, this, nullptr);
    unload();

    m_speedIndex = NORMAL_SPEED;
    m_speedClock.restart();
    m_graph = std::move(graph);
    m_hasAudio = m_graph->hasAudio();
    m_bus = bus;
    connect(m_bus, &BusBridge::endOfStream, this, [this] { m_endReached = true; });
    connect(m_bus, &BusBridge::errorOccurred, this,
            [](const QString &element, const QString &text, const QString &details) {
                qCWarning(lcSources) << "film:" << element << text << details;
            });
    // The graph has prerolled: its duration is known.
    m_duration = std::max<qint64>(0, unitsOf(m_graph->graph().duration()));
    m_lastPosition = 0;
    m_endReached = false;
    m_pendingSeek = -1;
    runGraph();
    m_loaded = true;
    m_playing = true;
    m_tickTimer->start();
    m_sink->stopAutoRefresh();
    emit opened(m_openingPath);
}

QSize FilmSource::scaledFrameSize() const
{
    return m_graph ? m_graph->scaledFrameSize() : QSize();
}

void FilmSource::unload()
{
    if (!m_loaded && !m_graph)
        return;
    delete m_bus;
    m_bus = nullptr;
    if (m_graph)
        m_graph->graph().stop();
    m_graph.reset();
    m_loaded = false;
    m_playing = false;
    m_hasAudio = false;
    m_duration = 0;
    m_tickTimer->stop();
    // The film's frame buffers were large and many; the heap gives their pages back now.
    malloc_trim(0);
}

void FilmSource::runGraph()
{
    if (m_graph)
        m_graph->graph().run();
}

void FilmSource::pauseGraph()
{
    if (m_graph)
        m_graph->graph().pause();
}

void FilmSource::play()
{
    if (!m_loaded)
        return;
    m_speedIndex = NORMAL_SPEED;
    m_playing = true;
    runGraph();
    m_tickTimer->start();
    m_speedClock.restart();
    m_sink->stopAutoRefresh();
}

void FilmSource::pause()
{
    if (!m_loaded)
        return;
    pauseGraph();
    m_tickTimer->stop();
    m_sink->startAutoRefresh();
}

void FilmSource::stop()
{
    if (!m_loaded)
        return;
    pauseGraph();
    seekTo(0);
    emit tick();
    m_tickTimer->stop();
    m_sink->startAutoRefresh();
}

void FilmSource::backward()
{
    if (!m_playing)
        return;
    m_speedIndex = std::max(m_speedIndex - 1, 0);
    if (rate() == 1) {
        runGraph();
    } else {
        pauseGraph();
        m_speedClock.restart();
    }
}

void FilmSource::forward()
{
    if (!m_playing)
        return;
    m_speedIndex = std::min(m_speedIndex + 1, SPEED_COUNT - 1);
    if (rate() == 1) {
        runGraph();
    } else {
        pauseGraph();
        m_speedClock.restart();
    }
}

void FilmSource::seekTo(qint64 position)
{
    if (!m_graph || position < 0)
        return;
    m_lastPosition = position;
    m_endReached = false;
    m_pendingSeek = m_graph->graph().seek(position * NS_PER_UNIT) ? -1 : position;
}

qint64 FilmSource::currentPosition() const
{
    if (!m_graph)
        return 0;
    if (m_pendingSeek >= 0)
        return m_pendingSeek;
    const qint64 position = unitsOf(m_graph->graph().position());
    if (position >= 0)
        m_lastPosition = position;
    return m_lastPosition;
}

GstElement *FilmSource::graphElement(const char *name) const
{
    return m_graph ? m_graph->graph().element(name) : nullptr;
}

void FilmSource::refreshDuration()
{
    if (m_duration <= 0 && m_graph)
        m_duration = std::max<qint64>(0, unitsOf(m_graph->graph().duration()));
}

void FilmSource::setPosition(int position)
{
    if (!m_loaded)
        return;
    refreshDuration();
    seekTo(static_cast<qint64>(m_duration * (position / 100.0)));
}

int FilmSource::position() const
{
    if (!m_loaded || m_duration <= 0)
        return 0;
    return static_cast<int>(double(currentPosition()) / double(m_duration) * 100.0);
}

void FilmSource::setVolume(int volume)
{
    if (!m_loaded || !m_hasAudio)
        return;
    MediaGraph::setVolume(m_graph->volumeElement(), volumeFactor((volume - 100) * 100));
}

double FilmSource::volumeFactor(int hundredthsOfDecibel)
{
    if (hundredthsOfDecibel <= -10000)
        return 0.0;
    if (hundredthsOfDecibel >= 0)
        return 1.0;
    return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

void FilmSource::tickEvent()
{
    if (!m_graph)
        return;
    if (m_pendingSeek >= 0)
        seekTo(m_pendingSeek);
    qint64 position = currentPosition();
    if (m_playing && rate() != 1 && m_speedClock.elapsed() >= TICK_MS) {
        position += m_speedClock.restart() * rate() * UNITS_PER_MS;
        if (position >= 0 && position < m_duration)
            seekTo(position);
    }
    refreshDuration();
    // The graph reports the end of the film by end-of-stream; its last position may stop a
    // frame short of the duration.
    const bool beyond = m_endReached || position < 0 || (m_duration > 0 && position >= m_duration);
    if (!beyond) {
        emit tick();
        return;
    }
    // Paused first: a seek taken while the graph still plays out its end can be lost.
    m_playing = false;
    pauseGraph();
    seekTo(0);
    m_sink->startAutoRefresh();
    emit tick();
}

void FilmSource::resumeCapture()
{
    m_sink->startAutoRefresh();
}

void FilmSource::pauseCapture()
{
    if (m_loaded) {
        pauseGraph();
        m_tickTimer->stop();
        m_sink->startAutoRefresh();
    }
    m_sink->stopAutoRefresh();
}

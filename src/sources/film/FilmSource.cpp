#include "sources/film/FilmSource.h"

#include "common/ICaptureCB.h"
#include "common/Logging.h"
#include "sources/film/FilmGraph.h"
#include "sources/media/BusBridge.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaGraph.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

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
{
    MediaFramework::initialize();
    m_grabber = std::make_shared<DirectShowTransformFilter>(sink, DirectShowTransformFilter::MODE_FILM);
    m_tickTimer->setInterval(TICK_MS);
    connect(m_tickTimer, &QTimer::timeout, this, &FilmSource::tickEvent);
    m_speedClock.start();
}

FilmSource::~FilmSource()
{
    unload();
}

bool FilmSource::open(const QString &path)
{
    unload();
    m_speedIndex = NORMAL_SPEED;
    m_speedClock.restart();
    auto graph = std::make_unique<FilmGraph>();
    const FilmGraph::Result result = graph->build(path, m_grabber, m_audioOutput);
    if (result != FilmGraph::Result::Opened) {
        qCInfo(lcSources) << "film not opened:" << path << int(result);
        return false;
    }
    m_graph = std::move(graph);
    m_hasAudio = m_graph->hasAudio();
    m_bus = new BusBridge(m_graph->graph().bus(), this);
    connect(m_bus, &BusBridge::endOfStream, this, [this] { m_endReached = true; });
    connect(m_bus, &BusBridge::errorOccurred, this,
            [](const QString &element, const QString &text, const QString &details) {
                qCWarning(lcSources) << "film:" << element << text << details;
            });
    // The duration is known once the graph has prerolled.
    m_graph->graph().waitForState(FilmGraph::PAD_WAIT_MS);
    m_duration = std::max<qint64>(0, unitsOf(m_graph->graph().duration()));
    m_lastPosition = 0;
    m_endReached = false;
    m_pendingSeek = -1;
    runGraph();
    m_loaded = true;
    m_playing = true;
    m_tickTimer->start();
    return true;
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

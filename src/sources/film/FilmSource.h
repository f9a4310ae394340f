#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>

class BusBridge;
class DirectShowTransformFilter;
class FilmGraph;
class ICaptureCB;
class QTimer;
typedef struct _GstElement GstElement;

// Plays a video file in Film mode. The frames reach the canvas through the frame grabber in
// film mode (one grabber for every graph this source builds); the sound goes to the system's
// audio output. Offers play, pause, stop, the stepped speeds of the speed table (rate 1 is
// played by the graph, every other rate is emulated on the 100 ms tick with the graph paused),
// a position and a seek in percent of the film and a volume in percent.
//
// Opening a film starts it at speed index 1 (normal play), whatever speed the previous film
// was left at, and restarts the speed clock.
//
// Positions and the duration are counted in 100-ns units and volumes in hundredths of a
// decibel; the conversions to the graph's nanoseconds and linear factor happen here.
//
// Threads: a GUI-thread object; every operation, slot, signal and timer runs there. Frames
// reach the sink on a GStreamer streaming thread through the grabber, which never calls back
// into this object. Bus messages arrive through the BusBridge on the GUI thread.
class FilmSource : public QObject
{
    Q_OBJECT
public:
    static constexpr int SPEED_COUNT = 8;
    static constexpr int NORMAL_SPEED = 1;
    static constexpr int TICK_MS = 100;
    static int speedRate(int index);
    // The volume element's linear factor for hundredths of a decibel: 0 is full volume,
    // -10000 (or less) silence.
    static double volumeFactor(int hundredthsOfDecibel);

    FilmSource(ICaptureCB *sink, QObject *parent);
    ~FilmSource() override;

    bool open(const QString &path);
    void unload();
    void play();
    void pause();
    void stop();
    void backward();
    void forward();
    int position() const;
    void resumeCapture();
    void pauseCapture();

    bool isLoaded() const { return m_loaded; }
    bool isPlaying() const { return m_playing; }
    bool hasAudio() const { return m_hasAudio; }
    int speedIndex() const { return m_speedIndex; }
    int rate() const { return speedRate(m_speedIndex); }
    qint64 duration() const { return m_duration; }
    // Current position in 100-ns units; the last known one while the graph cannot tell.
    qint64 currentPosition() const;
    // An element of the open graph by name ("Video Renderer", "Volume", ...), or null.
    GstElement *graphElement(const char *name) const;

    // The audio output element factory used by the next open (autoaudiosink by default).
    void setAudioOutput(const QByteArray &factory) { m_audioOutput = factory; }

signals:
    void tick();

public slots:
    void setPosition(int position);
    void setVolume(int volume);
    void tickEvent();

private:
    void seekTo(qint64 position);
    void pauseGraph();
    void runGraph();
    void refreshDuration();

    ICaptureCB *m_sink;
    std::shared_ptr<DirectShowTransformFilter> m_grabber;
    bool m_loaded = false;
    bool m_playing = false;
    bool m_hasAudio = false;
    int m_speedIndex = NORMAL_SPEED;
    std::unique_ptr<FilmGraph> m_graph;
    BusBridge *m_bus = nullptr;
    qint64 m_duration = 0;
    mutable qint64 m_lastPosition = 0;
    bool m_endReached = false;
    // A seek the graph refused (it may be changing state, or a damaged file may not seek at
    // once); retried on the next tick so the film does not stay where it ended.
    qint64 m_pendingSeek = -1;
    QTimer *m_tickTimer;
    QElapsedTimer m_speedClock;
    QByteArray m_audioOutput;
};

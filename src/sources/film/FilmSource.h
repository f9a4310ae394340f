#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

class BusBridge;
class DirectShowTransformFilter;
class FilmGraph;
class ICaptureCB;
class QTimer;
typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;

// Plays a video file in Film mode. The frames reach the canvas through the frame grabber in
// film mode (one grabber for every graph this source builds); the sound goes to the system's
// audio output. Offers play, pause, stop, the stepped speeds of the speed table (rate 1 is
// played by the graph, every other rate is emulated on the 100 ms tick with the graph paused),
// a position and a seek in percent of the film and a volume in percent.
//
// Opening a film never waits for the film: open() starts a graph beside the film loaded now
// and returns; the bus and a 20 ms poll move the opening on, and when the new graph has
// prerolled it takes the old one's place and plays (opened()). A film that cannot be opened ends
// with openFailed() and a reason in words; the film loaded before stays loaded (paused where it
// was). Opening starts the film at speed index 1 (normal play), whatever speed the previous
// film was left at, and restarts the speed clock. Frames larger than the frame limit are scaled
// down in the graph; at the end of a film the graph gives its buffers back.
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

    // Why a film could not be opened.
    enum class OpenFailure { NoFile, Unreadable, NotAFilm, NoVideo, Damaged, TimedOut, Other };
    Q_ENUM(OpenFailure)
    // How long an opening may take before it is given up.
    static constexpr int OPEN_TIMEOUT_MS = 15000;
    static constexpr int OPEN_POLL_MS = 20;

    FilmSource(ICaptureCB *sink, QObject *parent);
    // The films the program plays, as MIME types the desktop knows them (shared-mime-info's
    // canonical names), AVI and WMV first.
    static const QStringList &mimeTypes();
    ~FilmSource() override;

    // Starts opening `path` (a local path, or a file: URL for a name that is no text); false when
    // that cannot even start (openFailed() has then been emitted). The outcome follows with
    // opened() or openFailed().
    bool open(const QString &path);
    bool isOpening() const { return m_opening != nullptr; }
    // The reason for a failure, in words the user reads.
    static QString failureText(OpenFailure failure);
    // Frames larger than this are scaled down to fit it (from the next open on); an invalid
    // size lets them through as they are.
    void setFrameLimit(const QSize &limit) { m_frameLimit = limit; }
    QSize frameLimit() const { return m_frameLimit; }
    // The size the open film's frames are scaled to, or an invalid size.
    QSize scaledFrameSize() const;
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
    // The film of the last open() plays.
    void opened(const QString &path);
    // The film of the last open() cannot be played; `reason` says why, in the user's words.
    void openFailed(const QString &path, FilmSource::OpenFailure failure, const QString &reason);

public slots:
    void setPosition(int position);
    void setVolume(int volume);
    void tickEvent();

private:
    void openingMessage(GstMessage *message);
    void pollOpening();
    void adoptOpening();
    void failOpening(OpenFailure failure);
    void dropOpening();
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
    QSize m_frameLimit;

    // The film being opened beside the loaded one.
    std::unique_ptr<FilmGraph> m_opening;
    BusBridge *m_openingBus = nullptr;
    QString m_openingPath;
    QTimer *m_openPoll;
    QElapsedTimer m_openClock;
};

#pragma once

#include "sources/media/GstRef.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <memory>
#include <mutex>
#include <vector>

class DirectShowTransformFilter;
class MediaGraph;

// The playback graph of one film: uridecodebin ("Source Filter") whose video output runs
// (through "Video Converter", or for Motion JPEG through the decoder its first frame chooses,
// see JpegDecodeBranch) into the frame grabber ("Video Grabber", film mode) into a null
// renderer ("Video Renderer", a fakesink that keeps to the clock, so the film plays in real
// time) and whose sound, if any, runs through a volume element ("Volume") into the audio output
// ("Audio Renderer"). When no audio output can start, the sound goes into a fakesink and the
// graph has no audio. Frames of non-square pixels are scaled to their shape on screen, and
// frames larger than the frame limit are scaled down on the way: by the
// JPEG decoder while it decodes, and by "Video Scaler" (videoscale) into "Frame Size" (a caps
// filter of the fitted size), so that nothing larger than the canvas can show reaches it.
//
// Opening never waits: start() pauses the pipeline and returns; uridecodebin announces its pads
// on a streaming thread, each held by a blocking probe so that nothing flows unlinked, and when
// it has announced them all it posts PADS_KNOWN on the bus. handle() takes the bus messages on
// the GUI thread: at PADS_KNOWN the pads are scanned in order as pins (a later video or audio pad
// replaces an earlier one), linked with the converters needed and released; an error ends the
// opening. poll() tells when the linked graph has prerolled.
//
// Threads: built, used and destroyed on the GUI thread. onPadAdded() and onNoMorePads() run on
// streaming threads and touch only m_held, m_noMorePads and m_linked under m_mutex (and post a
// message). After the pads were released (m_linked), a late pad is left alone. The destructor
// disconnects both handlers and takes the pipeline to NULL before the fields they use go away.
class FilmGraph
{
public:
    enum class Result { Opening, Opened, NoGraph, NoVideo, Failed };
    // Why an opening failed, as far as the graph can tell.
    enum class Failure { None, NoGraph, Unreadable, NotAFilm, NoVideo, Damaged, Other };
    static constexpr const char *DEFAULT_AUDIO_OUTPUT = "autoaudiosink";
    static constexpr const char *PADS_KNOWN = "doccam-film-pads-known";

    FilmGraph();
    ~FilmGraph();
    FilmGraph(const FilmGraph &) = delete;
    FilmGraph &operator=(const FilmGraph &) = delete;

    // Creates the pipeline with the source for `path` and pauses it. Opening or NoGraph.
    // Frames larger than `frameLimit` (when valid) are scaled down to fit it.
    Result start(const QString &path, const std::shared_ptr<DirectShowTransformFilter> &grabber,
                 const QByteArray &audioOutput, const QSize &frameLimit = QSize());
    // Moves the opening on by one message of the graph's bus (GUI thread): links the pads when
    // they are known, fails on an error. Returns the result so far.
    Result handle(GstMessage *message);
    // Opened once the pads are linked and the pipeline has prerolled; asks without waiting.
    Result poll();
    Result result() const { return m_result; }
    Failure failure() const { return m_failure; }
    // The failure in the media framework's words, for the log.
    QString failureDetail() const { return m_failureDetail; }
    // Size the frames are scaled to, when they are (invalid otherwise).
    QSize scaledFrameSize() const { return m_scaledSize; }

    MediaGraph &graph() const { return *m_graph; }
    bool hasAudio() const { return m_volume != nullptr; }
    GstElement *volumeElement() const { return m_volume; }

    // Brings an audio output element to READY. False when it cannot start or when it is an
    // auto-detecting sink that found no device and fell back to a fake one.
    static bool audioOutputStarts(GstElement *output);
    // The size a frame of `frame` is scaled to under `limit` (keeping its aspect ratio, even
    // sides); `frame` itself when it fits or no limit is set.
    static QSize fittedFrame(const QSize &frame, const QSize &limit);
    // The size a frame of `frame` with pixels of `parN`:`parD` (width:height) shows at with
    // square pixels: the wider side stretched, even sides.
    static QSize displaySize(const QSize &frame, int parN, int parD);

private:
    static void onPadAdded(GstElement *source, GstPad *pad, gpointer self);
    static void onNoMorePads(GstElement *source, gpointer self);
    void fail(Failure failure, const QString &detail);
    Result linkPads();
    void releasePads();
    // Elements that scale frames down to m_scaledSize: the first takes the frames, the second
    // gives them on. Both null when the frames are not scaled.
    std::pair<GstElement *, GstElement *> addScaler();
    bool buildAudioBranch(GstPad *audioPad, const QByteArray &audioOutput);

    std::unique_ptr<MediaGraph> m_graph;
    std::shared_ptr<DirectShowTransformFilter> m_grabber;
    QByteArray m_audioOutput;
    QString m_path;
    QSize m_frameLimit;
    QSize m_scaledSize;
    GstElement *m_source = nullptr; // owned by the pipeline
    GstElement *m_volume = nullptr; // owned by the pipeline; null without audio
    Result m_result = Result::NoGraph;
    Failure m_failure = Failure::None;
    QString m_failureDetail;

    std::mutex m_mutex;
    std::vector<std::pair<GstRef<GstPad>, gulong>> m_held;
    bool m_noMorePads = false;
    bool m_linked = false;
};

#pragma once

#include "sources/media/GstRef.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>
#include <vector>

class DirectShowTransformFilter;
class MediaGraph;

// The playback graph of one film: uridecodebin ("Source Filter") whose video output runs
// (through "Video Converter", or for Motion JPEG through the decoder its first frame chooses,
// see JpegDecodeBranch) into the frame grabber ("Video Grabber", film mode) into a null renderer ("Video
// Renderer", a fakesink that keeps to the clock, so the film plays in real time) and whose
// sound, if any, runs through a volume element ("Volume") into the audio output ("Audio
// Renderer"). When no audio output can start, the sound goes into a fakesink and the graph
// has no audio.
//
// build() pauses the pipeline and waits, bounded, until uridecodebin has announced all its
// pads; each pad is held by a blocking probe meanwhile, so nothing flows unlinked. The pads are
// then scanned in order as pins (a later video or audio pad replaces an earlier one), linked on
// the GUI thread with the converters needed, and released.
//
// Threads: built, used and destroyed on the GUI thread. onPadAdded() and onNoMorePads() run on
// streaming threads and touch only m_held, m_noMorePads and m_linked under m_mutex. After the
// pads were released (m_linked), a late pad is left alone. The destructor disconnects both
// handlers and takes the pipeline to NULL before the fields they use go away.
class FilmGraph
{
public:
    enum class Result { Opened, NoGraph, NoVideo, Failed };
    static constexpr int PAD_WAIT_MS = 5000;
    static constexpr const char *DEFAULT_AUDIO_OUTPUT = "autoaudiosink";

    FilmGraph();
    ~FilmGraph();
    FilmGraph(const FilmGraph &) = delete;
    FilmGraph &operator=(const FilmGraph &) = delete;

    Result build(const QString &path, const std::shared_ptr<DirectShowTransformFilter> &grabber,
                 const QByteArray &audioOutput, int padWaitMs = PAD_WAIT_MS);

    MediaGraph &graph() const { return *m_graph; }
    bool hasAudio() const { return m_volume != nullptr; }
    GstElement *volumeElement() const { return m_volume; }

    // Brings an audio output element to READY. False when it cannot start or when it is an
    // auto-detecting sink that found no device and fell back to a fake one.
    static bool audioOutputStarts(GstElement *output);

private:
    static void onPadAdded(GstElement *source, GstPad *pad, gpointer self);
    static void onNoMorePads(GstElement *source, gpointer self);
    bool waitForPads(int padWaitMs);
    void releasePads();
    bool buildAudioBranch(GstPad *audioPad, const QByteArray &audioOutput);

    std::unique_ptr<MediaGraph> m_graph;
    GstElement *m_source = nullptr; // owned by the pipeline
    GstElement *m_volume = nullptr; // owned by the pipeline; null without audio

    std::mutex m_mutex;
    std::vector<std::pair<GstRef<GstPad>, gulong>> m_held;
    bool m_noMorePads = false;
    bool m_linked = false;
};

#include "sources/live/RecordBranch.h"

#include "common/Logging.h"
#include "common/OutputFile.h"
#include "sources/devices/DeviceFilter.h"
#include "sources/live/RecordingTimeline.h"
#include "sources/media/AviInPlaceFinisher.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/MediaGraph.h"
#include "sources/media/RecordingFinisher.h"
#include "sources/media/RecordingJournal.h"

#include <QFile>
#include <QRegularExpression>

#include <unistd.h>

namespace {

// How much later sound enters the multiplexer than pictures of the same moment: the
// multiplexer holds each picture back until it has half a second of sound past it, so a crash
// would lose the last half second of pictures. Playback timing does not change: AVI streams
// count frames and bytes, not timestamps.
constexpr gint64 AUDIO_INTERLEAVE_OFFSET_NS = GST_SECOND / 2;
// Room for a few seconds while the multiplexer waits for the other stream.
constexpr guint64 QUEUE_TIME_NS = 3 * GST_SECOND;
// How long a stop waits for the record queue to pass its closing picture on.
constexpr int CLOSING_DRAIN_BOUND_MS = 500;

GstRef<GstPad> staticPad(GstElement *element, const char *name)
{
    return GstRef<GstPad>(gst_element_get_static_pad(element, name));
}

// Once the branch has failed, its queue takes nothing more from the tee: the failure would
// otherwise travel back up the tee and stop the camera's stream, preview included.
GstPadProbeReturn dropAfterFailure(GstPad *, GstPadProbeInfo *, gpointer queueOutput)
{
    return gst_pad_get_last_flow_return(static_cast<GstPad *>(queueOutput)) < GST_FLOW_EOS
        ? GST_PAD_PROBE_DROP
        : GST_PAD_PROBE_OK;
}

} // namespace

RecordBranch::RecordBranch(MediaGraph *graph, GstElement *tee, QString captureCaps)
    : m_graph(graph)
    , m_tee(tee)
    , m_captureCaps(std::move(captureCaps))
{ }

RecordBranch::~RecordBranch()
{
    if (isActive())
        finish(RecordingFinisher::DEFAULT_BOUND_MS);
    closeFile();
}

void RecordBranch::closeFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool RecordBranch::syncStates(const std::vector<GstElement *> &elements)
{
    // Downstream first, so that nothing pushes into an element that is not running yet.
    for (GstElement *element : elements) {
        if (!gst_element_sync_state_with_parent(element))
            return false;
    }
    return true;
}

void RecordBranch::remove(std::vector<GstElement *> &elements)
{
    for (GstElement *element : elements)
        gst_element_set_state(element, GST_STATE_NULL);
    for (GstElement *element : elements)
        gst_bin_remove(GST_BIN(m_graph->pipeline()), element);
    elements.clear();
}

bool RecordBranch::addVideo(ICaptureCB *sink)
{
    GstElement *queue = m_graph->addElement("queue", "Record Queue");
    GstElement *pace = m_graph->addElement("videorate", "Record Pace");
    GstElement *muxer = m_graph->addElement("avimux", "AVI Mux");
    GstElement *writer = m_graph->addElement("fdsink", "File Writer");
    m_grabber = std::make_shared<DirectShowTransformFilter>(sink, DirectShowTransformFilter::MODE_RECORD);
    GstRef<GstElement> grabber = GrabberElement::create(m_grabber, "Grabber");
    const bool added = grabber && m_graph->addElement(grabber.get(), "Grabber");
    for (GstElement *element : {writer, muxer, pace, added ? grabber.get() : nullptr, queue}) {
        if (element)
            m_videoElements.push_back(element);
    }
    if (!queue || !pace || !muxer || !writer || !added)
        return false;
    m_muxer = GstRef<GstElement>::borrow(muxer);

    // A recording that cannot keep up loses pictures here, never the preview: videorate
    // repeats the picture before a gap, so the file keeps its time.
    g_object_set(queue, "leaky", 2 /* downstream */, "max-size-buffers", 0u, "max-size-bytes", 0u,
                 "max-size-time", QUEUE_TIME_NS, nullptr);
    g_object_set(pace, "skip-to-first", TRUE, nullptr);
    g_object_set(writer, "fd", m_fd, "async", FALSE, nullptr);
    if (!(m_graph->connect(queue, grabber.get()) && m_graph->connect(grabber.get(), pace)
          && m_graph->connect(pace, muxer) && m_graph->connect(muxer, writer))) {
        qCWarning(lcSources) << "the record branch does not connect";
        return false;
    }
    m_queueInput = staticPad(queue, "sink");
    GstRef<GstPad> queueOutput = staticPad(queue, "src");
    // The queue's output lives as long as the queue and so as long as this probe.
    gst_pad_add_probe(m_queueInput.get(),
                      GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
                      &dropAfterFailure, queueOutput.get(), nullptr);
    GstRef<GstPad> recorded = staticPad(grabber.get(), "src");
    RecordingTimeline::watchPictures(recorded.get(), m_timeline);
    return true;
}

bool RecordBranch::addSound(DeviceFilter *audio)
{
    GstRef<GstElement> microphone(audio->createElement());
    GstElement *convert = m_graph->addElement("audioconvert", "Audio Converter");
    GstElement *resample = m_graph->addElement("audioresample", "Audio Resampler");
    GstElement *format = m_graph->addElement("capsfilter", "Audio Format");
    GstElement *pace = m_graph->addElement("audiorate", "Audio Pace");
    GstElement *queue = m_graph->addElement("queue", "Audio Queue");
    const bool added = microphone && m_graph->addElement(microphone.get(), "Audio Capture Filter");
    for (GstElement *element : {queue, pace, format, resample, convert, added ? microphone.get() : nullptr}) {
        if (element)
            m_audioElements.push_back(element);
    }
    if (!convert || !resample || !format || !pace || !queue || !added) {
        qCWarning(lcSources) << "cannot add the audio input" << audio->displayName();
        return false;
    }
    GstRef<GstCaps> pcm(gst_caps_from_string("audio/x-raw,format=S16LE,layout=interleaved"));
    g_object_set(format, "caps", pcm.get(), nullptr);
    // Gaps in the sound become silence, so the sound keeps its time as the pictures do.
    g_object_set(pace, "skip-to-first", TRUE, nullptr);
    g_object_set(queue, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time", QUEUE_TIME_NS,
                 nullptr);
    if (!(m_graph->connect(microphone.get(), convert) && m_graph->connect(convert, resample)
          && m_graph->connect(resample, format) && m_graph->connect(format, pace)
          && m_graph->connect(pace, queue) && m_graph->connect(queue, m_muxer.get()))) {
        qCWarning(lcSources) << "the audio branch does not connect";
        return false;
    }
    GstRef<GstPad> formatted = staticPad(format, "src");
    RecordingTimeline::alignSound(formatted.get(), m_timeline);
    GstRef<GstPad> queued = staticPad(queue, "src");
    GstRef<GstPad> muxerInput(queued ? gst_pad_get_peer(queued.get()) : nullptr);
    if (muxerInput)
        gst_pad_set_offset(muxerInput.get(), AUDIO_INTERLEAVE_OFFSET_NS);
    return true;
}

void RecordBranch::removeSound()
{
    // The multiplexer's input for the sound goes with it, so the file has pictures only.
    GstRef<GstPad> muxerInput;
    if (!m_audioElements.empty()) {
        GstRef<GstPad> queued = staticPad(m_audioElements.front(), "src");
        muxerInput = GstRef<GstPad>(queued ? gst_pad_get_peer(queued.get()) : nullptr);
    }
    remove(m_audioElements);
    if (muxerInput && m_muxer)
        gst_element_release_request_pad(m_muxer.get(), muxerInput.get());
}

bool RecordBranch::start(const QString &path, int fd, DeviceFilter *audio, ICaptureCB *sink)
{
    if (!m_graph || !m_tee || isActive()) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    closeFile();
    m_fd = fd;
    if (m_fd < 0) {
        QString error;
        m_fd = OutputFile::create(path, &error);
        if (m_fd < 0) {
            qCWarning(lcSources) << "the recording" << path << "cannot be created:" << error;
            return false;
        }
    }
    m_path = path;
    m_failure.clear();
    m_timeline = std::make_shared<RecordingTimeline>();
    if (!addVideo(sink)) {
        m_muxer.reset();
        remove(m_videoElements);
        closeFile();
        QFile::remove(m_path);
        return false;
    }
    if (audio && !addSound(audio))
        removeSound();
    if (!syncStates(m_videoElements)) {
        qCWarning(lcSources) << "the record branch does not start";
        removeSound();
        m_muxer.reset();
        remove(m_videoElements);
        closeFile();
        QFile::remove(m_path);
        return false;
    }
    if (hasSound() && !syncStates(m_audioElements)) {
        qCWarning(lcSources) << "the audio input" << audio->displayName()
                             << "does not start; recording without sound";
        removeSound();
    }
    // Joined last: the first picture finds every element of the branch running.
    GstRef<GstPad> queueInput = m_queueInput;
    m_teePad = GstRef<GstPad>(gst_element_request_pad_simple(m_tee, "src_%u"));
    if (!m_teePad || gst_pad_link(m_teePad.get(), queueInput.get()) != GST_PAD_LINK_OK) {
        qCWarning(lcSources) << "the record branch cannot join the camera's stream";
        finish(RecordingFinisher::DEFAULT_BOUND_MS);
        return false;
    }
    // The writer has created the file by now: from here on a crash leaves a journal beside it
    // that lets the next start repair it.
    m_journal = RecordingJournal::begin(m_path, m_captureCaps);
    if (m_journal)
        m_journal->watch(m_muxer.get());
    return true;
}

void RecordBranch::closeWithPicture()
{
    // One more camera sample at this moment: the grabber fills it with the canvas's current
    // picture and videorate repeats the last one up to it, so the pictures end when the
    // recording was stopped, as the sound does, even when the camera delivered its last frame
    // long before.
    if (!m_queueInput || m_timeline->firstPicture.load(std::memory_order_acquire) < 0)
        return;
    GstElement *pipeline = m_graph->pipeline();
    GstClock *clock = gst_element_get_clock(pipeline);
    if (!clock)
        return;
    const qint64 now = qint64(gst_clock_get_time(clock)) - qint64(gst_element_get_base_time(pipeline));
    gst_object_unref(clock);
    const GstClockTime position = RecordingTimeline::positionAt(m_queueInput.get(), now);
    if (!GST_CLOCK_TIME_IS_VALID(position))
        return;
    GstBuffer *closing = gst_buffer_new_allocate(nullptr, 1, nullptr);
    GST_BUFFER_PTS(closing) = position;
    gst_pad_chain(m_queueInput.get(), closing);
    // videorate fills a gap half with the picture before it and half with the one after, and
    // gives the last picture of a stream a single frame: without more, a file whose camera went
    // silent (unplugged, stalled) would end halfway between its last frame and the stop. A
    // second sample just after the first lets the closing picture fill the second half. It
    // enters once the first has left the queue, which would otherwise take the gap for
    // queued time and drop the first.
    GstRef<GstElement> queue(gst_pad_get_parent_element(m_queueInput.get()));
    if (!queue)
        return;
    const gint64 deadline = g_get_monotonic_time() + gint64(CLOSING_DRAIN_BOUND_MS) * 1000;
    for (;;) {
        guint queued = 0;
        g_object_get(queue.get(), "current-level-buffers", &queued, nullptr);
        if (queued == 0 || g_get_monotonic_time() >= deadline)
            break;
        g_usleep(1000);
    }
    GstBuffer *after = gst_buffer_new_allocate(nullptr, 1, nullptr);
    GST_BUFFER_PTS(after) = position + 1;
    gst_pad_chain(m_queueInput.get(), after);
}

bool RecordBranch::finish(int boundMs)
{
    if (!isActive())
        return true;
    // Cut off from the camera first: from here on nothing enters the branch but its end.
    if (m_teePad) {
        gst_element_release_request_pad(m_tee, m_teePad.get());
        m_teePad.reset();
        closeWithPicture();
    }
    // The multiplexer first: a sound queue whose thread waits inside it for pictures that will
    // not come (a failed writer, an end that did not arrive) is let go only by its flush.
    const auto stopAll = [this] {
        for (GstElement *element : m_videoElements)
            gst_element_set_state(element, GST_STATE_NULL);
        for (GstElement *element : m_audioElements)
            gst_element_set_state(element, GST_STATE_NULL);
    };
    // A branch whose writer failed cannot take the end of its stream: it is not waited for.
    bool complete = false;
    if (m_failure.isEmpty())
        complete = RecordingFinisher::finishBranch(m_muxer.get(), boundMs, stopAll);
    else
        stopAll();
    const bool empty = !(m_grabber && m_grabber->framesPassed() > 0);
    // A writer that failed leaves the multiplexer's ending half written or not at all.
    if (!empty && !complete)
        complete = finishInPlace();
    closeFile();
    m_muxer.reset();
    m_queueInput.reset();
    remove(m_audioElements);
    remove(m_videoElements);
    if (empty) {
        qCWarning(lcSources) << "the recording" << m_path
                             << "received no frame from the camera; its empty file is removed";
        QFile::remove(m_path);
    }
    // A file that could not be finished keeps its journal and is repaired at the next start.
    if (m_journal) {
        if (complete || empty)
            m_journal->finish();
        else
            m_journal->keep();
        m_journal.reset();
    }
    m_grabber.reset();
    return complete;
}

bool RecordBranch::finishInPlace()
{
    const AviInPlaceFinisher::Result result = AviInPlaceFinisher::finish(m_fd);
    if (!result.finished) {
        qCWarning(lcSources) << "the recording" << m_path << "cannot be finished in place:" << result.error;
        return false;
    }
    if (!result.alreadyComplete)
        qCInfo(lcSources) << "the recording" << m_path << "was finished in place," << result.seconds
                          << "s; chunks given up for the index:" << result.droppedChunks;
    return true;
}

bool RecordBranch::isPictureElement(GstObject *object) const
{
    for (GstObject *o = object; o; o = GST_OBJECT_PARENT(o)) {
        for (GstElement *element : m_videoElements) {
            if (o == GST_OBJECT(element))
                return true;
        }
    }
    return false;
}

bool RecordBranch::fail(const QString &text, const QString &details)
{
    if (!isActive() || !m_failure.isEmpty())
        return false;
    // The writer names the system's cause in its details ("...: File too large") where its
    // own text stays general ("Could not write to resource.").
    static const QRegularExpression systemCause(
        QStringLiteral("^Error while writing to file descriptor \\d+: (.+)$"),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = systemCause.match(details);
    m_failure = match.hasMatch() ? match.captured(1).trimmed()
        : text.isEmpty()         ? QStringLiteral("the recording's writer failed")
                                 : text;
    qCWarning(lcSources) << "the recording" << m_path << "failed:" << m_failure;
    return true;
}

bool RecordBranch::isSoundElement(GstObject *object) const
{
    for (GstObject *o = object; o; o = GST_OBJECT_PARENT(o)) {
        for (GstElement *element : m_audioElements) {
            if (o == GST_OBJECT(element))
                return true;
        }
    }
    return false;
}

void RecordBranch::endSound()
{
    if (m_audioElements.size() < 2)
        return;
    // The input just below the microphone: the sound's stream ends, the multiplexer goes on
    // with the pictures alone.
    GstRef<GstPad> input = staticPad(m_audioElements[m_audioElements.size() - 2], "sink");
    if (input && !GST_PAD_IS_EOS(input.get()))
        gst_pad_send_event(input.get(), gst_event_new_eos());
}

qint64 RecordBranch::firstPictureNs() const
{
    return m_timeline ? m_timeline->firstPicture.load(std::memory_order_acquire) : -1;
}

qint64 RecordBranch::firstSoundNs() const
{
    return m_timeline ? m_timeline->firstSound.load(std::memory_order_acquire) : -1;
}

qint64 RecordBranch::soundHeardNs() const
{
    return m_timeline ? m_timeline->soundHeard.load(std::memory_order_acquire) : -1;
}

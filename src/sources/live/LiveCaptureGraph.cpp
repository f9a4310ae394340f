#include "sources/live/LiveCaptureGraph.h"

#include "common/Logging.h"
#include "common/OutputFile.h"
#include "sources/devices/DeviceFilter.h"
#include "sources/media/AviInPlaceFinisher.h"
#include "sources/media/BusBridge.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/JpegDecodeBranch.h"
#include "sources/media/MediaGraph.h"
#include "sources/media/RecordingFinisher.h"
#include "sources/media/RecordingJournal.h"

#include <QFile>
#include <QRegularExpression>

#include <unistd.h>

LiveCaptureGraph::LiveCaptureGraph(QObject *parent)
    : QObject(parent)
{ }

LiveCaptureGraph::~LiveCaptureGraph()
{
    finish();
}

GstElement *LiveCaptureGraph::pipeline() const
{
    return m_graph ? m_graph->pipeline() : nullptr;
}

bool LiveCaptureGraph::buildPreview(DeviceFilter *camera, const CaptureMode &mode, ICaptureCB *sink)
{
    m_graph = std::make_unique<MediaGraph>("live");
    if (!m_graph->isValid())
        return false;
    // The bridge logs the pipeline's errors; they end as missing frames.
    m_bus = new BusBridge(m_graph->bus(), this);

    GstRef<GstElement> source(camera->createElement());
    if (!source || !m_graph->addElement(source.get(), "Video Capture Filter")) {
        qCWarning(lcSources) << "cannot make the capture element of" << camera->displayName();
        return false;
    }
    m_captureCaps = mode.toCapsString();
    GstElement *format = m_graph->addElement("capsfilter", "Capture Format");
    m_tee = m_graph->addElement("tee", "Capture Tee");
    if (!format || !m_tee)
        return false;
    GstRef<GstCaps> caps(gst_caps_from_string(m_captureCaps.toUtf8().constData()));
    g_object_set(format, "caps", caps.get(), nullptr);

    // The preview may drop frames when the screen falls behind; it must never hold up the
    // recording branch on the same tee.
    GstElement *queue = m_graph->addElement("queue", "Preview Queue");
    GstElement *renderer = m_graph->addElement("fakesink", "Renderer");
    if (!queue || !renderer)
        return false;
    g_object_set(queue, "leaky", 2 /* downstream */, "max-size-buffers", 2u, "max-size-bytes", 0u,
                 "max-size-time", guint64(0), nullptr);
    g_object_set(renderer, "sync", FALSE, "async", FALSE, nullptr);

    m_previewGrabber = std::make_shared<DirectShowTransformFilter>(sink,
                                                                   DirectShowTransformFilter::MODE_PREVIEW);
    GstRef<GstElement> grabber = GrabberElement::create(m_previewGrabber, "Grabber");
    if (!grabber || !m_graph->addElement(grabber.get(), "Grabber"))
        return false;

    // The decoder between the queue and the grabber is chosen by the camera's first frame.
    GstRef<GstPad> queueOutput(gst_element_get_static_pad(queue, "src"));
    bool linked = m_graph->connect(source.get(), format) && m_graph->connect(format, m_tee)
        && m_graph->connect(m_tee, queue) && m_graph->connect(grabber.get(), renderer)
        && JpegDecodeBranch::attach(GST_BIN(m_graph->pipeline()), queueOutput.get(), grabber.get(), "Decoder",
                                    "Converter");
    if (!linked)
        qCWarning(lcSources) << "the preview branch does not connect";
    return linked;
}

void LiveCaptureGraph::takeRecordFile(int fd)
{
    if (m_recordFd >= 0)
        ::close(m_recordFd);
    m_recordFd = fd;
}

namespace {

// Once the record branch has failed, its queue takes nothing more from the tee: the failure
// would otherwise travel back up the tee and stop the camera's stream, preview included.
GstPadProbeReturn dropAfterFailure(GstPad *, GstPadProbeInfo *, gpointer queueOutput)
{
    return gst_pad_get_last_flow_return(static_cast<GstPad *>(queueOutput)) < GST_FLOW_EOS
        ? GST_PAD_PROBE_DROP
        : GST_PAD_PROBE_OK;
}

} // namespace

bool LiveCaptureGraph::addRecordBranch(const QString &path, DeviceFilter *audio, ICaptureCB *sink)
{
    if (!m_graph || !m_tee)
        return false;
    if (m_recordFd < 0) {
        QString error;
        m_recordFd = OutputFile::create(path, &error);
        if (m_recordFd < 0) {
            qCWarning(lcSources) << "the recording" << path << "cannot be created:" << error;
            return false;
        }
    }
    GstElement *queue = m_graph->addElement("queue", "Record Queue");
    GstElement *muxer = m_graph->addElement("avimux", "AVI Mux");
    GstElement *writer = m_graph->addElement("fdsink", "File Writer");
    if (!queue || !muxer || !writer)
        return false;
    m_muxer = GstRef<GstElement>::borrow(muxer);
    m_recordPath = path;
    m_recordFailure.clear();
    for (GstElement *element : {queue, muxer, writer})
        m_recordElements << QString::fromUtf8(GST_OBJECT_NAME(element));
    // Room for a few seconds while the multiplexer waits for the other stream to start.
    g_object_set(queue, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time",
                 guint64(3 * GST_SECOND), nullptr);
    g_object_set(writer, "fd", m_recordFd, "async", FALSE, nullptr);
    GstRef<GstPad> queueInput(gst_element_get_static_pad(queue, "sink"));
    GstRef<GstPad> queueOutput(gst_element_get_static_pad(queue, "src"));
    // The queue's output lives as long as the queue and so as long as this probe.
    gst_pad_add_probe(queueInput.get(),
                      GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
                      &dropAfterFailure, queueOutput.get(), nullptr);
    connect(m_bus, &BusBridge::errorOccurred, this, &LiveCaptureGraph::recordBranchError);

    m_recordGrabber = std::make_shared<DirectShowTransformFilter>(sink,
                                                                  DirectShowTransformFilter::MODE_RECORD);
    GstRef<GstElement> grabber = GrabberElement::create(m_recordGrabber, "Grabber");
    if (!grabber || !m_graph->addElement(grabber.get(), "Grabber"))
        return false;
    m_recordElements << QString::fromUtf8(GST_OBJECT_NAME(grabber.get()));
    bool linked = m_graph->connect(m_tee, queue) && m_graph->connect(queue, grabber.get())
        && m_graph->connect(grabber.get(), muxer) && m_graph->connect(muxer, writer);
    if (!linked) {
        qCWarning(lcSources) << "the record branch does not connect";
        return false;
    }

    if (!audio)
        return true;
    GstRef<GstElement> microphone(audio->createElement());
    GstElement *convert = m_graph->addElement("audioconvert", "Audio Converter");
    GstElement *resample = m_graph->addElement("audioresample", "Audio Resampler");
    GstElement *audioQueue = m_graph->addElement("queue", "Audio Queue");
    if (!microphone || !convert || !resample || !audioQueue
        || !m_graph->addElement(microphone.get(), "Audio Capture Filter")) {
        qCWarning(lcSources) << "cannot add the audio input" << audio->displayName();
        return true; // the recording goes on without sound
    }
    g_object_set(audioQueue, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time",
                 guint64(3 * GST_SECOND), nullptr);
    if (!(m_graph->connect(microphone.get(), convert) && m_graph->connect(convert, resample)
          && m_graph->connect(resample, audioQueue) && m_graph->connect(audioQueue, muxer))) {
        qCWarning(lcSources) << "the audio branch does not connect";
        return true;
    }
    // The multiplexer holds each picture back until it has written half a second of sound
    // past it, so a crash would lose the last half second of pictures. Sound enters that much
    // later in running time instead, and both reach the file as they arrive. Playback timing
    // does not change: AVI streams count frames and bytes, not timestamps.
    GstRef<GstPad> queued(gst_element_get_static_pad(audioQueue, "src"));
    GstRef<GstPad> muxerInput(queued ? gst_pad_get_peer(queued.get()) : nullptr);
    if (muxerInput)
        gst_pad_set_offset(muxerInput.get(), AUDIO_INTERLEAVE_OFFSET_NS);
    return true;
}

bool LiveCaptureGraph::run()
{
    const bool running = m_graph && m_graph->run();
    // The writer has created the file by now: from here on a crash leaves a journal beside it
    // that lets the next start repair it.
    if (running && m_muxer && !m_journal) {
        m_journal = RecordingJournal::begin(m_recordPath, m_captureCaps);
        if (m_journal)
            m_journal->watch(m_muxer.get());
    }
    return running;
}

void LiveCaptureGraph::recordBranchError(const QString &element, const QString &text, const QString &details)
{
    if (!m_muxer || !m_recordFailure.isEmpty() || !m_recordElements.contains(element))
        return;
    // The writer names the system's cause in its details ("...: File too large") where its
    // own text stays general ("Could not write to resource.").
    static const QRegularExpression systemCause(
        QStringLiteral("^Error while writing to file descriptor \\d+: (.+)$"),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = systemCause.match(details);
    m_recordFailure = match.hasMatch() ? match.captured(1).trimmed() : text.isEmpty() ? element : text;
    emit recordingFailed(m_recordFailure);
}

bool LiveCaptureGraph::finishInPlace()
{
    const AviInPlaceFinisher::Result result = AviInPlaceFinisher::finish(m_recordFd);
    if (!result.finished) {
        qCWarning(lcSources) << "the recording" << m_recordPath
                             << "cannot be finished in place:" << result.error;
        return false;
    }
    if (!result.alreadyComplete)
        qCInfo(lcSources) << "the recording" << m_recordPath << "was finished in place," << result.seconds
                          << "s; chunks given up for the index:" << result.droppedChunks;
    return true;
}

bool LiveCaptureGraph::finish()
{
    bool complete = true;
    const bool recording = m_graph && m_muxer;
    // A branch whose writer failed cannot take the end of its stream: it is not waited for.
    if (recording)
        complete = m_recordFailure.isEmpty()
            && RecordingFinisher::finish(m_graph->pipeline(), m_muxer.get(), FINISH_BOUND_MS);
    m_muxer.reset();
    if (m_graph)
        m_graph->stop();
    const bool empty = recording && !(m_recordGrabber && m_recordGrabber->framesPassed() > 0);
    // A writer that failed leaves the multiplexer's ending half written or not at all.
    if (recording && !empty && m_recordFd >= 0 && (!complete || !m_recordFailure.isEmpty()))
        complete = finishInPlace();
    if (m_recordFd >= 0) {
        ::close(m_recordFd);
        m_recordFd = -1;
    }
    if (empty) {
        qCWarning(lcSources) << "the recording" << m_recordPath
                             << "received no frame from the camera; its empty file is removed";
        QFile::remove(m_recordPath);
    }
    // A file that could not be finished keeps its journal and is repaired at the next start.
    if (m_journal) {
        if (complete || empty)
            m_journal->finish();
        else
            m_journal->keep();
        m_journal.reset();
    }
    m_recordPath.clear();
    m_recordElements.clear();
    delete m_bus;
    m_bus = nullptr;
    m_tee = nullptr;
    m_graph.reset();
    m_previewGrabber.reset();
    m_recordGrabber.reset();
    m_captureCaps.clear();
    return complete;
}

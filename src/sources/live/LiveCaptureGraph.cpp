#include "sources/live/LiveCaptureGraph.h"

#include "common/Logging.h"
#include "sources/devices/DeviceFilter.h"
#include "sources/media/BusBridge.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/JpegDecodeBranch.h"
#include "sources/media/MediaGraph.h"
#include "sources/media/RecordingFinisher.h"
#include "sources/media/RecordingJournal.h"

#include <QFile>

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

bool LiveCaptureGraph::addRecordBranch(const QString &path, DeviceFilter *audio, ICaptureCB *sink)
{
    if (!m_graph || !m_tee)
        return false;
    GstElement *queue = m_graph->addElement("queue", "Record Queue");
    GstElement *muxer = m_graph->addElement("avimux", "AVI Mux");
    GstElement *writer = m_graph->addElement("filesink", "File Writer");
    if (!queue || !muxer || !writer)
        return false;
    m_muxer = GstRef<GstElement>::borrow(muxer);
    m_recordPath = path;
    // Room for a few seconds while the multiplexer waits for the other stream to start.
    g_object_set(queue, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time",
                 guint64(3 * GST_SECOND), nullptr);
    g_object_set(writer, "location", path.toLocal8Bit().constData(), "async", FALSE, nullptr);

    m_recordGrabber = std::make_shared<DirectShowTransformFilter>(sink,
                                                                  DirectShowTransformFilter::MODE_RECORD);
    GstRef<GstElement> grabber = GrabberElement::create(m_recordGrabber, "Grabber");
    if (!grabber || !m_graph->addElement(grabber.get(), "Grabber"))
        return false;
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

bool LiveCaptureGraph::finish()
{
    bool complete = true;
    const bool recording = m_graph && m_muxer;
    if (recording)
        complete = RecordingFinisher::finish(m_graph->pipeline(), m_muxer.get(), FINISH_BOUND_MS);
    m_muxer.reset();
    if (m_graph)
        m_graph->stop();
    const bool empty = recording && !(m_recordGrabber && m_recordGrabber->framesPassed() > 0);
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
    delete m_bus;
    m_bus = nullptr;
    m_tee = nullptr;
    m_graph.reset();
    m_previewGrabber.reset();
    m_recordGrabber.reset();
    m_captureCaps.clear();
    return complete;
}

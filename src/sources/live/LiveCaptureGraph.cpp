#include "sources/live/LiveCaptureGraph.h"

#include "common/Logging.h"
#include "sources/devices/DeviceFilter.h"
#include "sources/live/RecordBranch.h"
#include "sources/media/BusBridge.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/JpegDecodeBranch.h"
#include "sources/media/MediaGraph.h"

#include <cerrno>
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

bool LiveCaptureGraph::isRecording() const
{
    return m_record && m_record->isActive();
}

bool LiveCaptureGraph::buildPreview(DeviceFilter *camera, const CaptureMode &mode, ICaptureCB *sink)
{
    m_graph = std::make_unique<MediaGraph>("live");
    if (!m_graph->isValid())
        return false;
    // The bridge logs the pipeline's errors; they end as missing frames.
    m_bus = new BusBridge(m_graph->bus(), this);
    connect(m_bus, &BusBridge::messageReceived, this, &LiveCaptureGraph::onBusMessage);

    GstRef<GstElement> source(camera->createElement());
    if (!source || !m_graph->addElement(source.get(), "Video Capture Filter")) {
        qCWarning(lcSources) << "cannot make the capture element of" << camera->displayName();
        return false;
    }
    m_camera = source.get();
    m_captureCaps = mode.toCapsString();
    GstElement *format = m_graph->addElement("capsfilter", "Capture Format");
    m_tee = m_graph->addElement("tee", "Capture Tee");
    if (!format || !m_tee)
        return false;
    GstRef<GstCaps> caps(gst_caps_from_string(m_captureCaps.toUtf8().constData()));
    g_object_set(format, "caps", caps.get(), nullptr);
    // A recording joins and leaves while the camera streams; until then the tee feeds the
    // preview alone.
    g_object_set(m_tee, "allow-not-linked", TRUE, nullptr);

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

bool LiveCaptureGraph::run()
{
    return m_graph && m_graph->run();
}

bool LiveCaptureGraph::startRecording(const QString &path, int fd, DeviceFilter *audio, ICaptureCB *sink)
{
    if (!m_graph || !m_tee || isRecording()) {
        // The descriptor was handed over: it is closed here as the branch would have.
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_record = std::make_unique<RecordBranch>(m_graph.get(), m_tee, m_captureCaps);
    if (!m_record->start(path, fd, audio, sink)) {
        m_record.reset();
        return false;
    }
    return true;
}

bool LiveCaptureGraph::stopRecording()
{
    if (!m_record)
        return true;
    const bool complete = m_record->finish(FINISH_BOUND_MS);
    m_record.reset();
    return complete;
}

QString LiveCaptureGraph::recordingFailure() const
{
    return m_record ? m_record->failure() : QString();
}

bool LiveCaptureGraph::finish()
{
    const bool complete = stopRecording();
    if (m_graph)
        m_graph->stop();
    delete m_bus;
    m_bus = nullptr;
    m_tee = nullptr;
    m_camera = nullptr;
    m_graph.reset();
    m_previewGrabber.reset();
    m_captureCaps.clear();
    return complete;
}

void LiveCaptureGraph::onBusMessage(GstMessage *message)
{
    if (GST_MESSAGE_TYPE(message) != GST_MESSAGE_ERROR)
        return;
    GError *error = nullptr;
    gchar *debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    const bool resource = error && error->domain == GST_RESOURCE_ERROR;
    const int code = error ? error->code : 0;
    const QString text = error ? QString::fromUtf8(error->message) : QString();
    const QString details = debug ? QString::fromUtf8(debug) : QString();
    g_clear_error(&error);
    g_free(debug);

    if (m_record && m_record->isPictureElement(GST_MESSAGE_SRC(message))) {
        if (m_record->fail(text, details))
            emit recordingFailed(m_record->failure());
        return;
    }

    if (m_record && m_record->isSoundElement(GST_MESSAGE_SRC(message))) {
        qCWarning(lcSources) << "the microphone failed; the recording goes on without sound";
        m_record->endSound();
        return;
    }
    if (!m_camera || GST_MESSAGE_SRC(message) != GST_OBJECT(m_camera) || !resource)
        return;
    // v4l2src says so when setting the format or asking for buffers fails with EBUSY.
    if (code == GST_RESOURCE_ERROR_BUSY)
        emit cameraRefused(-EBUSY);
}

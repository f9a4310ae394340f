#include "sources/film/FilmGraph.h"

#include "common/Logging.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/JpegDecodeBranch.h"
#include "sources/media/MediaGraph.h"

#include <QDeadlineTimer>
#include <QFileInfo>

#include <cstring>

namespace {

constexpr int BUS_POLL_MS = 20;

bool capsStartWith(const GstRef<GstCaps> &caps, const char *prefix)
{
    if (!caps || gst_caps_get_size(caps.get()) == 0)
        return false;
    const char *name = gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
    return name && std::strncmp(name, prefix, std::strlen(prefix)) == 0;
}

// uridecodebin's answers to "autoplug-select" (GstAutoplugSelectResult, which no public
// header declares).
enum AutoplugSelect { AUTOPLUG_TRY = 0, AUTOPLUG_EXPOSE = 1 };

// A Motion JPEG stream leaves the decode bin as JPEG frames, so the film graph can decode them
// straight into the grabber's layout; parsers before the decoder are still plugged.
int exposeJpeg(GstElement *, GstPad *, GstCaps *caps, GstElementFactory *factory, gpointer)
{
    if (capsStartWith(GstRef<GstCaps>::borrow(caps), "image/jpeg")
        && gst_element_factory_list_is_type(factory, GST_ELEMENT_FACTORY_TYPE_DECODER))
        return AUTOPLUG_EXPOSE;
    return AUTOPLUG_TRY;
}

GstPadProbeReturn holdPad(GstPad *, GstPadProbeInfo *, gpointer)
{
    return GST_PAD_PROBE_OK; // a blocking probe: the pad stays blocked while the probe exists
}

QString describe(GstMessage *message)
{
    GError *error = nullptr;
    gchar *debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    const QString text = QString("%1: %2 (%3)")
                             .arg(QString::fromUtf8(GST_OBJECT_NAME(GST_MESSAGE_SRC(message))),
                                  QString::fromUtf8(error ? error->message : "?"),
                                  QString::fromUtf8(debug ? debug : ""));
    g_clear_error(&error);
    g_free(debug);
    return text;
}

} // namespace

FilmGraph::FilmGraph() = default;

FilmGraph::~FilmGraph()
{
    if (m_source)
        g_signal_handlers_disconnect_by_data(m_source, this);
    releasePads();
    m_graph.reset(); // NULL state: the streaming threads have ended
}

bool FilmGraph::audioOutputStarts(GstElement *output)
{
    if (!output || gst_element_set_state(output, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE)
        return false;
    if (!GST_IS_BIN(output))
        return true;
    // autoaudiosink that found no usable device plays into a fake sink of its own.
    bool fake = false;
    GstRef<GstIterator> it(gst_bin_iterate_elements(GST_BIN(output)));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it.get(), &item) == GST_ITERATOR_OK) {
        GstElement *child = GST_ELEMENT(g_value_get_object(&item));
        GstElementFactory *factory = gst_element_get_factory(child);
        const char *name = factory ? GST_OBJECT_NAME(factory) : "";
        if (std::strcmp(name, "fakesink") == 0 || std::strcmp(name, "fakeaudiosink") == 0
            || g_str_has_prefix(GST_OBJECT_NAME(child), "fake"))
            fake = true;
        g_value_reset(&item);
    }
    g_value_unset(&item);
    return !fake;
}

void FilmGraph::onPadAdded(GstElement *, GstPad *pad, gpointer self)
{
    auto *graph = static_cast<FilmGraph *>(self);
    std::lock_guard<std::mutex> lock(graph->m_mutex);
    if (graph->m_linked)
        return; // the film is already running; a late stream stays unlinked
    const gulong id = gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BLOCK_DOWNSTREAM, holdPad, nullptr, nullptr);
    graph->m_held.emplace_back(GstRef<GstPad>::borrow(pad), id);
}

void FilmGraph::onNoMorePads(GstElement *, gpointer self)
{
    auto *graph = static_cast<FilmGraph *>(self);
    std::lock_guard<std::mutex> lock(graph->m_mutex);
    graph->m_noMorePads = true;
}

bool FilmGraph::waitForPads(int padWaitMs)
{
    GstRef<GstBus> bus = m_graph->bus();
    QDeadlineTimer deadline(padWaitMs);
    while (!deadline.hasExpired()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_noMorePads)
                return true;
        }
        GstRef<GstMessage> message(
            gst_bus_timed_pop_filtered(bus.get(), BUS_POLL_MS * GST_MSECOND, GST_MESSAGE_ERROR));
        if (message) {
            qCWarning(lcSources) << "film cannot be opened:" << describe(message.get());
            return false;
        }
    }
    qCWarning(lcSources) << "film streams not known after" << padWaitMs << "ms";
    return false;
}

void FilmGraph::releasePads()
{
    std::vector<std::pair<GstRef<GstPad>, gulong>> held;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_linked = true;
        held.swap(m_held);
    }
    for (auto &entry : held)
        gst_pad_remove_probe(entry.first.get(), entry.second);
}

bool FilmGraph::buildAudioBranch(GstPad *audioPad, const QByteArray &audioOutput)
{
    GstRef<GstElement> output(gst_element_factory_make(audioOutput.constData(), nullptr));
    if (!output || !audioOutputStarts(output.get())) {
        qCInfo(lcSources) << "no audio output starts; the film plays without sound";
        if (output)
            gst_element_set_state(output.get(), GST_STATE_NULL);
        return false;
    }
    // The sound keeps to the clock like the picture; a sink that ran ahead would also drag
    // the graph's position to the end of the film.
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(output.get()), "sync"))
        g_object_set(output.get(), "sync", TRUE, nullptr);
    MediaGraph &g = *m_graph;
    GstElement *convert = g.addElement("audioconvert", "Audio Converter");
    GstElement *resample = g.addElement("audioresample", "Audio Resampler");
    GstElement *volume = g.addElement("volume", "Volume");
    if (!convert || !resample || !volume || !g.addElement(output.get(), "Audio Renderer")
        || !g.connect(audioPad, convert) || !g.connect(convert, resample) || !g.connect(resample, volume)
        || !g.connect(volume, output.get())) {
        qCWarning(lcSources) << "the sound branch cannot be built; the film plays without sound";
        for (GstElement *e : {convert, resample, volume, output.get()}) {
            if (e && GST_OBJECT_PARENT(e) == GST_OBJECT(g.pipeline())) {
                gst_element_set_state(e, GST_STATE_NULL);
                gst_bin_remove(GST_BIN(g.pipeline()), e);
            }
        }
        return false;
    }
    m_volume = volume;
    MediaGraph::setVolume(m_volume, 1.0);
    return true;
}

FilmGraph::Result FilmGraph::build(const QString &path,
                                   const std::shared_ptr<DirectShowTransformFilter> &grabber,
                                   const QByteArray &audioOutput, int padWaitMs)
{
    m_graph = std::make_unique<MediaGraph>("film");
    if (!m_graph->isValid())
        return Result::NoGraph;
    m_source = m_graph->addElement("uridecodebin", "Source Filter");
    GError *error = nullptr;
    gchar *uri = gst_filename_to_uri(QFileInfo(path).absoluteFilePath().toUtf8().constData(), &error);
    if (!m_source || !uri) {
        qCWarning(lcSources) << "no source for" << path << (error ? error->message : "");
        g_clear_error(&error);
        g_free(uri);
        return Result::NoGraph;
    }
    g_object_set(m_source, "uri", uri, nullptr);
    g_free(uri);
    g_signal_connect(m_source, "pad-added", G_CALLBACK(onPadAdded), this);
    g_signal_connect(m_source, "no-more-pads", G_CALLBACK(onNoMorePads), this);
    g_signal_connect(m_source, "autoplug-select", G_CALLBACK(exposeJpeg), nullptr);

    if (!m_graph->pause() || !waitForPads(padWaitMs))
        return Result::Failed;

    GstRef<GstPad> videoPad;
    GstRef<GstPad> audioPad;
    bool jpegVideo = false;
    for (const MediaPad &pad : MediaGraph::pads(m_source)) {
        if (pad.direction != GST_PAD_SRC)
            continue;
        const bool jpeg = capsStartWith(pad.firstCaps, "image/jpeg");
        if (capsStartWith(pad.firstCaps, "video/") || jpeg) {
            videoPad = pad.pad;
            jpegVideo = jpeg;
        } else if (capsStartWith(pad.firstCaps, "audio/"))
            audioPad = pad.pad;
    }
    if (!videoPad) {
        qCInfo(lcSources) << "no video stream in" << path;
        return Result::NoVideo;
    }

    MediaGraph &g = *m_graph;
    GstRef<GstElement> grabberElement = GrabberElement::create(grabber, "Video Grabber");
    GstElement *renderer = g.addElement("fakesink", "Video Renderer");
    if (!grabberElement || !g.addElement(grabberElement.get(), "Video Grabber") || !renderer) {
        qCWarning(lcSources) << "the video branch cannot be built";
        return Result::Failed;
    }
    g_object_set(renderer, "sync", TRUE, nullptr);
    g.connect(grabberElement.get(), renderer);
    if (jpegVideo) {
        // Motion JPEG: the decoder is chosen by the film's first frame.
        JpegDecodeBranch::attach(GST_BIN(g.pipeline()), videoPad.get(), grabberElement.get(), "Video Decoder",
                                 "Video Converter");
    } else {
        // The converter is always there: a decoder's pad may advertise 32-bit RGB in its
        // template and still be unable to give it for this film. A video that cannot reach
        // the grabber is not checked further: the film then runs without delivering frames.
        GstElement *converter = g.addElement("videoconvert", "Video Converter");
        g.connect(videoPad.get(), converter);
        g.connect(converter, grabberElement.get());
    }

    if (audioPad && !buildAudioBranch(audioPad.get(), audioOutput)) {
        GstElement *mute = g.addElement("fakesink", "Audio Renderer");
        if (mute) {
            g_object_set(mute, "sync", TRUE, nullptr);
            g.connect(audioPad.get(), mute);
        }
    }
    gst_bin_sync_children_states(GST_BIN(g.pipeline()));
    releasePads();
    return Result::Opened;
}

#include "sources/film/FilmGraph.h"

#include "common/Logging.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/JpegDecodeBranch.h"
#include "sources/media/MediaGraph.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace {

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

void FilmGraph::onNoMorePads(GstElement *source, gpointer self)
{
    auto *graph = static_cast<FilmGraph *>(self);
    {
        std::lock_guard<std::mutex> lock(graph->m_mutex);
        graph->m_noMorePads = true;
    }
    // The GUI thread links the pads when it takes this from the bus.
    gst_element_post_message(
        source, gst_message_new_application(GST_OBJECT(source), gst_structure_new_empty(PADS_KNOWN)));
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

void FilmGraph::fail(Failure failure, const QString &detail)
{
    if (m_result != Result::Opening)
        return;
    m_result = failure == Failure::NoVideo ? Result::NoVideo
        : failure == Failure::NoGraph      ? Result::NoGraph
                                           : Result::Failed;
    m_failure = failure;
    m_failureDetail = detail;
    qCWarning(lcSources) << "film cannot be opened:" << m_path << detail;
}

QSize FilmGraph::fittedFrame(const QSize &frame, const QSize &limit)
{
    if (!limit.isValid() || limit.isEmpty() || frame.isEmpty()
        || (frame.width() <= limit.width() && frame.height() <= limit.height()))
        return frame;
    const QSize fitted = frame.scaled(limit, Qt::KeepAspectRatio);
    // Even sides suit every video layout's chroma.
    return QSize(std::max(2, fitted.width() & ~1), std::max(2, fitted.height() & ~1));
}

QSize FilmGraph::displaySize(const QSize &frame, int parN, int parD)
{
    if (parN <= 0 || parD <= 0 || parN == parD || frame.isEmpty())
        return frame;
    // Wide pixels widen the picture, narrow ones make it taller: no line of the film is lost.
    // Even sides suit every video layout's chroma.
    if (parN > parD)
        return QSize(std::max(2, int(qRound64(double(frame.width()) * parN / parD)) & ~1), frame.height());
    return QSize(frame.width(), std::max(2, int(qRound64(double(frame.height()) * parD / parN)) & ~1));
}

std::pair<GstElement *, GstElement *> FilmGraph::addScaler()
{
    if (!m_scaledSize.isValid())
        return {nullptr, nullptr};
    MediaGraph &g = *m_graph;
    GstElement *scaler = g.addElement("videoscale", "Video Scaler");
    GstElement *size = g.addElement("capsfilter", "Frame Size");
    if (!scaler || !size) {
        m_scaledSize = QSize();
        return {nullptr, nullptr};
    }
    // Square pixels out: the grabber's pictures carry no pixel shape of their own.
    GstRef<GstCaps> caps(gst_caps_new_simple("video/x-raw", "width", G_TYPE_INT, m_scaledSize.width(),
                                             "height", G_TYPE_INT, m_scaledSize.height(),
                                             "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr));
    g_object_set(size, "caps", caps.get(), nullptr);
    if (!gst_element_link(scaler, size)) {
        m_scaledSize = QSize();
        return {nullptr, nullptr};
    }
    return {scaler, size};
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

FilmGraph::Result FilmGraph::start(const QString &path,
                                   const std::shared_ptr<DirectShowTransformFilter> &grabber,
                                   const QByteArray &audioOutput, const QSize &frameLimit)
{
    m_path = path;
    m_grabber = grabber;
    m_audioOutput = audioOutput;
    m_frameLimit = frameLimit;
    m_result = Result::Opening;
    m_graph = std::make_unique<MediaGraph>("film");
    if (!m_graph->isValid()) {
        fail(Failure::NoGraph, QStringLiteral("no pipeline"));
        return m_result;
    }
    m_source = m_graph->addElement("uridecodebin", "Source Filter");
    GError *error = nullptr;
    gchar *uri = path.startsWith(QLatin1String("file://"))
        ? g_strdup(path.toUtf8().constData())
        : gst_filename_to_uri(QFile::encodeName(QFileInfo(path).absoluteFilePath()).constData(), &error);
    if (!m_source || !uri) {
        fail(Failure::NoGraph,
             QStringLiteral("no source: %1").arg(QString::fromUtf8(error ? error->message : "")));
        g_clear_error(&error);
        g_free(uri);
        return m_result;
    }
    g_object_set(m_source, "uri", uri, nullptr);
    g_free(uri);
    g_signal_connect(m_source, "pad-added", G_CALLBACK(onPadAdded), this);
    g_signal_connect(m_source, "no-more-pads", G_CALLBACK(onNoMorePads), this);
    g_signal_connect(m_source, "autoplug-select", G_CALLBACK(exposeJpeg), nullptr);
    if (!m_graph->pause())
        fail(Failure::Unreadable, QStringLiteral("the pipeline does not start"));
    return m_result;
}

FilmGraph::Result FilmGraph::handle(GstMessage *message)
{
    if (m_result != Result::Opening || !message)
        return m_result;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        GError *error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        Failure failure = Failure::Other;
        if (error && error->domain == GST_RESOURCE_ERROR) {
            failure = Failure::Unreadable;
        } else if (error && error->domain == GST_STREAM_ERROR) {
            switch (error->code) {
            case GST_STREAM_ERROR_TYPE_NOT_FOUND:
            case GST_STREAM_ERROR_WRONG_TYPE:
            case GST_STREAM_ERROR_CODEC_NOT_FOUND:
            case GST_STREAM_ERROR_NOT_IMPLEMENTED:
                failure = Failure::NotAFilm;
                break;
            default:
                failure = Failure::Damaged;
                break;
            }
        } else if (error && error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN) {
            failure = Failure::NotAFilm;
        }
        g_clear_error(&error);
        fail(failure, describe(message));
        return m_result;
    }
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_APPLICATION) {
        const GstStructure *s = gst_message_get_structure(message);
        if (s && gst_structure_has_name(s, PADS_KNOWN) && !m_linked)
            return linkPads();
    }
    return m_result;
}

FilmGraph::Result FilmGraph::poll()
{
    if (m_result != Result::Opening || !m_linked)
        return m_result;
    GstState state = GST_STATE_VOID_PENDING;
    const GstStateChangeReturn r = gst_element_get_state(m_graph->pipeline(), &state, nullptr, 0);
    if (r == GST_STATE_CHANGE_FAILURE)
        fail(Failure::Damaged, QStringLiteral("the film does not start"));
    else if ((r == GST_STATE_CHANGE_SUCCESS || r == GST_STATE_CHANGE_NO_PREROLL) && state >= GST_STATE_PAUSED)
        m_result = Result::Opened;
    return m_result;
}

FilmGraph::Result FilmGraph::linkPads()
{
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
        fail(Failure::NoVideo, QStringLiteral("no video stream"));
        return m_result;
    }

    MediaGraph &g = *m_graph;
    GstRef<GstElement> grabberElement = GrabberElement::create(m_grabber, "Video Grabber");
    GstElement *renderer = g.addElement("fakesink", "Video Renderer");
    if (!grabberElement || !g.addElement(grabberElement.get(), "Video Grabber") || !renderer) {
        fail(Failure::Other, QStringLiteral("the video branch cannot be built"));
        return m_result;
    }
    g_object_set(renderer, "sync", TRUE, nullptr);
    g.connect(grabberElement.get(), renderer);

    // Frames larger than the limit are scaled down before they reach the grabber.
    GstRef<GstCaps> videoCaps(gst_pad_get_current_caps(videoPad.get()));
    if (!videoCaps)
        videoCaps = GstRef<GstCaps>(gst_pad_query_caps(videoPad.get(), nullptr));
    int width = 0, height = 0;
    const GstStructure *vs = videoCaps && gst_caps_get_size(videoCaps.get()) > 0
        ? gst_caps_get_structure(videoCaps.get(), 0)
        : nullptr;
    if (vs && gst_structure_get_int(vs, "width", &width) && gst_structure_get_int(vs, "height", &height)) {
        int parN = 1, parD = 1;
        if (!gst_structure_get_fraction(vs, "pixel-aspect-ratio", &parN, &parD))
            parN = parD = 1;
        const QSize fitted = fittedFrame(displaySize(QSize(width, height), parN, parD), m_frameLimit);
        if (fitted != QSize(width, height)) {
            m_scaledSize = fitted;
            qCInfo(lcSources) << "film frames of" << width << "x" << height << "with pixels of" << parN << ":"
                              << parD << "are scaled to" << fitted;
        }
    }
    const auto scaler = addScaler();
    if (jpegVideo) {
        // Motion JPEG: the decoder is chosen by the film's first frame; the app's own decoder
        // already scales large frames down while it decodes them.
        GstElement *next = grabberElement.get();
        if (scaler.first && gst_element_link(scaler.second, grabberElement.get()))
            next = scaler.first;
        JpegDecodeBranch::attach(GST_BIN(g.pipeline()), videoPad.get(), next, "Video Decoder",
                                 "Video Converter", m_frameLimit.width(), m_frameLimit.height());
    } else {
        // The converter is always there: a decoder's pad may advertise 32-bit RGB in its
        // template and still be unable to give it for this film. A video that cannot reach
        // the grabber does not preroll, and the opening ends without a film.
        GstElement *converter = g.addElement("videoconvert", "Video Converter");
        GstRef<GstPad> scalerInput(scaler.first ? gst_element_get_static_pad(scaler.first, "sink") : nullptr);
        if (scalerInput && gst_pad_link(videoPad.get(), scalerInput.get()) == GST_PAD_LINK_OK) {
            g.connect(scaler.second, converter);
        } else {
            if (scaler.first)
                qCWarning(lcSources) << "the film's frames cannot be scaled";
            g.connect(videoPad.get(), converter);
        }
        g.connect(converter, grabberElement.get());
    }

    if (audioPad && !buildAudioBranch(audioPad.get(), m_audioOutput)) {
        GstElement *mute = g.addElement("fakesink", "Audio Renderer");
        if (mute) {
            g_object_set(mute, "sync", TRUE, nullptr);
            g.connect(audioPad.get(), mute);
        }
    }
    gst_bin_sync_children_states(GST_BIN(g.pipeline()));
    releasePads();
    return m_result;
}

#include "sources/media/MediaGraph.h"

#include "common/Logging.h"

#include <QByteArray>

#include <cstring>

namespace {

bool capsAgree(GstPad *output, GstPad *input)
{
    GstRef<GstCaps> a(gst_pad_query_caps(output, nullptr));
    GstRef<GstCaps> b(gst_pad_query_caps(input, nullptr));
    return a && b && gst_caps_can_intersect(a.get(), b.get());
}

// Converter chains worth trying after a direct connection, by the kind of output.
std::vector<std::vector<const char *>> converterChains(GstPad *output)
{
    std::vector<std::vector<const char *>> chains{{}};
    GstRef<GstCaps> caps(gst_pad_query_caps(output, nullptr));
    if (!caps || gst_caps_is_empty(caps.get()) || gst_caps_is_any(caps.get()))
        return chains;
    const char *name = gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
    if (std::strcmp(name, "video/x-raw") == 0) {
        chains.push_back({"videoconvert"});
        chains.push_back({"videoconvert", "videoscale"});
    } else if (std::strcmp(name, "image/jpeg") == 0) {
        // The decoder's pad claims many formats but it decodes into the picture's own
        // colour space, so a converter always follows it.
        chains.push_back({"jpegdec", "videoconvert"});
    } else if (std::strcmp(name, "audio/x-raw") == 0) {
        chains.push_back({"audioconvert"});
        chains.push_back({"audioconvert", "audioresample"});
    }
    return chains;
}

GstRef<GstPad> requestPad(GstElement *element, GstPadDirection direction)
{
    GstElementClass *klass = GST_ELEMENT_GET_CLASS(element);
    for (GList *l = gst_element_class_get_pad_template_list(klass); l; l = l->next) {
        GstPadTemplate *templ = GST_PAD_TEMPLATE(l->data);
        if (GST_PAD_TEMPLATE_DIRECTION(templ) == direction
            && GST_PAD_TEMPLATE_PRESENCE(templ) == GST_PAD_REQUEST)
            return GstRef<GstPad>(gst_element_request_pad(element, templ, nullptr, nullptr));
    }
    return {};
}

bool isRequestPad(GstPad *pad)
{
    GstPadTemplate *t = gst_pad_get_pad_template(pad);
    const bool request = t && GST_PAD_TEMPLATE_PRESENCE(t) == GST_PAD_REQUEST;
    if (t)
        gst_object_unref(t);
    return request;
}

} // namespace

MediaGraph::MediaGraph(const char *name)
    : m_pipeline(gst_pipeline_new(name))
{
    if (!m_pipeline)
        qCWarning(lcMedia) << "cannot create the pipeline" << name;
}

MediaGraph::~MediaGraph()
{
    if (m_pipeline) {
        gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
        m_pipeline.reset();
    }
}

GstRef<GstBus> MediaGraph::bus() const
{
    return m_pipeline ? GstRef<GstBus>(gst_element_get_bus(m_pipeline.get())) : GstRef<GstBus>();
}

GstElement *MediaGraph::addElement(const char *factory, const char *name)
{
    GstRef<GstElement> made(gst_element_factory_make(factory, nullptr));
    if (!made) {
        qCWarning(lcMedia) << "no element" << factory << "for" << name;
        return nullptr;
    }
    return addElement(made.get(), name) ? made.get() : nullptr;
}

bool MediaGraph::addElement(GstElement *element, const char *name)
{
    if (!m_pipeline || !element)
        return false;
    GstBin *bin = GST_BIN(m_pipeline.get());
    QByteArray unique(name);
    for (int n = 1; n < 10000; ++n) {
        GstElement *taken = gst_bin_get_by_name(bin, unique.constData());
        if (!taken)
            break;
        gst_object_unref(taken);
        unique = QByteArray(name) + ' ' + QByteArray::number(n).rightJustified(4, '0');
    }
    if (!gst_object_set_name(GST_OBJECT(element), unique.constData()) || !gst_bin_add(bin, element)) {
        qCWarning(lcMedia) << "cannot add" << name << "to the graph";
        return false;
    }
    return true;
}

GstElement *MediaGraph::element(const char *name) const
{
    if (!m_pipeline)
        return nullptr;
    // The pipeline keeps the element alive; the caller borrows it.
    GstRef<GstElement> found(gst_bin_get_by_name(GST_BIN(m_pipeline.get()), name));
    return found.get();
}

bool MediaGraph::connect(GstElement *from, GstElement *to)
{
    if (!from || !to)
        return false;
    GstRef<GstPad> output = firstUnlinkedPad(from, GST_PAD_SRC);
    if (!output)
        output = requestPad(from, GST_PAD_SRC);
    if (!output) {
        qCWarning(lcMedia) << "no free output on" << GST_OBJECT_NAME(from);
        return false;
    }
    if (connect(output.get(), to))
        return true;
    if (isRequestPad(output.get()))
        gst_element_release_request_pad(from, output.get());
    return false;
}

bool MediaGraph::connect(GstPad *output, GstElement *to)
{
    if (!m_pipeline || !output || !to)
        return false;
    for (const std::vector<const char *> &chain : converterChains(output)) {
        if (linkThrough(output, chain, to))
            return true;
    }
    qCWarning(lcMedia) << "cannot connect" << GST_OBJECT_NAME(output) << "to" << GST_OBJECT_NAME(to);
    return false;
}

bool MediaGraph::linkThrough(GstPad *output, const std::vector<const char *> &converters, GstElement *to)
{
    GstBin *bin = GST_BIN(m_pipeline.get());
    std::vector<GstElement *> made; // owned by the bin once added
    auto undo = [&]() {
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            gst_element_set_state(*it, GST_STATE_NULL);
            gst_bin_remove(bin, *it); // unlinks its pads too
        }
    };

    GstRef<GstPad> tail = GstRef<GstPad>::borrow(output);
    for (const char *factory : converters) {
        GstElement *converter = gst_element_factory_make(factory, nullptr);
        if (!converter || !gst_bin_add(bin, converter)) {
            if (converter)
                gst_object_unref(converter);
            undo();
            return false;
        }
        made.push_back(converter);
        GstRef<GstPad> in(gst_element_get_static_pad(converter, "sink"));
        if (!capsAgree(tail.get(), in.get()) || gst_pad_link(tail.get(), in.get()) != GST_PAD_LINK_OK) {
            undo();
            return false;
        }
        tail = GstRef<GstPad>(gst_element_get_static_pad(converter, "src"));
    }

    GstRef<GstPad> input = firstUnlinkedPad(to, GST_PAD_SINK);
    if (!input)
        input = GstRef<GstPad>(gst_element_get_compatible_pad(to, tail.get(), nullptr));
    if (!input || !capsAgree(tail.get(), input.get())
        || gst_pad_link(tail.get(), input.get()) != GST_PAD_LINK_OK) {
        if (input && isRequestPad(input.get()))
            gst_element_release_request_pad(to, input.get());
        undo();
        return false;
    }
    // A graph that already runs (pads appearing during playback) takes the converters along.
    for (GstElement *converter : made)
        gst_element_sync_state_with_parent(converter);
    return true;
}

bool MediaGraph::setState(GstState state)
{
    if (!m_pipeline)
        return false;
    const GstStateChangeReturn r = gst_element_set_state(m_pipeline.get(), state);
    if (r == GST_STATE_CHANGE_FAILURE) {
        qCWarning(lcMedia) << "pipeline" << GST_OBJECT_NAME(m_pipeline.get()) << "refused state"
                           << gst_element_state_get_name(state);
        return false;
    }
    return true;
}

bool MediaGraph::run()
{
    return setState(GST_STATE_PLAYING);
}

bool MediaGraph::pause()
{
    return setState(GST_STATE_PAUSED);
}

bool MediaGraph::stop()
{
    return setState(GST_STATE_NULL);
}

GstState MediaGraph::waitForState(int timeoutMs) const
{
    if (!m_pipeline)
        return GST_STATE_VOID_PENDING;
    GstState current = GST_STATE_VOID_PENDING;
    gst_element_get_state(m_pipeline.get(), &current, nullptr,
                          static_cast<GstClockTime>(timeoutMs) * GST_MSECOND);
    return current;
}

bool MediaGraph::seek(qint64 positionNs)
{
    if (!m_pipeline || positionNs < 0)
        return false;
    return gst_element_seek_simple(m_pipeline.get(), GST_FORMAT_TIME,
                                   GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), positionNs);
}

qint64 MediaGraph::duration() const
{
    gint64 ns = -1;
    if (!m_pipeline || !gst_element_query_duration(m_pipeline.get(), GST_FORMAT_TIME, &ns) || ns < 0)
        return -1;
    return ns;
}

qint64 MediaGraph::position() const
{
    gint64 ns = -1;
    if (!m_pipeline || !gst_element_query_position(m_pipeline.get(), GST_FORMAT_TIME, &ns) || ns < 0)
        return -1;
    return ns;
}

bool MediaGraph::setVolume(GstElement *volumeElement, double factor)
{
    if (!volumeElement || !g_object_class_find_property(G_OBJECT_GET_CLASS(volumeElement), "volume"))
        return false;
    g_object_set(volumeElement, "volume", factor, nullptr);
    return true;
}

std::vector<MediaPad> MediaGraph::pads(GstElement *element)
{
    std::vector<MediaPad> result;
    if (!element)
        return result;
    GstRef<GstIterator> it(gst_element_iterate_pads(element));
    GValue item = G_VALUE_INIT;
    bool done = false;
    while (!done) {
        switch (gst_iterator_next(it.get(), &item)) {
        case GST_ITERATOR_OK: {
            GstPad *pad = GST_PAD(g_value_get_object(&item));
            MediaPad entry;
            entry.pad = GstRef<GstPad>::borrow(pad);
            entry.direction = GST_PAD_DIRECTION(pad);
            entry.linked = gst_pad_is_linked(pad);
            GstRef<GstCaps> caps(gst_pad_get_current_caps(pad));
            if (!caps)
                caps = GstRef<GstCaps>(gst_pad_query_caps(pad, nullptr));
            if (caps && !gst_caps_is_empty(caps.get()) && !gst_caps_is_any(caps.get())) {
                entry.firstCaps = GstRef<GstCaps>(gst_caps_copy_nth(caps.get(), 0));
            }
            result.push_back(std::move(entry));
            g_value_reset(&item);
            break;
        }
        case GST_ITERATOR_RESYNC:
            result.clear();
            gst_iterator_resync(it.get());
            break;
        default:
            done = true;
            break;
        }
    }
    g_value_unset(&item);
    return result;
}

GstRef<GstPad> MediaGraph::firstUnlinkedPad(GstElement *element, GstPadDirection direction)
{
    for (MediaPad &entry : pads(element)) {
        if (!entry.linked && entry.direction == direction)
            return std::move(entry.pad);
    }
    return {};
}

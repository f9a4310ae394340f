#include "AviPlaybackCheck.h"

#include "GstRef.h"

#include <QFile>

#include <atomic>

namespace {

struct Demuxed
{
    GstElement *pipeline = nullptr; // not owned
    std::atomic<bool> video{false};
    std::atomic<bool> unlinked{false};
};

// Each stream the demuxer finds ends in a queue and a sink of its own, so that every stream
// can preroll while one thread feeds them all.
void onPadAdded(GstElement *, GstPad *pad, gpointer data)
{
    auto *demuxed = static_cast<Demuxed *>(data);
    GstRef<GstCaps> caps(gst_pad_get_current_caps(pad));
    if (!caps)
        caps = GstRef<GstCaps>(gst_pad_query_caps(pad, nullptr));
    if (caps && gst_caps_get_size(caps.get()) > 0) {
        const gchar *name = gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
        if (g_str_has_prefix(name, "image/") || g_str_has_prefix(name, "video/"))
            demuxed->video.store(true);
    }
    GstElement *queue = gst_element_factory_make("queue", nullptr);
    GstElement *sink = gst_element_factory_make("fakesink", nullptr);
    if (!queue || !sink) {
        demuxed->unlinked.store(true);
        return;
    }
    g_object_set(sink, "sync", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(demuxed->pipeline), queue, sink, nullptr);
    GstRef<GstPad> input(gst_element_get_static_pad(queue, "sink"));
    if (!gst_element_link(queue, sink) || gst_pad_link(pad, input.get()) != GST_PAD_LINK_OK)
        demuxed->unlinked.store(true);
    gst_element_sync_state_with_parent(sink);
    gst_element_sync_state_with_parent(queue);
}

// Waits for the pipeline to settle after a state change or a seek.
bool settle(GstElement *pipeline, GstBus *bus, QString *error)
{
    const gint64 deadline = g_get_monotonic_time() + gint64(AviPlaybackCheck::STEP_BOUND_MS) * 1000;
    for (;;) {
        const gint64 left = deadline - g_get_monotonic_time();
        if (left <= 0) {
            *error = QStringLiteral("the file does not preroll");
            return false;
        }
        GstRef<GstMessage> message(gst_bus_timed_pop_filtered(
            bus, GstClockTime(left) * GST_USECOND, GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR)));
        if (!message)
            continue;
        if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
            GError *gerror = nullptr;
            gst_message_parse_error(message.get(), &gerror, nullptr);
            *error = gerror ? QString::fromUtf8(gerror->message) : QStringLiteral("playback error");
            g_clear_error(&gerror);
            return false;
        }
        if (GST_MESSAGE_SRC(message.get()) == GST_OBJECT(pipeline))
            return true;
    }
}

} // namespace

AviPlaybackCheck::Result AviPlaybackCheck::check(const QString &path)
{
    Result result;
    GstRef<GstElement> pipeline(gst_pipeline_new("recording-check"));
    GstElement *source = gst_element_factory_make("filesrc", nullptr);
    GstElement *demuxer = gst_element_factory_make("avidemux", nullptr);
    if (!pipeline || !source || !demuxer) {
        result.error = QStringLiteral("the demuxer cannot be made");
        return result;
    }
    gst_bin_add_many(GST_BIN(pipeline.get()), source, demuxer, nullptr);
    g_object_set(source, "location", QFile::encodeName(path).constData(), nullptr);
    gst_element_link(source, demuxer);
    Demuxed demuxed;
    demuxed.pipeline = pipeline.get();
    const gulong handler = g_signal_connect(demuxer, "pad-added", G_CALLBACK(onPadAdded), &demuxed);
    GstRef<GstBus> bus(gst_element_get_bus(pipeline.get()));

    const auto done = [&](const QString &error) {
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        g_signal_handler_disconnect(demuxer, handler);
        result.error = error;
        return result;
    };

    QString error;
    if (gst_element_set_state(pipeline.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE
        || !settle(pipeline.get(), bus.get(), &error))
        return done(error.isEmpty() ? QStringLiteral("the file does not open") : error);
    result.hasVideo = demuxed.video.load();
    if (!result.hasVideo)
        return done(QStringLiteral("the file has no video stream"));
    if (demuxed.unlinked.load())
        return done(QStringLiteral("a stream of the file cannot be played"));

    gint64 duration = -1;
    if (!gst_element_query_duration(pipeline.get(), GST_FORMAT_TIME, &duration) || duration <= 0)
        return done(QStringLiteral("the file has no duration"));
    result.seconds = double(duration) / GST_SECOND;

    GstRef<GstQuery> seeking(gst_query_new_seeking(GST_FORMAT_TIME));
    gboolean seekable = FALSE;
    if (gst_element_query(pipeline.get(), seeking.get()))
        gst_query_parse_seeking(seeking.get(), nullptr, &seekable, nullptr, nullptr);
    if (!seekable)
        return done(QStringLiteral("the file is not seekable"));
    const gint64 middle = duration / 2;
    if (!gst_element_seek_simple(pipeline.get(), GST_FORMAT_TIME,
                                 GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT), middle)
        || !settle(pipeline.get(), bus.get(), &error))
        return done(error.isEmpty() ? QStringLiteral("a seek to the middle fails") : error);
    gint64 position = -1;
    if (!gst_element_query_position(pipeline.get(), GST_FORMAT_TIME, &position)
        || std::llabs(position - middle) > gint64(GST_SECOND))
        return done(QStringLiteral("a seek to the middle does not land there"));

    result.playable = true;
    return done(QString());
}

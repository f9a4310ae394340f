#include "sources/media/AviPlaybackCheck.h"

#include "sources/media/GstRef.h"

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
    // The demuxer names its pads by stream type; their caps may follow only after the pad.
    if (g_str_has_prefix(GST_OBJECT_NAME(pad), "video_"))
        demuxed->video.store(true);
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

// The demuxer has made every stream's pad: says so on the bus.
void onNoMorePads(GstElement *demuxer, gpointer)
{
    gst_element_post_message(
        demuxer, gst_message_new_application(GST_OBJECT(demuxer), gst_structure_new_empty("streams-known")));
}

// Waits until the demuxer has read the header and made its pads (the pipeline has no sink
// before, so its state change alone says nothing about the file).
bool streamsKnown(GstBus *bus, QString *error)
{
    GstRef<GstMessage> message(
        gst_bus_timed_pop_filtered(bus, GstClockTime(AviPlaybackCheck::STEP_BOUND_MS) * GST_MSECOND,
                                   GstMessageType(GST_MESSAGE_APPLICATION | GST_MESSAGE_ERROR)));
    if (message && GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_APPLICATION)
        return true;
    if (message) {
        GError *gerror = nullptr;
        gst_message_parse_error(message.get(), &gerror, nullptr);
        *error = gerror ? QString::fromUtf8(gerror->message) : QStringLiteral("the file does not open");
        g_clear_error(&gerror);
    } else {
        *error = QStringLiteral("the file's streams are not found");
    }
    return false;
}

// Waits for the pipeline to settle after a state change or a flushing seek: its state change
// completes, or an error says why not.
bool settle(GstElement *pipeline, GstBus *bus, QString *error)
{
    const GstStateChangeReturn settled = gst_element_get_state(
        pipeline, nullptr, nullptr, GstClockTime(AviPlaybackCheck::STEP_BOUND_MS) * GST_MSECOND);
    if (settled == GST_STATE_CHANGE_SUCCESS || settled == GST_STATE_CHANGE_NO_PREROLL)
        return true;
    GstRef<GstMessage> message(gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR));
    if (message) {
        GError *gerror = nullptr;
        gst_message_parse_error(message.get(), &gerror, nullptr);
        *error = gerror ? QString::fromUtf8(gerror->message) : QStringLiteral("playback error");
        g_clear_error(&gerror);
    } else {
        *error = settled == GST_STATE_CHANGE_ASYNC ? QStringLiteral("the file does not preroll")
                                                   : QStringLiteral("the file does not play");
    }
    return false;
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
    const gulong lastPad = g_signal_connect(demuxer, "no-more-pads", G_CALLBACK(onNoMorePads), nullptr);
    GstRef<GstBus> bus(gst_element_get_bus(pipeline.get()));

    const auto done = [&](const QString &error) {
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        g_signal_handler_disconnect(demuxer, handler);
        g_signal_handler_disconnect(demuxer, lastPad);
        result.error = error;
        return result;
    };

    QString error;
    if (gst_element_set_state(pipeline.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE
        || !streamsKnown(bus.get(), &error) || !settle(pipeline.get(), bus.get(), &error))
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
        return done(QStringLiteral("a seek to %1 s lands at %2 s")
                        .arg(double(middle) / GST_SECOND, 0, 'f', 2)
                        .arg(double(position) / GST_SECOND, 0, 'f', 2));

    result.playable = true;
    return done(QString());
}

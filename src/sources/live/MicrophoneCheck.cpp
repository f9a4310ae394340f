#include "sources/live/MicrophoneCheck.h"

#include "sources/devices/DeviceFilter.h"
#include "sources/media/GstRef.h"

#include <atomic>
#include <memory>

namespace {

using Flag = std::shared_ptr<std::atomic<bool>>;

GstPadProbeReturn onFirstBuffer(GstPad *, GstPadProbeInfo *, gpointer data)
{
    (*static_cast<Flag *>(data))->store(true, std::memory_order_release);
    return GST_PAD_PROBE_REMOVE;
}

} // namespace

QString MicrophoneCheck::check(DeviceFilter *audio, int boundMs)
{
    if (!audio)
        return QStringLiteral("no audio input");
    GstRef<GstElement> pipeline(gst_pipeline_new("microphone check"));
    GstElement *source = audio->createElement();
    GstElement *sink = gst_element_factory_make("fakesink", nullptr);
    if (!source || !sink) {
        if (source)
            gst_object_unref(gst_object_ref_sink(source));
        if (sink)
            gst_object_unref(gst_object_ref_sink(sink));
        return QStringLiteral("its element cannot be made");
    }
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(pipeline.get()), source, sink, nullptr);
    if (!gst_element_link(source, sink))
        return QStringLiteral("it gives no sound the program can take");

    Flag delivered = std::make_shared<std::atomic<bool>>(false);
    GstRef<GstPad> output(gst_element_get_static_pad(source, "src"));
    if (output)
        gst_pad_add_probe(output.get(), GST_PAD_PROBE_TYPE_BUFFER, &onFirstBuffer, new Flag(delivered),
                          [](gpointer data) { delete static_cast<Flag *>(data); });

    QString reason;
    GstRef<GstBus> bus(gst_element_get_bus(pipeline.get()));
    const gint64 deadline = g_get_monotonic_time() + gint64(boundMs) * 1000;
    if (gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        reason = QStringLiteral("it does not start");
    while (reason.isEmpty() && !delivered->load(std::memory_order_acquire)) {
        const gint64 left = deadline - g_get_monotonic_time();
        if (left <= 0) {
            reason = QStringLiteral("it gave no sound within %1 ms").arg(boundMs);
            break;
        }
        GstRef<GstMessage> message(gst_bus_timed_pop_filtered(
            bus.get(), GstClockTime(qMin<gint64>(left, 20000)) * GST_USECOND, GST_MESSAGE_ERROR));
        if (message) {
            GError *error = nullptr;
            gst_message_parse_error(message.get(), &error, nullptr);
            reason = QString::fromUtf8(error ? error->message : "an error");
            g_clear_error(&error);
        }
    }
    // An error can come with the state change's failure: it says more.
    if (reason == QLatin1String("it does not start")) {
        GstRef<GstMessage> message(gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR));
        if (message) {
            GError *error = nullptr;
            gst_message_parse_error(message.get(), &error, nullptr);
            if (error)
                reason = QString::fromUtf8(error->message);
            g_clear_error(&error);
        }
    }
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return reason;
}

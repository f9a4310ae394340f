#include "sources/media/RecordingFinisher.h"

#include "common/Logging.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

std::vector<GstRef<GstPad>> padsOf(GstElement *element, GstPadDirection direction)
{
    std::vector<GstRef<GstPad>> result;
    GST_OBJECT_LOCK(element);
    for (GList *l = element->pads; l; l = l->next) {
        GstPad *pad = GST_PAD(l->data);
        if (GST_PAD_DIRECTION(pad) == direction)
            result.push_back(GstRef<GstPad>::borrow(pad));
    }
    GST_OBJECT_UNLOCK(element);
    return result;
}

bool padIsEos(GstPad *pad)
{
    GST_OBJECT_LOCK(pad);
    const bool eos = GST_PAD_IS_EOS(pad);
    GST_OBJECT_UNLOCK(pad);
    return eos;
}

// Set by a probe on the file writer's input when end-of-stream reaches it.
struct EndSeen
{
    std::mutex mutex;
    std::condition_variable changed;
    bool seen = false;

    static GstPadProbeReturn probe(GstPad *, GstPadProbeInfo *info, gpointer data)
    {
        auto *self = static_cast<std::shared_ptr<EndSeen> *>(data)->get();
        if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_EOS) {
            std::lock_guard<std::mutex> lock(self->mutex);
            self->seen = true;
            self->changed.notify_all();
        }
        return GST_PAD_PROBE_OK;
    }
    bool waitUntil(gint64 deadlineUs)
    {
        std::unique_lock<std::mutex> lock(mutex);
        const gint64 left = deadlineUs - g_get_monotonic_time();
        return changed.wait_for(lock, std::chrono::microseconds(left > 0 ? left : 0),
                                [this] { return seen; });
    }
};

} // namespace

std::vector<GstRef<GstPad>> RecordingFinisher::inputPads(GstElement *element)
{
    return padsOf(element, GST_PAD_SINK);
}

std::vector<GstRef<GstPad>> RecordingFinisher::branchHeads(GstElement *muxer)
{
    std::vector<GstRef<GstPad>> heads;
    for (GstRef<GstPad> &muxInput : inputPads(muxer)) {
        GstRef<GstPad> input = muxInput;
        // A bounded walk: graphs are short, and a loop in a broken graph must not hang us.
        for (int step = 0; step < 64; ++step) {
            GstRef<GstPad> upstream(gst_pad_get_peer(input.get()));
            GstRef<GstElement> element(upstream ? gst_pad_get_parent_element(upstream.get()) : nullptr);
            if (!element)
                break;
            const std::vector<GstRef<GstPad>> inputs = padsOf(element.get(), GST_PAD_SINK);
            const std::size_t outputs = padsOf(element.get(), GST_PAD_SRC).size();
            // A source, a fork (tee) or a merge: the branch begins just below it.
            if (inputs.size() != 1 || outputs > 1)
                break;
            input = inputs.front();
        }
        heads.push_back(input);
    }
    return heads;
}

GstRef<GstElement> RecordingFinisher::fileWriter(GstElement *muxer)
{
    GstRef<GstElement> element = GstRef<GstElement>::borrow(muxer);
    for (int step = 0; step < 16; ++step) {
        const std::vector<GstRef<GstPad>> outputs = padsOf(element.get(), GST_PAD_SRC);
        if (outputs.empty())
            return element;
        GstRef<GstPad> downstream(gst_pad_get_peer(outputs.front().get()));
        GstRef<GstElement> next(downstream ? gst_pad_get_parent_element(downstream.get()) : nullptr);
        if (!next)
            return {};
        element = next;
    }
    return {};
}

bool RecordingFinisher::waitForEnd(GstBus *bus, GstElement *pipeline, GstElement *writer, gint64 deadlineUs)
{
    const auto types = GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ELEMENT | GST_MESSAGE_ERROR);
    for (;;) {
        const gint64 left = deadlineUs - g_get_monotonic_time();
        if (left <= 0)
            return false;
        GstRef<GstMessage> message(
            gst_bus_timed_pop_filtered(bus, static_cast<GstClockTime>(left) * GST_USECOND, types));
        if (!message)
            return false;
        GstMessage *m = message.get();
        switch (GST_MESSAGE_TYPE(m)) {
        case GST_MESSAGE_EOS:
            if (GST_MESSAGE_SRC(m) == GST_OBJECT(pipeline) || GST_MESSAGE_SRC(m) == GST_OBJECT(writer))
                return true;
            break;
        case GST_MESSAGE_ERROR: {
            GError *error = nullptr;
            gst_message_parse_error(m, &error, nullptr);
            qCWarning(lcMedia) << "recording ends with an error from" << GST_MESSAGE_SRC_NAME(m) << ":"
                               << (error ? error->message : "");
            g_clear_error(&error);
            if (GST_MESSAGE_SRC(m) == GST_OBJECT(writer))
                return false;
            break;
        }
        case GST_MESSAGE_ELEMENT: {
            // The pipeline forwards its children's end-of-stream messages while finishing.
            const GstStructure *s = gst_message_get_structure(m);
            if (!s || !gst_structure_has_name(s, "GstBinForwarded"))
                break;
            GstMessage *inner = nullptr;
            gst_structure_get(s, "message", GST_TYPE_MESSAGE, &inner, nullptr);
            GstRef<GstMessage> forwarded(inner);
            if (forwarded && GST_MESSAGE_TYPE(inner) == GST_MESSAGE_EOS
                && GST_MESSAGE_SRC(inner) == GST_OBJECT(writer))
                return true;
            break;
        }
        default:
            break;
        }
    }
}

bool RecordingFinisher::finish(GstElement *pipeline, GstElement *muxer, int boundMs)
{
    if (!pipeline)
        return false;
    GstState state = GST_STATE_VOID_PENDING;
    gst_element_get_state(pipeline, &state, nullptr, 0);
    GstRef<GstElement> writer = muxer ? fileWriter(muxer) : GstRef<GstElement>();
    if (state < GST_STATE_PAUSED || !muxer || !writer) {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        return false;
    }

    bool finished = false;
    const std::vector<GstRef<GstPad>> writerInputs = inputPads(writer.get());
    if (!writerInputs.empty() && padIsEos(writerInputs.front().get())) {
        finished = true; // the stream had already ended by itself
    } else {
        // A paused writer would hold the end of the stream until the graph plays again.
        if (state == GST_STATE_PAUSED)
            gst_element_set_state(pipeline, GST_STATE_PLAYING);
        GstRef<GstBus> bus(gst_element_get_bus(pipeline));
        if (GST_IS_BIN(pipeline))
            g_object_set(pipeline, "message-forward", TRUE, nullptr);
        const gint64 start = g_get_monotonic_time();
        const gint64 half = start + static_cast<gint64>(boundMs) * 500;
        const gint64 end = start + static_cast<gint64>(boundMs) * 1000;

        std::vector<std::thread> senders;
        // Sent into the pad below the branch's source rather than to the source element:
        // an element takes its state lock for a sent event, and a stalled source would then
        // hold up the state change to NULL that has to unblock it.
        for (GstRef<GstPad> &head : branchHeads(muxer))
            senders.emplace_back([head]() { gst_pad_send_event(head.get(), gst_event_new_eos()); });
        finished = waitForEnd(bus.get(), pipeline, writer.get(), half);
        if (!finished) {
            qCInfo(lcMedia) << "recording branch did not end by itself; ending the multiplexer's inputs";
            // One thread per input: an input waiting for its partner holds its stream lock.
            for (GstRef<GstPad> &input : inputPads(muxer)) {
                senders.emplace_back([input]() { gst_pad_send_event(input.get(), gst_event_new_eos()); });
            }
            finished = waitForEnd(bus.get(), pipeline, writer.get(), end);
        }
        gst_element_set_state(pipeline, GST_STATE_NULL);
        for (std::thread &t : senders)
            t.join();
        if (GST_IS_BIN(pipeline))
            g_object_set(pipeline, "message-forward", FALSE, nullptr);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    if (!finished)
        qCWarning(lcMedia) << "recording file was not finished within" << boundMs << "ms";
    return finished;
}

bool RecordingFinisher::finishBranch(GstElement *muxer, int boundMs, const std::function<void()> &stopBranch)
{
    GstRef<GstElement> writer = muxer ? fileWriter(muxer) : GstRef<GstElement>();
    const std::vector<GstRef<GstPad>> writerInputs = writer ? inputPads(writer.get())
                                                            : std::vector<GstRef<GstPad>>();
    if (writerInputs.empty()) {
        stopBranch();
        return false;
    }
    GstPad *writerInput = writerInputs.front().get();
    auto end = std::make_shared<EndSeen>();
    const gulong probe = gst_pad_add_probe(
        writerInput, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &EndSeen::probe, new std::shared_ptr<EndSeen>(end),
        [](gpointer data) { delete static_cast<std::shared_ptr<EndSeen> *>(data); });

    bool finished = padIsEos(writerInput);
    std::vector<std::thread> senders;
    if (!finished) {
        const gint64 start = g_get_monotonic_time();
        const gint64 half = start + static_cast<gint64>(boundMs) * 500;
        const gint64 last = start + static_cast<gint64>(boundMs) * 1000;
        for (GstRef<GstPad> &head : branchHeads(muxer))
            senders.emplace_back([head]() { gst_pad_send_event(head.get(), gst_event_new_eos()); });
        finished = end->waitUntil(half);
        if (!finished) {
            qCInfo(lcMedia) << "record branch did not end by itself; ending the multiplexer's inputs";
            for (GstRef<GstPad> &input : inputPads(muxer))
                senders.emplace_back([input]() { gst_pad_send_event(input.get(), gst_event_new_eos()); });
            finished = end->waitUntil(last);
        }
    }
    // Going to NULL unblocks a sender stuck on a stalled pad.
    stopBranch();
    for (std::thread &t : senders)
        t.join();
    gst_pad_remove_probe(writerInput, probe);
    if (!finished)
        qCWarning(lcMedia) << "recording file was not finished within" << boundMs << "ms";
    return finished;
}

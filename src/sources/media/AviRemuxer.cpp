#include "sources/media/AviRemuxer.h"

#include "common/Logging.h"
#include "sources/media/PositionedIo.h"

#include <QtEndian>

#include <gst/app/gstappsrc.h>
#include <gst/audio/audio.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

using PositionedIo::readAt;

// How long the multiplexer may take no data before the remux counts as failed.
constexpr GstClockTime STALL_LIMIT = 30 * GST_SECOND;
constexpr GstClockTime POLL_INTERVAL = 10 * GST_MSECOND;

quint32 le32(const QByteArray &bytes, int at)
{
    return bytes.size() >= at + 4
        ? qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(bytes.constData() + at))
        : 0;
}

quint16 le16(const QByteArray &bytes, int at)
{
    return bytes.size() >= at + 2
        ? qFromLittleEndian<quint16>(reinterpret_cast<const uchar *>(bytes.constData() + at))
        : 0;
}

// The first error on the bus, if any, within `wait`.
bool busError(GstBus *bus, GstClockTime wait, QString *error)
{
    GstRef<GstMessage> message(gst_bus_timed_pop_filtered(bus, wait, GST_MESSAGE_ERROR));
    if (!message)
        return false;
    GError *gerror = nullptr;
    gst_message_parse_error(message.get(), &gerror, nullptr);
    *error = QStringLiteral("%1: %2").arg(QString::fromUtf8(GST_MESSAGE_SRC_NAME(message.get())),
                                          gerror ? QString::fromUtf8(gerror->message) : QString());
    g_clear_error(&gerror);
    return true;
}

} // namespace

GstRef<GstCaps> AviRemuxer::streamCaps(const AviChunkIndex &index, int stream)
{
    if (stream < 0 || stream >= index.streams().size())
        return {};
    const AviChunkIndex::Stream &s = index.streams()[stream];
    if (s.type == "vids") {
        // BITMAPINFOHEADER: size, width, height, planes, bit count, compression, ...
        const QByteArray compression = s.format.mid(16, 4);
        if (s.format.size() < 20 || s.rate == 0 || s.scale == 0
            || (compression != "MJPG" && !(compression.count('\0') == 4 && s.handler == "MJPG")))
            return {};
        const int width = int(le32(s.format, 4));
        const int height = std::abs(int(le32(s.format, 8)));
        if (width <= 0 || height <= 0)
            return {};
        return GstRef<GstCaps>(gst_caps_new_simple("image/jpeg", "width", G_TYPE_INT, width, "height",
                                                   G_TYPE_INT, height, "framerate", GST_TYPE_FRACTION,
                                                   int(s.rate), int(s.scale), nullptr));
    }
    if (s.type == "auds") {
        // WAVEFORMATEX: format tag, channels, samples per second, bytes per second, block align,
        // bits per sample. 0xFFFE is the extensible form, which the program's audio is not.
        const quint16 tag = le16(s.format, 0);
        const int channels = le16(s.format, 2);
        const int rate = int(le32(s.format, 4));
        const int bits = le16(s.format, 14);
        if (tag != 1 || channels <= 0 || rate <= 0 || index.audioByteRate(stream) == 0)
            return {};
        const char *format = bits == 8 ? "U8"
            : bits == 16               ? "S16LE"
            : bits == 24               ? "S24LE"
            : bits == 32               ? "S32LE"
                                       : nullptr;
        if (!format)
            return {};
        GstCaps *caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, format, "layout",
                                            G_TYPE_STRING, "interleaved", "rate", G_TYPE_INT, rate,
                                            "channels", G_TYPE_INT, channels, nullptr);
        if (channels > 2)
            gst_caps_set_simple(caps, "channel-mask", GST_TYPE_BITMASK,
                                gst_audio_channel_get_fallback_mask(channels), nullptr);
        return GstRef<GstCaps>(caps);
    }
    return {};
}

bool AviRemuxer::remux(int source, const AviChunkIndex &index, int target, const std::atomic<bool> *cancel,
                       QString *error, bool *cancelled)
{
    *cancelled = false;
    GstRef<GstElement> pipeline(gst_pipeline_new("recording-repair"));
    GstElement *muxer = gst_element_factory_make("avimux", nullptr);
    GstElement *writer = gst_element_factory_make("fdsink", nullptr);
    if (!pipeline || !muxer || !writer) {
        *error = QStringLiteral("the multiplexer cannot be made");
        return false;
    }
    gst_bin_add_many(GST_BIN(pipeline.get()), muxer, writer, nullptr);
    g_object_set(writer, "fd", target, "sync", FALSE, nullptr);
    if (!gst_element_link(muxer, writer)) {
        *error = QStringLiteral("the multiplexer does not connect to the writer");
        return false;
    }

    const int streams = index.streams().size();
    std::vector<GstAppSrc *> inputs(std::size_t(streams), nullptr); // owned by the pipeline
    bool hasVideo = false;
    for (int i = 0; i < streams; ++i) {
        GstRef<GstCaps> caps = streamCaps(index, i);
        if (!caps || index.streams()[i].chunks == 0) {
            if (index.streams()[i].chunks > 0)
                qCWarning(lcMedia) << "stream" << i << "of type" << index.streams()[i].type
                                   << "is left out of the repair";
            continue;
        }
        const bool video = index.streams()[i].type == "vids";
        GstElement *input = gst_element_factory_make("appsrc", nullptr);
        if (!input)
            continue;
        gst_bin_add(GST_BIN(pipeline.get()), input);
        g_object_set(input, "format", GST_FORMAT_TIME, "max-bytes", guint64(0), "block", FALSE, "is-live",
                     FALSE, nullptr);
        gst_app_src_set_caps(GST_APP_SRC(input), caps.get());
        GstRef<GstPad> output(gst_element_get_static_pad(input, "src"));
        GstRef<GstPad> muxInput(gst_element_request_pad_simple(muxer, video ? "video_%u" : "audio_%u"));
        if (!muxInput || gst_pad_link(output.get(), muxInput.get()) != GST_PAD_LINK_OK) {
            *error = QStringLiteral("stream %1 does not connect to the multiplexer").arg(i);
            gst_element_set_state(pipeline.get(), GST_STATE_NULL);
            return false;
        }
        inputs[std::size_t(i)] = GST_APP_SRC(input);
        hasVideo = hasVideo || video;
    }
    if (!hasVideo) {
        *error = QStringLiteral("the file has no video stream that can be carried over");
        return false;
    }

    GstRef<GstBus> bus(gst_element_get_bus(pipeline.get()));
    if (gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        *error = QStringLiteral("the repair pipeline does not start");
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        return false;
    }

    std::vector<quint64> sent(std::size_t(streams), 0); // chunks for video, bytes for audio
    bool ok = true;
    for (const AviChunkIndex::Chunk &chunk : index.chunks()) {
        GstAppSrc *input = inputs[chunk.stream];
        if (!input)
            continue;
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            *cancelled = true;
            *error = QStringLiteral("cancelled");
            ok = false;
            break;
        }
        // The multiplexer interleaves by time: a stream ahead of the other waits here.
        GstClockTime waited = 0;
        while (ok && gst_app_src_get_current_level_bytes(input) > guint64(MAX_QUEUED_BYTES)) {
            if (busError(bus.get(), POLL_INTERVAL, error) || (waited += POLL_INTERVAL) > STALL_LIMIT) {
                if (error->isEmpty())
                    *error = QStringLiteral("the multiplexer stopped taking data");
                ok = false;
            }
        }
        if (!ok || busError(bus.get(), 0, error)) {
            ok = false;
            break;
        }

        GstBuffer *buffer = gst_buffer_new_allocate(nullptr, chunk.size, nullptr);
        GstMapInfo map;
        bool read = buffer && gst_buffer_map(buffer, &map, GST_MAP_WRITE);
        if (read) {
            read = readAt(source, chunk.offset, map.data, chunk.size);
            gst_buffer_unmap(buffer, &map);
        }
        if (!read) {
            if (buffer)
                gst_buffer_unref(buffer);
            *error = QStringLiteral("the recording cannot be read at byte %1").arg(chunk.offset);
            ok = false;
            break;
        }
        const AviChunkIndex::Stream &s = index.streams()[int(chunk.stream)];
        quint64 &position = sent[chunk.stream];
        if (s.type == "vids") {
            GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(position, GST_SECOND * s.scale, s.rate);
            GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(GST_SECOND, s.scale, s.rate);
            position += 1;
        } else {
            const quint32 byteRate = index.audioByteRate(int(chunk.stream));
            GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(position, GST_SECOND, byteRate);
            GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(chunk.size, GST_SECOND, byteRate);
            position += chunk.size;
        }
        if (gst_app_src_push_buffer(input, buffer) != GST_FLOW_OK) {
            *error = QStringLiteral("the multiplexer refused a chunk");
            ok = false;
            break;
        }
    }

    if (ok) {
        for (GstAppSrc *input : inputs) {
            if (input)
                gst_app_src_end_of_stream(input);
        }
        // The index and the final header are written at the end of the stream.
        GstRef<GstMessage> message(gst_bus_timed_pop_filtered(
            bus.get(), STALL_LIMIT, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
        if (!message) {
            *error = QStringLiteral("the repaired file was not finished in time");
            ok = false;
        } else if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
            GError *gerror = nullptr;
            gst_message_parse_error(message.get(), &gerror, nullptr);
            *error = gerror ? QString::fromUtf8(gerror->message) : QStringLiteral("the writer failed");
            g_clear_error(&gerror);
            ok = false;
        }
    }
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return ok;
}

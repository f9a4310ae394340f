#include "sources/live/RecordingTimeline.h"

#include <gst/audio/audio.h>

namespace {

using TimelineRef = std::shared_ptr<RecordingTimeline>;

void addProbe(GstPad *pad, GstPadProbeCallback callback, const TimelineRef &timeline)
{
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, callback, new TimelineRef(timeline),
                      [](gpointer data) { delete static_cast<TimelineRef *>(data); });
}

bool segmentOf(GstPad *pad, GstSegment *segment)
{
    GstEvent *event = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
    if (!event)
        return false;
    const GstSegment *sticky = nullptr;
    gst_event_parse_segment(event, &sticky);
    gst_segment_copy_into(sticky, segment);
    gst_event_unref(event);
    return segment->format == GST_FORMAT_TIME;
}

} // namespace

void RecordingTimeline::watchPictures(GstPad *grabberOutput,
                                      const std::shared_ptr<RecordingTimeline> &timeline)
{
    addProbe(grabberOutput, &RecordingTimeline::onPicture, timeline);
}

void RecordingTimeline::alignSound(GstPad *soundOutput, const std::shared_ptr<RecordingTimeline> &timeline)
{
    addProbe(soundOutput, &RecordingTimeline::onSound, timeline);
}

qint64 RecordingTimeline::runningTime(GstPad *pad, GstBuffer *buffer)
{
    GstSegment segment;
    if (!GST_BUFFER_PTS_IS_VALID(buffer) || !segmentOf(pad, &segment))
        return -1;
    const GstClockTime time = gst_segment_to_running_time(&segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
    return GST_CLOCK_TIME_IS_VALID(time) ? qint64(time) : -1;
}

GstClockTime RecordingTimeline::positionAt(GstPad *pad, qint64 ns)
{
    GstSegment segment;
    if (ns < 0 || !segmentOf(pad, &segment))
        return GST_CLOCK_TIME_NONE;
    return gst_segment_position_from_running_time(&segment, GST_FORMAT_TIME, GstClockTime(ns));
}

GstPadProbeReturn RecordingTimeline::onPicture(GstPad *pad, GstPadProbeInfo *info, gpointer data)
{
    RecordingTimeline *timeline = static_cast<TimelineRef *>(data)->get();
    if (timeline->firstPicture.load(std::memory_order_acquire) < 0) {
        const qint64 time = runningTime(pad, GST_PAD_PROBE_INFO_BUFFER(info));
        if (time >= 0)
            timeline->firstPicture.store(time, std::memory_order_release);
    }
    return GST_PAD_PROBE_OK;
}

GstPadProbeReturn RecordingTimeline::onSound(GstPad *pad, GstPadProbeInfo *info, gpointer data)
{
    RecordingTimeline *timeline = static_cast<TimelineRef *>(data)->get();
    if (timeline->firstSound.load(std::memory_order_relaxed) >= 0)
        return GST_PAD_PROBE_OK;
    // Sound before the first picture has nothing to go with.
    const qint64 start = timeline->firstPicture.load(std::memory_order_acquire);
    GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    const qint64 begins = runningTime(pad, buffer);
    if (timeline->soundHeard.load(std::memory_order_relaxed) < 0)
        timeline->soundHeard.store(begins, std::memory_order_release);
    GstAudioInfo format;
    GstCaps *caps = gst_pad_get_current_caps(pad);
    const bool known = caps && gst_audio_info_from_caps(&format, caps) && format.rate > 0 && format.bpf > 0;
    if (caps)
        gst_caps_unref(caps);
    if (start < 0 || begins < 0 || !known)
        return GST_PAD_PROBE_DROP;

    const gsize size = gst_buffer_get_size(buffer);
    const gint64 frames = gint64(size / guint(format.bpf));
    const qint64 ends = begins
        + qint64(gst_util_uint64_scale(guint64(frames), GST_SECOND, guint(format.rate)));
    if (ends <= start)
        return GST_PAD_PROBE_DROP;

    GstBuffer *aligned = nullptr;
    if (begins < start) {
        // Cut the front off, to the sample.
        const guint64 cutFrames = gst_util_uint64_scale_round(guint64(start - begins), guint(format.rate),
                                                              GST_SECOND);
        const gsize cut = gsize(qMin<guint64>(cutFrames, guint64(frames))) * guint(format.bpf);
        aligned = gst_buffer_copy_region(buffer, GST_BUFFER_COPY_ALL, cut, size - cut);
    } else {
        // The microphone started after the picture: silence up to its first sample.
        const guint64 gapFrames = gst_util_uint64_scale_round(guint64(begins - start), guint(format.rate),
                                                              GST_SECOND);
        const gsize gap = gsize(gapFrames) * guint(format.bpf);
        if (gap == 0) {
            timeline->firstSound.store(start, std::memory_order_release);
            return GST_PAD_PROBE_OK;
        }
        aligned = gst_buffer_new_allocate(nullptr, gap, nullptr);
        GstMapInfo map;
        if (gst_buffer_map(aligned, &map, GST_MAP_WRITE)) {
            gst_audio_format_info_fill_silence(format.finfo, map.data, map.size);
            gst_buffer_unmap(aligned, &map);
        }
        aligned = gst_buffer_append(aligned, gst_buffer_ref(buffer));
    }
    GST_BUFFER_PTS(aligned) = positionAt(pad, start);
    GST_BUFFER_DTS(aligned) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DURATION(aligned) = GstClockTime(ends - start);
    GST_BUFFER_FLAG_SET(aligned, GST_BUFFER_FLAG_DISCONT);
    gst_buffer_unref(buffer);
    GST_PAD_PROBE_INFO_DATA(info) = aligned;
    timeline->firstSound.store(start, std::memory_order_release);
    return GST_PAD_PROBE_OK;
}

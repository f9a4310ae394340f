#pragma once

#include "sources/media/GstRef.h"

#include <QtGlobal>

#include <atomic>
#include <memory>

// Where the picture and the sound of one recording start, shared by the record branch's pad
// probes. The first picture the record grabber lets through (once the canvas has published
// its first recording slot) sets the start; the sound is cut to it, or, when the microphone
// starts later, preceded by silence up to it, so that the file's first picture and first
// sample are the same moment. Times are running times of the live pipeline, in ns.
//
// Threads: the picture probe runs on the record branch's video streaming thread, the sound
// probe on the microphone's; they share only the atomics. Reading them is for any thread.
struct RecordingTimeline
{
    std::atomic<qint64> firstPicture{-1};
    std::atomic<qint64> firstSound{-1}; // once the sound's start is written
    std::atomic<qint64> soundHeard{-1}; // the first sound the microphone gave, before the cut

    // Adds the probes; the pad holds a reference on the timeline until the probe goes.
    static void watchPictures(GstPad *grabberOutput, const std::shared_ptr<RecordingTimeline> &timeline);
    static void alignSound(GstPad *soundOutput, const std::shared_ptr<RecordingTimeline> &timeline);

    // The running time of a buffer's start on `pad` (by the pad's segment); -1 when unknown.
    static qint64 runningTime(GstPad *pad, GstBuffer *buffer);
    // A buffer at running time `ns` on `pad`, for a buffer made here.
    static GstClockTime positionAt(GstPad *pad, qint64 ns);

private:
    static GstPadProbeReturn onPicture(GstPad *pad, GstPadProbeInfo *info, gpointer data);
    static GstPadProbeReturn onSound(GstPad *pad, GstPadProbeInfo *info, gpointer data);
};

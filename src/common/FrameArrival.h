#pragma once

#include <QtGlobal>

// When a camera frame entered its decoder, carried to the canvas for measuring how long the
// frame takes from there to the paint that shows it. The decoder, the grabber and the canvas's
// hand-over run on one streaming thread, one call inside the other, so the stamp travels in a
// variable of that thread: the decoder stamps the frame as it enters, and the canvas takes the
// stamp when the decoded frame reaches it. Stamps are taken only while someone measures (each
// observer of frame times counts as one); otherwise a decoder pays one relaxed atomic load per
// frame and stamps nothing.
//
// Threads: any. The count is atomic; the stamp belongs to the calling thread.
class FrameArrival
{
public:
    // The monotonic clock of every frame time, in nanoseconds.
    static qint64 nowNs();

    static void beginMeasuring();
    static void endMeasuring();
    static bool measuring();

    // A frame enters a decoder on the calling thread now (call only while measuring()).
    static void stampEntry();
    // The entry stamp of the frame the calling thread carries, 0 when it has none; cleared.
    static qint64 takeEntry();
};

#pragma once

// Start-up of the media framework: GStreamer itself and the program's own elements.
//
// Threads: call initialize() on the main thread before the first graph is built; the
// program calls it once at start-up and tests call it from initTestCase(). Repeated calls
// are harmless.
class MediaFramework
{
public:
    // Initialises GStreamer and registers the grabber and JPEG decoder elements. False when GStreamer cannot
    // start or the element cannot be registered; the reason goes to the media log.
    static bool initialize();

    // Stops GStreamer's idle worker threads and frees what initialize() set up, for leak
    // checks at the end of a process. Nothing may use GStreamer afterwards, and it cannot be
    // initialised again.
    static void shutdown();
};

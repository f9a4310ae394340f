#pragma once

#include "sources/media/AviChunkIndex.h"
#include "sources/media/GstRef.h"

#include <QString>

#include <atomic>

// Writes the whole chunks of an AVI file, as AviChunkIndex found them, into a fresh AVI file
// through the multiplexer the recordings are made with (appsrc per stream → avimux → fdsink),
// so the result has a true header and an index. Chunks go in file order with the timestamps
// their position gives (frame number over the frame rate, audio bytes over the byte rate).
//
// The chunks are handed over from the calling thread; a stream's queue holds up to
// MAX_QUEUED_BYTES before the feed waits for the multiplexer, and the bus is watched while
// feeding, so a failing writer (a full disk) ends the remux at once instead of blocking it.
//
// Only the streams the program records can be carried: MJPG video and PCM audio. Other
// streams are left out; a file without a video stream that can be carried is refused.
//
// Threads: any thread; remux() blocks until the file is written or has failed.
class AviRemuxer
{
public:
    static constexpr qint64 MAX_QUEUED_BYTES = 64 * 1024 * 1024;

    // `source` and `target` are open descriptors (read; write and seek). `cancel` may be null.
    // False with `error` set when the file could not be written; `cancelled` tells a
    // cancellation apart from a failure.
    static bool remux(int source, const AviChunkIndex &index, int target, const std::atomic<bool> *cancel,
                      QString *error, bool *cancelled);

    // The caps avimux takes for a stream, or null when the stream cannot be carried.
    static GstRef<GstCaps> streamCaps(const AviChunkIndex &index, int stream);
};

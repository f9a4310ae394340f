#pragma once

#include <gst/gst.h>

#include <cstddef>

// One sample passing through the grabber: a writable GstBuffer seen as the block of bytes
// the grabber works on. The buffer is borrowed (the element owns it for the duration of
// one transform); the sample maps it for writing on first use and unmaps it when destroyed.
//
// Threads: used by one thread at a time (the streaming thread of the grabber's pad, or a
// test thread); holds no lock.
class MediaSample
{
public:
    explicit MediaSample(GstBuffer *writableBuffer);
    ~MediaSample();
    MediaSample(const MediaSample &) = delete;
    MediaSample &operator=(const MediaSample &) = delete;

    // The sample's bytes mapped for writing, or nullptr when the buffer cannot be mapped.
    unsigned char *pointer();
    // Bytes of data the sample holds now.
    std::size_t actualDataLength() const;
    // Bytes the sample's own memory can hold: its data plus the room behind it.
    std::size_t size() const;
    // Makes the sample hold count bytes in its own memory; count must not exceed size().
    bool setActualDataLength(std::size_t count);
    // Puts count bytes of fresh memory in place of the sample's memory, for data that does
    // not fit into it. The old contents are gone.
    bool replaceMemory(std::size_t count);

private:
    void unmap();

    GstBuffer *m_buffer;
    GstMapInfo m_map = GST_MAP_INFO_INIT;
    bool m_mapped = false;
};

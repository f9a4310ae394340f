#pragma once

#include <gst/gst.h>

// A GStreamer allocator whose memories are mappings of their own (MappedBlock's primitives):
// the buffer pool of a decoder gives its frame-sized buffers this memory, so that they never
// enter malloc's heaps (see MappedBlock for why that matters over a long run with many graph
// changes). Allocated when the pool fills, returned to the system when the pool goes.
//
// Threads: get() may be called from any thread; the allocator itself is used by GStreamer on
// any thread, like any GstAllocator.
class MappedMemoryAllocator
{
public:
    // The one instance (a new reference; unref it). GStreamer must be initialised.
    static GstAllocator *get();
    // Makes an instance of it GStreamer's default allocator for memories of
    // DEFAULT_SMALLEST_BYTES and more (smaller ones stay system memory): the frame-sized buffers
    // elements allocate without a pool of their own (the camera's frames copied for the record
    // branch, encoders' output) are then mapped too. In malloc's heaps they would land in the
    // heap of whichever streaming thread made them, and each rebuilt graph's threads take those
    // heaps in another order, so every recording left a few more MiB of freed frames resident.
    // Call once, after GStreamer is initialised and before any pipeline is built.
    static void installAsDefault();
    // Where glibc's malloc maps blocks by themselves until its threshold moves up.
    static constexpr gsize DEFAULT_SMALLEST_BYTES = 128 * 1024;
    // Whether `memory` came from it (either instance).
    static bool owns(GstMemory *memory);
};

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
    // Whether `memory` came from it.
    static bool owns(GstMemory *memory);
};

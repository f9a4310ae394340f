#pragma once

#include <gst/gst.h>

// A write (or read) mapping of a buffer, undone when it goes out of scope.
// Threads: used by the one thread that holds the buffer.
class GstBufferMapping
{
public:
    GstBufferMapping(GstBuffer *buffer, GstMapFlags flags)
        : m_buffer(buffer)
        , m_mapped(buffer && gst_buffer_map(buffer, &m_info, flags))
    { }
    ~GstBufferMapping()
    {
        if (m_mapped)
            gst_buffer_unmap(m_buffer, &m_info);
    }
    GstBufferMapping(const GstBufferMapping &) = delete;
    GstBufferMapping &operator=(const GstBufferMapping &) = delete;

    bool isMapped() const { return m_mapped; }
    guint8 *data() const { return m_mapped ? m_info.data : nullptr; }
    gsize size() const { return m_mapped ? m_info.size : 0; }

private:
    GstBuffer *m_buffer;
    GstMapInfo m_info = GST_MAP_INFO_INIT;
    bool m_mapped;
};

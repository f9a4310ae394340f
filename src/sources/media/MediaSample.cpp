#include "sources/media/MediaSample.h"

#include "common/Logging.h"

MediaSample::MediaSample(GstBuffer *writableBuffer)
    : m_buffer(writableBuffer)
{ }

MediaSample::~MediaSample()
{
    unmap();
}

void MediaSample::unmap()
{
    if (m_mapped) {
        gst_buffer_unmap(m_buffer, &m_map);
        m_mapped = false;
    }
}

unsigned char *MediaSample::pointer()
{
    if (!m_buffer)
        return nullptr;
    if (!m_mapped) {
        if (!gst_buffer_is_writable(m_buffer)) {
            qCWarning(lcMedia) << "sample buffer is not writable";
            return nullptr;
        }
        m_mapped = gst_buffer_map(m_buffer, &m_map, GST_MAP_READWRITE);
        if (!m_mapped) {
            qCWarning(lcMedia) << "cannot map a sample buffer of" << gst_buffer_get_size(m_buffer) << "bytes";
            return nullptr;
        }
    }
    return static_cast<unsigned char *>(m_map.data);
}

std::size_t MediaSample::actualDataLength() const
{
    return m_buffer ? gst_buffer_get_size(m_buffer) : 0;
}

std::size_t MediaSample::size() const
{
    if (!m_buffer)
        return 0;
    gsize offset = 0, maxSize = 0;
    const gsize size = gst_buffer_get_sizes(m_buffer, &offset, &maxSize);
    // Growing into the room behind the data is only sound within one block of memory.
    if (gst_buffer_n_memory(m_buffer) != 1)
        return size;
    return maxSize - offset;
}

bool MediaSample::setActualDataLength(std::size_t count)
{
    if (!m_buffer || count > size() || !gst_buffer_is_writable(m_buffer))
        return false;
    unmap();
    gst_buffer_set_size(m_buffer, static_cast<gssize>(count));
    return gst_buffer_get_size(m_buffer) == count;
}

bool MediaSample::replaceMemory(std::size_t count)
{
    if (!m_buffer || count == 0 || !gst_buffer_is_writable(m_buffer))
        return false;
    GstMemory *memory = gst_allocator_alloc(nullptr, count, nullptr);
    if (!memory) {
        qCWarning(lcMedia) << "cannot allocate" << count << "bytes for a sample";
        return false;
    }
    unmap();
    gst_buffer_replace_all_memory(m_buffer, memory);
    return true;
}

#include "sources/media/DirectShowTransformFilter.h"

#include "common/ICaptureCB.h"
#include "common/Logging.h"
#include "sources/media/MediaSample.h"

#include <QDebug>

#include <cstring>

DirectShowTransformFilter::DirectShowTransformFilter(ICaptureCB *sink, int mode)
    : m_sink(sink)
    , m_mode(mode)
{ }

HRESULT DirectShowTransformFilter::CheckInputType(const MediaType &type) const
{
    if (type.majorType != MediaMajorType::Video)
        return VFW_E_TYPE_NOT_ACCEPTED;
    const MediaSubtype wanted = m_mode == MODE_RECORD ? MediaSubtype::MJPG : MediaSubtype::RGB32;
    if (type.subtype != wanted)
        return VFW_E_TYPE_NOT_ACCEPTED;
    const FormatType format = type.formatType();
    if (format != FormatType::VideoInfo && format != FormatType::VideoInfo2)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT DirectShowTransformFilter::SetMediaType(PinDirection direction, const MediaType &type)
{
    Q_UNUSED(direction)
    const BitmapInfoHeader *bmi = nullptr;
    if (const auto *vih = std::get_if<VideoInfoHeader>(&type.format))
        bmi = &vih->bmiHeader;
    else if (const auto *vih2 = std::get_if<VideoInfoHeader2>(&type.format))
        bmi = &vih2->bmiHeader;
    if (bmi) {
        m_width.store(bmi->biWidth, std::memory_order_relaxed);
        m_height.store(bmi->biHeight, std::memory_order_relaxed);
    }
    return S_OK;
}

HRESULT DirectShowTransformFilter::Transform(MediaSample &sample)
{
    if (m_mode == MODE_PREVIEW)
        m_sink->previewFrameSeen.store(true, std::memory_order_release);
    const HRESULT result = m_mode == MODE_RECORD ? transformRecording(sample) : transformFrame(sample);
    if (result == S_OK)
        m_framesPassed.fetch_add(1, std::memory_order_relaxed);
    return result;
}

HRESULT DirectShowTransformFilter::transformFrame(MediaSample &sample)
{
    unsigned char *data = sample.pointer();
    const int w = width();
    const int h = height();
    const std::size_t rowBytes = 4u * static_cast<std::size_t>(w > 0 ? w : 0);
    const std::size_t frameBytes = rowBytes * static_cast<std::size_t>(h > 0 ? h : 0);
    // A frame the negotiated size does not describe would let the sink read past the buffer.
    if (!data || frameBytes == 0 || sample.actualDataLength() < frameBytes) {
        qCWarning(lcMedia) << "frame of" << sample.actualDataLength() << "bytes does not hold" << w << "x"
                           << h << "pixels; passed on without the canvas";
        return S_OK;
    }
    // The decoder leaves the top row unreliable, so it repeats the second one; a frame of a
    // single row has no second row to take.
    if (h >= 2)
        std::memmove(data, data + rowBytes, rowBytes);
    // GStreamer frames are stored top row first.
    m_sink->streamImageCaptured(data, w, h, false, true);
    return S_OK;
}

HRESULT DirectShowTransformFilter::transformRecording(MediaSample &sample)
{
    const int slot = m_sink->recordReadySlot.load(std::memory_order_acquire);
    if (slot != 0 && slot != 1)
        return S_FALSE;
    const unsigned char *jpeg = m_sink->recordBuffer[slot];
    const int bytes = m_sink->recordBytes[slot];
    // Without a whole converted picture there is nothing the recording may hold.
    if (!jpeg || bytes <= 0 || (m_sink->recordBufferSize > 0 && bytes > m_sink->recordBufferSize)) {
        qCWarning(lcMedia) << "recording slot" << slot << "holds no usable picture (" << bytes
                           << "bytes ); sample dropped";
        return S_FALSE;
    }
    const std::size_t count = static_cast<std::size_t>(bytes);
    if (sample.size() >= count) {
        if (!sample.setActualDataLength(count))
            return S_FALSE;
    } else {
        qCDebug(lcTrace) << "original size" << sample.size() << "smale than converted size" << bytes;
        // The camera's own frame must never reach the recording: the converted picture gets
        // memory of its own.
        if (!sample.replaceMemory(count))
            return S_FALSE;
    }
    unsigned char *data = sample.pointer();
    if (!data)
        return S_FALSE;
    std::memcpy(data, jpeg, count);
    return S_OK;
}

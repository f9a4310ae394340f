#include "canvas/RecordingEncoder.h"

#include "common/ICaptureCB.h"
#include "common/Logging.h"

#include <algorithm>
#include <cstring>

RecordingEncoder::Outcome RecordingEncoder::exchange(ICaptureCB &sink, const unsigned char *data, int width,
                                                     int height, bool flip)
{
    if (!sink.recordingActive.load(std::memory_order_acquire)
        || !sink.previewFrameSeen.load(std::memory_order_acquire) || !sink.recordBuffer[0])
        return NotRecording;
    const int slot = sink.recordReadySlot.load(std::memory_order_acquire) == 0 ? 1 : 0;
    if (!sink.recordBuffer[slot])
        return NotRecording;

    const JpegFrameEncoder::Outcome outcome = m_encoder.encode(
        data, width, height, width * 4, flip, QUALITY, std::size_t(std::max(sink.recordBufferSize, 0)));
    if (outcome == JpegFrameEncoder::Outcome::TooLarge) {
        qCWarning(lcCanvas) << "recording frame skipped: its JPEG is larger than the recording slot of"
                            << sink.recordBufferSize << "bytes";
        return TooLarge;
    }
    if (outcome != JpegFrameEncoder::Outcome::Encoded) {
        qCWarning(lcCanvas) << "recording frame could not be encoded";
        return EncodeFailed;
    }
    std::memcpy(sink.recordBuffer[slot], m_encoder.data(), m_encoder.size());
    sink.recordBytes[slot] = int(m_encoder.size());
    sink.recordReadySlot.store(slot, std::memory_order_release);
    return Published;
}

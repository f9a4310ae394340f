#include "canvas/RecordingEncoder.h"

#include "common/ICaptureCB.h"
#include "common/Logging.h"

#include <QBuffer>
#include <QImage>

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

    // Read-only view of the frame: no copy unless the rows must be turned upright.
    const QImage frame(data, width, height, width * 4, QImage::Format_ARGB32);
    const QImage upright = flip ? frame.mirrored(false, true) : frame;
    m_jpeg.resize(0);
    QBuffer out(&m_jpeg);
    out.open(QIODevice::WriteOnly);
    if (!upright.save(&out, "JPG", -1)) {
        qCWarning(lcCanvas) << "recording frame could not be encoded";
        return EncodeFailed;
    }
    if (m_jpeg.size() > sink.recordBufferSize) {
        qCWarning(lcCanvas) << "recording frame of" << m_jpeg.size()
                            << "bytes skipped: the recording slot holds" << sink.recordBufferSize;
        return TooLarge;
    }
    std::memcpy(sink.recordBuffer[slot], m_jpeg.constData(), std::size_t(m_jpeg.size()));
    sink.recordBytes[slot] = m_jpeg.size();
    sink.recordReadySlot.store(slot, std::memory_order_release);
    return Published;
}

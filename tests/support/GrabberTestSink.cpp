#include "GrabberTestSink.h"

#include <QMutexLocker>

#include <cstdlib>
#include <cstring>

GrabberTestSink::~GrabberTestSink()
{
    for (unsigned char *&slot : recordBuffer) {
        std::free(slot);
        slot = nullptr;
    }
}

void GrabberTestSink::imageCaptured(void *, int, int, bool, bool) { }

void GrabberTestSink::stillImageCaptured(QImage *) { }

void GrabberTestSink::streamImageCaptured(void *data, int width, int height, bool flip, bool alpha)
{
    const int rowBytes = width * (alpha ? 4 : 3);
    auto *bytes = static_cast<unsigned char *>(data);
    if (height >= 2 && std::memcmp(bytes, bytes + rowBytes, static_cast<size_t>(rowBytes)) == 0)
        framesWithEqualRows.fetch_add(1);
    if (flip)
        framesFlipped.fetch_add(1);
    if (!alpha)
        framesWithoutAlpha.fetch_add(1);
    lastWidth.store(width);
    lastHeight.store(height);
    {
        QMutexLocker lock(&m_mutex);
        m_lastFrame = QByteArray(reinterpret_cast<const char *>(bytes), rowBytes * height);
    }
    if (writeMarker)
        std::memcpy(bytes, MARKER, sizeof MARKER);
    frames.fetch_add(1);
}

QByteArray GrabberTestSink::lastFrame() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastFrame;
}

void GrabberTestSink::allocateSlots(int capacity)
{
    for (unsigned char *&slot : recordBuffer) {
        std::free(slot);
        slot = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(capacity)));
    }
    recordBufferSize = capacity;
}

int GrabberTestSink::publish(const QByteArray &bytes)
{
    const int slot = recordReadySlot.load(std::memory_order_acquire) == 0 ? 1 : 0;
    std::memcpy(recordBuffer[slot], bytes.constData(), static_cast<size_t>(bytes.size()));
    recordBytes[slot] = bytes.size();
    recordReadySlot.store(slot, std::memory_order_release);
    return slot;
}

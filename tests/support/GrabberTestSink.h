#pragma once

#include "common/ICaptureCB.h"

#include <QByteArray>
#include <QMutex>

#include <atomic>
#include <vector>

// A frame sink for grabber tests. For every streamed frame it records what it was given and
// whether the first row equalled the second, then writes a marker into the first pixel so a
// test can see the sink's changes travel on in the buffer, as the canvas's processed frame
// does. It can also own the two recording slots.
//
// Threads: streamImageCaptured() runs on a streaming thread; the counters are atomic and the
// recorded flags are guarded by m_mutex. Slot set-up runs on the test thread before the
// pipeline starts or while the grabber reads the slot named by recordReadySlot.
class GrabberTestSink : public ICaptureCB
{
public:
    static constexpr unsigned char MARKER[4] = {0x11, 0x22, 0x33, 0x44};

    ~GrabberTestSink() override;

    void imageCaptured(void *data, int width, int height, bool flip, bool alpha) override;
    void stillImageCaptured(QImage *image) override;
    void streamImageCaptured(void *data, int width, int height, bool flip, bool alpha) override;

    // Allocates both slots with capacity bytes each and sets recordBufferSize.
    void allocateSlots(int capacity);
    // Copies bytes into the slot that recordReadySlot does not name and publishes it.
    int publish(const QByteArray &bytes);

    std::atomic<int> frames{0};
    std::atomic<int> framesWithEqualRows{0};
    std::atomic<int> framesFlipped{0};
    std::atomic<int> framesWithoutAlpha{0};
    std::atomic<int> lastWidth{0};
    std::atomic<int> lastHeight{0};
    bool writeMarker = true;

    QByteArray lastFrame() const;

private:
    mutable QMutex m_mutex;
    QByteArray m_lastFrame;
};

#pragma once

#include "common/ICaptureCB.h"

#include <QImage>
#include <QList>
#include <QMutex>
#include <QSize>

#include <atomic>

// A frame sink for source tests: records what the sources hand to the canvas.
// Threads: streamImageCaptured() may run on a streaming thread; the counters it writes are
// atomic and the last frame's size is guarded by m_mutex. Everything else is GUI-thread only.
class TestCaptureSink : public ICaptureCB
{
public:
    void imageCaptured(void *data, int width, int height, bool flip, bool alpha) override;
    void stillImageCaptured(QImage *image) override;
    void streamImageCaptured(void *data, int width, int height, bool flip, bool alpha) override;
    void startAutoRefresh() override;
    void stopAutoRefresh() override;
    void stillImageResampled(QImage *image) override;

    QList<QImage> stills;    // every still picture, copied
    QList<QImage> resampled; // every still handed again at another resolution, copied
    int autoRefreshStarts = 0;
    int autoRefreshStops = 0;
    bool autoRefreshRunning = false;

    std::atomic<int> streamFrames{0};
    std::atomic<bool> lastFlip{true};
    std::atomic<bool> lastAlpha{false};
    QSize lastFrameSize() const;

private:
    mutable QMutex m_mutex;
    QSize m_lastFrameSize;
};

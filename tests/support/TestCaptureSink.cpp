#include "TestCaptureSink.h"

#include <QMutexLocker>

void TestCaptureSink::imageCaptured(void *, int, int, bool, bool) { }

void TestCaptureSink::stillImageCaptured(QImage *image)
{
    stills.append(image ? image->copy() : QImage());
}

void TestCaptureSink::stillImageResampled(QImage *image)
{
    resampled.append(image ? image->copy() : QImage());
}

void TestCaptureSink::streamImageCaptured(void *data, int width, int height, bool flip, bool alpha)
{
    Q_UNUSED(data);
    {
        QMutexLocker lock(&m_mutex);
        m_lastFrameSize = QSize(width, height);
    }
    lastFlip.store(flip);
    lastAlpha.store(alpha);
    streamFrames.fetch_add(1);
}

void TestCaptureSink::startAutoRefresh()
{
    ++autoRefreshStarts;
    autoRefreshRunning = true;
}

void TestCaptureSink::stopAutoRefresh()
{
    ++autoRefreshStops;
    autoRefreshRunning = false;
}

QSize TestCaptureSink::lastFrameSize() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastFrameSize;
}

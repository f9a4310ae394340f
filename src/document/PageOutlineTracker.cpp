#include "document/PageOutlineTracker.h"

#include <QMutexLocker>

#include <algorithm>
#include <opencv2/imgproc.hpp>

PageOutlineTracker::PageOutlineTracker(QObject *parent)
    : QObject(parent)
{
    m_thread.setObjectName(QStringLiteral("page outline"));
    m_worker.moveToThread(&m_thread);
    m_thread.start(QThread::LowPriority);
}

PageOutlineTracker::~PageOutlineTracker()
{
    m_thread.quit();
    m_thread.wait();
}

void PageOutlineTracker::offer(const cv::Mat &frame, std::int64_t ms)
{
    if (frame.empty())
        return;
    QMutexLocker lock(&m_mutex);
    if (m_queued || (m_lastRunMs >= 0 && ms - m_lastRunMs < m_intervalMs && ms >= m_lastRunMs))
        return;
    // Every n-th pixel, about the detector's working size: a fraction of a millisecond.
    const int step = std::max(1, std::max(frame.cols, frame.rows) / PageDetector::kWorkingSize);
    cv::Mat small;
    cv::resize(frame, small, cv::Size(frame.cols / step, frame.rows / step), 0, 0, cv::INTER_NEAREST);
    m_pending = small;
    m_pendingMs = ms;
    m_pendingSize = QSize(frame.cols, frame.rows);
    m_lastRunMs = ms;
    m_queued = true;
    QMetaObject::invokeMethod(
        &m_worker, [this] { work(); }, Qt::QueuedConnection);
}

void PageOutlineTracker::work()
{
    cv::Mat small;
    std::int64_t ms = 0;
    QSize size;
    {
        QMutexLocker lock(&m_mutex);
        small = m_pending;
        m_pending.release();
        ms = m_pendingMs;
        size = m_pendingSize;
        m_queued = false;
    }
    if (small.empty())
        return;
    const std::optional<PageQuad> quad = m_detector.detect(small);
    QPolygonF corners;
    if (quad) {
        const double sx = double(size.width()) / small.cols, sy = double(size.height()) / small.rows;
        for (const cv::Point2f &p : quad->corners)
            corners << QPointF(p.x * sx, p.y * sy);
    }
    emit outlineChanged(corners, size);
    if (m_autoCapture && m_capture.offer(small, ms, [&quad] { return quad.has_value(); }))
        emit captureDue();
}

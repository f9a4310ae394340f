#pragma once

#include "document/AutoCapture.h"
#include "document/PageDetector.h"

#include <QMutex>
#include <QObject>
#include <QPolygonF>
#include <QSize>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <opencv2/core.hpp>

// Follows the page under a live camera: the outline of the page found, several times a second,
// and (when asked) the moment to take it. The streaming thread only hands over a small copy of a
// frame; the finding runs on the tracker's own thread, on the latest copy, at most every
// interval(); copies that arrive while it works replace one another, so a slow finding never
// holds up the live picture.
//
// Threads: made and destroyed on the GUI thread; offer(), setAutoCapture() and setInterval() may
// be called from any thread. The signals are emitted on the tracker's thread: connect them queued
// (the default across threads) to objects of the GUI thread.
class PageOutlineTracker : public QObject
{
    Q_OBJECT

public:
    explicit PageOutlineTracker(QObject *parent = nullptr);
    ~PageOutlineTracker() override;

    // A frame (BGR) of the live picture at `ms` on a steady clock. Cheap: a decimated copy is
    // kept and the tracker's thread woken when it is due.
    void offer(const cv::Mat &frame, std::int64_t ms);
    void setAutoCapture(bool on) { m_autoCapture = on; }
    void setInterval(int ms) { m_intervalMs = ms; }
    int interval() const { return m_intervalMs; }

signals:
    // The page's corners in the offered frame's pixels (top left first, clockwise); empty when
    // no page is found.
    void outlineChanged(const QPolygonF &corners, const QSize &frameSize);
    // Auto-capture: the page has changed and stayed still; the caller takes its current frame.
    void captureDue();

private:
    void work();

    QThread m_thread;
    QObject m_worker; // lives on m_thread; work() runs in its context

    QMutex m_mutex; // guards the pending copy and its bookkeeping
    cv::Mat m_pending;
    std::int64_t m_pendingMs = 0;
    QSize m_pendingSize;
    bool m_queued = false;
    std::int64_t m_lastRunMs = -1;

    std::atomic<bool> m_autoCapture{false};
    std::atomic<int> m_intervalMs{150};

    // The tracker thread's own.
    PageDetector m_detector;
    AutoCapture m_capture;
};

#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>

// Measuring seam of the live path: how long a camera frame takes from the grabber's hand-over
// to the canvas until a paint shows it. While an observer is set, the canvas stamps each raw
// frame as it arrives (the stamp travels with the frame in its slot), remembers the stamp of
// the frame it last processed, and reports that frame once, at the end of the first paint that
// shows it. Frames that are processed but overtaken before a paint are not reported. Without
// an observer nothing is stamped or reported: the cost is one relaxed atomic load per frame.
//
// Threads: setObserver() runs on the GUI thread. stamp() may run on any thread (the capture
// thread calls it). processed() runs with the canvas lock held on the thread that processes
// the frame; painted() runs on the GUI thread with the canvas lock held and calls the observer
// there, so the observer must not call back into the canvas. The shown stamp is guarded by the
// canvas lock; the enabled flag is atomic; the observer is touched on the GUI thread only.
class FramePaintTiming
{
public:
    // Arrival and paint times in nanoseconds of the monotonic clock nowNs() reads.
    using Observer = std::function<void(qint64 arrivalNs, qint64 paintedNs)>;

    static qint64 nowNs();

    // An empty observer switches the timing off.
    void setObserver(Observer observer);
    // The arrival stamp of a frame arriving now; 0 while switched off.
    qint64 stamp() const { return m_enabled.load(std::memory_order_relaxed) ? nowNs() : 0; }
    // The frame with this stamp (0: none, e.g. a still picture) is the one now shown.
    void processed(qint64 arrivalNs) { m_shownArrivalNs = arrivalNs; }
    // A paint finished: reports the shown frame if it has not been reported yet.
    void painted();

private:
    std::atomic<bool> m_enabled{false};
    Observer m_observer;
    qint64 m_shownArrivalNs = 0;
};

#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>

// Measuring seam of the live path: how long a camera frame takes from the moment it entered
// its decoder, and from the grabber's hand-over to the canvas, until a paint shows it. While an
// observer is set, decoders stamp the frames they take (common/FrameArrival) and the canvas
// stamps each raw frame as it arrives, taking over the decoder's stamp (both travel with the
// frame in its slot); it remembers the stamps of the frame it last processed and reports that
// frame once, at the end of the first paint that shows it. Frames that are processed but
// overtaken before a paint are not reported. Without an observer nothing is stamped or
// reported: the cost is one relaxed atomic load per frame in the decoder and one in the canvas.
//
// Threads: setObserver() runs on the GUI thread. stamp() may run on any thread (the capture
// thread calls it). processed() runs with the canvas lock held on the thread that processes
// the frame; painted() runs on the GUI thread with the canvas lock held and calls the observer
// there, so the observer must not call back into the canvas. The shown stamps are guarded by
// the canvas lock; the enabled flag is atomic; the observer is touched on the GUI thread only.
class FramePaintTiming
{
public:
    // Times in nanoseconds of the monotonic clock nowNs() reads; 0 where unknown.
    struct Stamp
    {
        qint64 decoderNs = 0; // the frame entered its decoder (0: no decoder stamped it)
        qint64 arrivalNs = 0; // the grabber handed it to the canvas
    };
    struct Report
    {
        qint64 decoderNs = 0;
        qint64 arrivalNs = 0;
        qint64 paintedNs = 0; // the end of the first paint that showed it
    };
    using Observer = std::function<void(const Report &)>;

    FramePaintTiming() = default;
    ~FramePaintTiming();
    FramePaintTiming(const FramePaintTiming &) = delete;
    FramePaintTiming &operator=(const FramePaintTiming &) = delete;

    static qint64 nowNs();

    // An empty observer switches the timing off.
    void setObserver(Observer observer);
    // The stamps of a frame arriving now on the calling thread; zeros while switched off.
    Stamp stamp() const { return m_enabled.load(std::memory_order_relaxed) ? takeStamp() : Stamp(); }
    // The frame with these stamps (zeros: none, e.g. a still picture) is the one now shown.
    void processed(const Stamp &stamp) { m_shown = stamp; }
    // A paint finished: reports the shown frame if it has not been reported yet.
    void painted();

private:
    static Stamp takeStamp();

    std::atomic<bool> m_enabled{false};
    Observer m_observer;
    Stamp m_shown;
};

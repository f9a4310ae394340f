#pragma once

#include "sources/media/HResult.h"
#include "sources/media/MediaType.h"

#include <QtGlobal>

#include <atomic>

class ICaptureCB;
class MediaSample;

// The program's frame grabber inside every media graph. In the live preview and film graphs
// it hands each decoded 32-bit frame to the canvas; in the live recording graph it replaces
// each compressed camera frame on its way to the multiplexer with the JPEG of the frame the
// canvas processed, so a recording holds what the canvas shows.
//
// The filter is the grabber's logic only; GrabberElement hosts it in a GStreamer pipeline as
// an in-place transform (the sample that arrives is the sample that leaves). The creating
// source and the element each hold a std::shared_ptr to it.
//
// Threads: CheckInputType() and SetMediaType() run on whichever thread negotiates the
// element's caps; Transform() runs on the element's streaming thread. Width and height are
// atomic because they are written by negotiation and read by Transform() and by the GUI
// thread; the count of passed samples is atomic (written by Transform(), read by the GUI
// thread). The mode and the sink never change. The recording exchange with the sink is
// lock-free: recordReadySlot is loaded with acquire before the slot it names is read.
class DirectShowTransformFilter
{
public:
    enum GrabberMode { MODE_PREVIEW = 0, MODE_RECORD = 1, MODE_FILM = 2 };

    DirectShowTransformFilter(ICaptureCB *sink, int mode);
    DirectShowTransformFilter(const DirectShowTransformFilter &) = delete;
    DirectShowTransformFilter &operator=(const DirectShowTransformFilter &) = delete;

    // Video, MJPG in record mode or RGB32 otherwise, with either video information header.
    HRESULT CheckInputType(const MediaType &type) const;
    // Takes width and height from the type's video information header, if it has one.
    HRESULT SetMediaType(PinDirection direction, const MediaType &type);
    // S_OK passes the sample on, S_FALSE drops it.
    HRESULT Transform(MediaSample &sample);

    int mode() const { return m_mode; }
    ICaptureCB *sink() const { return m_sink; }
    // Samples passed on so far (S_OK): in record mode, the frames the file received.
    quint64 framesPassed() const { return m_framesPassed.load(std::memory_order_relaxed); }
    int width() const { return m_width.load(std::memory_order_relaxed); }
    int height() const { return m_height.load(std::memory_order_relaxed); }

private:
    HRESULT transformFrame(MediaSample &sample);
    HRESULT transformRecording(MediaSample &sample);

    ICaptureCB *const m_sink;
    const int m_mode;
    std::atomic<int> m_width{0};
    std::atomic<int> m_height{0};
    std::atomic<quint64> m_framesPassed{0};
};

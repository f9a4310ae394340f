#pragma once

#include <atomic>
#include <cstdint>

class QImage;

// One raw frame slot of a canvas. The block is always allocated at 4 bytes per pixel
// (allocWidth x allocHeight x 4) whatever `alpha` says; a frame uses (alpha ? 4 : 3) x width
// x height bytes of it.
struct STREAM_FRAME_DATA
{
    unsigned char *buffer = nullptr; // malloc/free, rows packed, top row first as stored
    int width = 0;
    int height = 0;
    int allocWidth = 0;
    int allocHeight = 0;
    bool flip = false;          // rows stored bottom-up
    bool alpha = false;         // 4-byte B, G, R, A pixels; otherwise 3-byte R, G, B
    std::int64_t arrivalNs = 0; // when the frame arrived, while FramePaintTiming is on; else 0
    std::int64_t decoderNs = 0; // when it entered its decoder, likewise (0: not stamped)
};

// The frame sink the media sources call, followed by the recording exchange shared between
// the canvas and the record-mode grabber.
//
// Threads: streamImageCaptured() is called on a media streaming thread; every other
// operation on the GUI thread. The recording exchange is lock-free: the live source
// allocates recordBuffer[] and sets recordBufferSize before it raises recordingActive
// (release); the canvas fills the slot that recordReadySlot does not name, sets its
// recordBytes, then publishes it with a release store of recordReadySlot; the record grabber
// acquires recordReadySlot before reading that slot.
class ICaptureCB
{
public:
    static constexpr int NO_RECORD_SLOT = 65535;

    virtual ~ICaptureCB() = default;

    virtual void imageCaptured(void *data, int width, int height, bool flip, bool alpha) = 0;
    virtual void stillImageCaptured(QImage *image) = 0;
    virtual void streamImageCaptured(void *data, int width, int height, bool flip, bool alpha) = 0;
    virtual void startAutoRefresh() { }
    virtual void stopAutoRefresh() { }
    // The still picture shown last, once more at another resolution (more detail for a zoomed
    // view, or less again): the view keeps its place on the picture and the drawings theirs.
    // A sink that does not tell the two apart takes it as a new still.
    virtual void stillImageResampled(QImage *image) { stillImageCaptured(image); }

    unsigned char *recordBuffer[2] = {nullptr, nullptr};
    int recordBytes[2] = {0, 0};
    std::atomic<int> recordReadySlot{NO_RECORD_SLOT};
    std::atomic<bool> recordingActive{false};
    std::atomic<bool> previewFrameSeen{false};
    // Capacity in bytes of each recording slot; a JPEG that does not fit is not published.
    int recordBufferSize = 0;
};

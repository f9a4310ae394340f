#pragma once

#include "common/ICaptureCB.h"

#include <atomic>
#include <cstddef>
#include <functional>

// The double buffer of raw frames between the capture thread and the GUI thread, with the
// handover state.
//
// Threads: the slot fields and pixels are written only by the capture thread (the caller of
// ImageCanvas::streamImageCaptured). The GUI thread reads the back slot only after it has
// seen `pending` set, and the capture thread writes the back slot only after it has seen
// `frameProcessState` == FPS_IDLE and `pending` clear. frontIndex is written by the GUI
// thread at the end of processing, before it returns to FPS_IDLE. The three handover fields
// are sequentially consistent atomics: besides the release/acquire pairs of the handover,
// the GUI thread's "set busy, then look at pending" and the capture thread's "look at the
// state, then at pending" must not be reordered against each other.
class FrameSlots
{
public:
    enum FrameProcessState { FPS_IDLE = 0, FPS_BUSY = 1 };
    using Allocator = std::function<void *(std::size_t)>;

    FrameSlots() = default;
    ~FrameSlots(); // frees both blocks
    FrameSlots(const FrameSlots &) = delete;
    FrameSlots &operator=(const FrameSlots &) = delete;

    STREAM_FRAME_DATA &slot(int index) { return m_slots[index & 1]; }

    // Makes a slot fit a frame: reallocates only when the frame is larger than the block (a
    // block is never shrunk), always records the frame's size, flip and alpha. Returns false
    // when the slot is left without a block (allocation failure, impossible size, null slot).
    static bool adjStreamFrameData(STREAM_FRAME_DATA *pSFD, int width, int height, bool flip, bool alpha,
                                   const Allocator &allocate);
    // Bytes a frame of this size and layout occupies; 0 for sizes that cannot be held.
    static std::size_t frameBytes(int width, int height, bool alpha);

    std::atomic<int> frontIndex{0};
    std::atomic<int> frameProcessState{FPS_IDLE};
    std::atomic<bool> pending{false};

private:
    STREAM_FRAME_DATA m_slots[2];
};

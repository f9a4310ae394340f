#pragma once

#include "canvas/JpegFrameEncoder.h"

class ICaptureCB;

// Step 14 of the frame processing: while the live source records, each processed frame is
// encoded as JPEG into the recording slot that the record grabber is not reading, and then
// published through ICaptureCB::recordReadySlot.
//
// The JPEG has the quality the toolkit's writer gives by default (75). The encoder and its
// buffer are kept from frame to frame, so a recording allocates nothing per frame.
//
// Threads: called by the canvas inside its frame processing (canvas lock held), so one
// thread at a time.
class RecordingEncoder
{
public:
    enum Outcome { NotRecording, Published, TooLarge, EncodeFailed };

    // `data` holds the processed frame: width x height pixels of 4 bytes (B, G, R, A), rows
    // bottom-up when `flip` is set. A JPEG larger than ICaptureCB::recordBufferSize is not
    // written and the previous picture stays published.
    Outcome exchange(ICaptureCB &sink, const unsigned char *data, int width, int height, bool flip);

    static constexpr int QUALITY = 75;

private:
    JpegFrameEncoder m_encoder;
};

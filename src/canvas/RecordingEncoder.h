#pragma once

#include <QByteArray>

class ICaptureCB;

// Step 14 of the frame processing: while the live source records, each processed frame is
// encoded as JPEG into the recording slot that the record grabber is not reading, and then
// published through ICaptureCB::recordReadySlot.
//
// Threads: called by the canvas inside its frame processing (canvas lock held), so one
// thread at a time; the encoded bytes are kept between frames to avoid reallocating.
class RecordingEncoder
{
public:
    enum Outcome { NotRecording, Published, TooLarge, EncodeFailed };

    // `data` holds the processed frame: width x height pixels of 4 bytes (B, G, R, A), rows
    // bottom-up when `flip` is set. A JPEG larger than ICaptureCB::recordBufferSize is not
    // written and the previous picture stays published.
    Outcome exchange(ICaptureCB &sink, const unsigned char *data, int width, int height, bool flip);

private:
    QByteArray m_jpeg;
};

#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <memory>

struct JpegDecodeSession;

// Decodes JPEG frames straight into 32-bit BGRx rows, the layout the grabber and the canvas
// take, with libjpeg-turbo. One decompressor serves every frame, and the memory libjpeg asks
// for per picture comes from an arena the decoder keeps: after the first frame of a size,
// decoding allocates nothing.
//
// It takes what cameras send: sequential frames in one scan (baseline or extended Huffman,
// or arithmetic coding), 8-bit samples, YCbCr with any chroma subsampling, greyscale or RGB.
// Progressive and multi-scan frames, CMYK/YCCK and 12-bit samples are left to other decoders;
// inspect() tells them apart before the first frame is decoded. Chroma is replicated, not
// interpolated, and the inverse DCT is the fast integer one: the picture jpegdec followed by
// videoconvert gives for 4:2:0 frames, up to the rounding of the colour conversion.
//
// A frame libjpeg warns about (premature end, corrupt entropy data, a missing restart marker)
// is corrupt: the rows written until then are not a picture, and the caller must not pass
// them on. The one warning tolerated is about extraneous bytes before a marker: many cameras
// pad their frames that way while the picture itself is whole.
//
// Threads: one thread at a time (the decoder element's streaming thread).
class JpegFrameDecoder
{
public:
    enum class Outcome {
        Decoded,     // the whole picture is in the rows
        Unreadable,  // no JPEG header could be read
        Unsupported, // a JPEG this decoder leaves to others
        WrongSize,   // a picture of another size than the rows given
        Corrupt,     // the picture data is damaged or cut short
    };

    struct Header
    {
        Outcome outcome = Outcome::Unreadable; // Decoded: decode() takes frames like this one
        int width = 0;
        int height = 0;
        QByteArray description; // e.g. "baseline YCbCr 4:2:2", or why it is not taken
    };

    JpegFrameDecoder();
    ~JpegFrameDecoder();
    JpegFrameDecoder(const JpegFrameDecoder &) = delete;
    JpegFrameDecoder &operator=(const JpegFrameDecoder &) = delete;

    // Reads the frame's header only.
    Header inspect(const uint8_t *jpeg, size_t size);

    // Decodes one frame into `height` rows of `width` BGRx pixels, `stride` bytes apart. With
    // `scaleEighths` below 8 the picture is scaled to that many eighths of each side while it
    // is decoded (libjpeg's own scaling, rounded up), and `width` x `height` is the scaled size.
    Outcome decode(const uint8_t *jpeg, size_t size, uint8_t *bgrx, int stride, int width, int height,
                   int scaleEighths = 8);

    // The eighths (1 to 8) a picture of `width` x `height` is decoded at so that it is no
    // larger than it must be to cover its fit into `box` (keeping its aspect ratio); 8 when it
    // fits the box as it is or the box is empty.
    static int scaleToCover(int width, int height, int boxWidth, int boxHeight);
    // The size a side of `length` pixels is decoded at with `eighths`.
    static int scaledLength(int length, int eighths) { return int((qint64(length) * eighths + 7) / 8); }

    // libjpeg's words for the last failure, and how many frames carried tolerated padding.
    QByteArray lastMessage() const;
    int paddedFrames() const;

private:
    std::unique_ptr<JpegDecodeSession> m_session;
};

#pragma once

#include <QtGlobal>

#include <cstddef>
#include <memory>

struct JpegEncodeSession;

// Encodes frames of 4-byte pixels (B, G, R and a fourth byte that is ignored) as baseline JPEG
// with libjpeg-turbo, which reads that layout as it is. One compressor serves every frame, the
// memory libjpeg asks for per picture comes from a JpegMemoryArena, and the JPEG is written into
// a buffer the encoder keeps: after the first frames of a size, encoding allocates nothing.
// Quality, sampling (4:2:0) and the JFIF header (96 dots per inch) are those the toolkit's own
// JPEG writer gives a picture.
//
// Threads: one thread at a time.
class JpegFrameEncoder
{
public:
    enum class Outcome {
        Encoded,
        TooLarge, // the JPEG would pass the limit given
        Failed,   // libjpeg refused (no memory, impossible size)
    };

    JpegFrameEncoder();
    ~JpegFrameEncoder();
    JpegFrameEncoder(const JpegFrameEncoder &) = delete;
    JpegFrameEncoder &operator=(const JpegFrameEncoder &) = delete;

    // Encodes `height` rows of `width` pixels, `stride` bytes apart, the top row first unless
    // `bottomUp`, at `quality` (1 to 100). The JPEG may take at most `limit` bytes. On Encoded,
    // data() and size() hold it until the next call.
    Outcome encode(const uchar *pixels, int width, int height, int stride, bool bottomUp, int quality,
                   std::size_t limit);
    const uchar *data() const;
    std::size_t size() const;

private:
    std::unique_ptr<JpegEncodeSession> m_session;
};

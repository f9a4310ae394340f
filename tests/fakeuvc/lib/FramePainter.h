#pragma once

#include "FrameCode.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fakeuvc {

// Paints the camera's frames: a still "document" with the band of FrameCode.h on top and a
// bar that moves from frame to frame.
//
// MJPEG frames are real baseline JPEG files (4:2:2 as USB cameras send them) put together
// from pieces encoded once: the encoder restarts at every row of blocks, so a row of the
// still picture, a row of the bar and the rows of the band (encoded anew for every frame,
// a few ms even at 3264 pixels wide) can be spliced with the restart markers renumbered.
// That keeps 8-megapixel frames cheap enough for two shared cores.
//
// Threads: used by one stream thread at a time; holds no shared state.
class FramePainter
{
public:
    FramePainter(uint32_t fourcc, int width, int height, bool huffmanTables);

    bool isValid() const { return m_valid; }
    uint32_t fourcc() const { return m_fourcc; }
    int width() const { return m_layout.width; }
    int height() const { return m_layout.height; }

    // Writes frame `sequence` to `dst`; the bytes used, or 0 when it does not fit.
    size_t paint(uint32_t sequence, uint8_t *dst, size_t capacity);

private:
    struct Rgb
    {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> pixels;
        Rgb(int w, int h)
            : width(w)
            , height(h)
            , pixels(size_t(w) * h * 3)
        { }
        void fill(int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b);
    };
    struct Jpeg
    {
        std::vector<uint8_t> header;                 // SOI up to and including the scan header
        std::vector<uint8_t> data;                   // entropy-coded data, restart markers removed
        std::vector<std::pair<size_t, size_t>> rows; // [begin, end) in data per row of blocks
    };

    void paintBackground(Rgb &image) const;
    void paintBand(Rgb &band, uint32_t sequence) const;
    static bool encode(const Rgb &image, std::vector<uint8_t> *jpeg);
    bool split(const std::vector<uint8_t> &jpeg, Jpeg *out) const;
    size_t paintMjpeg(uint32_t sequence, uint8_t *dst, size_t capacity);
    size_t paintYuyv(uint32_t sequence, uint8_t *dst, size_t capacity);
    static void toYuyv(const uint8_t *rgb, uint8_t *yuyv, int pixels);

    uint32_t m_fourcc;
    FrameLayout m_layout;
    bool m_huffmanTables;
    bool m_valid = false;
    Jpeg m_background;
    Jpeg m_barRow;
    std::vector<uint8_t> m_yuyvBackground;
    std::vector<uint8_t> m_yuyvBar; // one row of pixels
    std::vector<uint8_t> m_scratch;
};

} // namespace fakeuvc

#pragma once

#include <algorithm>
#include <cstdint>

// Where the fake camera draws on its pictures, shared by the painter and the tests that read
// pictures back. Every frame has a band at the top with the frame's sequence number twice:
// as seven-segment digits for a person and as a row of black (1) and white (0) blocks, most
// significant bit first, followed by the guard blocks 1 0 1 0. Below the band a horizontal
// bar moves down the picture from frame to frame. Everything is aligned to the 8-pixel rows
// of the JPEG blocks, so a decoder reads the code back exactly.
namespace fakeuvc {

struct FrameLayout
{
    int width = 0;
    int height = 0;
    int scale = 1;      // 1 for 640 wide pictures, up to 3 for large ones
    int bandHeight = 0; // pixels, a multiple of 8

    static constexpr int kCodeBits = 32;
    static constexpr int kGuardBlocks = 4;

    explicit FrameLayout(int w, int h)
        : width(w)
        , height(h)
        , scale(std::clamp(w / 640, 1, 3))
        , bandHeight(std::min(80 * std::clamp(w / 640, 1, 3), h - h % 8))
    { }

    int digitLeft(int index) const { return 8 * scale + index * 24 * scale; }
    int digitTop() const { return 6 * scale; }
    int digitWidth() const { return 18 * scale; }
    int digitHeight() const { return 36 * scale; }
    int stroke() const { return 4 * scale; }

    int codeTop() const { return 50 * scale; }
    int codeHeight() const { return 24 * scale; }
    int blockLeft(int index) const { return 8 * scale + index * 16 * scale; }
    int blockWidth() const { return 16 * scale; }

    int barHeight() const { return std::min(32 * scale, height - bandHeight); }
    // Top of the moving bar in the given frame, on an 8-pixel row below the band.
    int barTop(uint32_t sequence) const
    {
        const int rows = (height - bandHeight - barHeight()) / 8 + 1;
        if (rows <= 1)
            return bandHeight;
        const int step = std::max(1, rows / 60);
        return bandHeight + int((uint64_t(sequence) * step) % uint64_t(rows)) * 8;
    }
};

// Reads the sequence number back from a decoded picture. `luma(x, y)` gives 0..255 at a pixel
// of the picture as it is, which may be scaled from the camera's frame of `frameWidth` x
// `frameHeight`. False when the guard blocks are not where they belong.
template<class Luma>
bool readFrameCode(int frameWidth, int frameHeight, int imageWidth, int imageHeight, Luma luma,
                   uint32_t *sequence)
{
    const FrameLayout layout(frameWidth, frameHeight);
    const double sx = double(imageWidth) / frameWidth;
    const double sy = double(imageHeight) / frameHeight;
    auto blockIsBlack = [&](int index) {
        const double x = (layout.blockLeft(index) + layout.blockWidth() / 2.0) * sx;
        const double y = (layout.codeTop() + layout.codeHeight() / 2.0) * sy;
        return luma(int(x), int(y)) < 128;
    };
    for (int g = 0; g < FrameLayout::kGuardBlocks; ++g) {
        if (blockIsBlack(FrameLayout::kCodeBits + g) != (g % 2 == 0))
            return false;
    }
    uint32_t value = 0;
    for (int bit = 0; bit < FrameLayout::kCodeBits; ++bit)
        value = (value << 1) | (blockIsBlack(bit) ? 1u : 0u);
    *sequence = value;
    return true;
}

} // namespace fakeuvc

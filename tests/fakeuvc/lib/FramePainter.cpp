#include "FramePainter.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>

namespace fakeuvc {

namespace {

struct ErrorManager
{
    jpeg_error_mgr base;
    jmp_buf jump;
};

void onJpegError(j_common_ptr cinfo)
{
    longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}

void onJpegMessage(j_common_ptr) { }

constexpr uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

} // namespace

void FramePainter::Rgb::fill(int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    const int x0 = std::max(0, x);
    const int y0 = std::max(0, y);
    const int x1 = std::min(width, x + w);
    const int y1 = std::min(height, y + h);
    for (int row = y0; row < y1; ++row) {
        uint8_t *p = &pixels[(size_t(row) * width + x0) * 3];
        for (int col = x0; col < x1; ++col) {
            *p++ = r;
            *p++ = g;
            *p++ = b;
        }
    }
}

FramePainter::FramePainter(uint32_t fourcc, int width, int height, bool huffmanTables)
    : m_fourcc(fourcc)
    , m_layout(width, height)
    , m_huffmanTables(huffmanTables)
{
    Rgb background(width, height);
    paintBackground(background);
    if (fourcc == V4L2_PIX_FMT_MJPEG) {
        Rgb bar(width, 8);
        bar.fill(0, 0, width, 8, 40, 90, 200);
        std::vector<uint8_t> jpeg;
        m_valid = encode(background, &jpeg) && split(jpeg, &m_background)
            && m_background.rows.size() == size_t((height + 7) / 8) && encode(bar, &jpeg)
            && split(jpeg, &m_barRow) && m_barRow.rows.size() == 1;
    } else if (fourcc == V4L2_PIX_FMT_YUYV && width % 2 == 0) {
        m_yuyvBackground.resize(size_t(width) * height * 2);
        toYuyv(background.pixels.data(), m_yuyvBackground.data(), width * height);
        Rgb bar(width, 1);
        bar.fill(0, 0, width, 1, 40, 90, 200);
        m_yuyvBar.resize(size_t(width) * 2);
        toYuyv(bar.pixels.data(), m_yuyvBar.data(), width);
        m_valid = true;
    }
}

void FramePainter::paintBackground(Rgb &image) const
{
    const FrameLayout &l = m_layout;
    const int s = l.scale;
    image.fill(0, 0, image.width, image.height, 236, 234, 226);
    for (int x = 0; x < image.width; x += 64 * s)
        image.fill(x, l.bandHeight, s, image.height, 205, 203, 195);
    for (int y = l.bandHeight; y < image.height; y += 64 * s)
        image.fill(0, y, image.width, s, 205, 203, 195);
    // Lines of "text" on the page, the same on every frame.
    uint32_t seed = 12345;
    for (int y = l.bandHeight + 40 * s; y + 10 * s < image.height - 60 * s; y += 24 * s) {
        seed = seed * 1103515245u + 12345u;
        const int length = image.width / 3 + int((seed >> 8) % uint32_t(image.width / 3));
        image.fill(40 * s, y, length, 8 * s, 60, 60, 72);
    }
    const uint8_t swatches[4][3] = {{200, 30, 30}, {30, 160, 60}, {30, 60, 200}, {230, 200, 30}};
    for (int i = 0; i < 4; ++i) {
        image.fill(image.width - (4 - i) * 56 * s - 8 * s, image.height - 64 * s, 48 * s, 48 * s,
                   swatches[i][0], swatches[i][1], swatches[i][2]);
    }
    image.fill(0, l.bandHeight, image.width, 2 * s, 40, 40, 40);
}

void FramePainter::paintBand(Rgb &band, uint32_t sequence) const
{
    const FrameLayout &l = m_layout;
    band.fill(0, 0, band.width, band.height, 250, 250, 250);
    uint32_t value = sequence % 100000000u;
    for (int i = 7; i >= 0; --i) {
        const uint8_t segments = kSegments[value % 10];
        value /= 10;
        const int x = l.digitLeft(i);
        const int y = l.digitTop();
        const int w = l.digitWidth();
        const int h = l.digitHeight();
        const int t = l.stroke();
        const int rects[7][4] = {{x, y, w, t},
                                 {x + w - t, y, t, h / 2},
                                 {x + w - t, y + h / 2, t, h / 2},
                                 {x, y + h - t, w, t},
                                 {x, y + h / 2, t, h / 2},
                                 {x, y, t, h / 2},
                                 {x, y + h / 2 - t / 2, w, t}};
        for (int seg = 0; seg < 7; ++seg) {
            if (segments & (1 << seg))
                band.fill(rects[seg][0], rects[seg][1], rects[seg][2], rects[seg][3], 20, 20, 20);
        }
    }
    for (int i = 0; i < FrameLayout::kCodeBits + FrameLayout::kGuardBlocks; ++i) {
        const bool black = i < FrameLayout::kCodeBits
            ? ((sequence >> (FrameLayout::kCodeBits - 1 - i)) & 1u) != 0
            : (i - FrameLayout::kCodeBits) % 2 == 0;
        const uint8_t c = black ? 0 : 255;
        band.fill(l.blockLeft(i), l.codeTop(), l.blockWidth(), l.codeHeight(), c, c, c);
    }
}

bool FramePainter::encode(const Rgb &image, std::vector<uint8_t> *jpeg)
{
    jpeg_compress_struct cinfo;
    ErrorManager error;
    unsigned char *memory = nullptr;
    unsigned long memorySize = 0;
    cinfo.err = jpeg_std_error(&error.base);
    error.base.error_exit = onJpegError;
    error.base.output_message = onJpegMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &memory, &memorySize);
    cinfo.image_width = JDIMENSION(image.width);
    cinfo.image_height = JDIMENSION(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    // 4:2:2 like the cameras' own encoders; one restart interval per row of blocks.
    cinfo.comp_info[0].h_samp_factor = 2;
    cinfo.comp_info[0].v_samp_factor = 1;
    cinfo.comp_info[1].h_samp_factor = cinfo.comp_info[1].v_samp_factor = 1;
    cinfo.comp_info[2].h_samp_factor = cinfo.comp_info[2].v_samp_factor = 1;
    cinfo.restart_in_rows = 1;
    cinfo.optimize_coding = FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPLE *>(&image.pixels[size_t(cinfo.next_scanline) * image.width * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg->assign(memory, memory + memorySize);
    jpeg_destroy_compress(&cinfo);
    free(memory);
    return true;
}

bool FramePainter::split(const std::vector<uint8_t> &jpeg, Jpeg *out) const
{
    const size_t n = jpeg.size();
    if (n < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8)
        return false;
    out->header.assign({0xFF, 0xD8});
    out->data.clear();
    out->rows.clear();
    size_t at = 2;
    size_t scan = 0;
    while (at + 4 <= n) {
        if (jpeg[at] != 0xFF)
            return false;
        const uint8_t marker = jpeg[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const size_t end = at + 2 + (size_t(jpeg[at + 2]) << 8 | jpeg[at + 3]);
        if (end > n)
            return false;
        if (marker != 0xC4 || m_huffmanTables)
            out->header.insert(out->header.end(), jpeg.begin() + long(at), jpeg.begin() + long(end));
        at = end;
        if (marker == 0xDA) {
            scan = end;
            break;
        }
    }
    if (scan == 0)
        return false;
    size_t rowStart = 0;
    for (at = scan; at < n;) {
        const uint8_t b = jpeg[at];
        if (b != 0xFF) {
            out->data.push_back(b);
            ++at;
            continue;
        }
        if (at + 1 >= n)
            return false;
        const uint8_t next = jpeg[at + 1];
        if (next == 0x00) {
            out->data.push_back(0xFF);
            out->data.push_back(0x00);
            at += 2;
        } else if (next >= 0xD0 && next <= 0xD7) {
            out->rows.emplace_back(rowStart, out->data.size());
            rowStart = out->data.size();
            at += 2;
        } else if (next == 0xD9) {
            out->rows.emplace_back(rowStart, out->data.size());
            return true;
        } else if (next == 0xFF) {
            ++at;
        } else {
            return false;
        }
    }
    return false;
}

size_t FramePainter::paint(uint32_t sequence, uint8_t *dst, size_t capacity)
{
    if (!m_valid)
        return 0;
    return m_fourcc == V4L2_PIX_FMT_MJPEG ? paintMjpeg(sequence, dst, capacity)
                                          : paintYuyv(sequence, dst, capacity);
}

size_t FramePainter::paintMjpeg(uint32_t sequence, uint8_t *dst, size_t capacity)
{
    const FrameLayout &l = m_layout;
    Rgb band(l.width, l.bandHeight);
    paintBand(band, sequence);
    std::vector<uint8_t> encoded;
    Jpeg bandJpeg;
    if (!encode(band, &encoded) || !split(encoded, &bandJpeg))
        return 0;
    const size_t bandRows = bandJpeg.rows.size();
    const int barTop = l.barTop(sequence);
    const int barBottom = barTop + l.barHeight();

    size_t used = 0;
    auto put = [&](const uint8_t *p, size_t count) {
        if (used + count > capacity)
            return false;
        memcpy(dst + used, p, count);
        used += count;
        return true;
    };
    if (!put(m_background.header.data(), m_background.header.size()))
        return 0;
    const size_t rows = m_background.rows.size();
    for (size_t r = 0; r < rows; ++r) {
        const Jpeg *piece = &m_background;
        size_t pieceRow = r;
        const int y = int(r) * 8;
        if (r < bandRows) {
            piece = &bandJpeg;
        } else if (y >= barTop && y < barBottom) {
            piece = &m_barRow;
            pieceRow = 0;
        }
        const auto &span = piece->rows[pieceRow];
        if (!put(piece->data.data() + span.first, span.second - span.first))
            return 0;
        const uint8_t marker[2] = {0xFF, uint8_t(r + 1 < rows ? 0xD0 + (r & 7) : 0xD9)};
        if (!put(marker, 2))
            return 0;
    }
    return used;
}

size_t FramePainter::paintYuyv(uint32_t sequence, uint8_t *dst, size_t capacity)
{
    const FrameLayout &l = m_layout;
    const size_t stride = size_t(l.width) * 2;
    const size_t total = stride * l.height;
    if (capacity < total)
        return 0;
    memcpy(dst, m_yuyvBackground.data(), total);
    Rgb band(l.width, l.bandHeight);
    paintBand(band, sequence);
    toYuyv(band.pixels.data(), dst, l.width * l.bandHeight);
    const int barTop = l.barTop(sequence);
    for (int y = barTop; y < barTop + l.barHeight() && y < l.height; ++y)
        memcpy(dst + stride * size_t(y), m_yuyvBar.data(), stride);
    return total;
}

void FramePainter::toYuyv(const uint8_t *rgb, uint8_t *yuyv, int pixels)
{
    // BT.601, limited range, chroma averaged over each pair of pixels.
    for (int i = 0; i + 1 < pixels; i += 2, rgb += 6, yuyv += 4) {
        const int r0 = rgb[0], g0 = rgb[1], b0 = rgb[2];
        const int r1 = rgb[3], g1 = rgb[4], b1 = rgb[5];
        const int r = (r0 + r1) / 2, g = (g0 + g1) / 2, b = (b0 + b1) / 2;
        yuyv[0] = uint8_t(((66 * r0 + 129 * g0 + 25 * b0 + 128) >> 8) + 16);
        yuyv[1] = uint8_t(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
        yuyv[2] = uint8_t(((66 * r1 + 129 * g1 + 25 * b1 + 128) >> 8) + 16);
        yuyv[3] = uint8_t(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
    }
}

} // namespace fakeuvc

#include "canvas/ImageEffects.h"

#include "canvas/CanvasTypes.h"
#include "canvas/PixelRows.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// 4 for the 32-bit layouts, 3 for R, G, B; 0 for anything the effects do not handle.
int pixelBytes(const QImage &picture)
{
    switch (picture.format()) {
    case QImage::Format_ARGB32:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return 4;
    case QImage::Format_RGB888:
        return 3;
    default:
        return 0;
    }
}

// One row of a mask: the pixels [visibleFrom, visibleTo) show, the others turn black: opaque
// black when `opaqueBlack` (a painter's fill), otherwise bytes 0, 1 and 2 become 0 and the
// fourth byte stays. `in` is copied into `out` where it shows unless they are the same row.
void maskRow(const uchar *in, uchar *out, int width, int bpp, int visibleFrom, int visibleTo,
             bool opaqueBlack)
{
    visibleFrom = std::max(0, std::min(visibleFrom, width));
    visibleTo = std::max(visibleFrom, std::min(visibleTo, width));
    auto black = [&](int x0, int x1) {
        if (x1 <= x0)
            return;
        if (bpp == 3)
            std::memset(out + x0 * 3, 0, std::size_t(x1 - x0) * 3);
        else if (opaqueBlack)
            std::fill_n(reinterpret_cast<quint32 *>(out) + x0, x1 - x0, PixelRows::ALPHA);
        else
            PixelRows::keepBits(reinterpret_cast<const quint32 *>(in) + x0,
                                reinterpret_cast<quint32 *>(out) + x0, x1 - x0, PixelRows::ALPHA);
    };
    black(0, visibleFrom);
    if (in != out && visibleTo > visibleFrom)
        std::memcpy(out + visibleFrom * bpp, in + visibleFrom * bpp,
                    std::size_t(visibleTo - visibleFrom) * bpp);
    black(visibleTo, width);
}

} // namespace

bool ImageEffects::changesPicture(int effect)
{
    return effect == EFFECT_BW || effect == EFFECT_NEGATIVE || effect == EFFECT_MOSAIC;
}

bool ImageEffects::masks(int mask)
{
    return mask == MASK_CIRCLE || mask == MASK_RECTANGLE || mask == MASK_LEFT || mask == MASK_TOP;
}

void ImageEffects::applyEffect(QImage &picture, int effect)
{
    applyEffect(picture, picture, effect);
}

void ImageEffects::applyEffect(const QImage &source, QImage &target, int effect)
{
    const int bpp = pixelBytes(source);
    if (bpp == 0 || source.isNull() || !changesPicture(effect))
        return;
    if (&source != &target && (target.size() != source.size() || target.format() != source.format()))
        return;
    switch (effect) {
    case EFFECT_BW:
        blackWhite(source, target, bpp);
        break;
    case EFFECT_NEGATIVE:
        negative(source, target, bpp);
        break;
    case EFFECT_MOSAIC:
        mosaic(source, target, bpp);
        break;
    default:
        break;
    }
}

void ImageEffects::applyMask(QImage &picture, int mask)
{
    applyMask(picture, picture, mask);
}

void ImageEffects::applyMask(const QImage &source, QImage &target, int mask)
{
    const int bpp = pixelBytes(source);
    if (bpp == 0 || source.isNull() || !masks(mask))
        return;
    const bool copy = &source != &target;
    if (copy && (target.size() != source.size() || target.format() != source.format()))
        return;
    const int cw = source.width();
    const int ch = source.height();
    const int cx = cw / 2;
    const int cy = ch / 2;
    // Circle: radius t around (cw / 2, ch / 2), edge included.
    const int t = int(std::min(cw, ch) * 0.48);
    const qint64 t2 = qint64(t) * t;
    // Rectangle: a window of half-sizes hw x hh around the same centre.
    const int hw = int(cw * 0.3);
    const int hh = int(ch * 0.3);
    for (int y = 0; y < ch; ++y) {
        // Target row first: when target is source, its scanLine() must not detach later.
        uchar *out = target.scanLine(y);
        const uchar *in = copy ? source.constScanLine(y) : out;
        switch (mask) {
        case MASK_CIRCLE: {
            const qint64 dy = cy - y;
            const qint64 room = t2 - dy * dy;
            if (room < 0) {
                maskRow(in, out, cw, bpp, 0, 0, false);
                break;
            }
            // Largest k with k * k <= room: the pixels with |cx - x| <= k stay visible.
            qint64 k = qint64(std::sqrt(double(room)));
            while (k * k > room)
                --k;
            while ((k + 1) * (k + 1) <= room)
                ++k;
            const int first = int(std::max<qint64>(0, cx - k));
            const int last = int(std::min<qint64>(cw - 1, cx + k));
            maskRow(in, out, cw, bpp, first, last + 1, false);
            break;
        }
        case MASK_RECTANGLE:
            if (std::abs(y - cy) > hh)
                maskRow(in, out, cw, bpp, 0, 0, false);
            else
                maskRow(in, out, cw, bpp, std::max(0, cx - hw), std::min(cw - 1, cx + hw) + 1, false);
            break;
        case MASK_LEFT:
            maskRow(in, out, cw, bpp, cw / 2, cw, true);
            break;
        case MASK_TOP:
            maskRow(in, out, cw, bpp, y < ch / 2 ? cw : 0, cw, true);
            break;
        default:
            break;
        }
    }
}

void ImageEffects::blackWhite(const QImage &source, QImage &target, int bpp)
{
    const int w = source.width();
    const int h = source.height();
    for (int y = 0; y < h; ++y) {
        // Target row first: when target is source, its scanLine() must not detach later.
        uchar *out = target.scanLine(y);
        const uchar *in = source.constScanLine(y);
        if (bpp == 4) {
            const auto *p = reinterpret_cast<const quint32 *>(in);
            auto *q = reinterpret_cast<quint32 *>(out);
            int x = 0;
#ifdef __SSE2__
            // g = (5 b0 + 9 b1 + 2 b2) >> 4 on four pixels at once, in 32-bit lanes.
            const __m128i low = _mm_set1_epi32(0xff);
            const __m128i alphaMask = _mm_set1_epi32(int(0xff000000u));
            for (; x + 4 <= w; x += 4) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + x));
                const __m128i b0 = _mm_and_si128(v, low);
                const __m128i b1 = _mm_and_si128(_mm_srli_epi32(v, 8), low);
                const __m128i b2 = _mm_and_si128(_mm_srli_epi32(v, 16), low);
                __m128i g = _mm_add_epi32(_mm_add_epi32(_mm_slli_epi32(b0, 2), b0),
                                          _mm_add_epi32(_mm_slli_epi32(b1, 3), b1));
                g = _mm_srli_epi32(_mm_add_epi32(g, _mm_slli_epi32(b2, 1)), 4);
                const __m128i grey = _mm_or_si128(_mm_or_si128(g, _mm_slli_epi32(g, 8)),
                                                  _mm_slli_epi32(g, 16));
                _mm_storeu_si128(reinterpret_cast<__m128i *>(q + x),
                                 _mm_or_si128(_mm_and_si128(v, alphaMask), grey));
            }
#endif
            for (; x < w; ++x) {
                const quint32 v = p[x];
                const quint32 g = (5 * (v & 0xff) + 9 * ((v >> 8) & 0xff) + 2 * ((v >> 16) & 0xff)) >> 4;
                q[x] = (v & 0xff000000u) | (g * 0x010101u);
            }
        } else {
            for (int x = 0; x < w; ++x) {
                const uchar *a = in + x * 3;
                uchar *b = out + x * 3;
                const uchar g = uchar((5 * a[0] + 9 * a[1] + 2 * a[2]) >> 4);
                b[0] = b[1] = b[2] = g;
            }
        }
    }
}

void ImageEffects::negative(const QImage &source, QImage &target, int bpp)
{
    const int w = source.width();
    const int h = source.height();
    for (int y = 0; y < h; ++y) {
        uchar *out = target.scanLine(y);
        const uchar *in = source.constScanLine(y);
        if (bpp == 4) {
            const auto *p = reinterpret_cast<const quint32 *>(in);
            auto *q = reinterpret_cast<quint32 *>(out);
            for (int x = 0; x < w; ++x)
                q[x] = p[x] ^ 0x00ffffffu;
        } else {
            // Every byte of a 3-byte row is a colour byte.
            for (int i = 0; i < w * 3; ++i)
                out[i] = uchar(~in[i]);
        }
    }
}

void ImageEffects::mosaic(const QImage &source, QImage &target, int bpp)
{
    constexpr int BLOCK = 8;
    const int w = source.width();
    const int h = source.height();
    const int blocks = (w + BLOCK - 1) / BLOCK;
    // 4-byte rows sum and fill their whole blocks eight pixels at a time; the last, narrower
    // block of a row and 3-byte rows go pixel by pixel. The work lists stay with the thread, so
    // that frame after frame of one size allocates nothing.
    const int octets = bpp == 4 ? w / BLOCK : 0;
    thread_local std::vector<quint16> lanes;
    thread_local std::vector<quint32> sums;
    thread_local std::vector<quint32> colours;
    lanes.resize(size_t(octets) * 8);
    sums.resize(size_t(blocks) * 3);
    colours.resize(size_t(blocks));
    for (int y0 = 0; y0 < h; y0 += BLOCK) {
        const int bh = std::min(BLOCK, h - y0);
        std::fill(lanes.begin(), lanes.end(), quint16(0));
        std::fill(sums.begin(), sums.end(), 0u);
        for (int y = y0; y < y0 + bh; ++y) {
            const uchar *row = source.constScanLine(y);
            PixelRows::addOctetSums(reinterpret_cast<const quint32 *>(row), octets, lanes.data());
            for (int b = octets; b < blocks; ++b) {
                const int x0 = b * BLOCK;
                const int x1 = std::min(x0 + BLOCK, w);
                quint32 *s = &sums[size_t(b) * 3];
                for (const uchar *q = row + x0 * bpp; q < row + x1 * bpp; q += bpp) {
                    s[0] += q[0];
                    s[1] += q[1];
                    s[2] += q[2];
                }
            }
        }
        for (int b = 0; b < blocks; ++b) {
            quint32 *s = &sums[size_t(b) * 3];
            if (b < octets) {
                const quint16 *lane = &lanes[size_t(b) * 8];
                for (int c = 0; c < 3; ++c)
                    s[c] = quint32(lane[c]) + lane[4 + c];
            }
            const quint32 n = quint32(std::min(BLOCK, w - b * BLOCK) * bh);
            colours[size_t(b)] = s[0] / n | (s[1] / n) << 8 | (s[2] / n) << 16;
        }
        for (int y = y0; y < y0 + bh; ++y) {
            uchar *out = target.scanLine(y);
            const uchar *in = source.constScanLine(y);
            // Colour bytes from the block, fourth byte from the pixel itself.
            PixelRows::coloursKeepingAlpha(reinterpret_cast<const quint32 *>(in),
                                           reinterpret_cast<quint32 *>(out), octets, colours.data());
            for (int b = octets; b < blocks; ++b) {
                const int x0 = b * BLOCK;
                const int x1 = std::min(x0 + BLOCK, w);
                const quint32 colour = colours[size_t(b)];
                if (bpp == 4) {
                    PixelRows::keepBits(reinterpret_cast<const quint32 *>(in) + x0,
                                        reinterpret_cast<quint32 *>(out) + x0, x1 - x0, PixelRows::ALPHA);
                    for (int x = x0; x < x1; ++x)
                        reinterpret_cast<quint32 *>(out)[x] |= colour;
                } else {
                    for (int x = x0; x < x1; ++x) {
                        out[x * 3] = uchar(colour);
                        out[x * 3 + 1] = uchar(colour >> 8);
                        out[x * 3 + 2] = uchar(colour >> 16);
                    }
                }
            }
        }
    }
}

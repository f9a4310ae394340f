#include "ImageEffects.h"

#include "CanvasTypes.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

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

// Sets bytes 0, 1 and 2 of the pixels [x0, x1) of a row to 0; the fourth byte stays.
inline void blackenSpan(uchar *row, int x0, int x1, int bpp)
{
    if (x1 <= x0)
        return;
    if (bpp == 4) {
        auto *p = reinterpret_cast<quint32 *>(row);
        for (int x = x0; x < x1; ++x)
            p[x] &= 0xff000000u;
    } else {
        std::memset(row + x0 * 3, 0, size_t(x1 - x0) * 3);
    }
}

// Opaque black over the pixels [x0, x1) of a row.
inline void fillBlackSpan(uchar *row, int x0, int x1, int bpp)
{
    if (x1 <= x0)
        return;
    if (bpp == 4)
        std::fill_n(reinterpret_cast<quint32 *>(row) + x0, x1 - x0, 0xff000000u);
    else
        std::memset(row + x0 * 3, 0, size_t(x1 - x0) * 3);
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
    const int bpp = pixelBytes(picture);
    if (bpp == 0 || picture.isNull() || !changesPicture(effect))
        return;
    switch (effect) {
    case EFFECT_BW:
        blackWhite(picture, bpp);
        break;
    case EFFECT_NEGATIVE:
        negative(picture, bpp);
        break;
    case EFFECT_MOSAIC:
        mosaic(picture, bpp);
        break;
    default:
        break;
    }
}

void ImageEffects::applyMask(QImage &picture, int mask)
{
    const int bpp = pixelBytes(picture);
    if (bpp == 0 || picture.isNull() || !masks(mask))
        return;
    const int cw = picture.width();
    const int ch = picture.height();
    switch (mask) {
    case MASK_CIRCLE:
        circleMask(picture, bpp);
        break;
    case MASK_RECTANGLE:
        rectangleMask(picture, bpp);
        break;
    case MASK_LEFT:
        coverRect(picture, bpp, cw / 2, ch);
        break;
    case MASK_TOP:
        coverRect(picture, bpp, cw, ch / 2);
        break;
    default:
        break;
    }
}

void ImageEffects::blackWhite(QImage &picture, int bpp)
{
    const int w = picture.width();
    const int h = picture.height();
    for (int y = 0; y < h; ++y) {
        uchar *row = picture.scanLine(y);
        if (bpp == 4) {
            auto *p = reinterpret_cast<quint32 *>(row);
            for (int x = 0; x < w; ++x) {
                const quint32 v = p[x];
                const quint32 g = (5 * (v & 0xff) + 9 * ((v >> 8) & 0xff) + 2 * ((v >> 16) & 0xff)) >> 4;
                p[x] = (v & 0xff000000u) | (g * 0x010101u);
            }
        } else {
            for (int x = 0; x < w; ++x) {
                uchar *q = row + x * 3;
                const uchar g = uchar((5 * q[0] + 9 * q[1] + 2 * q[2]) >> 4);
                q[0] = q[1] = q[2] = g;
            }
        }
    }
}

void ImageEffects::negative(QImage &picture, int bpp)
{
    const int w = picture.width();
    const int h = picture.height();
    for (int y = 0; y < h; ++y) {
        uchar *row = picture.scanLine(y);
        if (bpp == 4) {
            auto *p = reinterpret_cast<quint32 *>(row);
            for (int x = 0; x < w; ++x)
                p[x] ^= 0x00ffffffu;
        } else {
            // Every byte of a 3-byte row is a colour byte.
            for (int i = 0; i < w * 3; ++i)
                row[i] = uchar(~row[i]);
        }
    }
}

void ImageEffects::mosaic(QImage &picture, int bpp)
{
    constexpr int BLOCK = 8;
    const int w = picture.width();
    const int h = picture.height();
    const int blocks = (w + BLOCK - 1) / BLOCK;
    std::vector<quint32> sums(size_t(blocks) * 3);
    for (int y0 = 0; y0 < h; y0 += BLOCK) {
        const int bh = std::min(BLOCK, h - y0);
        std::fill(sums.begin(), sums.end(), 0u);
        for (int y = y0; y < y0 + bh; ++y) {
            const uchar *row = picture.constScanLine(y);
            for (int x = 0; x < w; ++x) {
                const uchar *q = row + x * bpp;
                quint32 *s = &sums[size_t(x / BLOCK) * 3];
                s[0] += q[0];
                s[1] += q[1];
                s[2] += q[2];
            }
        }
        for (int b = 0; b < blocks; ++b) {
            const quint32 n = quint32(std::min(BLOCK, w - b * BLOCK) * bh);
            for (int c = 0; c < 3; ++c)
                sums[size_t(b) * 3 + c] /= n;
        }
        for (int y = y0; y < y0 + bh; ++y) {
            uchar *row = picture.scanLine(y);
            for (int x = 0; x < w; ++x) {
                uchar *q = row + x * bpp;
                const quint32 *s = &sums[size_t(x / BLOCK) * 3];
                q[0] = uchar(s[0]);
                q[1] = uchar(s[1]);
                q[2] = uchar(s[2]);
            }
        }
    }
}

void ImageEffects::circleMask(QImage &picture, int bpp)
{
    const int cw = picture.width();
    const int ch = picture.height();
    const int t = int(std::min(cw, ch) * 0.48);
    const qint64 t2 = qint64(t) * t;
    const int cx = cw / 2;
    const int cy = ch / 2;
    for (int y = 0; y < ch; ++y) {
        uchar *row = picture.scanLine(y);
        const qint64 dy = cy - y;
        const qint64 room = t2 - dy * dy;
        if (room < 0) {
            blackenSpan(row, 0, cw, bpp);
            continue;
        }
        // Largest k with k * k <= room: the pixels with |cx - x| <= k stay visible.
        qint64 k = qint64(std::sqrt(double(room)));
        while (k * k > room)
            --k;
        while ((k + 1) * (k + 1) <= room)
            ++k;
        const int first = int(std::max<qint64>(0, cx - k));
        const int last = int(std::min<qint64>(cw - 1, cx + k));
        blackenSpan(row, 0, std::min(first, cw), bpp);
        blackenSpan(row, std::max(last + 1, 0), cw, bpp);
    }
}

void ImageEffects::rectangleMask(QImage &picture, int bpp)
{
    const int cw = picture.width();
    const int ch = picture.height();
    const int hw = int(cw * 0.3);
    const int hh = int(ch * 0.3);
    const int cx = cw / 2;
    const int cy = ch / 2;
    const int first = std::max(0, cx - hw);
    const int last = std::min(cw - 1, cx + hw);
    for (int y = 0; y < ch; ++y) {
        uchar *row = picture.scanLine(y);
        if (std::abs(y - cy) > hh) {
            blackenSpan(row, 0, cw, bpp);
            continue;
        }
        blackenSpan(row, 0, first, bpp);
        blackenSpan(row, last + 1, cw, bpp);
    }
}

void ImageEffects::coverRect(QImage &picture, int bpp, int width, int height)
{
    for (int y = 0; y < height; ++y)
        fillBlackSpan(picture.scanLine(y), 0, width, bpp);
}

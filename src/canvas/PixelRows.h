#pragma once

#include <QtGlobal>

// The inner loops of the frame processing on rows of 4-byte pixels (B, G, R, A in memory,
// one quint32 each), written so that they run at about the speed of a copy of the row: four
// pixels at a time with SSE2, which every x86-64 processor has, and plain loops elsewhere.
// Each gives exactly the bytes of its one-pixel-at-a-time reading in the comments.
//
// Threads: stateless; safe on any thread for rows that thread owns.
class PixelRows
{
public:
    static constexpr quint32 ALPHA = 0xff000000u;

    // to[i] = from[i] | ALPHA; with `settle`, from[i] also becomes that (pixels that already
    // have a fourth byte of 255, as decoders give them, are not written again).
    static void opaque(quint32 *from, quint32 *to, bool settle, int count);
    // to[i] = from[i] & keep (`to` may be `from`).
    static void keepBits(const quint32 *from, quint32 *to, int count, quint32 keep);
    // to[i] = (from[i] & ALPHA) | colours[i / 8] for the first `octets` runs of eight pixels
    // (`to` may be `from`).
    static void coloursKeepingAlpha(const quint32 *from, quint32 *to, int octets, const quint32 *colours);
    // to[i] = from[i / factor] for i < count: a row scaled up by a whole factor (1 to 6, see
    // maxFactor) as a nearest-neighbour scale with that factor samples it.
    static void expand(const quint32 *from, quint32 *to, int count, int factor);
    static constexpr int maxFactor() { return 6; }
    // to[i] = from[index[i]] for i < count.
    static void gather(const quint32 *from, const int *index, quint32 *to, int count);
    // Byte sums of the first `octets` runs of eight pixels of a row, added to `lanes`: eight
    // 16-bit lanes per run, bytes 0 to 3 summed over the run's even pixels, then over its odd
    // pixels. Eight pixels of up to 32 rows fit a lane.
    static void addOctetSums(const quint32 *row, int octets, quint16 *lanes);
};

#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

// The picture steps of the frame processing that move pixels around: taking a raw frame in,
// rotation, cut-out, scale-back with letterbox, and writing the result back into a raw frame.
//
// The `into` / `target` pictures are work buffers kept by the caller from frame to frame:
// a buffer that nobody else shares and that already has the wanted size and format is
// written in place, so the steady frame path does not allocate.
//
// Threads: stateless; safe on any thread for pictures that thread owns.
class FrameTransform
{
public:
    // Makes `picture` a detached picture of this size and format, reusing its pixels when
    // possible. True when it did: the picture then still holds what it held; otherwise its
    // contents are undefined.
    static bool prepare(QImage &picture, const QSize &size, QImage::Format format);

    // Frame layout of a raw frame: 4-byte B, G, R, A pixels or 3-byte R, G, B.
    static QImage::Format frameFormat(bool alpha)
    {
        return alpha ? QImage::Format_ARGB32 : QImage::Format_RGB888;
    }

    // Copies a packed raw frame into `into`, mirroring it when its rows are bottom-up
    // (`flip`); 4-byte pixels come in opaque (fourth byte 255). With `settleInPlace` the
    // frame itself gets the same fourth bytes in the same pass, so that a frame whose
    // processing changes nothing already holds its result and need not be written back.
    static void importFrame(uchar *data, int width, int height, bool alpha, bool flip, bool settleInPlace,
                            QImage &into);
    // Writes `picture` into a packed raw frame of its size in the frame layout, mirroring it
    // when `flip` is set.
    static void exportFrame(const QImage &picture, uchar *data, bool alpha, bool flip);

    // `source` turned by quarterTurns x 90 degrees clockwise into `target`.
    static void rotate(const QImage &source, int quarterTurns, QImage &target);
    // Only the rectangle `region` of the turned picture (which must lie inside it; otherwise
    // `target` becomes null): the cut-out of a turned picture without turning all of it.
    static void rotateRegion(const QImage &source, int quarterTurns, const QRect &region, QImage &target);
    static void copyInto(const QImage &source, QImage &target);
    // The rectangle `rect` of `source` (parts outside come out as zero bytes) into `target`.
    static void cutOut(const QImage &source, const QRect &rect, QImage &target);
    // rotateRegion() followed by scale() in one pass that reads only the sampled pixels
    // (quarterTurns 0: a cut-out scaled without copying it first); false (and nothing done)
    // when that cannot be done directly (nothing to scale, region outside the turned
    // picture, other formats).
    static bool rotateScale(const QImage &source, int quarterTurns, const QRect &region, const QSize &size,
                            QImage &target);
    // rotateScale() and letterbox() in one: the scaled picture is written straight into the
    // middle of a frameSize `target`. `placed` is where a picture was last put into this target
    // (an empty rectangle at first): while that stays and the target keeps its pixels, its
    // black margins are not written again. False (and nothing done) when rotateScale() would
    // refuse, or the scaled picture does not fit the frame.
    static bool rotateScaleLetterboxed(const QImage &source, int quarterTurns, const QRect &region,
                                       const QSize &size, const QSize &frameSize, QImage &target,
                                       QRect &placed);
    // Nearest-neighbour scaling of `source` to `size` into `target`.
    static void scale(const QImage &source, const QSize &size, QImage &target);
    // `picture` centred on an opaque black frameSize picture in `target`; `placed` as for
    // rotateScaleLetterboxed() (null: the margins are always written).
    static void letterbox(const QImage &picture, const QSize &frameSize, QImage &target,
                          QRect *placed = nullptr);
};

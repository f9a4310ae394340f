#pragma once

class QImage;

// The colour effects and masks of the frame processing, done in place on the rows of a
// picture. Pictures have 4-byte pixels (bytes B, G, R, A in memory: QImage::Format_ARGB32,
// RGB32 or ARGB32_Premultiplied) or 3-byte pixels (R, G, B: QImage::Format_RGB888). The byte
// operations change bytes 0, 1 and 2 of a pixel and never the fourth; the half-covering
// masks fill with opaque black, as a painter would. Pictures of any other format, and
// unknown effect or mask values, are left unchanged.
//
// Threads: stateless; safe on any thread for pictures that thread owns.
class ImageEffects
{
public:
    // Returns false when the value or the picture's format leaves the picture unchanged, so
    // callers can skip the work that would prepare the picture for it.
    static bool changesPicture(int effect);
    static bool masks(int mask);

    static void applyEffect(QImage &picture, int effect);
    // The effect of `source` written into `target`, which the caller has made a detached
    // picture of the same size and format (its contents do not matter); one pass instead of
    // a copy and an in-place pass. `target` may be `source` itself.
    static void applyEffect(const QImage &source, QImage &target, int effect);
    static void applyMask(QImage &picture, int mask);
    // The mask over a copy of `source` in `target` (prepared like applyEffect's target).
    static void applyMask(const QImage &source, QImage &target, int mask);

private:
    static void blackWhite(const QImage &source, QImage &target, int bytesPerPixel);
    static void negative(const QImage &source, QImage &target, int bytesPerPixel);
    static void mosaic(const QImage &source, QImage &target, int bytesPerPixel);
};

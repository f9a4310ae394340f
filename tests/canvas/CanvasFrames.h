#pragma once

// Frames and a straightforward reading of the frame processing, shared by the canvas tests.

#include "canvas/FramePipeline.h"
#include "canvas/ImageEffects.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTransform>

#include <cstring>
#include <thread>
#include <vector>

namespace CanvasFrames {

inline QImage::Format layout(bool alpha)
{
    return alpha ? QImage::Format_ARGB32 : QImage::Format_RGB888;
}

// An upright picture in the frame layout with colour bytes in 16..239 (never black) and a
// fourth byte of 255; `seed` makes frames tell apart.
inline QImage picture(int w, int h, bool alpha, quint32 seed)
{
    QImage img(w, h, layout(alpha));
    QRandomGenerator rng(seed);
    const int bpp = alpha ? 4 : 3;
    for (int y = 0; y < h; ++y) {
        uchar *row = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            uchar *p = row + x * bpp;
            // Smooth ramps plus a little noise, so rotations and cut-outs are recognisable.
            p[0] = uchar(16 + (x * 3 + int(seed) * 17) % 200 + rng.bounded(20));
            p[1] = uchar(16 + (y * 5 + int(seed) * 29) % 200 + rng.bounded(20));
            p[2] = uchar(16 + ((x + y) + int(seed) * 7) % 200 + rng.bounded(20));
            if (alpha)
                p[3] = 255;
        }
    }
    return img;
}

// Packed raw frame of an upright picture; bottom-up when `bottomUp`. The fourth byte is
// scrambled, as a decoder may leave it.
inline std::vector<uchar> raw(const QImage &upright, bool bottomUp)
{
    const bool alpha = upright.format() == QImage::Format_ARGB32;
    const int bpp = alpha ? 4 : 3;
    const int w = upright.width(), h = upright.height();
    std::vector<uchar> out(size_t(w) * h * bpp);
    for (int y = 0; y < h; ++y) {
        uchar *dst = out.data() + size_t(bottomUp ? h - 1 - y : y) * w * bpp;
        std::memcpy(dst, upright.constScanLine(y), size_t(w) * bpp);
        if (alpha)
            for (int x = 0; x < w; ++x)
                dst[x * 4 + 3] = uchar(x * 7 + y);
    }
    return out;
}

// The upright picture held by a packed raw frame.
inline QImage fromRaw(const uchar *data, int w, int h, bool alpha, bool bottomUp)
{
    const int bpp = alpha ? 4 : 3;
    QImage img(w, h, layout(alpha));
    for (int y = 0; y < h; ++y)
        std::memcpy(img.scanLine(y), data + size_t(bottomUp ? h - 1 - y : y) * w * bpp, size_t(w) * bpp);
    return img;
}

// Calls streamImageCaptured() on a thread of its own, as a media streaming thread does, and
// waits for it; frames it queues are processed by the next processEvents().
inline void feed(FramePipeline &pipeline, std::vector<uchar> &frame, int w, int h, bool flip, bool alpha)
{
    std::thread t([&] { pipeline.streamImageCaptured(frame.data(), w, h, flip, alpha); });
    t.join();
}

inline void processQueued()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The processing written out step by step with the toolkit's own operations, for an upright
// input picture in the frame layout.
inline QImage reference(const QImage &upright, const ViewGeometry &view, const QImage &layer, bool layerDirty,
                        int effect, int mask)
{
    const int W = upright.width(), H = upright.height();
    QImage pic = upright;
    if (view.rotation() != 0)
        pic = pic.transformed(QTransform().rotate(90 * view.rotation()), Qt::FastTransformation);
    if (layerDirty) {
        QPainter p(&pic);
        p.drawImage(0, 0, layer);
    }
    ImageEffects::applyEffect(pic, effect);
    QImage cut = pic.copy(view.cutOutRect(pic.width(), pic.height()));
    ImageEffects::applyMask(cut, mask);
    QImage result;
    if (cut.size() == QSize(W, H)) {
        result = cut;
    } else {
        const double f = std::min(double(W) / cut.width(), double(H) / cut.height());
        const QImage scaled = cut.scaled(int(cut.width() * f), int(cut.height() * f), Qt::KeepAspectRatio,
                                         Qt::FastTransformation);
        if (scaled.width() >= W && scaled.height() >= H) {
            result = scaled;
        } else {
            result = QImage(W, H, QImage::Format_RGB888);
            result.fill(QColor(0, 0, 0));
            QPainter p(&result);
            p.drawImage((W - scaled.width()) / 2, (H - scaled.height()) / 2, scaled);
        }
    }
    return result.convertToFormat(upright.format());
}

} // namespace CanvasFrames

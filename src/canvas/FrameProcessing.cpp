#include "canvas/FrameProcessing.h"

#include "canvas/CanvasTypes.h"
#include "canvas/FrameTransform.h"
#include "canvas/ImageEffects.h"
#include "canvas/ViewGeometry.h"

#include <QPainter>

const QImage &FrameProcessing::run(const QImage &source, const ViewGeometry &view, const QImage *layer,
                                   int effect, int mask)
{
    // `frame` follows the picture through the steps; a step that changes nothing leaves it
    // where it is, and the source itself is never written.
    const QImage *frame = &source;
    const int turns = view.rotation();
    const QRect turned(0, 0, view.rotatedWidth(), view.rotatedHeight());
    const QRect cut = view.cutOutRect(turned.width(), turned.height());
    const bool overlay = layer && !layer->isNull() && layer->size() == turned.size();
    // The overlay, B & W and negative work pixel by pixel, so they give the same bytes on the
    // cut-out as on the whole picture: when the cut-out lies inside the picture it is taken
    // first (turning only its pixels) and steps 6 and 7 run on it alone. The mosaic averages
    // blocks of the whole turned picture and keeps the full order.
    const QSize frameSize = source.size();
    const int width = frameSize.width();
    const int height = frameSize.height();
    bool done = false; // steps 8 to 10 have given the picture at frame size
    if (effect != EFFECT_MOSAIC && turned.contains(cut)) {
        // With nothing to paint or mask, the turned cut-out is only sampled by the
        // scale-back: steps 5, 8 and 10 then read just the sampled pixels (an unturned one
        // only when no effect would then run on the larger scaled picture) and write them
        // straight into the letterboxed frame.
        if ((turns != 0 || !ImageEffects::changesPicture(effect)) && !overlay && !ImageEffects::masks(mask)
            && cut.size() != frameSize
            && FrameTransform::rotateScaleLetterboxed(source, turns, cut, view.scaleBackSize(cut.size()),
                                                      frameSize, m_letterboxed, m_letterboxPlace)) {
            frame = &m_letterboxed;
            done = true;
        } else if (turns != 0) { // steps 5 and 8
            FrameTransform::rotateRegion(source, turns, cut, m_cut);
            frame = &m_cut;
        } else if (cut != turned) {
            FrameTransform::cutOut(source, cut, m_cut);
            frame = &m_cut;
        }
        if (overlay) { // step 6
            QImage *own = ownedForWriting(source, frame);
            paintLayer(own, *layer, cut.topLeft());
            frame = own;
        }
        frame = applyEffect(source, frame, effect); // step 7
    } else {
        if (turns != 0) { // step 5
            FrameTransform::rotate(source, turns, m_rotated);
            frame = &m_rotated;
        }
        if (overlay) { // step 6
            QImage *own = ownedForWriting(source, frame);
            paintLayer(own, *layer, QPoint(0, 0));
            frame = own;
        }
        frame = applyEffect(source, frame, effect); // step 7
        if (cut != frame->rect()) {                 // step 8
            FrameTransform::cutOut(*frame, cut, m_cut);
            frame = &m_cut;
        }
    }
    if (ImageEffects::masks(mask)) { // step 9
        if (frame == &source) {
            FrameTransform::prepare(m_work, source.size(), source.format());
            ImageEffects::applyMask(source, m_work, mask);
            frame = &m_work;
        } else {
            ImageEffects::applyMask(*workPicture(frame), mask);
        }
    }
    if (!done && frame->size() != frameSize) { // step 10, letterboxed where narrower
        const QSize back = view.scaleBackSize(frame->size());
        if (FrameTransform::rotateScaleLetterboxed(*frame, 0, frame->rect(), back, frameSize, m_letterboxed,
                                                   m_letterboxPlace)) {
            frame = &m_letterboxed;
        } else if (frame->size().scaled(back, Qt::KeepAspectRatio) == frame->size()) { // only the letterbox
            FrameTransform::letterbox(*frame, frameSize, m_letterboxed, &m_letterboxPlace);
            frame = &m_letterboxed;
        } else {
            FrameTransform::scale(*frame, back, m_scaled);
            frame = &m_scaled;
            if (frame->width() < width || frame->height() < height) {
                FrameTransform::letterbox(*frame, frameSize, m_letterboxed, &m_letterboxPlace);
                frame = &m_letterboxed;
            }
        }
    }
    return *frame;
}

void FrameProcessing::paintLayer(QImage *frame, const QImage &layer, const QPoint &layerOrigin)
{
    const QRect part(layerOrigin, frame->size());
    if (frame->format() == QImage::Format_ARGB32) {
        // Frames come in opaque, and for opaque pixels the premultiplied layout has the same
        // bytes: painting through that view skips the painter's conversions.
        QImage view(frame->bits(), frame->width(), frame->height(), frame->bytesPerLine(),
                    QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&view);
        painter.drawImage(QPoint(0, 0), layer, part);
    } else {
        QPainter painter(frame);
        painter.drawImage(QPoint(0, 0), layer, part);
    }
}

const QImage *FrameProcessing::applyEffect(const QImage &source, const QImage *frame, int effect)
{
    if (!ImageEffects::changesPicture(effect))
        return frame;
    if (frame != &source) {
        ImageEffects::applyEffect(*workPicture(frame), effect);
        return frame;
    }
    // Read from the source, write the work buffer: no separate copy.
    FrameTransform::prepare(m_work, source.size(), source.format());
    ImageEffects::applyEffect(source, m_work, effect);
    return &m_work;
}

QImage *FrameProcessing::ownedForWriting(const QImage &source, const QImage *current)
{
    if (current != &source)
        return workPicture(current);
    FrameTransform::copyInto(source, m_work);
    return &m_work;
}

QImage *FrameProcessing::workPicture(const QImage *picture)
{
    // Every picture but the source that `frame` can point at is one of this object's own.
    Q_ASSERT(picture == &m_rotated || picture == &m_work || picture == &m_cut || picture == &m_scaled
             || picture == &m_letterboxed);
    return const_cast<QImage *>(picture);
}

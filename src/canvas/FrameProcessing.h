#pragma once

#include <QImage>

class QPoint;
class ViewGeometry;

// Steps 5 to 10 of the frame processing on one input picture: rotation, annotation overlay,
// colour effect, zoom cut-out, mask and scale back to the frame size, with work pictures that
// are reused from frame to frame so that the steady state allocates nothing. A step that would
// change nothing is skipped, and the input is never written.
//
// Threads: used by the frame pipeline under its lock, so by one thread at a time.
class FrameProcessing
{
public:
    // Runs the steps on `source` as `view` (whose frame size is the source's) asks. `layer` is
    // the annotation layer at the turned size, or null when nothing is drawn. Returns the
    // processed picture at the frame size: `source` itself when nothing changed, otherwise one
    // of the work pictures, valid until the next call.
    const QImage &run(const QImage &source, const ViewGeometry &view, const QImage *layer, int effect,
                      int mask);

private:
    // Step 6 on `frame`, which shows the turned picture from `layerOrigin` on.
    static void paintLayer(QImage *frame, const QImage &layer, const QPoint &layerOrigin);
    // Step 7; returns the picture that holds the result.
    const QImage *applyEffect(const QImage &source, const QImage *frame, int effect);
    // The picture `current` points at, made safe to change in place.
    QImage *ownedForWriting(const QImage &source, const QImage *current);
    // A work picture that the steps reached through a pointer to const.
    QImage *workPicture(const QImage *picture);

    QImage m_rotated;
    QImage m_work;
    QImage m_cut;
    QImage m_scaled;
    QImage m_letterboxed;
    QRect m_letterboxPlace; // where the picture went into m_letterboxed last
};

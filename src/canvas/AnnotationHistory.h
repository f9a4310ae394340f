#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstddef>
#include <deque>
#include <vector>

// The undo and redo history of one canvas's drawing. Each step is one change the user made at
// once: a stroke or shape from press to release, an eraser stroke, a committed text, Erase all,
// or a new background colour of the page. A step of the annotation layer keeps only the
// rectangle that changed, as it was before and after; a side that is fully transparent is kept
// as no picture at all, so a stroke on an empty part of the layer costs one copy of its
// rectangle and Erase all one copy of what it erased.
//
// Steps are recorded in the layer's orientation of the moment (quarter turns of the view) and
// turned to the orientation of the moment they are undone or redone, so turning the picture in
// between keeps them valid. Replacing the layer (a new frame size) clears the history.
//
// Bound: at most BYTE_BOUND bytes of steps per canvas, counted over both the undo and the redo
// side with the steps' own bookkeeping. A new step that would pass it drops the oldest steps
// first; a step larger than the bound on its own clears the history and is not kept.
//
// Threads: owned by the frame pipeline next to the layer and guarded by the pipeline's lock;
// every member is called with that lock held (GUI thread).
class AnnotationHistory
{
public:
    // 64 MiB: a whole-layer step of the largest capture size (3264 x 2448, 32 MB) fits, and so
    // do many thousands of ordinary strokes; four canvases stay under 256 MiB together.
    static constexpr std::size_t BYTE_BOUND = std::size_t(64) << 20;

    // What undo() or redo() did. `background` is valid when the step set the page's
    // background colour (the caller feeds the page in that colour).
    struct Applied
    {
        bool done = false;
        QColor background;
    };

    // A change of the layer from `before` to `after` (same size, at `quarterTurns`), with the
    // layer-dirty flag before and after. Nothing is recorded when no pixel differs.
    void recordLayer(const QImage &before, const QImage &after, int quarterTurns, bool dirtyBefore,
                     bool dirtyAfter);
    // Erase all: `layer` (at `quarterTurns`) becomes transparent and the dirty flag clears.
    void recordCleared(const QImage &layer, int quarterTurns, bool dirtyBefore);
    // A new background colour of the page.
    void recordBackground(const QColor &before, const QColor &after);

    // Takes back the latest step, or makes the latest step taken back again, on `layer` (at
    // `quarterTurns`) and its dirty flag.
    Applied undo(QImage &layer, int quarterTurns, bool &dirty);
    Applied redo(QImage &layer, int quarterTurns, bool &dirty);

    // The layer was replaced: no step applies to it any more.
    void clear();
    // Counts replacements of the layer: a change begun before one is not recorded after it.
    quint64 generation() const { return m_generation; }

    int undoCount() const { return int(m_done.size()); }
    int redoCount() const { return int(m_undone.size()); }
    std::size_t bytes() const { return m_bytes; }

    // Bounding rectangle of the pixels that differ between two pictures of one size; a null
    // `after` stands for a transparent picture. Null when nothing differs.
    static QRect changedRect(const QImage &before, const QImage &after);
    // `rect` of a layer of `layerSize` after `quarterTurns` clockwise turns of the layer.
    static QRect turned(const QRect &rect, const QSize &layerSize, int quarterTurns);

private:
    struct Step
    {
        bool background = false;
        QRect rect; // in the layer at `quarterTurns`
        int quarterTurns = 0;
        QSize layerSize; // of the layer at `quarterTurns`
        QImage before;   // null: transparent
        QImage after;    // null: transparent
        bool dirtyBefore = false;
        bool dirtyAfter = false;
        QColor backgroundBefore;
        QColor backgroundAfter;
        std::size_t bytes = 0;
    };

    void push(Step step);
    void dropUndone();
    static void apply(const Step &step, const QImage &picture, QImage &layer, int quarterTurns);
    static std::size_t costOf(const Step &step);

    std::deque<Step> m_done;
    std::vector<Step> m_undone;
    std::size_t m_bytes = 0;
    quint64 m_generation = 0;
};

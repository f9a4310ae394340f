#pragma once

#include "canvas/AnnotationTextEditor.h"

#include <QImage>
#include <QPoint>
#include <QPointF>

#include <functional>

class AnnotationTools;
class QFont;
class QWidget;
class ViewGeometry;

// The mouse and text tools of one canvas: turns the canvas's mouse events into drawing on its
// annotation layer, panning, clip selections put on the clipboard, and text typed into an editor
// over the picture and committed into the layer.
//
// Threads: GUI thread only. The layer, its dirty flag, the view, the display image and the tool
// state belong to the canvas and are guarded by the canvas lock; they are reached only inside
// the canvas's `withState` callback, which holds that lock for the call. The text editor is a
// child of the canvas and is touched outside the lock.
class AnnotationController
{
public:
    // The canvas's annotation state, valid for one `withState` call.
    struct State
    {
        QImage &layer;
        bool &layerDirty;
        ViewGeometry &view;
        const QImage &display;
        AnnotationTools &tools;
    };
    using Work = std::function<void(State &)>;
    using WithState = std::function<void(const Work &)>;

    AnnotationController(QWidget *canvas, const QFont &font, WithState withState);

    // Mouse events at widget positions (moves arrive only while a button is held).
    void press(const QPointF &pos);
    void move(const QPointF &pos);
    // Returns true when a clip selection went to the clipboard.
    bool release(const QPoint &pos);

    // Choosing any tool but TOOL_TEXT commits a text being edited.
    void setTool(int tool);
    // Erases every drawing and clears the dirty flag.
    void clear();
    AnnotationTextEditor &text() { return m_text; }
    const AnnotationTextEditor &text() const { return m_text; }

private:
    void commitText();
    // Frame point of a widget position and layer point of a frame point; lock held.
    QPoint toFrame(const State &state, const QPointF &pos) const;
    static QPoint toLayer(const State &state, const QPoint &framePoint);

    QWidget *m_canvas;
    WithState m_withState;
    AnnotationTextEditor m_text;
};

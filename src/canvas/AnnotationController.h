#pragma once

#include "canvas/AnnotationTextEditor.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointF>

#include <functional>

class AnnotationHistory;
class AnnotationTools;
class QFont;
class QWidget;
class ViewGeometry;

// The mouse and text tools of one canvas: turns the canvas's mouse events into drawing on its
// annotation layer, panning, clip selections put on the clipboard, and text typed into an editor
// over the picture and committed into the layer.
//
// Every change of the layer the user makes at once (a stroke or shape from press to release,
// an eraser stroke, a committed text, Erase all) and every new background colour is one step of
// the canvas's undo history.
//
// Threads: GUI thread only. The layer, its dirty flag, its history, the view, the display image
// and the tool state belong to the canvas and are guarded by the canvas lock; they are reached
// only inside the canvas's `withState` callback, which holds that lock for the call. The text
// editor is a child of the canvas and is touched outside the lock.
class AnnotationController
{
public:
    // The canvas's annotation state, valid for one `withState` call.
    struct State
    {
        QImage &layer;
        bool &layerDirty;
        AnnotationHistory &history;
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

    // Choosing any tool but TOOL_TEXT commits a text being edited, and so does Esc in the editor.
    void setTool(int tool);
    // Erases every drawing and clears the dirty flag; one step of the history.
    void clear();
    // Gives the page a new background colour: stores it in the drawing style and records the
    // step; the caller feeds the page in that colour.
    void setBackground(const QColor &colour);
    // Takes back the latest step or makes it again. Returns whether there was one; a valid
    // `*background` is a page colour the caller feeds the page in. Nothing happens while a
    // mouse button draws (the stroke in progress finishes first).
    bool undo(QColor *background);
    bool redo(QColor *background);
    // A mouse button is down on the canvas.
    bool isPressed() const { return m_pressed; }
    AnnotationTextEditor &text() { return m_text; }
    const AnnotationTextEditor &text() const { return m_text; }

private:
    void commitText();
    // Frame point of a widget position and layer point of a frame point; lock held.
    QPoint toFrame(const State &state, const QPointF &pos) const;
    static QPoint toLayer(const State &state, const QPoint &framePoint);

    bool stepThroughHistory(bool undo, QColor *background);

    QWidget *m_canvas;
    WithState m_withState;
    AnnotationTextEditor m_text;
    // The press in progress: the dirty flag, orientation and layer generation it began with.
    bool m_pressed = false;
    bool m_dirtyAtPress = false;
    int m_turnsAtPress = 0;
    quint64 m_generationAtPress = 0;
};

#include "canvas/AnnotationController.h"

#include "canvas/AnnotationHistory.h"
#include "canvas/AnnotationTools.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ViewGeometry.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPixmap>
#include <QTransform>
#include <QWidget>

#include <algorithm>

AnnotationController::AnnotationController(QWidget *canvas, const QFont &font, WithState withState)
    : m_canvas(canvas)
    , m_withState(std::move(withState))
    , m_text(canvas, font, [this] { commitText(); })
{ }

QPoint AnnotationController::toFrame(const State &state, const QPointF &pos) const
{
    return ViewGeometry::widgetToFrame(ViewGeometry::paintMapping(m_canvas->size(), state.display.size()),
                                       pos);
}

QPoint AnnotationController::toLayer(const State &state, const QPoint &framePoint)
{
    return state.view.frameToLayer(framePoint, state.display.size(), state.layer.size());
}

void AnnotationController::press(const QPointF &pos)
{
    m_withState([&](State &state) {
        m_pressed = true;
        m_dirtyAtPress = state.layerDirty;
        m_turnsAtPress = state.view.rotation();
        m_generationAtPress = state.history.generation();
        state.tools.widthScale = std::max(1.0,
                                          AnnotationTextEditor::layerScale(state.view, m_canvas->size()));
        if (state.tools.press(toFrame(state, pos), state.layer))
            state.layerDirty = true;
    });
}

void AnnotationController::move(const QPointF &pos)
{
    m_withState([&](State &state) {
        state.tools.move(toFrame(state, pos), state.layer, state.view,
                         [&state](const QPoint &frame) { return toLayer(state, frame); });
    });
}

bool AnnotationController::release(const QPoint &pos)
{
    QImage clip;
    int tool = TOOL_HAND;
    QPoint anchor;
    m_withState([&](State &state) {
        tool = state.tools.tool;
        if (m_pressed && state.tools.drawsOnLayer() && state.history.generation() == m_generationAtPress) {
            // The press's backup is the layer before the stroke; a turn of the picture while
            // the button was down turned the layer, so the backup is turned alike.
            const int turns = state.view.rotation();
            const int delta = ((turns - m_turnsAtPress) % 4 + 4) % 4;
            const QImage &backup = state.tools.backup();
            if (delta == 0)
                state.history.recordLayer(backup, state.layer, turns, m_dirtyAtPress, state.layerDirty);
            else
                state.history.recordLayer(
                    backup.transformed(QTransform().rotate(90 * delta), Qt::FastTransformation), state.layer,
                    turns, m_dirtyAtPress, state.layerDirty);
        }
        m_pressed = false;
        if (tool == TOOL_CLIP && state.tools.hasClipSelection()) {
            clip = state.display.copy(state.tools.clipRect());
            state.tools.resetClipSelection();
        }
        anchor = toLayer(state, toFrame(state, pos));
    });
    if (tool == TOOL_TEXT) {
        if (m_text.isEditing())
            commitText();
        else
            m_text.open(pos, m_canvas->size(), anchor);
    }
    if (clip.isNull())
        return false;
    QGuiApplication::clipboard()->setPixmap(QPixmap::fromImage(clip));
    return true;
}

void AnnotationController::commitText()
{
    if (!m_text.isEditing())
        return;
    m_text.close();
    m_withState([&](State &state) {
        if (state.layer.isNull())
            return;
        const QImage before = state.layer.copy();
        const bool dirtyBefore = state.layerDirty;
        m_text.drawInto(state.layer, AnnotationTextEditor::layerScale(state.view, m_canvas->size()));
        state.layerDirty = true;
        state.history.recordLayer(before, state.layer, state.view.rotation(), dirtyBefore, true);
    });
}

void AnnotationController::setTool(int tool)
{
    m_withState([tool](State &state) { state.tools.tool = tool; });
    if (tool != TOOL_TEXT)
        commitText();
}

void AnnotationController::clear()
{
    if (m_pressed)
        return;
    m_withState([](State &state) {
        if (!state.layer.isNull()) {
            state.history.recordCleared(state.layer, state.view.rotation(), state.layerDirty);
            state.layer.fill(Qt::transparent);
        }
        state.layerDirty = false;
    });
}

void AnnotationController::setBackground(const QColor &colour)
{
    m_withState([&](State &state) {
        state.history.recordBackground(state.tools.style.backgroundColor, colour);
        state.tools.style.backgroundColor = colour;
    });
}

bool AnnotationController::undo(QColor *background)
{
    return stepThroughHistory(true, background);
}

bool AnnotationController::redo(QColor *background)
{
    return stepThroughHistory(false, background);
}

bool AnnotationController::stepThroughHistory(bool undo, QColor *background)
{
    if (m_pressed)
        return false;
    bool done = false;
    m_withState([&](State &state) {
        const int turns = state.view.rotation();
        const AnnotationHistory::Applied applied = undo
            ? state.history.undo(state.layer, turns, state.layerDirty)
            : state.history.redo(state.layer, turns, state.layerDirty);
        done = applied.done;
        if (applied.background.isValid())
            state.tools.style.backgroundColor = applied.background;
        if (background)
            *background = applied.background;
    });
    return done;
}

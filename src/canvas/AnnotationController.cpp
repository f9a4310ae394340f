#include "canvas/AnnotationController.h"

#include "canvas/AnnotationTools.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ViewGeometry.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>

AnnotationController::AnnotationController(QWidget *canvas, const QFont &font, WithState withState)
    : m_canvas(canvas)
    , m_withState(std::move(withState))
    , m_text(canvas, font)
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
        m_text.drawInto(state.layer, AnnotationTextEditor::layerScale(state.view, m_canvas->size()));
        state.layerDirty = true;
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
    m_withState([](State &state) {
        if (!state.layer.isNull())
            state.layer.fill(Qt::transparent);
        state.layerDirty = false;
    });
}

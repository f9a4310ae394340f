#pragma once

#include "canvas/AnnotationController.h"
#include "canvas/AnnotationTools.h"
#include "canvas/FramePipeline.h"
#include "canvas/ViewGeometry.h"

#include <QWidget>

class QPainter;
class QTextEdit;

// The picture widget of one mode, the view half of a canvas: it owns the frame pipeline that the
// mode's source feeds (pipeline()), paints the pipeline's processed picture scaled into the
// widget with the on-screen display over it, turns mouse input into drawing, panning and clip
// selections on the pipeline's annotation layer, and carries the view operations (zoom,
// rotation) that repaint it.
//
// Threads: GUI thread only. The media streaming thread reaches the pipeline, never this widget.
// paintEvent() and the mouse tools hold the pipeline's lock while they read or change the
// pipeline's pictures; the overlay's paint() is called with it held. The drawing tool state and
// the text editor are GUI-thread state of the widget.
class ImageCanvas : public QWidget
{
    Q_OBJECT
public:
    // `clock` times and names the snapshot files.
    explicit ImageCanvas(QWidget *parent = nullptr, const Clock &clock = Clock::system());
    ~ImageCanvas() override;

    // What the mode's source feeds and what holds the picture settings, the annotation layer
    // and the snapshot files.
    FramePipeline *pipeline() { return &m_pipeline; }
    const FramePipeline *pipeline() const { return &m_pipeline; }

    // View (GUI thread); each repaints the widget.
    void zoomIn();
    void zoomOut();
    void zoomBestFit();
    // One zoom step in or out around widget point `at` (the wheel, a pinch).
    void zoomAt(const QPointF &at, bool in);
    void rotateClockwise();
    void rotateCounterClockwise();
    // The drawing board paints its white page up to the border instead of the black backdrop.
    void setBoard(bool board) { m_board = board; }
    bool isBoard() const { return m_board; }

    // Drawing tools (GUI thread). Choosing any tool but TOOL_TEXT commits a text being edited.
    void setTool(int tool) { m_controller.setTool(tool); }
    int tool() const { return m_annotation.tool; }
    // Line and fill settings, written by the colour, line-width and fill popups.
    void setDrawingStyle(const AnnotationTools::Style &style) { m_annotation.style = style; }
    AnnotationTools::Style drawingStyle() const { return m_annotation.style; }
    // Erases every drawing; the layer is painted over frames again once a tool draws.
    void clearAnnotations() { m_controller.clear(); }
    // Feeds the page a still of `colour` and keeps it as the background colour (the drawing
    // board's Fill background); one step of the drawing's history.
    void fillBackground(const QColor &colour);
    // Takes back the latest drawing step (stroke, shape, text, eraser stroke, Erase all, Fill
    // background) or makes the latest one taken back again. Returns whether there was one.
    // The change shows with the next processed frame, like drawing does.
    bool undo();
    bool redo();
    // The clip selection in frame points, inclusive; null while nothing is selected.
    QRect clipSelection() const
    {
        return m_annotation.hasClipSelection() ? m_annotation.clipRect() : QRect();
    }

    // Text tool (GUI thread): the format of what is typed from now on.
    void setTextColor(const QColor &colour) { m_controller.text().setTextColor(colour); }
    void setTextFamily(const QString &family) { m_controller.text().setTextFamily(family); }
    void setTextSize(int points) { m_controller.text().setTextSize(points); }
    QColor textColor() const { return m_controller.text().textColor(); }
    QString textFamily() const { return m_controller.text().textFamily(); }
    int textSize() const { return m_controller.text().textSize(); }
    QTextEdit *textEditor() const { return m_controller.text().editor(); }

signals:
    void clipDone();
    // The zoom or the rotation changed (GUI thread).
    void viewChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // The wheel zooms around the pointer (nothing scrolls on the picture); so does Ctrl+wheel
    // and a touchpad's pinch.
    void wheelEvent(QWheelEvent *event) override;
    bool event(QEvent *event) override;

private:
    // Painted over the picture and under the border (the on-screen display), lock held.
    void paintOverlay(QPainter &painter, const ViewGeometry::PaintMapping &mapping);
    // The display picture read as RGB32, lock held (see paintEvent()).
    const QImage &opaqueView(const QImage &display);

    FramePipeline m_pipeline;
    bool m_board = false;
    AnnotationTools m_annotation;      // the mouse tools' state; GUI thread only
    AnnotationController m_controller; // after the members it reaches
    // A read-only view of the display picture's pixels, kept while the picture keeps them; read
    // only under the pipeline's lock, while those pixels are the display picture's.
    QImage m_opaqueView;
    // Wheel angle and pinch amount not yet turned into a zoom step.
    int m_wheelAngle = 0;
    double m_pinch = 0;
};

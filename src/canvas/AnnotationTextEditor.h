#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

#include <functional>

class QFont;
class QImage;
class QSize;
class QTextEdit;
class QWidget;
class ViewGeometry;

// The text tool of a canvas: the editor the user types into over the picture, the text colour,
// font family and size applied to what is typed, and the layer point the text is anchored at.
// Committing draws the editor's whole document into the annotation layer.
//
// Threads: GUI thread only. The editor is a child of the canvas (parent chain ownership); the
// layer handed to drawInto() is guarded by the canvas lock, which the caller holds.
class AnnotationTextEditor
{
public:
    // `canvas` parents the editor; the text family and size start from `font`, the canvas font.
    // Esc in the editor calls `finish` (which ends the text).
    AnnotationTextEditor(QWidget *canvas, const QFont &font, std::function<void()> finish = {});

    QTextEdit *editor() const { return m_editor; }
    bool isEditing() const;

    void setTextColor(const QColor &colour);
    void setTextFamily(const QString &family);
    void setTextSize(int points);
    QColor textColor() const { return m_colour; }
    QString textFamily() const { return m_family; }
    int textSize() const { return m_size; }

    // Opens the editor at widget point `at` inside a widget of `widgetSize`, empty, focused, with
    // the text format applied; `anchor` is the layer point the text will land at.
    void open(const QPoint &at, const QSize &widgetSize, const QPoint &anchor);
    // Hides the editor without a selection drawn; the document keeps the text for drawInto().
    void close();
    QPoint anchor() const { return m_anchor; }
    // Scale from the editor's widget pixels to layer pixels under `view` in a canvas of
    // `widget` size, so that the text keeps the size it was typed in on screen.
    static double layerScale(const ViewGeometry &view, const QSize &widget);
    // Draws the document into the layer at the anchor, scaled by `scale`.
    void drawInto(QImage &layer, double scale) const;

private:
    void applyFormat();
    // The editor's frame covers the text typed so far, not more, inside the canvas.
    void fitToText();

    QTextEdit *m_editor;
    QColor m_colour = Qt::black;
    QString m_family;
    int m_size;
    QPoint m_anchor;
};

#include "canvas/AnnotationTextEditor.h"

#include "canvas/ViewGeometry.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>

AnnotationTextEditor::AnnotationTextEditor(QWidget *canvas, const QFont &font)
    : m_editor(new QTextEdit(canvas))
    , m_family(font.family())
    , m_size(font.pointSize())
{
    m_editor->setContextMenuPolicy(Qt::NoContextMenu);
    m_editor->setStyleSheet(QStringLiteral("border: none;"));
    m_editor->hide();
}

bool AnnotationTextEditor::isEditing() const
{
    // isHidden(), not isVisible(): the editor counts as open even while the canvas itself is
    // not shown (another mode's page).
    return !m_editor->isHidden();
}

void AnnotationTextEditor::setTextColor(const QColor &colour)
{
    m_colour = colour;
    applyFormat();
}

void AnnotationTextEditor::setTextFamily(const QString &family)
{
    m_family = family;
    applyFormat();
}

void AnnotationTextEditor::setTextSize(int points)
{
    m_size = points;
    applyFormat();
}

void AnnotationTextEditor::applyFormat()
{
    QTextCursor cursor = m_editor->textCursor();
    QTextCharFormat format = cursor.charFormat();
    QFont font(m_family);
    if (m_size > 0)
        font.setPointSize(m_size);
    format.setFont(font);
    format.setForeground(QBrush(m_colour, Qt::SolidPattern));
    cursor.setCharFormat(format);
    m_editor->setTextCursor(cursor);
}

void AnnotationTextEditor::open(const QPoint &at, const QSize &widgetSize, const QPoint &anchor)
{
    const int w = std::min(widgetSize.width() - at.x() - 5, 300);
    const int h = std::min(widgetSize.height() - at.y() - 5, 300);
    m_editor->move(at);
    m_editor->resize(std::max(w, 0), std::max(h, 0));
    m_editor->clear();
    m_editor->show();
    m_editor->setFocus();
    applyFormat();
    m_anchor = anchor;
}

void AnnotationTextEditor::close()
{
    m_editor->hide();
    QTextCursor cursor = m_editor->textCursor();
    cursor.setPosition(0);
    m_editor->setTextCursor(cursor);
}

void AnnotationTextEditor::drawInto(QImage &layer, double scale) const
{
    QPainter painter(&layer);
    painter.translate(m_anchor);
    painter.scale(scale, scale);
    m_editor->document()->drawContents(&painter);
}

double AnnotationTextEditor::layerScale(const ViewGeometry &view, const QSize &widget)
{
    const double zoom = view.zoom();
    return std::max(double(int(view.rotatedHeight() * zoom)) / widget.height(),
                    double(int(view.rotatedWidth() * zoom)) / widget.width())
        / (zoom * zoom);
}

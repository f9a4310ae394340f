#include "canvas/AnnotationTextEditor.h"

#include "canvas/ViewGeometry.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QSize>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The editor over the picture: Esc ends the text (before any window key of that name).
class TextField : public QTextEdit
{
public:
    TextField(QWidget *parent, std::function<void()> finish)
        : QTextEdit(parent)
        , m_finish(std::move(finish))
    { }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        return QTextEdit::event(event);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape && m_finish) {
            m_finish();
            return;
        }
        QTextEdit::keyPressEvent(event);
    }

private:
    std::function<void()> m_finish;
};

} // namespace

AnnotationTextEditor::AnnotationTextEditor(QWidget *canvas, const QFont &font, std::function<void()> finish)
    : m_editor(new TextField(canvas, std::move(finish)))
    , m_family(font.family())
    , m_size(font.pointSize())
{
    m_editor->setContextMenuPolicy(Qt::NoContextMenu);
    // See-through: the page stays in sight under what is typed, and a thin dashed frame shows
    // where the text goes on any page colour; the frame follows the text instead of covering
    // a fixed box.
    m_editor->setStyleSheet(
        QStringLiteral("QTextEdit { border: 1px dashed #808080; background: transparent; }"));
    m_editor->viewport()->setAutoFillBackground(false);
    m_editor->setLineWrapMode(QTextEdit::NoWrap);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QObject::connect(m_editor->document(), &QTextDocument::contentsChanged, m_editor,
                     [this] { fitToText(); });
    m_editor->hide();
}

void AnnotationTextEditor::fitToText()
{
    QWidget *canvas = m_editor->parentWidget();
    if (!canvas)
        return;
    const QSizeF text = m_editor->document()->size();
    const int frame = 2 * m_editor->frameWidth();
    const QPoint at = m_editor->pos();
    const int w = std::min(int(std::ceil(text.width())) + frame
                               + m_editor->fontMetrics().averageCharWidth() * 2,
                           canvas->width() - at.x() - 5);
    const int h = std::min(int(std::ceil(text.height())) + frame, canvas->height() - at.y() - 5);
    m_editor->resize(std::max(w, 0), std::max(h, 0));
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
    Q_UNUSED(widgetSize)
    m_editor->move(at);
    m_editor->clear();
    applyFormat();
    fitToText();
    m_editor->show();
    m_editor->setFocus();
    m_anchor = anchor;
}

void AnnotationTextEditor::close()
{
    // A hidden text edit keeps the keyboard focus (it refuses to pass it on while editable):
    // hand it to the canvas, so that typing and the window's keys work again at once.
    const bool focused = m_editor->hasFocus();
    m_editor->hide();
    if (focused && m_editor->parentWidget())
        m_editor->parentWidget()->setFocus(Qt::OtherFocusReason);
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

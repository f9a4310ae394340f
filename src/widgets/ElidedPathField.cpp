#include "widgets/ElidedPathField.h"

#include <QDir>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

ElidedPathField::ElidedPathField(const QString &path, QWidget *parent)
    : QLineEdit(path, parent)
{
    setReadOnly(true);
    setToolTip(QDir::toNativeSeparators(path));
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString &text) { setToolTip(QDir::toNativeSeparators(text)); });
}

QString ElidedPathField::shownText() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    // The line edit's own margins around its text.
    const int width = area.width() - 4;
    return fontMetrics().elidedText(QDir::toNativeSeparators(text()), Qt::ElideMiddle, width);
}

void ElidedPathField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    const QRect area =
        style()->subElementRect(QStyle::SE_LineEditContents, &option, this).adjusted(2, 0, -2, 0);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft, shownText());
}

#include "sources/photograph/ThumbnailButton.h"

#include <QPainter>

ThumbnailButton::ThumbnailButton(QWidget *parent)
    : QPushButton(parent)
{
    setFlat(true);
    setCheckable(true);
    setFixedSize(THUMBNAIL_WIDTH, THUMBNAIL_HEIGHT);
}

void ThumbnailButton::setThumbnail(const QImage &image)
{
    m_picture = image;
    m_hasPicture = true;
    update();
}

QColor ThumbnailButton::borderColour() const
{
    if (isDown() || isChecked())
        return Qt::red;
    return m_hover ? Qt::white : Qt::gray;
}

void ThumbnailButton::enterEvent(QEvent *event)
{
    m_hover = true;
    update();
    QPushButton::enterEvent(event);
}

void ThumbnailButton::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QPushButton::leaveEvent(event);
}

void ThumbnailButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_hasPicture && !m_picture.isNull())
        painter.drawImage((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2, m_picture);
    painter.setPen(QPen(borderColour(), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(1, 1), QPoint(width() - 2, height() - 2)));
}

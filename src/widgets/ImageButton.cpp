#include "widgets/ImageButton.h"

#include "common/SkinPicture.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

ImageButton::ImageButton(const QString &iconName, QWidget *parent, const QPoint &position)
    : QPushButton(parent)
{
    setFlat(true);
    setImage(iconName);
    m_holdTimer.setSingleShot(true);
    m_holdTimer.setInterval(HoldInterval);
    connect(&m_holdTimer, &QTimer::timeout, this, [this] {
        m_held = true;
        emit hold();
    });
    move(position);
}

ImageButton::ImageButton(const QString &iconName, const QString &toolTip, QWidget *parent,
                         const QPoint &position)
    : ImageButton(iconName, parent, position)
{
    setToolTip(toolTip);
}

void ImageButton::setImage(const QString &iconName)
{
    m_normal = SkinPicture::load(QStringLiteral(":/icons/Normal/%1.png").arg(iconName));
    m_click = SkinPicture::load(QStringLiteral(":/icons/Click/%1.png").arg(iconName));
    if (m_click.isNull())
        m_click = m_normal;
    m_over = SkinPicture::load(QStringLiteral(":/icons/Over/%1.png").arg(iconName));
    if (m_over.isNull())
        m_over = m_normal;
    setFixedSize(SkinPicture::logicalSize(m_normal));
    update();
}

void ImageButton::setTextColor(const QColor &color)
{
    m_textColor = color;
}

void ImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    SkinPicture::prepare(painter);
    const QImage &picture = (isDown() || isChecked()) ? m_click : (m_hovered ? m_over : m_normal);
    painter.drawImage(0, 0, picture);

    const QString caption = text();
    if (caption.isEmpty())
        return;
    const QFontMetrics metrics(font());
    const int x = (width() - metrics.horizontalAdvance(caption)) / 2;
    const int y = (metrics.height() + height()) / 2 - 3;
    painter.setFont(font());
    // A colour never set is drawn as opaque black.
    painter.setPen(m_textColor.isValid() ? m_textColor : QColor(Qt::black));
    painter.drawText(x, y, caption);
}

void ImageButton::enterEvent(QEvent *)
{
    m_hovered = true;
    setCursor(Qt::ArrowCursor);
    update();
}

void ImageButton::leaveEvent(QEvent *)
{
    m_hovered = false;
    update();
}

void ImageButton::mousePressEvent(QMouseEvent *event)
{
    // A second press while the first is still held must not push the hold further away.
    if ((event->buttons() & Qt::LeftButton) && !m_holdTimer.isActive()) {
        m_held = false;
        m_holdTimer.start();
    }
    QPushButton::mousePressEvent(event);
}

void ImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        m_holdTimer.stop();
    m_releasing = true;
    QPushButton::mouseReleaseEvent(event);
    m_releasing = false;
}

void ImageButton::focusOutEvent(QFocusEvent *event)
{
    // hold() opens a popup window, which takes the activation from the button's window while
    // the mouse button is still down. The standard handling would end the press there and the
    // release would click nothing, leaving a tool selected by the hold without its button
    // checked. The press goes on instead: the pointer grab still brings the release here.
    if (m_held && isDown()) {
        QWidget::focusOutEvent(event);
        return;
    }
    QPushButton::focusOutEvent(event);
}

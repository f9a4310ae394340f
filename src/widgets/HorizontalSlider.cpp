#include "widgets/HorizontalSlider.h"

#include "common/SkinPicture.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

HorizontalSlider::HorizontalSlider(const QImage &handle, QWidget *parent)
    : QWidget(parent)
    , m_background(SkinPicture::load(QStringLiteral(":/icons/Background/FILM_SCROLL_BACKGROUND.png")))
    , m_handle(handle)
{ }

void HorizontalSlider::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    // The handle's place follows the range even when the value stays.
    update();
}

void HorizontalSlider::setHandleWidth(int width)
{
    m_handleWidth = width;
    update();
}

void HorizontalSlider::setValue(int value)
{
    m_value = value;
    repaint();
}

double HorizontalSlider::step() const
{
    return double(width() - 2 * HandleMargin) / (double(m_maximum) - m_minimum + 1);
}

int HorizontalSlider::handlePosition() const
{
    const int w = width();
    double x = step() * (double(m_value) - m_minimum + 0.5) + HandleMargin - m_handleWidth / 2;
    x = std::min(x, double(w - m_handleWidth - HandleMargin));
    x = std::max(x, double(HandleMargin));
    return int(x);
}

void HorizontalSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    SkinPicture::prepare(painter);
    if (!m_background.isNull())
        painter.drawImage(0, 0, SkinPicture::stretched(m_background, size()));
    const int handleHeight = height() - 4;
    if (m_handle.isNull() || m_handleWidth <= 0 || handleHeight <= 0)
        return;
    painter.drawImage(handlePosition(), 0,
                      SkinPicture::stretched(m_handle, QSize(m_handleWidth, handleHeight)));
}

void HorizontalSlider::takeValueAt(int x)
{
    const double s = step();
    // A slider narrower than its margins, or an empty range, has no positions to pick from.
    double v = m_minimum;
    if (s > 0 && std::isfinite(s))
        v = std::trunc((x - HandleMargin) / s + m_minimum);
    v = std::max(std::min(v, double(m_maximum)), double(m_minimum));
    m_value = int(v);
    emit valueChanged(m_value);
    repaint();
}

void HorizontalSlider::mousePressEvent(QMouseEvent *event)
{
    takeValueAt(event->pos().x());
}

void HorizontalSlider::mouseMoveEvent(QMouseEvent *event)
{
    // Without mouse tracking moves only arrive with a button held; with it, hovering alone
    // must not move the handle.
    if (event->buttons() == Qt::NoButton)
        return;
    takeValueAt(event->pos().x());
}

void HorizontalSlider::mouseReleaseEvent(QMouseEvent *event)
{
    takeValueAt(event->pos().x());
}

#include "widgets/ImageWidget.h"

#include "common/SkinPicture.h"

#include <QPainter>

ImageWidget::ImageWidget(const QImage &image, QWidget *parent)
    : QWidget(parent)
    , m_image(image)
{
    setFixedSize(SkinPicture::logicalSize(m_image));
}

void ImageWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    SkinPicture::prepare(painter);
    painter.drawImage(0, 0, m_image);
}

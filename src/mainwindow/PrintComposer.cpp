#include "mainwindow/PrintComposer.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QTransform>

#include <algorithm>

PrintComposer::Layout PrintComposer::layout(const QSize &imageSize, const QSize &pageSize)
{
    Layout result;
    if (imageSize.isEmpty() || pageSize.isEmpty())
        return result;

    const int pw = pageSize.width();
    const int ph = pageSize.height();
    result.turned = pw < ph;
    const QSize picture = result.turned ? imageSize.transposed() : imageSize;

    const double s = std::min(double(pw) / picture.width(), double(ph) / picture.height());
    const int w = static_cast<int>(picture.width() * s);
    const int h = static_cast<int>(picture.height() * s);
    result.size = QSize(w, h);
    result.offset = QPoint((pw - w) / 2, (ph - h) / 2);
    return result;
}

QImage PrintComposer::compose(const QImage &image, const Layout &layout)
{
    if (image.isNull() || layout.size.isEmpty())
        return QImage();
    QImage picture = layout.turned ? image.transformed(QTransform().rotate(90), Qt::FastTransformation)
                                   : image;
    return picture.scaled(layout.size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool PrintComposer::paint(QPagedPaintDevice *device, const QImage &image)
{
    const Layout l = layout(image.size(), QSize(device->width(), device->height()));
    const QImage picture = compose(image, l);
    if (picture.isNull())
        return false;
    const QPixmap pixmap = QPixmap::fromImage(picture);
    QPainter painter;
    if (!painter.begin(device))
        return false;
    painter.drawPixmap(l.offset, pixmap);
    // A printer that fails while taking the page says so only here.
    return painter.end();
}

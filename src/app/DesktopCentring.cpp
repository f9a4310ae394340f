#include "app/DesktopCentring.h"

QPoint centredTopLeft(const QSize &window, const QRect &desktop)
{
    return desktop.topLeft()
        + QPoint((desktop.width() - window.width()) / 2, (desktop.height() - window.height()) / 2);
}

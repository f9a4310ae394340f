#pragma once

// The user's hands in the scenario: mouse clicks and holds on the window's buttons, drags on a
// canvas at picture positions, and pictures of the window with its open popup.

#include "canvas/ImageCanvas.h"
#include "mainwindow/MainWindow.h"
#include "widgets/ImageButton.h"

#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QWindow>
#include <QtTest>

#include <algorithm>

namespace ScenarioRig {

// Where a point of the processed picture (frame pixels) is painted on the canvas: the picture
// is scaled to fit the widget with its aspect ratio kept, and centred.
inline QPoint frameToWidget(const ImageCanvas &canvas, const QPointF &frame)
{
    const QSize image = canvas.pipeline()->outputImage().size();
    if (image.isEmpty())
        return QPoint();
    const double s = std::min(double(canvas.height()) / image.height(),
                              double(canvas.width()) / image.width());
    const int mx = (canvas.width() - int(image.width() * s)) / 2;
    const int my = (canvas.height() - int(image.height() * s)) / 2;
    return QPoint(int(mx + (frame.x() + 0.5) * s), int(my + (frame.y() + 0.5) * s));
}

// Mouse events through the window, as the platform delivers them, at canvas positions.
inline QPoint inWindow(const ImageCanvas &canvas, const QPoint &at)
{
    return canvas.mapTo(canvas.window(), at);
}

inline void drag(ImageCanvas &canvas, const QPoint &from, const QPoint &to, int steps = 4)
{
    QWindow *handle = canvas.window()->windowHandle();
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, inWindow(canvas, from));
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(handle, inWindow(canvas, from + (to - from) * i / steps));
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, inWindow(canvas, to));
}

inline void dragFrame(ImageCanvas &canvas, const QPointF &from, const QPointF &to, int steps = 4)
{
    drag(canvas, frameToWidget(canvas, from), frameToWidget(canvas, to), steps);
}

inline void click(ImageCanvas &canvas, const QPoint &at)
{
    QWindow *handle = canvas.window()->windowHandle();
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, inWindow(canvas, at));
}

// Presses `button` until its popup opens (the hold), then lets go over it (which clicks it).
// Returns the popup as type T; null when none of that type opened within the bound.
template<typename T>
T *holdForPopup(MainWindow &window, ImageButton *button, int timeoutMs = 5000)
{
    QPointer<QWidget> before = window.popupSlot().popup();
    QTest::mousePress(button, Qt::LeftButton);
    const bool opened = QTest::qWaitFor(
        [&] {
            QWidget *now = window.popupSlot().popup();
            return now && now != before.data();
        },
        timeoutMs);
    QTest::mouseRelease(button, Qt::LeftButton);
    return opened ? qobject_cast<T *>(window.popupSlot().popup()) : nullptr;
}

// The window as the user sees it, with the open popup drawn where it stands.
inline QImage picture(MainWindow &window)
{
    QWidget *popup = window.popupSlot().popup();
    const QRect all = popup && popup->isVisible() ? window.geometry().united(popup->geometry())
                                                  : window.geometry();
    QImage shot(all.size(), QImage::Format_ARGB32_Premultiplied);
    shot.fill(QColor(0x10, 0x10, 0x10));
    QPainter painter(&shot);
    painter.drawPixmap(window.geometry().topLeft() - all.topLeft(), window.grab());
    if (popup && popup->isVisible())
        painter.drawPixmap(popup->geometry().topLeft() - all.topLeft(), popup->grab());
    return shot;
}

} // namespace ScenarioRig

#pragma once

// Keys and mouse on a shown, active main window, for the tests of its keys.

#include "MainWindowRig.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "mainwindow/ActionTable.h"
#include "mainwindow/MainWindow.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace WindowKeysRig {

// Sends a key as the platform would: shortcut override first, then the key press.
inline void pressKey(QWidget *target, const QKeySequence &key)
{
    const int combination = key[0];
    const auto modifiers = Qt::KeyboardModifiers(combination & int(Qt::KeyboardModifierMask));
    const auto code = Qt::Key(combination & ~int(Qt::KeyboardModifierMask));
    // The text a keyboard gives with the key: a character for the character keys only.
    QString text;
    if (code < Qt::Key_Escape && !(modifiers & ~Qt::ShiftModifier)) {
        text = QChar(code);
        text = (modifiers & Qt::ShiftModifier) ? text.toUpper() : text.toLower();
    }
    QTest::sendKeyEvent(QTest::Click, target, code, text, modifiers);
}

inline std::unique_ptr<MainWindow> activeWindow()
{
    auto w = MainWindowRig::makeWindow();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("window not active");
    return w;
}

inline int triggers(const QList<std::shared_ptr<QSignalSpy>> &spies)
{
    int n = 0;
    for (const auto &spy : spies)
        n += spy->count();
    return n;
}

inline WindowMode modeFor(const CommandSpec &row)
{
    for (WindowMode mode : {MODE_LIVE, MODE_DRAWING_BOARD, MODE_FILM, MODE_PHOTOGRAPH}) {
        // Hand is for pictures that move under the view, not the camera's.
        if (ActionTable::actsIn(row, mode) && !(row.command == Command::Hand && mode == MODE_LIVE))
            return mode;
    }
    return MODE_LIVE;
}

inline QImage layerOf(MainWindow &w)
{
    return w.currentCanvas()->pipeline()->annotationLayer();
}

// Mouse events through the window, at points of the current canvas.
inline void mouseOnCanvas(MainWindow &w, QEvent::Type type, const QPoint &at)
{
    const QPoint p = w.currentCanvas()->mapTo(&w, at);
    if (type == QEvent::MouseButtonPress)
        QTest::mousePress(w.windowHandle(), Qt::LeftButton, Qt::NoModifier, p);
    else if (type == QEvent::MouseMove)
        QTest::mouseMove(w.windowHandle(), p);
    else
        QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, Qt::NoModifier, p);
}

inline void drawLine(MainWindow &w)
{
    w.currentCanvas()->setTool(TOOL_LINE);
    mouseOnCanvas(w, QEvent::MouseButtonPress, QPoint(40, 40));
    mouseOnCanvas(w, QEvent::MouseMove, QPoint(300, 200));
    mouseOnCanvas(w, QEvent::MouseButtonRelease, QPoint(300, 200));
}

} // namespace WindowKeysRig

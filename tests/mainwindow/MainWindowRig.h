#pragma once

#include "MainWindow.h"
#include "ManualFrameClock.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(WindowMode)

// Shown main windows for the window tests, with a frame clock the test advances by hand.
namespace MainWindowRig {

inline std::unique_ptr<MainWindow> makeWindow(ManualFrameClock **clock = nullptr)
{
    auto *manual = new ManualFrameClock;
    if (clock)
        *clock = manual;
    auto w = std::make_unique<MainWindow>(std::unique_ptr<FrameClock>(manual));
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qWarning("window not exposed");
    return w;
}

// Clicks the mode's button; true when the window is in that mode afterwards.
inline bool selectMode(MainWindow &w, WindowMode mode)
{
    QTest::mouseClick(w.modeButton(mode), Qt::LeftButton);
    return w.currentMode() == mode;
}

} // namespace MainWindowRig

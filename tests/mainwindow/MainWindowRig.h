#pragma once

#include "ImageButton.h"
#include "MainWindow.h"
#include "ManualFrameClock.h"
#include "SimulatedBackend.h"
#include "SimulatedCamera.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(WindowMode)

// Shown main windows for the window tests, with a frame clock the test advances by hand and
// the simulated camera as the only camera of the machine. Without a camera of its own the
// window sees a simulated camera that is not plugged in.
namespace MainWindowRig {

inline std::unique_ptr<MainWindow> makeWindow(ManualFrameClock **clock = nullptr,
                                              std::shared_ptr<SimulatedCamera> camera = {})
{
    auto *manual = new ManualFrameClock;
    if (clock)
        *clock = manual;
    if (!camera) {
        camera = std::make_shared<SimulatedCamera>();
        camera->unplug();
    }
    auto w = std::make_unique<MainWindow>(std::unique_ptr<FrameClock>(manual),
                                          std::make_unique<SimulatedBackend>(camera));
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

#pragma once

#include "ManualClock.h"
#include "mainwindow/DeviceSupervisor.h"
#include "mainwindow/MainWindow.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "widgets/ImageButton.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(WindowMode)

// Shown main windows for the window tests, with the simulated camera as the only camera of the
// machine. Without a camera of its own the window sees a simulated camera that is not plugged in.
namespace MainWindowRig {

// Owns a window's clock and goes with the window: the last child the window gets, so it is
// deleted after everything that reads the clock.
class ClockOwner : public QObject
{
public:
    ManualClock clock;
};

// With `clock`, the window runs on a clock the test moves by hand (frame gaps, indications,
// file names) and `*clock` points at it. Without, it runs on the system's clock with the
// frame-gap supervision left out (it has tests of its own), so a loaded machine never closes
// the camera in the middle of a test.
inline std::unique_ptr<MainWindow> makeWindow(ManualClock **clock = nullptr,
                                              std::shared_ptr<SimulatedCamera> camera = {})
{
    if (!camera) {
        camera = std::make_shared<SimulatedCamera>();
        camera->unplug();
    }
    auto owner = std::make_unique<ClockOwner>();
    const Clock &used = clock ? static_cast<const Clock &>(owner->clock) : Clock::system();
    auto w = std::make_unique<MainWindow>(used, std::make_unique<SimulatedBackend>(camera));
    if (clock) {
        *clock = &owner->clock;
        owner.release()->setParent(w.get());
    } else {
        w->deviceSupervisor()->setCameraOpenQuery([] { return false; });
    }
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qWarning("window not exposed");
    return w;
}

// A window on the system's clock with its frame-gap supervision at work, for tests of what the
// supervision does while real time passes (a busy GUI thread).
inline std::unique_ptr<MainWindow> makeSupervisedWindow(std::shared_ptr<SimulatedCamera> camera)
{
    auto w = std::make_unique<MainWindow>(Clock::system(), std::make_unique<SimulatedBackend>(camera));
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

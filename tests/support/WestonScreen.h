#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

// The Weston compositor a test runs on (tests/support/on-weston.sh): its screenshots and where a
// window shows on them. A nested compositor's pointer is the X display's (PointerDrag).
//
// Threads: the test's main thread.
namespace WestonScreen {

// The desktop's colour where no window is (on-weston.sh sets it).
QColor background();

// "headless" or "nested" under on-weston.sh, empty otherwise.
QString backend();

// The compositor's whole output through weston-screenshooter; a null picture and the reason in
// *error when it cannot be taken.
QImage grab(QString *error);

// Writes `shot` as <build>/screenshots/wayland/<name>.png; returns the file's path.
QString save(const QImage &shot, const QString &name);

// The bounding box of what is not desktop on `shot`: the windows shown. Rows and columns with
// only a few such pixels (the pointer's sprite) do not count.
QRect windowsOn(const QImage &shot);

// Where the windows show on the compositor's screen once `settled` holds for it: screenshots a
// little apart, a bounded number of them (each takes a repaint of the compositor). The last one
// is saved under `name`; a null rectangle when none can be taken.
QRect shownAt(const QString &name, const std::function<bool(const QRect &)> &settled = {});

// The share of pixels in `area` of `shot` that are strongly saturated colours, as the simulated
// camera's colour bars are and the skin's greys are not.
double saturatedShare(const QImage &shot, const QRect &area);

} // namespace WestonScreen

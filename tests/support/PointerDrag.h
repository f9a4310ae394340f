#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>

// The X display's real pointer, moved by xdotool: on Xvfb for X11 tests, and for a Weston nested
// in Xvfb, whose seat it is. Positions are the display's (the nested Weston sits at its top-left
// corner, so they are the compositor's too).
//
// Threads: the test's main thread; the waits run its event loop.
namespace PointerDrag {

// Runs xdotool with `arguments`; false with the reason in *error when it fails.
bool xdotool(const QStringList &arguments, QString *error);

// Puts the pointer at `at`, arriving from a few pixels away so that the window under it gets a
// move there.
bool pointTo(const QPoint &at, QString *error);

// A drag with the left button from `from` to `to` in steps, as a user makes it: the press, then a
// wait (bounded) until `handedOver` is among the program's messages (the window has asked the
// window system to take over), the moves, a wait (bounded) until `beforeRelease` holds if given,
// a moment's hold and the release.
bool drag(const QPoint &from, const QPoint &to, const QString &handedOver,
          const std::function<bool()> &beforeRelease, QString *error);

} // namespace PointerDrag

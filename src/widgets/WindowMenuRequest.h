#pragma once

#include <QPoint>

class QWindow;

// Asks the window system to open its own menu for a window (move, size, keep above, close...),
// as a right click on a title bar does. On X11 that is the _GTK_SHOW_WINDOW_MENU message to the
// root window, which window managers that offer such a menu announce in _NET_SUPPORTED (Mutter,
// Xfwm4 and others); other platforms offer clients no way to ask.
//
// Threads: GUI thread only.
namespace WindowMenuRequest {

// Asks for the menu of `window` at `globalPosition` (the toolkit's logical coordinates). False
// when the platform or the window manager offers no such menu; nothing is shown then.
bool open(QWindow *window, const QPoint &globalPosition);

} // namespace WindowMenuRequest

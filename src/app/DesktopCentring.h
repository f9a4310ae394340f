#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Top-left corner that centres a window of `window` size in `desktop`, the available area of the
// screen the window opens on (not all screens together: it would straddle their seam),
// truncating toward zero; a window larger than the area reaches out of it on all sides, so it
// stays centred.
//
// Threads: any thread; a pure function.
QPoint centredTopLeft(const QSize &window, const QRect &desktop);

#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Top-left corner that centres a window of `window` size on a desktop of `desktop` size (all
// screens together), truncating toward zero; a window larger than the desktop gets negative
// coordinates, so it stays centred.
//
// Threads: any thread; a pure function.
QPoint centredTopLeft(const QSize &window, const QRect &desktop);

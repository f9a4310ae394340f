#pragma once

// No toolkit header here: the tests' start-up object that calls enableHighDpi() builds without one.
class QByteArray;

// Follows the desktop's scale on high-density screens: the toolkit scales the whole interface
// by each screen's factor, keeping fractional factors (150 %) instead of rounding them to a
// whole number, and loads the "@2x" partners of pictures as QPixmap and QIcon. The scale is the
// one the desktop sets (Xft.dpi, QT_SCALE_FACTOR, the compositor's scale), never one worked out
// from the monitor's size in millimetres. Must run before the QApplication exists; the program
// and every test program call it there.
void enableHighDpi();

// The font DPI to pin (QT_FONT_DPI) for an X desktop whose resource database (the root
// window's RESOURCE_MANAGER, as xrdb keeps it) is `resources`: "96", the desktop's 100 %, when
// it sets no Xft.dpi, where the toolkit would otherwise take the monitor's physical density;
// empty when the desktop sets its own.
QByteArray pinnedFontDpi(const QByteArray &resources);

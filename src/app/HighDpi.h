#pragma once

// Follows the desktop's scale on high-density screens: the toolkit scales the whole interface
// by each screen's factor, keeping fractional factors (150 %) instead of rounding them to a
// whole number, and loads the "@2x" partners of pictures as QPixmap and QIcon. Must run before
// the QApplication exists; the program and every test program call it there.
void enableHighDpi();

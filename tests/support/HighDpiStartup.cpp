// Linked into every test program: high-DPI scaling is switched on before QTEST_MAIN creates the
// application, as the program's main() does, so widgets under test load and lay out their
// pictures the way they do for users (QT_SCALE_FACTOR then scales a test like a dense screen).
#include "app/HighDpi.h"

namespace {

const bool kHighDpiEnabled = [] {
    enableHighDpi();
    return true;
}();

} // namespace

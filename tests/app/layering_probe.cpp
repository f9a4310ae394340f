// Compiled with the canvas layer's include roots only (see tests/CMakeLists.txt): a layer that
// reaches a layer above it must not build.
#include "mainwindow/MainWindow.h"

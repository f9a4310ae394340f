#pragma once

// The four modes of the main window, each with a canvas of its own.
enum WindowMode { MODE_LIVE = 0, MODE_FILM = 1, MODE_PHOTOGRAPH = 2, MODE_DRAWING_BOARD = 3 };

constexpr int WINDOW_MODE_COUNT = 4;

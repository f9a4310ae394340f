#pragma once

#include "mainwindow/WindowMode.h"

class ImageButton;
class ImageCanvas;
class QButtonGroup;

// The tool buttons of the main window's side panel, by group, and the exclusive group the
// drawing tools share. The buttons are children of the panel.
//
// Threads: GUI thread only.
struct ToolButtons
{
    // Enables the buttons that act in `mode` (the camera's only in Live mode, the board's fill
    // only on the Drawing Board) and disables the others.
    void enableFor(WindowMode mode) const;
    // Shows the state of `canvas` on the buttons: its tool checked, its mask and effect
    // pictured, its freeze.
    void showCanvasState(const ImageCanvas &canvas) const;

    // Noting
    ImageButton *line = nullptr;
    ImageButton *rectangle = nullptr;
    ImageButton *freehand = nullptr;
    ImageButton *circle = nullptr;
    ImageButton *arrow = nullptr;
    ImageButton *triangle = nullptr;
    ImageButton *eraser = nullptr;
    ImageButton *text = nullptr;
    ImageButton *eraseAll = nullptr;
    ImageButton *clip = nullptr;
    ImageButton *hand = nullptr;
    ImageButton *fillBackground = nullptr;
    // Assisting
    ImageButton *mask = nullptr;
    ImageButton *effect = nullptr;
    // Adjustment
    ImageButton *zoomOut = nullptr;
    ImageButton *zoomIn = nullptr;
    ImageButton *zoomReset = nullptr;
    ImageButton *autoFocus = nullptr;
    ImageButton *brightnessDown = nullptr;
    ImageButton *brightnessUp = nullptr;
    ImageButton *rotate = nullptr;
    ImageButton *rotateRev = nullptr;
    ImageButton *freeze = nullptr;
    // Recording
    ImageButton *record = nullptr;
    ImageButton *snapshot = nullptr;
    ImageButton *settings = nullptr;
    ImageButton *print = nullptr;

    QButtonGroup *toolGroup = nullptr;
};

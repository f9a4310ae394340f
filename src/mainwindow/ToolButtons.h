#pragma once

class ImageButton;
class QButtonGroup;

// The tool buttons of the main window's side panel, by group, and the exclusive group the
// drawing tools share. The buttons are children of the panel.
struct ToolButtons
{
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

#pragma once

#include <QList>
#include <QStringList>

// Kinds shared by the canvas, the main window, the popups and the on-screen display.
// The lists below are process-wide constants, built during static initialisation (before
// main() runs) and never changed afterwards.
//
// Threads: any thread may read them.

// Mouse tool of a canvas (stored as an int).
enum CanvasTool {
    TOOL_HAND = 0,
    TOOL_FREEHAND = 1,
    TOOL_LINE = 2,
    TOOL_ARROW = 3,
    TOOL_RECTANGLE = 4,
    TOOL_CIRCLE = 5,
    TOOL_TRIANGLE = 6,
    TOOL_ERASER = 7,
    TOOL_CLIP = 8,
    TOOL_TEXT = 9
};

// Colour effect applied to the whole rotated frame.
enum EffectKind { EFFECT_COLOR = 0, EFFECT_BW = 1, EFFECT_NEGATIVE = 2, EFFECT_MOSAIC = 3 };

// Mask applied to the visible cut-out.
enum MaskKind { MASK_NONE = 0, MASK_CIRCLE = 1, MASK_RECTANGLE = 2, MASK_LEFT = 3, MASK_TOP = 4 };

// Icon names indexed by EffectKind: "COLOR", "BW", "NEGATIVE", "MOSAIC".
extern const QStringList EFFECT_ICON_NAMES;
// Untranslated labels indexed by EffectKind ("Color", "B & W", ...); their translations live
// in the "OSDProcessor" context, which shows them.
extern const QStringList EFFECT_LABELS;
// The effect values the effect popup maps its buttons to: 0, 1, 2, 3.
extern const QList<int> EFFECT_VALUES;
// Icon names indexed by MaskKind: "", "CIRCLE", "RECTANGLE", "LEFT", "TOP".
extern const QStringList MASK_ICON_NAMES;
// The mask values the mask popup maps its buttons to: 0, 1, 2, 3, 4.
extern const QList<int> MASK_VALUES;

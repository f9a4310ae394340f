#include "mainwindow/ToolButtons.h"

#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "widgets/ImageButton.h"

namespace {
const char *const MaskButtonIcons[] = {"ICON_MASK_CIRCLE", "ICON_MASK_CIRCLE", "ICON_MASK_RECTANGLE",
                                       "ICON_MASK_LEFT", "ICON_MASK_TOP"};
const char *const EffectButtonIcons[] = {"ICON_EFFECT_COLOR", "ICON_EFFECT_BW", "ICON_EFFECT_NEGATIVE",
                                         "ICON_EFFECT_MOSAIC"};
} // namespace

void ToolButtons::enableFor(WindowMode mode) const
{
    const bool live = mode == MODE_LIVE;
    fillBackground->setEnabled(mode == MODE_DRAWING_BOARD);
    for (ImageButton *cameraButton : {autoFocus, brightnessUp, brightnessDown, freeze, record, settings})
        cameraButton->setEnabled(live);
    snapshot->setEnabled(true);
    // The hand pans a zoomed picture in every mode, the live one included.
    hand->setEnabled(true);
}

void ToolButtons::showCanvasState(const ImageCanvas &canvas) const
{
    ImageButton *const toolButtons[] = {hand,   freehand, line,   arrow, rectangle,
                                        circle, triangle, eraser, clip,  text};
    const int tool = canvas.tool();
    if (tool >= TOOL_HAND && tool <= TOOL_TEXT)
        toolButtons[tool]->setChecked(true);

    const int canvasMask = canvas.pipeline()->mask();
    mask->setChecked(canvasMask != MASK_NONE);
    if (canvasMask >= MASK_NONE && canvasMask <= MASK_TOP)
        mask->setImage(MaskButtonIcons[canvasMask]);

    const int canvasEffect = canvas.pipeline()->effect();
    if (canvasEffect >= EFFECT_COLOR && canvasEffect <= EFFECT_MOSAIC)
        effect->setImage(EffectButtonIcons[canvasEffect]);

    freeze->setChecked(canvas.pipeline()->freeze());
}

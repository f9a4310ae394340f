#include "canvas/CanvasOverlay.h"

CanvasOverlay::~CanvasOverlay() = default;

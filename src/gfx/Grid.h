#pragma once
// The white grid of the View menu over the level view or the selector.
#include "gfx/Canvas.h"

constexpr QRgb GridColour = 0xFFFFFF;

// White lines at every i x 64 pixels, i = 0..15, across the picture's full
// width and height; lines beyond the picture are not seen.
void DrawGrid(Canvas& picture);

#pragma once
// Mirroring and rotating the player pictures.
#include "Canvas.h"

// Left-right mirror of src drawn onto dst at (0, 0); dst keeps its size. src and dst may be the same.
void MirrorBitmap(const TBitmap& src, TBitmap& dst);
// Turns src by angleDeg (positive: clockwise on the screen) with nearest-pixel inverse mapping; dst
// becomes the bounding size, and pixels from outside src get bgColor (-1 as a TColor: pure white).
void RotateBitmap(const TBitmap& src, int angleDeg, TColor bgColor, TBitmap& dst);

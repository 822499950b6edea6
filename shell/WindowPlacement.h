#pragma once
// Vertical placement of a window that keeps clear of the desktop's panel.
#include <QRect>

// The top of a window of frame height h on a screen whose whole area is `screen` and whose area
// without panels is `available`; `currentTop` stays when the panel stands on the left or right.
int AdjustedFormTop(const QRect& screen, const QRect& available, int h, int currentTop);

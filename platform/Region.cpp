#include "Region.h"

#include <algorithm>

TRegion TRegion::Rect(int x1, int y1, int x2, int y2)
{
    TRegion r;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 > x1 && y2 > y1) r.m_r = QRegion(x1, y1, x2 - x1, y2 - y1);
    return r;
}

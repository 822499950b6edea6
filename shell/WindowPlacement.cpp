#include "WindowPlacement.h"

int AdjustedFormTop(const QRect& screen, const QRect& available, int h, int currentTop)
{
    const int s = screen.height();
    int top;
    if (available.top() > screen.top()) {
        const int t = available.top() - screen.top();
        top = t + (s - (t + h)) / 2;
    } else if (available.bottom() < screen.bottom()) {
        const int t = screen.bottom() - available.bottom();
        top = (s - (t + h)) / 2 - 8;
    } else if (available.left() > screen.left() || available.right() < screen.right()) {
        return currentTop < 0 ? 0 : currentTop;
    } else {
        // No panel takes room (none, or one that hides itself).
        top = (s - h) / 2 - 8;
    }
    if (top < 0) top = 0;
    return screen.top() + top;
}

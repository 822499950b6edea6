#include "ZonedWheel.h"

TWheelAction ZonedWheel(QPoint pos, QSize box, int delta, const TWheelRoom& room)
{
    const int W = box.width(), H = box.height(), x = pos.x(), y = pos.y();
    const bool left = x < W / 3, right = x > W - W / 3, top = y < H / 3, bottom = y > H - H / 3;
    const bool up = delta > 0;
    TWheelAction a;
    if ((top && left) || (bottom && right)) {
        if (up && room.Up && room.Left) a.Keys = {VK_UP, VK_LEFT};
        else if (!up && room.Down && room.Right) a.Keys = {VK_DOWN, VK_RIGHT};
    } else if ((bottom && left) || (top && right)) {
        if (up && room.Up && room.Right) a.Keys = {VK_UP, VK_RIGHT};
        else if (!up && room.Down && room.Left) a.Keys = {VK_DOWN, VK_LEFT};
    } else if (left || right) {
        a.Keys = {Word(up ? VK_LEFT : VK_RIGHT)};
    } else if (top || bottom) {
        a.Keys = {Word(up ? VK_UP : VK_DOWN)};
    } else {
        a.ZoomSteps = up ? 1 : -1;
    }
    return a;
}

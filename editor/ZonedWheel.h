#pragma once
// The zoned wheel of the editor's views: a scroll box cut into thirds each way, where a wheel turn
// over a band scrolls along it, over a corner scrolls both ways (only where there is room both
// ways), and over the centre changes the zoom.
#include "Keys.h"
#include <QPoint>
#include <QSize>
#include <vector>

// Where the view can still scroll.
struct TWheelRoom {
    bool Up = false, Down = false, Left = false, Right = false;
};

struct TWheelAction {
    std::vector<Word> Keys; // arrow keys to press, in order
    int ZoomSteps = 0;      // +1 or -1 increments of the zoom (the centre)
};

// pos: the pointer relative to the box; delta: the wheel's turn (above 0 is up).
TWheelAction ZonedWheel(QPoint pos, QSize box, int delta, const TWheelRoom& room);

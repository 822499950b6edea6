#pragma once
// Rectangular regions to check overlaps against, with right and bottom edges excluded.
#include <QRegion>

class TRegion {
public:
    TRegion() = default;
    static TRegion Rect(int x1, int y1, int x2, int y2);
    const QRegion& Qt() const { return m_r; }

private:
    QRegion m_r;
};

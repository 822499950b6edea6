#pragma once
// Regions for hit tests: polygons (odd-even fill unless told winding), ellipses and rectangles,
// with right and bottom edges excluded.
#include <QPoint>
#include <QRegion>
#include <vector>

class TRegion {
public:
    TRegion() = default;
    static TRegion Polygon(const std::vector<QPoint>& pts, bool winding = false);
    static TRegion Ellipse(int x1, int y1, int x2, int y2);
    static TRegion Rect(int x1, int y1, int x2, int y2);
    bool Contains(int x, int y) const { return m_r.contains(QPoint(x, y)); }
    bool Empty() const { return m_r.isEmpty(); }
    const QRegion& Qt() const { return m_r; }
    TRegion United(const TRegion& o) const { TRegion r; r.m_r = m_r.united(o.m_r); return r; }
    void Offset(int dx, int dy) { m_r.translate(dx, dy); }

private:
    QRegion m_r;
};

#include "BaseballField.h"

#include <cmath>

namespace bb {

const TSpotTable& DefaultSpots()
{
    static const TSpotTable spots{{
        {300, 415}, {322, 660}, {460, 390}, {385, 315}, {145, 390}, {225, 310}, {100, 260}, {300, 180}, {510, 260},
        {315, 565}, {450, 415}, {310, 295}, {155, 415},
        {255, 560},
        {480, 410}, {290, 290}, {125, 410}, {285, 560},
        {385, 580}, {440, 570}, {405, 525},
        {440, 470},
        {510, 400},
        {130, 320}, {470, 320},
        {15, 285}, {160, 170}, {590, 285}, {445, 165}, {210, 148}, {395, 150}, {315, 80},
    }};
    return spots;
}

TPolyRegion::TPolyRegion(std::initializer_list<std::vector<QPoint>> polygons) : m_polygons(polygons) {}

bool TPolyRegion::Contains(QPoint p) const
{
    // The pixel's centre, so that no test point ever lies on an edge between integer vertices.
    const double px = p.x() + 0.5, py = p.y() + 0.5;
    int winding = 0;
    for (const auto& poly : m_polygons) {
        const size_t n = poly.size();
        for (size_t i = 0; i < n; ++i) {
            const QPoint a = poly[i], b = poly[(i + 1) % n];
            const double cross = (b.x() - a.x()) * (py - a.y()) - (px - a.x()) * (b.y() - a.y());
            if (a.y() <= py && b.y() > py && cross > 0) ++winding;
            else if (a.y() > py && b.y() <= py && cross < 0) --winding;
        }
    }
    return winding != 0;
}

const TPolyRegion& FenceBand()
{
    static const TPolyRegion r{{{-20, 330}, {95, 220}, {190, 160}, {265, 140}, {340, 140}, {415, 160}, {510, 220}, {625, 330},
                                {625, 290}, {520, 190}, {425, 135}, {335, 110}, {270, 110}, {180, 135}, {85, 190}, {-20, 290}}};
    return r;
}

const TPolyRegion& OutfieldBand()
{
    static const TPolyRegion r{{{25, 375}, {230, 215}, {360, 215}, {580, 375}, {600, 350}, {375, 190}, {215, 190}, {5, 350}}};
    return r;
}

const TPolyRegion& LineQuads()
{
    static const TPolyRegion r{{{110, 445}, {215, 360}, {195, 335}, {90, 420}},
                               {{260, 310}, {345, 310}, {345, 280}, {260, 280}},
                               {{385, 360}, {495, 450}, {515, 425}, {405, 335}}};
    return r;
}

TBox CourseRect(int course)
{
    if (course == 0) return {635, 538, 720, 575};
    if (course < 1 || course > 9) return {};
    static constexpr int kCols[3][2] = {{635, 678}, {677, 720}, {719, 763}};
    static constexpr int kRows[3][2] = {{488, 529}, {448, 489}, {408, 449}}; // 1-3, 4-6, 7-9
    const int col = (course - 1) % 3, row = (course - 1) / 3;
    return {kCols[col][0], kRows[row][0], kCols[col][1], kRows[row][1]};
}

int CourseAt(QPoint p, bool withTagUp)
{
    for (int c = 0; c <= 9; ++c)
        if (CourseRect(c).Contains(p)) return c;
    if (withTagUp && kTagUpButton.Contains(p)) return kTagUpIndex;
    return -1;
}

int PointDistance(QPoint p1, QPoint p2)
{
    const double dx = double(p2.x()) - p1.x(), dy = double(p2.y()) - p1.y();
    const double d = std::sqrt(dx * dx + dy * dy);
    if (!std::isfinite(d) || d > 2e9) return 0;
    return int(std::nearbyint(d));
}

double PointAngle(QPoint p1, QPoint p2)
{
    return std::atan2(double(p1.y() - p2.y()), double(p2.x() - p1.x()));
}

QPoint PolarOffset(QPoint p, double r, double a)
{
    return {p.x() + int(std::nearbyint(r * std::cos(a))), p.y() - int(std::nearbyint(r * std::sin(a)))};
}

} // namespace bb

#include "SoccerGeometry.h"
#include "MathUtil.h"

#include <algorithm>
#include <cmath>

namespace soccer {

namespace {

TPolygon Poly(std::initializer_list<QPoint> pts)
{
    TPolygon p;
    for (QPoint q : pts) p.Pts[p.Count++] = q;
    return p;
}

constexpr int kColX[kCols] = {116, 151, 186, 221, 276, 331, 386, 476, 531, 586, 641, 676, 711, 746};
constexpr int kRowY[kRows] = {160, 180, 205, 230, 265, 300, 335, 370, 405, 440, 465, 490, 510};

// Projection of the polygon's corners on an axis.
void Project(const TPolygon& p, double ax, double ay, double& lo, double& hi)
{
    lo = hi = p.Pts[0].x() * ax + p.Pts[0].y() * ay;
    for (int i = 1; i < p.Count; ++i) {
        const double v = p.Pts[i].x() * ax + p.Pts[i].y() * ay;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
}

} // namespace

bool TRect::Touches(const TRect& o) const
{
    return !Empty() && !o.Empty() && Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
}

bool TPolygon::Contains(int x, int y) const
{
    const double px = x + 0.5, py = y + 0.5;
    bool inside = false;
    for (int i = 0, j = Count - 1; i < Count; j = i++) {
        const QPoint a = Pts[i], b = Pts[j];
        if ((a.y() > py) != (b.y() > py)) {
            const double cx = a.x() + (py - a.y()) * (b.x() - a.x()) / double(b.y() - a.y());
            if (px < cx) inside = !inside;
        }
    }
    return inside;
}

bool TPolygon::Touches(const TRect& r) const
{
    if (r.Empty() || Count == 0) return false;
    // Separating axes between the polygon and the box of the rectangle's pixel centres.
    const double bx0 = r.Left + 0.5, bx1 = r.Right - 0.5, by0 = r.Top + 0.5, by1 = r.Bottom - 0.5;
    double lo, hi;
    Project(*this, 1, 0, lo, hi);
    if (hi < bx0 || lo > bx1) return false;
    Project(*this, 0, 1, lo, hi);
    if (hi < by0 || lo > by1) return false;
    for (int i = 0, j = Count - 1; i < Count; j = i++) {
        const double nx = Pts[i].y() - Pts[j].y(), ny = Pts[j].x() - Pts[i].x();
        if (nx == 0 && ny == 0) continue;
        Project(*this, nx, ny, lo, hi);
        const double c[4] = {bx0 * nx + by0 * ny, bx1 * nx + by0 * ny, bx0 * nx + by1 * ny, bx1 * nx + by1 * ny};
        const double blo = *std::min_element(c, c + 4), bhi = *std::max_element(c, c + 4);
        if (hi < blo || lo > bhi) return false;
    }
    return true;
}

TPolygon Triangle(QPoint a, QPoint b, QPoint c)
{
    return Poly({a, b, c});
}

bool EllipseContains(const TRect& box, int x, int y)
{
    if (box.Empty()) return false;
    const double rx = (box.Right - box.Left) / 2.0, ry = (box.Bottom - box.Top) / 2.0;
    const double dx = (x + 0.5 - box.Left - rx) / rx, dy = (y + 0.5 - box.Top - ry) / ry;
    return dx * dx + dy * dy <= 1.0;
}

const TRect FieldRt{100, 120, 763, 550};
const QPoint CentrePt{(100 + 763) / 2, (120 + 550) / 2};
const TRect BallBounds{0, 130, kW, kH - 30};
const TRect GoalRt[2] = {{68, 295, 102, 375}, {761, 295, 795, 375}};
const TRect NetRt[2] = {{60, 286, 102, 384}, {761, 286, 803, 384}};
const TRect PostRt[4] = {{68, 283, 105, 295}, {68, 375, 105, 387}, {758, 283, 795, 295}, {758, 375, 795, 387}};
const TPolygon GoalRgn[2] = {Poly({{68, 292}, {96, 300}, {96, 370}, {68, 378}}),
                             Poly({{767, 300}, {795, 292}, {795, 378}, {767, 370}})};
const TPolygon NetRgn[2][2] = {
    {Poly({{68, 279}, {102, 279}, {102, 296}, {68, 300}}), Poly({{68, 370}, {102, 374}, {102, 391}, {68, 391}})},
    {Poly({{761, 279}, {795, 279}, {795, 300}, {761, 296}}), Poly({{761, 374}, {795, 370}, {795, 391}, {761, 391}})}};
const QPoint GoalPt[2] = {{96, 335}, {767, 335}};
const TRect PenaltyRt[2] = {{100, 195, 250, 475}, {613, 195, 763, 475}};
const TRect GoalAreaRt[2] = {{100, 270, 150, 400}, {713, 270, 763, 400}};
const TRect FSRt[2] = {{125, 145, 371, 525}, {491, 145, 738, 525}};
const TRect CornerRt[2][2] = {{{100, 120, 260, 220}, {100, 450, 260, 550}}, {{603, 120, 763, 220}, {603, 450, 763, 550}}};
const TRect CheerRt[2] = {{586, 0, 676, kH}, {186, 0, 276, kH}};
const TRect OperationRt[2][2] = {{{8, 287, 53, 383}, {8, 395, 89, 450}}, {{810, 287, 855, 383}, {774, 395, 855, 450}}};

QPoint FieldPt(int col, int row)
{
    col = std::clamp(col, 0, kCols - 1);
    row = std::clamp(row, 0, kRows - 1);
    return {kColX[col], kRowY[row]};
}

QPoint GridPoint(bool mirror, QPoint cell)
{
    return FieldPt(mirror ? kCols - 1 - cell.x() : cell.x(), cell.y());
}

const int kPlayerRole[7] = {rlKeeper, rlSideBack, rlCentreBack, rlSideBack, rlMidfielder, rlMidfielder, rlForward};
const QPoint kKickOffCell[7] = {{0, 6}, {2, 3}, {2, 6}, {2, 9}, {4, 5}, {4, 7}, {5, 6}};
const QPoint kHomeCell[7] = {{0, 6}, {1, 4}, {1, 6}, {1, 8}, {3, 5}, {3, 7}, {4, 6}};
const QPoint kAttackCell[7] = {{0, 6}, {2, 3}, {3, 6}, {2, 9}, {11, 5}, {11, 7}, {12, 6}};

const int kTuning[8] = {16, 8, 40, 50, 70, 25, 15, 45};
const char* const kSetPieceName[3] = {"ＰＫ", "ファール", "オフサイド"};

double DegToRad(double deg)
{
    return deg * kPi / 180.0;
}

double RadToDeg(double rad)
{
    return rad * 180.0 / kPi;
}

double FoldAngle(double a)
{
    a = std::fmod(a, 2 * kPi);
    if (a > kPi) a -= 2 * kPi;
    if (a < -kPi) a += 2 * kPi;
    return a;
}

int PointDistance(QPoint p1, QPoint p2)
{
    const double dx = p2.x() - p1.x(), dy = p2.y() - p1.y();
    return Round(std::sqrt(dx * dx + dy * dy));
}

double PointAngle(QPoint p1, QPoint p2)
{
    return std::atan2(double(p1.y() - p2.y()), double(p2.x() - p1.x()));
}

QPoint PolarPoint(double r, double angle)
{
    return {Round(r * std::cos(angle)), Round(-r * std::sin(angle))};
}

int LinearMap(int a, int b, int c, int d, int e)
{
    if (a == e) return b;
    return b - Round(double(b - d) * (a - c) / double(a - e));
}

int WeightedPoint(int a, int b, int wa, int wb, bool clamp)
{
    if (wa + wb == 0) return a;
    const int v = (b * wb + a * wa) / (wa + wb);
    return clamp ? std::clamp(v, std::min(a, b), std::max(a, b)) : v;
}

QPoint StepPoint(QPoint from, double angle, int s)
{
    return {from.x() + Round(std::cos(angle) * s), from.y() - Round(std::sin(angle) * s)};
}

} // namespace soccer

#pragma once
// The soccer field in back-buffer pixels (863 x 570, y growing downwards), the 14 x 13 grid of field
// points, the cell tables of the seven players, and the small geometry routines the rules share.
// Angles are radians, 0 pointing right, growing counter-clockwise as seen on screen: a move of s px at
// angle a adds Round(cos(a) * s) to x and subtracts Round(sin(a) * s) from y.
// Hit tests are plain geometry: a rectangle holds its left and top edges but not its right and bottom
// ones, and a polygon or ellipse holds the pixels whose centres lie inside it.
#include <QPoint>
#include <array>

namespace soccer {

constexpr int kW = 863;
constexpr int kH = 570;
constexpr double kPi = 3.14159265358979323846;

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool Contains(QPoint p) const { return Contains(p.x(), p.y()); }
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    bool Touches(const TRect& o) const;
    TRect Inflated(int d) const { return {Left - d, Top - d, Right + d, Bottom + d}; }
    bool operator==(const TRect&) const = default;
};

// A convex polygon of up to six corners (the goal and net regions, pass and shot lanes).
struct TPolygon {
    std::array<QPoint, 6> Pts{};
    int Count = 0;
    bool Contains(int x, int y) const;
    // Some pixel of the rectangle lies inside the polygon.
    bool Touches(const TRect& r) const;
};
TPolygon Triangle(QPoint a, QPoint b, QPoint c);

// The ellipse inscribed in a box.
bool EllipseContains(const TRect& box, int x, int y);

// The field. Indexes: [0] the left end (team 0 defends it), [1] the right end.
extern const TRect FieldRt;
extern const QPoint CentrePt;
extern const TRect BallBounds;       // where the ball can go
extern const TRect GoalRt[2];        // goal mouths
extern const TRect NetRt[2];         // nets as drawn
extern const TRect PostRt[4];        // left upper, left lower, right upper, right lower
extern const TPolygon GoalRgn[2];    // inside of each goal
extern const TPolygon NetRgn[2][2];  // [goal][upper, lower]: post and side net
extern const QPoint GoalPt[2];       // aiming point of each goal, 6 px inside its line
extern const TRect PenaltyRt[2];
extern const TRect GoalAreaRt[2];
extern const TRect FSRt[2];          // inner part of each half; the left half belongs to team 0
extern const TRect CornerRt[2][2];   // [end][upper, lower]
extern const TRect CheerRt[2];       // crowd cheer strips, full height
extern const TRect OperationRt[2][2]; // operation buttons: [left side, right side][upper, lower]

// The grid: column 0 at the left goal; team 1 reads it mirrored (column 13 - c).
constexpr int kCols = 14;
constexpr int kRows = 13;
QPoint FieldPt(int col, int row);
// The point of a cell (column, row), the column mirrored when Mirror.
QPoint GridPoint(bool mirror, QPoint cell);

// Cell tables of players 0..6 in team 0's view.
enum TRole { rlKeeper = 0, rlCentreBack = 1, rlSideBack = 2, rlMidfielder = 3, rlForward = 4 };
extern const int kPlayerRole[7];
extern const QPoint kKickOffCell[7];
extern const QPoint kHomeCell[7];
extern const QPoint kAttackCell[7];

// Tuning values kept beside the tables (tuning 0..7), and the set-piece names by kind.
extern const int kTuning[8];
extern const char* const kSetPieceName[3];

// Movement limits of a player (also his celebration box at kick-off).
constexpr int kMinX = 145, kMaxX = kW - 145, kMinY = 120, kMaxY = kH - 20;

// Math helpers.
double DegToRad(double deg);
double RadToDeg(double rad);
// An angle folded into -pi..pi.
double FoldAngle(double a);
int PointDistance(QPoint p1, QPoint p2);
// The direction from P1 to P2 with y up.
double PointAngle(QPoint p1, QPoint p2);
// The offset of R px at Angle.
QPoint PolarPoint(double r, double angle);
// B when A = E, else B - Round((B - D) * (A - C) / (A - E)): the value at C on the line through
// (A, B) and (E, D).
int LinearMap(int a, int b, int c, int d, int e);
// (B * WB + A * WA) div (WA + WB), clamped between A and B unless Clamp is false.
int WeightedPoint(int a, int b, int wa, int wb, bool clamp = true);
// A step of S px along Angle.
QPoint StepPoint(QPoint from, double angle, int s);

} // namespace soccer

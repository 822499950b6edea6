#pragma once
// The baseball field as plain geometry: the spots where the actors stand and run to, the fence, the
// edge of the infield grass and the line regions, and the keypad-shaped course panel. All points are
// pixels of the field picture, x to the right, y downwards; an actor's position is the point under
// its feet.
#include <QPoint>
#include <array>
#include <initializer_list>
#include <vector>

namespace bb {

constexpr int kFieldWidth = 792;
constexpr int kFieldHeight = 590;
constexpr int kBallMaxX = 605; // the ball stays on the field, left of the right panel

// A rectangle as left, top, right, bottom; the right and bottom edges are outside, as a point test on
// a window rectangle has them.
struct TBox {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr bool Contains(QPoint p) const { return p.x() >= Left && p.x() < Right && p.y() >= Top && p.y() < Bottom; }
    constexpr TBox Moved(QPoint d) const { return {Left + d.x(), Top + d.y(), Right + d.x(), Bottom + d.y()}; }
    friend constexpr bool operator==(const TBox&, const TBox&) = default;
};

// Indices of the field spot table.
enum TSpot {
    spPitcher = 0, // 0-8: the fielders' home spots, by position number
    spCatcher = 1,
    spCentreFielder = 7,
    spCoverHome = 9, // 9-12: where a fielder takes a throw at home, first, second, third
    spCoverFirst = 10,
    spCoverSecond = 11,
    spCoverThird = 12,
    spBatterBox = 13,
    spRunFirst = 14, // 14-17: where runners stand and run to
    spRunSecond = 15,
    spRunThird = 16,
    spRunHome = 17,
    spWalkOff = 18, // 18-20: where batter and runners gather after a walk-off home run
    spRetreat = 21, // a running batter turns back here when a fly is about to be caught
    spOverrun = 22, // the batter runs on past first base
    spPopThird = 23,
    spPopFirst = 24,
    spHit = 25, // 25-31: targets of play results 14 to 20
    kSpotCount = 32,
};
using TSpotTable = std::array<QPoint, kSpotCount>;

// The spot table as a new plate appearance finds it; the game keeps its own copy because the catcher's
// and the centre fielder's spots move during a play.
const TSpotTable& DefaultSpots();

constexpr QPoint kCatcherBaseSpot{322, 660};
constexpr QPoint kCentreBaseSpot{300, 180};
// Home-run landing points along the fence, left to right.
constexpr std::array<QPoint, 7> kFencePoints{{{25, 200}, {60, 165}, {165, 115}, {280, 90}, {450, 115}, {540, 165}, {580, 200}}};
// Targets of the foul kinds 1-6 (index 0 unused); the two poles are redrawn at each pole foul.
constexpr std::array<QPoint, 7> kFoulSpots{{{0, 0}, {25, 200}, {580, 200}, {120, 420}, {485, 420}, {5, 300}, {600, 300}}};
// Where an outfielder leaps for a home-run ball.
constexpr std::array<QPoint, 7> kFenceCatchSpots{{{300, 135}, {345, 145}, {380, 150}, {510, 225}, {535, 245}, {552, 265}, {485, 210}}};
// Where the bench players run to celebrate.
constexpr std::array<QPoint, 5> kBenchSpots{{{170, 560}, {205, 515}, {235, 570}, {335, 575}, {350, 515}}};

// One or more polygons filled by the winding rule; a point is inside when the pixel it names is.
class TPolyRegion {
public:
    TPolyRegion(std::initializer_list<std::vector<QPoint>> polygons);
    bool Contains(QPoint p) const;

private:
    std::vector<std::vector<QPoint>> m_polygons;
};

// The outfield wall: a ball entering it bounces.
const TPolyRegion& FenceBand();
// The edge of the infield grass: cheers, and fouls of kinds 5 and 6.
const TPolyRegion& OutfieldBand();
// Along the third-base line, round second base, along the first-base line: cheers, fouls 3 and 4.
const TPolyRegion& LineQuads();

// The course panel. Courses 1-9 sit like a numeric keypad (7 8 9 on top), course 0 below them; the
// rectangles overlap by a pixel and the first that holds a point wins.
constexpr int kNoCourse = 255;
constexpr int kTagUpIndex = 10; // the tag-up button, as a hover index
TBox CourseRect(int course);
constexpr TBox kTagUpButton{725, 538, 763, 575};
constexpr TBox kOrderToggle{729, 125, 789, 142}; // hits/at-bats or batting average
// The first course 0-9 whose rectangle holds p; with withTagUp the tag-up button counts as 10; else -1.
int CourseAt(QPoint p, bool withTagUp);

// Rounded distance (halves to even); 0 when it cannot be computed.
int PointDistance(QPoint p1, QPoint p2);
// Radians from p1 to p2 with y up.
double PointAngle(QPoint p1, QPoint p2);
// p moved r pixels at angle a (y up), each coordinate rounded.
QPoint PolarOffset(QPoint p, double r, double a);

} // namespace bb

#include "GolfGreen.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace golf {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kLipSectors = 8;
constexpr int kWedges = 12;

int roundi(double v) { return int(std::nearbyint(v)); }

struct TPt {
    int x, y;
};

// A point at distance r in direction a, rounded, in field coordinates (y downwards).
TPt polar(double r, double a) { return {roundi(r * std::cos(a)), -roundi(r * std::sin(a))}; }

std::int64_t cross(TPt a, TPt b, TPt p)
{
    return std::int64_t(b.x - a.x) * (p.y - a.y) - std::int64_t(b.y - a.y) * (p.x - a.x);
}

// The triangle holds the point, edges included; whichever way the triangle winds.
bool inTriangle(TPt p, TPt a, TPt b, TPt c)
{
    const std::int64_t d1 = cross(a, b, p), d2 = cross(b, c, p), d3 = cross(c, a, p);
    const bool neg = d1 < 0 || d2 < 0 || d3 < 0;
    const bool pos = d1 > 0 || d2 > 0 || d3 > 0;
    return !(neg && pos);
}

// Unit directions of the lip sectors and of the hill wedges.
struct TDirections {
    double lipCos[kLipSectors], lipSin[kLipSectors];
    double wedgeCos[kWedges], wedgeSin[kWedges];
    TDirections()
    {
        for (int i = 0; i < kLipSectors; ++i) {
            lipCos[i] = std::cos(i * kPi / 4);
            lipSin[i] = std::sin(i * kPi / 4);
        }
        for (int s = 0; s < kWedges; ++s) {
            wedgeCos[s] = std::cos(s * kPi / 6);
            wedgeSin[s] = std::sin(s * kPi / 6);
        }
    }
};

const TDirections& directions()
{
    static const TDirections d;
    return d;
}

// For every offset from the cup's centre within the lip's reach: the first of the eight sectors,
// triangles from the centre to the two points at the lip radius 22.5 degrees either side of the
// sector's direction, that holds it, or -1.
struct TLipMask {
    static constexpr int kSide = 2 * kLipRadius + 1;
    std::int8_t sector[kSide][kSide];
    TLipMask()
    {
        TPt corner[kLipSectors][2];
        for (int i = 0; i < kLipSectors; ++i) {
            corner[i][0] = polar(kLipRadius, i * kPi / 4 - kPi / 8);
            corner[i][1] = polar(kLipRadius, i * kPi / 4 + kPi / 8);
        }
        for (int dy = -kLipRadius; dy <= kLipRadius; ++dy)
            for (int dx = -kLipRadius; dx <= kLipRadius; ++dx) {
                std::int8_t found = -1;
                for (int i = 0; i < kLipSectors && found < 0; ++i)
                    if (inTriangle({dx, dy}, {0, 0}, corner[i][0], corner[i][1])) found = std::int8_t(i);
                sector[dy + kLipRadius][dx + kLipRadius] = found;
            }
    }
};

const TLipMask& lipMask()
{
    static const TLipMask m;
    return m;
}

// For every offset from a hill's centre within its circle: the first of the twelve wedges that holds
// it (-1 for none) and the slope's push there; -2 outside the circle. A wedge is a triangle from a
// point one pixel out from the centre in the wedge's direction to the two points 5 pixels beyond the
// rim, 15 degrees either side of that direction.
class TSlopeMask {
public:
    explicit TSlopeMask(int radius) : m_radius(radius), m_side(2 * radius + 1)
    {
        m_wedge.assign(std::size_t(m_side) * m_side, -2);
        m_push.assign(std::size_t(m_side) * m_side, 0);
        TPt apex[kWedges], c0[kWedges], c1[kWedges];
        for (int s = 0; s < kWedges; ++s) {
            const double a = s * kPi / 6;
            apex[s] = {roundi(std::cos(a)), -roundi(std::sin(a))};
            c0[s] = polar(radius + 5, a - kPi / 12);
            c1[s] = polar(radius + 5, a + kPi / 12);
        }
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const int d2 = dx * dx + dy * dy;
                if (d2 > radius * radius) continue;
                std::int8_t found = -1;
                for (int s = 0; s < kWedges && found < 0; ++s)
                    if (inTriangle({dx, dy}, apex[s], c0[s], c1[s])) found = std::int8_t(s);
                const std::size_t at = index(dx, dy);
                m_wedge[at] = found;
                m_push[at] = std::int8_t(TGreen::PushAt(int(std::sqrt(double(d2)))));
            }
    }
    // -2 outside the circle, -1 inside but in no wedge, else the wedge.
    int Wedge(int dx, int dy) const
    {
        if (dx < -m_radius || dx > m_radius || dy < -m_radius || dy > m_radius) return -2;
        return m_wedge[index(dx, dy)];
    }
    int Push(int dx, int dy) const { return m_push[index(dx, dy)]; }

private:
    std::size_t index(int dx, int dy) const { return std::size_t(dy + m_radius) * m_side + (dx + m_radius); }
    int m_radius, m_side;
    std::vector<std::int8_t> m_wedge, m_push;
};

// Hills come in two sizes.
const TSlopeMask& slopeMask(int radius)
{
    static const TSlopeMask big(160), small(120);
    return radius <= 120 ? small : big;
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// The ball.

void TPlayer::SetAngle(double a)
{
    m_cos = std::cos(a);
    m_sin = std::sin(a);
}

void TPlayer::setAngleFromMove(double oldX, double oldY) { SetAngle(std::atan2(oldY - ExactY, ExactX - oldX)); }

void TPlayer::Reset()
{
    ExactX = TeeX;
    ExactY = TeeY;
    x = TeeX;
    y = TeeY;
    Speed = kPuttSpeed;
    State = bsWaiting;
}

void TPlayer::AimAt(double ax, double ay)
{
    SetAngle(std::atan2(y - ay, ax - x));
    State = bsRolling;
}

bool TPlayer::Roll(const TGreen& g, TRollEvents* events)
{
    if (Speed < 1 || State < bsRolling || State > bsRollingPast) return false;
    const TDirections& dir = directions();
    // Friction, by where the step starts. On the green a rolling ball that has run far beyond the
    // cup's row, or stops short outside the cup, can no longer drop in.
    if (x >= kRoughX) {
        Speed -= 4;
    } else if (y <= 16) {
        Speed -= 2;
    } else {
        Speed -= 1;
        if (State == bsRolling && (y < g.CupY - 28 || (Speed <= 0 && !g.InCup(x, y)))) State = bsRollingPast;
    }
    const double oldX = ExactX, oldY = ExactY;
    ExactX += m_cos * Speed;
    ExactY -= m_sin * Speed;

    // The lip, felt where the step started, pulls the ball towards the cup's centre: by 3 on the four
    // straight sides, and on the diagonals by 3 for a slow ball, 6 for a fast one.
    const int sector = g.LipSector(x, y);
    if (sector >= 0) {
        const int p = Speed <= 3 ? 3 : 6;
        if (sector == 0 || sector == 4) {
            ExactX -= 3 * dir.lipCos[sector];
        } else if (sector == 2 || sector == 6) {
            ExactY += 3 * dir.lipSin[sector];
        } else {
            ExactX -= p * dir.lipCos[sector];
            ExactY += p * dir.lipSin[sector];
        }
        setAngleFromMove(oldX, oldY);
    }

    // A step that starts inside the ring is tested at five points along its way, so that even a fast
    // ball cannot jump over the cup.
    if (State == bsRolling && g.InRing(x, y)) {
        const double dx = (roundi(ExactX) - x) / 4.0, dy = (roundi(ExactY) - y) / 4.0;
        for (int k = 0; k <= 4; ++k) {
            if (!g.InCup(roundi(x + k * dx), roundi(y + k * dy))) continue;
            if (events) events->Holed = true;
            Speed = std::min(Speed, 4);
            State = bsInCup;
            break;
        }
    }

    // The slope of a hill pushes a rolling ball outwards, downhill.
    bool pushed = false;
    if ((State == bsRolling || State == bsRollingPast) && !g.InRing(x, y)) {
        int wedge = -1, push = 0;
        if (g.Slope(x, y, &wedge, &push) && wedge >= 0) {
            ExactX += dir.wedgeCos[wedge] * push;
            ExactY -= dir.wedgeSin[wedge] * push;
            setAngleFromMove(oldX, oldY);
            pushed = true;
        }
    }

    // A holed ball circles on the rim until it stops.
    if (State == bsInCup && !g.InCup(roundi(ExactX), roundi(ExactY))) {
        const double a = std::atan2(g.CupY - ExactY, ExactX - g.CupX);
        ExactX = g.CupX + kCupRadius * std::cos(a);
        ExactY = g.CupY - kCupRadius * std::sin(a);
    }

    x = roundi(ExactX);
    y = roundi(ExactY);
    if (x < LeftBound) {
        x = LeftBound;
        Speed = 0;
        State = bsAtRest;
    } else if (x > RightBound) {
        x = RightBound;
        Speed = 0;
        State = bsAtRest;
    } else if (Speed < 1) {
        Speed = 0;
        if (State == bsRolling || State == bsRollingPast) State = bsAtRest;
        else if (State == bsInCup && events) events->RestInCup = true;
    }
    return pushed;
}

// ---------------------------------------------------------------------------------------------------
// The green.

int TGreen::PushAt(int d)
{
    if (d < 40) return d / 10;
    return std::max(0, 5 - d / 40);
}

int TGreen::LipSector(int px, int py) const
{
    const int dx = px - CupX, dy = py - CupY;
    if (dx < -kLipRadius || dx > kLipRadius || dy < -kLipRadius || dy > kLipRadius) return -1;
    return lipMask().sector[dy + kLipRadius][dx + kLipRadius];
}

bool TGreen::Slope(int px, int py, int* wedge, int* push) const
{
    for (int h = 0; h < 2; ++h) {
        if (!HillFelt(h)) continue;
        const THill& hill = Hills[h];
        const TSlopeMask& mask = slopeMask(hill.radius);
        const int dx = px - hill.x, dy = py - hill.y;
        const int w = mask.Wedge(dx, dy);
        if (w == -2) continue;
        *wedge = w;
        *push = w >= 0 ? mask.Push(dx, dy) : 0;
        return true;
    }
    return false;
}

bool TGreen::Holes(int aimX, bool* hillTouched) const
{
    TPlayer ball;
    ball.Reset();
    ball.AimAt(aimX, CupY);
    bool pushed = false;
    for (int step = 0; step < kSolverSteps; ++step) {
        pushed = ball.Roll(*this) || pushed;
        if (ball.State == bsInCup) {
            if (hillTouched) *hillTouched = pushed;
            return true;
        }
        if (ball.State > bsInCup) break;
    }
    if (hillTouched) *hillTouched = pushed;
    return false;
}

void TGreen::SolveGreen(const std::function<int(int)>& random)
{
    FSolutions.clear();
    for (int aim = 0; aim <= kFieldWidth; ++aim) {
        bool touched = false;
        if (!Holes(aim, &touched)) continue;
        FSolutions.push_back(aim);
        if (!touched) FStraightFound = true;
    }
    if (FSolutions.empty()) FFlatHill = random(2);
    else if (FFlatHill < 0 && random(4) == 0) FFlatHill = random(2);
}

void TGreen::MakeGreen(const std::function<int(int)>& random)
{
    for (THill& hill : Hills) hill.radius = random(2) == 0 ? 160 : 120;
    // One hill in the upper band, the other in the lower one.
    const int band = random(2);
    for (int h = 0; h < 2; ++h) {
        THill& hill = Hills[h];
        const int b = h == 0 ? band : 1 - band;
        hill.x = random(350);
        hill.y = b * 200 + 100 + random(hill.radius == 160 ? 50 : 100);
    }
    // The cup lies between the hills, give or take 50 pixels. A generator that keeps missing that
    // span (only a broken one can) gets the nearest x inside it instead of hanging the game.
    const int lo = std::min(Hills[0].x, Hills[1].x) - 50, hi = std::max(Hills[0].x, Hills[1].x) + 50;
    CupX = random(420) + 50;
    for (int tries = 1; (CupX < lo || CupX > hi) && tries < 10000; ++tries) CupX = random(420) + 50;
    CupX = std::clamp(CupX, lo, hi);
    CupY = random(100) + 44;
    FFlatHill = -1;
    FStraightFound = false;
    SolveGreen(random);
    if (FFlatHill >= 0) SolveGreen(random);
}

} // namespace golf

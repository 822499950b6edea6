#pragma once
// The putting green: a tee, a cup with its lip and two round hills whose slopes turn a rolling ball;
// the ball and its roll step; the green generator and the solver that rolls a ball for every aim and
// keeps the aims that hole it. Positions are pixels of the play field (x to the right, y downwards);
// angles are mathematical (0 to the right, counter-clockwise), so a step along angle a adds cos a to x
// and takes sin a from y. Every hit test is arithmetic or a look-up in a mask built once for the whole
// run, so making and solving a green costs nothing but the simulated rolls.
#include <functional>
#include <vector>

namespace golf {

constexpr int kFieldWidth = 560;  // aims are tried from 0 to this x, both included
constexpr int kFieldHeight = 580;
constexpr int kTeeX = 200, kTeeY = 540;
constexpr int kPuttSpeed = 34;    // every putt starts at this speed, whatever the user dragged
constexpr int kRoughX = 450;      // right of this x the ball loses 4 speed a step
constexpr int kCupRadius = 9;     // the hole itself
constexpr int kRingRadius = 19;   // inside this ring a step is tested at five points for the hole
constexpr int kLipRadius = 17;    // the eight lip sectors pull the ball towards the hole
constexpr int kSolverSteps = 101;

enum TBallState { bsWaiting = 0, bsRolling = 1, bsInCup = 2, bsRollingPast = 3, bsAtRest = 4 };

struct THill {
    int x = 0, y = 0;
    int radius = 160; // 160 or 120
};

// What one roll step did besides moving the ball.
struct TRollEvents {
    bool Holed = false;     // the ball dropped into the cup in this step
    bool RestInCup = false; // the ball came to rest inside the cup in this step
};

class TGreen;

// The ball.
class TPlayer {
public:
    int LeftBound = 0, RightBound = kFieldWidth;
    int x = kTeeX, y = kTeeY;        // the rounded exact position
    double ExactX = kTeeX, ExactY = kTeeY;
    int Speed = kPuttSpeed;
    int TeeX = kTeeX, TeeY = kTeeY;
    int State = bsWaiting;

    void SetAngle(double a);
    // Back to the tee, waiting, at putting speed.
    void Reset();
    // Aims from where the ball stands at the point (ax, ay) and starts rolling.
    void AimAt(double ax, double ay);
    // One step of the roll; true when a hill's slope pushed the ball in this step.
    bool Roll(const TGreen& green, TRollEvents* events = nullptr);

private:
    void setAngleFromMove(double oldX, double oldY);
    double m_cos = 1, m_sin = 0;
};

class TGreen {
public:
    int CupX = 0, CupY = 0;
    THill Hills[2];
    int FFlatHill = -1;               // the hill neither drawn nor felt on this green, -1 for none
    std::vector<int> FSolutions;      // aim x values that hole the ball, increasing
    bool FStraightFound = false;      // a holing roll touches no hill

    bool InCup(int px, int py) const { return within(px - CupX, py - CupY, kCupRadius); }
    bool InRing(int px, int py) const { return within(px - CupX, py - CupY, kRingRadius); }
    // The first lip sector (0 to 7, counter-clockwise from the right) holding the point, or -1.
    int LipSector(int px, int py) const;
    // The slope under the point: the first hill that is not flattened whose circle holds it; in
    // that hill's first wedge holding the point, the wedge (0 to 11) and the push (0 to 4). False
    // when no hill holds the point; true with wedge -1 when a hill does but none of its wedges.
    bool Slope(int px, int py, int* wedge, int* push) const;
    bool HillFelt(int h) const { return h != FFlatHill; }

    // A new random green (two hills, then the cup), solved; a green without any holing aim is
    // solved again with one hill flattened.
    void MakeGreen(const std::function<int(int)>& random);
    // Rolls a ball from the tee at every aim; fills FSolutions, may set FStraightFound, and may
    // flatten a hill (always when nothing holed, at times otherwise).
    void SolveGreen(const std::function<int(int)>& random);
    // Whether a putt from the tee aimed at (aimX, cup row) holes; hillTouched when a slope pushed it.
    bool Holes(int aimX, bool* hillTouched = nullptr) const;

    // The push of a hill's slope at the whole distance d from its centre: gentle at the top,
    // strongest from 40 to 79 pixels out, fading to 1 at the rim of a big hill.
    static int PushAt(int d);

private:
    static bool within(int dx, int dy, int r) { return dx * dx + dy * dy <= r * r; }
};

} // namespace golf

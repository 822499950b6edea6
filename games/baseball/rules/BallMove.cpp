// One tick of the ball: in a hand, in flight towards its target, off the fence, past the lines, and
// slowing down; its apparent height, and what the fielders and runners see coming from it.
#include "BallPlay.h"
#include "BaseballGame.h"

#include <algorithm>
#include <numbers>

namespace bb {

namespace {

bool IsBatted(int kind) { return kind == bkGrounder || kind == bkFly || kind == bkLiner; }

// The pitch before it reaches the plate; "a ball" when the pitching side missed the zone.
bool PitchedBall(const TBaseBallGame& g) { return !g.Play.PlanMade && g.PanelStage < 3 && g.Play.BallFlag && g.Ball.Kind == bkThrown; }

void Hold(TBaseBallGame& g)
{
    TBallRecord& b = g.Ball;
    TBallActor& h = g.Actors[size_t(b.Kind)];
    const int pose = h.Pose <= 3 ? h.Pose : 0;
    b.Pos = h.Pos + g.Offsets[size_t(h.Side)].Ball[size_t(pose)];
    b.Speed = 0;
    b.Height = 0;
}

void AnnounceFoul(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    if (p.FoulAnnounced) return;
    p.FoulAnnounced = true;
    if (p.EndTimer < 0) p.EndTimer = 0;
}

// The home-run ball comes down: over the fence, or foul by the pole, or into a leaping glove.
void HomeRunArrives(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    TBallRecord& b = g.Ball;
    if (p.FenceCatch.Robbed) {
        TakeBall(g, p.FenceCatch.Fielder);
        return;
    }
    g.PlaySound(TBallSound::Kansei);
    if (p.FoulKind == 1 || p.FoulKind == 2) {
        AnnounceFoul(g);
        return;
    }
    p.HomeRun = true;
    b.Height = 4;
    // The runners waiting on a leap at the fence go home.
    if (p.TagUpPlan[0] == 1) g.SendRunner(kRunner1 + 2, 1, false);
    if (p.TagUpPlan[1] == 1) g.SendRunner(kRunner1 + 1, 2, false);
    // The batter and every runner not yet home.
    int runs = 1;
    for (int r = kRunner1; r < kBench0; ++r) {
        const TBallActor& a = g.Actors[size_t(r)];
        runs += a.Picture >= 0 && a.BasesToRun != kNotRunning && a.Base < 4 ? 1 : 0;
    }
    if (g.Inning >= 8 && g.UserBats() && g.Runs[1] + runs > g.Runs[0] && g.EndCounter < 0) {
        // A walk-off home run: every run counts at once, and the batting side comes out to celebrate.
        AddRuns(g, runs);
    }
}

void Arrive(TBaseBallGame& g)
{
    TBallRecord& b = g.Ball;
    TPlayState& p = g.Play;
    b.Arrived = true;
    if (b.PlayResult == prHomeRun && b.Kind == bkFly && p.PlanMade) {
        HomeRunArrives(g);
    } else if (p.FoulKind >= 3 && p.FoulKind <= 6 && b.Kind != bkThrown) {
        // The foul ball has reached its spot; a throw made after it carries on past its base, taken
        // by the receiver as it passes him.
        AnnounceFoul(g);
    }
}

void Bounce(TBaseBallGame& g)
{
    TBallRecord& b = g.Ball;
    const double a = b.Direction, pi = std::numbers::pi;
    double d = -(pi - a);
    if (a <= 0.4 * pi) d -= pi / 10;
    else if (a >= 0.6 * pi) d += pi / 10;
    b.Direction = d;
    const int r = b.PlayResult;
    b.Speed -= r == prFlyLeftLine || r == prLeftCentreCentre ? 2 : r == prLeftCentreLeft ? 3 : r == prTriple ? 0 : 1;
    b.Speed = std::max(b.Speed, 0);
    b.Kind = bkGrounder;
    b.Bounced = true;
    b.Arrived = true;
}

void CheerAndFoul(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    const TBallRecord& b = g.Ball;
    if ((p.PlayKind != pkHit && p.PlayKind != pkFoul) || p.CheerUsed || !IsBatted(b.Kind)) return;
    const bool lines = b.Kind == bkGrounder && LineQuads().Contains(b.Pos);
    const bool outfield = OutfieldBand().Contains(b.Pos);
    if (!lines && !outfield) return;
    p.CheerUsed = true;
    g.PlaySound(TBallSound::Kansei);
    if ((lines && (p.FoulKind == 3 || p.FoulKind == 4)) || (outfield && (p.FoulKind == 5 || p.FoulKind == 6))) AnnounceFoul(g);
}

void Slow(TBaseBallGame& g)
{
    TBallRecord& b = g.Ball;
    TPlayState& p = g.Play;
    const int r = b.PlayResult;
    const bool batted = IsBatted(b.Kind);
    if (!batted && !PitchedBall(g)) return;
    int fastAbove = 8;
    if (r == prHomeRun && b.Kind == bkFly) fastAbove = 11;
    else if (batted && r == prBunt && p.BuntKind == 1) fastAbove = 6;
    else if (batted && r == prBunt && p.BuntKind == 2) fastAbove = 10;
    if (b.Speed > fastAbove) --b.Speed;
    else if (b.Speed > 0 && ++p.SlowTick % 2 == 0) --b.Speed;
    if (b.Speed == 0 && batted) {
        // A ball at rest ends the misplay and any tagging up.
        p.ErrorFlag = false;
        p.TagUpPlan = {};
    }
}

int HomeRunHeight(int s, int fencePoint)
{
    const int k = fencePoint >= 2 && fencePoint <= 4 ? 1 : 0; // the long way to centre
    if (s < 15 - k) return 4;
    if (s == 15 - k) return 0;
    if (s == 16 - k) return 1;
    if (s <= 19 - k) return 2;
    return 3;
}

int FlyHeight(int r, int s)
{
    if (r <= prCatcher) return s < 7 ? 0 : s <= 8 ? 1 : s <= 10 ? 2 : 3;
    if (r > prRightFielder) return s < 12 ? 0 : s <= 13 ? 1 : s <= 15 ? 2 : 3;
    return s < 12 ? 0 : s == 12 ? 1 : s <= 14 ? 2 : 3;
}

void LinerHeight(TBaseBallGame& g)
{
    TBallRecord& b = g.Ball;
    TPlayState& p = g.Play;
    const int s = b.Speed;
    if (s > 18) b.Height = 3;
    else if (s == 18 || s == 17) b.Height = 2;
    else if (s == 16 || s == 13) b.Height = 1;
    else if (s == 15) b.Height = 0;
    else if (s == 14) b.Height = 4;
    else {
        b.Height = 0;
        b.Kind = bkGrounder;
    }
    if (s == 18) {
        // The liner is through: the runners waiting on it go.
        if (p.TagUpPlan[0] == 1) g.SendRunner(kRunner1 + 2, 1, false);
        if (p.TagUpPlan[1] == 1) g.SendRunner(kRunner1 + 1, 1, false);
    }
}

void FlyHeightAndCatch(TBaseBallGame& g)
{
    TBallRecord& b = g.Ball;
    TPlayState& p = g.Play;
    const int s = b.Speed, f = b.Fielder;
    b.Height = FlyHeight(b.PlayResult, s);
    const bool outfielder = f >= kLeftFielder, middle = f == kSecondBaseman || f == kShortstop;
    const bool catchable = p.PlayKind == pkPlayable && !p.ErrorFlag;
    if (catchable && ((outfielder && s < 17) || (middle && s < 15) || s <= 12)) FlyAboutToBeCaught(g);
    // A fly that comes to rest untouched (a misplay that drifted off its line and stopped short of its
    // fielder) lies on the grass to be picked up.
    if (s == 0) b.Kind = bkGrounder;
}

void SetHeight(TBaseBallGame& g)
{
    TBallRecord& b = g.Ball;
    if (b.PlayResult == prHomeRun && b.Kind == bkFly && g.Play.PlanMade) b.Height = HomeRunHeight(b.Speed, g.Play.FencePoint);
    else if (PitchedBall(g)) b.Height = b.Speed < 19 ? 2 : b.Speed <= 21 ? 1 : 0;
    else if (b.Kind == bkLiner) LinerHeight(g);
    else if (b.Kind == bkFly) FlyHeightAndCatch(g);
    else b.Height = b.Kind == bkThrown && g.Play.PlanMade ? 1 : 0;
}

} // namespace

void TBallPlay::MoveBall(TBaseBallGame& g)
{
    TBallRecord& b = g.Ball;
    TPlayState& p = g.Play;
    p.BallFrom = b.Pos;
    if (b.Kind >= 0) {
        // In the pitcher's hand during the wind-up the pitcher's step holds it.
        if (!(b.Kind == kPitcher && g.PanelStage < 2)) Hold(g);
        return;
    }
    if (b.PlayResult == prHomeRun && p.HomeRun) {
        b.Speed = 1;
        return;
    }
    if (!b.Arrived) {
        if (b.Fielder >= 0 && !p.ErrorFlag) b.Direction = PointAngle(b.Pos, b.Target);
        const QPoint d = b.Pos - b.Target;
        if (std::abs(d.x()) <= 20 && d.y() >= -10 && d.y() <= 20) Arrive(g);
        if (b.Kind >= 0 || p.HomeRun) return;
    }
    const bool batted = IsBatted(b.Kind) && p.PlanMade;
    if (batted && !b.Bounced && b.PlayResult <= prRightCentreCentre && p.TagUpPlan[0] == 0 && FenceBand().Contains(b.Pos)) Bounce(g);
    if (p.PlanMade) CheerAndFoul(g);
    int step = b.Speed;
    if (PitchedBall(g)) step = 24;
    else if (batted && b.PlayResult == kPitcher) step = 10;
    else if (batted && b.PlayResult == prCatcher) step = 3;
    b.Pos = PolarOffset(b.Pos, step, b.Direction);
    if (p.FoulKind != 1 && p.FoulKind != 2) b.Pos.setX(std::clamp(b.Pos.x(), b.MinX, b.MaxX));
    b.Pos.setY(std::clamp(b.Pos.y(), b.MinY, b.MaxY));
    Slow(g);
    SetHeight(g);
}

} // namespace bb

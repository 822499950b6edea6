// The batted ball as it leaves the bat: a diving infielder, the tag-up plans, an error in waiting,
// the ball's speed and target, each fielder's intercept point, the fielder who takes it, the kind of
// play and the bases the batter is sent for.
#include "BallPlay.h"
#include "BaseballGame.h"

namespace bb {

namespace {

bool IsOutfieldSingle(int r) { return r >= prLeftFielder && r <= prRightFielder; }

void PlanTagUps(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    const TBallRecord& b = g.Ball;
    if (!g.TagUp[size_t(g.BattingSide)] || g.Outs >= 2) return;
    const int r = b.PlayResult;
    const bool fenceCatch = r == prHomeRun && p.FoulKind == 0 && p.FenceCatch.Fielder >= 0;
    const int fencePlan = p.FenceCatch.Robbed ? 2 : 1;
    if (g.RunnerOn(3)) {
        if (IsOutfieldSingle(r) && b.Kind == bkFly) p.TagUpPlan[0] = g.RandomInt(2) < 1 ? 3 : 2;
        else if (IsOutfieldSingle(r) && b.Kind == bkLiner) p.TagUpPlan[0] = 1;
        else if (fenceCatch) p.TagUpPlan[0] = fencePlan;
    }
    if (g.RunnerOn(2)) {
        if (g.RunnerOn(3)) p.TagUpPlan[1] = p.TagUpPlan[0];
        else if (fenceCatch) p.TagUpPlan[1] = fencePlan;
    }
}

void PlanError(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    const int r = g.Ball.PlayResult;
    const bool infield = r == 0 || (r >= 2 && r <= 5);
    const bool outfieldFly = IsOutfieldSingle(r) && g.Ball.Kind == bkFly;
    if ((infield || outfieldFly) && p.DivingInfielder < 0) p.ErrorFlag = g.RandomInt(g.BallChance + 12) == 0;
    if (p.ErrorFlag || p.FoulKind != 0) p.HitFlag = false;
    if (p.ErrorFlag || (r == prHomeRun && p.FoulKind == 0)) p.CheerUsed = true;
}

void SetIntercepts(TBaseBallGame& g)
{
    const TBallRecord& b = g.Ball;
    for (int f = 0; f < kBatter; ++f) {
        TBallActor& a = g.Actors[size_t(f)];
        a.Intercept = PolarOffset(b.Launch, PointDistance(b.Launch, a.Pos) + 20, b.Direction);
    }
}

} // namespace

int BattedBallSpeed(int r, int kind)
{
    if (kind == bkGrounder) return r == prBunt ? 7 : r <= prWalk ? 24 : 28;
    if (r <= prCatcher) return 19;
    if (r <= 5) return 24;
    if (r <= prGroundRightLine) return 28;
    if (r <= prRightCentreCentre) return 29;
    return 32;
}

QPoint BattedBallTarget(const TBaseBallGame& g)
{
    const TPlayState& p = g.Play;
    const int r = g.Ball.PlayResult;
    const bool fly = g.Ball.Kind == bkFly;
    if (p.DivingInfielder >= 0) return g.Spots[size_t(p.OutfieldTarget)];
    if (p.FoulKind >= 1 && p.FoulKind <= 6) return g.FoulSpots[size_t(p.FoulKind)];
    switch (r) {
    case prCatcher: return g.Spots[spCoverHome] + QPoint(0, -20);
    case kThirdBaseman: return g.Spots[size_t(fly ? int(spPopThird) : int(kThirdBaseman))];
    case kFirstBaseman: return g.Spots[size_t(fly ? int(spPopFirst) : int(kFirstBaseman))];
    case prBunt: return g.Spots[spPitcher];
    case prStrikeout:
    case prWalk: return g.Spots[spCatcher];
    case prGroundLeftLine: return g.Spots[spRunThird];
    case prGroundRightLine: return g.Spots[spRunFirst];
    case prHomeRun: return p.Landing;
    default: break;
    }
    if (r >= prFlyLeftLine) return g.Spots[size_t(spHit + r - prFlyLeftLine)];
    return g.Spots[size_t(r)]; // 0, 3, 5-8: the fielder's own spot
}

int DesignatedFielder(const TBallRecord& ball, const TPlayState& play)
{
    switch (play.FoulKind) {
    case 1:
    case 2: return -1;
    case 3:
    case 5: return kLeftFielder;
    case 4:
    case 6: return kRightFielder;
    default: break;
    }
    const int r = ball.PlayResult;
    if (r <= prRightFielder) return r;
    switch (r) {
    case prBunt: return kPitcher;
    case prStrikeout:
    case prWalk: return kCatcher;
    case prGroundLeftLine:
    case prFlyLeftLine:
    case prLeftCentreLeft: return kLeftFielder;
    case prGroundRightLine:
    case prFlyRightLine:
    case prTriple: return kRightFielder;
    case prLeftCentreCentre:
    case prRightCentreCentre: return kCentreFielder;
    default: break;
    }
    // A home run: only the outfielder in front of fence points 1, 3 and 5 goes after it.
    switch (play.FencePoint) {
    case 1: return kLeftFielder;
    case 3: return kCentreFielder;
    case 5: return kRightFielder;
    default: return -1;
    }
}

void TBallPlay::AfterContact(TBaseBallGame& g)
{
    TBallRecord& b = g.Ball;
    TPlayState& p = g.Play;
    const int r0 = b.PlayResult;
    const bool batted = r0 != prStrikeout && r0 != prWalk;
    const bool fairGrounder = batted && b.Kind == bkGrounder && p.FoulKind == 0;
    // The centre fielder plays a grounder a step towards left-centre.
    if (fairGrounder) g.Spots[spCentreFielder].rx() -= 25;
    // An infielder dives for a ground single one time in four; the ball rolls on to the outfielder.
    if (fairGrounder && IsOutfieldSingle(r0) && g.RandomInt(4) == 0) {
        static constexpr int kDiver[3] = {kThirdBaseman, kShortstop, kFirstBaseman};
        p.OutfieldTarget = r0;
        p.DivingInfielder = kDiver[r0 - prLeftFielder];
        b.PlayResult = p.DivingInfielder;
    }
    p.BattedKind = b.Kind;
    PlanTagUps(g);
    PlanError(g);

    const int r = b.PlayResult;
    b.Speed = BattedBallSpeed(r, b.Kind);
    b.Target = BattedBallTarget(g);
    b.Direction = PointAngle(b.Launch, b.Target);
    b.Arrived = false;
    b.Bounced = false;
    p.BallFrom = b.Pos;
    SetIntercepts(g);
    b.Fielder = DesignatedFielder(b, p);
    p.PlayKind = PlayKindOf(b, p);
    p.BasesToAdvance = BasesToAdvanceOf(b, p);
    // The fielders' first steps after the ball is hit count from here.
    for (int f = 0; f < kBatter; ++f)
        if (g.Actors[size_t(f)].Action == acNone) g.Actors[size_t(f)].Step = 0;
}

} // namespace bb

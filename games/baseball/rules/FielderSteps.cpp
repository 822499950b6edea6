// The fielders tick by tick: standing and watching the ball, running to cover a base, chasing and
// taking the ball, misplaying it, throwing it on along the chain, and backing up.
#include "BallPlay.h"
#include "BaseballGame.h"

#include <algorithm>
#include <numbers>

namespace bb {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

bool IsLoose(int kind) { return kind < 0; }
bool IsBatted(int kind) { return kind == bkGrounder || kind == bkFly || kind == bkLiner; }

int CoverRunSpeed(int f) { return f == kCatcher ? 8 : f >= kFirstBaseman && f <= kShortstop ? 6 : 4; }

void Stand(TBaseBallGame& g, int f)
{
    TBallActor& a = g.Actors[size_t(f)];
    a.Speed = 0;
    a.RenewBoxes();
    g.RenewBallDistance(f);
}

void FaceBall(TBaseBallGame& g, TBallActor& a) { a.Facing = PointAngle(a.Pos, g.Ball.Pos); }

// Runs a fielder to a point this tick.
void RunTo(TBaseBallGame& g, int f, QPoint target, int speed)
{
    TBallActor& a = g.Actors[size_t(f)];
    a.Target = target;
    a.Speed = speed;
    a.Arrived = false;
    g.MoveActor(f);
}

// The moving frame while a fielder runs, the standing one while he waits; the celebration has its
// own frames.
void Animate(TBaseBallGame& g, int f, bool moving)
{
    if (g.EndCounter >= 0) return;
    TBallActor& a = g.Actors[size_t(f)];
    g.SetActorFrame(f, moving ? (a.Step / 2) % 2 : 0);
}

// The three fielders nearest a batted ball walk towards its path during their first steps.
bool WalksToBall(const TBaseBallGame& g, int f, int step)
{
    const TPlayState& p = g.Play;
    const int r = g.Ball.PlayResult;
    if (!p.PlanMade || step >= 10 || f == kCatcher || !IsLoose(g.Ball.Kind) || g.EndCounter >= 0) return false;
    if (r == prStrikeout || r == prWalk || r == prGroundLeftLine || r == prGroundRightLine || r == prHomeRun) return false;
    if ((p.BackUpMask & (1u << f)) || f == p.SecondCover) return false;
    return g.Nearest[0] == f || g.Nearest[1] == f || g.Nearest[2] == f;
}

void StepStanding(TBaseBallGame& g, int f, int step)
{
    TBallActor& a = g.Actors[size_t(f)];
    FaceBall(g, a);
    if (WalksToBall(g, f, step)) {
        RunTo(g, f, a.Intercept, 2);
        FaceBall(g, a);
        Animate(g, f, true);
    } else {
        Stand(g, f);
        Animate(g, f, false);
    }
}

void TryTakeThrow(TBaseBallGame& g, int f)
{
    const TBallRecord& b = g.Ball;
    if (b.Fielder == f && b.Kind == bkThrown && g.Play.PlanMade && BallPassedThrough(g, CatchBoxOf(g, f))) TakeBall(g, f);
}

void StepCoverRun(TBaseBallGame& g, int f)
{
    TBallActor& a = g.Actors[size_t(f)];
    a.Speed = CoverRunSpeed(f);
    a.Arrived = false;
    g.MoveActor(f);
    FaceBall(g, a);
    Animate(g, f, !a.Arrived);
    if (a.Arrived) {
        a.Speed = 0;
        if (g.EndCounter >= 0) {
            SetAction(a, acNone);
            return;
        }
        // At the base he waits for the throw, the first receiver with his hands wide.
        if (f == g.Play.Chain[0]) a.CatchGrowth = 12;
        SetAction(a, acCatching);
    }
    TryTakeThrow(g, f);
}

// The outfielder at the fence: he runs to his spot, waits, and leaps as the ball comes down.
void ChaseAtFence(TBaseBallGame& g, int f)
{
    static constexpr int kSpeeds[7] = {3, 4, 5, 3, 2, 4, 5};
    TBallActor& a = g.Actors[size_t(f)];
    const TBallRecord& b = g.Ball;
    const int spot = std::clamp(g.Play.FenceCatch.Spot, 0, 6);
    RunTo(g, f, kFenceCatchSpots[size_t(spot)], kSpeeds[spot]);
    const bool coming = !b.Arrived && PointDistance(b.Pos, b.Target) <= 3 * std::max(b.Speed, 1);
    if (a.Arrived && coming) a.JumpStage = std::min(a.JumpStage + 1, 3);
    else if (a.JumpStage > 0 && b.Arrived) --a.JumpStage;
}

QPoint FlyCatchCentre(const TBaseBallGame& g)
{
    const TBox& box = g.Equipment.FlyCatchBox;
    return {(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2};
}

// How far right of a fielder under a fly the ball comes down: the shortstop and the left fielder
// stand well to its left, where the ball carrying on past its landing point comes to them, the centre
// fielder a little to its right for the balls hit to his left; everyone else has it in the middle of
// his fly-catch box.
int FlyReach(const TBaseBallGame& g, int f)
{
    if (f == kShortstop || f == kLeftFielder) return 30;
    if (f == kCentreFielder && g.Ball.PlayResult < prRightCentreCentre) return -10;
    return 0;
}

void Chase(TBaseBallGame& g, int f)
{
    TBallActor& a = g.Actors[size_t(f)];
    const TBallRecord& b = g.Ball;
    const TPlayState& p = g.Play;
    const int r = b.PlayResult;
    if (b.Kind == bkGrounder) {
        QPoint t = b.Pos + QPoint(-6, 14);
        // A ball at rest is picked up wherever it lies, even short of the corner he waits in.
        if (b.Speed == 0) t = b.Pos + QPoint(-6, 6);
        else if (f == p.DivingInfielder) t = a.Intercept;
        else if (f == kCentreFielder && g.Spots[spCentreFielder] != kCentreBaseSpot) t = b.Pos + QPoint(-31, 14);
        else if ((r == prGroundLeftLine || r == prGroundRightLine) && !b.Bounced) t = r == prGroundLeftLine ? QPoint(5, 315) : QPoint(600, 315);
        else if (b.Bounced && b.Speed <= 8 && b.Pos.y() < a.Pos.y()) t = b.Pos + QPoint(-6, -20);
        const bool quick = f == kFirstBaseman || f == kThirdBaseman || (f == kPitcher && r == prBunt);
        RunTo(g, f, t, f == kCatcher ? 12 : quick ? 3 : 2);
        // With a triple play on, the second baseman hurries to second for the middle out.
        TBallActor& second = g.Actors[kSecondBaseman];
        if (p.Chain[2] != 0 && f != kSecondBaseman && second.Action != acMoveToPos && second.Action != acCatching) {
            SendCover(g, kSecondBaseman);
        }
    } else if (b.Kind == bkFly) {
        if (f == p.FenceCatch.Fielder && r == prHomeRun) {
            ChaseAtFence(g, f);
        } else if (f == kCatcher) {
            RunTo(g, f, b.Pos - FlyCatchCentre(g), 8);
        } else {
            RunTo(g, f, b.Target - FlyCatchCentre(g) - QPoint(FlyReach(g, f), 0), 2);
        }
    } else if (b.Kind == bkLiner) {
        RunTo(g, f, b.Pos + QPoint(-6, 14), 1);
    } else {
        Stand(g, f);
    }
}

void StepCatching(TBaseBallGame& g, int f)
{
    TBallActor& a = g.Actors[size_t(f)];
    const TBallRecord& b = g.Ball;
    const bool mine = b.Fielder == f && g.EndCounter < 0;
    if (mine && IsBatted(b.Kind)) Chase(g, f);
    else Stand(g, f);
    FaceBall(g, a);
    Animate(g, f, a.Speed > 0 && !a.Arrived);
    if (!mine || !IsLoose(b.Kind) || !g.Play.PlanMade) return;
    a.CatchBox = CatchBoxOf(g, f);
    if (BallPassedThrough(g, a.CatchBox)) TakeBall(g, f);
}

int ThrowSpeed(const TBaseBallGame& g, int thrower, int receiver)
{
    const TPlayState& p = g.Play;
    const int r = g.Ball.PlayResult;
    if (thrower >= kLeftFielder && r == prHomeRun && p.FenceCatch.Robbed) return 18;
    if (thrower >= kLeftFielder || (thrower == kSecondBaseman && receiver == kShortstop)) return 19;
    if (r == prBunt && p.BuntKind == 2) return 34;
    if (p.TriplePlay) return 28;
    if (thrower == p.DivingInfielder && receiver == kCatcher) return 27;
    if (thrower == kThirdBaseman) return p.OnTime ? 28 : 24;
    return 24;
}

void StepThrowing(TBaseBallGame& g, int f, int step)
{
    TBallActor& a = g.Actors[size_t(f)];
    TBallRecord& b = g.Ball;
    const int receiver = b.Fielder;
    const QPoint target = g.Spots[size_t(CoverSpotOf(receiver))] + QPoint(6, -14);
    a.Facing = PointAngle(a.Pos, target);
    if (step == 0) {
        b.Target = target;
        a.Pos += QPoint(3, 3);
        g.SetActorFrame(f, 1);
    }
    Stand(g, f);
    if (step < 2) return;
    b.Kind = bkThrown;
    b.Speed = ThrowSpeed(g, f, receiver);
    b.Direction = PointAngle(b.Pos, target);
    b.Arrived = false;
    g.Play.BallFrom = b.Pos;
    SetAction(a, acNone);
    a.Done = true;
    g.SetActorFrame(f, 0);
}

void StepBackUp(TBaseBallGame& g, int f, int step)
{
    TBallActor& a = g.Actors[size_t(f)];
    const TBallRecord& b = g.Ball;
    const int r = b.PlayResult;
    int speed = 2;
    if (f == kCatcher) speed = 8;
    else if ((f == kShortstop && r == prTriple) || (f == kThirdBaseman && r == prRightCentreCentre)) speed = 6;
    else if (b.Kind == bkLiner) speed = 1;
    a.Speed = speed;
    a.Arrived = false;
    g.MoveActor(f);
    FaceBall(g, a);
    Animate(g, f, !a.Arrived);
    const int limit = f <= kShortstop ? 10 : 35;
    if (a.Arrived || step >= limit || g.Play.ErrorHappened || g.BenchOut) {
        SetAction(a, acNone);
        a.Speed = 0;
    }
}

// The ball off the glove: it bounces away and everyone is safe.
void CommitError(TBaseBallGame& g, int f)
{
    TBallActor& a = g.Actors[size_t(f)];
    TBallRecord& b = g.Ball;
    TPlayState& p = g.Play;
    const bool fly = b.Kind == bkFly;
    const double back = -(std::numbers::pi - b.Direction);
    double dir = 0;
    int speed = fly ? 7 : 6;
    if (f == kFirstBaseman) {
        dir = back - g.RandomInt(30) * kDegree;
        speed = 8;
    } else if (f == kSecondBaseman && fly) {
        dir = back - (g.RandomInt(20) + 10) * kDegree;
    } else if (f == kShortstop && fly) {
        dir = back + (g.RandomInt(20) + 10) * kDegree;
    } else if (f == kThirdBaseman) {
        dir = back + g.RandomInt(30) * kDegree;
        speed = 8;
    } else {
        dir = back + (g.RandomInt(30) - 15) * kDegree;
    }
    b.Direction = dir;
    b.Speed = speed;
    b.Kind = bkGrounder;
    b.Arrived = true; // it no longer heads anywhere
    b.Pos.ry() += fly ? 8 : 2;
    p.BallFrom = b.Pos;
    ++g.Errors[size_t(g.FieldingSide)];
    p.BaseFlags = {false, true, true, true};
    p.Chain[1] = p.Chain[2] = 0;
    a.Erred = true;
    p.ErrorHappened = true;
    if (fly) {
        // A dropped fly: everyone runs one base more, and a runner who waited to tag up goes now as
        // far as the others.
        for (int r = kBatter; r < kBench0; ++r) {
            const bool waited = (r == kRunner1 + 2 && p.TagUpPlan[0] != 0) || (r == kRunner1 + 1 && p.TagUpPlan[1] != 0);
            RunOn(g, r, waited && g.Actors[size_t(r)].Action != acMoveToPos ? p.BasesToAdvance + 1 : 1);
        }
        p.TagUpPlan = {};
    }
}

// The runners who tag up leave as the catch is made.
void SendTaggers(TBaseBallGame& g, int f)
{
    TPlayState& p = g.Play;
    if (p.TagUpSent || f == kCatcher) return;
    const bool third = p.TagUpPlan[0] >= 2, second = p.TagUpPlan[1] >= 2;
    if (third) {
        p.TagUpSent = true;
        g.SendRunner(kRunner1 + 2, 1, true);
        if (second) g.SendRunner(kRunner1 + 1, 1, true);
    } else if (second && f != kThirdBaseman) {
        p.TagUpSent = true;
        g.SendRunner(kRunner1 + 1, 1, true);
    }
    if (p.TagUpSent && second) p.BaseFlags[3] = true;
}

void EndChain(TBaseBallGame& g, int holder);

void StartThrow(TBaseBallGame& g, int holder, int receiver)
{
    TBallActor& a = g.Actors[size_t(holder)];
    SetAction(a, acThrowing);
    a.Speed = 0;
    g.Ball.Fielder = receiver;
    TBallActor& r = g.Actors[size_t(receiver)];
    const bool onHisWay = r.Role == CoverSpotOf(receiver) && (r.Action == acMoveToPos || r.Action == acCatching);
    if (!onHisWay) SendCover(g, receiver);
    if (r.Action == acCatching) r.CatchGrowth = 12;
}

void EndChain(TBaseBallGame& g, int holder)
{
    TBallActor& a = g.Actors[size_t(holder)];
    TPlayState& p = g.Play;
    SetAction(a, acNone);
    a.Speed = 0;
    a.Done = true;
    p.ChainDone = true;
    const int plan = p.TagUpPlan[0] != 0 ? p.TagUpPlan[0] : p.TagUpPlan[1];
    if (p.TagUpSent && plan >= 2) {
        p.PlayKind = plan == 2 ? pkHit : pkPlayable;
        p.OutMarks.push_back({a.Pos - QPoint(0, 120), pkPlayable});
    }
    // Runs held back for an inning-ending relay count when the inning goes on after a safe batter.
    if (p.HeldRuns > 0 && HeldRunsCount(g)) {
        const int n = p.HeldRuns;
        p.HeldRuns = 0;
        AddRuns(g, n);
    }
}

} // namespace

void SetAction(TBallActor& a, TActorAction action)
{
    a.Action = action;
    a.Step = 0;
}

void SendCover(TBaseBallGame& g, int f)
{
    TBallActor& a = g.Actors[size_t(f)];
    SetAction(a, acMoveToPos);
    a.Role = CoverSpotOf(f);
    a.Target = g.Spots[size_t(a.Role)];
    a.Arrived = false;
}

TBox CatchBoxOf(const TBaseBallGame& g, int f)
{
    const TBallActor& a = g.Actors[size_t(f)];
    const TBallRecord& b = g.Ball;
    const TPlayState& p = g.Play;
    const int x = a.Pos.x(), y = a.Pos.y();
    if (b.Kind == bkFly) return b.PlayResult == prHomeRun ? TBox{} : g.Equipment.FlyCatchBox.Moved(a.Pos);
    if (b.Kind == bkThrown) return {x - 10, y - 28, x + 22 + a.CatchGrowth, y + a.CatchGrowth};
    const bool shiftedCentre = f == kCentreFielder && g.Spots[spCentreFielder] != kCentreBaseSpot;
    if (shiftedCentre || (f == kFirstBaseman && p.DivingInfielder == kFirstBaseman)) return {x - 25, y - 28, x + 22, y};
    if (f == p.DivingInfielder) return {x - 10, y - 28, x + 42, y};
    return {x - 10, y - 28, x + 22, y};
}

bool BallPassedThrough(const TBaseBallGame& g, const TBox& box)
{
    // The ball moves many pixels a tick: every point of its way since the last tick counts.
    const QPoint from = g.Play.BallFrom, to = g.Ball.Pos;
    const int steps = std::max(1, PointDistance(from, to) / 4);
    for (int i = 0; i <= steps; ++i) {
        const QPoint p(from.x() + (to.x() - from.x()) * i / steps, from.y() + (to.y() - from.y()) * i / steps);
        if (box.Contains(p)) return true;
    }
    return false;
}

void TakeBall(TBaseBallGame& g, int f)
{
    TBallActor& a = g.Actors[size_t(f)];
    TBallRecord& b = g.Ball;
    TPlayState& p = g.Play;
    if (p.ErrorFlag && !a.Erred && IsBatted(b.Kind)) {
        CommitError(g, f);
        return;
    }
    const bool fly = b.Kind == bkFly, thrown = b.Kind == bkThrown;
    const bool fenceCatch = b.PlayResult == prHomeRun && fly;
    const bool divingStop = f == p.DivingInfielder && !thrown;
    b.Kind = f;
    b.Speed = 0;
    b.Height = 0;
    b.Arrived = true;
    if (fenceCatch) g.PlaySound(TBallSound::Kick);
    if (fenceCatch || divingStop) g.PlaySound(TBallSound::Kansei);
    else if (thrown || fly) g.PlaySound(TBallSound::Kick);
    if (fly && p.PlayKind == pkPlayable) FlyAboutToBeCaught(g);
    SendTaggers(g, f);
    ContinueChain(g, f);
}

void ContinueChain(TBaseBallGame& g, int h)
{
    TPlayState& p = g.Play;
    // A game about to be won from the batter's box: the fielders take the ball and keep it.
    if (p.WalkOffExpected || g.BenchOut || g.EndCounter >= 0) {
        EndChain(g, h);
        return;
    }
    if (h == p.Chain[0] && p.Chain[1] != 0) {
        // The force at this base: an out, and the ball goes on to the next receiver.
        p.Chain = {p.Chain[1], p.Chain[2], 0};
        const QPoint at = g.Actors[size_t(h)].Pos - QPoint(0, 120);
        p.OutMarks.push_back({QPoint(std::clamp(at.x(), 50, kBallMaxX - 50), std::max(at.y(), 40)), pkPlayable});
        if (p.Chain[1] == 0 && !p.OnTime) {
            p.PlayKind = pkHit; // the relay is late: the batter is safe at first, with no hit
            p.BaseFlags[1] = true;
            p.HitFlag = false;
            p.LateRelay = true;
        }
        if (p.FoulKind == 0) ++g.Outs;
        StartThrow(g, h, p.Chain[0]);
    } else if (h != p.Chain[0] && p.Chain[0] != 0) {
        StartThrow(g, h, p.Chain[0]);
    } else {
        EndChain(g, h);
    }
}

void StepFielder(TBaseBallGame& g, int f)
{
    TBallActor& a = g.Actors[size_t(f)];
    const int step = a.Step++;
    // A leap at the fence comes down again.
    if (a.JumpStage > 0 && !(a.Action == acCatching && f == g.Play.FenceCatch.Fielder)) --a.JumpStage;
    switch (a.Action) {
    case acNone: StepStanding(g, f, step); break;
    case acMoveToPos: StepCoverRun(g, f); break;
    case acThrowing: StepThrowing(g, f, step); break;
    case acCatching: StepCatching(g, f); break;
    case acDummyMove: StepBackUp(g, f, step); break;
    default: Stand(g, f); break;
    }
    g.SelectActorImage(f);
}

} // namespace bb

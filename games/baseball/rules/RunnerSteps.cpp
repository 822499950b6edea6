// The batter and the runners tick by tick: running the bases, scoring, going back on a caught fly,
// and the walk-off that ends the game with the batting side gathering at home.
#include "BallPlay.h"
#include "BaseballGame.h"

#include <algorithm>

namespace bb {

namespace {

bool OnWalkOffSpot(const TBallActor& a) { return a.Role >= spWalkOff && a.Role < spRetreat; }

int RunnerSpeed(const TBaseBallGame& g, int actor)
{
    const TPlayState& p = g.Play;
    const TBallActor& a = g.Actors[size_t(actor)];
    const int r = g.Ball.PlayResult;
    const int third = kRunner1 + 2, second = kRunner1 + 1;
    if (actor >= kBench0) return 7;
    if (actor == kBatter && r == prRightCentreCentre && a.Role == spRunFirst) return 11;
    if (actor == third && p.TagUpPlan[0] == 3) return 9;
    if (actor == third && p.TagUpPlan[0] == 2) return 11;
    if ((actor == second && p.TagUpPlan[1] == 2) || (actor == kBatter && p.LateRelay && p.FastRun)) return 10;
    if (r == prRightFielder) return 11;
    if (actor == third && p.DivingInfielder >= 0) return 7;
    if (r <= 5 || r == prBunt) return 8;
    if (OnWalkOffSpot(a)) return 7;
    if (actor == kRunner1 && r == prHomeRun && p.FenceCatch.Fielder >= 0) return 8;
    return 9;
}

void Stop(TBaseBallGame& g, int actor)
{
    TBallActor& a = g.Actors[size_t(actor)];
    SetAction(a, acNone);
    a.Speed = 0;
    a.Done = true;
    if (g.EndCounter < 0) g.SetActorFrame(actor, 0);
}

void CreditHit(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    if (p.BatterCredited || p.PlayKind != pkHit || !p.HitFlag) return;
    p.BatterCredited = true;
    const size_t bat = size_t(g.BattingSide);
    ++g.Hits[bat];
    ++g.HitsThisHalf;
    if (g.Power >= 8) ++g.Stats[bat][19];
}

// A runner touches home: whether his run counts now, later, or not at all.
void ReachHome(TBaseBallGame& g, int actor)
{
    TPlayState& p = g.Play;
    const int r = g.Ball.PlayResult;
    if (g.Outs >= 3 || p.FoulKind != 0 || !p.RunsCount) return;
    const bool scores = p.PlayKind == pkHit || p.PlayKind == pkWalk || (r == prBunt && p.BuntKind <= 1)
        || (actor == kRunner1 + 2 && p.TagUpPlan[0] == 2)
        || (p.PlayKind == pkPlayable && p.PlannedFirst != kCatcher && r != prCatcher);
    if (!scores) return;
    // Once the game is won only its winning run counts, unless the ball left the park.
    if (g.BenchOut && p.RunsThisPlay && r != prHomeRun) return;
    if (p.RunsHeld && !p.ChainDone) {
        ++p.HeldRuns;
        return;
    }
    if (p.RunsHeld && !HeldRunsCount(g)) return;
    AddRuns(g, 1);
}

// The batter runs on past first when the infield throws there.
bool Overruns(const TBaseBallGame& g, const TBallActor& a)
{
    const TPlayState& p = g.Play;
    return a.Base == 1 && a.BasesToRun == 0 && g.Ball.PlayResult <= 5 && p.BattedKind == bkGrounder && p.Chain[0] == kFirstBaseman
        && g.EndCounter < 0;
}

void Arrive(TBaseBallGame& g, int actor)
{
    TBallActor& a = g.Actors[size_t(actor)];
    if (a.Role < spRunFirst || a.Role > spRunHome) {
        Stop(g, actor); // the retreat, the overrun, the walk-off and the bench spots
        return;
    }
    if (a.BasesToRun > 0 && a.BasesToRun != kNotRunning) --a.BasesToRun;
    a.Base = a.Role - 13;
    if (a.Base == 4) ReachHome(g, actor);
    if (actor == kBatter && Overruns(g, a)) {
        a.Role = spOverrun;
        a.Target = g.Spots[spOverrun];
        a.Arrived = false;
        return;
    }
    if (a.BasesToRun > 0 && a.BasesToRun != kNotRunning && a.Base < 4) {
        ++a.Role;
        a.Target = g.Spots[size_t(a.Role)];
        a.Arrived = false;
        return;
    }
    Stop(g, actor);
    if (actor == kBatter) CreditHit(g);
}

} // namespace

bool HeldRunsCount(const TBaseBallGame& g)
{
    const TPlayState& p = g.Play;
    return p.PlayKind == pkHit && g.Outs + (p.Over ? 0 : PlayEndOuts(g)) < 3;
}

void AddRuns(TBaseBallGame& g, int n)
{
    if (n <= 0) return;
    const size_t bat = size_t(g.BattingSide);
    g.Runs[bat] += n;
    int& cell = g.LineCell(g.BattingSide);
    cell = std::max(cell, 0) + n;
    g.Play.RunsThisPlay = true;
    g.PlaySound(TBallSound::Kansei);
    if (g.Inning >= 8 && g.UserBats() && g.Runs[1] > g.Runs[0] && g.EndCounter < 0) StartWalkOff(g);
}

void StepRunner(TBaseBallGame& g, int actor)
{
    TBallActor& a = g.Actors[size_t(actor)];
    const int step = a.Step++;
    if (a.Action != acMoveToPos) {
        a.Speed = 0;
        a.RenewBoxes();
        g.RenewBallDistance(actor);
        return;
    }
    // A batter who leaves the box after his fly was caught turns away at once.
    if (actor == kBatter && g.Play.BatterOut && a.Role != spRetreat && g.EndCounter < 0) SendBack(g, kBatter);
    a.Speed = RunnerSpeed(g, actor);
    a.Arrived = false;
    g.MoveActor(actor);
    g.SelectActorImage(actor);
    if (g.EndCounter < 0) g.SetActorFrame(actor, (step / 2) % 2 == 0 ? 1 : 0);
    if (a.Arrived) Arrive(g, actor);
}

void RunOn(TBaseBallGame& g, int actor, int bases)
{
    TBallActor& a = g.Actors[size_t(actor)];
    if (a.BasesToRun == kNotRunning || a.Base >= 4 || a.Picture < 0) return;
    const bool toBase = a.Role >= spRunFirst && a.Role <= spRunHome;
    if (a.Action == acMoveToPos && toBase) {
        a.BasesToRun = std::min(a.BasesToRun + bases, spRunHome - a.Role + 1);
        return;
    }
    SetAction(a, acMoveToPos);
    a.Role = spRunFirst + a.Base;
    a.Target = g.Spots[size_t(a.Role)];
    a.BasesToRun = std::min(bases, 4 - a.Base);
    a.Arrived = false;
    a.Done = false;
}

void SendBack(TBaseBallGame& g, int actor)
{
    TBallActor& a = g.Actors[size_t(actor)];
    if (a.BasesToRun == kNotRunning) return;
    if (actor == kBatter) {
        if (a.Role == spRetreat) return;
        SetAction(a, acMoveToPos);
        a.Done = false;
        a.Role = spRetreat;
        a.Base = 0;
        a.BasesToRun = 0;
    } else {
        const int origin = actor - kRunner1 + 1;
        if (a.Base == origin && a.Action != acMoveToPos) return;
        if (a.Base >= 4) return;
        SetAction(a, acMoveToPos);
        a.Role = spRunFirst + origin - 1;
        a.Base = origin - 1;
        a.BasesToRun = 1;
        a.Done = false;
        g.Play.BaseFlags[size_t(origin)] = true;
    }
    a.Target = g.Spots[size_t(a.Role)];
    a.Arrived = false;
}

void FlyAboutToBeCaught(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    p.BatterOut = true;
    if (p.Retreated) return;
    p.Retreated = true;
    if (g.Outs < 2) {
        for (int base = 1; base <= 3; ++base) {
            const bool tagging = (base == 3 && p.TagUpPlan[0] != 0) || (base == 2 && p.TagUpPlan[1] != 0);
            if (g.RunnerOn(base) && !tagging) SendBack(g, kRunner1 + base - 1);
        }
    }
    SendBack(g, kBatter);
}

void StartWalkOff(TBaseBallGame& g)
{
    CreditHit(g);
    g.EndGame(1);
    g.BenchOut = true;
    for (int f = 0; f < kBatter; ++f) {
        TBallActor& a = g.Actors[size_t(f)];
        if (a.Action != acNone) SetAction(a, acNone);
        a.Speed = 0;
    }
    // The batter and the runners gather near home, the bench comes out to meet them.
    int k = 0;
    for (int actor = kBatter; actor < kBench0; ++actor) {
        TBallActor& a = g.Actors[size_t(actor)];
        if (a.Picture < 0) continue;
        SetAction(a, acMoveToPos);
        a.Role = spWalkOff + k % 3;
        a.Target = g.Spots[size_t(a.Role)] + QPoint(14 * (k / 3), -14 * (k / 3));
        a.Arrived = false;
        ++k;
    }
    for (int j = 0; j < 5; ++j) {
        TBallActor& a = g.Actors[size_t(kBench0 + j)];
        a.Picture = g.BenchImage[size_t(j)];
        if (a.Picture < 0) continue;
        a.Side = g.BattingSide;
        SetAction(a, acMoveToPos);
        a.Role = j;
        a.Target = kBenchSpots[size_t(j)];
        a.Arrived = false;
        g.SelectActorImage(kBench0 + j);
    }
}

} // namespace bb

// The fielding plan made as the batter drops the bat: who takes the ball and where it goes next (the
// throw chain), whether a relay will come late, who covers and backs up, whether the game is about to
// be won, and which runners run.
#include "BallPlay.h"
#include "BaseballGame.h"

#include <algorithm>

namespace bb {

namespace {

void SetChain(TPlayState& p, int first, int second = 0, int third = 0) { p.Chain = {first, second, third}; }

bool InChain(const TPlayState& p, int f) { return f != 0 && (p.Chain[0] == f || p.Chain[1] == f || p.Chain[2] == f); }

// With two outs the infielder goes for the sure out; runs of the play do not count.
void TwoOutChain(TBaseBallGame& g, int f, int d)
{
    TPlayState& p = g.Play;
    const bool first = g.RunnerOn(1), second = g.RunnerOn(2), loaded = g.RunnerCount() == 3;
    if (f == kCatcher && loaded) SetChain(p, kCatcher);
    else if (f == kThirdBaseman && d != kThirdBaseman && first && second && g.RandomInt(2) == 0) SetChain(p, kThirdBaseman);
    else if (f == kSecondBaseman && first && g.RandomInt(2) == 0) SetChain(p, kShortstop);
    else if (f == kShortstop && first && g.RandomInt(2) == 0) SetChain(p, kSecondBaseman);
    else SetChain(p, kFirstBaseman);
}

// Runner on first, second empty (third may be occupied): the force at second and perhaps first.
void ChainFirstOnly(TBaseBallGame& g, int f, int d)
{
    TPlayState& p = g.Play;
    if (d == kFirstBaseman) {
        SetChain(p, kShortstop, kFirstBaseman);
        SetThrowSpeed(g, 50, 0, 0, false);
    } else if (d == kThirdBaseman || d == kShortstop) {
        SetChain(p, kSecondBaseman, kFirstBaseman);
        SetThrowSpeed(g, 50, 0, 0, false);
    } else if (f == kCatcher) {
        SetChain(p, kSecondBaseman);
    } else if (f == kFirstBaseman || f == kSecondBaseman) {
        SetChain(p, kShortstop, kFirstBaseman);
        SetThrowSpeed(g, 50, 0, 0, false);
    } else if (f == kThirdBaseman || f == kShortstop) {
        SetChain(p, kSecondBaseman, kFirstBaseman);
        SetThrowSpeed(g, 50, -2, 0, false);
        p.FastRun = false;
    } else {
        SetChain(p, kSecondBaseman, kFirstBaseman);
        SetThrowSpeed(g, 50, 0, 0, false);
    }
    if (g.RunnerOn(3)) p.SecondCover = kThirdBaseman;
}

// The third baseman starts a triple play: third, second, first.
void TriplePlayAttempt(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    SetChain(p, kThirdBaseman, kSecondBaseman, kFirstBaseman);
    p.TriplePlay = SetThrowSpeed(g, 50, 2, 2, false);
    p.FastRun = false;
}

// Runners on first and second, third empty.
void ChainFirstAndSecond(TBaseBallGame& g, int f, int d)
{
    TPlayState& p = g.Play;
    if (d == kFirstBaseman || d == kShortstop) {
        SetChain(p, d == kFirstBaseman ? kShortstop : kSecondBaseman, kFirstBaseman);
        p.SecondCover = kThirdBaseman;
        SetThrowSpeed(g, 50, 0, 0, false);
    } else if (d == kThirdBaseman) {
        SetChain(p, kSecondBaseman, kFirstBaseman);
        SetThrowSpeed(g, 50, 0, 0, false);
    } else if (f == kThirdBaseman && g.Outs == 0) {
        TriplePlayAttempt(g);
    } else if (f == kCatcher) {
        SetChain(p, kThirdBaseman);
        p.SecondCover = kFirstBaseman;
    } else if (f == kFirstBaseman || f == kSecondBaseman) {
        SetChain(p, kShortstop, kFirstBaseman);
        p.SecondCover = kThirdBaseman;
        SetThrowSpeed(g, 50, 0, 0, false);
    } else if (f == kShortstop) {
        SetChain(p, kSecondBaseman, kFirstBaseman);
        p.SecondCover = kThirdBaseman;
        SetThrowSpeed(g, 50, 0, 0, false);
    } else {
        SetChain(p, kThirdBaseman, kFirstBaseman);
        p.SecondCover = kSecondBaseman;
        SetThrowSpeed(g, 50, -5, 0, false);
    }
}

// Bases loaded: home first when the run matters, else the double play.
void ChainLoaded(TBaseBallGame& g, int f, int d)
{
    TPlayState& p = g.Play;
    const size_t bat = size_t(g.BattingSide), field = size_t(g.FieldingSide);
    auto homeFirst = [&] { return (g.Runs[bat] + 1 >= g.Runs[field] && g.Outs != 1) || g.RandomInt(3) < 1; };
    if (d == kFirstBaseman || f == kSecondBaseman) {
        if (homeFirst()) {
            SetChain(p, kCatcher);
            p.SecondCover = kFirstBaseman;
        } else {
            SetChain(p, kShortstop, kFirstBaseman);
            SetThrowSpeed(g, 50, -3, 0, false);
        }
    } else if (d == kThirdBaseman || d == kShortstop || f == kShortstop) {
        if (homeFirst()) {
            SetChain(p, kCatcher);
            p.SecondCover = kFirstBaseman;
        } else {
            SetChain(p, kSecondBaseman, kFirstBaseman);
            SetThrowSpeed(g, 50, 0, 0, false);
        }
    } else if (f == kThirdBaseman && g.Inning < 8) {
        if (g.Outs == 1) {
            SetChain(p, kThirdBaseman, kFirstBaseman);
            SetThrowSpeed(g, 50, -5, 0, false);
        } else {
            TriplePlayAttempt(g);
        }
    } else {
        SetChain(p, kCatcher, kFirstBaseman);
        p.SecondCover = kSecondBaseman;
        if (f == kPitcher) SetThrowSpeed(g, 50, -6, 0, true);
        else if (f == kFirstBaseman || f == kThirdBaseman) SetThrowSpeed(g, 50, 0, 0, true);
    }
}

void InfieldChain(TBaseBallGame& g, int f, int d)
{
    const bool first = g.RunnerOn(1), second = g.RunnerOn(2), third = g.RunnerOn(3);
    if (g.Outs == 2) TwoOutChain(g, f, d);
    else if (!first) SetChain(g.Play, kFirstBaseman);
    else if (third && !second && g.Inning >= 8) SetChain(g.Play, kFirstBaseman);
    else if (!second) ChainFirstOnly(g, f, d);
    else if (!third) ChainFirstAndSecond(g, f, d);
    else ChainLoaded(g, f, d);
}

// The game is expected to end on this hit: the fielders will not throw.
void AnticipateWalkOff(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    const int r = g.Ball.PlayResult;
    if (g.Inning < 8 || !g.UserBats() || p.FoulKind != 0) return;
    const bool single = (r >= prLeftFielder && r <= prRightFielder && g.Ball.Kind != bkFly) || p.ErrorFlag;
    const bool extra = (r >= prGroundLeftLine && r <= prRightCentreCentre) || (r == prHomeRun && !p.FenceCatch.Robbed);
    const bool triple = r == prTriple || r == prHomeRun;
    if (!single && !extra) return;
    const int behind = g.Runs[0] - g.Runs[1];
    const bool on2 = g.RunnerOn(2), on3 = g.RunnerOn(3);
    const int runners = g.RunnerCount();
    const bool ends = (behind == 0 && single && on3) || (behind == 0 && extra && (on2 || on3)) || (behind == 0 && triple && runners > 0)
        || (behind == 1 && extra && on2 && on3) || (behind == 1 && triple && runners >= 2) || (behind == 2 && triple && runners == 3);
    if (!ends) return;
    p.WalkOffExpected = true;
    p.Chain[0] = kCatcher;
}

quint16 BackUpsOf(const TBaseBallGame& g)
{
    const int r = g.Ball.PlayResult;
    auto bits = [](std::initializer_list<int> fs) {
        quint16 m = 0;
        for (int f : fs) m |= quint16(1u << f);
        return m;
    };
    quint16 m = 0;
    switch (r) {
    case 2: m = bits({8}); break;
    case 3: m = bits({7, 8}); break;
    case 4: m = bits({6}); break;
    case 5: m = bits({6, 7}); break;
    case 6: case prFlyLeftLine: m = bits({4, 5, 7}); break;
    case 7: m = bits({3, 5}); break;
    case 8: case prFlyRightLine: m = bits({2, 3, 7}); break;
    case prGroundLeftLine: m = bits({4, 5, 6, 7}); break;
    case prGroundRightLine: m = bits({2, 3, 7, 8}); break;
    case prLeftCentreLeft: m = bits({5, 7}); break;
    case prTriple: m = bits({5, 7}); break;
    case prLeftCentreCentre: m = bits({5, 6}); break;
    case prRightCentreCentre: m = bits({4, 8}); break;
    case prHomeRun: {
        // Fielders by fence point, as bit masks.
        static constexpr quint16 kByPoint[7] = {0x50, 0x10, 0xC0, 0x08, 0x190, 0x14, 0x114};
        if (g.Play.FencePoint >= 0 && g.Play.FencePoint <= 6) m = kByPoint[g.Play.FencePoint];
        break;
    }
    default: break;
    }
    if (r == prGroundLeftLine || r == prFlyLeftLine || r == prLeftCentreLeft || r == prLeftCentreCentre) m |= bits({4});
    // The catcher backs up home when a run may score.
    const bool single = r >= prLeftFielder && r <= prRightFielder && g.Play.PlayKind == pkHit;
    const bool extra = r >= prGroundLeftLine && r <= prRightCentreCentre;
    const bool on3 = g.RunnerOn(3), on2 = g.RunnerOn(2);
    if ((single && on3) || (extra && (on2 || on3)) || (r == prTriple && g.RunnerCount() > 0) || (r <= 5 && on3)) m |= bits({kCatcher});
    return m;
}

void SendBackUps(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    const int r = g.Ball.PlayResult;
    if (r == prStrikeout || r == prWalk) return;
    p.BackUpMask = BackUpsOf(g);
    const int f = g.Ball.Fielder;
    for (int k = 0; k < kBatter; ++k) {
        if (!(p.BackUpMask & (1u << k)) || k == f || InChain(p, k)) continue;
        TBallActor& a = g.Actors[size_t(k)];
        SetAction(a, acDummyMove);
        if (k == kCatcher) a.Target = g.Spots[spCoverHome];
        else if (p.DivingInfielder >= 0) a.Target = g.Actors[size_t(p.DivingInfielder)].Intercept;
        else a.Target = a.Intercept;
        a.Arrived = false;
    }
}

// How many bases a runner from `base` runs when every runner runs the batter's bases.
int BasesForRunner(const TBaseBallGame& g, int base, int bta)
{
    int n = bta;
    if (base == 2 && bta > 2 && !g.RunnerOn(1)) --n;
    if (base == 3) {
        if (bta == 2 && !g.RunnerOn(2)) --n;
        if (bta > 2 && !g.RunnerOn(1)) --n;
        if (bta > 2 && !g.RunnerOn(2)) --n;
    }
    return std::clamp(n, 1, 4 - base);
}

void SendRunnersAtContact(TBaseBallGame& g)
{
    const TPlayState& p = g.Play;
    const int r = g.Ball.PlayResult, bta = p.BasesToAdvance;
    if (r == prStrikeout) return;
    const int f = g.Ball.Fielder;
    const bool everyone = g.Ball.Kind == bkFly || (g.Outs == 2 && r != prWalk) || r == prBunt || f >= kLeftFielder || p.DivingInfielder >= 0;
    if (everyone) {
        for (int base = 1; base <= 3; ++base) {
            if (!g.RunnerOn(base)) continue;
            const bool tagging = (base == 3 && p.TagUpPlan[0] != 0) || (base == 2 && p.TagUpPlan[1] != 0);
            if (!tagging) g.SendRunner(kRunner1 + base - 1, BasesForRunner(g, base, bta), false);
        }
        return;
    }
    if (!g.RunnerOn(1)) return; // the runners on second and third hold
    g.SendRunner(kRunner1, 1, false);
    if (g.RunnerOn(2)) g.SendRunner(kRunner1 + 1, 1, false);
    if (g.RunnerOn(3)) {
        const bool forced = g.RunnerOn(2);
        const bool goes = g.Inning < 8 && g.Outs < 2 && f != kPitcher && f != kCatcher;
        if (forced || goes) g.SendRunner(kRunner1 + 2, 1, false);
    }
}

// Where batter and runners may stand after the play: where each is heading, or stays; a base whose
// cover man is in the chain sees its runner forced out.
void SetBaseFlags(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    p.BaseFlags = {};
    for (int base = 1; base <= 3; ++base) {
        if (!g.RunnerOn(base)) continue;
        const TBallActor& a = g.Actors[size_t(kRunner1 + base - 1)];
        const int to = a.Action == acMoveToPos ? base + a.BasesToRun : base;
        if (to <= 3) p.BaseFlags[size_t(to)] = true;
    }
    const int bta = p.BasesToAdvance;
    if (g.Ball.PlayResult != prStrikeout && bta >= 1 && bta <= 3) p.BaseFlags[size_t(bta)] = true;
    // Only an infield play forces a runner out; the throw after a hit to the outfield comes too late.
    const int r = g.Ball.PlayResult;
    if (r <= 5 || r == prBunt) {
        if (InChain(p, kFirstBaseman)) p.BaseFlags[1] = false;
        if (InChain(p, kSecondBaseman) || InChain(p, kShortstop)) p.BaseFlags[2] = false;
        if (InChain(p, kThirdBaseman)) p.BaseFlags[3] = false;
    }
}

} // namespace

int CoverSpotOf(int fielder)
{
    if (fielder == kShortstop) return spCoverSecond;
    if (fielder >= kCatcher && fielder <= kThirdBaseman) return fielder == kCatcher ? int(spCoverHome) : spCoverFirst + fielder - kFirstBaseman;
    return spCoverHome;
}

bool SetThrowSpeed(TBaseBallGame& g, int percent, int slowDelta, int fastDelta, bool homeThrow)
{
    TPlayState& p = g.Play;
    if (g.RandomInt(100) < percent) {
        p.OnTime = false;
        g.Ball.Speed = 24 + slowDelta;
    } else {
        g.Ball.Speed = 24 + fastDelta;
    }
    if (!p.ErrorFlag) {
        if (homeThrow) p.RunsCount = false;
        else if (p.Chain[2] != 0 || (p.Chain[1] != 0 && g.Outs >= 1)) p.RunsHeld = true;
    }
    return p.OnTime;
}

void ChooseThrowChain(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    const TBallRecord& b = g.Ball;
    const int r = b.PlayResult, f = b.Fielder, d = p.DivingInfielder;
    p.Chain = {};
    p.SecondCover = 0;
    if ((b.Kind == bkFly && !p.ErrorFlag) || r == prStrikeout || r == prWalk) {
        if (p.TagUpPlan[0] != 0) SetChain(p, kCatcher);
        else if (p.TagUpPlan[1] != 0) SetChain(p, kThirdBaseman);
    } else if (r == prBunt) {
        if (p.BuntKind != 0) {
            SetChain(p, kCatcher);
        } else {
            SetChain(p, kFirstBaseman);
            p.SecondCover = kCatcher;
        }
    } else if (r >= prGroundLeftLine && r <= prRightCentreCentre) {
        const bool runnerAhead = r == prTriple ? g.RunnerOn(1) : g.RunnerOn(2);
        const bool thirdSide = r == prGroundLeftLine || r == prFlyLeftLine || r == prLeftCentreLeft || r == prLeftCentreCentre;
        if (runnerAhead) SetChain(p, kCatcher);
        else SetChain(p, r == prTriple ? int(kThirdBaseman) : thirdSide ? int(kSecondBaseman) : int(kShortstop));
        p.SecondCover = thirdSide ? kSecondBaseman : kShortstop;
    } else if (r >= prLeftFielder && r <= prRightFielder) {
        if (g.RunnerOn(3)) SetChain(p, kCatcher);
        else if (g.RunnerOn(2) && (f == kCentreFielder || f == kRightFielder)) SetChain(p, kThirdBaseman);
        else SetChain(p, f == kRightFielder ? kShortstop : kSecondBaseman);
    } else if (r <= 5) {
        InfieldChain(g, f, d);
    }
}

int PlayEndOuts(const TBaseBallGame& g)
{
    const TPlayState& p = g.Play;
    if (p.FoulKind != 0) return 0;
    const bool tagged = p.TagUpPlan[0] >= 2 || p.TagUpPlan[1] >= 2;
    const bool bunt = g.Ball.PlayResult == prBunt && (p.BuntKind == 0 || p.BuntKind == 2);
    int n = p.PlayKind == pkPlayable || p.PlayKind == pkStrikeout || tagged || bunt ? 1 : 0;
    if (p.TagUpPlan[0] == 3) ++n;
    return n;
}

void TBallPlay::PlanFielding(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    const TBallRecord& b = g.Ball;
    if (b.PlayResult == prHomeRun && p.FenceCatch.Fielder < 0) {
        // Over the fence: one infielder goes to cover second as the batter rounds the bases.
        SendCover(g, p.FencePoint <= 3 ? kSecondBaseman : kShortstop);
    } else {
        if (b.Fielder >= 0) SetAction(g.Actors[size_t(b.Fielder)], acCatching);
        ChooseThrowChain(g);
        AnticipateWalkOff(g);
        for (int n : {p.Chain[0], p.SecondCover})
            if (n != 0 && n != b.Fielder) SendCover(g, n);
    }
    p.PlannedFirst = p.Chain[0];
    // With two outs a playable ball ends the inning: runs crossing meanwhile do not count.
    if (g.Outs == 2 && p.PlayKind == pkPlayable && !p.ErrorFlag) p.RunsCount = false;
    SendBackUps(g);
    SendRunnersAtContact(g);
    SetBaseFlags(g);
}

} // namespace bb

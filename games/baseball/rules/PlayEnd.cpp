// The end of a play: when it is over, its outs and calls, the ends of the game that three outs bring
// in the late innings, and the wait before the next batter comes up.
#include "BallPlay.h"
#include "BaseballGame.h"

#include <algorithm>

namespace bb {

namespace {

// Positions of the ball and the players on the field, folded into one number.
quint64 FieldPrint(const TBaseBallGame& g)
{
    quint64 h = 1469598103934665603ull;
    auto mix = [&h](QPoint p) {
        h = (h ^ quint64(quint32(p.x()))) * 1099511628211ull;
        h = (h ^ quint64(quint32(p.y()))) * 1099511628211ull;
    };
    mix(g.Ball.Pos);
    for (int i = 0; i < kFieldActors; ++i) mix(g.Actors[size_t(i)].Pos);
    return h;
}

void TrackStillness(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    const quint64 print = FieldPrint(g);
    if (print == p.FieldPrint) {
        ++p.StillTicks;
    } else {
        p.StillTicks = 0;
        p.FieldPrint = print;
    }
}

bool ThrowInCorner(const TBaseBallGame& g)
{
    const TBallRecord& b = g.Ball;
    return b.Kind == bkThrown && b.Pos == QPoint(b.MaxX, b.MaxY);
}

bool PlayIsOver(const TBaseBallGame& g)
{
    const TPlayState& p = g.Play;
    const bool homeRun = g.Ball.PlayResult == prHomeRun && p.FoulKind == 0 && !p.FenceCatch.Robbed;
    // A play in which nothing has moved for a while can never end by itself: the ball is dead.
    return p.ChainDone || homeRun || ThrowInCorner(g) || p.StillTicks >= kStillTicks;
}

QPoint CallPoint(const TBaseBallGame& g)
{
    const int k = g.Play.PlayKind;
    QPoint at = g.Ball.Pos - QPoint(0, 90);
    if (k == pkStrikeout || k == pkWalk) at = g.Spots[spRunHome] - QPoint(0, 100);
    return {std::clamp(at.x(), 50, kBallMaxX - 50), std::clamp(at.y(), 120, 470)};
}

// The outs of the play's end, each with its banner; a play without an out shows its call.
void CountOuts(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    const int n = PlayEndOuts(g);
    g.Outs += n;
    if (p.FoulKind != 0) {
        if (p.FoulKind == 7) p.OutMarks.push_back({CallPoint(g), pkFoul});
        return;
    }
    // The catch of a tagging play has its mark already; a runner thrown out at home gets his.
    const bool tagged = p.TagUpSent && (p.TagUpPlan[0] >= 2 || p.TagUpPlan[1] >= 2);
    int marks = n - (tagged ? 1 : 0);
    if (marks > 0) {
        p.OutMarks.push_back({CallPoint(g), p.PlayKind == pkStrikeout ? int(pkStrikeout) : int(pkPlayable)});
        if (--marks > 0) p.OutMarks.push_back({g.Spots[spRunHome] - QPoint(0, 100), pkPlayable});
    } else if (p.OutMarks.empty() && (p.PlayKind == pkWalk || (p.PlayKind == pkHit && p.HitFlag && g.Ball.PlayResult != prHomeRun))) {
        p.OutMarks.push_back({CallPoint(g), p.PlayKind});
    }
}

bool BatterFinished(const TBaseBallGame& g) { return g.Actors[kBatter].Done && g.Actors[kBatter].Action != acBatting; }

bool TaggerFinished(const TBaseBallGame& g)
{
    const TPlayState& p = g.Play;
    return (p.TagUpPlan[0] != 0 && g.Actors[kRunner1 + 2].Done) || (p.TagUpPlan[1] != 0 && g.Actors[kRunner1 + 1].Done);
}

} // namespace

int CloseTick(const TPlayState& p)
{
    switch (p.FoulKind) {
    case 1:
    case 2: return 18;
    case 3:
    case 4: return 36;
    case 5:
    case 6: return 30;
    default: return p.RunsThisPlay ? 22 : 12;
    }
}

void TBallPlay::StepActor(TBaseBallGame& g, int actor)
{
    if (actor < kBatter) StepFielder(g, actor);
    else StepRunner(g, actor);
}

void TBallPlay::PlayEnd(TBaseBallGame& g)
{
    if (g.EndCounter >= 0) {
        g.Celebrate();
        return;
    }
    TPlayState& p = g.Play;
    if (!p.PlanMade) return;
    TrackStillness(g);
    if (p.EndTimer >= 0) {
        if (++p.EndTimer >= CloseTick(p)) g.ClosePlateAppearance();
        return;
    }
    if (!p.Over) {
        if (!PlayIsOver(g)) return;
        p.Over = true;
        p.StillTicks = 0;
        CountOuts(g);
        // The user's side makes its third out behind in the ninth or later: the computer has won.
        if (g.Outs >= 3 && g.UserBats() && g.Inning >= 8 && g.Runs[0] > g.Runs[1]) {
            if (g.LineCell(1) == -1) g.LineCell(1) = 0;
            g.EndGame(0);
        }
        return;
    }
    // The user's side leads after the top of the ninth: its half is not played.
    if (g.Inning == 8 && g.Runs[1] > g.Runs[0] && g.Outs >= 3 && g.BattingSide == 0) {
        if (g.LineCell(0) == -1) g.LineCell(0) = 0;
        g.EndGame(1);
        return;
    }
    // The batter's run ends the play; after a catch that runners tag up on, theirs does. Over the
    // fence everyone rounds the bases: the batter comes home last.
    const bool tagging = p.TagUpPlan[0] != 0 || p.TagUpPlan[1] != 0;
    const bool homeRun = g.Ball.PlayResult == prHomeRun && p.FoulKind == 0 && !p.FenceCatch.Robbed;
    if ((BatterFinished(g) && (!tagging || homeRun)) || (TaggerFinished(g) && !homeRun)) p.EndTimer = 0;
    else if (ThrowInCorner(g) || p.StillTicks >= kStillTicks) p.EndTimer = 30; // a play that cannot finish closes soon
}

} // namespace bb

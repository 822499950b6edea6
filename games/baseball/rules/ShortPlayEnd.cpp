#include "ShortPlayEnd.h"
#include "BaseballGame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace bb {

namespace {

// Where the batted ball heads for: the spot of its result, or of its foul.
QPoint TargetOf(const TBaseBallGame& g)
{
    const int foul = g.Play.FoulKind, r = g.Ball.PlayResult;
    if (foul >= 1 && foul <= 6) return g.FoulSpots[size_t(foul)];
    if (foul == 7 || r == prCatcher) return g.Spots[spCoverHome] + QPoint(0, -20);
    if (r < prBunt) return g.Spots[size_t(r)];
    if (r == prBunt) return g.Spots[spPitcher];
    if (r == prStrikeout || r == prWalk) return g.Spots[spCatcher];
    if (r == prGroundLeftLine) return g.Spots[spRunThird];
    if (r == prGroundRightLine) return g.Spots[spRunFirst];
    if (r == prHomeRun) return g.Play.Landing;
    return g.Spots[size_t(spHit + r - prFlyLeftLine)];
}

// The bases as the play leaves them: who stands where, by picture.
struct TBases {
    std::array<bool, 4> On{};
    std::array<int, 4> Image{};
    int Runs = 0;

    // Everyone on base moves n bases; the batter too when he runs.
    void Advance(int n, bool batterRuns, int batterImage)
    {
        for (int b = 3; b >= 1; --b) {
            if (!On[size_t(b)]) continue;
            On[size_t(b)] = false;
            place(b + n, Image[size_t(b)]);
        }
        if (batterRuns) place(n, batterImage);
    }
    // A walk: the batter takes first and pushes on only the runners who must make room.
    void Force(int batterImage)
    {
        if (On[1]) {
            if (On[2]) {
                if (On[3]) ++Runs;
                place(3, Image[2]);
            }
            place(2, Image[1]);
        }
        place(1, batterImage);
    }

private:
    void place(int base, int image)
    {
        if (base >= 4) {
            ++Runs;
            return;
        }
        On[size_t(base)] = true;
        Image[size_t(base)] = image;
    }
};

} // namespace

void TShortPlayEnd::AfterContact(TBaseBallGame& g)
{
    g.Play.PlayKind = PlayKindOf(g.Ball, g.Play);
    g.Play.BasesToAdvance = BasesToAdvanceOf(g.Ball, g.Play);
    TBallRecord& ball = g.Ball;
    ball.Target = TargetOf(g);
    ball.Speed = ball.Kind == bkFly ? 28 : 24;
    ball.Direction = PointAngle(ball.Pos, ball.Target);
    ball.Arrived = false;
}

void TShortPlayEnd::PlanFielding(TBaseBallGame&) {}

void TShortPlayEnd::StepActor(TBaseBallGame& g, int actor)
{
    TBallActor& a = g.Actors[size_t(actor)];
    if (a.Action != acMoveToPos) return;
    if (a.Speed == 0) a.Speed = actor >= kBatter ? 9 : 6;
    g.MoveActor(actor);
    g.SelectActorImage(actor);
    if (!a.Arrived) return;
    // A runner with bases left runs on; everyone else stands.
    if (a.BasesToRun != kNotRunning && a.BasesToRun > 0) --a.BasesToRun;
    if (actor >= kBatter && a.BasesToRun > 0 && a.BasesToRun != kNotRunning && a.Role < spRunHome) {
        ++a.Role;
        a.Target = g.Spots[size_t(a.Role)];
        a.Arrived = false;
        return;
    }
    a.Action = acNone;
    a.Speed = 0;
    a.Done = true;
}

void TShortPlayEnd::MoveBall(TBaseBallGame& g)
{
    TBallRecord& b = g.Ball;
    if (b.Kind >= 0 || b.Arrived || b.Speed <= 0) return;
    const QPoint before = b.Pos;
    b.Direction = PointAngle(b.Pos, b.Target);
    if (PointDistance(b.Pos, b.Target) <= b.Speed) b.Pos = b.Target;
    else b.Pos = PolarOffset(b.Pos, b.Speed, b.Direction);
    if (g.Play.FoulKind != 1 && g.Play.FoulKind != 2) b.Pos.setX(std::clamp(b.Pos.x(), b.MinX, b.MaxX));
    b.Pos.setY(std::clamp(b.Pos.y(), b.MinY, b.MaxY));
    // A fly rises and falls again over its way; a liner stays low.
    if (b.Kind == bkFly || b.Kind == bkLiner) {
        const int whole = PointDistance(b.Launch, b.Target), gone = PointDistance(b.Launch, b.Pos);
        const double t = whole > 0 ? std::min(1.0, double(gone) / whole) : 1.0;
        b.Height = int(std::nearbyint((b.Kind == bkFly ? 3 : 1) * std::sin(t * std::numbers::pi)));
    }
    if (b.Pos == b.Target || b.Pos == before) {
        b.Arrived = true;
        b.Speed = 0;
        // A fair home run drops far away into the stands: the crowd roars and the banner goes up.
        if (b.PlayResult == prHomeRun && b.Kind == bkFly && g.Play.FoulKind == 0 && !g.Play.FenceCatch.Robbed) {
            b.Height = 4;
            g.Play.HomeRun = true;
            g.PlaySound(TBallSound::Kansei);
        }
    }
}

void TShortPlayEnd::PlayEnd(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    if (!p.PlanMade) return;
    if (p.EndTimer < 0) {
        // The call shows once the ball has come to rest and the batter has finished his run.
        const TActorAction batter = g.Actors[kBatter].Action;
        const bool settled = g.Ball.Arrived && batter != acBatting && batter != acMoveToPos;
        if (!settled && ++m_waited < kLongestPlay) return;
        m_waited = 0;
        Call(g);
        p.EndTimer = 0;
    }
    if (++p.EndTimer < kEndTicks) return;
    Settle(g);
    g.ClosePlateAppearance();
}

void TShortPlayEnd::Call(TBaseBallGame& g)
{
    TPlayState& p = g.Play;
    if (p.FoulKind >= 1 && p.FoulKind <= 6) {
        // Beside the spot where the ball went foul.
        p.FoulAnnounced = true;
        return;
    }
    // Over the ball where it came to rest; strikeouts and walks over home plate.
    QPoint at = g.Ball.Pos - QPoint(0, 90);
    if (p.PlayKind == pkStrikeout || p.PlayKind == pkWalk) at = g.Spots[spRunHome] - QPoint(0, 100);
    at.setX(std::clamp(at.x(), 50, kBallMaxX - 50));
    at.setY(std::clamp(at.y(), 120, 470));
    p.OutMarks.push_back(at);
}

void TShortPlayEnd::Settle(TBaseBallGame& g)
{
    const TPlayState& p = g.Play;
    if (p.PlayKind == pkFoul) return;
    const size_t bat = size_t(g.BattingSide);
    TBases bases;
    for (int b = 1; b <= 3; ++b) {
        bases.On[size_t(b)] = g.BaseFlags[size_t(b)];
        bases.Image[size_t(b)] = g.RunnerImage[size_t(b)];
    }
    const int batterImage = g.Teams[bat].ImageOfPosition(g.OrderPosition[bat]);
    // The batting-order figures: a sacrifice and a walk are no at-bats.
    const size_t slot = size_t(g.CurrentSlot());
    if (g.Ball.PlayResult != prBunt && g.Ball.PlayResult != prWalk) ++g.SlotAtBats[bat][slot];
    if (p.PlayKind == pkHit) ++g.SlotHits[bat][slot];
    switch (p.PlayKind) {
    case pkStrikeout:
        ++g.Outs;
        break;
    case pkPlayable:
        ++g.Outs;
        if (g.Ball.PlayResult == prBunt && g.Outs < 3) bases.Advance(1, false, batterImage); // a sacrifice
        break;
    case pkWalk:
        bases.Force(batterImage);
        break;
    default:
        bases.Advance(p.BasesToAdvance, true, batterImage);
        ++g.Hits[bat];
        ++g.HitsThisHalf;
        break;
    }
    if (g.Outs < 3 && bases.Runs > 0) {
        g.Runs[bat] += bases.Runs;
        int& cell = g.LineCell(g.BattingSide);
        cell = std::max(cell, 0) + bases.Runs;
    }
    for (int b = 1; b <= 3; ++b) {
        g.BaseFlags[size_t(b)] = bases.On[size_t(b)];
        if (bases.On[size_t(b)]) g.RunnerImage[size_t(b)] = bases.Image[size_t(b)];
    }
}

} // namespace bb

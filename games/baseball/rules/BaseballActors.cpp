// The actors: where a plate appearance places them, which picture each shows, and the plain moves
// that the play rules build on.
#include "BaseballGame.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace bb {

void TBallActor::RenewBoxes(int touch)
{
    const int x = Pos.x(), y = Pos.y();
    TouchBox = {x - touch, y - touch, x + touch, y + touch};
    CatchBox = {x - 10, y - 28, x + 22 + CatchGrowth, y + CatchGrowth};
}

void TBaseBallGame::setUpActors()
{
    const TTeamPictures& batting = Teams[size_t(BattingSide)];
    for (int i = 0; i < kActorCount; ++i) {
        TBallActor a;
        if (i < kBatter) a.Pos = Spots[size_t(i)];
        else if (i == kBatter) a.Pos = Spots[spBatterBox];
        else if (i < kBench0) a.Pos = Spots[size_t(spRunFirst + i - kRunner1)];
        else a.Pos = Spots[spCatcher] - QPoint(150, 0);
        // The catcher's spot lies below the picture: he crouches at its bottom edge.
        a.Pos.setY(std::min(a.Pos.y(), a.MaxY));
        a.RenewBoxes(4);
        a.Facing = PointAngle(a.Pos, Spots[spBatterBox]);
        a.BallDistance = PointDistance(a.Pos, Spots[spPitcher]);
        if (i < kBatter) {
            a.Side = FieldingSide;
            a.Picture = Teams[size_t(FieldingSide)].SlotImage[size_t(i)];
            a.Role = i;
        } else {
            a.Side = BattingSide;
        }
        Actors[size_t(i)] = a;
    }
    TBallActor& batter = Actors[kBatter];
    batter.Action = acBatting;
    batter.Picture = batting.ImageOfPosition(OrderPosition[size_t(BattingSide)]);
    batter.Role = spRunFirst;

    RunnerByte = 0;
    for (int base = 1; base <= 3; ++base) setUpRunner(base);
    setUpBench();
    for (int i = 0; i < kActorCount; ++i) SelectActorImage(i);
}

void TBaseBallGame::setUpRunner(int base)
{
    TBallActor& r = Actors[size_t(kRunner1 + base - 1)];
    r.Role = kRunner1 + base - 1 + 5;
    if (BaseFlags[size_t(base)]) {
        r.BasesToRun = 0;
        r.Base = base;
        r.Picture = RunnerImage[size_t(base)];
        RunnerByte = (RunnerByte | (8 << base)) + 1;
    } else {
        r.Picture = -1;
        r.Pos = Spots[spCatcher];
        r.RenewBoxes(4);
        RunnerImage[size_t(base)] = Teams[size_t(BattingSide)].ImageOfPosition(OrderPosition[size_t(BattingSide)] + base);
    }
}

void TBaseBallGame::setUpBench()
{
    // The bench shows the first five players who are neither batting nor on a base.
    const TTeamPictures& team = Teams[size_t(BattingSide)];
    const int batterImage = Actors[kBatter].Picture;
    BenchImage.fill(-1);
    size_t k = 0;
    for (int j = 0; j < 9 && k < BenchImage.size(); ++j) {
        const int image = 2 * j;
        if (image == batterImage || image == RunnerImage[1] || image == RunnerImage[2] || image == RunnerImage[3]) continue;
        BenchImage[k++] = team.ImageOfPosition(j);
    }
    for (int i = kBench0; i < kActorCount; ++i) {
        TBallActor& b = Actors[size_t(i)];
        b.Role = i - kBench0;
        b.Picture = -1;
    }
}

void TBaseBallGame::UpdateEquipmentOffsets()
{
    Equipment = EquipmentFrom(Offsets[size_t(FieldingSide)], Offsets[size_t(BattingSide)]);
}

void TBaseBallGame::SelectActorImage(int actor)
{
    TBallActor& a = Actors[size_t(actor)];
    const int m = Teams[size_t(a.Side)].MirrorOffset();
    if (a.Picture < 0 || m <= 0) return;
    const int base = a.Picture % m;
    bool mirrored = !(a.Facing >= -std::numbers::pi / 2 && a.Facing <= std::numbers::pi / 2);
    // A fielder beside whom the batted ball passes turns that way, whatever he faced.
    const bool batted = Ball.Kind == bkGrounder || Ball.Kind == bkFly || Ball.Kind == bkLiner;
    if (batted && actor < kBatter) {
        const int r = Ball.PlayResult, f = Ball.Fielder;
        const bool watches = (actor == kFirstBaseman && r == prFlyRightLine)
            || (actor == kSecondBaseman && (f == kFirstBaseman || f == kRightFielder))
            || (actor == kShortstop && (f == kThirdBaseman || f == kLeftFielder))
            || (actor == kThirdBaseman && r == prFlyLeftLine);
        if (watches && PointAngle(Ball.Launch, a.Pos) <= Ball.Direction) mirrored = true;
    }
    a.Picture = base + (mirrored ? m : 0);
    a.Pose = (base & 1) + (mirrored ? 2 : 0);
}

void TBaseBallGame::SetActorFrame(int actor, int frame)
{
    TBallActor& a = Actors[size_t(actor)];
    const int m = Teams[size_t(a.Side)].MirrorOffset();
    if (a.Picture < 0 || m <= 0) return;
    const bool mirrored = a.Picture >= m;
    const int base = (a.Picture % m) / 2 * 2 + (frame & 1);
    a.Picture = base + (mirrored ? m : 0);
    a.Pose = (frame & 1) + (mirrored ? 2 : 0);
}

void TBaseBallGame::MoveActor(int actor)
{
    TBallActor& a = Actors[size_t(actor)];
    if (!a.Arrived && a.Speed > 0) {
        a.Direction = PointAngle(a.Pos, a.Target);
        if (PointDistance(a.Pos, a.Target) <= a.Speed) a.Pos = a.Target;
        else a.Pos = PolarOffset(a.Pos, a.Speed, a.Direction);
        a.Pos.setX(std::clamp(a.Pos.x(), a.MinX, a.MaxX));
        a.Pos.setY(std::clamp(a.Pos.y(), a.MinY, a.MaxY));
        if (actor >= kBatter) a.Facing = a.Direction; // batter, runners and bench face where they run
    }
    a.RenewBoxes();
    a.Arrived = a.TouchBox.Contains(a.Target);
    RenewBallDistance(actor);
}

void TBaseBallGame::RenewBallDistance(int actor)
{
    TBallActor& a = Actors[size_t(actor)];
    if (actor >= kBatter) a.BallDistance = kFarAway;
    else if (Ball.Kind == actor) a.BallDistance = 0;
    else a.BallDistance = PointDistance(a.Pos, Ball.Pos);
}

void TBaseBallGame::SortByBallDistance()
{
    for (int i = 0; i < kFieldActors; ++i) Nearest[size_t(i)] = i;
    for (size_t i = 0; i < Nearest.size(); ++i)
        for (size_t j = i + 1; j < Nearest.size(); ++j)
            if (Actors[size_t(Nearest[j])].BallDistance < Actors[size_t(Nearest[i])].BallDistance) std::swap(Nearest[i], Nearest[j]);
}

void TBaseBallGame::SendRunner(int actor, int bases, bool cheer)
{
    if (actor < kBatter || actor >= kBench0) return;
    TBallActor& a = Actors[size_t(actor)];
    if (a.BasesToRun == kNotRunning) return;
    a.Action = acMoveToPos;
    a.Step = 0;
    a.Arrived = false;
    a.Role = actor + 5;
    a.Target = Spots[size_t(a.Role)];
    a.BasesToRun = bases;
    if (cheer) PlaySound(TBallSound::Kansei);
}

int TBaseBallGame::NextBatterPower() const
{
    return SlotPower[size_t(BattingSide)][size_t((OrderPosition[size_t(BattingSide)] + 1) % 9)];
}

} // namespace bb

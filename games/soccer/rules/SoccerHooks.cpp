// Steps of the tick that belong to the player actions, the set pieces and the replays. Each keeps
// its place in the tick order; until its own module lands it does the plain thing described on it,
// so a match plays from kick-off to the final whistle: the player at the ball dribbles towards the
// attacked goal and shoots from close in, and a keeper who reaches the ball clears it upfield.
#include "SoccerEngine.h"

#include <algorithm>
#include <cmath>

namespace soccer {

// --- Player actions ----------------------------------------------------------------------------

void TSoccerEngine::PlayerThink(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    const bool inReach = BallInReach(team, player);
    switch (pl.Action) {
    case acDribble:
        if (Ball.Height > 0 || FHeader.Is(team, player)) break;
        if (inReach) PlainDribble(team, player);
        else if (!Possesses(team)) pl.Action = acNone;
        break;
    case acShoot:
    case acShootMove:
        if (inReach && FShotKind == -1) PlainShot(team, player);
        else if (inReach) pl.Action = acDribble;
        else if (!Possesses(team)) pl.Action = acNone;
        break;
    default: break;
    }
    Ball.Angle = FoldAngle(Ball.Angle);
}

// The ball is touched on towards the attacked goal, up to 30 degrees either side of it.
void TSoccerEngine::PlainDribble(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    Ball.Speed = pl.ActionTarget >= 0 ? pl.ActionTarget : RandomInt(2) + 5;
    const double toGoal = PointAngle({Ball.X, Ball.Y}, GoalPt[1 - team]);
    if (team == 0 && Ball.X < pl.X - 6) Ball.X = pl.X - 6;
    if (team == 1 && Ball.X > pl.X + 7) Ball.X = pl.X + 7;
    Ball.OutFlags = 0;
    Ball.Angle = FoldAngle(toGoal + DegToRad(30 - RandomInt(60)));
    Ball.Height = 0;
    FReceiver.Clear();
    pl.Action = acNone;
    Touched(team, player);
    UpdateBallRegion();
}

void TSoccerEngine::PlainShot(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    const QPoint g = GoalPt[1 - team];
    const QPoint aim(g.x(), g.y() + RandomInt(61) - 30);
    pl.Action = acNone;
    if (!KickBall(true, false, acShoot, aim, {Ball.X, Ball.Y})) return;
    Touched(team, player);
    ++FStats[team][stShots];
    FLastKickTick = FTick;
    FShotKind = 0;
    FShotType = pl.ActionParam;
    FShotFlying = FShotScores = FChanceOn = false;
    FShotAim = aim;
    FReceiver = {team, 0};
    FLastScorer.player = player;
    FLastKicker = {team, player};
    Ball.OutFlags = 0;
    UpdateBallRegion();
    if (FSoundOn) Sound(TSoccerSound::Kick);
}

// Possession passes to (team, player).
void TSoccerEngine::Touched(int team, int player)
{
    HoldFlag[team] = false;
    Ball.PostHit = false;
    TSoccerPlayer& pl = FPlayers[team][player];
    if (FHolder.team == team) {
        if (FHolder.player != player && FHolder.player >= 0) FPlayers[team][FHolder.player].Action = acNone;
        if (!FHeader.Is(team, player)) pl.Speed = 3;
        FHeadShot.Clear();
    } else if (FHolder.team >= 0) {
        const int old = FHolder.team;
        for (TSoccerPlayer& o : FPlayers[old]) {
            o.Action = acNone;
            o.Passers = 0;
        }
        ClearRunFlags(-1);
        pl.Speed = 3;
        pl.Passers = 0;
        FHeadShot.Clear();
        FHeader.Clear();
        FLofted = false;
        Ball.Height = 0;
        FCornerPlay = false;
        PlaceDefence(old, -1);
    }
    FHolder = {team, player};
    UpdateBallRegion();
    pl.MarkedFoe = -1;
    FMarked.Clear();
    if (++FPassCount >= 2)
        for (TSoccerPlayer& o : FPlayers[team]) o.Passers = 0;
    if (FPassCount % 3 == 2) PlaceDefence(team, -1);
}

bool TSoccerEngine::DecideAtBall(int team)
{
    for (int p = 1; p < 7; ++p) {
        TSoccerPlayer& pl = FPlayers[team][p];
        if (!BallInReach(team, p)) continue;
        if (KickOffPass) {
            if (team != FHolder.team) continue;
            // The kick-off: the kicker plays the ball off the spot, and later kick-offs wait less.
            KickOffPass = false;
            FResumeTick = 15;
        } else if (pl.Action != acNone || pl.IsSlow || (FHolder.Is(team, p) && Ball.Speed == 0) || Ball.Height > 0 ||
                   FHeader.Set() || FHeadShot.Set() || pl.OffsideFlag || FMarked.team == team ||
                   FTick - FLastKickTick <= 1 || (FReceiver.team == team && !FReceiver.Is(team, p))) {
            continue;
        }
        FAIDecides = team == 1 || FOperation >= 2;
        FShotKind = -1;
        FShotFlying = false;
        if (pl.GoalDist <= 120) {
            pl.Action = acShoot;
            pl.ActionTarget = 0;
            pl.ActionParam = 1;
        } else {
            pl.Action = acDribble;
            pl.ActionTarget = -1;
        }
        FLastAction = pl.Action;
        return true;
    }
    return false;
}

bool TSoccerEngine::RunRefused(int, int, int) const
{
    return false; // the run tests come with the action layer
}

bool TSoccerEngine::KeeperPassRefused(int, int) const
{
    return false; // the keeper's own test comes with the action layer
}

void TSoccerEngine::GetUp(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    pl.IsSlow = FFreeKickTick < 0;
    pl.SlowTick = FTick;
    pl.Action = acNone;
    pl.View = 2 * FFallDir;
    pl.X += (2 * FFallDir - 1) * 25;
    pl.Y -= 17;
    FFallen.Clear();
}

// --- Keeper and set pieces ---------------------------------------------------------------------

bool TSoccerEngine::KeeperAtBall(int team)
{
    const TSoccerPlayer& k = FPlayers[team][0];
    if (!k.BodyRt.Contains(Ball.X, Ball.Y) || FTick - FLastBallTick <= 1 || KeeperHold[0] > 0 || KeeperHold[1] > 0 ||
        KeeperPause[team] > 0)
        return false;
    for (auto& side : FPlayers)
        for (TSoccerPlayer& pl : side) pl.Action = acNone;
    FReceiver.Clear();
    ClearRunFlags(-1);
    ClearTrapFlags(-1);
    FLofted = false;
    FAIDecides = true;
    FGoalKind = 0;
    FFreeKickGoal = false;
    // He clears it upfield.
    const int deg = team == 1 ? RandomInt(120) + 120 : RandomInt(120) - 60;
    Ball.Angle = FoldAngle(DegToRad(deg));
    Ball.Speed = 8 + RandomInt(4);
    if (FSoundOn && FTick - FLastBallTick > 20) Sound(TSoccerSound::Kick);
    Touched(team, 0);
    ParryMark = false;
    CheerFlag[1 - team] = false;
    FShotFlying = false;
    FShotKind = -1;
    SavedPenaltyDir = -2;
    FLastBallTick = FTick;
    UpdateBallRegion();
    return true;
}

void TSoccerEngine::FreeKickStep()
{
    FFreeKickTick = -1;
    FSetPieceKind = spNone;
    FSetPiece.Clear();
}

void TSoccerEngine::PenaltyKickStep()
{
    FPKTick = -1;
    FTackler.Clear();
}

TPKOutcome TSoccerEngine::PlayPenaltyKick()
{
    TPKRequest r;
    r.KickSide = FTackler.team == 0 ? 1 : 0;
    r.MyPlayerIndex = r.KickSide == 1 ? FirstShuffled[0] : LastShuffled[0];
    r.AitePlayerIndex = r.KickSide == 1 ? LastShuffled[1] : FirstShuffled[1];
    TPKOutcome o = Svc.PenaltyKick ? Svc.PenaltyKick(r) : TPKOutcome{};
    o.KickDir = std::clamp(o.KickDir, -1, 1);
    o.AimDir = std::clamp(o.AimDir, -1, 1);
    o.KeeperDir = std::clamp(o.KeeperDir, -1, 1);
    return o;
}

} // namespace soccer

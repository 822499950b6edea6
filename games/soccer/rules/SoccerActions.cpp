// How a player is given an action and carries it out tick by tick: passes, head passes, dribbles and
// the kicks away, and the touch that passes possession. Shots and kick-outs, contests, falls and the
// small pressure tests live beside this file.
#include "SoccerEngine.h"

#include <algorithm>
#include <cmath>

namespace soccer {

namespace {

// A kick under way that no computer order may replace.
bool Kicking(int action)
{
    return action == acPass || action == acHeadPass || action == acShoot || action == acShootMove;
}

// Players beyond this many ticks since they were marked slow run at full speed again.
constexpr int kSlowTicks = 30;

} // namespace

// --- Giving and clearing actions ----------------------------------------------------------------

void TSoccerEngine::ClearAction(int team, int player)
{
    for (int t = 0; t < 2; ++t) {
        if (team >= 0 && team != t) continue;
        for (int p = 0; p < 7; ++p) {
            if (player >= 0 && player != p) continue;
            TSoccerPlayer& pl = FPlayers[t][p];
            if (pl.Action != acKokeru) {
                pl.Action = acNone;
                pl.OrderSource = 0;
                pl.ActionWait = 0;
                pl.ActionChoice = 0;
                pl.InContest = false;
            }
            pl.PassedFrom = -1;
            if (player != -2) pl.TurnSide = 1;
        }
    }
    if (player < 0) FControlled = -1;
}

void TSoccerEngine::ClearQuestion()
{
    FAskPending = false;
    FHoverChoice = -1;
}

void TSoccerEngine::SetAction(int source, int team, int param, int target, int action, int player)
{
    if (team < 0 || team > 1) return;
    const bool needsTarget = action == acPass || action == acHeadPass || action == acSeriai || action == acKokeru;
    if (player < 0 || player > 6 || (needsTarget && (target < 0 || target > 6))) {
        ClearAction(team, -1);
        return;
    }
    TSoccerPlayer& pl = FPlayers[team][player];
    const int holderWait = FHolder.Set() ? Player(FHolder).ActionWait : 0;
    if ((action == acHeadPass && FLastAction == acSeriai && holderWait > 0) ||
        (FLofted && (action == acPass || action == acShoot || action == acShootMove))) {
        ClearAction(team, player);
        return;
    }
    if (FFinalWinner >= 0) {
        action = acDribble;
        param = target = -1;
    }
    const bool refused = source == 2 ? (FLofted && pl.Action == acHeadPass) ||
                                           (FFreeKickTick >= 0 && (pl.Action == acPass || pl.Action == acShoot))
                                     : Kicking(pl.Action);
    if (refused) return;
    if (AsksUser(team, player, target, action)) {
        FAIDecides = false;
        FAskPending = true;
        return;
    }
    pl.OrderSource = quint8(source);
    pl.Action = quint8(action);
    pl.ActionTarget = target;
    pl.ActionParam = param;
    FLastAction = action;
}

// In the "ときどき選択" mode the user answers the shots, head passes and the longer passes of his team.
bool TSoccerEngine::AsksUser(int team, int player, int target, int action) const
{
    if (FOperation != 2 || FAskPending || KickOffPass || team != 0 || !Possesses(0) || FHeader.Set()) return false;
    if (FClickedPlayer == player && FClickStreak >= 3) return false;
    if (action == acHeadPass || action == acShoot || action == acShootMove) return true;
    if (action != acPass) return false;
    const bool fromBack = player >= 1 && player <= 3, toFront = target >= 4, toBack = target >= 1 && target <= 3;
    if (fromBack && toFront) return FTick - FLastKickTick > 80;
    if (player >= 4 && toFront) return !FPlayers[0][target].InOwnHalf;
    if (player >= 4 && toBack) return !FPlayers[0][player].InOwnHalf;
    return false;
}

// --- One tick of a player's action --------------------------------------------------------------

void TSoccerEngine::PlayerThink(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    if (pl.IsSlow && FTick - pl.SlowTick > kSlowTicks) pl.IsSlow = false;
    if (FDasher.Is(team, player) && --FDashTicks <= 0) {
        FDasher.Clear();
        FDashTicks = 0;
    }
    // Nobody plays a ball that a keeper holds in his hands, not even he himself until he lets it go.
    const bool inReach = !BallInHands() && BallInReach(team, player);
    switch (pl.Action) {
    case acPass: ThinkPass(team, player, inReach); break;
    case acDribble: ThinkDribble(team, player, inReach); break;
    case acHeadPass: ThinkHeadPass(team, player, inReach); break;
    case acShoot:
    case acShootMove:
        if (inReach && FShotKind == -1) ThinkShoot(team, player);
        break;
    case acSeriai:
        if (inReach) Contest(team, player);
        break;
    case acKeridasiP:
    case acKeridasiI:
        if (inReach) KickAway(team, player);
        break;
    case acKokeru: Fall(team, player); break;
    case acDash:
        if (inReach) {
            StartDash(team, player);
            ThinkDribble(team, player, true);
        } else if (!Possesses(team)) {
            ClearAction(team, -1);
        }
        break;
    default: break;
    }
    Ball.Angle = FoldAngle(Ball.Angle);
}

void TSoccerEngine::ThinkPass(int team, int player, bool inReach)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    if (!inReach) {
        if (!Possesses(team)) ClearAction(team, -1);
        return;
    }
    const int r = pl.ActionTarget;
    if (r < 0 || r > 6 || FAskPending) {
        ClearAction(team, player);
        pl.Action = acDribble;
        pl.ActionTarget = -1;
        ThinkDribble(team, player, true);
        return;
    }
    // A player pressed by the other team only knocks the ball somewhere near him.
    const bool pressed = IsPressed(team, player);
    QPoint aim;
    if (pressed) {
        const int reach = RandomInt(20) + 20;
        const int deg = RandomInt(360) - 180;
        aim = QPoint(pl.X, pl.Y) + PolarPoint(reach, DegToRad(deg));
    } else {
        aim = {FPlayers[team][r].X + 3 * Forward(team), FPlayers[team][r].Y};
    }
    if (UserPassGate(team, player)) return;
    if (pl.ActionWait > 0) {
        --pl.ActionWait;
        return;
    }
    if (!KickBall(false, false, acPass, aim, {Ball.X, Ball.Y})) {
        Fumble(team, player);
        return;
    }
    PassMade(team, player, r, pressed);
}

void TSoccerEngine::PassMade(int team, int passer, int r, bool deflected)
{
    TSoccerPlayer& pl = FPlayers[team][passer];
    TSoccerPlayer& rc = FPlayers[team][r];
    MarkForwardRuns(team, passer);
    if (deflected) ClearOffside();
    else JudgeOffside(team, r);
    if (rc.OffsideFlag) FPauseTick = 0;
    FLastPassTick = FTick;
    rc.PassedFrom = passer;
    if (FMovePasses <= 1 || rc.Passers == 0) rc.Passers = quint8(pl.Passers | (1u << passer));
    ++FMovePasses;
    FReceiver = deflected ? TTeamPt{} : TTeamPt{team, r};
    FPassCount = 0;
    Ball.OutFlags = 0;
    Ball.Free = Ball.PostHit = false;
    FShotKind = -1;
    FGoalKind = 0;
    FLastKicker = {team, passer};
    if (KickOffPass) {
        KickOffPass = false;
        FResumeTick = 15;
        FRestartTick = FTick;
    }
    // The pass is over; the passer waits for the ball like anybody else.
    ClearAction(team, passer);
    UpdateBallRegion();
    if (FSoundOn) Sound(TSoccerSound::Kick);
}

// A kick that the ball's own run refused: it rolls off sideways and the kicker tries again.
void TSoccerEngine::Fumble(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    Ball.Speed = 3;
    pl.ActionChoice = pl.X < Ball.X ? -1 : 1;
    pl.ActionWait = 2;
    Ball.Angle = FoldAngle(Ball.Angle + DegToRad(90 * pl.ActionChoice));
    UpdateBallRegion();
}

// In the modes "マウス" and "キーボード" the user passes for his team: a computer pass becomes a dribble.
bool TSoccerEngine::UserPassGate(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    if (team != 0 || player == 0 || KickOffPass || FHeader.Set() || pl.OrderSource == 2) return false;
    if (FOperation > 1 && !FAskPending) return false;
    pl.Action = acDribble;
    pl.ActionTarget = -1;
    FLastKickTick = FTick;
    return true;
}

// A lofted ball to a team-mate's head. An order planned ahead or given by the user first stops the
// ball for five ticks.
void TSoccerEngine::ThinkHeadPass(int team, int player, bool inReach)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    if (!inReach) {
        if (!Possesses(team)) {
            ClearAction(team, player);
            FHeader.Clear();
        }
        return;
    }
    const int r = pl.ActionTarget;
    if (r < 0 || r > 6) {
        ClearAction(team, player);
        return;
    }
    if (pl.OrderSource != 0) {
        if (pl.ActionChoice == 0) {
            Ball.Speed = 3;
            pl.ActionChoice = pl.X < Ball.X ? -1 : 1;
            pl.ActionWait = 5;
        } else if (--pl.ActionWait <= 0) {
            pl.OrderSource = 0;
        }
        return;
    }
    TSoccerPlayer& rc = FPlayers[team][r];
    QPoint aim(rc.X + 10 * Forward(team), rc.Y - 73);
    MarkForwardRuns(team, player);
    JudgeOffside(team, r);
    if (rc.OffsideFlag) {
        FPauseTick = 0;
        aim.setY(rc.Y - 85);
    }
    if (UserPassGate(team, player)) return;
    if (!KickBall(true, false, acHeadPass, aim, {Ball.X, Ball.Y})) {
        Fumble(team, player);
        return;
    }
    FLastPassTick = FTick;
    rc.PassedFrom = player;
    FHeader = {team, r};
    ++FStats[team][stHeadings];
    FReceiver = {team, r};
    ++FMovePasses;
    pl.Action = acDribble;
    pl.ActionTarget = -1;
    FPassCount = 0;
    Ball.OutFlags = 0;
    FLofted = false;
    FShotKind = -1;
    FLastKicker = {team, player};
    Touched(team, player);
    if (FSoundOn) Sound(TSoccerSound::Kick);
}

// --- Dribbling ------------------------------------------------------------------------------------

void TSoccerEngine::ThinkDribble(int team, int player, bool inReach)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    if (Ball.Height > 0 || FHeader.Is(team, player) || !inReach) return;
    TurnBack(team, player);
    if (IsPressed(team, player)) {
        const int deg = RandomInt(360) - 180;
        Ball.Angle = DegToRad(deg);
        Ball.Speed = RandomInt(8) + 6;
    } else {
        DribbleKick(team, player, pl.ActionTarget);
    }
    if (pl.Role >= rlSideBack) pl.PassedFrom = -1;
    ClearAction(team, -2);
    FReceiver.Clear();
    Ball.Height = 0;
    Touched(team, player);
}

// The dribbler may turn the ball back towards his own goal when he runs into an opponent with
// nobody behind him, and turns it out of a corner; a running turn-back ends when the way is clear.
// Out flags 17 and 18 send the ball right or left on the following touches.
void TSoccerEngine::TurnBack(int team, int player)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    const quint8 mine = team == 0 ? 18 : 17;
    const bool foeAhead = OpponentInZone(team, player, false, true, 30, -30, 80, 10);
    const bool foeBehind = OpponentInZone(team, player, true, true, 30, -30, 0, -70);
    auto oneIn = [&](int fromLine) { return RandomInt(std::max(1, fromLine / 5 + 10)) == 0; };
    if (FTick - FLastKickTick > 79 && Ball.OutFlags != mine && pl.LaneFlags < 256 && foeAhead && !foeBehind) {
        const int fromLine = team == 0 ? pl.X - CornerRt[0][0].Left : CornerRt[1][0].Right - pl.X;
        if (oneIn(fromLine)) Ball.OutFlags = mine;
    }
    const bool left = CornerRt[0][0].Contains(pl.X, pl.Y) || CornerRt[0][1].Contains(pl.X, pl.Y);
    const bool right = CornerRt[1][0].Contains(pl.X, pl.Y) || CornerRt[1][1].Contains(pl.X, pl.Y);
    if (left || right) {
        const bool mateOpen = FPlayers[team][Order[team][1]].LaneFlags > 255;
        const int fromLine = left ? pl.X - CornerRt[0][0].Left : CornerRt[1][0].Right - pl.X;
        if (mateOpen || oneIn(fromLine)) Ball.OutFlags = left ? 17 : 18;
    }
    if (Ball.OutFlags == mine && !(foeAhead && !foeBehind)) Ball.OutFlags &= 12;
}

void TSoccerEngine::DribbleKick(int team, int player, int speed)
{
    const bool anySpeed = speed < 1;
    Ball.Speed = anySpeed ? RandomInt(2) + 5 : speed;
    const quint8 f = Ball.OutFlags;
    int deg;
    if (f & 1) {
        deg = 0;
        Ball.Speed = 5;
        KeepBallAtFeet(team, player, 1);
    } else if (f & 2) {
        deg = 180;
        Ball.Speed = 5;
        KeepBallAtFeet(team, player, -1);
    } else if (f & 12) {
        deg = 180 * team;
        Ball.Speed = 8;
    } else {
        deg = DribbleAngle(team, player, anySpeed);
    }
    // A ball played off a line leaves the line behind; the turn-backs keep their flags.
    if (f != 0 && f < 16) Ball.OutFlags = 0;
    Ball.Angle = FoldAngle(DegToRad(deg));
}

// The touch's direction in degrees: round an opponent ahead, else along the player's lane.
int TSoccerEngine::DribbleAngle(int team, int player, bool anySpeed)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    const quint8 pr = pl.Pressure;
    const bool nearOwnGoal = GoalRt[team].Contains(Ball.X, Ball.Y) || GoalAreaRt[team].Contains(Ball.X, Ball.Y);
    if ((pr & 1) && !nearOwnGoal) {
        if (!(pr & 4) && pl.TurnSide != 2) {
            pl.TurnSide = 3;
            if (anySpeed && (pr & 2)) Ball.Speed = 5;
            return team == 0 ? RandomInt(30) - 60 : -(RandomInt(30) + 120);
        }
        if (!(pr & 2) && pl.TurnSide != 3) {
            pl.TurnSide = 2;
            if (anySpeed && (pr & 4)) Ball.Speed = 5;
            return team == 0 ? 60 - RandomInt(30) : RandomInt(30) + 120;
        }
        if (pr & 8) {
            if (CanDash(team, player)) StartDash(team, player);
            pl.TurnSide = 1;
            if (anySpeed) Ball.Speed = 6;
            return team == 0 ? 30 - RandomInt(60) : RandomInt(60) + 150;
        }
        pl.TurnSide = 4;
        if (team == 1 && anySpeed) Ball.Speed = 6;
        return team == 0 ? -(RandomInt(30) + 120) : RandomInt(30) - 60;
    }
    const bool open = pl.LaneFlags & 8;
    int deg;
    if (player == 1 || player == 4 || player == 3 || player == 5) {
        const int up = team == 0 ? RandomInt(30) : RandomInt(30) + 150;
        const bool goUp = (player == 1 || player == 4) != open;
        deg = goUp ? up : -up;
    } else {
        deg = team == 0 ? 30 - RandomInt(60) : RandomInt(60) + 150;
    }
    KeepBallAtFeet(team, player, Forward(team));
    pl.TurnSide = 1;
    return deg;
}

void TSoccerEngine::KeepBallAtFeet(int team, int player, int dir)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    if (pl.ActionWait > 0) return;
    if (dir > 0 && Ball.X < pl.X - 6) Ball.X = pl.X - 6;
    else if (dir < 0 && Ball.X > pl.X + 7) Ball.X = pl.X + 7;
}

// A kick away at a speed and angle (acKeridasiI) or towards a point (acKeridasiP).
void TSoccerEngine::KickAway(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    if (pl.Action == acKeridasiI) {
        if (pl.ActionTarget < 0) {
            pl.Action = acDribble;
            pl.ActionTarget = RandomInt(3) + 6;
            return;
        }
        Ball.Speed = pl.ActionTarget;
        Ball.Angle = FoldAngle(DegToRad(pl.ActionParam));
    } else if (!KickBall(true, false, acKeridasiP, {pl.ActionTarget, pl.ActionParam}, {Ball.X, Ball.Y})) {
        Fumble(team, player);
        return;
    }
    FReceiver.Clear();
    ClearAction(team, player);
    MarkForwardRuns(team, player);
    FLofted = false;
    FHeader.Clear();
    FLastKickTick = FTick;
    FLastKicker = {team, player};
    Touched(team, player);
    FGoalKind = 5;
    if (FSoundOn) Sound(TSoccerSound::Kick);
}

// --- Possession -------------------------------------------------------------------------------------

void TSoccerEngine::Touched(int team, int player)
{
    Ball.PostHit = false;
    TSoccerPlayer& pl = FPlayers[team][player];
    if (FHolder.team == team) {
        if (FHolder.player >= 0 && FHolder.player != player) ClearAction(team, FHolder.player);
        if (!FHeader.Is(team, player)) pl.Speed = 3;
        FHeadShot.Clear();
    } else {
        const int old = FHolder.team;
        if (old >= 0) {
            ClearAction(old, -1);
            for (TSoccerPlayer& o : FPlayers[old]) o.Passers = 0;
        }
        ClearRunFlags(-1);
        pl.Speed = 3;
        pl.Passers = 0;
        FHeadShot.Clear();
        FLofted = false;
        FHeader.Clear();
        Ball.Height = 0;
        FCornerPlay = false;
        FMovePasses = 0;
        if (old >= 0) PlaceDefence(old, -1);
    }
    ClearOffside();
    FGoalKind = 0;
    Ball.Free = false;
    FHolder = {team, player};
    UpdateBallRegion();
    pl.MarkedFoe = -1;
    FMarked.Clear();
    if (++FPassCount >= 2)
        for (TSoccerPlayer& o : FPlayers[team]) o.Passers = 0;
    if (FPassCount % 3 == 2) PlaceDefence(team, -1);
}

void TSoccerEngine::GetUp(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    pl.IsSlow = FFreeKickTick < 0;
    pl.SlowTick = FTick;
    pl.Action = acNone;
    pl.ActionWait = 0;
    pl.View = 2 * FFallDir;
    pl.X += (2 * FFallDir - 1) * 25;
    pl.Y -= 17;
    FFallen.Clear();
}

} // namespace soccer

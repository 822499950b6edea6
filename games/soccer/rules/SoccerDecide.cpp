// The decision of the player who reaches the ball: who may take it, and whether he shoots, sets up a
// team-mate's shot, passes, lofts a through ball, dashes, contests, falls or dribbles. Also the line
// men of both teams, offside and the offside trap.
#include "SoccerEngine.h"

#include <algorithm>

namespace soccer {

bool TSoccerEngine::DecideAtBall(int team)
{
    HeaderAtBall(team);
    for (int p = 1; p < 7; ++p) {
        TSoccerPlayer& pl = FPlayers[team][p];
        if (!BallInReach(team, p)) continue;
        if (KickOffPass) {
            if (team != FHolder.team) continue;
            SetAction(0, team, 0, Order[team][1] != p ? Order[team][1] : Order[team][0], acPass, p);
            return true;
        }
        if (Ball.Height == 0 && FFreeKickTick < 0 && FWinner < 0 && pl.OffsideFlag) {
            StartSetPiece(spOffside, team, p);
            return true;
        }
        if (!CanGain(team, p)) continue;
        const bool contest = GainBall(team, p);
        Choose(team, p, contest);
        return true;
    }
    return false;
}

// A header shoots once the ball reaches his head. A lofted ball that has come to rest before any
// jump ends his chance, so that the others may take the ball; a header shot whose header was
// stopped (a tackle, a contest, the keeper) is over.
void TSoccerEngine::HeaderAtBall(int team)
{
    if (!FHeader.Set()) FHeadShot.Clear();
    if (FHeader.team != team) return;
    const TSoccerPlayer& h = Player(FHeader);
    if (FShotKind < 0 && BallInReach(team, FHeader.player)) {
        SetAction(0, team, 0, 0, acShoot, FHeader.player);
    } else if (Ball.Speed == 0 && h.HeaderCount == 0) {
        FHeader.Clear();
        FLofted = false;
    }
}

bool TSoccerEngine::CanGain(int team, int p) const
{
    const TSoccerPlayer& pl = FPlayers[team][p];
    // A holder waits at a ball placed for him (his order comes from elsewhere); one that rolled to a
    // stop is free for him to play on.
    const bool waits = FHolder.Is(team, p) && Ball.Speed == 0 && !Ball.Free;
    if (pl.Action != acNone || pl.IsSlow || waits || Ball.Height > 0) return false;
    if (FHeader.Set() || FHeadShot.Set() || pl.OffsideFlag || FMarked.team == team || FTick - FLastKickTick <= 1)
        return false;
    return FReceiver.team != team || FReceiver.Is(team, p);
}

// The player takes the ball; true when an opponent touches it too and a contest is due.
bool TSoccerEngine::GainBall(int team, int p)
{
    const TSoccerPlayer& pl = FPlayers[team][p];
    FAIDecides = team == 1 || FOperation == 2 || FOperation == 3;
    FShotKind = -1;
    FShotFlying = false;
    if (FHolder.team != team) {
        FHeadShot.Clear();
        FLofted = false;
        FHeader.Clear();
        FDasher.Clear();
        ClearRunFlags(-1);
        FDashTicks = 0;
        Ball.Height = 0;
        ClearTrapFlags(-1);
        FKeeperMove = 0;
        if (FCheerOn && Sound(TSoccerSound::Kansei, true)) CheerFlag[team] = !CheerFlag[team];
        if (FLastAction == acPass && FReceiver.team == 1 - team) ++FStats[team][stPassesWon];
        FMovePasses = 0;
        FFreeKickGoal = false;
    } else if (!FHolder.Is(team, p)) {
        FLofted = false;
        FHeader.Clear();
        FHeadShot.Clear();
        Ball.Height = 0;
        FPassCount = 0;
        if (FDasher.Set()) FDasher = {team, p};
    }
    ClearOffside();
    return pl.MarkedFoe < 0 && FTouch[1 - team] != 0;
}

void TSoccerEngine::Choose(int team, int p, bool contest)
{
    TSoccerPlayer& pl = FPlayers[team][p];
    auto shoot = [&](int target, int kind) { SetAction(0, team, kind, target, acShoot, p); };
    const bool nearEnd = Ball.X - FieldRt.Left <= 80 || FieldRt.Right - Ball.X <= 80;
    if (p >= 4 && (pl.LaneFlags & 8) && (Ball.AroundRgn.Touches(FPlayers[1 - team][0].BodyRt) || nearEnd))
        return shoot(-1, RandomInt(kTuning[2] - 10) < FShotChance[team] ? 7 : 6);
    if (pl.GoalDist <= 120) return shoot(0, RandomInt(kTuning[3]) < FShotChance[team] ? 7 : 1);
    if (SetUpShooter(team, p)) return;
    if (IsShotChance(team, p) && !FCornerPlay) {
        if (pl.X < GoalAreaRt[0].Right || pl.X > GoalAreaRt[1].Left) {
            if (RandomInt(kTuning[4]) < FShotChance[team]) return shoot(-1, 7);
        } else if (pl.GoalDist < 211 || RandomInt(2) == 0) {
            return shoot(-1, 6);
        }
    }
    if (DecideShoot(team, p)) return shoot(0, 7);
    const int r = (pl.Pressure & 7) ? PressedReceiver(team, p) : -1;
    if (r < 0 && !FLofted && Possesses(team) && !BallInReach(1 - team, Order[1 - team][0]) && RandomInt(3) == 0) {
        const int runner = FindThroughRunner(team, p);
        if (runner >= 0) {
            FHeadTarget = {team, runner};
            FLofted = true;
            ClearAction(team, p);
            ClearAction(team, runner);
            return SetAction(1, team, 0, runner, acHeadPass, p);
        }
    }
    if (r >= 0) return SetAction(0, team, 0, r, acPass, p);
    const int foe = Order[1 - team][0];
    if (contest && !pl.IsSlow) return SetAction(0, team, 0, foe, acSeriai, p);
    if (CanDash(team, p)) return SetAction(0, team, 0, -1, acDash, p);
    if (OpponentInReach(team, p)) {
        if (CanWhistleFoul(team)) return SetAction(0, team, 0, foe, acKokeru, p);
        if (pl.MarkedFoe < 0) return SetAction(0, team, 0, foe, acSeriai, p);
    }
    if (pl.HeaderCount != 0) return;
    SetAction(0, team, -1, -1, acDribble, p);
    if (p == FFrontMan[team]) ClearTrapFlags(1 - team);
    else CheckOffsideTrap(1 - team);
}

// A team-mate near the goal is set up to shoot on arrival, the holder passing to him.
bool TSoccerEngine::SetUpShooter(int team, int p)
{
    const TSoccerPlayer& pl = FPlayers[team][p];
    const int rank = (pl.LaneFlags >> 8) + 2;
    for (int round = 0; round < 2; ++round) {
        const int r = PickReceiver(2, team, 0, rank + round, 6, 0, p);
        if (r < 0) continue;
        const TSoccerPlayer& rc = FPlayers[team][r];
        if (rc.GoalDist > (round == 0 ? 180 : 210)) continue;
        const bool onArrival = RandomInt(2) == 1;
        const bool far = rc.GoalDist > 120 || (round == 1 && PointDistance({pl.X, pl.Y}, {rc.X, rc.Y}) > 150);
        const int param = (onArrival ? 3 : 2) + 2 * round;
        SetAction(1, team, param, far ? -1 : 0, onArrival ? acShootMove : acShoot, r);
        SetAction(0, team, 0, r, acPass, p);
        return true;
    }
    return false;
}

// A pass out of pressure: forwards and midfielders look ahead first, then to the nearest team-mates;
// a back who has just cleared, or whose team stands back in its own half, plays the safe short pass.
int TSoccerEngine::PressedReceiver(int team, int p)
{
    const TSoccerPlayer& pl = FPlayers[team][p];
    const TTeamTactic& tac = FTactic[team];
    const bool safe = pl.Role <= rlSideBack && (FTick - FLastKickTick <= 80 ||
                                                 (tac.RndDefensePos[0] && tac.RndDefensePos[p] && pl.InOwnHalf));
    if (safe) return PickReceiver(0, team, 0, 0, 6, 1, p);
    const int ahead = PickReceiver(3, team, 0, 1, 6, 0, p);
    if (ahead >= 0 && FPlayers[team][ahead].GoalDist < pl.GoalDist) return ahead;
    return PickReceiver(1, team, 0, 0, 6, 1, p);
}

// --- Line men, offside and the trap -------------------------------------------------------------------

void TSoccerEngine::FindLineMen()
{
    for (int t = 0; t < 2; ++t) {
        const int m = Forward(t);
        int front = 1, last = 1;
        for (int p = 2; p < 7; ++p) {
            const int x = m * FPlayers[t][p].X;
            if (x > m * FPlayers[t][front].X) front = p;
            if (x < m * FPlayers[t][last].X) last = p;
        }
        FFrontMan[t] = front;
        FLastMan[t] = last;
    }
}

// The receiver of a pass stood offside when it was played: marked to run beyond the opponents' last
// man and the ball (MarkForwardRuns), and in the other team's half.
void TSoccerEngine::JudgeOffside(int team, int receiver)
{
    ClearOffside();
    TSoccerPlayer& rc = FPlayers[team][receiver];
    rc.OffsideFlag = rc.RunFlag && !rc.InOwnHalf;
}

void TSoccerEngine::ClearOffside()
{
    for (auto& side : FPlayers)
        for (TSoccerPlayer& pl : side) pl.OffsideFlag = false;
}

// A run-marked team-mate who would now be caught offside is not passed to.
bool TSoccerEngine::RunRefused(int team, int candidate, int passer) const
{
    const TSoccerPlayer& cd = FPlayers[team][candidate];
    if (cd.InOwnHalf) return false;
    const int m = Forward(team);
    const int line = FPlayers[1 - team][std::clamp(FLastMan[1 - team], 0, 6)].X;
    const int from = passer >= 0 && passer < 7 ? FPlayers[team][passer].X : Ball.X;
    const int beyond = m > 0 ? std::max(line, from) : std::min(line, from);
    return m * (cd.X - beyond) > 6;
}

void TSoccerEngine::CheckOffsideTrap(int team)
{
    if (team < 0 || team > 1 || Possesses(team) || FTrapCount[team] >= 1) return;
    if (team == 0 && FOperation != 3) return;
    const int a = 1 - team;
    const int fm = FFrontMan[a];
    if (FHolder.Is(a, fm)) return;
    const TSoccerPlayer& front = FPlayers[a][fm];
    const TSoccerPlayer& last = FPlayers[team][FLastMan[team]];
    const int ahead = Forward(a) * (front.X - last.X);
    if (ahead < FTactic[team].TrapDistance && front.LaneFlags > 255) FTrap[team] = true;
}

} // namespace soccer

// The keeper at the ball: he distributes a ball that was not shot at him (or throws a saved penalty
// the way he dived), parries a hard shot, or catches it and, after holding it a moment, passes or
// clears it.
#include "SoccerEngine.h"

#include <algorithm>

namespace soccer {

bool TSoccerEngine::KeeperAtBall(int team)
{
    if (KeeperPause[team] > 0) --KeeperPause[team];
    const TSoccerPlayer& k = FPlayers[team][0];
    const bool scoringLoop = FShotFlying && FShotType == 7 && FShotScores;
    if (scoringLoop || !k.BodyRt.Contains(Ball.X, Ball.Y) || FTick - FLastBallTick <= 1 || KeeperHold[0] > 0 ||
        KeeperHold[1] > 0 || KeeperPause[team] > 0)
        return false;
    // A shot of the other team is still aimed: its receiver is that team's keeper.
    const bool shotAtHim = FReceiver.team == 1 - team && FReceiver.player == 0;
    ClearAction(-1, -1);
    FReceiver.Clear();
    ClearRunFlags(-1);
    ClearTrapFlags(-1);
    ClearOffside();
    // The lofted ball is over, and so is its header's chance: the ball is the keeper's now.
    FLofted = false;
    FHeader.Clear();
    FHeadShot.Clear();
    FUserShot = false;
    FAIDecides = true;
    FGoalKind = 0;
    bool kicked = false;
    if (!shotAtHim || Possesses(team)) {
        KeeperDistributes(team, kicked);
    } else if (ParryMark) {
        FGoalKind = 5;
        const int deg = RandomInt(360) - 180;
        Ball.Angle = DegToRad(deg);
        Ball.Speed = 6 + RandomInt(6);
        KeeperPause[team] = 3;
        FLastKicker.Clear();
        kicked = true;
    } else {
        KeeperCatches(team, kicked);
    }
    if (kicked) {
        Ball.OutFlags = 0;
        Ball.PostHit = false;
        FLastKickTick = FTick;
        if (FSoundOn && FTick - FLastBallTick > 20) Sound(TSoccerSound::Kick);
    }
    FHolder = {team, 0};
    Ball.Free = false;
    UpdateBallRegion();
    ParryMark = false;
    CheerFlag[1 - team] = false;
    FShotFlying = false;
    SavedPenaltyDir = -2;
    FLastBallTick = FTick;
    return true;
}

void TSoccerEngine::KeeperDistributes(int team, bool& kicked)
{
    const int dir = SavedPenaltyDir;
    if (dir < -1 || dir > 1 || RandomInt(2) == 0) {
        int r = PickReceiver(0, team, 8, 0, 0, 3, 0);
        if (r < 0) r = RandomInt(3) + 1;
        SetAction(0, team, 0, r, acPass, 0);
        return;
    }
    // Throws the saved penalty the way he dived, into the other half.
    int deg;
    if (team == 1) {
        if (dir < 0) deg = 180 - RandomInt(80);
        else if (dir > 0) deg = RandomInt(80) - 180;
        else deg = RandomInt(2) == 0 ? RandomInt(40) - 140 : 140 - RandomInt(40);
    } else {
        if (dir < 0) deg = -RandomInt(80);
        else if (dir > 0) deg = RandomInt(80);
        else deg = RandomInt(2) == 0 ? -RandomInt(40) - 40 : RandomInt(40) + 40;
    }
    Ball.Angle = FoldAngle(DegToRad(deg));
    Ball.Speed = 10 + RandomInt(10);
    kicked = true;
}

void TSoccerEngine::KeeperCatches(int team, bool& kicked)
{
    FFreeKickGoal = false;
    KeeperHold[team] = kKeeperHoldTicks;
    int r = PickReceiver(0, team, 0, 0, 1, 6, 0);
    if (r >= 0 && FPlayers[team][r].BallDist > 200) {
        r = Order[team][1 + RandomInt(3)];
        if (r == 0) r = Order[team][4];
    }
    if (r >= 0) {
        SetAction(0, team, 0, r, acPass, 0);
        return;
    }
    const int deg = team == 1 ? RandomInt(120) + 120 : RandomInt(120) - 60;
    Ball.Angle = FoldAngle(DegToRad(deg));
    Ball.Speed = 8 + RandomInt(4);
    kicked = true;
}

// The keeper does not throw to a team-mate with an opponent standing at his shoulder.
bool TSoccerEngine::KeeperPassRefused(int team, int candidate) const
{
    const TRect body = FPlayers[team][candidate].HeadRt;
    for (const TSoccerPlayer& o : FPlayers[1 - team])
        if (body.Contains(o.X, o.Y)) return true;
    return false;
}

} // namespace soccer

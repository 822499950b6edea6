// Shots: the shot lanes and shot chances of a player, the aim in the goal mouth, the long loop-shot
// decision, the shot itself and the kick-out that replaces a shot with no lane open.
#include "SoccerEngine.h"
#include "MathUtil.h"

#include <algorithm>
#include <cmath>

namespace soccer {

namespace {

constexpr int kMouthHalf = 34; // half the height of the goal mouth about its aiming point

} // namespace

// --- Lanes and chances ------------------------------------------------------------------------------

bool TSoccerEngine::EvaluateShotLanes(int team, int player, bool fromHead, int kind)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    pl.LaneFlags = 0;
    if (!Possesses(team)) return fromHead;
    QPoint origin(pl.X, pl.Y);
    if (fromHead) origin.ry() -= 50;
    else if (FHolder.Is(team, player)) origin = {Ball.X, Ball.Y};
    int w = kind <= 1 ? pl.GoalDist / 20 : kind >= 4 && kind <= 6 ? pl.GoalDist / 10 : pl.GoalDist / 15;
    w = std::max(w, 2);
    const int end = 1 - team;
    const int gx = GoalPt[end].x(), g = GoalPt[end].y();
    const TPolygon lane[3] = {
        Triangle(origin, {gx, g - kMouthHalf}, {gx, g - kMouthHalf + w}),
        Triangle(origin, {gx, g - w / 2}, {gx, g + w / 2}),
        Triangle(origin, {gx, g + kMouthHalf - w}, {gx, g + kMouthHalf}),
    };
    int open = 15;
    auto block = [&](const TSoccerPlayer& o) {
        if (o.BodyRt.Contains(Ball.X, Ball.Y) || pl.BodyRt.Contains(o.X, o.Y)) return;
        for (int i = 0; i < 3; ++i)
            if ((open & (1 << i)) && lane[i].Touches(o.BodyRt)) open &= ~(1 << i);
    };
    const TSoccerPlayer* foes = FPlayers[1 - team];
    block(foes[0]);
    // From a tight angle the near post hides part of the mouth.
    const bool tight = Ball.X < GoalAreaRt[0].Right + 40 || Ball.X > GoalAreaRt[1].Left - 40;
    if (tight && (Ball.Y < GoalAreaRt[0].Top || Ball.Y >= GoalAreaRt[0].Bottom))
        for (int i = 0; i < 3; ++i)
            if (lane[i].Touches(PostRt[2 * end]) || lane[i].Touches(PostRt[2 * end + 1])) open &= ~(1 << i);
    if (!fromHead && kind != 7) {
        for (int q = 1; q < 7; ++q) block(foes[q]);
        if (Ball.OutFlags & 15) {
            open &= ~8;
        } else {
            // Lane 8: nobody between the player and a strip along the attacked goal line.
            const int line = team == 0 ? FieldRt.Right : FieldRt.Left;
            const int inner = line - 40 * Forward(team);
            TPolygon ahead;
            for (QPoint p : {origin, QPoint(inner, FieldRt.Top), QPoint(line, FieldRt.Top), QPoint(line, FieldRt.Bottom),
                             QPoint(inner, FieldRt.Bottom)})
                ahead.Pts[ahead.Count++] = p;
            for (int q = 1; q < 7; ++q)
                if (ahead.Touches(foes[q].BodyRt)) {
                    open &= ~8;
                    break;
                }
        }
    }
    int score = 0;
    if (pl.Role > rlSideBack) {
        score = ((open & 1) != 0) + ((open & 2) != 0) + ((open & 4) != 0) + ((open & 3) == 3) + ((open & 6) == 6) +
                ((open & 7) == 7) + ((open & 8) != 0);
    }
    pl.LaneFlags = quint16((score << 8) | open);
    return fromHead || IsShotChance(team, player);
}

bool TSoccerEngine::IsShotChance(int team, int player) const
{
    if (FTick - FRestartTick <= 20) return false;
    const TSoccerPlayer& pl = FPlayers[team][player];
    const int score = pl.LaneFlags & 0xFF00;
    return (score >= 1024 && pl.GoalDist < 286) || (score >= 256 && pl.GoalDist < 226);
}

int TSoccerEngine::ChooseShotAim(int team, int player)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    const int lanes = pl.LaneFlags & 7;
    const bool heading = pl.HeaderCount > 0;
    const int g = GoalPt[1 - team].y();
    int y = g, kind = 2;
    auto aim = [&](int at, int k) {
        y = at;
        kind = k;
    };
    auto upper = [&] { aim(g - kMouthHalf + RandomInt(8), 1); };
    auto lower = [&] { aim(g + kMouthHalf - RandomInt(8), 3); };
    if (RandomInt(2) == 1) {
        if (lanes & 4) lower();
        else if (!heading && (lanes & 1)) upper();
        else if (lanes & 2) aim(g + 8 - RandomInt(8), 2);
        else if (heading) aim(g + RandomInt(kMouthHalf), 3);
        else lower();
    } else {
        if (lanes & 1) upper();
        else if (!heading && (lanes & 4)) lower();
        else if (lanes & 2) aim(g + RandomInt(8) - 8, 2);
        else if (heading) aim(g - RandomInt(kMouthHalf), 1);
        else lower();
    }
    FShotAim = {GoalPt[1 - team].x(), y};
    return kind;
}

// The long loop shot over a keeper who has left his line.
bool TSoccerEngine::DecideShoot(int team, int player)
{
    if (FWinner >= 0 || player == 0 || (FTick >= FLastLoopTick && FTick - FLastLoopTick <= 30)) return false;
    if (RandomInt(kTuning[2]) >= FShotChance[team]) return false;
    int forwards = 0;
    for (int q = 4; q < 7; ++q) forwards += FPlayers[team][q].LaneFlags >> 8;
    if (forwards > 4) return false;
    const TSoccerPlayer& pl = FPlayers[team][player];
    const TSoccerPlayer& k = FPlayers[1 - team][0];
    const bool keeperOut = team == 0 ? k.X < GoalAreaRt[1].Left : k.X > GoalAreaRt[0].Right;
    const int lanes = pl.LaneFlags & 7;
    if (keeperOut && (lanes == 3 || lanes > 5)) return true;
    if (!Possesses(team) || FMovePasses < 2) return false;
    const int line = KeeperLineX[1 - team];
    if (team == 0) return line - k.X >= RandomInt(Round((line - GoalAreaRt[1].Left) * 3.5));
    return k.X - line >= RandomInt(Round((GoalAreaRt[0].Right - line) * 3.5));
}

// --- The shot ---------------------------------------------------------------------------------------

void TSoccerEngine::ThinkShoot(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    if (FFreeKickTick < 0 && pl.OffsideFlag) {
        StartSetPiece(spOffside, team, player);
        return;
    }
    EvaluateShotLanes(team, player, pl.HeaderCount > 0, pl.ActionParam);
    ChooseShotAim(team, player);
    const bool heads = FHeader.Is(team, player);
    if (heads) {
        if (RandomInt(4) < 3) FKeeperMove = RandomInt(4) < 3 ? 1 : 2;
        else FHeadShot = {team, player};
        Ball.X = pl.X - 30 * team + 15;
        Ball.Y = pl.Y - 83;
    }
    if (pl.ActionTarget == -1 && (pl.LaneFlags >> 8) == 0 && KickOut(team, player)) return;
    if (pl.ActionWait > 0) {
        --pl.ActionWait;
        return;
    }
    // Now and then a shot is placed off the mouth's centre line, towards a post.
    if (FTimeState <= tsBonus && !FTrap[1 - team] && RandomInt(40) == 0)
        FShotAim.ry() += FShotAim.y() < CentrePt.y() ? -12 : 12;
    if (!KickBall(true, pl.ActionParam == 7, acShoot, FShotAim, {Ball.X, Ball.Y})) {
        Fumble(team, player);
        return;
    }
    ShotTaken(team, player, heads);
}

void TSoccerEngine::ShotTaken(int team, int player, bool heads)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    const int param = pl.ActionParam;
    if (FKeeperMove == 0 && RandomInt(4) == 0) FKeeperMove = 6;
    ++FStats[team][stShots];
    FLastKickTick = FTick;
    FShotKind = 0;
    FShotType = param;
    FShotFlying = FShotScores = FChanceOn = false;
    // The lines come down before the loop shot is marked, so that its mark stands while it flies.
    ClearTrapFlags(-1);
    if (param == 7) {
        FShotFlying = true;
        FLoopShot[team] = true;
        FKeeperMove = 8;
        ++FStats[team][stLoopShots];
        FShotScores = RandomInt(100) < FShotChance[team];
        FLastLoopTick = FTick;
    } else {
        FLoopShot[team] = false;
    }
    FReceiver = {team, 0};
    // The shot is his team's ball, whoever touched it last; it starts a flight of its own.
    FHolder = {team, player};
    Ball.Free = Ball.PostHit = false;
    ParryMark = pl.GoalDist <= 105 && Ball.Speed >= 16 && !heads && param != 7;
    FGoalKind = FKeeperMove;
    FLastScorer.player = player;
    FLastKicker = {team, player};
    ClearAction(team, player);
    UpdateBallRegion();
    if (FSoundOn) Sound(TSoccerSound::Kick);
}

// With no lane to shoot through, the player kicks the ball into the first free space round him (zones
// in team 0's view, mirrored for team 1). False when every zone is taken: he shoots after all.
bool TSoccerEngine::KickOut(int team, int player)
{
    const int x = Forward(team);
    auto freeBox = [&](int bottom, int top, int front, int back) {
        return !OpponentInZone(team, player, true, true, bottom, top, front, back);
    };
    int speed = 5, deg;
    bool dash = false;
    if (!OpponentInZone(team, player, false, true, 70, -30, 120, 0)) {
        speed = 6;
        deg = x * 75 - 90;
    } else if (freeBox(70, 0, 20, -20)) {
        deg = freeBox(70, 0, 20, 0) ? x * 15 - 90 : team * 30 - 105;
    } else if (freeBox(50, -30, 100, 0)) {
        deg = x * 60 - 90;
        dash = true;
    } else if (freeBox(70, 0, 40, -30)) {
        deg = 90 - x * 15;
    } else if (freeBox(30, 0, 0, -20)) {
        deg = team * 60 - 120;
    } else if (freeBox(30, -50, -10, -70)) {
        speed = 6;
        deg = x * 90 + 90;
    } else {
        return false;
    }
    ClearAction(team, -1);
    if (dash) StartDash(team, player);
    TSoccerPlayer& pl = FPlayers[team][player];
    pl.Action = acKeridasiI;
    pl.ActionTarget = speed;
    pl.ActionParam = deg;
    KickAway(team, player);
    Ball.Free = true;
    return true;
}

} // namespace soccer

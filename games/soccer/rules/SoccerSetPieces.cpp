// Set pieces: the whistle for a foul or an offside, the free kick with its wall and its taker's
// choice, and the penalty kick played through the PK form in single-kick mode, with the frames that
// let a goal replay show the kick.
#include "SoccerEngine.h"
#include "MathUtil.h"

#include <algorithm>
#include <cmath>

namespace soccer {

namespace {

constexpr int kFreeKickPlace = 15; // the ball is placed on the spot at this tick
constexpr int kFreeKickWait = 45;  // from the tick after this the kick waits for the kicker alone

} // namespace

// --- The whistle --------------------------------------------------------------------------------

void TSoccerEngine::StartSetPiece(int kind, int team, int player)
{
    if (FSoundOn) Sound(TSoccerSound::Whistle);
    FPauseTick = -1;
    FShotFlying = false;
    KeeperHold[0] = KeeperHold[1] = 0;
    FFreeKickTick = 0;
    FSetPieceKind = kind;
    TSoccerPlayer& off = FPlayers[team][player];
    QPoint spot(Ball.X, Ball.Y);
    if (FHeader.Is(team, player)) spot = {off.X, off.Y};
    else if (kind == spFoul) spot = FFoulSpot;
    if (kind == spFoul) off.View = 1 - (off.View & 1);
    const int k = 1 - team;
    FSetPieceDeep = k == 0 ? spot.x() <= FSRt[team].Left : spot.x() >= FSRt[team].Right;
    const int kicker = PenaltyRt[k].Contains(spot) ? 0 : PickByRole(k, rlCentreBack, false, spot,
                                                                     FSetPieceDeep ? rlSideBack : rlForward);
    FSetPiece = {k, kicker, spot.x(), spot.y()};
    ++FStats[team][kind == spFoul ? stFouls : stOffsides];
    ClearAction(-1, -1);
    ClearOffside();
    if (Svc.UpdateCursor) Svc.UpdateCursor(1);
}

void TSoccerEngine::SortByDistance(int team, QPoint p, int (&order)[7], bool skipKeeper, bool byCell) const
{
    const int s = skipKeeper ? 1 : 0, n = 7 - s;
    int dist[7];
    for (int i = 0; i < 7; ++i) {
        order[i] = (i + s) % 7;
        const TSoccerPlayer& pl = FPlayers[team][i];
        dist[i] = PointDistance(byCell ? GridPoint(team == 1, pl.HomeCell) : QPoint(pl.X, pl.Y), p);
    }
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (dist[order[j]] < dist[order[i]]) std::swap(order[i], order[j]);
}

int TSoccerEngine::PickByRole(int team, int minRole, bool fromFar, QPoint p, int maxRole) const
{
    int order[7];
    SortByDistance(team, p, order, false, false);
    for (int i = 0; i < 7; ++i) {
        const int q = order[fromFar ? 6 - i : i];
        const int role = FPlayers[team][q].Role;
        if (role >= minRole && role <= maxRole) return q;
    }
    return order[fromFar ? 6 : 0];
}

// --- Free kick ------------------------------------------------------------------------------------

void TSoccerEngine::FreeKickStep()
{
    const int tick = ++FFreeKickTick;
    const int k = FSetPiece.team, kicker = FSetPiece.player;
    if (k < 0 || kicker < 0) {
        FFreeKickTick = -1;
        FSetPieceKind = spNone;
        FSetPiece.Clear();
        return;
    }
    FAIDecides = !(k == 0 && kicker != 0 && FOperation <= 1);
    if (tick == 1) {
        for (int t = 0; t < 2; ++t)
            for (TSoccerPlayer& pl : FPlayers[t]) pl.Speed = t == k ? 8 : 10;
        FPlayers[k][kicker].Speed = 6;
        BuildWall();
        FReceiver.Clear();
        FHeadTarget.Clear();
        ClearRunFlags(-1);
        Ball.Speed = 0;
        return;
    }
    for (int p = 0; p < 7; ++p)
        for (int t : {k, 1 - k}) MovePlayer(t, p);
    if (tick == kFreeKickPlace) {
        if (FFallen.Set()) GetUp(FFallen.team, FFallen.player);
        FChanceOn = true;
        Ball.X = FSetPiece.x;
        Ball.Y = FSetPiece.y;
        Ball.Speed = 0;
        Ball.Height = 0;
        Ball.Free = false;
        for (int t = 0; t < 2; ++t) Ball.GoalDist[t] = GoalDistance(t, Ball.X, Ball.Y);
        UpdateBallRegion();
        for (auto& side : FPlayers)
            for (TSoccerPlayer& pl : side) pl.Arrived = false;
        return;
    }
    if (tick <= kFreeKickPlace) return;
    bool allBack = true;
    for (int t = 0; t < 2; ++t)
        for (TSoccerPlayer& pl : FPlayers[t]) {
            if (pl.Arrived) pl.Speed = 3;
            if (t != k && !pl.Arrived) allBack = false;
        }
    if (FPlayers[k][kicker].Arrived && (allBack || tick > kFreeKickWait)) {
        TakeFreeKick();
        return;
    }
    if (FSRt[1 - k].Contains(FSetPiece.x, FSetPiece.y)) ShotChance(k);
}

// Three defenders stand two fifths of the way from the spot to their goal, side by side across the
// line of the kick; a place off the pitch stays empty.
void TSoccerEngine::BuildWall()
{
    std::fill(std::begin(WallPlace), std::end(WallPlace), QPoint(-1, -1));
    const int d = 1 - FSetPiece.team;
    const QPoint spot(FSetPiece.x, FSetPiece.y);
    if (!FSRt[d].Contains(spot)) return;
    const double dx = GoalPt[d].x() - spot.x(), dy = GoalPt[d].y() - spot.y();
    const double len = std::hypot(dx, dy);
    if (len < 1) return;
    const QPoint mid(spot.x() + Round(dx * 0.4), spot.y() + Round(dy * 0.4));
    const QPoint side(Round(-dy / len * 30), Round(dx / len * 30));
    const QPoint places[3] = {mid, mid + side, mid - side};
    int order[7];
    SortByDistance(d, spot, order, true, false);
    for (int i = 0; i < 3; ++i)
        if (places[i].x() > FieldRt.Left && places[i].x() < FieldRt.Right) WallPlace[order[i]] = places[i];
}

void TSoccerEngine::TakeFreeKick()
{
    const int k = FSetPiece.team, kicker = FSetPiece.player;
    const QPoint spot(FSetPiece.x, FSetPiece.y);
    TSoccerPlayer& kp = FPlayers[k][kicker];
    MarkForwardRuns(k, kicker);
    SortTeams();
    ClearAction(-1, -1);
    FHolder = {k, kicker};
    auto shoot = [&](int kind) { SetAction(0, k, kind, 0, acShoot, kicker); };
    auto pass = [&](int r) { SetAction(0, k, 0, r, acPass, kicker); };
    const bool attacking = k == 0 ? spot.x() > CentrePt.x() : spot.x() < CentrePt.x();
    if (attacking) {
        if (RandomInt(kTuning[4]) < FShotChance[k]) {
            shoot(7);
        } else if (EvaluateShotLanes(k, kicker, false, 8); (kp.LaneFlags & 7) != 0) {
            shoot(8);
        } else {
            const int r = PickReceiver(2, k, 0, 1, 0, 6, kicker);
            const bool ahead = r >= 0 && Forward(k) * (FPlayers[k][r].X - kp.X) > 0;
            if (r >= 0 && (FShotChance[k] == 0 || ahead)) pass(r);
            else shoot(7);
        }
    } else if (const int r = PickReceiver(0, k, 0, 0, 1, 6, kicker); r >= 0) {
        pass(r);
    } else if (FShotChance[k] > 0) {
        shoot(7);
    } else {
        pass(PickReceiver(1, k, 0, 0, 1, 3, kicker));
    }
    for (auto& side : FPlayers)
        for (TSoccerPlayer& pl : side) pl.Speed = 3;
    if (kicker != 0) {
        int* order = Order[k];
        int* at = std::find(order, order + 7, kicker);
        if (at != order + 7) std::rotate(order, at, at + 1);
    }
    FFreeKickTick = -1;
    FSetPieceKind = spNone;
    FSetPiece.Clear();
    FChanceOn = false;
    FFreeKickGoal = true;
    FRestartTick = FTick;
    RecordFrame(true, true);
}

// --- Penalty kick ---------------------------------------------------------------------------------

void TSoccerEngine::PenaltyKickStep()
{
    ++FPKTick;
    if (!FTackler.Set()) {
        FPKTick = -1;
        return;
    }
    if (FPKTick == 1) RecordFrame(true, false);
    else if (FPKTick == 23) PlacePenalty();
    else if (FPKTick == 24) TakePenalty();
}

// Everybody leaves the penalty area; the kicker, the keeper and the ball take their places. Late in
// a match that the defending team leads, the kicking team pushes everybody up.
void TSoccerEngine::PlacePenalty()
{
    const int d = FTackler.team, a = 1 - d;
    if (FFallen.Set()) {
        // He lay with no speed; the penalty's placing puts him back on his feet at a run.
        Player(FFallen).Speed = 3;
        GetUp(FFallen.team, FFallen.player);
    }
    const bool allUp = FClock >= 4800 && IsLeading(d);
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) {
            TSoccerPlayer& pl = FPlayers[t][p];
            pl.View = d == 1 ? 0 : 2;
            if ((t == d && p == 0) || (t == a && p == 6)) continue;
            const bool inside = d == 1 ? pl.X > PenaltyRt[1].Left : pl.X < PenaltyRt[0].Right;
            const bool pushed = t == a && (p >= 4 || (allUp && p >= 1));
            if (!inside && !pushed) continue;
            pl.X = d == 1 ? PenaltyRt[1].Left - 50 + RandomInt(30) : PenaltyRt[0].Right + 50 - RandomInt(30);
        }
    TSoccerPlayer& keeper = FPlayers[d][0];
    keeper.X = GoalPt[d].x() + 16 - 32 * d;
    keeper.Y = GoalPt[d].y() - 10;
    keeper.View = d == 1 ? 2 : 0;
    TSoccerPlayer& kicker = FPlayers[a][6];
    kicker.X = GoalPt[d].x() + 115 - 230 * d;
    kicker.Y = GoalPt[d].y();
    FHolder = {a, 6};
    if (allUp) FPlayers[a][0].X = CentrePt.x() - 30 + RandomInt(60);
    Ball.X = GoalPt[d].x() + 110 - 220 * d;
    Ball.Y = GoalPt[d].y();
    Ball.Speed = 0;
    Ball.Height = 0;
    Ball.Free = false;
    for (int t = 0; t < 2; ++t) Ball.GoalDist[t] = GoalDistance(t, Ball.X, Ball.Y);
    UpdateBallRegion();
}

void TSoccerEngine::TakePenalty()
{
    const int d = FTackler.team, a = 1 - d;
    TimerEnabled = false;
    const TPKOutcome o = PlayPenaltyKick();
    ++FStats[a][stShots];
    PenaltyFrames(o);
    TSoccerPlayer& keeper = FPlayers[d][0];
    keeper.Y += (d == 1 ? 30 : -30) * o.KeeperDir;
    FShotFlying = false;
    Ball.PostHit = false;
    if (o.Scored) {
        FGoalKind = 4;
        FLastScorer = FHolder;
        FPlayers[a][6].View = 2 * a + 1;
        Ball.X = GoalPt[d].x() - 10 + 20 * d;
        Ball.Y = GoalPt[d].y() + (2 * d - 1) * 30 * o.KickDir;
        for (auto& side : FPlayers)
            for (TSoccerPlayer& pl : side) pl.Speed = 0;
    } else {
        // The keeper holds the ball and will throw it the way he dived.
        Ball.X = keeper.X + 8 - 16 * d;
        Ball.Y = keeper.Y;
        SavedPenaltyDir = o.KeeperDir;
        FHolder = {d, 0};
        FLastBallTick = FTick;
    }
    UpdateBallRegion();
    Player(FTackler).Speed = 3;
    FTackler.Clear();
    FPKTick = -1;
    TimerEnabled = true;
}

// Nine frames for the goal replay: the kicker's run-up from 20 px behind his place, then the ball's
// flight towards the goal with the keeper's dive. The match state is left as it was.
void TSoccerEngine::PenaltyFrames(const TPKOutcome& o)
{
    const int d = FTackler.team, a = 1 - d;
    const int toGoal = d == 1 ? 1 : -1;   // the kick runs along x towards d's goal
    const int side = d == 1 ? 1 : -1;     // sideways: down for d = 1, up for d = 0
    TSoccerPlayer& kicker = FPlayers[a][6];
    TSoccerPlayer& keeper = FPlayers[d][0];
    const TSoccerPlayer kickerAt = kicker, keeperAt = keeper;
    const TBall ballAt = Ball;
    const int facing = d == 1 ? 0 : 2;
    for (int f = 0; f < 3; ++f) {
        kicker.X = kickerAt.X - toGoal * (20 - 6 * f);
        kicker.View = facing + (f & 1);
        RecordFrame(true, false);
    }
    kicker.X = kickerAt.X;
    kicker.View = facing + 1;
    Ball.Speed = 16;
    for (int f = 1; f <= 6; ++f) {
        Ball.X = ballAt.X + toGoal * 16 * f;
        Ball.Y = ballAt.Y + side * 4 * o.AimDir * f;
        keeper.Y = keeperAt.Y + side * 5 * o.KeeperDir * f;
        RecordFrame(true, f == 1);
    }
    kicker = kickerAt;
    keeper = keeperAt;
    Ball = ballAt;
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

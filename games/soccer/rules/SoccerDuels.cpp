// Players against players: the contest for the ball, the tackle and its fall with the foul that may
// follow, the dash, and the tests of opponents close by (pressure, reach, the pressed interceptor).
#include "SoccerEngine.h"

#include <algorithm>
#include <cmath>

namespace soccer {

namespace {

// After a contest starts, the marked opponent's team cannot take the ball for this many ticks.
constexpr int kMarkTicks = 10;

// The ellipse inscribed in a box meets a rectangle.
bool EllipseTouches(const TRect& box, const TRect& r)
{
    TAroundRegion e;
    e.Circle = true;
    e.Box = box;
    return e.Touches(r);
}

// A box from dx1 to dx2 px ahead of x (mirrored for team 1) and dy1 to dy2 px below y.
TRect Zone(int team, int x, int y, int dx1, int dx2, int dy1, int dy2)
{
    if (team == 1) return {x - dx2, y + dy1, x - dx1, y + dy2};
    return {x + dx1, y + dy1, x + dx2, y + dy2};
}

} // namespace

// --- Contest ----------------------------------------------------------------------------------------

// Six ticks of shielding the ball from the opponent ActionTarget; the player wins it (choice 2) with
// a chance of 1 in 5, else he pokes it away (choice 0).
void TSoccerEngine::Contest(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    FLofted = false;
    FHeader.Clear();
    if (!pl.InContest) {
        if (pl.ActionWait > 0) {
            --pl.ActionWait;
            return;
        }
        pl.ActionWait = 6;
        pl.InContest = true;
        pl.Speed = 3;
        SetSlow(team, -1, false);
        const int foe = pl.ActionTarget;
        if (foe >= 0 && foe <= 6) {
            SetSlow(1 - team, foe, true);
            pl.MarkedFoe = foe;
            FMarked = {1 - team, foe};
            FMarkedCount = kMarkTicks;
        }
    } else {
        --pl.ActionWait;
    }
    const int x = Forward(team);
    const int a = -(10 * team + 1) * 15, b = -(11 - 10 * team) * 15;
    const bool wins = pl.ActionChoice == 2;
    auto send = [&](double deg, int speed) {
        Ball.Angle = FoldAngle(DegToRad(deg));
        Ball.Speed = speed;
    };
    switch (pl.ActionWait) {
    case 6:
        pl.ActionChoice = RandomInt(5) == 0 ? 2 : 0;
        if (pl.ActionChoice == 2) {
            pl.X = Ball.X;
            pl.Y = Ball.Y;
            send(-a, 6);
        } else {
            send(b, 5);
        }
        break;
    case 4:
        if (wins) {
            send(RadToDeg(Ball.Angle) + x * 120, 5);
            pl.X = Ball.X - 3 * x;
            if (pl.MarkedFoe >= 0) FPlayers[1 - team][pl.MarkedFoe].Y += 2;
        } else {
            send(a, 5);
        }
        break;
    case 2:
        if (wins) {
            send(RadToDeg(Ball.Angle) + x * 60, 5);
            pl.X = Ball.X - 3 * x;
        } else {
            send(b, 5);
        }
        break;
    case 0: ContestOutcome(team, player); break;
    default: break;
    }
    UpdateBallRegion();
}

void TSoccerEngine::ContestOutcome(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    const int x = Forward(team);
    const int a = -(10 * team + 1) * 15;
    const bool wins = pl.ActionChoice == 2;
    int deg = 0, speed = 8;
    if (Ball.OutFlags & 1) {
        StartDash(team, player);
    } else if (Ball.OutFlags & 2) {
        deg = 180;
        StartDash(team, player);
    } else if (Ball.OutFlags & 12) {
        deg = 180 * team;
    } else if (wins) {
        deg = -(4 * team + 1) * 30;
        speed = 6;
    } else if (OpponentInZone(team, player, true, true, 100, -10, 100, -5)) {
        deg = -(2 * team + 1) * 45;
        speed = 4;
    } else {
        deg = a;
        speed = 6;
    }
    Ball.Angle = FoldAngle(DegToRad(deg));
    Ball.Speed = speed;
    if (wins && !(Ball.OutFlags & 15)) {
        pl.X = Ball.X - 3 * x;
        pl.Y = Ball.Y - 3;
    }
    const int foe = pl.MarkedFoe;
    ClearAction(team, -1);
    if (foe >= 0) {
        TSoccerPlayer& o = FPlayers[1 - team][foe];
        o.X -= x;
        o.Y -= 1;
    }
    for (TSoccerPlayer& mate : FPlayers[team]) mate.Passers = 0;
    pl.PassedFrom = -1;
    FReceiver.Clear();
    Touched(team, player);
}

// --- Tackle and fall ------------------------------------------------------------------------------

// The ball holder falls after a tackle by the opponent ActionTarget. He lies 12 ticks (18 in the
// penalty area); when the wait runs out the foul is judged.
void TSoccerEngine::Fall(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    if (!FFallen.Is(team, player)) {
        if (FSoundOn) {
            Sound(TSoccerSound::Tackle);
            LastTackleSound = FTick;
        }
        pl.ActionWait = FFoulInArea ? 10 : 4;
        FFallen = {team, player};
        FFallTick = FTick;
        FFallDir = pl.View > 1 ? 1 : 0;
        pl.Speed = 0;
        pl.View += 4;
        pl.X -= 90 * FFallDir - 45;
        pl.Y += 35;
        pl.BodyRt = {};
        const int t = std::clamp(pl.ActionTarget, 0, 6);
        FTackler = {1 - team, t};
        FPlayers[1 - team][t].Speed = 0;
        FPlayers[1 - team][t].View = 2 * FFallDir;
        ClearAction(-1, -1);
        FLofted = false;
        FHeader.Clear();
        FDasher.Clear();
        FMarked.Clear();
        FReceiver.Clear();
        FDashTicks = 0;
        Ball.Speed = 3;
        Ball.Height = 0;
        FFoulSpot = {Ball.X, Ball.Y};
        UpdateBallRegion();
        return;
    }
    --pl.ActionWait;
    if (pl.ActionWait == 0) FallDecided(team, player);
    else if (pl.ActionWait < -7) GetUp(team, player);
}

void TSoccerEngine::FallDecided(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    const int other = 1 - team;
    if (FShotKind < 0 && FFoulInArea && FTactic[team].Penalty) {
        // The tackler stays marked: his team defends the penalty kick.
        FPKTick = 0;
        ++FStats[team][stPenalties];
        ++FStats[other][stFouls];
        ClearTrapFlags(-1);
        FShotChance[0] = FShotChance[1] = 0;
        FChanceOn = false;
        if (FSoundOn) Sound(TSoccerSound::Whistle);
        return;
    }
    const bool between = pl.X >= CornerRt[0][0].Right && pl.X < CornerRt[1][0].Left;
    if (FFreeKickTick < 0 && !FFoulInArea && between && RandomInt(2) == 0) {
        StartSetPiece(spFoul, other, FTackler.team == other ? FTackler.player : 0);
    } else {
        ++FStats[other][stTackles];
        pl.Speed = 3;
        SetSlow(team, player, true);
    }
    if (FTackler.Set()) {
        TSoccerPlayer& t = Player(FTackler);
        t.Speed = 3;
        t.IsSlow = false;
    }
    FTackler.Clear();
}

bool TSoccerEngine::CanWhistleFoul(int team)
{
    if (FWinner >= 0 || !FTactic[team].Foul) return false;
    const bool quiet = FTick - FFallTick > 120 || FTick < FFallTick;
    if (!quiet || FFallen.Set() || FTackler.Set()) return false;
    FFoulInArea = PenaltyRt[1 - team].Contains(Ball.X, Ball.Y);
    return true;
}

// --- Dash and slow marks ----------------------------------------------------------------------------

void TSoccerEngine::SetSlow(int team, int player, bool on)
{
    if (!on) {
        for (TSoccerPlayer& pl : FPlayers[team]) pl.IsSlow = false;
        return;
    }
    TSoccerPlayer& pl = FPlayers[team][player];
    if (pl.ActionWait >= 1) return;
    pl.IsSlow = true;
    pl.SlowTick = FTick;
}

bool TSoccerEngine::CanDash(int team, int player) const
{
    if (FDasher.Set() || FHeader.Set() || FLofted || Ball.Height != 0 || !FTactic[team].Dash) return false;
    if (!BallInReach(team, player)) return false;
    const TSoccerPlayer& pl = FPlayers[team][player];
    const TSoccerPlayer& foe = FPlayers[1 - team][Order[1 - team][0]];
    return std::abs(foe.X - pl.X) < 40 && std::abs(foe.Y - pl.Y) < 40;
}

void TSoccerEngine::StartDash(int team, int player)
{
    FDasher = {team, player};
    FPlayers[team][player].IsSlow = false;
    FDashTicks = RandomInt(8) + 12;
}

// --- Opponents close by -----------------------------------------------------------------------------

bool TSoccerEngine::OpponentInReach(int team, int player) const
{
    const TSoccerPlayer& foe = FPlayers[1 - team][Order[1 - team][0]];
    return FPlayers[team][player].BodyRt.Inflated(-3).Contains(foe.X, foe.Y);
}

// An interceptor of the other team's pass with its holder close by (or a hard ball) can only knock
// the ball away.
bool TSoccerEngine::IsPressed(int team, int player) const
{
    if (FHolder.team != 1 - team || !FReceiver.Set() || player == 0 || FLofted) return false;
    const TSoccerPlayer& pl = FPlayers[team][player];
    const TSoccerPlayer& h = FPlayers[FHolder.team][FHolder.player];
    return PointDistance({pl.X, pl.Y}, {h.X, h.Y}) <= 100 || Ball.Speed > 19;
}

// Opponents' bodies near the player: 1 ahead, 2 above, 4 below, 8 behind (outfield only).
quint8 TSoccerEngine::PressureOf(int team, int player) const
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    const int x = pl.X, y = pl.Y;
    const TRect ahead = Zone(team, x, y, 10, 80, -40, 40);
    const TRect above = Zone(team, x, y, -30, 50, -60, team == 0 ? 10 : 5);
    const TRect below = Zone(team, x, y, -30, 50, 10, 80);
    const TRect behind = Zone(team, x, y, -60, -5, -40, 25);
    quint8 pr = 0;
    for (int q = 0; q < 7; ++q) {
        const TRect& r = FPlayers[1 - team][q].BodyRt;
        if (r.Empty()) continue;
        if (!(pr & 1) && ahead.Touches(r)) pr |= 1;
        if (!(pr & 2) && EllipseTouches(above, r)) pr |= 2;
        if (!(pr & 4) && EllipseTouches(below, r)) pr |= 4;
        if (q > 0 && !(pr & 8) && EllipseTouches(behind, r)) pr |= 8;
    }
    return pr;
}

} // namespace soccer

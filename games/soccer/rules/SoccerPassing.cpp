// Kicks, the choice of a receiver with its refusal rules, pass lanes, through runners and the shot
// chance.
#include "SoccerEngine.h"

#include <algorithm>
#include <cmath>

namespace soccer {

namespace {

double ZeroToTwoPi(double a)
{
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}

// The kick's step count for a distance: the smallest n whose weights 1 (up to 10), i (11 to 20) and
// 3i (above 20) add up to more than L.
int StepsFor(int l)
{
    int n = 0, sum = 0;
    while (sum <= l) {
        ++n;
        sum += n <= 10 ? 1 : n <= 20 ? n : 3 * n;
    }
    return n;
}

} // namespace

bool TSoccerEngine::BallInReach(int team, int player) const
{
    return FPlayers[team][player].BodyRt.Contains(Ball.X, Ball.Y);
}

bool TSoccerEngine::KickBall(bool full, bool power, int action, QPoint target, QPoint from)
{
    const double old = Ball.Angle;
    Ball.Angle = PointAngle(from, target);
    const double cone = DegToRad(action == acShoot ? 20 : 50);
    if (!FReceiver.Set() && Ball.Speed > 0 && std::fabs(ZeroToTwoPi(Ball.Angle) - ZeroToTwoPi(old)) < cone) {
        Ball.Speed = 4;
        return false;
    }
    const int l = PointDistance(from, target);
    int n = StepsFor(l);
    n += l <= 199 ? l / 20 - 10 : l <= 449 ? l / 20 - 8 : l / 20 - 6;
    const double deg = std::fabs(RadToDeg(FoldAngle(Ball.Angle)));
    if (deg >= 75 && deg <= 105) n -= 1;
    n = std::max(n, 1);
    if (action == acShoot) {
        if (power) n += 3;
        else if (l < 225) n += RandomInt(2) + (FCornerPlay ? 6 : 5);
        FShotTraceTick = FTick;
    } else {
        n += RandomInt(2) + (full ? 4 : 2);
    }
    Ball.Speed = n;
    Ball.KickStart = from;
    return true;
}

bool TSoccerEngine::OpponentInZone(int team, int player, bool box, bool mirror, int bottom, int top, int front,
                                   int back) const
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    int x1 = pl.X + back, x2 = pl.X + front;
    if (mirror && team == 1) {
        x1 = pl.X - front;
        x2 = pl.X - back;
    }
    const TRect r{std::min(x1, x2), pl.Y + std::min(top, bottom), std::max(x1, x2), pl.Y + std::max(top, bottom)};
    for (const TSoccerPlayer& o : FPlayers[1 - team])
        if (box ? r.Contains(o.X, o.Y) : EllipseContains(r, o.X, o.Y)) return true;
    return false;
}

bool TSoccerEngine::PassLaneFree(int team, int receiver) const
{
    const TSoccerPlayer& r = FPlayers[team][receiver];
    int a = 10;
    if (PenaltyRt[1 - team].Contains(Ball.X, Ball.Y) || FTick - FLastKickTick <= 80) a = 20;
    else if (r.InOwnHalf) a = 30;
    const QPoint ball(Ball.X, Ball.Y);
    const TPolygon across = Triangle(ball, {r.X - a + 3, r.Y}, {r.X + a + 3, r.Y});
    const TPolygon upright = Triangle(ball, {r.X + 3, r.Y - a}, {r.X + 3, r.Y + a});
    for (const TSoccerPlayer& o : FPlayers[1 - team])
        if (across.Touches(o.BodyRt) || upright.Touches(o.BodyRt)) return false;
    return true;
}

int TSoccerEngine::PickReceiver(int kind, int team, int exclude, int minRank, int rangeA, int rangeB, int passer)
{
    if (!FAIDecides || team < 0 || team > 1) return -1;
    rangeA = std::clamp(rangeA, 0, 6);
    rangeB = std::clamp(rangeB, 0, 6);
    const int* list = (kind == 2 || kind == 3) ? GoalOrder[team] : Order[team];
    const int lo = std::min(rangeA, rangeB), len = std::abs(rangeB - rangeA) + 1;
    const int dir = rangeA <= rangeB ? -1 : 1;
    const TSoccerPlayer* ps = passer >= 0 && passer < 7 ? &FPlayers[team][passer] : nullptr;
    const bool pressed = ps && OpponentInZone(team, passer, true, true, 30, -30, 20, 0);
    const int foeNearest = Order[1 - team][0];

    auto refused = [&](int c, bool second) {
        const TSoccerPlayer& cd = FPlayers[team][c];
        const bool back = cd.Role == rlCentreBack || cd.Role == rlSideBack;
        if (c == passer || cd.Role == rlKeeper) return true;
        if (cd.BallDist < (cd.Role >= rlMidfielder ? 45 : 75) || cd.BallDist > 300) return true;
        const int grade = cd.LaneFlags >> 8;
        if (grade < minRank && grade < 2) return true;
        if (!second && back && pressed && OpponentInZone(team, c, true, true, 30, -30, 20, 0)) return true;
        if (cd.RunFlag && (FFreeKickTick >= 0 || RunRefused(team, c, passer))) return true;
        if (ps) {
            if (!second && FTick - FLastKickTick <= 80 && ps->Role >= rlMidfielder && back) return true;
            if (FTick - FLastPassTick <= (second ? 10 : 30) && ps->PassedFrom >= 0) {
                const TSoccerPlayer& from = FPlayers[team][ps->PassedFrom];
                if (c == ps->PassedFrom || from.HeadRt.Contains(cd.X, cd.Y)) return true;
            }
            const int m = team == 0 ? 1 : -1;
            if (!second && ps->MarkedFoe == foeNearest && ps->MarkedFoe >= 0 &&
                m * FPlayers[1 - team][foeNearest].X < m * Ball.X && back && m * cd.X < m * ps->X)
                return true;
            if (ps->Role != rlKeeper ? GoalAreaRt[team].Contains(cd.X, cd.Y) : KeeperPassRefused(team, c)) return true;
            if (ps->Role >= rlSideBack && !ps->InOwnHalf && back && cd.InOwnHalf &&
                (second || (cd.BallDist > 89 && FRestartCount <= 10 &&
                            ((Ball.OutFlags & 3) == 0 || FTactic[team].Dash))))
                return true;
            if (passer == FFrontMan[team] && back) return true;
        }
        if (!PenaltyRt[team].Contains(Ball.X, Ball.Y) && PenaltyRt[team].Contains(cd.X, cd.Y)) return true;
        if (exclude != 0 && (cd.LaneFlags & exclude) == exclude) return true;
        return !PassLaneFree(team, c);
    };

    for (int i = 0; i < len; ++i) {
        const int pos = kind > 3 ? lo + RandomInt(len) : rangeB + dir * i;
        if (!refused(list[pos], false)) return list[pos];
    }
    if (kind == 1 || kind == 3)
        for (int i = 0; i < len; ++i) {
            const int pos = lo + RandomInt(len);
            if (!refused(list[pos], true)) return list[pos];
        }
    return -1;
}

bool TSoccerEngine::ThroughRunnerFits(int team, int passer, int runner) const
{
    const TSoccerPlayer& ps = FPlayers[team][passer];
    const TSoccerPlayer& rn = FPlayers[team][runner];
    const QPoint g = GoalPt[1 - team];
    const QPoint aim(g.x(), std::clamp(ps.Y, g.y() - 34, g.y() + 34));
    if (rn.Y >= GoalAreaRt[0].Bottom + 10) return false;
    if (rn.Action != acNone || rn.RunFlag) return false;
    if (rn.GoalDist >= ps.GoalDist - 25 || ps.GoalDist > 300) return false;
    const QPoint above(rn.X, rn.Y - 75);
    if (PointDistance(above, {ps.X, ps.Y}) <= 119) return false;
    return FCornerPlay || PointDistance(above, aim) < 139;
}

int TSoccerEngine::FindThroughRunner(int team, int passer) const
{
    if (FWinner >= 0 || FReceiver.Set() || passer < 0 || passer > 6) return -1;
    for (int r : {6, 5, 4})
        if (r != passer && ThroughRunnerFits(team, passer, r)) return r;
    return -1;
}

void TSoccerEngine::ClearRunFlags(int team)
{
    for (int t = 0; t < 2; ++t)
        if (team < 0 || team == t)
            for (TSoccerPlayer& pl : FPlayers[t]) pl.RunFlag = false;
}

void TSoccerEngine::MarkForwardRuns(int team, int passer)
{
    ClearRunFlags(-1);
    if (FWinner >= 0 || Ball.PostHit || KeeperHold[0] > 0 || KeeperHold[1] > 0 || passer < 0 || passer > 6) return;
    if (FFreeKickTick >= 0 && FSetPiece.team == team && FSetPiece.player == passer) return;
    const int m = team == 0 ? 1 : -1;
    const int c = FPlayers[1 - team][std::clamp(FLastMan[1 - team], 0, 6)].X;
    const int px = FPlayers[team][passer].X;
    const int line = m * px < m * c ? c : px;
    for (int q = 0; q < 7; ++q)
        if (q != passer && m * (FPlayers[team][q].X - line) > 6) FPlayers[team][q].RunFlag = true;
}

void TSoccerEngine::ShotChance(int team)
{
    const bool ownEnd = team == 0 ? Ball.X < PenaltyRt[0].Right : Ball.X > PenaltyRt[1].Left;
    if (ownEnd) {
        FShotChance[team] = 0;
        return;
    }
    if (!FChanceOn) return;
    const int d = Ball.GoalDist[team];
    int c = (600 - d) / 50 + 5;
    if (d < 400) c += (400 - d) / 50;
    if (d < 120) c += (120 - d) / 20;
    c += FTactic[1 - team].Weakness;
    const bool spotAhead = team == 0 ? FSetPiece.x > CentrePt.x() : FSetPiece.x < CentrePt.x();
    if (FFreeKickTick >= 0 && FSetPiece.team == team && FSetPiece.x >= 0 && spotAhead) c += 10 + RandomInt(15);
    if (FTimeState > tsNormal) c += 5 + RandomInt(10);
    FShotChance[team] = c;
}

} // namespace soccer

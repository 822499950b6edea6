// One tick of a player in play: the point he runs to (the ball, or a point by his role), his step,
// arrival, contact rectangles, pose, ball distance and the header jump.
#include "SoccerEngine.h"
#include "MathUtil.h"

#include <algorithm>
#include <cmath>

namespace soccer {

namespace {

int Dir(int team)
{
    return team == 0 ? 1 : -1;
}

} // namespace

void TSoccerEngine::MovePlayer(int team, int player)
{
    if (FGoalTick >= 0) {
        MoveCelebrating(team, player);
        return;
    }
    TSoccerPlayer& pl = FPlayers[team][player];
    if (FFallen.Is(team, player)) return;
    if (FTackler.Is(team, player)) {
        if (FFallen.Set()) {
            const TSoccerPlayer& f = Player(FFallen);
            pl.BallAngle = PointAngle({pl.X, pl.Y}, {f.X, f.Y});
            pl.View = std::fabs(pl.BallAngle) > kPi / 2 ? 2 : 0;
        }
        return;
    }
    QPoint target;
    const bool chasing = FFreeKickTick < 0 && Chases(team, player);
    if (FFreeKickTick >= 0) target = FreeKickTarget(team, player);
    else if (chasing) target = ChaseTarget(team, player);
    else {
        target = RoleTarget(team, player);
        target.rx() += RandomInt(10) - 5;
        target.ry() += RandomInt(10) - 5;
        // Two markers who each stand below the other would walk each other off the pitch.
        target.setY(std::clamp(int(target.y()), pl.MinY, pl.MaxY));
    }
    pl.Target = target;
    pl.Heading = PointAngle({pl.X, pl.Y}, target);
    const int oldX = pl.X, oldY = pl.Y;
    StepPlayer(team, player, true, chasing);
    const bool moved = pl.X != oldX || pl.Y != oldY;

    if (FFreeKickTick >= 0) {
        pl.Arrived = std::abs(target.x() - pl.X) <= pl.Speed && std::abs(target.y() - pl.Y) <= pl.Speed;
    } else {
        const QPoint cell = GridPoint(team == 1, Possesses(team) ? pl.CurCell : pl.HomeCell);
        pl.Arrived = PointDistance({pl.X, pl.Y}, cell) < 3 * FTactic[team].Tolerance;
    }
    if (player <= 3) {
        const quint8 bit = quint8(1u << player);
        InPlace[team] = pl.Arrived ? quint8(InPlace[team] | bit) : quint8(InPlace[team] & ~bit);
    }
    UpdateContact(team, player);
    UpdatePose(team, player, moved);
    UpdateBallDist(team, player);
    HeaderJump(team, player);
}

bool TSoccerEngine::Chases(int team, int player) const
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    if (Order[team][0] == player) return pl.Role != rlKeeper || FShotKind < 0;
    if (FReceiver.Is(team, player) && pl.Role != rlKeeper) return true;
    // After a shot the receiver is the shooting team's keeper: the defending backs chase.
    return FReceiver.team == 1 - team && FReceiver.player == 0 && player >= 1 && player <= 3;
}

QPoint TSoccerEngine::ChaseTarget(int team, int player)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    if (pl.Role == rlKeeper) return {Ball.X, Ball.Y - (pl.Arrived ? 0 : 15)};
    if (Possesses(team) || Ball.Speed < 2 || std::abs(Ball.Y - pl.Y) <= kTuning[1]) return {Ball.X, Ball.Y};
    return {Ball.X - kTuning[0] * Dir(team), Ball.Y};
}

QPoint TSoccerEngine::FreeKickTarget(int team, int player)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    if (FSetPiece.team == team && FSetPiece.player == player)
        return {FSetPiece.x - kTuning[0] * Dir(team), FSetPiece.y - (pl.Role == rlKeeper ? 15 : 0)};
    if (FSetPiece.team == team) return GridPoint(team == 1, pl.CurCell);
    if (WallPlace[player].x() >= 0) return WallPlace[player];
    return GridPoint(team == 1, pl.HomeCell);
}

QPoint TSoccerEngine::RoleTarget(int team, int player)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    const bool defending = FHolder.team == 1 - team || PenaltyRt[team].Contains(Ball.X, Ball.Y);
    QPoint p;
    switch (pl.Role) {
    case rlKeeper: return KeeperTarget(team, player);
    case rlCentreBack:
    case rlSideBack: p = BackTarget(team, player, FTactic[team].Marking, defending); break;
    case rlMidfielder: p = MidfielderTarget(team, player, defending); break;
    default: p = ForwardTarget(team, player); break;
    }
    // A raised line keeps backs and midfielders up with the opponents' front man.
    if (FTrap[team] && pl.Role != rlForward) {
        const int line = FPlayers[1 - team][std::clamp(FFrontMan[1 - team], 0, 6)].X + 35 * Dir(team);
        if (Dir(team) * pl.X < Dir(team) * line) p.setX(line);
    }
    return p;
}

QPoint TSoccerEngine::BackTarget(int team, int player, int m, bool defending)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    if (!defending) {
        QPoint cell = pl.CurCell;
        if (pl.Role == rlSideBack) {
            if (FHolder.Is(team, 1)) cell.setY(std::max(0, cell.y() - RandomInt(3)));
            else if (FHolder.Is(team, 3)) cell.setY(std::min(kRows - 1, cell.y() + RandomInt(3)));
        }
        return GridPoint(team == 1, cell);
    }
    const int homeX = GridPoint(team == 1, pl.HomeCell).x();
    if (FShotKind >= FTactic[team].Weakness) return {homeX, Ball.Y};
    if (FHeader.Set() && Ball.Height > 0) return {homeX, Player(FHeader).Y};
    return pl.Role == rlCentreBack ? CentreBackTarget(team, player, m) : SideBackTarget(team, player, m);
}

namespace {

// The point between an opponent and a goal point, by a pair of weights, kept off the goal line.
QPoint Marking(const TSoccerPlayer& foe, QPoint goal, const int w[2], int team)
{
    int x = WeightedPoint(foe.X, goal.x(), w[0], w[1]);
    const int y = WeightedPoint(foe.Y, goal.y(), w[0], w[1]);
    x = team == 0 ? std::max(x, FieldPt(1, 0).x()) : std::min(x, FieldPt(kCols - 2, 0).x());
    return {x, y};
}

// The holder stands more than 90 px beyond the team's own penalty area.
bool HolderFar(const TSoccerState& s, int team)
{
    if (!s.FHolder.Set()) return false;
    const int x = s.FPlayers[s.FHolder.team][s.FHolder.player].X;
    return team == 0 ? x > PenaltyRt[0].Right + 90 : x < PenaltyRt[1].Left - 90;
}

} // namespace

QPoint TSoccerEngine::CentreBackTarget(int team, int player, int m)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    const TTeamTactic& tac = FTactic[team];
    const int nearest = Order[team][0];
    const bool keeperHome = FPlayers[team][0].Arrived || nearest != 0;
    if (!(keeperHome && (!KeeperOffCentre[team] || (nearest != 1 && nearest != 3))))
        return GridPoint(team == 1, FPlayers[team][0].HomeCell);
    if ((tac.RndDefensePos[player] && m != player) || HolderFar(*this, team)) return GridPoint(team == 1, pl.HomeCell);
    const int foe[5] = {0, 4, 0, 5, 6};
    if (m == 2) return {Ball.X - kTuning[0] * Dir(team), Ball.Y};
    return Marking(FPlayers[1 - team][foe[std::clamp(m, 1, 4)]], GoalPt[team], tac.Weights[0], team);
}

QPoint TSoccerEngine::SideBackTarget(int team, int player, int m)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    const TTeamTactic& tac = FTactic[team];
    if ((tac.RndDefensePos[player] && m != player) || HolderFar(*this, team)) {
        const bool backNearest = Order[team][0] == 2 || FFallen.Is(team, 2);
        if (tac.Cover == player && backNearest) return GridPoint(team == 1, FPlayers[team][2].HomeCell);
        return GridPoint(team == 1, pl.HomeCell);
    }
    const QPoint g = GoalPt[team];
    if (player == 1) {
        if (m == 1) return {Ball.X - kTuning[0] * Dir(team), Ball.Y};
        return Marking(FPlayers[1 - team][4], {g.x(), m == 2 ? g.y() : g.y() - 34}, tac.Weights[1], team);
    }
    if (m == 3) return {Ball.X, Ball.Y};
    return Marking(FPlayers[1 - team][5], {g.x(), m == 2 ? g.y() : g.y() + 34}, tac.Weights[2], team);
}

QPoint TSoccerEngine::MidfielderTarget(int team, int player, bool defending)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    if (!defending) {
        if (FHolder.Is(team, 6)) {
            const TSoccerPlayer& fw = FPlayers[team][6];
            const double up = std::sin(fw.Heading);
            if ((player == 4 && fw.Y < NetRt[0].Top && up > 0) || (player == 5 && fw.Y > NetRt[0].Bottom && up < 0))
                return GridPoint(team == 1, fw.CurCell);
        }
        return GridPoint(team == 1, pl.CurCell);
    }
    const int m = FTactic[team].Marking;
    if (FTactic[team].RndDefensePos[player] || FHolder.Is(1 - team, player)) return GridPoint(team == 1, pl.HomeCell);
    const int foe = (player == 4 && m == 1) || (player == 5 && m == 3) ? 6 : player;
    const TSoccerPlayer& o = FPlayers[1 - team][foe];
    return {o.X + 20 * Dir(team), o.Y + 15};
}

QPoint TSoccerEngine::ForwardTarget(int team, int player)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    const bool attacking = (FHolder.team == team && FHolder.player > 0) ||
                           (FHolder.team == 1 - team && PenaltyRt[1 - team].Contains(Ball.X, Ball.Y));
    if (!attacking) return GridPoint(team == 1, pl.HomeCell);
    const TSoccerPlayer& m4 = FPlayers[team][4];
    const TSoccerPlayer& m5 = FPlayers[team][5];
    if (FHolder.Is(team, 4) && m4.Y > NetRt[0].Top && std::sin(m4.Heading) < 0) return GridPoint(team == 1, m4.CurCell);
    if (FHolder.Is(team, 5) && m5.Y < NetRt[0].Bottom && std::sin(m5.Heading) > 0)
        return GridPoint(team == 1, m5.CurCell);
    return GridPoint(team == 1, pl.CurCell);
}

QPoint TSoccerEngine::KeeperTarget(int team, int player)
{
    const TSoccerPlayer& pl = FPlayers[team][player];
    const int line = KeeperLineX[team];
    if (FShotKind >= FTactic[team].Weakness)
        return {line, LinearMap(Ball.X, Ball.Y, line, FShotAim.y(), FShotAim.x())};
    if (FHeader.Set() && Ball.Height > 0) {
        const TSoccerPlayer& h = Player(FHeader);
        return {line, LinearMap(Ball.X, Ball.Y, line, h.Y - 95, h.X)};
    }
    const int x = GridPoint(team == 1, pl.HomeCell).x();
    const QPoint behind(GoalPt[team].x() - 10 * Dir(team), GoalPt[team].y());
    const int lo = NetRt[0].Top - 5, hi = NetRt[0].Bottom + 5;
    const int y = std::clamp(LinearMap(Ball.X, Ball.Y, x, behind.y(), behind.x()), lo, hi);
    if (Order[team][1] == player || Order[team][2] == player)
        KeeperOffCentre[team] = y - lo <= 15 || hi - y <= 15;
    return {x, y};
}

// The step along Heading. A target within the step on both axes is reached: a player running at the
// ball steps onto it, any other stands.
void TSoccerEngine::StepPlayer(int team, int player, bool inPlay, bool chasing)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    if (inPlay && FHeader.Is(team, player) && pl.HeaderCount > 0) {
        pl.X += 12 * Dir(team);
        return;
    }
    if (inPlay && FFreeKickTick >= 0 && pl.Arrived) return;
    int s = pl.Speed + (FDasher.Is(team, player) ? 1 : 0) - (pl.IsSlow ? 1 : 0);
    if (s <= 0) return;
    if (inPlay && std::abs(pl.Target.x() - pl.X) <= s && std::abs(pl.Target.y() - pl.Y) <= s) {
        if (chasing) {
            pl.X = pl.Target.x();
            pl.Y = pl.Target.y();
        }
        return;
    }
    const QPoint p = StepPoint({pl.X, pl.Y}, pl.Heading, s);
    pl.X = p.x();
    pl.Y = p.y();
}

void TSoccerEngine::SetReachRect(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    const int x = pl.X, y = pl.Y;
    const bool foeHolds = !Possesses(team);
    if (FFallen.Is(team, player)) pl.BodyRt = {};
    else if (FHeader.Is(team, player)) pl.BodyRt = {x - 20 * team - 10, y - 85, x - 20 * team + 30, y - 60};
    else if (pl.Role == rlKeeper) pl.BodyRt = {x - 10, y - 10, x + 9, y + (FKeeperMove == 6 && foeHolds ? 18 : 16)};
    else if (FHolder.Is(team, player)) pl.BodyRt = {x - 10, y - 10, x + 9, y + 2};
    else if (FReceiver.Is(team, player)) pl.BodyRt = {x - 12, y - 12, x + 11, y + 5};
    else pl.BodyRt = {x - 10, y - 10, x + 9, y + ((FKeeperMove == 2 || FKeeperMove == 6) && foeHolds ? 5 : 2)};
    pl.HeadRt = pl.Role == rlKeeper ? TRect{x - 35, y - 50, x + 35, y + 20} : TRect{x - 35, y - 70, x + 35, y};
    pl.InOwnHalf = team == 0 ? x <= CentrePt.x() : x >= CentrePt.x();
}

void TSoccerEngine::UpdateContact(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    SetReachRect(team, player);
    const int fromY = FHeader.Is(team, player) ? pl.Y - 50 : pl.Y;
    pl.GoalDist = GoalDistance(team, pl.X, fromY);
    pl.BallAngle = PointAngle({pl.X, FHeader.Is(team, player) ? pl.Y - 50 : pl.Y - 60}, {Ball.X, Ball.Y});
    if (pl.BodyRt.Contains(Ball.X, Ball.Y)) FTouch[team] = quint8(FTouch[team] | (1u << player));
    pl.Pressure = PressureOf(team, player);
    EvaluateShotLanes(team, player, false, 8);
}

void TSoccerEngine::UpdatePose(int team, int player, bool moved)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    int frame = 0;
    const double ballDeg = std::fabs(RadToDeg(FoldAngle(Ball.Angle)));
    const bool rising = FHeader.Is(team, player) && FLastPassTick == FTick && ballDeg >= 75 && ballDeg <= 105;
    if ((FHolder.Is(team, player) && FLastKickTick == FTick) || rising) frame = 1;
    else if (moved) frame = 1 - (pl.View & 1);
    pl.View = frame + (std::fabs(pl.BallAngle) > kPi / 2 ? 2 : 0);
}

void TSoccerEngine::UpdateBallDist(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    const int fromY = FHeader.Is(team, player) ? pl.Y - 50 : pl.Y;
    pl.BallDist = PointDistance({pl.X, fromY}, {Ball.X, Ball.Y});
    if (pl.Role != rlKeeper && !Possesses(team) && pl.BallDist > 25)
        pl.BallDist += Round(25 * std::cos(pl.BallAngle - Ball.Angle));
    if (pl.IsSlow) pl.BallDist += 25;
}

void TSoccerEngine::HeaderJump(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    if (!FHeader.Is(team, player)) {
        pl.HeaderCount = 0;
        pl.CanHead = true;
        return;
    }
    if (pl.HeaderCount > 0) {
        if (--pl.HeaderCount == 0) {
            FLofted = false;
            FHeader.Clear();
            pl.Action = acNone;
            if (FHeadShot.Set()) {
                FShotKind = -1;
                pl.Speed = 3;
                FHeadShot.Clear();
            }
        }
    } else if (pl.BallDist <= 54 && pl.CanHead) {
        pl.HeaderCount = 9;
        pl.CanHead = false;
    }
}

} // namespace soccer

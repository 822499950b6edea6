// The start of a match, the time modes, the kick-off placement, the team repositioning and the
// tactic values.
#include "SoccerEngine.h"

#include <algorithm>
#include <cmath>

namespace soccer {

namespace {

// A zone of grid cells in the team's own view, both ends inclusive.
struct TZone {
    int c0, c1, r0, r1;
};

// A team repositions with at most this many draws per cell, then keeps the last one.
constexpr int kMaxCellDraws = 1000;

} // namespace

const char* SoundName(TSoccerSound s)
{
    switch (s) {
    case TSoccerSound::Opening: return "OPENING";
    case TSoccerSound::Whistle: return "WHISTLE";
    case TSoccerSound::Whistle3: return "WHISTLE3";
    case TSoccerSound::GoalPost: return "GOALPOST";
    case TSoccerSound::Tackle: return "TACKLE";
    case TSoccerSound::Kick: return "KICK";
    case TSoccerSound::Kansei: return "KANSEI";
    case TSoccerSound::Change: return "CHANGE";
    case TSoccerSound::GoalFileBgm: return "GOALFILEBGM";
    }
    return "";
}

bool TAroundRegion::Touches(const TRect& r) const
{
    if (!Circle) return Box.Touches(r);
    if (r.Empty() || Box.Empty()) return false;
    // The point of the rectangle's pixel centres nearest to the circle's centre.
    const double cx = (Box.Left + Box.Right) / 2.0, cy = (Box.Top + Box.Bottom) / 2.0;
    const double rx = (Box.Right - Box.Left) / 2.0, ry = (Box.Bottom - Box.Top) / 2.0;
    const double nx = std::clamp(cx, r.Left + 0.5, r.Right - 0.5);
    const double ny = std::clamp(cy, r.Top + 0.5, r.Bottom - 0.5);
    const double dx = (nx - cx) / rx, dy = (ny - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

TSoccerEngine::TSoccerEngine(TSoccerServices services) : Svc(std::move(services))
{
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) FPlayers[t][p].Team = quint8(t);
    Ball.X = CentrePt.x();
    Ball.Y = CentrePt.y();
}

int TSoccerEngine::RandomInt(int n)
{
    if (n <= 1 || !Svc.Random) return 0;
    return std::clamp(Svc.Random(n), 0, n - 1);
}

bool TSoccerEngine::Sound(TSoccerSound s, bool noStop)
{
    return Svc.Play ? Svc.Play(s, noStop) : true;
}

void TSoccerEngine::Draw()
{
    if (Svc.Redraw) Svc.Redraw();
}

QString TSoccerEngine::ClockText(int clock) const
{
    return QString::asprintf("%02d:%02d", clock / 60, clock % 60);
}

void TSoccerEngine::Show()
{
    FTimeMode = tmSecondHalf;
    FLastScorer = {RandomInt(2), -1};
    for (auto& team : FStats) std::fill(std::begin(team), std::end(team), 0);
    FGoalLabels.clear();
    FWinner = FFinalWinner = -1;
    FEndTime = 5400;
    FAddedMinutes = 0;
    FTimeState = tsNormal;
    if (FSoundOn) Sound(TSoccerSound::Opening);
    FOpening = true;
    FOpeningDrawn = false;
    FClockStarted = false;
    FFinalWhistle = false;
    MatchOver = false;
    ModalResult = 0;
    ResetKickOff();
    ApplyTimeMode(FTimeMode);
    TimerEnabled = true;
    Draw();
}

bool TSoccerEngine::ApplyTimeMode(int item)
{
    if (!FOpening || item < tmFirstHalf || item > tmPastReplay) return false;
    switch (item) {
    case tmFirstHalf: FClock = 0; FAddedMinutes = 0; FTimeState = tsNormal; break;
    case tmSecondHalf: FClock = 2700; FAddedMinutes = 0; FTimeState = tsNormal; break;
    case tmSuddenDeath: FClock = 5400; FAddedMinutes = 1; FTimeState = tsSuddenDeath; break;
    default: break;
    }
    FEndTime = 5400;
    FTimeMode = item;
    return true;
}

void TSoccerEngine::ResetKickOff()
{
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) {
            FPlayers[t][p] = TSoccerPlayer{};
            FPlayers[t][p].Team = quint8(t);
        }
    const int kicking = FLastScorer.team == 0 ? 1 : 0;
    FHolder = {kicking, 6};
    FLastKicker = FHolder;

    Ball = TBall{};
    Ball.X = CentrePt.x();
    Ball.Y = CentrePt.y();
    UpdateBallRegion();
    for (int t = 0; t < 2; ++t) Ball.GoalDist[t] = GoalDistance(t, Ball.X, Ball.Y);

    for (int t = 0; t < 2; ++t) {
        FTactic[t] = TTeamTactic{};
        FShotChance[t] = 0;
        CheerFlag[t] = ButtonHover[t] = false;
        FAttackSide = RandomInt(2);
        RandomInt(2); // the keeper's reaction, which no play asks for: drawn so later draws keep their place
        FTrap[t] = FLoopShot[t] = BlockFlag[t] = KeeperOffCentre[t] = false;
        FTrapCount[t] = KeeperHold[t] = KeeperPause[t] = NetAnim[t] = 0;
        FTouch[t] = 0;
    }

    FTick = 0;
    FClock = FGoalTime;
    KickOffPass = true;
    if (Svc.UpdateCursor) Svc.UpdateCursor(-1);
    FPauseTick = FGoalTick = FPKTick = FFreeKickTick = -1;
    FSetPieceKind = spNone;
    FSetPiece.Clear();
    for (TTeamPt* m : {&FTackler, &FFallen, &FMarked, &FReceiver, &FHeader, &FHeadTarget, &FHeadShot, &FDasher})
        m->Clear();
    FLofted = FShotFlying = FShotScores = FAskPending = FFoulInArea = ParryMark = false;
    FCornerPlay = FCornerPlayPrev = false;
    FShotKind = -1;
    FDashTicks = FMarkedCount = FPassCount = FRestartCount = FLastKickTick = FLastPassTick = FLastBallTick = 0;
    SavedPenaltyDir = -2;
    std::fill(std::begin(WallPlace), std::end(WallPlace), QPoint(-1, -1));
    InPlace[0] = InPlace[1] = 0;
    FShotTraceTick = -100;
    FFallTick = FLastLoopTick = FRestartTick = -1000;
    FMovePasses = 0;
    LastTackleSound = -1000;
    FAIDecides = true;
    FControlled = -1;
    FLastScorer.Clear();
    FGoalKind = 0;
    FFreeKickGoal = false;
    FChanceOn = true;
    ResetOperationState();
    if (Svc.ResetOperation) Svc.ResetOperation();
    if (Svc.UpdateCursor) Svc.UpdateCursor(FHolder.team);

    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) PlaceKickOffPlayer(t, p, kicking);
    KeeperLineX[0] = FieldPt(0, 6).x();
    KeeperLineX[1] = FieldPt(13, 6).x();

    TSoccerPlayer& kicker = Player(FHolder);
    kicker.X = Ball.X + (kicking == 0 ? -15 : 15);
    kicker.Y = Ball.Y - 10;
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) SetReachRect(t, p);

    FRingIndex = FReplayStart = FReplayEnd = FReplayFrames = FRingRecorded = FRingCount = 0;
    FReplayPause = -1;
    FReplaying = false;
    PlaceDefence(0, 4);
    PlaceDefence(1, 4);
    SortTeams();
    TimerInterval = 107;
}

void TSoccerEngine::PlaceKickOffPlayer(int t, int p, int kicking)
{
    TSoccerPlayer& pl = FPlayers[t][p];
    pl.Role = quint8(kPlayerRole[p]);
    const QPoint cell = kKickOffCell[p];
    int col = cell.x();
    if (t == kicking && (p == 4 || p == 5)) ++col; // the kicking team's midfielders stand forward
    pl.X = FieldPt(t == 0 ? col : kCols - 1 - col, cell.y()).x();
    int row = cell.y();
    const int keepsRow = FAttackSide == 0 ? 5 : 4;
    if (p == 4 && !(t == kicking && keepsRow == 4)) row -= 1;
    if (p == 5 && !(t == kicking && keepsRow == 5)) row += 1;
    pl.Y = FieldPt(cell.x(), row).y();
    pl.HomeCell = pl.CurCell = kHomeCell[p];
    pl.AttackCell = kAttackCell[p];
    pl.Target = GridPoint(t == 1, pl.HomeCell);
    pl.Heading = PointAngle({pl.X, pl.Y}, pl.Target);
    const QPoint ball(Ball.X, Ball.Y);
    pl.BallDist = PointDistance({pl.X, pl.Y}, ball);
    pl.GoalDist = GoalDistance(t, pl.X, pl.Y);
    pl.BallAngle = PointAngle({pl.X, pl.Y - 60}, ball);
    pl.View = Ball.X < pl.X ? 2 : 0;
    pl.Speed = 3;
    pl.InOwnHalf = t == 0 ? pl.X <= CentrePt.x() : pl.X >= CentrePt.x();
}

void TSoccerEngine::UpdateBallRegion()
{
    TAroundRegion& r = Ball.AroundRgn;
    const int x = Ball.X, y = Ball.Y;
    if (Ball.Speed == 0) {
        r.Circle = true;
        r.Box = {x - 50, y - 50, x + 50, y + 50};
        return;
    }
    r.Circle = false;
    const double a = FoldAngle(Ball.Angle);
    if (a >= -kPi / 2 && a <= kPi / 2) r.Box = {x - 10, y - 40, x + 70, y + 40};
    else r.Box = {x - 70, y - 40, x + 10, y + 40};
}

int TSoccerEngine::GoalDistance(int team, int x, int y) const
{
    return PointDistance({x, y}, GoalPt[team == 0 ? 1 : 0]);
}

bool TSoccerEngine::IsTrailing(int team) const
{
    return FStats[team][stGoals] < FStats[1 - team][stGoals];
}

bool TSoccerEngine::IsLeading(int team) const
{
    return FStats[1 - team][stGoals] < FStats[team][stGoals];
}

void TSoccerEngine::DrawTactics()
{
    static constexpr int kTolerance[3] = {6, 8, 10};
    for (TTeamTactic& tac : FTactic) {
        tac.TrapDistance = 35 + 35 * RandomInt(2);
        tac.Tolerance = kTolerance[RandomInt(3)];
        tac.Dash = RandomInt(4) == 0;
        tac.Foul = RandomInt(2) == 0;
        tac.Penalty = RandomInt(2) == 0;
        RandomInt(2); // the keeper's reaction, which no play asks for: drawn so later draws keep their place
    }
    FAttackSide = RandomInt(2);
}

bool TSoccerEngine::CellTaken(int team, int player, int slot) const
{
    auto cellOf = [&](int t, int p) {
        const TSoccerPlayer& pl = FPlayers[t][p];
        return slot == 0 ? pl.HomeCell : pl.AttackCell;
    };
    const QPoint c = cellOf(team, player);
    for (int q = 0; q < player; ++q) {
        if (cellOf(team, q) == c) return true;
        if (team == 1) {
            const QPoint o = cellOf(0, q);
            if (QPoint(kCols - 1 - o.x(), o.y()) == c) return true;
        }
    }
    return false;
}

// Draws the player's cell in the zone (row first, then column) until no earlier player uses it.
void TSoccerEngine::ZoneCell(int team, int player, int slot, const TRect& z)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    QPoint& cell = slot == 0 ? pl.HomeCell : pl.AttackCell;
    for (int i = 0; i < kMaxCellDraws; ++i) {
        const int row = z.Top + RandomInt(z.Bottom - z.Top + 1);
        const int col = z.Left + RandomInt(z.Right - z.Left + 1);
        cell = {col, row};
        if (!CellTaken(team, player, slot)) return;
    }
}

void TSoccerEngine::DrawCells(int team, int kind)
{
    const bool firstSet = RandomInt(2) == 0;
    TZone a[3], d[3];
    int m = 6, wide = 3, inner = 1;
    if (firstSet) {
        a[0] = {9, 12, 1, 3}, a[1] = {9, 12, 4, 8}, a[2] = {9, 12, 9, 11};
        if (Ball.Y < CentrePt.y() - 100) m = 5;
        else if (Ball.Y > CentrePt.y() + 100) m = 7;
        wide = 2, inner = 2;
    } else {
        a[0] = {8, 10, 2, 4}, a[1] = {11, 12, 5, 7}, a[2] = {8, 10, 8, 10};
    }
    d[0] = {1, wide, m - 2, m - 1}, d[1] = {inner, 3, m, m}, d[2] = {1, wide, m + 1, m + 2};
    if (FCornerPlay) {
        const bool above = Ball.Y < CentrePt.y();
        if (Possesses(team)) {
            if (above) a[0] = {7, 9, 4, 5}, a[1] = {10, 11, 4, 5}, a[2] = {11, 12, 6, 7};
            else a[0] = {11, 12, 5, 6}, a[1] = {10, 11, 7, 8}, a[2] = {7, 9, 7, 8};
        } else {
            if (above) d[0] = {4, 6, 4, 5}, d[1] = {1, 3, 4, 5}, d[2] = {1, 3, 6, 7};
            else d[0] = {1, 3, 6, 7}, d[1] = {1, 3, 8, 9}, d[2] = {4, 6, 8, 9};
        }
    }
    auto zone = [](const TZone& z) { return TRect{z.c0, z.r0, z.c1, z.r1}; };

    TSoccerPlayer& keeper = FPlayers[team][0];
    keeper.HomeCell = {0, 6};
    const bool stays = RandomInt(2) > 0 || kind == 4;
    keeper.AttackCell = {stays ? 0 : RandomInt(2), 6};

    // Attack cells, then home cells; the backs draw column first, the zones row first.
    const TZone backAttack[3] = {{4, 6, 2, 4}, {4, 6, 5, 7}, {4, 6, 8, 10}};
    for (int p = 1; p <= 3; ++p) {
        const TZone& z = backAttack[p - 1];
        for (int i = 0; i < kMaxCellDraws; ++i) {
            const int col = z.c0 + RandomInt(z.c1 - z.c0 + 1);
            const int row = z.r0 + RandomInt(z.r1 - z.r0 + 1);
            FPlayers[team][p].AttackCell = {col, row};
            if (!CellTaken(team, p, 1)) break;
        }
    }
    ZoneCell(team, 4, 1, zone(a[0]));
    ZoneCell(team, 5, 1, zone(a[2]));
    ZoneCell(team, 6, 1, zone(a[1]));
    for (int p = 1; p <= 3; ++p) ZoneCell(team, p, 0, zone(d[p - 1]));
    const TZone frontHome[3] = {{2, 4, 3, 4}, {2, 4, 8, 9}, {2, 4, 5, 7}}; // players 4, 5, 6
    for (int p = 4; p <= 6; ++p) {
        const TZone& z = frontHome[p - 4];
        for (int i = 0; i < kMaxCellDraws; ++i) {
            const int col = z.c0 + RandomInt(z.c1 - z.c0 + 1);
            const int row = z.r0 + RandomInt(z.r1 - z.r0 + 1);
            FPlayers[team][p].HomeCell = {col, row};
            if (!CellTaken(team, p, 0)) break;
        }
    }
}

void TSoccerEngine::PlaceDefence(int team, int kind)
{
    if (team < 0 || team > 1 || FTrap[team] || FShotKind >= 0) return;
    DrawCells(team, kind);
    // The cell a player takes while his team holds the ball is his new attack cell.
    for (TSoccerPlayer& pl : FPlayers[team]) pl.CurCell = pl.AttackCell;

    TTeamTactic& tac = FTactic[team];
    tac.Weakness = RandomInt(6) + 1;
    tac.RndDefensePos[0] = Possesses(team) && RandomInt(4) > 0;
    const bool mostlyStay = kind != 2 && kind != 3 && RandomInt(4) > 0;
    for (int p = 1; p <= 6; ++p) {
        const bool back = p <= 3;
        if (kind == 2) tac.RndDefensePos[p] = false;
        else if (kind == 3) tac.RndDefensePos[p] = true;
        else if (mostlyStay) tac.RndDefensePos[p] = back ? RandomInt(3) == 0 : RandomInt(5) == 0;
        else tac.RndDefensePos[p] = back ? RandomInt(3) > 0 : RandomInt(5) > 0;
    }
    for (auto& w : tac.Weights) {
        if (kind == 5) {
            w[0] = RandomInt(3) + 1;
            w[1] = RandomInt(2) + 1;
        } else {
            w[0] = RandomInt(2) + 1;
            w[1] = 1;
        }
    }
    tac.Cover = Ball.Y < CentrePt.y() ? 3 : 1;
    tac.Marking = RandomInt(4) + 1;
}

} // namespace soccer

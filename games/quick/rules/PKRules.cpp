#include "PKRules.h"

namespace {

struct Zone {
    int left, top, right, bottom, dir;
};
// Right and bottom edges are outside, as a point test on a rectangle has them.
constexpr Zone kZones[3] = {{106, 193, 188, 303, -1}, {189, 193, 272, 303, 0}, {273, 193, 355, 303, +1}};

} // namespace

int TPKMatch::ZoneAt(int x, int y, bool* inside)
{
    for (const Zone& z : kZones)
        if (x >= z.left && x < z.right && y >= z.top && y < z.bottom) {
            if (inside) *inside = true;
            return z.dir;
        }
    if (inside) *inside = false;
    return 0;
}

bool TPKMatch::Decided(int k, int c, int d)
{
    if (k < 10) {
        const int e = 4 - k / 2; // kicks that side 0 still has
        return d - c > e || c - d > e + (k + 1) % 2;
    }
    // Sudden death: only a pair with different results decides.
    return k % 2 == 1 && c != d;
}

int TPKMatch::Sum(int side) const
{
    int s = 0;
    for (int v : Marks[side]) s += v;
    return s;
}

void TPKMatch::Start(int myPlayers, int aitePlayers)
{
    Players[0] = std::max(1, myPlayers);
    Players[1] = std::max(1, aitePlayers);
    Position[0] = Position[1] = 0;
    KickCount = 0;
    Result = 0;
    Finished = false;
    LastGoal = false;
    Opening = !FSoccerMode;
    SetUpKick();
}

void TPKMatch::placeForKick(bool drawFrame)
{
    Kicker.side = FKickSide;
    Kicker.player = Position[FKickSide];
    Keeper.side = 1 - FKickSide;
    Keeper.player = 0; // the first of each shuffled order keeps goal for the whole shoot-out
    if (Opening) {
        Kicker.pos = QPoint(145, 320);
        Kicker.frame = 0;
        Kicker.mirrored = false;
        Keeper.pos = QPoint(245, 320);
        Keeper.frame = 0;
        Keeper.mirrored = true;
    } else if (FKickSide == 0) {
        Kicker.pos = QPoint(115, 390);
        Kicker.frame = drawFrame ? random(2) : 0;
        Kicker.mirrored = false;
        Keeper.pos = QPoint(195, 245);
        Keeper.frame = 0;
        Keeper.mirrored = true;
    } else {
        Kicker.pos = QPoint(255, 390);
        Kicker.frame = drawFrame ? random(2) : 0;
        Kicker.mirrored = true;
        Keeper.pos = QPoint(195, 245);
        Keeper.frame = 0;
        Keeper.mirrored = false;
    }
    Ball = QPoint(215, 410);
    BallFrame = 0;
    Shadow = Ball;
    PrevBall = Ball;
}

void TPKMatch::SetUpKick()
{
    if (DropPendingInput) DropPendingInput();
    FKickDir = FAimDir = FKeeperDir = 0;
    HighlightTicks = 0;
    Step = 0;
    RunUp = Flying = false;
    AfterKick = -1;
    Fire = 0;
    AsideJump = random(2);
    UserChose = false;
    if (KickCount % 10 == 0) {
        for (auto& side : Marks)
            for (int& m : side) m = 0;
        MarkCount[0] = MarkCount[1] = 0;
    }
    placeForKick(true);
    const int d = random(3);
    FKickDir = FAimDir = d - 1;
    FKeeperDir = random(3) - 1;
    if (RefreshHover) RefreshHover();
}

void TPKMatch::NextPlayerIndex()
{
    const int side = KickCount % 2;
    if (Players[side] == 1) Position[side] = 0;
    else Position[side] = (Position[side] + 1) % Players[side];
}

bool TPKMatch::ChooseDirection(int dir)
{
    if (Flying || Finished) return false;
    if (FKickSide == 1) FKeeperDir = dir;
    else FKickDir = dir;
    if (FKickSide == FMySide) FAimDir = FKickDir;
    HighlightZone = dir;
    HighlightTicks = 5;
    UserChose = true;
    return true;
}

void TPKMatch::StepKick()
{
    if (Opening) {
        if (++Step < kOpeningTicks) return;
        Opening = false;
        Step = 0;
        NextPlayerIndex();
        // The players of the opening take their places for the first kick; the computer's choices
        // drawn at the set-up stand.
        placeForKick(false);
        if (Sleep) Sleep(200);
        return;
    }
    if (!RunUp && !Flying) {
        Kicker.frame = 1 - Kicker.frame;
        Ball = QPoint(215, 410);
        if (++Step > kStandTicks) RunUp = true;
        return;
    }
    if (RunUp) {
        const bool side0 = FKickSide == 0;
        Kicker.pos += side0 ? QPoint(4, -2) : QPoint(-4, -2);
        Kicker.frame = 1 - Kicker.frame;
        if (side0 ? Kicker.pos.x() >= 165 : Kicker.pos.x() <= 214) {
            RunUp = false;
            Flying = true;
            // One kick without a choice marks the whole game as auto-played.
            if (ManualPlay && SetManualPlay && ManualPlay()) SetManualPlay(UserChose);
            if (FKickDir == FKeeperDir && random(10) == 0) Fire = 1;
            sound(TPKSound::Kick);
            if (RefreshHover) RefreshHover();
        }
        return;
    }
    // Flight.
    Keeper.pos.rx() += FKeeperDir * 9;
    Keeper.frame = 1 - Keeper.frame;
    if (FKeeperDir > 0) Keeper.mirrored = false;
    else if (FKeeperDir < 0) Keeper.mirrored = true;
    if (Fire == 2) {
        Keeper.frame = 0;
        Keeper.mirrored = FKeeperDir > 0 ? true : FKeeperDir < 0 ? false : !Keeper.mirrored;
    }
    PrevBall = Ball;
    if (Fire == 0 || Fire == 4 || Ball.y() >= 270) {
        Ball.rx() += FKickDir * 9;
    } else {
        if (Fire == 1) {
            Fire = 2;
            sound(TPKSound::Kick);
        } else if (Fire == 2) {
            Fire = 3;
        }
        // The ball swerves back away from where the keeper went.
        if (FKickDir != 0) Ball.rx() -= FKickDir * 18;
        else Ball.rx() += FKickSide == 0 ? -18 : 18;
        if (Ball.y() < 250) {
            Fire = 4;
            if (FKeeperDir != 0) FKickDir = 0;
            else FKickDir = FKickSide == 0 ? -1 : 1;
        }
    }
    Ball.ry() -= 12;
    BallFrame = 1 - BallFrame;
    Shadow.setX(Ball.x());
    Shadow.ry() -= 10;
}

void TPKMatch::ResolveKick()
{
    // The ball has reached the goal once the place it comes to rest at (where it was before this
    // tick's move) lies in it.
    if (!Flying || PrevBall.y() >= 270 || (Fire >= 1 && Fire <= 3)) return;
    Flying = false;
    sound(TPKSound::Tackle);
    Ball = PrevBall;
    const bool goal = FKickDir != FKeeperDir;
    LastGoal = goal;
    const int side = FKickSide;
    const int index = side == 0 ? (KickCount / 2) % 5 : ((KickCount - 1) / 2) % 5;
    Marks[side][index] = goal ? 1 : 0;
    MarkCount[side] = std::min(5, std::max(MarkCount[side], index + 1));
    if (goal && !FSoccerMode) sound(TPKSound::Cheer);
    Kicker.frame = 0;
    const int c = Sum(0), d = Sum(1);
    if (FSoccerMode) {
        Result = Sum(FMySide) > Sum(1 - FMySide) ? 2 : 1;
        if (Sleep) Sleep(1000);
        AfterKick = 50;
        return;
    }
    if (Decided(KickCount, c, d)) {
        if (!goal) sound(TPKSound::Cheer);
        Result = ((c > d && FMySide == 0) || (d > c && FMySide == 1)) ? 2 : 1;
    }
    AfterKick = 0;
    ++KickCount;
    NextPlayerIndex();
}

bool TPKMatch::TickRules()
{
    if (Finished) return false;
    if (AfterKick == -1) {
        StepKick();
        ResolveKick();
        return false;
    }
    if (AfterKick > (LastGoal ? 40 : 25)) {
        if (Result == 0) {
            FKickSide = 1 - FKickSide;
            SetUpKick();
        } else {
            Finished = true;
            return true;
        }
    }
    return false;
}

void TPKMatch::AfterDraw()
{
    if (!FSoccerMode && AfterKick >= 0) ++AfterKick;
}

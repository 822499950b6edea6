// The user's operation of his team (team 0): clicks on the scene become shots, passes, dribbles and
// the raised defence line; the pointer lights the buttons of his side and the choices of a question;
// the number keys click where the mouse would.
#include "SoccerEngine.h"

#include <algorithm>

namespace soccer {

namespace {

const TRect& LoopButton() { return OperationRt[1][0]; }
const TRect& DefenceButton() { return OperationRt[1][1]; }

} // namespace

int TSoccerEngine::UserPlayerAt(QPoint p) const
{
    // The players are drawn from the top of the pitch down: the lowest one lies on top.
    int order[6] = {1, 2, 3, 4, 5, 6};
    std::stable_sort(std::begin(order), std::end(order),
                     [this](int a, int b) { return FPlayers[0][a].Y > FPlayers[0][b].Y; });
    for (int q : order)
        if (FPlayers[0][q].HeadRt.Contains(p)) return q;
    return -1;
}

void TSoccerEngine::UserClick(QPoint p)
{
    if (FTimeMode == tmPastReplay) return;
    if (!(FOperation == 0 || FOperation == 1 || (FOperation == 2 && FAskPending))) return;
    FUserShot = false;
    if (KickOffPass || FReplaying || FOpening) return;
    if (DefenceButton().Contains(p)) {
        FTrap[0] = !FTrap[0];
        return;
    }
    if (FAIDecides) return;
    const bool freeKick = FFreeKickTick >= 0 && FSetPiece.team == 0 && FSetPiece.player >= 0;
    if (freeKick) FControlled = FSetPiece.player;
    else if (FControlled < 0) FControlled = Order[0][0];

    const bool loop = FLoopHover || LoopButton().Contains(p);
    if (GoalRt[1].Contains(p) || loop) {
        const int kind = GoalRt[1].Contains(p) ? 6 : 7;
        if (kind == 7) FLoopShot[0] = true;
        FUserShot = true;
        FClickStreak = 0;
        if (!freeKick) {
            SetAction(2, 0, kind, 0, acShoot, FControlled);
        } else {
            const int kicker = FSetPiece.player;
            ClearAction(0, -1);
            SetAction(2, 0, kind, 0, acShoot, kicker);
            FFreeKickTick = 46;
        }
        ClearQuestion();
        return;
    }

    const int b = UserPlayerAt(p);
    if (b < 0) return;
    if (b == FControlled) {
        FLofted = false;
        FHeadTarget.Clear();
        SetAction(2, 0, -1, -1, acDribble, b);
        FClickStreak = FClickedPlayer == b ? FClickStreak + 1 : 1;
        FClickedPlayer = b;
    } else {
        if (freeKick) {
            SetAction(2, 0, 0, b, acPass, FSetPiece.player);
            FFreeKickTick = 46;
        } else if (!(FLofted && Possesses(0))) {
            SetAction(2, 0, 0, b, acPass, FControlled);
            FControlled = b;
        } else {
            FHeadTarget = {0, b};
            SetAction(2, 0, 0, b, acHeadPass, FControlled);
        }
        FClickedPlayer = b;
        FClickStreak = 0;
    }
    ClearQuestion();
}

void TSoccerEngine::UserHover(QPoint p)
{
    FPointer = p;
    FDefenceHoverLast = FDefenceHover;
    FLoopHover = FDefenceHover = false;
    FHoverChoice = -1;
    if (FTimeMode == tmPastReplay || FFinalWhistle || KickOffPass || FReplaying || FOperation == 3) {
        ButtonHover[0] = ButtonHover[1] = false;
        return;
    }
    FLoopHover = LoopButton().Contains(p);
    FDefenceHover = DefenceButton().Contains(p);
    // Over the defence button the pointer speaks for the team without the ball.
    ButtonHover[0] = ButtonHover[1] = FDefenceHover;
    if (FDefenceHover != FDefenceHoverLast && FHolder.team >= 0 && Svc.UpdateCursor)
        Svc.UpdateCursor(FDefenceHover ? 1 - FHolder.team : FHolder.team);
    if (FOperation == 2 && FAskPending) {
        if (FLoopHover) FHoverChoice = 7;
        else if (GoalRt[1].Contains(p)) FHoverChoice = 0;
        else FHoverChoice = UserPlayerAt(p);
    }
}

bool TSoccerEngine::CursorForbidden(int hot) const
{
    if (hot < 0) return false;
    return hot != 0 || !(FOperation == 0 || (FOperation == 2 && FAskPending));
}

void TSoccerEngine::ResetOperationState()
{
    FUserShot = false;
    FLoopHover = FDefenceHover = FDefenceHoverLast = false;
    ButtonHover[0] = ButtonHover[1] = false;
    FClickedPlayer = -1;
    FClickStreak = 0;
    ClearQuestion();
}

bool TSoccerEngine::KeyClickPoint(int digit, QPoint& p) const
{
    if (FTimeMode == tmPastReplay || FOpening) return false;
    if (digit >= 1 && digit <= 6) {
        if (FOperation > 2) return false;
        const TSoccerPlayer& pl = FPlayers[0][digit];
        p = {pl.X, pl.Y - 15};
        return true;
    }
    if (digit == 0) {
        const TRect& r = FHolder.team == 1 ? DefenceButton() : GoalRt[1];
        p = {r.Left, r.Top};
        return true;
    }
    if (digit == 7 && Possesses(0)) {
        p = {LoopButton().Left, LoopButton().Top};
        return true;
    }
    return false;
}

} // namespace soccer

// The timer tick: the opening, the dispatch to replays, celebrations and set pieces, and the play
// tick with its fixed order of steps.
#include "SoccerEngine.h"

#include <algorithm>
#include <cmath>

namespace soccer {

void TSoccerEngine::Tick()
{
    if (MatchOver) return;
    if (FOpening) {
        if (!OpeningTick() || FTimeMode == tmPastReplay) return;
    } else if (FTimeMode == tmPastReplay) {
        PastReplayTick();
        return;
    }
    ++FTick;
    if (FReplaying) {
        GoalReplayTick();
        return;
    }
    if (FGoalTick >= 0) {
        CelebrationTick();
        return;
    }
    if (FPKTick >= 0) {
        PenaltyKickStep();
    } else if (FPauseTick >= 0) {
        if (++FPauseTick >= kTuning[5]) FPauseTick = -1;
    } else if (FFreeKickTick >= 0) {
        FreeKickStep();
        RecordFrame(true, false);
    } else {
        // While the user is asked to choose a pass or a shot the clock stands still.
        if (!FAskPending) PlayTick();
        RecordFrame(true, false);
    }
    EndOfTick();
}

// False while the opening goes on (the tick ends there).
bool TSoccerEngine::OpeningTick()
{
    const bool held = Svc.OpeningHeld && Svc.OpeningHeld();
    if (FTick < FResumeTick - 10 || held) {
        ++FTick;
        return false;
    }
    if (!FOpeningDrawn) {
        FOpeningDrawn = true;
        if (FTimeMode != tmPastReplay) Draw();
    }
    if (Svc.Sleep) Svc.Sleep(1000);
    // The first whistle waits for the opening jingle to end.
    if (FTimeMode != tmPastReplay && FSoundOn && !Sound(TSoccerSound::Whistle, true)) return false;
    FOpening = false;
    if (Svc.ManualPlay && Svc.SetManualPlay && Svc.ManualPlay()) Svc.SetManualPlay(FOperation != 2 && FOperation != 3);
    if (Svc.SetOptionIndex) Svc.SetOptionIndex(FTimeMode);
    if (Svc.OpeningEnded) Svc.OpeningEnded();
    FResumeTick = 20;
    FTick = 5;
    if (FTimeMode == tmPastReplay) PastReplayStart();
    return true;
}

void TSoccerEngine::PlayTick()
{
    if (FFinalWhistle) {
        const bool playing = Svc.SoundPlaying && Svc.SoundPlaying();
        if (!playing && FFinalWinner < 0) {
            FFinalWinner = FWinner;
            FLastScorer.team = FWinner;
            FGoalTick = 0;
            FReceiver.Clear();
            FHeadTarget.Clear();
            FLastKicker.Clear();
            FGoalTime = FClock;
            FGoalTimeText = ClockText(FClock);
        }
    } else if (FClock > FEndTime) {
        TimeRules();
    }
    if (FTick == FResumeTick - 10) {
        // The restart after a goal is whistled.
        if (FSoundOn && FStats[0][stGoals] + FStats[1][stGoals] > 0) Sound(TSoccerSound::Whistle, true);
    } else if (FTick >= FResumeTick) {
        RunPlay();
    }
}

void TSoccerEngine::RunPlay()
{
    FClock += 2;
    FClockStarted = true;
    if (FShotKind >= 0) ++FShotKind;
    if (FMarked.Set() && --FMarkedCount <= 0) {
        FMarked.Clear();
        FMarkedCount = 0;
    }
    if (FTick % 20 == 0) DrawTactics();
    if (FTick % 30 == 0 && FHolder.team >= 0) {
        const int d = 1 - FHolder.team;
        PlaceDefence(d, -1);
        TrapTick(d);
    }
    FTouch[0] = FTouch[1] = 0;
    FindLineMen();
    const int first = FAttackSide, second = 1 - FAttackSide;
    for (int p = 0; p < 7; ++p)
        for (int t : {first, second}) PlayerThink(t, p);
    MoveBall();
    GoalAndNetTest();
    SortTeams();
    for (int t = 0; t < 2; ++t) ShotChance(t);
    if (FPKTick < 0 && Ball.Speed > 0 && FTick - FLastKickTick > 20) {
        FChanceOn = true;
        // So do the buttons' hover flags, that a kick-off cleared under a pointer that has rested since.
        if (FPointer.x() >= 0) UserHover(FPointer);
    }

    const TSoccerPlayer& a = FPlayers[first][Order[first][0]];
    const TSoccerPlayer& b = FPlayers[second][Order[second][0]];
    FNearest = b.BallDist < a.BallDist ? TTeamPt{second, Order[second][0]} : TTeamPt{first, Order[first][0]};
    CheckTrapBreak();
    // The keepers reach the ball before anybody else; then the player at the ball decides. A ball
    // in a keeper's hands is nobody else's, nor on the tick his hold ran out: he plays it first.
    const bool held = BallInHands() || FLastBallTick == FTick;
    if (!KeeperAtBall(first) && !KeeperAtBall(second) && !held)
        if (!DecideAtBall(first)) DecideAtBall(second);
    MovePlayers();
    Separation();
    CrowdCheer();
}

void TSoccerEngine::MovePlayers()
{
    const int first = FFreeKickTick >= 0 && FSetPiece.team >= 0 ? FSetPiece.team : FAttackSide;
    for (int p = 0; p < 7; ++p)
        for (int t : {first, 1 - first}) MovePlayer(t, p);
}

void TSoccerEngine::SortTeams()
{
    for (int t = 0; t < 2; ++t) {
        auto sortBy = [&](int* list, auto key) {
            for (int i = 0; i < 7; ++i) list[i] = i;
            std::stable_sort(list, list + 7, [&](int x, int y) { return key(x) < key(y); });
        };
        sortBy(Order[t], [&](int p) { return FPlayers[t][p].BallDist; });
        sortBy(GoalOrder[t], [&](int p) { return FPlayers[t][p].GoalDist; });
    }
}

void TSoccerEngine::Separation()
{
    if (!FReceiver.Set() && Ball.Speed > 0) {
        for (int t = 0; t < 2; ++t) {
            const TRect r = FPlayers[t][Order[t][0]].BodyRt;
            TSoccerPlayer& second = FPlayers[t][Order[t][1]];
            if (!r.Contains(second.X, second.Y)) continue;
            second.X = t == 0 ? r.Left - 1 : r.Right;
            second.Y = second.Y < (r.Top + r.Bottom) / 2 ? r.Top - 1 : r.Bottom;
        }
        const int t = FAttackSide, m = t == 0 ? 1 : -1;
        if (!FFallen.Set() && Possesses(t))
            for (int p = 1; p < 7; ++p) {
                TSoccerPlayer& pl = FPlayers[t][p];
                for (int q = 1; q < 7; ++q) {
                    const TSoccerPlayer& o = FPlayers[1 - t][q];
                    if (std::abs(o.X - pl.X) > 4 || std::abs(o.Y - pl.Y) > 4) continue;
                    pl.X -= 2 * m;
                    pl.Y += 2;
                    if (Order[t][0] == p && !BallInHands()) {
                        Ball.X += 2 * m;
                        Ball.Y += 2;
                        Ball.AroundRgn.Offset(2 * m, 2);
                    }
                    break;
                }
            }
    }
    if (Ball.Speed != 0 || FReceiver.Set() || FFreeKickTick >= 0) return;
    for (int t = 0; t < 2; ++t)
        for (int p = 1; p < 7; ++p)
            if (BallInReach(t, p)) return;
    KeeperHold[0] = KeeperHold[1] = 0;
    FLastKicker.Clear();
    FShotFlying = false;
}

void TSoccerEngine::CrowdCheer()
{
    const int h = FHolder.team;
    if (FCheerOn && h >= 0 && CheerRt[h].Contains(Ball.X, Ball.Y) && FNearest.Set() && CheerFlag[FNearest.team] &&
        FWinner < 0 && Sound(TSoccerSound::Kansei, true))
        CheerFlag[h] = !CheerFlag[h];
}

void TSoccerEngine::TrapTick(int team)
{
    if (!FTrap[team] || RandomInt(4) > 0) {
        if (FTrapCount[team] > 0 && ++FTrapCount[team] >= 5) FTrapCount[team] = 0;
    } else {
        ClearTrapFlags(team);
        FTrapCount[team] = 1;
    }
}

void TSoccerEngine::CheckTrapBreak()
{
    const int h = FHolder.team;
    if (h < 0 || !FTrap[1 - h] || FHolder.player != FFrontMan[h]) return;
    ClearTrapFlags(1 - h);
    PlaceDefence(1 - h, 2);
}

void TSoccerEngine::ClearTrapFlags(int team)
{
    if (team == 0 && FOperation <= 2) return;
    for (int t = 0; t < 2; ++t)
        if (team < 0 || team == t) {
            FTrap[t] = false;
            FTrapCount[t] = 0;
            FLoopShot[t] = false;
        }
}

void TSoccerEngine::EndOfTick()
{
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) SetReachRect(t, p);
    if (FFreeKickTick < 0 && FGoalTick < 0 && Svc.UpdateCursor) {
        int hot = FPKTick >= 0 ? 1 : FHolder.team;
        if (FPKTick < 0 && FHolder.team >= 0 && ButtonHover[1 - FHolder.team]) hot = 1 - FHolder.team;
        Svc.UpdateCursor(hot);
    }
    Draw();
}

} // namespace soccer

// The match clock and its end: goals, posts and side nets, goal labels, added time, sudden death,
// the final whistle, bonus time after a goal, the goal replay's course, and the result.
#include "SoccerEngine.h"

#include <algorithm>

namespace soccer {

void TSoccerEngine::GoalAndNetTest()
{
    const bool loopInAir = FShotFlying && FShotType == 7;
    for (int k = 0; k < 2; ++k) {
        if (GoalRgn[k].Contains(Ball.X, Ball.Y)) {
            const bool nearPost = Ball.Y < GoalRt[k].Top + 7 || Ball.Y > GoalRt[k].Bottom - 7;
            if (!nearPost && !loopInAir) {
                GoalFor(1 - k);
            } else if (!Ball.PostHit) {
                // Off the post towards the middle of the goal's back line.
                if (FSoundOn && !(loopInAir && FShotScores)) Sound(TSoccerSound::GoalPost);
                const QPoint back(k == 0 ? GoalRt[0].Left : GoalRt[1].Right, CentrePt.y());
                Ball.Angle = PointAngle({Ball.X, Ball.Y}, back);
                Ball.PostHit = true;
                NetAnim[k] = Ball.Y > CentrePt.y() ? 10 : 11;
            }
            break;
        }
        if (!Ball.PostHit && (NetRgn[k][0].Contains(Ball.X, Ball.Y) || NetRgn[k][1].Contains(Ball.X, Ball.Y))) {
            NetBounce(k);
            break;
        }
    }
    for (int t : {FAttackSide, 1 - FAttackSide})
        if (!CheerRt[t].Contains(Ball.X, Ball.Y)) CheerFlag[t] = true;
}

void TSoccerEngine::GoalFor(int s)
{
    if (FSoundOn && FTick - LastTackleSound > 120) {
        Sound(TSoccerSound::Tackle);
        LastTackleSound = FTick;
    }
    FLastScorer.team = s;
    ++FStats[s][stGoals];
    FGoalTick = 0;
    Ball.Speed = 0;
    KeeperHold[0] = KeeperHold[1] = 0;
    FLastKicker.Clear();
    FReceiver.Clear();
    FHeadTarget.Clear();
    FMarked.Clear();
    FLofted = false;
    if (FFallen.Set()) GetUp(FFallen.team, FFallen.player);
    FGoalTime = FClock;
    FGoalTimeText = ClockText(FClock);
    FGoalLabels.push_back(GoalLabel(s));
    if (FGoalKind == 1 || FGoalKind == 2) ++FStats[s][stHeadingGoals];
    else if (FGoalKind == 4) ++FStats[s][stPenaltyGoals];
    else if (FGoalKind == 8) ++FStats[s][stLoopGoals];
    FGoalKind = 0;
}

QString TSoccerEngine::GoalLabel(int s) const
{
    QString label = s == 0 ? QStringLiteral("●") : QStringLiteral("○");
    label += FFreeKickGoal ? QLatin1Char('f') : QLatin1Char(' ');
    label += FGoalTimeText;
    switch (FGoalKind) {
    case 1:
    case 2: label += QLatin1Char('H'); break;
    case 4: label += QLatin1Char('P'); break;
    case 5: label += QLatin1Char('K'); break;
    case 8: label += QLatin1Char('L'); break;
    case 3:
    case 6: break;
    default:
        if (FHolder.team != s) label += QLatin1Char('X'); // an own goal
        break;
    }
    return label;
}

void TSoccerEngine::NetBounce(int k)
{
    if (FSoundOn && !BlockFlag[0] && !BlockFlag[1]) Sound(TSoccerSound::GoalPost);
    Ball.Angle = (Ball.Angle > 0 ? kPi : -kPi) - Ball.Angle;
    if (Ball.Speed >= 20) Ball.Speed /= 45 + RandomInt(10);
    Ball.Speed = std::max(Ball.Speed, 2);
    UpdateBallRegion();
    Ball.PostHit = true;
    Ball.Free = true;
    // Off the side net a shot's flight is over: it no longer flies on to score.
    FShotFlying = FShotScores = false;
    FHolder.Clear();
    FLastKicker.Clear();
    FReceiver.Clear();
    NetAnim[k] = Ball.Y > CentrePt.y() ? 10 : 11;
    FGoalKind = 0;
    ++FStats[1 - k][stPostHits];
}

void TSoccerEngine::TimeRules()
{
    const int g0 = FStats[0][stGoals], g1 = FStats[1][stGoals];
    if (FAddedMinutes == 0) {
        FAddedMinutes = RandomInt(4) + 3;
        FEndTime += 60 * FAddedMinutes;
    } else if (g0 == g1) {
        FTimeState = tsSuddenDeath;
    } else {
        // The leader gets the whistle once it holds the ball in the other team's half.
        const int lead = g0 > g1 ? 0 : 1;
        const bool ahead = lead == 0 ? Ball.X > CentrePt.x() : Ball.X < CentrePt.x();
        if (Possesses(lead) && ahead) {
            FWinner = lead;
            FFinalWhistle = true;
            if (FSoundOn) Sound(TSoccerSound::Whistle3);
        }
    }
}

void TSoccerEngine::BonusTime()
{
    const int s = FLastScorer.team;
    if (FAddedMinutes <= 0 || s < 0 || !IsTrailing(s)) return;
    FAddedMinutes = (FClock - 5400) / 60 + 11;
    FEndTime = 5400 + 60 * FAddedMinutes;
    FTimeState = tsBonus;
}

void TSoccerEngine::StartGoalReplay()
{
    FReplayEnd = FRingIndex;
    // Only frames recorded since the kick-off are shown: the ring counts them.
    if (FRingRecorded >= kRingSize) FRingIndex = (FRingIndex + 50) % kRingSize;
    else FRingIndex = FRingIndex > 70 ? FRingIndex - 70 : 0;
    FReplayStart = FRingIndex;
    FReplayFrames = 0;
    FReplayPause = -1;
    TimerInterval = 200;
    FReplaying = true;
}

void TSoccerEngine::GoalReplayTick()
{
    if (FReplayPause >= 0) {
        if (++FReplayPause > 7) FReplayPause = -1;
        Draw();
        return;
    }
    if (ShowReplayFrame(true) && FShowReplay) {
        Draw();
        return;
    }
    FReplaying = false;
    if (FShowReplay) Draw();
    if (FFinalWinner >= 0 && FAddedMinutes != 0) {
        MatchEnd();
        return;
    }
    BonusTime();
    if (Svc.Sleep) Svc.Sleep(FShowReplay ? 2000 : 300);
    ResetKickOff(); // the team that conceded kicks off; the clock goes on from the goal
}

quint16 TSoccerEngine::FinalResultCode() const
{
    const quint16 bits = Svc.ModeBits ? Svc.ModeBits() : 0;
    return quint16(bits + (FFinalWinner == 1 ? 0x1008 : 0x2008));
}

void TSoccerEngine::MatchEnd()
{
    TimerEnabled = false;
    MatchOver = true;
    FCanSaveReplay = true;
    ResultCode = FinalResultCode();
    if (Svc.ReportResult) Svc.ReportResult(ResultCode);
    ModalResult = FFinalWinner == 1 ? 7 : 6;
}

int TSoccerEngine::Close()
{
    TimerEnabled = false;
    if (Svc.StopSound) Svc.StopSound();
    if (FTimeMode == tmPastReplay) {
        ModalResult = 2;
        return ModalResult;
    }
    if (FWinner >= 0) {
        if (Svc.SaveReplaySlot) Svc.SaveReplaySlot();
        FCanSaveReplay = true;
    }
    if (ModalResult != 6 && ModalResult != 7) {
        // Closed before the end: lost unless the user's team has already won.
        const quint16 bits = Svc.ModeBits ? Svc.ModeBits() : 0;
        ResultCode = quint16(bits + (FWinner != 0 ? 0x1008 : 0x2008));
        if (Svc.ReportResult) Svc.ReportResult(ResultCode);
        ModalResult = FWinner != 0 ? 7 : 6;
    }
    MatchOver = true;
    return ModalResult;
}

QString BoardClockText(const TSoccerState& s)
{
    if (s.FReplaying) return QStringLiteral("リプレイ");
    if (!s.FClockStarted) return QStringLiteral("00:00");
    if (s.FGoalTick >= 0 || s.FFinalWinner >= 0 || s.MatchOver) return s.FGoalTimeText;
    return QString::asprintf("%02d:%02d", s.FClock / 60, s.FClock % 60);
}

} // namespace soccer

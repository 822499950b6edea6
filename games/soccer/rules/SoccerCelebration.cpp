// The goal and end-of-match celebrations: their 60 ticks, the scorer's or the winners' moves (wander,
// wander near the spot, run and slide), and what follows them (the goal replay or the match end).
#include "SoccerEngine.h"

#include <algorithm>
#include <cmath>

namespace soccer {

void TSoccerEngine::CelebrationTick()
{
    ++FGoalTick;
    if (FGoalTick == 1 && Svc.UpdateCursor) Svc.UpdateCursor(-1);
    if (FGoalTick == 2) StartCelebrationMoves();
    const int moving = FWinner >= 0 ? FWinner : FLastScorer.team;
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) {
            if (t == moving) {
                MoveCelebrating(t, p);
            } else {
                FPlayers[t][p].Speed = 0;
                FPlayers[t][p].View &= 2;
            }
        }
    if (FGoalTick == 1 && FWinner < 0) {
        AppendGoalScene(true);
        const int s = FLastScorer.team;
        if (s >= 0 && FClock >= FEndTime && FAddedMinutes >= 1 && IsLeading(s)) FWinner = s;
    }
    if (FGoalTick == 2 && FCheerOn) Sound(TSoccerSound::Kansei, true);
    if (FGoalTick < 60) {
        Draw();
        return;
    }
    if (FFinalWinner >= 0) {
        MatchEnd();
        return;
    }
    FGoalTick = -1;
    StartGoalReplay();
    if (FWinner >= 0) {
        FFinalWinner = FWinner;
        FGoalTick = 0;
        FLastScorer.team = FWinner;
        FGoalTimeText = ClockText(FClock);
    }
}

void TSoccerEngine::StartCelebrationMoves()
{
    if (FWinner < 0) {
        // A goal with no shot since the kick-off has no scorer to celebrate.
        const TTeamPt s = FLastScorer;
        if (s.team >= 0 && s.team <= 1 && s.player >= 0 && s.player <= 6)
            FPlayers[s.team][s.player].Celebration = quint8(RandomInt(4) + 1);
        return;
    }
    const bool each = RandomInt(3) > 0;
    for (int p = 1; p <= 6; ++p) FPlayers[FWinner][p].Celebration = quint8(each ? RandomInt(4) + 1 : 4);
}

void TSoccerEngine::MoveCelebrating(int team, int player)
{
    TSoccerPlayer& pl = FPlayers[team][player];
    const int kind = pl.Celebration;
    if (kind == 0) {
        pl.Speed = 0;
        pl.View &= 2;
        return;
    }
    const int m = team == 0 ? 1 : -1;
    if (FGoalTick == 2) {
        if (kind == 1) {
            pl.Heading = DegToRad(RandomInt(360));
            pl.Speed = 15;
        } else if (kind == 2) {
            const int x0 = team == 0 ? pl.X - 140 : pl.X + 70;
            pl.MinX = std::max(pl.MinX, x0);
            pl.MaxX = std::min(pl.MaxX, x0 + 70);
            pl.MinY = std::max(pl.MinY, pl.Y - 70);
            pl.MaxY = std::min(pl.MaxY, pl.Y + 70);
            pl.Speed = 9;
        } else {
            const int endY = pl.Y < CentrePt.y() ? FieldRt.Top : FieldRt.Bottom;
            pl.Heading = PointAngle({pl.X, pl.Y}, {CentrePt.x(), endY});
            pl.Speed = 9;
            pl.CelebrationCount = 0;
        }
    }
    if (kind <= 2) {
        StepPlayer(team, player, false, false);
        if (pl.X < pl.MinX) pl.Heading = DegToRad(RandomInt(140) - 70);
        else if (pl.X > pl.MaxX) pl.Heading = DegToRad(RandomInt(140) + 110);
        if (pl.Y < pl.MinY) pl.Heading = DegToRad(-(RandomInt(140) + 20));
        else if (pl.Y > pl.MaxY) pl.Heading = DegToRad(RandomInt(140) + 20);
    } else {
        ++pl.CelebrationCount;
        const int ahead = m * (pl.X - CentrePt.x());
        const bool nearLine = ahead >= 0 && ahead <= 100;
        const bool nearTouch = pl.Y - FieldRt.Top <= 50 || FieldRt.Bottom - pl.Y <= 50;
        if (pl.CelebrationCount < 100 && (pl.CelebrationCount >= 30 || (nearLine && nearTouch))) {
            pl.CelebrationCount = 100;
            FFallDir = team == 0 ? 1 : 0;
        }
        if (pl.CelebrationCount < 100) StepPlayer(team, player, false, false);
        else pl.X -= 2 * m * std::min(15, std::max(0, 120 - pl.CelebrationCount));
        if (FFinalWinner < 0) {
            // Out of the picture: back one picture width inside that edge, and the slide is over.
            const bool out = pl.X < 0 || pl.X >= kW || pl.Y < 0 || pl.Y >= kH;
            if (pl.X < 0) pl.X = 70;
            else if (pl.X >= kW) pl.X = kW - 70;
            if (pl.Y < 0) pl.Y = 70;
            else if (pl.Y >= kH) pl.Y = kH - 70;
            if (out) pl.CelebrationCount = 120;
        } else if (pl.X < 90 || pl.X > kW - 90) {
            pl.Celebration = 1;
        }
    }
    const int frame = 1 - (pl.View & 1);
    pl.View = frame + (std::fabs(FoldAngle(pl.Heading)) > kPi / 2 ? 2 : 0);
}

} // namespace soccer

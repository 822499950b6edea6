// One tick of the ball: its flight (or the keeper's hands, or a header's head), the goal-line and
// touchline limits with their out flags, friction, height and corner play.
#include "SoccerEngine.h"

#include <algorithm>
#include <cmath>

namespace soccer {

void TSoccerEngine::MoveBall()
{
    const int oldX = Ball.X, oldY = Ball.Y;
    if (Ball.Speed == 0 && ((FFreeKickTick == 0 && FHeader.Set()) || !BallInHands())) {
        BallHeight();
        return;
    }
    const TBallCarrier carrier = PlaceBall();
    const bool headerShot = carrier == TBallCarrier::Flight && FHeadShot.Set();
    if (headerShot) Ball.Speed = std::max(0, Ball.Speed - 2);
    if (carrier != TBallCarrier::Hands && !headerShot && !FHeader.Set()) BallLimits();

    for (int t = 0; t < 2; ++t) Ball.GoalDist[t] = GoalDistance(t, Ball.X, Ball.Y);
    Ball.AroundRgn.Offset(Ball.X - oldX, Ball.Y - oldY);
    // A header shot's ball only flies and slows this tick. A caught ball only follows the keeper's
    // hands: it neither slows nor meets a line, so that his pass or clearance leaves at the speed he
    // gave it.
    if (headerShot || carrier == TBallCarrier::Hands) return;

    if (!FHeader.Set() || Ball.Speed > 11) Friction();
    if (FShotKind >= 0 && Ball.Speed < 2) {
        Ball.Speed = 2;
        if (!FShotScores) FShotFlying = false;
    }
    if (Ball.Speed < 1) {
        FReceiver.Clear();
        Ball.Free = true;
    }
    BallHeight();
    CornerPlay();
}

TSoccerEngine::TBallCarrier TSoccerEngine::PlaceBall()
{
    if (FFreeKickTick == 0 && FHeader.Set()) {
        const TSoccerPlayer& h = Player(FHeader);
        Ball.X = h.X - 12 * FHeader.team + 6;
        Ball.Y = h.Y - 83;
        return TBallCarrier::Head;
    }
    for (int t = 0; t < 2; ++t)
        if (KeeperHold[t] >= 1) {
            const TSoccerPlayer& k = FPlayers[t][0];
            Ball.X = k.X + RandomInt(9) - 4;
            Ball.Y = k.Y + RandomInt(7) - 2;
            // Letting it go is his last touch: his own pass is no new ball for him next tick.
            if (--KeeperHold[t] == 0) FLastBallTick = FTick;
            return TBallCarrier::Hands;
        }
    const QPoint p = StepPoint({Ball.X, Ball.Y}, Ball.Angle, Ball.Speed);
    Ball.X = p.x();
    Ball.Y = p.y();
    return TBallCarrier::Flight;
}

void TSoccerEngine::BallLimits()
{
    auto inReach = [&] { return FNearest.Set() && Player(FNearest).BodyRt.Contains(Ball.X, Ball.Y); };
    auto outsideMouth = [&](int k) { return Ball.Y < GoalRt[k].Top || Ball.Y > GoalRt[k].Bottom; };
    if (Ball.X <= GoalRt[0].Right && outsideMouth(0)) {
        Ball.X = GoalRt[0].Right;
        if (!inReach()) Ball.OutFlags = quint8((Ball.OutFlags & 0xFC) | 1);
        FShotFlying = false;
        Ball.Height = 0;
    } else if (Ball.X >= GoalRt[1].Left && outsideMouth(1)) {
        Ball.X = GoalRt[1].Left;
        if (!inReach()) Ball.OutFlags = quint8((Ball.OutFlags & 0xFC) | 2);
        FShotFlying = false;
        Ball.Height = 0;
    }
    if (Ball.Y <= BallBounds.Top) {
        Ball.Y = BallBounds.Top;
        if (!inReach()) Ball.OutFlags = quint8((Ball.OutFlags & 0xF3) | 4);
        Ball.Height = 0;
    } else if (Ball.Y >= BallBounds.Bottom) {
        Ball.Y = BallBounds.Bottom;
        if (!inReach()) Ball.OutFlags = quint8((Ball.OutFlags & 0xF3) | 8);
        Ball.Height = 0;
    }
    if (FShotFlying &&
        (FPlayers[0][0].BodyRt.Contains(Ball.X, Ball.Y) || FPlayers[1][0].BodyRt.Contains(Ball.X, Ball.Y)))
        Ball.Y += RandomInt(5) - 2;
}

void TSoccerEngine::Friction()
{
    if (Ball.Speed > 20) Ball.Speed -= 3;
    else if (Ball.Speed >= 11) Ball.Speed -= 1;
    else if (Ball.Speed >= 1 && FTick % 2 == 0) Ball.Speed -= 1;
}

void TSoccerEngine::BallHeight()
{
    if (FGoalTick >= 0) {
        Ball.Height = 0;
    } else if (FHeader.Set()) {
        if (FLastPassTick > FLastKickTick) Ball.Height = FTick - FLastPassTick >= 2 ? 2 : 1;
        else {
            const int k = FTick - FLastKickTick;
            Ball.Height = k <= 3 ? 2 : k <= 6 ? 1 : 0;
        }
    } else if (FShotFlying) {
        int h = FShotType <= 0 ? 0 : FShotType == 1 ? 1 : 2;
        h = std::min(h, Ball.Speed < 4 ? 0 : Ball.Speed < 18 ? 1 : 2);
        if (FShotScores) {
            h = std::max(h, 1);
            Ball.Speed = std::max(Ball.Speed, 5);
        }
        // Over the attacked goal area the ball comes down as it nears the goal line.
        const int team = FHolder.team == 1 ? 1 : 0;
        const TRect& area = GoalAreaRt[1 - team];
        if (Ball.Y >= area.Top && Ball.Y < area.Bottom) {
            const int depth = team == 0 ? Ball.X - area.Left : area.Right - Ball.X;
            if (depth >= 0) {
                h = std::min(h, depth < 13 ? 2 : depth < 30 ? 1 : 0);
                const int stop = FShotScores ? 0 : 12;
                const bool past = team == 0 ? Ball.X > area.Right - stop : Ball.X < area.Left + stop;
                if (past) FShotFlying = false;
            }
        }
        Ball.Height = h;
    } else if (Ball.Height > 0) {
        --Ball.Height;
    }
}

void TSoccerEngine::CornerPlay()
{
    const int t = FHolder.team;
    if (t < 0) return;
    const int end = t == 0 ? 1 : 0;
    FCornerPlay = CornerRt[end][0].Contains(Ball.X, Ball.Y) || CornerRt[end][1].Contains(Ball.X, Ball.Y);
    if (FCornerPlay != FCornerPlayPrev) {
        PlaceDefence(t, -1);
        PlaceDefence(1 - t, 3);
    }
    FCornerPlayPrev = FCornerPlay;
}

} // namespace soccer

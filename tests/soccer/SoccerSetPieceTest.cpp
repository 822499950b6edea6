// Set pieces and the keeper: the free kick's taker and wall and its course to the kick, the penalty
// kick's placing (with the late push forward), its outcome from a fake PK runner with the frames it
// writes, and what the keeper does with a ball that reaches him.
#include "SoccerScene.h"
#include <gtest/gtest.h>

using namespace soccer;

namespace {

// Team 1 commits a foul at the spot; team 0 kicks.
void FoulAt(SoccerScene& s, QPoint spot)
{
    s.e.FFoulSpot = spot;
    s.ball(spot.x(), spot.y());
    s.refresh();
    s.e.StartSetPiece(spFoul, 1, 3);
}

// Team 1 fouls in its penalty area; the penalty kick waits for its placing (tick 23) and kick (24).
void PenaltyAgainstTeam1(SoccerScene& s, int untilTick)
{
    s.place(1, 3, 700, 300);
    s.place(0, 6, 690, 310);
    s.place(0, 1, 640, 200);
    s.place(1, 1, 620, 460);
    s.ball(695, 310);
    s.refresh();
    s.e.FTackler = {1, 3};
    s.e.FPKTick = 0;
    while (s.e.FPKTick >= 0 && s.e.FPKTick < untilTick) s.e.Tick();
}

} // namespace

TEST(SoccerSetPiece, KickerAndWallByTheSpot)
{
    // Team 0's midfielder 4 stands nearest the spot and centre back 2 next; team 1's players 1 to
    // 3 stand nearest in that order.
    struct Row {
        QPoint spot;
        int kicker;
        QPoint wall[3]; // the places of defenders 1, 2, 3; x < 0 none
    };
    const QPoint none(-1, -1);
    const Row rows[] = {
        {{200, 300}, 0, {none, none, none}},                   // own penalty area: the keeper, no wall
        {{300, 335}, 2, {none, none, none}},                   // deep in the own half: a back
        {{600, 300}, 4, {{667, 314}, {661, 343}, {673, 285}}}, // two fifths of the way to goal
        {{735, 146}, 4, {{748, 222}, {718, 227}, none}},       // the third place lies off the pitch
    };
    for (const Row& r : rows) {
        SoccerScene s;
        const int x = r.spot.x(), y = r.spot.y();
        s.place(0, 4, x + 5, y);
        s.place(0, 2, x + 30, y);
        s.place(1, 1, x + 40, y - 20);
        s.place(1, 2, x + 50, y + 30);
        s.place(1, 3, x + 20, y + 80);
        FoulAt(s, r.spot);
        EXPECT_EQ(s.e.FSetPiece.team, 0);
        EXPECT_EQ(s.e.FSetPiece.player, r.kicker) << x;
        EXPECT_EQ(s.e.FStats[1][stFouls], 1);
        s.e.Tick();
        ASSERT_EQ(s.e.FFreeKickTick, 1);
        for (int p = 0; p < 7; ++p)
            EXPECT_EQ(s.e.WallPlace[p], p >= 1 && p <= 3 ? r.wall[p - 1] : none) << x << " " << p;
        EXPECT_EQ(s.e.FPlayers[1][2].Speed, 10);
        EXPECT_EQ(s.e.FPlayers[0][r.kicker].Speed, 6);
    }
}

TEST(SoccerSetPiece, FreeKickRunsToItsKick)
{
    for (const QPoint spot : {QPoint(600, 300), QPoint(300, 420)}) {
        SoccerScene s;
        s.answers = {69}; // no long shot from the free kick
        s.place(0, 5, 560, 200);
        FoulAt(s, spot);
        const int kicker = s.e.FSetPiece.player;
        int ticks = 0;
        while (s.e.FFreeKickTick >= 0 && ticks < 200) {
            s.e.Tick();
            ++ticks;
            if (s.e.FFreeKickTick == 15) {
                EXPECT_EQ(QPoint(s.e.Ball.X, s.e.Ball.Y), spot);
            }
        }
        EXPECT_TRUE(ticks >= 16 && ticks <= 60) << ticks;
        EXPECT_EQ(s.e.FSetPiece.team, -1);
        EXPECT_EQ(s.e.FSetPieceKind, spNone);
        EXPECT_TRUE(s.e.FFreeKickGoal);
        EXPECT_EQ(s.e.FRestartTick, s.e.FTick);
        EXPECT_EQ(s.e.FHolder, (TTeamPt{0, kicker}));
        EXPECT_EQ(s.e.Order[0][0], kicker);
        const int action = s.e.FPlayers[0][kicker].Action;
        if (spot.x() > CentrePt.x()) {
            EXPECT_TRUE(action == acPass || action == acShoot);
        }
        for (const auto& side : s.e.FPlayers)
            for (const TSoccerPlayer& pl : side) EXPECT_EQ(pl.Speed, 3);
    }
}

TEST(SoccerSetPiece, PenaltyPlacingAndTheLatePush)
{
    struct Row {
        int clock, goalsDefending, goalsKicking;
        bool allUp;
    };
    const Row rows[] = {{4800, 1, 0, true}, {4798, 1, 0, false}, {5000, 1, 1, false}};
    for (const Row& r : rows) {
        SoccerScene s;
        s.e.FClock = r.clock;
        s.e.FStats[1][stGoals] = r.goalsDefending;
        s.e.FStats[0][stGoals] = r.goalsKicking;
        s.answers = {0, 29, 10, 20, 5, 15, 25, 59};
        // The fouled player still lies; the placing puts him back on his feet at a run.
        s.e.FFallen = {0, 5};
        s.e.FPlayers[0][5].Action = acKokeru;
        s.e.FPlayers[0][5].Speed = 0;
        PenaltyAgainstTeam1(s, 23);
        EXPECT_FALSE(s.e.FFallen.Set());
        EXPECT_EQ(s.e.FPlayers[0][5].Speed, 3);
        const int line = PenaltyRt[1].Left;
        for (int t = 0; t < 2; ++t)
            for (int p = 0; p < 7; ++p) {
                const TSoccerPlayer& pl = s.e.FPlayers[t][p];
                if ((t == 1 && p == 0) || (t == 0 && p == 6)) continue;
                const bool pushed = t == 0 && (p >= 4 || (r.allUp && p >= 1));
                EXPECT_TRUE(pl.X <= line - 21 && (!pushed || pl.X >= line - 50)) << t << "." << p << " " << pl.X;
                EXPECT_EQ(pl.View, 0);
            }
        EXPECT_EQ(QPoint(s.e.FPlayers[1][0].X, s.e.FPlayers[1][0].Y), QPoint(751, 325));
        EXPECT_EQ(QPoint(s.e.FPlayers[0][6].X, s.e.FPlayers[0][6].Y), QPoint(652, 335));
        EXPECT_EQ(QPoint(s.e.Ball.X, s.e.Ball.Y), QPoint(657, 335));
        EXPECT_EQ(s.e.FHolder, (TTeamPt{0, 6}));
        const int keeperX = s.e.FPlayers[0][0].X;
        EXPECT_TRUE(r.allUp ? keeperX >= 401 && keeperX < 461 : keeperX == 116) << keeperX;
    }
}

TEST(SoccerSetPiece, PenaltyOutcomeFromTheRunner)
{
    struct Row {
        bool scored;
        int kickDir, keeperDir;
    };
    const Row rows[] = {{true, -1, 1}, {true, 1, 0}, {false, 0, 0}, {false, -1, -1}};
    for (const Row& r : rows) {
        SoccerScene s;
        s.e.LastShuffled[0] = 4;
        s.e.FirstShuffled[1] = 2;
        s.pkOutcome = {r.kickDir, r.kickDir, r.keeperDir, r.scored};
        PenaltyAgainstTeam1(s, 23);
        const int ringBefore = s.e.FRingIndex;
        s.e.Tick();
        ASSERT_EQ(s.e.FPKTick, -1);
        ASSERT_EQ(s.pkRequests.size(), 1u);
        EXPECT_EQ(s.pkRequests[0].KickSide, 0);
        EXPECT_EQ(s.pkRequests[0].MyPlayerIndex, 4);
        EXPECT_EQ(s.pkRequests[0].AitePlayerIndex, 2);
        EXPECT_EQ(s.e.FRingIndex, (ringBefore + 9) % kRingSize) << "nine frames of the kick";
        EXPECT_TRUE(s.e.TimerEnabled);
        EXPECT_EQ(s.e.FTackler, TTeamPt{});
        EXPECT_EQ(s.e.FStats[0][stShots], 1);
        EXPECT_EQ(s.e.FPlayers[1][0].Y, 325 + 30 * r.keeperDir);
        if (r.scored) {
            EXPECT_EQ(QPoint(s.e.Ball.X, s.e.Ball.Y), QPoint(777, 335 + 30 * r.kickDir));
            s.e.Tick(); // the next play tick counts the goal
            EXPECT_EQ(s.e.FStats[0][stPenaltyGoals], 1);
            ASSERT_EQ(s.e.FGoalLabels.size(), 1u);
            EXPECT_TRUE(s.e.FGoalLabels[0].endsWith('P')) << s.e.FGoalLabels[0].toStdString();
            continue;
        }
        EXPECT_EQ(QPoint(s.e.Ball.X, s.e.Ball.Y), QPoint(743, s.e.FPlayers[1][0].Y));
        EXPECT_EQ(s.e.FHolder, (TTeamPt{1, 0}));
        EXPECT_EQ(s.e.SavedPenaltyDir, r.keeperDir);
        // He throws it the way he dived (the draw of one in two says so).
        s.e.FTick += 2;
        s.refresh();
        s.answers = r.keeperDir < 0 ? std::deque<int>{1, 30, 4} : std::deque<int>{1, 1, 30, 4};
        ASSERT_TRUE(s.e.KeeperAtBall(1));
        EXPECT_NEAR(RadToDeg(s.e.Ball.Angle), r.keeperDir < 0 ? 150 : 110, 1e-6);
        EXPECT_EQ(s.e.Ball.Speed, 14);
        EXPECT_EQ(s.e.SavedPenaltyDir, -2);
    }
}

TEST(SoccerSetPiece, KeeperAtTheBall)
{
    // Team 1's keeper at his goal; the ball (speed 12, to the right) lies in his reach.
    enum { backPass, theirLooseBall, hardShot, shot, shotNobodyFree, scoringLoop, justActed, pause };
    struct Row {
        const char* what;
        int state;
        bool acts;
        int keeperAction, pauseAfter, goalKind;
    };
    const Row rows[] = {
        {"a back pass is played on", backPass, true, acPass, 0, 0},
        {"a loose ball of the other team too", theirLooseBall, true, acPass, 0, 0},
        {"a hard shot is parried", hardShot, true, acNone, 3, 5},
        {"a shot is caught and passed on", shot, true, acPass, 0, 0},
        {"with nobody to pass to he clears it", shotNobodyFree, true, acNone, 0, 0},
        {"a loop shot that is to score passes him", scoringLoop, false, acNone, 0, 0},
        {"not a tick after his last save", justActed, false, acNone, 0, 0},
        {"nor while his parry pause runs", pause, false, acNone, 1, 0},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        TSoccerEngine& e = s.e;
        s.ball(746, 340, 12);
        e.Ball.Angle = 0;
        for (int p = 1; p < 7; ++p) s.place(1, p, r.state == shotNobodyFree ? 120 : 600, 130 + 60 * p);
        e.FHolder = {1, 2};
        e.FFreeKickGoal = true;
        const bool shotAtHim = r.state == hardShot || r.state == shot || r.state == shotNobodyFree || r.state == scoringLoop;
        if (shotAtHim) e.FHolder = {0, 6}, e.FReceiver = {0, 0}, e.FHeader = e.FHeadShot = {0, 6};
        if (r.state == theirLooseBall) e.FHolder = {0, 4};
        e.ParryMark = r.state == hardShot;
        if (r.state == scoringLoop) e.FShotFlying = e.FShotScores = true, e.FShotType = 7;
        if (r.state == justActed) e.FLastBallTick = e.FTick - 1;
        if (r.state == pause) e.KeeperPause[1] = 2;
        if (r.state == shotNobodyFree) s.answers = {30, 2};
        s.refresh();
        EXPECT_EQ(e.KeeperAtBall(1), r.acts) << r.what;
        const TSoccerPlayer& k = e.FPlayers[1][0];
        EXPECT_EQ(k.Action, r.keeperAction) << r.what;
        EXPECT_EQ(e.KeeperPause[1], r.pauseAfter) << r.what;
        if (!r.acts) continue;
        EXPECT_EQ(e.FHolder, (TTeamPt{1, 0})) << r.what;
        EXPECT_EQ(e.FGoalKind, r.goalKind) << r.what;
        EXPECT_FALSE(e.ParryMark);
        EXPECT_EQ(e.FLastBallTick, e.FTick);
        EXPECT_EQ(e.FFreeKickGoal, !shotAtHim || r.state == hardShot) << r.what;
        EXPECT_FALSE(e.FHeader.Set() || e.FHeadShot.Set()) << "the keeper's ball ends a header's chance";
        if (k.Action == acPass) {
            EXPECT_TRUE(k.ActionTarget >= 1 && k.ActionTarget <= 6) << r.what;
        } else if (r.state == shotNobodyFree) {
            EXPECT_NEAR(RadToDeg(e.Ball.Angle), 150, 1e-6);
            EXPECT_EQ(e.Ball.Speed, 10);
        } else {
            EXPECT_TRUE(e.Ball.Speed >= 6 && e.Ball.Speed <= 11) << e.Ball.Speed;
        }
    }
}

// Over whole ticks: a caught shot is seen in the keeper's hands for a moment, with the shooter at
// his side, before his pass or clearance leaves at the speed he gave it.
TEST(SoccerSetPiece, ACaughtBallStaysInTheKeepersHandsBeforeItLeaves)
{
    for (bool nobodyFree : {false, true}) {
        SoccerScene s;
        TSoccerEngine& e = s.e;
        for (int p = 1; p < 7; ++p) s.place(1, p, nobodyFree ? 120 : 600, 130 + 60 * p);
        s.place(0, 6, 752, 330);
        s.ball(735, 340, 12);
        e.Ball.Angle = 0;
        e.FHolder = e.FLastKicker = {0, 6};
        e.FReceiver = {0, 0}; // a shot names the keeper as its receiver
        e.FShotKind = 1;
        if (nobodyFree) s.answers = {4, 4, 4, 4, 30, 2};
        s.refresh();
        e.Tick();
        ASSERT_EQ(e.FHolder, (TTeamPt{1, 0})) << "caught";
        const int speed = e.Ball.Speed;
        for (int i = 1; i <= kKeeperHoldTicks; ++i) {
            e.Tick();
            const TSoccerPlayer& k = e.FPlayers[1][0];
            ASSERT_TRUE(std::abs(e.Ball.X - k.X) <= 4 && e.Ball.Y - k.Y >= -2 && e.Ball.Y - k.Y <= 4) << "tick " << i;
            ASSERT_EQ(e.Ball.Speed, speed) << "tick " << i;
            ASSERT_EQ(e.FHolder, (TTeamPt{1, 0})) << "tick " << i;
        }
        const QPoint hands(e.Ball.X, e.Ball.Y);
        e.Tick();
        EXPECT_GT(std::abs(e.Ball.X - hands.x()) + std::abs(e.Ball.Y - hands.y()), 6) << "it leaves his hands";
        EXPECT_EQ(e.FHolder, (TTeamPt{1, 0}));
        if (!nobodyFree) {
            EXPECT_EQ(e.FLastKicker, (TTeamPt{1, 0}));
            EXPECT_EQ(e.FReceiver.team, 1);
        }
    }
}

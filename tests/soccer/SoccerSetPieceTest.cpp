// Set pieces and the keeper: the free kick's taker and wall and its course to the kick, the penalty
// kick's placing (with the late push forward), its outcome from a fake PK runner with the frames it
// writes, and what the keeper does with a ball that reaches him.
#include "SoccerScene.h"
#include <functional>
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

// Team 1 fouls in its penalty area; the penalty kick waits for its placing.
void PenaltyAgainstTeam1(SoccerScene& s)
{
    s.place(1, 3, 700, 300);
    s.place(0, 6, 690, 310);
    s.place(0, 1, 640, 200);
    s.place(1, 1, 620, 460);
    s.ball(695, 310);
    s.refresh();
    s.e.FTackler = {1, 3};
    s.e.FPKTick = 0;
}

void TickUntilPK(SoccerScene& s, int pkTick)
{
    while (s.e.FPKTick >= 0 && s.e.FPKTick < pkTick) s.e.Tick();
}

} // namespace

TEST(SoccerSetPiece, TheKickerByTheSpot)
{
    struct Row {
        QPoint spot;
        int expectKicker;
    };
    // Midfielder 4 stands nearest everywhere; centre back 2 next; the keeper at his goal.
    const Row rows[] = {{{200, 300}, 0}, {{300, 335}, 2}, {{600, 300}, 4}};
    for (const Row& r : rows) {
        SoccerScene s;
        s.place(0, 4, r.spot.x() + 5, r.spot.y());
        s.place(0, 2, r.spot.x() + 30, r.spot.y());
        FoulAt(s, r.spot);
        EXPECT_EQ(s.e.FSetPiece.team, 0);
        EXPECT_EQ(s.e.FSetPiece.player, r.expectKicker) << r.spot.x();
        EXPECT_EQ(QPoint(s.e.FSetPiece.x, s.e.FSetPiece.y), r.spot);
        EXPECT_EQ(s.e.FStats[1][stFouls], 1);
        EXPECT_EQ(s.e.FSetPieceDeep, r.spot.x() <= FSRt[1].Left);
    }
}

TEST(SoccerSetPiece, WallOfThreeTwoFifthsToGoal)
{
    struct Row {
        QPoint spot;
        QPoint places[3]; // for defenders 1, 2, 3 (nearest first); x < 0 none
    };
    const Row rows[] = {
        {{600, 300}, {{667, 314}, {661, 343}, {673, 285}}},
        {{735, 146}, {{748, 222}, {718, 227}, {-1, -1}}}, // the third place lies off the pitch
        {{300, 300}, {{-1, -1}, {-1, -1}, {-1, -1}}},     // no wall in the kicking team's own half
    };
    for (const Row& r : rows) {
        SoccerScene s;
        s.place(1, 1, r.spot.x() + 40, r.spot.y() - 20);
        s.place(1, 2, r.spot.x() + 50, r.spot.y() + 30);
        s.place(1, 3, r.spot.x() + 20, r.spot.y() + 80);
        FoulAt(s, r.spot);
        s.e.Tick();
        ASSERT_EQ(s.e.FFreeKickTick, 1);
        for (int p = 0; p < 7; ++p)
            EXPECT_EQ(s.e.WallPlace[p], p >= 1 && p <= 3 ? r.places[p - 1] : QPoint(-1, -1)) << r.spot.x() << " " << p;
        EXPECT_EQ(s.e.FPlayers[1][2].Speed, 10);
        EXPECT_EQ(s.e.FPlayers[0][s.e.FSetPiece.player].Speed, 6);
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
        EXPECT_GE(ticks, 16);
        EXPECT_LE(ticks, 60);
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
        PenaltyAgainstTeam1(s);
        s.answers = {0, 29, 10, 20, 5, 15, 25, 59};
        TickUntilPK(s, 23);
        const int line = PenaltyRt[1].Left;
        for (int t = 0; t < 2; ++t)
            for (int p = 0; p < 7; ++p) {
                const TSoccerPlayer& pl = s.e.FPlayers[t][p];
                if ((t == 1 && p == 0) || (t == 0 && p == 6)) continue;
                EXPECT_LE(pl.X, line - 21) << t << "." << p;
                const bool pushed = t == 0 && (p >= 4 || (r.allUp && p >= 1));
                if (pushed) {
                    EXPECT_GE(pl.X, line - 50) << t << "." << p;
                }
                EXPECT_EQ(pl.View, 0);
            }
        EXPECT_EQ(QPoint(s.e.FPlayers[1][0].X, s.e.FPlayers[1][0].Y), QPoint(751, 325));
        EXPECT_EQ(QPoint(s.e.FPlayers[0][6].X, s.e.FPlayers[0][6].Y), QPoint(652, 335));
        EXPECT_EQ(QPoint(s.e.Ball.X, s.e.Ball.Y), QPoint(657, 335));
        EXPECT_EQ(s.e.FHolder, (TTeamPt{0, 6}));
        const int keeperX = s.e.FPlayers[0][0].X;
        if (r.allUp) {
            EXPECT_TRUE(keeperX >= 401 && keeperX < 461) << keeperX;
        } else {
            EXPECT_EQ(keeperX, 116);
        }
        EXPECT_FALSE(s.e.FFallen.Set());
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
        PenaltyAgainstTeam1(s);
        TickUntilPK(s, 23);
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
            EXPECT_EQ(s.e.FStats[0][stGoals], 1);
            EXPECT_EQ(s.e.FStats[0][stPenaltyGoals], 1);
            ASSERT_EQ(s.e.FGoalLabels.size(), 1u);
            EXPECT_TRUE(s.e.FGoalLabels[0].endsWith('P')) << s.e.FGoalLabels[0].toStdString();
        } else {
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
}

TEST(SoccerSetPiece, KeeperAtTheBall)
{
    struct Row {
        const char* what;
        std::function<void(SoccerScene&)> setup;
        bool acts;
        int keeperAction, pause, goalKind;
    };
    const auto shot = [](SoccerScene& s) {
        s.e.FHolder = {0, 6};
        s.e.FReceiver = {0, 0};
    };
    const Row rows[] = {
        {"a back pass is played on", [](SoccerScene& s) { s.e.FHolder = {1, 2}; }, true, acPass, 0, 0},
        {"a loose ball of the other team too", [](SoccerScene& s) { s.e.FHolder = {0, 4}; }, true, acPass, 0, 0},
        {"a hard shot is parried",
         [&](SoccerScene& s) {
             shot(s);
             s.e.ParryMark = true;
         },
         true, acNone, 3, 5},
        {"a shot is caught and passed on", shot, true, acPass, 0, 0},
        {"with nobody to pass to he clears it",
         [&](SoccerScene& s) {
             shot(s);
             for (int p = 1; p < 7; ++p) s.place(1, p, 120, 130 + 60 * p);
             s.answers = {30, 2};
         },
         true, acNone, 0, 0},
        {"a loop shot that is to score passes him",
         [&](SoccerScene& s) {
             shot(s);
             s.e.FShotFlying = s.e.FShotScores = true;
             s.e.FShotType = 7;
         },
         false, acNone, 0, 0},
        {"not a tick after his last save", [](SoccerScene& s) { s.e.FLastBallTick = s.e.FTick - 1; }, false, acNone, 0, 0},
        {"nor while his parry pause runs", [](SoccerScene& s) { s.e.KeeperPause[1] = 2; }, false, acNone, 1, 0},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        s.ball(746, 340, 12);
        s.e.Ball.Angle = 0;
        for (int p = 1; p < 7; ++p) s.place(1, p, 600, 130 + 60 * p);
        s.e.FHolder = {1, 2};
        s.e.FFreeKickGoal = true;
        r.setup(s);
        s.refresh();
        EXPECT_EQ(s.e.KeeperAtBall(1), r.acts) << r.what;
        const TSoccerPlayer& k = s.e.FPlayers[1][0];
        EXPECT_EQ(k.Action, r.keeperAction) << r.what;
        EXPECT_EQ(s.e.KeeperPause[1], r.pause) << r.what;
        if (!r.acts) continue;
        EXPECT_EQ(s.e.FHolder, (TTeamPt{1, 0})) << r.what;
        EXPECT_EQ(s.e.FGoalKind, r.goalKind) << r.what;
        EXPECT_FALSE(s.e.ParryMark);
        EXPECT_EQ(s.e.FLastBallTick, s.e.FTick);
        if (k.Action == acPass) {
            EXPECT_TRUE(k.ActionTarget >= 1 && k.ActionTarget <= 6) << r.what;
        } else {
            EXPECT_NE(s.e.Ball.Angle, 0) << r.what;
        }
        if (std::string(r.what).find("clears") != std::string::npos) {
            EXPECT_NEAR(RadToDeg(s.e.Ball.Angle), 150, 1e-6);
            EXPECT_EQ(s.e.Ball.Speed, 10);
            EXPECT_FALSE(s.e.FFreeKickGoal);
        }
    }
}

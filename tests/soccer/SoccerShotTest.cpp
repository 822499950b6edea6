// Shots: lanes with placed opponents, shot chances, the long loop-shot decision, the aim in the goal
// mouth, the shot from close in and the kick-out that replaces a shot with no lane.
#include "SoccerScene.h"
#include <gtest/gtest.h>

using namespace soccer;

namespace {

// Team 0's player p with the ball at (x, y); the opposing keeper far below his goal.
void Shooter(SoccerScene& s, int p, int x, int y)
{
    s.place(0, p, x, y);
    s.ball(x + 2, y);
    s.place(1, 0, 746, 500);
    s.e.FHolder = {0, p};
    s.refresh();
}

} // namespace

TEST(SoccerShot, LanesWithPlacedOpponents)
{
    enum { none, keeperMiddle, defender, lineFlag, tightAngle, theyHold };
    struct Row {
        const char* what;
        int state, player;
        bool fromHead;
        int kind, lanes, score;
    };
    const Row rows[] = {
        {"an open goal", none, 6, false, 8, 15, 7},
        {"the keeper in the middle", keeperMiddle, 6, false, 8, 13, 3},
        {"a defender in the upper lane", defender, 6, false, 8, 6, 3},
        {"a header sees the keeper only", defender, 6, true, 0, 15, 7},
        {"so does a loop shot", defender, 6, false, 7, 15, 7},
        {"a back has lanes but no score", none, 2, false, 8, 15, 0},
        {"the team without the ball has none", theyHold, 6, false, 8, 0, 0},
        {"a ball on a line closes lane 8", lineFlag, 6, false, 8, 7, 6},
        {"the near post hides the upper lane from a tight angle", tightAngle, 6, false, 8, 14, 4},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        Shooter(s, r.player, r.state == tightAngle ? 735 : 600, r.state == tightAngle ? 250 : 335);
        if (r.state == keeperMiddle) s.place(1, 0, 746, 335);
        if (r.state == defender) s.place(1, 2, 700, 318);
        if (r.state == theyHold) s.e.FHolder = {1, 4};
        s.refresh();
        if (r.state == lineFlag) s.e.Ball.OutFlags = 8;
        s.e.EvaluateShotLanes(0, r.player, r.fromHead, r.kind);
        EXPECT_EQ(s.e.FPlayers[0][r.player].LaneFlags & 15, r.lanes) << r.what;
        EXPECT_EQ(s.e.FPlayers[0][r.player].LaneFlags >> 8, r.score) << r.what;
    }
}

TEST(SoccerShot, ShotChanceNeedsLanesAndDistance)
{
    struct Row {
        int score, goalDist, sinceRestart;
        bool chance;
    };
    const Row rows[] = {{4, 285, 100, true}, {4, 286, 100, false}, {1, 225, 100, true}, {1, 226, 100, false},
                        {3, 230, 100, false}, {0, 100, 100, false}, {7, 100, 20, false}, {7, 100, 21, true}};
    for (const Row& r : rows) {
        SoccerScene s;
        s.e.FPlayers[0][6].LaneFlags = quint16(r.score << 8);
        s.e.FPlayers[0][6].GoalDist = r.goalDist;
        s.e.FRestartTick = s.e.FTick - r.sinceRestart;
        EXPECT_EQ(s.e.IsShotChance(0, 6), r.chance) << r.score << " " << r.goalDist << " " << r.sinceRestart;
    }
}

TEST(SoccerShot, LongLoopShotDecision)
{
    // Player 4 shoots over team 1's keeper; the chance is 20 %; the keeper line is at x 746.
    struct Row {
        const char* what;
        int player, lanes, forwardsScore, keeperX, passes, loopAgo, winner, chanceDraw, lineDraw;
        bool shoots;
    };
    const Row rows[] = {
        {"a keeper off his area, lanes 1 and 2 open", 4, 3, 0, 700, 0, 100, -1, 0, 0, true},
        {"the keeper never", 0, 3, 0, 700, 0, 100, -1, 0, 0, false},
        {"the chance draw fails", 4, 3, 0, 700, 0, 100, -1, 25, 0, false},
        {"the forwards' lanes are all open", 4, 3, 2, 700, 0, 100, -1, 0, 0, false},
        {"within 30 ticks of the last loop shot", 4, 3, 0, 700, 0, 30, -1, 0, 0, false},
        {"a winner exists", 4, 3, 0, 700, 0, 100, 1, 0, 0, false},
        {"only the middle lane and no passes", 4, 2, 0, 700, 0, 100, -1, 0, 0, false},
        {"after two passes, 26 px off his line", 4, 2, 0, 720, 2, 100, -1, 0, 26, true},
        {"the same with a longer draw", 4, 2, 0, 720, 2, 100, -1, 0, 27, false},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        s.e.FHolder = {0, r.player};
        s.e.FShotChance[0] = 20;
        s.e.FPlayers[1][0].X = r.keeperX;
        for (int q = 4; q < 7; ++q) s.e.FPlayers[0][q].LaneFlags = quint16(r.forwardsScore << 8);
        s.e.FPlayers[0][r.player].LaneFlags = quint16(r.forwardsScore << 8 | r.lanes);
        s.e.FMovePasses = r.passes;
        s.e.FLastLoopTick = s.e.FTick - r.loopAgo;
        s.e.FWinner = r.winner;
        s.answers = {r.chanceDraw, r.lineDraw};
        EXPECT_EQ(s.e.DecideShoot(0, r.player), r.shoots) << r.what;
    }
}

TEST(SoccerShot, AimInTheGoalMouth)
{
    struct Row {
        int lanes;
        bool heading;
        int coin, kind, y;
    };
    // The second draw is 5 throughout; the goal's aiming point is (767, 335).
    const Row rows[] = {
        {4, false, 1, 3, 364}, {1, false, 1, 1, 306}, {1, true, 1, 3, 340}, {2, false, 1, 2, 338}, {0, false, 1, 3, 364},
        {5, false, 0, 1, 306}, {4, false, 0, 3, 364}, {4, true, 0, 1, 330}, {2, false, 0, 2, 332},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        s.e.FPlayers[0][6].LaneFlags = quint16(r.lanes);
        s.e.FPlayers[0][6].HeaderCount = r.heading ? 5 : 0;
        s.answers = {r.coin, 5};
        EXPECT_EQ(s.e.ChooseShotAim(0, 6), r.kind) << r.lanes << r.heading << r.coin;
        EXPECT_EQ(s.e.FShotAim, QPoint(767, r.y)) << r.lanes << r.heading << r.coin;
    }
}

TEST(SoccerShot, CloseInEveryPlayerShoots)
{
    for (int draw : {10, 30}) {
        SoccerScene s;
        Shooter(s, 4, 670, 310);
        s.e.Ball.Free = true; // it rolled to a stop at his feet
        s.e.FShotChance[0] = 20;
        s.answers = {draw};
        ASSERT_TRUE(s.e.DecideAtBall(0));
        const TSoccerPlayer& pl = s.e.FPlayers[0][4];
        EXPECT_EQ(pl.Action, acShoot);
        EXPECT_EQ(pl.ActionTarget, 0);
        EXPECT_EQ(pl.ActionParam, draw < 20 ? 7 : 1);
        // Carried out on the next tick: a hard shot from close in is marked for the keeper to parry.
        // He took the ball from the other team; the shot is his team's, and a fresh flight.
        s.e.FTick += 1;
        s.e.FHolder = {1, 3};
        s.e.Ball.PostHit = true;
        s.answers = {1, 0, 1, 1};
        s.e.PlayerThink(0, 4);
        EXPECT_EQ(s.e.FHolder, (TTeamPt{0, 4}));
        EXPECT_FALSE(s.e.Ball.PostHit);
        EXPECT_EQ(s.e.FStats[0][stShots], 1);
        EXPECT_EQ(s.e.FShotKind, 0);
        EXPECT_EQ(s.e.FReceiver, (TTeamPt{0, 0}));
        EXPECT_EQ(s.e.FLoopShot[0], draw < 20);
        EXPECT_EQ(s.e.ParryMark, draw >= 20);
        EXPECT_EQ(s.e.FPlayers[0][4].Action, acNone);
    }
}

TEST(SoccerShot, KickOutWithoutALane)
{
    // Centre back 2 at (420, 335) has no lane score; opponents at a and b decide where the ball goes.
    struct Row {
        const char* what;
        QPoint a, b;
        int speed, deg;
    };
    const QPoint away(150, 565);
    const Row rows[] = {
        {"open ahead", away, away, 6, -15},
        {"blocked ahead, free below", {480, 320}, away, 5, -75},
        {"boxed in ahead and further below: down and back", {480, 320}, {410, 380}, 5, -120},
        {"boxed in ahead and close below: back across", {480, 320}, {410, 350}, 6, 180},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        s.place(0, 2, 420, 335);
        s.ball(422, 335);
        s.e.FHolder = {0, 2};
        s.place(1, 2, r.a.x(), r.a.y());
        s.place(1, 3, r.b.x(), r.b.y());
        s.refresh();
        s.e.SetAction(0, 0, 6, -1, acShoot, 2);
        s.e.PlayerThink(0, 2);
        EXPECT_EQ(s.e.Ball.Speed, r.speed) << r.what;
        EXPECT_NEAR(RadToDeg(s.e.Ball.Angle), r.deg, 1e-6) << r.what;
        EXPECT_EQ(s.e.FStats[0][stShots], 0) << r.what;
        EXPECT_EQ(s.e.FGoalKind, 5) << r.what;
    }
}

TEST(SoccerShot, ASideNetEndsAShotsFlight)
{
    SoccerScene s;
    s.ball(770, 285, 6);
    s.e.FShotFlying = s.e.FShotScores = true;
    s.e.FShotType = 7;
    s.e.GoalAndNetTest();
    EXPECT_TRUE(s.e.Ball.PostHit);
    EXPECT_FALSE(s.e.FShotFlying || s.e.FShotScores);
}

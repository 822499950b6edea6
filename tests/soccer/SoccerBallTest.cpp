// The ball's flight, limits and friction; goals, posts and nets; the players' steps, the header jump
// and the celebrations.
#include "SoccerEngine.h"
#include <gtest/gtest.h>
#include <vector>

using namespace soccer;

namespace {

struct Pitch {
    TSoccerEngine e;
    std::vector<TSoccerSound> sounds;
    explicit Pitch(int answer = 0)
    {
        e.Svc.Random = [answer](int n) { return std::min(answer, n - 1); };
        e.Svc.Play = [this](TSoccerSound s, bool) { sounds.push_back(s); return true; };
        e.FLastScorer = {1, -1};
        e.ResetKickOff();
    }
    void ball(int x, int y, int speed, double angle)
    {
        e.Ball.X = x;
        e.Ball.Y = y;
        e.Ball.Speed = speed;
        e.Ball.Angle = angle;
        e.UpdateBallRegion();
    }
};

} // namespace

TEST(SoccerBall, FrictionFromSpeed21)
{
    Pitch p;
    p.ball(200, 335, 21, 0);
    const int expected[] = {18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 9, 8, 8, 7};
    int x = 200;
    for (int i = 0; i < 14; ++i) {
        p.e.FTick = i + 1;
        const int before = p.e.Ball.Speed;
        p.e.MoveBall();
        x += before;
        EXPECT_EQ(p.e.Ball.X, x);
        EXPECT_EQ(p.e.Ball.Speed, expected[i]) << "tick " << i + 1;
    }
}

TEST(SoccerBall, LinesStopTheBallAndSetItsOutFlag)
{
    struct Row {
        const char* what;
        int x, y, speed;
        double angle;
        bool nearestInReach;
        int endX, endY, flags, height;
    };
    // A ball that meets a line drops to the ground; in the air it sinks one step a tick.
    const Row rows[] = {
        {"left goal line", 110, 200, 10, kPi, false, 102, 200, 1, 0},
        {"inside the left mouth", 110, 335, 10, kPi, false, 100, 335, 0, 1},
        {"right goal line", 750, 450, 20, 0, false, 761, 450, 2, 0},
        {"top touchline", 300, 135, 10, kPi / 2, false, 300, 130, 4, 0},
        {"bottom touchline", 300, 535, 10, -kPi / 2, false, 300, 540, 8, 0},
        {"a player at the ball keeps it in play", 110, 200, 10, kPi, true, 102, 200, 0, 0},
    };
    for (const Row& r : rows) {
        Pitch p;
        p.ball(r.x, r.y, r.speed, r.angle);
        p.e.Ball.Height = 2;
        if (r.nearestInReach) {
            p.e.FPlayers[0][3].X = 102;
            p.e.FPlayers[0][3].Y = 200;
            p.e.SetReachRect(0, 3);
            p.e.FNearest = {0, 3};
        }
        p.e.MoveBall();
        EXPECT_EQ(QPoint(p.e.Ball.X, p.e.Ball.Y), QPoint(r.endX, r.endY)) << r.what;
        EXPECT_EQ(p.e.Ball.OutFlags, r.flags) << r.what;
        EXPECT_EQ(p.e.Ball.Height, r.height) << r.what;
    }
}

TEST(SoccerBall, ShotsHeaderShotsAndTheKeepersHands)
{
    Pitch p;
    // A shot never stops before its flight ends: 2, or 5 while it is to score.
    p.ball(400, 335, 1, 0);
    p.e.FShotKind = 0;
    p.e.FTick = 2;
    p.e.MoveBall();
    EXPECT_EQ(p.e.Ball.Speed, 2);
    p.e.FShotFlying = p.e.FShotScores = true;
    p.e.FShotType = 2;
    p.e.MoveBall();
    EXPECT_EQ(p.e.Ball.Speed, 5);
    EXPECT_EQ(p.e.Ball.Height, 1);

    // A header shot's ball loses 2 a tick and passes no line.
    Pitch h;
    h.ball(110, 200, 10, kPi);
    h.e.FHeadShot = {0, 6};
    h.e.MoveBall();
    EXPECT_EQ(QPoint(h.e.Ball.X, h.e.Ball.Y), QPoint(100, 200));
    EXPECT_EQ(h.e.Ball.Speed, 8);
    EXPECT_EQ(h.e.Ball.OutFlags, 0);

    // A keeper who holds the ball carries it in his hands.
    Pitch k;
    k.ball(400, 335, 5, 0);
    k.e.KeeperHold[1] = 2;
    k.e.MoveBall();
    EXPECT_EQ(QPoint(k.e.Ball.X, k.e.Ball.Y), QPoint(746 - 4, 335 - 2));
    EXPECT_EQ(k.e.KeeperHold[1], 1);
}

TEST(SoccerBall, GoalPostAndSideNet)
{
    // In the mouth: a goal for the team attacking it; within 7 px of a post (both edges of both
    // bands) off the post, its net shaking on the post's side.
    struct Row {
        int x, y;
        bool goal;
        int netAnim;
    };
    const Row rows[] = {{80, 335, true, 0},   {80, 301, false, 11}, {80, 302, true, 0},   {80, 368, true, 0},
                        {80, 369, false, 10}, {780, 369, false, 10}, {780, 368, true, 0}, {780, 301, false, 11}};
    for (const Row& r : rows) {
        Pitch g;
        g.ball(r.x, r.y, 10, r.x < 400 ? kPi : 0);
        g.e.GoalAndNetTest();
        const int scorer = r.x < 400 ? 1 : 0;
        EXPECT_EQ(g.e.FStats[scorer][stGoals], r.goal ? 1 : 0) << r.x << "," << r.y;
        EXPECT_EQ(g.e.FGoalTick, r.goal ? 0 : -1) << r.x << "," << r.y;
        EXPECT_EQ(g.e.Ball.PostHit, !r.goal) << r.x << "," << r.y;
        EXPECT_EQ(g.e.NetAnim[1 - scorer], r.netAnim) << r.x << "," << r.y;
    }

    // Off the post towards the middle of the back line, once.
    Pitch p;
    p.ball(80, 298, 10, kPi);
    p.e.GoalAndNetTest();
    EXPECT_EQ(p.e.FStats[1][stGoals], 0);
    EXPECT_TRUE(p.e.Ball.PostHit);
    EXPECT_NEAR(p.e.Ball.Angle, PointAngle({80, 298}, {68, 335}), 1e-9);
    EXPECT_EQ(p.e.NetAnim[0], 11);
    EXPECT_EQ(p.sounds, std::vector<TSoccerSound>{TSoccerSound::GoalPost});
    p.e.Ball.Angle = 1;
    p.e.GoalAndNetTest();
    EXPECT_EQ(p.e.Ball.Angle, 1); // already off the post
    p.ball(82, 335, 5, -1.9);
    p.e.GoalAndNetTest();
    EXPECT_EQ(p.e.FStats[1][stGoals], 1); // reaches the middle: a goal

    // The side net sends the ball back out, mirrored, at speed 2 or more.
    Pitch n;
    n.ball(98, 295, 30, 2.5);
    n.e.GoalAndNetTest();
    EXPECT_NEAR(n.e.Ball.Angle, kPi - 2.5, 1e-9);
    EXPECT_EQ(n.e.Ball.Speed, 2);
    EXPECT_TRUE(n.e.Ball.PostHit);
    EXPECT_EQ(n.e.FStats[1][stPostHits], 1);
    EXPECT_FALSE(n.e.FHolder.Set());
}

TEST(SoccerBall, GoalLabels)
{
    struct Row {
        int kind, holder;
        bool freeKick;
        const char* label;
        int stat;
    };
    const Row rows[] = {
        {0, 1, false, "○ 93:30", -1},       {0, 0, false, "○ 93:30X", -1},
        {1, 1, false, "○ 93:30H", stHeadingGoals}, {2, 0, false, "○ 93:30H", stHeadingGoals},
        {4, 1, true, "○f93:30P", stPenaltyGoals},  {5, 1, false, "○ 93:30K", -1},
        {8, 1, false, "○ 93:30L", stLoopGoals},    {3, 0, false, "○ 93:30", -1},
        {6, 0, false, "○ 93:30", -1},
    };
    for (const Row& r : rows) {
        Pitch p;
        p.e.FClock = 93 * 60 + 30;
        p.e.FGoalKind = r.kind;
        p.e.FHolder = {r.holder, 5};
        p.e.FFreeKickGoal = r.freeKick;
        p.ball(80, 335, 10, kPi);
        p.e.GoalAndNetTest();
        ASSERT_EQ(p.e.FGoalLabels.size(), 1u);
        EXPECT_EQ(p.e.FGoalLabels[0], QString::fromUtf8(r.label)) << r.kind;
        if (r.stat >= 0) {
            EXPECT_EQ(p.e.FStats[1][r.stat], 1) << r.kind;
        }
        EXPECT_EQ(p.e.FGoalTime, 5610);
        EXPECT_EQ(p.e.FGoalKind, 0);
    }
    Pitch p;
    p.ball(780, 335, 10, 0);
    p.e.FHolder = {0, 6};
    p.e.GoalAndNetTest();
    EXPECT_EQ(p.e.FGoalLabels[0].left(1), QStringLiteral("●"));
}

TEST(SoccerBall, StepsDashSlowAndHeaderLeap)
{
    // Midfielder 5 runs left along his row towards his cell point (the jitter answers -5).
    struct Row {
        bool dash, slow;
        int step;
    };
    for (const Row& r : {Row{false, false, 3}, Row{true, false, 4}, Row{false, true, 2}}) {
        Pitch p;
        TSoccerPlayer& pl = p.e.FPlayers[0][5];
        pl.X = 600;
        pl.Y = GridPoint(false, pl.CurCell).y() - 5;
        p.e.SortTeams();
        if (r.dash) p.e.FDasher = {0, 5};
        pl.IsSlow = r.slow;
        p.e.MovePlayer(0, 5);
        EXPECT_EQ(pl.X, 600 - r.step);
        EXPECT_EQ(pl.View & 1, 1); // moving pose
    }
    Pitch p;
    TSoccerPlayer& pl = p.e.FPlayers[1][4];
    p.e.FHeader = {1, 4};
    pl.HeaderCount = 9;
    const int x0 = pl.X;
    for (int i = 0; i < 9; ++i) p.e.MovePlayer(1, 4);
    EXPECT_EQ(pl.X, x0 - 9 * 12);
    EXPECT_FALSE(p.e.FHeader.Set());
    EXPECT_EQ(pl.HeaderCount, 0);
}

TEST(SoccerBall, CelebrationWithoutAScorerAndTheSlide)
{
    // A goal with no shot since the kick-off: nobody is picked to celebrate, and nothing else is hit.
    Pitch p;
    p.ball(80, 335, 10, kPi);
    p.e.GoalAndNetTest();
    ASSERT_EQ(p.e.FLastScorer, (TTeamPt{1, -1}));
    for (int i = 0; i < 3; ++i) p.e.Tick();
    for (int t = 0; t < 2; ++t)
        for (int q = 0; q < 7; ++q) EXPECT_EQ(p.e.FPlayers[t][q].Celebration, 0);

    // The scorer runs to the halfway line and slides back towards his own end; the others stand.
    Pitch s(2);
    s.ball(80, 335, 10, kPi);
    s.e.FLastScorer.player = 6;
    s.e.GoalAndNetTest();
    TSoccerPlayer& scorer = s.e.FPlayers[1][6];
    for (int i = 0; i < 2; ++i) s.e.Tick();
    ASSERT_EQ(scorer.Celebration, 3);
    int slideFrom = -1;
    for (int i = 2; i < 59; ++i) {
        s.e.Tick();
        if (slideFrom < 0 && scorer.CelebrationCount >= 100) slideFrom = scorer.X;
    }
    ASSERT_GE(slideFrom, 0);
    EXPECT_GT(scorer.X, slideFrom);
    EXPECT_EQ(s.e.FPlayers[0][3].Speed, 0);
    EXPECT_EQ(s.e.FGoalTick, 59);
}

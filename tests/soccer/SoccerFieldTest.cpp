// The soccer field, the grid, the kick-off and repositioning, kicks, receivers and the shot chance.
#include "SoccerHarness.h"
#include "SoccerScene.h"
#include <functional>
#include <gtest/gtest.h>
#include <set>

using namespace soccer;

namespace {

// An engine whose random service always answers 0, with players placed by hand.
struct Scene {
    TSoccerEngine e;
    Scene()
    {
        e.Svc.Random = [](int) { return 0; };
        e.FLastScorer = {1, -1};
        e.ResetKickOff();
    }
    void place(int t, int p, int x, int y)
    {
        e.FPlayers[t][p].X = x;
        e.FPlayers[t][p].Y = y;
    }
    void ball(int x, int y)
    {
        e.Ball.X = x;
        e.Ball.Y = y;
        for (int t = 0; t < 2; ++t) e.Ball.GoalDist[t] = e.GoalDistance(t, x, y);
    }
    // Contact rectangles, distances and the team lists after a change of places.
    void refresh()
    {
        UpdateContacts(e);
        e.SortTeams();
    }
};

} // namespace

TEST(SoccerField, GridMirrorsForTeamOne)
{
    EXPECT_EQ(FieldPt(0, 0), QPoint(116, 160));
    EXPECT_EQ(FieldPt(13, 12), QPoint(746, 510));
    EXPECT_EQ(FieldPt(4, 6), QPoint(276, 335));
    EXPECT_EQ(FieldPt(7, 10), QPoint(476, 465));
    EXPECT_EQ(GridPoint(true, {2, 3}), QPoint(676, 230));
    EXPECT_EQ(GridPoint(false, {2, 3}), QPoint(186, 230));
    for (int c = 0; c < kCols; ++c) EXPECT_EQ(FieldPt(c, 5).x() + FieldPt(kCols - 1 - c, 5).x(), 862);
    EXPECT_EQ(CentrePt, QPoint(431, 335));
}

TEST(SoccerField, RegionEdgePoints)
{
    struct Row {
        const char* what;
        std::function<bool(int, int)> hit;
        int x, y;
        bool inside;
    };
    const Row rows[] = {
        {"goal mouth left edge", [](int x, int y) { return GoalRt[0].Contains(x, y); }, 68, 295, true},
        {"goal mouth right edge", [](int x, int y) { return GoalRt[0].Contains(x, y); }, 102, 300, false},
        {"goal mouth bottom edge", [](int x, int y) { return GoalRt[1].Contains(x, y); }, 780, 375, false},
        {"penalty area corner", [](int x, int y) { return PenaltyRt[0].Contains(x, y); }, 249, 474, true},
        {"penalty area right edge", [](int x, int y) { return PenaltyRt[0].Contains(x, y); }, 250, 300, false},
        {"left goal inside", [](int x, int y) { return GoalRgn[0].Contains(x, y); }, 95, 335, true},
        {"left goal behind its line", [](int x, int y) { return GoalRgn[0].Contains(x, y); }, 96, 335, false},
        {"left goal slanted top", [](int x, int y) { return GoalRgn[0].Contains(x, y); }, 90, 297, false},
        {"right goal inside", [](int x, int y) { return GoalRgn[1].Contains(x, y); }, 767, 335, true},
        {"left side net", [](int x, int y) { return NetRgn[0][0].Contains(x, y); }, 98, 295, true},
        {"left side net's slant", [](int x, int y) { return NetRgn[0][0].Contains(x, y); }, 98, 297, false},
        {"right lower net", [](int x, int y) { return NetRgn[1][1].Contains(x, y); }, 770, 390, true},
        {"ellipse centre", [](int x, int y) { return EllipseContains({0, 0, 100, 60}, x, y); }, 50, 30, true},
        {"ellipse box corner", [](int x, int y) { return EllipseContains({0, 0, 100, 60}, x, y); }, 2, 2, false},
    };
    for (const Row& r : rows) EXPECT_EQ(r.hit(r.x, r.y), r.inside) << r.what;

    const TPolygon tri = Triangle({0, 0}, {100, 0}, {0, 100});
    EXPECT_TRUE(tri.Touches({40, 40, 60, 60}));
    EXPECT_FALSE(tri.Touches({60, 60, 80, 80}));
    EXPECT_FALSE(tri.Touches({-20, 10, -1, 20}));
}

TEST(SoccerField, MathHelpersRoundHalvesToEven)
{
    EXPECT_EQ(PolarPoint(2.5, 0), QPoint(2, 0));
    EXPECT_EQ(PolarPoint(3.5, 0), QPoint(4, 0));
    EXPECT_EQ(PolarPoint(10, kPi / 2), QPoint(0, -10)); // up on screen
    EXPECT_EQ(LinearMap(0, 0, 1, 5, 2), 2);              // 0 - Round(-2.5)
    EXPECT_EQ(LinearMap(4, 7, 9, 1, 4), 7);              // a vertical line keeps B
    EXPECT_EQ(LinearMap(300, 200, 116, 335, 96), 322); // where a shot's line crosses the keeper's
    EXPECT_EQ(PointDistance({0, 0}, {3, 4}), 5);
    EXPECT_NEAR(PointAngle({0, 0}, {0, -10}), kPi / 2, 1e-9);
    EXPECT_EQ(WeightedPoint(0, 10, 3, 1), 2);
    EXPECT_EQ(WeightedPoint(5, 9, 0, 0), 5);
    EXPECT_EQ(StepPoint({100, 100}, kPi, 5), QPoint(95, 100));
    // A draw over an empty range never reaches the service.
    TSoccerEngine e;
    e.Svc.Random = [](int n) { return 100 / n; };
    EXPECT_EQ(e.RandomInt(0), 0);
    EXPECT_EQ(e.RandomInt(4), 3); // an answer out of range is held to it
}

TEST(SoccerField, KickOffPlacesBothTeams)
{
    Scene s;
    TSoccerEngine& e = s.e;
    // Team 1 scored last: team 0 kicks off with its forward beside the ball.
    EXPECT_EQ(e.FHolder, (TTeamPt{0, 6}));
    EXPECT_EQ(QPoint(e.FPlayers[0][6].X, e.FPlayers[0][6].Y), QPoint(431 - 15, 325));
    EXPECT_EQ(e.FPlayers[1][0].X, 746);
    EXPECT_EQ(e.FPlayers[1][1].X, 676); // cell (2, 3) mirrored
    EXPECT_EQ(e.FPlayers[1][1].Y, 230);
    // Attack side 0: in the kicking team player 5 keeps his row, player 4 steps up a row; the
    // kicking team's midfielders stand a column forward.
    EXPECT_EQ(e.FPlayers[0][4].Y, FieldPt(4, 4).y());
    EXPECT_EQ(e.FPlayers[0][5].Y, FieldPt(4, 7).y());
    EXPECT_EQ(e.FPlayers[0][4].X, FieldPt(5, 0).x());
    EXPECT_EQ(e.FPlayers[1][5].Y, FieldPt(4, 8).y());
    EXPECT_EQ(e.FPlayers[1][4].X, FieldPt(9, 0).x());
    EXPECT_EQ(e.KeeperLineX[1], 746);
    EXPECT_TRUE(e.KickOffPass);
    EXPECT_EQ(e.FLastScorer, TTeamPt{});

    // The ball's region: a circle round the still ball, a box reaching 70 px ahead of a moving one.
    EXPECT_TRUE(e.Ball.AroundRgn.Touches(TRect{431 + 45, 335, 431 + 46, 336}));
    EXPECT_FALSE(e.Ball.AroundRgn.Touches(TRect{431 + 40, 335 + 40, 431 + 41, 335 + 41}));
    e.Ball.Speed = 5;
    e.Ball.Angle = kPi;
    e.UpdateBallRegion();
    EXPECT_EQ(e.Ball.AroundRgn.Box, (TRect{431 - 70, 295, 441, 375}));
}

TEST(SoccerField, PlaceDefenceKeepsCellsApartOverManySeeds)
{
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        SoccerHarness h(seed);
        TSoccerEngine& e = h.e;
        e.FLastScorer = {int(seed % 2), -1};
        e.ResetKickOff();
        e.FCornerPlay = seed % 3 == 0;
        e.Ball.Y = 150 + int(seed % 7) * 60;
        for (int kind : {-1, 2, 3, 5}) {
            e.PlaceDefence(0, kind);
            e.PlaceDefence(1, kind);
            for (int slot = 0; slot < 2; ++slot) {
                auto cell = [&](int t, int p) {
                    return slot == 0 ? e.FPlayers[t][p].HomeCell : e.FPlayers[t][p].AttackCell;
                };
                for (int t = 0; t < 2; ++t)
                    for (int p = 0; p < 7; ++p) {
                        const QPoint c = cell(t, p);
                        ASSERT_TRUE(c.x() >= 0 && c.x() < kCols && c.y() >= 0 && c.y() < kRows);
                        for (int q = 0; q < p; ++q) {
                            EXPECT_NE(cell(t, q), c) << "seed " << seed << " slot " << slot;
                            if (t == 1) {
                                EXPECT_NE(QPoint(kCols - 1 - cell(0, q).x(), cell(0, q).y()), c);
                            }
                        }
                    }
            }
            for (int p = 1; p <= 6; ++p) {
                if (kind == 2 || kind == 3) {
                    EXPECT_EQ(e.FTactic[1].RndDefensePos[p], kind == 3);
                }
            }
            EXPECT_TRUE(e.FTactic[0].Weakness >= 1 && e.FTactic[0].Weakness <= 6);
        }
    }
}

TEST(SoccerField, PlaceDefenceGivesUpAfterAThousandDraws)
{
    // A generator stuck on one answer keeps drawing the cell that team 0's keeper holds mirrored;
    // the team is still placed, with the last draw.
    TSoccerEngine e;
    long long calls = 0;
    e.Svc.Random = [&](int) { ++calls; return 0; };
    e.ResetKickOff();
    e.FPlayers[0][0].HomeCell = {12, 4};
    calls = 0;
    e.PlaceDefence(1, -1);
    EXPECT_GE(calls, 2000);
    EXPECT_LT(calls, 2100);
    EXPECT_EQ(e.FPlayers[1][1].HomeCell, QPoint(1, 4));
}

TEST(SoccerField, KickBallSpeedByDistance)
{
    struct Row {
        int action, dx, dy;
        bool full, power, corner;
        int speed;
    };
    // Steps by distance: 17 for 100 px, 22 for 250 px, 25 for 500 px; then the distance term, the
    // kind's addition (the random draws answer 0) and one step less for a nearly vertical kick.
    const Row rows[] = {
        {acPass, 0, 0, false, false, false, 1 + 2},
        {acPass, 100, 0, false, false, false, 12 + 2},
        {acPass, 100, 0, true, false, false, 12 + 4},
        {acPass, 250, 0, false, false, false, 26 + 2},
        {acPass, -500, 0, false, false, false, 44 + 2},
        {acPass, 0, -100, false, false, false, 11 + 2},
        {acShoot, 100, 0, false, true, false, 12 + 3},
        {acShoot, 100, 0, false, false, false, 12 + 5},
        {acShoot, 100, 0, false, false, true, 12 + 6},
        {acShoot, 300, 0, false, false, false, 30},
    };
    for (const Row& r : rows) {
        Scene s;
        s.e.FCornerPlay = r.corner;
        ASSERT_TRUE(s.e.KickBall(r.full, r.power, r.action, {200 + r.dx, 300 + r.dy}, {200, 300}));
        EXPECT_EQ(s.e.Ball.Speed, r.speed) << r.dx << "," << r.dy << " action " << r.action;
    }
    // A kick along the way the ball already runs only slows it: within 50 degrees for a pass, 20
    // for a shot. Wider, it is a fresh kick over the 100 px.
    struct Turn {
        int action;
        double deg;
        bool kicked;
        int speed;
    };
    const Turn turns[] = {{acPass, 30, false, 4}, {acPass, 60, true, 12 + 2}, {acShoot, 15, false, 4}, {acShoot, 30, true, 12 + 5}};
    for (const Turn& t : turns) {
        Scene s;
        s.e.Ball.Speed = 10;
        s.e.Ball.Angle = 0;
        const QPoint to = QPoint(200, 300) + PolarPoint(100, DegToRad(t.deg));
        EXPECT_EQ(s.e.KickBall(false, false, t.action, to, {200, 300}), t.kicked) << t.deg;
        EXPECT_EQ(s.e.Ball.Speed, t.speed) << t.deg;
    }
}

TEST(SoccerField, PickReceiverRefusals)
{
    // Team 0's midfielder 4 passes from the centre circle; forward 6 is the only team-mate in range.
    auto scene = [](Scene& s) {
        s.ball(405, 335);
        s.place(0, 4, 400, 335);
        s.place(0, 6, 520, 300);
        s.place(0, 5, 760, 540);
        for (int p = 1; p <= 3; ++p) s.place(0, p, 100, 160 + 175 * (p - 1));
        for (int p = 0; p < 7; ++p) s.place(1, p, 750, 150 + 60 * p);
        s.refresh();
    };
    struct Row {
        const char* what;
        std::function<void(Scene&)> change;
        int minRank, exclude, expected;
    };
    const Row rows[] = {
        {"free forward", [](Scene&) {}, 0, 0, 6},
        {"the user chooses", [](Scene& s) { s.e.FAIDecides = false; }, 0, 0, -1},
        {"too close", [](Scene& s) { s.place(0, 6, 430, 335); }, 0, 0, -1},
        {"too far", [](Scene& s) { s.place(0, 6, 720, 200); }, 0, 0, -1},
        {"grade below the minimum", [](Scene& s) { s.e.FPlayers[0][6].LaneFlags = 0x100; }, 3, 0, -1},
        {"grade 2 always passes", [](Scene& s) { s.e.FPlayers[0][6].LaneFlags = 0x200; }, 3, 0, 6},
        {"excluded flags", [](Scene& s) { s.e.FPlayers[0][6].LaneFlags = 8; }, 0, 8, -1},
        {"lane blocked", [](Scene& s) { s.place(1, 3, 462, 318); }, 0, 0, -1},
        {"in his own penalty area", [](Scene& s) { s.place(0, 6, 230, 300); }, 0, 0, -1},
        {"passed the ball to the passer",
         [](Scene& s) { s.e.FPlayers[0][4].PassedFrom = 6; s.e.FLastPassTick = s.e.FTick; }, 0, 0, -1},
        {"runs during a free kick",
         [](Scene& s) { s.e.FPlayers[0][6].RunFlag = true; s.e.FFreeKickTick = 3; }, 0, 0, -1},
    };
    for (const Row& r : rows) {
        Scene s;
        scene(s);
        r.change(s);
        s.refresh();
        r.change(s); // the refresh judges the lanes afresh; the row's flags stand
        EXPECT_EQ(s.e.PickReceiver(0, 0, r.exclude, r.minRank, 0, 6, 4), r.expected) << r.what;
    }
    // Right after a kick a midfielder does not pass back to a back, except in the second round that
    // odd kinds take.
    Scene s;
    scene(s);
    s.e.Svc.Random = [k = 0](int n) mutable { return k++ % n; };
    s.place(0, 6, 760, 100);
    s.place(0, 1, 300, 230);
    s.refresh();
    EXPECT_EQ(s.e.PickReceiver(0, 0, 0, 0, 0, 6, 4), -1);
    EXPECT_EQ(s.e.PickReceiver(1, 0, 0, 0, 0, 6, 4), 1);
}

TEST(SoccerField, RunsAndThroughBalls)
{
    Scene s;
    TSoccerEngine& e = s.e;
    s.ball(500, 335);
    s.place(0, 4, 495, 335);
    s.place(0, 5, 560, 400);
    s.place(0, 6, 680, 390);
    s.place(1, 2, 600, 335);
    e.FLastMan[1] = 2;
    s.refresh();
    e.MarkForwardRuns(0, 4);
    EXPECT_TRUE(e.FPlayers[0][6].RunFlag);   // beyond the last man
    EXPECT_FALSE(e.FPlayers[0][5].RunFlag);  // level with the passer's side of him
    EXPECT_FALSE(e.FPlayers[0][4].RunFlag);
    e.ClearRunFlags(-1);
    EXPECT_EQ(e.FindThroughRunner(0, 4), 6);
    e.FPlayers[0][6].Action = acDribble;
    EXPECT_EQ(e.FindThroughRunner(0, 4), -1);
}

TEST(SoccerField, ShotChance)
{
    Scene s;
    TSoccerEngine& e = s.e;
    e.FTactic[1].Weakness = 3;
    s.ball(200, 335); // team 0's own penalty-area end
    e.ShotChance(0);
    EXPECT_EQ(e.FShotChance[0], 0);
    s.ball(700, 335); // 67 px from the aiming point
    e.ShotChance(0);
    EXPECT_EQ(e.FShotChance[0], (600 - 67) / 50 + 5 + (400 - 67) / 50 + (120 - 67) / 20 + 3);
    e.FChanceOn = false;
    s.ball(500, 335);
    e.ShotChance(0);
    EXPECT_EQ(e.FShotChance[0], 26); // kept
    e.FChanceOn = true;
    e.FTimeState = tsSuddenDeath;
    e.ShotChance(0);
    EXPECT_EQ(e.FShotChance[0], (600 - 267) / 50 + 5 + (400 - 267) / 50 + 3 + 5);
}

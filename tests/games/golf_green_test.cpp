// The green's physics and its solver, without a window.
#include "GolfRules.h"
#include "SeededRandom.h"
#include <cmath>
#include <gtest/gtest.h>

using namespace golf;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A green whose hills lie far off the field, with the cup where asked.
TGreen plainGreen(int cupX, int cupY)
{
    TGreen g;
    g.CupX = cupX;
    g.CupY = cupY;
    g.Hills[0] = {-3000, -3000, 160};
    g.Hills[1] = {3000, -3000, 120};
    return g;
}

TPlayer rolling(double x, double y, double angle, int speed = kPuttSpeed)
{
    TPlayer b;
    b.ExactX = x;
    b.ExactY = y;
    b.x = int(std::nearbyint(x));
    b.y = int(std::nearbyint(y));
    b.Speed = speed;
    b.SetAngle(angle);
    b.State = bsRolling;
    return b;
}

} // namespace

TEST(GolfPhysicsTest, FrictionByWhereTheBallRolls)
{
    const TGreen g = plainGreen(530, 560);
    struct Row {
        const char* where;
        double x, y, angle;
        int loss, steps;
    } rows[] = {{"green", 10, 570, 0.8, 1, 34}, {"rough", 460, 570, kPi / 2, 4, 9}, {"top strip", 20, 10, 0, 2, 17}};
    for (const Row& r : rows) {
        TPlayer b = rolling(r.x, r.y, r.angle);
        int steps = 0;
        while (b.State != bsAtRest && steps < 200) {
            b.Roll(g);
            ++steps;
            EXPECT_EQ(b.Speed, std::max(0, kPuttSpeed - r.loss * steps)) << r.where << " step " << steps;
        }
        EXPECT_EQ(steps, r.steps) << r.where;
    }
}

TEST(GolfPhysicsTest, BallInsideTheRingCannotSkipTheCupAndCirclesOnTheRim)
{
    const TGreen g = plainGreen(300, 300);
    for (int dir = 0; dir < 16; ++dir)
        for (int speed : {34, 20, 8}) {
            // 17 pixels short of the cup, rolling straight through its centre.
            const double a = dir * kPi / 8;
            TPlayer b = rolling(300 - 17 * std::cos(a), 300 + 17 * std::sin(a), a, speed);
            TRollEvents first;
            for (int step = 0; step < 3 && !first.Holed; ++step) b.Roll(g, &first);
            ASSERT_TRUE(first.Holed) << "direction " << dir << " speed " << speed;
            ASSERT_EQ(b.State, bsInCup);
            int rests = 0;
            for (int step = 0; step < 10 && b.Speed > 0; ++step) {
                TRollEvents ev;
                b.Roll(g, &ev);
                rests += ev.RestInCup;
                EXPECT_LE(b.Speed, 4);
                EXPECT_EQ(b.State, bsInCup);
                EXPECT_LE(std::hypot(b.ExactX - 300, b.ExactY - 300), kCupRadius + 0.71);
            }
            EXPECT_EQ(b.Speed, 0);
            EXPECT_EQ(rests, 1);
        }
}

TEST(GolfPhysicsTest, SlopePushFollowsTheDistanceFromTheTopAndAFlatHillIsNotFelt)
{
    struct Row {
        int radius, dx, dy, wedge, push;
    } rows[] = {
        {160, 5, 0, 0, 0},     {160, 0, -10, 3, 1},  {160, -25, 0, 6, 2}, {160, 0, 39, 9, 3},
        {160, 40, 0, 0, 4},    {160, 0, -79, 3, 4},  {160, 80, 0, 0, 3},  {160, -119, 0, 6, 3},
        {160, 120, 0, 0, 2},   {160, 159, 0, 0, 2},  {160, 128, -96, 1, 1}, // on the rim, between axes
        {120, 0, 119, 9, 3},   {120, -120, 0, 6, 2},
    };
    for (const Row& r : rows) {
        TGreen g = plainGreen(530, 560);
        g.Hills[1] = {250, 300, r.radius};
        TPlayer onHill = rolling(250 + r.dx, 300 + r.dy, 0.3, 20), flat = onHill;
        EXPECT_TRUE(onHill.Roll(g)) << r.dx << "," << r.dy;
        g.FFlatHill = 1;
        TPlayer none = flat;
        EXPECT_FALSE(flat.Roll(g));
        none.Roll(plainGreen(530, 560));
        EXPECT_TRUE(flat.ExactX == none.ExactX && flat.ExactY == none.ExactY) << "a flat hill is not felt";
        const double a = r.wedge * kPi / 6;
        EXPECT_NEAR(onHill.ExactX - flat.ExactX, r.push * std::cos(a), 1e-9) << r.dx << "," << r.dy;
        EXPECT_NEAR(onHill.ExactY - flat.ExactY, -r.push * std::sin(a), 1e-9) << r.dx << "," << r.dy;
    }
}

TEST(GolfSolverTest, AimingAtAnySolutionHolesTheBall)
{
    int flattened = 0;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        TSeededRandom rnd(seed);
        TGolfMatch m;
        m.Random = std::ref(rnd);
        m.Start();
        m.FTurnTeam = 0;
        m.BeginPlay();
        flattened += m.Green.FFlatHill >= 0;
        for (int aim : m.Green.FSolutions) {
            if (aim == m.Green.CupX && !m.Green.Holes(aim)) continue; // the cup's x joined as a landmark
            TGolfMatch putt = m;
            putt.MouseDown(aim, 300);
            putt.MouseUp(aim, putt.Green.CupY);
            for (int t = 0; t < 100 && putt.FEndCount < 0; ++t) putt.Tick();
            EXPECT_EQ(putt.FHolesWon[0], 1) << "seed " << seed << " aim " << aim;
        }
    }
    EXPECT_GT(flattened, 0);
}

TEST(GolfSolverTest, OnAStraightGreenTheComputerHolesInOne)
{
    int straight = 0;
    for (std::uint32_t seed = 1; straight < 5 && seed < 400; ++seed) {
        TSeededRandom rnd(seed);
        TGolfMatch m;
        m.Random = std::ref(rnd);
        m.Start();
        m.FTurnTeam = 1;
        m.BeginPlay();
        if (!m.Green.FStraightFound) continue;
        ++straight;
        for (int t = 0; t < 300 && m.FEndCount < 0; ++t) m.Tick();
        EXPECT_EQ(m.FHolesWon[1], 1) << "seed " << seed;
        EXPECT_EQ(m.FPuttNo, 1);
    }
    EXPECT_EQ(straight, 5);
}

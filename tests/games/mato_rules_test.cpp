// The rules of the target kick, ticked without a window: hit boxes, misses, the decision with its
// sudden death, the kickers, auto-progress, the computer's timing, and a soak of seeded games.
#include "GameRandom.h"
#include "MatoRules.h"
#include <gtest/gtest.h>
#include <vector>

using namespace mato;

namespace {

struct Harness {
    TMatoGame g;
    std::vector<TMatoSound> sounds;
    bool autoOn = false;
    bool cheerRefused = false; // another sound still holds the channel
    int draws = 0;
    explicit Harness(int runtime = 0)
    {
        g.RuntimeRandom = [runtime](int n) { return runtime % n; };
        g.Sound = [this](TMatoSound s) {
            sounds.push_back(s);
            return !(s == TMatoSound::Cheer && cheerRefused);
        };
        g.AutoOn = [this] { return autoOn; };
        g.Draw = [this] { ++draws; };
        g.Start();
    }
    int count(TMatoSound s) const { return int(std::count(sounds.begin(), sounds.end(), s)); }
};

// Parks a target where the next step brings its hit box over the line point.
void targetOnTheLineNextTick(TMato& t, int kind)
{
    t.Kind = kind;
    t.Speed = 5;
    t.X = 227;
    t.Y = 33;
    t.State = msMoving;
}

// Puts a team's ball at the line, where its next step keeps it there.
void ballAtTheLine(TMatoGame& g, int team, int kicker)
{
    mato::TPlayer& b = g.Balls[team][kicker];
    b.X = team == 0 ? 234 : 256;
    b.Y = 92;
    b.State = bsAtLine;
}

TEST(MatoRules, HitBoxOfEachKindCoversItsFaceAboveTheBottom)
{
    struct Row {
        int kind, size;
    };
    for (const Row r : {Row{0, 20}, Row{1, 30}, Row{2, 40}, Row{3, 20}}) {
        const TBox b = TMato::HitBoxAt(100, 33, r.kind);
        EXPECT_EQ(b.Right - b.Left, r.size) << r.kind;
        EXPECT_EQ(b.Bottom - b.Top, r.size) << r.kind;
        EXPECT_EQ(b.Bottom, 33 + 70) << r.kind;
        EXPECT_EQ(b.Left + b.Right, 2 * 100 + 46) << "centred on the string, kind " << r.kind;
    }
    // A ball's box is 60 x 60 from 20 up and left of it; right and bottom edges are outside.
    mato::TPlayer ball;
    ball.Place(kLineX - 39, kLineY - 39, 0, 0, 0, 0);
    EXPECT_TRUE(ball.AtLine());
    ball.Place(kLineX - 40, kLineY, 0, 0, 0, 0);
    EXPECT_FALSE(ball.AtLine());
    ball.Place(kLineX + 20, kLineY + 20, 0, 0, 0, 0);
    EXPECT_TRUE(ball.AtLine());
    ball.Place(kLineX + 21, kLineY, 0, 0, 0, 0);
    EXPECT_FALSE(ball.AtLine());
}

TEST(MatoRules, AMissCostsTwoAndScoresGoBelowZero)
{
    Harness h;
    // The first target sets off from the far right: the ball reaches the point long before it.
    for (int miss = 1; miss <= 2; ++miss) {
        ASSERT_TRUE(h.g.UserKick());
        int ticks = 0;
        while (h.g.Balls[0][0].State != bsResting && ticks < 100) {
            h.g.Step();
            ++ticks;
        }
        ASSERT_LT(ticks, 100) << "the ball comes back";
        EXPECT_EQ(h.g.Score[0], -2 * miss);
    }
    EXPECT_EQ(h.count(TMatoSound::Tackle), 0);
    EXPECT_EQ(h.count(TMatoSound::Kick), 2);
    EXPECT_FALSE(h.g.Decided());
}

TEST(MatoRules, TheDecisionFromBothScores)
{
    struct Row {
        int mine, aite, winPoint, winner;
    };
    const Row rows[] = {
        {9, 9, 10, -1},  {10, 9, 10, 0},  {9, 10, 10, 1},   {10, 10, 10, -1}, {12, 10, 10, 0},
        {10, 14, 10, 1}, {-4, 10, 10, 1}, {30, 29, 30, 0},  {20, 20, 20, -1}, {25, 21, 20, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(TMatoGame::DecideWinner(r.mine, r.aite, r.winPoint), r.winner) << r.mine << ":" << r.aite << " of " << r.winPoint;
}

TEST(MatoRules, BothTeamsHittingOnOneTickLevelAtTheWinningPointsPlaysSuddenDeath)
{
    Harness h;
    h.g.Targets[1].State = msPast; // keeps the second target from setting off
    h.g.Score[0] = h.g.Score[1] = 9;
    targetOnTheLineNextTick(h.g.Targets[0], 0);
    ballAtTheLine(h.g, 0, 0);
    ballAtTheLine(h.g, 1, 0);
    h.g.Step();
    EXPECT_EQ(h.g.Score[0], 10);
    EXPECT_EQ(h.g.Score[1], 10);
    EXPECT_EQ(h.count(TMatoSound::Tackle), 2);
    EXPECT_EQ(h.g.Flash, 10);
    EXPECT_FALSE(h.g.Decided());
    EXPECT_TRUE(h.g.SuddenDeath());

    // The next hit decides, and the winner's celebration runs 51 ticks before the report.
    targetOnTheLineNextTick(h.g.Targets[0], 1);
    ballAtTheLine(h.g, 1, 1);
    h.g.Step();
    EXPECT_EQ(h.g.Winner, 1);
    EXPECT_EQ(h.g.EndCount, 0);
    EXPECT_FALSE(h.g.SuddenDeath());
    EXPECT_FALSE(h.g.UserKick()) << "no kicks after the decision";
    int ticks = 0;
    while (!h.g.Step()) ++ticks;
    EXPECT_EQ(ticks, 50);
    EXPECT_EQ(h.count(TMatoSound::Cheer), 10);
}

TEST(MatoRules, TheSpecialTargetIsWorthFiveAndCheersOnceTheChannelIsFree)
{
    Harness h;
    h.cheerRefused = true;
    h.g.Targets[1].State = msPast;
    targetOnTheLineNextTick(h.g.Targets[0], 3);
    ballAtTheLine(h.g, 0, 1);
    h.g.Step();
    EXPECT_EQ(h.g.Score[0], 5);
    EXPECT_TRUE(h.g.Targets[0].Cheer);
    EXPECT_TRUE(h.g.MyBallHit());
    h.g.Step();
    EXPECT_TRUE(h.g.Targets[0].Cheer) << "refused: tried again on the next tick";
    h.cheerRefused = false;
    h.g.Step();
    EXPECT_FALSE(h.g.Targets[0].Cheer);
    EXPECT_EQ(h.count(TMatoSound::Cheer), 2);
}

TEST(MatoRules, MyKickerChangesOnlyWhileIAmBehind)
{
    struct Row {
        int mine, aite;
        bool changes;
    };
    for (const Row r : {Row{0, 0, false}, Row{3, 1, false}, Row{-2, 0, true}, Row{4, 5, true}}) {
        Harness h;
        h.g.Score[0] = r.mine;
        h.g.Score[1] = r.aite;
        ASSERT_TRUE(h.g.UserKick());
        EXPECT_EQ(h.g.Balls[0][0].State, bsFlying);
        EXPECT_EQ(h.g.Kicker[0], r.changes ? 1 : 0) << r.mine << ":" << r.aite;
        // The same kicker's ball is in the air: no second kick until it is back.
        if (!r.changes) {
            EXPECT_FALSE(h.g.UserKick());
        } else {
            EXPECT_TRUE(h.g.UserKick());
            EXPECT_EQ(h.g.Balls[0][1].State, bsFlying);
        }
    }
}

TEST(MatoRules, UnderAutoProgressClicksDoNothingAndTheComputerKicksForMe)
{
    Harness h;
    h.autoOn = true;
    EXPECT_FALSE(h.g.UserKick());
    EXPECT_EQ(h.g.Balls[0][0].State, bsResting);
    EXPECT_TRUE(h.sounds.empty());
    // The computer kicks when the first moving target is about twenty of its steps from the line.
    TMato& t = h.g.Targets[0];
    t.Speed = 10;
    t.Aim[0] = 0;
    t.Aim[1] = 40;
    const int myWindow = t.Speed * 20 + kLineX - 32;
    t.X = myWindow + t.Speed + 3; // one step brings it into the window
    h.g.Step();
    EXPECT_EQ(h.g.Balls[0][0].State, bsFlying);
    EXPECT_EQ(h.g.Kicker[0], 1) << "the computer's kicker always changes";
    EXPECT_EQ(h.g.Balls[1][0].State, bsResting) << "the opponent aims further out";
}

TEST(MatoRules, ReenteringTargetsTakeTheirKindSpeedAndAims)
{
    struct Row {
        std::vector<int> draws;
        int kind, speed, aim0, aim1;
    };
    // Draws in order: Random(3) (0: special), then the kind, the speed and the aims.
    const Row rows[] = {
        {{0, 4, 8, 2}, 3, 19, 40, -20},
        {{1, 3, 8, 2}, 3, 15, 40, -20},
        {{2, 0, 7, 3, 1}, 0, 12, -10, -30},
        {{1, 2, 0, 1, 0, 5}, 2, 5, 0, 10},
    };
    for (const Row& r : rows) {
        size_t next = 0;
        auto random = [&](int n) {
            const int v = next < r.draws.size() ? r.draws[next++] : 0;
            EXPECT_LT(v, n);
            return v;
        };
        TMato t;
        t.Reset(nullptr);
        t.State = msPast;
        t.Speed = 20;
        t.X = -60;
        t.Step(random);
        EXPECT_EQ(t.X, 630);
        EXPECT_EQ(t.State, msWaiting);
        EXPECT_EQ(t.Kind, r.kind);
        EXPECT_EQ(t.Speed, r.speed);
        EXPECT_EQ(t.Aim[0], r.aim0);
        EXPECT_EQ(t.Aim[1], r.aim1);
        EXPECT_EQ(next, r.draws.size());
    }
}

// Seeded games on the runtime generator: the opponent kicks by itself, my side under auto-progress
// or not at all; every game is decided by the rule, and reported exactly once.
TEST(MatoRules, SeededGamesEndOnceWithTheWinnerOfTheRule)
{
    int decided[2] = {0, 0};
    for (int seed = 0; seed < 600; ++seed) {
        Harness h;
        RandSeed = std::uint32_t(seed) * 2654435761u + 7;
        h.g.RuntimeRandom = [](int n) { return LcgRandom(n); };
        h.g.WinPoint = TMatoGame::kWinOptions[seed % 3];
        h.autoOn = seed % 2 == 0;
        h.g.Start();
        int ends = 0, ticks = 0;
        bool sawDecision = false;
        for (; ticks < 40000 && ends == 0; ++ticks) {
            const bool wasDecided = h.g.Decided();
            if (h.g.Step()) ++ends;
            if (!wasDecided && h.g.Decided()) {
                sawDecision = true;
                const int w = h.g.Winner, mine = h.g.Score[0], aite = h.g.Score[1];
                ASSERT_GE(h.g.Score[w], h.g.WinPoint) << "seed " << seed;
                ASSERT_TRUE(mine < h.g.WinPoint || aite < h.g.WinPoint || mine != aite) << "seed " << seed;
            }
            for (const auto& team : h.g.Balls)
                for (const mato::TPlayer& b : team) {
                    ASSERT_TRUE(b.State >= bsResting && b.State <= bsHit);
                }
        }
        ASSERT_EQ(ends, 1) << "seed " << seed << " after " << ticks << " ticks";
        ASSERT_TRUE(sawDecision);
        ++decided[h.g.Winner];
        if (!h.autoOn) {
            EXPECT_EQ(h.g.Winner, 1) << "nobody kicked for me";
        }
    }
    EXPECT_GT(decided[0], 50);
    EXPECT_GT(decided[1], 50);
}

} // namespace

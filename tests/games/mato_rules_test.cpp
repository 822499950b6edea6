// The rules of the target kick, ticked without a window: hit boxes, misses, the decision with its
// sudden death, the kickers, auto-progress and the computer's timing, and a soak of seeded games.
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
    Harness()
    {
        g.RuntimeRandom = [](int) { return 0; };
        g.Sound = [this](TMatoSound s) {
            sounds.push_back(s);
            return !(s == TMatoSound::Cheer && cheerRefused);
        };
        g.AutoOn = [this] { return autoOn; };
        g.Start();
        g.Targets[1].State = msPast; // only the first target moves unless a test says otherwise
    }
    int count(TMatoSound s) const { return int(std::count(sounds.begin(), sounds.end(), s)); }
    // The target of the given kind reaches the line point with its next step.
    void targetAtTheLineNext(int kind)
    {
        TMato& t = g.Targets[0];
        t.Kind = kind;
        t.Speed = 5;
        t.X = 227;
        t.State = msMoving;
    }
    // A team's ball at the line, where its next step keeps it.
    void ballAtTheLine(int team, int kicker)
    {
        mato::TPlayer& b = g.Balls[team][kicker];
        b.X = team == 0 ? 234 : 256;
        b.Y = 92;
        b.State = bsAtLine;
    }
};

TEST(MatoRules, HitBoxesOfTargetsAndBalls)
{
    const int sizes[4] = {20, 30, 40, 20};
    for (int kind = 0; kind < 4; ++kind) {
        const TBox b = TMato::HitBoxAt(100, 33, kind);
        EXPECT_EQ(b.Right - b.Left, sizes[kind]);
        EXPECT_EQ(b.Bottom - b.Top, sizes[kind]);
        EXPECT_EQ(b.Bottom, 33 + 70) << "every face ends at the same height";
    }
    // A ball's box reaches 20 up and left of it and 40 down and right, right and bottom outside.
    struct Row {
        int x, y;
        bool atLine;
    };
    for (const Row r : {Row{kLineX - 39, kLineY - 39, true}, Row{kLineX - 40, kLineY, false}, Row{kLineX + 20, kLineY + 20, true},
                        Row{kLineX + 21, kLineY, false}}) {
        mato::TPlayer ball;
        ball.Place(r.x, r.y, 0, 0, 0, 0);
        EXPECT_EQ(ball.AtLine(), r.atLine) << r.x << "," << r.y;
    }
}

TEST(MatoRules, AMissCostsTwoAndScoresGoBelowZero)
{
    Harness h;
    for (int miss = 1; miss <= 2; ++miss) {
        ASSERT_TRUE(h.g.UserKick());
        for (int i = 0; i < 100 && h.g.Balls[0][0].State != bsResting; ++i) h.g.Step();
        ASSERT_EQ(h.g.Balls[0][0].State, bsResting) << "the ball comes back";
        EXPECT_EQ(h.g.Score[0], -2 * miss);
    }
    EXPECT_EQ(h.count(TMatoSound::Tackle), 0);
    EXPECT_FALSE(h.g.Decided());
}

TEST(MatoRules, TheDecisionAndSuddenDeath)
{
    struct Row {
        int mine, aite, winPoint, winner;
    };
    const Row rows[] = {{9, 9, 10, -1},  {10, 9, 10, 0},   {9, 10, 10, 1},  {10, 10, 10, -1}, {12, 10, 10, 0},
                        {10, 14, 10, 1}, {-4, 10, 10, 1},  {30, 29, 30, 0}, {20, 20, 20, -1}, {25, 21, 20, 0}};
    for (const Row& r : rows)
        EXPECT_EQ(TMatoGame::DecideWinner(r.mine, r.aite, r.winPoint), r.winner) << r.mine << ":" << r.aite << " of " << r.winPoint;

    // Both teams hit one target on one tick and reach the winning points level: play goes on.
    Harness h;
    h.g.Score[0] = h.g.Score[1] = 9;
    h.targetAtTheLineNext(0);
    h.ballAtTheLine(0, 0);
    h.ballAtTheLine(1, 0);
    h.g.Step();
    EXPECT_EQ(h.g.Score[0], 10);
    EXPECT_EQ(h.g.Score[1], 10);
    EXPECT_EQ(h.count(TMatoSound::Tackle), 2);
    EXPECT_FALSE(h.g.Decided());
    EXPECT_TRUE(h.g.SuddenDeath());

    // The next hit decides; the celebration runs 51 ticks with ten cheers, and no one kicks.
    h.targetAtTheLineNext(1);
    h.ballAtTheLine(1, 1);
    h.g.Step();
    EXPECT_EQ(h.g.Winner, 1);
    EXPECT_FALSE(h.g.SuddenDeath());
    EXPECT_FALSE(h.g.UserKick());
    int ticks = 1;
    while (!h.g.Step()) ++ticks;
    EXPECT_EQ(ticks, kEndTicks + 1);
    EXPECT_EQ(h.count(TMatoSound::Cheer), 10);
}

TEST(MatoRules, TheSpecialTargetIsWorthFiveAndCheersOnceTheChannelIsFree)
{
    Harness h;
    h.cheerRefused = true;
    h.targetAtTheLineNext(3);
    h.ballAtTheLine(0, 1);
    h.g.Step();
    EXPECT_EQ(h.g.Score[0], 5);
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
        EXPECT_EQ(h.g.Kicker[0], r.changes ? 1 : 0) << r.mine << ":" << r.aite;
        // Until its ball is back, the same kicker cannot kick again.
        EXPECT_EQ(h.g.UserKick(), r.changes);
    }
}

TEST(MatoRules, UnderAutoProgressClicksDoNothingAndTheComputerKicksForMe)
{
    Harness h;
    h.autoOn = true;
    EXPECT_FALSE(h.g.UserKick());
    EXPECT_TRUE(h.sounds.empty());
    // The computer kicks once the first moving target is twenty of its steps from the line, give
    // or take the team's aim.
    TMato& t = h.g.Targets[0];
    t.Speed = 10;
    t.Aim[0] = 0;
    t.Aim[1] = 40;
    t.X = t.Speed * 20 + kLineX - 32 + t.Speed + 3;
    h.g.Step();
    EXPECT_EQ(h.g.Balls[0][0].State, bsFlying);
    EXPECT_EQ(h.g.Kicker[0], 1) << "the computer's kicker always changes";
    EXPECT_EQ(h.g.Balls[1][0].State, bsResting) << "the opponent aims further out";
}

// Seeded games on the runtime generator: the opponent kicks by itself, my side under auto-progress
// or not at all; every game ends exactly once, won by the rule on points counted from the balls: a
// ball that hits scores the target at the line (five for the special one), a ball that misses costs two.
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
        int ends = 0, ticks = 0, points[2] = {0, 0};
        for (; ticks < 40000 && ends == 0; ++ticks) {
            const bool wasDecided = h.g.Decided();
            int was[2][2];
            for (int team = 0; team < 2; ++team)
                for (int k = 0; k < 2; ++k) was[team][k] = h.g.Balls[team][k].State;
            if (h.g.Step()) ++ends;
            if (wasDecided) continue;
            const TMato* atLine = h.g.Targets[0].AtLine() ? &h.g.Targets[0] : h.g.Targets[1].AtLine() ? &h.g.Targets[1] : nullptr;
            for (int team = 0; team < 2; ++team)
                for (int k = 0; k < 2; ++k) {
                    const int now = h.g.Balls[team][k].State;
                    if (now == was[team][k]) continue;
                    if (now == bsMissed) points[team] -= 2;
                    if (now == bsHit) {
                        ASSERT_NE(atLine, nullptr) << "seed " << seed;
                        points[team] += atLine->Kind == 3 ? 5 : 1;
                    }
                }
            ASSERT_EQ(h.g.Score[0], points[0]) << "seed " << seed << " tick " << ticks;
            ASSERT_EQ(h.g.Score[1], points[1]) << "seed " << seed << " tick " << ticks;
            if (h.g.Decided()) {
                const int w = h.g.Winner, win = points[w], lose = points[1 - w];
                ASSERT_GE(win, h.g.WinPoint) << "seed " << seed;
                ASSERT_TRUE(lose < h.g.WinPoint || win > lose) << "seed " << seed;
            }
        }
        ASSERT_EQ(ends, 1) << "seed " << seed << " after " << ticks << " ticks";
        ++decided[h.g.Winner];
        if (!h.autoOn) {
            EXPECT_EQ(h.g.Winner, 1) << "nobody kicked for me";
        }
    }
    EXPECT_GT(decided[0], 50);
    EXPECT_GT(decided[1], 50);
}

} // namespace

// Many seeded baseball games at the rules level, the computer playing both sides with the real
// generators: every plate appearance ends, the computer's choices keep to their rules, the board
// adds up, and the same seed plays the same game.
#include "BaseballGame.h"
#include "GameRandom.h"
#include <gtest/gtest.h>
#include <numeric>
#include <set>

using namespace bb;

namespace {

// Plays `count` plate appearances of a seeded auto game; returns the play results in order.
std::vector<int> PlaySeed(std::uint32_t seed, int count, std::set<int>* fouls = nullptr)
{
    RandSeed = seed;
    MTSeed(seed * 2654435761u);
    int drawCount = 0;
    TBaseBallGame g;
    g.Services.Random = [&drawCount](int n) { return (drawCount++ / 100) % 2 == 0 ? LcgRandom(n) : MTRandomInt(n); };
    g.Services.SystemRandom = [](int n) { return LcgRandom(n); };
    g.Auto = true;
    g.Create();
    g.NewGame(1260, 140 * int(1 + seed % 12));
    g.SetStartInning(int(seed % 6));
    while (g.Opening) g.Tick();

    std::vector<int> results;
    int stage = g.PanelStage, ticks = 0, calls = 0, booked = 0;
    bool called = false;
    while (int(results.size()) < count && ticks++ < 300) {
        const int outs = g.Outs, runners = g.RunnerCount();
        const bool first = g.RunnerOn(1);
        g.Tick();
        if (g.PanelStage == 2 && stage == 1) {
            // The release: both courses come from the computer's rules (the user's side is on auto).
            EXPECT_TRUE(g.BattingCourse() != 0 || (outs < 2 && runners > 0)) << "seed " << seed;
            EXPECT_TRUE(g.PitchingCourse() != 0 || (!first && runners > 0)) << "seed " << seed;
        }
        if (g.PanelStage == 3 && stage == 2) {
            results.push_back(g.Ball.PlayResult);
            if (fouls && g.Play.FoulKind) fouls->insert(g.Play.FoulKind);
        }
        if (!called && (!g.Play.OutMarks.empty() || g.Play.FoulAnnounced)) {
            // One call per plate appearance: beside the foul spot for a ball hooked or landed foul,
            // otherwise one banner on the field.
            called = true;
            ++calls;
            const bool besideSpot = g.Play.FoulKind >= 1 && g.Play.FoulKind <= 6;
            EXPECT_EQ(g.Play.FoulAnnounced, besideSpot) << "seed " << seed;
            EXPECT_EQ(g.Play.OutMarks.size(), besideSpot ? 0u : 1u) << "seed " << seed;
            const int r = g.Ball.PlayResult;
            if (g.Play.FoulKind == 0 && r != prBunt && r != prWalk) ++booked;
        }
        if (g.PanelStage == 0 && stage == 3) {
            ticks = 0; // the next plate appearance began
            EXPECT_TRUE(called) << "seed " << seed << ": a plate appearance ended without its call";
            called = false;
        }
        stage = g.PanelStage;
        EXPECT_TRUE(g.Outs <= 3 && g.Power >= 0 && g.Power <= 10);
    }
    EXPECT_EQ(int(results.size()), count) << "seed " << seed << ": a plate appearance did not end";
    // Every at-bat that was booked shows in the batting orders (the last one may still be running).
    int atBats = 0;
    for (const auto& side : g.SlotAtBats) atBats += std::accumulate(side.begin(), side.end(), 0);
    EXPECT_GE(calls, count - 1) << "seed " << seed;
    EXPECT_TRUE(atBats == booked || atBats + 1 == booked) << "seed " << seed << ": " << atBats << " of " << booked;
    for (int side = 0; side < 2; ++side) {
        int board = 0;
        for (const auto& pair : g.LineArchive) board += std::max(pair[size_t(side)], 0);
        for (int cell : g.LineScore[size_t(side)]) board += std::max(cell, 0);
        EXPECT_EQ(board, g.Runs[size_t(side)]) << "seed " << seed;
    }
    return results;
}

TEST(BaseballSoakTest, SeededAutoGamesPlayBatterAfterBatter)
{
    std::set<int> results, fouls;
    for (std::uint32_t seed = 1; seed <= 150 && !HasFailure(); ++seed) {
        const std::vector<int> r = PlaySeed(seed, 60, &fouls);
        results.insert(r.begin(), r.end());
    }
    for (int r = 0; r <= prHomeRun; ++r) EXPECT_TRUE(results.count(r)) << "result " << r << " never came up";
    for (int f = 1; f <= 7; ++f) EXPECT_TRUE(fouls.count(f)) << "foul kind " << f << " never came up";
}

TEST(BaseballSoakTest, TheSameSeedPlaysTheSameGame)
{
    EXPECT_EQ(PlaySeed(4242, 80), PlaySeed(4242, 80));
    EXPECT_NE(PlaySeed(4242, 80), PlaySeed(4243, 80));
}

} // namespace

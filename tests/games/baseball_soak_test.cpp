// Many seeded baseball games at the rules level, the computer playing both sides with the real
// generators: every plate appearance ends, the computer's choices keep to their rules, and the same
// seed plays the same game.
#include "BaseballGame.h"
#include "GameRandom.h"
#include <gtest/gtest.h>
#include <set>

using namespace bb;

namespace {

struct Log {
    std::vector<int> results;
    std::set<int> resultsSeen, foulsSeen;
    int plateAppearances = 0;
    int inningsPlayed = 0;
};

// Plays `count` plate appearances of a seeded auto game and checks each tick's state.
Log PlaySeed(std::uint32_t seed, int count)
{
    RandSeed = seed;
    MTSeed(seed * 2654435761u);
    int drawCount = 0;
    TBaseBallGame g;
    g.Services.Random = [&drawCount](int n) {
        const int r = (drawCount / 100) % 2 == 0 ? LcgRandom(n) : MTRandomInt(n);
        ++drawCount;
        return r;
    };
    g.Services.SystemRandom = [](int n) { return LcgRandom(n); };
    g.Auto = true;
    g.Create();
    g.NewGame(1260, 140 * int(1 + seed % 12));
    g.SetStartInning(int(seed % 6));
    const int startInning = g.Inning;
    while (g.Opening) g.Tick();

    Log log;
    int stage = g.PanelStage, ticksInPlay = 0;
    while (log.plateAppearances < count) {
        const int outs = g.Outs, runners = g.RunnerCount();
        const bool first = g.RunnerOn(1);
        g.Tick();
        ++ticksInPlay;
        if (g.PanelStage == 2 && stage == 1) {
            // The release: both sides' courses follow the computer's rules (the user's side is auto).
            const int bat = g.BattingCourse(), pitch = g.PitchingCourse();
            if (bat == 0) {
                EXPECT_LT(outs, 2) << "seed " << seed;
                EXPECT_GT(runners, 0) << "seed " << seed;
            }
            if (pitch == 0) {
                EXPECT_FALSE(first) << "seed " << seed;
                EXPECT_GT(runners, 0) << "seed " << seed;
            }
        }
        if (g.PanelStage == 3 && stage == 2) {
            log.results.push_back(g.Ball.PlayResult);
            log.resultsSeen.insert(g.Ball.PlayResult);
            if (g.Play.FoulKind) log.foulsSeen.insert(g.Play.FoulKind);
        }
        // The closing of a plate appearance starts the next one with the panel cleared.
        if (g.PanelStage == 0 && stage == 3) {
            ++log.plateAppearances;
            ticksInPlay = 0;
        }
        stage = g.PanelStage;
        if (ticksInPlay > 300) {
            ADD_FAILURE() << "seed " << seed << ": a plate appearance did not end";
            break;
        }
        EXPECT_LE(g.Outs, 3);
        EXPECT_GE(g.Power, 0);
        EXPECT_LE(g.Power, 10);
        for (const TBallActor& a : g.Actors) {
            EXPECT_TRUE(a.Pos.x() >= a.MinX && a.Pos.x() <= a.MaxX) << "seed " << seed;
        }
    }
    log.inningsPlayed = g.Inning - startInning;
    for (int side = 0; side < 2; ++side) {
        int boardRuns = 0;
        for (const auto& pair : g.LineArchive) boardRuns += std::max(pair[size_t(side)], 0);
        for (int cell : g.LineScore[size_t(side)]) boardRuns += std::max(cell, 0);
        EXPECT_EQ(boardRuns, g.Runs[size_t(side)]) << "seed " << seed;
    }
    return log;
}

TEST(BaseballSoakTest, SeededAutoGamesPlayBatterAfterBatter)
{
    std::set<int> results, fouls;
    int innings = 0;
    for (std::uint32_t seed = 1; seed <= 150; ++seed) {
        const Log log = PlaySeed(seed, 60);
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
        EXPECT_GE(log.results.size(), 60u);
        results.insert(log.resultsSeen.begin(), log.resultsSeen.end());
        fouls.insert(log.foulsSeen.begin(), log.foulsSeen.end());
        innings += log.inningsPlayed;
    }
    for (int r = 0; r <= prHomeRun; ++r) EXPECT_TRUE(results.count(r)) << "result " << r << " never came up";
    for (int f = 1; f <= 7; ++f) EXPECT_TRUE(fouls.count(f)) << "foul kind " << f << " never came up";
    EXPECT_GT(innings, 150 * 3);
}

TEST(BaseballSoakTest, TheSameSeedPlaysTheSameGame)
{
    const Log a = PlaySeed(4242, 80);
    const Log b = PlaySeed(4242, 80);
    const Log c = PlaySeed(4243, 80);
    EXPECT_EQ(a.results, b.results);
    EXPECT_NE(a.results, c.results);
}

} // namespace

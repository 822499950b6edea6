// Whole matches, logic only, over many seeds in every time mode: each ends under a tick cap with the
// right result, and the match state holds together on every tick.
#include "SoccerHarness.h"
#include <algorithm>
#include <gtest/gtest.h>

using namespace soccer;

namespace {

constexpr int kTickCap = 60000;

void CheckTick(const TSoccerEngine& e, int lastClock, int lastGoals)
{
    ASSERT_GE(e.FClock, lastClock) << "the clock went back";
    const int goals = e.FStats[0][stGoals] + e.FStats[1][stGoals];
    ASSERT_TRUE(goals == lastGoals || (goals == lastGoals + 1 && e.FGoalTick == 0));
    ASSERT_EQ(int(e.FGoalLabels.size()), goals);
    ASSERT_TRUE(e.FRingIndex >= 0 && e.FRingIndex < kRingSize);
    ASSERT_TRUE(e.FGoalTick >= -1 && e.FGoalTick <= 60);
    ASSERT_TRUE(e.Ball.Speed >= 0 && e.Ball.Height >= 0 && e.Ball.Height <= 2);
    ASSERT_TRUE(e.FTimeState >= tsNormal && e.FTimeState <= tsSuddenDeath);
    ASSERT_TRUE(e.FWinner >= -1 && e.FWinner <= 1);
    if (e.FFinalWinner >= 0) {
        ASSERT_EQ(e.FFinalWinner, e.FWinner);
    }
    for (int t = 0; t < 2; ++t) {
        int seen = 0;
        for (int p : e.Order[t]) seen |= 1 << p;
        ASSERT_EQ(seen, 0x7F) << "team list is not a permutation";
        for (const TSoccerPlayer& pl : e.FPlayers[t])
            ASSERT_TRUE(pl.X > -200 && pl.X < kW + 200 && pl.Y > -200 && pl.Y < kH + 200) << pl.X << "," << pl.Y;
    }
}

// Plays one match to its end; the number of ticks it took.
int PlayMatch(std::uint32_t seed, int mode)
{
    SoccerHarness h(seed);
    h.e.FShowReplay = seed % 2 == 0;
    h.start(mode);
    int ticks = 0;
    while (!h.e.MatchOver && ticks < kTickCap) {
        const int clock = h.e.FClock;
        const int goals = h.goals(0) + h.goals(1);
        h.tick();
        ++ticks;
        CheckTick(h.e, clock, goals);
        if (::testing::Test::HasFatalFailure()) return ticks;
    }
    EXPECT_TRUE(h.e.MatchOver) << "seed " << seed << " mode " << mode;
    const int w = h.e.FFinalWinner;
    EXPECT_TRUE(w == 0 || w == 1);
    if (w < 0) return ticks;
    EXPECT_GT(h.goals(w), h.goals(1 - w)) << "seed " << seed;
    EXPECT_EQ(h.reports, std::vector<quint16>{quint16(w == 0 ? 0x2108 : 0x1108)});
    EXPECT_EQ(h.e.ModalResult, w == 0 ? 6 : 7);
    EXPECT_GE(h.e.FClock, 5400);
    if (mode == tmSuddenDeath) EXPECT_EQ(h.goals(0) + h.goals(1), 1) << "the first goal decides";
    else EXPECT_GE(h.e.FAddedMinutes, 3);
    return ticks;
}

} // namespace

TEST(SoccerMatch, WholeMatchesEndWithTheirResultInEveryTimeMode)
{
    for (int mode : {tmFirstHalf, tmSecondHalf, tmSuddenDeath}) {
        int longest = 0;
        for (std::uint32_t seed = 1; seed <= 25; ++seed) {
            longest = std::max(longest, PlayMatch(seed * 7919 + std::uint32_t(mode), mode));
            if (HasFatalFailure()) return;
        }
        RecordProperty("longest_mode_" + std::to_string(mode), longest);
    }
}

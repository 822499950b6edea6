// Whole matches, logic only, played by the computer for both teams over many seeds in every time
// mode: each ends under a tick cap with the right result, every goal is credited to the team whose
// ball went over the other team's goal line, and the match state holds together on every tick.
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
        for (const TSoccerPlayer& pl : e.FPlayers[t]) {
            // After the final whistle the winners' run-and-slide may take them off the picture.
            if (e.FFinalWinner < 0 || pl.Celebration == 0) {
                ASSERT_TRUE(pl.X > -200 && pl.X < kW + 200 && pl.Y > -200 && pl.Y < kH + 200) << pl.X << "," << pl.Y;
            }
            ASSERT_LE(pl.Action, acDash);
            if (pl.Action == acPass || pl.Action == acHeadPass || pl.Action == acSeriai) {
                ASSERT_TRUE(pl.ActionTarget >= 0 && pl.ActionTarget <= 6);
            }
        }
    }
    // One set piece at a time, each with the state it needs.
    ASSERT_LE((e.FPKTick >= 0) + (e.FFreeKickTick >= 0) + (e.FPauseTick >= 0), 1);
    if (e.FFreeKickTick >= 0) {
        ASSERT_TRUE(e.FSetPiece.team == 0 || e.FSetPiece.team == 1);
        ASSERT_TRUE(e.FSetPieceKind == spFoul || e.FSetPieceKind == spOffside);
    }
    if (e.FPKTick >= 0) {
        ASSERT_TRUE(e.FTackler.Set());
    }
    // A replay (and the last scene it leaves at the end) shows fallen players from its frames; in play
    // a fallen player is one who fell.
    if (e.FFallen.Set() && !e.FReplaying && !e.MatchOver) {
        ASSERT_EQ(e.FPlayers[e.FFallen.team][e.FFallen.player].Action, acKokeru);
    }
    ASSERT_TRUE(!e.FHolder.Set() || (e.FHolder.team <= 1 && e.FHolder.player <= 6));
    ASSERT_TRUE(e.Ball.X >= 0 && e.Ball.X <= kW && e.Ball.Y >= 0 && e.Ball.Y <= kH) << e.Ball.X << "," << e.Ball.Y;
}

// Statistics never go back.
void CheckStats(const TSoccerEngine& e, int (&last)[2][stCount])
{
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < stCount; ++i) {
            ASSERT_GE(e.FStats[t][i], last[t][i]) << "statistic " << i;
            last[t][i] = e.FStats[t][i];
        }
}

// Goals as a spectator counts them: whenever play stops for a goal, the ball lies behind a goal line
// between the posts, and the team attacking that goal has scored. The match must credit the same.
void CountGoal(const TSoccerEngine& e, bool stoppedBefore, int (&scored)[2])
{
    if (!stoppedBefore && e.FGoalTick >= 0 && e.FFinalWinner < 0) {
        const bool inMouth = e.Ball.Y >= GoalRt[0].Top && e.Ball.Y <= GoalRt[0].Bottom;
        const int k = !inMouth ? -1 : e.Ball.X < FieldRt.Left ? 0 : e.Ball.X > FieldRt.Right ? 1 : -1;
        ASSERT_GE(k, 0) << "play stopped for a goal with the ball at " << e.Ball.X << "," << e.Ball.Y;
        ++scored[1 - k];
        ASSERT_TRUE(e.FGoalLabels.back().startsWith(k == 1 ? QStringLiteral("●") : QStringLiteral("○")));
    }
    ASSERT_EQ(e.FStats[0][stGoals], scored[0]);
    ASSERT_EQ(e.FStats[1][stGoals], scored[1]);
}

// Plays one match to its end; the number of ticks it took.
int PlayMatch(std::uint32_t seed, int mode, int operation)
{
    SCOPED_TRACE("seed " + std::to_string(seed) + " mode " + std::to_string(mode));
    SoccerHarness h(seed);
    h.e.FShowReplay = seed % 2 == 0;
    h.e.FOperation = operation;
    int kicks = 0;
    h.e.Svc.PenaltyKick = [&](const TPKRequest&) { return TPKOutcome{1, 1, ++kicks % 2 == 0 ? 1 : -1, kicks % 2 == 1}; };
    h.start(mode);
    int ticks = 0;
    int stats[2][stCount] = {};
    int scored[2] = {0, 0};
    while (!h.e.MatchOver && ticks < kTickCap) {
        const int clock = h.e.FClock;
        const int goals = h.goals(0) + h.goals(1);
        const bool stopped = h.e.FGoalTick >= 0;
        h.tick();
        ++ticks;
        CheckTick(h.e, clock, goals);
        CheckStats(h.e, stats);
        CountGoal(h.e, stopped, scored);
        if (::testing::Test::HasFatalFailure()) return ticks;
    }
    EXPECT_TRUE(h.e.MatchOver) << "seed " << seed << " mode " << mode;
    const int w = h.e.FFinalWinner;
    EXPECT_TRUE(w == 0 || w == 1);
    if (w < 0) return ticks;
    EXPECT_GT(scored[w], scored[1 - w]) << "seed " << seed;
    EXPECT_EQ(h.reports, std::vector<quint16>{quint16(w == 0 ? 0x2108 : 0x1108)});
    EXPECT_EQ(h.e.ModalResult, w == 0 ? 6 : 7);
    EXPECT_GE(h.e.FClock, 5400);
    if (mode == tmSuddenDeath) {
        EXPECT_EQ(h.goals(0) + h.goals(1), 1) << "the first goal decides";
    } else {
        EXPECT_GE(h.e.FAddedMinutes, 3);
    }
    return ticks;
}

} // namespace

TEST(SoccerMatch, WholeMatchesEndWithTheirResultInEveryTimeMode)
{
    // "自動進行" (the computer plays the user's team too) over 20 seeds, and "マウス" with nobody
    // clicking over a few.
    for (int operation : {3, 0})
        for (int mode : {tmFirstHalf, tmSecondHalf, tmSuddenDeath}) {
            int longest = 0;
            for (std::uint32_t seed = 1; seed <= (operation == 3 ? 20u : 4u); ++seed) {
                longest = std::max(longest, PlayMatch(seed * 7919 + std::uint32_t(mode), mode, operation));
                if (HasFatalFailure()) return;
            }
            RecordProperty("longest_" + std::to_string(operation) + "_" + std::to_string(mode), longest);
        }
}

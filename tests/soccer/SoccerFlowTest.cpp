// The match flow: the opening, the time modes, the kick-off waits, added time, sudden death, the
// final whistle, bonus time, the replay's end and the result.
#include "SoccerHarness.h"
#include <gtest/gtest.h>

using namespace soccer;

namespace {

// Kicks the ball into the goal that `team` attacks and ticks once.
void Score(SoccerHarness& h, int team)
{
    TSoccerEngine& e = h.e;
    e.Ball.X = team == 0 ? 760 : 100;
    e.Ball.Y = 335;
    e.Ball.Speed = 20;
    e.Ball.Angle = team == 0 ? 0 : kPi;
    e.FHolder = {team, 6};
    h.tick();
    ASSERT_EQ(e.FGoalTick, 0);
}

// Ticks through the celebration and the replay, to the next kick-off or the end.
void FinishGoal(SoccerHarness& h)
{
    for (int i = 0; i < 400 && (h.e.FGoalTick >= 0 || h.e.FReplaying) && !h.e.MatchOver; ++i) h.tick();
}

// Ticks until the clock runs.
void KickOff(SoccerHarness& h)
{
    for (int i = 0; i < 40 && h.e.FTick < h.e.FResumeTick; ++i) h.tick();
}

} // namespace

TEST(SoccerFlow, OpeningWaitsForItsJingleAndTheLists)
{
    SoccerHarness h(7);
    bool held = true, manual = true;
    int option = -1;
    h.e.FOperation = 3;
    h.e.Svc.OpeningHeld = [&] { return held; };
    h.e.Svc.ManualPlay = [&] { return manual; };
    h.e.Svc.SetManualPlay = [&](bool on) { manual = on; };
    h.e.Svc.SetOptionIndex = [&](int i) { option = i; };
    h.e.Show();
    EXPECT_EQ(h.count(TSoccerSound::Opening), 1);
    EXPECT_EQ(h.e.FClock, 2700); // "後半から" is the default
    ASSERT_TRUE(h.e.ApplyTimeMode(tmFirstHalf));
    EXPECT_EQ(h.e.FClock, 0);
    h.soundTicks = 100; // the jingle plays on
    for (int i = 0; i < 60; ++i) h.tick();
    EXPECT_TRUE(h.e.FOpening);
    EXPECT_EQ(h.slept, 0); // a dropped-down list holds the opening
    held = false;
    for (int i = 0; i < 30; ++i) h.tick();
    EXPECT_TRUE(h.e.FOpening);
    EXPECT_GT(h.slept, 0); // one second per tick while the jingle ends
    for (int i = 0; i < 60 && h.e.FOpening; ++i) h.tick();
    ASSERT_FALSE(h.e.FOpening);
    EXPECT_EQ(h.count(TSoccerSound::Whistle), 1);
    EXPECT_FALSE(manual); // "自動進行" is not playing by hand
    EXPECT_EQ(option, tmFirstHalf);
    EXPECT_FALSE(h.e.ApplyTimeMode(tmSecondHalf));
    EXPECT_EQ(h.e.FTimeMode, tmFirstHalf);
    // The first kick-off waits until tick 20; then the clock runs 2 seconds a tick.
    EXPECT_EQ(h.e.FTick, 6);
    KickOff(h);
    EXPECT_EQ(h.e.FClock, 2);
    EXPECT_EQ(h.e.FTick, 20);
}

// The scoreboard's clock through a match from the second half: "00:00" until the first kick-off.
TEST(SoccerFlow, TheBoardClock)
{
    SoccerHarness h(3);
    auto shows = [&] { return BoardClockText(h.e).toStdString(); };
    h.e.Show();
    EXPECT_EQ(shows(), "00:00") << "in the opening";
    for (int i = 0; i < 200 && h.e.FOpening; ++i) h.tick();
    EXPECT_EQ(shows(), "00:00") << "waiting for the first kick-off";
    KickOff(h);
    EXPECT_EQ(shows(), "45:02");
    h.e.FClock = 2900;
    Score(h, 0);
    EXPECT_EQ(shows(), "48:22") << "the goal's time while it is celebrated";
    for (int i = 0; i < 100 && !h.e.FReplaying; ++i) h.tick();
    EXPECT_EQ(shows(), "リプレイ");
    FinishGoal(h);
    EXPECT_EQ(shows(), "48:22") << "waiting for the next kick-off";
}

TEST(SoccerFlow, AddedTimeIsThreeToSixMinutes)
{
    bool seen[7] = {};
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        SoccerHarness h(seed);
        h.start(tmSecondHalf);
        h.e.FClock = 5402;
        h.e.TimeRules();
        const int m = h.e.FAddedMinutes;
        ASSERT_TRUE(m >= 3 && m <= 6) << m;
        EXPECT_EQ(h.e.FEndTime, 5400 + 60 * m);
        seen[m] = true;
        // Level when it has run out: sudden death.
        h.e.FClock = h.e.FEndTime + 2;
        h.e.TimeRules();
        EXPECT_EQ(h.e.FTimeState, tsSuddenDeath);
        EXPECT_FALSE(h.e.FFinalWhistle);
    }
    EXPECT_TRUE(seen[3] && seen[4] && seen[5] && seen[6]);
}

TEST(SoccerFlow, FinalWhistleOnlyWhenTheLeaderHoldsTheBallAhead)
{
    struct Row {
        int leader, holder, ballX;
        bool whistle;
    };
    const Row rows[] = {{0, 0, 500, true}, {0, 0, 400, false}, {0, 1, 500, false},
                        {1, 1, 300, true}, {1, 1, 500, false}, {1, 0, 300, false}};
    for (const Row& r : rows) {
        SoccerHarness h;
        h.start(tmSecondHalf);
        TSoccerEngine& e = h.e;
        e.FAddedMinutes = 4;
        e.FEndTime = 5640;
        e.FClock = 5700;
        e.FStats[r.leader][stGoals] = 1;
        e.FHolder = {r.holder, 6};
        e.Ball.X = r.ballX;
        e.TimeRules();
        EXPECT_EQ(e.FFinalWhistle, r.whistle) << r.leader << r.holder << r.ballX;
        EXPECT_EQ(e.FWinner, r.whistle ? r.leader : -1);
        EXPECT_EQ(h.count(TSoccerSound::Whistle3), r.whistle ? 1 : 0);
    }
    // Once the whistle has sounded the winners celebrate, then the result is reported.
    SoccerHarness h;
    h.start(tmSecondHalf);
    KickOff(h);
    h.e.FAddedMinutes = 3;
    h.e.FClock = h.e.FEndTime = 5580;
    h.e.FStats[0][stGoals] = 2;
    h.e.FStats[1][stGoals] = 1;
    h.e.TimeRules();
    h.e.FWinner = 0;
    h.e.FFinalWhistle = true;
    h.soundTicks = 5;
    for (int i = 0; i < 80 && !h.e.MatchOver; ++i) h.tick();
    ASSERT_TRUE(h.e.MatchOver);
    EXPECT_EQ(h.e.FFinalWinner, 0);
    EXPECT_EQ(h.reports, std::vector<quint16>{0x2108});
    EXPECT_EQ(h.e.ModalResult, 6);
    EXPECT_TRUE(h.e.FCanSaveReplay);
}

TEST(SoccerFlow, GoalAtNinetyThreeThirtyMovesTheEndTo104)
{
    SoccerHarness h(3);
    h.start(tmSecondHalf);
    KickOff(h);
    TSoccerEngine& e = h.e;
    e.FAddedMinutes = 4;
    e.FEndTime = 5640;
    e.FClock = 5608;
    e.FStats[1][stGoals] = 2;
    Score(h, 0);
    EXPECT_EQ(e.FGoalTime, 5610);
    EXPECT_EQ(e.FGoalTimeText, QStringLiteral("93:30"));
    FinishGoal(h);
    EXPECT_EQ(e.FAddedMinutes, 14);
    EXPECT_EQ(e.FEndTime, 104 * 60);
    EXPECT_EQ(e.FTimeState, tsBonus);
    EXPECT_EQ(h.lastSleep, 2000); // after a replay shown
    // The team that conceded kicks off, and the clock goes on from the goal.
    EXPECT_EQ(e.FHolder, (TTeamPt{1, 6}));
    EXPECT_EQ(e.FClock, 5610);
    EXPECT_FALSE(e.FReplaying);
    // The restart is whistled 10 ticks before play (tick 5 once the first kick-off has been taken).
    const int whistles = h.count(TSoccerSound::Whistle);
    e.FResumeTick = 15;
    for (int i = 0; i < 5; ++i) h.tick();
    EXPECT_EQ(h.count(TSoccerSound::Whistle), whistles + 1);
}

TEST(SoccerFlow, SuddenDeathModeEndsWithItsFirstGoal)
{
    for (bool replay : {true, false}) {
        SoccerHarness h(5);
        h.start(tmSuddenDeath);
        h.e.FShowReplay = replay;
        KickOff(h);
        h.tick();
        EXPECT_EQ(h.e.FTimeState, tsSuddenDeath);
        Score(h, 1);
        for (int i = 0; i < 60; ++i) h.tick();
        EXPECT_EQ(h.e.FWinner, 1);
        EXPECT_EQ(h.e.FFinalWinner, 1);
        EXPECT_TRUE(h.e.FReplaying);
        EXPECT_EQ(h.e.TimerInterval, 200);
        const int draws = h.draws;
        FinishGoal(h);
        ASSERT_TRUE(h.e.MatchOver);
        EXPECT_EQ(h.reports, std::vector<quint16>{0x1108});
        EXPECT_EQ(h.e.ModalResult, 7);
        // Without replays the replay ends at once, with one frame shown and nothing drawn.
        if (replay) {
            EXPECT_GT(h.draws, draws + 10);
        } else {
            EXPECT_EQ(h.draws, draws);
        }
    }
}

TEST(SoccerFlow, LevelGoalInAddedTimeLeadsToSuddenDeath)
{
    SoccerHarness h(11);
    h.start(tmSecondHalf);
    h.e.FShowReplay = false;
    KickOff(h);
    TSoccerEngine& e = h.e;
    e.FAddedMinutes = 3;
    e.FEndTime = 5580;
    e.FClock = 5590;
    e.FStats[0][stGoals] = 1;
    Score(h, 1);
    FinishGoal(h);
    EXPECT_EQ(h.lastSleep, 300); // without a replay
    EXPECT_EQ(e.FWinner, -1);
    EXPECT_EQ(e.FTimeState, tsNormal); // no bonus for a team that has drawn level
    KickOff(h);
    h.tick();
    EXPECT_EQ(e.FTimeState, tsSuddenDeath);
}

TEST(SoccerFlow, ClosingTheWindowReportsAnUndecidedMatchAsLost)
{
    struct Row {
        int winner;
        quint16 code;
        int modal;
    };
    for (const Row& r : {Row{-1, 0x1108, 7}, Row{0, 0x2108, 6}, Row{1, 0x1108, 7}}) {
        SoccerHarness h;
        int saved = 0;
        h.e.Svc.SaveReplaySlot = [&] { ++saved; };
        h.start(tmSecondHalf);
        h.e.FWinner = r.winner;
        EXPECT_EQ(h.e.Close(), r.modal);
        EXPECT_EQ(h.reports, std::vector<quint16>{r.code});
        EXPECT_EQ(saved, r.winner >= 0 ? 1 : 0);
    }
    // A finished match has reported already.
    SoccerHarness h;
    h.start(tmSuddenDeath);
    h.e.FShowReplay = false;
    KickOff(h);
    Score(h, 0);
    FinishGoal(h);
    ASSERT_TRUE(h.e.MatchOver);
    EXPECT_EQ(h.e.Close(), 6);
    EXPECT_EQ(h.reports, std::vector<quint16>{0x2108});
}

TEST(SoccerFlow, PenaltyKickGoesThroughItsService)
{
    SoccerHarness h;
    TPKRequest seen;
    h.e.Svc.PenaltyKick = [&](const TPKRequest& r) {
        seen = r;
        return TPKOutcome{1, -2, 0, true};
    };
    h.e.FirstShuffled[0] = 3, h.e.LastShuffled[0] = 5;
    h.e.FirstShuffled[1] = 1, h.e.LastShuffled[1] = 4;
    h.e.FTackler = {1, 2}; // team 0 kicks
    const TPKOutcome o = h.e.PlayPenaltyKick();
    EXPECT_EQ(seen.KickSide, 0);
    EXPECT_EQ(seen.MyPlayerIndex, 5);
    EXPECT_EQ(seen.AitePlayerIndex, 1);
    EXPECT_EQ(o.AimDir, -1);
    EXPECT_TRUE(o.Scored);
    h.e.FTackler = {0, 2};
    h.e.PlayPenaltyKick();
    EXPECT_EQ(seen.KickSide, 1);
    EXPECT_EQ(seen.MyPlayerIndex, 3);
    EXPECT_EQ(seen.AitePlayerIndex, 4);
}

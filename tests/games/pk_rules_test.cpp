// The rules of the shoot-out and of the single kick, ticked without a window.
#include "GameRandom.h"
#include "PKRules.h"
#include "ServicesRecord.h"
#include <deque>
#include <gtest/gtest.h>

namespace {

// One timer tick as the form runs it: the rules, then the step after drawing unless the game has just ended.
bool Tick(TPKMatch& m)
{
    const bool ended = m.TickRules();
    if (!ended) m.AfterDraw();
    return ended;
}

// A match whose computer choices are scripted: every kick aims at `kick` and the keeper dives to
// `keeper`, no fire shots unless asked; sounds, waits and FManualPlay are recorded.
struct Harness : TServicesRecord {
    TPKMatch m;
    std::vector<TPKSound> sounds;
    bool fire = false;
    Harness(bool soccer = false, int kickSide = 0, int mySide = 0)
    {
        m.FSoccerMode = soccer;
        m.FKickSide = kickSide;
        m.FMySide = mySide;
        FillServices(m, [this](int n) {
            if (n == 10) return fire ? 0 : 1;
            return 1; // centre for the directions, frame 1, aside phase 1
        });
        m.Sound = [this](TPKSound s) { sounds.push_back(s); };
    }
    // Ticks until the current kick is resolved; the user picks `choice` at the start (2: no choice).
    void playKick(int choice)
    {
        if (choice != 2) m.ChooseDirection(choice);
        for (int i = 0; i < 200 && m.AfterKick == -1; ++i) Tick(m);
        ASSERT_GE(m.AfterKick, 0);
    }
    // Ticks through the wait after a kick until the next one is set up or the game ends.
    bool next()
    {
        for (int i = 0; i < 100; ++i) {
            if (Tick(m)) return false;
            if (m.AfterKick == -1) return true;
        }
        ADD_FAILURE() << "stuck";
        return false;
    }
    void skipOpening()
    {
        while (m.Opening) Tick(m);
    }
    // Plays kicks with the given outcomes from my team's point of view: for my kicks true = goal, for
    // the opponent's kicks true = goal for them. The computer always picks the centre.
    void play(const std::vector<bool>& goals)
    {
        for (size_t i = 0; i < goals.size(); ++i) {
            const bool mine = m.FKickSide == 0;
            // As kicker: away from the keeper scores. As keeper: the centre saves, a side lets it in.
            playKick(goals[i] ? (mine ? -1 : 1) : 0);
            if (i + 1 < goals.size()) {
                ASSERT_TRUE(next()) << "ended early after kick " << i + 1;
            }
        }
    }
};

TEST(PKDecisionTest, TableOfEarlyDecisions)
{
    struct Case {
        int kicksDone, c, d;
        bool decided;
    };
    const Case cases[] = {
        {6, 3, 0, true},  {6, 3, 1, false}, // three each
        {7, 4, 2, false}, {7, 4, 1, true},  // side 0 four, side 1 three
        {8, 1, 3, true},  {8, 2, 3, false}, // side 1 ahead by more than side 0 can still score
        {1, 1, 0, false}, {5, 3, 0, false}, {9, 3, 1, true},
        {10, 4, 4, false},                  // level after ten: sudden death
        {11, 5, 4, false},                  // the first kick of a pair never decides
        {12, 5, 4, true},  {12, 5, 5, false}, {14, 6, 6, false}, {14, 6, 5, true},
    };
    for (const Case& c : cases) EXPECT_EQ(TPKMatch::Decided(c.kicksDone - 1, c.c, c.d), c.decided) << c.kicksDone << " " << c.c << "-" << c.d;
}

TEST(PKShootOutTest, ThreeNilAfterSixKicksEndsThreeOneDoesNot)
{
    Harness h;
    h.m.Start(5, 5);
    h.skipOpening();
    h.play({true, false, true, false, true, false});
    EXPECT_EQ(h.m.Result, 2);
    EXPECT_FALSE(h.next());
    EXPECT_TRUE(h.m.Finished);

    Harness g;
    g.m.Start(5, 5);
    g.skipOpening();
    g.play({true, false, true, true, true, false});
    EXPECT_EQ(g.m.Result, 0);
    EXPECT_EQ(g.m.Sum(0), 3);
    EXPECT_EQ(g.m.Sum(1), 1);
    EXPECT_TRUE(g.next());
}

TEST(PKShootOutTest, OpponentAheadBeyondReachEndsAsALoss)
{
    Harness h;
    h.m.Start(5, 5);
    h.skipOpening();
    h.play({false, true, true, true, false, false, false, true});
    // After eight kicks: 1 to 3 with one kick of mine left (after seven, 1 to 2 went on).
    EXPECT_EQ(h.m.KickCount, 8);
    EXPECT_EQ(h.m.Sum(0), 1);
    EXPECT_EQ(h.m.Sum(1), 3);
    EXPECT_EQ(h.m.Result, 1);
    EXPECT_FALSE(h.next());
}

TEST(PKShootOutTest, SuddenDeathDecidesOnlyAfterThePair)
{
    Harness h;
    h.m.Start(5, 5);
    h.skipOpening();
    // Level at 5-5 after ten kicks.
    h.play({true, true, true, true, true, true, true, true, true, true});
    EXPECT_EQ(h.m.Result, 0);
    ASSERT_TRUE(h.next());
    // The eleventh kick starts a new block: the board is cleared.
    EXPECT_EQ(h.m.Sum(0) + h.m.Sum(1), 0);
    EXPECT_EQ(h.m.MarkCount[0] + h.m.MarkCount[1], 0);
    // Both score: on. Both miss: on. Mine scores, theirs misses: decided on their kick.
    h.play({true, true});
    EXPECT_EQ(h.m.Result, 0);
    ASSERT_TRUE(h.next());
    h.play({false, false});
    EXPECT_EQ(h.m.Result, 0);
    ASSERT_TRUE(h.next());
    h.playKick(-1); // my goal
    EXPECT_EQ(h.m.Result, 0) << "not after the first kick of the pair";
    ASSERT_TRUE(h.next());
    h.playKick(0); // their kick saved
    EXPECT_EQ(h.m.Result, 2);
    EXPECT_EQ(h.sounds.back(), TPKSound::Cheer) << "a deciding save is cheered";
}

TEST(PKShootOutTest, AFireShotAlwaysScores)
{
    for (int dir : {-1, 0, 1}) {
        Harness h;
        h.fire = true;
        h.m.Start(5, 5);
        h.skipOpening();
        // My kick at the keeper's side: the keeper (centre) guessed right... set him to dive my way.
        h.m.FKeeperDir = dir;
        h.playKick(dir);
        EXPECT_EQ(h.m.Fire, 4) << dir;
        EXPECT_NE(h.m.FKickDir, h.m.FKeeperDir) << dir;
        EXPECT_EQ(h.m.FAimDir, dir) << "the aim is kept";
        EXPECT_EQ(h.m.Marks[0][0], 1) << dir;
        int kicks = 0;
        for (TPKSound s : h.sounds) kicks += s == TPKSound::Kick;
        EXPECT_EQ(kicks, 2) << "the curve sounds the kick again";
    }
}

TEST(PKShootOutTest, APlainKickIsResolvedOnItsThirteenthFlightTickAFireShotOnItsFifteenth)
{
    for (bool fire : {false, true}) {
        Harness h;
        h.fire = fire;
        h.m.Start(5, 5);
        h.skipOpening();
        h.m.ChooseDirection(0); // at the keeper, who stays in the centre
        while (!h.m.Flying) Tick(h.m);
        int flightTicks = 0;
        while (h.m.AfterKick == -1) {
            Tick(h.m);
            ++flightTicks;
        }
        EXPECT_EQ(flightTicks, fire ? 15 : 13);
        EXPECT_LT(h.m.Ball.y(), 270) << "the ball rests in the goal";
        EXPECT_GE(h.m.Ball.y(), 193 - 30);
    }
}

TEST(PKShootOutTest, APlainKickIsSavedWhenTheKeeperGuessesRight)
{
    Harness h;
    h.m.Start(5, 5);
    h.skipOpening();
    h.playKick(0); // the keeper stays in the centre
    EXPECT_EQ(h.m.Marks[0][0], 0);
    EXPECT_EQ(h.m.MarkCount[0], 1);
    EXPECT_EQ(h.sounds, (std::vector<TPKSound>{TPKSound::Kick, TPKSound::Tackle}));
}

TEST(PKShootOutTest, OnePlayerTeamKeepsGoalAndTakesEveryKick)
{
    Harness h;
    h.m.Start(1, 4);
    h.skipOpening();
    for (int kick = 0; kick < 6; ++kick) {
        if (h.m.FKickSide == 0) {
            EXPECT_EQ(h.m.Kicker.side, 0);
            EXPECT_EQ(h.m.Kicker.player, 0);
        } else {
            EXPECT_EQ(h.m.Keeper.side, 0);
            EXPECT_EQ(h.m.Keeper.player, 0);
            EXPECT_EQ(h.m.Kicker.player, (kick / 2) % 3 + 1) << "the opponent's kickers take turns after its keeper";
        }
        h.playKick(kick % 2 ? 0 : -1);
        if (!h.next()) break;
    }
}

TEST(PKShootOutTest, MyFirstKickerIsTheSecondOfTheOrderAndStandsAtTheSpot)
{
    Harness h;
    h.m.Start(5, 5);
    EXPECT_TRUE(h.m.Opening);
    EXPECT_EQ(h.m.Kicker.pos, QPoint(145, 320));
    h.skipOpening();
    EXPECT_EQ(h.slept, 200);
    EXPECT_EQ(h.m.Kicker.player, 1);
    EXPECT_EQ(h.m.Kicker.pos, QPoint(115, 390));
    EXPECT_EQ(h.m.Keeper.pos, QPoint(195, 245));
    EXPECT_TRUE(h.m.Keeper.mirrored);
}

TEST(PKShootOutTest, AKickWithoutAChoiceMarksTheGameAutoPlayed)
{
    Harness h;
    h.m.Start(5, 5);
    h.skipOpening();
    h.playKick(-1);
    EXPECT_TRUE(h.manual);
    ASSERT_TRUE(h.next());
    h.playKick(2);
    EXPECT_FALSE(h.manual);
    ASSERT_TRUE(h.next());
    h.playKick(1);
    EXPECT_FALSE(h.manual) << "stays auto-played";
}

TEST(PKShootOutTest, NoChoiceOnceTheBallFlies)
{
    Harness h;
    h.m.Start(5, 5);
    h.skipOpening();
    while (!h.m.Flying) Tick(h.m);
    EXPECT_FALSE(h.m.ChooseDirection(-1));
    EXPECT_EQ(h.m.FKickDir, 0);
}

TEST(PKSingleKickTest, ResultForEitherSideGoalOrSave)
{
    for (int side : {0, 1})
        for (bool goal : {true, false}) {
            Harness h(/*soccer=*/true, side, side);
            h.m.Start(1, 1);
            EXPECT_FALSE(h.m.Opening);
            // Side 0 kicking: the user aims; side 1 kicking: the user keeps goal against a centre kick.
            const int choice = side == 0 ? (goal ? 1 : 0) : (goal ? -1 : 0);
            h.playKick(choice);
            EXPECT_EQ(h.m.Marks[side][0], goal ? 1 : 0) << "the kicking side's mark";
            EXPECT_EQ(h.m.Result, goal ? 2 : 1) << side << goal;
            EXPECT_EQ(h.slept, 1000);
            EXPECT_EQ(h.m.KickCount, 0);
            // No cheer of its own; the next tick ends it.
            for (TPKSound s : h.sounds) EXPECT_NE(s, TPKSound::Cheer);
            EXPECT_TRUE(Tick(h.m));
            EXPECT_TRUE(h.m.Finished);
            // The aim is the kicking side's: the user's own when he kicks.
            if (side == 0) {
                EXPECT_EQ(h.m.FAimDir, choice);
            }
        }
}

TEST(PKGoalZonesTest, ZonesAndTheGapsBetweenThem)
{
    struct P {
        int x, y;
        bool inside;
        int dir;
    };
    const P points[] = {{106, 193, true, -1}, {187, 302, true, -1}, {188, 250, false, 0}, {189, 250, true, 0},
                        {271, 250, true, 0},  {272, 250, false, 0}, {273, 250, true, 1},  {354, 302, true, 1},
                        {355, 250, false, 0}, {200, 303, false, 0}, {200, 192, false, 0}};
    for (const P& p : points) {
        bool inside = false;
        const int dir = TPKMatch::ZoneAt(p.x, p.y, &inside);
        EXPECT_EQ(inside, p.inside) << p.x << "," << p.y;
        if (p.inside) {
            EXPECT_EQ(dir, p.dir) << p.x << "," << p.y;
        }
    }
}

} // namespace

namespace {

// Whole shoot-outs with no input, on the real generators as the random service alternates them. The
// winner is the side with more goals in the last block of ten kicks, counted from the kicks: a ball
// that reaches the goal away from the keeper's dive is a goal of the kicking side.
TEST(PKShootOutTest, SeededShootOutsWithoutInputEndOnceAsAutoPlayed)
{
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        RandSeed = seed * 2654435761u + 1;
        MTSeed(seed + 4357);
        int draws = 0, tackles = 0, kicks = 0, ends = 0;
        int goals[2] = {0, 0};
        bool manual = true;
        TPKMatch m;
        m.Random = [&](int n) { return BlockRandom(draws++, 30, n); };
        m.Sound = [&](TPKSound s) {
            (s == TPKSound::Tackle ? tackles : kicks) += s != TPKSound::Cheer;
            if (s != TPKSound::Tackle) return;
            if (tackles % 10 == 1) goals[0] = goals[1] = 0;
            goals[m.FKickSide] += m.FKickDir != m.FKeeperDir;
        };
        m.ManualPlay = [&] { return manual; };
        m.SetManualPlay = [&](bool on) { manual = on; };
        m.Start(1 + int(seed % 9), 9);
        for (int tick = 0; tick < 20000 && !m.Finished; ++tick) ends += Tick(m);
        ASSERT_TRUE(m.Finished) << "seed " << seed;
        EXPECT_EQ(ends, 1) << "seed " << seed;
        ASSERT_NE(goals[0], goals[1]) << "seed " << seed;
        EXPECT_EQ(m.Result, goals[0] > goals[1] ? 2 : 1) << "seed " << seed;
        EXPECT_EQ(m.Sum(0), goals[0]) << "seed " << seed;
        EXPECT_EQ(m.Sum(1), goals[1]) << "seed " << seed;
        EXPECT_FALSE(manual) << "seed " << seed;
        EXPECT_GE(m.KickCount, 6) << "seed " << seed;
        EXPECT_GE(tackles, 6) << "seed " << seed;
        EXPECT_GE(kicks, tackles) << "seed " << seed;
        EXPECT_FALSE(Tick(m)) << "nothing more after the end";
    }
}

} // namespace

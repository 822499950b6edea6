// The rules of the running race, ticked without a window: choices and the key cursor, the surprise
// dash, the finish and its photo, stumbles, the status texts, and a soak of seeded races.
#include "RaceRules.h"
#include "ServicesRecord.h"
#include "race_generators.h"
#include <gtest/gtest.h>

using namespace run;

namespace {

// A race whose generators are scripted: queued values first, then n - 1 (no dash bit of 0, no
// surprise, no stumble). Sounds and the manual-play flag are recorded.
struct Harness : TServicesRecord {
    TRunRace r;
    TScripted service, runtime;
    std::vector<TRunSound> sounds;
    Harness()
    {
        FillServices(r, std::ref(service), std::ref(runtime));
        r.Sound = [this](TRunSound s) { sounds.push_back(s); };
        r.Start();
    }
    // Ends the opening with the dash of every boundary in the given box.
    void endOpening(int dashBox)
    {
        service.queue.assign(size_t(kMaxLaps * kBoundaries), dashBox == 0 ? 1 : 0);
        r.EndOpening();
    }
    // Puts a runner right on boundary b, about to pass it.
    void atBoundary(int who, int b)
    {
        TPlayer& p = r.Runners[size_t(who)];
        p.Section = b;
        p.X = Boundary(b).point.x();
        p.Y = Boundary(b).point.y();
        p.Dash.fill(0);
    }
};

TEST(RaceChoiceTest, ABoxDecidesTheDashOfTheSectionItBegins)
{
    struct Case {
        bool afterOpening;
        int section, boundary, box;
        bool taken, dash;
    };
    const Case cases[] = {
        {true, 0, 3, 0, true, true},    // the dash box
        {true, 0, 3, 1, true, false},   // the other box
        {true, 3, 3, 0, true, true},    // the boundary just ahead
        {true, 4, 3, 0, false, false},  // a boundary already passed
        {true, 0, 14, 0, true, true},   // the last boundary decides section 15
        {false, 0, 3, 0, true, false},  // chosen in the opening: the table is not drawn yet
        {true, 0, 15, 0, false, false}, // no such boundary
    };
    for (const Case& c : cases) {
        Harness h;
        if (c.afterOpening) h.endOpening(0);
        h.r.Runners[0].Section = c.section;
        h.r.Runners[0].Dash.fill(0);
        EXPECT_EQ(h.r.Choose(c.boundary, c.box), c.taken) << c.boundary << "/" << c.box;
        if (!c.taken) continue;
        EXPECT_EQ(h.r.Runners[0].Dash[size_t(c.boundary) + 1], c.dash ? 1 : 0);
        EXPECT_EQ(h.r.ChoiceDashed[size_t(c.boundary)], c.dash);
        // A second box at the same boundary changes nothing.
        EXPECT_FALSE(h.r.Choose(c.boundary, 1 - c.box));
        EXPECT_EQ(h.r.Choice[size_t(c.boundary)], c.box);
    }
}

TEST(RaceChoiceTest, KeysChooseTheNextOpenBoundary)
{
    Harness h;
    h.endOpening(1);
    TRunRace& r = h.r;
    r.Runners[0].Section = 2;
    EXPECT_TRUE(r.ChooseByKey(1)); // raised to the section
    EXPECT_EQ(r.Choice[2], 1);
    EXPECT_EQ(r.Runners[0].Dash[3], 1);
    // Boundaries chosen by clicks are passed over.
    ASSERT_TRUE(r.Choose(3, 0));
    ASSERT_TRUE(r.Choose(4, 1));
    EXPECT_TRUE(r.ChooseByKey(0));
    EXPECT_EQ(r.Choice[5], 0);
    EXPECT_EQ(r.KeyCursor, 6);
    for (int b = 6; b < kBoundaries; ++b) EXPECT_TRUE(r.ChooseByKey(0));
    EXPECT_FALSE(r.ChooseByKey(0)) << "every boundary of the lap is chosen";
    // A new lap clears the choices and starts the keys again at its first boundary.
    r.NewLap(0);
    EXPECT_EQ(r.KeyCursor, 0);
    EXPECT_TRUE(r.ChooseByKey(0));
    EXPECT_EQ(r.Choice[0], 0);
}

TEST(RaceSurpriseTest, OnlyTheRunnerBehindAndNeverOverAPick)
{
    struct Case {
        const char* what;
        int who, boundary;
        bool picked;      // the user chose a box (without a dash) at the boundary passed
        int roll3, rollN; // runtime draws
        bool behind, dash, manualAfter;
    };
    const Case cases[] = {
        {"all conditions", 0, 5, false, 0, 0, true, true, false},
        {"first roll misses", 0, 5, false, 1, 0, true, false, false},
        {"second roll misses", 0, 5, false, 0, 1, true, false, false},
        {"ahead", 0, 5, false, 0, 0, false, false, false},
        {"the user picked this section", 0, 5, true, 0, 0, true, false, true},
        {"the last boundary reads its own pick", 0, 14, true, 0, 0, true, false, true},
        {"the last boundary without a pick", 0, 14, false, 0, 0, true, true, false},
        {"the user's pick holds the opponent's surprise back too", 1, 5, true, 0, 0, true, false, true},
        {"the opponent at the last boundary reads the user's pick there", 1, 14, true, 0, 0, true, false, true},
        {"the opponent without a pick", 1, 5, false, 0, 0, true, true, true},
    };
    for (const Case& c : cases) {
        Harness h;
        h.endOpening(0);
        h.r.LapsToRun = 5;
        h.atBoundary(c.who, c.boundary);
        h.r.Runners[size_t(c.who)].LapsDone = 2;
        if (c.picked) h.r.Choice[size_t(c.boundary)] = 1;
        h.r.Runners[size_t(c.who)].Distance = c.behind ? 100 : 300;
        h.r.Runners[size_t(1 - c.who)].Distance = 200;
        h.runtime.queue = {c.roll3, c.rollN};
        h.runtime.asked.clear();
        h.r.Step(c.who);
        const TPlayer& p = h.r.Runners[size_t(c.who)];
        EXPECT_EQ(p.Section, c.boundary + 1) << c.what;
        EXPECT_EQ(p.Dash[size_t(c.boundary) + 1], c.dash ? 1 : 0) << c.what;
        EXPECT_EQ(p.Dashes, c.dash ? 1 : 0) << c.what;
        EXPECT_EQ(h.manual, c.manualAfter) << c.what;
        ASSERT_FALSE(h.runtime.asked.empty());
        EXPECT_EQ(h.runtime.asked[0], 3) << c.what;
        if (c.dash) {
            EXPECT_EQ(h.runtime.asked[1], 6) << "1 in 2 x the laps still to run, the current one counted";
        }
    }
}

TEST(RaceFinishTest, FourPixelsApartAtTheLineGoToThePhoto)
{
    struct Case {
        const char* what;
        int myLaps, mySection, myX;
        int aiteLaps, aiteSection, aiteX;
        bool photo;
        int winner;
    };
    const Case cases[] = {
        {"4 px behind at the line", 2, 0, 478, 1, 15, 474, true, -1},
        {"5 px behind", 2, 0, 478, 1, 15, 473, false, 0},
        {"both over the line, close", 2, 0, 478, 2, 0, 481, true, -1},
        {"both over the line, apart: mine", 2, 0, 478, 2, 0, 486, false, 0},
        {"the opponent first", 1, 14, 420, 2, 0, 478, false, 1},
        {"half a lap behind at the same x", 2, 0, 478, 1, 4, 478, false, 0},
        {"a lap behind at the same x", 2, 0, 478, 0, 15, 478, false, 0},
    };
    for (const Case& c : cases) {
        Harness h;
        h.endOpening(0);
        TPlayer& me = h.r.Runners[0];
        TPlayer& aite = h.r.Runners[1];
        me.LapsDone = c.myLaps, me.Section = c.mySection, me.X = c.myX, me.StumbleTimer = 3;
        aite.LapsDone = c.aiteLaps, aite.Section = c.aiteSection, aite.X = c.aiteX;
        h.r.TickCount = 23; // an odd tick: nobody steps, the finish is looked at
        h.r.Tick();
        EXPECT_EQ(h.r.PhotoRunning(), c.photo) << c.what;
        EXPECT_EQ(h.r.Winner, c.winner) << c.what;
        EXPECT_EQ(me.StumbleTimer, 0) << c.what;
    }
}

TEST(RaceFinishTest, ThePhotoDecidesAfterItsWaitThenTheCelebrationEnds)
{
    Harness h;
    h.endOpening(0);
    h.r.Runners[0].LapsDone = 2;
    h.r.Runners[1].LapsDone = 2;
    h.r.TickCount = 23;
    int ticks = 0;
    while (!h.r.Decided() && ticks < 100) {
        ASSERT_FALSE(h.r.Tick());
        ++ticks;
    }
    EXPECT_EQ(ticks, 36);
    EXPECT_TRUE(h.r.PhotoDecided());
    EXPECT_EQ(h.r.Winner, 1) << "the random service's 1 is the opponent";
    EXPECT_EQ(h.r.FinishCounter, 0);
    int more = 0;
    while (!h.r.Tick()) ASSERT_LT(++more, 100);
    EXPECT_EQ(more + 1, 41);
    EXPECT_TRUE(h.r.Finished);
    EXPECT_FALSE(h.r.Tick()) << "it ends once";
}

TEST(RaceTextTest, LapAndDashRate)
{
    struct Lap {
        int laps, done;
        const char* text;
    };
    for (const Lap& c : {Lap{1, 0, "1周目"}, Lap{1, 1, "1周目"}, Lap{2, 0, "1周目"}, Lap{2, 1, "ラスト"}, Lap{2, 2, "ラスト"},
                         Lap{10, 8, "9周目"}, Lap{10, 9, "ラスト"}}) {
        Harness h;
        h.r.LapsToRun = c.laps;
        h.r.Runners[0].LapsDone = c.done;
        EXPECT_EQ(h.r.LapText(0), QString::fromUtf8(c.text)) << c.laps << " " << c.done;
    }
    struct Rate {
        int dashes, sections;
        bool all;
        const char* text;
    };
    for (const Rate& c : {Rate{0, 0, true, "0%"}, Rate{3, 3, true, "100%"}, Rate{1, 3, false, "33%"}, Rate{2, 3, false, "67%"},
                          Rate{1, 8, false, "12%"}, Rate{3, 8, false, "38%"}, Rate{0, 4, false, "0%"}}) {
        Harness h;
        TPlayer& p = h.r.Runners[1];
        p.Dashes = c.dashes, p.SectionsEntered = c.sections, p.AllDash = c.all;
        EXPECT_EQ(h.r.RateText(1), QString::fromUtf8(c.text)) << c.dashes << "/" << c.sections;
    }
    Harness h;
    h.r.Runners[0].LapsDone = 1;
    TPlayer& me = h.r.Runners[0];
    me.Dashes = 2, me.SectionsEntered = 3, me.AllDash = false, me.Streak = 1, me.MaxStreak = 2;
    EXPECT_EQ(h.r.StatusLine(0), QStringLiteral("自分[ラスト] ダッシュ2回(67%) 1連(Max2連)"));
    EXPECT_TRUE(h.r.StatusLine(1).startsWith(QStringLiteral("相手[1周目] ダッシュ0回(0%)")));
}

// Seeded races on the program's generators: the random service in blocks of 50, the runtime
// generator directly. Each race ends once with the winner that the runners' places at the line give:
// the first over it, my runner when both cross on one step, the photo only for two side by side at
// the line. Stumbles happen only on the home straight and keep the runner still for 4 to 13 steps;
// KICK sounds only for a dashing runner's step.
TEST(RaceSoakTest, SeededRacesEndOnceWithAWinner)
{
    int stumbles = 0, wins = 0, photos = 0;
    for (std::uint32_t seed = 1; seed <= 240; ++seed) {
        const bool keys = seed % 2 == 0;
        TSeededRandom rnd(seed, 50);
        TRunRace r;
        bool manual = true;
        int kicks = 0, dashSteps = 0;
        r.Random = std::ref(rnd);
        r.RuntimeRandom = [](int n) { return LcgRandom(n); };
        r.Sound = [&](TRunSound s) { kicks += s == TRunSound::Kick; };
        r.ManualPlay = [&] { return manual; };
        r.SetManualPlay = [&](bool on) { manual = on; };
        r.Start();
        r.SetLaps(TRunRace::kLapOptions[seed % 4]);
        r.EndOpening();
        int ticks = 0;
        bool ended = false, crossed = false;
        auto atTheLine = [&r](const TPlayer& p) {
            return p.LapsDone >= r.LapsToRun || (p.LapsDone == r.LapsToRun - 1 && p.Section == kBoundaries);
        };
        while (!ended) {
            ASSERT_LT(++ticks, 20000) << "seed " << seed;
            if (keys) r.ChooseByKey(int(seed / 2 % 2));
            if (r.TickCount == TRunRace::kStartTick) {
                // The first section has no dash of its own but one drawn for one of the runners.
                EXPECT_EQ(r.Runners[0].Dash[0] + r.Runners[1].Dash[0], 1) << "seed " << seed;
            }
            const std::array<TPlayer, 2> before = r.Runners;
            const bool stepping = r.TickCount >= TRunRace::kStartTick && r.TickCount % 2 == 0 && !r.Decided() && !r.PhotoRunning();
            ended = r.Tick();
            if (!stepping) continue;
            const TPlayer& me = r.Runners[0];
            const TPlayer& aite = r.Runners[1];
            if (!crossed && (me.LapsDone >= r.LapsToRun || aite.LapsDone >= r.LapsToRun)) {
                crossed = true;
                const bool photo = std::abs(me.X - aite.X) <= 4 && atTheLine(me) && atTheLine(aite);
                photos += photo;
                EXPECT_EQ(r.PhotoRunning(), photo) << "seed " << seed;
                EXPECT_EQ(r.Winner, photo ? -1 : me.LapsDone >= r.LapsToRun ? 0 : 1) << "seed " << seed;
            }
            for (size_t i = 0; i < 2; ++i) {
                const TPlayer& a = before[i];
                const TPlayer& b = r.Runners[i];
                if (b.Dashing() && !a.Stumbling() && a.Section == b.Section && a.LapsDone == b.LapsDone) ++dashSteps;
                if (!a.Stumbling() && b.Stumbling()) {
                    ++stumbles;
                    EXPECT_GE(b.Section, 13) << "seed " << seed;
                    EXPECT_GE(b.StumbleTimer, 4);
                    EXPECT_LE(b.StumbleTimer, 13);
                }
                if (a.Stumbling() && (b.Stumbling() || a.StumbleTimer == 1)) {
                    EXPECT_EQ(QPoint(a.X, a.Y), QPoint(b.X, b.Y)) << "a fallen runner stays put";
                }
            }
        }
        EXPECT_TRUE(crossed) << "seed " << seed;
        EXPECT_TRUE(r.Winner == 0 || r.Winner == 1) << "seed " << seed;
        EXPECT_FALSE(r.Tick());
        EXPECT_EQ(manual, keys) << "seed " << seed << ": keys chose every boundary ahead";
        EXPECT_GE(kicks, dashSteps) << "seed " << seed;
        wins += r.Winner == 0;
    }
    EXPECT_GT(stumbles, 10);
    EXPECT_GT(photos, 0);
    EXPECT_GT(wins, 40);
    EXPECT_LT(wins, 200);
}

} // namespace

// The rules of the hurdle race, ticked without a window: the jump windows, knocked hurdles, the jump
// plans and the lanes that follow them, the course with its hurdles and sprint, the photo finish, and
// a soak of seeded races.
#include "HurdleRules.h"
#include "race_generators.h"
#include <set>
#include <gtest/gtest.h>

using namespace hur;

namespace {

// A race with scripted generators (queued values, then n - 1: no stumble, no wobble), recorded sounds
// and an auto-progress box of its own.
struct Harness {
    THurdleRace r;
    TScripted service, runtime;
    std::vector<THurSound> sounds;
    bool autoOn = false;
    explicit Harness(int hurdles = 10)
    {
        r.Random = std::ref(service);
        r.RuntimeRandom = std::ref(runtime);
        r.Sound = [this](THurSound s) { sounds.push_back(s); };
        r.AutoChecked = [this] { return autoOn; };
        r.Start();
        r.DrawPlans(hurdles);
    }
    // In the middle of the hurdles: the course scrolling, both runners at their places.
    void midCourse()
    {
        r.EndOpening();
        r.TickCount = 200;
        r.Scroll = 1000;
        for (TPlayer& p : r.Runners) p.X = p.RunToX;
        r.Plan[1].clear(); // the opponent stays out of the way
    }
    TRecord& current() { return r.Records[size_t(r.Current)]; }
};

TEST(HurdleJumpTest, TheWindowBeforeAHurdleDecidesTheJump)
{
    struct Case {
        int d; // the hurdle's distance ahead of the runner's base
        TLaneStatus status;
        int pending;
    };
    const Case cases[] = {{44, TLaneStatus::Normal, -5}, {45, TLaneStatus::Clean, 5}, {49, TLaneStatus::Clean, 5},
                          {50, TLaneStatus::Normal, -5}, {200, TLaneStatus::Normal, -5}, {-10, TLaneStatus::Normal, -5}};
    for (const Case& c : cases) {
        Harness h;
        EXPECT_FALSE(h.r.Jump()) << "a click in the opening keeps the first hurdle's jump";
        h.midCourse();
        h.autoOn = true;
        EXPECT_FALSE(h.r.Jump()) << "the computer jumps for my runner";
        h.autoOn = false;
        h.r.Runners[0].Gain = 10; // measured from run-to x plus the gains
        h.current().X = h.r.Runners[0].Base() + c.d;
        ASSERT_TRUE(h.r.Jump()) << c.d;
        EXPECT_EQ(h.current().Status[0], c.status) << c.d;
        EXPECT_EQ(h.r.Runners[0].Pending, c.pending) << c.d;
        EXPECT_EQ(h.r.Runners[0].Air, THurdleRace::kAirTicks);
        EXPECT_EQ(h.sounds.size(), c.status == TLaneStatus::Clean ? 1u : 0u);
        // One jump per hurdle: a second click does nothing, in the air or back on the ground.
        EXPECT_FALSE(h.r.Jump());
        h.r.Runners[0].Air = 0;
        EXPECT_FALSE(h.r.Jump());
    }
}

TEST(HurdleJumpTest, AHurdleMetOnTheGroundIsKnockedDown)
{
    struct Case {
        const char* what;
        int jumpAt; // distance at which the user jumps; 0 for no jump
        TLaneStatus status;
        int gain;
        int start = 150, ticks = 60; // the hurdle's distance before the first tick's scroll of 5 px
    };
    const Case cases[] = {{"no jump", 0, TLaneStatus::Knocked, -15},
                          {"clean", 45, TLaneStatus::Clean, 5},
                          {"a little early", 50, TLaneStatus::Normal, -5},
                          {"far too early: down again before it", 120, TLaneStatus::Knocked, -20},
                          {"30 px ahead: knocked", 0, TLaneStatus::Knocked, -15, 35, 1},
                          {"31 px ahead: not yet", 0, TLaneStatus::Untouched, 0, 36, 1},
                          {"20 px behind: knocked", 0, TLaneStatus::Knocked, -15, -15, 1},
                          {"21 px behind: passed", 0, TLaneStatus::Untouched, 0, -16, 1}};
    for (const Case& c : cases) {
        Harness h;
        h.midCourse();
        TRecord& hurdle = h.current();
        hurdle.X = h.r.Runners[0].Base() + c.start;
        int hurdleSounds = 0;
        for (int i = 0; i < c.ticks; ++i) {
            if (c.jumpAt && hurdle.X - h.r.Runners[0].Base() == c.jumpAt) h.r.Jump();
            h.sounds.clear();
            h.r.Tick();
            for (THurSound s : h.sounds) hurdleSounds += s == THurSound::HurdleNoStop;
        }
        EXPECT_EQ(hurdle.Status[0], c.status) << c.what;
        EXPECT_EQ(h.r.Runners[0].Gain, c.gain) << c.what;
        EXPECT_EQ(hurdleSounds, c.status == TLaneStatus::Knocked ? 1 : 0) << c.what;
        EXPECT_EQ(h.r.Runners[0].X, h.r.Runners[0].RunToX + c.gain) << c.what;
    }
}

TEST(HurdlePlanTest, DrawsMapToPlanKinds)
{
    Harness h(2);
    h.service.queue = {2, 5, 0, 8, 2, 9, 1};
    h.service.asked.clear();
    h.r.DrawPlans(2);
    EXPECT_EQ(h.r.Plan[0], (std::vector<std::uint8_t>{pkClean, pkNormal}));
    EXPECT_EQ(h.r.Plan[1], (std::vector<std::uint8_t>{pkKnock, pkClean}));
    EXPECT_EQ(h.service.asked, (std::vector<int>{10, 10, 2, 10, 3, 10, 3}));
    EXPECT_EQ(h.r.Hurdles, 2);
}

TEST(HurdlePlanTest, EachComputerLaneActsAtItsOwnOffsets)
{
    struct Case {
        int lane, kind, d;
        bool acts;
    };
    const Case cases[] = {{0, pkNormal, 40, true}, {0, pkClean, 45, true}, {0, pkKnock, 30, true}, {0, pkClean, 85, false},
                          {1, pkNormal, 80, true}, {1, pkClean, 85, true}, {1, pkKnock, 70, true}, {1, pkClean, 45, false}};
    const TLaneStatus expected[] = {TLaneStatus::Normal, TLaneStatus::Clean, TLaneStatus::Knocked};
    const int gains[] = {-5, 5, -15};
    for (const Case& c : cases) {
        Harness h;
        h.midCourse();
        h.autoOn = true; // my lane follows its plan too
        h.r.Plan[0] = {pkNormal};
        h.r.Plan[1] = {pkNormal};
        h.r.Plan[size_t(c.lane)] = {std::uint8_t(c.kind)};
        // Out of reach of the other lane's offsets; the scroll brings it to d.
        h.current().X = h.r.Runners[size_t(c.lane)].Base() + c.d + 5;
        h.r.Tick();
        const TRecord& r = h.current();
        EXPECT_EQ(r.Status[size_t(c.lane)], c.acts ? expected[c.kind] : TLaneStatus::Untouched) << c.lane << "/" << c.d;
        EXPECT_EQ(h.r.PlanPos[size_t(c.lane)], c.acts ? 1u : 0u);
        if (c.acts) {
            EXPECT_EQ(h.r.Runners[size_t(c.lane)].Gain, gains[c.kind]);
        }
    }
}

TEST(HurdleCourseTest, ExactlyTheChosenHurdlesThenTheSprint)
{
    for (int hurdles : THurdleRace::kHurdleOptions) {
        TSeededRandom rnd(std::uint32_t(hurdles), 10);
        Harness h(hurdles);
        h.autoOn = true;
        h.r.Random = std::ref(rnd);
        h.r.DrawPlans(hurdles);
        h.r.EndOpening();
        std::set<int> shown;
        int sprintScroll = -1, lastScroll = 0;
        while (!h.r.Decided() && !h.r.PhotoRunning()) {
            const std::array<TPlayer, 2> before = h.r.Runners;
            h.r.Tick();
            ASSERT_LT(h.r.TickCount, 5000);
            ASSERT_GE(h.r.Scroll, lastScroll);
            lastScroll = h.r.Scroll;
            for (const TRecord& r : h.r.Records)
                if (r.Visible) shown.insert(r.Number);
            const TPlayer& me = h.r.Runners[0];
            if (sprintScroll < 0 && h.r.Scroll > 160 && me.X - me.Gain > before[0].X - before[0].Gain) sprintScroll = h.r.Scroll;
        }
        EXPECT_EQ(int(shown.size()), hurdles);
        EXPECT_EQ(*shown.rbegin(), hurdles - 1);
        EXPECT_EQ(h.r.Scroll, hurdles * 295 + 300) << "the course stops at its end";
        EXPECT_EQ(sprintScroll, hurdles * 295 + 300);
        EXPECT_EQ(h.r.PlanPos[0], size_t(hurdles)) << "every hurdle judged once in my lane";
        EXPECT_EQ(h.r.PlanPos[1], size_t(hurdles));
    }
}

TEST(HurdleFinishTest, BothAtOrPastFivePixelsBeforeTheirLinesGoToThePhoto)
{
    struct Case {
        const char* what;
        int myX, aiteX; // before the last step of 5 px (a runner past its line stays)
        bool photo;
        int winner;
    };
    const Case cases[] = {
        {"mine reaches, the opponent 5 px short", 505, 460, true, -1},
        {"mine reaches, the opponent 6 px short", 505, 459, false, 0},
        {"mine well past the line, the opponent reaches", 520, 466, true, -1},
        {"the opponent reaches, mine 5 px short", 500, 465, true, -1},
        {"the opponent reaches, mine 6 px short", 499, 465, false, 1},
    };
    for (const Case& c : cases) {
        Harness h(6);
        h.midCourse();
        h.r.Scroll = h.r.CourseEnd();
        h.r.Runners[0].X = c.myX;
        h.r.Runners[1].X = c.aiteX;
        h.r.Runners[1].Dust = 3;
        h.r.Tick();
        EXPECT_EQ(h.r.PhotoRunning(), c.photo) << c.what;
        EXPECT_EQ(h.r.Winner, c.winner) << c.what;
        EXPECT_EQ(h.r.Runners[1].Dust, 0) << c.what;
        if (!c.photo) continue;
        // The photo is looked at for 51 ticks, then decides at random.
        h.service.queue = {0};
        int ticks = 1;
        while (!h.r.Decided()) {
            h.r.Tick();
            ASSERT_LT(++ticks, 100);
        }
        EXPECT_EQ(ticks, 51) << c.what;
        EXPECT_TRUE(h.r.PhotoDecided());
        EXPECT_EQ(h.r.Winner, 0);
    }
}

TEST(HurdleSoakTest, SeededRacesEndOnceWithAWinner)
{
    int myWins = 0, races = 0;
    for (std::uint32_t seed = 1; seed <= 150; ++seed) {
        for (bool autoOn : {false, true}) {
            const int hurdles = THurdleRace::kHurdleOptions[seed % 3];
            TSeededRandom rnd(seed, 10);
            Harness h(hurdles);
            h.autoOn = autoOn;
            h.r.Random = std::ref(rnd);
            h.r.RuntimeRandom = [](int n) { return LcgRandom(n); };
            h.r.DrawPlans(hurdles);
            h.r.EndOpening();
            int ticks = 0;
            bool crossed = false;
            const TPlayer& me = h.r.Runners[0];
            const TPlayer& aite = h.r.Runners[1];
            while (!h.r.Tick()) {
                ASSERT_LT(++ticks, 5000) << "seed " << seed;
                if (crossed || (me.X < me.FinishX && aite.X < aite.FinishX)) continue;
                // The first over the line wins, unless the other is within five pixels of its own.
                crossed = true;
                const bool photo = me.X >= me.FinishX - 5 && aite.X >= aite.FinishX - 5;
                EXPECT_EQ(h.r.PhotoRunning(), photo) << "seed " << seed;
                EXPECT_EQ(h.r.Winner, photo ? -1 : me.X >= me.FinishX ? 0 : 1) << "seed " << seed;
            }
            EXPECT_TRUE(crossed) << "seed " << seed;
            EXPECT_TRUE(h.r.Winner == 0 || h.r.Winner == 1);
            EXPECT_FALSE(h.r.Tick());
            if (!autoOn) {
                // Without a single jump my runner knocks every hurdle down.
                EXPECT_EQ(h.r.Runners[0].Gain, -15 * hurdles) << "seed " << seed;
                EXPECT_EQ(h.r.PlanPos[0], 0u);
            } else {
                EXPECT_EQ(h.r.PlanPos[0], size_t(hurdles)) << "seed " << seed;
            }
            myWins += h.r.Winner == 0;
            ++races;
        }
    }
    EXPECT_GT(myWins, races / 10);
    EXPECT_LT(myWins, races);
}

} // namespace

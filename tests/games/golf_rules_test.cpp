// The putting match's rules, ticked without a window.
#include "GolfRules.h"
#include "SeededRandom.h"
#include <QtCore/qnamespace.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace golf;

namespace {

// A match at its first green, my team to putt, auto-progress as given.
struct Match {
    TSeededRandom rnd;
    bool autoOn;
    TGolfMatch m;
    explicit Match(std::uint32_t seed, bool autoProgress = false, int turn = 0) : rnd(seed), autoOn(autoProgress)
    {
        m.Random = [this](int n) { return rnd(n); };
        m.AutoChecked = [this] { return autoOn; };
        m.Start();
        m.FTurnTeam = turn;
        m.BeginPlay();
    }
};

// What a player sees of a match, counted by the test itself: who putts each stroke (in a game played by
// hand, the user's putts are the ones the test gave; under auto-progress, the player shown at the tee)
// and whose ball drops in. After a putt that stays out the other team putts; after a hole, its loser
// starts the next; either way the putts alternate.
struct Scorecard {
    int lastPutter = -1, holer = -1, holeStarter = -1;
    bool holedSince = false;
    int holesWon[2] = {0, 0}, missesFollowed = 0, starterWins = 0;

    void Putt(int putter, std::uint32_t seed)
    {
        if (lastPutter < 0 || holedSince) holeStarter = putter;
        if (holedSince) {
            EXPECT_EQ(putter, 1 - holer) << "the hole's loser starts the next, seed " << seed;
        } else if (lastPutter >= 0) {
            EXPECT_EQ(putter, 1 - lastPutter) << "a missed putt passes the turn, seed " << seed;
            ++missesFollowed;
        }
        lastPutter = putter;
        holedSince = false;
    }
    void Holed()
    {
        holer = lastPutter;
        ++holesWon[holer];
        starterWins += holer == holeStarter;
        holedSince = true;
    }
};

} // namespace

TEST(GolfSearchTest, SeedsBracketTheTargetAndTheSearchClosesIn)
{
    struct Row {
        int cupX, target, flat;
        THill hills[2];
        std::vector<int> seeds;
    } rows[] = {
        {200, 210, -1, {{100, 300, 160}, {300, 300, 120}}, {17, 200, 383}},
        {200, 10, -1, {{100, 300, 160}, {300, 300, 120}}, {3, 17, 200, 383}},  // mirror of the smallest
        // Both seeds left of the cup: its x goes, and the mirror of the largest brackets the target again.
        {250, 240, -1, {{100, 300, 160}, {150, 300, 120}}, {17, 108, 372}},
        {250, 240, 1, {{100, 300, 160}, {150, 300, 120}}, {17, 250}},           // a flat hill's seed is the cup's x
    };
    for (const Row& r : rows) {
        TGreen g;
        g.CupX = r.cupX;
        g.CupY = 100;
        g.Hills[0] = r.hills[0];
        g.Hills[1] = r.hills[1];
        g.FFlatHill = r.flat;
        std::vector<int> tries = TGolfMatch::SeedTries(g, r.target);
        std::sort(tries.begin(), tries.end());
        EXPECT_EQ(tries, r.seeds) << r.cupX << " " << r.target;
        // Every aim of the search lies in the bracket around the target, which it reaches.
        int draws = 0, aims = 0;
        auto alternate = [&draws](int) { return draws++ % 2; };
        for (int aim = 0; aim != r.target && aims < 20; ++aims) {
            auto below = std::lower_bound(tries.begin(), tries.end(), r.target);
            const int lo = below == tries.begin() ? *below : *(below - 1), hi = *below;
            aim = TGolfMatch::SearchAim(tries, r.target, alternate);
            EXPECT_TRUE(aim == r.target || (aim > lo && aim < hi)) << aim << " not in " << lo << ".." << hi;
            std::sort(tries.begin(), tries.end());
        }
        EXPECT_LT(aims, 20) << r.cupX << " " << r.target;
    }
}

TEST(GolfInputTest, DragAndKeysAimOnlyInMyTurn)
{
    struct Act {
        char kind; // D down, M move, U up, K key
        int a, b;
    };
    struct Row {
        const char* name;
        bool autoOn;
        int turn;
        std::vector<Act> acts;
        bool dragging;
        int countdown, aimDx, aimY; // aim x as an offset from the cup's x (or the absolute x when aimY >= 0)
    } rows[] = {
        {"drag", false, 0, {{'D', 300, 200}, {'M', 310, 150}, {'U', 320, 100}}, false, 10, 320, 100},
        {"release on the ball's row", false, 0, {{'D', 300, 300}, {'U', 350, kTeeY}}, false, 0, 350, kTeeY},
        {"still dragging", false, 0, {{'D', 300, 300}, {'M', 250, 200}}, true, 0, 250, 200},
        {"keys", false, 0, {{'K', Qt::Key_1, 0}, {'K', Qt::Key_3, 0}, {'K', Qt::Key_3, 0}, {'K', Qt::Key_Enter, 0}}, false, 10, 1, -1},
        {"key 2 putts", false, 0, {{'K', Qt::Key_1, 0}, {'K', Qt::Key_2, 0}}, false, 10, -1, -1},
        {"enter without aiming", false, 0, {{'K', Qt::Key_Return, 0}}, false, 0, 0, -1},
        {"auto", true, 0, {{'K', Qt::Key_1, 0}, {'D', 300, 200}, {'U', 300, 100}}, false, 0, 0, -1},
        {"computer's turn", false, 1, {{'K', Qt::Key_3, 0}, {'D', 300, 200}, {'U', 300, 100}}, false, 0, 0, -1},
    };
    for (const Row& r : rows) {
        Match x(7, r.autoOn, r.turn);
        TGolfMatch& m = x.m;
        const int draws = x.rnd.count;
        for (const Act& a : r.acts) {
            if (a.kind == 'D') m.MouseDown(a.a, a.b);
            if (a.kind == 'M') m.MouseMove(a.a, a.b);
            if (a.kind == 'U') m.MouseUp(a.a, a.b);
            if (a.kind == 'K') m.KeyDown(a.a);
        }
        EXPECT_EQ(m.FDragging, r.dragging) << r.name;
        EXPECT_EQ(m.FPuttCountdown, r.countdown) << r.name;
        EXPECT_EQ(m.FAimX, r.aimY >= 0 ? r.aimDx : m.Green.CupX + r.aimDx) << r.name;
        EXPECT_EQ(m.FAimY, r.aimY >= 0 ? r.aimY : m.Green.CupY) << r.name;
        EXPECT_EQ(x.rnd.count - draws, r.countdown ? 1 : 0) << r.name;
    }
}

TEST(GolfIdleTest, IdleUserLosesButNotWhileAimingOrWithAPuttGiven)
{
    Match idle(3);
    int ticks = 1;
    while (!idle.m.Tick() && ticks < 2000) ++ticks;
    EXPECT_EQ(ticks, TGolfMatch::kIdleLimit + 2);
    EXPECT_EQ(idle.m.FResult, 1);
    EXPECT_FALSE(idle.m.Tick()) << "the end comes once";

    Match aiming(3);
    aiming.m.MouseDown(300, 200);
    for (int t = 0; t < 2000; ++t) ASSERT_FALSE(aiming.m.Tick());

    // A putt given just before the limit counts down past it and is played.
    Match late(3);
    for (int t = 0; t < TGolfMatch::kIdleLimit - 5; ++t) late.m.Tick();
    late.m.KeyDown(Qt::Key_1);
    late.m.KeyDown(Qt::Key_Enter);
    for (int t = 0; t < 20; ++t) ASSERT_FALSE(late.m.Tick()) << t;
    EXPECT_NE(late.m.Ball.State, bsWaiting);
}

TEST(GolfSoakTest, SeededGamesAlternatePuttsAndEndOnceWonByTheHolesOfThePutts)
{
    int deciding = 0, missesFollowed = 0, holesPlayed = 0, starterWins = 0;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        TSeededRandom rnd(seed);
        std::mt19937 user(seed);
        const bool autoOn = seed % 2 == 1; // otherwise a user putts by dragging
        std::vector<TGolfSound> sounds;
        TGolfMatch m;
        Scorecard card;
        bool userGave = false; // the last putt given was the user's own drag
        m.Random = std::ref(rnd);
        m.AutoChecked = [autoOn] { return autoOn; };
        m.Sound = [&](TGolfSound s) {
            sounds.push_back(s);
            if (s == TGolfSound::Pat) {
                const int putter = autoOn ? m.FTurnTeam : userGave ? 0 : 1;
                if (!autoOn) {
                    EXPECT_EQ(m.FTurnTeam, putter) << "the player shown at the tee putts, seed " << seed;
                }
                card.Putt(putter, seed);
                userGave = false;
            }
            if (s == TGolfSound::In) card.Holed();
        };
        m.FHolesToWin = TGolfMatch::kHoleOptions[seed % 5];
        m.Start();
        m.BeginPlay();
        int ticks = 0, ends = 0;
        for (; ticks < 300000 && !m.Finished; ++ticks) {
            if (m.FPuttNo == 1 && m.FWaitTicks == TGolfMatch::kNewGreenWait) {
                const std::vector<int>& s = m.Green.FSolutions;
                ASSERT_GE(s.size(), 4u);
                const bool decides = m.FHolesWon[m.FTurnTeam] == m.FHolesToWin - 1;
                deciding += decides;
                EXPECT_FALSE(decides && m.Green.FStraightFound) << "seed " << seed;
                const auto cup = std::find(s.begin(), s.end(), m.Green.CupX);
                EXPECT_TRUE((cup > s.begin() && cup[-1] == m.FAimTarget) || (cup + 1 < s.end() && cup[1] == m.FAimTarget));
                EXPECT_EQ(m.FAimX + m.FAimDir * m.FAimRemaining, m.Green.FStraightFound ? m.FAimTarget : m.Green.CupX);
            }
            if (m.BallWaiting()) {
                ASSERT_EQ(m.FStoppedAims.size(), 8u * (m.FPuttNo - 1)) << "eight per missed putt";
            }
            // The user drags whenever the ball waits and no putt counts down; only in his own turn
            // does the aim line turn solid.
            if (!autoOn && m.BallWaiting() && m.FWaitTicks == 0 && !m.AimLineSolid()) {
                const std::vector<int>& s = m.Green.FSolutions;
                const int aim = user() % 3 == 0 ? s[user() % s.size()] : int(user() % 500);
                m.MouseDown(aim, 300);
                m.MouseUp(aim, m.Green.CupY);
                userGave = m.AimLineSolid();
            }
            ends += m.Tick();
        }
        for (int t = 0; t < 5; ++t) ends += m.Tick();
        ASSERT_EQ(ends, 1) << "seed " << seed << " after " << ticks << " ticks";
        ASSERT_TRUE(m.FResult == 0 || m.FResult == 1);
        const int winner = m.FResult;
        EXPECT_EQ(card.holesWon[winner], m.FHolesToWin) << "seed " << seed;
        EXPECT_LT(card.holesWon[1 - winner], m.FHolesToWin) << "seed " << seed;
        EXPECT_EQ(m.FHolesWon[0], card.holesWon[0]) << "seed " << seed;
        EXPECT_EQ(m.FHolesWon[1], card.holesWon[1]) << "seed " << seed;
        EXPECT_EQ(m.HoleMarks(winner), QString(m.FHolesToWin, QChar(0x25CF)));
        const int holes = m.HoleNumber();
        EXPECT_EQ(std::count(sounds.begin(), sounds.end(), TGolfSound::In), holes);
        EXPECT_EQ(std::count(sounds.begin(), sounds.end(), TGolfSound::Cheer), holes);
        missesFollowed += card.missesFollowed;
        holesPlayed += holes;
        starterWins += card.starterWins;
    }
    EXPECT_GT(deciding, 100);
    EXPECT_GT(missesFollowed, 1000);
    // Alternate putts give the team that starts a hole no sure win.
    EXPECT_LT(starterWins, holesPlayed * 3 / 4) << starterWins << " of " << holesPlayed;
}

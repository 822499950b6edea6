// The rules of hide-and-seek, ticked without a window: the box picks, the seeker's weight and its
// draws (bounds of 0 and below included), birds, warps, manual play, the path's ends, the reactions,
// and a soak of seeded games on the real generators.
#include "GameRandom.h"
#include "KakureRules.h"
#include <array>
#include <climits>
#include <deque>
#include <gtest/gtest.h>

using namespace kakure;

namespace {

// A game whose draws come from a script while it lasts, then from the random service's two
// generators in blocks of 50; every bound asked for is recorded.
struct Harness {
    TKakureGame g;
    std::deque<int> script;
    std::vector<int> bounds;
    int count = 0;
    bool manual = true;
    int cheers = 0, changes = 0;
    Harness()
    {
        g.Random = [this](int n) {
            bounds.push_back(n);
            if (!script.empty()) {
                const int v = script.front();
                script.pop_front();
                return v;
            }
            return BlockRandom(count++, 50, n);
        };
        g.Sound = [this](TKakureSound s) { ++(s == TKakureSound::Cheer ? cheers : changes); };
        g.ManualPlay = [this] { return manual; };
        g.SetManualPlay = [this](bool on) { manual = on; };
        RandSeed = 12345;
        MTSeed(4357);
        g.Start();
        g.StartRound();
        bounds.clear();
        Mine().FMarks = Aite().FMarks = mkNone;
    }
    TPlayer& Mine() { return g.Mine(); }
    TPlayer& Aite() { return g.Aite(); }
    // Both hiders in their boxes, the seeker about to choose.
    void hidden(int mine, int aite)
    {
        for (auto [w, box] : {std::pair{&g.Mine(), mine}, std::pair{&g.Aite(), aite}}) {
            w->FSpot = box;
            w->FHidden = true;
            w->FDir = 0;
            w->FTurnsLeft = 0;
            w->FX = TKakureGame::kBoxes[box].x();
            w->FY = TKakureGame::kBoxes[box].y();
        }
    }
    // The seeker arrived at a box.
    void seekerAt(int box)
    {
        g.Oni().FSpot = box;
        g.Oni().FHidden = true;
        g.Oni().FDir = 0;
    }
    void remove(const std::vector<int>& boxes)
    {
        for (int k : boxes) {
            g.BoxNumbers[k] = 0;
            --g.FOpenCount;
        }
    }
};

TEST(KakureRules, PickSpotDrawsUntilABoxFitsItsRule)
{
    struct Row {
        const char* what;
        int rule;
        std::vector<int> removed;
        int mine, aite;
        std::deque<int> draws;
        int expected;
    };
    const Row rows[] = {
        {"my first box: any that exists", 0, {0, 1}, -1, -1, {0, 1, 2}, 2},
        {"the opponent's: not mine", 1, {}, 3, -1, {3, 5}, 5},
        {"the seeker's: no hider's", 2, {}, 1, 2, {1, 2, 6}, 6},
        {"the seeker's with two boxes: a hider's", 2, {0, 2, 3, 4, 5, 7}, 1, 6, {3, 0, 6}, 6},
        {"a bird's with four boxes: any", 3, {0, 1, 2, 3}, 4, 5, {4}, 4},
        {"a bird's: a hider's only on a third", 3, {}, 2, 3, {2, 1, 3, 0}, 3},
        {"a bird's: a free one", 3, {}, 2, 3, {6, 2}, 6},
        {"a warp's: a free one", 4, {}, 0, 7, {0, 7, 4}, 4},
    };
    for (const Row& r : rows) {
        Harness h;
        h.remove(r.removed);
        h.g.Mine().FSpot = r.mine;
        h.g.Aite().FSpot = r.aite;
        h.script = r.draws;
        EXPECT_EQ(h.g.PickSpot(r.rule), r.expected) << r.what;
        EXPECT_TRUE(h.script.empty()) << r.what;
    }
}

TEST(KakureRules, SeekerWeightAddsUpOverBothHiders)
{
    struct Row {
        int open;
        quint16 mine, aite;
        int first;
        std::vector<int> weights;
    };
    const Row rows[] = {
        {8, mkBird | mkSmall, mkInvisible, 0, {55, 75}},
        {8, mkBird, mkInvisible, 1, {100, 75}},
        {5, mkNone, mkShake | mkSmall, 1, {45, 45}},
        {3, mkInFront, mkFootprints, 0, {10, 0}},
        {8, mkLarge, mkSmall, 0, {65, 75}},
    };
    for (const Row& r : rows) {
        Harness h;
        h.hidden(0, 1);
        h.remove({7, 6, 5, 4, 3}); // 3 boxes left
        for (int k = 3; k < 3 + r.open - 3; ++k) {
            h.g.BoxNumbers[k] = k + 1;
            ++h.g.FOpenCount;
        }
        ASSERT_EQ(h.g.FOpenCount, r.open);
        h.g.Mine().FMarks = r.mine;
        h.g.Aite().FMarks = r.aite;
        // Neither draw finds its hider (10 is never below 10); the seeker then picks a free box.
        h.script = {r.first, 10, 10, 2};
        h.g.Step();
        ASSERT_GE(h.bounds.size(), 3u);
        EXPECT_EQ(h.bounds[0], 2);
        EXPECT_EQ(std::vector<int>(h.bounds.begin() + 1, h.bounds.begin() + 3), r.weights) << r.open;
        EXPECT_EQ(h.g.Oni().FSpot, 2);
        EXPECT_EQ(h.g.Oni().FDir, 1);
    }
}

// The seeker's draw against a weight: MT19937 truncates r x n toward zero, the runtime generator
// takes the high half of seed x n with n as unsigned and reads it back signed. A weight of 0 or below
// is passed on as it is, and what the generator gives decides.
TEST(KakureRules, WeightsOfTenOrLessAndBoundsOfZeroAndBelowFollowTheGenerators)
{
    for (int n : {0, -1, -15, -40, INT_MIN})
        for (std::uint32_t i = 0; i < 6; ++i) {
            const std::uint32_t s = 1 + i * 797000001u;
            RandSeed = s;
            EXPECT_EQ(LcgRandom(n), std::int32_t(std::uint32_t((std::uint64_t(s * 134775813u + 1u) * std::uint32_t(n)) >> 32)));
            MTSeed(s);
            const long double r = MTRandom();
            MTSeed(s);
            EXPECT_EQ(MTRandomInt(n), int(r * n)) << n; // from n + 1 up to 0
        }

    // One box left, both hiders in view of birds: the first weight is 10 - 25 = -15.
    int found[2] = {0, 0}, missed[2] = {0, 0};
    for (int seed = 0; seed < 400; ++seed) {
        Harness h;
        h.hidden(0, 1);
        h.remove({2, 3, 4, 5, 6, 7, 1});
        h.g.Mine().FMarks = h.g.Aite().FMarks = mkBird;
        RandSeed = std::uint32_t(seed) * 2654435761u;
        MTSeed(std::uint32_t(seed));
        const bool mtBlock = seed % 2;
        h.count = mtBlock ? 50 : 0;
        // What the runtime generator will give for the order and for the weight.
        const std::uint32_t s1 = RandSeed * 134775813u + 1u, s2 = s1 * 134775813u + 1u;
        const int first = int((std::uint64_t(s1) * 2u) >> 32);
        const int draw = std::int32_t(std::uint32_t((std::uint64_t(s2) * std::uint32_t(-15)) >> 32));
        h.g.Step();
        ASSERT_GE(h.bounds.size(), 2u);
        ASSERT_EQ(h.bounds[1], -15);
        // Not found, the second hider's weight (-40) is drawn next.
        const bool firstFound = h.bounds.size() < 3 || h.bounds[2] != -40;
        if (mtBlock) {
            EXPECT_TRUE(firstFound) << "MT19937 gives 0 or less: always found";
        } else {
            EXPECT_EQ(firstFound, draw < 10) << seed;
            if (firstFound) {
                EXPECT_EQ(h.g.Oni().FSpot, h.g.Walkers[first].FSpot) << seed;
            }
        }
        ++(firstFound ? found : missed)[mtBlock];
    }
    EXPECT_EQ(missed[1], 0);
    EXPECT_GT(found[0], 50);
    EXPECT_GT(missed[0], 50);

    // Weights of 10, 5 and 0 always find the first hider, in either block.
    for (int seed = 0; seed < 300; ++seed) {
        Harness h;
        h.hidden(0, 1);
        h.remove({2, 3, 4, 5, 6, 7, 1});
        h.g.Mine().FMarks = h.g.Aite().FMarks = std::array<quint16, 3>{mkNone, mkShake, mkFootprints}[seed % 3];
        h.count = seed * 7;
        h.g.Step();
        EXPECT_TRUE(h.bounds.size() < 3 || h.bounds[2] == 3) << "no second weight drawn";
    }
}

TEST(KakureRules, BirdsTakeBoxesButNeverTheSameOne)
{
    Harness h;
    h.g.Mine().FSpot = 0;
    h.g.Mine().FTurnsLeft = 0;
    // The opponent's box 2; bird 0 takes box 5; bird 1 draws box 5 too and is dropped.
    h.script = {2, 0, 5, 1, 0, 5, 1};
    h.g.Step();
    EXPECT_TRUE(h.script.empty());
    EXPECT_EQ(h.g.Aite().FSpot, 2);
    EXPECT_EQ(h.g.Birds[0].Box, 5);
    EXPECT_TRUE(h.g.Birds[0].Carries);
    EXPECT_EQ(h.g.Birds[1].Box, -1);

    // A hider marked for a bird gets one that carries its box; with two boxes left the other bird
    // still may come, to a box no other bird has.
    Harness m;
    m.remove({2, 3, 4, 5, 6, 7});
    m.g.Mine().FSpot = 0;
    m.g.Mine().FTurnsLeft = 0;
    m.g.Mine().FMarks = mkBird;
    m.script = {1, 0, 1, 1};
    m.g.Step();
    EXPECT_EQ(m.g.Birds[0].Box, 0);
    EXPECT_TRUE(m.g.Birds[0].Carries);
    EXPECT_EQ(m.g.Mine().FLinkIndex, 0);
    EXPECT_EQ(m.g.Birds[1].Box, 1) << "the opponent's box";
    EXPECT_FALSE(m.g.Birds[1].Carries) << "a hider's box is carried only on a third";
}

TEST(KakureRules, AWarpMovesTheHiderOrFailsOncePerRound)
{
    Harness h;
    h.hidden(2, 6);
    h.seekerAt(2);
    h.script = {0, 1, 2, 6, 3};
    h.g.Step();
    EXPECT_EQ(h.g.Mine().FSpot, 3);
    EXPECT_EQ(h.g.Mine().FX, TKakureGame::kBoxes[3].x());
    EXPECT_TRUE(h.g.Mine().Has(mkWarped));
    EXPECT_EQ(h.g.Mine().FSpeech, QStringLiteral("ワープ！"));
    EXPECT_EQ(h.g.WarpPoint, TKakureGame::kBoxes[2]);
    EXPECT_EQ(h.g.FinishCount, -1);
    h.g.Step();
    EXPECT_EQ(h.g.FinishCount, 0);
    EXPECT_FALSE(h.g.Mine().Has(mkWarped));
    EXPECT_EQ(h.g.Result, krUndecided) << "the seeker found an empty box";

    Harness f;
    f.hidden(2, 6);
    f.seekerAt(2);
    f.script = {0, 0};
    f.g.Step();
    EXPECT_TRUE(f.g.WarpFailed);
    EXPECT_EQ(f.g.Mine().FSpot, 2);
    EXPECT_EQ(f.g.Mine().FSpeech, QStringLiteral("ワープ失敗！"));
    int ticks = 1;
    while (!f.g.Step()) ++ticks;
    EXPECT_EQ(f.g.Result, krMineFound) << "no second try";
    EXPECT_EQ(ticks, kFinishTicks + 1);

    // With two boxes left nobody warps.
    Harness t;
    t.remove({0, 1, 3, 4, 5, 7});
    t.hidden(2, 6);
    t.seekerAt(2);
    t.g.Step();
    EXPECT_EQ(t.g.FinishCount, 0);
    EXPECT_EQ(t.g.Result, krMineFound);
}

TEST(KakureRules, ABoxCarriedOffAndLeftByAWarpGoesOnlyOnce)
{
    Harness h;
    h.hidden(5, 6); // my hider warped to box 5 from box 2, which a bird had carried off
    h.seekerAt(2);
    h.remove({2});
    h.g.FinishCount = kFinishTicks - 1;
    h.g.Step();
    EXPECT_EQ(h.g.FOpenCount, 7);
    EXPECT_EQ(h.changes, 1) << "a new round";
}

TEST(KakureRules, ARoundWithoutAChoiceEndsManualPlay)
{
    struct Row {
        const char* what;
        std::function<void(TKakureGame&)> act;
        bool manual;
        int spot; // -1: the box drawn at the round's start
    };
    const Row rows[] = {
        {"no choice", [](TKakureGame&) {}, false, -1},
        {"a click on box 6", [](TKakureGame& g) { EXPECT_TRUE(g.ClickAt(445, 140)); }, true, 6},
        {"a click beside the boxes, then a digit", [](TKakureGame& g) {
             EXPECT_FALSE(g.ClickAt(10, 470));
             g.KeyChoice(3);
         }, true, 2},
        {"the digit of a removed box", [](TKakureGame& g) { g.KeyChoice(8); }, false, -1},
        {"another key", [](TKakureGame& g) { g.KeyChoice(0); }, false, -1},
    };
    for (const Row& r : rows) {
        Harness h;
        h.remove({7});
        const int drawn = h.g.Mine().FSpot == 7 ? 0 : h.g.Mine().FSpot;
        h.g.Mine().FSpot = drawn;
        h.g.Step();
        r.act(h.g);
        int ticks = 0;
        while (h.g.Aite().FDir == 0 && ticks++ < 500) h.g.Step();
        EXPECT_EQ(h.manual, r.manual) << r.what;
        EXPECT_EQ(h.g.Mine().FSpot, r.spot < 0 ? drawn : r.spot) << r.what;
        while (!h.g.Mine().FHidden && ticks++ < 500) h.g.Step();
        EXPECT_EQ(h.g.Mine().FX, TKakureGame::kBoxes[h.g.Mine().FSpot].x()) << r.what;
    }
}

TEST(KakureRules, RemovedColumnsMoveThePathsEnds)
{
    struct Row {
        std::vector<int> gone;
        int empty; // the box the seeker finds empty now
        int mine, aite;
        int first, last;
    };
    const Row rows[] = {
        {{0}, 4, 1, 2, 1, 4},          {{0, 4, 1}, 5, 2, 3, 2, 4}, {{0, 4, 1, 5, 2}, 6, 3, 7, 3, 4},
        {{3}, 7, 0, 1, 0, 3},          {{3, 7, 2}, 6, 0, 1, 0, 2}, {{3, 7, 2, 6, 1}, 5, 0, 4, 0, 1},
        {{0, 4, 3}, 7, 1, 2, 1, 3},    {{1, 5}, 0, 2, 3, 0, 4},
    };
    for (const Row& r : rows) {
        Harness h;
        h.remove(r.gone);
        h.hidden(r.mine, r.aite);
        h.seekerAt(r.empty);
        h.g.FinishCount = kFinishTicks - 1;
        h.g.Step();
        EXPECT_EQ(h.g.FFirstNode, r.first) << r.empty;
        EXPECT_EQ(h.g.FLastNode, r.last) << r.empty;
        EXPECT_EQ(h.g.Mine().FX, TKakureGame::kNodes[r.first].x() - 80) << "the walkers start at the new end";
    }
}

TEST(KakureRules, ReactionsDrawOnlyWhereTheMarksLeaveItOpen)
{
    struct Row {
        bool found;
        quint16 marks;
        int callStyle, round;
        std::deque<int> draws;
        const char* text;
    };
    const Row rows[] = {
        {false, mkBird, 0, 1, {}, "超ラッキー！"},      {false, mkInFront, 0, 1, {}, "たすかった～"},
        {false, 0, 0, 1, {0}, "たすかった～"},          {false, mkLarge, 0, 1, {1}, "あぶな～"},
        {false, mkFootprints, 0, 1, {1}, "ラッキー"},   {false, 0, 0, 1, {1, 0}, "ラッキー"},
        {false, mkShake, 0, 1, {1, 1}, "よかった～"},   {false, 0, 0, 1, {1, 1, 0}, "よかった～"},
        {false, mkSmall, 1, 1, {1, 1, 1}, "こっちこっち"}, {false, 0, 0, 1, {1, 1, 1}, "こっちだよ"},
        {true, mkBird, 0, 1, {}, "なっとく"},           {true, mkInFront, 0, 1, {}, "やっぱり"},
        {true, mkLarge, 0, 1, {}, "そうか～"},          {true, 0, 0, 1, {0}, "そうか～"},
        {true, mkFootprints, 0, 1, {1}, "もう～"},      {true, 0, 0, 1, {1, 0}, "もう～"},
        {true, mkShake, 0, 1, {1, 1}, "こっちか～"},    {true, mkSmall, 0, 1, {1, 1, 1}, "なんで～"},
        {true, 0, 0, 1, {1, 1, 1, 0}, "なんで～"},      {true, mkInvisible, 0, 1, {1, 1, 1, 1}, "そんな～"},
        {true, 0, 0, 1, {1, 1, 1, 1, 3}, "はやい！"},   {true, 0, 0, 2, {1, 1, 1, 1, 1}, "う～～～"},
        {true, 0, 0, 3, {1, 1, 1, 1, 0}, "そんな～"},
    };
    for (const Row& r : rows) {
        Harness h;
        h.g.Round = r.round;
        TPlayer w;
        w.FMarks = r.marks;
        w.FCallStyle = r.callStyle;
        h.script = r.draws;
        const QString text = r.found ? h.g.ReactionFound(w) : h.g.ReactionNotFound(w);
        EXPECT_EQ(text, QString::fromUtf8(r.text)) << r.text;
        EXPECT_TRUE(h.script.empty()) << r.text;
    }

    // The hider not found reacts as soon as the seeker has arrived, the one found a moment later.
    Harness h;
    h.hidden(0, 1);
    h.seekerAt(1);
    h.script = {1}; // no warp
    h.g.Step();
    h.g.UpdateSpeech();
    EXPECT_FALSE(h.g.Mine().FSpeech.isEmpty());
    EXPECT_TRUE(h.g.Aite().FSpeech.isEmpty());
    for (int i = 0; i < 10; ++i) h.g.Step();
    h.g.UpdateSpeech();
    EXPECT_TRUE(h.g.Aite().FSpeech.isEmpty());
    h.g.Step();
    h.g.UpdateSpeech();
    EXPECT_FALSE(h.g.Aite().FSpeech.isEmpty());
}

// Seeded games with nobody choosing: every game ends once, lost when the seeker's arrival found my
// hider, won when it found the opponent's, and only then; an empty box found goes. On every tick the
// open boxes are the boxes that exist, no two birds share a box and the path holds a box.
TEST(KakureRules, SeededGamesEndOnceWithAHiderFound)
{
    int results[2] = {0, 0}, birds = 0, warps = 0, rounds = 0;
    for (int seed = 0; seed < 500; ++seed) {
        Harness h;
        RandSeed = std::uint32_t(seed) * 2654435761u + 3;
        MTSeed(std::uint32_t(seed) + 4357);
        h.count = seed % 100;
        h.g.Start();
        h.g.StartRound();
        int ends = 0, ticks = 0, found = -1, emptyBox = -1;
        for (; ticks < 20000 && !ends; ++ticks) {
            if (seed % 3 == 0 && h.g.Choosing() && ticks % 17 == 5) h.g.KeyChoice(1 + ticks % 9);
            const bool seeking = h.g.FinishCount < 0;
            if (h.g.Step()) ++ends;
            if (emptyBox >= 0 && h.g.FinishCount < 0) {
                ASSERT_FALSE(h.g.Exists(emptyBox)) << "seed " << seed;
                emptyBox = -1;
            }
            if (seeking && h.g.FinishCount == 0) {
                // The round's end: whom the seeker's box held when it got there, after any warp.
                ASSERT_LT(found, 0) << "seed " << seed << ": the game goes on after a find";
                for (int i = 0; i < 2; ++i)
                    if (h.g.Walkers[i].FSpot == h.g.Oni().FSpot) found = i;
                if (found < 0) emptyBox = h.g.Oni().FSpot;
            }
            int open = 0;
            for (int k = 0; k < kBoxCount; ++k) open += h.g.Exists(k);
            ASSERT_EQ(h.g.FOpenCount, open) << "seed " << seed;
            ASSERT_TRUE(h.g.Birds[0].Box < 0 || h.g.Birds[0].Box != h.g.Birds[1].Box) << "seed " << seed;
            ASSERT_LT(h.g.FFirstNode, h.g.FLastNode);
            birds += h.g.Birds[0].State == bdGone && h.g.Birds[0].Box >= 0;
            warps += h.g.Mine().Has(mkWarped) || h.g.Aite().Has(mkWarped);
        }
        ASSERT_EQ(ends, 1) << "seed " << seed << " after " << ticks << " ticks";
        ASSERT_GE(found, 0) << "seed " << seed;
        ASSERT_EQ(h.g.Result, found == wkMine ? krMineFound : krAiteFound) << "seed " << seed;
        ++results[h.g.Result];
        rounds += h.g.Round;
        if (seed % 3) {
            EXPECT_FALSE(h.manual) << "nobody chose";
        }
    }
    EXPECT_GT(results[0], 100);
    EXPECT_GT(results[1], 100);
    EXPECT_GT(birds, 0);
    EXPECT_GT(warps, 0);
    EXPECT_GT(rounds, 800);
}

} // namespace

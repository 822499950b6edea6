// Many seeded baseball games at the rules level, the computer playing both sides with the real
// generators: every game ends with one report of the right result, every run on the board and in the
// result is the one the test saw come home, nobody on the bases appears or vanishes, every fielder
// catches flies, no play hangs, and the same seed plays the same game.
#include "BallPlay.h"
#include "BaseballGame.h"
#include "GameRandom.h"
#include "Statistics.h"
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace bb;

namespace {

constexpr int kBaseBallGameNo = 7;

struct SoakResult {
    std::vector<quint16> reports;
    std::vector<int> results; // play results in order
    int winner = kNoWinner;
    std::array<int, 2> runs{}; // as the test counted them
    std::array<int, 9> flyCatches{};
    int flyFaults = 0; // flies to be caught that fell untouched, hits caught in the air
    int plateAppearances = 0;
    int deadBalls = 0;   // plays that ended because nothing moved any more
    int longestPlay = 0; // ticks from contact to the next batter
    int ticks = 0;
    std::set<int> kinds; // play kinds seen
};

// The runs as a player counts them from what he sees: each runner who touches home (on a homer, the
// batter and everyone on base) scores for the side at bat in that half-inning, unless a foul is
// called, the play makes the third out, or he was put out there: after the play the batter and every
// runner are on a base, home or out. In the last innings the home side stops at its winning run,
// unless the ball left the park.
struct RunTally {
    std::map<std::pair<int, int>, int> cells; // (inning, side): runs
    std::array<int, 2> runs{};
    bool open = false, foul = false, homeRun = false;
    int side = 0, inning = 0, result = 0, onBase = 0, outs = 0, mostOuts = 0, touched = 0;
    std::array<int, 4> bases{}; // where the batter and the three runners stood last tick

    void Watch(const TBaseBallGame& g, bool contact, std::uint32_t seed)
    {
        if (contact) {
            Settle(g, seed);
            open = true;
            foul = homeRun = false;
            side = g.BattingSide, inning = g.Inning, result = g.Ball.PlayResult, onBase = g.RunnerCount(), outs = mostOuts = g.Outs, touched = 0;
            for (size_t k = 0; k < 4; ++k) bases[k] = g.Actors[kBatter + k].Base;
        }
        for (size_t k = 0; k < 4 && open; ++k) {
            const int base = g.Actors[kBatter + k].Base;
            touched += base == 4 && bases[k] != 4;
            bases[k] = base;
        }
        foul |= g.Play.FoulKind != 0;
        homeRun |= g.Play.HomeRun;
        mostOuts = std::max(mostOuts, g.Outs);
    }

    void Settle(const TBaseBallGame& g, std::uint32_t seed)
    {
        if (!open) return;
        open = false;
        const int home = homeRun ? onBase + 1 : touched;
        const bool counts = !foul && mostOuts < 3;
        int scored = 0;
        if (counts && g.EndCounter >= 0) {
            scored = homeRun ? home : std::min(home, runs[size_t(1 - side)] - runs[size_t(side)] + 1);
        } else if (counts) {
            scored = onBase + 1 - g.RunnerCount() - (mostOuts - outs);
            EXPECT_LE(scored, home) << "seed " << seed << ": a run nobody was seen bringing home";
        }
        runs[size_t(side)] += scored;
        cells[{inning, side}] += scored;
        EXPECT_EQ(runs, g.Runs) << "seed " << seed << " inning " << inning << " side " << side << " result " << result;
    }
};

SoakResult PlayGame(std::uint32_t seed, int item)
{
    RandSeed = seed;
    MTSeed(seed * 2654435761u);
    int drawCount = 0;
    SoakResult out;
    TBaseBallGame g;
    bool manual = true;
    g.Services.Random = [&drawCount](int n) { return (drawCount++ / 100) % 2 == 0 ? LcgRandom(n) : MTRandomInt(n); };
    g.Services.RuntimeRandom = [](int n) { return LcgRandom(n); };
    g.Services.ManualPlay = [&manual] { return manual; };
    g.Services.SetManualPlay = [&manual](bool on) { manual = on; };
    // The program adds the mode bits: auto-progress and the start inning's item.
    g.Services.ReportResult = [&out, &manual, item](quint16 code) { out.reports.push_back(quint16(code + (manual ? 0 : 0x800) + item * 256)); };
    g.Auto = true;
    g.Create();
    g.NewGame(1260, 1260);
    g.SetStartInning(item);
    int stage = 0, playTicks = 0;
    bool over = false, flying = false, awaited = false;
    RunTally tally;
    while (!g.Reported && out.ticks < 100000) {
        g.Tick();
        ++out.ticks;
        const TPlayState& p = g.Play;
        const bool contact = g.PanelStage == 3 && stage != 3;
        if (contact) {
            out.results.push_back(g.Ball.PlayResult);
            playTicks = 0;
        }
        tally.Watch(g, contact, seed);
        if (flying) {
            // A fly to be caught, or dropped for an error, is reached in its own play; one that falls
            // for a hit is not. The pitcher who gets the ball for the next batter has caught nothing.
            const bool inPlay = g.PanelStage == 3, caught = inPlay && g.Ball.Kind >= 0;
            const bool missed = inPlay ? g.Ball.Kind != bkFly && (p.PlayKind == pkPlayable || p.ErrorFlag) && !p.ErrorHappened : awaited;
            if (caught) ++out.flyCatches[size_t(g.Ball.Kind)];
            out.flyFaults += caught ? p.PlayKind == pkHit : missed;
        }
        flying = g.Ball.Kind == bkFly && g.Ball.PlayResult != prHomeRun && g.PanelStage == 3;
        awaited = (p.PlayKind == pkPlayable || p.ErrorFlag) && !p.ErrorHappened;
        if (g.PanelStage == 3) out.longestPlay = std::max(out.longestPlay, ++playTicks);
        if (p.Over && !over) {
            const bool homeRun = g.Ball.PlayResult == prHomeRun && p.FoulKind == 0 && !p.FenceCatch.Robbed;
            out.deadBalls += !p.ChainDone && !homeRun;
            out.kinds.insert(p.PlayKind);
        }
        over = p.Over;
        stage = g.PanelStage;
        if (g.Outs > 3) ADD_FAILURE() << "seed " << seed << ": outs " << g.Outs;
    }
    tally.Settle(g, seed);
    out.winner = g.Winner;
    out.runs = tally.runs;
    out.plateAppearances = g.Stats[0][stPlateAppearances] + g.Stats[1][stPlateAppearances];
    const auto innings = g.AllInnings();
    for (int side = 0; side < 2; ++side) {
        // Each inning's cell holds the runs the side was seen to score in it; no statistic is negative
        // or above three digits.
        for (size_t i = 0; i < innings.size(); ++i) {
            const int seen = tally.cells[std::pair(int(i), side)];
            EXPECT_EQ(std::max(innings[i][size_t(side)], 0), seen) << "seed " << seed << " inning " << i << " side " << side;
        }
        for (int k = 0; k < kStatCount; ++k) EXPECT_GE(g.Stats[size_t(side)][size_t(k)], 0) << "seed " << seed << " stat " << k;
        for (TStat k : {stAverage, stChanceAverage, stOnBaseAverage}) EXPECT_LE(g.Stats[size_t(side)][k], 999);
    }
    return out;
}

void ExpectSoundEnd(std::uint32_t seed, int item, const SoakResult& r)
{
    ASSERT_EQ(r.reports.size(), 1u) << "seed " << seed << " item " << item << " after " << r.ticks << " ticks";
    ASSERT_NE(r.winner, kNoWinner) << "seed " << seed;
    const bool userWon = r.runs[1] > r.runs[0];
    EXPECT_EQ(r.winner, userWon ? 1 : 0) << "seed " << seed << ": the winner has more runs";
    EXPECT_NE(r.runs[0], r.runs[1]) << "seed " << seed;
    const quint16 expected = quint16(0x800 + item * 256 + kBaseBallGameNo + (userWon ? 0x2000 : 0x1000));
    EXPECT_EQ(r.reports[0], expected) << "seed " << seed;
}

TEST(BaseballSoakTest, AutoGamesFromTheNinthAndTheFirstAllEndSoundly)
{
    int longest = 0, plateAppearances = 0, dead = 0, flyFaults = 0, games[2] = {0, 0};
    std::array<int, 9> catches{};
    std::set<int> results, kinds;
    auto play = [&](std::uint32_t seed, int item) {
        const SoakResult r = PlayGame(seed, item);
        ExpectSoundEnd(seed, item, r);
        results.insert(r.results.begin(), r.results.end());
        kinds.insert(r.kinds.begin(), r.kinds.end());
        longest = std::max(longest, r.longestPlay);
        plateAppearances += r.plateAppearances;
        dead += r.deadBalls;
        flyFaults += r.flyFaults;
        for (size_t f = 0; f < catches.size(); ++f) catches[f] += r.flyCatches[f];
        ++games[r.winner == 1];
    };
    for (std::uint32_t seed = 1; seed <= 100 && !HasFailure(); ++seed) play(seed, 5);   // "９回から"
    for (std::uint32_t seed = 101; seed <= 120 && !HasFailure(); ++seed) play(seed, 0); // "１回から"
    for (int r = 0; r <= prHomeRun; ++r) EXPECT_TRUE(results.count(r)) << "result " << r << " never came up";
    EXPECT_EQ(kinds.size(), 5u);
    EXPECT_GT(games[0], 20);
    EXPECT_GT(games[1], 20);
    // Every play ends by its own rules: the ball is held at the end of its chain, or over the fence.
    EXPECT_LT(longest, 300);
    EXPECT_EQ(dead, 0) << plateAppearances << " plate appearances";
    // Wherever a fielder stands under a fly, it comes down into his glove.
    for (size_t f = 0; f < catches.size(); ++f) EXPECT_GT(catches[f], 0) << "fielder " << f << " caught no fly";
    EXPECT_EQ(flyFaults, 0);
}

TEST(BaseballSoakTest, TheSameSeedPlaysTheSameGame)
{
    const SoakResult a = PlayGame(4242, 0), b = PlayGame(4242, 0), c = PlayGame(4243, 0);
    EXPECT_EQ(a.results, b.results);
    EXPECT_EQ(a.runs, b.runs);
    EXPECT_EQ(a.ticks, b.ticks);
    EXPECT_EQ(a.reports, b.reports);
    EXPECT_NE(a.results, c.results);
}

} // namespace

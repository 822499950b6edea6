// Many seeded baseball games at the rules level, the computer playing both sides with the real
// generators: every game ends with one report of the right result, the board adds up, nobody on the
// bases appears or vanishes, no play hangs, and the same seed plays the same game.
#include "BallPlay.h"
#include "BaseballGame.h"
#include "GameRandom.h"
#include "Statistics.h"
#include <gtest/gtest.h>
#include <set>

using namespace bb;

namespace {

constexpr int kBaseBallGameNo = 7;

struct SoakResult {
    std::vector<quint16> reports;
    std::vector<int> results; // play results in order
    int winner = kNoWinner;
    std::array<int, 2> runs{};
    int plateAppearances = 0;
    int deadBalls = 0;   // plays that ended because nothing moved any more
    int longestPlay = 0; // ticks from contact to the next batter
    int ticks = 0;
    std::set<int> kinds; // play kinds seen
};

// Within a half-inning every batter ends up on a base, home or out, and so does every runner.
struct Conservation {
    int position = -1, runners = 0, runs = 0, outs = 0, side = 0, inning = 0;
    void Check(const TBaseBallGame& g, std::uint32_t seed)
    {
        const int now = g.OrderPosition[0] + g.OrderPosition[1];
        if (now == position) return;
        if (position >= 0 && g.BattingSide == side && g.Inning == inning && g.EndCounter < 0) {
            const int scored = g.Runs[size_t(side)] - runs, out = g.Outs - outs;
            EXPECT_EQ(runners + 1, g.RunnerCount() + scored + out) << "seed " << seed << " result " << g.Ball.PlayResult;
        }
        position = now;
        runners = g.RunnerCount();
        runs = g.Runs[size_t(g.BattingSide)];
        outs = g.Outs;
        side = g.BattingSide;
        inning = g.Inning;
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
    bool over = false;
    Conservation bases;
    while (!g.Reported && out.ticks < 100000) {
        g.Tick();
        ++out.ticks;
        const TPlayState& p = g.Play;
        if (g.PanelStage == 3 && stage != 3) {
            out.results.push_back(g.Ball.PlayResult);
            playTicks = 0;
        }
        if (g.PanelStage == 3) out.longestPlay = std::max(out.longestPlay, ++playTicks);
        if (p.Over && !over) {
            const bool homeRun = g.Ball.PlayResult == prHomeRun && p.FoulKind == 0 && !p.FenceCatch.Robbed;
            out.deadBalls += !p.ChainDone && !homeRun;
            out.kinds.insert(p.PlayKind);
        }
        over = p.Over;
        stage = g.PanelStage;
        bases.Check(g, seed);
        if (g.Outs > 3) ADD_FAILURE() << "seed " << seed << ": outs " << g.Outs;
    }
    out.winner = g.Winner;
    out.runs = g.Runs;
    out.plateAppearances = g.Stats[0][stPlateAppearances] + g.Stats[1][stPlateAppearances];
    for (int side = 0; side < 2; ++side) {
        // The board adds up to the runs of each side; no statistic is negative or above three digits.
        int board = 0;
        for (const auto& pair : g.AllInnings()) board += std::max(pair[size_t(side)], 0);
        EXPECT_EQ(board, g.Runs[size_t(side)]) << "seed " << seed << " side " << side;
        for (int k = 0; k < kStatCount; ++k) EXPECT_GE(g.Stats[size_t(side)][size_t(k)], 0) << "seed " << seed << " stat " << k;
        for (TStat k : {stAverage, stChanceAverage, stOnBaseAverage}) EXPECT_LE(g.Stats[size_t(side)][k], 999);
    }
    return out;
}

void ExpectSoundEnd(std::uint32_t seed, int item, const SoakResult& r)
{
    ASSERT_EQ(r.reports.size(), 1u) << "seed " << seed << " item " << item << " after " << r.ticks << " ticks";
    ASSERT_NE(r.winner, kNoWinner) << "seed " << seed;
    EXPECT_EQ(r.winner, r.runs[1] > r.runs[0] ? 1 : 0) << "seed " << seed << ": the winner has more runs";
    EXPECT_NE(r.runs[0], r.runs[1]) << "seed " << seed;
    const quint16 expected = quint16(0x800 + item * 256 + kBaseBallGameNo + (r.winner == 1 ? 0x2000 : 0x1000));
    EXPECT_EQ(r.reports[0], expected) << "seed " << seed;
}

TEST(BaseballSoakTest, AutoGamesFromTheNinthAndTheFirstAllEndSoundly)
{
    int longest = 0, plateAppearances = 0, dead = 0, games[2] = {0, 0};
    std::set<int> results, kinds;
    auto play = [&](std::uint32_t seed, int item) {
        const SoakResult r = PlayGame(seed, item);
        ExpectSoundEnd(seed, item, r);
        results.insert(r.results.begin(), r.results.end());
        kinds.insert(r.kinds.begin(), r.kinds.end());
        longest = std::max(longest, r.longestPlay);
        plateAppearances += r.plateAppearances;
        dead += r.deadBalls;
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

// Speed of the baseball rules without drawing: one timer tick of an auto-played game (goal: under
// 0.1 ms), a whole plate appearance from the commit to the next batter, and a whole auto-played
// game from the first inning to its result (goal: under 0.5 s).
#include "BaseballGame.h"
#include "GameRandom.h"
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// An auto game on the real generators, past its opening.
struct AutoGame {
    bb::TBaseBallGame g;
    int draws = 0;
    explicit AutoGame(std::uint32_t seed = 12345, int item = 2)
    {
        RandSeed = seed;
        MTSeed(seed * 7 + 678);
        g.Services.Random = [this](int n) {
            const int r = (draws / 100) % 2 == 0 ? LcgRandom(n) : MTRandomInt(n);
            ++draws;
            return r;
        };
        g.Services.RuntimeRandom = [](int n) { return LcgRandom(n); };
        g.Auto = true;
        g.Create();
        g.NewGame(1260, 1260);
        g.SetStartInning(item);
        while (g.Opening) g.Tick();
    }
};

void BaseballLogicTick(benchmark::State& state)
{
    // A game that ends is replaced by a new one outside the timing.
    std::uint32_t seed = 12345;
    auto game = std::make_unique<AutoGame>(seed);
    for (auto _ : state) {
        if (game->g.Reported) {
            state.PauseTiming();
            game = std::make_unique<AutoGame>(++seed);
            state.ResumeTiming();
        }
        game->g.Tick();
    }
}
BENCHMARK(BaseballLogicTick)->Unit(benchmark::kMicrosecond);

void BaseballPlateAppearance(benchmark::State& state)
{
    AutoGame game;
    for (auto _ : state) {
        int stage = game.g.PanelStage;
        for (int i = 0; i < 1000; ++i) {
            game.g.Tick();
            const bool next = stage == 3 && game.g.PanelStage == 0;
            stage = game.g.PanelStage;
            if (next) break;
        }
    }
}
BENCHMARK(BaseballPlateAppearance)->Unit(benchmark::kMicrosecond);

void BaseballWholeGame(benchmark::State& state)
{
    std::uint32_t seed = 1;
    long ticks = 0;
    for (auto _ : state) {
        AutoGame game(seed++, 0);
        while (!game.g.Reported) {
            game.g.Tick();
            ++ticks;
        }
    }
    state.counters["ticks_per_game"] = benchmark::Counter(double(ticks), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BaseballWholeGame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// Speed of the baseball rules without drawing: one timer tick of an auto-played game (goal: under
// 0.1 ms), and a whole plate appearance from the commit to the next batter.
#include "BaseballGame.h"
#include "GameRandom.h"
#include <benchmark/benchmark.h>

namespace {

// An auto game on the real generators, past its opening.
struct AutoGame {
    bb::TBaseBallGame g;
    int draws = 0;
    AutoGame()
    {
        RandSeed = 12345;
        MTSeed(678);
        g.Services.Random = [this](int n) {
            const int r = (draws / 100) % 2 == 0 ? LcgRandom(n) : MTRandomInt(n);
            ++draws;
            return r;
        };
        g.Services.SystemRandom = [](int n) { return LcgRandom(n); };
        g.Auto = true;
        g.Create();
        g.NewGame(1260, 1260);
        while (g.Opening) g.Tick();
    }
};

void BaseballLogicTick(benchmark::State& state)
{
    AutoGame game;
    for (auto _ : state) game.g.Tick();
    state.counters["innings"] = game.g.Inning;
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

} // namespace

BENCHMARK_MAIN();

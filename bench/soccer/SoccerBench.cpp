// Speed of the soccer engine without a window (goals: one tick under 0.1 ms; 5,000 ticks of a match
// under 0.5 s), with the runtime generator as the random service and silent sounds.
#include "GameRandom.h"
#include "SoccerEngine.h"
#include <benchmark/benchmark.h>

namespace {

using namespace soccer;

// A match past its opening, in the time mode given.
void StartMatch(TSoccerEngine& e, int mode)
{
    e.Svc.Random = [](int n) { return LcgRandom(n); };
    e.FSoundOn = e.FCheerOn = false;
    e.Show();
    e.ApplyTimeMode(mode);
    while (e.FOpening) e.Tick();
}

void SoccerEngineTick(benchmark::State& state)
{
    RandSeed = 12345;
    TSoccerEngine e;
    StartMatch(e, tmFirstHalf);
    for (auto _ : state) {
        if (e.MatchOver) {
            state.PauseTiming();
            e = TSoccerEngine{};
            StartMatch(e, tmFirstHalf);
            state.ResumeTiming();
        }
        e.Tick();
        benchmark::DoNotOptimize(e.Ball.X);
    }
}
BENCHMARK(SoccerEngineTick)->Unit(benchmark::kMicrosecond);

void SoccerMatch5000Ticks(benchmark::State& state)
{
    std::uint32_t seed = 1;
    for (auto _ : state) {
        RandSeed = seed++;
        TSoccerEngine e;
        StartMatch(e, tmFirstHalf);
        for (int i = 0; i < 5000 && !e.MatchOver; ++i) e.Tick();
        benchmark::DoNotOptimize(e.FClock);
    }
}
BENCHMARK(SoccerMatch5000Ticks)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

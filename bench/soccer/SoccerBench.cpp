// Speed of the soccer engine without a window, with every player behaving and the computer playing
// both teams ("自動進行"): one play tick (goal: under 0.1 ms) and a whole match from kick-off to its
// result (goal: under 0.5 s). The runtime generator is the random service, sounds are silent and the
// penalty kicks are answered at once.
#include "GameRandom.h"
#include "SoccerEngine.h"
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

using namespace soccer;

// A match past its opening in the time mode given.
void StartMatch(TSoccerEngine& e, int mode)
{
    e.Svc.Random = [](int n) { return LcgRandom(n); };
    e.Svc.PenaltyKick = [](const TPKRequest&) { return TPKOutcome{1, 1, -1, true}; };
    e.FSoundOn = e.FCheerOn = false;
    e.FOperation = 3;
    e.Show();
    e.ApplyTimeMode(mode);
    while (e.FOpening) e.Tick();
}

void SoccerPlayTick(benchmark::State& state)
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
BENCHMARK(SoccerPlayTick)->Unit(benchmark::kMicrosecond);

// A whole match of the longest time mode ("前半から", 90 minutes and added time).
void SoccerWholeAutoMatch(benchmark::State& state)
{
    std::uint32_t seed = 1;
    int ticks = 0, matches = 0;
    for (auto _ : state) {
        RandSeed = seed++;
        TSoccerEngine e;
        StartMatch(e, tmFirstHalf);
        while (!e.MatchOver) {
            e.Tick();
            ++ticks;
        }
        ++matches;
        benchmark::DoNotOptimize(e.FClock);
    }
    state.counters["ticks"] = benchmark::Counter(double(ticks) / std::max(matches, 1));
}
BENCHMARK(SoccerWholeAutoMatch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

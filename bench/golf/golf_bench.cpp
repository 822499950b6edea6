// Speed of the golf rules, headless: a new hole (green generated until it suits, solved, target and
// seeds chosen), and one tick of a rolling putt.
#include "GolfRules.h"
#include "SeededRandom.h"
#include <benchmark/benchmark.h>
#include <algorithm>
#include <ctime>

using namespace golf;

namespace {

// CPU time of this thread, so that other work on the machine does not count against a hole.
double threadMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// A match about to start a hole; every second one decides the game for the team to putt.
TGolfMatch holeOf(std::uint32_t seed, TSeededRandom& rnd)
{
    TGolfMatch m;
    m.Random = std::ref(rnd);
    m.Start();
    if (seed % 2) m.FHolesWon[m.FTurnTeam] = m.FHolesToWin - 1;
    return m;
}

// 200 seeded holes per iteration; the counters give the slowest and the mean hole.
void NewHoleWorstOf200(benchmark::State& state)
{
    double worst = 0, total = 0;
    int holes = 0;
    for (auto _ : state) {
        for (std::uint32_t seed = 1; seed <= 200; ++seed) {
            TSeededRandom rnd(seed);
            TGolfMatch m = holeOf(seed, rnd);
            const double t0 = threadMs();
            m.PreparePutt(true);
            const double ms = threadMs() - t0;
            benchmark::DoNotOptimize(m.FAimTarget);
            worst = std::max(worst, ms);
            total += ms;
            ++holes;
        }
    }
    state.counters["worst_ms"] = worst;
    state.counters["mean_ms"] = holes ? total / holes : 0;
}
BENCHMARK(NewHoleWorstOf200)->Unit(benchmark::kMillisecond)->Iterations(3);

// One solve of a green: every aim across the field rolled.
void SolveGreen(benchmark::State& state)
{
    TSeededRandom rnd(42);
    TGreen g;
    g.MakeGreen(std::ref(rnd));
    for (auto _ : state) {
        g.FFlatHill = -1;
        g.SolveGreen(std::ref(rnd));
        benchmark::DoNotOptimize(g.FSolutions.data());
    }
}
BENCHMARK(SolveGreen)->Unit(benchmark::kMicrosecond);

// A tick of the rules while a putt rolls: the first 30 ticks after the launch, from a snapshot.
void RollTick(benchmark::State& state)
{
    TSeededRandom rnd(9);
    TGolfMatch start;
    start.Random = std::ref(rnd);
    start.Start();
    start.FTurnTeam = 0;
    start.BeginPlay();
    start.MouseDown(start.Green.CupX, start.Green.CupY);
    start.MouseUp(start.Green.CupX, start.Green.CupY);
    while (start.BallWaiting()) start.Tick();
    constexpr int kTicks = 30;
    for (auto _ : state) {
        state.PauseTiming();
        TGolfMatch m = start;
        state.ResumeTiming();
        for (int t = 0; t < kTicks; ++t) m.Tick();
        benchmark::DoNotOptimize(m.Ball.x);
    }
    state.SetItemsProcessed(state.iterations() * kTicks);
}
BENCHMARK(RollTick)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

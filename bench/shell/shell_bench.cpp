// Start-up of the game program to its menu shown, and one animated tick of the result window.
#include "Application.h"
#include "GameRandom.h"
#include "Resources.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include <QCoreApplication>
#include <benchmark/benchmark.h>

static void StartupToMenuShown(benchmark::State& state)
{
    for (auto _ : state) {
        CreateShellForms();
        FormGame->show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(FormGame->isVisible());
        state.PauseTiming();
        DestroyShellForms();
        state.ResumeTiming();
    }
}
BENCHMARK(StartupToMenuShown)->Unit(benchmark::kMillisecond);

// A tick draws one of two animation frames, by the frame count's parity, and moves the effects by
// the runtime random generator: each iteration is one whole cycle, both frames from the same seed,
// and the counter "tick" is the time of one.
static void ResultWindowTick(benchmark::State& state)
{
    CreateShellForms();
    FormGame->show();
    FormGameWinMes->FScreenKind = int(state.range(0));
    FormGameWinMes->FMainText = QStringLiteral("勝ちました～");
    FormGameWinMes->FSubText = QStringLiteral("1 勝 0 敗");
    FormGameWinMes->FCodeText = QStringLiteral("100");
    FormGameWinMes->show();
    for (auto _ : state) {
        RandSeed = 1;
        FormGameWinMes->Timer1Timer();
        FormGameWinMes->Timer1Timer();
    }
    state.counters["tick"] = benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    FormGameWinMes->hide();
    DestroyShellForms();
}
BENCHMARK(ResultWindowTick)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    TApplication app(argc, argv, QStringLiteral("ポリコロ"));
    app.setQuitOnLastWindowClosed(false);
    InitGameResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Speed of one tick with its drawing in the target kick and in hide-and-seek (goal: under 1 ms
// each), headless on the virtual clock. The games play on forever: a decided game starts again
// instead of reporting.
#include "BenchSupport.h"
#include "GameRandom.h"
#include "UnitKakure.h"
#include "UnitMato.h"
#include <benchmark/benchmark.h>

namespace {

void MatoTickWithDrawing(benchmark::State& state)
{
    TBenchSounds sounds;
    TFormMato form(FormGame);
    form.cbAuto->setChecked(true); // both teams kick
    ShowStopped(form, QStringLiteral("ぱにもこ まと当て対決"));
    mato::TMatoGame& g = form.Game();
    TickForever(state, form, sounds, [&g] {
        if (g.Decided() && g.EndCount >= mato::kEndTicks) g.Start();
    });
    form.hide();
}
BENCHMARK(MatoTickWithDrawing)->Unit(benchmark::kMicrosecond);

void MatoRulesTick(benchmark::State& state)
{
    mato::TMatoGame g;
    g.RuntimeRandom = [](int n) { return LcgRandom(n); };
    g.AutoOn = [] { return true; };
    g.Start();
    for (auto _ : state)
        if (g.Step()) g.Start();
}
BENCHMARK(MatoRulesTick);

void KakureTickWithDrawing(benchmark::State& state)
{
    TBenchSounds sounds;
    TFormKakure form(FormGame);
    ShowStopped(form, QStringLiteral("ぱにもこ かくれんぼ対決"));
    kakure::TKakureGame& g = form.Game();
    TickForever(state, form, sounds, [&g] {
        if (g.Result != kakure::krUndecided && g.FinishCount >= kakure::kFinishTicks - 1) {
            g.Start();
            g.StartRound();
        }
    });
    form.hide();
}
BENCHMARK(KakureTickWithDrawing)->Unit(benchmark::kMicrosecond);

void KakureDrawSceneOnly(benchmark::State& state)
{
    TBenchSounds sounds;
    TFormKakure form(FormGame);
    ShowStopped(form, QStringLiteral("ぱにもこ かくれんぼ対決"));
    for (int i = 0; i < 60; ++i) form.Timer1Timer(); // into the first round
    for (auto _ : state) form.DrawScene();
    form.hide();
}
BENCHMARK(KakureDrawSceneOnly)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunGameFormBenchmarks(argc, argv);
}

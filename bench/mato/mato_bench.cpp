// Speed of one tick with its drawing in the target kick and in hide-and-seek (goal: under 1 ms
// each), headless on the virtual clock. The games play on forever: a decided game starts again
// instead of reporting.
#include "Application.h"
#include "Clock.h"
#include "GameRandom.h"
#include "Resources.h"
#include "Sound.h"
#include "UnitGame.h"
#include "UnitKakure.h"
#include "UnitMato.h"
#include <benchmark/benchmark.h>
#include "TestDoubles.h"

namespace {

template <class TForm>
void showForm(TForm& form, const QString& caption)
{
    form.SetCaption(caption);
    form.imlMyChara.Assign(FormGame->imlAnime);
    form.show();
    form.Timer1->SetEnabled(false);
}

void MatoTickWithDrawing(benchmark::State& state)
{
    RecordingSoundBackend rec;
    Sound().SetBackend(&rec);
    TFormMato form(FormGame);
    form.cbAuto->setChecked(true); // both teams kick
    showForm(form, QStringLiteral("ぱにもこ まと当て対決"));
    mato::TMatoGame& g = form.Game();
    for (auto _ : state) {
        if (g.Decided() && g.EndCount >= mato::kEndTicks) g.Start();
        if (rec.events.size() > 10000) rec.Clear();
        form.Timer1Timer();
    }
    form.hide();
    Sound().SetBackend(nullptr);
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
    RecordingSoundBackend rec;
    Sound().SetBackend(&rec);
    TFormKakure form(FormGame);
    showForm(form, QStringLiteral("ぱにもこ かくれんぼ対決"));
    kakure::TKakureGame& g = form.Game();
    for (auto _ : state) {
        if (g.Result != kakure::krUndecided && g.FinishCount >= kakure::kFinishTicks - 1) {
            g.Start();
            g.StartRound();
        }
        if (rec.events.size() > 10000) rec.Clear();
        form.Timer1Timer();
    }
    form.hide();
    Sound().SetBackend(nullptr);
}
BENCHMARK(KakureTickWithDrawing)->Unit(benchmark::kMicrosecond);

void KakureDrawSceneOnly(benchmark::State& state)
{
    RecordingSoundBackend rec;
    Sound().SetBackend(&rec);
    TFormKakure form(FormGame);
    showForm(form, QStringLiteral("ぱにもこ かくれんぼ対決"));
    for (int i = 0; i < 60; ++i) form.Timer1Timer(); // into the first round
    for (auto _ : state) form.DrawScene();
    form.hide();
    Sound().SetBackend(nullptr);
}
BENCHMARK(KakureDrawSceneOnly)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    TApplication app(argc, argv, QStringLiteral("ポリコロ"));
    InitGameResources();
    VirtualClock clock;
    clock.SetAutoRun(false);
    SetClock(&clock);
    CreateShellForms();
    RandSeed = 1;
    MTSeed(4357);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DestroyShellForms();
    SetClock(nullptr);
    return 0;
}

// Speed of one tick of the baseball form with its drawing (goal: under 2 ms for the 100 ms timer),
// and of the drawing alone, headless on the virtual clock with the computer playing both sides.
#include "Application.h"
#include "Clock.h"
#include "GameRandom.h"
#include "Resources.h"
#include "Sound.h"
#include "UnitBaseBall.h"
#include "UnitGame.h"
#include <benchmark/benchmark.h>
#include "TestDoubles.h"

namespace {

struct AutoForm {
    RecordingSoundBackend rec;
    TFormBaseBall form{FormGame};
    AutoForm()
    {
        Sound().SetBackend(&rec);
        form.SetCaption(QStringLiteral("ぱにもこ 野球対決"));
        form.cbAuto->setChecked(true);
        form.show();
        form.Timer1->SetEnabled(false);
        while (form.Game().Opening) form.Timer1Timer();
    }
    ~AutoForm()
    {
        form.hide();
        Sound().SetBackend(nullptr);
    }
};

void BaseballTickWithDrawing(benchmark::State& state)
{
    AutoForm f;
    for (auto _ : state) {
        if (f.rec.events.size() > 10000) f.rec.Clear();
        f.form.Timer1Timer();
    }
    state.counters["plate_appearances"] = f.form.Game().OrderPosition[0] + f.form.Game().OrderPosition[1];
}
BENCHMARK(BaseballTickWithDrawing)->Unit(benchmark::kMicrosecond);

void BaseballDrawSceneOnly(benchmark::State& state)
{
    AutoForm f;
    for (auto _ : state) f.form.DrawScene();
}
BENCHMARK(BaseballDrawSceneOnly)->Unit(benchmark::kMicrosecond);

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

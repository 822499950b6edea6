// Speed of one timer tick of the running race and of the hurdle race, rules and drawing together
// (goal: under 1 ms each; the timers tick every 80 and 50 ms), headless on the virtual clock.
#include "Application.h"
#include "Clock.h"
#include "GameRandom.h"
#include "Resources.h"
#include "Sound.h"
#include "UnitGame.h"
#include "UnitHurdle.h"
#include "UnitRun.h"
#include <benchmark/benchmark.h>
#include "TestDoubles.h"

namespace {

// Shows a game's form with its timer stopped; the benchmark ticks it by hand.
template <class TForm>
void showStopped(TForm& form, const QString& caption)
{
    form.SetCaption(caption);
    form.imlMyChara.Assign(FormGame->imlAnime);
    form.show();
    form.Timer1->SetEnabled(false);
}

// Races that go on for ever: one about to end starts again instead of reporting.
void RaceTickWithDrawing(benchmark::State& state)
{
    RecordingSoundBackend rec;
    Sound().SetBackend(&rec);
    TFormRun form(FormGame);
    showStopped(form, QStringLiteral("ぱにもこ かけっこ対決"));
    run::TRunRace& race = form.Race();
    for (auto _ : state) {
        if (race.FinishCounter >= run::TRunRace::kEndTicks) {
            race.Start();
            race.EndOpening();
        }
        if (rec.events.size() > 10000) rec.Clear();
        form.Timer1Timer();
    }
    form.hide();
    Sound().SetBackend(nullptr);
}
BENCHMARK(RaceTickWithDrawing)->Unit(benchmark::kMicrosecond);

void HurdleTickWithDrawing(benchmark::State& state)
{
    RecordingSoundBackend rec;
    Sound().SetBackend(&rec);
    TFormHur form(FormGame);
    showStopped(form, QStringLiteral("ぱにもこ ハードル対決"));
    form.cbAuto->setChecked(true);
    hur::THurdleRace& race = form.Race();
    for (auto _ : state) {
        if (race.FinishCounter >= hur::THurdleRace::kEndTicks) {
            race.Start();
            race.DrawPlans(10);
            race.EndOpening();
        }
        if (rec.events.size() > 10000) rec.Clear();
        form.Timer1Timer();
    }
    form.hide();
    Sound().SetBackend(nullptr);
}
BENCHMARK(HurdleTickWithDrawing)->Unit(benchmark::kMicrosecond);

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

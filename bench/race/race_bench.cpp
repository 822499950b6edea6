// Speed of one timer tick of the running race and of the hurdle race, rules and drawing together
// (goal: under 1 ms each; the timers tick every 80 and 50 ms), headless on the virtual clock.
#include "BenchSupport.h"
#include "UnitHurdle.h"
#include "UnitRun.h"
#include <benchmark/benchmark.h>

namespace {

// Races that go on for ever: one about to end starts again instead of reporting.
void RaceTickWithDrawing(benchmark::State& state)
{
    TBenchSounds sounds;
    TFormRun form(FormGame);
    ShowStopped(form, QStringLiteral("ぱにもこ かけっこ対決"));
    run::TRunRace& race = form.Race();
    TickForever(state, form, sounds, [&race] {
        if (race.FinishCounter < run::TRunRace::kEndTicks) return;
        race.Start();
        race.EndOpening();
    });
    form.hide();
}
BENCHMARK(RaceTickWithDrawing)->Unit(benchmark::kMicrosecond);

void HurdleTickWithDrawing(benchmark::State& state)
{
    TBenchSounds sounds;
    TFormHur form(FormGame);
    ShowStopped(form, QStringLiteral("ぱにもこ ハードル対決"));
    form.cbAuto->setChecked(true);
    hur::THurdleRace& race = form.Race();
    TickForever(state, form, sounds, [&race] {
        if (race.FinishCounter < hur::THurdleRace::kEndTicks) return;
        race.Start();
        race.DrawPlans(10);
        race.EndOpening();
    });
    form.hide();
}
BENCHMARK(HurdleTickWithDrawing)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunGameFormBenchmarks(argc, argv);
}

// Speed of the putting game's form, headless on the virtual clock: one tick of a rolling putt with
// its drawing (goal: under 1 ms), and the drawing alone at the busiest moments.
#include "BenchSupport.h"
#include "UnitGolf.h"
#include <benchmark/benchmark.h>

using namespace golf;

namespace {

// A form in play on its first green, the user's putt given beside the cup and about to start.
struct TPuttingForm {
    TBenchSounds sounds;
    TFormGolf form{FormGame};
    explicit TPuttingForm(bool aiming = false)
    {
        ShowStopped(form, QStringLiteral("ぱにもこ ゴルフ対決"));
        while (form.Opening()) form.Timer1Timer();
        TGolfMatch& m = form.Match();
        m.FTurnTeam = 0;
        m.FWaitTicks = 0;
        m.MouseDown(m.Green.CupX, m.Green.CupY);
        if (!aiming) m.MouseUp(m.Green.CupX + 40, m.Green.CupY);
    }
    ~TPuttingForm() { form.hide(); }
};

// The ticks of a putt from its start until the ball stops, each drawn; the same putt over and over.
void RollTickWithDrawing(benchmark::State& state)
{
    TPuttingForm p;
    const TGolfMatch start = p.form.Match();
    TGolfMatch& m = p.form.Match();
    int ticks = 0;
    for (auto _ : state) {
        if (m.Ball.State >= bsAtRest || m.FEndCount >= 0 || m.Finished) {
            state.PauseTiming();
            m = start;
            state.ResumeTiming();
        }
        p.form.Timer1Timer();
        ++ticks;
        p.sounds.Trim();
    }
    state.SetItemsProcessed(ticks);
}
BENCHMARK(RollTickWithDrawing)->Unit(benchmark::kMicrosecond);

// The scene while the user drags: both hills, the dashed aim line across the green.
void DrawSceneWhileAiming(benchmark::State& state)
{
    TPuttingForm p(true);
    for (auto _ : state) p.form.DrawScene();
}
BENCHMARK(DrawSceneWhileAiming)->Unit(benchmark::kMicrosecond);

// The scene of a holed ball: banner, hole number and six jumping supporters.
void DrawSceneHoled(benchmark::State& state)
{
    TPuttingForm p;
    TGolfMatch& m = p.form.Match();
    m.FEndCount = 20;
    for (auto _ : state) p.form.DrawScene();
}
BENCHMARK(DrawSceneHoled)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunGameFormBenchmarks(argc, argv);
}

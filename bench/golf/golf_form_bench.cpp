// Speed of the putting game's form, headless on the virtual clock: one tick of a rolling putt with
// its drawing (goal: under 1 ms), and the drawing alone at the busiest moments.
#include "Application.h"
#include "Clock.h"
#include "GameRandom.h"
#include "Resources.h"
#include "Sound.h"
#include "UnitGame.h"
#include "UnitGolf.h"
#include <benchmark/benchmark.h>
#include "TestDoubles.h"

using namespace golf;

namespace {

// A form in play on its first green, the user's putt given beside the cup and about to start.
struct TPuttingForm {
    RecordingSoundBackend rec;
    TFormGolf form{FormGame};
    explicit TPuttingForm(bool aiming = false)
    {
        Sound().SetBackend(&rec);
        form.SetCaption(QStringLiteral("ぱにもこ ゴルフ対決"));
        form.imlMyChara.Assign(FormGame->imlAnime);
        form.show();
        form.Timer1->SetEnabled(false);
        while (form.Opening()) form.Timer1Timer();
        TGolfMatch& m = form.Match();
        m.FTurnTeam = 0;
        m.FWaitTicks = 0;
        m.MouseDown(m.Green.CupX, m.Green.CupY);
        if (!aiming) m.MouseUp(m.Green.CupX + 40, m.Green.CupY);
    }
    ~TPuttingForm()
    {
        form.hide();
        Sound().SetBackend(nullptr);
    }
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
        if (p.rec.events.size() > 10000) p.rec.Clear();
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

// Speed of the soccer form's drawing: the whole scene at 863 x 570 (goal: under 2 ms, with the
// texts and their sizes kept once drawn) and one timer tick of play with its drawing (goal: under
// 2 ms for the 107 ms timer), headless on the virtual clock with the computer playing both teams.
// The penalty kicks are answered at once and the result is not shown, so that nothing waits for
// a window.
#include "Application.h"
#include "Clock.h"
#include "GameRandom.h"
#include "Resources.h"
#include "Sound.h"
#include "UnitGame.h"
#include "UnitSoccer.h"
#include <benchmark/benchmark.h>
#include "TestDoubles.h"

namespace {

using namespace soccer;

struct AutoForm {
    RecordingSoundBackend rec;
    TFormSoccer form{FormGame};
    AutoForm()
    {
        Sound().SetBackend(&rec);
        form.SetCaption(QStringLiteral("ぱにもこ サッカー対決"));
        form.cobSousa->SetItemIndex(3);
        form.show();
        TSoccerEngine& e = form.Engine();
        e.Svc.PenaltyKick = [](const TPKRequest&) { return TPKOutcome{1, 1, -1, true}; };
        e.Svc.ReportResult = [](quint16) {};
        restart();
    }
    ~AutoForm()
    {
        form.hide();
        Sound().SetBackend(nullptr);
    }
    // A new match from the second half, past its opening, with the timer left to the benchmark.
    void restart()
    {
        TSoccerEngine& e = form.Engine();
        e.Show();
        form.Timer1->SetEnabled(false);
        while (e.FOpening) e.Tick();
        for (int i = 0; i < 200; ++i) step();
    }
    void step()
    {
        if (form.Engine().MatchOver) restart();
        if (rec.events.size() > 10000) rec.Clear();
        form.Timer1Timer();
        form.Timer1->SetEnabled(false);
    }
};

void SoccerDrawScene(benchmark::State& state)
{
    AutoForm f;
    for (auto _ : state) f.form.DrawScene();
}
BENCHMARK(SoccerDrawScene)->Unit(benchmark::kMicrosecond);

void SoccerTickWithDrawing(benchmark::State& state)
{
    AutoForm f;
    for (auto _ : state) f.step();
    state.counters["goals"] = f.form.Engine().FStats[0][stGoals] + f.form.Engine().FStats[1][stGoals];
}
BENCHMARK(SoccerTickWithDrawing)->Unit(benchmark::kMicrosecond);

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

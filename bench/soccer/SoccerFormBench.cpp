// Speed of the soccer form's drawing: the whole scene at 863 x 570 (goal: under 2 ms, with the
// texts and their sizes kept once drawn) and one timer tick of play with its drawing (goal: under
// 2 ms for the 107 ms timer), headless on the virtual clock with the computer playing both teams.
// The penalty kicks are answered at once and the result is not shown, so that nothing waits for
// a window.
#include "BenchSupport.h"
#include "UnitSoccer.h"
#include <benchmark/benchmark.h>

namespace {

using namespace soccer;

struct AutoForm {
    TBenchSounds sounds;
    TFormSoccer form{FormGame};
    AutoForm()
    {
        form.SetCaption(QStringLiteral("ぱにもこ サッカー対決"));
        form.cobSousa->SetItemIndex(3);
        form.show();
        TSoccerEngine& e = form.Engine();
        e.Svc.PenaltyKick = [](const TPKRequest&) { return TPKOutcome{1, 1, -1, true}; };
        e.Svc.ReportResult = [](quint16) {};
        restart();
    }
    ~AutoForm() { form.hide(); }
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
        sounds.Trim();
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
    return RunGameFormBenchmarks(argc, argv);
}

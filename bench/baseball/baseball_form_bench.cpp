// Speed of one tick of the baseball form with its drawing (goal: under 2 ms for the 100 ms timer),
// and of the drawing alone, headless on the virtual clock with the computer playing both sides.
#include "BenchSupport.h"
#include "UnitBaseBall.h"
#include "UnitGameWinMes.h"
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct AutoForm {
    TBenchSounds sounds;
    TFormBaseBall form{FormGame};
    explicit AutoForm(bool data = false)
    {
        // A game that ends shows its result window: it closes at once.
        Form::SetModalHook([](Form* f) {
            if (f == FormGameWinMes) f->Close();
        });
        form.SetCaption(QStringLiteral("ぱにもこ 野球対決"));
        form.cbAuto->setChecked(true);
        form.cbData->setChecked(data);
        form.show();
        form.Timer1->SetEnabled(false);
        while (form.Game().Opening) form.Timer1Timer();
    }
    ~AutoForm()
    {
        form.hide();
        Form::SetModalHook(nullptr);
    }
};

// One tick with its drawing; with the argument 1 the batting-data panel is drawn too. A game that
// ends is replaced by a new one outside the timing.
void BaseballTickWithDrawing(benchmark::State& state)
{
    auto f = std::make_unique<AutoForm>(state.range(0) != 0);
    int games = 0;
    for (auto _ : state) {
        if (f->form.Game().Reported) {
            state.PauseTiming();
            f.reset();
            f = std::make_unique<AutoForm>(state.range(0) != 0);
            ++games;
            state.ResumeTiming();
        }
        f->sounds.Trim();
        f->form.Timer1Timer();
    }
    state.counters["games_ended"] = games;
}
BENCHMARK(BaseballTickWithDrawing)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BaseballDrawSceneOnly(benchmark::State& state)
{
    AutoForm f;
    for (auto _ : state) f.form.DrawScene();
}
BENCHMARK(BaseballDrawSceneOnly)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunGameFormBenchmarks(argc, argv);
}

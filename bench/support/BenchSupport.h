#pragma once
// What the benchmarks of the game forms share: the game program's world on a virtual clock that runs
// only when told (embedded resources, the shell's forms, seeded generators), sounds recorded instead
// of played, and a quick game's form shown with its timer stopped so that the benchmark ticks it.
#include "Sound.h"
#include "TestDoubles.h"
#include "UnitGame.h"
#include <QString>
#include <benchmark/benchmark.h>

// Records the sounds while it lives; Trim() keeps the record from growing over a long run.
struct TBenchSounds {
    RecordingSoundBackend rec;
    TBenchSounds() { Sound().SetBackend(&rec); }
    ~TBenchSounds() { Sound().SetBackend(nullptr); }
    TBenchSounds(const TBenchSounds&) = delete;
    TBenchSounds& operator=(const TBenchSounds&) = delete;
    void Trim()
    {
        if (rec.events.size() > 10000) rec.Clear();
    }
};

// Shows a quick game's form with the menu's cheering figures and its timer stopped.
template <class TForm>
void ShowStopped(TForm& form, const QString& caption)
{
    form.SetCaption(caption);
    form.imlMyChara.Assign(FormGame->imlAnime);
    form.show();
    form.Timer1->SetEnabled(false);
}

// One timer tick of a shown form with its drawing per iteration, for ever: `again` first starts a new
// game in place of one about to report.
template <class TForm, class TAgain>
void TickForever(benchmark::State& state, TForm& form, TBenchSounds& sounds, TAgain again)
{
    for (auto _ : state) {
        again();
        sounds.Trim();
        form.Timer1Timer();
    }
}

// The whole main() of a game form benchmark: runs the benchmarks the command line names in that world.
int RunGameFormBenchmarks(int argc, char** argv);

// Speed of one PK tick with its drawing (goal: under 1 ms) and of the sound service's calls (goal:
// under 50 us each), headless on the virtual clock.
#include "Application.h"
#include "Clock.h"
#include "GameRandom.h"
#include "Resources.h"
#include "Sound.h"
#include "UnitGame.h"
#include "UnitPK.h"
#include <benchmark/benchmark.h>
#include "TestDoubles.h"

namespace {

// A shoot-out that plays on forever: a decided game starts again instead of reporting.
void PKTickWithDrawing(benchmark::State& state)
{
    RecordingSoundBackend rec;
    Sound().SetBackend(&rec);
    TFormPK form(FormGame);
    form.SetCaption(QStringLiteral("ぱにもこ ＰＫ対決"));
    form.imlMyChara.Assign(FormGame->imlAnime);
    form.show();
    form.Timer1->SetEnabled(false);
    TPKMatch& m = form.Match();
    for (auto _ : state) {
        if (m.Result != 0) m.Start(m.Players[0], m.Players[1]);
        if (rec.events.size() > 10000) rec.Clear();
        form.Timer1Timer();
    }
    form.hide();
    Sound().SetBackend(nullptr);
}
BENCHMARK(PKTickWithDrawing)->Unit(benchmark::kMicrosecond);

void PKDrawSceneOnly(benchmark::State& state)
{
    RecordingSoundBackend rec;
    Sound().SetBackend(&rec);
    TFormPK form(FormGame);
    form.SetCaption(QStringLiteral("ぱにもこ ＰＫ対決"));
    form.imlMyChara.Assign(FormGame->imlAnime);
    form.show();
    form.Timer1->SetEnabled(false);
    for (auto _ : state) form.DrawScene();
    form.hide();
    Sound().SetBackend(nullptr);
}
BENCHMARK(PKDrawSceneOnly)->Unit(benchmark::kMicrosecond);

void SoundPlayRecorded(benchmark::State& state)
{
    RecordingSoundBackend rec;
    Sound().SetBackend(&rec);
    for (auto _ : state) {
        Sound().Play(QStringLiteral("KICK"), SndAsync);
        if (rec.events.size() > 10000) rec.Clear();
    }
    Sound().SetBackend(nullptr);
}
BENCHMARK(SoundPlayRecorded);

void SoundPlayDeviceBackend(benchmark::State& state)
{
    // The device path (its output thread and queue) without sending anything to a device.
    auto device = NewDeviceSoundBackend(false);
    Sound().SetBackend(device.get());
    for (auto _ : state) Sound().Play(QStringLiteral("KICK"), SndAsync);
    Sound().Stop();
    Sound().SetBackend(nullptr);
}
BENCHMARK(SoundPlayDeviceBackend);

void SoundNoStopRefused(benchmark::State& state)
{
    RecordingSoundBackend rec;
    Sound().SetBackend(&rec);
    Sound().Play(QStringLiteral("GOALFILEBGM"), SndAsync | SndLoop);
    for (auto _ : state) benchmark::DoNotOptimize(Sound().Play(QStringLiteral("KANSEI"), SndAsync | SndNoStop));
    Sound().Stop();
    Sound().SetBackend(nullptr);
}
BENCHMARK(SoundNoStopRefused);

void SoundSyncOnTheClock(benchmark::State& state)
{
    RecordingSoundBackend rec;
    Sound().SetBackend(&rec);
    for (auto _ : state) {
        Sound().Play(QStringLiteral("TACKLE"), SndSync);
        if (rec.events.size() > 10000) rec.Clear();
    }
    Sound().SetBackend(nullptr);
}
BENCHMARK(SoundSyncOnTheClock);

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

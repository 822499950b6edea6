// Speed of one PK tick with its drawing (goal: under 1 ms) and of the sound service's calls (goal:
// under 50 us each), headless on the virtual clock.
#include "BenchSupport.h"
#include "UnitPK.h"
#include <benchmark/benchmark.h>

namespace {

// A shoot-out that plays on forever: a decided game starts again instead of reporting.
void PKTickWithDrawing(benchmark::State& state)
{
    TBenchSounds sounds;
    TFormPK form(FormGame);
    ShowStopped(form, QStringLiteral("ぱにもこ ＰＫ対決"));
    TPKMatch& m = form.Match();
    TickForever(state, form, sounds, [&m] {
        if (m.Result != 0) m.Start(m.Players[0], m.Players[1]);
    });
    form.hide();
}
BENCHMARK(PKTickWithDrawing)->Unit(benchmark::kMicrosecond);

void PKDrawSceneOnly(benchmark::State& state)
{
    TBenchSounds sounds;
    TFormPK form(FormGame);
    ShowStopped(form, QStringLiteral("ぱにもこ ＰＫ対決"));
    for (auto _ : state) form.DrawScene();
    form.hide();
}
BENCHMARK(PKDrawSceneOnly)->Unit(benchmark::kMicrosecond);

void SoundPlayRecorded(benchmark::State& state)
{
    TBenchSounds sounds;
    for (auto _ : state) {
        Sound().Play(QStringLiteral("KICK"), SndAsync);
        sounds.Trim();
    }
}
BENCHMARK(SoundPlayRecorded);

void SoundPlayDeviceBackend(benchmark::State& state)
{
    // The device output handing each sound to its stream's mix, with no stream opened.
    auto device = NewDeviceSoundBackend(false);
    Sound().SetBackend(device.get());
    for (auto _ : state) Sound().Play(QStringLiteral("KICK"), SndAsync);
    Sound().Stop();
    Sound().SetBackend(nullptr);
}
BENCHMARK(SoundPlayDeviceBackend);

void SoundNoStopRefused(benchmark::State& state)
{
    TBenchSounds sounds;
    Sound().Play(QStringLiteral("GOALFILEBGM"), SndAsync | SndLoop);
    for (auto _ : state) benchmark::DoNotOptimize(Sound().Play(QStringLiteral("KANSEI"), SndAsync | SndNoStop));
    Sound().Stop();
}
BENCHMARK(SoundNoStopRefused);

void SoundSyncOnTheClock(benchmark::State& state)
{
    TBenchSounds sounds;
    for (auto _ : state) {
        Sound().Play(QStringLiteral("TACKLE"), SndSync);
        sounds.Trim();
    }
}
BENCHMARK(SoundSyncOnTheClock);

} // namespace

int main(int argc, char** argv)
{
    return RunGameFormBenchmarks(argc, argv);
}

#include "BenchSupport.h"

#include "Application.h"
#include "Clock.h"
#include "GameRandom.h"
#include "Resources.h"
#include <benchmark/benchmark.h>

int RunGameFormBenchmarks(int argc, char** argv)
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

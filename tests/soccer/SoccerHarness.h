#pragma once
// A soccer engine on a test clock: the runtime generator seeded per test, sounds that "play" for a
// few ticks, waits added up instead of slept, and the result report recorded.
#include "GameRandom.h"
#include "ServicesRecord.h"
#include "SoccerEngine.h"
#include <vector>

struct SoccerHarness : TServicesRecord {
    soccer::TSoccerEngine e;
    std::vector<soccer::TSoccerSound> sounds;
    int soundTicks = 0;   // ticks the last sound still plays
    int draws = 0;

    explicit SoccerHarness(std::uint32_t seed = 1)
    {
        RandSeed = seed;
        FillServices(e.Svc, [](int n) { return LcgRandom(n); });
        manual = false; // auto-played: the replays written here carry no manual mark
        modeBits = 0x0100;
        e.Svc.Play = [this](soccer::TSoccerSound s, bool noStop) {
            if (noStop && soundTicks > 0) return false;
            sounds.push_back(s);
            soundTicks = s == soccer::TSoccerSound::Opening ? 30 : 6;
            return true;
        };
        e.Svc.SoundPlaying = [this] { return soundTicks > 0; };
        e.Svc.Redraw = [this] { ++draws; };
    }
    void tick()
    {
        e.Tick();
        if (soundTicks > 0) --soundTicks;
    }
    // Starts a match in a time mode and ticks through the opening to the first play tick.
    void start(int mode)
    {
        e.Show();
        e.ApplyTimeMode(mode);
        for (int i = 0; i < 200 && e.FOpening; ++i) tick();
    }
    int goals(int team) const { return e.FStats[team][soccer::stGoals]; }
    int count(soccer::TSoccerSound s) const
    {
        int n = 0;
        for (auto x : sounds) n += x == s;
        return n;
    }
};

#pragma once
// A soccer engine on a test clock: the runtime generator seeded per test, sounds that "play" for a
// few ticks, waits added up instead of slept, and the result report recorded.
#include "GameRandom.h"
#include "ServicesRecord.h"
#include "Sjis.h"
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

// The stream of a 2-1 match with one scene of three frames, team 0's forward at x 700 in them.
inline void OneScene(soccer::TSoccerEngine& e)
{
    e.Svc.ToSjis = ToSjis;
    e.ResetKickOff();
    e.FPlayers[0][6].X = 700;
    for (int i = 0; i < 3; ++i) e.RecordFrame(true, false);
    e.FStats[0][soccer::stGoals] = 2;
    e.FStats[1][soccer::stGoals] = 1;
    e.FGoalLabels = {QStringLiteral("● 10:00")};
    e.AppendGoalScene(true);
}

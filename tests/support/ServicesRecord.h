#pragma once
// The program's side of a game's rules in a test without a window: draws from the test's own
// generators, waits added up instead of slept, the manual-play flag and the option index kept here,
// and every result report recorded with the mode bits the test sets.
#include "GameServices.h"
#include <functional>
#include <utility>
#include <vector>

struct TServicesRecord {
    bool manual = true;
    int option = -1;
    long long slept = 0;
    int lastSleep = 0;
    quint16 modeBits = 0;
    std::vector<quint16> reports;

    // Fills the services every game's rules share: draws from `random` and `runtime` (0 when left
    // empty), everything else kept in this record.
    void FillServices(TGameServices& s, std::function<int(int)> random, std::function<int(int)> runtime = {})
    {
        s.Random = std::move(random);
        s.RuntimeRandom = std::move(runtime);
        s.Sleep = [this](int ms) {
            slept += ms;
            lastSleep = ms;
        };
        s.ManualPlay = [this] { return manual; };
        s.SetManualPlay = [this](bool on) { manual = on; };
        s.SetOptionIndex = [this](int i) { option = i; };
        s.ModeBits = [this] { return modeBits; };
        s.ReportResult = [this](quint16 code) { reports.push_back(code); };
    }
};

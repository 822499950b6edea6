#pragma once
// Generators for the two races' rules tests: scripted ones that give queued values and then n - 1
// (never the 0 that the rules treat as "it happens"), and the program's random service, seeded.
#include "SeededRandom.h"
#include <deque>
#include <vector>

struct TScripted {
    std::deque<int> queue;
    std::vector<int> asked; // every n asked for, in order
    int operator()(int n)
    {
        asked.push_back(n);
        if (queue.empty()) return n - 1;
        const int v = queue.front();
        queue.pop_front();
        return v;
    }
};

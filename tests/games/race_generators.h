#pragma once
// Generators for the two races' rules tests: scripted ones that give queued values and then n - 1
// (never the 0 that the rules treat as "it happens"), and the program's random service, seeded.
#include "GameRandom.h"
#include <cstdint>
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

// Blocks of `block` draws from the runtime generator, then as many from MT19937, and so on.
struct TSeeded {
    int count = 0, block;
    TSeeded(std::uint32_t seed, int blockLength) : block(blockLength)
    {
        RandSeed = seed;
        MTSeed(seed * 2654435761u + 1u);
    }
    int operator()(int n) { return BlockRandom(count++, block, n); }
};

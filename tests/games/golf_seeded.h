#pragma once
// The random service as the program runs it, seeded: blocks of 50 draws from the runtime generator,
// then 50 from MT19937, and so on.
#include "GameRandom.h"
#include <cstdint>

struct TSeededService {
    int count = 0;
    explicit TSeededService(std::uint32_t seed)
    {
        RandSeed = seed;
        MTSeed(seed * 2654435761u + 1u);
    }
    int operator()(int n) { return (count++ / 50) % 2 == 0 ? LcgRandom(n) : MTRandomInt(n); }
};

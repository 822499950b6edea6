#pragma once
// The random service as the program runs it, seeded: blocks of `block` draws from the runtime
// generator, then as many from MT19937, and so on.
#include "GameRandom.h"
#include <cstdint>

struct TSeededRandom {
    int count = 0, block;
    explicit TSeededRandom(std::uint32_t seed, int blockLength = 50) : block(blockLength)
    {
        RandSeed = seed;
        MTSeed(seed * 2654435761u + 1u);
    }
    int operator()(int n) { return BlockRandom(count++, block, n); }
};

#pragma once
// The two random generators of the game program: the runtime's linear congruential generator and
// the Mersenne Twister MT19937, which the menu form's random service alternates in blocks.
#include <QDateTime>
#include <cstdint>

// Runtime generator: seed := seed * 134775813 + 1; the result is the high half of seed * n.
extern std::uint32_t RandSeed;
int LcgRandom(int n);
// Seeds from the time of day (UTC) in milliseconds.
void LcgRandomize();
void LcgRandomizeFrom(const QDateTime& utc);

// MT19937 with the seeding that fills the state by x * 69069 + 1; seeded with 4357 at start.
void MTSeed(std::uint32_t seed);
// The next tempered 32-bit output.
std::uint32_t MTRandomUInt32();
// A value in [0, 1): the next output times 2^-32.
long double MTRandom();
// Trunc(MTRandom() * n).
int MTRandomInt(int n);
// Seeds from the local date and time packed as a file date; 0 outside 1980..2099.
void MTRandomize();
std::uint32_t FileDateOf(const QDateTime& local);

// The random service's draw number `count` (counted from 0): blocks of `block` draws alternate between
// the runtime generator (even blocks) and MT19937 (odd blocks); with no block length set, the runtime
// generator serves every draw.
int BlockRandom(int count, int block, int n);

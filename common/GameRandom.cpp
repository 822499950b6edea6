#include "GameRandom.h"

#include <array>
#include <cmath>

std::uint32_t RandSeed = 0;

int LcgRandom(int n)
{
    RandSeed = RandSeed * 134775813u + 1u;
    // The high half of the 64-bit product; a negative n counts as its unsigned 32-bit value.
    return int(std::uint32_t((std::uint64_t(RandSeed) * std::uint32_t(n)) >> 32));
}

void LcgRandomizeFrom(const QDateTime& utc)
{
    const QTime t = utc.toUTC().time();
    RandSeed = std::uint32_t(((t.hour() * 60 + t.minute()) * 60 + t.second()) * 1000 + t.msec());
}

void LcgRandomize()
{
    LcgRandomizeFrom(QDateTime::currentDateTimeUtc());
}

namespace {

constexpr int kN = 624;
constexpr int kM = 397;
constexpr std::uint32_t kMag01[2] = {0u, 0x9908B0DFu};
constexpr std::uint32_t kUpperMask = 0x80000000u;
constexpr std::uint32_t kLowerMask = 0x7FFFFFFFu;

struct MTState {
    std::array<std::uint32_t, kN> mt{};
    int index = kN + 1;
};

constexpr void seedState(MTState& st, std::uint32_t s)
{
    for (int k = 0; k < kN; ++k) {
        std::uint32_t word = s & 0xFFFF0000u;
        s = s * 69069u + 1u;
        word |= s >> 16;
        s = s * 69069u + 1u;
        st.mt[k] = word;
    }
    st.index = kN;
}

constexpr MTState seededState(std::uint32_t s)
{
    MTState st;
    seedState(st, s);
    return st;
}

// Seeded with 4357 before any code runs, so a draw from another module's start-up sees the same
// state as one made from main().
constinit MTState g_mt = seededState(4357);

void twist(MTState& st)
{
    for (int k = 0; k < kN; ++k) {
        const std::uint32_t y = (st.mt[k] & kUpperMask) | (st.mt[(k + 1) % kN] & kLowerMask);
        st.mt[k] = st.mt[(k + kM) % kN] ^ (y >> 1) ^ kMag01[y & 1u];
    }
    st.index = 0;
}

} // namespace

void MTSeed(std::uint32_t seed)
{
    seedState(g_mt, seed);
}

std::uint32_t MTRandomUInt32()
{
    if (g_mt.index >= kN) twist(g_mt);
    std::uint32_t y = g_mt.mt[g_mt.index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

long double MTRandom()
{
    return std::ldexp(static_cast<long double>(MTRandomUInt32()), -32);
}

int MTRandomInt(int n)
{
    // Truncated in extended precision: a double could round a product just below an integer up.
    return int(MTRandom() * static_cast<long double>(n));
}

std::uint32_t FileDateOf(const QDateTime& local)
{
    const QDate d = local.date();
    const QTime t = local.time();
    if (!d.isValid() || d.year() < 1980 || d.year() > 2099) return 0;
    return (std::uint32_t(d.year() - 1980) << 25) | (std::uint32_t(d.month()) << 21) | (std::uint32_t(d.day()) << 16) |
           (std::uint32_t(t.hour()) << 11) | (std::uint32_t(t.minute()) << 5) | std::uint32_t(t.second() / 2);
}

void MTRandomize()
{
    MTSeed(FileDateOf(QDateTime::currentDateTime()));
}

int BlockRandom(int count, int block, int n)
{
    if (block <= 0) return LcgRandom(n);
    return (count / block) % 2 == 0 ? LcgRandom(n) : MTRandomInt(n);
}

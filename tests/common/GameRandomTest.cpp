#include "GameRandom.h"

#include <gtest/gtest.h>

#include <QTimeZone>
#include <cmath>
#include <vector>

namespace {

// Drawn while the test program starts, before main(): the generator must already hold its
// start-up seed then, whatever order the modules are initialised in.
const std::uint32_t g_firstDrawAtStartUp = MTRandomUInt32();

} // namespace

TEST(MTRand, HoldsTheStartUpSeedBeforeMain)
{
    EXPECT_EQ(g_firstDrawAtStartUp, 2867219139u);
}

TEST(MTRand, ReferenceSequenceAfterSeed4357)
{
    MTSeed(4357);
    const std::uint32_t expected[] = {2867219139u, 1585203162u, 3113124129u, 2953900839u, 2463794868u};
    for (std::uint32_t e : expected) EXPECT_EQ(MTRandomUInt32(), e);
}

TEST(MTRand, RandomIsTheOutputScaledBy2PowMinus32)
{
    MTSeed(4357);
    std::vector<std::uint32_t> raw(50);
    for (auto& v : raw) v = MTRandomUInt32();
    MTSeed(4357);
    for (std::uint32_t y : raw) {
        const long double r = MTRandom();
        EXPECT_EQ(r, std::ldexp(static_cast<long double>(y), -32));
        EXPECT_GE(r, 0.0L);
        EXPECT_LT(r, 1.0L);
    }
}

TEST(MTRand, RandomIntTruncatesTheScaledProduct)
{
    // Trunc(y * 2^-32 * n) is the high half of y * n for every n: exact, even next to an integer.
    for (int n : {1, 2, 3, 6, 7, 100, 1000, 65537, 2147483647}) {
        MTSeed(4357);
        std::vector<std::uint32_t> raw(200);
        for (auto& v : raw) v = MTRandomUInt32();
        MTSeed(4357);
        for (std::uint32_t y : raw) {
            const int expected = int((std::uint64_t(y) * std::uint64_t(n)) >> 32);
            ASSERT_EQ(MTRandomInt(n), expected) << "n=" << n << " y=" << y;
        }
    }
    EXPECT_EQ(MTRandomInt(0), 0);
}

TEST(LcgRandom, SequenceFromSeedZero)
{
    RandSeed = 0;
    for (int e : {0, 3, 86, 20, 27}) EXPECT_EQ(LcgRandom(100), e);
}

TEST(LcgRandom, ZeroGivesZeroAndStillSteps)
{
    RandSeed = 0;
    EXPECT_EQ(LcgRandom(0), 0);
    EXPECT_EQ(RandSeed, 1u);
    EXPECT_EQ(LcgRandom(0), 0);
    EXPECT_EQ(RandSeed, 134775814u);
}

TEST(LcgRandom, NegativeCountsAsUnsigned)
{
    RandSeed = 1;
    // seed becomes 134775814; its product with 0xFFFFFFFF has 134775813 as the high half.
    EXPECT_EQ(LcgRandom(-1), 134775813);
}

TEST(LcgRandom, SeedIsTheUtcTimeOfDayInMilliseconds)
{
    const QDateTime utc(QDate(2024, 3, 9), QTime(12, 34, 56, 789), QTimeZone::utc());
    LcgRandomizeFrom(utc);
    EXPECT_EQ(RandSeed, std::uint32_t(((12 * 60 + 34) * 60 + 56) * 1000 + 789));
    // The same moment given in another zone seeds the same.
    const QDateTime tokyo(QDate(2024, 3, 9), QTime(21, 34, 56, 789), QTimeZone(9 * 3600));
    LcgRandomizeFrom(tokyo);
    EXPECT_EQ(RandSeed, std::uint32_t(((12 * 60 + 34) * 60 + 56) * 1000 + 789));
}

TEST(FileDate, PacksLocalDateAndTime)
{
    struct Row {
        QDate date;
        QTime time;
        std::uint32_t expected;
    };
    const Row rows[] = {
        {QDate(1980, 1, 1), QTime(0, 0, 0), (1u << 21) | (1u << 16)},
        {QDate(2024, 6, 15), QTime(13, 45, 31),
         (44u << 25) | (6u << 21) | (15u << 16) | (13u << 11) | (45u << 5) | 15u},
        {QDate(2099, 12, 31), QTime(23, 59, 59),
         (119u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u},
        {QDate(1979, 12, 31), QTime(23, 59, 59), 0u},
        {QDate(1900, 5, 5), QTime(10, 0, 0), 0u},
        {QDate(2100, 1, 1), QTime(0, 0, 0), 0u},
    };
    for (const Row& r : rows)
        EXPECT_EQ(FileDateOf(QDateTime(r.date, r.time)), r.expected) << r.date.toString().toStdString();
}

#pragma once
// The 24 statistics each side keeps (TBaseBallGame::Stats), and the rows of the batting-data panel
// that shows them for both sides.
#include <QString>
#include <array>
#include <vector>

namespace bb {

class TBaseBallGame;

enum TStat {
    stPlateAppearances,
    stAtBats,            // not bunts, not walks
    stAverage,           // x 1000, at most 999
    stHomeRuns,          // not robbed
    stStrikeouts,
    stWalks,
    stDoubles,
    stTriples,
    stSingles,           // hits less home runs, doubles and triples; never below 0
    stDoublePlays,       // the side's ground ball with a second out and no third
    stTriplePlays,
    stCourseHits,        // the column matched, or the row for a strong batter
    stChancePlateAppearances, // batter power 8 and up
    stCourseGuesses,     // every pitch, fouls included
    stIntentionalWalks,  // received: the pitching side chose course 0
    stLeftOnBase,        // at the third out
    stChanceAtBats,
    stMultiHitInnings,   // half-innings with two hits or more
    stChanceAverage,     // x 1000, at most 999
    stChanceHits,        // a strong batter reached base on a hit
    stTimesOnBase,
    stOnBaseAverage,     // x 1000, at most 999
    stScoredEveryInning, // 1 until a scoreless half
    stUnused,
};

// A thousandfold average, halves to even, a zero count taken as one, stored at most as 999 so that it
// always shows with three digits.
int ThousandAverage(int count, int of);

// The rows of the panel: the left column (at-bats, average, home runs, triples, doubles, singles,
// walks) and the right one (strikeouts, double and triple plays, on-base average, multi-hit innings,
// chance at-bats, chance average, course hits), each with the computer's figure then the user's.
std::vector<QString> StatisticsRows(const TBaseBallGame& g, int column);

} // namespace bb

// Innings, the end of the game and the statistics, without a window: three outs change sides, the
// board is archived every ten innings, the end rules of the ninth and extra innings, the closing
// celebration and its report, each statistic counted play by play, the pitching achievements, the
// panel's rows and the early close.
#include "baseball_field_harness.h"
#include "Statistics.h"
#include <map>

using namespace bbtest;

namespace {

// A strikeout for the batter up: the plainest play that makes an out.
void StrikeOut(Field& f)
{
    f.Hit({prStrikeout, bkGrounder});
    f.PlayOut();
}

TEST(BaseballInningsTest, ThreeOutsChangeSidesAndTheUserEndsEachInning)
{
    Field f;
    TBaseBallGame& g = f.g;
    f.Set({.userBats = false, .outs = 2, .inning = 3});
    for (auto& side : g.SlotPower) side.fill(-1);
    StrikeOut(f);
    EXPECT_EQ(g.BattingSide, 1);
    EXPECT_EQ(g.Inning, 3) << "the user bats in the same inning";
    EXPECT_EQ(g.Outs, 0);
    EXPECT_EQ(g.LineScore[0][3], 0);
    EXPECT_EQ(g.LineScore[1][3], -1);
    EXPECT_EQ(g.SlotPower[0][0], -1) << "powers stay for the bottom half";
    EXPECT_EQ(g.OrderPosition[0], 1);
    EXPECT_EQ(std::count(f.sounds.begin(), f.sounds.end(), TBallSound::Change), 1);

    g.Outs = 2;
    g.HitsThisHalf = 2;
    StrikeOut(f);
    EXPECT_EQ(g.BattingSide, 0);
    EXPECT_EQ(g.Inning, 4);
    EXPECT_EQ(g.LineScore[1][3], 0);
    EXPECT_EQ(g.LineScore[0][4], -1);
    EXPECT_EQ(g.HitsThisHalf, 0);
    EXPECT_EQ(g.SlotPower[0][0], 10) << "new powers for the new inning";
    EXPECT_EQ(g.OrderPosition[1], 1);
}

TEST(BaseballInningsTest, TheBoardIsArchivedEveryTenInnings)
{
    Field f;
    TBaseBallGame& g = f.g;
    f.Set({.outs = 2, .inning = 9});
    g.LineScore[0][9] = 3; // tied at three in the tenth: the game goes on
    g.LineScore[1][8] = 3;
    g.Runs = {3, 3};
    StrikeOut(f);
    EXPECT_EQ(g.Inning, 10);
    ASSERT_EQ(g.LineArchive.size(), 10u);
    EXPECT_EQ(g.LineArchive[9], (std::array<int, 2>{3, 0}));
    EXPECT_EQ(g.LineArchive[8], (std::array<int, 2>{0, 3}));
    EXPECT_EQ(g.LineScore[0][0], -1);
    for (int i = 1; i < 10; ++i) EXPECT_EQ(g.LineScore[0][size_t(i)], -2) << i;
    EXPECT_EQ(g.AllInnings().size(), 11u);

    g.Inning = 19;
    g.BattingSide = 1;
    g.FieldingSide = 0;
    g.LineScore[1][9] = -1;
    g.Outs = 2;
    g.StartAtBat();
    StrikeOut(f);
    EXPECT_EQ(g.Inning, 20);
    EXPECT_EQ(g.LineArchive.size(), 20u);
    EXPECT_EQ(g.LineArchive[19], (std::array<int, 2>{-2, 0}));
    EXPECT_EQ(g.AllInnings().size(), 21u);
}

struct EndCase {
    const char* name;
    Situation at;
    int winner;    // kNoWinner: the game goes on
    std::array<int, 2> lastCells; // the half-innings' cells of the inning that was played last
    quint16 report = 0;
};

TEST(BaseballInningsTest, TheNinthAndExtraInningsEndTheGame)
{
    const EndCase cases[] = {
        {"the user leads after the top of the ninth", {.userBats = false, .outs = 2, .inning = 8, .runsBat = 1, .runsField = 2}, 1, {0, -2}, 0x2007},
        {"the computer leads after the bottom of the ninth", {.outs = 2, .inning = 8, .runsBat = 1, .runsField = 3}, 0, {0, 0}, 0x1007},
        {"the computer leads after the bottom of the twelfth", {.outs = 2, .inning = 11, .runsBat = 4, .runsField = 5}, 0, {0, 0}, 0x1007},
        {"a tie after nine goes on", {.outs = 2, .inning = 8, .runsBat = 2, .runsField = 2}, kNoWinner, {0, 0}},
        {"the top of the tenth never ends it", {.userBats = false, .outs = 2, .inning = 9, .runsBat = 2, .runsField = 2}, kNoWinner, {0, -1}},
        {"the eighth never ends it", {.userBats = false, .outs = 2, .inning = 7, .runsBat = 1, .runsField = 5}, kNoWinner, {0, -1}},
    };
    for (const EndCase& k : cases) {
        SCOPED_TRACE(k.name);
        Field f;
        TBaseBallGame& g = f.g;
        f.Set(k.at);
        const int inning = g.Inning;
        StrikeOut(f);
        EXPECT_EQ(g.Winner, k.winner);
        EXPECT_EQ(g.LineScore[0][size_t(inning % 10)], k.lastCells[0]);
        EXPECT_EQ(g.LineScore[1][size_t(inning % 10)], k.lastCells[1]);
        if (k.winner == kNoWinner) {
            EXPECT_EQ(g.EndCounter, -1);
            continue;
        }
        // The user's last cell of the whole board gets its "x" only when the user's team won.
        EXPECT_EQ(g.LastCellMarked(), k.winner == 1);
        for (int i = 0; i < 50 && f.reports.empty(); ++i) g.Tick();
        EXPECT_EQ(f.reports, std::vector<quint16>{k.report});
        EXPECT_EQ(g.EndCounter, 45);
        EXPECT_EQ(f.timerStops, 1);
        for (int i = 0; i < 10; ++i) g.Tick();
        EXPECT_EQ(f.reports.size(), 1u) << "reported once";
    }
}

TEST(BaseballInningsTest, TheCelebrationCountsTheLastBatterAndShowsTheBanner)
{
    Field f;
    TBaseBallGame& g = f.g;
    f.Set({.userBats = false, .outs = 2, .inning = 8, .runsBat = 0, .runsField = 1});
    f.Hit({prStrikeout, bkGrounder});
    while (g.EndCounter < 0) g.Tick();
    EXPECT_EQ(g.Stats[0][stStrikeouts], 0) << "the last batter is counted as the celebration starts";
    g.Tick();
    EXPECT_EQ(g.Stats[0][stStrikeouts], 1);
    EXPECT_EQ(g.Stats[0][stPlateAppearances], 1);
    EXPECT_NE(std::find(f.sounds.begin(), f.sounds.end(), TBallSound::FinalCheer), f.sounds.end());
    // The winners, here the user's fielders, jump from frame to frame.
    const int frame = g.Actors[kShortstop].Picture & 1;
    g.Tick();
    EXPECT_NE(g.Actors[kShortstop].Picture & 1, frame);
    EXPECT_EQ(g.Actors[kCatcher].Action, acMoveToPos) << "the catcher comes out to the plate";
    EXPECT_TRUE(g.ShowsEndBanner());
    EXPECT_EQ(g.EndBannerText(), QStringLiteral("試 合 終 了"));
    while (g.EndCounter < 44) g.Tick();
    EXPECT_FALSE(g.ShowsEndBanner());
    // Closing the window now counts nothing again and reports the user's win.
    g.CloseEarly();
    EXPECT_EQ(g.Stats[0][stPlateAppearances], 1);
    EXPECT_EQ(f.reports, std::vector<quint16>{0x2007});
    g.Tick();
    EXPECT_EQ(f.reports.size(), 1u);
}

struct StatCase {
    const char* name;
    int result;
    int playKind;
    int marks = 1;
    bool credited = false; // the batter's hit is on the board
    int power = 5;
    std::pair<int, int> courses{5, 7}; // the user's, the computer's (the user bats)
    std::map<TStat, int> changed;      // every statistic that changes, with its new value
    int slotAtBats = 0, slotHits = 0;
    int foul = 0;
    bool robbed = false;
};

TEST(BaseballInningsTest, EachPlateAppearanceCountsIntoTheStatistics)
{
    const StatCase cases[] = {
        {"single", 6, pkHit, 1, true, 5, {5, 7},
         {{stPlateAppearances, 1}, {stAtBats, 1}, {stAverage, 999}, {stSingles, 1}, {stTimesOnBase, 1}, {stOnBaseAverage, 999}, {stCourseGuesses, 1}}, 1, 1},
        {"home run", prHomeRun, pkHit, 0, true, 5, {5, 7},
         {{stPlateAppearances, 1}, {stAtBats, 1}, {stAverage, 999}, {stHomeRuns, 1}, {stTimesOnBase, 1}, {stOnBaseAverage, 999}, {stCourseGuesses, 1}}, 1, 1},
        {"robbed at the fence", prHomeRun, pkPlayable, 1, false, 5, {5, 7}, {{stPlateAppearances, 1}, {stAtBats, 1}, {stCourseGuesses, 1}}, 1, 0, 0, true},
        {"double", prLeftCentreLeft, pkHit, 1, true, 5, {5, 7},
         {{stPlateAppearances, 1}, {stAtBats, 1}, {stAverage, 999}, {stDoubles, 1}, {stTimesOnBase, 1}, {stOnBaseAverage, 999}, {stCourseGuesses, 1}}, 1, 1},
        {"triple", prTriple, pkHit, 1, true, 5, {5, 7},
         {{stPlateAppearances, 1}, {stAtBats, 1}, {stAverage, 999}, {stTriples, 1}, {stTimesOnBase, 1}, {stOnBaseAverage, 999}, {stCourseGuesses, 1}}, 1, 1},
        {"walk-off double before the batter reached second: singles stay at 0", prLeftCentreLeft, pkHit, 1, false, 5, {5, 7},
         {{stPlateAppearances, 1}, {stAtBats, 1}, {stDoubles, 1}, {stTimesOnBase, 1}, {stOnBaseAverage, 999}, {stCourseGuesses, 1}}, 1, 1},
        {"walk", prWalk, pkWalk, 1, false, 5, {5, 7},
         {{stPlateAppearances, 1}, {stWalks, 1}, {stTimesOnBase, 1}, {stOnBaseAverage, 999}, {stCourseGuesses, 1}}},
        {"intentional walk", prWalk, pkWalk, 1, false, 5, {5, 0},
         {{stPlateAppearances, 1}, {stWalks, 1}, {stIntentionalWalks, 1}, {stTimesOnBase, 1}, {stOnBaseAverage, 999}, {stCourseGuesses, 1}}},
        {"sacrifice bunt", prBunt, pkPlayable, 1, false, 5, {0, 7}, {{stPlateAppearances, 1}, {stCourseGuesses, 1}}},
        {"bunt single: the average stays at three digits", prBunt, pkHit, 1, true, 5, {0, 7},
         {{stPlateAppearances, 1}, {stAverage, 999}, {stSingles, 1}, {stTimesOnBase, 1}, {stOnBaseAverage, 999}, {stCourseGuesses, 1}}, 0, 1},
        {"strikeout", prStrikeout, pkStrikeout, 1, false, 5, {5, 7}, {{stPlateAppearances, 1}, {stAtBats, 1}, {stStrikeouts, 1}, {stCourseGuesses, 1}}, 1},
        {"double play", 5, pkPlayable, 2, false, 5, {5, 7}, {{stPlateAppearances, 1}, {stAtBats, 1}, {stDoublePlays, 1}, {stCourseGuesses, 1}}, 1},
        {"triple play", 4, pkPlayable, 3, false, 5, {5, 7}, {{stPlateAppearances, 1}, {stAtBats, 1}, {stTriplePlays, 1}, {stCourseGuesses, 1}}, 1},
        {"fielder's choice: not on base", 5, pkHit, 2, false, 5, {5, 7}, {{stPlateAppearances, 1}, {stAtBats, 1}, {stDoublePlays, 1}, {stCourseGuesses, 1}}, 1},
        {"foul: a guess only, the column hit", prGroundLeftLine, pkFoul, 0, false, 5, {5, 8}, {{stCourseGuesses, 1}, {stCourseHits, 1}}, 0, 0, 3},
        {"equal row: no hit for a weak batter", 6, pkPlayable, 1, false, 7, {4, 6}, {{stPlateAppearances, 1}, {stAtBats, 1}, {stCourseGuesses, 1}}, 1},
        {"equal row: a course hit for a strong batter", 6, pkPlayable, 1, false, 8, {4, 6},
         {{stPlateAppearances, 1}, {stAtBats, 1}, {stCourseGuesses, 1}, {stCourseHits, 1}, {stChancePlateAppearances, 1}, {stChanceAtBats, 1}}, 1},
        {"chance hit", 7, pkHit, 1, true, 9, {5, 7},
         {{stPlateAppearances, 1}, {stAtBats, 1}, {stAverage, 999}, {stSingles, 1}, {stTimesOnBase, 1}, {stOnBaseAverage, 999}, {stCourseGuesses, 1},
          {stChancePlateAppearances, 1}, {stChanceAtBats, 1}, {stChanceAverage, 999}, {stChanceHits, 1}}, 1, 1},
    };
    for (const StatCase& k : cases) {
        SCOPED_TRACE(k.name);
        Field f;
        TBaseBallGame& g = f.g;
        f.Set({});
        g.Ball.PlayResult = k.result;
        g.Play.PlayKind = k.playKind;
        g.Play.FoulKind = k.foul;
        g.Play.FenceCatch.Robbed = k.robbed;
        g.Play.OutMarks.assign(size_t(k.marks), TOutMark{});
        g.Power = k.power;
        g.UserCourse = k.courses.first;
        g.ComCourse = k.courses.second;
        g.PanelStage = 3;
        if (k.credited) {
            ++g.Hits[1];
            if (k.power >= 8) ++g.Stats[1][stChanceHits];
        }
        const auto before = g.Stats[1];
        g.UpdateBattingStats();
        g.UpdateBattingStats(); // once per plate appearance
        for (int s = 0; s < kStatCount; ++s) {
            const auto it = k.changed.find(TStat(s));
            EXPECT_EQ(g.Stats[1][size_t(s)], it != k.changed.end() ? it->second : before[size_t(s)]) << "statistic " << s;
        }
        EXPECT_EQ(g.Stats[0], (std::array<int, kStatCount>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
        EXPECT_EQ(g.SlotAtBats[1][0], k.slotAtBats);
        EXPECT_EQ(g.SlotHits[1][0], k.slotHits);
    }
}

TEST(BaseballInningsTest, TheOnBaseAverageFollowsEveryPlateAppearance)
{
    Field f;
    f.Set({});
    f.Hit({6, bkGrounder}, {{4, 1}}); // a single, nobody dives
    f.PlayOut();
    f.Hit({prStrikeout, bkGrounder});
    f.PlayOut();
    EXPECT_EQ(StatisticsRows(f.g, 1)[3], QStringLiteral("出塁率   .000 .500"));
}

TEST(BaseballInningsTest, TheThirdOutCountsRunnersLeftAndTheHalfInning)
{
    Field f;
    TBaseBallGame& g = f.g;
    f.Set({.outs = 2, .bases = 5});
    g.HitsThisHalf = 2;
    f.Hit({prStrikeout, bkGrounder});
    g.Tick(); // the plan: the runners stay where they are
    g.Outs = 3;
    g.UpdateBattingStats();
    EXPECT_EQ(g.Stats[1][stLeftOnBase], 2);
    EXPECT_EQ(g.Stats[1][stMultiHitInnings], 1);
    EXPECT_EQ(g.Stats[1][stScoredEveryInning], 0) << "a scoreless half";
    EXPECT_EQ(g.Stats[0][stScoredEveryInning], 1);
}

TEST(BaseballInningsTest, PitchingAchievements)
{
    struct Case {
        const char* name;
        int item, plateAppearances, runs, hits, errorsAgainst, walks;
        int expected;
    };
    const Case cases[] = {
        {"perfect game", 0, 27, 0, 0, 0, 0, 3},
        {"no-hitter with a walk", 0, 28, 0, 0, 0, 1, 2},
        {"no-hitter with an error", 0, 28, 0, 0, 1, 0, 2},
        {"shutout", 0, 30, 0, 3, 0, 0, 1},
        {"a run scored", 0, 30, 1, 0, 0, 0, 0},
        {"fewer than 27 batters", 0, 26, 0, 0, 0, 0, 0},
        {"begun in the ninth", 5, 27, 0, 0, 0, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Field f;
        TBaseBallGame& g = f.g;
        g.InningItem = k.item;
        g.Stats[0][stPlateAppearances] = k.plateAppearances;
        g.Runs[0] = k.runs;
        g.Hits[0] = k.hits;
        g.Errors[1] = k.errorsAgainst;
        g.Stats[0][stWalks] = k.walks;
        g.Runs[1] = 1;
        EXPECT_EQ(g.PitchingAchievement(0), k.expected);
        EXPECT_EQ(g.PitchingAchievement(1), 0);
    }
    Field f;
    f.g.InningItem = 0;
    f.g.Stats[0][stPlateAppearances] = 27;
    f.g.Runs[1] = 1;
    EXPECT_EQ(f.g.EndBannerText(), QStringLiteral("完全試合達成"));
    f.g.Runs = {1, 0};
    f.g.Stats[0][stPlateAppearances] = 30;
    f.g.Hits[1] = 2;
    EXPECT_EQ(f.g.EndBannerText(), QStringLiteral("完封試合"));
}

TEST(BaseballInningsTest, AveragesAndThePanelRows)
{
    EXPECT_EQ(ThousandAverage(1, 3), 333);
    EXPECT_EQ(ThousandAverage(2, 3), 667);
    EXPECT_EQ(ThousandAverage(1, 8), 125);
    EXPECT_EQ(ThousandAverage(5, 16), 312) << "a half goes to the even neighbour";
    EXPECT_EQ(ThousandAverage(7, 16), 438);
    EXPECT_EQ(ThousandAverage(3, 0), 999);
    EXPECT_EQ(ThousandAverage(0, 0), 0);
    Field f;
    auto& a = f.g.Stats[0];
    auto& b = f.g.Stats[1];
    a[stAtBats] = 12, b[stAtBats] = 9;
    a[stAverage] = 250, b[stAverage] = 999;
    a[stWalks] = 3, a[stIntentionalWalks] = 1, b[stWalks] = 10, b[stIntentionalWalks] = 0;
    a[stCourseHits] = 1, a[stCourseGuesses] = 3, b[stCourseHits] = 5, b[stCourseGuesses] = 8;
    a[stOnBaseAverage] = 45;
    const std::vector<QString> left = StatisticsRows(f.g, 0), right = StatisticsRows(f.g, 1);
    ASSERT_EQ(left.size(), 7u);
    ASSERT_EQ(right.size(), 8u);
    EXPECT_EQ(left[0], QStringLiteral("打数    12   9   "));
    EXPECT_EQ(left[1], QStringLiteral("打率   .250 .999"));
    EXPECT_EQ(left[6], QStringLiteral("ﾌｫｱﾎﾞｰﾙ 3(1) 10(0)"));
    EXPECT_EQ(right[3], QStringLiteral("出塁率   .045 .000"));
    EXPECT_EQ(right[7], QStringLiteral("ｺｰｽ的中   33%  62% ")) << "5 of 8 is 62.5: the half goes to the even neighbour";
}

TEST(BaseballInningsTest, ClosingEarlyCountsThePlateAppearanceInProgressOnce)
{
    {
        SCOPED_TRACE("during the opening");
        Field f;
        f.g.Opening = true;
        f.g.CloseEarly();
        f.g.CloseEarly();
        EXPECT_EQ(f.g.Stats[0][stCourseGuesses] + f.g.Stats[1][stCourseGuesses], 0) << "no phantom plate appearance";
        EXPECT_EQ(f.reports, std::vector<quint16>{0x1007});
    }
    {
        SCOPED_TRACE("before the pitch");
        Field f;
        f.Set({});
        f.g.CloseEarly();
        EXPECT_EQ(f.g.Stats[1][stCourseGuesses], 0);
    }
    {
        SCOPED_TRACE("after contact");
        Field f;
        f.Set({});
        f.Hit({5, bkGrounder});
        f.g.Tick();
        f.g.CloseEarly();
        f.g.CloseEarly();
        EXPECT_EQ(f.g.Stats[1][stPlateAppearances], 1);
        EXPECT_EQ(f.g.Stats[1][stCourseGuesses], 1);
        EXPECT_EQ(f.reports, std::vector<quint16>{0x1007});
    }
    {
        SCOPED_TRACE("long game: the whole board shows");
        Field f;
        f.Set({.inning = 12});
        f.g.CloseEarly();
        EXPECT_TRUE(f.g.FullLineScore);
    }
}

TEST(BaseballInningsTest, TheResultWindowsLinkShowsTheRecord)
{
    Field f;
    int draws = 0;
    f.g.Services.DrawScene = [&draws] { ++draws; };
    f.Set({.inning = 9});
    draws = 0;
    f.g.ShowGameRecord();
    EXPECT_TRUE(f.g.StatisticsFlag);
    EXPECT_FALSE(f.g.FullLineScore) << "nine innings fit the board";
    EXPECT_EQ(draws, 1);
    f.g.Inning = 10;
    f.g.ShowGameRecord();
    EXPECT_TRUE(f.g.FullLineScore);
}

} // namespace

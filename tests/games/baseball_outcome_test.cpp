// The baseball duel's decisions: the outcome at contact and the computer's choices, first with a
// scripted queue of random values (the result and every draw, with its range, in order), then with
// the real generators.
#include "BaseballGame.h"
#include "GameRandom.h"
#include <deque>
#include <gtest/gtest.h>

using namespace bb;

namespace {

// A scripted random service: each draw must ask for the expected range and gets the scripted value.
struct Script {
    std::deque<std::pair<int, int>> draws; // (n, value)
    int used = 0;
    explicit Script(const std::vector<std::pair<int, int>>& d = {}) : draws(d.begin(), d.end()) {}
    int operator()(int n)
    {
        ++used;
        if (draws.empty()) {
            ADD_FAILURE() << "unscripted draw " << used << " of RandomInt(" << n << ")";
            return 0;
        }
        const auto [expectedN, value] = draws.front();
        draws.pop_front();
        EXPECT_EQ(n, expectedN) << "draw " << used;
        return value;
    }
};

struct Situation {
    bool userBats = true;
    int user = 5, com = 5; // committed courses
    int power = 5;
    int runsBat = 0, runsField = 0;
    int outs = 0;
    int bases = 0; // bit 1 first, bit 2 second, bit 4 third
    int inning = 3;
    bool ballFlag = false;
};

void Apply(TBaseBallGame& g, const Situation& s)
{
    g.BattingSide = s.userBats ? 1 : 0;
    g.FieldingSide = 1 - g.BattingSide;
    g.UserCourse = s.user;
    g.ComCourse = s.com;
    g.Power = s.power;
    g.Runs[size_t(g.BattingSide)] = s.runsBat;
    g.Runs[size_t(g.FieldingSide)] = s.runsField;
    g.Outs = s.outs;
    for (int b = 1; b <= 3; ++b) g.BaseFlags[size_t(b)] = (s.bases >> (b - 1)) & 1;
    g.Inning = s.inning;
    g.Play.BallFlag = s.ballFlag;
}

struct OutcomeCase {
    const char* name;
    Situation at;
    std::vector<std::pair<int, int>> draws;
    int result, kind, foul = 0, bunt = 0;
    QPoint landing{}; // of a home run, or the pole spot of a pole foul
    int fielder = -1; // of a fence catch
    bool robbed = false;
};

const QPoint kHold = TPictureOffsets{}.Glove[1] + QPoint(8, -21); // the ball in a leaping glove

TEST(BaseballOutcomeTest, ScriptedOutcomesUseExactlyTheirDraws)
{
    const OutcomeCase cases[] = {
        {"walk beats bunt", {.user = 0, .com = 0, .ballFlag = true}, {}, prWalk, bkGrounder},
        {"the user's intentional walk", {.userBats = false, .user = 0, .com = 3, .ballFlag = true}, {}, prWalk, bkGrounder},
        {"bunt, nobody on third", {.user = 0, .com = 5, .bases = 1}, {}, prBunt, bkGrounder},
        {"bunt kind 0", {.user = 0, .bases = 4}, {{10, 1}}, prBunt, bkGrounder, 0, 0},
        {"bunt kind 1", {.user = 0, .bases = 4}, {{10, 2}}, prBunt, bkGrounder, 0, 1},
        {"bunt kind 2", {.user = 0, .bases = 4}, {{10, 5}}, prBunt, bkGrounder, 0, 2},
        {"bunt with two outs", {.user = 0, .outs = 2, .bases = 4}, {{2, 0}}, prBunt, bkGrounder, 0, 1},
        {"bunt tied in the ninth", {.user = 0, .bases = 5, .inning = 8}, {{2, 1}}, prBunt, bkGrounder, 0, 2},
        {"computer bunts tied in the ninth", {.userBats = false, .user = 3, .com = 0, .bases = 4, .inning = 8}, {{10, 0}}, prBunt, bkGrounder, 0, 0},
        {"exact match, power 0", {.power = 0}, {{10, 9}, {10, 1}, {5, 2}, {7, 3}, {20, 5}, {80, 50}}, prHomeRun, bkFly, 0, 0, {290, 85}},
        {"trailing: BZ and K", {.power = 0, .runsField = 3}, {{3, 2}, {8, 7}, {13, 5}, {5, 4}, {7, 0}, {20, 10}, {40, 30}}, prHomeRun, bkFly, 0, 0, {35, 190}},
        {"leading by 8: K is 2", {.runsBat = 8}, {{10, 0}, {2, 1}, {5, 3}, {7, 6}, {20, 19}, {40, 0}}, prHomeRun, bkFly, 0, 0, {560, 181}},
        {"home run at fence point 1", {}, {{10, 0}, {10, 1}, {5, 2}, {7, 1}, {10, 3}, {10, 7}}, prHomeRun, bkFly, 0, 0, {67, 162}},
        {"home run at fence point 5", {}, {{10, 0}, {10, 1}, {5, 2}, {7, 5}, {10, 3}, {10, 7}}, prHomeRun, bkFly, 0, 0, {533, 162}},
        {"right pole foul", {}, {{10, 0}, {10, 0}, {2, 1}, {30, 12}}, prHomeRun, bkFly, 2, 0, {580, 188}},
        {"left pole foul", {}, {{10, 0}, {10, 0}, {2, 0}, {30, 7}}, prHomeRun, bkFly, 1, 0, {25, 193}},
        {"fence catch, robbed", {}, {{10, 0}, {10, 3}, {5, 1}, {7, 4}, {3, 0}}, prHomeRun, bkFly, 0, 0, kFenceCatchSpots[4] + kHold, kRightFielder, true},
        {"fence catch missed", {}, {{10, 0}, {10, 3}, {5, 0}, {7, 2}, {3, 1}}, prHomeRun, bkFly, 0, 0, kFenceCatchSpots[2] + kHold, kCentreFielder},
        {"column, P equal to power", {.user = 1, .com = 4}, {{10, 0}, {10, 5}, {10, 1}, {4, 0}, {8, 2}, {3, 1}}, prFlyLeftLine, bkFly},
        {"column, power 10: no R(4), no foul draw for a triple", {.user = 1, .com = 4, .power = 10}, {{10, 0}, {10, 9}, {10, 1}, {8, 5}}, prTriple, bkFly},
        {"column hit down the right line turns foul", {.user = 1, .com = 4, .power = 9}, {{10, 0}, {10, 9}, {10, 1}, {8, 4}, {3, 0}}, prFlyRightLine, bkFly, 6},
        {"good contact fouled by K", {.user = 1, .com = 4}, {{10, 0}, {10, 0}, {10, 0}, {2, 1}}, prGroundRightLine, bkGrounder, 4},
        {"row at power 7 is weak", {.user = 4, .com = 6, .power = 7}, {{10, 0}, {10, 3}, {5, 3}, {11, 4}, {5, 4}}, 4, bkFly},
        {"row at power 8 is good", {.user = 4, .com = 6, .power = 8}, {{10, 0}, {10, 8}, {10, 1}, {4, 1}, {3, 1}, {5, 0}}, 7, bkLiner},
        {"column, P above power: weak single", {.user = 1, .com = 7, .power = 3}, {{10, 0}, {10, 5}, {3, 2}}, prRightFielder, bkFly},
        {"weak contact redraws a bunt from the top", {.user = 1, .com = 5}, {{10, 0}, {10, 3}, {5, 4}, {11, 9}, {10, 5}, {5, 1}, {6, 3}, {5, 0}}, 3, bkGrounder},
        {"strikeout", {.user = 1, .com = 5}, {{10, 0}, {10, 0}}, prStrikeout, bkGrounder},
        {"catcher foul", {.user = 1, .com = 5}, {{10, 0}, {10, 1}, {5, 0}, {6, 1}, {5, 2}, {3, 0}}, prCatcher, bkGrounder, 7},
        {"catcher grounder stays fair", {.user = 1, .com = 5}, {{10, 0}, {10, 1}, {5, 0}, {6, 1}, {5, 2}, {3, 2}}, prCatcher, bkGrounder},
    };
    for (const OutcomeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TBaseBallGame g;
        Script script(c.draws);
        g.Services.Random = std::ref(script);
        Apply(g, c.at);
        g.DecideOutcome();
        EXPECT_EQ(g.Ball.PlayResult, c.result);
        EXPECT_EQ(g.Ball.Kind, c.kind);
        EXPECT_EQ(g.Play.FoulKind, c.foul);
        EXPECT_EQ(g.Play.BuntKind, c.bunt);
        EXPECT_FALSE(g.Play.BallFlag);
        EXPECT_EQ(script.used, int(c.draws.size()));
        EXPECT_TRUE(script.draws.empty());
        if (c.foul == 1 || c.foul == 2) {
            EXPECT_EQ(g.FoulSpots[size_t(c.foul)], c.landing);
        } else if (c.result == prHomeRun) {
            EXPECT_EQ(g.Play.Landing, c.landing);
        }
        EXPECT_EQ(g.Play.FenceCatch.Fielder, c.fielder);
        EXPECT_EQ(g.Play.FenceCatch.Robbed, c.robbed);
    }
}

TEST(BaseballOutcomeTest, PlayKindAndBasesOfSettledOutcomes)
{
    struct Case {
        int result, kind, foul, bunt;
        bool robbed;
        int playKind, bases;
    };
    const Case cases[] = {
        {prLeftFielder, bkGrounder, 0, 0, false, pkHit, 1}, {prLeftFielder, bkFly, 0, 0, false, pkPlayable, 1},
        {prBunt, bkGrounder, 0, 1, false, pkHit, 1},        {prBunt, bkGrounder, 0, 2, false, pkPlayable, 1},
        {prStrikeout, bkGrounder, 0, 0, false, pkStrikeout, 0}, {prFlyLeftLine, bkFly, 5, 0, false, pkFoul, 1},
        {prTriple, bkFly, 0, 0, false, pkHit, 3},           {prHomeRun, bkFly, 0, 0, true, pkPlayable, 1},
    };
    for (const Case& c : cases) {
        TBallRecord ball;
        ball.PlayResult = c.result;
        ball.Kind = c.kind;
        TPlayState play;
        play.FoulKind = c.foul;
        play.BuntKind = c.bunt;
        play.FenceCatch.Robbed = c.robbed;
        EXPECT_EQ(PlayKindOf(ball, play), c.playKind) << c.result;
        EXPECT_EQ(BasesToAdvanceOf(ball, play), c.bases) << c.result;
    }
}

TEST(BaseballChoiceTest, ScriptedComputerChoices)
{
    struct Case {
        const char* name;
        int side; // the computer's role: 0 bats, 1 fields
        Situation at;
        int nextPower;
        std::vector<std::pair<int, int>> draws, system;
        int course;
    };
    const Case cases[] = {
        {"two outs swings", 0, {.outs = 2, .bases = 7, .inning = 8}, 9, {}, {{9, 4}}, 5},
        {"weak before strong late: sacrifice with a runner on second", 0, {.power = 3, .bases = 2, .inning = 8}, 9, {{10, 5}, {14, 3}}, {}, 0},
        {"runner on first: the second draw decides", 0, {.power = 3, .bases = 1, .inning = 8}, 9, {{10, 5}, {8, 2}}, {{10, 7}}, 7},
        {"ball chance draw fails", 0, {.power = 3, .bases = 2, .inning = 8}, 9, {{10, 6}}, {{10, 4}}, 4},
        {"runner on third with one out", 0, {.power = 2, .outs = 1, .bases = 5, .inning = 9}, 8, {{10, 0}, {12, 2}}, {}, 0},
        {"walk with second and third, no outs", 1, {.power = 9, .bases = 6}, 4, {{25, 9}}, {}, 0},
        {"no walk when the next batter is stronger", 1, {.power = 9, .outs = 1, .bases = 6}, 10, {{20, 0}}, {{9, 2}}, 3},
        {"walk with third only, one out", 1, {.power = 6, .outs = 1, .bases = 4}, 2, {{50, 6}}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBaseBallGame g;
        g.BallChance = 2;
        Script script(c.draws);
        Script system(c.system);
        g.Services.Random = std::ref(script);
        g.Services.RuntimeRandom = std::ref(system);
        Situation s = c.at;
        s.userBats = c.side == 1;
        Apply(g, s);
        g.SlotPower[size_t(g.BattingSide)][1] = c.nextPower;
        EXPECT_EQ(g.ChooseCourse(0), c.course);
        EXPECT_TRUE(script.draws.empty());
        EXPECT_TRUE(system.draws.empty());
    }
}

TEST(BaseballChoiceTest, TagUpDecisionAndItsSettleTicks)
{
    struct Case {
        Situation at;
        std::vector<std::pair<int, int>> draws;
        bool yes;
    };
    const Case cases[] = {
        {{.outs = 2, .bases = 4}, {}, false},
        {{.bases = 3}, {}, false},
        {{.bases = 4}, {{1, 0}}, true},                           // third only: the score draw alone
        {{.bases = 6}, {{3, 1}}, false},                          // second and third, no outs
        {{.runsBat = 2, .outs = 1, .bases = 7}, {{4, 0}, {3, 0}}, true},
        {{.bases = 5}, {{2, 0}, {1, 0}}, true},                   // first and third
        {{.runsField = 1, .outs = 1, .bases = 5}, {{3, 0}, {2, 1}}, false},
    };
    for (const Case& c : cases) {
        TBaseBallGame g;
        Script script(c.draws);
        g.Services.Random = std::ref(script);
        Apply(g, c.at);
        g.TagUp[1] = false;
        EXPECT_EQ(g.ChooseTagUp(1), c.yes);
        EXPECT_EQ(g.Settle, c.yes ? 0 : 3);
        EXPECT_TRUE(script.draws.empty());
    }
}

TEST(BaseballChoiceTest, ComputerNeverBuntsOrWalksWhereItMustNot)
{
    // The random service as the program runs it: blocks of 100 draws from each generator in turn.
    RandSeed = 20240601;
    MTSeed(4357);
    int count = 0;
    TBaseBallGame g;
    g.Services.Random = [&count](int n) { return (count++ / 100) % 2 == 0 ? LcgRandom(n) : MTRandomInt(n); };
    g.Services.RuntimeRandom = [](int n) { return LcgRandom(n); };
    int zeros[2] = {0, 0};
    for (int i = 0; i < 40000; ++i) {
        const Situation s{.userBats = LcgRandom(2) == 0, .power = LcgRandom(11), .runsBat = LcgRandom(4), .runsField = LcgRandom(4),
                          .outs = LcgRandom(3), .bases = LcgRandom(8), .inning = LcgRandom(12)};
        Apply(g, s);
        g.StartFlag = LcgRandom(2);
        g.BallChance = LcgRandom(3) + 2;
        g.SlotPower[size_t(g.BattingSide)][1] = LcgRandom(11);
        const int course = g.ChooseCourse(0);
        ASSERT_TRUE(course >= 0 && course <= 9);
        if (course != 0) continue;
        ++zeros[s.userBats];
        if (!s.userBats) EXPECT_TRUE(s.outs < 2 && s.bases != 0); // a bunt
        else EXPECT_TRUE(!(s.bases & 1) && s.bases != 0);        // an intentional walk
    }
    EXPECT_GT(zeros[0], 0);
    EXPECT_GT(zeros[1], 0);
}

} // namespace

// The batted ball played out, without a window: what contact decides (speed, target, fielder, kind
// of play, bases), the throw chains of infield grounders with their late relays, and whole plays
// acted out tick by tick from scripted situations.
#include "baseball_field_harness.h"
#include "Statistics.h"

using namespace bbtest;

namespace {

const TSpotTable& S = DefaultSpots();

struct ContactCase {
    const char* name;
    Situation at;
    Contact c;
    std::vector<std::pair<int, int>> draws; // exactly the draws contact makes
    int speed;
    QPoint target;
    int fielder, playKind, bases;
    int result = -1; // after a diving stop
    std::array<int, 2> tagUp{};
    bool error = false;
};

TEST(BaseballPlayTest, ContactDecidesSpeedTargetFielderKindAndBases)
{
    const QPoint centreShifted = S[spCentreFielder] - QPoint(25, 0);
    const int err = 2 + 12; // the error draw's range with ball chance 2
    const ContactCase cases[] = {
        {"grounder to short", {}, {5, bkGrounder}, {{err, 1}}, 24, S[5], 5, pkPlayable, 1},
        {"error by the shortstop", {}, {5, bkGrounder}, {{err, 0}}, 24, S[5], 5, pkHit, 1, -1, {}, true},
        {"fly to left", {}, {6, bkFly}, {{err, 1}}, 28, S[6], 6, pkPlayable, 1},
        {"liner single to right", {}, {8, bkLiner}, {}, 28, S[8], 8, pkHit, 1},
        {"ground single to centre", {}, {7, bkGrounder}, {{4, 1}}, 24, centreShifted, 7, pkHit, 1},
        {"the shortstop dives", {}, {7, bkGrounder}, {{4, 0}}, 24, centreShifted, 5, pkPlayable, 1, 5},
        {"the first baseman dives", {}, {8, bkGrounder}, {{4, 0}}, 24, S[8], 2, pkPlayable, 1, 2},
        {"pop to the catcher", {}, {1, bkFly}, {}, 19, S[spCoverHome] + QPoint(0, -20), 1, pkPlayable, 1},
        {"pop fly first side", {}, {2, bkFly}, {{err, 1}}, 24, S[spPopFirst], 2, pkPlayable, 1},
        {"grounder to third", {}, {4, bkGrounder}, {{err, 1}}, 24, S[4], 4, pkPlayable, 1},
        {"bunt", {}, {prBunt, bkGrounder}, {}, 7, S[spPitcher], 0, pkPlayable, 1},
        {"bunt kind 1", {.bases = 4}, {prBunt, bkGrounder, 0, 1}, {}, 7, S[spPitcher], 0, pkHit, 1},
        {"strikeout", {}, {prStrikeout, bkGrounder}, {}, 24, S[spCatcher], 1, pkStrikeout, 0},
        {"walk", {}, {prWalk, bkGrounder}, {}, 24, S[spCatcher], 1, pkWalk, 1},
        {"double down the left line", {}, {prGroundLeftLine, bkGrounder}, {}, 28, S[spRunThird], 6, pkHit, 2},
        {"rolls foul past first", {}, {prGroundRightLine, bkGrounder, 4}, {}, 28, kFoulSpots[4], 8, pkFoul, 1},
        {"lands foul down the left line", {}, {prFlyLeftLine, bkFly, 5}, {}, 29, kFoulSpots[5], 6, pkFoul, 1},
        {"double to right-centre", {}, {prRightCentreCentre, bkFly}, {}, 29, S[spHit + 5], 7, pkHit, 2},
        {"triple", {}, {prTriple, bkFly}, {}, 29, S[spHit + 3], 8, pkHit, 3},
        {"home run to left", {}, {prHomeRun, bkFly, 0, 0, -1, false, 1}, {}, 32, kFencePoints[1], 6, pkHit, 4},
        {"home run to right field's corner", {}, {prHomeRun, bkFly, 0, 0, -1, false, 6}, {}, 32, kFencePoints[6], -1, pkHit, 4},
        {"hooks foul at the pole", {}, {prHomeRun, bkFly, 1}, {}, 32, kFoulSpots[1], -1, pkFoul, 1},
        {"robbed at the fence", {}, {prHomeRun, bkFly, 0, 0, 2, true}, {}, 32, kFenceCatchSpots[2] + QPoint(30, -55), 7, pkPlayable, 1},
        {"over the leaping glove", {}, {prHomeRun, bkFly, 0, 0, 4, false}, {}, 32, kFenceCatchSpots[4] + QPoint(30, -55), 8, pkHit, 4},
        // Tag-up plans, only with the batting side's flag and fewer than two outs.
        {"sacrifice fly, thrown out", {.bases = 4, .tagUp = true}, {6, bkFly}, {{2, 0}, {err, 1}}, 28, S[6], 6, pkPlayable, 1, -1, {3, 0}},
        {"sacrifice fly, scores", {.bases = 6, .tagUp = true}, {7, bkFly}, {{2, 1}, {err, 1}}, 28, S[7], 7, pkPlayable, 1, -1, {2, 2}},
        {"no tagging with two outs", {.outs = 2, .bases = 4, .tagUp = true}, {6, bkFly}, {{err, 1}}, 28, S[6], 6, pkPlayable, 1},
        {"liner: the runner waits", {.bases = 4, .tagUp = true}, {8, bkLiner}, {}, 28, S[8], 8, pkHit, 1, -1, {1, 0}},
        {"fence catch, robbed", {.bases = 2, .tagUp = true}, {prHomeRun, bkFly, 0, 0, 5, true}, {}, 32, kFenceCatchSpots[5] + QPoint(30, -55), 8, pkPlayable, 1, -1, {0, 2}},
    };
    for (const ContactCase& k : cases) {
        SCOPED_TRACE(k.name);
        Field f;
        f.Set(k.at);
        f.Hit(k.c, k.draws);
        const TBallRecord& b = f.g.Ball;
        const TPlayState& p = f.g.Play;
        EXPECT_TRUE(f.script.empty()) << "a draw was not made";
        EXPECT_EQ(f.drawn.size(), k.draws.size());
        EXPECT_EQ(b.Speed, k.speed);
        EXPECT_EQ(b.Target, k.target);
        EXPECT_EQ(b.Fielder, k.fielder);
        EXPECT_EQ(p.PlayKind, k.playKind);
        EXPECT_EQ(p.BasesToAdvance, k.bases);
        EXPECT_EQ(b.PlayResult, k.result >= 0 ? k.result : k.c.result);
        EXPECT_EQ(p.DivingInfielder, k.result >= 0 ? k.result : -1);
        EXPECT_EQ(p.TagUpPlan, k.tagUp);
        EXPECT_EQ(p.ErrorFlag, k.error);
        EXPECT_EQ(p.HitFlag, !k.error && k.c.foul == 0);
        // Every fielder's intercept point lies on the ball's way, 20 px past his own distance.
        const TBallActor& ss = f.g.Actors[kShortstop];
        EXPECT_LE(std::abs(PointDistance(b.Launch, ss.Intercept) - PointDistance(b.Launch, ss.Pos) - 20), 1);
    }
}

TEST(BaseballPlayTest, UnderAFlyEachFielderStandsBesideTheLandingPointHisOwnWay)
{
    struct Case {
        int result, fielder;
        int landingRight; // how far right of where he stands the ball comes down
    };
    const Case cases[] = {
        {5, kShortstop, 30}, {6, kLeftFielder, 30}, {prLeftCentreLeft, kLeftFielder, 30}, {7, kCentreFielder, -10},
        {prLeftCentreCentre, kCentreFielder, -10}, {prRightCentreCentre, kCentreFielder, 0}, {8, kRightFielder, 0}, {3, kSecondBaseman, 0},
    };
    int rise = 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.result);
        Field f;
        f.Set({});
        f.Hit({k.result, bkFly});
        f.g.Tick(); // the plan
        f.g.Tick(); // the first step of the chase
        const TBallActor& a = f.g.Actors[size_t(k.fielder)];
        const QPoint landing = f.g.Ball.Target - a.Target;
        EXPECT_EQ(landing.x(), k.landingRight);
        if (rise == 0) rise = landing.y();
        EXPECT_EQ(landing.y(), rise) << "the same height above everyone's feet";
        if (k.result > prRightFielder) continue; // a hit flies on to the fence
        // The fly never stops in the air: it carries on past its landing point at its speed and is
        // taken where its point enters the fly-catch box around him.
        QPoint last;
        for (int t = 0; t < 60 && f.g.Ball.Kind == bkFly; ++t) {
            last = f.g.Ball.Pos;
            f.g.Tick();
            if (f.g.Ball.Kind == bkFly) {
                ASSERT_NE(f.g.Ball.Pos, last) << "tick " << t;
            }
        }
        ASSERT_EQ(f.g.Ball.Kind, k.fielder);
        EXPECT_TRUE(f.g.Equipment.FlyCatchBox.Moved(a.Pos).Contains(last)) << last.x() << "," << last.y() << " from " << a.Pos.x() << "," << a.Pos.y();
        if (k.landingRight == 30) {
            EXPECT_GT(PointDistance(f.g.Ball.Launch, last), PointDistance(f.g.Ball.Launch, f.g.Ball.Target)) << "taken past the landing point";
        }
    }
}

struct ChainCase {
    const char* name;
    Situation at;
    int fielder; // the result: a grounder to this infielder
    std::vector<std::pair<int, int>> draws; // after the error draw
    std::array<int, 3> chain;
    int secondCover = 0;
    bool onTime = true;
    int ballSpeed = 24;
    bool runsHeld = false, runsCount = true, fastRun = true, triplePlay = false;
};

TEST(BaseballPlayTest, ThrowChainsOfInfieldGrounders)
{
    const ChainCase cases[] = {
        {"nobody on first", {.bases = 6}, 5, {}, {2, 0, 0}},
        {"first and third late in the game", {.bases = 5, .inning = 8}, 5, {}, {2, 0, 0}},
        {"double play from short", {.bases = 1}, 5, {{100, 99}}, {3, 2, 0}, 0, true, 24, false, true, false},
        {"the relay comes late", {.bases = 1}, 5, {{100, 49}}, {3, 2, 0}, 0, false, 22, false, true, false},
        {"one out: the run waits for the relay", {.outs = 1, .bases = 5}, 5, {{100, 99}}, {3, 2, 0}, 4, true, 24, true, true, false},
        {"from the catcher only to second", {.bases = 1}, 1, {}, {3, 0, 0}},
        {"from the second baseman to short", {.bases = 1}, 3, {{100, 0}}, {5, 2, 0}, 0, false, 24},
        {"triple play attempt", {.bases = 3}, 4, {{100, 99}}, {4, 3, 2}, 0, true, 26, true, true, false, true},
        {"third baseman with one out", {.outs = 1, .bases = 3}, 4, {{100, 0}}, {4, 2, 0}, 3, false, 19, true},
        {"catcher with two on", {.bases = 3}, 1, {}, {4, 0, 0}, 2},
        {"bases loaded, close game: home first", {.bases = 7}, 3, {}, {1, 0, 0}, 2},
        {"bases loaded, well behind: the double play", {.outs = 1, .bases = 7, .runsField = 3}, 3, {{3, 2}, {100, 99}}, {5, 2, 0}, 0, true, 24, true},
        {"bases loaded, pitcher throws home", {.outs = 1, .bases = 7, .inning = 8}, 0, {{100, 99}}, {1, 2, 0}, 3, true, 24, false, false},
        {"bases loaded, catcher steps on home", {.bases = 7}, 1, {}, {1, 2, 0}, 3},
        {"two outs: force at third", {.outs = 2, .bases = 3}, 4, {{2, 0}}, {4, 0, 0}, 0, true, 24, false, false},
        {"two outs: to first", {.outs = 2, .bases = 3}, 4, {{2, 1}}, {2, 0, 0}, 0, true, 24, false, false},
        {"two outs: catcher on home", {.outs = 2, .bases = 7}, 1, {}, {1, 0, 0}, 0, true, 24, false, false},
    };
    for (const ChainCase& k : cases) {
        SCOPED_TRACE(k.name);
        Field f;
        f.Set(k.at);
        std::vector<std::pair<int, int>> draws;
        if (k.fielder != kCatcher) draws.push_back({14, 1}); // no error
        draws.insert(draws.end(), k.draws.begin(), k.draws.end());
        f.Hit({k.fielder, bkGrounder}, draws);
        f.g.Tick(); // the batter's step 6: the fielding plan
        const TPlayState& p = f.g.Play;
        ASSERT_TRUE(p.PlanMade);
        EXPECT_TRUE(f.script.empty()) << "a draw was not made";
        EXPECT_EQ(p.Chain, k.chain);
        EXPECT_EQ(p.SecondCover, k.secondCover);
        EXPECT_EQ(p.OnTime, k.onTime);
        EXPECT_EQ(f.g.Ball.Speed + 1, k.ballSpeed) << "the grounder slowed by one in its first tick";
        EXPECT_EQ(p.RunsHeld, k.runsHeld);
        EXPECT_EQ(p.RunsCount, k.runsCount);
        EXPECT_EQ(p.FastRun, k.fastRun);
        EXPECT_EQ(p.TriplePlay, k.triplePlay);
        // The first receiver and the second cover head for their bases; a forced runner's base is not his.
        for (int n : {k.chain[0], k.secondCover}) {
            if (n != 0 && n != k.fielder) {
                EXPECT_EQ(f.g.Actors[size_t(n)].Role, CoverSpotOf(n)) << n;
            }
        }
        if (k.chain[0] == kFirstBaseman || k.chain[1] == kFirstBaseman || k.chain[2] == kFirstBaseman) {
            EXPECT_FALSE(p.BaseFlags[1]);
        }
    }
}

TEST(BaseballPlayTest, AGameAboutToBeWonStopsTheThrows)
{
    Field f;
    f.Set({.outs = 1, .bases = 4, .inning = 8, .runsBat = 2, .runsField = 2});
    f.Hit({7, bkGrounder}, {{4, 1}}); // a clean single, no dive
    f.g.Tick();
    EXPECT_TRUE(f.g.Play.WalkOffExpected);
    EXPECT_EQ(f.g.Play.Chain[0], kCatcher);
    f.PlayOut();
    // The run scores, the game ends at once, the bench comes out; nobody threw.
    EXPECT_EQ(f.g.Winner, 1);
    EXPECT_TRUE(f.g.BenchOut);
    EXPECT_EQ(f.g.Runs[1], 3);
    EXPECT_EQ(f.g.Hits[1], 1) << "the batter's hit counts though he never reaches first";
    EXPECT_NE(f.g.Ball.Kind, bkThrown);
    for (int i = 0; i < 60 && f.reports.empty(); ++i) f.g.Tick();
    ASSERT_EQ(f.reports, std::vector<quint16>{0x2007});
    EXPECT_EQ(f.g.EndCounter, 55) << "the bench stays out ten ticks longer";
    EXPECT_TRUE(f.g.LastCellMarked());
    EXPECT_EQ(f.g.AllInnings().back(), (std::array<int, 2>{0, 1}));
}

TEST(BaseballPlayTest, TheWinningRunBeatsTheThrowHomeAndTheThrowSailsOnPastThePlate)
{
    // A sacrifice fly in the ninth: the runner tags up and scores before the left fielder's throw
    // comes home; the catcher leaves it and it carries on past the plate.
    Field f;
    f.Set({.bases = 4, .inning = 8, .runsBat = 2, .runsField = 2, .tagUp = true});
    f.Hit({6, bkFly}, {{2, 1}, {14, 1}});
    for (int t = 0; t < 200 && f.reports.empty(); ++t) f.g.Tick();
    ASSERT_EQ(f.reports, std::vector<quint16>{0x2007});
    EXPECT_EQ(f.g.Runs[1], 3);
    const TBallRecord& b = f.g.Ball;
    EXPECT_EQ(b.Kind, bkThrown) << "nobody took the throw";
    EXPECT_GT(b.Pos.y(), b.Target.y() + 20) << "the ball went on past home";
}

TEST(BaseballPlayTest, AWalkOffCountsNoRunAfterTheWinningOneUnlessTheBallLeftThePark)
{
    struct Case {
        const char* name;
        int behind; // with runners on second and third in the ninth
        Contact c;
        int runs; // the user's side's, when the game is over
    };
    const Case cases[] = {
        {"the run from third wins, the one from second no longer counts", 0, {prLeftCentreLeft, bkFly}, 3},
        {"the tying run, then the winning one", 1, {prLeftCentreLeft, bkFly}, 4},
        {"over the fence every run counts", 0, {prHomeRun, bkFly, 0, 0, -1, false, 1}, 5},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Field f;
        f.Set({.bases = 6, .inning = 8, .runsBat = 2, .runsField = 2 + k.behind});
        f.Hit(k.c);
        for (int t = 0; t < 400 && f.reports.empty(); ++t) f.g.Tick();
        ASSERT_EQ(f.reports, std::vector<quint16>{0x2007});
        EXPECT_TRUE(f.g.BenchOut);
        EXPECT_EQ(f.g.Runs[1], k.runs);
        EXPECT_EQ(f.g.AllInnings().back()[1], k.runs - 2);
    }
}

// Plays acted out: the situation, the ball, the draws, and what the play leaves.
struct PlayCase {
    const char* name;
    Situation at;
    Contact c;
    std::vector<std::pair<int, int>> draws;
    int outs, runs, bases; // after the play
    int hits = 0, errors = 0;
    size_t marks = 1;
};

TEST(BaseballPlayTest, ScriptedPlaysEndWithTheirOutsRunsAndBases)
{
    const PlayCase cases[] = {
        // name, situation, ball, draws: outs, runs, bases, hits, errors, banners
        {"ground out", {}, {5, bkGrounder}, {{14, 1}}, 1, 0, 0, 0, 0, 1},
        {"error: safe at first, no hit", {}, {5, bkGrounder}, {{14, 0}}, 0, 0, 1, 0, 1, 0},
        {"double play", {.bases = 1}, {5, bkGrounder}, {{14, 1}, {100, 99}}, 2, 0, 0, 0, 0, 2},
        {"late relay: force at second, batter safe", {.bases = 1}, {5, bkGrounder}, {{14, 1}, {100, 0}}, 1, 0, 1, 0, 0, 1},
        {"triple play", {.bases = 3}, {4, bkGrounder}, {{14, 1}, {100, 99}}, 3, 0, 0, 0, 0, 3},
        {"late relay saves the run of a double play", {.outs = 1, .bases = 5}, {4, bkGrounder}, {{14, 1}, {100, 0}}, 2, 1, 1, 0, 0, 1},
        {"the double play ends the inning: no run", {.outs = 1, .bases = 5}, {4, bkGrounder}, {{14, 1}, {100, 99}}, 3, 0, 0, 0, 0, 2},
        {"bunt kind 0: sacrifice, the run scores", {.bases = 4}, {prBunt, bkGrounder, 0, 0}, {}, 1, 1, 0, 0, 0, 1},
        {"bunt kind 1: nobody out, the run scores", {.bases = 4}, {prBunt, bkGrounder, 0, 1}, {}, 0, 1, 1, 1, 0, 1},
        {"bunt kind 2: out at home", {.bases = 4}, {prBunt, bkGrounder, 0, 2}, {}, 1, 0, 1, 0, 0, 1},
        {"sacrifice fly, runner scores", {.bases = 4, .tagUp = true}, {6, bkFly}, {{2, 1}, {14, 1}}, 1, 1, 0, 0, 0, 1},
        {"sacrifice fly, runner thrown out", {.bases = 4, .tagUp = true}, {6, bkFly}, {{2, 0}, {14, 1}}, 2, 0, 0, 0, 0, 2},
        {"fly out: the runner goes back", {.bases = 1}, {7, bkFly}, {{14, 1}}, 1, 0, 1, 0, 0, 1},
        {"dropped fly: everyone one base more", {.bases = 1}, {8, bkFly}, {{14, 0}}, 0, 0, 6, 0, 1, 0},
        {"a fly to be dropped stops short, picked up off the grass: force at third, late relay", {.outs = 1, .bases = 3}, {4, bkFly}, {{14, 0}, {100, 0}}, 2, 0, 3, 0, 0, 1},
        {"single, runner to second", {.bases = 1}, {6, bkLiner}, {}, 0, 0, 3, 1, 0, 1},
        {"walk forces a run home", {.bases = 7}, {prWalk, bkGrounder}, {}, 0, 1, 7, 0, 0, 1},
        {"strikeout: nobody moves", {.bases = 5}, {prStrikeout, bkGrounder}, {}, 1, 0, 5, 0, 0, 1},
        {"triple clears the bases", {.bases = 7}, {prTriple, bkFly}, {}, 0, 3, 4, 1, 0, 1},
        {"home run", {.bases = 2}, {prHomeRun, bkFly, 0, 0, -1, false, 1}, {}, 0, 2, 0, 1, 0, 0},
        {"robbed at the fence", {}, {prHomeRun, bkFly, 0, 0, 0, true}, {}, 1, 0, 0, 0, 0, 1},
        {"over the leaping glove", {.bases = 1}, {prHomeRun, bkFly, 0, 0, 3, false}, {}, 0, 2, 0, 1, 0, 0},
        {"foul: nothing changes", {.bases = 1}, {prGroundLeftLine, bkGrounder, 3}, {}, 0, 0, 1, 0, 0, 0},
        {"foul in front of the plate", {.bases = 1}, {prCatcher, bkGrounder, 7}, {}, 0, 0, 1, 0, 0, 1},
    };
    for (const PlayCase& k : cases) {
        SCOPED_TRACE(k.name);
        Field f;
        f.Set(k.at);
        const int outsBefore = f.g.Outs;
        f.Hit(k.c, k.draws);
        const int ticks = f.PlayOut();
        EXPECT_LT(ticks, 250);
        EXPECT_TRUE(f.script.empty()) << "a draw was not made";
        if (k.outs >= 3) {
            EXPECT_EQ(f.g.BattingSide, 1 - (k.at.userBats ? 1 : 0));
            EXPECT_EQ(f.g.Outs, 0);
        } else {
            EXPECT_EQ(f.g.Outs - outsBefore, k.outs - k.at.outs);
            EXPECT_EQ(f.Bases(), k.bases);
        }
        const size_t bat = size_t(k.at.userBats ? 1 : 0);
        EXPECT_EQ(f.g.Runs[bat], k.runs);
        EXPECT_EQ(f.g.Hits[bat], k.hits);
        EXPECT_EQ(f.g.Errors[1 - bat], k.errors);
        EXPECT_EQ(f.g.Stats[bat][stPlateAppearances], k.c.foul ? 0 : 1);
        EXPECT_EQ(f.lastPlay.OutMarks.size(), k.marks);
        EXPECT_EQ(f.lastPlay.FoulAnnounced, k.c.foul >= 1 && k.c.foul <= 6);
    }
}

TEST(BaseballPlayTest, APlayNobodyCanFinishEndsOnceTheFieldStandsStill)
{
    // A ball no fielder goes after: nothing can end the play by its own rules.
    Field f;
    f.Set({});
    f.Hit({5, bkGrounder}, {{14, 1}});
    f.g.Tick();
    f.g.Ball.Fielder = -1;
    int overAt = -1;
    for (int t = 1; t < 200 && f.g.OrderPosition[1] == 0; ++t) {
        f.g.Tick();
        if (overAt < 0 && f.g.Play.Over) {
            overAt = t;
            EXPECT_FALSE(f.g.Play.ChainDone);
        }
    }
    EXPECT_GT(overAt, kStillTicks + 20) << "only after everyone had stopped for a while";
    EXPECT_EQ(f.g.OrderPosition[1], 1) << "the next batter came up";
    EXPECT_EQ(f.g.Outs, 1) << "the batter was out at first as planned";
}

} // namespace

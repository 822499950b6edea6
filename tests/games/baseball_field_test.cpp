// The baseball field without a window: picture map, panel and regions, the batting-order figures,
// the actors' set-up, and the user's input through a plate appearance.
#include "BaseballGame.h"
#include "ServicesRecord.h"
#include <QtCore/qnamespace.h>
#include <deque>
#include <gtest/gtest.h>

using namespace bb;

namespace {

TEST(BaseballPicturesTest, PictureMapFromTheSheets)
{
    const std::pair<int, int> counts[] = {{1260, 9}, {560, 4}, {1400, 9}, {1330, 9}, {210, 1}, {139, 0}, {-70, 0}};
    for (auto [width, players] : counts) EXPECT_EQ(SheetPlayerCount(width), players) << width;

    // Four players repeat through the batting order; the images come from the shuffled cells.
    std::deque<int> draws{3, 0, 0, 1};
    const TTeamPictures t = MakeTeamImages(560, [&](int) {
        const int v = draws.front();
        draws.pop_front();
        return v;
    });
    EXPECT_EQ(t.Order, (std::vector<int>{2, 0, 1, 3}));
    EXPECT_EQ(t.SlotImage, (std::array<int, 9>{0, 2, 4, 6, 0, 2, 4, 6, 0}));
    // Ten players: the tenth cell is never shown.
    const TTeamPictures big = MakeTeamImages(1400, [](int n) { return n - 1; });
    ASSERT_EQ(big.PlayerCount, 9);
    for (int cell : big.Order) EXPECT_LT(2 * kFrameSize * cell, 1260) << cell;

    // A sheet without a whole cell: the game still plays, its actors are simply not drawn.
    TBaseBallGame g;
    g.NewGame(100, 1260);
    EXPECT_EQ(g.Actors[kBatter].Picture, -1);
    for (int i = 0; i < kBatter; ++i) EXPECT_GE(g.Actors[size_t(i)].Picture, 0);
}

TEST(BaseballPicturesTest, BattingOrderFiguresNeverDivideByZeroNorExceedOne)
{
    struct Case {
        int hits, atBats;
        bool average;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, true, " .000"}, {0, 4, true, " .000"}, {2, 0, true, "1.000"}, // a bunt hit has no at-bat
        {3, 3, true, "1.000"}, {4, 3, true, "1.000"}, {1, 3, true, " .333"},
        {1, 20, true, " .050"}, {2, 7, false, " 2/7"},
    };
    for (const Case& c : cases) EXPECT_EQ(BattingOrderText(c.hits, c.atBats, c.average), QString::fromUtf8(c.text)) << c.hits << "/" << c.atBats;
}

TEST(BaseballFieldTest, CoursePanelFirstRectangleWins)
{
    struct Case {
        QPoint p;
        int course, withTagUp;
    };
    const Case cases[] = {
        {{650, 420}, 7, 7},  {{677, 420}, 7, 7}, {{678, 420}, 8, 8}, {{700, 448}, 5, 5}, {{719, 488}, 2, 2},
        {{762, 528}, 3, 3},  {{640, 540}, 0, 0}, {{719, 574}, 0, 0}, {{730, 540}, -1, kTagUpIndex},
        {{763, 420}, -1, -1}, {{634, 420}, -1, -1}, {{700, 530}, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CourseAt(c.p, false), c.course) << c.p.x() << "," << c.p.y();
        EXPECT_EQ(CourseAt(c.p, true), c.withTagUp) << c.p.x() << "," << c.p.y();
    }
}

TEST(BaseballFieldTest, Regions)
{
    EXPECT_TRUE(FenceBand().Contains({300, 125}));
    EXPECT_FALSE(FenceBand().Contains({300, 200}));
    EXPECT_TRUE(FenceBand().Contains({0, 300}));
    EXPECT_TRUE(OutfieldBand().Contains({300, 200}));
    EXPECT_FALSE(OutfieldBand().Contains({300, 300}));
    EXPECT_TRUE(LineQuads().Contains({152, 390}));
    EXPECT_TRUE(LineQuads().Contains({300, 295}));
    EXPECT_TRUE(LineQuads().Contains({450, 392}));
    EXPECT_FALSE(LineQuads().Contains({300, 400}));
}

// A game with a fixed random service: every draw answers 1 (0 when n is 1), the runtime
// generator `system`.
struct Harness : TServicesRecord {
    TBaseBallGame g;
    int system = 4;
    std::vector<TBallSound> sounds;
    bool dropped = false;
    Harness()
    {
        FillServices(g.Services, [](int n) { return std::min(1, n - 1); }, [this](int n) { return std::min(system, n - 1); });
        g.Services.Sound = [this](TBallSound s) { sounds.push_back(s); };
        g.Services.InningListDropped = [this] { return dropped; };
        g.Create();
        g.NewGame(1260, 560);
    }
    void skipOpening()
    {
        for (int i = 0; i < 100 && g.Opening; ++i) g.Tick();
        ASSERT_FALSE(g.Opening);
    }
};

TEST(BaseballGameTest, OpeningLastsFortyTicksAndWaitsForTheInningList)
{
    Harness h;
    EXPECT_EQ(h.sounds, std::vector<TBallSound>{TBallSound::Opening});
    EXPECT_EQ(h.g.Inning, 4); // "５回から"
    EXPECT_EQ(h.g.LineScore[0], (std::array<int, 10>{0, 0, 0, 0, -1, -2, -2, -2, -2, -2}));
    EXPECT_TRUE(h.g.SetStartInning(0));
    EXPECT_EQ(h.g.LineScore[0][0], -1);
    EXPECT_EQ(h.g.LineScore[0][4], -2);
    EXPECT_EQ(h.g.StartFlag, 0);

    h.dropped = true;
    for (int i = 0; i < 60; ++i) h.g.Tick();
    EXPECT_TRUE(h.g.Opening);
    h.g.TogglePause(); // Esc also stops the opening
    h.dropped = false;
    for (int i = 0; i < 5; ++i) h.g.Tick();
    EXPECT_TRUE(h.g.Opening);
    EXPECT_EQ(h.g.CaptionFor("野球"), QStringLiteral("野球  ※Pause※"));
    EXPECT_TRUE(h.g.KeyDown(Qt::Key_Escape));
    EXPECT_EQ(h.g.CaptionFor("野球"), QStringLiteral("野球"));
    h.g.Tick();
    EXPECT_FALSE(h.g.Opening);
    EXPECT_TRUE(h.manual); // played by hand so far
    EXPECT_EQ(h.option, 0);
    EXPECT_FALSE(h.g.SetStartInning(3));
    EXPECT_EQ(h.g.Inning, 0);
}

TEST(BaseballGameTest, ActorsTakeTheirPlacesWithRunnersAndBench)
{
    Harness h;
    TBaseBallGame& g = h.g;
    g.BaseFlags = {false, true, false, true};
    g.RunnerImage[1] = 6;
    g.RunnerImage[3] = 2;
    g.OrderPosition[0] = 4;
    g.StartAtBat();
    EXPECT_EQ(g.RunnerByte, 16 + 64 + 2);
    EXPECT_EQ(g.Actors[kRunner1].Pos, DefaultSpots()[spRunFirst]);
    EXPECT_EQ(g.Actors[kRunner1].Base, 1);
    EXPECT_EQ(g.Actors[kRunner1].BasesToRun, 0);
    EXPECT_EQ(g.Actors[kRunner1 + 1].Picture, -1);
    EXPECT_EQ(g.Actors[kRunner1 + 1].Pos, kCatcherBaseSpot);
    EXPECT_EQ(g.RunnerImage[2], 12); // would-be runner: position 4 + 2
    EXPECT_EQ(g.Actors[kBatter].Picture % 18, 8);
    // The bench: the first five of slots 0-8 whose picture is neither the batter's nor a runner's.
    EXPECT_EQ(g.BenchImage, (std::array<int, 5>{0, 4, 10, 14, 16}));
    // The pitcher looks down at the batter (left, mirrored); the third baseman looks right.
    EXPECT_GE(g.Actors[kPitcher].Picture, g.Teams[1].MirrorOffset());
    EXPECT_EQ(g.Actors[kPitcher].Pose, 2);
    EXPECT_LT(g.Actors[kThirdBaseman].Picture, g.Teams[1].MirrorOffset());
    EXPECT_EQ(g.Actors[kThirdBaseman].Pose, 0);
}

TEST(BaseballGameTest, FielderTurnsWhenTheBattedBallPassesHisSide)
{
    Harness h;
    TBaseBallGame& g = h.g;
    TBallActor& ss = g.Actors[kShortstop];
    ss.Facing = 0;
    g.Ball.Kind = bkGrounder;
    g.Ball.Fielder = kLeftFielder;
    g.Ball.Launch = {255, 560};
    g.Ball.Direction = PointAngle(g.Ball.Launch, {100, 260}) + 0.1;
    g.SelectActorImage(kShortstop);
    EXPECT_EQ(ss.Pose & 2, 2);
    g.Ball.Fielder = kCentreFielder;
    g.SelectActorImage(kShortstop);
    EXPECT_EQ(ss.Pose & 2, 0);
}

TEST(BaseballGameTest, ClicksKeysAndHoverFillTheBufferUntilTheCommit)
{
    Harness h;
    h.skipOpening();
    TBaseBallGame& g = h.g;
    ASSERT_FALSE(g.UserBats());
    g.MouseMove({730, 540});
    EXPECT_EQ(g.Hover, -1); // the tag-up button is no target while the user pitches
    g.MouseMove({700, 460});
    EXPECT_EQ(g.Hover, 5);
    g.MouseDown({730, 540});
    EXPECT_TRUE(g.TagUp[1]); // but a click toggles it whoever bats
    EXPECT_TRUE(g.KeyDown(Qt::Key_Period));
    EXPECT_FALSE(g.TagUp[1]);
    g.MouseDown({750, 130});
    EXPECT_TRUE(g.ShowAverage);

    EXPECT_TRUE(g.KeyDown(Qt::Key_7));
    EXPECT_TRUE(g.KeyDown(Qt::Key_3)); // a digit replaces the choice until the commit
    g.MouseDown({650, 420}); // a click only fills an empty buffer
    EXPECT_EQ(g.CourseBuffer, 3);
    g.Settle = 0; // as after a changed tag-up: it shows for three ticks before the pitch
    g.Tick();
    g.Tick();
    EXPECT_EQ(g.UserCourse, kNoCourse);
    g.Tick();
    EXPECT_EQ(g.UserCourse, 3);
    EXPECT_EQ(g.Actors[kPitcher].Action, acPitching);
    EXPECT_EQ(g.Actors[kPitcher].Step, 0);
    g.DigitKey(8);
    g.Tick();
    EXPECT_EQ(g.UserCourse, 3);
    EXPECT_EQ(g.Actors[kPitcher].Step, 1);
    EXPECT_FALSE(g.KeyDown(Qt::Key_F3));

    // Auto play ignores digits; leaving it before the wind-up is far along gives the choice back.
    g.SetAuto(true);
    EXPECT_EQ(g.CourseBuffer, 5);
    EXPECT_FALSE(h.manual);
    g.DigitKey(2);
    EXPECT_EQ(g.CourseBuffer, 5);
    g.SetAuto(false);
    EXPECT_EQ(g.CourseBuffer, kNoCourse);
    EXPECT_EQ(g.UserCourse, kNoCourse);
    EXPECT_FALSE(h.manual); // once auto play was used the game no longer counts as played by hand
}

TEST(BaseballGameTest, APlateAppearanceFromThePitchToTheNextBatter)
{
    Harness h;
    h.skipOpening();
    TBaseBallGame& g = h.g;
    h.sounds.clear();
    g.DigitKey(5);
    g.Tick(); // commit
    std::vector<int> stages;
    int releaseTick = -1, contactTick = -1, homeRunTick = -1, homeTick = -1, closeTick = -1, highest = 0;
    for (int t = 1; t < 300 && g.OrderPosition[0] == 0; ++t) {
        g.Tick();
        if (stages.empty() || stages.back() != g.PanelStage) stages.push_back(g.PanelStage);
        if (releaseTick < 0 && g.PanelStage == 2) releaseTick = t;
        if (contactTick < 0 && g.PanelStage == 3) contactTick = t;
        if (g.Ball.Height < 4) highest = std::max(highest, g.Ball.Height);
        if (homeRunTick < 0 && g.Play.HomeRun) {
            // The ball drops far away into the stands and the banner goes up.
            homeRunTick = t;
            EXPECT_EQ(g.Play.PlayKind, pkHit);
            EXPECT_EQ(g.Ball.Height, 4);
        }
        if (homeTick < 0 && g.Actors[kBatter].Base == 4) homeTick = t;
        closeTick = t;
    }
    EXPECT_EQ(stages, (std::vector<int>{0, 1, 2, 3, 0}));
    EXPECT_EQ(releaseTick, 15);
    EXPECT_GT(contactTick, releaseTick + 3);
    EXPECT_GT(homeRunTick, contactTick + 10);
    EXPECT_GT(homeTick, contactTick + 90) << "the batter rounds all four bases";
    EXPECT_EQ(closeTick, homeTick + 22) << "the next batter comes up 22 ticks after a run";
    EXPECT_EQ(highest, 3) << "the fly rose to the top picture on its way";
    // The computer swung at the user's course 5 (an exact match) and the drawn fence catch missed.
    EXPECT_EQ(g.Runs[0], 1);
    EXPECT_EQ(g.LineScore[0][4], 1);
    EXPECT_EQ(g.Hits[0], 1);
    EXPECT_EQ(g.OrderPosition[0], 1);
    EXPECT_EQ(g.SlotAtBats[0][0], 1);
    EXPECT_EQ(g.SlotHits[0][0], 1);
    // The bat, the crowd as the ball lands, and again as the run comes home.
    EXPECT_EQ(h.sounds, (std::vector<TBallSound>{TBallSound::Batting, TBallSound::Kansei, TBallSound::Kansei}));
    EXPECT_EQ(g.UserCourse, kNoCourse);
    EXPECT_EQ(g.Actors[kBatter].Action, acBatting);
}

} // namespace

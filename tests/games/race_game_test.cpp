// The running race and the hurdle race on their real forms, offscreen, on the virtual clock: seeded
// whole games without input and under auto-progress, games from the menu played by keys and mouse,
// and the scenes as the user sees them.
#include "FakeGameHost.h"
#include "GameRandom.h"
#include "QuickGames.h"
#include "ShellFixture.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include "UnitHurdle.h"
#include "UnitRun.h"
#include <QAbstractItemView>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>

namespace {

// A games' host of its own, the virtual clock and recorded sounds: many whole games, quickly.
class RaceSoakTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetClock(&clock);
        Sound().SetBackend(&sounds);
    }
    void TearDown() override
    {
        Sound().SetBackend(nullptr);
        SetClock(nullptr);
    }
    // Runs one seeded game through its launcher and checks the one report against the modal result.
    template <class Launch>
    void playSeeded(std::uint32_t seed, Launch launch, int gameNo, int option, bool autoPlayed)
    {
        FakeGameHost host(seed * 7919u + 3u);
        host.autoProgress = autoPlayed && gameNo == gnHur;
        const quint16 result = launch(host);
        ASSERT_EQ(host.results.size(), 1u) << "seed " << seed;
        const quint16 code = host.results[0];
        ASSERT_TRUE(result == mrYes || result == mrNo) << "seed " << seed;
        EXPECT_EQ(code & 0xFF, gameNo);
        EXPECT_EQ(bool(code & 0x2000), result == mrYes) << "seed " << seed;
        EXPECT_EQ(bool(code & 0x1000), result == mrNo) << "seed " << seed;
        EXPECT_EQ((code >> 8) & 7, option);
        EXPECT_EQ(bool(code & 0x800), autoPlayed) << "seed " << seed;
        EXPECT_GE(host.resultPlayers[0], 0);
        EXPECT_LT(host.resultPlayers[0], 9);
        EXPECT_GE(host.resultPlayers[1], 0);
        EXPECT_LT(host.resultPlayers[1], 9);
        wins += result == mrYes;
    }
    VirtualClock clock;
    RecordingSoundBackend sounds;
    int wins = 0;
};

TEST_F(RaceSoakTest, FiftyRacesWithoutInputEndOnce)
{
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        sounds.Clear();
        // No box chosen: every boundary passed marks the race as played by the computer.
        playSeeded(seed, PlayRun, gnRun, 1, true);
        EXPECT_EQ(FormRun, nullptr);
        EXPECT_GT(sounds.Count(QStringLiteral("PISTOL")), 0);
        EXPECT_GT(sounds.Count(QStringLiteral("KICK")), 0);
    }
    EXPECT_GT(wins, 5);
    EXPECT_LT(wins, 45);
}

TEST_F(RaceSoakTest, FiftyHurdleRacesWithoutInputOrUnderAutoProgress)
{
    int winsBy[2] = {0, 0}, knocks = 0;
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        const bool autoPlayed = seed % 2 == 0;
        wins = 0;
        sounds.Clear();
        playSeeded(seed, PlayHurdle, gnHur, 2, autoPlayed);
        EXPECT_EQ(FormHur, nullptr);
        if (!autoPlayed) knocks += sounds.Count(QStringLiteral("HURDLE"));
        winsBy[autoPlayed] += wins;
    }
    // Without a jump every hurdle of my lane goes down, and the race is mostly lost.
    EXPECT_GT(knocks, 25);
    EXPECT_LT(winsBy[0], 8);
    EXPECT_GT(winsBy[1], winsBy[0]);
    EXPECT_LT(winsBy[1], 23);
}

TEST_F(RaceSoakTest, KickIsShortEnoughForEveryDashStep)
{
    // A dashing runner steps every 160 ms and plays KICK without cutting off on every step.
    EXPECT_LT(Sound().LengthMs(QStringLiteral("KICK")), 2 * TFormRun::Row().Interval);
    FakeGameHost host(5);
    int kicks = 0, refused = 0;
    qint64 lastKickAt = -1;
    GameTimer watch(nullptr, 1, false);
    watch.OnTimer = [&] {
        if (!FormRun || !FormRun->isVisible()) return;
        watch.SetEnabled(false);
        run::TRunRace& race = FormRun->Race();
        auto play = race.Sound;
        race.Sound = [&, play](run::TRunSound s) {
            if (s == run::TRunSound::Kick) {
                // Both runners may dash on one step: one KICK sounds for the two. A KICK of the step
                // before must be over.
                const qint64 now = Clock().NowMs();
                if (now != lastKickAt) {
                    ++kicks;
                    refused += Sound().Playing() && Sound().Current() == QStringLiteral("KICK");
                }
                lastKickAt = now;
            }
            play(s);
        };
    };
    watch.SetEnabled(true);
    PlayRun(host);
    EXPECT_GT(kicks, 50);
    EXPECT_EQ(refused, 0);
}

class RaceMenuTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        RegisterQuickGames();
        MakeForms();
        RandSeed = 77;
        MTSeed(4357);
        Form::SetModalHook([this](Form* f) {
            if (f == FormGameWinMes) {
                reports.push_back({FormGameWinMes->FScreenKind, FormGameWinMes->FCodeText});
                f->Close();
            } else if (onGameShown) {
                onGameShown(f);
            }
        });
    }
    struct Report {
        int kind;
        QString code;
    };
    std::vector<Report> reports;
    std::function<void(Form*)> onGameShown;
};

TEST_F(RaceMenuTest, BothButtonsAreEnabledAndAMatchPlaysThem)
{
    EXPECT_TRUE(FormGame->bbRun->isEnabled());
    EXPECT_TRUE(FormGame->bbHur->isEnabled());
    // A best-of-three of the two races (standing in for the other quick games too).
    ClearGameLaunchers();
    for (int no = gnPK; no <= gnHur; ++no) RegisterGameLauncher(no, no % 2 ? PlayRun : PlayHurdle);
    MakeForms();
    FormGame->cbAuto->setChecked(true);
    ASSERT_TRUE(FormGame->bbKongou3->isEnabled());
    FormGame->bbKongou3->click();
    ASSERT_GE(reports.size(), 2u);
    ASSERT_LE(reports.size(), 3u);
    EXPECT_TRUE(FormGame->FMatchDecided);
    EXPECT_FALSE(FormGame->isVisible());
}

TEST_F(RaceMenuTest, ARacePlayedByKeysAndClicksStaysManual)
{
    GameTimer input(nullptr, 80, false);
    int n = 0, clicked = 0, skipped = 0;
    input.OnTimer = [&] {
        if (!FormRun || !FormRun->isVisible()) return;
        const run::TRunRace& race = FormRun->Race();
        if (race.Opening) return;
        ++n;
        if (n % 10 == 0) {
            // A box two boundaries ahead of the keys, by mouse.
            const int b = std::max(race.KeyCursor, race.Runners[0].Section) + 2;
            if (b >= run::kBoundaries || race.Choice[size_t(b)] >= 0) return;
            QTest::mouseClick(FormRun->imOmote, Qt::LeftButton, Qt::NoModifier, run::Boundary(b).box[n % 2] + QPoint(13, 13));
            clicked += race.Choice[size_t(b)] == n % 2;
        } else if (n % 10 == 5) {
            // The keys choose the next open boundary, passing over the clicked ones.
            const int before = std::max(race.KeyCursor, race.Runners[0].Section);
            QTest::keyClick(FormRun, n % 3 ? Qt::Key_1 : Qt::Key_2, n % 4 ? Qt::NoModifier : Qt::KeypadModifier);
            skipped += before < run::kBoundaries && race.Choice[size_t(before)] >= 0 && race.KeyCursor > before + 1;
        }
    };
    onGameShown = [&](Form*) { input.SetEnabled(true); };
    FormGame->bbRun->click();
    input.SetEnabled(false);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].code == QStringLiteral("101") || reports[0].code == QStringLiteral("001")) << reports[0].code.toStdString();
    EXPECT_TRUE(FormGame->FManualPlay) << "every boundary had its box before it was passed";
    EXPECT_GT(clicked, 5);
    EXPECT_GT(skipped, 2);
    EXPECT_FALSE(FormGame->isVisible());
}

TEST_F(RaceMenuTest, AHurdleRaceByClicksAndEnterThenAutoProgress)
{
    GameTimer input(nullptr, 50, false);
    int jumps = 0, ticks = 0;
    bool optionTaken = false;
    input.OnTimer = [&] {
        if (!FormHur || !FormHur->isVisible()) return;
        hur::THurdleRace& race = FormHur->Race();
        if (race.Opening) {
            if (optionTaken) return;
            // Eight hurdles, chosen in the opening with the keys; a click there keeps the first jump.
            optionTaken = true;
            QTest::keyClick(FormHur, Qt::Key_F2);
            QTest::keyClick(FormHur->cobOption->view(), Qt::Key_Up);
            QTest::keyClick(FormHur->cobOption->view(), Qt::Key_Return);
            QTest::mouseClick(FormHur->imOmote, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
            EXPECT_EQ(race.CurrentRecord().Status[0], hur::TLaneStatus::Untouched);
            return;
        }
        ++ticks;
        const int d = race.CurrentRecord().X - race.Runners[0].Base();
        if (race.Recycled < 3 && d == 45 && !race.Runners[0].Airborne()) {
            ticks % 2 ? QTest::mouseClick(FormHur->imOmote, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200))
                      : QTest::keyClick(FormHur, Qt::Key_Return);
            jumps += race.CurrentRecord().Status[0] == hur::TLaneStatus::Clean;
        }
        if (race.Recycled == 3 && !FormHur->cbAuto->isChecked()) QTest::keyClick(FormHur, Qt::Key_F3);
    };
    onGameShown = [&](Form*) { input.SetEnabled(true); };
    FormGame->bbHur->click();
    input.SetEnabled(false);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].code == QStringLiteral("111") || reports[0].code == QStringLiteral("011")) << reports[0].code.toStdString();
    EXPECT_GE(jumps, 4) << "clean jumps by click and Enter";
    EXPECT_TRUE(FormGame->cbAuto->isChecked()) << "auto-progress goes back to the menu";
}

// The scenes at moments of each game; with POLY_SHOT_DIR set they are also written there.
TEST_F(RaceMenuTest, TheScenesShowEachMoment)
{
    const QString dir = qEnvironmentVariable("POLY_SHOT_DIR");
    std::map<QString, QImage> shots;
    bool platesShown = false, framesShown = false;
    GameTimer watch(nullptr, 40, false);
    watch.OnTimer = [&] {
        QString name;
        if (FormRun && FormRun->isVisible()) {
            const run::TRunRace& r = FormRun->Race();
            if (r.Opening && FormRun->TickCount() == 20) name = QStringLiteral("run-1-opening");
            else if (r.TickCount == 60) name = QStringLiteral("run-2-start");
            else if (r.Runners[0].Section == 5 && r.Runners[0].LapsDone == 0) name = QStringLiteral("run-3-back-straight");
            else if (r.Runners[0].Section == 14) name = QStringLiteral("run-4-home-straight");
            else if (r.PhotoRunning()) name = QStringLiteral("run-5-photo");
            else if (r.FinishCounter == 15) name = QStringLiteral("run-6-finish");
            const QImage& img = FormRun->BackBuffer().Image();
            if (!r.Opening && r.TickCount > 1) platesShown |= FromPixel(img.pixel(574 + 5, 343 + 5)) == RGBColor(252, 206, 64);
            if (!name.isEmpty() && !shots.count(name)) shots[name] = FormRun->grab().toImage();
        } else if (FormHur && FormHur->isVisible()) {
            const hur::THurdleRace& r = FormHur->Race();
            if (r.Opening && FormHur->TickCount() == 40) name = QStringLiteral("hur-1-opening");
            else if (r.TickCount == 45) name = QStringLiteral("hur-2-start");
            else if (r.Scroll == 700) name = QStringLiteral("hur-3-hurdles");
            else if (r.Runners[0].Airborne() && r.Scroll > 1000) name = QStringLiteral("hur-4-jump");
            else if (r.Scroll == r.CourseEnd() && !r.Decided()) name = QStringLiteral("hur-5-sprint");
            else if (r.PhotoRunning()) name = QStringLiteral("hur-6-photo");
            else if (r.FinishCounter == 20) name = QStringLiteral("hur-7-finish");
            const QImage& img = FormHur->BackBuffer().Image();
            const hur::TRecord& first = r.Records[0];
            if (first.Visible && first.X > 10 && first.X < 500)
                framesShown |= FromPixel(img.pixel(first.X, 350)) == RGBColor(255, 255, 0) || FromPixel(img.pixel(first.X, 350)) == RGBColor(255, 0, 0);
            if (!name.isEmpty() && !shots.count(name)) shots[name] = FormHur->grab().toImage();
        }
    };
    watch.SetEnabled(true);
    const quint16 run = PlayRun(*FormGame);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(run, reports.back().kind == 0 ? mrYes : mrNo);
    MakeForms();
    FormGame->cbAuto->setChecked(true);
    const quint16 hurdle = PlayHurdle(*FormGame);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(hurdle, reports.back().kind == 0 ? mrYes : mrNo);
    watch.SetEnabled(false);
    EXPECT_TRUE(platesShown);
    EXPECT_TRUE(framesShown);
    for (const char* must : {"run-1-opening", "run-3-back-straight", "run-6-finish", "hur-1-opening", "hur-3-hurdles", "hur-7-finish"})
        EXPECT_TRUE(shots.count(QString::fromLatin1(must))) << must;
    for (const auto& [name, img] : shots) {
        EXPECT_EQ(img.size(), name.startsWith(QStringLiteral("run")) ? QSize(700, 489) : QSize(640, 419)) << name.toStdString();
        if (!dir.isEmpty()) img.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
}

} // namespace

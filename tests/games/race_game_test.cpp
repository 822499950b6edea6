// The running race and the hurdle race on their real forms, offscreen, on the virtual clock: seeded
// whole games without input and under auto-progress, games from the menu played by keys and mouse,
// and the scenes as the user sees them.
#include "FakeGameHost.h"
#include "GameRandom.h"
#include "QuickGames.h"
#include "QuickGameFixture.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include "UnitHurdle.h"
#include "UnitRun.h"
#include <QAbstractItemView>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>
#include <set>

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
    // The host sees the race as it stands when the result is reported: who won, and whether that
    // runner is over the line (or the photo decided).
    struct Host : FakeGameHost {
        using FakeGameHost::FakeGameHost;
        void ShowGameResult(quint16 code) override
        {
            auto look = [this](const auto& race, auto over) {
                winner = race.Winner;
                crossed = race.PhotoDecided() || (winner >= 0 && over(race.Runners[size_t(winner)]));
            };
            if (FormRun) look(FormRun->Race(), [](const run::TPlayer& p) { return p.LapsDone >= FormRun->Race().LapsToRun; });
            if (FormHur) look(FormHur->Race(), [](const hur::TPlayer& p) { return p.X >= p.FinishX; });
            FakeGameHost::ShowGameResult(code);
        }
        int winner = -1;
        bool crossed = false;
    };
    // Runs one seeded game through its launcher and checks the one report against the modal result
    // and against the runner that won the race.
    template <class Launch>
    void playSeeded(std::uint32_t seed, Launch launch, int gameNo, int option, bool autoPlayed)
    {
        Host host(seed * 7919u + 3u);
        host.autoProgress = autoPlayed && gameNo == gnHur;
        const quint16 result = launch(host);
        EXPECT_EQ(host.winner, result == mrYes ? 0 : 1) << "seed " << seed;
        EXPECT_TRUE(host.crossed) << "seed " << seed;
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

// A few whole games through the real forms; the rules soak many more seeds without a window.
TEST_F(RaceSoakTest, RacesWithoutInputEndOnce)
{
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        sounds.Clear();
        // No box chosen: every boundary passed marks the race as played by the computer.
        playSeeded(seed, PlayRun, gnRun, 1, true);
        EXPECT_EQ(FormRun, nullptr);
        EXPECT_GT(sounds.Count(QStringLiteral("PISTOL")), 0);
        EXPECT_GT(sounds.Count(QStringLiteral("KICK")), 0);
        // A dashing runner steps every 160 ms and plays KICK without cutting off on every step.
        for (const auto& e : sounds.events) {
            if (e.name != QStringLiteral("KICK")) continue;
            EXPECT_LT(e.lengthMs, 2 * TFormRun::Row().Interval);
        }
    }
    EXPECT_GT(wins, 0);
    EXPECT_LT(wins, 10);
}

TEST_F(RaceSoakTest, HurdleRacesWithoutInputOrUnderAutoProgress)
{
    int winsBy[2] = {0, 0}, knocks = 0;
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        const bool autoPlayed = seed % 2 == 0;
        wins = 0;
        sounds.Clear();
        playSeeded(seed, PlayHurdle, gnHur, 2, autoPlayed);
        EXPECT_EQ(FormHur, nullptr);
        if (!autoPlayed) knocks += sounds.Count(QStringLiteral("HURDLE"));
        winsBy[autoPlayed] += wins;
    }
    // Without a jump every hurdle of my lane goes down, and the race is mostly lost.
    EXPECT_GE(knocks, 5);
    EXPECT_LE(winsBy[0], 2);
    EXPECT_GE(winsBy[1], winsBy[0]);
}

class RaceMenuTest : public QuickGameFixture {
protected:
    void SetUp() override
    {
        QuickGameFixture::SetUp();
        RandSeed = 77;
        MTSeed(4357);
    }
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

// What the user sees: the plates once the race is under way, the slower timer after its finish, the
// result frames under the hurdles. With POLY_SHOT_DIR set, moments of both games are saved there.
TEST_F(RaceMenuTest, TheScenesShowEachMoment)
{
    const QString dir = qEnvironmentVariable("POLY_SHOT_DIR");
    std::set<QString> shot;
    auto shoot = [&](bool now, Form* f, const char* name) {
        if (now && !dir.isEmpty() && shot.insert(QString::fromLatin1(name)).second)
            f->grab().toImage().save(dir + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png"));
    };
    int plates = 0, slow = 0, fast = 0, frames = 0;
    GameTimer watch(nullptr, 40, false);
    watch.OnTimer = [&] {
        if (FormRun && FormRun->isVisible()) {
            const run::TRunRace& r = FormRun->Race();
            plates += !r.Opening && r.TickCount > 1 && FromPixel(FormRun->BackBuffer().Image().pixel(579, 348)) == RGBColor(252, 206, 64);
            (r.Decided() ? slow : fast) += FormRun->Timer1->Interval() == (r.Decided() ? 120 : 80);
            shoot(r.Opening && FormRun->TickCount() == 20, FormRun, "run-1-opening");
            shoot(r.Runners[0].Section == 5, FormRun, "run-2-back-straight");
            shoot(r.Runners[0].Stumbling(), FormRun, "run-3-stumble");
            shoot(r.FinishCounter == 15, FormRun, "run-4-finish");
        } else if (FormHur && FormHur->isVisible()) {
            const hur::THurdleRace& r = FormHur->Race();
            const hur::TRecord& first = r.Records[0];
            const TColor under = FromPixel(FormHur->BackBuffer().Image().pixel(std::clamp(first.X, 0, 639), 341));
            frames += first.Visible && first.X > 0 && first.X < 600 && (under == clYellow || under == clRed || under == clBlue);
            shoot(r.Opening && FormHur->TickCount() == 40, FormHur, "hur-1-opening");
            shoot(r.Scroll == 700, FormHur, "hur-2-hurdles");
            shoot(r.Runners[0].Airborne() && r.Scroll > 1000, FormHur, "hur-3-jump");
            shoot(r.FinishCounter == 20, FormHur, "hur-4-finish");
        }
    };
    watch.SetEnabled(true);
    PlayRun(*FormGame);
    MakeForms();
    FormGame->cbAuto->setChecked(true);
    PlayHurdle(*FormGame);
    watch.SetEnabled(false);
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_GT(plates, 100);
    EXPECT_GT(fast, 100);
    EXPECT_GT(slow, 10);
    EXPECT_GT(frames, 100);
}

} // namespace

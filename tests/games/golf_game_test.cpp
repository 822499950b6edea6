// The putting game through its real form on the shell's forms, offscreen, on the virtual clock:
// whole games from the menu under auto-progress and with the option chosen in the opening, a game
// putted by real drags and keys, and the scene at its moments. The rules are soaked over many seeds
// without a window in golf_rules_test.
#include "Clock.h"
#include "GameRandom.h"
#include "QuickGames.h"
#include "Sound.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include "UnitGolf.h"
#include <QAbstractItemView>
#include <QTest>
#include "QuickGameFixture.h"
#include <gtest/gtest.h>
#include <map>

using namespace golf;

namespace {

class GolfGameTest : public QuickGameFixture {
protected:
    void ResultShown() override
    {
        if (FormGolf) atEnd = FormGolf->Match();
    }
    // Runs the driver every tick of the game's own interval while the golf form is up.
    void driveEachTick(const std::function<void(TFormGolf&)>& step)
    {
        driver.OnTimer = [step] {
            if (FormGolf && FormGolf->isVisible()) step(*FormGolf);
        };
        onGameShown = [this](Form*) { driver.SetEnabled(true); };
    }

    TGolfMatch atEnd;
    GameTimer driver{nullptr, 100, false};
};

// The user's turn, with nothing moving: the moment to aim.
bool readyToAim(const TGolfMatch& m)
{
    return !m.FOpening && !m.Finished && m.FTurnTeam == 0 && m.BallWaiting() && m.FWaitTicks == 0 && m.FPuttCountdown == 0
           && !m.FDragging && m.FEndCount < 0;
}

TEST_F(GolfGameTest, AutoProgressGamesFromTheMenuEndWithTheHolesOfTheChosenOption)
{
    // The option is chosen with the keys in the opening: F2 opens the list, arrows move, Enter takes.
    struct Case {
        int seed, downs;
    } cases[] = {{1, 0}, {2, 3}, {3, 4}}; // "７Ｈ" (4 holes), "１５Ｈ" (8), "５Ｈ" (3, wrapping round)
    for (const Case& c : cases) {
        MakeForms();
        seed(c.seed);
        reports.clear();
        sounds.Clear();
        FormGame->cbAuto->setChecked(true);
        onGameShown = [&c](Form* f) {
            QTest::keyClick(f, Qt::Key_F2);
            QAbstractItemView* list = FormGolf->cobOption->view();
            for (int i = 0; i < c.downs; ++i) QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
        };
        FormGame->bbGolf->click();
        const int option = (TGolfMatch::kDefaultOption + c.downs) % 5;
        ASSERT_EQ(reports.size(), 1u) << "seed " << c.seed;
        const bool won = reports[0].kind == 0;
        EXPECT_EQ(reports[0].code, QStringLiteral("%1%2").arg(won ? QLatin1String("11") : QLatin1String("01")).arg(option));
        EXPECT_EQ(atEnd.FResult, won ? 0 : 1);
        const int holes = TGolfMatch::kHoleOptions[option];
        EXPECT_EQ(atEnd.FHolesWon[won ? 0 : 1], holes);
        EXPECT_LT(atEnd.FHolesWon[won ? 1 : 0], holes);
        const int played = atEnd.FHolesWon[0] + atEnd.FHolesWon[1];
        EXPECT_EQ(sounds.Count(QStringLiteral("GOLFIN")), played);
        EXPECT_EQ(sounds.Count(QStringLiteral("KANSEI")), played);
        EXPECT_GE(sounds.Count(QStringLiteral("GOLFPAT")), played);
        EXPECT_EQ(sounds.Started().front(), QStringLiteral("OPENING"));
        EXPECT_FALSE(FormGame->FManualPlay);
        EXPECT_TRUE(FormGame->cbAuto->isChecked());
        EXPECT_EQ(FormGolf, nullptr);
        EXPECT_FALSE(FormGame->isVisible()) << "the menu closes: the program ends";
    }
}

// The user putts with real mouse drags and keys, always at an aim that holes: every putt of his goes
// in, so the drag and the keys really steer the ball.
TEST_F(GolfGameTest, DragsAndKeysSteerTheUsersPutts)
{
    seed(5);
    int putts = 0, byKeys = 0;
    driveEachTick([&](TFormGolf& f) {
        TGolfMatch& m = f.Match();
        if (!readyToAim(m)) return;
        const std::vector<int>& s = m.Green.FSolutions;
        int aim = m.FAimTarget;
        if (putts % 2 == 0) {
            // A drag from anywhere, released on the cup's row at a holing aim (not the cup's own x,
            // which joined the list as a landmark).
            aim = s[size_t(putts) % s.size()];
            if (aim == m.Green.CupX && !m.Green.Holes(aim)) aim = m.FAimTarget;
            QTest::mousePress(f.imOmote, Qt::LeftButton, Qt::NoModifier, QPoint(100, 300));
            ASSERT_TRUE(m.FDragging);
            QTest::mouseMove(f.imOmote, QPoint(aim + 7, m.Green.CupY + 30));
            EXPECT_EQ(m.FAimX, aim + 7);
            QTest::mouseRelease(f.imOmote, Qt::LeftButton, Qt::NoModifier, QPoint(aim, m.Green.CupY));
        } else {
            // "3" starts at the cup's x and already steps right; "1" and "3" step, held keys repeat.
            QTest::keyClick(&f, Qt::Key_3);
            ASSERT_TRUE(m.FDragging);
            EXPECT_EQ(m.FAimX, m.Green.CupX + 1);
            const Qt::KeyboardModifiers pad = (putts / 2) % 2 ? Qt::KeypadModifier : Qt::NoModifier;
            for (int i = 0; i < kFieldWidth && m.FAimX != aim; ++i) QTest::keyClick(&f, m.FAimX > aim ? Qt::Key_1 : Qt::Key_3, pad);
            ASSERT_EQ(m.FAimX, aim);
            QTest::keyClick(&f, (putts / 2) % 2 ? Qt::Key_2 : Qt::Key_Return);
            ++byKeys;
        }
        EXPECT_FALSE(m.FDragging);
        EXPECT_EQ(m.FPuttCountdown, TGolfMatch::kPuttCountdown);
        ++putts;
    });
    FormGame->bbGolf->click();
    driver.SetEnabled(false);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(FormGame->FManualPlay);
    EXPECT_EQ(reports[0].code.mid(1), QStringLiteral("01")) << "played by hand, option ７Ｈ";
    EXPECT_EQ(atEnd.FHolesWon[0], putts) << "every putt of the user holed";
    EXPECT_GT(byKeys, 0);
    EXPECT_GT(putts - byKeys, 0);
}

// The scene at its moments, read from the back buffer; with POLY_SHOT_DIR set the window is also
// saved there as pictures to be looked at.
TEST_F(GolfGameTest, TheSceneShowsEachMoment)
{
    seed(8);
    const QString dir = qEnvironmentVariable("POLY_SHOT_DIR");
    std::map<QString, QImage> shots;
    bool sawTitle = false, sawBunting = false, sawDashes = false, sawSolid = false, sawBanner = false, sawHoleTitle = false;
    int cupsChecked = 0, hillsChecked = 0, overlapsChecked = 0;
    FormGame->cbAuto->setChecked(true);
    driveEachTick([&](TFormGolf& f) {
        const TGolfMatch& m = f.Match();
        const QImage& img = f.BackBuffer().Image();
        const QImage& ground = f.imGround.Image();
        auto at = [&img](int x, int y) { return FromPixel(img.pixel(std::clamp(x, 0, img.width() - 1), std::clamp(y, 0, img.height() - 1))); };
        QString name;
        if (m.FOpening) {
            for (int x = 0; x < img.width(); ++x) sawTitle = sawTitle || at(x, 262) == clBlue;
            sawBunting = sawBunting || img.copy(100, 40, 360, 92) != ground.copy(100, 40, 360, 92);
            if (f.TickCount() == 20) name = QStringLiteral("1-opening");
        } else if (m.FEndCount < 0 && m.FWaitTicks == 0) {
            const TGreen& g = m.Green;
            // The cup: white inside, its green edge 14 pixels out.
            if (!m.AimLineShown() && std::hypot(m.Ball.x - g.CupX, m.Ball.y - g.CupY) > 30) {
                EXPECT_EQ(at(g.CupX, g.CupY), clWhite);
                EXPECT_EQ(at(g.CupX + 14, g.CupY), RGBColor(0, 128, 0));
                ++cupsChecked;
            }
            // A hill shows unless flattened: its lit slope differs from the bare ground.
            for (int h = 0; h < 2; ++h) {
                const THill& hill = g.Hills[h];
                const int x = hill.x - 40, y = hill.y - 40;
                const bool otherHill = std::hypot(x - g.Hills[1 - h].x, y - g.Hills[1 - h].y) < g.Hills[1 - h].radius + 2;
                if (otherHill || y < 20 || x < 4 || x > kFieldWidth - 5 || std::hypot(x - g.CupX, y - g.CupY) < 20) continue;
                int differ = 0;
                for (int py = y - 4; py <= y + 4; ++py)
                    for (int px = x - 4; px <= x + 4; ++px) differ += at(px, py) != FromPixel(ground.pixel(px, py));
                EXPECT_EQ(differ > 60, g.HillFelt(h)) << "hill " << h << ": " << differ << " of 81 pixels differ";
                ++hillsChecked;
            }
            // Where the hills overlap, the one the ball feels (the first) shows.
            const THill &h0 = g.Hills[0], &h1 = g.Hills[1];
            const double apart = std::hypot(h1.x - h0.x, h1.y - h0.y);
            if (g.FFlatHill < 0 && apart + 30 < h0.radius + h1.radius && apart > h1.radius) {
                const int x = int(h0.x + (h1.x - h0.x) * (h0.radius - 15) / apart), y = int(h0.y + (h1.y - h0.y) * (h0.radius - 15) / apart);
                int same[2] = {0, 0};
                for (int h = 0; h < 2; ++h) {
                    const THill& hill = g.Hills[h];
                    const QImage& pic = (hill.radius == 160 ? f.imMount0 : f.imMount1).Image();
                    for (int py = y - 4; py <= y + 4; ++py)
                        for (int px = x - 4; px <= x + 4; ++px)
                            same[h] += at(px, py) == FromPixel(pic.pixel(px - hill.x + hill.radius, py - hill.y + hill.radius));
                }
                EXPECT_GT(same[0], same[1]);
                ++overlapsChecked;
            }
            if (m.AimLineShown()) {
                // Along the aim line, a quarter of the way from the aim point: yellow, with gaps
                // while the aim moves, unbroken while the putt counts down.
                int yellow = 0, steps = 0;
                const double dx = m.Ball.TeeX - m.FAimX, dy = m.Ball.TeeY - m.FAimY, len = std::hypot(dx, dy);
                for (double s = len * 0.25; s < len * 0.25 + 60 && s < len; s += 1, ++steps)
                    yellow += at(int(std::nearbyint(m.FAimX + dx * s / len)), int(std::nearbyint(m.FAimY + dy * s / len))) == clYellow;
                if (steps >= 60 && m.AimLineSolid()) {
                    EXPECT_EQ(yellow, steps);
                    sawSolid = true;
                    if (!shots.count(QStringLiteral("3-countdown"))) name = QStringLiteral("3-countdown");
                } else if (steps >= 60) {
                    EXPECT_GT(yellow, steps / 3);
                    EXPECT_LT(yellow, steps * 5 / 6);
                    sawDashes = true;
                    if (m.FTurnTeam == 1) name = QStringLiteral("2-aiming");
                }
            }
            if (m.Ball.State == bsRolling && m.Ball.y < 300) name = QStringLiteral("4-rolling");
        } else if (m.FEndCount > 12) {
            for (int y = TFormGolf::kBannerY; y < TFormGolf::kBannerY + 70; ++y)
                for (int x = 0; x < img.width(); x += 2) sawBanner = sawBanner || at(x, y) == RGBColor(255, 226, 40);
            for (int x = 0; x < img.width(); ++x) sawHoleTitle = sawHoleTitle || at(x, TFormGolf::kHoleTitleY + 26) == clBlue;
            if (m.FEndCount == 20) name = QStringLiteral("5-holed-%1").arg(m.FTurnTeam);
        }
        if (!name.isEmpty() && !shots.count(name)) shots[name] = f.grab().toImage();
    });
    FormGame->bbGolf->click();
    driver.SetEnabled(false);
    EXPECT_TRUE(sawTitle);
    EXPECT_TRUE(sawBunting);
    EXPECT_TRUE(sawDashes);
    EXPECT_TRUE(sawSolid);
    EXPECT_TRUE(sawBanner);
    EXPECT_TRUE(sawHoleTitle);
    EXPECT_GT(cupsChecked, 100);
    EXPECT_GT(hillsChecked, 100);
    EXPECT_GT(overlapsChecked, 10);
    for (const auto& [name, img] : shots) {
        EXPECT_EQ(img.size(), QSize(560, 613)) << name.toStdString();
        if (!dir.isEmpty()) img.save(dir + QStringLiteral("/golf-") + name + QStringLiteral(".png"));
    }
}

} // namespace

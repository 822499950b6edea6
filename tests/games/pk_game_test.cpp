// The PK form on the real shell forms, offscreen, on the virtual clock: whole shoot-outs from the
// launcher and from the menu, play by keys and mouse, the sound switches, and the single kick.
#include "Clock.h"
#include "Dialogs.h"
#include "GameRandom.h"
#include "Paths.h"
#include "QuickGames.h"
#include "Resources.h"
#include "Sound.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include "UnitPK.h"
#include <QTemporaryDir>
#include <QTest>
#include "QuickGameFixture.h"
#include <gtest/gtest.h>

namespace {

class PKGameTest : public QuickGameFixture {
protected:
    int countSounds(const char* name) const { return sounds.Count(QString::fromLatin1(name)); }
    void ResultShown() override
    {
        if (FormPK) goalsAtEnd = {FormPK->Match().Sum(0), FormPK->Match().Sum(1)};
    }
    std::pair<int, int> goalsAtEnd{-1, -1};
};

// A few whole shoot-outs through the form; the rules are soaked over many seeds without a window.
TEST_F(PKGameTest, SeededShootOutsWithoutInputEndOnce)
{
    for (int s = 0; s < 4; ++s) {
        MakeForms();
        seed(s);
        reports.clear();
        sounds.Clear();
        FormGame->FGameNo = gnPK;
        const quint16 result = PlayPK(*FormGame);
        ASSERT_TRUE(result == mrYes || result == mrNo) << "seed " << s;
        ASSERT_EQ(reports.size(), 1u) << "seed " << s;
        EXPECT_EQ(reports[0].kind, result == mrYes ? 0 : 1) << "seed " << s;
        // Won or lost, auto-played (no kick had a choice), option 0.
        EXPECT_EQ(reports[0].code, result == mrYes ? QStringLiteral("110") : QStringLiteral("010")) << "seed " << s;
        // The report goes to the side with more goals on the board.
        EXPECT_NE(goalsAtEnd.first, goalsAtEnd.second) << "seed " << s;
        EXPECT_EQ(result == mrYes, goalsAtEnd.first > goalsAtEnd.second) << "seed " << s;
        EXPECT_FALSE(FormGame->FManualPlay);
        EXPECT_EQ(FormPK, nullptr);
        // Every kick sounded and was resolved with the synchronous tackle.
        const int tackles = countSounds("TACKLE");
        EXPECT_GE(tackles, 6) << "seed " << s;
        EXPECT_GE(countSounds("KICK"), tackles);
        EXPECT_EQ(sounds.Started().front(), QStringLiteral("OPENING"));
        EXPECT_LT(FormGameWinMes->FMyPlayerIndex, 9);
        EXPECT_LT(FormGameWinMes->FAitePlayerIndex, 9);
    }
}

TEST_F(PKGameTest, BestOfThreeOfShootOutsThroughTheMenu)
{
    ClearGameLaunchers();
    for (int no = gnPK; no <= gnHur; ++no) RegisterGameLauncher(no, PlayPK);
    for (int s = 0; s < 3; ++s) {
        MakeForms();
        seed(100 + s);
        reports.clear();
        ASSERT_TRUE(FormGame->bbKongou3->isEnabled());
        FormGame->bbKongou3->click();
        ASSERT_GE(reports.size(), 2u);
        ASSERT_LE(reports.size(), 3u);
        for (size_t i = 0; i + 1 < reports.size(); ++i) EXPECT_EQ(reports[i].kind, 2);
        EXPECT_TRUE(reports.back().sub.endsWith(QStringLiteral("で勝負あり！")));
        EXPECT_TRUE(FormGame->FMatchDecided);
        EXPECT_FALSE(FormGame->isVisible()) << "the menu closes: the program ends";
    }
}

TEST_F(PKGameTest, PlayedByKeysAndMouseEveryKickStaysManual)
{
    MakeForms();
    seed(7);
    GameTimer input(nullptr, 100, false);
    int n = 0;
    input.OnTimer = [&] {
        if (!FormPK || !FormPK->isVisible()) return;
        ++n;
        if (n % 2) {
            const Qt::Key keys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3};
            QTest::keyClick(FormPK, keys[(n / 2) % 3], (n % 4 == 1) ? Qt::KeypadModifier : Qt::NoModifier);
        } else {
            const QPoint zones[] = {QPoint(140, 250), QPoint(230, 250), QPoint(310, 250)};
            QTest::mouseClick(FormPK->imOmote, Qt::LeftButton, Qt::NoModifier, zones[(n / 2) % 3]);
        }
    };
    onGameShown = [&](Form*) { input.SetEnabled(true); };
    FormGame->cbSetUpOpenStart->setChecked(true);
    FormGame->bbPK->click();
    input.SetEnabled(false);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].code == QStringLiteral("100") || reports[0].code == QStringLiteral("000")) << reports[0].code.toStdString();
    EXPECT_TRUE(FormGame->FManualPlay);
    EXPECT_FALSE(FormGame->isVisible());
}

TEST_F(PKGameTest, SoundSwitchesAreTakenAtCreation)
{
    struct Case {
        bool effectsOff, cheersOff;
    };
    for (const Case c : {Case{true, false}, Case{false, true}, Case{true, true}}) {
        MakeForms();
        seed(3);
        sounds.Clear();
        FormGame->cb2->setChecked(c.effectsOff);
        FormGame->cb3->setChecked(c.cheersOff);
        PlayPK(*FormGame);
        for (const QString& name : sounds.Started()) {
            if (name == QStringLiteral("KANSEI")) EXPECT_FALSE(c.cheersOff);
            else EXPECT_FALSE(c.effectsOff) << name.toStdString();
        }
        if (!c.cheersOff) {
            EXPECT_GT(countSounds("KANSEI"), 0);
        }
        if (!c.effectsOff) {
            EXPECT_GT(countSounds("TACKLE"), 0);
        }
    }
}

TEST_F(PKGameTest, SingleKickForTheSoccerGame)
{
    for (int side : {0, 1}) {
        for (int s = 0; s < 4; ++s) {
            MakeForms();
            seed(20 + s);
            sounds.Clear();
            reports.clear();
            FormGameWinMes->FMyPlayerIndex = 77;
            TFormPK form(FormGame);
            form.SetCaption(QStringLiteral("ＰＫ"));
            form.FSoccerMode = true;
            form.FKickSide = side;
            form.FMySide = side;
            form.FMyPlayerIndex = 2;
            form.FAitePlayerIndex = 4;
            form.SetLeft(123);
            int closeTries = 0;
            onGameShown = [&](Form* f) {
                EXPECT_FALSE(form.Match().Opening);
                // Not centred: the soccer game's place (give or take the window frame).
                EXPECT_NEAR(form.Left(), 123, 4);
                // Closing before the kick is resolved is refused, and the kick goes on.
                f->close();
                ++closeTries;
                EXPECT_TRUE(form.Timer1->Enabled());
                QTest::keyClick(&form, s % 2 ? Qt::Key_1 : Qt::Key_3);
            };
            const int result = form.ShowModal();
            EXPECT_EQ(closeTries, 1);
            const bool scored = form.FKickDir != form.FKeeperDir;
            EXPECT_EQ(result, scored ? mrYes : mrNo);
            EXPECT_TRUE(reports.empty()) << "no report of its own";
            EXPECT_EQ(FormGameWinMes->FMyPlayerIndex, 77);
            EXPECT_EQ(form.imlA.Count(), 4);
            EXPECT_EQ(form.imlB.Count(), 4);
            const std::vector<QString> started = sounds.Started();
            ASSERT_FALSE(started.empty());
            EXPECT_EQ(started.front(), QStringLiteral("CHANGE"));
            EXPECT_EQ(countSounds("OPENING"), 0);
            EXPECT_EQ(countSounds("KANSEI"), 0);
            EXPECT_EQ(countSounds("TACKLE"), 1);
            if (side == 0) {
                EXPECT_EQ(form.FAimDir, s % 2 ? -1 : 1) << "the user's aim";
            } else {
                EXPECT_EQ(form.FKeeperDir, s % 2 ? -1 : 1) << "the user keeps goal";
            }
        }
    }
}

TEST_F(PKGameTest, EarlyCloseOfTheShootOutReportsALoss)
{
    MakeForms();
    seed(5);
    onGameShown = [](Form* f) { f->close(); };
    EXPECT_EQ(PlayPK(*FormGame), mrNo);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].kind, 1);
}

TEST_F(PKGameTest, PauseStopsThePlayAndShowsInTheCaption)
{
    MakeForms();
    seed(9);
    onGameShown = [&](Form* f) {
        QTest::keyClick(f, Qt::Key_Escape);
        EXPECT_EQ(f->Caption(), QStringLiteral("ぱにもこ ＰＫ対決  ※Pause※"));
        const int kicks = FormPK->Match().KickCount;
        const int step = FormPK->Match().Step;
        clock.Advance(5000);
        EXPECT_EQ(FormPK->Match().KickCount, kicks);
        EXPECT_EQ(FormPK->Match().Step, step);
        QTest::keyClick(f, Qt::Key_Escape);
        EXPECT_EQ(f->Caption(), QStringLiteral("ぱにもこ ＰＫ対決"));
    };
    PlayPK(*FormGame);
    EXPECT_EQ(reports.size(), 1u);
}

} // namespace

namespace {

// The scene at moments of a shoot-out, as the user sees it; with POLY_SHOT_DIR set the pictures are
// also written there to be looked at.
TEST_F(PKGameTest, TheSceneShowsEachMoment)
{
    MakeForms();
    seed(11);
    const QString dir = qEnvironmentVariable("POLY_SHOT_DIR");
    std::map<QString, QImage> shots;
    GameTimer watch(nullptr, 100, false);
    int tick = 0;
    bool sawBanner = false, sawTitle = false;
    watch.OnTimer = [&] {
        if (!FormPK || !FormPK->isVisible()) return;
        const TPKMatch& m = FormPK->Match();
        ++tick;
        QString name;
        if (m.Opening && m.Step == 20) name = QStringLiteral("1-opening");
        else if (!m.Opening && m.KickCount == 0 && m.Step == 10 && !m.RunUp && !m.Flying) name = QStringLiteral("2-stand");
        else if (m.Flying && m.Ball.y() < 330 && m.Ball.y() > 310) name = QStringLiteral("3-flight-%1").arg(m.KickCount);
        else if (m.AfterKick == 6 && m.LastGoal) name = QStringLiteral("4-goal-%1").arg(m.KickCount);
        else if (m.AfterKick == 6 && !m.LastGoal) name = QStringLiteral("5-save-%1").arg(m.KickCount);
        if (m.Opening && m.Step > 2) {
            // The title: blue letters around y 220 on the field.
            const QImage& img = FormPK->BackBuffer().Image();
            for (int x = 0; x < img.width(); ++x)
                if (FromPixel(img.pixel(x, 222)) == clBlue) sawTitle = true;
        }
        if (m.AfterKick >= 4 && m.AfterKick <= 12 && m.LastGoal) {
            // The banner's yellow letters slide across its strip.
            const QImage& img = FormPK->BackBuffer().Image();
            for (int y = 185; y < 215; ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (FromPixel(img.pixel(x, y)) == RGBColor(255, 226, 40)) sawBanner = true;
        }
        if (!name.isEmpty() && !shots.count(name)) shots[name] = FormPK->grab().toImage();
    };
    onGameShown = [&](Form*) { watch.SetEnabled(true); };
    FormGame->cbSetUpOpenStart->setChecked(true); // zone highlight on
    PlayPK(*FormGame);
    watch.SetEnabled(false);
    EXPECT_TRUE(sawTitle);
    EXPECT_TRUE(sawBanner);
    EXPECT_TRUE(shots.count(QStringLiteral("1-opening")));
    EXPECT_TRUE(shots.count(QStringLiteral("2-stand")));
    for (const auto& [name, img] : shots) {
        EXPECT_EQ(img.size(), QSize(470, 513)) << name.toStdString();
        if (!dir.isEmpty()) img.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
}

} // namespace

namespace {

TEST_F(PKGameTest, SuddenDeathLineAndAClearedBoard)
{
    MakeForms();
    seed(2);
    TFormPK form(FormGame);
    form.SetCaption(QStringLiteral("ぱにもこ ＰＫ対決"));
    form.imlMyChara.Assign(FormGame->imlAnime);
    form.show();
    form.Timer1->SetEnabled(false);
    TPKMatch& m = form.Match();
    m.Opening = false;
    m.KickCount = 10;
    m.SetUpKick();
    form.DrawScene();
    const QImage& img = form.BackBuffer().Image();
    // A yellow ground behind the line at the top, centred, and no marks on the board.
    int yellowTop = 0, left = 470, right = 0;
    for (int x = 0; x < 470; ++x)
        if (FromPixel(img.pixel(x, 8)) == clYellow) {
            ++yellowTop;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    EXPECT_GT(yellowTop, 60);
    EXPECT_NEAR((left + right) / 2, 235, 3);
    for (int x = 170; x < 300; ++x) EXPECT_EQ(FromPixel(img.pixel(x, 43)), clYellow) << x;
    if (!qEnvironmentVariable("POLY_SHOT_DIR").isEmpty())
        form.grab().toImage().save(qEnvironmentVariable("POLY_SHOT_DIR") + QStringLiteral("/6-sudden-death.png"));
    form.hide();
}

} // namespace

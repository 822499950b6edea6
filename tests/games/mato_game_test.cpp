// The target kick on the real shell forms, offscreen, on the virtual clock: seeded games without
// input, kicks by click and Enter, the option, and the scene.
#include "GameRandom.h"
#include "QuickGames.h"
#include "QuickGameFixture.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include "UnitKakure.h"
#include "UnitMato.h"
#include <QAbstractItemView>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace {

class MatoGameTest : public QuickGameFixture {
protected:
    void ResultShown() override
    {
        if (!FormMato) return;
        const mato::TMatoGame& g = FormMato->Game();
        finalScores.push_back({g.Score[0], g.Score[1], g.WinPoint});
    }
    struct Scores {
        int mine, aite, winPoint;
    };
    std::vector<Scores> finalScores;
};

// Half the games with nobody kicking for me (the opponent wins them), half under auto-progress.
TEST_F(MatoGameTest, SeededGamesWithoutInputEndOnceWithAValidResult)
{
    for (int s = 0; s < 50; ++s) {
        MakeForms();
        seed(s);
        reports.clear();
        finalScores.clear();
        const bool autoOn = s % 2;
        FormGame->cbAuto->setChecked(autoOn);
        FormGame->FGameNo = gnMato;
        const quint16 result = PlayMato(*FormGame);
        ASSERT_TRUE(result == mrYes || result == mrNo) << "seed " << s;
        ASSERT_EQ(reports.size(), 1u) << "seed " << s;
        EXPECT_EQ(reports[0].kind, result == mrYes ? 0 : 1);
        EXPECT_EQ(reports[0].code, QStringLiteral("%1%2").arg(result == mrYes ? 1 : 0).arg(autoOn ? 1 : 0) + QLatin1Char('0')) << "seed " << s;
        ASSERT_EQ(finalScores.size(), 1u);
        const Scores sc = finalScores[0];
        EXPECT_EQ(mato::TMatoGame::DecideWinner(sc.mine, sc.aite, sc.winPoint), result == mrYes ? 0 : 1) << "seed " << s;
        if (!autoOn) {
            EXPECT_EQ(result, mrNo);
            EXPECT_TRUE(FormGame->FManualPlay);
        }
        EXPECT_EQ(FormGame->cbAuto->isChecked(), autoOn) << "the box is copied back";
        EXPECT_EQ(FormMato, nullptr);
        EXPECT_EQ(sounds.Started().front(), QStringLiteral("OPENING"));
        EXPECT_GT(sounds.Count(QStringLiteral("KICK")), 0);
        sounds.Clear();
    }
}

// The user kicks by clicks and Enter; the winning points are set to 20 in the opening with the keys.
TEST_F(MatoGameTest, PlayedByClicksAndEnterWithTwentyPoints)
{
    seed(3);
    GameTimer input(nullptr, 300, false);
    int n = 0, myKicks = 0;
    input.OnTimer = [&] {
        if (!FormMato || !FormMato->isVisible() || FormMato->Opening() || FormMato->Game().Decided()) return;
        const mato::TMatoGame& g = FormMato->Game();
        const int resting = (g.Balls[0][0].State == mato::bsResting) + (g.Balls[0][1].State == mato::bsResting);
        if (++n % 2) QTest::mouseClick(FormMato->imOmote, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
        else QTest::keyClick(FormMato, Qt::Key_Return);
        myKicks += resting - (g.Balls[0][0].State == mato::bsResting) - (g.Balls[0][1].State == mato::bsResting);
    };
    onGameShown = [&](Form* f) {
        QTest::keyClick(f, Qt::Key_F2);
        ASSERT_TRUE(FormMato->cobOption->DroppedDown());
        QTest::keyClick(FormMato->cobOption->view(), Qt::Key_Down);
        QTest::keyClick(FormMato->cobOption->view(), Qt::Key_Return);
        EXPECT_FALSE(FormMato->cobOption->DroppedDown());
        EXPECT_EQ(FormMato->Game().WinPoint, 20);
        input.SetEnabled(true);
    };
    FormGame->FGameNo = gnMato;
    PlayMato(*FormGame);
    input.SetEnabled(false);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].code == QStringLiteral("101") || reports[0].code == QStringLiteral("001")) << reports[0].code.toStdString();
    ASSERT_EQ(finalScores.size(), 1u);
    EXPECT_EQ(finalScores[0].winPoint, 20);
    EXPECT_GE(std::max(finalScores[0].mine, finalScores[0].aite), 20);
    EXPECT_TRUE(FormGame->FManualPlay);
    EXPECT_GT(myKicks, 5);
}

// With the option list open, Enter belongs to the list; with auto-progress on, a click does nothing.
TEST_F(MatoGameTest, EnterInTheOpenListAndClicksUnderAutoDoNotKick)
{
    seed(5);
    onGameShown = [&](Form* f) {
        auto* form = static_cast<TFormMato*>(f);
        clock.Advance(100 * 45); // past the opening
        ASSERT_FALSE(form->Opening());
        QTest::keyClick(f, Qt::Key_F2);
        ASSERT_TRUE(form->cobOption->DroppedDown());
        QTest::keyClick(form->cobOption->view(), Qt::Key_Return);
        EXPECT_EQ(form->Game().Balls[0][0].State, mato::bsResting);
        EXPECT_EQ(dialogs.Boxes().size(), 1u) << "the option is refused after the opening";
        QTest::keyClick(f, Qt::Key_F3);
        ASSERT_TRUE(form->cbAuto->isChecked());
        QTest::mouseClick(form->imOmote, Qt::LeftButton, Qt::NoModifier, QPoint(200, 300));
        EXPECT_EQ(form->Game().Balls[0][0].State, mato::bsResting);
        f->close();
    };
    FormGame->FGameNo = gnMato;
    EXPECT_EQ(PlayMato(*FormGame), mrNo);
    EXPECT_FALSE(FormGame->FManualPlay);
}

// Both games have their buttons, and the best-of-three match (here with the PK standing in for the
// games still to come) draws them.
TEST_F(MatoGameTest, TheMenuButtonsAndTheBestOfThreeReachBothGames)
{
    EXPECT_TRUE(FormGame->bbMato->isEnabled());
    EXPECT_TRUE(FormGame->bbKakure->isEnabled());
    for (int no : {gnRun, gnGolf, gnHur})
        if (!HasGameLauncher(no)) RegisterGameLauncher(no, PlayPK);
    std::set<QString> played;
    onGameShown = [&](Form* f) {
        played.insert(QString::fromLatin1(f->metaObject()->className()));
        // Left alone, each game plays itself out (auto-progress for the target kick).
        if (auto* mato = qobject_cast<TFormMato*>(f)) mato->cbAuto->setChecked(true);
    };
    for (int s = 0; s < 12 && !(played.count(QStringLiteral("TFormMato")) && played.count(QStringLiteral("TFormKakure"))); ++s) {
        MakeForms();
        seed(200 + s);
        reports.clear();
        ASSERT_TRUE(FormGame->bbKongou3->isEnabled());
        FormGame->bbKongou3->click();
        ASSERT_GE(reports.size(), 2u);
        EXPECT_TRUE(FormGame->FMatchDecided);
    }
    EXPECT_TRUE(played.count(QStringLiteral("TFormMato")));
    EXPECT_TRUE(played.count(QStringLiteral("TFormKakure")));
}

// The scene at its moments; with POLY_SHOT_DIR set the pictures are also written there.
TEST_F(MatoGameTest, TheSceneShowsTheTitleTheFlashAndSuddenDeath)
{
    seed(1);
    TFormMato form(FormGame);
    form.SetCaption(QStringLiteral("ぱにもこ まと当て対決"));
    form.imlMyChara.Assign(FormGame->imlAnime);
    form.show();
    form.Timer1->SetEnabled(false);
    const QString dir = qEnvironmentVariable("POLY_SHOT_DIR");
    auto shot = [&](const char* name) {
        if (!dir.isEmpty()) form.grab().toImage().save(dir + QStringLiteral("/mato-%1.png").arg(QLatin1String(name)));
    };
    form.DrawScene();
    shot("opening");
    const QImage& img = form.BackBuffer().Image();
    auto countColour = [&](QRect r, TColor c) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += FromPixel(img.pixel(x, y)) == c;
        return n;
    };
    EXPECT_GT(countColour(QRect(0, 200, 630, 30), clBlue), 50) << "the title";

    for (int i = 0; i < 45; ++i) form.Timer1Timer();
    ASSERT_FALSE(form.Opening());
    mato::TMatoGame& g = form.Game();
    g.Score[0] = -4;
    g.Score[1] = 10;
    g.Flash = 9;
    form.DrawScene();
    shot("play");
    const TColor flame = RGBColor(250, 150, 30);
    EXPECT_GT(countColour(QRect(230, 80, 30, 30), flame), 20) << "the flash of a hit";
    EXPECT_EQ(countColour(QRect(470, 165, 120, 40), clRed), 0) << "no sudden death at -4 : 10";
    g.Score[0] = 12;
    g.Score[1] = 12;
    g.Flash = 8;
    form.DrawScene();
    EXPECT_EQ(countColour(QRect(230, 80, 30, 30), flame), 0) << "the flash lasts one tick";
    shot("sudden-death");
    EXPECT_GT(countColour(QRect(470, 165, 120, 40), clRed), 30);
    form.hide();
}

} // namespace

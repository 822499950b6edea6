// Hide-and-seek on the real shell forms, offscreen, on the virtual clock: seeded games without
// input, choosing by click and keys, the bird picture and the third sheet from the data folder
// (missing, hostile or not a file), and the early close.
#include "GameRandom.h"
#include "PictureFile.h"
#include "QuickGames.h"
#include "QuickGameFixture.h"
#include "TestSupport.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include "UnitKakure.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kakure;

namespace {

class KakureGameTest : public QuickGameFixture {
protected:
    KakureGameTest() { seedOffset = 11; }
    void ResultShown() override
    {
        if (FormKakure) foundAtEnd = FormKakure->Game().Found(wkAite) ? wkAite : FormKakure->Game().Found(wkMine) ? wkMine : -1;
    }
    int foundAtEnd = -1;
    quint16 play()
    {
        FormGame->FGameNo = gnKakure;
        FormGame->FOptionIndex = 0;
        return PlayKakure(*FormGame);
    }
    QString birdPath() const { return FormGame->FDataDir + kBirdFileName; }
};

QImage solidPicture(int w, int h, QRgb c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

TEST_F(KakureGameTest, SeededGamesWithoutInputEndOnceAsAutoPlayed)
{
    int won = 0;
    for (int s = 0; s < 50; ++s) {
        MakeForms();
        seed(s);
        reports.clear();
        sounds.Clear();
        const quint16 result = play();
        ASSERT_TRUE(result == mrYes || result == mrNo) << "seed " << s;
        ASSERT_EQ(reports.size(), 1u) << "seed " << s;
        // Won or lost; no round had a choice, so the game counts as auto-played.
        EXPECT_EQ(reports[0].code, result == mrYes ? QStringLiteral("110") : QStringLiteral("010")) << "seed " << s;
        EXPECT_EQ(foundAtEnd, result == mrYes ? wkAite : wkMine) << "seed " << s << ": won when the seeker found the opponent";
        EXPECT_FALSE(FormGame->FManualPlay);
        EXPECT_EQ(FormKakure, nullptr);
        EXPECT_EQ(sounds.Started().front(), QStringLiteral("OPENING"));
        EXPECT_GT(sounds.Count(QStringLiteral("KANSEI")), 0);
        won += result == mrYes;
    }
    EXPECT_GT(won, 5);
    EXPECT_LT(won, 45);
}

// The user picks by click and by digits (main row and keypad), after keys that do not choose; the
// game stays a manual one.
TEST_F(KakureGameTest, ChoosingByClicksAndDigitsKeepsTheGameManual)
{
    seed(21);
    GameTimer input(nullptr, 700, false);
    int n = 0, picks = 0;
    input.OnTimer = [&] {
        if (!FormKakure || !FormKakure->Game().Choosing()) return;
        const TKakureGame& g = FormKakure->Game();
        int box = n % kBoxCount;
        while (!g.Exists(box)) box = (box + 1) % kBoxCount;
        QTest::keyClick(FormKakure, Qt::Key_F5);
        QTest::keyClick(FormKakure, Qt::Key_F2);
        ASSERT_TRUE(g.Choosing()) << "F2, F5 and F6 do not choose";
        if (n % 3 == 0) {
            const QPoint p = TKakureGame::kBoxes[box] + QPoint(30, 30);
            QTest::mouseClick(FormKakure->imOmote, Qt::LeftButton, Qt::NoModifier, p);
        } else {
            QTest::keyClick(FormKakure, Qt::Key(Qt::Key_1 + box), n % 3 == 1 ? Qt::KeypadModifier : Qt::NoModifier);
        }
        EXPECT_FALSE(g.Choosing());
        EXPECT_EQ(g.Mine().FSpot, box);
        EXPECT_TRUE(g.PickedByHand);
        ++n;
        ++picks;
    };
    onGameShown = [&](Form*) { input.SetEnabled(true); };
    play();
    input.SetEnabled(false);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].code == QStringLiteral("100") || reports[0].code == QStringLiteral("000")) << reports[0].code.toStdString();
    EXPECT_TRUE(FormGame->FManualPlay);
    EXPECT_GT(picks, 0);
}

// Each digit, on the main row and the keypad, pressed on the opening's last tick and on each of the
// first round's first ticks, then another digit: once the round has begun the hider takes the box of
// the first by hand, the second changes nothing, and the next scene shows that box's number in red.
TEST_F(KakureGameTest, EachDigitAtTheFirstTicksOfARoundTakesItsBox)
{
    for (int digit = 1; digit <= kBoxCount; ++digit)
        for (int tick = -1; tick <= 6; ++tick) {
            MakeForms();
            seed(digit * 31 + tick);
            onGameShown = [&](Form* f) {
                auto* form = static_cast<TFormKakure*>(f);
                const TKakureGame& g = form->Game();
                auto until = [&](const std::function<bool()>& done) {
                    for (int ms = 0; ms < 10000 && !done(); ms += 10) clock.Advance(10);
                };
                // Tick -1 is the opening's last; tick n of the round has stepped the game n times.
                until([&] { return tick < 0 ? form->TickCount() == kOpeningTicks - 1 : g.Round == 1 && g.Tick == tick; });
                const Qt::KeyboardModifiers pad = tick % 2 ? Qt::KeypadModifier : Qt::NoModifier;
                QTest::keyClick(form, Qt::Key(Qt::Key_0 + digit), pad);
                QTest::keyClick(form, Qt::Key(Qt::Key_1 + digit % kBoxCount), pad);
                const int seen = g.Tick;
                until([&] { return g.Round == 1 && g.Tick > seen; });
                const std::string at = std::to_string(digit) + " on tick " + std::to_string(tick);
                if (tick < 0) {
                    EXPECT_TRUE(g.Choosing()) << at << ": a key in the opening is nobody's choice";
                    f->close();
                    return;
                }
                EXPECT_FALSE(g.Choosing()) << at;
                EXPECT_EQ(g.Mine().FSpot, digit - 1) << at;
                EXPECT_TRUE(g.PickedByHand) << at;
                const QImage shown = form->BackBuffer().Image();
                for (int k = 0; k < kBoxCount; ++k) {
                    const TRect r = TKakureGame::BoxRect(k);
                    bool red = false;
                    for (int y = r.Top; y < r.Bottom && !red; ++y)
                        for (int x = r.Left; x < r.Right && !red; ++x) red = (shown.pixel(x, y) & 0xFFFFFFu) == 0xDC1E1Eu;
                    EXPECT_EQ(red, k == digit - 1) << at << ": box " << k + 1;
                }
                f->close();
            };
            play();
        }
}

// Whatever lies in the data folder under the bird's name, the game starts with a bird: the user's
// picture stretched to size, or the built-in one.
TEST_F(KakureGameTest, TheBirdPictureFallsBackToTheBuiltInOne)
{
    const QImage builtIn = ResourceBitmap(QStringLiteral("KAKURE_BIRD"));
    ASSERT_EQ(builtIn.size(), QSize(kBirdWidth, kBirdHeight));
    QByteArray valid;
    ASSERT_TRUE(EncodeBmp24(solidPicture(70, 45, 0xFFF08020u)).size() > 0);
    valid = EncodeBmp24(solidPicture(70, 45, 0xFFF08020u));
    struct Case {
        const char* what;
        std::function<void(const QString&)> make;
        bool own;
    };
    const Case cases[] = {
        {"missing", [](const QString&) {}, false},
        {"the user's picture", [&](const QString& p) { WriteFile(p, valid); }, true},
        {"not a picture", [](const QString& p) { WriteFile(p, QByteArray("BMnot really a bitmap at all")); }, false},
        {"cut short", [&](const QString& p) { WriteFile(p, valid.left(80)); }, false},
        {"empty", [](const QString& p) { WriteFile(p, QByteArray()); }, false},
        {"a folder", [](const QString& p) { QDir().mkpath(p); }, false},
        {"a pipe", [](const QString& p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0); }, false},
        {"a device", [](const QString& p) { ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), p)); }, false},
    };
    for (const Case& c : cases) {
        MakeForms();
        seed(2);
        reports.clear();
        QDir(FormGame->FDataDir).removeRecursively();
        QDir().mkpath(FormGame->FDataDir);
        c.make(birdPath());
        bool shown = false;
        onGameShown = [&](Form* f) {
            shown = true;
            auto* form = static_cast<TFormKakure*>(f);
            EXPECT_TRUE(form->Timer1->Enabled()) << c.what;
            for (const TBitmap& bird : form->Birds) {
                ASSERT_EQ(bird.Image().size(), QSize(kBirdWidth, kBirdHeight)) << c.what;
                if (c.own) {
                    EXPECT_EQ(bird.Image().pixel(70, 45) & 0xFFFFFFu, 0xF08020u) << c.what;
                } else {
                    EXPECT_EQ(bird.Image(), builtIn.convertToFormat(QImage::Format_RGB32)) << c.what;
                }
            }
            f->close();
        };
        EXPECT_EQ(play(), mrNo) << c.what;
        EXPECT_TRUE(shown) << c.what;
        EXPECT_EQ(reports.size(), 1u) << c.what;
        QFile::remove(birdPath());
    }
}

// The seeker is a player of the third sample sheet; without a readable one it is the seeker stored
// with the game.
TEST_F(KakureGameTest, TheSeekerComesFromTheThirdSheetOrTheStoredPictures)
{
    TImageList stored(70, 70);
    TBitmap storedSheet;
    storedSheet.Assign(ResourceBitmap(QStringLiteral("KAKURE_ONI")));
    AddSheetFrame(stored, storedSheet, 0, 0);
    QImage sheet = solidPicture(280, 70, 0xFFFFFFFFu);
    for (int y = 10; y < 60; ++y)
        for (int x = 0; x < 280; ++x)
            if (x % 70 > 10 && x % 70 < 60) sheet.setPixel(x, y, 0xFFC020C0u);
    struct Case {
        const char* what;
        QByteArray data;
        bool fromSheet;
    };
    const Case cases[] = {
        {"missing", QByteArray(), false},
        {"a sheet", EncodeBmp24(sheet), true},
        {"not a picture", QByteArray("garbage"), false},
    };
    for (const Case& c : cases) {
        MakeForms();
        seed(4);
        reports.clear();
        QDir().mkpath(QFileInfo(FormGame->FThirdPicFile).path());
        QFile::remove(FormGame->FThirdPicFile);
        if (!c.data.isNull()) WriteFile(FormGame->FThirdPicFile, c.data);
        onGameShown = [&](Form* f) {
            auto* form = static_cast<TFormKakure*>(f);
            ASSERT_EQ(form->imlC.Count(), 4) << c.what;
            const bool magenta = (form->imlC.Image(0).pixel(35, 35) & 0xFFFFFFu) == 0xC020C0u;
            EXPECT_EQ(magenta, c.fromSheet) << c.what;
            if (!c.fromSheet) {
                EXPECT_EQ(form->imlC.Image(0), stored.Image(0)) << c.what;
            }
            f->close();
        };
        EXPECT_EQ(play(), mrNo) << c.what;
        EXPECT_EQ(reports.size(), 1u) << c.what;
    }
}

TEST_F(KakureGameTest, TheWholeFieldShowsAndAnEarlyCloseAfterTheOpponentIsFoundWins)
{
    seed(6);
    onGameShown = [&](Form* f) {
        auto* form = static_cast<TFormKakure*>(f);
        EXPECT_EQ(form->imOmote->size(), QSize(kFieldWidth, kFieldHeight));
        EXPECT_TRUE(form->rect().contains(form->imOmote->geometry()));
        clock.Advance(100 * 40);
        ASSERT_FALSE(form->Opening());
        ASSERT_EQ(form->Game().Round, 1);
        form->Game().Result = krAiteFound;
        f->close();
    };
    EXPECT_EQ(play(), mrYes);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].code.left(1), QStringLiteral("1"));
}

} // namespace

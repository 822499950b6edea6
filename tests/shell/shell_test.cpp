// The game program's shell on real forms: the menu, the best-of-three match, the result window,
// the random service, window placement, help, team sheets and the link from the picture editor.
#include "Clock.h"
#include "Dialogs.h"
#include "GameRandom.h"
#include "MyFileDialogs.h"
#include "ShellFixture.h"
#include "Help.h"
#include "Paths.h"
#include "PictureFile.h"
#include "Resources.h"
#include "SheetLink.h"
#include "TestSupport.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include "UnitJusinFNSelect.h"
#include "WindowPlacement.h"
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <deque>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>

namespace {

struct WindowShot {
    int kind;
    QString mainText, subText, caption, linkText;
    int gameNo;
    qint64 shownAt;
};

class ShellTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(tmp.path()));
        MakeForms();
    }
    // Fake quick games: each reports the next outcome of the queue and records its number.
    void registerFakeGames()
    {
        for (int no = gnPK; no <= gnHur; ++no)
            RegisterGameLauncher(no, [this, no](TGameHost& g) -> quint16 {
                played.push_back(no);
                gameNoDuringPlay.push_back(FormGame->FGameNo);
                const bool won = outcomes.empty() ? true : outcomes.front();
                if (!outcomes.empty()) outcomes.pop_front();
                g.ShowGameResult(quint16(g.GetModeBits() + no + (won ? 0x2000 : 0x1000)));
                return won ? mrYes : mrNo;
            });
    }
    // Records each result window; closes it by hand unless it closes itself.
    void watchResultWindow(bool closeGoesOnByHand = false)
    {
        Form::SetModalHook([this, closeGoesOnByHand](Form* f) {
            if (f != FormGameWinMes) return;
            auto* w = FormGameWinMes;
            shots.push_back({w->FScreenKind, w->FMainText, w->FSubText, w->Caption(), w->LinkText(), w->FGameNo, clock.NowMs()});
            if (w->FScreenKind != 2 || closeGoesOnByHand) w->Close();
        });
    }

    std::deque<bool> outcomes;
    std::vector<int> played, gameNoDuringPlay;
    std::vector<WindowShot> shots;
};

TEST_F(ShellTest, MenuStartsWithItsDefaults)
{
    EXPECT_EQ(FormGame->Caption(), QStringLiteral("ポリコロ ～ presented by ぱにもこ"));
    EXPECT_EQ(FormGame->width(), 648);
    EXPECT_EQ(FormGame->height(), 593);
    for (QCheckBox* cb : {FormGame->cbSetUpOpenStart, FormGame->cbAuto, FormGame->cb1, FormGame->cb2, FormGame->cb3})
        EXPECT_FALSE(cb->isChecked()) << cb->text().toStdString();
    EXPECT_EQ(FormGame->FPlayerName, QStringLiteral("もこ太郎"));
    EXPECT_EQ(FormGame->FSeriesName, QStringLiteral("ぱにもこ"));
    EXPECT_EQ(FormGame->FDataDir, tmp.path() + QStringLiteral("/画像と音声/"));
    EXPECT_EQ(FormGame->FMyPicFile, FormGame->FDataDir + QStringLiteral("ゲームの選手画像/サンプル選手画像11.bmp"));
    EXPECT_EQ(FormGame->edMyPic->text(), QStringLiteral("サンプル選手画像11.bmp"));
    EXPECT_EQ(FormGame->edAitePic->text(), QStringLiteral("サンプル選手画像12.bmp"));
    EXPECT_TRUE(FormGame->FThirdPicFile.endsWith(QStringLiteral("ゲームの選手画像/サンプル選手画像03.bmp")));
    EXPECT_TRUE(FormGame->edMyPic->isReadOnly());
    EXPECT_EQ(FormGame->edMyPic->toolTip(), FormGame->btMyPic->toolTip());
    EXPECT_EQ(FormGame->btClose->toolTip(), QStringLiteral("このフォームを閉じます。　【ｷｰﾎﾞｰﾄﾞ】<F4>, <Esc>"));
    EXPECT_TRUE(FormGame->FManualPlay);
    EXPECT_EQ(FormGame->FMatchLength, 1);
    EXPECT_EQ(FormGame->imlAnime.Count(), 12);
    EXPECT_GE(FormGame->y(), 0);
}

// Enter on a focused game button plays it, as in any dialog; the menu then closes.
TEST_F(ShellTest, EnterOnAFocusedGameButtonPlaysIt)
{
    registerFakeGames();
    MakeForms();
    watchResultWindow();
    QApplication::setActiveWindow(FormGame);
    FormGame->bbKakure->setFocus();
    QTest::keyClick(FormGame->bbKakure, Qt::Key_Return);
    EXPECT_EQ(played, std::vector<int>{gnKakure});
    EXPECT_FALSE(FormGame->isVisible());
}

TEST_F(ShellTest, SoundSwitchChecksCheersOneWayOnly)
{
    FormGame->cb2->click();
    EXPECT_TRUE(FormGame->cb2->isChecked());
    EXPECT_TRUE(FormGame->cb3->isChecked());
    FormGame->cb2->click();
    EXPECT_FALSE(FormGame->cb2->isChecked());
    EXPECT_TRUE(FormGame->cb3->isChecked());
    // Checking the start-settings box runs the same handler, and touches nothing while cb2 is off.
    FormGame->cb3->setChecked(false);
    FormGame->cbSetUpOpenStart->click();
    EXPECT_FALSE(FormGame->cb3->isChecked());
}

TEST_F(ShellTest, EscAndF4CloseTheMenuAltAndOtherKeysDoNot)
{
    QTest::keyClick(FormGame, Qt::Key_A);
    QTest::keyClick(FormGame, Qt::Key_Alt);
    EXPECT_TRUE(FormGame->isVisible());
    QTest::keyClick(FormGame, Qt::Key_Escape);
    EXPECT_FALSE(FormGame->isVisible());
    MakeForms();
    QTest::keyClick(FormGame->bbPK, Qt::Key_F4);
    EXPECT_FALSE(FormGame->isVisible());
}

TEST_F(ShellTest, GamesWithoutAFormHaveTheirButtonsDisabled)
{
    RegisterGameLauncher(gnPK, [](TGameHost&) -> quint16 { return mrYes; });
    MakeForms();
    EXPECT_TRUE(FormGame->bbPK->isEnabled());
    EXPECT_FALSE(FormGame->bbKakure->isEnabled());
    EXPECT_FALSE(FormGame->bbSoccer->isEnabled());
    EXPECT_FALSE(FormGame->bbKongou3->isEnabled());
    registerFakeGames();
    MakeForms();
    EXPECT_TRUE(FormGame->bbKongou3->isEnabled());
    EXPECT_FALSE(FormGame->bbBaseBall->isEnabled());
}

TEST_F(ShellTest, SingleGameShowsItsResultAndEndsTheProgram)
{
    registerFakeGames();
    MakeForms();
    watchResultWindow();
    outcomes = {true};
    FormGame->bbMato->click();
    ASSERT_EQ(played, std::vector<int>{gnMato});
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(shots[0].kind, 0);
    EXPECT_EQ(shots[0].mainText, QStringLiteral("勝ちました～"));
    EXPECT_EQ(shots[0].subText, QString());
    EXPECT_EQ(shots[0].caption, QStringLiteral("ポリコロ"));
    EXPECT_EQ(shots[0].gameNo, gnMato);
    EXPECT_FALSE(FormGame->tmAutoClose->Enabled());
    EXPECT_EQ(FormGameWinMes->FCodeText, QStringLiteral("100"));
    EXPECT_FALSE(FormGame->isVisible());
}

TEST_F(ShellTest, BestOfThreePlaysUntilDecidedWithoutRepeats)
{
    struct Case {
        std::deque<bool> outcomes;
        size_t games;
        int lastKind;
        QString lastSub;
    };
    const Case cases[] = {
        {{true, true}, 2, 0, QStringLiteral("2 勝 0 敗で勝負あり！")},
        {{false, false}, 2, 1, QStringLiteral("0 勝 2 敗で勝負あり！")},
        {{true, false, true}, 3, 0, QStringLiteral("2 勝 1 敗で勝負あり！")},
        {{false, true, false}, 3, 1, QStringLiteral("1 勝 2 敗で勝負あり！")},
    };
    for (int seed = 0; seed < 3; ++seed) {
        for (const Case& c : cases) {
            registerFakeGames();
            MakeForms();
            watchResultWindow();
            played.clear();
            gameNoDuringPlay.clear();
            shots.clear();
            outcomes = c.outcomes;
            RandSeed = std::uint32_t(seed * 7919);
            FormGame->bbKongou3->click();
            ASSERT_EQ(played.size(), c.games);
            EXPECT_EQ(std::set<int>(played.begin(), played.end()).size(), played.size()) << "a game repeated";
            for (int no : gameNoDuringPlay) EXPECT_EQ(no, gnKongou3);
            ASSERT_EQ(shots.size(), c.games);
            for (size_t i = 0; i + 1 < shots.size(); ++i) {
                EXPECT_EQ(shots[i].kind, 2);
                EXPECT_EQ(shots[i].caption, QStringLiteral("ポリコロ （5秒後に自動で閉じます。）"));
                EXPECT_TRUE(shots[i].subText.endsWith(QStringLiteral(" 敗")));
                EXPECT_FALSE(shots[i].subText.contains(QStringLiteral("勝負あり")));
                // It closed itself five seconds later on the clock.
                EXPECT_GE(shots[i + 1].shownAt - shots[i].shownAt, 5000);
            }
            EXPECT_EQ(shots.back().kind, c.lastKind);
            EXPECT_EQ(shots.back().subText, c.lastSub);
            EXPECT_EQ(shots.back().caption, QStringLiteral("ポリコロ"));
            for (const auto& s : shots) EXPECT_TRUE(s.linkText.isEmpty());
            EXPECT_TRUE(FormGame->FMatchDecided);
            EXPECT_FALSE(FormGame->tmAutoClose->Enabled());
            EXPECT_FALSE(FormGame->isVisible());
        }
    }
}

TEST_F(ShellTest, FirstWinOfAMatchShowsTheTallyInGreenScene)
{
    registerFakeGames();
    MakeForms();
    watchResultWindow(/*closeGoesOnByHand=*/true);
    outcomes = {true, true};
    FormGame->bbKongou3->click();
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_EQ(shots[0].subText, QStringLiteral("1 勝 0 敗"));
    EXPECT_EQ(shots[0].mainText, QStringLiteral("勝ちました～"));
    EXPECT_EQ(shots[1].subText, QStringLiteral("2 勝 0 敗で勝負あり！"));
}

TEST_F(ShellTest, ResultCodesAndTheirText)
{
    FormGame->FManualPlay = false;
    FormGame->FOptionIndex = 3;
    EXPECT_EQ(FormGame->GetModeBits(), 0x800 + 0x300);
    FormGame->FManualPlay = true;
    FormGame->FOptionIndex = 0;
    EXPECT_EQ(FormGame->GetModeBits(), 0);
    const struct {
        quint16 code;
        const char* text;
    } table[] = {
        {0x2000 + 0x800 + 0x100 + 5, "111"},
        {0x1000 + 1, "000"},
        {0x2000 + 0x800 + 0x200 + 8, "112"},
        {0x1000 + 0x700 + 6, "007"},
        {0x2000 + 0x700 + 0x800 + 4, "117"},
    };
    for (const auto& t : table) EXPECT_EQ(FormGame->ResultCodeText(t.code, 1), QString::fromLatin1(t.text)) << t.code;
    EXPECT_EQ(FormGame->ResultCodeText(0x2000 + 0x100, 2), QStringLiteral("010001"));
}

TEST_F(ShellTest, ResultWindowOffersTheLinkOfItsGame)
{
    int records = 0, saves = 0;
    bool canSave = false;
    ResultLinks().ShowGameRecord = [&] { ++records; };
    ResultLinks().SaveReplayManually = [&] { ++saves; };
    ResultLinks().CanSaveReplay = [&] { return canSave; };
    auto showFor = [&](int gameNo) {
        FormGameWinMes->FGameNo = gameNo;
        FormGameWinMes->FScreenKind = 0;
        FormGameWinMes->show();
        const QString link = FormGameWinMes->LinkText();
        if (!link.isEmpty()) {
            const QPoint c = FormGameWinMes->LinkRect().center();
            FormGameWinMes->imOmoteMouseMove({}, c.x(), c.y());
            FormGameWinMes->imOmoteMouseUp(TMouseButton::mbLeft, {}, c.x(), c.y());
            FormGameWinMes->imOmoteMouseMove({}, 1, 1);
            FormGameWinMes->imOmoteMouseUp(TMouseButton::mbLeft, {}, 1, 1);
        }
        FormGameWinMes->hide();
        return link;
    };
    EXPECT_EQ(showFor(gnBaseBall), QStringLiteral("打撃データ表示"));
    EXPECT_EQ(records, 1);
    EXPECT_EQ(showFor(gnSoccer), QString());
    canSave = true;
    EXPECT_EQ(showFor(gnSoccer), QStringLiteral("ﾘﾌﾟﾚｲ手動保存"));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(showFor(gnKongou3), QString());
    EXPECT_EQ(showFor(gnPK), QString());
    // The link sits in the bottom right corner.
    showFor(gnBaseBall);
    EXPECT_EQ(FormGameWinMes->LinkRect().right(), 340 - 8 - 1);
    ResultLinks() = {};
}

TEST_F(ShellTest, ResultWindowAnimatesAndFacesThePlayersTowardEachOther)
{
    FormGameWinMes->FScreenKind = 0;
    FormGameWinMes->FMainText = QStringLiteral("勝ちました～");
    FormGameWinMes->show();
    const int f0 = FormGameWinMes->FrameCounter();
    clock.Advance(150 * 4);
    EXPECT_EQ(FormGameWinMes->FrameCounter(), f0 + 4);
    // imlA: frame 0, frame 1, then mirrored; imlB starts mirrored.
    ASSERT_EQ(FormGameWinMes->imlA.Count(), 4);
    ASSERT_EQ(FormGameWinMes->imlB.Count(), 4);
    EXPECT_EQ(FormGameWinMes->imlA.Image(0), FormGameWinMes->imlA.Image(2).mirrored(true, false));
    EXPECT_EQ(FormGameWinMes->imlB.Image(2), FormGameWinMes->imlB.Image(0).mirrored(true, false));
    QTest::keyClick(FormGameWinMes, Qt::Key_Escape);
    EXPECT_FALSE(FormGameWinMes->isVisible());
    EXPECT_FALSE(FormGameWinMes->Timer1->Enabled());
}

TEST_F(ShellTest, RandomServiceAlternatesBlocks)
{
    auto lcg = [](std::uint32_t seed, int n, int count) {
        RandSeed = seed;
        std::vector<int> v;
        for (int i = 0; i < count; ++i) v.push_back(LcgRandom(n));
        return v;
    };
    auto mt = [](std::uint32_t seed, int n, int count) {
        MTSeed(seed);
        std::vector<int> v;
        for (int i = 0; i < count; ++i) v.push_back(MTRandomInt(n));
        return v;
    };
    const std::vector<int> l = lcg(777, 1000, 60), m = mt(4242, 1000, 40);
    RandSeed = 777;
    MTSeed(4242);
    FormGame->FRandomCount = 0;
    FormGame->FRandomBlock = 30;
    std::vector<int> got;
    for (int i = 0; i < 90; ++i) got.push_back(FormGame->GameRandom(-1, 1000));
    // A game with blocks of 10 follows: count 90 lies in block 9 (MT19937), 100 in block 10.
    FormGame->FRandomBlock = 10;
    for (int i = 0; i < 20; ++i) got.push_back(FormGame->GameRandom(-1, 1000));
    std::vector<int> want;
    want.insert(want.end(), l.begin(), l.begin() + 30);
    want.insert(want.end(), m.begin(), m.begin() + 30);
    want.insert(want.end(), l.begin() + 30, l.begin() + 60);
    want.insert(want.end(), m.begin() + 30, m.begin() + 40);
    RandSeed = 777;
    const std::vector<int> lAll = lcg(777, 1000, 70);
    want.insert(want.end(), lAll.begin() + 60, lAll.begin() + 70);
    EXPECT_EQ(got, want);
    EXPECT_EQ(FormGame->FRandomCount, 110);

    // Without a block length (no game has set one yet) draws still work.
    FormGame->FRandomBlock = 0;
    RandSeed = 5;
    const int r = FormGame->GameRandom(-1, 10);
    RandSeed = 5;
    EXPECT_EQ(r, LcgRandom(10));
    FormGame->FRandomBlock = -3;
    EXPECT_LT(FormGame->GameRandom(-1, 10), 10);
}

TEST(WindowPlacement, KeepsClearOfThePanelAndNeverAboveTheScreen)
{
    const QRect screen(0, 0, 1920, 1080);
    const struct {
        QRect available;
        int h, current, want;
    } table[] = {
        {screen, 600, 99, 232},                         // no panel, or one that hides
        {screen, 601, 99, 231},                         // odd remainder truncates
        {QRect(0, 40, 1920, 1040), 600, 99, 260},       // panel on top
        {QRect(0, 0, 1920, 1040), 600, 99, 212},        // panel at the bottom
        {QRect(60, 0, 1860, 1080), 600, 123, 123},      // panel on the left
        {QRect(0, 0, 1860, 1080), 600, -5, 0},          // panel on the right, window above the screen
        {screen, 1200, 99, 0},                          // taller than the screen
        {QRect(0, 40, 1920, 1040), 1200, 99, 0},
    };
    for (const auto& t : table) EXPECT_EQ(AdjustedFormTop(screen, t.available, t.h, t.current), t.want) << t.h;
    // On a second screen below the first, the top is on that screen.
    EXPECT_EQ(AdjustedFormTop(QRect(0, 1080, 1920, 1080), QRect(0, 1080, 1920, 1080), 600, 0), 1080 + 232);
}

TEST_F(ShellTest, HelpShowsTheFileOrWarnsThatItIsMissing)
{
    QString shown;
    SetHelpViewer([&](QWidget*, const QString& f) { shown = f; });
    QTest::keyClick(FormGame, Qt::Key_F1);
    EXPECT_TRUE(shown.isEmpty());
    const auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].type, TMsgDlgType::mtWarning);
    EXPECT_EQ(boxes[0].text, QStringLiteral("\"ポリコロヘルプ.chm\"ファイルが見つかりません。\n\n\"ちびポリコロ\"ファイルと同じフォルダにあるか確認して下さい。"));
    EXPECT_EQ(dialogs.BeepCount(MB_ICONASTERISK), 1);
    WriteFile(tmp.path() + QStringLiteral("/ポリコロヘルプ.chm"), "ITSF");
    QTest::keyClick(FormGame, Qt::Key_F1);
    EXPECT_EQ(shown, tmp.path() + QStringLiteral("/ポリコロヘルプ.chm"));
    EXPECT_EQ(dialogs.Boxes().size(), 1u);
}

TEST_F(ShellTest, TeamPicturesFallBackToTheBuiltInSheets)
{
    const QString dir = tmp.path() + QLatin1Char('/');
    QImage sheet(280, 70, QImage::Format_RGB32);
    sheet.fill(qRgb(10, 200, 30));
    QByteArray jpeg;
    ASSERT_TRUE(EncodeJpeg(sheet, 100, jpeg));
    WriteFile(dir + QStringLiteral("good.JPG"), jpeg);
    WriteFile(dir + QStringLiteral("same.jpeg"), jpeg);
    WriteFile(dir + QStringLiteral("good.bmp"), EncodeBmp24(sheet));
    WriteFile(dir + QStringLiteral("cut.bmp"), EncodeBmp24(sheet).left(200));
    WriteFile(dir + QStringLiteral("junk.bmp"), QByteArray(500, 'x'));
    QImage tiny(100, 50, QImage::Format_RGB32);
    tiny.fill(Qt::black);
    WriteFile(dir + QStringLiteral("tiny.bmp"), EncodeBmp24(tiny));
    const struct {
        const char* file;
        int width;
    } table[] = {{"good.JPG", 280}, {"good.bmp", 280}, {"same.jpeg", 1260}, {"cut.bmp", 1260},
                 {"junk.bmp", 1260}, {"tiny.bmp", 1260}, {"missing.bmp", 1260}};
    for (const auto& t : table) {
        FormGame->FMyPicFile = dir + QString::fromUtf8(t.file);
        FormGame->FAitePicFile = dir + QStringLiteral("missing.jpg");
        TBitmap my, aite;
        FormGame->LoadTeamPictures(my, aite);
        EXPECT_EQ(my.Width(), t.width) << t.file;
        EXPECT_EQ(my.Height(), 70) << t.file;
        EXPECT_EQ(aite.Width(), 1260);
    }
}

TEST_F(ShellTest, SheetPathMessageKeepsTheLastWholePath)
{
    EXPECT_EQ(FormGame->WMCopyData(0, QByteArray("/a/first.bmp\0", 13)), 1);
    EXPECT_EQ(FormGame->WMCopyData(7, QByteArray("/a/second.bmp\0junk", 18)), 1);
    EXPECT_EQ(FormGame->FReceivedFileName, QStringLiteral("/a/second.bmp"));
    // Cut (no terminator), empty and nameless payloads are refused and change nothing.
    EXPECT_EQ(FormGame->WMCopyData(0, QByteArray("/a/cut", 6)), 0);
    EXPECT_EQ(FormGame->WMCopyData(0, QByteArray()), 0);
    EXPECT_EQ(FormGame->WMCopyData(0, QByteArray("\0", 1)), 0);
    EXPECT_EQ(FormGame->FReceivedFileName, QStringLiteral("/a/second.bmp"));
    EXPECT_EQ(FormGame->WMCopyData(0, CopyDataFromPath(QStringLiteral("/選手/画像.bmp"))), 1);
    EXPECT_EQ(FormGame->FReceivedFileName, QStringLiteral("/選手/画像.bmp"));
}

TEST_F(ShellTest, TeamPictureIsChosenInTheSheetFolder)
{
    const QString folder = FormGame->FDataDir + QStringLiteral("ゲームの選手画像");
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage sheet(280, 70, QImage::Format_RGB32);
    sheet.fill(Qt::red);
    WriteFile(folder + QStringLiteral("/mine.bmp"), EncodeBmp24(sheet));
    struct Seen {
        QString title, dir, file;
        int filterIndex;
        bool up, keep, others;
    } seen{};
    bool accept = true;
    TMyFileDialog::SetTestHook([&](TMyFileDialog& d) {
        seen = {d.Title, d.InitialDir, d.FileName, d.FilterIndex, d.DirUpBtn, d.KeepSize,
                d.DirChangeBox && d.DirCreateBtn && d.DirPrevBtn && d.DirEditBox && d.DirEditPath && d.ListMenu &&
                    d.ListChangeFN};
        d.SetFileNameText(QStringLiteral("mine"));
        if (accept) static_cast<QDialog*>(d.Dialog())->accept();
        else d.Dialog()->reject();
    });
    const QString before = FormGame->FMyPicFile;
    FormGame->btMyPic->click();
    EXPECT_EQ(seen.title, QStringLiteral("自分チームの画像"));
    EXPECT_EQ(seen.dir, folder);
    EXPECT_EQ(seen.file, before);
    EXPECT_EQ(seen.filterIndex, 3);
    EXPECT_FALSE(seen.up);
    EXPECT_FALSE(seen.keep);
    EXPECT_TRUE(seen.others);
    EXPECT_EQ(FormGame->FMyPicFile, folder + QStringLiteral("/mine.bmp"));
    EXPECT_EQ(FormGame->edMyPic->text(), QStringLiteral("mine.bmp"));
    // Cancel changes nothing.
    accept = false;
    const QString aite = FormGame->FAitePicFile;
    FormGame->btAitePic->click();
    EXPECT_EQ(seen.title, QStringLiteral("相手チームの画像"));
    EXPECT_EQ(FormGame->FAitePicFile, aite);
    TMyFileDialog::SetTestHook(nullptr);
}

class EditorLinkTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        const QString sender = QCoreApplication::applicationDirPath() + QStringLiteral("/sheetlink_sender");
        ASSERT_TRUE(QFile::link(sender, tmp.path() + QStringLiteral("/ピクモ")));
        FormGame->ListenForEditor();
        Form::SetModalHook([this](Form* f) {
            if (f != FormJusinFNSelect) return;
            ++chooserShown;
            if (answer == 0) FormJusinFNSelect->Close();
            else if (answer == 1) QTest::keyClick(FormJusinFNSelect, Qt::Key_Escape);
            else FormJusinFNSelect->btOK->click();
        });
    }
    void editorSends(const QStringList& paths)
    {
        qputenv("POLY_SEND_PATHS", paths.join(QLatin1Char('\n')).toUtf8());
        FormGame->bbPlayer->click();
    }
    int chooserShown = 0;
    int answer = 2; // 0 close box, 1 Esc, 2 OK
};

TEST_F(EditorLinkTest, LastSentSheetIsOfferedOnceAndCompleted)
{
    const QString before = FormGame->FAitePicFile;
    FormJusinFNSelect->rb1->setChecked(true);
    editorSends({QStringLiteral("/s/one.bmp"), QStringLiteral("/s/two.jpg"), QStringLiteral("/s/abcbmp")});
    EXPECT_EQ(chooserShown, 1);
    EXPECT_EQ(FormGame->FMyPicFile, QStringLiteral("/s/abc.bmp"));
    EXPECT_EQ(FormGame->edMyPic->text(), QStringLiteral("abc.bmp"));
    EXPECT_EQ(FormGame->FAitePicFile, before);
    EXPECT_EQ(dialogs.BeepCount(MB_ICONEXCLAMATION), 1);
}

TEST_F(EditorLinkTest, EscConfirmsTheChoiceAndCloseBoxOrNotUsingChangesNothing)
{
    FormJusinFNSelect->rb2->setChecked(true);
    answer = 1;
    editorSends({QStringLiteral("/s/rival.jpg")});
    EXPECT_EQ(FormGame->FAitePicFile, QStringLiteral("/s/rival.jpg"));
    EXPECT_EQ(FormGame->edAitePic->text(), QStringLiteral("rival.jpg"));

    const QString my = FormGame->FMyPicFile, aite = FormGame->FAitePicFile;
    FormJusinFNSelect->rb3->setChecked(true);
    answer = 2;
    editorSends({QStringLiteral("/s/unused.bmp")});
    answer = 0;
    FormJusinFNSelect->rb1->setChecked(true);
    editorSends({QStringLiteral("/s/closed.bmp")});
    EXPECT_EQ(FormGame->FMyPicFile, my);
    EXPECT_EQ(FormGame->FAitePicFile, aite);
    EXPECT_EQ(chooserShown, 3);
    // Nothing sent: no question at all; the chooser keeps its last choice.
    editorSends({});
    EXPECT_EQ(chooserShown, 3);
    EXPECT_TRUE(FormJusinFNSelect->rb1->isChecked());
}

TEST_F(ShellTest, MissingEditorIsReportedAndNothingElseHappens)
{
    FormGame->bbPlayer->click();
    const auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("ピクモ")));
    EXPECT_TRUE(FormGame->isVisible());
}

TEST_F(ShellTest, AnErrorNothingCaughtIsShownAndTheProgramGoesOn)
{
    QTimer::singleShot(0, FormGame, [] { throw std::runtime_error("broken handler"); });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, QStringLiteral("ポリコロ"));
    EXPECT_EQ(boxes[0].text, QStringLiteral("broken handler"));
    EXPECT_TRUE(FormGame->isVisible());
}

} // namespace

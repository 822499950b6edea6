// The quick game frame on a minimal game of its own: opening and option, keys, pause, auto box,
// wheel, the result report and the early close.
#include "Clock.h"
#include "Dialogs.h"
#include "Paths.h"
#include "QuickGame.h"
#include "Resources.h"
#include "Sound.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include <QTemporaryDir>
#include <QTest>
#include <QAbstractItemView>
#include <QWheelEvent>
#include "ShellFixture.h"
#include <gtest/gtest.h>

namespace {

const QString kRefusal = QStringLiteral("ハードル数を変更できるのは，オープニングのときだけです。");

// A game with an option of three items, an auto box and a five-tick opening; it ends when told.
class TTestGame : public TQuickGameForm {
public:
    static const TQuickGameTable& Row()
    {
        static const TQuickGameTable row = [] {
            TQuickGameTable t;
            t.GameNo = 6;
            t.RandomBlock = 10;
            t.Interval = 50;
            t.OpeningTicks = 5;
            t.FieldSize = QSize(200, 100);
            t.ClientSize = QSize(300, 140);
            t.OptionLabel = QStringLiteral("ハードル数");
            t.OptionItems = {QStringLiteral("６台"), QStringLiteral("８台"), QStringLiteral("１０台")};
            t.OptionValues = {6, 8, 10};
            t.DefaultItem = 2;
            t.OptionRefusal = kRefusal;
            t.HasAuto = true;
            t.SwallowWheel = true;
            return t;
        }();
        return row;
    }
    explicit TTestGame(QWidget* owner) : TQuickGameForm(owner, Row()) {}

    int ticks = 0;
    std::vector<int> taken;
    bool decidedWin = false;
    int endAt = -1;
    bool endWon = false;
    int draws = 0;
    std::vector<Word> keys; // what reached the game's own key handler

protected:
    void MakeTeamImages() override
    {
        TBitmap mine, aite;
        LoadSheets(mine, aite);
        AddSheetFrame(imlA, mine, 0, 0);
        AddSheetFrame(imlA, mine, 0, 1, TFrameTurn::Mirror);
        AddSheetFrame(imlB, aite, 0, 0, TFrameTurn::Rotate90);
    }
    void GameReset() override {}
    void GameTick() override
    {
        ++ticks;
        if (ticks == endAt) EndGame(endWon);
    }
    void DrawScene() override
    {
        ++draws;
        ShowBackBuffer();
    }
    bool MyTeamDecidedWinner() const override { return decidedWin; }
    void OptionTaken(int v) override { taken.push_back(v); }
    void GameKeyDown(Word& key, TShiftState) override { keys.push_back(key); }
};

class QuickFrameTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        clock.SetAutoRun(false);
        MakeForms();
        Form::SetModalHook([this](Form* f) {
            if (f != FormGameWinMes) return;
            reports.push_back({FormGameWinMes->FScreenKind, FormGameWinMes->FCodeText});
            f->Close();
        });
    }
    void TearDown() override
    {
        game.reset();
        ShellFixture::TearDown();
    }
    TTestGame& start(bool setUpOpen = false)
    {
        game = std::make_unique<TTestGame>(FormGame);
        game->SetCaption(QStringLiteral("ぱにもこ ハードル対決"));
        game->FSetUpOpenStart = setUpOpen;
        game->show();
        return *game;
    }
    void ticks(int n) { clock.Advance(qint64(n) * TTestGame::Row().Interval); }
    void key(QWidget* w, Qt::Key k) { QTest::keyClick(w, k); }

    struct Report {
        int kind;
        QString code;
    };
    std::unique_ptr<TTestGame> game;
    std::vector<Report> reports;
};

TEST_F(QuickFrameTest, CreationTakesTheTableAndTheSwitches)
{
    FormGame->cb3->setChecked(true);
    TTestGame& g = start();
    EXPECT_EQ(FormGame->FRandomBlock, 10);
    EXPECT_EQ(g.width(), 300);
    EXPECT_EQ(g.minimumSize(), g.maximumSize());
    EXPECT_EQ(g.imOmote->geometry(), QRect(0, 0, 200, 100));
    EXPECT_TRUE(g.FSoundOn);
    EXPECT_FALSE(g.FCheerOn);
    EXPECT_EQ(g.Hint, QStringLiteral("ぱにもこ ハードル対決"));
    EXPECT_EQ(sounds.Started(), std::vector<QString>{QStringLiteral("OPENING")});
    EXPECT_EQ(g.cobOption->ItemIndex(), 2);
    EXPECT_EQ(g.OptionValue(), 10);
    EXPECT_TRUE(g.Timer1->Enabled());
    EXPECT_EQ(g.imlA.Count(), 2);
    EXPECT_EQ(g.imlB.Count(), 1);
    // Sound effects off: no opening jingle.
    game.reset();
    sounds.Clear();
    FormGame->cb2->setChecked(true);
    start();
    EXPECT_TRUE(sounds.events.empty());
}

TEST_F(QuickFrameTest, OpeningEndsAfterItsTicksAndWritesTheMenuForm)
{
    TTestGame& g = start();
    QApplication::setActiveWindow(&g);
    key(&g, Qt::Key_F2);
    key(g.cobOption->view(), Qt::Key_Up);
    key(g.cobOption->view(), Qt::Key_Return);
    EXPECT_EQ(g.OptionValue(), 8);
    g.cbAuto->click();
    const qint64 slept = clock.SleptMs();
    ticks(5);
    EXPECT_TRUE(g.Opening());
    ticks(1);
    EXPECT_FALSE(g.Opening());
    EXPECT_EQ(clock.SleptMs() - slept, 200);
    EXPECT_EQ(FormGame->FOptionIndex, 1);
    EXPECT_FALSE(FormGame->FManualPlay);
    EXPECT_EQ(g.ticks, 0);
    ticks(3);
    EXPECT_EQ(g.ticks, 3);
}

// The list is held open by the user only: however it closes, the opening ends on the next tick after
// its length, and Enter plays again.
TEST_F(QuickFrameTest, TheOpeningIsHeldOnlyWhileTheListIsReallyOpen)
{
    struct Case {
        const char* how;
        std::function<void(TTestGame&)> close;
    };
    const Case cases[] = {
        {"click elsewhere", [](TTestGame& g) { QTest::mouseClick(g.windowHandle(), Qt::LeftButton, {}, QPoint(20, 20)); }},
        {"F1", [](TTestGame& g) { QTest::keyClick(g.cobOption->view(), Qt::Key_F1); }},
        {"Esc in the list", [](TTestGame& g) { QTest::keyClick(g.cobOption->view(), Qt::Key_Escape); }},
        {"F2", [](TTestGame& g) { QTest::keyClick(g.cobOption->view(), Qt::Key_F2); }},
    };
    for (const Case& c : cases) {
        TTestGame& g = start(/*setUpOpen=*/true);
        QApplication::setActiveWindow(&g);
        ASSERT_TRUE(g.cobOption->DroppedDown()) << c.how;
        ticks(30);
        EXPECT_TRUE(g.Opening()) << c.how;
        c.close(g);
        EXPECT_FALSE(g.cobOption->DroppedDown()) << c.how;
        ticks(1);
        EXPECT_FALSE(g.Opening()) << c.how << ": ends on the first tick after the list closes";
        g.keys.clear();
        QTest::keyClick(&g, Qt::Key_Return);
        EXPECT_EQ(g.keys, std::vector<Word>{VK_RETURN}) << c.how;
        game.reset();
    }
}

// In the open list the arrows move the highlight round, the option follows what is shown, and the
// Enter that picks an item is the list's alone.
TEST_F(QuickFrameTest, ArrowsInTheOpenListMoveWhatEnterCommits)
{
    TTestGame& g = start(/*setUpOpen=*/true);
    QApplication::setActiveWindow(&g);
    QAbstractItemView* list = g.cobOption->view();
    struct Step {
        Qt::Key key;
        int item;
    };
    for (const Step& st : {Step{Qt::Key_Down, 0}, Step{Qt::Key_Left, 2}, Step{Qt::Key_Up, 1}, Step{Qt::Key_Right, 2}, Step{Qt::Key_Down, 0}}) {
        key(list, st.key);
        EXPECT_EQ(g.cobOption->ItemIndex(), st.item);
        EXPECT_EQ(list->currentIndex().row(), st.item) << "the highlight is the item shown";
    }
    key(list, Qt::Key_Return);
    EXPECT_FALSE(g.cobOption->DroppedDown());
    EXPECT_EQ(g.OptionValue(), 6);
    EXPECT_TRUE(g.keys.empty()) << "the Enter that picked the item is not a play";
    ticks(6);
    ASSERT_FALSE(g.Opening());
    EXPECT_EQ(FormGame->FOptionIndex, 0);
}

// After the opening a change is refused with the beep and the warning, the accepted item shows again,
// and the list is closed by the box.
TEST_F(QuickFrameTest, OptionRefusedAfterTheOpeningWithTheItemRestored)
{
    TTestGame& g = start();
    QApplication::setActiveWindow(&g);
    ticks(6);
    ASSERT_FALSE(g.Opening());
    dialogs.Clear();
    key(&g, Qt::Key_F2);
    ASSERT_TRUE(g.cobOption->DroppedDown());
    key(g.cobOption->view(), Qt::Key_Down);
    EXPECT_EQ(g.cobOption->ItemIndex(), 2);
    EXPECT_EQ(g.OptionValue(), 10);
    EXPECT_FALSE(g.cobOption->DroppedDown());
    ASSERT_EQ(dialogs.records.size(), 2u);
    EXPECT_TRUE(dialogs.records[0].beep);
    EXPECT_EQ(dialogs.records[0].beepKind, MB_ICONASTERISK);
    EXPECT_EQ(dialogs.records[1].text, kRefusal);
    EXPECT_EQ(dialogs.records[1].type, TMsgDlgType::mtWarning);
    EXPECT_EQ(dialogs.records[1].buttons, TMsgButtons::OK);
    // A click on an item is refused the same way.
    key(&g, Qt::Key_F2);
    QAbstractItemView* list = g.cobOption->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
    EXPECT_EQ(g.cobOption->ItemIndex(), 2);
    EXPECT_EQ(dialogs.Boxes().size(), 2u);
}

TEST_F(QuickFrameTest, SpaceTogglesTheFocusedList)
{
    TTestGame& g = start();
    g.cobOption->setFocus();
    key(g.cobOption, Qt::Key_Space);
    EXPECT_TRUE(g.cobOption->DroppedDown());
    key(g.cobOption->view(), Qt::Key_Space);
    EXPECT_FALSE(g.cobOption->DroppedDown());
}

TEST_F(QuickFrameTest, EscPausesAndRestoresTheCaptionExactly)
{
    TTestGame& g = start();
    ticks(7);
    const int before = g.ticks;
    key(&g, Qt::Key_Escape);
    EXPECT_EQ(g.Caption(), QStringLiteral("ぱにもこ ハードル対決  ※Pause※"));
    EXPECT_FALSE(g.Timer1->Enabled());
    ticks(10);
    EXPECT_EQ(g.ticks, before);
    key(&g, Qt::Key_Escape);
    EXPECT_EQ(g.Caption(), QStringLiteral("ぱにもこ ハードル対決"));
    ticks(2);
    EXPECT_EQ(g.ticks, before + 2);
}

TEST_F(QuickFrameTest, AutoBoxCheckedOnceMarksTheGameAutoPlayed)
{
    TTestGame& g = start();
    ticks(6);
    ASSERT_TRUE(FormGame->FManualPlay);
    key(&g, Qt::Key_F3);
    EXPECT_TRUE(g.cbAuto->isChecked());
    EXPECT_FALSE(FormGame->FManualPlay);
    key(&g, Qt::Key_F3);
    EXPECT_FALSE(g.cbAuto->isChecked());
    EXPECT_FALSE(FormGame->FManualPlay) << "unchecking does not undo it";
    g.endAt = g.ticks + 1;
    g.endWon = true;
    ticks(1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].code, QStringLiteral("112")) << "won, auto-played, option 2";
}

TEST_F(QuickFrameTest, TheWheelDoesNothing)
{
    TTestGame& g = start();
    auto wheel = [](QWidget* w) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w, &e);
    };
    // A plain combo box would move on.
    QComboBox plain;
    plain.addItems({QStringLiteral("a"), QStringLiteral("b")});
    plain.show();
    wheel(&plain);
    ASSERT_EQ(plain.currentIndex(), 1);
    wheel(g.cobOption);
    EXPECT_EQ(g.cobOption->ItemIndex(), 2);
    EXPECT_EQ(g.OptionValue(), 10);
}

TEST_F(QuickFrameTest, ResultCodeBitsAndTheEnd)
{
    struct Case {
        bool manual;
        int option;
        bool won;
        quint16 code;
        QString text;
    };
    const Case cases[] = {{true, 0, true, 0x2006, QStringLiteral("100")},
                          {false, 1, true, 0x2906, QStringLiteral("111")},
                          {true, 2, false, 0x1206, QStringLiteral("002")},
                          {false, 0, false, 0x1806, QStringLiteral("010")}};
    for (const Case& c : cases) {
        reports.clear();
        TTestGame& g = start();
        ticks(6);
        FormGame->FManualPlay = c.manual;
        FormGame->FOptionIndex = quint8(c.option);
        EXPECT_EQ(g.ResultCode(c.won), c.code);
        g.endAt = g.ticks + 1;
        g.endWon = c.won;
        ticks(3);
        EXPECT_FALSE(g.Timer1->Enabled());
        EXPECT_EQ(g.ModalResult(), c.won ? mrYes : mrNo);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].kind, c.won ? 0 : 1);
        EXPECT_EQ(reports[0].code, c.text);
        // Closing it afterwards reports nothing more.
        g.Close();
        EXPECT_EQ(reports.size(), 1u);
        game.reset();
    }
}

TEST_F(QuickFrameTest, EarlyCloseReportsALossUnlessAlreadyWon)
{
    for (bool decided : {false, true}) {
        for (int at : {2, 8}) { // during the opening, during play
            reports.clear();
            TTestGame& g = start();
            g.decidedWin = decided;
            ticks(at);
            g.Close();
            EXPECT_FALSE(g.Timer1->Enabled());
            ASSERT_EQ(reports.size(), 1u);
            EXPECT_EQ(reports[0].kind, decided ? 0 : 1);
            EXPECT_EQ(g.ModalResult(), decided ? mrYes : mrNo);
            game.reset();
        }
    }
}

TEST_F(QuickFrameTest, EarlyCloseOfAModalRunEndsItWithTheReport)
{
    int result = -1;
    Form::SetModalHook([this](Form* f) {
        if (f == FormGameWinMes) {
            reports.push_back({FormGameWinMes->FScreenKind, FormGameWinMes->FCodeText});
            f->Close();
        } else {
            f->close(); // the title bar's close box
        }
    });
    clock.SetAutoRun(true);
    game = std::make_unique<TTestGame>(FormGame);
    result = game->ShowModal();
    EXPECT_EQ(result, mrNo);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].kind, 1);
}

TEST_F(QuickFrameTest, TeamFramesAreCutMirroredAndTurned)
{
    TBitmap sheet(280, 70);
    sheet.Canvas().Brush.Color = clWhite;
    sheet.Canvas().FillRect(0, 0, 280, 70);
    sheet.Image().setPixel(140 + 70 + 3, 5, ToPixel(clRed)); // player 1, frame 1
    TBitmap out;
    CutSheetFrame(sheet, 1, 1, out);
    EXPECT_EQ(out.Width(), 70);
    EXPECT_EQ(out.Canvas().Pixel(3, 5), clRed);
    EXPECT_EQ(SheetPlayerCount(sheet), 2);
    TImageList list(70, 70);
    AddSheetFrame(list, sheet, 1, 1, TFrameTurn::Mirror);
    AddSheetFrame(list, sheet, 1, 1, TFrameTurn::Rotate90);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(FromPixel(list.Image(0).pixel(66, 5)), clRed);
    EXPECT_EQ(FromPixel(list.Image(1).pixel(64, 3)), clRed) << "turned clockwise";
    EXPECT_EQ(FromPixel(list.Image(1).pixel(0, 0)), clWhite);
}

} // namespace

namespace {

TTestGame* g_testGame = nullptr;

// The launcher: caption, player name and figures in; the start rule; auto-progress in and back out.
TEST_F(QuickFrameTest, TheLauncherAppliesTheStartRuleAndCopiesAutoProgress)
{
    struct Case {
        bool openAtStart, menuAuto;
        int matchLength;
        bool opens;
    };
    const Case cases[] = {{true, false, 1, true},  {true, true, 1, true},   {true, false, 3, true},
                          {true, true, 3, false},  {false, false, 1, false}, {false, true, 3, false}};
    for (const Case& c : cases) {
        FormGame->cbSetUpOpenStart->setChecked(c.openAtStart);
        FormGame->cbAuto->setChecked(c.menuAuto);
        FormGame->FMatchLength = c.matchLength;
        bool opens = false, autoIn = false;
        Form::SetModalHook([&](Form* f) {
            if (f == FormGameWinMes) {
                f->Close();
                return;
            }
            auto* g = static_cast<TTestGame*>(f);
            EXPECT_EQ(g->Caption(), QStringLiteral("ぱにもこ ハードル対決"));
            EXPECT_EQ(g->FPlayerName, QStringLiteral("もこ太郎"));
            EXPECT_EQ(g->imlMyChara.Count(), 12);
            opens = g->FSetUpOpenStart;
            autoIn = g->cbAuto->isChecked();
            g->cbAuto->setChecked(!autoIn); // the user changes it during the game
            g->Close();
        });
        RunQuickGameForm<TTestGame>(*FormGame, QStringLiteral(" ハードル対決"), g_testGame);
        EXPECT_EQ(opens, c.opens);
        EXPECT_EQ(autoIn, c.menuAuto);
        EXPECT_EQ(FormGame->cbAuto->isChecked(), !c.menuAuto) << "copied back";
        EXPECT_EQ(g_testGame, nullptr);
    }
}

} // namespace

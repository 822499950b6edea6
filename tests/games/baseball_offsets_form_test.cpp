// "選手画像の調節" on the offscreen platform, opened from the baseball form's button and driven by real
// key and mouse events, and the offset file as the baseball form reads it at its start and writes it
// after OK: what is kept, what is refused, and what is never overwritten.
#include "FakeGameHost.h"
#include "PictureOffsetFile.h"
#include "Sjis.h"
#include "UnitBaseBall.h"
#include "UnitPicAdjust.h"
#include <QCursor>
#include <QWindow>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include "TestDoubles.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace bb;

namespace {

class PicAdjustTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock.SetAutoRun(false);
        SetClock(&clock);
        Sound().SetBackend(&sounds);
        ASSERT_TRUE(QDir().mkpath(sheetDir()));
        host.dataDir = tmp.path() + QStringLiteral("/");
        // Neither sheet is there: the built-in pictures stand in, the keys are still the paths'.
        host.mySheetFile = sheetDir() + QStringLiteral("/自作 チーム.bmp");
        host.aiteSheetFile = tmp.path() + QStringLiteral("/相手/\"強い\".bmp");
    }
    void TearDown() override
    {
        Form::SetModalHook(nullptr);
        Sound().SetBackend(nullptr);
        SetClock(nullptr);
    }
    QString sheetDir() const { return tmp.path() + QStringLiteral("/ゲームの選手画像"); }
    QString file() const { return sheetDir() + QStringLiteral("/野球_選手画像の調節.txt"); }
    std::unique_ptr<TFormBaseBall> open()
    {
        auto f = std::make_unique<TFormBaseBall>(nullptr);
        f->show();
        return f;
    }
    // Clicks "選手画像の調節" and runs drive during the dialog's modal run; a drive that leaves the
    // dialog open cancels it.
    void adjust(TFormBaseBall& f, const std::function<void(TFormPicAdjust&)>& drive)
    {
        bool ran = false;
        Form::SetModalHook([&](Form* form) {
            auto* d = dynamic_cast<TFormPicAdjust*>(form);
            if (!d) return;
            ran = true;
            drive(*d);
            if (d->ModalResult() == mrNone) d->SetModalResult(mrCancel);
        });
        QTest::mouseClick(f.btAdjust, Qt::LeftButton);
        Form::SetModalHook(nullptr);
        EXPECT_TRUE(ran);
    }
    static void key(TFormPicAdjust& d, Qt::Key k, int times = 1)
    {
        for (int i = 0; i < times; ++i) QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, k);
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(w->width() / 2, w->height() / 2)); }
    // The pointer moved onto the middle of w, as the window system reports it to the dialog's window.
    static void hover(TFormPicAdjust& d, QWidget* w)
    {
        QWindow* window = d.windowHandle();
        QTest::mouseMove(window, window->mapFromGlobal(w->mapToGlobal(w->rect().center())));
    }
    static QPoint pos(const TFormPicAdjust& d, int page, int item) { return d.FPos[size_t(page)][size_t(item)]; }
    static QPoint upDowns(const TFormPicAdjust& d, int page)
    {
        return {d.udHori[size_t(page)]->Position(), d.udVert[size_t(page)]->Position()};
    }
    static bool framed(const TFormPicAdjust& d, int page, int item)
    {
        return (d.im[size_t(page)][size_t(item)]->Surface().pixel(2, 2) | 0xFF000000u) == qRgb(0, 128, 0);
    }
    QString box(size_t i) const { return i < dialogs.Boxes().size() ? dialogs.Boxes()[i].text : QString(); }

    QTemporaryDir tmp;
    FakeGameHost host{5};
    VirtualClock clock;
    RecordingDialogs dialogs;
    RecordingSoundBackend sounds;
    const QString myKey = QStringLiteral("自作 チーム.bmp");
    const QString aiteKey = QStringLiteral("..\\相手\\\"強い\".bmp");
};

TEST_F(PicAdjustTest, KeysMouseAndButtonsMoveTheItemsAndOkWritesBothSides)
{
    auto f = open();
    ASSERT_TRUE(f->btAdjust->isEnabled());
    EXPECT_EQ(f->FPicKeys, (std::array<QString, 2>{aiteKey, myKey}));
    adjust(*f, [&](TFormPicAdjust& d) {
        EXPECT_EQ(d.Caption(), QStringLiteral("選手画像の調節"));
        EXPECT_EQ(d.pc1->currentIndex(), 0);
        EXPECT_EQ(d.pc1->tabText(0), QStringLiteral(" 自分の選手 "));
        EXPECT_EQ(d.focusWidget(), d.rb[0][0]);
        EXPECT_TRUE(framed(d, 0, 0));
        EXPECT_EQ(upDowns(d, 0), QPoint(19, -23));
        EXPECT_TRUE(d.StatusText().startsWith(QStringLiteral("【ｷｰﾎﾞｰﾄﾞ操作】<Alt>ページ切替")));

        // Arrows step the glove; Up moves it up the picture (y down), Down moves it down.
        key(d, Qt::Key_Right, 2);
        key(d, Qt::Key_Up);
        EXPECT_EQ(pos(d, 0, 0), QPoint(21, -24));
        key(d, Qt::Key_Down, 3);
        key(d, Qt::Key_Left);
        EXPECT_EQ(pos(d, 0, 0), QPoint(20, -21));
        EXPECT_EQ(upDowns(d, 0), QPoint(20, -21));

        // Ctrl selects the next item, round from the last to the first.
        key(d, Qt::Key_Control);
        EXPECT_TRUE(d.rb[0][1]->isChecked());
        EXPECT_FALSE(framed(d, 0, 0));
        EXPECT_TRUE(framed(d, 0, 1));
        EXPECT_EQ(upDowns(d, 0), QPoint(22, -34));

        // A click on the bat's picture selects it; its up-downs step it.
        click(d.im[0][4]);
        EXPECT_EQ(d.SelectedItem(), 4);
        EXPECT_TRUE(d.rb[0][4]->isChecked());
        EXPECT_EQ(upDowns(d, 0), QPoint(-70, -67));
        click(d.udVert[0]->btNext);
        click(d.udHori[0]->btPrev);
        EXPECT_EQ(pos(d, 0, 4), QPoint(-71, -68));
        // "最初に戻す" puts the bat back, and the up-downs with it.
        click(d.btInit[0]);
        EXPECT_EQ(pos(d, 0, 4), QPoint(-70, -67));
        click(d.udHori[0]->btNext);
        EXPECT_EQ(pos(d, 0, 4), QPoint(-69, -67));
        for (int i = 0; i < 5; ++i) key(d, Qt::Key_Control);
        EXPECT_EQ(d.SelectedItem(), 0) << "after the last ball the first glove";

        // Alt turns the page; there the arrows move the computer's team's glove.
        key(d, Qt::Key_Alt);
        EXPECT_EQ(d.pc1->currentIndex(), 1);
        EXPECT_EQ(d.SelectedPage(), 1);
        EXPECT_EQ(d.focusWidget(), d.rb[1][0]);
        key(d, Qt::Key_Right);
        EXPECT_EQ(pos(d, 1, 0), QPoint(20, -23));
        // "自分に合わせる" takes the user's team's glove, and the up-downs follow.
        click(d.btSame1);
        EXPECT_EQ(pos(d, 1, 0), QPoint(20, -21));
        key(d, Qt::Key_Right);
        EXPECT_EQ(pos(d, 1, 0), QPoint(21, -21));

        // The up-downs keep the offsets within -100 .. 100.
        key(d, Qt::Key_Control, 4);
        key(d, Qt::Key_Down, 300);
        EXPECT_EQ(pos(d, 1, 4), QPoint(-70, 100));

        // Hints of the control under the mouse, as the window system reports its moves.
        hover(d, d.im[1][3]);
        EXPECT_EQ(d.StatusText(), QStringLiteral("調節する画像です。クリックすると選択できます。 【ｷｰﾎﾞｰﾄﾞ】<Ctrl>"));
        hover(d, d.btOK);
        EXPECT_EQ(d.StatusText(), QStringLiteral("操作を確定します。　【ｷｰﾎﾞｰﾄﾞ】<F4>"));

        key(d, Qt::Key_F4);
    });

    // The offsets are the game's now, and in the file: side 0's line, then side 1's, CP932, CR LF.
    const TBaseBallGame& g = f->Game();
    TPictureOffsets mine, aite;
    mine.Glove[0] = {20, -21};
    mine.Bat = {-69, -67};
    aite.Glove[0] = {21, -21};
    aite.Bat = {-70, 100};
    EXPECT_EQ(g.Offsets[1], mine);
    EXPECT_EQ(g.Offsets[0], aite);
    const TEquipment e = EquipmentFrom(g.Offsets[size_t(g.FieldingSide)], g.Offsets[size_t(g.BattingSide)]);
    EXPECT_EQ(g.Equipment.PitcherHold, e.PitcherHold);
    EXPECT_EQ(g.Equipment.BatFrames, e.BatFrames);
    const QByteArray written = ReadFile(file());
    EXPECT_EQ(written, PictureOffsetLine(aiteKey, aite) + "\r\n" + PictureOffsetLine(myKey, mine) + "\r\n");
    EXPECT_TRUE(written.startsWith("\"..\\" + ToSjis(QStringLiteral("相手")) + "\\\"\"")) << written.constData();
    EXPECT_TRUE(dialogs.Boxes().empty());
    f.reset();

    // The next game starts with them.
    auto again = open();
    EXPECT_EQ(again->Game().Offsets[1], mine);
    EXPECT_EQ(again->Game().Offsets[0], aite);
    EXPECT_EQ(again->Game().Equipment.FlyCatchBox.Top, e.FlyCatchBox.Top);
}

TEST_F(PicAdjustTest, EscAndCancelWriteNothingAndTabTakesTheMouseAlong)
{
    auto f = open();
    adjust(*f, [&](TFormPicAdjust& d) {
        key(d, Qt::Key_Right, 3);
        key(d, Qt::Key_Escape);
        EXPECT_EQ(d.ModalResult(), mrCancel);
    });
    adjust(*f, [&](TFormPicAdjust& d) {
        EXPECT_EQ(pos(d, 0, 0), QPoint(19, -23)) << "Esc changed nothing";
        key(d, Qt::Key_Tab);
        QWidget* w = d.focusWidget();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(QCursor::pos(), w->mapToGlobal(QPoint(w->width() - 8, w->height() - 8)));
        key(d, Qt::Key_Left);
        click(d.btCancel);
    });
    EXPECT_EQ(f->Game().Offsets[1], TPictureOffsets{});
    EXPECT_FALSE(QFileInfo::exists(file()));
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(PicAdjustTest, AnExistingFileKeepsItsOtherLinesAndMalformedLinesAreReportedOnce)
{
    const TPictureOffsets aite = [] {
        TPictureOffsets o;
        o.Ball[2] = {-5, -6};
        return o;
    }();
    // The user's sheet's line is short; another sheet's line and a blank line stand around it.
    const QByteArray other = "\"\x83\x60\x81\x5B\x83\x80 B.bmp\",1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18";
    WriteFile(file(), ToSjis(JoinCommaText({myKey, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")})) + "\n" + other + "\n\n" + PictureOffsetLine(aiteKey.toUpper(), aite));
    auto f = open();
    EXPECT_EQ(f->Game().Offsets[1], TPictureOffsets{});
    EXPECT_EQ(f->Game().Offsets[0], aite);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_TRUE(box(0).startsWith(QStringLiteral("選手画像の調節ファイルの 1 行目が正しくありません。"))) << box(0).toStdString();

    // OK writes both sides: the bad line is replaced where it stood, the rest kept byte for byte.
    adjust(*f, [&](TFormPicAdjust& d) { key(d, Qt::Key_F4); });
    EXPECT_EQ(ReadFile(file()), PictureOffsetLine(myKey, TPictureOffsets{}) + "\r\n" + other + "\r\n\r\n" + PictureOffsetLine(aiteKey, aite) + "\r\n");

    // Both teams on one sheet whose line is bad: one report, and one line after OK.
    dialogs.Clear();
    f.reset();
    host.aiteSheetFile = host.mySheetFile;
    WriteFile(file(), ToSjis(JoinCommaText({myKey, QStringLiteral("1"), QStringLiteral("x")})));
    f = open();
    EXPECT_EQ(dialogs.Boxes().size(), 1u);
    adjust(*f, [&](TFormPicAdjust& d) { key(d, Qt::Key_F4); });
    EXPECT_EQ(ReadFile(file()), PictureOffsetLine(myKey, TPictureOffsets{}) + "\r\n");
}

TEST_F(PicAdjustTest, WhatCannotBeReadIsNeverOverwritten)
{
    const struct {
        const char* what;
        std::function<void(const QString&)> make;
        std::function<bool(const QString&)> still;
    } cases[] = {
        {"a folder", [](const QString& p) { QDir().mkdir(p); }, [](const QString& p) { return QFileInfo(p).isDir(); }},
        {"a pipe", [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0600); },
         [](const QString& p) {
             struct stat st {};
             return ::lstat(QFile::encodeName(p).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
         }},
        {"a file over the cap", [](const QString& p) { WriteFile(p, ""), ::truncate(QFile::encodeName(p).constData(), kMaxOffsetFileBytes + 1); },
         [](const QString& p) { return QFileInfo(p).size() == kMaxOffsetFileBytes + 1; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.make(file());
        ASSERT_TRUE(c.still(file()));
        dialogs.Clear();
        auto f = open();
        ASSERT_EQ(dialogs.Boxes().size(), 1u);
        EXPECT_TRUE(box(0).startsWith(QStringLiteral("ファイルにアクセスできません。")));
        EXPECT_EQ(f->Game().Offsets[0], TPictureOffsets{});

        adjust(*f, [&](TFormPicAdjust& d) {
            key(d, Qt::Key_Up, 4);
            key(d, Qt::Key_F4);
        });
        // Told twice: the file, and that nothing was saved; the new place is kept for this game.
        ASSERT_EQ(dialogs.Boxes().size(), 3u);
        EXPECT_TRUE(box(2).startsWith(QStringLiteral("選手画像の調節ファイルを読めなかったので，保存しませんでした。")));
        EXPECT_EQ(f->Game().Offsets[1].Glove[0], QPoint(19, -27));
        EXPECT_TRUE(c.still(file()));
        EXPECT_EQ(QDir(sheetDir()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
        f.reset();
        QDir().rmdir(file());
        QFile::remove(file());
    }
}

TEST_F(PicAdjustTest, ASheetNameTheFileCannotHoldIsSkippedWithAWarning)
{
    host.mySheetFile = sheetDir() + QStringLiteral("/한국.bmp");
    auto f = open();
    EXPECT_TRUE(dialogs.Boxes().empty());
    adjust(*f, [&](TFormPicAdjust& d) {
        key(d, Qt::Key_Right);
        key(d, Qt::Key_F4);
    });
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_TRUE(box(0).contains(QStringLiteral("\"한국.bmp\""))) << box(0).toStdString();
    EXPECT_EQ(f->Game().Offsets[1].Glove[0], QPoint(20, -23));
    EXPECT_EQ(ReadFile(file()), PictureOffsetLine(aiteKey, TPictureOffsets{}) + "\r\n");
}

} // namespace

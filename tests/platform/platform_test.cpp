// The platform layer as the game and editor code relies on it.
#include "Canvas.h"
#include "Clock.h"
#include "Dialogs.h"
#include "Form.h"
#include "ImageList.h"
#include "MathUtil.h"
#include "PictureFile.h"
#include "SheetLink.h"
#include "TestSupport.h"
#include "Trash.h"
#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QWindow>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QFile>
#include <QLineEdit>
#include <QLocalServer>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <set>
#include <gtest/gtest.h>
#include "TestDoubles.h"

namespace {

int countColour(const TBitmap& b, TColor c)
{
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += b.Canvas().Pixel(x, y) == c;
    return n;
}

TEST(Canvas, RectanglesEllipsesAndLinesLeaveOutRightAndBottomEdges)
{
    TBitmap b(20, 20);
    TCanvas& c = b.Canvas();
    c.Pen.Color = clRed;
    c.Brush.Color = clBlue;
    c.Rectangle(2, 3, 8, 7);
    EXPECT_EQ(c.Pixel(2, 3), clRed);
    EXPECT_EQ(c.Pixel(7, 6), clRed);
    EXPECT_EQ(c.Pixel(8, 6), clWhite);
    EXPECT_EQ(c.Pixel(7, 7), clWhite);
    EXPECT_EQ(c.Pixel(4, 5), clBlue);
    EXPECT_EQ(countColour(b, clRed) + countColour(b, clBlue), 6 * 4);

    TBitmap e(20, 20);
    e.Canvas().Pen.Color = clRed;
    e.Canvas().Brush.Color = clRed;
    e.Canvas().Ellipse(0, 0, 10, 6);
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (e.Canvas().Pixel(x, y) == clRed) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_EQ(minX, 0);
    EXPECT_EQ(maxX, 9);
    EXPECT_EQ(minY, 0);
    EXPECT_EQ(maxY, 5);

    TBitmap l(10, 10);
    l.Canvas().MoveTo(1, 1);
    l.Canvas().LineTo(5, 1);
    EXPECT_EQ(l.Canvas().Pixel(4, 1), clBlack);
    EXPECT_EQ(l.Canvas().Pixel(5, 1), clWhite);
    // The pen stays at the end point: the next line starts there.
    l.Canvas().LineTo(5, 4);
    EXPECT_EQ(l.Canvas().Pixel(5, 1), clBlack);
    EXPECT_EQ(l.Canvas().Pixel(5, 3), clBlack);
    EXPECT_EQ(l.Canvas().Pixel(5, 4), clWhite);
    // A polyline draws its last point.
    l.Canvas().Polyline({QPoint(1, 3), QPoint(4, 3)});
    EXPECT_EQ(l.Canvas().Pixel(4, 3), clBlack);
}

TEST(Canvas, NotXorDrawnTwiceRestoresThePicture)
{
    TBitmap b(30, 30);
    b.Canvas().Brush.Color = RGBColor(12, 200, 77);
    b.Canvas().FillRect(0, 0, 30, 15);
    const QImage before = b.Image().copy();
    TCanvas& c = b.Canvas();
    c.Pen.Mode = TPenMode::pmNotXor;
    c.Pen.Color = clBlack;
    c.Brush.Style = TBrushStyle::bsClear;
    for (int pass = 0; pass < 2; ++pass) {
        c.Rectangle(3, 3, 25, 25);
        c.Ellipse(5, 5, 20, 28);
        c.MoveTo(0, 29);
        c.LineTo(29, 0);
    }
    EXPECT_EQ(b.Image(), before);
    // Not-xor with black inverts.
    c.MoveTo(0, 20);
    c.LineTo(5, 20);
    EXPECT_EQ(c.Pixel(2, 20), clBlack);
}

TEST(Canvas, DashedPensPaintTheirGapsOnlyWithASolidBrush)
{
    TBitmap b(40, 3);
    TCanvas& c = b.Canvas();
    c.Pen.Style = TPenStyle::psDot;
    c.Pen.Color = clBlack;
    c.Brush.Color = clRed;
    c.MoveTo(0, 0);
    c.LineTo(12, 0);
    EXPECT_EQ(c.Pixel(0, 0), clBlack);
    EXPECT_EQ(c.Pixel(3, 0), clRed);
    EXPECT_EQ(c.Pixel(6, 0), clBlack);
    c.Brush.Style = TBrushStyle::bsClear;
    c.MoveTo(0, 2);
    c.LineTo(12, 2);
    EXPECT_EQ(c.Pixel(3, 2), clWhite);
}

TEST(Canvas, FloodFillStopsAtExactColoursAndNeverRecurses)
{
    TBitmap b(12, 12);
    TCanvas& c = b.Canvas();
    c.Pen.Color = clBlack;
    c.Brush.Style = TBrushStyle::bsClear;
    c.Rectangle(2, 2, 10, 10);
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = clRed;
    c.FloodFill(5, 5, clWhite, TFillStyle::fsSurface);
    EXPECT_EQ(countColour(b, clRed), 6 * 6);
    EXPECT_EQ(c.Pixel(0, 0), clWhite);
    // A diagonal gap does not let a 4-connected fill through.
    TBitmap d(5, 5);
    for (int i = 0; i < 5; ++i) d.Image().setPixel(i, 4 - i, ToPixel(clBlack));
    d.Canvas().Brush.Color = clBlue;
    d.Canvas().FloodFill(0, 0, clWhite, TFillStyle::fsSurface);
    EXPECT_EQ(d.Canvas().Pixel(4, 4), clWhite);
    EXPECT_EQ(d.Canvas().Pixel(3, 0), clBlue);
    // Border fill up to black, seeds outside and same-colour fills do nothing harmful.
    TBitmap f(8, 8);
    f.Canvas().Brush.Color = clGreen;
    f.Canvas().FloodFill(-1, 3, clWhite, TFillStyle::fsSurface);
    f.Canvas().FloodFill(3, 8, clWhite, TFillStyle::fsSurface);
    EXPECT_EQ(countColour(f, clGreen), 0);
    f.Canvas().FloodFill(3, 3, clBlack, TFillStyle::fsBorder);
    EXPECT_EQ(countColour(f, clGreen), 64);
    f.Canvas().FloodFill(3, 3, clGreen, TFillStyle::fsSurface);
    EXPECT_EQ(countColour(f, clGreen), 64);
    // A large area fills with a heap stack.
    TBitmap big(2000, 2000);
    big.Canvas().Brush.Color = clRed;
    big.Canvas().FloodFill(1000, 1000, clWhite, TFillStyle::fsSurface);
    EXPECT_EQ(big.Canvas().Pixel(1999, 0), clRed);
}

TEST(Canvas, TransparentDrawsLeaveOutPureWhiteOnly)
{
    TBitmap dst(4, 1), src(4, 1);
    dst.Canvas().Brush.Color = clRed;
    dst.Canvas().FillRect(0, 0, 4, 1);
    src.Image().setPixel(1, 0, ToPixel(clOpaqueWhite));
    src.Image().setPixel(2, 0, ToPixel(clBlack));
    src.Transparent = true;
    dst.Canvas().Draw(0, 0, src);
    EXPECT_EQ(dst.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(dst.Canvas().Pixel(1, 0), clOpaqueWhite);
    EXPECT_EQ(dst.Canvas().Pixel(2, 0), clBlack);
    TImageList list(2, 1);
    list.AddMasked(src);
    TBitmap dst2(4, 1);
    dst2.Canvas().Brush.Color = clRed;
    dst2.Canvas().FillRect(0, 0, 4, 1);
    list.Draw(dst2.Canvas(), 1, 0, 0);
    list.Draw(dst2.Canvas(), 1, 0, 5);
    EXPECT_EQ(dst2.Canvas().Pixel(1, 0), clRed);
    EXPECT_EQ(dst2.Canvas().Pixel(2, 0), clOpaqueWhite);
    EXPECT_EQ(dst.Canvas().Pixel(-1, 0), 0xFFFFFFFFu);
}

TEST(Rounding, HalvesGoToEven)
{
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(-1.5), -2);
    EXPECT_EQ(Round(98.99), 99);
    EXPECT_EQ(Trunc(-1.7), -1);
}

class ProbeForm : public Form {
public:
    int closes = 0, shows = 0;
    bool refuse = false;
    std::vector<Word> keys;
    QLineEdit* edit = new QLineEdit(this);
    QComboBox* combo = new QComboBox(this);
    QSpinBox* spin = new QSpinBox(this);
    QPushButton* button = new QPushButton(QStringLiteral("b"), this);

protected:
    void FormShow() override { ++shows; }
    void FormClose(TCloseAction& a) override
    {
        ++closes;
        if (refuse) a = TCloseAction::caNone;
    }
    void FormKeyDown(Word& key, TShiftState) override
    {
        keys.push_back(key);
        if (key == 'Q') key = 0;
    }
};

TEST(FormBehaviour, ModalResultEndsTheRunAfterTheHandler)
{
    ProbeForm f;
    QTimer::singleShot(0, &f, [&] {
        f.SetModalResult(mrYes);
        EXPECT_TRUE(f.isVisible()); // the handler finishes first
    });
    EXPECT_EQ(f.ShowModal(), mrYes);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.closes, 1);
    EXPECT_EQ(f.shows, 1);
}

TEST(FormBehaviour, CloseBoxGivesCancelAndFormCloseMayRefuse)
{
    ProbeForm f;
    int tries = 0;
    QTimer::singleShot(0, &f, [&] {
        f.refuse = true;
        f.close(); // the close box
        ++tries;
        QTimer::singleShot(0, &f, [&] {
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(f.ModalResult(), mrNone);
            f.refuse = false;
            f.Close();
        });
    });
    EXPECT_EQ(f.ShowModal(), mrCancel);
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(f.closes, 2);
}

// A second run asked for while the form is on screen (a second activation of what opened it) leaves
// the run on screen as it was: its result, its end and its hook.
TEST(FormBehaviour, ASecondRunAskedForWhileOneIsOnScreenChangesNothing)
{
    ProbeForm f;
    int hooks = 0, again = -1;
    Form::SetModalHook([&](Form*) { ++hooks; });
    QTimer::singleShot(0, &f, [&] {
        f.SetModalResult(mrYes);
        again = f.ShowModal();
        // Should the run no longer end by its result, its close box ends it.
        QTimer::singleShot(0, &f, [&] {
            if (f.isVisible()) f.close();
        });
    });
    EXPECT_EQ(f.ShowModal(), mrYes);
    Form::SetModalHook(nullptr);
    EXPECT_EQ(again, mrNone);
    EXPECT_EQ(hooks, 1);
    EXPECT_EQ(f.shows, 1);
    EXPECT_EQ(f.closes, 1);
}

TEST(FormBehaviour, KeyPreviewSeesKeysOfChildrenOnceAndMayConsumeThem)
{
    ProbeForm f;
    f.show();
    f.edit->setFocus();
    QTest::keyClick(f.edit, Qt::Key_Q);
    QTest::keyClick(f.edit, Qt::Key_W);
    EXPECT_EQ(f.edit->text(), QStringLiteral("w"));
    QTest::keyClick(f.edit, Qt::Key_Escape);
    QTest::keyClick(f.edit, Qt::Key_Return);
    EXPECT_EQ(f.keys, (std::vector<Word>{'Q', 'W', VK_ESCAPE, VK_RETURN}));
    // Esc and Enter mean nothing to the form itself.
    EXPECT_TRUE(f.isVisible());
    QTest::keyClick(&f, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(f.keys.back(), VK_NUMPAD5);
}

// Keys go first to the control that takes them, as the original platform gives them; the rest reach
// the form's handler, every key with a code of its own.
TEST(FormBehaviour, ControlsThatTakeAKeyGetItBeforeTheForm)
{
    ProbeForm f;
    f.show();
    QApplication::setActiveWindow(&f);
    // A spin box takes the arrows; Enter still reaches the form.
    f.spin->setFocus();
    QTest::keyClick(f.spin, Qt::Key_Up);
    QTest::keyClick(f.spin, Qt::Key_Return);
    EXPECT_EQ(f.spin->value(), 1);
    EXPECT_EQ(f.keys, std::vector<Word>{VK_RETURN});
    // An open list takes the arrows, Enter and Esc; other keys are previewed.
    f.keys.clear();
    f.combo->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    f.combo->setFocus();
    f.combo->showPopup();
    QWidget* list = f.combo->view();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_F1);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(f.keys, std::vector<Word>{VK_F1});
    EXPECT_EQ(f.combo->currentIndex(), 1);
    EXPECT_FALSE(list->isVisible());
    // Keys without a code of the forms still arrive, each with its own.
    f.keys.clear();
    f.edit->setFocus();
    for (Qt::Key k : {Qt::Key_CapsLock, Qt::Key_Menu, Qt::Key_BracketLeft, Qt::Key_Semicolon, Qt::Key_Henkan}) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(f.edit, &press);
    }
    ASSERT_EQ(f.keys.size(), 5u);
    for (Word k : f.keys) EXPECT_NE(k, 0);
    EXPECT_EQ(std::set<Word>(f.keys.begin(), f.keys.end()).size(), 5u);
}

TEST(FormBehaviour, EnterNoHandlerClaimsPressesTheFocusedButton)
{
    ProbeForm f;
    int clicks = 0;
    QObject::connect(f.button, &QPushButton::clicked, [&] { ++clicks; });
    f.show();
    QApplication::setActiveWindow(&f);
    f.button->setFocus();
    QTest::keyClick(f.button, Qt::Key_Return);
    QTest::keyClick(f.button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(f.keys, (std::vector<Word>{VK_RETURN, VK_RETURN}));
    // Enter in another control presses nothing.
    f.edit->setFocus();
    QTest::keyClick(f.edit, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
}

// What the window system shows as the title is the caption itself, nothing appended.
TEST(FormBehaviour, TheWindowSystemGetsTheCaptionExactly)
{
    ProbeForm f;
    f.SetCaption(QStringLiteral("ぱにもこ ＰＫ対決  ※Pause※"));
    f.show();
    ASSERT_NE(f.windowHandle(), nullptr);
    EXPECT_EQ(f.windowHandle()->title(), QStringLiteral("ぱにもこ ＰＫ対決  ※Pause※"));
    f.SetCaption(QStringLiteral("開く"));
    EXPECT_EQ(f.windowHandle()->title(), QStringLiteral("開く"));
}

TEST(Trash, EntriesMoveWholeWithTheirInfoAndNeverOverwrite)
{
    QTemporaryDir tmp;
    const QString data = tmp.path() + QStringLiteral("/data");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    const QString dir = tmp.path() + QStringLiteral("/選手画像");
    for (int round = 1; round <= 2; ++round) {
        QDir().mkpath(dir + QStringLiteral("/sub"));
        WriteFile(dir + QStringLiteral("/sub/a b.bmp"), "x");
        ASSERT_TRUE(MoveToTrash(dir + QStringLiteral("/sub")));
        EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/sub")));
    }
    EXPECT_EQ(ReadFile(data + QStringLiteral("/Trash/files/sub/a b.bmp")), "x");
    EXPECT_EQ(ReadFile(data + QStringLiteral("/Trash/files/sub (2)/a b.bmp")), "x");
    const QByteArray info = ReadFile(data + QStringLiteral("/Trash/info/sub.trashinfo"));
    EXPECT_TRUE(info.startsWith("[Trash Info]\nPath=" + QUrl::toPercentEncoding(dir + QStringLiteral("/sub"), "/") + "\nDeletionDate="))
        << info.toStdString();
    // A missing entry, or a trash that cannot be made, moves nothing.
    int error = 0;
    EXPECT_FALSE(MoveToTrash(dir + QStringLiteral("/none"), &error));
    EXPECT_EQ(error, ENOENT);
    QDir(data).removeRecursively();
    QDir().mkpath(data);
    WriteFile(data + QStringLiteral("/Trash"), "a file in the way");
    WriteFile(dir + QStringLiteral("/c.bmp"), "c");
    EXPECT_FALSE(MoveToTrash(dir + QStringLiteral("/c.bmp")));
    EXPECT_EQ(ReadFile(dir + QStringLiteral("/c.bmp")), "c");
    qputenv("XDG_DATA_HOME", oldData);
}

// The test main gives each test program its own empty user folders in a temporary folder, so the
// trash and every settings file of a test stay out of the user's folders and the checkout.
TEST(Trash, TestProgramsHaveUserFoldersOfTheirOwn)
{
    const QString temp = QDir(QDir::tempPath()).canonicalPath() + QLatin1Char('/');
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        const QString folder = QDir(qEnvironmentVariable(name)).canonicalPath();
        EXPECT_TRUE(folder.startsWith(temp)) << name << " = " << folder.toStdString();
    }
}

// Only an entry on another file system than the home trash goes to its file system's own trash: a
// relative XDG_DATA_HOME is ignored, and a data folder that cannot be made moves nothing anywhere.
TEST(Trash, NothingGoesOutsideTheHomeTrashForAnEntryBesideIt)
{
    QTemporaryDir tmp;
    const QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
    const QString oldCurrent = QDir::currentPath();
    QDir().mkpath(tmp.path() + QStringLiteral("/cwd"));
    QDir().mkpath(tmp.path() + QStringLiteral("/home"));
    QDir::setCurrent(tmp.path() + QStringLiteral("/cwd"));
    qputenv("HOME", QFile::encodeName(tmp.path() + QStringLiteral("/home")));
    qputenv("XDG_DATA_HOME", "data");
    WriteFile(tmp.path() + QStringLiteral("/a.bmp"), "a");
    EXPECT_TRUE(MoveToTrash(tmp.path() + QStringLiteral("/a.bmp")));
    EXPECT_EQ(ReadFile(tmp.path() + QStringLiteral("/home/.local/share/Trash/files/a.bmp")), "a");
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + QStringLiteral("/cwd/data")));

    WriteFile(tmp.path() + QStringLiteral("/blocker"), "a file where the data folder's parent should be");
    qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.path() + QStringLiteral("/blocker/data")));
    WriteFile(tmp.path() + QStringLiteral("/b.bmp"), "b");
    EXPECT_FALSE(MoveToTrash(tmp.path() + QStringLiteral("/b.bmp")));
    EXPECT_EQ(ReadFile(tmp.path() + QStringLiteral("/b.bmp")), "b");

    QDir::setCurrent(oldCurrent);
    qputenv("HOME", oldHome);
    qputenv("XDG_DATA_HOME", oldData);
}

TEST(Clocks, VirtualTimersFireInOrderAndNeverReenter)
{
    VirtualClock clock;
    SetClock(&clock);
    clock.SetAutoRun(false);
    std::vector<int> order;
    GameTimer a(nullptr, 100), b(nullptr, 250);
    a.OnTimer = [&] { order.push_back(1); };
    int depth = 0, maxDepth = 0;
    b.OnTimer = [&] {
        order.push_back(2);
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        b.Fire(); // a handler that pumps must not run itself again
        --depth;
    };
    a.SetEnabled(true);
    b.SetEnabled(true);
    clock.Advance(500);
    EXPECT_EQ(order, (std::vector<int>{1, 1, 2, 1, 1, 2, 1}));
    EXPECT_EQ(maxDepth, 1);
    a.SetEnabled(false);
    Sleep(1000);
    EXPECT_EQ(clock.NowMs(), 1500);
    EXPECT_EQ(clock.SleptMs(), 1000);
    clock.Advance(10);
    EXPECT_EQ(std::count(order.begin(), order.end(), 1), 5); // no tick of a stopped timer
    SetClock(nullptr);
}

TEST(Pictures, BitmapHeaderIsExactAndRowsGoBottomUp)
{
    QImage img(3, 2, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(1, 2, 3));
    img.setPixel(2, 1, qRgb(250, 251, 252));
    const QByteArray bmp = EncodeBmp24(img);
    ASSERT_EQ(bmp.size(), 54 + 12 * 2);
    const QByteArray header = QByteArray::fromHex("424d4e000000000000003600000028000000030000000200000001001800000000001800000000000000000000000000000000000000");
    EXPECT_EQ(bmp.left(54), header);
    // Bottom row first: pixel (2,1) is the third pixel of the first row, stored B, G, R.
    EXPECT_EQ(bmp.mid(54 + 6, 3), QByteArray::fromHex("fcfbfa"));
    EXPECT_EQ(bmp.mid(54 + 12, 3), QByteArray::fromHex("030201"));
    QImage back;
    ASSERT_TRUE(DecodeBmp(bmp, back));
    EXPECT_EQ(back, img.convertToFormat(QImage::Format_RGB32));
    QString why;
    EXPECT_FALSE(DecodeBmp(bmp.left(bmp.size() - 1), back, &why));
    EXPECT_EQ(why, QStringLiteral("ビットマップが無効です。"));
    QByteArray huge = bmp;
    huge[18] = char(0xFF);
    huge[19] = char(0xFF);
    huge[22] = char(0xFF);
    huge[23] = char(0x7F);
    EXPECT_FALSE(DecodeBmp(huge, back, &why));
    EXPECT_EQ(why, QStringLiteral("画像が大きすぎます。"));
}

// A 2 x 1 16-bit bitmap: white and black, as 5-5-5 or (with bit fields) 5-6-5.
QByteArray sixteenBitBmp(bool bitFields)
{
    QByteArray d = QByteArray::fromHex("424d") + QByteArray(12, '\0');
    const int extra = bitFields ? 12 : 0;
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) d[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    d += QByteArray(40 + extra, '\0');
    put32(2, quint32(54 + extra + 4));
    put32(10, quint32(54 + extra));
    put32(14, 40);
    put32(18, 2);
    put32(22, 1);
    d[26] = 1;
    d[28] = 16;
    put32(30, bitFields ? 3 : 0);
    if (bitFields) {
        put32(54, 0xF800);
        put32(58, 0x07E0);
        put32(62, 0x001F);
    }
    d += bitFields ? QByteArray::fromHex("ffff0000") : QByteArray::fromHex("ff7f0000");
    return d;
}

TEST(Pictures, SixteenBitWhiteStaysPureWhite)
{
    for (bool fields : {false, true}) {
        QImage img;
        ASSERT_TRUE(DecodeBmp(sixteenBitBmp(fields), img)) << fields;
        EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255)) << fields;
        EXPECT_EQ(img.pixel(1, 0), qRgb(0, 0, 0)) << fields;
    }
}

TEST(Pictures, JpegErrorsNameTheLibraryCode)
{
    QImage img(16, 8, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    QByteArray jpeg;
    ASSERT_TRUE(EncodeJpeg(img, 100, jpeg));
    QImage back;
    ASSERT_TRUE(DecodeJpeg(jpeg, back));
    EXPECT_EQ(back.size(), img.size());
    EXPECT_GE(qRed(back.pixel(3, 3)), 254);
    QString why;
    EXPECT_FALSE(DecodeJpeg("not a jpeg", back, &why));
    EXPECT_TRUE(why.startsWith(QStringLiteral("JPEG エラー #"))) << why.toStdString();
    EXPECT_FALSE(DecodeJpeg(jpeg.left(jpeg.size() / 2), back, &why) && back.isNull());
    EXPECT_FALSE(DecodeJpeg(QByteArray(), back, &why));
}

TEST(Pictures, WhatAPictureCostsIsBoundedByItsData)
{
    QImage small(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) small.setPixel(x, y, qRgb(x * 4, y * 4, (x ^ y) * 4));
    QByteArray jpeg, huge;
    ASSERT_TRUE(EncodeJpeg(small, 90, jpeg));
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    // The same bytes declaring 8000 x 8000 cannot hold so many blocks; coded arithmetically they
    // could, and are not read.
    huge = jpeg;
    huge.replace(sof + 5, 4, QByteArray("\x1F\x40\x1F\x40", 4));
    QByteArray arith = jpeg;
    arith[sof + 1] = char(0xC9);
    QImage out;
    QString why;
    for (const QByteArray& refused : {huge, arith}) {
        EXPECT_FALSE(DecodeJpeg(refused, out, &why));
        EXPECT_TRUE(out.isNull() && why.startsWith(QStringLiteral("JPEG エラー #"))) << why.toStdString();
    }
    // A large flat picture whose data is all there is read.
    QImage flat(4000, 3000, QImage::Format_RGB32);
    flat.fill(qRgb(255, 255, 255));
    ASSERT_TRUE(EncodeJpeg(flat, 100, jpeg));
    ASSERT_TRUE(DecodeJpeg(jpeg, out, &why)) << why.toStdString();
    EXPECT_EQ(out.size(), flat.size());
    // A run-length bitmap of a few bytes that claims 4096 x 4096 (a 4 x 1 picture's header, widened).
    QByteArray rle = EncodeBmp24(QImage(4, 1, QImage::Format_RGB32)).left(54) + QByteArray(1024, '\0');
    rle += QByteArray("\x04\x07\0\0\0\1", 6); // one run, the line's end, the picture's end
    rle.replace(18, 8, QByteArray("\0\x10\0\0\0\x10\0\0", 8));
    rle.replace(10, 2, QByteArray("\x36\x04", 2)); // the rows after the palette
    rle[28] = 8;
    rle[30] = 1;
    EXPECT_TRUE(DecodeBmp(QByteArray(rle).replace(18, 8, QByteArray("\x04\0\0\0\x01\0\0\0", 8)), out, &why));
    EXPECT_FALSE(DecodeBmp(rle, out, &why));
}

TEST(Pictures, WholeFileWritesReplaceAtomically)
{
    QTemporaryDir dir;
    const QString p = dir.path() + QStringLiteral("/a.bin");
    ASSERT_EQ(WriteFileAtomically(p, QByteArray(100, 'x')), 0);
    ASSERT_EQ(WriteFileAtomically(p, "short"), 0);
    EXPECT_EQ(ReadFile(p), QByteArray("short"));
    QDir().mkdir(dir.path() + QStringLiteral("/d"));
    EXPECT_NE(WriteFileAtomically(dir.path() + QStringLiteral("/d"), "x"), 0);
    QByteArray out = "keep";
    EXPECT_FALSE(ReadWholeFile(dir.path() + QStringLiteral("/none"), 16, out));
    EXPECT_EQ(out, QByteArray("keep"));
}

TEST(SheetLinkMessages, FramingAndPathsAreCheckedAgainstTheBytesPresent)
{
    CopyDataMessage m;
    const QByteArray one = EncodeCopyData(7, QByteArray("/x.bmp\0", 7));
    EXPECT_EQ(ParseCopyData(one, m), one.size());
    EXPECT_EQ(m.dwData, 7u);
    for (int cut = 0; cut < one.size(); ++cut) EXPECT_EQ(ParseCopyData(one.left(cut), m), 0) << cut;
    QByteArray hostile = EncodeCopyData(0, "x");
    hostile[7] = char(0x7F); // cbData of two billion
    EXPECT_EQ(ParseCopyData(hostile, m), -1);
    EXPECT_TRUE(CopyDataFromPath(QString(kCopyDataMax, QLatin1Char('a'))).isEmpty());
    EXPECT_EQ(CopyDataFromPath(QString(kCopyDataMax - 1, QLatin1Char('a'))).size(), kCopyDataMax);
    QString path;
    EXPECT_TRUE(PathFromCopyData(CopyDataFromPath(QStringLiteral("/選手.bmp")), path));
    EXPECT_EQ(path, QStringLiteral("/選手.bmp"));
}

TEST(SheetLinkMessages, ServerAnswersTakesOverStaleSocketsAndLeavesLiveOnesAlone)
{
    QTemporaryDir dir;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    const QString sock = SheetLinkSocketPath();
    // A socket file left behind by a program that died.
    {
        QLocalServer dead;
        dead.setSocketOptions(QLocalServer::UserAccessOption);
        ASSERT_TRUE(dead.listen(sock));
        dead.close();
        WriteFile(sock, "");
    }
    SheetLinkServer server;
    ASSERT_TRUE(server.Listen());
    std::vector<QByteArray> got;
    server.OnCopyData = [&](const CopyDataMessage& m) {
        got.push_back(m.data);
        return 1;
    };
    SheetLinkServer second;
    EXPECT_FALSE(second.Listen());
    std::optional<int> reply;
    QTimer::singleShot(0, [&] { reply = SendCopyData(0, CopyDataFromPath(QStringLiteral("/a.bmp")), 2000); });
    // The reply needs the server's loop: the client waits on its own socket meanwhile.
    ASSERT_TRUE(WaitUntil([&] { return !got.empty(); }));
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(got[0], QByteArray("/a.bmp\0", 7));
}

} // namespace

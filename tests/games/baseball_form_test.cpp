// The baseball form on the offscreen platform and the virtual clock: input through real key and mouse
// events, what the frame shows, games auto-played through the launcher and from the menu, and the
// early close.
#include "BaseBallGames.h"
#include "Clock.h"
#include "FakeGameHost.h"
#include "Sound.h"
#include "UnitBaseBall.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include <QAbstractItemView>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <set>
#include "ShellFixture.h"
#include "TestDoubles.h"
#include <gtest/gtest.h>

using namespace bb;

namespace {

const QString kCaption = QStringLiteral("ぱにもこ 野球対決");

QPoint centreOf(int course)
{
    const TBox r = course == kTagUpIndex ? kTagUpButton : CourseRect(course);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

QRgb pixel(const TBitmap& b, QPoint p)
{
    return b.Image().pixel(p) | 0xFF000000u;
}

// The face colour of a course button (just inside its bevel).
QRgb faceOf(const TFormBaseBall& f, int course)
{
    const TBox r = course == kTagUpIndex ? kTagUpButton : CourseRect(course);
    return pixel(f.BackBuffer(), QPoint(r.Left + 4, r.Top + 4));
}

constexpr QRgb kNormalFace = ToPixel(RGBColor(232, 226, 206));
constexpr QRgb kMineFace = ToPixel(RGBColor(60, 130, 236));
constexpr QRgb kComFace = ToPixel(RGBColor(226, 66, 58));
constexpr QRgb kBothFace = ToPixel(RGBColor(170, 70, 210));

// Every opaque pixel of the call banner drawn centred on the mark is on screen.
bool CallDrawnAt(const TFormBaseBall& f, QPoint mark, int kind)
{
    const QImage& banner = f.Scene().imlHantei.Image(kind);
    const int x0 = mark.x() - banner.width() / 2, y0 = mark.y() - banner.height() / 2;
    for (int y = 0; y < banner.height(); ++y)
        for (int x = 0; x < banner.width(); ++x) {
            const QRgb b = banner.pixel(x, y) | 0xFF000000u;
            if (b == 0xFFFFFFFFu || !f.BackBuffer().Image().rect().contains(x0 + x, y0 + y)) continue;
            if (pixel(f.BackBuffer(), QPoint(x0 + x, y0 + y)) != b) return false;
        }
    return true;
}

class BaseBallFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock.SetAutoRun(false);
        SetClock(&clock);
        Sound().SetBackend(&sounds);
    }
    void TearDown() override
    {
        Form::SetModalHook(nullptr);
        Sound().SetBackend(nullptr);
        SetClock(nullptr);
    }
    std::unique_ptr<TFormBaseBall> open()
    {
        auto f = std::make_unique<TFormBaseBall>(nullptr);
        f->SetCaption(kCaption);
        f->show();
        return f;
    }
    void ticks(int n) { clock.Advance(100 * qint64(n)); }
    // Ticks until the next plate appearance has begun.
    void nextBatter(const TBaseBallGame& g)
    {
        const int before = g.OrderPosition[0] + g.OrderPosition[1];
        for (int i = 0; i < 400 && g.OrderPosition[0] + g.OrderPosition[1] == before; ++i) ticks(1);
        ASSERT_NE(g.OrderPosition[0] + g.OrderPosition[1], before);
    }

    FakeGameHost host{11};
    VirtualClock clock;
    RecordingDialogs dialogs;
    RecordingSoundBackend sounds;
};

TEST_F(BaseBallFormTest, KeysAndClicksDuringTheOpeningAndPlay)
{
    auto f = open();
    TBaseBallGame& g = f->Game();
    ASSERT_TRUE(g.Opening);
    EXPECT_EQ(f->cobInning->ItemIndex(), 2);
    EXPECT_EQ(g.Inning, 4);
    EXPECT_EQ(f->width(), 792);
    EXPECT_EQ(sounds.Started(), std::vector<QString>{QStringLiteral("OPENING")});

    // Digits of both keyboards fill the buffer, the last one counts; a click fills only an empty one.
    QTest::keyClick(f.get(), Qt::Key_7);
    EXPECT_EQ(g.CourseBuffer, 7);
    QTest::keyClick(f.get(), Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(g.CourseBuffer, 3);
    QTest::mouseClick(f->imOmote, Qt::LeftButton, Qt::NoModifier, centreOf(5));
    EXPECT_EQ(g.CourseBuffer, 3);

    // Esc pauses everything, the opening's count too, and says so in the caption.
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_EQ(f->Caption(), kCaption + QStringLiteral("  ※Pause※"));
    EXPECT_FALSE(f->Timer1->Enabled());
    const int counted = g.OpeningTicks;
    ticks(10);
    EXPECT_EQ(g.OpeningTicks, counted);
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_EQ(f->Caption(), kCaption);
    EXPECT_TRUE(f->Timer1->Enabled());

    // F2 drops the start-inning list; the arrows move round it; the opening waits while it is open.
    QTest::keyClick(f.get(), Qt::Key_F2);
    ASSERT_TRUE(f->cobInning->DroppedDown());
    QTest::keyClick(f->cobInning->view(), Qt::Key_Down);
    EXPECT_EQ(g.Inning, 6);
    for (int i = 0; i < 4; ++i) QTest::keyClick(f->cobInning->view(), Qt::Key_Up);
    EXPECT_EQ(f->cobInning->ItemIndex(), 5) << "round from the first item to the last";
    EXPECT_EQ(g.Inning, 8);
    EXPECT_EQ(g.StartFlag, 1);
    ticks(60);
    EXPECT_TRUE(g.Opening);
    QTest::keyClick(f.get(), Qt::Key_Space);
    EXPECT_FALSE(f->cobInning->DroppedDown());
    ticks(2);
    ASSERT_FALSE(g.Opening);
    EXPECT_EQ(host.optionIndex, 5);
    EXPECT_TRUE(host.manualPlay);
    EXPECT_EQ(g.UserCourse, 3) << "committed at the first tick of play";

    // Too late to change the start inning: a beep, a warning, and the list shows the inning played.
    QTest::keyClick(f.get(), Qt::Key_F2);
    QTest::keyClick(f->cobInning->view(), Qt::Key_Down);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("開始イニングを変更できるのは，オープニングのときだけです。"));
    EXPECT_EQ(dialogs.BeepCount(MB_ICONASTERISK), 1);
    EXPECT_EQ(f->cobInning->ItemIndex(), 5);
    EXPECT_EQ(g.Inning, 8);

    // The next batter: the hover follows the mouse, a right click chooses nothing, a left click on a
    // shared edge takes the first rectangle that holds it.
    nextBatter(g);
    ASSERT_EQ(g.CourseBuffer, kNoCourse);
    QTest::mouseMove(f->imOmote, centreOf(8));
    EXPECT_EQ(g.Hover, 8);
    QTest::mouseClick(f->imOmote, Qt::RightButton, Qt::NoModifier, centreOf(8));
    EXPECT_EQ(g.CourseBuffer, kNoCourse);
    QTest::mouseClick(f->imOmote, Qt::LeftButton, Qt::NoModifier, QPoint(677, 448));
    EXPECT_EQ(g.CourseBuffer, 4);
    EXPECT_EQ(g.PanelStage, 1);

    // '.' of both keyboards toggles the tag-up, and so does its button; the order toggle any time.
    const bool tagUp = g.TagUp[1];
    QTest::keyClick(f.get(), Qt::Key_Period);
    EXPECT_NE(g.TagUp[1], tagUp);
    QTest::keyClick(f.get(), Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(g.TagUp[1], tagUp);
    QTest::mouseClick(f->imOmote, Qt::LeftButton, Qt::NoModifier, QPoint(750, 130));
    EXPECT_TRUE(g.ShowAverage);

    // F4 shows the data, F3 hands the user's side to the computer: digits no longer count.
    QTest::keyClick(f.get(), Qt::Key_F4);
    EXPECT_TRUE(f->cbData->isChecked());
    QTest::keyClick(f.get(), Qt::Key_F3);
    EXPECT_TRUE(f->cbAuto->isChecked());
    EXPECT_TRUE(g.Auto);
    EXPECT_FALSE(host.manualPlay);
    const int buffer = g.CourseBuffer;
    QTest::keyClick(f.get(), Qt::Key_9);
    EXPECT_EQ(g.CourseBuffer, buffer);
    QTest::keyClick(f.get(), Qt::Key_F1);
    EXPECT_EQ(host.helpShown, 1);
    f->hide();
}

// A sheet of n players, each cell in a colour of its own.
QString WriteSheet(const QString& dir, int players)
{
    QImage sheet(140 * players, 70, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (int p = 0; p < players; ++p)
        for (int y = 10; y < 60; ++y)
            for (int x = 140 * p + 20; x < 140 * p + 120; ++x) sheet.setPixel(x, y, qRgb(10 * p, 100, 200));
    const QString path = dir + QStringLiteral("/sheet%1.bmp").arg(players);
    sheet.save(path, "BMP");
    return path;
}

TEST_F(BaseBallFormTest, TheFrameShowsOpeningPanelPlayersAndChoices)
{
    // Four players of the user's repeat through the batting order; of ten of the computer's, nine play.
    QTemporaryDir dir;
    host.mySheetFile = WriteSheet(dir.path(), 4);
    host.aiteSheetFile = WriteSheet(dir.path(), 10);
    auto f = open();
    ASSERT_EQ(f->Scene().imlB.Count(), 16);
    ASSERT_EQ(f->Scene().imlA.Count(), 36);
    for (int side = 0; side < 2; ++side) {
        const TTeamPictures& t = f->Game().Teams[size_t(side)];
        const TImageList& list = f->Scene().TeamList(side);
        for (int p = 0; p < t.PlayerCount; ++p) {
            EXPECT_EQ(list.Image(2 * p).pixel(35, 35) | 0xFF000000u, QColor(10 * t.Order[size_t(p)], 100, 200).rgb()) << side << " " << p;
            EXPECT_EQ(list.Image(2 * p + t.MirrorOffset()).pixel(70 - 1 - 25, 35), list.Image(2 * p).pixel(25, 35));
        }
    }
    EXPECT_EQ(f->Game().Teams[1].SlotImage, (std::array<int, 9>{0, 2, 4, 6, 0, 2, 4, 6, 0}));
    const TBitmap& park = f->Scene().imHaikei;
    const TBitmap& back = f->BackBuffer();
    ASSERT_EQ(back.Width(), 792);
    ASSERT_EQ(back.Height(), 590);
    ASSERT_EQ(park.Width(), 792);
    // The opening's title box over the outfield, and the buttons of the course panel.
    EXPECT_EQ(pixel(back, {302, 201}), ToPixel(RGBColor(250, 214, 60)));
    for (int c = 0; c <= kTagUpIndex; ++c) EXPECT_EQ(faceOf(*f, c), kNormalFace) << c;
    // The fielders on their spots and the batter in his box.
    for (int a : {int(kPitcher), int(kShortstop), int(kBatter)}) {
        const QPoint p = f->Game().Actors[size_t(a)].Pos;
        int differ = 0;
        for (int y = p.y() - 60; y < p.y(); ++y)
            for (int x = p.x() - 25; x < p.x() + 25; ++x) differ += pixel(back, {x, y}) != pixel(park, {x, y});
        EXPECT_GT(differ, 300) << "actor " << a;
    }
    ticks(45);
    ASSERT_FALSE(f->Game().Opening);
    EXPECT_EQ(pixel(back, {302, 201}), pixel(park, {302, 201})) << "the title is gone";

    // The user's course, the computer's with its box, and both in one when they agree.
    QTest::mouseClick(f->imOmote, Qt::LeftButton, Qt::NoModifier, centreOf(5));
    f->DrawScene();
    EXPECT_EQ(faceOf(*f, 5), kMineFace);
    QTest::mouseClick(f->cbShowComSelect, Qt::LeftButton, Qt::NoModifier, QPoint(6, f->cbShowComSelect->height() / 2));
    ASSERT_TRUE(f->cbShowComSelect->isChecked());
    const TBaseBallGame& g = f->Game();
    for (int i = 0; i < 40 && g.PanelStage < 2; ++i) ticks(1);
    ASSERT_EQ(g.PanelStage, 2);
    f->DrawScene();
    if (g.ComCourse == 5) {
        EXPECT_EQ(faceOf(*f, 5), kBothFace);
    } else {
        EXPECT_EQ(faceOf(*f, 5), kMineFace);
        EXPECT_EQ(faceOf(*f, g.ComCourse), kComFace);
    }
    f->hide();
}

// A few whole auto-played stretches through the launcher: plate appearance after plate appearance
// shows its call on the field, the outs show on the panel, and closing the window reports a loss.
TEST_F(BaseBallFormTest, AutoProgressShowsTheCallOfEveryPlateAppearance)
{
    for (std::uint32_t seed : {3u, 17u}) {
        SCOPED_TRACE(seed);
        FakeGameHost seeded(seed);
        seeded.autoProgress = true;
        clock.SetAutoRun(true);
        sounds.Clear();
        int calls = 0, outsShown = 0;
        bool called = false;
        std::set<int> kinds;
        GameTimer watch(nullptr, 100, false);
        watch.OnTimer = [&] {
            TFormBaseBall* f = FormBaseBall;
            if (!f || !f->isVisible()) return;
            const TBaseBallGame& g = f->Game();
            const bool now = !g.Play.OutMarks.empty() || g.Play.FoulAnnounced;
            if (now && !called) {
                ++calls;
                kinds.insert(g.Play.PlayKind);
                f->DrawScene();
                if (!g.Play.OutMarks.empty()) {
                    EXPECT_TRUE(CallDrawnAt(*f, g.Play.OutMarks[0].At, g.Play.OutMarks[0].Banner));
                }
            }
            called = now;
            if (g.Outs == 1 && !g.Opening) {
                bool red = false;
                for (int x = 674; x < 700 && !red; ++x)
                    for (int y = 112; y < 130 && !red; ++y) red = pixel(f->BackBuffer(), {x, y}) == ToPixel(RGBColor(255, 48, 48));
                outsShown += red;
            }
            if (calls >= 10) f->Close();
        };
        Form::SetModalHook([&](Form* f) {
            if (f == FormBaseBall) watch.SetEnabled(true);
        });
        const quint16 result = PlayBaseBall(seeded);
        watch.SetEnabled(false);
        EXPECT_EQ(result, mrNo);
        EXPECT_EQ(FormBaseBall, nullptr);
        EXPECT_GE(calls, 10);
        EXPECT_GE(kinds.size(), 2u);
        EXPECT_GT(outsShown, 0);
        ASSERT_EQ(seeded.results.size(), 1u);
        EXPECT_EQ(seeded.results[0], 0x1000 + 0x800 + 0x200 + gnBaseBall) << "lost, auto-played, fifth inning";
        EXPECT_TRUE(seeded.autoProgress);
        EXPECT_EQ(seeded.randomBlock, 100);
        EXPECT_NE(seeded.resultPlayers[0], -1);
        const std::vector<QString> started = sounds.Started();
        ASSERT_FALSE(started.empty());
        EXPECT_EQ(started.front(), QStringLiteral("OPENING"));
        EXPECT_GT(sounds.Count(QStringLiteral("BATTING")), 0);
    }
}

// From the menu: the "野球" button, the settings list open at the start, the auto-progress box both
// ways, and the result window after an early close.
class BaseBallMenuTest : public ShellFixture {};

TEST_F(BaseBallMenuTest, ThePlayButtonOpensTheFieldAndClosingIsALoss)
{
    RegisterBaseBallGame();
    MakeForms();
    ASSERT_TRUE(FormGame->bbBaseBall->isEnabled());
    FormGame->cbSetUpOpenStart->setChecked(true);
    FormGame->cbAuto->setChecked(true);
    int shownReports = 0;
    bool listOpenAtStart = false, waited = false;
    GameTimer watch(nullptr, 100, false);
    int n = 0;
    watch.OnTimer = [&] {
        TFormBaseBall* f = FormBaseBall;
        if (!f || !f->isVisible()) return;
        ++n;
        if (n == 1) listOpenAtStart = f->cobInning->DroppedDown();
        if (n == 60) {
            waited = f->Game().Opening;
            QTest::keyClick(f, Qt::Key_Space);
            QTest::keyClick(f, Qt::Key_F3); // the user takes his side back
        }
        if (n == 120) f->Close();
    };
    Form::SetModalHook([&](Form* f) {
        if (f == FormGameWinMes) {
            ++shownReports;
            f->Close();
        } else if (f == FormBaseBall) {
            EXPECT_EQ(f->Caption(), QStringLiteral("ぱにもこ 野球対決"));
            EXPECT_TRUE(FormBaseBall->cbAuto->isChecked());
            EXPECT_EQ(FormBaseBall->FPlayerName, QStringLiteral("もこ太郎"));
            watch.SetEnabled(true);
        }
    });
    FormGame->bbBaseBall->click();
    watch.SetEnabled(false);
    EXPECT_TRUE(listOpenAtStart);
    EXPECT_TRUE(waited) << "the opening waits while the list is open";
    EXPECT_EQ(shownReports, 1);
    EXPECT_FALSE(FormGame->cbAuto->isChecked()) << "the game's box goes back to the menu";
    EXPECT_FALSE(FormGame->isVisible()) << "the menu closes: the program ends";
    EXPECT_EQ(FormBaseBall, nullptr);
}

// A whole game from the menu, played by the computer for both sides from the ninth on the test
// clock: the result window offers the batting data of the game beneath it, "CHANGE" plays once per
// change of sides when the sound before it has ended, and the program ends after the window.
TEST_F(BaseBallMenuTest, AWholeAutoGameEndsInTheResultWindowWithItsBattingData)
{
    RegisterBaseBallGame();
    MakeForms();
    FormGame->cbSetUpOpenStart->setChecked(true);
    FormGame->cbAuto->setChecked(true);
    bool chosen = false;
    int sideChanges = 0, lastSide = 0, reports = 0;
    GameTimer watch(nullptr, 100, false);
    watch.OnTimer = [&] {
        TFormBaseBall* f = FormBaseBall;
        if (!f || !f->isVisible()) return;
        if (!chosen && f->cobInning->DroppedDown()) {
            // "９回から": three steps up round the list, then Space closes it.
            for (int i = 0; i < 3; ++i) QTest::keyClick(f->cobInning->view(), Qt::Key_Up);
            QTest::keyClick(f, Qt::Key_Space);
            chosen = true;
        }
        const TBaseBallGame& g = f->Game();
        if (g.BattingSide != lastSide && !g.Opening) ++sideChanges;
        lastSide = g.BattingSide;
    };
    Form::SetModalHook([&](Form* f) {
        if (f == FormBaseBall) {
            watch.SetEnabled(true);
            return;
        }
        if (f != FormGameWinMes) return;
        ++reports;
        watch.SetEnabled(false);
        ASSERT_NE(FormBaseBall, nullptr);
        const TBaseBallGame& g = FormBaseBall->Game();
        EXPECT_EQ(g.StartFlag, 1);
        EXPECT_GE(g.Inning, 8);
        EXPECT_EQ(FormGameWinMes->FMainText, g.Winner == 1 ? QStringLiteral("勝ちました～") : QStringLiteral("負けました..."));
        EXPECT_EQ(g.Winner == 1, g.Runs[1] > g.Runs[0]);
        // The link draws the batting data over the field beneath the window.
        ASSERT_EQ(FormGameWinMes->LinkText(), QStringLiteral("打撃データ表示"));
        const QPoint corner(597, 415);
        EXPECT_NE(pixel(FormBaseBall->BackBuffer(), corner), ToPixel(RGBColor(20, 26, 50)));
        const QPoint link = FormGameWinMes->LinkRect().center();
        QWindow* window = FormGameWinMes->windowHandle();
        const QPoint inWindow = FormGameWinMes->imOmote->mapTo(FormGameWinMes->window(), link);
        QTest::mouseMove(window, inWindow - QPoint(3, 0));
        QTest::mouseMove(window, inWindow);
        QTest::mouseClick(FormGameWinMes->imOmote, Qt::LeftButton, Qt::NoModifier, link);
        EXPECT_TRUE(g.StatisticsFlag);
        EXPECT_EQ(pixel(FormBaseBall->BackBuffer(), corner), ToPixel(RGBColor(20, 26, 50)));
        EXPECT_GT(g.Stats[0][0], 0);
        QTest::keyClick(FormGameWinMes, Qt::Key_Escape);
    });
    FormGame->bbBaseBall->click();
    watch.SetEnabled(false);
    EXPECT_TRUE(chosen);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(FormGame->FWinCount + FormGame->FLoseCount, 1);
    EXPECT_EQ(FormBaseBall, nullptr);
    EXPECT_FALSE(ResultLinks().ShowGameRecord) << "no link into a game that is gone";
    EXPECT_FALSE(FormGame->isVisible());
    // Each change of sides played "CHANGE" once, never over another sound.
    EXPECT_GE(sideChanges, 1);
    EXPECT_EQ(sounds.Count(QStringLiteral("CHANGE")), sideChanges);
    for (size_t i = 1; i < sounds.events.size(); ++i) {
        const auto& e = sounds.events[i];
        if (e.name != QStringLiteral("CHANGE")) continue;
        const auto& before = sounds.events[i - 1];
        EXPECT_GE(e.atMs, before.atMs + before.lengthMs) << "over " << before.name.toStdString();
    }
}

} // namespace

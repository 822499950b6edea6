// The soccer form on the offscreen platform and the virtual clock: orders from real clicks and keys,
// the settings row, what the frame shows, a whole match auto-played through the launcher with its
// replay watched again, the early close, and the game from the menu with the result window's link.
#include "FakeGameHost.h"
#include "MyFileDialogs.h"
#include "SoccerGames.h"
#include "SoccerReplayFiles.h"
#include "SoccerHarness.h"
#include "SoccerScene.h"
#include "Sound.h"
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include "UnitPK.h"
#include "UnitSoccer.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include "ShellFixture.h"
#include "TestDoubles.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using namespace soccer;

namespace {

const QString kCaption = QStringLiteral("ぱにもこ サッカー対決");

QRgb pixel(const TBitmap& b, QPoint p)
{
    return b.Image().pixel(p) | 0xFF000000u;
}

bool greenGrass(QRgb c)
{
    return qGreen(c) > 150 && qRed(c) < 130 && qBlue(c) < 100;
}

QPoint centre(const TRect& r)
{
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

class SoccerFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock.SetAutoRun(false);
        SetClock(&clock);
        Sound().SetBackend(&sounds);
        host.dataDir = dir.path() + QStringLiteral("/");
    }
    void TearDown() override
    {
        Form::SetModalHook(nullptr);
        TMyFileDialog::SetTestHook(nullptr);
        Sound().SetBackend(nullptr);
        SetClock(nullptr);
    }
    std::unique_ptr<TFormSoccer> open(int operation = 0)
    {
        auto f = std::make_unique<TFormSoccer>(nullptr);
        f->SetCaption(kCaption);
        f->FPlayerName = QStringLiteral("もこ太郎");
        f->cobSousa->SetItemIndex(operation);
        f->show();
        return f;
    }
    void ticks(TFormSoccer& f, int n)
    {
        for (int i = 0; i < n && f.Timer1->Enabled(); ++i) clock.Advance(f.Timer1->Interval());
    }
    void throughOpening(TFormSoccer& f)
    {
        for (int i = 0; i < 300 && f.Engine().FOpening; ++i) ticks(f, 1);
        ASSERT_FALSE(f.Engine().FOpening);
    }
    // Play stands still with team 0 at the ball: the form is paused and the players placed apart.
    void placeAttack(TFormSoccer& f, int holder)
    {
        if (!f.Paused()) QTest::keyClick(&f, Qt::Key_Escape);
        TSoccerEngine& e = f.Engine();
        e.KickOffPass = false;
        e.FAIDecides = false;
        e.FControlled = -1;
        e.FHolder = {0, holder};
        for (int t = 0; t < 2; ++t)
            for (int p = 0; p < 7; ++p) {
                TSoccerPlayer& pl = e.FPlayers[t][p];
                pl.X = p == 0 ? (t == 0 ? 116 : 746) : 200 + 75 * p + 20 * t;
                pl.Y = t == 0 ? 260 + 25 * (p % 3) : 480;
                pl.Action = acNone;
            }
        e.Ball.X = e.FPlayers[0][holder].X + 4;
        e.Ball.Y = e.FPlayers[0][holder].Y - 3;
        e.Ball.Speed = 0;
        UpdateContacts(e);
        e.SortTeams();
        ASSERT_EQ(e.Order[0][0], holder);
    }
    void click(TFormSoccer& f, QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseMove(f.imOmote, p);
        QTest::mouseClick(f.imOmote, b, Qt::NoModifier, p);
    }
    QPoint head(TFormSoccer& f, int player) { return {f.Engine().FPlayers[0][player].X, f.Engine().FPlayers[0][player].Y - 30}; }
    QString replayFolder() const { return ReplayFolderOf(host.dataDir); }

    FakeGameHost host{7};
    VirtualClock clock;
    RecordingDialogs dialogs;
    RecordingSoundBackend sounds;
    QTemporaryDir dir;
};

TEST_F(SoccerFormTest, ClicksAndKeysOrderPassesShotsAndTheDefence)
{
    auto f = open(0);
    TSoccerEngine& e = f->Engine();
    EXPECT_EQ(host.randomBlock, 60);
    throughOpening(*f);
    placeAttack(*f, 4);

    // A click on a team-mate passes to him, and he is the one the user controls from then on.
    click(*f, head(*f, 2), Qt::RightButton);
    EXPECT_EQ(e.FPlayers[0][4].Action, acNone) << "the right button gives no order";
    click(*f, head(*f, 2));
    EXPECT_EQ(e.FPlayers[0][4].Action, acPass);
    EXPECT_EQ(e.FPlayers[0][4].ActionTarget, 2);
    EXPECT_EQ(e.FPlayers[0][4].OrderSource, 2);
    EXPECT_EQ(e.FControlled, 2);
    // A click on the controlled player himself: he dribbles, and the clicks on him are counted.
    click(*f, head(*f, 2));
    EXPECT_EQ(e.FPlayers[0][2].Action, acDribble);
    EXPECT_EQ(e.FClickStreak, 1);

    // A click in the goal mouth shoots, and the mouth turns red.
    click(*f, centre(GoalRt[1]));
    EXPECT_EQ(e.FPlayers[0][2].Action, acShoot);
    EXPECT_EQ(e.FPlayers[0][2].ActionParam, 6);
    EXPECT_TRUE(e.FUserShot);
    EXPECT_EQ(pixel(f->BackBuffer(), {GoalRt[1].Left + 10, GoalRt[1].Top + 3}), ToPixel(clRed));
    // The keeper who takes the ball ends the user's shot order, and the mouth is grey again.
    e.Ball.X = e.FPlayers[1][0].X;
    e.Ball.Y = e.FPlayers[1][0].Y;
    e.FLastBallTick = e.FTick - 5;
    ASSERT_TRUE(e.KeeperAtBall(1));
    EXPECT_FALSE(e.FUserShot);
    f->DrawScene();
    EXPECT_EQ(pixel(f->BackBuffer(), {GoalRt[1].Left + 10, GoalRt[1].Top + 3}), ToPixel(0xECECEC));

    // Keys of both keyboards click where the mouse would: a team-mate, the goal, the loop button.
    placeAttack(*f, 4);
    QTest::keyClick(f.get(), Qt::Key_5);
    EXPECT_EQ(e.FPlayers[0][4].Action, acPass);
    EXPECT_EQ(e.FPlayers[0][4].ActionTarget, 5);
    QTest::keyClick(f.get(), Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(e.FPlayers[0][5].ActionTarget, 3);
    QTest::keyClick(f.get(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(e.FPlayers[0][3].Action, acShoot);
    placeAttack(*f, 6);
    QTest::keyClick(f.get(), Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(e.FPlayers[0][6].Action, acShoot);
    EXPECT_EQ(e.FPlayers[0][6].ActionParam, 7) << "the loop shot";
    EXPECT_TRUE(e.FLoopShot[0]);
    // With the opponents at the ball, 0 raises the defence line and 0 again lowers it.
    e.FHolder = {1, 3};
    QTest::keyClick(f.get(), Qt::Key_0);
    EXPECT_TRUE(e.FTrap[0]);
    QTest::keyClick(f.get(), Qt::Key_0, Qt::KeypadModifier);
    EXPECT_FALSE(e.FTrap[0]);

    // The pointer lights the user's buttons; over the defence button it speaks for the team without
    // the ball.
    QTest::mouseMove(f->imOmote, centre(OperationRt[1][0]));
    EXPECT_TRUE(e.FLoopHover);
    f->DrawScene();
    EXPECT_EQ(pixel(f->BackBuffer(), {OperationRt[1][0].Left + 6, OperationRt[1][0].Bottom - 12}), ToPixel(clYellow));
    QTest::mouseMove(f->imOmote, centre(OperationRt[1][1]));
    EXPECT_TRUE(e.FDefenceHover);
    EXPECT_EQ(f->imOmote->cursor().shape(), Qt::ArrowCursor) << "team 0 defends";

    // F5 steps through the operation modes; in "自動進行" clicks and number keys give no order and
    // the pointer shows they are not allowed.
    for (int i = 0; i < 3; ++i) QTest::keyClick(f.get(), Qt::Key_F5);
    ASSERT_EQ(e.FOperation, 3);
    EXPECT_FALSE(host.manualPlay) << "the user no longer plays by hand";
    EXPECT_EQ(f->imOmote->cursor().shape(), Qt::ForbiddenCursor);
    placeAttack(*f, 4);
    click(*f, head(*f, 2));
    QTest::keyClick(f.get(), Qt::Key_1);
    EXPECT_EQ(e.FPlayers[0][4].Action, acNone);
    f->hide();
}

// The buttons take no pointer during a kick-off pass; a pointer left resting on one lights it again
// once play has settled after the kick, as the shot chance comes back.
TEST_F(SoccerFormTest, TheButtonUnderARestingPointerLightsAgainAfterTheKickOff)
{
    auto f = open(0);
    TSoccerEngine& e = f->Engine();
    throughOpening(*f);
    ASSERT_TRUE(e.KickOffPass);
    QTest::mouseMove(f->imOmote, centre(OperationRt[1][1]));
    EXPECT_FALSE(e.FDefenceHover);
    for (int i = 0; i < 400 && !(e.FDefenceHover && e.FChanceOn); ++i) ticks(*f, 1);
    EXPECT_TRUE(e.FDefenceHover);
    EXPECT_TRUE(e.ButtonHover[0] && e.ButtonHover[1]);
    EXPECT_FALSE(e.KickOffPass);
    EXPECT_GT(e.FTick - e.FLastKickTick, 20);
    f->hide();
}

TEST_F(SoccerFormTest, AQuestionIsAnsweredByTheChoiceUnderThePointer)
{
    auto f = open(2);
    TSoccerEngine& e = f->Engine();
    throughOpening(*f);
    placeAttack(*f, 4);
    click(*f, head(*f, 2));
    EXPECT_EQ(e.FPlayers[0][4].Action, acNone) << "no question: the click does nothing";

    // The computer's shot for the user's team becomes a question.
    e.SetAction(0, 0, 1, 0, acShoot, 4);
    ASSERT_TRUE(e.FAskPending);
    EXPECT_EQ(e.FPlayers[0][4].Action, acNone);
    QTest::mouseMove(f->imOmote, centre(GoalRt[1]));
    EXPECT_EQ(e.FHoverChoice, 0);
    QTest::mouseMove(f->imOmote, centre(OperationRt[1][0]));
    EXPECT_EQ(e.FHoverChoice, 7);
    QTest::mouseMove(f->imOmote, head(*f, 3));
    EXPECT_EQ(e.FHoverChoice, 3);
    f->DrawScene();
    // The hovered choice is outlined in red above the player, the others in blue.
    const TSoccerPlayer& p3 = e.FPlayers[0][3];
    const TSoccerPlayer& p5 = e.FPlayers[0][5];
    EXPECT_EQ(pixel(f->BackBuffer(), {p3.X + 1, p3.Y - 104}), ToPixel(clRed));
    EXPECT_EQ(pixel(f->BackBuffer(), {p5.X + 1, p5.Y - 104}), ToPixel(clBlue));

    click(*f, head(*f, 3));
    EXPECT_FALSE(e.FAskPending);
    EXPECT_EQ(e.FPlayers[0][4].Action, acPass);
    EXPECT_EQ(e.FPlayers[0][4].ActionTarget, 3);
    f->hide();
}

TEST_F(SoccerFormTest, SettingsRowAndItsKeys)
{
    auto f = open(0);
    TSoccerEngine& e = f->Engine();
    // F2 opens the time list; the opening waits while it is open; the arrows go round it.
    QTest::keyClick(f.get(), Qt::Key_F2);
    ASSERT_TRUE(f->cobTime->DroppedDown());
    QTest::keyClick(f->cobTime->view(), Qt::Key_Down);
    EXPECT_EQ(e.FClock, 5400);
    EXPECT_EQ(e.FTimeState, tsSuddenDeath);
    QTest::keyClick(f->cobTime->view(), Qt::Key_Up);
    QTest::keyClick(f->cobTime->view(), Qt::Key_Up);
    EXPECT_EQ(f->cobTime->ItemIndex(), 0);
    EXPECT_EQ(e.FClock, 0);
    ticks(*f, 80);
    EXPECT_TRUE(e.FOpening);
    QTest::keyClick(f.get(), Qt::Key_Space);
    EXPECT_FALSE(f->cobTime->DroppedDown());
    throughOpening(*f);
    EXPECT_EQ(host.optionIndex, 0);
    EXPECT_TRUE(host.manualPlay);

    // Too late for another time mode: a beep, a warning and the mode in force shown again.
    QTest::keyClick(f.get(), Qt::Key_F2);
    QTest::keyClick(f->cobTime->view(), Qt::Key_Down);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("試合時間を変更できるのは，オープニングのときだけです。"));
    EXPECT_EQ(dialogs.BeepCount(MB_ICONASTERISK), 1);
    EXPECT_EQ(f->cobTime->ItemIndex(), 0);

    // The boxes and their keys.
    QTest::keyClick(f.get(), Qt::Key_F7);
    EXPECT_FALSE(f->cbReplay->isChecked());
    EXPECT_FALSE(e.FShowReplay);
    EXPECT_FALSE(f->cbKiseki->isEnabled());
    QTest::keyClick(f.get(), Qt::Key_F7);
    QTest::keyClick(f.get(), Qt::Key_F8);
    EXPECT_TRUE(f->cbKiseki->isChecked());
    QTest::keyClick(f.get(), Qt::Key_F4);
    EXPECT_FALSE(f->cbReplaySpeed->isChecked()) << "only for past replays";
    EXPECT_FALSE(f->bbtOpenGoalFile->isEnabled());
    QTest::keyClick(f.get(), Qt::Key_F6);
    EXPECT_FALSE(f->cbPlayer->isChecked());
    f->DrawScene();
    const TSoccerPlayer& p2 = e.FPlayers[0][2];
    EXPECT_EQ(pixel(f->BackBuffer(), {p2.X, p2.Y}), ToPixel(clBlue)) << "the square at his feet";
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_EQ(f->Caption(), kCaption + QStringLiteral("  ※Pause※"));
    const int clockNow = e.FClock;
    ticks(*f, 5);
    EXPECT_EQ(e.FClock, clockNow);
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_EQ(f->Caption(), kCaption);
    ticks(*f, 30);
    EXPECT_GT(e.FClock, clockNow);
    QTest::keyClick(f.get(), Qt::Key_F1);
    EXPECT_EQ(host.helpShown, 1);
    f->hide();

    // "過去リプレイ" with no replay yet: the warning, and the opening starts over with the list open.
    dialogs.Clear();
    auto g = open(0);
    ticks(*g, 20);
    QTest::keyClick(g.get(), Qt::Key_F2);
    for (int i = 0; i < 2; ++i) QTest::keyClick(g->cobTime->view(), Qt::Key_Down);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("リプレイファイルが見つかりません。"));
    EXPECT_EQ(g->Engine().FTick, 0);
    EXPECT_TRUE(g->cobTime->DroppedDown());
    EXPECT_TRUE(g->bbtOpenGoalFile->isEnabled()) << "a file can still be opened";
    EXPECT_FALSE(g->cbReplay->isEnabled());
    g->hide();
}

TEST_F(SoccerFormTest, TheFrameShowsPitchBoardsPlayersAndTitle)
{
    auto f = open(0);
    const TBitmap& back = f->BackBuffer();
    ASSERT_EQ(back.Width(), 863);
    ASSERT_EQ(back.Height(), 570);
    EXPECT_EQ(f->width(), 863);
    const QRgb band = pixel(back, {20, 20});
    EXPECT_TRUE(band == ToPixel(0xFFFF00) || band == ToPixel(0x80FFFF) || band == ToPixel(0xC0FFC0));
    EXPECT_EQ(pixel(back, {20, 75}), ToPixel(clMaroon));
    EXPECT_EQ(pixel(back, {431 + 200, 100}), ToPixel(clTeal)) << "the scoreboard";
    EXPECT_EQ(pixel(back, {85, 300}), ToPixel(0xECECEC)) << "the left goal mouth";
    EXPECT_TRUE(greenGrass(pixel(back, {300, 540})));
    EXPECT_TRUE(greenGrass(pixel(back, {30, 530})));
    EXPECT_EQ(pixel(back, {431, 530}), qRgb(255, 255, 255)) << "the centre line";
    // The title on its yellow box during the opening, gone afterwards.
    EXPECT_EQ(pixel(back, {431 - 200, 182}), ToPixel(clYellow));
    // Every player is drawn over the pitch.
    const TSoccerEngine& e = f->Engine();
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) {
            const TSoccerPlayer& pl = e.FPlayers[t][p];
            const int top = pl.Y - (p == 0 ? 50 : 70);
            int differ = 0;
            for (int y = top + 10; y < top + 60; ++y)
                for (int x = pl.X - 20; x < pl.X + 20; ++x) differ += !greenGrass(pixel(back, {x, y}));
            EXPECT_GT(differ, 300) << t << " " << p;
        }
    throughOpening(*f);
    f->DrawScene();
    EXPECT_NE(pixel(back, {431 - 200, 182}), ToPixel(clYellow));
    f->hide();
}

// A penalty kick of the user's team is played on the PK form beside the pitch; the user's aim and
// the outcome come back into the match.
TEST_F(SoccerFormTest, APenaltyKickIsPlayedOnThePKForm)
{
    auto f = open(0);
    TSoccerEngine& e = f->Engine();
    throughOpening(*f);
    placeAttack(*f, 6);
    clock.SetAutoRun(true);
    e.FTackler = {1, 2};
    e.FPKTick = 1;
    for (int i = 0; i < 20; ++i) f->Timer1Timer();
    ASSERT_EQ(e.FPKTick, 21);
    f->DrawScene();
    EXPECT_EQ(pixel(f->BackBuffer(), {451, 155}), pixel(f->View().PKBmp, {105, 38})) << "the PK picture";
    int pkShown = 0, pkLeft = 0;
    Form::SetModalHook([&](Form* pk) {
        if (auto* form = qobject_cast<TFormPK*>(pk)) {
            ++pkShown;
            pkLeft = form->Left();
            EXPECT_EQ(form->Caption(), QStringLiteral("ＰＫ"));
            EXPECT_TRUE(form->FSoccerMode);
            EXPECT_EQ(form->FKickSide, 0);
            EXPECT_EQ(form->FMyPlayerIndex, e.LastShuffled[0]);
            EXPECT_EQ(form->FAitePlayerIndex, e.FirstShuffled[1]);
            QTest::keyClick(form, Qt::Key_1);
        }
    });
    for (int i = 0; i < 3; ++i) f->Timer1Timer();
    clock.SetAutoRun(false);
    EXPECT_EQ(pkShown, 1);
    EXPECT_NEAR(pkLeft, f->Left() - 20, 4);
    EXPECT_EQ(e.FPKTick, -1);
    EXPECT_EQ(e.FStats[0][stShots], 1);
    // Scored: the ball lies in the right goal (its side by the user's aim); saved: the keeper holds it.
    if (e.FGoalKind == 4) {
        EXPECT_GT(e.Ball.X, GoalRt[1].Left);
    } else {
        EXPECT_TRUE(e.FHolder.Is(1, 0));
    }
    f->hide();
}

TEST_F(SoccerFormTest, AnEarlyCloseIsALoss)
{
    auto f = open(0);
    throughOpening(*f);
    ticks(*f, 30);
    f->close();
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_EQ(host.results[0], 0x1000 + 0x100 + gnSoccer) << "lost, by hand, from the second half";
    EXPECT_FALSE(f->Timer1->Enabled());
    EXPECT_FALSE(QFileInfo::exists(replayFolder() + QStringLiteral("/過去リプレイ_Index.txt"))) << "an undecided match is not kept";
}

// A whole match auto-played through the launcher; its replay is then watched in "過去リプレイ", by
// clicks, keys and a click that waits while a scene ends; closing the viewer reports nothing.
TEST_F(SoccerFormTest, AnAutoPlayedMatchIsSavedAndWatchedAgain)
{
    clock.SetAutoRun(true);
    host.autoProgress = true;
    int goals = 0, bannerSeen = 0, replaySeen = 0;
    GameTimer watch(nullptr, 50, false);
    watch.OnTimer = [&] {
        TFormSoccer* f = FormSoccer;
        if (!f || !f->isVisible()) return;
        const TSoccerEngine& e = f->Engine();
        goals = e.FStats[0][stGoals] + e.FStats[1][stGoals];
        if (e.FGoalTick == 10 && e.FFinalWinner < 0) {
            f->DrawScene();
            // The goal banner slides in from the right at y 170.
            const QRgb b = f->View().GoalBmp.Image().pixel(60, 36) | 0xFF000000u;
            bannerSeen += b != 0xFFFFFFFFu && pixel(f->BackBuffer(), {kW - 400 + 60, 170 + 36}) == b;
        }
        replaySeen += e.FReplaying;
    };
    Form::SetModalHook([&](Form* f) {
        if (f == FormSoccer) watch.SetEnabled(true);
    });
    const quint16 result = PlaySoccer(host);
    watch.SetEnabled(false);
    EXPECT_EQ(FormSoccer, nullptr);
    ASSERT_EQ(host.results.size(), 1u);
    const quint16 code = host.results[0];
    EXPECT_EQ(code & 0xFF, gnSoccer);
    EXPECT_EQ(code & 0x0F00, 0x0900) << "auto-progress, from the second half";
    EXPECT_EQ(result, (code & 0x2000) ? mrYes : mrNo);
    EXPECT_TRUE(host.autoProgress);
    EXPECT_GT(goals, 0);
    EXPECT_GT(bannerSeen, 0);
    EXPECT_GT(replaySeen, 0);
    EXPECT_EQ(sounds.Started().front(), QStringLiteral("OPENING"));
    EXPECT_GT(sounds.Count(QStringLiteral("WHISTLE")), 0);

    // The slot file and the index.
    TReplayFiles files(replayFolder());
    files.ReadIndex();
    ASSERT_TRUE(files.IndexAvailable());
    EXPECT_EQ(files.FReplaySlot, 1);
    ASSERT_TRUE(QFileInfo::exists(files.FReplayFile)) << files.FReplayFile.toStdString();
    const QStringList before = QDir(replayFolder()).entryList(QDir::Files);

    // The past replay: chosen in the opening, its labels listed, a scene picked and stepped through.
    Form::SetModalHook(nullptr);
    clock.SetAutoRun(false);
    auto f = open(0);
    TSoccerEngine& e = f->Engine();
    QTest::keyClick(f.get(), Qt::Key_F2);
    for (int i = 0; i < 2; ++i) QTest::keyClick(f->cobTime->view(), Qt::Key_Down);
    QTest::keyClick(f.get(), Qt::Key_Space);
    EXPECT_TRUE(f->bbtOpenGoalFile->isEnabled());
    throughOpening(*f);
    ASSERT_EQ(int(e.FGoalLabels.size()), goals);
    EXPECT_TRUE(e.FReplaying);
    EXPECT_EQ(f->imOmote->cursor().shape(), Qt::ArrowCursor);
    const QPoint label0 = {e.FGoalLabelRects[0].Left + 4, e.FGoalLabelRects[0].Top + 4};
    QTest::mouseMove(f->imOmote, label0);
    EXPECT_EQ(e.FSceneCount, 0);
    click(*f, label0);
    EXPECT_TRUE(e.FScenePlaying);
    QTest::keyClick(f.get(), Qt::Key_Right);
    EXPECT_EQ(e.FSceneCount, goals > 1 ? 1 : 0);
    QTest::keyClick(f.get(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(f->Files().FReplaySlot, 1) << "no other slot to step to";
    QTest::keyClick(f.get(), Qt::Key_F4);
    EXPECT_TRUE(f->cbReplaySpeed->isChecked());
    EXPECT_EQ(f->Timer1->Interval(), 107);
    // A press that waits in the queue while the scene ends is taken by the wait for a click.
    QCoreApplication::postEvent(f->imOmote, new QMouseEvent(QEvent::MouseButtonPress, QPointF(label0), QPointF(label0), Qt::LeftButton,
                                                          Qt::LeftButton, Qt::NoModifier));
    int jump = 0;
    for (int i = 0; i < 300 && jump < 1000; ++i) {
        const qint64 before = clock.SleptMs();
        ticks(*f, 1);
        jump = int(clock.SleptMs() - before);
    }
    EXPECT_EQ(jump, 100 + 1000) << "taken at the first wait, and its scene shown";
    EXPECT_EQ(e.FSceneCount, 0);
    EXPECT_TRUE(e.FScenePlaying);
    ASSERT_GT(sounds.Count(QStringLiteral("GOALFILEBGM")), 0);
    for (const auto& ev : sounds.events)
        if (ev.name == QStringLiteral("GOALFILEBGM")) {
            EXPECT_TRUE(ev.loop);
        }
    QTest::keyClick(f.get(), Qt::Key_0);
    EXPECT_TRUE(e.FReplaying);
    f->close();
    EXPECT_EQ(host.results.size(), 1u) << "no report from the past replay";
    EXPECT_EQ(f->ModalResult(), mrCancel);
    EXPECT_EQ(QDir(replayFolder()).entryList(QDir::Files), before);
}

// Keys typed while the past replay waits between scenes are handled after the wait, one at a time:
// two steps onto unreadable slots give one box after the other, never one inside the other, and the
// form then shows nothing of the file it showed before.
TEST_F(SoccerFormTest, KeysHeldDuringAWaitNeverReachTheFormBehindABox)
{
    TSoccerEngine scene;
    OneScene(scene);
    TReplayFiles files(replayFolder());
    ASSERT_TRUE(files.CreateFolder());
    WriteFile(replayFolder() + QStringLiteral("/過去リプレイ01_a_2-1.rpz"), scene.FReplayStream);
    for (const char* n : {"/過去リプレイ02_b_0-0.rpz", "/過去リプレイ03_c_0-0.rpz"}) WriteFile(replayFolder() + QString::fromUtf8(n), "?");
    WriteFile(files.IndexPath(), MakeReplayIndex({1, QStringLiteral("a_2-1")}));

    auto f = open(0);
    TSoccerEngine& e = f->Engine();
    QTest::keyClick(f.get(), Qt::Key_F2);
    for (int i = 0; i < 2; ++i) QTest::keyClick(f->cobTime->view(), Qt::Key_Down);
    QTest::keyClick(f.get(), Qt::Key_Space);
    throughOpening(*f);
    ASSERT_EQ(e.FStats[0][stGoals], 2);
    // A box runs its own event loop, as a real one does; a click that reaches the slot stepper
    // meanwhile starts no load inside the one under way.
    dialogs.whileOpen = [&] {
        QDialog box;
        box.setModal(true);
        box.show();
        QCoreApplication::processEvents();
        QTest::mouseClick(f->udOpenGoalFile->Down, Qt::LeftButton);
    };
    for (int i = 0; i < 2; ++i) {
        QCoreApplication::postEvent(f.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier));
        QCoreApplication::postEvent(f.get(), new QKeyEvent(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier));
    }
    const qint64 before = clock.SleptMs();
    for (int i = 0; i < 20 && clock.SleptMs() - before < 1600; ++i) ticks(*f, 1);
    ASSERT_GE(clock.SleptMs() - before, 1600) << "the wait between scenes";
    QCoreApplication::processEvents(); // the event loop turns after the tick
    const auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, QStringLiteral("リプレイデータを読み込めません。"));
    EXPECT_EQ(dialogs.mostOpen, 1);
    EXPECT_EQ(f->Files().FReplaySlot, 3);
    EXPECT_TRUE(e.FGoalLabels.empty());
    EXPECT_EQ(e.FStats[0][stGoals], 0);
    EXPECT_NE(e.FPlayers[0][6].X, 700) << "the old file's frame";
    dialogs.whileOpen = nullptr;
    f->hide();
}

// From the menu: "サッカー" plays a sudden-death match by itself; the result window offers the manual
// save of its replay, which writes the file the user names.
class SoccerMenuTest : public ShellFixture {};

TEST_F(SoccerMenuTest, TheMenuPlaysAMatchAndTheResultWindowSavesItsReplay)
{
    RegisterSoccerGame();
    WriteFile(tmp.path() + QStringLiteral("/ちびポリコロ"), "program"); // files are written only beside the program
    MakeForms();
    ASSERT_TRUE(FormGame->bbSoccer->isEnabled());
    FormGame->cbAuto->setChecked(true);
    FormGame->cbSetUpOpenStart->setChecked(true);
    bool listOpen = false;
    QString link;
    Form::SetModalHook([&](Form* f) {
        if (f == FormSoccer) {
            EXPECT_EQ(f->Caption(), QStringLiteral("ぱにもこ サッカー対決"));
            EXPECT_EQ(FormSoccer->cobSousa->ItemIndex(), 3);
            listOpen = FormSoccer->cobTime->DroppedDown();
            QTest::keyClick(FormSoccer->cobTime->view(), Qt::Key_Down);
            QTest::keyClick(FormSoccer, Qt::Key_Space);
        } else if (f == FormGameWinMes) {
            link = FormGameWinMes->LinkText();
            const QPoint at = FormGameWinMes->LinkRect().center();
            TMyFileDialog::SetTestHook([](TMyFileDialog& d) {
                auto* edit = d.Dialog()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                edit->setText(QStringLiteral("手動の一試合"));
                QTest::keyClick(edit, Qt::Key_Return);
                if (d.Dialog()->isVisible()) d.Dialog()->reject();
            });
            QMouseEvent move(QEvent::MouseMove, QPointF(at), FormGameWinMes->imOmote->mapToGlobal(QPointF(at)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(FormGameWinMes->imOmote, &move);
            QTest::mouseClick(FormGameWinMes->imOmote, Qt::LeftButton, Qt::NoModifier, at);
            TMyFileDialog::SetTestHook(nullptr);
            f->Close();
        }
    });
    FormGame->bbSoccer->click();
    EXPECT_TRUE(listOpen);
    EXPECT_EQ(link, QStringLiteral("ﾘﾌﾟﾚｲ手動保存"));
    const QString folder = tmp.path() + QStringLiteral("/画像と音声/ゲームの選手画像/サッカー過去リプレイ");
    const QByteArray saved = ReadFile(folder + QStringLiteral("/手動の一試合.rpz"));
    EXPECT_GT(saved.size(), 65);
    const QStringList slotFiles = QDir(folder).entryList({QStringLiteral("過去リプレイ01_*.rpz")}, QDir::Files);
    ASSERT_EQ(slotFiles.size(), 1);
    EXPECT_EQ(ReadFile(folder + QLatin1Char('/') + slotFiles[0]), saved) << "the slot keeps the same match";
    EXPECT_TRUE(FormGame->cbAuto->isChecked());
    EXPECT_FALSE(FormGame->isVisible()) << "the program ends";
    EXPECT_EQ(FormSoccer, nullptr);
}

} // namespace

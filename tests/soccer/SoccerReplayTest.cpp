// The replay ring, the goal scenes and the replay layout: frames as recorded and shown, the goal
// replay from the frames of this kick-off only, scenes of fewer than 120 frames, the header rewrite,
// the exact bytes, the reader on cut and altered streams; the past replay driven through the engine's
// inputs; and whole matches whose streams play back scene for scene.
#include "SoccerHarness.h"
#include "SoccerReplay.h"
#include "SoccerReplayFile.h"
#include "Sjis.h"
#include <QRandomGenerator>
#include <deque>
#include <gtest/gtest.h>

using namespace soccer;

namespace {

// Frame k of a test is told apart by its ball's x.
void RecordNumbered(TSoccerEngine& e, int count)
{
    for (int k = 0; k < count; ++k) {
        e.Ball.X = 1000 + k;
        e.RecordFrame(true, false);
    }
}

QByteArray Stream(const std::vector<int>& frames)
{
    TReplayHeader h;
    h.Manual = 1;
    h.Stats[1][stShots] = 7;
    QByteArray out = EncodeReplayHeader(h);
    for (size_t s = 0; s < frames.size(); ++s) {
        TReplayScene sc;
        sc.GoalTime = 3000 + int(s);
        sc.AddedMinutes = int(s);
        sc.TimeText = "50:00";
        sc.Label = ToSjis(QStringLiteral("○ 50:0%1K").arg(s));
        sc.Frames.resize(size_t(frames[s]));
        for (int k = 0; k < frames[s]; ++k) sc.Frames[size_t(k)][kBallEntry].X = qint16(100 * int(s) + k);
        out += EncodeReplayScene(sc);
    }
    return out;
}

struct PastReplay : SoccerHarness {
    QByteArray file;
    bool chosen = true;
    std::deque<QPoint> clicks;
    QStringList warnings;
    explicit PastReplay(const QByteArray& bytes, bool longJingle = false) : file(bytes)
    {
        e.Svc.ReadReplayFile = [this](QByteArray& b) { return b = file, chosen; };
        e.Svc.TakeSceneClick = [this](QPoint& p) {
            if (clicks.empty()) return false;
            p = clicks.front();
            clicks.pop_front();
            return true;
        };
        e.Svc.Warning = [this](const QString& t) { warnings << t; };
        e.Svc.FromSjis = FromSjis;
        e.Show();
        e.ApplyTimeMode(tmPastReplay);
        if (longJingle) soundTicks = 1000;
        for (int i = 0; i < 200 && e.FOpening; ++i) tick();
        soundTicks = 0;
    }
    QPoint Label(int k) const { return {e.FGoalLabelRects[size_t(k)].Left + 2, e.FGoalLabelRects[size_t(k)].Top + 2}; }
    // Ticks until scene k has been loaded; the ticks it took.
    int Until(int k)
    {
        int n = 0;
        for (; n < 1000 && e.FSceneCount != k; ++n) tick();
        return n;
    }
};

} // namespace

TEST(SoccerReplay, FrameEntriesCarryEveryFlagAndComeBack)
{
    SoccerHarness h;
    TSoccerEngine& e = h.e;
    e.ResetKickOff();
    TSoccerPlayer& fallen = e.FPlayers[1][3];
    fallen.View = 6;
    fallen.HeaderCount = 5;
    fallen.X = -40000; // kept within int16
    e.FHolder = {0, 4};
    e.FShotChance[0] = 37;
    e.FShotChance[1] = 900;
    e.FLoopShot[1] = e.FLofted = e.FTrap[1] = e.FShotFlying = true;
    e.Ball.Speed = 14;
    e.Ball.Height = 2;
    e.FShotTraceTick = e.FTick;
    e.FFreeKickTick = 3;
    e.FSetPieceKind = spOffside;
    e.RecordFrame(true, true);
    const TReplayFrame& f = e.FRing[0];
    char bytes[kFrameBytes];
    EncodeFrame(f, bytes);
    // Entry 10 (team 1 player 3): x -32768 little-endian, pose 6 with header count 5; entry 11 is 0.
    EXPECT_EQ(QByteArray(bytes + 80, 8).toHex(), QByteArray("0080") + QByteArray(bytes + 82, 4).toHex() + "5600");
    EXPECT_EQ(f[4].Flags & kPlHolder, kPlHolder);
    EXPECT_EQ((std::array<int, 4>{f[0].Extra, f[1].Extra, f[2].Extra, f[3].Extra}), (std::array<int, 4>{37, 255, 0, 1}));
    EXPECT_EQ(f[kBallEntry].Flags, kBallFast | kBallAbove | kBallLofted | kBallFlash | 2);
    EXPECT_EQ(f[kBallEntry].Extra, kExTrap1 | kExShotFlying | kExKick | kExOffsideKick);
    EXPECT_EQ(DecodeFrame(bytes), f);

    // Shown back: a fallen player, the holder, the ball's flags; the kick clears the set piece again.
    e.ResetKickOff();
    e.FReplayEnd = -1;
    ASSERT_TRUE(e.ShowReplayFrame(false));
    EXPECT_TRUE(e.FFallen.Is(1, 3) && e.FFallDir == 1 && e.FPlayers[1][3].HeaderCount == 5 && e.FHolder.Is(0, 4));
    EXPECT_TRUE(e.FReplayBallAbove && e.FReplayFlash && e.FLofted && e.FTrap[1] && !e.FTrap[0] && e.FShotFlying);
    EXPECT_EQ((std::array<int, 5>{e.Ball.Speed, e.FSetPieceKind, e.FReplayPause, e.FShotChance[1], e.FLoopShot[1]}),
              (std::array<int, 5>{12, spNone, 0, 255, 1}));
}

// The goal replay shows only frames of this kick-off, and a set piece's name pauses it once.
TEST(SoccerReplay, GoalReplayShowsOnlyFramesSinceTheKickOff)
{
    struct Case {
        int recorded;
        int firstShown, shown;
    };
    for (const Case c : {Case{40, 0, 40}, Case{90, 20, 70}, Case{150, 80, 70}}) {
        SoccerHarness h;
        TSoccerEngine& e = h.e;
        e.ResetKickOff();
        RecordNumbered(e, c.recorded);
        // Frames 30..39 belong to a foul's free kick.
        for (int k = 30; k < 40 && k < c.recorded; ++k) e.FRing[k % kRingFrames][kBallEntry].Extra |= kExFoulKick;
        e.FTick = 400; // many ticks, but pauses recorded nothing
        e.FGoalTick = 59;
        e.Tick();
        ASSERT_TRUE(e.FReplaying);
        std::vector<int> seen;
        int still = 0;
        while (e.FReplaying) {
            const int before = e.FReplayFrames;
            e.Tick();
            if (!e.FReplaying) break;
            if (e.FReplayFrames == before) ++still;
            else seen.push_back(e.Ball.X - 1000);
        }
        ASSERT_EQ(int(seen.size()), c.shown) << c.recorded;
        for (int i = 0; i < c.shown; ++i) EXPECT_EQ(seen[size_t(i)], c.firstShown + i);
        const bool foulShown = c.firstShown < 40 && c.firstShown + c.shown > 30;
        EXPECT_EQ(still, foulShown ? 8 : 0) << c.recorded;
    }
}

TEST(SoccerReplay, GoalScenesHoldTheFramesSinceTheKickOffAndTheFinalHeader)
{
    for (int recorded : {37, 120, 150}) {
        SoccerHarness h;
        TSoccerEngine& e = h.e;
        e.Svc.ToSjis = ToSjis;
        e.ResetKickOff();
        RecordNumbered(e, recorded);
        e.FStats[0][stGoals] = 1;
        e.FGoalTime = 5432;
        e.FGoalTimeText = QStringLiteral("90:32");
        e.FAddedMinutes = 4;
        e.FTimeState = tsBonus;
        e.FGoalLabels = {QStringLiteral("●f90:32H")};
        e.AppendGoalScene(true);
        const int n = std::min(recorded, kRingFrames);
        const QByteArray s = e.FReplayStream;
        ASSERT_EQ(s.size(), kReplayHeaderBytes + kSceneHeadBytes + n * kFrameBytes);
        EXPECT_EQ(s.mid(0, 5).toHex(), "0001000000");
        EXPECT_EQ(s.mid(65, 30).toHex(), QByteArray("3815000004000000") + "39303a3332" + "0000" + "819c6639303a333248" + "20"
                                             + "01" + QByteArray::number(n, 16).rightJustified(2, '0') + "000000");
        TReplayContents c;
        ASSERT_TRUE(ReadReplay(s, c) && c.Scenes.size() == 1u && int(c.Scenes[0].Frames.size()) == n);
        for (int k = 0; k < n; ++k) EXPECT_EQ(c.Scenes[0].Frames[size_t(k)][kBallEntry].X, 1000 + recorded - n + k);
        EXPECT_EQ(FromSjis(c.Scenes[0].Label), QStringLiteral("●f90:32H"));

        // The save rewrites the header with the final statistics; the scenes stay as they were.
        e.FStats[0][stGoals] = 3;
        e.FStats[1][stPassesWon] = 0x01020304;
        e.FStats[1][stPostHits] = 9; // not stored
        e.WriteReplayHeader();
        EXPECT_EQ(e.FReplayStream.mid(65), s.mid(65));
        EXPECT_EQ(e.FReplayStream.mid(1, 4).toHex(), "03000000");
        EXPECT_EQ(e.FReplayStream.mid(61, 4).toHex(), "04030201");
    }
}

TEST(SoccerReplay, ReaderKeepsCompleteScenesOfCutOrAlteredStreams)
{
    const QByteArray good = Stream({4, 4, 4});
    const qsizetype scene = kSceneHeadBytes + 4 * kFrameBytes;
    for (qsizetype cut = 0; cut <= good.size(); ++cut) {
        TReplayContents c;
        const bool ok = ReadReplay(good.left(cut), c);
        const qsizetype complete = cut < kReplayHeaderBytes ? 0 : (cut - kReplayHeaderBytes) / scene;
        ASSERT_EQ(ok, complete > 0) << cut;
        ASSERT_EQ(qsizetype(c.Scenes.size()), complete) << cut;
        // The scenes kept are the file's own first scenes, byte for byte.
        for (qsizetype k = 0; k < complete; ++k)
            EXPECT_EQ(EncodeReplayScene(c.Scenes[size_t(k)]), good.mid(kReplayHeaderBytes + k * scene, scene)) << cut;
    }
    // A value out of range ends the reading at that scene: frame count, time state, minutes, clock.
    const std::pair<int, QByteArray> bad[] = {{26, QByteArray(4, 0)}, {26, "\x79"}, {26, "\xff\xff\xff\x7f"}, {25, "\x03"},
                                              {4, "\xe8\x03"}, {0, "\xff\xff\xff\xff"}};
    for (const auto& [offset, bytes] : bad) {
        QByteArray s = good;
        s.replace(kReplayHeaderBytes + scene + offset, bytes.size(), bytes);
        TReplayContents c;
        ASSERT_TRUE(ReadReplay(s, c) && c.Scenes.size() == 1u) << offset;
        EXPECT_EQ(EncodeReplayScene(c.Scenes[0]), good.mid(kReplayHeaderBytes, scene)) << offset;
    }
    TReplayContents c;
    EXPECT_FALSE(ReadReplay(QByteArray(kMaxReplayBytes + 1, '\x01'), c)); // over the cap: not read
    // Random bytes changed anywhere: never more scenes, every scene within its limits.
    QRandomGenerator rng(5);
    for (int round = 0; round < 3000; ++round) {
        QByteArray s = good;
        for (int k = 0; k < 1 + round % 4; ++k) s[rng.bounded(int(s.size()))] = char(rng.bounded(256));
        ASSERT_LE(ReadReplay(s, c) ? c.Scenes.size() : 0u, 3u);
        for (const TReplayScene& sc : c.Scenes)
            ASSERT_TRUE(!sc.Frames.empty() && sc.Frames.size() <= 120u && sc.TimeState <= 2 && sc.Label.size() <= 10);
    }
}

TEST(SoccerPastReplay, ScenesPlayInTurnAndAClickPicksOne)
{
    PastReplay r(Stream({5, 120, 1}), true);
    TSoccerEngine& e = r.e;
    ASSERT_TRUE(e.FReplaying);
    EXPECT_EQ(e.FGoalLabels, (std::vector<QString>{"○ 50:00K", "○ 50:01K", "○ 50:02K"}));
    EXPECT_EQ(e.FGoalLabelRects[1], (TRect{547, 34, 547 + 72, 50}));
    EXPECT_TRUE(e.FFileManual == 1 && e.FStats[1][stShots] == 7 && e.FRingCount == 5);
    // Scene 0's first frame shows on the opening's last tick even though the jingle still played.
    EXPECT_EQ(e.Ball.X, 0);
    EXPECT_EQ(r.count(TSoccerSound::Change), 0);

    // Scene 0 runs its 5 frames, waits 16 x 100 ms, then scene 1 shows and waits 11 x 100 ms.
    r.slept = 0;
    EXPECT_EQ(r.Until(1), 4);
    EXPECT_EQ(r.slept, 2700);
    EXPECT_TRUE(e.Ball.X == 100 && e.FRingCount == 0 && e.FEndTime == 5460);
    EXPECT_EQ(r.count(TSoccerSound::GoalFileBgm), 1);
    EXPECT_EQ(r.Until(2), 119);
    EXPECT_EQ(r.Until(0), 1); // a one-frame scene, then round to the first again

    // Nothing picked yet: the pointer and the arrows only select.
    e.HoverGoalScene(r.Label(2));
    e.StepGoalScene(-1);
    EXPECT_EQ(e.FSceneCount, 1);
    e.StepGoalScene(-2);
    EXPECT_TRUE(e.FSceneCount == 2 && !e.FScenePlaying);

    // A click waiting in the queue while the scene ends picks scene 0; later clicks are dropped.
    r.clicks = {QPoint(5, 5), r.Label(0), r.Label(1)};
    r.slept = 0;
    EXPECT_EQ(r.Until(0), 4);
    EXPECT_TRUE(e.FScenePlaying && r.clicks.empty());
    EXPECT_EQ(r.slept, 200 + 1000);

    // While a scene plays the pointer selects nothing and the arrows play at once, wrapping.
    e.HoverGoalScene(r.Label(1));
    e.StepGoalScene(-1);
    EXPECT_TRUE(e.FSceneCount == 2 && e.Ball.X == 200);
    EXPECT_TRUE(e.PickGoalScene(r.Label(1)) && e.PlayCurrentScene() && e.Ball.X == 100);
    EXPECT_FALSE(e.PickGoalScene(QPoint(5, 5)));
    EXPECT_TRUE(r.warnings.isEmpty());
    // Another file starts again with nothing picked.
    e.OpenPastReplay(true);
    EXPECT_TRUE(r.count(TSoccerSound::Change) == 1 && !e.FScenePlaying && e.FSceneCount == 0);
}

TEST(SoccerPastReplay, BadFilesLeaveNoReplayRunning)
{
    const QByteArray three = Stream({4, 4, 4});
    struct Case {
        QByteArray bytes;
        bool chosen;
        size_t scenes;
        bool warned;
    };
    for (const Case& c : {Case{three.left(three.size() - 1), true, 2, false}, Case{three.left(65), true, 0, true},
                          Case{QByteArray(), true, 0, true}, Case{three, false, 0, false}}) {
        PastReplay r(c.bytes);
        r.warnings.clear();
        r.chosen = c.chosen;
        r.e.OpenPastReplay(false);
        EXPECT_EQ(r.e.FGoalLabels.size(), c.scenes);
        EXPECT_EQ(r.warnings, c.warned ? QStringList{QString::fromUtf8(kReplayUnreadable)} : QStringList());
        EXPECT_EQ(r.e.FReplaying, c.scenes > 0);
        if (c.scenes > 0) continue;
        // Nothing plays and no match starts; keys and clicks find no scene.
        const int clock = r.e.FClock;
        for (int i = 0; i < 50; ++i) r.tick();
        r.e.StepGoalScene(1);
        EXPECT_FALSE(r.e.PlayCurrentScene());
        EXPECT_FALSE(r.e.PickGoalScene(QPoint(560, 20)));
        EXPECT_TRUE(r.e.FClock == clock && r.slept == 1000); // the opening's second only
        EXPECT_TRUE(r.e.Close() == 2 && r.reports.empty());
    }
}

// Whole matches: each goal's scene lands in the stream with its label and the frames since its kick-off;
// the stream then plays back through the past replay.
TEST(SoccerPastReplay, WholeMatchStreamsLoadBackSceneForScene)
{
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        SoccerHarness h(seed);
        h.e.Svc.ToSjis = ToSjis;
        h.e.Svc.SaveReplaySlot = [&] { h.e.WriteReplayHeader(); };
        h.start(seed % 2 ? tmSecondHalf : tmFirstHalf);
        for (int i = 0; i < 60000 && !h.e.MatchOver; ++i) h.tick();
        ASSERT_TRUE(h.e.MatchOver);
        h.e.Close();
        TReplayContents c;
        ASSERT_TRUE(ReadReplay(h.e.FReplayStream, c));
        ASSERT_EQ(int(c.Scenes.size()), h.goals(0) + h.goals(1));
        EXPECT_EQ(c.Header.Stats[0][stGoals], h.goals(0));
        for (size_t k = 0; k < c.Scenes.size(); ++k) EXPECT_EQ(FromSjis(c.Scenes[k].Label), h.e.FGoalLabels[k]);

        PastReplay r(h.e.FReplayStream);
        ASSERT_EQ(r.e.FGoalLabels, h.e.FGoalLabels);
        for (int s = 1; s <= int(c.Scenes.size()); ++s) {
            r.Until(s % int(c.Scenes.size()));
            ASSERT_EQ(int(r.e.FRingCount ? r.e.FRingCount : kRingFrames), int(c.Scenes[size_t(s) % c.Scenes.size()].Frames.size()));
        }
    }
}

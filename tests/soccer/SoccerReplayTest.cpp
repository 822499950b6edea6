// The replay ring, the goal scenes and the replay layout: frames as recorded and shown, the goal
// replay from the frames of this kick-off only, scenes of fewer than 120 frames, the header rewrite,
// the exact bytes, and the reader on cut and altered streams.
#include "SoccerHarness.h"
#include "SoccerReplay.h"
#include "SoccerReplayFile.h"
#include "Sjis.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace soccer;

namespace {

// Frame k of a test is told apart by its ball's x.
void RecordNumbered(TSoccerEngine& e, int from, int count, quint8 extraKind = 0)
{
    for (int k = from; k < from + count; ++k) {
        e.Ball.X = 1000 + k;
        e.RecordFrame(true, false);
        if (extraKind) e.FRing[(e.FRingIndex + kRingFrames - 1) % kRingFrames][kBallEntry].Extra |= extraKind;
    }
}

QByteArray SceneStream(int scenes, int frames)
{
    TReplayHeader h;
    h.Manual = 1;
    h.Stats[0][stGoals] = scenes;
    QByteArray out = EncodeReplayHeader(h);
    for (int s = 0; s < scenes; ++s) {
        TReplayScene sc;
        sc.GoalTime = 2700 + 60 * s;
        sc.TimeText = "45:00";
        sc.Label = ToSjis(QStringLiteral("● 45:00"));
        sc.Frames.resize(size_t(frames));
        for (int k = 0; k < frames; ++k) sc.Frames[size_t(k)][kBallEntry].X = qint16(100 * s + k);
        out += EncodeReplayScene(sc);
    }
    return out;
}

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
    e.FLoopShot[1] = true;
    e.Ball = TBall{};
    e.Ball.X = 300;
    e.Ball.Speed = 14;
    e.Ball.Height = 2;
    e.FLofted = e.FTrap[1] = e.FShotFlying = true;
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
    EXPECT_TRUE(e.FFallen.Is(1, 3));
    EXPECT_EQ(e.FFallDir, 1);
    EXPECT_EQ(e.FPlayers[1][3].HeaderCount, 5);
    EXPECT_TRUE(e.FHolder.Is(0, 4));
    EXPECT_EQ(e.Ball.Speed, 12);
    EXPECT_TRUE(e.FReplayBallAbove && e.FReplayFlash && e.FLofted && e.FTrap[1] && !e.FTrap[0] && e.FShotFlying);
    EXPECT_EQ(e.FSetPieceKind, spNone);
    EXPECT_EQ(e.FReplayPause, 0);
    EXPECT_EQ(e.FShotChance[1], 255);
    EXPECT_TRUE(e.FLoopShot[1]);
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
        RecordNumbered(e, 0, c.recorded);
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
        RecordNumbered(e, 0, recorded);
        e.FStats[0][stGoals] = 1;
        e.FGoalTime = 5432;
        e.FGoalTimeText = QStringLiteral("90:32");
        e.FAddedMinutes = 4;
        e.FTimeState = tsBonus;
        e.FGoalLabels = {QStringLiteral("●f90:32H")};
        e.AppendGoalScene(true);
        EXPECT_EQ(e.FSceneCount, 1);
        const int n = std::min(recorded, kRingFrames);
        const QByteArray s = e.FReplayStream;
        ASSERT_EQ(s.size(), kReplayHeaderBytes + kSceneHeadBytes + n * kFrameBytes);
        EXPECT_EQ(s.mid(0, 5).toHex(), "0001000000");
        EXPECT_EQ(s.mid(65, 30).toHex(), QByteArray("3815000004000000") + "39303a3332" + "0000" + "819c6639303a333248" + "20"
                                             + "01" + QByteArray::number(n, 16).rightJustified(2, '0') + "000000");
        TReplayContents c;
        ASSERT_TRUE(ReadReplay(s, c));
        ASSERT_EQ(c.Scenes.size(), 1u);
        ASSERT_EQ(int(c.Scenes[0].Frames.size()), n);
        for (int k = 0; k < n; ++k) EXPECT_EQ(c.Scenes[0].Frames[size_t(k)][kBallEntry].X, 1000 + recorded - n + k);
        EXPECT_EQ(FromSjis(c.Scenes[0].Label), QStringLiteral("●f90:32H"));
        EXPECT_EQ(c.Scenes[0].TimeText, "90:32");

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
    const QByteArray good = SceneStream(3, 4);
    const qsizetype scene = kSceneHeadBytes + 4 * kFrameBytes;
    for (qsizetype cut = 0; cut <= good.size(); ++cut) {
        TReplayContents c;
        const bool ok = ReadReplay(good.left(cut), c);
        const qsizetype complete = cut < kReplayHeaderBytes ? 0 : (cut - kReplayHeaderBytes) / scene;
        ASSERT_EQ(ok, complete > 0) << cut;
        ASSERT_EQ(qsizetype(c.Scenes.size()), complete) << cut;
        EXPECT_EQ(c.Whole, cut == kReplayHeaderBytes + complete * scene) << cut;
    }
    // A value out of range ends the reading at that scene: frame count, time state, minutes, clock.
    struct Bad {
        int offset;
        QByteArray bytes;
    };
    const qsizetype second = kReplayHeaderBytes + scene;
    for (const Bad& b : {Bad{26, QByteArray("\0\0\0\0", 4)}, Bad{26, QByteArray("\x79\0\0\0", 4)},
                         Bad{26, QByteArray("\xff\xff\xff\x7f", 4)}, Bad{25, QByteArray("\x03", 1)},
                         Bad{4, QByteArray("\xe8\x03\0\0", 4)}, Bad{0, QByteArray("\xff\xff\xff\xff", 4)}}) {
        QByteArray s = good;
        s.replace(second + b.offset, b.bytes.size(), b.bytes);
        TReplayContents c;
        EXPECT_TRUE(ReadReplay(s, c));
        EXPECT_EQ(c.Scenes.size(), 1u) << b.offset;
        EXPECT_FALSE(c.Whole);
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

// The past replay driven through the engine's inputs: the scene list of a file, the scenes played in
// turn with their waits, a click, the pointer and the keys, bad and cut files; and whole matches whose
// streams load back scene for scene.
#include "SoccerHarness.h"
#include "SoccerReplay.h"
#include "SoccerReplayFile.h"
#include "Sjis.h"
#include <deque>
#include <gtest/gtest.h>

using namespace soccer;

namespace {

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
        e.Svc.ReadReplayFile = [this](QByteArray& b) {
            b = file;
            return chosen;
        };
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
        while (n < 1000 && e.FSceneCount != k) {
            tick();
            ++n;
        }
        return n;
    }
};

} // namespace

TEST(SoccerPastReplay, ScenesPlayInTurnAndAClickPicksOne)
{
    PastReplay r(Stream({5, 120, 1}), true);
    TSoccerEngine& e = r.e;
    ASSERT_TRUE(e.FReplaying);
    EXPECT_EQ(e.FGoalLabels, (std::vector<QString>{"○ 50:00K", "○ 50:01K", "○ 50:02K"}));
    EXPECT_EQ(e.FGoalLabelRects[1], (TRect{547, 34, 547 + 72, 50}));
    EXPECT_EQ(e.FFileManual, 1);
    EXPECT_EQ(e.FStats[1][stShots], 7);
    EXPECT_EQ(e.FRingCount, 5);
    EXPECT_EQ(e.Ball.X, 0); // scene 0's first frame, shown on the opening's last tick
    EXPECT_EQ(r.count(TSoccerSound::Change), 0); // the jingle still played
    EXPECT_FALSE(e.FScenePlaying);

    // Scene 0 runs its 5 frames, waits 16 x 100 ms, then scene 1 shows and waits 11 x 100 ms.
    r.slept = 0;
    EXPECT_EQ(r.Until(1), 4);
    EXPECT_EQ(r.slept, 2700);
    EXPECT_EQ(e.Ball.X, 100);
    EXPECT_EQ(e.FRingCount, 0);
    EXPECT_EQ(e.FEndTime, 5460);
    EXPECT_EQ(r.count(TSoccerSound::GoalFileBgm), 1);
    EXPECT_EQ(r.Until(2), 119);
    EXPECT_EQ(r.Until(0), 1); // a one-frame scene, then round to the first again

    // A click waiting in the queue while the scene ends picks scene 2; later clicks are dropped.
    r.clicks = {QPoint(5, 5), r.Label(2), r.Label(1)};
    r.slept = 0;
    EXPECT_EQ(r.Until(2), 4);
    EXPECT_TRUE(e.FScenePlaying);
    EXPECT_EQ(r.slept, 200 + 1000);
    EXPECT_TRUE(r.clicks.empty());

    // While a scene plays the pointer selects nothing and the arrows play at once, wrapping.
    e.HoverGoalScene(r.Label(0));
    EXPECT_EQ(e.FSceneCount, 2);
    e.StepGoalScene(+1);
    EXPECT_EQ(e.FSceneCount, 0);
    EXPECT_EQ(e.Ball.X, 0);
    EXPECT_TRUE(e.PickGoalScene(r.Label(1)));
    EXPECT_FALSE(e.PickGoalScene(QPoint(5, 5)));
    EXPECT_TRUE(r.warnings.isEmpty());

    // Another file: the list starts again with nothing picked; the pointer and the arrows select.
    r.file = Stream({3, 3});
    e.OpenPastReplay(true);
    EXPECT_EQ(r.count(TSoccerSound::Change), 1);
    EXPECT_FALSE(e.FScenePlaying);
    EXPECT_EQ(e.FGoalLabels.size(), 2u);
    e.HoverGoalScene(r.Label(1));
    EXPECT_EQ(e.FSceneCount, 1);
    e.StepGoalScene(+1);
    EXPECT_EQ(e.FSceneCount, 0);
    e.StepGoalScene(-1);
    EXPECT_EQ(e.FSceneCount, 1);
    EXPECT_EQ(e.Ball.X, 0); // only selected, not played
    EXPECT_TRUE(e.PlayCurrentScene());
    EXPECT_TRUE(e.FScenePlaying);
    EXPECT_EQ(e.Ball.X, 100);
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
        EXPECT_EQ(r.warnings.size(), c.warned ? 1 : 0);
        if (c.warned) {
            EXPECT_EQ(r.warnings[0], QString::fromUtf8(kReplayUnreadable));
        }
        EXPECT_EQ(r.e.FReplaying, c.scenes > 0);
        if (c.scenes > 0) continue;
        // Nothing plays and no match starts; keys and clicks find no scene.
        const int clock = r.e.FClock;
        for (int i = 0; i < 50; ++i) r.tick();
        r.e.StepGoalScene(1);
        EXPECT_FALSE(r.e.PlayCurrentScene());
        EXPECT_FALSE(r.e.PickGoalScene(QPoint(560, 20)));
        EXPECT_EQ(r.e.FClock, clock);
        EXPECT_EQ(r.slept, 1000); // the opening's second only
        EXPECT_EQ(r.e.Close(), 2);
        EXPECT_TRUE(r.reports.empty());
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
        EXPECT_TRUE(c.Whole);
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

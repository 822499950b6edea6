// The past replay ("過去リプレイ"): a replay file's goal scenes listed as labels and played one after
// another, or the one the user picks by a click, the pointer or the keys.
#include "SoccerEngine.h"
#include "SoccerReplay.h"
#include "SoccerReplayFile.h"

#include <algorithm>

namespace soccer {

TRect GoalLabelRect(int k, int labelBytes)
{
    const int left = (k / 5) * 84 + CentrePt.x() + 116;
    const int top = (k % 5) * 19 + 15;
    return {left, top, left + 8 * std::max(labelBytes, 0), top + 16};
}

bool TSoccerEngine::LoadReplayScenes(int scene)
{
    FGoalTick = -1;
    FRingIndex = FRingCount = FReplayFrames = 0;
    FReplayEnd = -1;
    FReplayPause = -1;
    FSetPieceKind = spNone;
    TimerInterval = FReplayNormalSpeed ? 107 : 200;
    FReplaying = false;
    bool chosen = true;
    if (scene < 0) {
        FReplayStream.clear();
        chosen = Svc.ReadReplayFile && Svc.ReadReplayFile(FReplayStream);
    }
    TReplayContents c;
    if (!chosen || !ReadReplay(FReplayStream, c, scene) || (scene >= 0 && int(c.Scenes.size()) <= scene)) {
        // Nothing of a file that failed stays to be played, picked or seen: no labels, no statistics,
        // the players back on their kick-off places.
        if (scene < 0) {
            FGoalLabels.clear();
            FGoalLabelRects.clear();
            FSceneCount = 0;
            for (auto& team : FStats) std::fill(std::begin(team), std::end(team), 0);
            ResetKickOff();
            if (chosen && Svc.Warning) Svc.Warning(QString::fromUtf8(kReplayUnreadable));
        }
        FScenePlaying = false;
        return false;
    }
    FFileManual = c.Header.Manual;
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < kReplayStats; ++i) FStats[t][i] = c.Header.Stats[t][i];
    const size_t n = c.Scenes.size();
    if (scene < 0) {
        FGoalLabels.assign(n, QString());
        FGoalLabelRects.assign(n, TRect{});
    }
    for (size_t k = 0; k < n && k < FGoalLabels.size(); ++k) {
        const QByteArray& label = c.Scenes[k].Label;
        FGoalLabels[k] = Svc.FromSjis ? Svc.FromSjis(label) : QString::fromLatin1(label);
        if (k < FGoalLabelRects.size()) FGoalLabelRects[k] = GoalLabelRect(int(k), int(label.size()));
    }
    const TReplayScene& s = c.Scenes.back();
    FGoalTime = FClock = s.GoalTime;
    FAddedMinutes = s.AddedMinutes;
    FEndTime = 5400 + 60 * FAddedMinutes;
    FGoalTimeText = QString::fromLatin1(s.TimeText);
    FTimeState = s.TimeState;
    const int frames = int(s.Frames.size());
    FRingCount = frames < kRingFrames ? frames : 0;
    std::copy(s.Frames.begin(), s.Frames.end(), FRing);
    FReplaying = true;
    return true;
}

void TSoccerEngine::PastReplayStart()
{
    FScenePlaying = false;
    FSceneCount = 0;
    // Scene 0 is shown first whether or not the change sound can start over the opening jingle.
    if (LoadReplayScenes(-1)) {
        if (FSoundOn) Sound(TSoccerSound::Change, true);
        if (LoadReplayScenes(0)) ShowReplayFrame(true);
    }
    Draw();
}

void TSoccerEngine::OpenPastReplay(bool changed)
{
    if (changed && FSoundOn) Sound(TSoccerSound::Change);
    FScenePlaying = false;
    FSceneCount = 0;
    if (LoadReplayScenes(-1) && LoadReplayScenes(0)) ShowReplayFrame(true);
    Draw();
}

void TSoccerEngine::PastReplayTick()
{
    if (!FReplaying) {
        Draw();
        return;
    }
    ++FTick;
    if (FReplayPause >= 0) {
        if (++FReplayPause > 6) FReplayPause = -1;
        Draw();
        return;
    }
    ShowReplayFrame(true);
    if (FRingIndex != 0) {
        Draw();
        return;
    }
    // The scene has ended: it waits for a click on a label, then the next scene follows.
    Draw();
    PlayReplayMusic();
    const bool picked = WaitForSceneClick(16);
    DropSceneClicks();
    if (!picked && FReplaying && !FGoalLabels.empty()) {
        const int next = (FSceneCount + 1) % int(FGoalLabels.size());
        if (LoadReplayScenes(next)) {
            FSceneCount = next;
            ShowReplayFrame(true);
            Draw();
            WaitForSceneClick(11);
            DropSceneClicks();
            ++FTick;
        }
    }
    Draw();
}

bool TSoccerEngine::WaitForSceneClick(int times)
{
    for (int i = 0; i < times; ++i) {
        if (Svc.Sleep) Svc.Sleep(100);
        QPoint p;
        if (Svc.TakeSceneClick && Svc.TakeSceneClick(p) && PickGoalScene(p)) return true;
    }
    return false;
}

void TSoccerEngine::DropSceneClicks()
{
    QPoint p;
    for (int guard = 0; guard < 1000 && Svc.TakeSceneClick && Svc.TakeSceneClick(p); ++guard) {
    }
}

void TSoccerEngine::PlayReplayMusic()
{
    if (FSoundOn) Sound(TSoccerSound::GoalFileBgm, true);
}

int TSoccerEngine::SceneAt(QPoint p) const
{
    for (size_t k = 0; k < FGoalLabelRects.size(); ++k)
        if (FGoalLabelRects[k].Contains(p)) return int(k);
    return -1;
}

bool TSoccerEngine::PickGoalScene(QPoint p)
{
    const int k = SceneAt(p);
    return k >= 0 && PlayScene(k);
}

bool TSoccerEngine::PlayScene(int k)
{
    if (LoadReplayScenes(k)) {
        FSceneCount = k;
        FScenePlaying = true;
        PlayReplayMusic();
        ShowReplayFrame(true);
        Draw();
        if (Svc.Sleep) Svc.Sleep(1000);
        return true;
    }
    FScenePlaying = false;
    if (Svc.StopSound) Svc.StopSound();
    if (Svc.Warning) Svc.Warning(QString::fromUtf8(kReplayUnreadable));
    return false;
}

void TSoccerEngine::HoverGoalScene(QPoint p)
{
    if (FScenePlaying) return;
    const int k = SceneAt(p);
    if (k >= 0) FSceneCount = k;
}

void TSoccerEngine::StepGoalScene(int delta)
{
    const int n = int(FGoalLabels.size());
    if (n == 0) return;
    const int k = ((FSceneCount + delta) % n + n) % n;
    if (FScenePlaying) PlayScene(k);
    else FSceneCount = k;
}

bool TSoccerEngine::PlayCurrentScene()
{
    const int n = int(FGoalLabels.size());
    if (n == 0) return false;
    return PlayScene(std::clamp(FSceneCount, 0, n - 1));
}

} // namespace soccer

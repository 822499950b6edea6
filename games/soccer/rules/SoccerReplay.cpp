// The replay ring: every play tick is recorded as a frame; the goal replay and the past replay show
// frames back; each goal's frames become a goal scene in the replay stream.
#include "SoccerEngine.h"
#include "SoccerReplay.h"
#include "SoccerReplayFile.h"

#include <algorithm>
#include <limits>

namespace soccer {

static_assert(kRingSize == kRingFrames);

namespace {

qint16 clip16(int v)
{
    return qint16(std::clamp(v, int(std::numeric_limits<qint16>::min()), int(std::numeric_limits<qint16>::max())));
}

TFrameEntry entryOf(int x, int y, int speed, quint8 flags, quint8 extra)
{
    return {clip16(x), clip16(y), clip16(speed), flags, extra};
}

} // namespace

bool ShotFlashShown(const TSoccerState& s)
{
    // The flash stays at the shot's start for the shot's frame and the next one.
    const int since = s.FTick - s.FShotTraceTick;
    return since >= 0 && since <= 1;
}

TReplayFrame CaptureFrame(const TSoccerState& s, bool kickBit)
{
    TReplayFrame f;
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) {
            const TSoccerPlayer& pl = s.FPlayers[t][p];
            const int e = 7 * t + p;
            quint8 flags = quint8((pl.View & kPlViewMask) | ((pl.HeaderCount & 0x0F) << 4));
            if (s.FHolder.Is(t, p)) flags |= kPlHolder;
            quint8 extra = 0;
            if (e < 2) extra = quint8(std::clamp(s.FShotChance[e], 0, 255));
            else if (e < 4) extra = s.FLoopShot[e - 2] ? 1 : 0;
            f[size_t(e)] = entryOf(pl.X, pl.Y, pl.Speed, flags, extra);
        }
    const TBall& b = s.Ball;
    quint8 flags = quint8(b.Height & kBallHeightMask);
    if (b.Speed > 11) flags |= kBallFast;
    if (b.Height > 0 || s.FHeadShot.Set() || s.KeeperHold[0] > 0 || s.KeeperHold[1] > 0) flags |= kBallAbove;
    if (s.FLofted) flags |= kBallLofted;
    if (ShotFlashShown(s)) flags |= kBallFlash;
    quint8 extra = 0;
    if (s.FTrap[0]) extra |= kExTrap0;
    if (s.FTrap[1]) extra |= kExTrap1;
    if (s.FShotFlying) extra |= kExShotFlying;
    if (kickBit) extra |= kExKick;
    if (s.FPKTick > 0) extra |= kExPenalty;
    if (s.FFreeKickTick > 0 && s.FSetPieceKind == spFoul) extra |= kExFoulKick;
    if (s.FFreeKickTick > 0 && s.FSetPieceKind == spOffside) extra |= kExOffsideKick;
    f[kBallEntry] = entryOf(b.X, b.Y, b.Speed, flags, extra);
    return f;
}

void TSoccerEngine::RecordFrame(bool advance, bool kickBit)
{
    FRing[FRingIndex] = CaptureFrame(*this, kickBit);
    if (!advance) return;
    FRingIndex = (FRingIndex + 1) % kRingFrames;
    if (FRingRecorded < kRingFrames) ++FRingRecorded;
}

bool TSoccerEngine::ShowReplayFrame(bool advance)
{
    // A goal replay ends at the slot the match would write next; a loaded scene runs round its frames.
    if (FReplayEnd >= 0 && FRingIndex == FReplayEnd) return false;
    const int length = FRingCount > 0 ? FRingCount : kRingFrames;
    if (FRingIndex < 0 || FRingIndex >= length) FRingIndex = 0;
    ApplyFrame(FRing[FRingIndex]);
    if (advance) {
        FRingIndex = (FRingIndex + 1) % length;
        ++FReplayFrames;
    }
    return true;
}

void TSoccerEngine::ApplyFrame(const TReplayFrame& f)
{
    FHolder.Clear();
    FFallen.Clear();
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) {
            const TFrameEntry& e = f[size_t(7 * t + p)];
            TSoccerPlayer& pl = FPlayers[t][p];
            pl.X = e.X;
            pl.Y = e.Y;
            pl.Speed = e.Speed;
            pl.View = e.Flags & kPlViewMask;
            pl.HeaderCount = quint8(e.Flags >> 4);
            if (pl.View > 3) {
                FFallen = {t, p};
                FFallDir = (e.Flags & 2) != 0 ? 1 : 0;
            }
            if (e.Flags & kPlHolder) FHolder = {t, p};
        }
    for (int t = 0; t < 2; ++t) {
        FShotChance[t] = f[size_t(t)].Extra;
        FLoopShot[t] = f[size_t(2 + t)].Extra == 1;
    }
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) SetReachRect(t, p);

    const TFrameEntry& b = f[kBallEntry];
    Ball.X = b.X;
    Ball.Y = b.Y;
    Ball.Speed = b.Speed;
    Ball.Height = b.Flags & kBallHeightMask;
    if (b.Flags & kBallFast) Ball.Speed = 12;
    FReplayBallAbove = (b.Flags & kBallAbove) != 0;
    FLofted = (b.Flags & kBallLofted) != 0;
    FReplayFlash = (b.Flags & kBallFlash) != 0;
    FTrap[0] = (b.Extra & kExTrap0) != 0;
    FTrap[1] = (b.Extra & kExTrap1) != 0;
    FShotFlying = (b.Extra & kExShotFlying) != 0;
    const int kind = (b.Extra & kExPenalty) ? spPenalty : (b.Extra & kExFoulKick) ? spFoul
                   : (b.Extra & kExOffsideKick) ? spOffside : spNone;
    // The set piece's name is shown once, when its frames begin, not again for each of its frames.
    const int before = FReplayFrames == 0 ? spNone : FSetPieceKind;
    FSetPieceKind = kind;
    if (kind != spNone && kind != before) FReplayPause = 0;
    if (b.Extra & kExKick) FSetPieceKind = spNone;

    // Each team's nearest player leads its order list; the nearer of the two is the nearest.
    int best[2] = {0, 0};
    int dist[2] = {0, 0};
    for (int t = 0; t < 2; ++t) {
        dist[t] = std::numeric_limits<int>::max();
        for (int p = 0; p < 7; ++p) {
            const int d = PointDistance({FPlayers[t][p].X, FPlayers[t][p].Y}, {Ball.X, Ball.Y});
            if (d < dist[t]) {
                dist[t] = d;
                best[t] = p;
            }
        }
        int* at = std::find(Order[t], Order[t] + 7, best[t]);
        if (at != Order[t] + 7) std::rotate(Order[t], at, at + 1);
    }
    FNearest = dist[1] < dist[0] ? TTeamPt{1, best[1]} : TTeamPt{0, best[0]};
}

void TSoccerEngine::WriteReplayHeader()
{
    TReplayHeader h;
    h.Manual = Svc.ManualPlay && Svc.ManualPlay() ? 1 : 0;
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < kReplayStats; ++i) h.Stats[t][i] = FStats[t][i];
    PutReplayHeader(FReplayStream, h);
}

void TSoccerEngine::AppendGoalScene(bool count)
{
    if (FSceneCount == 0) {
        FReplayStream.clear();
        WriteReplayHeader();
    }
    TReplayScene s;
    s.GoalTime = FGoalTime;
    s.AddedMinutes = FAddedMinutes;
    s.TimeText = FGoalTimeText.toLatin1();
    const QString label = FSceneCount < int(FGoalLabels.size()) ? FGoalLabels[size_t(FSceneCount)] : QString();
    s.Label = Svc.ToSjis ? Svc.ToSjis(label) : label.toLatin1();
    s.TimeState = quint8(FTimeState);
    // The frames recorded since the kick-off, oldest first.
    const int n = std::min(FRingRecorded, kRingFrames);
    for (int k = 0; k < n; ++k) s.Frames.push_back(FRing[(FRingIndex + k) % n]);
    if (n == 0) s.Frames.push_back(CaptureFrame(*this, false));
    FReplayStream.append(EncodeReplayScene(s));
    if (count) ++FSceneCount;
}

} // namespace soccer

// The replay file reader on arbitrary bytes: what it accepts lies within the file, scene after scene,
// with every value in range and every frame byte as written; the accepted file then plays through
// the past replay without a window.
#include "SoccerEngine.h"
#include "SoccerReplayFile.h"
#include "Sjis.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace soccer;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TReplayContents c;
    const bool ok = ReadReplay(bytes, c);
    if (ok == c.Scenes.empty()) std::abort();
    if (bytes.size() >= kReplayHeaderBytes && bytes.size() <= kMaxReplayBytes && EncodeReplayHeader(c.Header) != bytes.left(kReplayHeaderBytes)) std::abort();
    qint64 at = kReplayHeaderBytes;
    for (const TReplayScene& s : c.Scenes) {
        const qint64 n = qint64(s.Frames.size());
        if (n < 1 || n > kRingFrames || s.TimeState > 2 || s.Label.size() > kLabelBytes) std::abort();
        const QByteArray again = EncodeReplayScene(s);
        if (again.size() != kSceneHeadBytes + n * kFrameBytes) std::abort();
        if (again.mid(kSceneHeadBytes) != bytes.mid(at + kSceneHeadBytes, n * kFrameBytes)) std::abort();
        at += again.size();
    }
    if (!ok) return 0;

    static TSoccerEngine e;
    e.Svc.ReadReplayFile = [&bytes](QByteArray& b) {
        b = bytes;
        return true;
    };
    e.Svc.FromSjis = FromSjis;
    e.FTimeMode = tmPastReplay;
    e.FOpening = false;
    e.OpenPastReplay(false);
    if (!e.FReplaying || e.FGoalLabels.size() != c.Scenes.size()) std::abort();
    for (int i = 0; i < 300; ++i) e.Tick();
    e.StepGoalScene(-1);
    e.PlayCurrentScene();
    return 0;
}

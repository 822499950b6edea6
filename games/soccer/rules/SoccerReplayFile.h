#pragma once
// The replay file (extension rpz) and the in-memory scene stream, which share one layout: little-
// endian, no magic number, no version.
//
//   0   1   manual-play byte (1: the user played by hand throughout)
//   1   32  team 0 statistics 0-7 as int32: goals, shots, fouls, headings, penalty kicks, offsides,
//           loop shots, passes won
//   33  32  team 1 statistics 0-7
//   65  ... goal scenes in goal order, to the end of the file
//
// A goal scene:
//   0   4   int32 clock of the goal in seconds
//   4   4   int32 added minutes in force
//   8   7   time text "mm:ss", padded with zero bytes
//   15  10  goal label, Shift-JIS, padded with spaces
//   25  1   time state (0 normal or added time, 1 bonus time, 2 sudden death)
//   26  4   int32 N, the number of frames (1..120)
//   30  120 x N frames, oldest first
#include "SoccerFrames.h"
#include <QByteArray>
#include <vector>

namespace soccer {

constexpr int kReplayHeaderBytes = 65;
constexpr int kReplayStats = 8;
constexpr int kSceneHeadBytes = 30;
constexpr int kTimeTextBytes = 7;
constexpr int kLabelBytes = 10;
// What a reader takes at most: scenes, file size, and the clock values of a scene.
constexpr int kMaxReplayScenes = 500;
constexpr qint64 kMaxReplayBytes =
    kReplayHeaderBytes + qint64(kMaxReplayScenes) * (kSceneHeadBytes + qint64(kRingFrames) * kFrameBytes);
constexpr int kMaxGoalClock = 999 * 60 + 59;
constexpr int kMaxAddedMinutes = 999;

struct TReplayHeader {
    quint8 Manual = 0;
    qint32 Stats[2][kReplayStats] = {};
};

struct TReplayScene {
    qint32 GoalTime = 0;
    qint32 AddedMinutes = 0;
    QByteArray TimeText;            // as written: cut or padded with zero bytes to 7; as read: trimmed
    QByteArray Label;               // Shift-JIS; as written: cut or padded with spaces to 10; as read: trimmed
    quint8 TimeState = 0;
    std::vector<TReplayFrame> Frames;
};

struct TReplayContents {
    TReplayHeader Header;
    std::vector<TReplayScene> Scenes;
};

QByteArray EncodeReplayHeader(const TReplayHeader& header);
// The header written over the first 65 bytes of the stream (the stream grows to hold it).
void PutReplayHeader(QByteArray& stream, const TReplayHeader& header);
QByteArray EncodeReplayScene(const TReplayScene& scene);

// Reads the header and the goal scenes in order, up to scene `last` (every scene when negative).
// Reading stops at the first scene that is cut short or holds a value out of range (a frame count
// outside 1..120, a clock, added minutes or time state out of range); the complete scenes before it
// are kept. A stream over the size cap is not read at all. True when at least one scene was read.
bool ReadReplay(const QByteArray& bytes, TReplayContents& out, int last = -1);

// Blanks and control bytes taken off both ends, as the fixed-width text fields are read.
QByteArray TrimField(const QByteArray& bytes);

} // namespace soccer

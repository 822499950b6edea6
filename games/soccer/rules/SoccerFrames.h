#pragma once
// One recorded moment of a match: the 14 players and the ball as the replay ring and the replay files
// keep them. A frame is 15 entries of 8 bytes, team 0's players 0-6, team 1's players 0-6, the ball.
//
// Player entry flags: bits 0-2 the pose (View; 4 and up fallen), bit 3 the player holds the ball,
// bits 4-7 his header count. Extra: entries 0 and 1 carry the two teams' shot chances, entries 2 and 3
// their loop-shot flags, the others 0.
// Ball entry flags: bits 0-1 the height, bit 4 a fast ball (speed above 11), bit 5 the ball is drawn
// above the players, bit 6 a lofted ball, bit 7 the shot flash at the ball. Extra: bits 0-1 the two
// teams' traps, bit 2 a shot in flight, bit 3 the kick of a free kick, bits 4-6 a penalty kick, a
// foul's free kick or an offside's free kick under way.
#include <QtGlobal>
#include <array>

namespace soccer {

constexpr int kRingFrames = 120;   // frames the ring keeps
constexpr int kFrameEntries = 15;
constexpr int kEntryBytes = 8;
constexpr int kFrameBytes = kFrameEntries * kEntryBytes;
constexpr int kBallEntry = 14;

struct TFrameEntry {
    qint16 X = 0, Y = 0, Speed = 0;
    quint8 Flags = 0, Extra = 0;
    bool operator==(const TFrameEntry&) const = default;
};
using TReplayFrame = std::array<TFrameEntry, kFrameEntries>;

// Player entry flags.
constexpr quint8 kPlViewMask = 0x07, kPlHolder = 0x08;
// Ball entry flags and extras.
constexpr quint8 kBallHeightMask = 0x03, kBallFast = 0x10, kBallAbove = 0x20, kBallLofted = 0x40, kBallFlash = 0x80;
constexpr quint8 kExTrap0 = 0x01, kExTrap1 = 0x02, kExShotFlying = 0x04, kExKick = 0x08, kExPenalty = 0x10,
                 kExFoulKick = 0x20, kExOffsideKick = 0x40;

// The frame's 120 bytes, little-endian, and back; `bytes` holds at least kFrameBytes.
void EncodeFrame(const TReplayFrame& frame, char* bytes);
TReplayFrame DecodeFrame(const char* bytes);

} // namespace soccer

#pragma once
// Helpers of the replay ring and the past replay that the form shares with the engine.
#include "SoccerRecords.h"

namespace soccer {

// The players and the ball of now as one frame; kickBit marks the kick of a free kick.
TReplayFrame CaptureFrame(const TSoccerState& s, bool kickBit);
// The shot flash is drawn at the shot's start (the shot's own frame and the next).
bool ShotFlashShown(const TSoccerState& s);
// Where the label of scene k stands: five labels a column from the scoreboard's right; the size is
// that of the label's Shift-JIS bytes in the 16 px gothic font (8 px a byte).
TRect GoalLabelRect(int k, int labelBytes);

// Texts of the past replay.
inline constexpr const char* kReplayUnreadable = "リプレイデータを読み込めません。";

} // namespace soccer

#pragma once
// Baseball as the menu form launches it.
#include "GameHost.h"

// Registers the launcher of baseball.
void RegisterBaseBallGame();

// Creates the baseball form owned by the host's window, gives it the caption, the player name, the
// auto-progress box and the "open the settings at the start" switch, runs it modally, copies the
// auto-progress back, frees it however the run ends and returns its modal result.
quint16 PlayBaseBall(TGameHost& host);

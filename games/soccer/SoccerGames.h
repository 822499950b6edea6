#pragma once
// Soccer as the menu form launches it.
#include "GameHost.h"

// Registers the launcher of soccer.
void RegisterSoccerGame();

// Creates the soccer form owned by the host's window, gives it the caption, the player name, the
// operation mode ("自動進行" when the menu's auto-progress is on, else "マウス") and the "open the
// settings at the start" switch, runs it modally, sets the menu's auto-progress from the operation
// mode it ended with, frees it however the run ends and returns its modal result.
quint16 PlaySoccer(TGameHost& host);

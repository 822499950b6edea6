#pragma once
// The quick games as the menu form launches them.
#include "GameHost.h"

// Registers the launcher of every quick game.
void RegisterQuickGames();

// The launchers: each creates its form owned by the host's window, runs it modally, frees it and
// returns its modal result.
quint16 PlayPK(TGameHost& host);
quint16 PlayRun(TGameHost& host);
quint16 PlayHurdle(TGameHost& host);
quint16 PlayGolf(TGameHost& host);
quint16 PlayKakure(TGameHost& host);
quint16 PlayMato(TGameHost& host);

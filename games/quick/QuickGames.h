#pragma once
// The quick games as the menu form launches them.
#include <QtGlobal>

class TFormGame;

// Registers the launcher of every quick game with the menu form.
void RegisterQuickGames();

// The launchers: each creates its form owned by the menu form, runs it modally, frees it and returns
// its modal result.
quint16 PlayPK(TFormGame& game);

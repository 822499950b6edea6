#pragma once
// Registers the launcher of every game built into the program.
void RegisterAllGames();

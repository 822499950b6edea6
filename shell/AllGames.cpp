#include "AllGames.h"

#include "QuickGames.h"

void RegisterAllGames()
{
    RegisterQuickGames();
}

#include "AllGames.h"

void RegisterAllGames()
{
}

#include "AllGames.h"

#include "QuickGames.h"
#ifdef POLY_HAS_BASEBALL
#include "BaseBallGames.h"
#endif
#ifdef POLY_HAS_SOCCER
#include "SoccerGames.h"
#endif

void RegisterAllGames()
{
    RegisterQuickGames();
#ifdef POLY_HAS_BASEBALL
    RegisterBaseBallGame();
#endif
#ifdef POLY_HAS_SOCCER
    RegisterSoccerGame();
#endif
}

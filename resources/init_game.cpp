#include "Resources.h"
#include <QtGlobal>

void InitGameResources()
{
    Q_INIT_RESOURCE(game_resources);
}

#include "Resources.h"
#include <QtGlobal>

void InitEditorResources()
{
    Q_INIT_RESOURCE(editor_resources);
}

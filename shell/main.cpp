// ちびポリコロ: the menu form, the chooser and the result window live for the whole run; one game
// (or one best-of-three match) is played, and then the program ends.
#include "AllGames.h"
#include "Application.h"
#include "Resources.h"
#include "UnitGame.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv, QStringLiteral("ポリコロ"));
    InitGameResources();
    RegisterAllGames();
    CreateShellForms();
    FormGame->ListenForEditor();
    FormGame->show();
    const int rc = app.exec();
    DestroyShellForms();
    return rc;
}

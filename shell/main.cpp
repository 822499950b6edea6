// ちびポリコロ: the menu form, the chooser and the result window live for the whole run; one game
// (or one best-of-three match) is played, and then the program ends.
#include "AllGames.h"
#include "Application.h"
#include "Resources.h"
#include "Sound.h"
#include "UnitGame.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv, QStringLiteral("ポリコロ"));
    // Made after the application object and so ended before it: the audio output must close while
    // Qt's audio backend is still there.
    SoundService sound;
    InitGameResources();
    RegisterAllGames();
    CreateShellForms();
    FormGame->ListenForEditor();
    FormGame->show();
    const int rc = app.exec();
    DestroyShellForms();
    return rc;
}

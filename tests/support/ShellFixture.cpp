#include "ShellFixture.h"

#include "Help.h"
#include "Paths.h"
#include "Resources.h"
#include "UnitGame.h"

void ShellFixture::SetUp()
{
    static const bool resources = [] {
        InitGameResources();
        return true;
    }();
    (void)resources;
    SetClock(&clock);
    Sound().SetBackend(&sounds);
    OverrideProgramFile(tmp.path() + QStringLiteral("/ちびポリコロ"));
    ClearGameLaunchers();
}

void ShellFixture::TearDown()
{
    Form::SetModalHook(nullptr);
    SetHelpViewer(nullptr);
    DestroyShellForms();
    ClearGameLaunchers();
    OverrideProgramFile(QString());
    Sound().SetBackend(nullptr);
    SetClock(nullptr);
}

void ShellFixture::MakeForms()
{
    if (FormGame) DestroyShellForms();
    CreateShellForms();
    FormGame->show();
}

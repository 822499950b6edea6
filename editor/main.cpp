#include "Application.h"
#include "MyFileDialogs.h"
#include "Resources.h"
#include "UnitPictureEditor.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv, QStringLiteral("ピクモ"));
    InitEditorResources();
    // The editor's file dialogs keep more of a typed name than the game program's do.
    SetFileNameCleanup(TFileNameCleanup::Editor);
    // The main form's companion dialogs are made as their commands first need them, so the first
    // window shows sooner; each is then kept for the run.
    TFormPictureEditor form;
    form.show();
    return app.exec();
}

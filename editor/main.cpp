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
    // The text and line width dialogs live with the main form; import, grid and colour effect join
    // as their commands do.
    TFormPictureEditor form;
    form.show();
    return app.exec();
}

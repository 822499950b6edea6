#include "Application.h"
#include "Form.h"
#include "Resources.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv, QStringLiteral("ピクモ"));
    InitEditorResources();
    Form form;
    form.SetCaption(QStringLiteral("ピクモ"));
    form.SetClientSize(640, 480);
    form.show();
    return app.exec();
}

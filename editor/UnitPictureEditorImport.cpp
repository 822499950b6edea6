// ピクモ's main form: taking a piece of another picture in through the picture import dialog.
#include "UnitPictureEditor.h"

#include "PictureImport.h"
#include "UnitPictureSelect.h"
#include <QCheckBox>
#include <QStatusBar>

TFormPictureSelect* TFormPictureEditor::PictureSelect()
{
    if (!FormPictureSelect)
        FormPictureSelect = new TFormPictureSelect(this, SelectWidthDialog(), PlayerFolder(), Engine.OpaqueWhite);
    return FormPictureSelect;
}

void TFormPictureEditor::sbFaceSelectClick()
{
    Engine.ClearSelection();
    Engine.PopupFlag = false;
    TFormPictureSelect* d = PictureSelect();
    if (d->ShowModal() == mrOk) {
        // Shown as it showed in the dialog, or at its own size; never empty, never beyond what the
        // editor holds.
        const QSize s = d->ResultSize();
        if (s.width() >= 1 && s.height() >= 1 && s.width() <= kMaxImportWidth && s.height() <= kMaxImportHeight)
            ShowImportedPicture(d->Working, s.width(), s.height(), d->FileName);
    }
    StatusBar1->clearMessage();
}

// ピクモ's main form: what the range tool's results are for — copy, cut and erase of a rectangular
// or free range with the clipboard, selecting the left or right half of the cell, clearing the whole
// cell — and the states of the canvas pop-up menu.
#include "UnitPictureEditor.h"

#include "ClipboardCache.h"
#include "Dialogs.h"
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QToolButton>

void TFormPictureEditor::sbCopyClick()
{
    Engine.PopupFlag = false;
    if (!Engine.HasRange()) return;
    PastePosition = QPoint(Engine.RangeL, Engine.RangeT);
    const QImage picture = Engine.CopyRangeBitmap(true);
    if (!picture.isNull()) QGuiApplication::clipboard()->setImage(picture);
    Engine.ToolKind = Engine.SavedToolKind;
    Engine.RenderCanvas(0, TPenMode::pmCopy);
    repaintView();
    Engine.ClearSelection();
    Engine.SelectShapesAt(QPoint(0, 0));
}

void TFormPictureEditor::sbCutClick(bool toClipboard)
{
    Engine.PopupFlag = false;
    if (!Engine.HasRange()) return;
    PastePosition = QPoint(Engine.RangeL, Engine.RangeT);
    if (toClipboard) {
        const QImage picture = Engine.CopyRangeBitmap(true);
        if (!picture.isNull()) QGuiApplication::clipboard()->setImage(picture);
    }
    Engine.ToolKind = skPicture;
    const bool covered = Engine.CoverRange();
    Engine.ToolKind = Engine.SavedToolKind;
    Engine.RenderCanvas(0, TPenMode::pmCopy);
    repaintView();
    if (covered) Engine.PushUndo();
    Engine.SelectShapesAt(QPoint(0, 0));
    Engine.ClearSelection();
    ReselectToolButton();
}

void TFormPictureEditor::mmDeleteClick(bool ctrlHeld, bool shiftHeld)
{
    // With Ctrl held the item hides a floating image instead: with Shift the imported one.
    if (!ctrlHeld) sbCutClick(false);
    else if (shiftHeld) {
        if (imFace->isVisible()) sbFaceShowClick();
    } else if (imPaste->isVisible()) {
        sbPasteShowClick();
    }
}

void TFormPictureEditor::mmSelectLeftClick(int tag)
{
    if (!sbRange->isChecked()) sbRangeClick();
    // Each half is one pose: the left columns 0 to 69 of a 140-pixel cell, the right 70 to 139.
    const int w = Engine.Canvas.Width(), h = Engine.Canvas.Height();
    const QRect half = tag == 1 ? QRect(0, 0, w / 2, h) : QRect(w / 2, 0, w - w / 2, h);
    Engine.SelectCanvasRange(half);
    Engine.PopupFlag = false;
}

void TFormPictureEditor::sbClearAllClick()
{
    Engine.PopupFlag = false;
    if (Engine.Shapes.empty() && !Engine.BasePicture) return;
    MessageBeep(MB_ICONEXCLAMATION);
    if (MessageDlg(QStringLiteral("すべて消去します。いいですか。"), TMsgDlgType::mtInformation, TMsgButtons::YesCancel, this) !=
        idYes)
        return;
    // The base picture goes too: no redraw, undo or re-shape brings it back, and the sheet changed.
    ResetEditing(true, true, false);
    SheetChanged = true;
}

void TFormPictureEditor::PopupMenu1Popup()
{
    const bool imported = sbFaceShow->property("Tag").toInt() == 1;
    const bool range = Engine.HasRange();
    const bool bitmap = TClipboardCache::Of().HasPicture();
    const bool pasteShown = imPaste->isVisible(), faceShown = imFace->isVisible();
    pmClose2->setVisible(imported && faceShown);
    pmPaste2->setVisible(!pmClose2->isVisible());
    pmPaste2->setEnabled(imported && !faceShown);
    pmByouga2->setEnabled(faceShown);
    for (QAction* a : {mmCut, mmCopy, mmDelete}) a->setVisible(range);
    B5->setVisible(range);
    pmClose->setVisible(bitmap && pasteShown);
    pmPaste->setVisible(!pmClose->isVisible());
    pmPaste->setEnabled(bitmap && !pasteShown);
    pmByouga->setEnabled(pasteShown);
    B6->setVisible(pmPaste->isVisible() || pmClose->isVisible() || pmByouga->isEnabled());
    for (QAction* a : {pmGenten, pmReform, pmRotate, pmReverse, B7}) a->setVisible(pasteShown || faceShown);
    Engine.PopupFlag = true;
}

// ピクモ's main form: the palette, the eyedropper, the pen styles, the tool buttons with their
// cursors and the keep-colour option, and the range tool's button.
#include "UnitPictureEditor.h"

#include "CanvasView.h"
#include "Dialogs.h"
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

// ---------------------------------------------------------------------------------------------
// Palette

void TFormPictureEditor::pnC00MouseDown(int tag)
{
    SelectPaletteColor(tag);
    PaletteChosen = true;
    SetToolCursorForTool();
}

void TFormPictureEditor::SelectPaletteColor(int index)
{
    if (index < 0 || index >= int(Palette.size())) return;
    Palette[size_t(SelectedPalette)]->SetBorder(false);
    SelectedPalette = index;
    Palette[size_t(index)]->SetBorder(true);
    Engine.DrawColor = Palette[size_t(index)]->Color();
    ShowRGB();
}

void TFormPictureEditor::ShowRGB()
{
    const TColor c = Palette[size_t(SelectedPalette)]->Color();
    lbR->setText(QStringLiteral("R=%1").arg(GetRValue(c)));
    lbG->setText(QStringLiteral("G=%1").arg(GetGValue(c)));
    lbB->setText(QStringLiteral("B=%1").arg(GetBValue(c)));
}

void TFormPictureEditor::sbPalletClick()
{
    if (SelectedPalette <= 3) {
        MessageBeep(MB_ICONASTERISK);
        MessageDlg(QStringLiteral("パレット最上段にある色の変更はできません。"), TMsgDlgType::mtWarning, TMsgButtons::OK, this);
        return;
    }
    TColorPanel* panel = Palette[size_t(SelectedPalette)];
    TColor chosen = panel->Color();
    if (!cdPalletExecute || !cdPalletExecute(chosen)) return;
    TColor real = TShapeEngine::RealizeColor(chosen);
    // A palette colour is never transparent, nor the editor's own marker.
    if (real == Engine.EraserColor || real == Engine.MarkerColor) real = Engine.OpaqueWhite;
    panel->SetColor(real);
    panel->SetCaptionColor(ContrastTextColor(real));
    Engine.DrawColor = real;
    ShowRGB();
}

// ---------------------------------------------------------------------------------------------
// Eyedropper and cursors

void TFormPictureEditor::sbSpoitMouseDown()
{
    for (QToolButton* b : {sbPen, sbCircle, sbLine, sbFloodFill, sbRange, sbPicMove, sbFaceReform, sbFaceRotate,
                           sbFaceReverse, sbRgReform, sbRgRotate, sbRgReverse})
        if (b->isChecked()) {
            SpoitReturnButton = b;
            break;
        }
}

void TFormPictureEditor::sbSpoitClick()
{
    SetToolCursor(4);
    PaletteChosen = false;
}

void TFormPictureEditor::SetToolCursor(int cursor)
{
    // Leaving the eyedropper puts the tool's button back down, unless another tool button was
    // pressed meanwhile.
    if (EyedropperMode && cursor != 4 && sbSpoit->isChecked()) {
        QToolButton* back = SpoitReturnButton ? SpoitReturnButton : CurrentToolButton;
        if (back) back->setChecked(true);
    }
    const auto it = Cursors.find(cursor);
    Image1->setCursor(cursor != 0 && it != Cursors.end() ? it->second : QCursor(Qt::ArrowCursor));
    EyedropperMode = cursor == 4;
    if (EyedropperMode) sbSpoit->setChecked(true);
}

void TFormPictureEditor::SetToolCursorForTool()
{
    // The button that counts is the tool's, also while the eyedropper holds the group.
    auto down = [this](QToolButton* b) {
        if (EyedropperMode && sbSpoit->isChecked()) return b == (SpoitReturnButton ? SpoitReturnButton : CurrentToolButton);
        return b->isChecked();
    };
    int cursor = 0;
    if (SelectedPalette == 3 && (down(sbPen) || down(sbLine) || down(sbCircle))) cursor = 6;
    else if (down(sbFloodFill)) cursor = 5;
    else if (down(sbRange)) cursor = rbRectRange->isChecked() ? 7 : 8;
    SetToolCursor(cursor);
}

void TFormPictureEditor::pickColourAt(QPoint p)
{
    // The colour as the view shows it, grid and all.
    if (Image1->Dirty()) Image1->RepaintNow();
    const QImage& view = Image1->Surface();
    if (!view.rect().contains(p)) return;
    TColor c = FromPixel(view.pixel(p));
    // Pure white would draw transparent and the marker is the editor's own: both come in as the
    // visible white they show as.
    if (c == Engine.EraserColor || c == Engine.MarkerColor) c = Engine.OpaqueWhite;
    TColorPanel* spoit = Palette[2];
    spoit->SetColor(c);
    spoit->SetCaptionColor(ContrastTextColor(c));
    SelectPaletteColor(2);
}

// ---------------------------------------------------------------------------------------------
// Pen styles

void TFormPictureEditor::imP0MouseDown(int tag)
{
    SelectPenStyle(tag);
    SetToolCursorForTool();
}

void TFormPictureEditor::SelectPenStyle(int index)
{
    TColorPanel* panels[] = {pnP0, pnP1, pnP2};
    for (int i = 0; i < 3; ++i) {
        panels[i]->SetBorder(i == index);
        // The chosen style's picture sits a little up and left, as if pressed in.
        panels[i]->setContentsMargins(i == index ? 0 : 2, i == index ? 0 : 2, 0, 0);
    }
    Engine.PenStyle = index;
}

// ---------------------------------------------------------------------------------------------
// Tool buttons

bool TFormPictureEditor::isDrawingToolButton(const QToolButton* b) const
{
    return b && (b == sbPen || b == sbCircle || b == sbLine);
}

void TFormPictureEditor::toolButtonClick(QToolButton* button, int kind)
{
    Engine.CommitPendingShape(true);
    Engine.ToolKind = Engine.SavedToolKind = kind;
    const bool drawing = isDrawingToolButton(button);
    if (PaletteChosen) {
        if (drawing) RememberedDrawColor = SelectedPalette;
        else RememberedFillColor = SelectedPalette;
    }
    if (cbKeepColor->isChecked()) {
        const bool afterDrawing = isDrawingToolButton(CurrentToolButton);
        if (drawing && !afterDrawing) SelectPaletteColor(RememberedDrawColor);
        else if (!drawing && afterDrawing) SelectPaletteColor(RememberedFillColor);
    }
    CurrentToolButton = button;
    button->setChecked(true);
    PaletteChosen = false;
    SetToolCursor(drawing ? (SelectedPalette == 3 ? 6 : 0) : 5);
    Engine.ClearSelection();
    resetTransforms();
    UpdateModeLabels();
}

void TFormPictureEditor::resetTransforms()
{
    // A tool chosen anew: the next rotation of any floating image starts from the picture it shows.
    for (TFloatingImage* f : {imMihon, imPaste, imFace}) f->LastTransform = 0;
    PlaceTransformHandles();
}

void TFormPictureEditor::sbPenClick()
{
    toolButtonClick(sbPen, skPen);
}

void TFormPictureEditor::sbCircleClick()
{
    toolButtonClick(sbCircle, rbRect->isChecked() ? skRectangle : skEllipse);
}

void TFormPictureEditor::rbRectClick()
{
    sbCircle->setChecked(true);
    sbCircleClick();
}

void TFormPictureEditor::sbLineClick()
{
    toolButtonClick(sbLine, skLine);
}

void TFormPictureEditor::sbFloodFillClick()
{
    toolButtonClick(sbFloodFill, skFill);
}

void TFormPictureEditor::sbRangeClick()
{
    sbRange->setChecked(true);
    Engine.ToolKind = Engine.SavedToolKind = skRangeDrawing;
    if (CurrentToolButton != sbRange) PreviousToolButton = CurrentToolButton;
    CurrentToolButton = sbRange;
    Engine.FreeRangeTool = rbFreeRange->isChecked();
    SetToolCursor(rbRectRange->isChecked() ? 7 : 8);
    Engine.ClearSelection();
    resetTransforms();
    UpdateModeLabels();
}

void TFormPictureEditor::rbRectRangeClick()
{
    sbRange->setChecked(true);
    sbRangeClick();
}

void TFormPictureEditor::mmRangeClick(bool shift)
{
    // With Shift the key asks for the picture import.
    if (shift) {
        sbFaceSelectClick();
        return;
    }
    if (Engine.ToolKind == skNone) return;
    if (!sbRange->isChecked()) {
        sbRangeClick();
        return;
    }
    if (PreviousToolButton) CurrentToolButton = PreviousToolButton;
    ReselectToolButton();
}

void TFormPictureEditor::ReselectToolButton()
{
    QToolButton* b = CurrentToolButton;
    if (b) {
        b->setChecked(true);
        if (b == sbPen) sbPenClick();
        else if (b == sbCircle) sbCircleClick();
        else if (b == sbLine) sbLineClick();
        else if (b == sbFloodFill) sbFloodFillClick();
        else if (b == sbRange) sbRangeClick();
    }
    Engine.PopupFlag = false;
}

void TFormPictureEditor::UpdateModeLabels()
{
    const bool range = CurrentToolButton == sbRange;
    const QString caption = range ? QStringLiteral("描画モード(&Q)") : QStringLiteral("範囲選択モード(&Q)");
    mmRange->setText(caption + QStringLiteral("\tCtrl+Q"));
    const QString on = QStringLiteral("background: #0000ff; color: #ffffff;");
    const QString off = QStringLiteral("background: #f0f0f0; color: #000000;");
    lbRange->setStyleSheet(range ? on : off);
    lbByouga->setStyleSheet(range ? off : on);
}

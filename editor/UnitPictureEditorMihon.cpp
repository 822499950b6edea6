// ピクモ's main form: the sample underlay "見本" (a picture opened, dragged into place and then shown
// pale under the cell's transparent pixels, in the view only) and the grid "罫線" with its dialog.
#include "UnitPictureEditor.h"

#include "SampleUnderlay.h"
#include "UnitCryptAccess.h"
#include "UnitShowMasu.h"
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>

void TFormPictureEditor::setupSampleAndGrid()
{
    sbShowMasu->setCheckable(true);
    sbShowMasu->setChecked(Engine.GridShown);
    connect(sbShowMihon, &QToolButton::clicked, this, [this] { sbShowMihonClick(); });
    connect(sbShowMasu, &QToolButton::clicked, this, [this] { sbShowMasuClick(); });
    imMihon->OnMouseDown = [this](TMouseButton b, TShiftState, QPoint at) { imMihonMouseDown(b, at); };
    imMihon->OnMouseMove = [this](TMouseButton, TShiftState s, QPoint at) { imMihonMouseMove(s, at); };
    imMihon->OnMouseUp = [this](TMouseButton b, TShiftState, QPoint at) { imMihonMouseUp(b, at); };
    // A right click on the sample opens the canvas pop-up menu at the sample's top-left.
    imMihon->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(imMihon, &QWidget::customContextMenuRequested, this, [this] {
        if (Engine.Dragging) return;
        PopupMenu1Popup();
        PopupMenu1->popup(imMihon->mapToGlobal(QPoint(0, 0)));
    });
}

// ---------------------------------------------------------------------------------------------
// The sample underlay

void TFormPictureEditor::sbShowMihonClick()
{
    if (!sbShowMihon->isChecked()) {
        dropSample();
        return;
    }
    MyOpenPictureDialog3->FileName = SampleFileName;
    if (!MyOpenPictureDialog3->Execute()) {
        sbShowMihon->setChecked(false);
        Engine.SampleShown = false;
        return;
    }
    SampleFileName = MyOpenPictureDialog3->FileName;
    Engine.ToolKind = skSample;
    if (LoadSampleImage(SampleFileName)) return;
    // Nothing to place: the button comes up and the tool in use before it is back.
    sbShowMihon->setChecked(false);
    Engine.SampleShown = false;
    Engine.ToolKind = Engine.SavedToolKind;
}

bool TFormPictureEditor::LoadSampleImage(const QString& name)
{
    QImage picture;
    QString error;
    int fileError = 0;
    if (!ReadSamplePicture(name, picture, error, fileError)) {
        if (fileError != 0) ShowFileAccessError(name, 0, fileError, this);
        else reportFileError(name, error);
        return false;
    }
    Engine.SampleFaded = FadedSample(picture);
    imMihon->SetPicture(picture);
    imMihon->SetTransparent(true);
    imMihon->StoredSize = picture.size();
    imMihon->SetBounds({0, 0, std::max(1, Engine.ToView(picture.width())), std::max(1, Engine.ToView(picture.height()))});
    // At the view's visible top-left, on the first whole canvas pixel there.
    const QPoint origin = contentOf(QPoint(0, 0));
    auto firstWhole = [this](int c) {
        int k = Engine.ToCanvas(c);
        if (viewStart(k) < c) ++k;
        return viewStart(k);
    };
    placeFloating(imMihon, QPoint(firstWhole(origin.x()), firstWhole(origin.y())));
    storeFloatingPlace(imMihon);
    imMihon->show();
    imMihon->raise();
    DrawFloatingFrame(imMihon);
    repaintView();
    return true;
}

void TFormPictureEditor::dropSample()
{
    if (imMihon->isVisible()) {
        HideFloatingFrame(imMihon);
        Engine.SelectShapesAt(QPoint(0, 0));
        Engine.ClearSelection();
        imMihon->hide();
        MouseHeldOnCanvas = false;
        // Dropped before it was placed: the tool in use before it is back.
        if (Engine.ToolKind == skSample) Engine.ToolKind = Engine.SavedToolKind;
    }
    Engine.SampleFaded = QImage();
    Engine.SampleShown = false;
    Engine.RenderCanvas(0, TPenMode::pmCopy);
    repaintView();
}

void TFormPictureEditor::imMihonMouseDown(TMouseButton button, QPoint screen)
{
    if (button == TMouseButton::mbRight) {
        Engine.CommitPendingShape(false);
        return;
    }
    if (button != TMouseButton::mbLeft) return;
    m_sampleGrip = imMihon->mapFromGlobal(screen);
    MouseHeldOnCanvas = true;
}

void TFormPictureEditor::imMihonMouseMove(TShiftState shift, QPoint screen)
{
    // The sample shows as an image only while it waits to be placed, whatever tool was chosen since.
    if (!imMihon->isVisible() || !MouseHeldOnCanvas || !shift.testFlag(ShiftFlag::Left)) return;
    const QPoint client = imMihon->parentWidget()->mapFromGlobal(screen) - m_sampleGrip;
    // In whole canvas pixels, where the view will draw it.
    placeFloating(imMihon, contentOf(client));
}

void TFormPictureEditor::imMihonMouseUp(TMouseButton button, QPoint)
{
    const bool place = MouseHeldOnCanvas && button == TMouseButton::mbLeft && imMihon->isVisible();
    if (button == TMouseButton::mbLeft) MouseHeldOnCanvas = false;
    Engine.PopupFlag = false;
    if (!place) return;
    const QPoint at = Engine.ToCanvasPoint(contentOf(QPoint(imMihon->Left(), imMihon->Top())));
    imMihon->StoredPos = at;
    Engine.SelectShapesAt(QPoint(0, 0));
    Engine.ClearSelection();
    HideFloatingFrame(imMihon);
    imMihon->hide();
    TShapeRecord r;
    r.Kind = skSample;
    r.A[0] = r.B[0] = at;
    r.SyncCD();
    r.Color = r.Color2 = r.FillColor = Engine.DrawColor;
    Engine.SampleRecord = r;
    Engine.SampleShown = sbShowMihon->isChecked();
    Engine.RenderCanvas(0, TPenMode::pmCopy);
    repaintView();
    Engine.ToolKind = Engine.SavedToolKind;
}

// ---------------------------------------------------------------------------------------------
// The grid

TFormShowMasu* TFormPictureEditor::ShowMasuDialog()
{
    // Made when the grid is first set, not with the first window.
    if (!FormShowMasu) FormShowMasu = new TFormShowMasu(this);
    return FormShowMasu;
}

void TFormPictureEditor::sbShowMasuClick()
{
    if (sbShowMasu->isChecked()) {
        TFormShowMasu* d = ShowMasuDialog();
        d->UpDown1->setValue(Engine.GridPitchX);
        d->UpDown2->setValue(Engine.GridPitchY);
        d->LineColor = Engine.GridColor;
        if (d->ShowModal() == mrOk) {
            Engine.GridPitchX = d->UpDown1->value();
            Engine.GridPitchY = d->UpDown2->value();
            Engine.GridColor = d->LineColor;
            Engine.GridShown = true;
        } else {
            Engine.GridShown = false;
            sbShowMasu->setChecked(false);
        }
    } else {
        Engine.GridShown = false;
    }
    Engine.RenderCanvas(0, TPenMode::pmCopy);
    repaintView();
}

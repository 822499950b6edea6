// ピクモ's main form: the floating copy (clipboard picture or typed text) and the imported picture
// over the canvas — showing and hiding them, drawing them into the cell, the move to the view's
// origin, their frames and handles, the transform modes, the arrow-key moves and the re-layout
// that follows a zoom change.
#include "UnitPictureEditor.h"

#include "ClipboardCache.h"
#include "Clock.h"
#include "Dialogs.h"
#include "EditorGdi.h"
#include "FloatingTransform.h"
#include "UnitMoji.h"
#include <QCheckBox>
#include <QRadioButton>
#include <QToolButton>
#include <cmath>

namespace {

// The handle pictures are 7 pixels wide; zoomed, they stay between 6 and 12 pixels.
constexpr int kHandleBitmapWidth = 7;

void Refuse(QWidget* parent, const QString& text)
{
    MessageBeep(MB_ICONASTERISK);
    MessageDlg(text, TMsgDlgType::mtWarning, TMsgButtons::OK, parent);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Places

QPoint TFormPictureEditor::contentOf(QPoint client) const
{
    return client - Image1->pos();
}

int TFormPictureEditor::viewStart(int k) const
{
    const qint64 z = Engine.Scale.Zoom;
    const qint64 a = std::abs(qint64(k)) * z;
    const int v = int((a + 99) / 100);
    return k < 0 ? -v : v;
}

void TFormPictureEditor::placeFloating(TFloatingImage* f, QPoint content)
{
    const QPoint client = QPoint(snapContent(content.x()), snapContent(content.y())) + Image1->pos();
    f->MoveTo(client.x(), client.y());
    if (f->Frame->isVisible()) f->Frame->move(f->geometry().topLeft() - QPoint(3, 3));
}

void TFormPictureEditor::storeFloatingPlace(TFloatingImage* f)
{
    f->StoredPos = Engine.ToCanvasPoint(contentOf(QPoint(f->Left(), f->Top())));
}

QSize TFormPictureEditor::commitSize(const TFloatingImage* f) const
{
    // Shown at its stored size, the image stands for exactly that many canvas pixels, also where
    // the zoom cannot show every size.
    const int w = std::abs(f->Width()), h = std::abs(f->Height());
    const QSize s = f->StoredSize;
    if (s.isValid() && std::max(1, Engine.ToView(s.width())) == w && std::max(1, Engine.ToView(s.height())) == h) return s;
    return QSize(std::max(1, Engine.ToCanvas(w)), std::max(1, Engine.ToCanvas(h)));
}

void TFormPictureEditor::relayoutImage(TFloatingImage* f, bool keepPlace)
{
    const QSize size(std::max(1, Engine.ToView(f->StoredSize.width())), std::max(1, Engine.ToView(f->StoredSize.height())));
    const TBounds b = f->Bounds();
    f->SetBounds({b.Left, b.Top, size.width(), size.height()});
    if (!keepPlace) placeFloating(f, QPoint(viewStart(f->StoredPos.x()), viewStart(f->StoredPos.y())));
    DrawFloatingFrame(f);
}

void TFormPictureEditor::relayoutFloating()
{
    if (!imPaste) return;
    if (imMihon->isVisible()) relayoutImage(imMihon, false);
    relayoutImage(imPaste, false);
    imPaste->LastTransform = 5;
    if (rbBairituHendou->isChecked()) {
        relayoutImage(imFace, false);
    } else {
        const TBounds b = imFace->Bounds();
        imFace->SetBounds({b.Left, b.Top, ImportDisplaySize.width(), ImportDisplaySize.height()});
        DrawFloatingFrame(imFace);
    }
    imFace->LastTransform = 5;
    PlaceTransformHandles();
}

// ---------------------------------------------------------------------------------------------
// Frames and handles

void TFormPictureEditor::DrawFloatingFrame(TFloatingImage* f)
{
    if (!f->isVisible()) return;
    f->Frame->SetPicture(FrameBitmap(f->Tag, f->size()));
    f->Frame->move(f->geometry().topLeft() - QPoint(3, 3));
    f->Frame->show();
    f->Frame->stackUnder(f);
}

void TFormPictureEditor::HideFloatingFrame(TFloatingImage* f)
{
    f->Frame->hide();
}

void TFormPictureEditor::PlaceTransformHandles()
{
    for (THandle* h : Handles) h->hide();
    TFloatingImage* c = CurrentFloating;
    if (!c || !c->isVisible() || m_drag.Moving || sbPicMove->isChecked()) return;
    const bool face = c == imFace;
    THandle::TKind set;
    if ((face ? sbFaceReform : sbRgReform)->isChecked()) set = THandle::Stretch;
    else if ((face ? sbFaceRotate : sbRgRotate)->isChecked()) set = THandle::Rotate;
    else if ((face ? sbFaceReverse : sbRgReverse)->isChecked()) set = THandle::Flip;
    else return;
    if (set == THandle::Rotate) PrepareRotation(*c);
    const std::vector<QRect> rects = HandleRects(set, c->geometry(), Engine.ToView(kHandleBitmapWidth));
    size_t i = 0;
    for (THandle* h : Handles) {
        if (h->Kind != set || i >= rects.size()) continue;
        h->setGeometry(rects[i++]);
        h->show();
        h->raise();
    }
}

// ---------------------------------------------------------------------------------------------
// The floating copy

bool TFormPictureEditor::takeClipboardPicture(QImage& picture)
{
    const QImage img = TClipboardCache::Of().Picture();
    if (img.isNull() || img.width() < 1 || img.height() < 1) {
        Refuse(this, QStringLiteral("コピーされた画像がありません。"));
        return false;
    }
    if (img.width() > kMaxPasteWidth || img.height() > kMaxPasteHeight) {
        Refuse(this, QStringLiteral("コピーされた画像が大きすぎます。"));
        return false;
    }
    // See-through parts of a picture from elsewhere come in as pure white, that is transparent.
    picture = img.hasAlphaChannel() ? ComposeOverWhite(img) : img.convertToFormat(QImage::Format_RGB32);
    return true;
}

void TFormPictureEditor::sbPasteShowClick()
{
    if (imPaste->isVisible()) {
        imPaste->hide();
        HideFloatingFrame(imPaste);
        CurrentFloating = imFace->isVisible() ? imFace : nullptr;
        PlaceTransformHandles();
        // Its transform mode ends with it: the canvas draws again.
        if (sbRgReform->isChecked() || sbRgRotate->isChecked() || sbRgReverse->isChecked()) ReselectToolButton();
        sbPasteShow->setText(QStringLiteral("表示"));
    } else {
        QImage picture;
        if (TextMode) {
            const TFormMoji* moji = MojiDialog();
            const QSize size = TextPictureSize(moji->Lines(), moji->TextFont, moji->LineSpacing);
            if (size.width() > kMaxPasteWidth || size.height() > kMaxPasteHeight)
                Refuse(this, QStringLiteral("文字の画像が大きすぎます。"));
            else
                picture = TextPicture(moji->Lines(), moji->TextFont, moji->LineSpacing);
        } else {
            takeClipboardPicture(picture);
        }
        if (picture.isNull()) {
            sbPasteShow->setChecked(false);
            Engine.PopupFlag = false;
            return;
        }
        imPaste->SetPicture(picture);
        imPaste->SetTransparent(true);
        imPaste->StoredSize = picture.size();
        imPaste->SetBounds({0, 0, std::max(1, Engine.ToView(picture.width())), std::max(1, Engine.ToView(picture.height()))});
        placeFloating(imPaste, PastePosition);
        storeFloatingPlace(imPaste);
        imPaste->Angle = 0;
        imPaste->LastTransform = 0;
        imPaste->RotationSource = QImage();
        CurrentFloating = imPaste;
        imPaste->show();
        imPaste->raise();
        DrawFloatingFrame(imPaste);
        PlaceTransformHandles();
        sbPasteShow->setText(QStringLiteral("隠す"));
    }
    sbPasteShow->setChecked(imPaste->isVisible());
    SetToolCursorForTool();
    Engine.PopupFlag = false;
}

void TFormPictureEditor::sbPasteByougaClick()
{
    CurrentFloating = imPaste;
    CommitFloatingImage(imPaste);
}

void TFormPictureEditor::sbMojiClick()
{
    Engine.PopupFlag = false;
    if (imPaste->isVisible()) {
        Refuse(this, QStringLiteral("［表示］している画像を隠してから実行して下さい。"));
        return;
    }
    if (MojiDialog()->ShowModal() != mrOk) return;
    TextMode = true;
    sbPasteShowClick();
    TextMode = false;
}

// ---------------------------------------------------------------------------------------------
// The imported picture

void TFormPictureEditor::ShowImportedPicture(const QImage& picture, int w, int h, const QString& fileName)
{
    w = std::max(1, w);
    h = std::max(1, h);
    QImage pic = ComposeOverWhite(picture.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    if (cbChangeWhite->isChecked()) MakeInnerWhiteOpaque(pic);
    ImportFileName = fileName;
    imFace->SetPicture(pic);
    imFace->StoredSize = QSize(std::max(1, Engine.ToCanvas(w)), std::max(1, Engine.ToCanvas(h)));
    ImportDisplaySize = QSize(w, h);
    const QSize shown(std::max(1, Engine.ToView(imFace->StoredSize.width())),
                      std::max(1, Engine.ToView(imFace->StoredSize.height())));
    imFace->SetBounds({0, 0, shown.width(), shown.height()});
    const QPoint centred((ScrollBox1->viewport()->width() - shown.width()) / 2,
                         (ScrollBox1->viewport()->height() - shown.height()) / 2);
    placeFloating(imFace, contentOf(centred));
    storeFloatingPlace(imFace);
    CurrentFloating = imFace;
    imFace->Angle = 0;
    imFace->RotationSource = QImage();
    imFace->SetTransparent(true);
    imFace->show();
    imFace->raise();
    sbFaceShow->setChecked(true);
    sbFaceShow->setProperty("Tag", 1);
    sbPicMove->setChecked(true);
    imFace->LastTransform = 0;
    UpDown1Click();
    DrawFloatingFrame(imFace);
    ReselectToolButton();
    sbFaceShow->setText(QStringLiteral("隠す"));
}

void TFormPictureEditor::sbFaceShowClick()
{
    Engine.PopupFlag = false;
    if (sbFaceShow->property("Tag").toInt() == 0) {
        sbFaceShow->setChecked(false);
        return;
    }
    if (imFace->isVisible()) {
        imFace->hide();
        HideFloatingFrame(imFace);
        PlaceTransformHandles();
        CurrentFloating = imPaste->isVisible() ? imPaste : nullptr;
        ReselectToolButton();
        sbFaceShow->setText(QStringLiteral("表示"));
    } else {
        CurrentFloating = imFace;
        imFace->show();
        imFace->raise();
        DrawFloatingFrame(imFace);
        PlaceTransformHandles();
        sbFaceShow->setText(QStringLiteral("隠す"));
    }
    sbFaceShow->setChecked(imFace->isVisible());
}

void TFormPictureEditor::sbFaceByougaClick()
{
    CurrentFloating = imFace;
    CommitFloatingImage(imFace);
}

// ---------------------------------------------------------------------------------------------
// Drawing a floating image into the cell

void TFormPictureEditor::CommitFloatingImage(TFloatingImage* f)
{
    Engine.PopupFlag = false;
    if (!f->isVisible()) return;
    Engine.ClearSelection();
    Engine.SelectShapesAt(QPoint(0, 0));
    Engine.ClearSelection();
    Engine.ToolKind = skPicture;
    const QPoint at = Engine.ToCanvasPoint(contentOf(QPoint(f->Left(), f->Top())));
    f->StoredPos = at;
    const QImage kept = f->Picture();
    const QImage work = StretchPicture(kept, commitSize(f), cbHalfTone->isChecked());
    Engine.AddPictureRecord(at, work, ImportFileName, Engine.DrawColor);
    repaintView();
    Engine.PushUndo();
    // A red flash of what was drawn, where it was drawn.
    QImage flash = StretchPicture(work, f->size(), false);
    for (int y = 0; y < flash.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(flash.scanLine(y));
        for (int x = 0; x < flash.width(); ++x) line[x] &= 0xFFFF0000u;
    }
    f->SetPicture(flash);
    f->SetTransparent(false);
    f->repaint();
    Sleep(300);
    f->SetPicture(kept);
    f->SetTransparent(true);
    repaintView();
}

void TFormPictureEditor::sbGentenClick()
{
    Engine.PopupFlag = false;
    TFloatingImage* f = CurrentFloating;
    if (!f) return;
    // The first whole canvas pixel at the view's visible top-left.
    const QPoint origin = contentOf(QPoint(0, 0));
    auto firstWhole = [this](int c) {
        int k = Engine.ToCanvas(c);
        if (viewStart(k) < c) ++k;
        return viewStart(k);
    };
    placeFloating(f, QPoint(firstWhole(origin.x()), firstWhole(origin.y())));
    DrawFloatingFrame(f);
    PlaceTransformHandles();
}

bool TFormPictureEditor::moveFloatingByArrow(int dx, int dy)
{
    TFloatingImage* f = CurrentFloating;
    if (!f || !f->isVisible()) return false;
    // One step is the fewest screen pixels that make a canvas pixel; the image stays on whole
    // canvas pixels.
    const int step = std::max(1, Engine.ToCanvas(ArrowStep(Engine.Scale)));
    const QPoint c = contentOf(QPoint(f->Left(), f->Top()));
    placeFloating(f, QPoint(viewStart(Engine.ToCanvas(c.x()) + dx * step), viewStart(Engine.ToCanvas(c.y()) + dy * step)));
    PlaceTransformHandles();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Transform modes

TFloatingImage* TFormPictureEditor::floatingOf(QToolButton* b) const
{
    return b == sbFaceReform || b == sbFaceRotate || b == sbFaceReverse ? imFace : imPaste;
}

void TFormPictureEditor::TransformModeClick(QToolButton* button)
{
    Engine.PopupFlag = false;
    TFloatingImage* f = floatingOf(button);
    if (!f->isVisible()) {
        ReselectToolButton();
        return;
    }
    button->setChecked(true);
    Engine.ClearSelection();
    Engine.ToolKind = Engine.SavedToolKind = skNone;
    CurrentFloating = f;
    PlaceTransformHandles();
    UpdateModeLabels();
}

void TFormPictureEditor::pmReformClick()
{
    if (CurrentFloating == imFace || CurrentFloating == imPaste)
        TransformModeClick(CurrentFloating == imFace ? sbFaceReform : sbRgReform);
}

void TFormPictureEditor::pmRotateClick()
{
    if (CurrentFloating == imFace || CurrentFloating == imPaste)
        TransformModeClick(CurrentFloating == imFace ? sbFaceRotate : sbRgRotate);
}

void TFormPictureEditor::pmReverseClick()
{
    if (CurrentFloating == imFace || CurrentFloating == imPaste)
        TransformModeClick(CurrentFloating == imFace ? sbFaceReverse : sbRgReverse);
}

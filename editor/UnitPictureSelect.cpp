// The picture import dialog: opening a picture, the zoomed view and its outline, cutting out and
// erasing, the dialog's undo, keys, wheel and auto-scroll, and OK.
#include "UnitPictureSelect.h"

#include "CanvasView.h"
#include "Clock.h"
#include "Dialogs.h"
#include "Paths.h"
#include "PictureSelectView.h"
#include "SheetFile.h"
#include "UnitCryptAccess.h"
#include "UnitPicEffect.h"
#include "UnitSelectWidth.h"
#include "ZonedWheel.h"
#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QWheelEvent>

TFormPictureSelect::TFormPictureSelect(QWidget* owner, TFormSelectWidth* widthDialog, const QString& pictureFolder,
                                       TColor opaqueWhite)
    : Form(owner), FormSelectWidth(widthDialog), m_opaqueWhite(opaqueWhite)
{
    setObjectName(QStringLiteral("FormPictureSelect"));
    SetCaption(QStringLiteral("画像の取り込み"));
    Font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    Font.SetSize(9);
    ApplyFont();
    PointerPos = [] { return QCursor::pos(); };
    auto colourDialog = [this](TColor& colour) {
        const QColor c = QColorDialog::getColor(ToQColor(colour), this);
        if (!c.isValid()) return false;
        colour = FromQColor(c);
        return true;
    };
    cdBackColorExecute = colourDialog;
    cdSelectColorExecute = colourDialog;

    buildUi();
    m_zoom.Zoom = UpDown1->value();
    Image1->move(0, 0);
    Image1->Picture = &Working;
    Image1->Outline = &Outline;

    MyOpenPictureDialog1 = new TMyOpenPictureDialog(this);
    MyOpenPictureDialog1->Title = QStringLiteral("画像を開く");
    MyOpenPictureDialog1->InitialDir = pictureFolder;
    MyOpenPictureDialog1->Filter =
        QStringLiteral("BMP ﾌｧｲﾙ (*.bmp)|*.bmp|JPEG ﾌｧｲﾙ (*.jpg)|*.jpg|全種類 (*.bmp, *.jpg)|*.bmp;*.jpg");
    MyOpenPictureDialog1->DefaultExt = QStringLiteral("bmp");
    MyOpenPictureDialog1->FilterIndex = 3;
    MyOpenPictureDialog1->Options = ofHideReadOnly | ofNoChangeDir | ofFileMustExist | ofEnableSizing;

    FormPicEffect = new TFormPicEffect(this);
    tmAutoScroll = new GameTimer(this, 10, false);
    tmAutoScroll->OnTimer = [this] { AppIdle(); };
    updateUndoButtons();
    RepaintView();
    resize(860, 640);
}

TFormPictureSelect::~TFormPictureSelect()
{
    Image1->Picture = nullptr;
    Image1->Outline = nullptr;
}

void TFormPictureSelect::FormShow()
{
    pnImage->setFocus();
}

void TFormPictureSelect::FormClose(TCloseAction&)
{
    // Closed in the middle of a drag (Esc), the outline ends where it is.
    Dragging = false;
    tmAutoScroll->SetEnabled(false);
}

void TFormPictureSelect::UpdateCaption()
{
    const QString title = QStringLiteral("画像の取り込み");
    if (!FileName.isEmpty() && FileExists(FileName))
        SetCaption(QDir(ProgramDir()).relativeFilePath(FileName) + QStringLiteral(" ～ ") + title);
    else
        SetCaption(title);
}

void TFormPictureSelect::reportRefusal(const QString& text)
{
    MessageBeep(MB_ICONASTERISK);
    MessageDlg(text, TMsgDlgType::mtWarning, TMsgButtons::OK, this);
}

// ---------------------------------------------------------------------------------------------
// Opening

void TFormPictureSelect::sbOpenClick()
{
    MyOpenPictureDialog1->FileName = FileName;
    if (!MyOpenPictureDialog1->Execute()) return;
    const QString path = MyOpenPictureDialog1->FileName;
    // The picture is read whole before anything of the one being cut is let go.
    QImage picture;
    QString error;
    int fileError = 0;
    if (!ReadImportPicture(path, picture, error, &fileError)) {
        if (fileError != 0) ShowFileAccessError(path, 0, fileError, this);
        else reportRefusal(QLatin1Char('"') + ExtractFileName(path) + QStringLiteral("\"\r\n") + error);
        return;
    }
    if (cbChangeWhite->isChecked()) MakeInnerWhiteOpaque(picture, m_opaqueWhite);
    FileName = path;
    Opened = picture;
    Working = Opened;
    UpdateCaption();
    UpDown1Click();
    ResetUndo();
    RepaintView();
}

void TFormPictureSelect::sbReOpenClick()
{
    if (Opened.isNull()) return;
    Working = Opened;
    hideDot();
    UpDown1Click();
    ResetUndo();
    RepaintView();
}

// ---------------------------------------------------------------------------------------------
// The view and its zoom

void TFormPictureSelect::RepaintView()
{
    Image1->Zoom = m_zoom;
    Image1->BackColor = BackColor;
    Image1->OutlineColor = SelectColor;
    Image1->OutlineWidth = SelectWidth;
    Image1->update();
}

void TFormPictureSelect::UpDown1Click()
{
    m_zoom.Zoom = UpDown1->value();
    RepaintView();
    if (Working.isNull() || Working.width() == 0) return;
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    const int keptH = h->value(), keptV = v->value();
    const QSize old = Image1->size();
    const QSize now(m_zoom.ViewLength(Working.width()), m_zoom.ViewLength(Working.height()));
    Image1->resize(now);
    // Zoomed about the middle of what shows, unless the view is at its start.
    if (keptH > 0) h->setValue(keptH + (now.width() - old.width()) / 2);
    if (keptV > 0) v->setValue(keptV + (now.height() - old.height()) / 2);
}

void TFormPictureSelect::bt100Click()
{
    if (UpDown1->value() == 100) UpDown1Click();
    else UpDown1->setValue(100);
}

void TFormPictureSelect::cbIncrementClick()
{
    const bool tens = cbIncrement->isChecked();
    UpDown1->setSingleStep(tens ? 10 : 1);
    cbIncrement->setText(tens ? QStringLiteral("±10") : QStringLiteral("±1"));
}

QSize TFormPictureSelect::ResultSize() const
{
    if (Working.isNull()) return QSize(0, 0);
    if (!CheckBox1->isChecked()) return Working.size();
    return QSize(PictureToScreen(Working.width()), PictureToScreen(Working.height()));
}

void TFormPictureSelect::hideDot()
{
    if (!Image1->DotShown) return;
    Image1->DotShown = false;
    Image1->update();
}

TCutShape TFormPictureSelect::shapeChosen() const
{
    if (sbSelect2->isChecked()) return TCutShape::Ellipse;
    if (sbSelect3->isChecked()) return TCutShape::FreeHand;
    return TCutShape::Rectangle;
}

// ---------------------------------------------------------------------------------------------
// Drawing the outline

void TFormPictureSelect::Image1MouseDown(TMouseButton button, TShiftState, int x, int y)
{
    if (button != TMouseButton::mbLeft || Dragging) return;
    pnImage->setFocus();
    Image1->DotShown = false;
    Outline.Start(shapeChosen(), ScreenToPicturePoint(QPoint(x, y)));
    Dragging = true;
    tmAutoScroll->SetEnabled(true);
    Image1->update();
}

void TFormPictureSelect::Image1MouseMove(TShiftState shift, int x, int y)
{
    const QPoint p = ScreenToPicturePoint(QPoint(x, y));
    if (!Dragging) {
        if (Image1->DotShown && Image1->Dot == p) return;
        Image1->Dot = p;
        Image1->DotShown = true;
        Image1->update();
        return;
    }
    // A free outline gains a point only where the pointer reaches another picture pixel.
    if (Outline.Shape == TCutShape::FreeHand && !Outline.Empty() && Outline.Points.back() == p) return;
    Outline.Extend(p, shift.testFlag(ShiftFlag::Shift));
    Image1->update();
}

void TFormPictureSelect::Image1MouseUp(TMouseButton button)
{
    if (button != TMouseButton::mbLeft || !Dragging) return;
    Dragging = false;
    tmAutoScroll->SetEnabled(false);
    hideDot();
}

void TFormPictureSelect::AppIdle()
{
    if (!Dragging) return;
    QWidget* vp = ScrollBox1->viewport();
    const QPoint c = vp->mapFromGlobal(PointerPos());
    const int step = m_zoom.Zoom <= 100 ? 1 : 2;
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    const int oldH = h->value(), oldV = v->value();
    if (c.x() < 0) h->setValue(oldH - step);
    else if (c.x() > vp->width()) h->setValue(oldH + step);
    if (c.y() < 0) v->setValue(oldV - step);
    else if (c.y() > vp->height()) v->setValue(oldV + step);
    if (h->value() == oldH && v->value() == oldV) return;
    // The outline follows the pointer over what scrolled into view.
    const QPoint at = Image1->mapFromGlobal(PointerPos());
    Image1MouseMove(ShiftStateOf(QGuiApplication::queryKeyboardModifiers()), at.x(), at.y());
}

// ---------------------------------------------------------------------------------------------
// Cutting out and erasing

void TFormPictureSelect::sbSelectClick()
{
    if (Outline.Empty() || !CutOut(Working, Outline, SelectWidth)) return;
    hideDot();
    UpDown1Click();
    PushUndo();
    RepaintView();
}

void TFormPictureSelect::sbEraseRClick()
{
    if (Outline.Empty() || !EraseInside(Working, Outline, SelectWidth)) return;
    hideDot();
    UpDown1Click();
    PushUndo();
    RepaintView();
}

void TFormPictureSelect::sbEraseLClick()
{
    if (Outline.Empty() || !EraseAlong(Working, Outline, SelectWidth)) return;
    hideDot();
    PushUndo();
    RepaintView();
}

void TFormPictureSelect::sbSelectAllClick()
{
    if (Working.isNull() || Working.width() == 0) return;
    // The whole picture, whichever shape is chosen.
    Outline = WholePictureOutline(Working.size());
    Image1->Flash = true;
    Image1->repaint();
    Sleep(300);
    Image1->Flash = false;
    sbSelectClick();
}

// ---------------------------------------------------------------------------------------------
// Undo

void TFormPictureSelect::ResetUndo()
{
    UndoStore.Reset(Working);
    Outline.Clear();
    updateUndoButtons();
}

void TFormPictureSelect::PushUndo()
{
    UndoStore.Push(Working);
    Outline.Clear();
    updateUndoButtons();
}

void TFormPictureSelect::RestoreUndo(const QImage& state)
{
    if (state.isNull()) return;
    Working = state;
    Outline.Clear();
    Image1->DotShown = false;
    UpDown1Click();
    RepaintView();
    updateUndoButtons();
}

void TFormPictureSelect::sbUndoClick()
{
    if (UndoStore.CanUndo()) RestoreUndo(UndoStore.Undo());
}

void TFormPictureSelect::sbRedoClick()
{
    if (UndoStore.CanRedo()) RestoreUndo(UndoStore.Redo());
}

void TFormPictureSelect::updateUndoButtons()
{
    sbUndo->setEnabled(UndoStore.CanUndo());
    Undo1->setEnabled(UndoStore.CanUndo());
    sbRedo->setEnabled(UndoStore.CanRedo());
    Repeat1->setEnabled(UndoStore.CanRedo());
}

// ---------------------------------------------------------------------------------------------
// Colours and width

void TFormPictureSelect::sbBackColorClick()
{
    TColor c = BackColor;
    if (!cdBackColorExecute(c)) return;
    BackColor = c;
    refreshGlyphs();
    RepaintView();
}

void TFormPictureSelect::sbSelectColorClick()
{
    TColor c = SelectColor;
    if (!cdSelectColorExecute(c)) return;
    SelectColor = c;
    refreshGlyphs();
    RepaintView();
}

void TFormPictureSelect::sbSelectWidthClick()
{
    FormSelectWidth->UpDown1->setValue(SelectWidth);
    if (FormSelectWidth->ShowModal() != mrOk) return;
    SelectWidth = FormSelectWidth->UpDown1->value();
    refreshGlyphs();
    RepaintView();
}

void TFormPictureSelect::Effect1Click()
{
    FormPicEffect->ShowModal();
}

// ---------------------------------------------------------------------------------------------
// OK

void TFormPictureSelect::btOKClick()
{
    if (Working.isNull() || Working.width() == 0) {
        reportRefusal(QStringLiteral("画像が選択されていません。"));
        return;
    }
    if (Outline.EnclosesWithin(Working.size())) {
        MessageBeep(MB_ICONEXCLAMATION);
        if (MessageDlg(QStringLiteral("選択範囲を切り出しますか。"), TMsgDlgType::mtConfirmation, TMsgButtons::YesNo, this) ==
            idYes)
            sbSelectClick();
    }
    // The editor shows the result at the size it has here; it must be a picture it can hold.
    const QSize s = ResultSize();
    if (s.width() < 1 || s.height() < 1) {
        reportRefusal(QStringLiteral("取り込む画像が小さすぎます。表示倍率を上げて下さい。"));
        return;
    }
    if (s.width() > kMaxImportWidth || s.height() > kMaxImportHeight) {
        reportRefusal(QStringLiteral("取り込む画像が大きすぎます。（横%1×縦%2ピクセル以下にして下さい）")
                          .arg(kMaxImportWidth)
                          .arg(kMaxImportHeight));
        return;
    }
    SetModalResult(mrOk);
}

// ---------------------------------------------------------------------------------------------
// Keys and wheel

void TFormPictureSelect::FormKeyDown(Word& key, TShiftState shift)
{
    if (shift.testFlag(ShiftFlag::Ctrl)) {
        switch (key) {
        case 'Z': shift.testFlag(ShiftFlag::Shift) ? sbRedoClick() : sbUndoClick(); break;
        case 'K': sbSelectClick(); break;
        case 'H': sbEraseRClick(); break;
        case 'L': sbEraseLClick(); break;
        case 'A': sbSelectAllClick(); break;
        default: return;
        }
        key = 0;
    } else if (key == VK_ESCAPE || key == VK_F4) {
        btCancel->click();
        key = 0;
    } else if (!shift.testFlag(ShiftFlag::Shift)) {
        ArrowKey(key);
    }
}

void TFormPictureSelect::ArrowKey(Word& key)
{
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    switch (key) {
    case VK_LEFT: h->setValue(h->value() - h->singleStep()); break;
    case VK_RIGHT: h->setValue(h->value() + h->singleStep()); break;
    case VK_UP: v->setValue(v->value() - v->singleStep()); break;
    case VK_DOWN: v->setValue(v->value() + v->singleStep()); break;
    default: return;
    }
    hideDot();
    key = 0;
}

bool TFormPictureSelect::CMMouseWheel(QPoint pos, int delta)
{
    if (!ScrollBox1->rect().contains(pos)) return false;
    const QScrollBar* h = ScrollBox1->horizontalScrollBar();
    const QScrollBar* v = ScrollBox1->verticalScrollBar();
    const TWheelRoom room{v->value() > 0, v->value() < v->maximum(), h->value() > 0, h->value() < h->maximum()};
    const TWheelAction a = ZonedWheel(pos, ScrollBox1->size(), delta, room);
    for (Word k : a.Keys) {
        Word key = k;
        ArrowKey(key);
    }
    if (a.ZoomSteps != 0) UpDown1->setValue(UpDown1->value() + a.ZoomSteps * UpDown1->singleStep());
    return true;
}

bool TFormPictureSelect::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::Wheel && isVisible() && (o == ScrollBox1->viewport() || o == Image1)) {
        auto* we = static_cast<QWheelEvent*>(e);
        const QPoint pos = ScrollBox1->mapFromGlobal(we->globalPosition().toPoint());
        const int delta = we->angleDelta().y() != 0 ? we->angleDelta().y() : we->angleDelta().x();
        if (CMMouseWheel(pos, delta)) return true;
    }
    return Form::eventFilter(o, e);
}

bool TFormPictureSelect::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        StatusBar1->showMessage(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return Form::event(e);
}

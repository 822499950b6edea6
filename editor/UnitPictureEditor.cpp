// ピクモ's main form: its creation, the shell (caption, close, auto-scroll), drawing on the canvas
// by mouse, re-shaping the last shape, and undo and redo.
#include "UnitPictureEditor.h"

#include "Clock.h"
#include "Dialogs.h"
#include "Paths.h"
#include "UnitMoji.h"
#include "UnitSelectWidth.h"
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDir>
#include <QFrame>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>

namespace {

constexpr TColor kReformGreen = 0x7FFFBF;
constexpr TColor kReformRed = 0xCFCFFF;

// The palette's fixed colours; index 1 is the opaque white found at start-up.
const TColor kPaletteColors[19] = {0x000000, 0xFFFEFF, 0xFFFFFF, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000,
                                   0x00FFFF, 0xFF00FF, 0xFFFF00, 0x000080, 0x008000, 0x800000, 0x808080,
                                   0xE0FFE0, 0xBFDFFF, 0xB4D2F1, 0x5C8AB9, 0xBFBFFF};

} // namespace

// ---------------------------------------------------------------------------------------------
// Creation

TFormPictureEditor::TFormPictureEditor(QWidget* owner) : Form(owner)
{
    setObjectName(QStringLiteral("FormPictureEditor"));
    Font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    Font.SetSize(9);
    ApplyFont();
    PointerPos = [] { return QCursor::pos(); };
    cdPalletExecute = [this](TColor& colour) {
        const QColor c = QColorDialog::getColor(ToQColor(colour), this);
        if (!c.isValid()) return false;
        colour = FromQColor(c);
        return true;
    };
    imTestPlay = QPixmap::fromImage(ReadResourcePicture(QStringLiteral(":/bitmaps/imTestPlay.png"), "PNG"));
    imTestPause = QPixmap::fromImage(ReadResourcePicture(QStringLiteral(":/bitmaps/imTestPause.png"), "PNG"));
    tmTest = new GameTimer(this, 400, false);
    tmTest->OnTimer = [this] { tmTestTimer(); };

    // 1-3: the whites, the canvas and the cell size.
    Engine.FindNearWhites();
    Engine.Canvas.SetSize(140, 70);
    Engine.ClearCanvas();
    PaletteCount = 0; // a 24-bit canvas has no palette

    buildUi();
    udWidth->setValue(Engine.Canvas.Width());
    udHeight->setValue(Engine.Canvas.Height());

    // 4: size and place on the work area.
    FitToWorkArea();

    // 5: the view.
    Image1->move(0, 0);
    Image1->SetViewSize(Engine.Canvas.Width(), Engine.Canvas.Height());
    Engine.GridPitchX = Engine.GridPitchY = 70;
    Engine.GridShown = true;
    Engine.GridColor = 0x808080;

    // 6: handle pictures, cursors.
    registerCursors();

    // 7: no floating image, no move, no pop-up.
    CurrentFloating = nullptr;
    Engine.PopupFlag = false;

    // 8: palette.
    setupPalette();

    // 9: lists, re-shape light, undo.
    connectEngine();
    Engine.SetReformState(false, false);
    Engine.ClearUndo();
    Engine.SavedState(false);

    // 10: the pen at start; the player picture folder.
    sbPen->setChecked(true);
    sbPenClick();
    UpdateModeLabels();
    m_playerFolder = ProgramDir() + QStringLiteral("/画像と音声") + QStringLiteral("/ゲームの選手画像");
    if (!QDir(m_playerFolder).exists()) QDir().mkpath(m_playerFolder);

    // 11: the three file dialogs.
    setupFileDialogs();
    setupSampleAndGrid();

    // 12-13: caption, zoom, hints.
    UpdateCaption();
    UpDown1Click();
    assignHints();

    // 16: sheet, preview, strip.
    Sheet.SetSize(Engine.Canvas.Width(), Engine.Canvas.Height());
    udChara->setMaximum(Sheet.Width() / Engine.Canvas.Width() - 1);
    SelectedCell = 0;
    RefreshPlayerStrip(true);
    TestBackground = 0x00FF7F;
    SetupPreview();
    Engine.GuideArmed = true;
    PlayerOrder.Clear();
    PlayerOrder.Add(-1);

    tmAutoScroll = new GameTimer(this, 10, false);
    tmAutoScroll->OnTimer = [this] { AppIdle(); };
}

void TFormPictureEditor::setupPalette()
{
    for (int i = 0; i < 19; ++i) {
        TColorPanel* p = Palette[size_t(i)];
        const TColor base = i == 1 ? Engine.OpaqueWhite : kPaletteColors[i];
        p->SetColor(TShapeEngine::RealizeColor(base));
        if (i <= 3) p->SetCaptionColor(ContrastTextColor(p->Color()));
    }
    Palette[2]->setText(QStringLiteral("ｽﾎﾟ"));
    Palette[3]->setText(QStringLiteral("消"));
    SelectPaletteColor(0);
    SelectPenStyle(0);
}

void TFormPictureEditor::connectEngine()
{
    Engine.OnRepaint = [this] { repaintView(); };
    Engine.OnViewChanged = [this] { Image1->ShowSurface(); };
    Engine.OnUndoStateChanged = [this] { UpdateUndoButtons(); };
    Engine.OnWriteBack = [this] { WriteBackCanvas(); };
    Engine.OnReformStateChanged = [this] { SetReformStateView(); };
    Engine.OnGhostsChanged = [this] { placeGhosts(); };
    Engine.OnToolUsed = [this](int kind) {
        if (kind == skFill) RememberedFillColor = SelectedPalette;
        else RememberedDrawColor = SelectedPalette;
    };
    Engine.View = &Image1->Surface();
}

void TFormPictureEditor::setupFileDialogs()
{
    const QString filter = QStringLiteral("BMP ﾌｧｲﾙ (*.bmp)|*.bmp|JPEG ﾌｧｲﾙ (*.jpg)|*.jpg|全種類 (*.bmp, *.jpg)|*.bmp;*.jpg");
    MyOpenPictureDialog2 = new TMyOpenPictureDialog(this);
    MySavePictureDialog2 = new TMySavePictureDialog(this);
    MyOpenPictureDialog3 = new TMyOpenPictureDialog(this);
    MyOpenPictureDialog2->Title = QStringLiteral("開く");
    MySavePictureDialog2->Title = QStringLiteral("名前を付けて保存");
    MyOpenPictureDialog3->Title = QStringLiteral("見本画像を開く");
    for (TMyFileDialog* d :
         std::initializer_list<TMyFileDialog*>{MyOpenPictureDialog2, MySavePictureDialog2, MyOpenPictureDialog3}) {
        d->InitialDir = m_playerFolder;
        d->Filter = filter;
        d->DefaultExt = QStringLiteral("bmp");
        d->FilterIndex = 3;
    }
    MyOpenPictureDialog2->Options |= ofFileMustExist;
    MySavePictureDialog2->OnCanClose = [this](bool& canClose) { MySavePictureDialog2CanClose(canClose); };
    MySavePictureDialog2->OnTypeChange = [this] { MySavePictureDialog2TypeChange(); };
}

// The companion dialogs cost the first window's showing several milliseconds of fonts and widgets
// each, so they wait for their commands.
TFormMoji* TFormPictureEditor::MojiDialog()
{
    if (!FormMoji) FormMoji = new TFormMoji(this);
    return FormMoji;
}

TFormSelectWidth* TFormPictureEditor::SelectWidthDialog()
{
    if (!FormSelectWidth) FormSelectWidth = new TFormSelectWidth(this);
    return FormSelectWidth;
}

TFormPictureEditor::~TFormPictureEditor()
{
    Engine.OnRepaint = nullptr;
    Engine.OnViewChanged = nullptr;
    Engine.OnUndoStateChanged = nullptr;
    Engine.OnWriteBack = nullptr;
    Engine.OnReformStateChanged = nullptr;
    Engine.OnGhostsChanged = nullptr;
    Engine.OnToolUsed = nullptr;
    Engine.View = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Shell

void TFormPictureEditor::UpdateCaption(const QString& path)
{
    QString c = QStringLiteral("ピクモ");
    if (PaletteCount != 0) c += QStringLiteral(" (%1色)").arg(PaletteCount);
    if (!path.isEmpty()) c += QStringLiteral(" ～ ") + ExtractFileName(path);
    SetCaption(c);
}

void TFormPictureEditor::FormShow()
{
    m_shown = true;
    FitToWorkArea();
    Image1->Invalidate();
}

void TFormPictureEditor::btOKClick()
{
    Engine.ClearSelection();
    Engine.SelectShapesAt(QPoint(0, 0));
    ReselectToolButton();
    close();
}

void TFormPictureEditor::FormClose(TCloseAction& action)
{
    if (!ConfirmSaveChanges(true)) action = TCloseAction::caNone;
}

QPoint TFormPictureEditor::pointerInViewport() const
{
    return ScrollBox1->viewport()->mapFromGlobal(PointerPos());
}

void TFormPictureEditor::AppIdle()
{
    if (!MouseHeldOnCanvas || !Engine.Dragging) return;
    const QPoint c = pointerInViewport();
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    const int oldH = h->value(), oldV = v->value();
    const QWidget* vp = ScrollBox1->viewport();
    if (c.x() < 0) h->setValue(oldH - 1);
    else if (c.x() > vp->width()) h->setValue(oldH + 1);
    if (c.y() < 0) v->setValue(oldV - 1);
    else if (c.y() > vp->height()) v->setValue(oldV + 1);
    const bool scrolled = h->value() != oldH || v->value() != oldV;
    if (scrolled) {
        const QPoint onImage = Image1->mapFromGlobal(PointerPos());
        if (Engine.ToolKind == skMove) {
            Engine.GhostOffset = Engine.ConstrainPoint(onImage) - Engine.StartPoint;
            placeGhosts();
        } else {
            // The view is drawn again at once with the preview at the new point.
            Engine.CurrentPoint = onImage;
            Image1->RepaintNow();
        }
    }
}

// ---------------------------------------------------------------------------------------------
// View and zoom

void TFormPictureEditor::PaintCanvasView()
{
    Engine.PaintView(Image1->Surface());
    // A shape being dragged stays in view over a fresh picture.
    if (Engine.Dragging) {
        if (Engine.ToolKind == skRectangle || Engine.ToolKind == skEllipse || Engine.ToolKind == skLine)
            Engine.DrawPreview(TPenMode::pmNotXor);
        else if (Engine.ToolKind == skPen)
            Engine.DrawPreview(TPenMode::pmCopy);
        else if (Engine.ToolKind == skRangeDrawing && !Engine.FreeRange)
            Engine.DrawPreview(TPenMode::pmNotXor);
    }
}

void TFormPictureEditor::repaintView()
{
    Image1->Invalidate();
}

void TFormPictureEditor::placeGhosts()
{
    if (Engine.Ghosts.size() != m_ghosts.size()) {
        for (auto& g : m_ghosts)
            if (g) delete g.data();
        m_ghosts.clear();
        for (const TMoveGhost& g : Engine.Ghosts) {
            auto* w = new TGhostImage(Image1, g.Image);
            w->show();
            m_ghosts.emplace_back(w);
        }
    }
    for (size_t i = 0; i < m_ghosts.size(); ++i) {
        const TMoveGhost& g = Engine.Ghosts[i];
        if (!m_ghosts[i]) continue;
        m_ghosts[i]->setGeometry(QRect(Engine.Scale.ToViewPoint(g.Anchor) + Engine.GhostOffset,
                                       QSize(Engine.ToView(g.CanvasSize.width()), Engine.ToView(g.CanvasSize.height()))));
    }
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TFormPictureEditor::Image1MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (Engine.Dragging) return;
    if (!pnImage->rect().contains(pnImage->mapFromGlobal(Image1->mapToGlobal(QPoint(x, y))))) return;
    pnImage->setFocus();
    // The press tells whether Shift and Ctrl are down, also when their keys went to another window.
    Engine.ShiftHeld = shift.testFlag(ShiftFlag::Shift);
    Engine.CtrlCopy = shift.testFlag(ShiftFlag::Ctrl);
    Engine.CurrentPoint = QPoint(x, y);
    Engine.CommitPendingShape(false);
    PaletteChosen = false;
    if (EyedropperMode) {
        pickColourAt(QPoint(x, y));
        return;
    }
    const bool heldBack = Engine.PopupFlag && (Engine.ToolKind == skPen || Engine.ToolKind == skFill);
    if (button == TMouseButton::mbLeft && !heldBack && CurrentFloating && !imFace->isVisible() && !imPaste->isVisible()) {
        // The floating image in use went away: the tool before it comes back.
        CurrentFloating = nullptr;
        ReselectToolButton();
    }
    if (button == TMouseButton::mbLeft && imMihon->isVisible()) {
        // The sample underlay is being placed: the canvas takes no drawing meanwhile.
        Engine.PopupFlag = false;
        MessageBeep(MB_ICONASTERISK);
        MessageDlg(imMihon->statusTip(), TMsgDlgType::mtWarning, TMsgButtons::OK, this);
        return;
    }
    Engine.MouseDown(button, QPoint(x, y));
    if (button == TMouseButton::mbLeft && Engine.Dragging) {
        MouseHeldOnCanvas = true;
        tmAutoScroll->SetEnabled(true);
    }
}

void TFormPictureEditor::Image1MouseMove(TShiftState, int x, int y)
{
    // Outside the canvas panel the drag is followed by the auto-scroll instead.
    if (!pnImage->rect().contains(pnImage->mapFromGlobal(Image1->mapToGlobal(QPoint(x, y))))) return;
    Engine.MouseMove(QPoint(x, y));
}

void TFormPictureEditor::Image1MouseUp(TMouseButton button, TShiftState, int x, int y)
{
    if (EyedropperMode) {
        Engine.CurrentPoint = QPoint(x, y);
        // The pick is done: the tool's own cursor comes back with its button.
        SetToolCursorForTool();
        return;
    }
    // Only the button that started a drag ends it.
    if (Engine.Dragging && button != TMouseButton::mbLeft) return;
    Engine.MouseUp(button, QPoint(x, y));
    if (button == TMouseButton::mbLeft) {
        MouseHeldOnCanvas = false;
        tmAutoScroll->SetEnabled(false);
    }
}

void TFormPictureEditor::udPenClick()
{
    Engine.PenSetting = udPen->value();
    Engine.CurveSetting = udLine->value();
    Engine.ReshapeFromSettings();
}

void TFormPictureEditor::pnLastReformClick()
{
    if (Engine.ReformCan) Engine.SetReformState(Engine.ReformCan, !Engine.ReformOn);
}

void TFormPictureEditor::SetReformStateView()
{
    const TColor c = Engine.ReformOn ? kReformGreen : kReformRed;
    pnLastReform->SetColor(c);
    udPen->setStyleSheet(QStringLiteral("QSpinBox { background: %1; }").arg(CssColor(c)));
    udLine->setStyleSheet(
        QStringLiteral("QSpinBox { background: %1; }").arg(CssColor(Engine.ToolKind == skLine ? c : kReformRed)));
}

void TFormPictureEditor::sbUndoClick()
{
    Engine.UndoClick();
    Engine.PopupFlag = false;
}

void TFormPictureEditor::sbRedoClick()
{
    Engine.RedoClick();
    Engine.PopupFlag = false;
}

void TFormPictureEditor::UpdateUndoButtons()
{
    sbUndo->setEnabled(Engine.CanUndo());
    sbRedo->setEnabled(Engine.CanRedo());
}


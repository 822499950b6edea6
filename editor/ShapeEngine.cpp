// The engine's core: colours, building and storing records, re-shaping the last one, the canvas
// mouse handed to the tool of the current kind, and the undo ring.
#include "ShapeEngine.h"

#include "Dialogs.h"
#include "EditorGdi.h"
#include "MathUtil.h"
#include "PictureFile.h"
#include "ShapeSnapshot.h"
#include "ShapeTools.h"
#include <algorithm>
#include <cmath>

namespace {

bool IsReshapeKind(int kind)
{
    return IsOutlineKind(kind) || kind == skPicture;
}

} // namespace

TShapeEngine::TShapeEngine()
{
    Canvas.SetSize(140, 70);
    ClearCanvas();
}

TColor TShapeEngine::RealizeColor(TColor c)
{
    TBitmap b(1, 1);
    b.Canvas().Brush.Color = c;
    const TColor before = b.Canvas().Pixel(0, 0);
    b.Canvas().FloodFill(0, 0, before, TFillStyle::fsSurface);
    return b.Canvas().Pixel(0, 0);
}

void TShapeEngine::FindNearWhites()
{
    TColor opaque = RGBColor(255, 0, 255);
    for (int n = 255; n >= 0; --n) {
        const TColor cand = RGBColor(255, n, 255);
        if (RealizeColor(cand) != clWhite) {
            opaque = cand;
            break;
        }
    }
    OpaqueWhite = opaque;
    const int g = GetGValue(opaque);
    TColor marker = RGBColor(255, g, 0);
    for (int m = 255; m >= 0; --m) {
        const TColor cand = RGBColor(255, g, m);
        const TColor real = RealizeColor(cand);
        if (real != clWhite && real != OpaqueWhite) {
            marker = cand;
            break;
        }
    }
    MarkerColor = marker;
}

int TShapeEngine::PenWidthOf(bool onView, int kind, int setting) const
{
    const int w = PenWidthForSetting(kind, setting);
    return onView ? ToView(w) : w;
}

void TShapeEngine::ClearCanvas()
{
    Canvas.Image().fill(ToPixel(EraserColor));
}

void TShapeEngine::SetCanvasSize(int w, int h)
{
    Canvas.SetSize(w, h);
}

// ---------------------------------------------------------------------------------------------
// Building and drawing

TShapeRecord TShapeEngine::BuildShape(TColor colour) const
{
    TShapeRecord r;
    r.Kind = ToolKind;
    r.FreeOutline = FreeRange ? 1 : 0;
    if (ToolKind == skFill) {
        r.A[0] = ToCanvasPoint(StartPoint);
        r.B[0] = ToCanvasPoint(CurrentPoint);
    } else {
        r.A[0] = StartPoint;
        r.B[0] = CurrentPoint;
    }
    r.SyncCD();
    r.Leftmost = r.Topmost = r.Rightmost = r.Bottommost = r.A[0];
    r.Color = r.Color2 = r.FillColor = colour;
    r.PenStyle = PenStyle;
    switch (ToolKind) {
    case skRectangle:
    case skEllipse:
    case skPen: r.Width = PenSetting; break;
    case skLine:
        r.Width = PenSetting;
        r.Curve = CurveSetting;
        break;
    case skPicture: r.PenStyle = 0; break;
    default: break;
    }
    return r;
}

void TShapeEngine::AddShapeRecord(const TShapeRecord& built)
{
    TShapeRecord r = built.DeepCopy();
    r.A[0] = ToCanvasPoint(StartPoint);
    r.B[0] = ToCanvasPoint(CurrentPoint);
    r.SyncCD();
    StoreShapeExtent(r);
    r.FreeOutline = FreeRange ? 1 : 0;
    if (r.Kind == skPen || r.FreeOutline) {
        r.Points.clear();
        r.Points.reserve(InProgress.size());
        for (QPoint p : InProgress) r.Points.push_back(ToCanvasPoint(p));
    }
    if (r.Kind == skPicture) {
        r.Picture = std::make_shared<TBitmap>(FloatingRange);
        r.Text = FloatingFileName;
        r.Picture->TransparentColor = EraserColor;
        r.Picture->Transparent = r.Color != EraserColor;
    }
    AppendRecord(std::move(r));
}

void TShapeEngine::AppendRecord(TShapeRecord r)
{
    r.SyncCD();
    r.Handle = ShapeHandlePoint(r);
    r.Mark = kRecordMark;
    r.Selected = 0;
    Shapes.push_back(std::move(r));
    RenderShape(Shapes.back(), Canvas.Image(), false, true, false, TPenMode::pmCopy);
    StoreShapeExtent(Shapes.back());
}

// ---------------------------------------------------------------------------------------------
// Re-shaping

void TShapeEngine::SetReformState(bool can, bool on)
{
    ReformCan = can;
    ReformOn = on;
    if (OnReformStateChanged) OnReformStateChanged();
}

void TShapeEngine::ReshapeFromSettings()
{
    if (Shapes.empty()) return;
    auto update = [&](TShapeRecord& r) {
        if (IsOutlineKind(r.Kind)) r.Width = PenSetting;
        if (r.Kind == skLine) r.Curve = CurveSetting;
        r.StretchType = 0;
        RenderShape(r, Canvas.Image(), false, true, false, TPenMode::pmCopy);
        StoreShapeExtent(r);
    };
    if (ToolKind == skRangeMade) {
        RenderCanvas(0, TPenMode::pmCopy);
        Repaint();
        for (TShapeRecord& r : Shapes)
            if (r.Selected && IsReshapeKind(r.Kind)) update(r);
    } else if (IsReshapeKind(Shapes.back().Kind) && ReformOn) {
        DeselectAllShapes();
        update(Shapes.back());
    }
    RenderCanvas(2, TPenMode::pmCopy);
    Repaint();
    WriteBack();
    PendingModification = true;
}

void TShapeEngine::CommitPendingShape(bool deselect)
{
    if (!PendingModification) return;
    if (deselect) {
        DeselectAllShapes();
        ClearSelection();
    }
    PendingModification = false;
    PushUndo();
}

// ---------------------------------------------------------------------------------------------
// Canvas mouse

QPoint TShapeEngine::ConstrainPoint(QPoint p)
{
    if (!ShiftHeld) return p;
    const int sx = StartPoint.x(), sy = StartPoint.y();
    int x = p.x(), y = p.y();
    switch (ToolKind) {
    case skRectangle:
    case skEllipse: {
        const int dd = std::max(std::abs(x - sx), std::abs(y - sy));
        x = x >= sx ? sx + dd : sx - dd;
        y = y >= sy ? sy + dd : sy - dd;
        return QPoint(x, y);
    }
    case skLine:
        if (std::abs(y - sy) < std::abs(x - sx)) y = sy;
        else x = sx;
        return QPoint(x, y);
    case skPen:
    case skMove: {
        if (AxisLock == 0) {
            const int ox = std::abs(x - LockOrigin.x()), oy = std::abs(y - LockOrigin.y());
            if (ox > oy) AxisLock = 1;
            else if (oy > ox) AxisLock = 2;
            else return p;
        }
        if (AxisLock == 1) y = LockOrigin.y();
        else x = LockOrigin.x();
        return QPoint(x, y);
    }
    default: return p;
    }
}

void TShapeEngine::DrawPreview(TPenMode mode)
{
    if (!View) return;
    const TShapeRecord rec = BuildShape(PreviewColor());
    RenderShape(rec, *View, true, false, false, mode);
    if (OnViewChanged) OnViewChanged();
}

void TShapeEngine::MouseDown(TMouseButton button, QPoint p)
{
    if (Dragging) return;
    CurrentPoint = p;
    CommitPendingShape(false);
    if (button != TMouseButton::mbLeft) return;
    StartPoint = CurrentPoint;
    AxisLock = 0;
    LockOrigin = StartPoint;
    MoveHappened = false;
    // The click that closed the pop-up menu does not paint.
    if ((ToolKind == skPen || ToolKind == skFill) && PopupFlag) {
        PopupFlag = false;
        return;
    }
    PopupFlag = false;
    if (ToolKind == skPicture) ToolKind = SavedToolKind;
    for (int pass = 0; pass < 2; ++pass)
        if (ToolOfKind(ToolKind).Begin(*this, p) == TShapeTool::TBegin::Done) return;
}

void TShapeEngine::MouseMove(QPoint p)
{
    const QPoint previous = CurrentPoint;
    CurrentPoint = p;
    if (Dragging) ToolOfKind(ToolKind).Move(*this, p, previous);
}

void TShapeEngine::FinishShape()
{
    Dragging = false;
    AddShapeRecord(BuildShape(DrawColor));
    Repaint();
    PushUndo();
    ToolKind = SavedToolKind;
    SetReformState(true, true);
}

void TShapeEngine::MouseUp(TMouseButton button, QPoint p)
{
    // Drags start with the left button, and only its release ends one: another button let go
    // meanwhile leaves the shape being drawn, or the shapes being moved, as they are.
    if (Dragging && button != TMouseButton::mbLeft) return;
    CurrentPoint = p;
    if (button == TMouseButton::mbLeft && Dragging) ToolOfKind(ToolKind).End(*this, p);
    FreeMoveCopies();
    Dragging = false;
}

void TShapeEngine::ToolUsed(int kind)
{
    if (OnToolUsed) OnToolUsed(kind);
}

// ---------------------------------------------------------------------------------------------
// Undo

void TShapeEngine::PushUndo()
{
    if (!Undo.Push(MakeSnapshot(Shapes))) return;
    InProgress.clear();
    SetReformState(false, false);
    UndoStateChanged();
    WriteBack();
}

void TShapeEngine::UndoClick()
{
    CommitPendingShape(true);
    const std::int64_t before = Undo.Cur();
    if (Undo.StepBack() && !RestoreUndo()) Undo.SetCur(before);
    UndoStateChanged();
    WriteBack();
}

void TShapeEngine::RedoClick()
{
    const std::int64_t before = Undo.Cur();
    if (Undo.StepForward() && !RestoreUndo()) Undo.SetCur(before);
    UndoStateChanged();
    WriteBack();
}

bool TShapeEngine::RestoreUndo()
{
    TShapeList list;
    if (!ReadSnapshot(Undo.Current(), list, EraserColor)) {
        // The drawing stays as it was; the canvas is drawn again from it.
        MessageBeep(MB_ICONASTERISK);
        MessageDlg(QStringLiteral("内部データエラー"), TMsgDlgType::mtError, TMsgButtons::OK);
        RenderCanvas(0, TPenMode::pmCopy);
        Repaint();
        return false;
    }
    Shapes = std::move(list);
    ToolKind = skRestoring;
    RenderCanvas(0, TPenMode::pmCopy);
    Repaint();
    ToolKind = SavedToolKind;
    SetReformState(false, false);
    ClearSelection();
    DeselectAllShapes();
    return true;
}

void TShapeEngine::ClearUndo(bool keepDrawing)
{
    Undo.Clear();
    if (keepDrawing && !Shapes.empty()) Undo.SlotOf(0) = MakeSnapshot(Shapes);
    SetReformState(false, false);
    UndoStateChanged();
}

bool TShapeEngine::SavedState(bool compare)
{
    const QByteArray snap = MakeSnapshot(Shapes);
    if (!compare) {
        SavedSnapshot = snap;
        return false;
    }
    return snap != SavedSnapshot;
}

// ピクモ's main form: the floating images under the mouse — moving them in whole canvas pixels
// (Shift keeps one axis), stretching by the eight stretch handles, rotating about the centre by the
// four rotation handles, and flipping by the four flip handles.
#include "UnitPictureEditor.h"

#include "FloatingTransform.h"
#include "MathUtil.h"
#include <QScrollArea>
#include <QToolButton>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

QPoint TFormPictureEditor::lockedPointer(QPoint screen)
{
    if (!Engine.ShiftHeld) return screen;
    if (m_shiftAxis == 0) {
        const int ox = std::abs(screen.x() - m_shiftAnchor.x()), oy = std::abs(screen.y() - m_shiftAnchor.y());
        if (ox > oy) m_shiftAxis = 1;
        else if (oy > ox) m_shiftAxis = 2;
        else return screen;
    }
    if (m_shiftAxis == 1) screen.setY(m_shiftAnchor.y());
    else screen.setX(m_shiftAnchor.x());
    return screen;
}

// ---------------------------------------------------------------------------------------------
// Moving

void TFormPictureEditor::floatMouseDown(TFloatingImage* f, TMouseButton button, TShiftState shift, QPoint screen)
{
    // The press tells whether Shift and Ctrl are down, also when their keys went to another window.
    Engine.ShiftHeld = shift.testFlag(ShiftFlag::Shift);
    Engine.CtrlCopy = shift.testFlag(ShiftFlag::Ctrl);
    CurrentFloating = f;
    const bool face = f == imFace;
    for (QToolButton* b : {face ? sbFaceReform : sbRgReform, face ? sbFaceRotate : sbRgRotate,
                           face ? sbFaceReverse : sbRgReverse})
        if (b->isChecked()) {
            ReselectToolButton();
            break;
        }
    if (button != TMouseButton::mbLeft) return;
    Engine.ClearSelection();
    Engine.ToolKind = skNone;
    SetToolCursor(0);
    m_drag.PointerStart = screen;
    m_drag.Start = f->Bounds();
    m_drag.Moving = true;
    m_shiftAnchor = screen;
    m_shiftAxis = 0;
    PlaceTransformHandles();
    repaintView();
}

void TFormPictureEditor::floatMouseMove(TFloatingImage* f, TShiftState shift, QPoint screen)
{
    if (!m_drag.Moving || !shift.testFlag(ShiftFlag::Left)) return;
    const QPoint d = lockedPointer(screen) - m_drag.PointerStart;
    // Whole canvas pixels only, so that a commit lands where the image shows.
    const QPoint start = contentOf(QPoint(m_drag.Start.Left, m_drag.Start.Top));
    placeFloating(f, QPoint(viewStart(Engine.ToCanvas(start.x()) + Engine.ToCanvas(d.x())),
                            viewStart(Engine.ToCanvas(start.y()) + Engine.ToCanvas(d.y()))));
}

void TFormPictureEditor::floatMouseUp(TFloatingImage* f)
{
    if (!m_drag.Moving) return;
    m_drag.Moving = false;
    storeFloatingPlace(f);
    PlaceTransformHandles();
    repaintView();
    SetToolCursorForTool();
    Engine.ToolKind = Engine.SavedToolKind;
}

// ---------------------------------------------------------------------------------------------
// Handles

void TFormPictureEditor::handleMouseDown(THandle* h, TMouseButton button, QPoint screen)
{
    TFloatingImage* c = CurrentFloating;
    if (!c) return;
    HideFloatingFrame(c);
    if (h->Kind == THandle::Flip) {
        c->SetPicture(FlipBitmap(c->Picture(), h->Tag));
        DrawFloatingFrame(c);
        c->LastTransform = 4;
        return;
    }
    if (button != TMouseButton::mbLeft) {
        DrawFloatingFrame(c);
        return;
    }
    m_drag.PointerStart = m_drag.LastPoint = screen;
    m_drag.Start = c->Bounds();
    m_drag.HandleStart = h->pos();
    if (h->Kind == THandle::Stretch) {
        m_drag.Ratio = m_drag.Start.Height != 0 ? double(m_drag.Start.Width) / m_drag.Start.Height : 1.0;
        m_drag.Stretching = true;
    } else {
        if (c->LastTransform != 3) TakeRotationSource(*c);
        m_drag.Centre = QPoint(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2);
        m_drag.CentreScreen = ScrollBox1->viewport()->mapToGlobal(m_drag.Centre);
        m_drag.Rotated = false;
        m_drag.Rotating = true;
    }
    for (THandle* other : Handles)
        if (other != h) other->hide();
}

void TFormPictureEditor::handleMouseMove(THandle* h, TShiftState shift, QPoint screen)
{
    TFloatingImage* c = CurrentFloating;
    if (!c || !shift.testFlag(ShiftFlag::Left)) return;
    const QPoint d = screen - m_drag.PointerStart;
    if (m_drag.Stretching) {
        const bool heightLed = c->StoredSize.width() < c->StoredSize.height();
        c->SetBounds(StretchBounds(m_drag.Start, h->Tag, d, m_drag.Ratio, heightLed));
        // The grabbed handle follows the pointer along the edge it moves.
        const bool sideX = h->Tag == stHL || h->Tag == stHR, sideY = h->Tag == stVT || h->Tag == stVB;
        h->move(m_drag.HandleStart + QPoint(sideY ? 0 : d.x(), sideX ? 0 : d.y()));
        return;
    }
    if (!m_drag.Rotating) return;
    h->move(m_drag.HandleStart + d);
    const double delta = AngleOf(m_drag.CentreScreen, m_drag.LastPoint) - AngleOf(m_drag.CentreScreen, screen);
    if (std::fabs(delta) < 5) return;
    m_drag.LastPoint = screen;
    m_drag.Rotated = true;
    c->Angle += delta * kPi / 180;
    ShowTurned(*c, m_drag.Centre, Engine.EraserColor);
}

void TFormPictureEditor::handleMouseUp(THandle*)
{
    TFloatingImage* c = CurrentFloating;
    if (!c) return;
    if (m_drag.Stretching) {
        m_drag.Stretching = false;
        bool flipH = false, flipV = false;
        TBounds b = PositiveBounds(c->Bounds(), flipH, flipV);
        if (flipH) c->SetPicture(FlipBitmap(c->Picture(), 0));
        if (flipV) c->SetPicture(FlipBitmap(c->Picture(), 1));
        b.Width = std::max(1, b.Width);
        b.Height = std::max(1, b.Height);
        c->SetBounds(b);
        finishTransform(c, 2);
    } else if (m_drag.Rotating) {
        m_drag.Rotating = false;
        const QImage pic = c->Picture();
        const QRect box = m_drag.Rotated ? OpaqueBounds(pic, Engine.EraserColor) : QRect();
        if (!box.isEmpty()) {
            // What the rotation left empty round the picture goes.
            const double sx = double(c->Width()) / pic.width(), sy = double(c->Height()) / pic.height();
            c->SetPicture(pic.copy(box));
            c->SetBounds({c->Left() + int(box.left() * sx), c->Top() + int(box.top() * sy),
                          std::max(1, Round(box.width() * sx)), std::max(1, Round(box.height() * sy))});
        }
        finishTransform(c, 3);
    }
}

void TFormPictureEditor::finishTransform(TFloatingImage* c, int transform)
{
    placeFloating(c, contentOf(QPoint(c->Left(), c->Top())));
    c->StoredSize = QSize(std::max(1, Engine.ToCanvas(c->Width())), std::max(1, Engine.ToCanvas(c->Height())));
    storeFloatingPlace(c);
    if (c == imFace) ImportDisplaySize = QSize(c->Width(), c->Height());
    c->LastTransform = transform;
    PlaceTransformHandles();
    DrawFloatingFrame(c);
}

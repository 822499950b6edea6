// ピクモ's main form: the zoom of the canvas view and the re-layout that goes with it, the canvas
// size, the window's place on the work area, the keys and the zoned wheel, and the edit menu that
// mirrors the canvas pop-up menu.
#include "UnitPictureEditor.h"

#include "ZonedWheel.h"
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QWheelEvent>

void TFormPictureEditor::UpDown1Click()
{
    Engine.Scale.Zoom = UpDown1->value();
    Engine.DeselectAllShapes();
    Engine.ClearSelection();
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    const int keptH = h->value(), keptV = v->value();
    const QSize old = Image1->size();
    const int nw = Engine.ToView(Engine.Canvas.Width()), nh = Engine.ToView(Engine.Canvas.Height());
    Image1->SetViewSize(nw, nh);
    h->setRange(0, std::max(0, nw - ScrollBox1->viewport()->width()));
    v->setRange(0, std::max(0, nh - ScrollBox1->viewport()->height()));
    const int dw = (nw - old.width()) / 2, dh = (nh - old.height()) / 2;
    if (keptH > 0) h->setValue(keptH + dw);
    if (keptV > 0) v->setValue(keptV + dh);
    relayoutFloating();
}

void TFormPictureEditor::cbIncrementClick()
{
    const bool on = cbIncrement->isChecked();
    UpDown1->setSingleStep(on ? 50 : 25);
    cbIncrement->setText(on ? QStringLiteral("±50") : QStringLiteral("±25"));
}

void TFormPictureEditor::bt100Click()
{
    if (UpDown1->value() == 100) UpDown1Click();
    else UpDown1->setValue(100);
}

void TFormPictureEditor::SetCanvasSize(int w, int h)
{
    QScrollBar* hb = ScrollBox1->horizontalScrollBar();
    QScrollBar* vb = ScrollBox1->verticalScrollBar();
    const int keptH = hb->value(), keptV = vb->value();
    Engine.SetCanvasSize(w, h);
    Image1->SetViewSize(w, h);
    Engine.RenderCanvas(0, TPenMode::pmCopy);
    repaintView();
    UpDown1Click();
    hb->setValue(keptH);
    vb->setValue(keptV);
}

void TFormPictureEditor::FitToWorkArea()
{
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect g = s->geometry(), a = s->availableGeometry();
    TTaskbar bar;
    bar.AutoHide = true;
    if (a.width() < g.width()) {
        bar.AutoHide = false;
        bar.Edge = a.left() > g.left() ? 0 : 2;
        bar.Rect = QRect(0, 0, g.width() - a.width(), g.height());
    } else if (a.height() < g.height()) {
        bar.AutoHide = false;
        bar.Edge = a.top() > g.top() ? 1 : 3;
        bar.Rect = QRect(0, 0, g.width(), g.height() - a.height());
    }
    const QRect r = FitToWorkAreaRect(g.width(), g.height(), bar);
    // The window's outer size is the fitted size; the frame, once there is one, comes off the inside.
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setFixedSize(r.size() - frame);
    move(g.topLeft() + r.topLeft());
}

void TFormPictureEditor::rbBairituHendouClick(bool hendou)
{
    // Following the zoom again, the imported picture keeps the place it has now.
    if (hendou) storeFloatingPlace(imFace);
    UpDown1Click();
}

void TFormPictureEditor::FormKeyDown(Word& key, TShiftState shift)
{
    const bool ctrl = shift.testFlag(ShiftFlag::Ctrl);
    const bool shiftDown = shift.testFlag(ShiftFlag::Shift);
    // A key that comes without Ctrl or Shift tells that it is up, also when its release went to a
    // box that came up while it was held.
    if (key != VK_CONTROL && !ctrl) ctrlReleased();
    if (key != VK_SHIFT && !shiftDown) Engine.ShiftHeld = false;
    if (ctrl) {
        bool consumed = true;
        switch (key) {
        case 'A': pmReformClick(); break;
        case 'C': sbCopyClick(); break;
        case 'D': pmReverseClick(); break;
        case 'F': shiftDown ? sbFaceShowClick() : sbPasteShowClick(); break;
        case 'M': sbMojiClick(); break;
        case 'Q': mmRangeClick(shiftDown); break;
        case 'S': pmRotateClick(); break;
        // The image as it stands now decides: shown, it is drawn; hidden, it is shown.
        case 'V':
            if (shiftDown) imFace->isVisible() ? sbFaceByougaClick() : sbFaceShowClick();
            else imPaste->isVisible() ? sbPasteByougaClick() : sbPasteShowClick();
            break;
        case 'W': sbGentenClick(); break;
        case 'X': sbCutClick(true); break;
        case 'Z': shiftDown ? sbRedoClick() : sbUndoClick(); break;
        default: consumed = false; break;
        }
        if (consumed) key = 0;
    } else if (key == VK_DELETE && Engine.HasRange()) {
        mmDeleteClick(ctrl, shiftDown);
        key = 0;
    }
    if (key == VK_CONTROL) {
        if (Engine.ToolKind == skMove && !Engine.CtrlCopy) Engine.DrawMoveCopies();
        Engine.CtrlCopy = true;
    } else if (key == VK_SHIFT && !Engine.ShiftHeld) {
        if (Engine.ToolKind == skPen || Engine.ToolKind == skMove) {
            if (Engine.AxisLock < 2) Engine.LockOrigin.setX(Engine.CurrentPoint.x());
            if (Engine.AxisLock == 0 || Engine.AxisLock == 2) Engine.LockOrigin.setY(Engine.CurrentPoint.y());
            Engine.AxisLock = 0;
        } else if (CurrentFloating) {
            const QPoint at = PointerPos();
            if (m_shiftAxis < 2) m_shiftAnchor.setX(at.x());
            if (m_shiftAxis == 0 || m_shiftAxis == 2) m_shiftAnchor.setY(at.y());
            m_shiftAxis = 0;
        }
        Engine.ShiftHeld = true;
    } else if (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) {
        ArrowKey(key, shift);
    }
}

void TFormPictureEditor::FormKeyUp(Word& key, TShiftState)
{
    if (key == VK_CONTROL) ctrlReleased();
    else if (key == VK_SHIFT) Engine.ShiftHeld = false;
}

void TFormPictureEditor::ctrlReleased()
{
    // Shapes being moved with Ctrl showed their copies: without it they move again.
    if (Engine.ToolKind == skMove && Engine.CtrlCopy && MouseHeldOnCanvas) {
        Engine.CtrlCopy = false;
        Engine.RenderCanvas(15, TPenMode::pmCopy);
        repaintView();
    }
    Engine.CtrlCopy = false;
}

void TFormPictureEditor::ArrowKey(Word& key, TShiftState shift)
{
    int dx = 0, dy = 0;
    switch (key) {
    case VK_LEFT: dx = -1; break;
    case VK_RIGHT: dx = 1; break;
    case VK_UP: dy = -1; break;
    case VK_DOWN: dy = 1; break;
    default: return;
    }
    if (MouseHeldOnCanvas) {
        QCursor::setPos(PointerPos() + QPoint(dx, dy));
        key = 0;
        return;
    }
    if (moveFloatingByArrow(dx, dy)) {
        key = 0;
        return;
    }
    if (shift.testFlag(ShiftFlag::Shift)) return;
    QScrollBar* bar = dx != 0 ? ScrollBox1->horizontalScrollBar() : ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() + (dx + dy) * bar->singleStep());
    key = 0;
}

bool TFormPictureEditor::CMMouseWheel(QPoint pos, int delta)
{
    const QRect bounds = ScrollBox1->geometry();
    if (!bounds.contains(pos)) return false;
    const QScrollBar* hb = ScrollBox1->horizontalScrollBar();
    const QScrollBar* vb = ScrollBox1->verticalScrollBar();
    const TWheelRoom room{vb->value() > 0, vb->value() < vb->maximum(), hb->value() > 0, hb->value() < hb->maximum()};
    const TWheelAction a = ZonedWheel(pos, bounds.size(), delta, room);
    for (Word k : a.Keys) {
        Word key = k;
        ArrowKey(key, TShiftState());
    }
    if (a.ZoomSteps != 0) UpDown1->setValue(UpDown1->value() + a.ZoomSteps * UpDown1->singleStep());
    return true;
}

bool TFormPictureEditor::eventFilter(QObject* o, QEvent* e)
{
    // The form watches the whole application (key preview): the end of the press that closed the
    // pop-up menu, and the canvas's wheel events, pass here too.
    if (m_popupClosingPress && (e->type() == QEvent::MouseButtonRelease ||
                                (e->type() == QEvent::MouseMove && static_cast<QMouseEvent*>(e)->buttons() == Qt::NoButton)))
        popupPressEnded();
    if (e->type() == QEvent::Wheel && (o == ScrollBox1->viewport() || o == Image1)) {
        auto* we = static_cast<QWheelEvent*>(e);
        const QPoint pos = pnImage->mapFromGlobal(we->globalPosition().toPoint());
        const int delta = we->angleDelta().y() != 0 ? we->angleDelta().y() : we->angleDelta().x();
        if (CMMouseWheel(pos, delta)) return true;
    }
    return Form::eventFilter(o, e);
}

bool TFormPictureEditor::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        StatusBar1->showMessage(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return Form::event(e);
}

void TFormPictureEditor::changeEvent(QEvent* e)
{
    Form::changeEvent(e);
    // The window has one size: a request to maximise it puts the fitted size back.
    if (e->type() == QEvent::WindowStateChange && (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        FitToWorkArea();
    }
}

void TFormPictureEditor::mmEditClick()
{
    PopupMenu1Popup();
    // The edit menu shows the pop-up menu's items, with the keys as text: the key table does the work.
    mmEdit->clear();
    for (QAction* a : PopupMenu1->actions()) {
        if (a->isSeparator()) {
            QAction* s = mmEdit->addSeparator();
            s->setVisible(a->isVisible());
            continue;
        }
        QAction* c = mmEdit->addAction(a->text());
        c->setEnabled(a->isEnabled());
        c->setVisible(a->isVisible());
        c->setCheckable(a->isCheckable());
        c->setChecked(a->isChecked());
        c->setStatusTip(a->statusTip());
        c->setData(a->data());
        connect(c, &QAction::triggered, a, &QAction::trigger);
    }
}

void TFormPictureEditor::popupClosing()
{
    // Closed by a press, the pop-up holds that one press back from the canvas: the platform hands
    // it on or swallows it, and the flag lasts until the button comes up. Closed any other way,
    // nothing is held back.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) m_popupClosingPress = true;
    else Engine.PopupFlag = false;
}

void TFormPictureEditor::popupPressEnded()
{
    m_popupClosingPress = false;
    // A right press that closed the pop-up may have opened it again.
    if (!PopupMenu1->isVisible() && !mmEdit->isVisible()) Engine.PopupFlag = false;
}

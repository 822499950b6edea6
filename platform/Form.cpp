#include "Form.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {
std::function<void(Form*)> g_modalHook;
// Stamped on a key event once a form has previewed it; no real event carries this time.
constexpr ulong kPreviewed = ~ulong(0) - 0x5EE;
}

void Form::SetModalHook(std::function<void(Form*)> hook)
{
    g_modalHook = std::move(hook);
}

Form::Form(QWidget* owner) : QDialog(owner)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    qApp->installEventFilter(this);
}

Form::~Form()
{
    qApp->removeEventFilter(this);
}

void Form::SetClientSize(int w, int h)
{
    setFixedSize(w, h);
}

void Form::ApplyFont()
{
    QFont f = Font.ToQFont();
    // Controls keep smooth text; only drawings on canvases go without antialiasing.
    f.setStyleStrategy(QFont::PreferDefault);
    setFont(f);
}

void Form::SetModalResult(int r)
{
    m_modalResult = r;
    if (r != mrNone && m_modalRunning && !m_checkPending) {
        m_checkPending = true;
        QTimer::singleShot(0, this, [this] { checkModal(); });
    }
}

void Form::checkModal()
{
    m_checkPending = false;
    if (!m_modalRunning || m_modalResult == mrNone) return;
    if (!FormCloseQuery()) {
        m_modalResult = mrNone;
        return;
    }
    TCloseAction action = TCloseAction::caHide;
    FormClose(action);
    if (action == TCloseAction::caNone) {
        m_modalResult = mrNone;
        return;
    }
    m_closing = true;
    QDialog::done(m_modalResult);
    m_closing = false;
}

int Form::ShowModal()
{
    // A second run asked for while this one is on screen (the second click of a double click on the
    // menu item that opened it) would end this run's loop from inside and leave the form deaf to its
    // own keys: it changes nothing and answers that nothing was chosen.
    if (m_modalRunning) return mrNone;
    m_modalResult = mrNone;
    m_modalRunning = true;
    setModal(true);
    show();
    if (g_modalHook) {
        auto hook = g_modalHook;
        QTimer::singleShot(0, this, [this, hook] {
            if (m_modalRunning) hook(this);
        });
    }
    if (m_modalResult != mrNone) SetModalResult(m_modalResult);
    exec();
    m_modalRunning = false;
    return m_modalResult;
}

void Form::done(int r)
{
    // QDialog ends runs on its own for accept/reject; route those through the modal result.
    if (m_closing) {
        QDialog::done(r);
        return;
    }
    if (m_modalRunning) {
        SetModalResult(r == QDialog::Rejected ? mrCancel : r);
        return;
    }
    QDialog::done(r);
}

void Form::Close()
{
    if (m_modalRunning) {
        SetModalResult(mrCancel);
        return;
    }
    if (!FormCloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    FormClose(action);
    if (action != TCloseAction::caNone) {
        // A real close, so that closing the main window ends the program.
        m_closing = true;
        QWidget::close();
        m_closing = false;
    }
}

void Form::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

void Form::closeEvent(QCloseEvent* e)
{
    if (m_closing) {
        e->accept();
        return;
    }
    e->ignore();
    if (m_modalRunning) {
        if (m_modalResult == mrNone) m_modalResult = mrCancel;
        checkModal();
        return;
    }
    if (!FormCloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    FormClose(action);
    if (action != TCloseAction::caNone) e->accept();
}

void Form::keyPressEvent(QKeyEvent* e)
{
    // Keys mean only what the form's handler says: no Esc-rejects or Enter-accepts of a plain dialog.
    e->ignore();
}

bool Form::ownsWidget(QObject* o) const
{
    for (QObject* p = o; p; p = p->parent()) {
        if (p == this) return true;
        if (auto* w = qobject_cast<QWidget*>(p); w && w->isWindow() && !(w->windowType() == Qt::Popup) && p != this)
            return false;
    }
    return false;
}

namespace {

// Whether the control that receives a key takes it for itself before the form sees it: an open
// list or menu takes the arrows, Enter and Esc; a spin box and a menu bar in use take the arrows.
bool controlTakesKey(QObject* receiver, int qtKey)
{
    const bool arrow = qtKey == Qt::Key_Left || qtKey == Qt::Key_Right || qtKey == Qt::Key_Up || qtKey == Qt::Key_Down;
    const bool enterOrEsc = qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter || qtKey == Qt::Key_Escape;
    if (!arrow && !enterOrEsc) return false;
    auto* w = qobject_cast<QWidget*>(receiver);
    if (!w) return false;
    if (w->window()->windowType() == Qt::Popup) return true;
    if (!arrow) return false;
    for (QWidget* p = w; p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QMenuBar*>(p)) return true;
    return false;
}

} // namespace

bool Form::eventFilter(QObject* o, QEvent* e)
{
    if ((e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) && KeyPreview && isVisible()) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (!ownsWidget(o)) return false;
        // An ignored key event travels on to the parents of its receiver; the form sees it once.
        if (ke->timestamp() == kPreviewed) return false;
        if (controlTakesKey(o, ke->key())) return false;
        Word key = VirtualKeyOf(*ke);
        ke->setTimestamp(kPreviewed);
        const TShiftState shift = ShiftStateOf(ke->modifiers());
        if (e->type() == QEvent::KeyPress) FormKeyDown(key, shift);
        else FormKeyUp(key, shift);
        if (key == 0) return true;
        if (e->type() == QEvent::KeyPress && !ke->text().isEmpty() && ke->text().at(0).isPrint()) {
            QChar ch = ke->text().at(0);
            FormKeyPress(ch);
            if (ch.isNull()) return true;
        }
        // Enter that no handler claimed presses the focused button, as it does in any dialog.
        if (e->type() == QEvent::KeyPress && key == VK_RETURN && !ke->isAutoRepeat())
            if (auto* b = qobject_cast<QPushButton*>(o); b && b->isEnabled() && b->hasFocus()) {
                b->click();
                return true;
            }
        return false;
    }
    return QDialog::eventFilter(o, e);
}

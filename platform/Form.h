#pragma once
// A window of the programs: a dialog with a modal result, key preview, and the create / show /
// close / destroy hooks that the forms fill in.
#include "Canvas.h"
#include "Keys.h"
#include <QDialog>
#include <QPointer>
#include <functional>

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

class Form : public QDialog {
    Q_OBJECT
public:
    explicit Form(QWidget* owner = nullptr);
    ~Form() override;

    int ModalResult() const { return m_modalResult; }
    // Setting a result other than mrNone ends a modal run once the current handler returns.
    void SetModalResult(int r);
    // Runs the form modally; returns its modal result. Asked again while it runs, it changes nothing
    // and returns mrNone at once.
    int ShowModal();
    bool Modal() const { return m_modalRunning; }
    // Closes the form as its close box does: a modal form ends its run with mrCancel, after FormClose agrees.
    void Close();

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& c) { setWindowTitle(c); }
    QString Hint;
    bool KeyPreview = true;

    // Fixed-size dialog border with the given client area.
    void SetClientSize(int w, int h);
    int Left() const { return x(); }
    void SetLeft(int l) { move(l, y()); }
    // The form's font; child controls take it.
    TFont Font;
    void ApplyFont();

    // Tests: called each time any form starts a modal run (after it is shown).
    static void SetModalHook(std::function<void(Form*)> hook);

protected:
    virtual void FormShow() {}
    virtual void FormClose(TCloseAction& /*action*/) {}
    virtual bool FormCloseQuery() { return true; }
    virtual void FormKeyDown(Word& /*key*/, TShiftState /*shift*/) {}
    virtual void FormKeyUp(Word& /*key*/, TShiftState /*shift*/) {}
    // The character of a key that FormKeyDown left alone (held keys repeat); clear it to consume it.
    virtual void FormKeyPress(QChar& /*key*/) {}

    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void done(int r) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void checkModal();
    bool ownsWidget(QObject* o) const;
    int m_modalResult = mrNone;
    bool m_modalRunning = false;
    bool m_checkPending = false;
    bool m_closing = false;
};

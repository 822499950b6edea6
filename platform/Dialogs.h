#pragma once
// Message boxes and beeps, behind a service that tests replace to record and answer them.
#include <QString>

class QWidget;

enum TBeep { MB_OK = 0x00, MB_ICONHAND = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONASTERISK = 0x40 };
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgButtons { OK, OKCancel, YesNo, YesNoCancel, YesCancel };
// Answers, numbered as the modal results are.
enum { idOK = 1, idCancel = 2, idYes = 6, idNo = 7 };

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual void Beep(int kind) = 0;
    virtual int Box(QWidget* parent, const QString& text, const QString& caption, TMsgDlgType type, TMsgButtons buttons) = 0;
};

DialogService& Dialogs();
// Replaces the service (tests); nullptr puts the real boxes back.
void SetDialogs(DialogService* d);

void MessageBeep(int kind);
// A box with the type's own caption ("警告", "エラー", "情報", "確認"); returns idOK, idYes, ...
int MessageDlg(const QString& text, TMsgDlgType type, TMsgButtons buttons, QWidget* parent = nullptr);
// A box with the given caption.
int MessageBox(QWidget* parent, const QString& text, const QString& caption, TMsgDlgType type, TMsgButtons buttons);

#include "Dialogs.h"

#include "Application.h"
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

class RealDialogs : public DialogService {
public:
    void Beep(int) override { QApplication::beep(); }
    int Box(QWidget* parent, const QString& text, const QString& caption, TMsgDlgType type, TMsgButtons buttons) override
    {
        QMessageBox box(parent ? parent : QApplication::activeWindow());
        box.setWindowTitle(caption);
        box.setText(text);
        switch (type) {
        case TMsgDlgType::mtWarning: box.setIcon(QMessageBox::Warning); break;
        case TMsgDlgType::mtError: box.setIcon(QMessageBox::Critical); break;
        case TMsgDlgType::mtInformation: box.setIcon(QMessageBox::Information); break;
        case TMsgDlgType::mtConfirmation: box.setIcon(QMessageBox::Question); break;
        case TMsgDlgType::mtCustom: break;
        }
        struct B { QMessageBox::StandardButton b; const char* text; int id; };
        std::vector<B> list;
        switch (buttons) {
        case TMsgButtons::OK: list = {{QMessageBox::Ok, "OK", idOK}}; break;
        case TMsgButtons::OKCancel: list = {{QMessageBox::Ok, "OK", idOK}, {QMessageBox::Cancel, "キャンセル", idCancel}}; break;
        case TMsgButtons::YesNo: list = {{QMessageBox::Yes, "はい(&Y)", idYes}, {QMessageBox::No, "いいえ(&N)", idNo}}; break;
        case TMsgButtons::YesNoCancel:
            list = {{QMessageBox::Yes, "はい(&Y)", idYes}, {QMessageBox::No, "いいえ(&N)", idNo}, {QMessageBox::Cancel, "キャンセル", idCancel}};
            break;
        case TMsgButtons::YesCancel: list = {{QMessageBox::Yes, "はい(&Y)", idYes}, {QMessageBox::Cancel, "キャンセル", idCancel}}; break;
        }
        for (const B& b : list) box.addButton(b.b)->setText(QString::fromUtf8(b.text));
        box.setDefaultButton(list.front().b);
        if (list.size() > 1) box.setEscapeButton(list.back().b);
        const int r = box.exec();
        for (const B& b : list)
            if (r == b.b) return b.id;
        // Closed by its close box: the last button's answer (Cancel, or No, or OK).
        return list.back().id;
    }
};

RealDialogs& real()
{
    static RealDialogs d;
    return d;
}

DialogService* g_dialogs = nullptr;

QString captionOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return QStringLiteral("警告");
    case TMsgDlgType::mtError: return QStringLiteral("エラー");
    case TMsgDlgType::mtInformation: return QStringLiteral("情報");
    case TMsgDlgType::mtConfirmation: return QStringLiteral("確認");
    case TMsgDlgType::mtCustom: break;
    }
    return TApplication::Title();
}

} // namespace

DialogService& Dialogs()
{
    return g_dialogs ? *g_dialogs : real();
}

void SetDialogs(DialogService* d)
{
    g_dialogs = d;
}

void MessageBeep(int kind)
{
    Dialogs().Beep(kind);
}

int MessageDlg(const QString& text, TMsgDlgType type, TMsgButtons buttons, QWidget* parent)
{
    return Dialogs().Box(parent, text, captionOf(type), type, buttons);
}

int MessageBox(QWidget* parent, const QString& text, const QString& caption, TMsgDlgType type, TMsgButtons buttons)
{
    return Dialogs().Box(parent, text, caption, type, buttons);
}

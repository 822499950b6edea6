#include "UnitCryptAccess.h"

#include "Application.h"
#include "Dialogs.h"
#include "Paths.h"
#include "UnitMes.h"
#include "WholeFile.h"
#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QWidget>
#include <cerrno>
#include <sys/stat.h>

namespace {

QString g_programFile;
QPointer<QWidget> g_mainForm;
QString g_title;
QPointer<TFormMes> g_mes;

const char* const kCrLf = "\r\n";

QString title()
{
    return g_title.isEmpty() ? TApplication::Title() : g_title;
}

} // namespace

void SetFileAccessContext(const QString& programFile, QWidget* mainForm, const QString& t)
{
    g_programFile = programFile;
    g_mainForm = mainForm;
    g_title = t;
}

void ShowFileAccessError(const QString& fileName, int kind, int errorCode, QWidget* owner)
{
    MessageBeep(MB_ICONHAND);
    MessageDlg(FileAccessErrorText(fileName, kind, errorCode), TMsgDlgType::mtWarning, TMsgButtons::OK, owner);
}

bool CheckProgramFile()
{
    const QString program = g_programFile.isEmpty() ? ProgramFile() : g_programFile;
    struct stat st {};
    int err = 0;
    if (::stat(QFile::encodeName(program).constData(), &st) != 0) err = errno;
    else if (!S_ISREG(st.st_mode)) err = EISDIR;
    if (err == 0) return true;

    const QString crlf = QString::fromLatin1(kCrLf);
    MessageBeep(MB_ICONHAND);
    MessageDlg(QStringLiteral("アクセスエラーです。") + title() + QStringLiteral("を終了します。") + crlf + crlf + ErrorCodeLine(err)
                   + crlf + SystemErrorText(err),
               TMsgDlgType::mtWarning, TMsgButtons::OK);
    // The program ends when control is back in the message loop.
    if (g_mainForm) g_mainForm->close();
    return false;
}

namespace {

// Without reportForeign, what is no plain file or is over the cap is refused without a report.
bool loadFile(const QString& fileName, QByteArray& s, qint64 maxBytes, bool reportForeign)
{
    s.clear();
    const int err = ReadRegularFile(fileName, maxBytes, s);
    if (err == 0) return true;
    s.clear();
    if (!reportForeign && (err == EFBIG || err == EISDIR || err == kNotRegularFileError)) return false;
    ShowAccessMessage();
    HideAccessMessage();
    ShowFileAccessError(fileName, 0, err);
    return false;
}

} // namespace

bool LoadFileToString(const QString& fileName, QByteArray& s, qint64 maxBytes)
{
    return loadFile(fileName, s, maxBytes, true);
}

bool LoadOwnFileToString(const QString& fileName, QByteArray& s, qint64 maxBytes)
{
    return loadFile(fileName, s, maxBytes, false);
}

bool SaveStringToFile(const QString& fileName, const QByteArray& s)
{
    // With the program file gone (reported, and the program closing) an existing file is still
    // saved, but no new file is made.
    const bool programThere = CheckProgramFile();
    const int err = WriteFileAtomically(fileName, s, programThere);
    if (err == 0) return true;
    ShowAccessMessage();
    HideAccessMessage();
    ShowFileAccessError(fileName, 0, err);
    return false;
}

void ShowAccessMessage()
{
    if (g_mes) return;
    g_mes = new TFormMes(nullptr);
    g_mes->lbMes->setText(QStringLiteral("ファイルにアクセスしています．．．"));
    g_mes->lbBar->setText(QString(20, QLatin1Char('*')));
    g_mes->show();
    g_mes->repaint();
    QCoreApplication::processEvents();
}

void HideAccessMessage()
{
    if (!g_mes) return;
    TFormMes* mes = g_mes;
    g_mes = nullptr;
    mes->Close();
}

#include "UnitCryptAccess.h"

#include "Application.h"
#include "Dialogs.h"
#include "Paths.h"
#include "UnitMes.h"
#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QWidget>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString g_programFile;
QPointer<QWidget> g_mainForm;
QString g_title;
QPointer<TFormMes> g_mes;

// The system's files are small text files; anything larger is refused rather than read into memory.
constexpr qint64 kMaxFileBytes = 512LL << 20;

const char* const kCrLf = "\r\n";

// A POSIX call's result, retried while a signal interrupts it.
template <typename F> auto retry(F f)
{
    for (;;) {
        const auto r = f();
        if (r >= 0 || errno != EINTR) return r;
    }
}

// Reads the whole file; 0 or the errno of the call that failed.
int readWhole(const QByteArray& path, QByteArray& out)
{
    const int fd = retry([&] { return ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); });
    if (fd < 0) return errno;
    int err = 0;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        err = errno;
    } else if (S_ISDIR(st.st_mode)) {
        err = EISDIR;
    } else if (st.st_size > kMaxFileBytes) {
        err = EFBIG;
    } else {
        QByteArray buf(qsizetype(st.st_size), Qt::Uninitialized);
        qsizetype done = 0;
        while (done < buf.size()) {
            const ssize_t n = retry([&] { return ::read(fd, buf.data() + done, size_t(buf.size() - done)); });
            if (n < 0) {
                err = errno;
                break;
            }
            // The file shrank while it was read: what was read is not the file.
            if (n == 0) {
                err = EIO;
                break;
            }
            done += n;
        }
        if (err == 0) out = buf;
    }
    ::close(fd);
    return err;
}

// Writes data as the whole file at path through a temporary file beside it; 0 or the errno of the
// call that failed. The old file is replaced only by the rename, after the new bytes are on disk.
// Without mayCreate only an existing file is written.
int writeWhole(const QByteArray& path, const QByteArray& data, bool mayCreate)
{
    // Writing through a link writes the file it points to, as an in-place write would.
    QByteArray target = path;
    struct stat lst {};
    if (::lstat(path.constData(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        if (char* real = ::realpath(path.constData(), nullptr)) {
            target = real;
            std::free(real);
        }
    }

    mode_t mode;
    struct stat st {};
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (!exists && !mayCreate) return errno;
    if (exists && S_ISREG(st.st_mode)) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return errno;
    int err = 0;
    if (::fchmod(fd, mode) != 0) err = errno;
    qsizetype done = 0;
    while (err == 0 && done < data.size()) {
        const ssize_t n = retry([&] { return ::write(fd, data.constData() + done, size_t(data.size() - done)); });
        if (n < 0) err = errno;
        else done += n;
    }
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(temp.constData(), target.constData()) != 0) err = errno;
    if (err != 0) {
        ::unlink(temp.constData());
        return err;
    }
    // The rename itself is made durable with the folder.
    const int slash = target.lastIndexOf('/');
    const QByteArray dir = slash > 0 ? target.left(slash) : QByteArray(slash == 0 ? "/" : ".");
    const int dfd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return 0;
}

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

QString SystemErrorText(int errorCode)
{
    return QString::fromLocal8Bit(std::strerror(errorCode));
}

QString ErrorCodeLine(int errorCode)
{
    return QStringLiteral("エラーコード=") + QStringLiteral("%1").arg(uint(errorCode), 8, 16, QLatin1Char('0')).toUpper();
}

void ShowFileAccessError(const QString& fileName, int kind)
{
    ShowFileAccessError(fileName, kind, errno);
}

void ShowFileAccessError(const QString& fileName, int kind, int errorCode)
{
    const QString crlf = QString::fromLatin1(kCrLf);
    const QString heading = kind == 1 ? QStringLiteral("ファイルにアクセスできなかった可能性があります。")
                                      : QStringLiteral("ファイルにアクセスできません。");
    const QString text = heading + crlf + crlf + QLatin1Char('"') + ExtractFileName(fileName) + QLatin1Char('"') + crlf
        + ErrorCodeLine(errorCode) + crlf + SystemErrorText(errorCode);
    MessageBeep(MB_ICONHAND);
    MessageDlg(text, TMsgDlgType::mtWarning, TMsgButtons::OK);
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

bool LoadFileToString(const QString& fileName, QByteArray& s)
{
    s.clear();
    const int err = readWhole(QFile::encodeName(fileName), s);
    if (err == 0) return true;
    s.clear();
    ShowAccessMessage();
    HideAccessMessage();
    ShowFileAccessError(fileName, 0, err);
    return false;
}

bool SaveStringToFile(const QString& fileName, const QByteArray& s)
{
    // With the program file gone (reported, and the program closing) an existing file is still
    // saved, but no new file is made.
    const bool programThere = CheckProgramFile();
    const int err = writeWhole(QFile::encodeName(fileName), s, programThere);
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

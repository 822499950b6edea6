#include "Trash.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool deviceOf(const QByteArray& path, dev_t& dev)
{
    struct stat st{};
    if (::lstat(path.constData(), &st) != 0) return false;
    dev = st.st_dev;
    return true;
}

// A trash folder with its two subfolders, made for us alone if missing; each must be a real folder,
// not a link. One on a file system that others share must also be ours and written by nobody else:
// whoever made it beforehand, or may write to it, could read, swap or remove what we delete into it.
bool readyTrash(const QString& trash, dev_t dev, bool shared)
{
    for (const QString& d : {trash, trash + QStringLiteral("/files"), trash + QStringLiteral("/info")}) {
        const QByteArray p = QFile::encodeName(d);
        if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST) return false;
        struct stat st{};
        if (::lstat(p.constData(), &st) != 0) return false;
        if (!S_ISDIR(st.st_mode) || st.st_dev != dev || (shared && (st.st_uid != ::getuid() || (st.st_mode & 022) != 0))) {
            errno = EACCES;
            return false;
        }
    }
    return true;
}

// The top folder of the file system that holds path.
QString topOf(const QString& path, dev_t dev)
{
    QString top = QFileInfo(path).absolutePath();
    while (top != QStringLiteral("/")) {
        const QString up = QFileInfo(top).absolutePath();
        dev_t d{};
        if (!deviceOf(QFile::encodeName(up), d) || d != dev) break;
        top = up;
    }
    return top;
}

QString trashFor(const QString& path, dev_t dev)
{
    // A relative XDG_DATA_HOME is no folder at all (the base directory rules ignore it); taken as
    // given it would put the trash under whatever the current folder happens to be.
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(home)) home = QDir::homePath() + QStringLiteral("/.local/share");
    const QString homeTrash = home + QStringLiteral("/Trash");
    dev_t homeDev{};
    QDir().mkpath(home);
    // A file system's own trash is only for entries on another file system than the home trash's:
    // when the home data folder cannot be found, nothing can tell, and nothing is moved.
    if (!deviceOf(QFile::encodeName(home), homeDev)) return QString();
    if (homeDev == dev) return readyTrash(homeTrash, dev, false) ? homeTrash : QString();
    const QString top = topOf(path, dev);
    const QString topTrash = (top == QStringLiteral("/") ? QString() : top) + QStringLiteral("/.Trash-%1").arg(::getuid());
    return readyTrash(topTrash, dev, true) ? topTrash : QString();
}

} // namespace

bool MoveToTrash(const QString& path, int* error)
{
    auto fail = [error](int e) {
        if (error) *error = e;
        return false;
    };
    const QString abs = QFileInfo(path).absoluteFilePath();
    const QByteArray src = QFile::encodeName(abs);
    dev_t dev{};
    if (!deviceOf(src, dev)) return fail(errno);
    const QString trash = trashFor(abs, dev);
    if (trash.isEmpty()) return fail(errno ? errno : EACCES);

    // The info file is made first and exclusively: it reserves the name in the trash.
    const QString base = QFileInfo(abs).fileName();
    const QByteArray info = "[Trash Info]\nPath=" + QUrl::toPercentEncoding(abs, "/") + "\nDeletionDate="
                            + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1() + "\n";
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(n);
        const QByteArray infoPath = QFile::encodeName(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return fail(errno);
        }
        const bool written = ::write(fd, info.constData(), size_t(info.size())) == info.size();
        ::close(fd);
        if (!written) {
            ::unlink(infoPath.constData());
            return fail(EIO);
        }
        const QByteArray dst = QFile::encodeName(trash + QStringLiteral("/files/") + name);
        struct stat st{};
        if (::lstat(dst.constData(), &st) == 0) { // an entry left without its info: the next name
            ::unlink(infoPath.constData());
            continue;
        }
        if (::rename(src.constData(), dst.constData()) == 0) return true;
        const int e = errno;
        ::unlink(infoPath.constData());
        return fail(e);
    }
    return fail(EEXIST);
}

#include "Trash.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

bool deviceOf(const QByteArray& path, dev_t& dev)
{
    struct stat st{};
    if (::lstat(path.constData(), &st) != 0) return false;
    dev = st.st_dev;
    return true;
}

// A descriptor that closes itself.
class Folder {
public:
    explicit Folder(int fd = -1) : m_fd(fd) {}
    Folder(Folder&& o) noexcept : m_fd(o.m_fd) { o.m_fd = -1; }
    Folder& operator=(Folder&& o) noexcept
    {
        std::swap(m_fd, o.m_fd);
        return *this;
    }
    ~Folder()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// The folder name in parent, made for us alone if missing, opened; it must be a real folder, not a
// link, on dev. One on a file system that others share must also be ours and closed to everyone
// else: whoever made it beforehand, or may enter it, could read, swap or remove what we delete into it.
// Everything after is done through the folder opened here, never through its path again, so that
// nobody can swap another folder in under the same name once it has been checked.
Folder openFolder(int parent, const char* name, dev_t dev, bool shared)
{
    if (::mkdirat(parent, name, 0700) != 0 && errno != EEXIST) return Folder();
    Folder f(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (f.fd() < 0) return Folder();
    struct stat st{};
    if (::fstat(f.fd(), &st) != 0) return Folder();
    if (st.st_dev != dev || (shared && (st.st_uid != ::getuid() || (st.st_mode & 077) != 0))) {
        errno = EACCES;
        return Folder();
    }
    return f;
}

struct Trash {
    Folder files, info;
};

// The trash folder name in the folder at parent, with its two subfolders.
bool openTrash(const QString& parent, const char* name, dev_t dev, bool shared, Trash& trash)
{
    const Folder top(::open(QFile::encodeName(parent).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (top.fd() < 0) return false;
    const Folder folder = openFolder(top.fd(), name, dev, shared);
    if (folder.fd() < 0) return false;
    trash.files = openFolder(folder.fd(), "files", dev, shared);
    if (trash.files.fd() < 0) return false;
    trash.info = openFolder(folder.fd(), "info", dev, shared);
    return trash.info.fd() >= 0;
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

bool trashFor(const QString& path, dev_t dev, Trash& trash)
{
    // A relative XDG_DATA_HOME is no folder at all (the base directory rules ignore it); taken as
    // given it would put the trash under whatever the current folder happens to be.
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(home)) home = QDir::homePath() + QStringLiteral("/.local/share");
    dev_t homeDev{};
    QDir().mkpath(home);
    // A file system's own trash is only for entries on another file system than the home trash's:
    // when the home data folder cannot be found, nothing can tell, and nothing is moved.
    if (!deviceOf(QFile::encodeName(home), homeDev)) return false;
    if (homeDev == dev) return openTrash(home, "Trash", dev, false, trash);
    const QByteArray name = ".Trash-" + QByteArray::number(::getuid());
    return openTrash(topOf(path, dev), name.constData(), dev, true, trash);
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
    Trash trash;
    errno = 0;
    if (!trashFor(abs, dev, trash)) return fail(errno ? errno : EACCES);

    // The info file is made first and exclusively: it reserves the name in the trash.
    const QString base = QFileInfo(abs).fileName();
    const QByteArray info = "[Trash Info]\nPath=" + QUrl::toPercentEncoding(abs, "/") + "\nDeletionDate="
                            + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1() + "\n";
    for (int n = 1; n < 10000; ++n) {
        const QByteArray name = QFile::encodeName(n == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(n));
        const QByteArray infoName = name + ".trashinfo";
        const int fd = ::openat(trash.info.fd(), infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return fail(errno);
        }
        const bool written = ::write(fd, info.constData(), size_t(info.size())) == info.size();
        ::close(fd);
        if (!written) {
            ::unlinkat(trash.info.fd(), infoName.constData(), 0);
            return fail(EIO);
        }
        struct stat st{};
        if (::fstatat(trash.files.fd(), name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) { // an entry left without its info: the next name
            ::unlinkat(trash.info.fd(), infoName.constData(), 0);
            continue;
        }
        if (::renameat(AT_FDCWD, src.constData(), trash.files.fd(), name.constData()) == 0) return true;
        const int e = errno;
        ::unlinkat(trash.info.fd(), infoName.constData(), 0);
        return fail(e);
    }
    return fail(EEXIST);
}

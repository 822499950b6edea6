#include "WholeFile.h"

#include "FileErrorText.h"

#include <QFile>
#include <QRandomGenerator>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static_assert(kNotRegularFileError == EINVAL);

namespace {

// A system call's result, retried while a signal interrupts it.
template <typename F> auto retry(F f)
{
    for (;;) {
        const auto r = f();
        if (r >= 0 || errno != EINTR) return r;
    }
}

int writeAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    size_t left = size_t(data.size());
    while (left > 0) {
        const ssize_t n = retry([&] { return ::write(fd, p, left); });
        if (n < 0) return errno;
        if (n == 0) return EIO;
        p += n;
        left -= size_t(n);
    }
    return 0;
}

// The name a write lands on: symbolic links at the end of the path followed, even to a name that
// does not exist yet.
int finalTarget(QByteArray path, QByteArray& out)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0) {
            if (errno != ENOENT) return errno;
            out = path;
            return 0;
        }
        if (!S_ISLNK(st.st_mode)) {
            out = path;
            return 0;
        }
        QByteArray link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.constData(), link.data(), size_t(link.size()));
        if (n < 0) return errno;
        if (n >= link.size()) return ENAMETOOLONG;
        link.truncate(n);
        if (!link.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            if (slash >= 0) link.prepend(path.left(slash + 1));
        }
        path = link;
    }
    return ELOOP;
}

QByteArray randomSuffix()
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray s(6, '\0');
    for (char& c : s) c = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
    return s;
}

// Temporary names of a target: ".<name>.~XXXXXX", the name shortened to keep within NAME_MAX.
QByteArray tempPrefix(const QByteArray& name)
{
    QByteArray p = '.' + name;
    if (p.size() > NAME_MAX - 8) p.truncate(NAME_MAX - 8);
    return p + ".~";
}

bool isTempOf(const char* entry, const QByteArray& prefix)
{
    const QByteArray e(entry);
    if (e.size() != prefix.size() + 6 || !e.startsWith(prefix)) return false;
    for (qsizetype i = prefix.size(); i < e.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(e[i]))) return false;
    return true;
}

// Copies of this target left by a save that was killed between its link and its rename.
void removeLeftovers(int dfd, const QByteArray& prefix)
{
    const int dup = ::fcntl(dfd, F_DUPFD_CLOEXEC, 0);
    if (dup < 0) return;
    DIR* d = ::fdopendir(dup);
    if (!d) {
        ::close(dup);
        return;
    }
    while (const dirent* e = ::readdir(d)) {
        if (!isTempOf(e->d_name, prefix)) continue;
        struct stat st {};
        if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) ::unlinkat(dfd, e->d_name, 0);
    }
    ::closedir(d);
}

// Gives the finished unnamed file a temporary name in the folder.
int linkUnnamed(int fd, int dfd, const QByteArray& prefix, QByteArray& temp)
{
    char proc[64];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
    for (int i = 0; i < 100; ++i) {
        temp = prefix + randomSuffix();
        if (::linkat(fd, "", dfd, temp.constData(), AT_EMPTY_PATH) == 0) return 0;
        if (errno != EEXIST && ::linkat(AT_FDCWD, proc, dfd, temp.constData(), AT_SYMLINK_FOLLOW) == 0) return 0;
        if (errno != EEXIST) break;
    }
    temp.clear();
    return errno;
}

// A new file for the copy: unnamed when asked and the file system has them (temp stays empty),
// else under a new temporary name.
int openCopy(int dfd, const QByteArray& prefix, mode_t mode, bool unnamed, QByteArray& temp)
{
    temp.clear();
    if (unnamed) {
        const int fd = retry([&] { return ::openat(dfd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode); });
        // File systems without unnamed files say so in one of these ways.
        if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
    }
    for (int i = 0; i < 100; ++i) {
        temp = prefix + randomSuffix();
        const int fd = retry([&] { return ::openat(dfd, temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode); });
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The unnamed copy could not be linked (no /proc, no privilege): it is to be made named instead.
constexpr int kCannotLink = -1;

// A complete copy of data, on disk, under a temporary name in the folder; 0 or the error.
// keepMode: the old file's mode, which the copy takes; below 0 the umask rules, as for a new file.
int writeCopy(int dfd, const QByteArray& prefix, const QByteArray& data, int keepMode, bool unnamed, QByteArray& temp)
{
    const int fd = openCopy(dfd, prefix, keepMode >= 0 ? mode_t(keepMode) & 0777 : 0666, unnamed, temp);
    if (fd < 0) return errno;
    int err = 0;
    if (keepMode >= 0 && ::fchmod(fd, mode_t(keepMode)) != 0) err = errno;
    if (err == 0) err = writeAll(fd, data);
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (err == 0 && temp.isEmpty() && linkUnnamed(fd, dfd, prefix, temp) != 0) err = kCannotLink;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0 && !temp.isEmpty()) {
        ::unlinkat(dfd, temp.constData(), 0);
        temp.clear();
    }
    return err;
}

} // namespace

int ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& out)
{
    const QByteArray p = QFile::encodeName(path);
    if (p.isEmpty()) return ENOENT;
    // Refused before the open: a pipe would block it, a device would never end.
    struct stat st {};
    if (::stat(p.constData(), &st) != 0) return errno;
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (!S_ISREG(st.st_mode)) return kNotRegularFileError;
    const int fd = retry([&] { return ::open(p.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); });
    if (fd < 0) return errno;
    int err = 0;
    QByteArray buf;
    // What was opened is checked again: the name may have been given to something else meanwhile.
    if (::fstat(fd, &st) != 0) err = errno;
    else if (S_ISDIR(st.st_mode)) err = EISDIR;
    else if (!S_ISREG(st.st_mode)) err = kNotRegularFileError;
    else if (st.st_size > maxBytes) err = EFBIG;
    else {
        buf.resize(qsizetype(st.st_size));
        qsizetype done = 0;
        while (err == 0 && done < buf.size()) {
            const ssize_t n = retry([&] { return ::read(fd, buf.data() + done, size_t(buf.size() - done)); });
            if (n < 0) err = errno;
            // The file shrank while it was read: what was read is not the file.
            else if (n == 0) err = EIO;
            else done += n;
        }
    }
    ::close(fd);
    if (err == 0) out = buf;
    return err;
}

int WriteFileAtomically(const QString& path, const QByteArray& data, bool mayCreate)
{
    QByteArray target;
    if (const int e = finalTarget(QFile::encodeName(path), target)) return e;
    if (target.isEmpty()) return ENOENT;
    struct stat st {};
    int keepMode = -1;
    if (::stat(target.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return EISDIR;
        // A device or pipe under the name is never replaced by a file.
        if (!S_ISREG(st.st_mode)) return kNotRegularFileError;
        keepMode = int(st.st_mode & 07777);
    } else if (errno != ENOENT || !mayCreate) {
        return errno;
    }
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray dir = slash > 0 ? target.left(slash) : QByteArray(slash == 0 ? "/" : ".");
    const QByteArray name = target.mid(slash + 1);
    if (name.isEmpty() || name == "." || name == "..") return EISDIR;
    if (name.size() > NAME_MAX) return ENAMETOOLONG;

    const int dfd = retry([&] { return ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (dfd < 0) return errno;
    const QByteArray prefix = tempPrefix(name);
    removeLeftovers(dfd, prefix);
    int err = ENOENT;
    // ENOENT at the rename: another save of this file took our copy for a leftover; make another.
    for (int attempt = 0; attempt < 3 && err == ENOENT; ++attempt) {
        QByteArray temp;
        err = writeCopy(dfd, prefix, data, keepMode, true, temp);
        if (err == kCannotLink) err = writeCopy(dfd, prefix, data, keepMode, false, temp);
        if (err != 0) break;
        if (retry([&] { return ::renameat(dfd, temp.constData(), dfd, name.constData()); }) != 0) {
            err = errno;
            ::unlinkat(dfd, temp.constData(), 0);
        }
    }
    // The rename itself is made durable with the folder.
    if (err == 0) ::fsync(dfd);
    ::close(dfd);
    return err;
}

QString AtomicWriteTarget(const QString& entry)
{
    const QByteArray e = QFile::encodeName(entry);
    const qsizetype suffix = 2 + 6; // ".~XXXXXX"
    if (e.size() <= 1 + suffix || !e.startsWith('.')) return {};
    const QByteArray target = e.mid(1, e.size() - 1 - suffix);
    return isTempOf(e.constData(), tempPrefix(target)) ? QFile::decodeName(target) : QString();
}

bool ReadWholeFile(const QString& path, qint64 maxBytes, QByteArray& out, QString* error)
{
    const int err = ReadRegularFile(path, maxBytes, out);
    if (err != 0 && error) *error = SystemErrorText(err);
    return err == 0;
}

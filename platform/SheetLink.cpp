#include "SheetLink.h"

#include "LittleEndian.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstring>
#include <vector>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Connections waiting to be taken; more are refused by the system until some have been.
constexpr int kBacklog = 64;

void wr32(QByteArray& b, quint32 v)
{
    for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}

bool socketAddress(const QByteArray& path, sockaddr_un& addr, socklen_t& len)
{
    if (path.isEmpty() || path.size() >= qsizetype(sizeof addr.sun_path)) return false;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    addr.sun_path[path.size()] = '\0';
    len = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(path.size()) + 1);
    return true;
}

enum class Probe { Nobody, Stale, Alive };

// Whether a program listens at the address. A connect that the system takes (even into the queue
// of a program that is stopped or too busy to answer) means alive, and so does a full queue; only
// a refusal says that what lies there was left by a program that has gone.
Probe probe(const sockaddr_un& addr, socklen_t len)
{
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0) return Probe::Alive;
    const int r = ::connect(s, reinterpret_cast<const sockaddr*>(&addr), len);
    const int err = r == 0 ? 0 : errno;
    ::close(s);
    if (err == ENOENT) return Probe::Nobody;
    if (err == ECONNREFUSED) return Probe::Stale;
    return Probe::Alive;
}

// A folder only we may enter: a real folder of ours, not a link, closed to everyone else.
bool privateFolder(const QString& dir)
{
    struct stat st{};
    return ::lstat(QFile::encodeName(dir).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()
           && (st.st_mode & 077) == 0;
}

// Whether the program at the other end of a connected socket runs as this user. The folder and the
// socket's mode keep others out only as far as the file system is set up right; this holds anyway.
bool peerIsUs(int fd)
{
    ucred cred{};
    socklen_t len = sizeof cred;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == ::getuid();
}

// The descriptors the program may still open; -1 when they cannot be counted. They are counted
// without opening one (a listing of /proc/self/fd would take one, perhaps the last): polling every
// number below the limit marks each one not open. Above the first 65536 all count as free: a limit
// that high is far from reached.
int freeDescriptors()
{
    rlimit lim{};
    if (::getrlimit(RLIMIT_NOFILE, &lim) != 0) return -1;
    const rlim_t polled = std::min<rlim_t>(lim.rlim_cur, 1 << 16);
    std::vector<pollfd> fds(polled);
    for (size_t i = 0; i < fds.size(); ++i) fds[i] = pollfd{int(i), 0, 0};
    if (::poll(fds.data(), nfds_t(fds.size()), 0) < 0) return -1;
    const rlim_t free = rlim_t(std::count_if(fds.begin(), fds.end(), [](const pollfd& p) { return p.revents & POLLNVAL; }));
    return int(std::min<rlim_t>(free + (lim.rlim_cur - polled), INT_MAX));
}

} // namespace

QByteArray EncodeCopyData(quint32 dwData, const QByteArray& data)
{
    QByteArray b;
    wr32(b, dwData);
    wr32(b, quint32(data.size()));
    b.append(data);
    return b;
}

qint64 ParseCopyData(const QByteArray& buf, CopyDataMessage& out)
{
    if (buf.size() < 8) return 0;
    const quint32 cb = ReadLE32(buf, 4);
    if (cb > quint32(kCopyDataMax)) return -1;
    if (qint64(buf.size()) < 8 + qint64(cb)) return 0;
    out.dwData = ReadLE32(buf, 0);
    out.data = buf.mid(8, qsizetype(cb));
    return 8 + qint64(cb);
}

bool PathFromCopyData(const QByteArray& data, QString& path)
{
    const qsizetype nul = data.indexOf('\0');
    // A path without its terminator within cbData may have been cut: refuse it.
    if (nul <= 0) return false;
    path = QFile::decodeName(data.left(nul));
    return true;
}

QByteArray CopyDataFromPath(const QString& path)
{
    QByteArray b = QFile::encodeName(path);
    if (b.isEmpty() || b.contains('\0') || b.size() + 1 > kCopyDataMax) return QByteArray();
    b.append('\0');
    return b;
}

QString SheetLinkFolder()
{
    // A runtime folder that others may enter or write to is no place for the socket: another user
    // could listen there under our name.
    // The folder used is the one checked: "link/.." in the variable names another folder to the
    // system than the same path cleaned.
    const QString xdg = QDir::cleanPath(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    if (QDir::isAbsolutePath(xdg) && privateFolder(xdg)) return xdg;
    const QString dir = QDir::tempPath() + QStringLiteral("/polycolo-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(dir).constData(), 0700);
    return privateFolder(dir) ? dir : QString();
}

QString SheetLinkSocketPath(const QString& name)
{
    const QString folder = SheetLinkFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

struct SheetLinkServer::Connection {
    int fd = -1;
    QSocketNotifier* notifier = nullptr;
    QByteArray buffer;
    QDeadlineTimer deadline;
};

SheetLinkServer::SheetLinkServer(QObject* parent) : QObject(parent), m_rest(new QTimer(this)), m_sweep(new QTimer(this))
{
    m_rest->setSingleShot(true);
    m_rest->setInterval(100);
    connect(m_rest, &QTimer::timeout, this, [this] {
        if (m_notifier) m_notifier->setEnabled(true);
        acceptPending();
    });
    m_sweep->setInterval(50);
    connect(m_sweep, &QTimer::timeout, this, &SheetLinkServer::dropExpired);
}

SheetLinkServer::~SheetLinkServer()
{
    close();
}

bool SheetLinkServer::Listen(const QString& name)
{
    if (m_fd >= 0) return true;
    const QString path = SheetLinkSocketPath(name);
    if (path.isEmpty()) return false;
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un addr {};
    socklen_t len = 0;
    if (!socketAddress(native, addr, len)) return false;
    switch (probe(addr, len)) {
    case Probe::Alive: return false;
    case Probe::Stale: ::unlink(native.constData()); break;
    case Probe::Nobody: break;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // The socket file takes the socket's mode at bind: only this user may connect. A name that
    // another program has taken meanwhile makes the bind fail, and that program keeps it.
    ::fchmod(fd, 0600);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), len) != 0 || ::listen(fd, kBacklog) != 0) {
        ::close(fd);
        return false;
    }
    struct stat st {};
    if (::stat(native.constData(), &st) == 0) {
        m_dev = quint64(st.st_dev);
        m_ino = quint64(st.st_ino);
    }
    m_fd = fd;
    m_path = native;
    m_notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SheetLinkServer::acceptPending);
    return true;
}

void SheetLinkServer::close()
{
    while (!m_connections.empty()) drop(m_connections.front().get());
    m_rest->stop();
    if (m_fd < 0) return;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_fd);
    m_fd = -1;
    // The socket file goes with the server, unless it is not ours any more.
    struct stat st {};
    if (::lstat(m_path.constData(), &st) == 0 && quint64(st.st_dev) == m_dev && quint64(st.st_ino) == m_ino)
        ::unlink(m_path.constData());
}

int SheetLinkServer::room(int free) const
{
    // What the rest of the program has open stays put while a batch is taken. One more is left for
    // the connection just taken before the oldest goes.
    return int(std::clamp<qint64>(qint64(free) + qint64(m_connections.size()) - kReserveDescriptors - 1, 0, kMaxConnections));
}

void SheetLinkServer::rest()
{
    // The waiting connections would wake us at once again.
    m_notifier->setEnabled(false);
    m_rest->start();
}

void SheetLinkServer::acceptPending()
{
    if (m_fd < 0) return;
    const int free = freeDescriptors();
    if (free >= 0 && free <= kLeastFreeDescriptors) {
        rest();
        return;
    }
    const int room = free < 0 ? 0 : this->room(free);
    // With no room to hold one, a connection gets a few milliseconds for its message before the
    // next one may push it out: a sender writes right after connecting, but the accept may come
    // first. It stays meanwhile, the one connection held, so that a sender the system has put
    // aside for longer is still answered when nothing else comes.
    const QDeadlineTimer waits(kNoRoomBatchMs);
    // A bounded number at a time, so that a flood of connections cannot hold the program's loop.
    for (int i = 0; i < 64; ++i) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            // Out of descriptors or memory: the connection waits in the queue.
            if (errno != EAGAIN && errno != EWOULDBLOCK) rest();
            return;
        }
        if (!peerIsUs(fd)) {
            ::close(fd);
            continue;
        }
        while (!m_connections.empty() && int(m_connections.size()) >= std::max(room, 1)) drop(m_connections.front().get());
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        c->deadline = QDeadlineTimer(m_deadlineMs);
        Connection* raw = c.get();
        m_connections.push_back(std::move(c));
        // Most are answered here and now.
        if (readFrom(raw) && room == 0) awaitMessage(raw, QDeadlineTimer(std::min<qint64>(kNoRoomWaitMs, waits.remainingTime())));
    }
}

void SheetLinkServer::awaitMessage(Connection* c, QDeadlineTimer deadline)
{
    for (;;) {
        pollfd p{c->fd, POLLIN, 0};
        const int n = ::poll(&p, 1, int(deadline.remainingTime()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || !readFrom(c)) return;
    }
}

bool SheetLinkServer::readFrom(Connection* c)
{
    for (;;) {
        char buf[4096];
        const ssize_t n = ::recv(c->fd, buf, sizeof buf, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        if (n <= 0) {
            drop(c);
            return false;
        }
        c->buffer.append(buf, qsizetype(n));
        CopyDataMessage msg;
        const qint64 used = ParseCopyData(c->buffer, msg);
        if (used < 0) {
            drop(c);
            return false;
        }
        if (used > 0) {
            // The connection is let go before the message is handed on, whatever the handler does.
            const int fd = release(c);
            const int reply = OnCopyData ? OnCopyData(msg) : 0;
            QByteArray r;
            wr32(r, quint32(reply));
            ::send(fd, r.constData(), size_t(r.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
            ::close(fd);
            return false;
        }
    }
    if (!c->notifier) {
        c->notifier = new QSocketNotifier(qintptr(c->fd), QSocketNotifier::Read, this);
        connect(c->notifier, &QSocketNotifier::activated, this, [this, c] { readFrom(c); });
    }
    if (!m_sweep->isActive()) m_sweep->start();
    return true;
}

int SheetLinkServer::release(Connection* c)
{
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if (it->get() != c) continue;
        if (c->notifier) {
            c->notifier->setEnabled(false);
            c->notifier->disconnect(this);
            c->notifier->deleteLater();
        }
        const int fd = c->fd;
        m_connections.erase(it);
        if (m_connections.empty()) m_sweep->stop();
        return fd;
    }
    return -1;
}

void SheetLinkServer::drop(Connection* c)
{
    const int fd = release(c);
    if (fd >= 0) ::close(fd);
}

void SheetLinkServer::dropExpired()
{
    for (auto it = m_connections.begin(); it != m_connections.end();) {
        Connection* c = (it++)->get();
        if (c->deadline.hasExpired()) drop(c);
    }
}

std::optional<int> SendCopyData(quint32 dwData, const QByteArray& data, int timeoutMs, const QString& name)
{
    const QString path = SheetLinkSocketPath(name);
    if (path.isEmpty() || !QFileInfo::exists(path)) return std::nullopt;
    sockaddr_un addr{};
    socklen_t len = 0;
    if (!socketAddress(QFile::encodeName(path), addr, len)) return std::nullopt;
    // A plain socket, not Qt Network's: the editor then starts without loading that library and
    // the ones it needs. Each wait (connect, every write, every read) is bounded by timeoutMs; the
    // connect waits for room in a full queue until then.
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return std::nullopt;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{s};
    // A zero time would mean no limit at all to the system.
    const int ms = std::max(timeoutMs, 1);
    const timeval tv{ms / 1000, (ms % 1000) * 1000};
    if (::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv) != 0 || ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) != 0)
        return std::nullopt;
    if (::connect(s, reinterpret_cast<const sockaddr*>(&addr), len) != 0 || !peerIsUs(s)) return std::nullopt;
    const QByteArray message = EncodeCopyData(dwData, data);
    for (qsizetype sent = 0; sent < message.size();) {
        const ssize_t n = ::send(s, message.constData() + sent, size_t(message.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        sent += n;
    }
    unsigned char reply[4];
    for (size_t got = 0; got < sizeof reply;) {
        const ssize_t n = ::recv(s, reply + got, sizeof reply - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        got += size_t(n);
    }
    return int(ReadLE32(reply));
}

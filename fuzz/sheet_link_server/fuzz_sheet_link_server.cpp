// The game program's end of the sheet link on a real local socket. The first byte of the input
// says how the rest is cut into pieces, which a client sends one by one. A reply comes exactly when
// the pieces hold a whole message, the handler sees nothing else, and the connection is closed
// either way within its deadline.
#include "SheetLink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct Env {
    Env()
    {
        static int argc = 1;
        static char name[] = "fuzz_sheet_link_server";
        static char* argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        server = new SheetLinkServer;
        server->SetDeadline(50);
        server->OnCopyData = [this](const CopyDataMessage& m) {
            ++handled;
            last = m;
            return 7;
        };
        if (!server->Listen()) __builtin_trap();
    }
    QCoreApplication* app;
    QTemporaryDir dir;
    SheetLinkServer* server;
    int handled = 0;
    CopyDataMessage last;
};

int connectTo(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    const QByteArray p = QFile::encodeName(path);
    std::memcpy(addr.sun_path, p.constData(), size_t(p.size()));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) __builtin_trap();
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Env env;
    if (size == 0) return 0;
    const int piece = 1 + data[0] % 64;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    CopyDataMessage expected;
    const qint64 used = ParseCopyData(bytes, expected);

    env.handled = 0;
    const int fd = connectTo(SheetLinkSocketPath());
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        const qsizetype n = std::min<qsizetype>(piece, bytes.size() - at);
        if (::send(fd, bytes.constData() + at, size_t(n), MSG_NOSIGNAL) < 0 && errno != EPIPE && errno != ECONNRESET) __builtin_trap();
        QCoreApplication::processEvents();
    }
    // The server answers, or closes the connection when its time is up.
    QByteArray reply;
    const QDeadlineTimer limit(2000);
    for (;;) {
        QCoreApplication::processEvents();
        char buf[16];
        const ssize_t n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0) reply.append(buf, qsizetype(n));
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) break;
        if (limit.hasExpired()) __builtin_trap(); // a connection held past its deadline
    }
    ::close(fd);
    if (used > 0) {
        if (env.handled != 1 || env.last.data != expected.data || reply != QByteArray("\x07\0\0\0", 4)) __builtin_trap();
    } else if (env.handled != 0 || !reply.isEmpty()) {
        __builtin_trap();
    }
    return 0;
}

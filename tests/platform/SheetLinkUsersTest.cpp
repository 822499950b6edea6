// The sheet link with another user at work: every case needs root (to hand a folder to user 65534
// or to run as that user), and each skips as a whole, saying why, where that is not at hand.
#include "SheetLink.h"
#include "TestSupport.h"
#include <QDir>
#include <csignal>
#include <cstring>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class SheetLinkUsersTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_run.path())); }
    void TearDown() override { qunsetenv("XDG_RUNTIME_DIR"); }
    QTemporaryDir m_run;
};

// A runtime folder of another user, however closed, is not ours to listen in.
TEST_F(SheetLinkUsersTest, AnotherUsersRuntimeFolderIsNotUsed)
{
    const QString run = m_run.path() + QStringLiteral("/run");
    QDir().mkpath(run);
    ::chmod(QFile::encodeName(run).constData(), 0700);
    const uid_t other = ::getuid() == 65534 ? 65533 : 65534;
    if (::chown(QFile::encodeName(run).constData(), other, other) != 0)
        GTEST_SKIP() << "not tried: a folder of another user cannot be made here (needs root): " << std::strerror(errno);
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_run.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(run));
    EXPECT_EQ(SheetLinkFolder().toStdString(), (m_run.path() + QStringLiteral("/polycolo-%1").arg(::getuid())).toStdString());
    oldTemp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", oldTemp);
}

// Another user's program, as far as the file system lets it through: a listener in our folder, a
// sender at our socket. Neither end hands the other anything.
TEST_F(SheetLinkUsersTest, NeitherEndTalksToAnotherUser)
{
    if (::geteuid() != 0) GTEST_SKIP() << "not tried: a program of another user needs root to start";
    const QByteArray sock = QFile::encodeName(SheetLinkSocketPath());
    sockaddr_un addr {AF_UNIX, {}};
    std::strncpy(addr.sun_path, sock.constData(), sizeof addr.sun_path - 1);
    const QByteArray message = EncodeCopyData(0, CopyDataFromPath(QStringLiteral("/a.bmp")));
    // Runs body as user 65534 in a child; its exit status, or -1.
    auto asOtherUser = [&](const std::function<int()>& body, const std::function<void()>& meanwhile) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(10);
            ::_exit(body());
        }
        meanwhile();
        int status = -1;
        WaitUntil([&] { return ::waitpid(child, &status, WNOHANG) == child; });
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    auto becomeOther = [] { return ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0; };

    // A listener of another user: it would answer, and it reports the bytes it got.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    std::optional<int> reply = 7;
    const int listener = asOtherUser(
        [&]() -> int {
            const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || !becomeOther() || ::listen(s, 4) != 0) return 100;
            ::write(ready[1], "r", 1);
            const int c = ::accept(s, nullptr, nullptr);
            ::send(c, "\1\0\0\0", 4, MSG_NOSIGNAL);
            char buf[64];
            int got = 0;
            for (ssize_t n; (n = ::read(c, buf, sizeof buf)) > 0;) got += int(n);
            return got;
        },
        [&] {
            char r;
            if (::read(ready[0], &r, 1) == 1) reply = SendCopyData(0, CopyDataFromPath(QStringLiteral("/a.bmp")), 1000);
        });
    ::close(ready[0]), ::close(ready[1]);
    EXPECT_EQ(reply, std::nullopt);
    EXPECT_EQ(listener, 0) << "bytes the other user's listener got";
    ::unlink(sock.constData());

    // A sender of another user, let through to our socket: closed on without an answer.
    SheetLinkServer server;
    std::vector<QByteArray> got;
    server.OnCopyData = [&](const CopyDataMessage& m) { return got.push_back(m.data), 1; };
    ASSERT_TRUE(server.Listen());
    ::chmod(QFile::encodeName(m_run.path()).constData(), 0711);
    ::chmod(sock.constData(), 0666);
    const int sender = asOtherUser(
        [&] {
            const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (!becomeOther() || ::connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return 100;
            ::send(s, message.constData(), size_t(message.size()), MSG_NOSIGNAL);
            char r[4];
            return int(std::max<ssize_t>(::read(s, r, sizeof r), 0)); // closed, or reset with the message unread
        },
        [] {});
    ::chmod(QFile::encodeName(m_run.path()).constData(), 0700);
    EXPECT_EQ(sender, 0) << "bytes of reply the other user's sender got";
    EXPECT_TRUE(got.empty());
}

} // namespace

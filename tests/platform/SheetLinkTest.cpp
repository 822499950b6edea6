// The sheet link under load, on real local sockets: clients that send half a message or nothing run
// out of time, no more than a few connections are held, a failed accept (no descriptors left) never
// stops the listening, and a program that is alive but stopped keeps its name.
#include "SheetLink.h"
#include "TestSupport.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

int OpenDescriptors(const QString& pid = QStringLiteral("self"))
{
    return int(QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

// A client on a plain socket: connects without waiting, may send bytes, and sees the reply or the
// server closing its end.
class RawClient {
public:
    explicit RawClient(const QString& socketPath)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un addr {};
        addr.sun_family = AF_UNIX;
        const QByteArray p = QFile::encodeName(socketPath);
        std::memcpy(addr.sun_path, p.constData(), size_t(std::min<qsizetype>(p.size(), sizeof addr.sun_path - 1)));
        connected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        connectError = connected ? 0 : errno;
    }
    ~RawClient() { ::close(m_fd); }
    void Send(const QByteArray& bytes) { ASSERT_EQ(::send(m_fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL), bytes.size()); }
    // The bytes received so far; closed tells whether the server has closed its end.
    QByteArray Received()
    {
        char buf[64];
        for (;;) {
            const ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
            if (n > 0) m_got.append(buf, qsizetype(n));
            if (n == 0) closed = true;
            if (n <= 0) return m_got;
        }
    }
    bool Closed()
    {
        Received();
        return closed;
    }
    bool connected = false;
    int connectError = 0;
    bool closed = false;

private:
    int m_fd = -1;
    QByteArray m_got;
};

QByteArray Message(const QString& path)
{
    return EncodeCopyData(0, CopyDataFromPath(path));
}

class SheetLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_kept = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_run.path()));
    }
    void TearDown() override
    {
        if (m_listener) {
            ::kill(pid_t(m_listener->processId()), SIGCONT);
            m_listener->kill();
            m_listener->waitForFinished();
        }
        qputenv("XDG_RUNTIME_DIR", m_kept);
    }
    // The game program's stand-in, in a process of its own.
    bool StartListener(const QStringList& args = {})
    {
        m_listener = std::make_unique<QProcess>();
        m_listener->start(QCoreApplication::applicationDirPath() + QStringLiteral("/sheetlink_listener"), args);
        return m_listener->waitForStarted() && NextLine() == "ready";
    }
    // The listener's next line of output, as soon as it is there.
    QByteArray NextLine()
    {
        while (!m_listener->canReadLine())
            if (!m_listener->waitForReadyRead(5000)) return QByteArray();
        return m_listener->readLine().trimmed();
    }
    QString ListenerPid() const { return QString::number(m_listener->processId()); }
    // Sends a path as the editor does, from a thread of its own while this one may serve.
    std::optional<int> SendPath(const QString& path)
    {
        std::optional<int> reply;
        QThread* t = QThread::create([&] { reply = SendCopyData(0, CopyDataFromPath(path), 3000); });
        t->start();
        WaitUntil([&] { return t->isFinished(); }, 10000);
        t->wait();
        delete t;
        return reply;
    }
    QTemporaryDir m_run;
    QByteArray m_kept;
    std::unique_ptr<QProcess> m_listener;
};

TEST_F(SheetLinkTest, HalfMessagesRunOutOfTimeWhileWholeOnesAreAnswered)
{
    const int before = OpenDescriptors();
    std::vector<QString> got;
    {
        SheetLinkServer server;
        server.SetDeadline(300);
        server.OnCopyData = [&](const CopyDataMessage& m) {
            QString p;
            if (PathFromCopyData(m.data, p)) got.push_back(p);
            return 1;
        };
        ASSERT_TRUE(server.Listen());
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(SheetLinkSocketPath()).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);

        RawClient half(SheetLinkSocketPath()), idle(SheetLinkSocketPath()), whole(SheetLinkSocketPath());
        half.Send(Message(QStringLiteral("/half.bmp")).left(9));
        whole.Send(Message(QStringLiteral("/選手.bmp")));
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(WaitUntil([&] { return whole.Received().size() == 4; }));
        EXPECT_EQ(whole.Received(), QByteArray("\x01\0\0\0", 4));
        EXPECT_EQ(got, std::vector<QString>{QStringLiteral("/選手.bmp")});
        EXPECT_FALSE(half.Closed());
        ASSERT_TRUE(WaitUntil([&] { return half.Closed() && idle.Closed(); }, 3000));
        EXPECT_GE(clock.elapsed(), 250);
        EXPECT_TRUE(half.Received().isEmpty());
        EXPECT_EQ(got.size(), 1u);
        EXPECT_TRUE(server.Listening());
    }
    // Nothing of the server's stays open, and its socket file is gone with it.
    EXPECT_FALSE(QFileInfo::exists(SheetLinkSocketPath()));
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(SheetLinkTest, ThousandsOfSilentClientsHoldOnlyAFewConnections)
{
    rlimit lim {};
    ::getrlimit(RLIMIT_NOFILE, &lim);
    const rlimit kept = lim;
    lim.rlim_cur = std::min<rlim_t>(lim.rlim_max, 8192);
    ::setrlimit(RLIMIT_NOFILE, &lim);
    const int clients = std::min(2000, int(lim.rlim_cur) - 200);
    {
        SheetLinkServer server;
        std::vector<QString> got;
        server.OnCopyData = [&](const CopyDataMessage& m) {
            got.push_back(QString::fromUtf8(m.data));
            return 1;
        };
        ASSERT_TRUE(server.Listen());
        const int base = OpenDescriptors();
        std::vector<std::unique_ptr<RawClient>> silent;
        while (int(silent.size()) < clients) {
            auto c = std::make_unique<RawClient>(SheetLinkSocketPath());
            ASSERT_TRUE(c->connected || c->connectError == EAGAIN) << std::strerror(c->connectError);
            // A full queue refuses for a moment: let the server take what waits.
            if (!c->connected) QCoreApplication::processEvents();
            else silent.push_back(std::move(c));
        }
        QCoreApplication::processEvents();
        // The client ends are the test's; the server's ends are no more than its cap.
        EXPECT_LE(OpenDescriptors() - base - clients, SheetLinkServer::kMaxConnections);
        int pushedOut = 0;
        for (auto& c : silent) pushedOut += c->Closed();
        EXPECT_GE(pushedOut, clients - SheetLinkServer::kMaxConnections - 64);
        // The editor's next path arrives while they all hang on.
        RawClient editor(SheetLinkSocketPath());
        editor.Send(Message(QStringLiteral("/next.bmp")));
        ASSERT_TRUE(WaitUntil([&] { return editor.Received().size() == 4; }));
        ASSERT_EQ(got.size(), 1u);
    }
    ::setrlimit(RLIMIT_NOFILE, &kept);
}

TEST_F(SheetLinkTest, RunningOutOfDescriptorsNeitherStopsTheListeningNorLeaks)
{
#ifdef __SANITIZE_ADDRESS__
    // The sanitizers' check of each virtual call opens a pipe, which a program without a spare
    // descriptor cannot: they would stop the listener for a reason of their own.
    GTEST_SKIP() << "needs a build without sanitizers";
#endif
    ASSERT_TRUE(StartListener({QStringLiteral("--spare-fds"), QStringLiteral("4"), QStringLiteral("--deadline"), QStringLiteral("300")}));
    const int base = OpenDescriptors(ListenerPid());
    {
        std::vector<std::unique_ptr<RawClient>> silent;
        for (int i = 0; i < 40; ++i) silent.push_back(std::make_unique<RawClient>(SheetLinkSocketPath()));
        // Its accepts fail for want of descriptors for a while; it goes on listening all the same.
        QThread::msleep(500);
        EXPECT_TRUE(QFileInfo::exists(SheetLinkSocketPath()));
        EXPECT_EQ(m_listener->state(), QProcess::Running);
        EXPECT_LE(OpenDescriptors(ListenerPid()), base + 4);
    }
    const auto reply = SendPath(QStringLiteral("/after.bmp"));
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(*reply, 1);
    EXPECT_EQ(NextLine(), QByteArray("/after.bmp"));
    EXPECT_TRUE(WaitUntil([&] { return OpenDescriptors(ListenerPid()) == base; }, 3000));
}

TEST_F(SheetLinkTest, AStoppedProgramKeepsItsNameFromASecondOne)
{
    ASSERT_TRUE(StartListener());
    const pid_t pid = pid_t(m_listener->processId());
    ASSERT_EQ(::kill(pid, SIGSTOP), 0);
    // Stopped, and then with its queue full as well: alive both times.
    SheetLinkServer second;
    EXPECT_FALSE(second.Listen());
    std::vector<std::unique_ptr<RawClient>> queued;
    while (queued.size() < 1000) {
        queued.push_back(std::make_unique<RawClient>(SheetLinkSocketPath()));
        if (!queued.back()->connected) break;
    }
    EXPECT_EQ(queued.back()->connectError, EAGAIN);
    EXPECT_FALSE(second.Listen());
    EXPECT_FALSE(second.Listening());
    queued.clear();
    ASSERT_EQ(::kill(pid, SIGCONT), 0);
    const auto reply = SendPath(QStringLiteral("/still-mine.bmp"));
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(NextLine(), QByteArray("/still-mine.bmp"));

    // Once it has gone, its name is free for the next program.
    m_listener->kill();
    m_listener->waitForFinished();
    m_listener.reset();
    EXPECT_TRUE(second.Listen());
}

} // namespace

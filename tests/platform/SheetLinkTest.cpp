// The sheet link under load, on real local sockets: clients that send half a message or nothing run
// out of time, only a few connections are held at once, running out of descriptors never stops the
// listening, a program with few descriptors free loses no message and keeps the last few to itself,
// a program that is alive but stopped keeps its name from a second one, and a sender gives up on a
// listener that never answers.
#include "SheetLink.h"
#include "TestSupport.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <deque>
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

// The same of a running program, counted while it stands still: a listing of its descriptors is no
// snapshot, and one closed and another opened as it is read would both be counted.
int OpenDescriptorsHeld(const QString& pid)
{
    const pid_t p = pid_t(pid.toInt());
    ::kill(p, SIGSTOP);
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    for (int i = 0; i < 1000; ++i) {
        stat.open(QIODevice::ReadOnly);
        const QByteArray line = stat.readAll();
        stat.close();
        const qsizetype state = line.lastIndexOf(')') + 2;
        if (state <= 1 || state >= line.size() || line[state] == 'T') break;
        QThread::usleep(100);
    }
    const int n = OpenDescriptors(pid);
    ::kill(p, SIGCONT);
    return n;
}

// A client on a plain socket that connects without waiting and collects what comes back.
struct RawClient {
    RawClient()
    {
        sockaddr_un addr {AF_UNIX, {}};
        std::strncpy(addr.sun_path, QFile::encodeName(SheetLinkSocketPath()).constData(), sizeof addr.sun_path - 1);
        error = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 ? 0 : errno;
    }
    ~RawClient() { ::close(fd); }
    // Whether the server has closed its end, what it sent in got.
    bool Closed()
    {
        char buf[64];
        ssize_t n;
        while ((n = ::recv(fd, buf, sizeof buf, 0)) > 0) got.append(buf, qsizetype(n));
        return closed = closed || n == 0;
    }
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    int error = 0;
    bool closed = false;
    QByteArray got;
};

class SheetLinkTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_run.path())); }
    void TearDown() override
    {
        if (m_listener && m_listener->state() != QProcess::NotRunning) {
            ::kill(pid_t(m_listener->processId()), SIGCONT);
            m_listener->kill();
            m_listener->waitForFinished();
        }
        qunsetenv("XDG_RUNTIME_DIR");
    }
    // Starts the stand-in for the game program with these arguments; whether it is listening.
    bool StartListener(const QStringList& arguments)
    {
        m_listener = std::make_unique<QProcess>();
        m_listener->start(QCoreApplication::applicationDirPath() + QStringLiteral("/sheetlink_listener"), arguments);
        return NextLine() == "ready";
    }
    QByteArray NextLine()
    {
        while (!m_listener->canReadLine())
            if (!m_listener->waitForReadyRead(5000)) return QByteArray();
        return m_listener->readLine().trimmed();
    }
    QTemporaryDir m_run;
    std::unique_ptr<QProcess> m_listener;
};

TEST_F(SheetLinkTest, SilentAndHalfSendersRunOutOfTimeAndOnlyAFewAreHeld)
{
    const int before = OpenDescriptors();
    {
        SheetLinkServer server;
        server.SetDeadline(300);
        std::vector<QByteArray> got;
        server.OnCopyData = [&](const CopyDataMessage& m) { return got.push_back(m.data), 1; };
        ASSERT_TRUE(server.Listen());
        RawClient half, whole;
        const QByteArray path = CopyDataFromPath(QStringLiteral("/選手.bmp"));
        ::send(half.fd, EncodeCopyData(0, path).constData(), 9, MSG_NOSIGNAL);
        ::send(whole.fd, EncodeCopyData(0, path).constData(), size_t(EncodeCopyData(0, path).size()), MSG_NOSIGNAL);
        ASSERT_TRUE(WaitUntil([&] { return whole.Closed(); }));
        EXPECT_EQ(whole.got, QByteArray("\x01\0\0\0", 4));
        EXPECT_EQ(got, std::vector<QByteArray>{path});
        EXPECT_FALSE(half.Closed());

        // Hundreds of silent clients: the newest few are held, the rest pushed out, all let go in time.
        const int base = OpenDescriptors();
        std::vector<std::unique_ptr<RawClient>> silent;
        while (silent.size() < 300) {
            silent.push_back(std::make_unique<RawClient>());
            if (silent.back()->error == EAGAIN) silent.pop_back(); // the queue is full for a moment
            QCoreApplication::processEvents();
        }
        EXPECT_LE(OpenDescriptors() - base - 300, SheetLinkServer::kMaxConnections);
        EXPECT_TRUE(WaitUntil([&] { return std::all_of(silent.begin(), silent.end(), [](auto& c) { return c->Closed(); }) && half.Closed(); }));
        EXPECT_EQ(got.size(), 1u);
    }
    EXPECT_FALSE(QFileInfo::exists(SheetLinkSocketPath()));
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(SheetLinkTest, ALiveProgramKeepsItsNameAndItsListening)
{
#ifdef __SANITIZE_ADDRESS__
    // The sanitizers' check of each virtual call opens a pipe, which a program that has no
    // descriptor to spare cannot: there the listener keeps enough of them.
    const int spare = 1000;
#else
    const int spare = SheetLinkServer::kReserveDescriptors + 4;
#endif
    ASSERT_TRUE(StartListener({QString::number(spare), QStringLiteral("300")}));
    const QString pid = QString::number(m_listener->processId());
    const int base = OpenDescriptors(pid);

    // Stopped, and then with its queue full as well: alive both times.
    ASSERT_EQ(::kill(pid_t(m_listener->processId()), SIGSTOP), 0);
    SheetLinkServer second;
    EXPECT_FALSE(second.Listen());
    std::vector<std::unique_ptr<RawClient>> queued;
    do queued.push_back(std::make_unique<RawClient>());
    while (queued.back()->error == 0 && queued.size() < 1000);
    EXPECT_EQ(queued.back()->error, EAGAIN);
    EXPECT_FALSE(second.Listen());

    // Going on, it takes more connections than it has descriptors for: it holds only as many as
    // leave the rest of the program its share, and listens on all the same.
    ASSERT_EQ(::kill(pid_t(m_listener->processId()), SIGCONT), 0);
    rlimit limit {};
    ASSERT_EQ(::prlimit(pid_t(m_listener->processId()), RLIMIT_NOFILE, nullptr, &limit), 0);
    int leastFree = int(limit.rlim_cur);
    queued.pop_back();
    EXPECT_TRUE(WaitUntil([&] {
        leastFree = std::min(leastFree, int(limit.rlim_cur) - OpenDescriptorsHeld(pid));
        return std::all_of(queued.begin(), queued.end(), [](auto& c) { return c->Closed(); });
    }));
    EXPECT_GE(leastFree, SheetLinkServer::kReserveDescriptors);
    EXPECT_TRUE(QFileInfo::exists(SheetLinkSocketPath()));
    queued.clear();
    std::optional<int> reply;
    std::unique_ptr<QThread> editor(QThread::create([&] { reply = SendCopyData(0, CopyDataFromPath(QStringLiteral("/a.bmp"))); }));
    editor->start();
    editor->wait();
    EXPECT_EQ(reply, std::optional<int>(1));
    EXPECT_EQ(NextLine(), QByteArray("/a.bmp"));
    EXPECT_TRUE(WaitUntil([&] { return OpenDescriptors(pid) == base; }));

    // Once it has gone, its name is free for the next program.
    m_listener->kill();
    m_listener->waitForFinished();
    EXPECT_TRUE(second.Listen());
}

// A sender that the system puts aside for a moment between connecting and writing its message;
// whether it was answered 1.
bool SendAfterAPause(const QByteArray& payload)
{
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr {AF_UNIX, {}};
    std::strncpy(addr.sun_path, QFile::encodeName(SheetLinkSocketPath()).constData(), sizeof addr.sun_path - 1);
    const timeval limit {3, 0};
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    const QByteArray message = EncodeCopyData(0, payload);
    char reply[4] = {};
    const bool answered = ::connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && (QThread::usleep(1000), true)
                          && ::send(s, message.constData(), size_t(message.size()), MSG_NOSIGNAL) == message.size()
                          && ::recv(s, reply, sizeof reply, MSG_WAITALL) == 4 && QByteArray(reply, 4) == QByteArray("\x01\0\0\0", 4);
    ::close(s);
    return answered;
}

// With the descriptors the game program has free under a limit of 24, there is no room to hold a
// connection; yet each gets a moment for its message, and no send is lost, quick or slow.
TEST_F(SheetLinkTest, NoSendIsLostWithFewDescriptorsFree)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "not tried: the sanitizers' checks need more descriptors than are left here";
#endif
    ASSERT_TRUE(StartListener({QStringLiteral("12"), QStringLiteral("2000")}));
    int answered = 0;
    for (int i = 0; i < 300; ++i) {
        const QByteArray path = CopyDataFromPath(QStringLiteral("/s/%1.bmp").arg(i));
        answered += i % 2 ? SendAfterAPause(path) : SendCopyData(0, path) == std::optional<int>(1);
    }
    EXPECT_EQ(answered, 300);
    int received = 0;
    while (received < answered && NextLine().startsWith("/s/")) ++received;
    EXPECT_EQ(received, answered);
}

// A flood of connections at a program with only the last few descriptors free: it leaves them to
// its other thread, which needs them at any moment, and listens again once more are free.
TEST_F(SheetLinkTest, AFloodNeverTakesTheLastFewDescriptors)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "not tried: the sanitizers' checks need more descriptors than are left here";
#endif
    const QString few = QString::number(SheetLinkServer::kLeastFreeDescriptors);
    ASSERT_TRUE(StartListener({few, QStringLiteral("300"), few}));
    QElapsedTimer flooding;
    flooding.start();
    std::deque<std::unique_ptr<RawClient>> flood;
    while (flooding.elapsed() < 1000) {
        flood.push_back(std::make_unique<RawClient>());
        if (flood.size() > 100) flood.pop_front();
    }
    flood.clear();
    ASSERT_FALSE(m_listener->waitForFinished(200)) << m_listener->readAllStandardOutput().toStdString();

    rlimit limit {};
    const pid_t pid = pid_t(m_listener->processId());
    ASSERT_EQ(::prlimit(pid, RLIMIT_NOFILE, nullptr, &limit), 0);
    limit.rlim_cur += 100;
    ASSERT_EQ(::prlimit(pid, RLIMIT_NOFILE, &limit, nullptr), 0);
    EXPECT_EQ(SendCopyData(0, CopyDataFromPath(QStringLiteral("/a.bmp"))), std::optional<int>(1));
    EXPECT_EQ(NextLine(), QByteArray("/a.bmp"));
}

TEST_F(SheetLinkTest, TheSenderGivesUpOnAListenerThatNeverAnswersOrHasGone)
{
    // Nothing there, then a listener that queues the connection but never takes it.
    EXPECT_EQ(SendCopyData(0, CopyDataFromPath(QStringLiteral("/a.bmp")), 100), std::nullopt);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr {AF_UNIX, {}};
    std::strncpy(addr.sun_path, QFile::encodeName(SheetLinkSocketPath()).constData(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    std::optional<int> reply = 7;
    std::unique_ptr<QThread> editor(QThread::create([&] { reply = SendCopyData(0, CopyDataFromPath(QStringLiteral("/a.bmp")), 100); }));
    editor->start();
    ASSERT_TRUE(editor->wait(30000));
    EXPECT_EQ(reply, std::nullopt);
    // Closed with its file left behind: refused at once.
    ::close(listener);
    EXPECT_TRUE(QFileInfo::exists(SheetLinkSocketPath()));
    EXPECT_EQ(SendCopyData(0, CopyDataFromPath(QStringLiteral("/a.bmp")), 100), std::nullopt);
}

TEST_F(SheetLinkTest, OnlyARuntimeFolderOfOursThatNobodyElseCanEnterIsUsed)
{
    const QString run = m_run.path() + QStringLiteral("/run"), real = m_run.path() + QStringLiteral("/real");
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_run.path()));
    const QString fallBack = m_run.path() + QStringLiteral("/polycolo-%1").arg(::getuid());
    const struct {
        const char* what;
        int mode;
        bool link, used;
        const char* tail; // of the variable, after the folder
    } cases[] = {
        {"ours, 0700", 0700, false, true, ""},
        {"open to all", 0777, false, false, ""},
        {"open to the group", 0750, false, false, ""},
        {"a link to a folder of ours", 0700, true, false, ""},
        // The system takes "hop/.." as the folder open to all that the link leads into.
        {"ours, named through a link and '..'", 0700, false, true, "/hop/.."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(run).removeRecursively();
        ::unlink(QFile::encodeName(run).constData());
        QDir(real).removeRecursively();
        QDir().mkpath(c.link ? real : run);
        if (c.link) {
            ASSERT_TRUE(QFile::link(real, run));
        }
        ::chmod(QFile::encodeName(c.link ? real : run).constData(), mode_t(c.mode));
        if (*c.tail) {
            QDir().mkpath(real + QStringLiteral("/sub"));
            ::chmod(QFile::encodeName(real).constData(), 0777);
            ASSERT_TRUE(QFile::link(real + QStringLiteral("/sub"), run + QStringLiteral("/hop")));
        }
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(run) + c.tail);
        EXPECT_EQ(SheetLinkFolder().toStdString(), (c.used ? run : fallBack).toStdString());
    }
    oldTemp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", oldTemp);
}

} // namespace

#pragma once
// What a hostile or unlucky user puts where a file is expected, for the tests of every reader: a
// pipe, links to endless devices, a folder and a socket under a file's name; a small file system of
// a test's own where the machine allows mounting one; and a guard that turns a reader stuck on a
// pipe into a failure instead of a hung test.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

struct HostileFile {
    QString path;
    bool pipe = false;
    int error = 0; // what a reader answers: EISDIR for the folder, EINVAL for the rest
};

// "pipe", "zero", "random", "folder" and "socket", each with the extension given.
inline std::vector<HostileFile> MakeHostileFiles(const QString& dir, const QString& ext)
{
    const auto at = [&](const char* name) { return dir + QLatin1Char('/') + QLatin1String(name) + ext; };
    std::vector<HostileFile> files;
    const QString pipe = at("pipe");
    EXPECT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    files.push_back({pipe, true, EINVAL});
    for (auto [name, device] : {std::pair{"zero", "/dev/zero"}, std::pair{"random", "/dev/urandom"}}) {
        EXPECT_EQ(::symlink(device, QFile::encodeName(at(name)).constData()), 0);
        files.push_back({at(name), false, EINVAL});
    }
    EXPECT_EQ(::mkdir(QFile::encodeName(at("folder")).constData(), 0700), 0);
    files.push_back({at("folder"), false, EISDIR});
    const QByteArray sock = QFile::encodeName(at("socket"));
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    if (sock.size() < qsizetype(sizeof addr.sun_path)) {
        std::memcpy(addr.sun_path, sock.constData(), size_t(sock.size()));
        if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) files.push_back({at("socket"), false, EINVAL});
    }
    ::close(s);
    return files;
}

// Runs read() and answers whether it came back within a few seconds. A read stuck on the pipe is
// set free then by a writer that opens and closes it, so that the test fails instead of hanging.
// (The read runs on the calling thread: it may show boxes and windows.)
inline bool ReturnsPromptly(const HostileFile& f, const std::function<void()>& read)
{
    using Clock = std::chrono::steady_clock;
    std::atomic<bool> done{false};
    std::thread rescue([&] {
        const auto until = Clock::now() + std::chrono::seconds(3);
        while (!done && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        while (!done && f.pipe) {
            const int w = ::open(QFile::encodeName(f.path).constData(), O_WRONLY | O_NONBLOCK);
            if (w >= 0) ::close(w);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const auto start = Clock::now();
    read();
    const bool prompt = Clock::now() - start < std::chrono::seconds(3);
    done = true;
    rescue.join();
    return prompt;
}

// A small file system mounted on a temporary folder, for a full disk or one without unnamed files.
// Mounting needs root: elsewhere Mounted() is false and the test skips with a message.
class ScratchMount {
public:
    explicit ScratchMount(const char* type = "tmpfs", const char* options = "size=64k")
    {
        if (!m_dir.isValid()) return;
        m_ok = ::mount(type, QFile::encodeName(m_dir.path()).constData(), type, 0, options) == 0;
        if (!m_ok) m_why = std::strerror(errno);
    }
    ~ScratchMount()
    {
        if (m_ok) ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool Mounted() const { return m_ok; }
    QString Path() const { return m_dir.path(); }
    std::string Why() const { return "cannot mount a small file system here (needs root): " + m_why; }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
    std::string m_why;
};

// The entries of a folder, hidden ones too.
inline QStringList EntriesOf(const QString& dir)
{
    QStringList names;
    if (DIR* d = ::opendir(QFile::encodeName(dir).constData())) {
        while (const dirent* e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names << QFile::decodeName(e->d_name);
        ::closedir(d);
    }
    names.sort();
    return names;
}

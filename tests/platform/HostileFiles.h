#pragma once
// What a hostile or unlucky user puts where a file is expected: a pipe, links to endless devices
// and a folder under a file's name; a guard that turns a reader stuck on a pipe into a failure
// instead of a hung test; and a small file system of a test's own where the machine allows it.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

struct HostileFile {
    QString path;
    int error; // what a reader answers: EISDIR for the folder, EINVAL (no plain file) for the rest
};

inline std::vector<HostileFile> MakeHostileFiles(const QString& dir, const QString& ext)
{
    const auto at = [&](const char* name) { return dir + QLatin1Char('/') + QLatin1String(name) + ext; };
    ::mkfifo(QFile::encodeName(at("pipe")).constData(), 0600);
    ::symlink("/dev/zero", QFile::encodeName(at("zero")).constData());
    ::symlink("/dev/urandom", QFile::encodeName(at("random")).constData());
    ::mkdir(QFile::encodeName(at("folder")).constData(), 0700);
    return {{at("pipe"), EINVAL}, {at("zero"), EINVAL}, {at("random"), EINVAL}, {at("folder"), EISDIR}};
}

// Runs read() and answers whether it came back within a few seconds; a read stuck on a pipe is set
// free then by a writer that opens and closes it.
inline bool ReturnsPromptly(const HostileFile& f, const std::function<void()>& read)
{
    using Clock = std::chrono::steady_clock;
    std::atomic<bool> done{false};
    std::thread rescue([&] {
        const auto until = Clock::now() + std::chrono::seconds(3);
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (Clock::now() < until) continue;
            const int w = ::open(QFile::encodeName(f.path).constData(), O_WRONLY | O_NONBLOCK);
            if (w >= 0) ::close(w);
        }
    });
    const auto start = Clock::now();
    read();
    done = true;
    rescue.join();
    return Clock::now() - start < std::chrono::seconds(3);
}

// A tmpfs of `options` on a temporary folder; mounting needs root, elsewhere Mounted() is false.
class ScratchMount {
public:
    explicit ScratchMount(const char* options)
    {
        m_ok = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options) == 0;
    }
    ~ScratchMount()
    {
        if (m_ok) ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool Mounted() const { return m_ok; }
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

inline QStringList EntriesOf(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

// The trash of a file system that other users share, tried on a private tmpfs with another user at
// work: every case needs root (to mount, to hand folders to user 65534 and to run as that user),
// and each skips as a whole, saying why, where that is not at hand.
#include "TestSupport.h"
#include "Trash.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr uid_t kOther = 65534;

// Runs body on a thread of its own that alone sees a fresh shared tmpfs (mode 1777, as /tmp often
// is) mounted on folder: an entry there lies on another file system than the home trash, and nothing
// outside the test's folder is touched. The system's error where no file system can be mounted.
int OnSharedFileSystem(const QString& folder, const std::function<void()>& body)
{
    int error = 0;
    std::thread([&] {
        const QByteArray at = QFile::encodeName(folder);
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("trash-test", at.constData(), "tmpfs", 0, "mode=1777") != 0) {
            error = errno;
            return;
        }
        body();
        ::umount2(at.constData(), MNT_DETACH);
    }).join();
    return error;
}

QString OurTrash()
{
    return QStringLiteral("/.Trash-%1").arg(::getuid());
}

// Makes the trash folder with its files/ and info/ at path, all 0700 and ours.
void MakeTrash(const QString& path)
{
    for (const char* sub : {"", "/files", "/info"}) {
        QDir().mkpath(path + QLatin1String(sub));
        ::chmod(QFile::encodeName(path + QLatin1String(sub)).constData(), 0700);
    }
}

// A file system's own trash is used only when it and its folders are ours and nobody else may
// enter them; else nothing moves, and a missing one is made by us, for us alone.
TEST(SharedTrash, IsUsedOnlyWhenOnlyWeCanEnterIt)
{
    const QString trash = OurTrash();
    const struct {
        const char* what;
        QString folder; // of the trash, under it or the trash itself
        int mode;
        uid_t owner;
        bool link, used;
    } cases[] = {
        {"absent", QString(), 0, ::getuid(), false, true},
        {"ours", trash, 0700, ::getuid(), false, true},
        {"another user's", trash, 0700, kOther, false, false},
        {"another user's files/", trash + QStringLiteral("/files"), 0700, kOther, false, false},
        {"another user's info/", trash + QStringLiteral("/info"), 0700, kOther, false, false},
        {"ours, group-writable", trash, 0770, ::getuid(), false, false},
        {"ours, open for all to read", trash, 0755, ::getuid(), false, false},
        {"ours, info/ writable by others", trash + QStringLiteral("/info"), 0702, ::getuid(), false, false},
        {"a link to a folder of ours", trash, 0700, ::getuid(), true, false},
    };
    QTemporaryDir tmp;
    for (const auto& c : cases) {
        const QString top = tmp.path();
        const int error = OnSharedFileSystem(top, [&] {
            SCOPED_TRACE(c.what);
            QDir().mkpath(top + QStringLiteral("/private"));
            WriteFile(top + QStringLiteral("/private/a.bmp"), "a");
            if (!c.folder.isEmpty()) {
                const QString real = top + (c.link ? QStringLiteral("/elsewhere") : trash);
                MakeTrash(real);
                if (c.link) {
                    ASSERT_EQ(::symlink(QFile::encodeName(real).constData(), QFile::encodeName(top + trash).constData()), 0);
                }
                const QByteArray f = QFile::encodeName(top + c.folder);
                ASSERT_EQ(::chmod(f.constData(), mode_t(c.mode)), 0);
                ASSERT_EQ(::chown(f.constData(), c.owner, c.owner), 0);
            }
            int error = 0;
            const bool moved = MoveToTrash(top + QStringLiteral("/private/a.bmp"), &error);
            EXPECT_EQ(moved, c.used);
            EXPECT_EQ(QFileInfo::exists(top + QStringLiteral("/private/a.bmp")), !moved);
            if (!moved) {
                EXPECT_NE(error, 0);
                return;
            }
            EXPECT_EQ(ReadFile(top + trash + QStringLiteral("/files/a.bmp")), "a");
            for (const char* sub : {"", "/files", "/info"}) {
                struct stat st{};
                ::lstat(QFile::encodeName(top + trash + QLatin1String(sub)).constData(), &st);
                EXPECT_EQ(st.st_mode & 07777, 0700u) << sub;
            }
        });
        if (error) GTEST_SKIP() << "not tried: no file system of its own can be mounted here (needs root): " << std::strerror(error);
    }
}

// Another user's program on a file system where everybody may rename anything at the top (0777,
// no sticky bit): it swaps our trash folder for a link to a folder of its own, over and over, until
// killed. Started once it is at work.
pid_t StartSwapper(const QString& top)
{
    const QByteArray ours = QFile::encodeName(top + OurTrash()), link = QFile::encodeName(top + QStringLiteral("/link")),
                     theirs = QFile::encodeName(top + QStringLiteral("/theirs"));
    const QByteArray files = theirs + "/files", info = theirs + "/info";
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kOther) != 0 || ::setuid(kOther) != 0) ::_exit(1);
        ::umask(0);
        if (::mkdir(theirs.constData(), 0777) != 0 || ::mkdir(files.constData(), 0777) != 0 || ::mkdir(info.constData(), 0777) != 0
            || ::symlink(theirs.constData(), link.constData()) != 0)
            ::_exit(2);
        ::write(ready[1], "r", 1);
        for (;;) ::renameat2(AT_FDCWD, ours.constData(), AT_FDCWD, link.constData(), RENAME_EXCHANGE);
    }
    ::close(ready[1]);
    char r = 0;
    const bool started = pid > 0 && ::read(ready[0], &r, 1) == 1;
    ::close(ready[0]);
    if (pid > 0 && !started) ::waitpid(pid, nullptr, 0);
    return started ? pid : -1;
}

// However the folders are swapped while we delete, nothing we delete, nor its info, ever lands in
// another user's folder: each file is either in our trash or, where the trash could not be used
// at that moment, still where it was.
TEST(SharedTrash, ASwappedTrashNeverTakesWhatWeDelete)
{
    constexpr int kFiles = 3000;
    QTemporaryDir tmp;
    const QString top = tmp.path();
    int moved = 0, lost = 0, theirs = 0;
    const int error = OnSharedFileSystem(top, [&] {
        ASSERT_EQ(::chmod(QFile::encodeName(top).constData(), 0777), 0);
        MakeTrash(top + OurTrash());
        const QString priv = top + QStringLiteral("/private");
        QDir().mkpath(priv);
        ::chmod(QFile::encodeName(priv).constData(), 0700);
        for (int i = 0; i < kFiles; ++i) WriteFile(priv + QStringLiteral("/%1.bmp").arg(i), "secret");
        const pid_t swapper = StartSwapper(top);
        ASSERT_GT(swapper, 0) << "the other user's program did not start";
        std::vector<bool> done(kFiles);
        for (int i = 0; i < kFiles; ++i) moved += done[i] = MoveToTrash(priv + QStringLiteral("/%1.bmp").arg(i));
        ::kill(swapper, SIGKILL);
        ::waitpid(swapper, nullptr, 0);
        // Our trash is whichever of the two names is a real folder now.
        const QString link = top + QStringLiteral("/link");
        const QString ours = QFileInfo(top + OurTrash()).isSymLink() ? link : top + OurTrash();
        for (int i = 0; i < kFiles; ++i) {
            const QString name = QStringLiteral("%1.bmp").arg(i);
            lost += !QFileInfo::exists((done[i] ? ours + QStringLiteral("/files/") : priv + QLatin1Char('/')) + name);
        }
        for (const char* sub : {"/theirs/files", "/theirs/info"})
            theirs += int(QDir(top + QLatin1String(sub)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size());
    });
    if (error) GTEST_SKIP() << "not tried: no file system of its own can be mounted here (needs root): " << std::strerror(error);
    EXPECT_GT(moved, 0);
    EXPECT_EQ(lost, 0) << "of " << moved << " reported moved";
    EXPECT_EQ(theirs, 0) << "files and infos in the other user's folder, of " << moved << " reported moved";
}

} // namespace

// Stands in for a running game program in the sheet link tests: listens, prints "ready" and then
// each path it receives, one line each. Arguments: the descriptors it may open beyond those it has
// once listening, each connection's deadline in ms, and optionally a number n: then a thread of its
// own keeps taking n descriptors and giving them back, as a window system's connection or a
// starting thread of a real program does at any moment, and the program ends with status 4 the
// first time they are not there.
#include "SheetLink.h"
#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) return 2;
    SheetLinkServer server;
    server.SetDeadline(std::atoi(argv[2]));
    server.OnCopyData = [](const CopyDataMessage& m) {
        std::printf("%s\n", m.data.constData()), std::fflush(stdout);
        return 1;
    };
    if (!server.Listen()) return 3;
    // The limit that leaves exactly that many numbers free below it: new descriptors take the
    // lowest free number. (Not counting the listing's own descriptor, closed again by now.)
    QSet<int> open;
    for (const QString& fd : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (::fcntl(fd.toInt(), F_GETFD) >= 0) open.insert(fd.toInt());
    rlimit lim {};
    ::getrlimit(RLIMIT_NOFILE, &lim);
    lim.rlim_cur = 0;
    for (int free = 0; free < std::atoi(argv[1]); ++lim.rlim_cur)
        if (!open.contains(int(lim.rlim_cur))) ++free;
    ::setrlimit(RLIMIT_NOFILE, &lim);
    if (argc > 3)
        std::thread([n = std::atoi(argv[3])] {
            for (std::vector<int> fds;; fds.clear()) {
                while (int(fds.size()) < n) {
                    fds.push_back(::open("/dev/null", O_RDONLY | O_CLOEXEC));
                    if (fds.back() < 0) {
                        std::printf("no descriptor left\n"), std::fflush(stdout);
                        ::_exit(4);
                    }
                }
                for (const int fd : fds) ::close(fd);
            }
        }).detach();
    std::printf("ready\n"), std::fflush(stdout);
    return app.exec();
}

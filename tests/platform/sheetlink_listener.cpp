// Stands in for a running game program in the sheet link tests: listens, prints "ready" and then
// each path it receives, one line each. Arguments: the descriptors it may open beyond those it has
// once listening, and each connection's deadline in ms.
#include "SheetLink.h"
#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>

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
    std::printf("ready\n"), std::fflush(stdout);
    return app.exec();
}

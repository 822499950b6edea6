// Stands in for a running game program in the sheet link tests: listens, prints "ready" (or "taken"
// when a live program holds the name) and then each path it receives, one line each.
//   --deadline MS      the time each connection has for its message
//   --spare-fds N      at most N descriptors beyond those open once it listens
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
    const QStringList args = app.arguments();
    const auto option = [&](const char* name, int fallback) {
        const qsizetype i = args.indexOf(QString::fromLatin1(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1].toInt() : fallback;
    };
    SheetLinkServer server;
    server.SetDeadline(option("--deadline", SheetLinkServer::kDeadlineMs));
    server.OnCopyData = [](const CopyDataMessage& m) {
        QString path;
        if (!PathFromCopyData(m.data, path)) return 0;
        std::printf("%s\n", path.toLocal8Bit().constData());
        std::fflush(stdout);
        return 1;
    };
    if (!server.Listen()) {
        std::printf("taken\n");
        return 2;
    }
    if (const int spare = option("--spare-fds", -1); spare >= 0) {
        // The limit that leaves exactly `spare` numbers free below it (new descriptors take the
        // lowest free number; those open above the limit stay open).
        QSet<int> open;
        for (const QString& fd : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            if (::fcntl(fd.toInt(), F_GETFD) >= 0) open.insert(fd.toInt()); // not the listing's own
        rlim_t limit = 0;
        for (int free = 0; free < spare; ++limit)
            if (!open.contains(int(limit))) ++free;
        rlimit lim {};
        ::getrlimit(RLIMIT_NOFILE, &lim);
        lim.rlim_cur = limit;
        ::setrlimit(RLIMIT_NOFILE, &lim);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

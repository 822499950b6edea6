// Saves one file through SaveStringToFile again and again, 1.5 MB of 'a' and 1 MB of 'b' in turn,
// until it is killed; prints "ready" once the first save is done. For the tests of saves cut short.
#include "UnitCryptAccess.h"
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    // No window is shown unless a save fails, and then the test has failed already.
    QCoreApplication app(argc, argv);
    const QByteArray contents[2] = {QByteArray(3 << 19, 'a'), QByteArray(1 << 20, 'b')};
    for (int i = 0; argc > 1 && SaveStringToFile(QFile::decodeName(argv[1]), contents[i % 2]); ++i)
        if (i == 0) std::printf("ready\n"), std::fflush(stdout);
    return 1;
}

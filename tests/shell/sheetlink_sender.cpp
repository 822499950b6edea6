// Stands in for the picture editor in tests: sends each path of $POLY_SEND_PATHS (one per line) to
// the running game program, as the editor does after opening or saving a sheet, then ends.
#include "SheetLink.h"
#include <QCoreApplication>
#include <QThread>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList paths = qEnvironmentVariable("POLY_SEND_PATHS").split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    int failures = 0;
    for (const QString& p : paths) {
        const auto reply = SendCopyData(0, CopyDataFromPath(p), 3000);
        if (!reply || *reply != 1) ++failures;
        QThread::msleep(10);
    }
    return failures;
}

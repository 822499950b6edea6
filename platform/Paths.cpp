#include "Paths.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString g_override;
}

QString ProgramFile()
{
    if (!g_override.isEmpty()) return g_override;
    return QCoreApplication::applicationFilePath();
}

QString ProgramDir()
{
    const QString f = ProgramFile();
    const int slash = f.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : f.left(slash);
}

void OverrideProgramFile(const QString& path)
{
    g_override = path;
}

QString ExtractFileName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString ExtractFileExt(const QString& path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return dot > slash ? path.mid(dot) : QString();
}

bool FileExists(const QString& path)
{
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}

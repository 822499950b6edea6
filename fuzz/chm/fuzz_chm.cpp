// The help file reader on any bytes: the container checks, the reading in the child process, the
// #SYSTEM and contents parsers and the page decoding.
#include "ChmArchive.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// The input file lives for the whole run; its name is kept in plain storage so that removing it
// at exit does not depend on the order in which static objects are destroyed.
char g_input[4096];

void RemoveInput()
{
    unlink(g_input);
}

QString InputFile()
{
    if (!g_input[0]) {
        const QByteArray tmpl = QFile::encodeName(QDir::tempPath()) + "/fuzz_chm_XXXXXX";
        if (tmpl.size() >= qsizetype(sizeof g_input)) abort();
        memcpy(g_input, tmpl.constData(), size_t(tmpl.size()) + 1);
        const int fd = mkstemp(g_input);
        if (fd < 0) abort();
        close(fd);
        atexit(RemoveInput);
    }
    return QFile::decodeName(g_input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // The parsers alone, on the raw bytes.
    std::vector<ChmDirEntry> entries;
    ReadChmDirectory(bytes, entries);
    ParseChmSystem(bytes);
    ParseSitemap(DecodeHelpText(bytes));
    DecodeHelpPage(bytes);

    // The whole reader, as the help window uses it.
    {
        QFile f(InputFile());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) abort();
        f.write(bytes);
    }
    ChmArchive archive;
    if (archive.Open(InputFile())) {
        archive.DefaultTopic();
        for (const ChmTocEntry& e : archive.Contents()) archive.Contains(e.local.section(QLatin1Char('#'), 0, 0));
        for (const QString& p : archive.Paths()) DecodeHelpPage(archive.Object(p));
    }
    return 0;
}

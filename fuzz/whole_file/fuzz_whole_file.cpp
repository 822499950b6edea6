// The whole-file reader and the one writer on any bytes: what is written is read back exactly,
// under a cap it is refused without a byte read, and nothing but the file is left in its folder.
#include "WholeFile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <cstddef>
#include <cstdint>

namespace {

struct Env {
    Env()
    {
        static int argc = 1;
        static char name[] = "fuzz_whole_file";
        static char* argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
    }
    QCoreApplication* app;
    QTemporaryDir dir;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Env env;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = env.dir.filePath(QStringLiteral("file.bin"));
    if (WriteFileAtomically(path, bytes) != 0) __builtin_trap();
    // Written over with a part of itself: exactly that part, never the rest of the longer file.
    const QByteArray part = bytes.left(bytes.size() / 2);
    if (WriteFileAtomically(path, part) != 0) __builtin_trap();
    QByteArray out = "untouched";
    if (ReadRegularFile(path, part.size(), out) != 0 || out != part) __builtin_trap();
    if (!part.isEmpty()) {
        out = "untouched";
        if (ReadRegularFile(path, part.size() - 1, out) != EFBIG || out != "untouched") __builtin_trap();
    }
    if (QDir(env.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size() != 1) __builtin_trap();
    return 0;
}

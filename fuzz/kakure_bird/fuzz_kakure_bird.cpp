// The hide-and-seek bird picture from the data folder: whatever the file holds, the bird comes out
// at its size, from the file or built in.
#include "Resources.h"
#include "UnitKakure.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

struct Env {
    Env()
    {
        static int argc = 1;
        static char name[] = "fuzz_kakure_bird";
        static char* argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
        InitGameResources();
    }
    QCoreApplication* app;
    QTemporaryDir dir;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Env env;
    const QString path = env.dir.filePath(kBirdFileName);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(reinterpret_cast<const char*>(data), qint64(size));
    f.close();
    TBitmap bird;
    LoadBirdPicture(path, bird);
    if (bird.Width() != kBirdWidth || bird.Height() != kBirdHeight) __builtin_trap();
    volatile QRgb last = bird.Image().pixel(kBirdWidth - 1, kBirdHeight - 1);
    (void)last;
    return 0;
}

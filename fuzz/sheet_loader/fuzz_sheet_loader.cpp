// Player picture sheets from disk: the BMP and JPEG readers, and the sheet loader that picks one
// of them by the file name.
#include "PictureFile.h"
#include "SheetLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

struct Env {
    Env()
    {
        static int argc = 1;
        static char name[] = "fuzz_sheet_loader";
        static char* argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
    }
    QCoreApplication* app;
    QTemporaryDir dir;
};

void checkPicture(const QImage& img)
{
    if (img.isNull()) return;
    if (img.width() <= 0 || img.height() <= 0 || qint64(img.width()) * img.height() > kMaxPicturePixels)
        __builtin_trap();
    // Touch the first and last pixel so a short buffer shows up under the sanitizers.
    volatile QRgb a = img.pixel(0, 0);
    volatile QRgb b = img.pixel(img.width() - 1, img.height() - 1);
    (void)a;
    (void)b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Env env;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    QImage img;
    if (DecodeBmp(bytes, img)) checkPicture(img);
    img = QImage();
    if (DecodeJpeg(bytes, img)) checkPicture(img);

    // Through a file, under both kinds of name; the team sheet is never left empty.
    for (const char* name : {"sheet.bmp", "sheet.JPG"}) {
        const QString path = env.dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) continue;
        f.write(bytes);
        f.close();
        TBitmap sheet;
        LoadTeamSheet(path, QStringLiteral("PLAYER0"), sheet);
        if (sheet.Width() < kCellWidth || sheet.Height() < kCellHeight) __builtin_trap();
    }
    return 0;
}

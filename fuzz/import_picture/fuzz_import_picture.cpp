// The picture import dialog's way of reading a picture: the bytes read as a bitmap or a JPEG by the
// name's extension, any size from one pixel up to the cap; then what the dialog does to what was
// read: the inner-white rule, a cut-out, both erases and a colour effect, with outlines and levels
// taken from the input's first bytes.
#include "PictureImport.h"
#include "SheetFile.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

namespace {

struct Env {
    Env()
    {
        static int argc = 1;
        static char name[] = "fuzz_import_picture";
        static char* argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
    }
    QCoreApplication* app;
};

int Byte(const QByteArray& b, int i)
{
    return b.size() > i ? int(uchar(b[i])) : i * 37;
}

void exercise(const QImage& picture, const QByteArray& bytes)
{
    if (picture.isNull() || picture.width() < 1 || picture.height() < 1 || picture.format() != QImage::Format_RGB32)
        __builtin_trap();
    // Keep the work small: the steps are the same on any size.
    if (qint64(picture.width()) * picture.height() > 1024 * 1024) return;
    QImage work = picture;
    MakeInnerWhiteOpaque(work, RGBColor(255, 254, 255));
    const int w = work.width(), h = work.height();
    TCutOutline o;
    o.Start(TCutShape(Byte(bytes, 0) % 3), QPoint(Byte(bytes, 1) % (w + 9) - 4, Byte(bytes, 2) % (h + 9) - 4));
    for (int i = 3; i < 9; i += 2) o.Extend(QPoint(Byte(bytes, i) % (w + 9) - 4, Byte(bytes, i + 1) % (h + 9) - 4), i == 3);
    const int pen = 1 + Byte(bytes, 9) % 12;
    QImage erased = work;
    if (EraseInside(erased, o, pen) && erased.size() != work.size()) __builtin_trap();
    if (EraseAlong(erased, o, pen) && erased.size() != work.size()) __builtin_trap();
    QImage cut = work;
    const bool encloses = o.EnclosesWithin(work.size());
    if (CutOut(cut, o, pen) != encloses) __builtin_trap();
    if (encloses && (cut.width() > w || cut.height() > h || cut.width() < 1 || cut.height() < 1)) __builtin_trap();
    const QImage effect = ApplyPictureEffect(cut, Byte(bytes, 10) % 201 - 100, Byte(bytes, 11) % 201 - 100, 0, 0);
    if (effect.size() != cut.size()) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Env env;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char* name : {"picture.bmp", "picture.jpg"}) {
        QImage img;
        QString error;
        // As the dialog reads a file: any picture of at least one pixel, a cell of 1 x 1.
        if (DecodeSheet(bytes, SheetFormatOf(QString::fromLatin1(name)), img, error, 1, 1)) exercise(img, bytes);
        else if (error.isEmpty() || !img.isNull()) __builtin_trap();
    }
    return 0;
}

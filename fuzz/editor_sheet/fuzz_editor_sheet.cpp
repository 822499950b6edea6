// The editor's way of opening a player picture sheet: the bytes read as a bitmap or a JPEG by the
// name's extension, held to at least one cell and the size cap, then the inner-white rule and the
// strip's cell operations on what was read; and what is read is written back exactly.
#include "Color.h"
#include "SheetFile.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

namespace {

struct Env {
    Env()
    {
        static int argc = 1;
        static char name[] = "fuzz_editor_sheet";
        static char* argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
    }
    QCoreApplication* app;
};

constexpr TColor kOpaque = RGBColor(255, 254, 255);
constexpr TColor kMarker = RGBColor(255, 254, 254);

void exercise(const QImage& sheet, int cellW, int cellH)
{
    if (sheet.isNull()) return;
    if (sheet.width() < cellW || sheet.height() < cellH || sheet.format() != QImage::Format_RGB32) __builtin_trap();
    // Keep the work small: the rules are the same on any size.
    if (qint64(sheet.width()) * sheet.height() > 4 * 1024 * 1024) return;
    QImage work = sheet;
    MakeInnerWhiteOpaque(work, kOpaque);
    if (work.size() != sheet.size()) __builtin_trap();
    const int cells = SheetCellCount(work, cellW);
    InsertSheetCell(work, cells / 2, cellW, cellH);
    if (SheetCellCount(work, cellW) != cells + 1) __builtin_trap();
    DeleteSheetCell(work, cells / 2, cellW);
    if (work.size() != sheet.size()) __builtin_trap();

    // A bitmap written from it reads back as it was, the marker as pure white.
    QByteArray bytes;
    QString error;
    if (!EncodeSheet(sheet, TSheetFormat::Bmp, kMarker, bytes, error)) __builtin_trap();
    QImage back;
    if (!DecodeSheet(bytes, TSheetFormat::Bmp, back, error, cellW, cellH)) __builtin_trap();
    if (back.size() != sheet.size()) __builtin_trap();
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) {
            const TColor c = FromPixel(sheet.pixel(x, y));
            if (FromPixel(back.pixel(x, y)) != (c == kMarker ? clWhite : c)) __builtin_trap();
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Env env;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (TSheetFormat format : {TSheetFormat::Bmp, TSheetFormat::Jpeg}) {
        // As the editor opens sheets (140 x 70 cells), and with tiny cells so that small inputs
        // reach the steps after the read too.
        for (auto [w, h] : {std::pair{140, 70}, std::pair{2, 2}}) {
            QImage img;
            QString error;
            if (DecodeSheet(bytes, format, img, error, w, h)) exercise(img, w, h);
            else if (error.isEmpty() || !img.isNull()) __builtin_trap();
        }
    }
    return 0;
}

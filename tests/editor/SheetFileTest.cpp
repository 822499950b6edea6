// Player picture sheets on disk and the picture work on whole sheets: the exact bitmap file, the
// three whites through both formats, hostile and odd bitmaps, JPEG errors, the inner-white rule and
// the cell operations of the strip.
#include "SheetFile.h"

#include "PictureFile.h"
#include "TestSupport.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr TColor kOpaque = RGBColor(255, 254, 255);
constexpr TColor kMarker = RGBColor(255, 254, 254);

TColor At(const QImage& img, int x, int y)
{
    return FromPixel(img.pixel(x, y));
}

QImage Blank(int w, int h, TColor c = clWhite)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(ToPixel(c));
    return img;
}

void Put32(QByteArray& d, quint32 v)
{
    for (int i = 0; i < 4; ++i) d.append(char((v >> (8 * i)) & 0xFF));
}

void Put16(QByteArray& d, quint16 v)
{
    d.append(char(v & 0xFF));
    d.append(char(v >> 8));
}

// A bitmap file of the given depth (8 with a palette of the picture's colours, 16 as 5-5-5, 24,
// 32), bottom-up unless topDown.
QByteArray BitmapFile(const QImage& img, int bits, bool topDown = false)
{
    std::vector<QRgb> palette;
    if (bits == 8)
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb p = img.pixel(x, y) | 0xFF000000u;
                if (std::find(palette.begin(), palette.end(), p) == palette.end()) palette.push_back(p);
            }
    const int w = img.width(), h = img.height();
    const int stride = ((w * bits + 31) / 32) * 4;
    const int paletteBytes = int(palette.size()) * 4;
    QByteArray d("BM");
    Put32(d, quint32(54 + paletteBytes + stride * h));
    Put32(d, 0);
    Put32(d, quint32(54 + paletteBytes));
    Put32(d, 40);
    Put32(d, quint32(w));
    Put32(d, quint32(topDown ? -h : h));
    Put16(d, 1);
    Put16(d, quint16(bits));
    Put32(d, 0);
    Put32(d, quint32(stride * h));
    Put32(d, 0);
    Put32(d, 0);
    Put32(d, quint32(palette.size()));
    Put32(d, 0);
    for (QRgb p : palette) {
        d.append(char(qBlue(p)));
        d.append(char(qGreen(p)));
        d.append(char(qRed(p)));
        d.append('\0');
    }
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        const qsizetype start = d.size();
        for (int x = 0; x < w; ++x) {
            const QRgb p = img.pixel(x, y);
            switch (bits) {
            case 8: d.append(char(std::find(palette.begin(), palette.end(), p | 0xFF000000u) - palette.begin())); break;
            case 16: Put16(d, quint16(((qRed(p) >> 3) << 10) | ((qGreen(p) >> 3) << 5) | (qBlue(p) >> 3))); break;
            case 24:
                d.append(char(qBlue(p)));
                d.append(char(qGreen(p)));
                d.append(char(qRed(p)));
                break;
            default:
                d.append(char(qBlue(p)));
                d.append(char(qGreen(p)));
                d.append(char(qRed(p)));
                d.append('\0');
                break;
            }
        }
        while (d.size() - start < stride) d.append('\0');
    }
    return d;
}

// A 140 x 70 picture with the three whites and some colours in known places.
QImage Whites()
{
    QImage img = Blank(140, 70);
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 30; ++x) img.setPixel(x, y, ToPixel(kOpaque));
    for (int y = 10; y < 30; ++y)
        for (int x = 40; x < 60; ++x) img.setPixel(x, y, ToPixel(kMarker));
    for (int y = 40; y < 60; ++y)
        for (int x = 10; x < 130; ++x) img.setPixel(x, y, ToPixel(RGBColor(x, 255 - x, 2 * y)));
    return img;
}

} // namespace

TEST(SheetFile, FormatsByTheirExtensionInLowerCase)
{
    EXPECT_EQ(SheetFormatOf(QStringLiteral("/a/チーム.bmp")), TSheetFormat::Bmp);
    EXPECT_EQ(SheetFormatOf(QStringLiteral("/a/チーム.BMP")), TSheetFormat::Bmp);
    EXPECT_EQ(SheetFormatOf(QStringLiteral("x.Jpg")), TSheetFormat::Jpeg);
    for (const char* name : {"x.jpeg", "x.png", "x", "/a.bmp/x", "x.bmp.txt"})
        EXPECT_EQ(SheetFormatOf(QString::fromUtf8(name)), TSheetFormat::None) << name;
    EXPECT_EQ(CompleteSheetName(QStringLiteral("/s/new"), TSheetFormat::Bmp), QStringLiteral("/s/new.bmp"));
    EXPECT_EQ(CompleteSheetName(QStringLiteral("/s/new.png"), TSheetFormat::Jpeg), QStringLiteral("/s/new.png.jpg"));
    EXPECT_EQ(CompleteSheetName(QStringLiteral("/s/new.JPG"), TSheetFormat::Bmp), QStringLiteral("/s/new.JPG"));
}

TEST(SheetFile, TheBitmapFileHasTheExactHeader)
{
    // 3 x 2: rows of 9 bytes padded to 12, bottom row first.
    QImage img = Blank(3, 2);
    img.setPixel(0, 0, qRgb(1, 2, 3));
    img.setPixel(2, 1, qRgb(10, 20, 30));
    QByteArray bytes;
    QString error;
    ASSERT_TRUE(EncodeSheet(img, TSheetFormat::Bmp, kMarker, bytes, error));
    const unsigned char header[54] = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0,
                                      24,  0,   0,  0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(bytes.size(), 78);
    EXPECT_EQ(bytes.left(54), QByteArray(reinterpret_cast<const char*>(header), 54));
    const unsigned char rows[24] = {255, 255, 255, 255, 255, 255, 30, 20, 10, 0, 0, 0,
                                    3,   2,   1,   255, 255, 255, 255, 255, 255, 0, 0, 0};
    EXPECT_EQ(bytes.mid(54), QByteArray(reinterpret_cast<const char*>(rows), 24));
}

TEST(SheetFile, TheThreeWhitesThroughABitmapFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("白.bmp"));
    QString error;
    ASSERT_TRUE(WriteSheetFile(path, Whites(), kMarker, error)) << error.toStdString();
    QImage back;
    ASSERT_TRUE(ReadSheetFile(path, back, error)) << error.toStdString();
    ASSERT_EQ(back.size(), QSize(140, 70));
    QImage expected = Whites();
    for (int y = 10; y < 30; ++y)
        for (int x = 40; x < 60; ++x) expected.setPixel(x, y, ToPixel(clWhite)); // the marker leaves as pure white
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 140; ++x) ASSERT_EQ(At(back, x, y), At(expected, x, y)) << x << "," << y;
    EXPECT_EQ(At(back, 15, 15), kOpaque);
    // The file is exactly what the writer makes: no temporary file is left beside it.
    EXPECT_EQ(ReadFile(path), EncodeBmp24(expected));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(SheetFile, BitmapsOfEveryDepthAndOrientation)
{
    QImage img = Blank(140, 70);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 70; ++x) img.setPixel(x, y, ToPixel((x / 10 + y / 10) % 2 ? clRed : clBlue));
    img.setPixel(100, 5, ToPixel(kOpaque));
    struct Case {
        int bits;
        bool topDown;
    } cases[] = {{8, false}, {8, true}, {16, false}, {24, false}, {24, true}, {32, false}, {32, true}};
    for (const Case& c : cases) {
        QImage out;
        QString error;
        ASSERT_TRUE(DecodeSheet(BitmapFile(img, c.bits, c.topDown), TSheetFormat::Bmp, out, error))
            << c.bits << " " << c.topDown << " " << error.toStdString();
        ASSERT_EQ(out.size(), QSize(140, 70));
        EXPECT_EQ(At(out, 5, 5), clBlue) << c.bits;
        EXPECT_EQ(At(out, 15, 5), clRed) << c.bits;
        EXPECT_EQ(At(out, 5, 65), clBlue) << c.bits;
        EXPECT_EQ(At(out, 15, 65), clRed) << c.bits;
        EXPECT_EQ(At(out, 120, 60), clWhite) << c.bits;
        // 5 bits a channel cannot hold the near-white; every other depth keeps it exactly.
        if (c.bits != 16) {
            EXPECT_EQ(At(out, 100, 5), kOpaque) << c.bits;
        }
    }
}

TEST(SheetFile, SixteenBitWhiteStaysTransparent)
{
    // 5-6-5 bit fields: full channels are pure white, half green a mid grey-green.
    QByteArray d("BM");
    const int stride = 140 * 2;
    Put32(d, quint32(66 + stride * 70));
    Put32(d, 0);
    Put32(d, 66);
    Put32(d, 40);
    Put32(d, 140);
    Put32(d, 70);
    Put16(d, 1);
    Put16(d, 16);
    Put32(d, 3);
    Put32(d, quint32(stride * 70));
    for (int i = 0; i < 4; ++i) Put32(d, 0);
    Put32(d, 0xF800);
    Put32(d, 0x07E0);
    Put32(d, 0x001F);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 140; ++x) Put16(d, x < 70 ? 0xFFFF : quint16(32 << 5));
    QImage out;
    QString error;
    ASSERT_TRUE(DecodeSheet(d, TSheetFormat::Bmp, out, error)) << error.toStdString();
    EXPECT_EQ(At(out, 10, 10), clWhite);
    EXPECT_EQ(At(out, 100, 10), RGBColor(0, 130, 0));
}

TEST(SheetFile, HostileAndShortBitmapsAreRefused)
{
    const QByteArray good = BitmapFile(Blank(140, 70), 24);
    QImage out = Blank(1, 1, clRed);
    QString error;
    // Every truncation fails and leaves the output alone.
    for (int n : {0, 2, 13, 30, 53, 54, 55, int(good.size()) / 2, int(good.size()) - 1}) {
        EXPECT_FALSE(DecodeSheet(good.left(n), TSheetFormat::Bmp, out, error)) << n;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(out.size(), QSize(1, 1));
    }
    // A header asking for more than the size cap is refused before anything is allocated.
    QByteArray huge = good;
    const quint32 side = 100000;
    for (int i = 0; i < 4; ++i) {
        huge[18 + i] = char((side >> (8 * i)) & 0xFF);
        huge[22 + i] = char((side >> (8 * i)) & 0xFF);
    }
    EXPECT_FALSE(DecodeSheet(huge, TSheetFormat::Bmp, out, error));
    EXPECT_EQ(error, QStringLiteral("画像が大きすぎます。"));
    // Smaller than one cell: no sheet.
    for (QSize s : {QSize(139, 70), QSize(140, 69), QSize(1, 1)}) {
        EXPECT_FALSE(DecodeSheet(BitmapFile(Blank(s.width(), s.height()), 24), TSheetFormat::Bmp, out, error));
        EXPECT_TRUE(error.contains(QStringLiteral("小さすぎます"))) << error.toStdString();
    }
    // A taller picture, and one with columns past its last cell, are sheets.
    ASSERT_TRUE(DecodeSheet(BitmapFile(Blank(300, 80), 24), TSheetFormat::Bmp, out, error));
    EXPECT_EQ(SheetCellCount(out, 140), 2);
    // Neither extension: nothing is read.
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("x.png")), good);
    EXPECT_FALSE(ReadSheetFile(dir.filePath(QStringLiteral("x.png")), out, error));
    EXPECT_TRUE(error.contains(QStringLiteral(".bmp")));
    EXPECT_FALSE(ReadSheetFile(dir.filePath(QStringLiteral("none.bmp")), out, error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(SheetFile, JpegKeepsTheSizeAndFlatWhite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("team.jpg"));
    QImage img = Blank(280, 70);
    for (int y = 20; y < 50; ++y)
        for (int x = 160; x < 200; ++x) img.setPixel(x, y, ToPixel(clBlue));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 140; ++x) img.setPixel(x, y, ToPixel(kMarker));
    QString error;
    ASSERT_TRUE(WriteSheetFile(path, img, kMarker, error)) << error.toStdString();
    const QByteArray bytes = ReadFile(path);
    ASSERT_GE(bytes.size(), 4);
    EXPECT_EQ(quint8(bytes[0]), 0xFF);
    EXPECT_EQ(quint8(bytes[1]), 0xD8);
    QImage back;
    ASSERT_TRUE(ReadSheetFile(path, back, error)) << error.toStdString();
    EXPECT_EQ(back.size(), QSize(280, 70));
    // Flat white, the marker's rows included, stays white enough to be taken as white.
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 150; ++x) {
            const QRgb p = back.pixel(x, y);
            ASSERT_GE(std::min({qRed(p), qGreen(p), qBlue(p)}), 254) << x << "," << y;
        }
    const QRgb blue = back.pixel(180, 35);
    EXPECT_LE(qRed(blue), 4);
    EXPECT_GE(qBlue(blue), 250);
}

TEST(SheetFile, ABrokenJpegSaysWhichLibraryError)
{
    QByteArray jpg;
    ASSERT_TRUE(EncodeJpeg(Blank(140, 70), 100, jpg));
    QImage out;
    QString error;
    const QRegularExpression code(QStringLiteral("^JPEG エラー #\\d+$"));
    for (const QByteArray& bad : {QByteArray("not a jpeg at all"), jpg.left(20), QByteArray(), jpg.left(2) + QByteArray(100, 'x')}) {
        EXPECT_FALSE(DecodeSheet(bad, TSheetFormat::Jpeg, out, error));
        EXPECT_TRUE(code.match(error).hasMatch()) << error.toStdString();
        EXPECT_TRUE(out.isNull());
    }
}

TEST(SheetFile, InnerWhiteBecomesVisible)
{
    // A black square outline (20, 10)-(50, 40) with white inside, on pure white.
    auto outlined = [](const std::vector<QPoint>& gaps) {
        QImage img = Blank(140, 70);
        for (int i = 20; i <= 50; ++i) {
            img.setPixel(i, 10, ToPixel(clBlack));
            img.setPixel(i, 40, ToPixel(clBlack));
        }
        for (int i = 10; i <= 40; ++i) {
            img.setPixel(20, i, ToPixel(clBlack));
            img.setPixel(50, i, ToPixel(clBlack));
        }
        for (QPoint g : gaps) img.setPixel(g, ToPixel(clWhite));
        return img;
    };
    struct Case {
        const char* name;
        std::vector<QPoint> gaps;
        TColor inside;
    } cases[] = {
        {"closed", {}, kOpaque},
        // Only the corner is open: the inside touches it diagonally, which no fill passes.
        {"diagonal gap", {QPoint(20, 10)}, kOpaque},
        {"gap in an edge", {QPoint(35, 10)}, clWhite},
    };
    for (const Case& c : cases) {
        QImage img = outlined(c.gaps);
        MakeInnerWhiteOpaque(img, kOpaque);
        EXPECT_EQ(At(img, 35, 25), c.inside) << c.name;
        EXPECT_EQ(At(img, 21, 11), c.inside) << c.name;
        EXPECT_EQ(At(img, 5, 5), clWhite) << c.name;
        EXPECT_EQ(At(img, 139, 69), clWhite) << c.name;
        EXPECT_EQ(At(img, 20, 20), clBlack) << c.name;
    }
    // Near-white that touches the border turns transparent too; other colours stay.
    QImage img = Blank(140, 70, kOpaque);
    img.setPixel(70, 35, ToPixel(clRed));
    MakeInnerWhiteOpaque(img, kOpaque);
    EXPECT_EQ(At(img, 0, 0), clWhite);
    EXPECT_EQ(At(img, 69, 35), clWhite);
    EXPECT_EQ(At(img, 70, 35), clRed);
}

TEST(SheetFile, CellsAreInsertedAndDeleted)
{
    // Three cells coloured by their index, and 20 spare columns.
    QImage sheet = Blank(3 * 140 + 20, 70);
    const TColor colours[] = {clRed, clLime, clBlue};
    for (int k = 0; k < 3; ++k)
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 140; ++x) sheet.setPixel(140 * k + x, y, ToPixel(colours[k]));
    InsertSheetCell(sheet, 1, 140, 70);
    ASSERT_EQ(sheet.width(), 4 * 140 + 20);
    EXPECT_EQ(At(sheet, 139, 0), clRed);
    EXPECT_EQ(At(sheet, 140, 0), clWhite);
    EXPECT_EQ(At(sheet, 279, 69), clWhite);
    EXPECT_EQ(At(sheet, 280, 0), clLime);
    EXPECT_EQ(At(sheet, 420, 0), clBlue);
    EXPECT_EQ(SheetCellCount(sheet, 140), 4);
    // At the end.
    InsertSheetCell(sheet, 4, 140, 70);
    EXPECT_EQ(At(sheet, 560, 0), clWhite);
    EXPECT_EQ(At(sheet, 559, 0), clBlue);
    DeleteSheetCell(sheet, 4, 140);
    DeleteSheetCell(sheet, 0, 140);
    ASSERT_EQ(sheet.width(), 3 * 140 + 20);
    EXPECT_EQ(At(sheet, 0, 0), clWhite);
    EXPECT_EQ(At(sheet, 140, 0), clLime);
    EXPECT_EQ(At(sheet, 280, 0), clBlue);
    // The last cell of a sheet is never deleted.
    QImage one = Blank(140, 70);
    DeleteSheetCell(one, 0, 140);
    EXPECT_EQ(one.width(), 140);
}

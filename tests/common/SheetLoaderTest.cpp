#include "SheetLoader.h"

#include "PictureFile.h"
#include "Resources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 3) & 0xFF, (y * 5) & 0xFF, (x + y) & 0xFF));
    return img;
}

// A sheet in flat colour areas, which JPEG keeps nearly exact.
QImage blocks(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    for (int y = 16; y < 48; ++y)
        for (int x = 16; x < 48; ++x) img.setPixel(x, y, qRgb(0, 0, 255));
    return img;
}

// The built-in sheet of a team as the loader must fall back to it.
QImage expectedBuiltIn(const QString& resource)
{
    const QImage res = ResourceBitmap(resource);
    if (!res.isNull()) return res;
    QImage white(1260, 70, QImage::Format_RGB32);
    white.fill(qRgb(255, 255, 255));
    return white;
}

class SheetLoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitGameResources(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QString write(const QString& name, const QByteArray& data) const
    {
        WriteFile(file(name), data);
        return file(name);
    }
    void expectFallback(const QString& path, const QString& resource = QStringLiteral("PLAYER0")) const
    {
        TBitmap sheet(3, 3);
        LoadTeamSheet(path, resource, sheet);
        const QImage expected = expectedBuiltIn(resource);
        EXPECT_EQ(sheet.Width(), expected.width()) << path.toStdString();
        EXPECT_EQ(sheet.Height(), expected.height()) << path.toStdString();
        EXPECT_EQ(sheet.Image(), expected) << path.toStdString();
    }
    QTemporaryDir m_dir;
};

QByteArray bmpHeader(qint32 width, qint32 height, quint16 bits, quint32 offBits = 54, quint32 compression = 0,
                     quint32 infoSize = 40)
{
    QByteArray d(54, '\0');
    d[0] = 'B';
    d[1] = 'M';
    auto p32 = [&](int at, quint32 v) { qToLittleEndian<quint32>(v, d.data() + at); };
    p32(2, 54);
    p32(10, offBits);
    p32(14, infoSize);
    p32(18, quint32(width));
    p32(22, quint32(height));
    qToLittleEndian<quint16>(1, d.data() + 26);
    qToLittleEndian<quint16>(bits, d.data() + 28);
    p32(30, compression);
    return d;
}

} // namespace

TEST_F(SheetLoaderTest, BitmapSheetLoadsUnderAnyNameButJpg)
{
    const QImage img = pattern(280, 70);
    const QByteArray bmp = EncodeBmp24(img);
    QDir(m_dir.path()).mkpath(QStringLiteral("folder.jpg"));
    // A folder whose name looks like a JPEG says nothing about the file in it.
    for (const char* name : {"sheet.bmp", "sheet.BMP", "sheet.png", "sheet", "sheet.jpeg", "folder.jpg/sheet"}) {
        SCOPED_TRACE(name);
        const QString path = write(QString::fromUtf8(name), bmp);
        TBitmap sheet;
        QString error;
        ASSERT_TRUE(LoadSheetFile(path, sheet, &error)) << error.toStdString();
        EXPECT_EQ(sheet.Image(), img);
        EXPECT_EQ(SheetPlayerCount(sheet), 2);
        TBitmap team;
        LoadTeamSheet(path, QStringLiteral("PLAYER1"), team);
        EXPECT_EQ(team.Image(), img);
    }
}

TEST_F(SheetLoaderTest, JpgNameIsDecodedAsJpegAndJpegNameIsNot)
{
    const QImage img = blocks(140, 70);
    QByteArray jpeg;
    ASSERT_TRUE(EncodeJpeg(img, 100, jpeg));
    for (const char* name : {"sheet.jpg", "sheet.JPG", "シート.Jpg"}) {
        SCOPED_TRACE(name);
        const QString path = write(QString::fromUtf8(name), jpeg);
        TBitmap sheet;
        ASSERT_TRUE(LoadSheetFile(path, sheet));
        ASSERT_EQ(sheet.Width(), 140);
        ASSERT_EQ(sheet.Height(), 70);
        EXPECT_EQ(sheet.Image().pixel(2, 2), qRgb(255, 255, 255));
        const QRgb blue = sheet.Image().pixel(30, 30);
        EXPECT_LE(qRed(blue), 8);
        EXPECT_GE(qBlue(blue), 247);
        TBitmap team;
        LoadTeamSheet(path, QStringLiteral("PLAYER0"), team);
        EXPECT_EQ(team.Image(), sheet.Image());
    }
    // The same bytes under ".jpeg" go to the bitmap reader, which refuses them.
    const QString jpegName = write(QStringLiteral("sheet.jpeg"), jpeg);
    TBitmap sheet;
    QString error;
    EXPECT_FALSE(LoadSheetFile(jpegName, sheet, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(sheet.Empty());
    expectFallback(jpegName);
    // And a bitmap named ".jpg" is no JPEG.
    const QString bmpAsJpg = write(QStringLiteral("bitmap.jpg"), EncodeBmp24(pattern(140, 70)));
    EXPECT_FALSE(LoadSheetFile(bmpAsJpg, sheet, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("JPEG エラー #"))) << error.toStdString();
    expectFallback(bmpAsJpg, QStringLiteral("PLAYER1"));
}

TEST_F(SheetLoaderTest, MissingAndBrokenFilesFallBackToTheBuiltInSheet)
{
    const QByteArray bmp = EncodeBmp24(pattern(280, 70));
    QByteArray jpeg;
    ASSERT_TRUE(EncodeJpeg(blocks(280, 70), 100, jpeg));
    expectFallback(QString());
    expectFallback(file(QStringLiteral("missing.bmp")));
    expectFallback(m_dir.path()); // a folder is no sheet
    expectFallback(write(QStringLiteral("empty.bmp"), QByteArray()));
    expectFallback(write(QStringLiteral("garbage.bmp"), QByteArray(5000, '\x5A')));
    expectFallback(write(QStringLiteral("garbage.jpg"), QByteArray(5000, '\x5A')));
    for (qsizetype cut : {1, 2, 13, 14, 30, 53, 54, 55, 1000, 20000, 58000}) {
        SCOPED_TRACE(cut);
        expectFallback(write(QStringLiteral("cut.bmp"), bmp.left(std::min(cut, bmp.size() - 1))));
        expectFallback(write(QStringLiteral("cut.jpg"), jpeg.left(std::min<qsizetype>(cut, 300))));
    }
    // Corrupt pixel data in a JPEG whose header survives.
    QByteArray scrambled = jpeg;
    for (qsizetype i = jpeg.size() / 2; i < jpeg.size() - 2; i += 7) scrambled[i] = char(0xFF);
    TBitmap s;
    if (!LoadSheetFile(write(QStringLiteral("scrambled.jpg"), scrambled), s)) expectFallback(file(QStringLiteral("scrambled.jpg")));
}

TEST_F(SheetLoaderTest, SheetsSmallerThanOneCellFallBack)
{
    struct Row {
        int w, h;
        bool kept;
    };
    const Row rows[] = {{100, 50, false}, {139, 70, false}, {140, 69, false}, {140, 70, true}, {300, 80, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.w * 1000 + r.h);
        const QImage img = pattern(r.w, r.h);
        const QString path = write(QStringLiteral("small.bmp"), EncodeBmp24(img));
        if (r.kept) {
            TBitmap sheet;
            LoadTeamSheet(path, QStringLiteral("PLAYER0"), sheet);
            EXPECT_EQ(sheet.Image(), img);
        } else {
            expectFallback(path);
        }
    }
}

TEST_F(SheetLoaderTest, WithoutTheResourceTheSheetIsWhite)
{
    TBitmap sheet;
    LoadTeamSheet(file(QStringLiteral("missing.bmp")), QStringLiteral("NO_SUCH_SHEET"), sheet);
    ASSERT_EQ(sheet.Width(), 1260);
    ASSERT_EQ(sheet.Height(), 70);
    EXPECT_EQ(SheetPlayerCount(sheet), 9);
    for (int x : {0, 700, 1259}) EXPECT_EQ(sheet.Image().pixel(x, 69), qRgb(255, 255, 255));
}

TEST(SheetPlayerCount, WholeCellsOnly)
{
    const std::pair<int, int> rows[] = {{0, 0}, {139, 0}, {140, 1}, {209, 1}, {279, 1}, {280, 2}, {1260, 9}};
    for (auto [w, n] : rows) EXPECT_EQ(SheetPlayerCount(TBitmap(w, 70)), n) << w;
}

TEST(DecodeBmp, HostileHeadersAreRefused)
{
    struct Row {
        const char* what;
        QByteArray data;
    };
    QByteArray shortInfo = bmpHeader(2, 2, 24);
    shortInfo.truncate(30);
    const Row rows[] = {
        {"huge", bmpHeader(60000, 60000, 24) + QByteArray(64, '\0')},
        {"huge negative height", bmpHeader(1 << 20, -(1 << 20), 24) + QByteArray(64, '\0')},
        {"just over the cap", bmpHeader(8193, 8192, 1) + QByteArray(64, '\0')},
        {"max width", bmpHeader(0x7FFFFFFF, 1, 32) + QByteArray(64, '\0')},
        {"negative width", bmpHeader(-5, 2, 24) + QByteArray(64, '\0')},
        {"zero width", bmpHeader(0, 2, 24) + QByteArray(64, '\0')},
        {"zero height", bmpHeader(2, 0, 24) + QByteArray(64, '\0')},
        {"min height", bmpHeader(2, std::numeric_limits<qint32>::min(), 24) + QByteArray(64, '\0')},
        {"offset past the end", bmpHeader(2, 2, 24, 5000) + QByteArray(16, '\0')},
        {"offset inside the header", bmpHeader(2, 2, 24, 20) + QByteArray(16, '\0')},
        {"offset at the last byte", bmpHeader(2, 2, 24, 69) + QByteArray(16, '\0')},
        {"bits 0", bmpHeader(2, 2, 0) + QByteArray(16, '\0')},
        {"bits 7", bmpHeader(2, 2, 7) + QByteArray(16, '\0')},
        {"bits 64", bmpHeader(2, 2, 64) + QByteArray(64, '\0')},
        {"rows missing", bmpHeader(100, 100, 24) + QByteArray(100, '\0')},
        {"unknown compression", bmpHeader(2, 2, 24, 54, 9) + QByteArray(16, '\0')},
        {"info size huge", bmpHeader(2, 2, 24, 54, 0, 0xFFFFFFF0u) + QByteArray(16, '\0')},
        {"info size past the end", bmpHeader(2, 2, 24, 54, 0, 124) + QByteArray(16, '\0')},
        {"info size odd", bmpHeader(2, 2, 24, 54, 0, 13) + QByteArray(16, '\0')},
        {"header cut", shortInfo},
        {"not BM", QByteArray("PM") + bmpHeader(2, 2, 24).mid(2) + QByteArray(16, '\0')},
    };
    for (const Row& r : rows) {
        QImage out(1, 1, QImage::Format_RGB32);
        out.fill(qRgb(1, 2, 3));
        QString error;
        QElapsedTimer t;
        t.start();
        EXPECT_FALSE(DecodeBmp(r.data, out, &error)) << r.what;
        EXPECT_FALSE(error.isEmpty()) << r.what;
        // Refused from the header alone: the output is untouched and nothing big was built.
        EXPECT_EQ(out.size(), QSize(1, 1)) << r.what;
        EXPECT_LT(t.elapsed(), 1000) << r.what;
    }
    // The sound one beside them loads.
    QByteArray good = bmpHeader(2, 2, 24) + QByteArray(16, '\x40');
    QImage out;
    EXPECT_TRUE(DecodeBmp(good, out));
    EXPECT_EQ(out.size(), QSize(2, 2));
}

// The game program's generated pictures as the forms load them, and the sample sheets in the data
// folder as the sheet loader reads them.
#include "Canvas.h"
#include "PictureFile.h"
#include "Resources.h"
#include "TestSupport.h"
#include <QFile>
#include <QImage>
#include <QSet>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kTransparent = 0xFFFFFFFFu;

class Resources : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitGameResources(); }
};

bool isClear(const QImage& img, int x, int y)
{
    return img.pixel(x, y) == kTransparent;
}

int figurePixels(const QImage& img, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += !isClear(img, x, y);
    return n;
}

// Transparent all round the edge of the rectangle: nothing is cut off at the frame's border, so
// mirrored, rotated and stretched frames show the whole figure.
bool clearBorder(const QImage& img, const QRect& r)
{
    for (int x = r.left(); x <= r.right(); ++x)
        if (!isClear(img, x, r.top()) || !isClear(img, x, r.bottom())) return false;
    for (int y = r.top(); y <= r.bottom(); ++y)
        if (!isClear(img, r.left(), y) || !isClear(img, r.right(), y)) return false;
    return true;
}

QImage frameOf(const QImage& sheet, int player, int frame)
{
    return sheet.copy(140 * player + 70 * frame, 0, 70, 70);
}

// Every frame of a sheet holds a whole figure on a transparent ground; the frames of one player
// differ (the moving pose), and so do all players.
void expectSheet(const QImage& sheet, int players, const char* what)
{
    SCOPED_TRACE(what);
    ASSERT_EQ(sheet.width(), 140 * players);
    ASSERT_EQ(sheet.height(), 70);
    QSet<QByteArray> standing;
    for (int k = 0; k < players; ++k) {
        for (int f = 0; f < 2; ++f) {
            const QRect r(140 * k + 70 * f, 0, 70, 70);
            EXPECT_GE(figurePixels(sheet, r), 700) << "player " << k << " frame " << f;
            EXPECT_TRUE(clearBorder(sheet, r)) << "player " << k << " frame " << f;
        }
        EXPECT_NE(frameOf(sheet, k, 0), frameOf(sheet, k, 1)) << "player " << k;
        const QImage stand = frameOf(sheet, k, 0);
        standing.insert(QByteArray(reinterpret_cast<const char*>(stand.constBits()), stand.sizeInBytes()));
    }
    EXPECT_EQ(standing.size(), players) << "two players look the same";
}

TEST_F(Resources, EveryPictureIsThereInItsSize)
{
    struct Expect {
        const char* name;
        int w, h;
    };
    const Expect all[] = {
        {"PLAYER0", 1260, 70}, {"PLAYER1", 1260, 70},
        {"ICONPK", 70, 70}, {"ICONKAKURE", 70, 70}, {"ICONRUN", 70, 70}, {"ICONGOLF", 70, 70}, {"ICONMATO", 70, 70},
        {"ICONHUR", 70, 70}, {"ICONBASEBALL", 70, 70}, {"ICONSOCCER", 70, 70}, {"ICONKONGOU3", 70, 70},
        {"ANIME00", 70, 70}, {"ANIME01", 70, 70}, {"ANIME02", 70, 70}, {"ANIME03", 70, 70}, {"ANIME04", 70, 70},
        {"ANIME05", 70, 70}, {"ANIME06", 70, 70}, {"ANIME07", 70, 70}, {"ANIME08", 70, 70}, {"ANIME09", 70, 70},
        {"ANIME10", 70, 70}, {"ANIME11", 70, 70},
        {"HAIKEIW", 340, 240}, {"HAIKEIL", 340, 240}, {"HAIKEIT", 340, 240},
        {"EFFECT0", 20, 30}, {"EFFECT1", 20, 30}, {"FIRE0", 30, 30}, {"FIRE1", 30, 30},
    };
    for (const Expect& e : all) {
        const QImage img = ResourceBitmap(QString::fromLatin1(e.name));
        ASSERT_FALSE(img.isNull()) << e.name;
        EXPECT_EQ(img.size(), QSize(e.w, e.h)) << e.name;
        EXPECT_EQ(img.format(), QImage::Format_RGB32) << e.name;
    }
    // The chooser's picture is ours to size, within what its dialog has room for.
    const QImage jusin = ResourceBitmap(QStringLiteral("JUSIN"));
    ASSERT_FALSE(jusin.isNull());
    EXPECT_TRUE(jusin.width() >= 64 && jusin.width() <= 96 && jusin.height() >= 64 && jusin.height() <= 96) << jusin.width() << "x" << jusin.height();
}

TEST_F(Resources, DefaultSheetsHoldNineWholeDistinctPlayers)
{
    const QImage mine = ResourceBitmap(QStringLiteral("PLAYER0"));
    const QImage theirs = ResourceBitmap(QStringLiteral("PLAYER1"));
    expectSheet(mine, 9, "PLAYER0");
    expectSheet(theirs, 9, "PLAYER1");
    EXPECT_NE(mine, theirs);
}

TEST_F(Resources, TeamsWearDifferentColours)
{
    // The most frequent bright colour of a sheet (outlines, hair and shadows are dark) is its
    // shirt; the two teams must not share it.
    auto mainColour = [](const QImage& sheet) {
        QHash<QRgb, int> n;
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x) {
                const QRgb c = sheet.pixel(x, y);
                if (c != kTransparent && qGray(c) > 70) ++n[c];
            }
        QRgb best = 0;
        for (auto it = n.cbegin(); it != n.cend(); ++it)
            if (it.value() > n.value(best)) best = it.key();
        return best;
    };
    const QRgb a = mainColour(ResourceBitmap(QStringLiteral("PLAYER0")));
    const QRgb b = mainColour(ResourceBitmap(QStringLiteral("PLAYER1")));
    const int distance = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    EXPECT_GT(distance, 150) << std::hex << a << " " << b;
}

TEST_F(Resources, CheeringFiguresAndMarksStandOnTransparentGround)
{
    for (int k = 0; k < 12; ++k) {
        const QString name = QStringLiteral("ANIME%1").arg(k, 2, 10, QLatin1Char('0'));
        const QImage img = ResourceBitmap(name);
        ASSERT_FALSE(img.isNull()) << name.toStdString();
        EXPECT_TRUE(clearBorder(img, img.rect())) << name.toStdString();
        EXPECT_GE(figurePixels(img, img.rect()), 700) << name.toStdString();
    }
    // Each figure's two pictures are the two steps of one animation.
    for (int k = 0; k < 6; ++k)
        EXPECT_NE(ResourceBitmap(QStringLiteral("ANIME%1").arg(2 * k, 2, 10, QLatin1Char('0'))),
                  ResourceBitmap(QStringLiteral("ANIME%1").arg(2 * k + 1, 2, 10, QLatin1Char('0'))))
            << "figure " << k;
    for (const char* name : {"EFFECT0", "EFFECT1", "FIRE0", "FIRE1"}) {
        const QImage img = ResourceBitmap(QString::fromLatin1(name));
        ASSERT_FALSE(img.isNull()) << name;
        const int w = img.width() - 1, h = img.height() - 1;
        EXPECT_TRUE(isClear(img, 0, 0) && isClear(img, w, 0) && isClear(img, 0, h) && isClear(img, w, h)) << name;
        EXPECT_GE(figurePixels(img, img.rect()), 60) << name;
    }
    EXPECT_NE(ResourceBitmap(QStringLiteral("FIRE0")), ResourceBitmap(QStringLiteral("FIRE1")));
}

TEST_F(Resources, OpaquePicturesCoverTheirWholeArea)
{
    // Icons, backgrounds and the chooser's picture are shown opaque: a stray transparent hole would
    // show as a white speck wherever an image list or a transparent draw uses them.
    for (const char* name : {"ICONPK", "ICONKAKURE", "ICONRUN", "ICONGOLF", "ICONMATO", "ICONHUR", "ICONBASEBALL", "ICONSOCCER",
                             "ICONKONGOU3", "HAIKEIW", "HAIKEIL", "HAIKEIT", "JUSIN"}) {
        const QImage img = ResourceBitmap(QString::fromLatin1(name));
        ASSERT_FALSE(img.isNull()) << name;
        EXPECT_EQ(figurePixels(img, img.rect()), img.width() * img.height()) << name;
    }
}

// ---- Sample sheets -------------------------------------------------------------------------------

QString sampleDir()
{
    return BuildDir() + QStringLiteral("/画像と音声/ゲームの選手画像/");
}

TEST_F(Resources, SampleSheetsAre24BitBitmapsOfWholeCells)
{
    QSet<QByteArray> seen;
    for (const char* file : {"サンプル選手画像11.bmp", "サンプル選手画像12.bmp", "サンプル選手画像03.bmp"}) {
        SCOPED_TRACE(file);
        const QString path = sampleDir() + QString::fromUtf8(file);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray d = f.readAll();
        ASSERT_GE(d.size(), 54);
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(d.constData() + at); };
        const auto i32 = [&](int at) { return qFromLittleEndian<qint32>(d.constData() + at); };
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(d.constData() + at); };
        EXPECT_EQ(d.left(2), QByteArray("BM"));
        EXPECT_EQ(u32(2), quint32(d.size()));
        EXPECT_EQ(u32(10), 54u);
        EXPECT_EQ(u32(14), 40u);
        const qint32 w = i32(18), h = i32(22);
        EXPECT_GT(w, 0);
        EXPECT_EQ(w % 140, 0) << w;
        EXPECT_EQ(h, 70);   // positive: rows bottom-up
        EXPECT_EQ(u16(26), 1);
        EXPECT_EQ(u16(28), 24);
        EXPECT_EQ(u32(30), 0u);
        const qint64 stride = (qint64(w) * 3 + 3) / 4 * 4;
        EXPECT_EQ(d.size(), 54 + stride * 70);

        QImage sheet;
        ASSERT_TRUE(DecodeBmp(d, sheet));
        const int players = w / 140;
        EXPECT_GE(players, 6);
        EXPECT_LE(players, 9);
        expectSheet(sheet, players, file);
        EXPECT_NE(sheet, ResourceBitmap(QStringLiteral("PLAYER0")));
        EXPECT_NE(sheet, ResourceBitmap(QStringLiteral("PLAYER1")));
        seen.insert(d);
    }
    EXPECT_EQ(seen.size(), 3) << "two sample sheets are the same";
}

TEST_F(Resources, SampleSheetRowsAreStoredBottomUp)
{
    // The top-left corner of a sheet is transparent and its figures stand on the bottom: the last
    // stored row (the picture's top) is all white, and some early stored row (near the feet) is not.
    QFile f(sampleDir() + QStringLiteral("サンプル選手画像11.bmp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray d = f.readAll();
    ASSERT_GT(d.size(), 54);
    const qint32 w = qFromLittleEndian<qint32>(d.constData() + 18);
    const qint64 stride = (qint64(w) * 3 + 3) / 4 * 4;
    ASSERT_EQ(d.size(), 54 + stride * 70);
    const QByteArray top = d.mid(int(54 + stride * 69), int(w) * 3);
    EXPECT_EQ(top, QByteArray(top.size(), char(0xFF)));
    bool feet = false;
    for (int row = 0; row < 12 && !feet; ++row) {
        const QByteArray line = d.mid(int(54 + stride * row), int(w) * 3);
        feet = line != QByteArray(line.size(), char(0xFF));
    }
    EXPECT_TRUE(feet);
}

} // namespace

// The picture offset file's text: comma text both ways, line endings, sheet keys, the lookup with its
// malformed lines and the merge that keeps every other line byte for byte.
#include "PictureOffsetFile.h"
#include "Sjis.h"
#include <gtest/gtest.h>

using namespace bb;

namespace {

// Offsets that differ from the defaults in every number.
TPictureOffsets Moved(int d)
{
    TPictureOffsets o;
    for (int item = 0; item < kAdjustItems; ++item) AdjustItem(o, item) += QPoint(d + item, -d - item);
    return o;
}

const QString kFolder = QStringLiteral("/opt/poly/画像と音声/ゲームの選手画像/");

} // namespace

TEST(PictureOffsetFile, CommaTextReadsAsTheRuntimeDoes)
{
    const struct {
        QString line;
        QStringList items;
    } cases[] = {
        {QStringLiteral(""), {}},
        {QStringLiteral("a b"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("  a ,\tb  "), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a,,b"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("a,"), {QStringLiteral("a"), QString()}},
        {QStringLiteral("a, "), {QStringLiteral("a")}},
        {QStringLiteral("\"x \"\"y\"\", z\",1"), {QStringLiteral("x \"y\", z"), QStringLiteral("1")}},
        {QStringLiteral("\"ab\"cd"), {QStringLiteral("ab"), QStringLiteral("cd")}},
        {QStringLiteral("\"open"), {QStringLiteral("open")}},
        {QStringLiteral("\"\",2"), {QString(), QStringLiteral("2")}},
        {QStringLiteral("a,b") + QChar(0) + QStringLiteral(",c"), {QStringLiteral("a"), QStringLiteral("b")}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommaText(c.line), c.items) << c.line.toStdString();

    // Written and read back whole: blanks, commas, quotes, tabs and the empty item.
    const QStringList items{QStringLiteral("my team.bmp"), QStringLiteral("say \"hi\".bmp"), QStringLiteral("a,b"),
                            QStringLiteral("tab\there"), QString(), QStringLiteral("表\\ソ.bmp"), QStringLiteral("-7")};
    const QString line = JoinCommaText(items);
    EXPECT_EQ(line, QStringLiteral("\"my team.bmp\",\"say \"\"hi\"\".bmp\",\"a,b\",\"tab\there\",,表\\ソ.bmp,-7"));
    EXPECT_EQ(SplitCommaText(line), items);
}

TEST(PictureOffsetFile, SheetKeysAreRelativeToTheSheetFolder)
{
    const struct {
        QString sheet, key;
    } cases[] = {
        {kFolder + QStringLiteral("サンプル選手画像11.bmp"), QStringLiteral("サンプル選手画像11.bmp")},
        {kFolder + QStringLiteral("自作/チーム A.bmp"), QStringLiteral("自作\\チーム A.bmp")},
        {QStringLiteral("/opt/poly/画像と音声/my.jpg"), QStringLiteral("..\\my.jpg")},
        {QStringLiteral("/opt/poly/other/x.bmp"), QStringLiteral("..\\..\\other\\x.bmp")},
        {QStringLiteral("/home/u/pics/x.bmp"), QStringLiteral("..\\..\\..\\..\\home\\u\\pics\\x.bmp")},
        // Folders are compared regardless of ASCII case; doubled slashes name no folder.
        {QStringLiteral("/OPT/Poly//画像と音声/ゲームの選手画像/x.bmp"), QStringLiteral("x.bmp")},
        {QStringLiteral("relative/x.bmp"), QStringLiteral("relative\\x.bmp")},
    };
    for (const auto& c : cases) EXPECT_EQ(SheetKey(kFolder, c.sheet), c.key) << c.sheet.toStdString();
}

TEST(PictureOffsetFile, LinesAreWrittenInCp932AndReadBack)
{
    // The exact bytes of a line with a Japanese key holding a blank.
    const QByteArray line = PictureOffsetLine(QStringLiteral("チーム A.bmp"), TPictureOffsets{});
    EXPECT_EQ(line, QByteArray("\"\x83\x60\x81\x5B\x83\x80 A.bmp\",19,-23,22,-34,22,-24,23,-38,-70,-67,-31,-23,-31,-32,-28,-23,-30,-29"));

    for (const QString& key : {QStringLiteral("チーム A.bmp"), QStringLiteral("say \"hi\".bmp"), QStringLiteral("..\\表\\ソ.bmp"),
                               QStringLiteral("plain.bmp")}) {
        const TPictureOffsets o = Moved(5);
        TOffsetLookup found;
        ASSERT_TRUE(ReadOffsetLine(PictureOffsetLine(key, o), key, found)) << key.toStdString();
        EXPECT_TRUE(found.Valid);
        EXPECT_EQ(found.Offsets, o);
    }
    // What CP932 cannot hold, or a line break, cannot stand in a line.
    EXPECT_TRUE(KeyStorable(QStringLiteral("①ｶﾅ～.bmp")));
    for (const QString& key : {QStringLiteral("한국.bmp"), QStringLiteral("a\nb.bmp"), QStringLiteral("a\rb"), QStringLiteral("a") + QChar(0)})
        EXPECT_FALSE(KeyStorable(key)) << key.toStdString();
}

TEST(PictureOffsetFile, LookupMatchesKeysByCharacterAndReportsMalformedLines)
{
    const TPictureOffsets a = Moved(3), b = Moved(8);
    // Blank lines and other sheets first; keys differing only in ASCII case share a line; the first
    // matching line counts. "ア" and "ヂ" differ only in the case of their second CP932 byte.
    const QByteArray file = "\r\n   \r\n" + PictureOffsetLine(QStringLiteral("ヂ.bmp"), b) + "\n" + PictureOffsetLine(QStringLiteral("SHEET.BMP"), a)
        + "\r" + PictureOffsetLine(QStringLiteral("sheet.bmp"), b) + "\r\n" + PictureOffsetLine(QStringLiteral("ア.bmp"), a);
    auto found = FindPictureOffsets(file, {QStringLiteral("Sheet.bmp"), QStringLiteral("ア.bmp")});
    EXPECT_TRUE(found[0].Valid);
    EXPECT_EQ(found[0].Offsets, a);
    EXPECT_EQ(found[0].Line, 4);
    EXPECT_TRUE(found[1].Valid);
    EXPECT_EQ(found[1].Offsets, a);
    EXPECT_EQ(found[1].Line, 6);
    found = FindPictureOffsets(file, {QStringLiteral("nothing.bmp"), QString()});
    EXPECT_FALSE(found[0].Found);
    EXPECT_FALSE(found[1].Found) << "a blank line is no empty key";

    // Each malformed line is found, not taken; the other side is still read.
    const QByteArray good = PictureOffsetLine(QStringLiteral("good.bmp"), b);
    const QByteArray bad[] = {
        "bad.bmp,1,2,3",                                              // short
        "bad.bmp,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,1.5",      // not an integer
        "bad.bmp,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,99999999999", // overflowing
        "bad.bmp,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,-10001",   // no picture offset
        "bad.bmp,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,,18",         // empty item
    };
    for (const QByteArray& line : bad) {
        found = FindPictureOffsets(line + "\r\n" + good + "\r\n", {QStringLiteral("BAD.bmp"), QStringLiteral("good.bmp")});
        EXPECT_TRUE(found[0].Found) << line.constData();
        EXPECT_FALSE(found[0].Valid) << line.constData();
        EXPECT_EQ(found[0].Line, 1);
        EXPECT_EQ(found[0].Offsets, TPictureOffsets{});
        EXPECT_TRUE(found[1].Valid);
        EXPECT_EQ(found[1].Offsets, b);
    }
    // Extra items after the 18 numbers are left alone; the limits themselves are offsets.
    found = FindPictureOffsets("x,-10000,+2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,10000,extra", {QStringLiteral("x"), QString()});
    ASSERT_TRUE(found[0].Valid);
    EXPECT_EQ(found[0].Offsets.Glove[0], QPoint(-10000, 2));
    EXPECT_EQ(found[0].Offsets.Ball[3], QPoint(17, 10000));
}

TEST(PictureOffsetFile, MergeKeepsOtherLinesByteForByte)
{
    const TPictureOffsets a = Moved(2), b = Moved(9);
    // Lines of other sheets, one not even CP932, a blank line and garbage, with mixed endings.
    const QByteArray other1 = "\"\x83\x60\x81\x5B\x83\x80 B.bmp\",1,2,3";
    const QByteArray other2 = "\xFF\xFE\x80,\x83";
    const QByteArray file = other1 + "\n" + PictureOffsetLine(QStringLiteral("MINE.bmp"), b) + "\r\n\r" + other2;
    const std::array<QString, 2> keys{QStringLiteral("aite.bmp"), QStringLiteral("mine.bmp")};

    // Side 1's line replaces the old one in place, side 0's is appended; every line ends in CR LF.
    QByteArray merged = MergePictureOffsets(file, keys, {a, b}, {true, true});
    EXPECT_EQ(merged, other1 + "\r\n" + PictureOffsetLine(keys[1], b) + "\r\n\r\n" + other2 + "\r\n" + PictureOffsetLine(keys[0], a) + "\r\n");
    // Written again: nothing moves.
    EXPECT_EQ(MergePictureOffsets(merged, keys, {a, b}, {true, true}), merged);

    // The same sheet on both sides: one line, the user's side's.
    merged = MergePictureOffsets("", {keys[1], QStringLiteral("Mine.BMP")}, {a, b}, {true, true});
    EXPECT_EQ(merged, PictureOffsetLine(QStringLiteral("Mine.BMP"), b) + "\r\n");

    // A side not written, or a key the file cannot hold, leaves the file's lines as they are.
    merged = MergePictureOffsets(file, {QStringLiteral("한.bmp"), keys[1]}, {a, b}, {true, false});
    EXPECT_EQ(merged, other1 + "\r\n" + PictureOffsetLine(QStringLiteral("MINE.bmp"), b) + "\r\n\r\n" + other2 + "\r\n");
}

TEST(PictureOffsetFile, TruncatedFilesGiveTheirLinesOnlyWhenWhole)
{
    const TPictureOffsets a = Moved(4), b = Moved(6);
    const std::array<QString, 2> keys{QStringLiteral("チーム \"A\".bmp"), QStringLiteral("b.bmp")};
    const QByteArray first = PictureOffsetLine(keys[0], a), second = PictureOffsetLine(keys[1], b);
    const QByteArray file = first + "\r\n" + second + "\r\n";
    for (qsizetype n = 0; n <= file.size(); ++n) {
        const auto found = FindPictureOffsets(file.left(n), keys);
        EXPECT_EQ(found[0].Valid && found[0].Offsets == a, n >= first.size()) << n;
        EXPECT_EQ(found[1].Valid && found[1].Offsets == b, n >= first.size() + 2 + second.size()) << n;
    }
}

// The editor's drawing primitives: geometric pen widths, round ends, dashes, raster modes and masks.
#include "EditorGdi.h"

#include <QPolygon>
#include <QRegion>
#include <gtest/gtest.h>
#include <random>

namespace {

QImage White(int w = 60, int h = 40)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(ToPixel(clWhite));
    return img;
}

int Count(const QImage& img, TColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += FromPixel(img.pixel(x, y)) == c;
    return n;
}

TFlatPath Line(QPoint a, QPoint b)
{
    TFlatPath p;
    p.AddPolyline({a, b}, false);
    return p;
}

} // namespace

TEST(EditorGdi, AHorizontalLineIsAsThickAsItsPen)
{
    for (int w = 1; w <= 9; ++w) {
        QImage img = White();
        StrokePath(img, Line(QPoint(20, 20), QPoint(40, 20)), TGeoPen{w, clBlack, gpsSolid}, TPenMode::pmCopy);
        int rows = 0;
        for (int y = 0; y < img.height(); ++y) rows += FromPixel(img.pixel(30, y)) == clBlack;
        EXPECT_EQ(rows, w) << w;
    }
}

TEST(EditorGdi, EndsAreRound)
{
    QImage img = White();
    StrokeDot(img, QPoint(30, 20), TGeoPen{9, clBlack, gpsSolid}, TPenMode::pmCopy);
    EXPECT_EQ(FromPixel(img.pixel(34, 20)), clBlack);
    EXPECT_EQ(FromPixel(img.pixel(35, 20)), clWhite);
    EXPECT_EQ(FromPixel(img.pixel(34, 23)), clWhite); // the corners of the square are cut off
    EXPECT_EQ(FromPixel(img.pixel(33, 23)), clBlack);
}

TEST(EditorGdi, ThinLinesStepFromPixelToPixel)
{
    QImage img = White();
    StrokePath(img, Line(QPoint(5, 5), QPoint(25, 15)), TGeoPen{1, clBlack, gpsSolid}, TPenMode::pmCopy);
    EXPECT_EQ(Count(img, clBlack), 21); // one pixel per column, both ends included
    EXPECT_EQ(FromPixel(img.pixel(5, 5)), clBlack);
    EXPECT_EQ(FromPixel(img.pixel(25, 15)), clBlack);
}

TEST(EditorGdi, DashPatterns)
{
    struct Case {
        int style, black;
    } cases[] = {{gpsSolid, 40}, {gpsDash, 30}, {gpsDot, 20}, {gpsDashDot, 27}, {gpsDashDotDot, 25}};
    for (const Case& c : cases) {
        QImage img = White();
        StrokePath(img, Line(QPoint(0, 10), QPoint(39, 10)), TGeoPen{1, clBlack, c.style}, TPenMode::pmCopy);
        EXPECT_EQ(Count(img, clBlack), c.black) << c.style;
    }
    // Wide dashes leave gaps a pen width long.
    QImage img = White(100, 20);
    StrokePath(img, Line(QPoint(5, 10), QPoint(90, 10)), TGeoPen{4, clBlack, gpsDash}, TPenMode::pmCopy);
    int gaps = 0;
    for (int x = 5; x < 90; ++x) gaps += FromPixel(img.pixel(x, 9)) == clWhite && FromPixel(img.pixel(x - 1, 9)) == clBlack;
    EXPECT_GE(gaps, 5);
}

TEST(EditorGdi, NotXorCombinesEachPixelOnce)
{
    QImage img = White();
    const QImage before = img.copy();
    // A closed figure whose joints and overlaps are covered twice.
    TFlatPath p;
    p.AddPolyline({QPoint(10, 10), QPoint(40, 10), QPoint(40, 30), QPoint(10, 10)}, true);
    StrokePath(img, p, TGeoPen{5, clRed, gpsSolid}, TPenMode::pmNotXor);
    EXPECT_EQ(FromPixel(img.pixel(10, 10)), clRed);
    EXPECT_EQ(FromPixel(img.pixel(40, 10)), clRed);
    StrokePath(img, p, TGeoPen{5, clRed, gpsSolid}, TPenMode::pmNotXor);
    EXPECT_TRUE(img == before);
}

TEST(EditorGdi, MaskModeDarkensOnly)
{
    QImage img = White();
    img.setPixel(20, 5, ToPixel(clRed));
    StrokePath(img, Line(QPoint(20, 0), QPoint(20, 39)), TGeoPen{1, 0x808080, gpsSolid}, TPenMode::pmMask);
    EXPECT_EQ(FromPixel(img.pixel(20, 10)), TColor(0x808080));
    EXPECT_EQ(FromPixel(img.pixel(20, 5)), TColor(0x000080));
}

TEST(EditorGdi, PathsKeepTheExclusiveEdges)
{
    const auto rect = RectanglePath(10, 10, 20, 15).IntegerPoints();
    ASSERT_EQ(rect.size(), 4u);
    EXPECT_EQ(rect[2], QPoint(19, 14));
    EXPECT_TRUE(RectanglePath(10, 10, 10, 15).Figures.empty());
    const auto ell = EllipsePath(10, 10, 21, 31).IntegerPoints();
    int minX = 100, maxX = -100, minY = 100, maxY = -100;
    for (QPoint q : ell) {
        minX = std::min(minX, q.x());
        maxX = std::max(maxX, q.x());
        minY = std::min(minY, q.y());
        maxY = std::max(maxY, q.y());
    }
    EXPECT_EQ(QRect(QPoint(minX, minY), QPoint(maxX, maxY)), QRect(QPoint(10, 10), QPoint(20, 30)));
    const auto bez = BezierPath(QPoint(0, 0), QPoint(0, 10), QPoint(10, 10), QPoint(10, 0)).IntegerPoints();
    EXPECT_EQ(bez.front(), QPoint(0, 0));
    EXPECT_EQ(bez.back(), QPoint(10, 0));
}

TEST(EditorGdi, PolygonMaskOfATriangle)
{
    const auto m = PolygonMask({QPoint(0, 0), QPoint(10, 0), QPoint(0, 10)}, QPoint(0, 0), 10, 10);
    EXPECT_EQ(m[0], 1);
    EXPECT_EQ(m[size_t(1 * 10 + 1)], 1);
    EXPECT_EQ(m[size_t(9 * 10 + 9)], 0);
    EXPECT_EQ(PolygonMask({QPoint(0, 0), QPoint(1, 1)}, QPoint(0, 0), 4, 4), std::vector<unsigned char>(16, 0));
}

TEST(EditorGdi, PolygonMaskCoversWhatAnOddEvenRegionOfThePolygonCovers)
{
    // Crossing, touching and degenerate outlines alike, seen through areas that cut them anywhere.
    std::mt19937 random(7);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 400; ++round) {
        QPolygon outline;
        for (int i = pick(3, 9); i > 0; --i) outline << QPoint(pick(-8, 40), pick(-8, 40));
        const QPoint origin(pick(-5, 5), pick(-5, 5));
        const int w = pick(1, 36), h = pick(1, 36);
        const QRegion region(outline.translated(-origin), Qt::OddEvenFill);
        const auto mask = PolygonMask({outline.begin(), outline.end()}, origin, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(mask[size_t(y * w + x)] != 0, region.contains(QPoint(x, y))) << round << " " << x << "," << y;
    }
}

TEST(EditorGdi, PolygonMaskOfFarOutPointsCoversOnlyItsArea)
{
    // The diagonal from one far corner to the other: inside on and above it.
    const auto m = PolygonMask({QPoint(-48000, -48000), QPoint(48000, 48000), QPoint(48000, -48000)}, QPoint(-10, -5), 40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(m[size_t(y * 40 + x)], x - 10 >= y - 5 ? 1 : 0) << x << "," << y;
}

TEST(EditorGdi, AStretchAndsChannelsWhereItShrinksAndRepeatsWhereItGrows)
{
    // A dark line in column 2 of 8, red and green in columns 4 and 5: half as wide, twice as high.
    QImage img = White(8, 2);
    for (auto [x, c] : {std::pair{2, clBlack}, {4, clRed}, {5, clLime}})
        for (int y = 0; y < 2; ++y) img.setPixel(x, y, ToPixel(c));
    const QImage out = StretchPicture(img, QSize(4, 4), false);
    EXPECT_EQ(Count(out, clBlack), 8);
    EXPECT_EQ(FromPixel(out.pixel(1, 3)) | FromPixel(out.pixel(2, 0)), clBlack);
}

#include "BitmapTools.h"
#include "MathUtil.h"

#include <gtest/gtest.h>

#include <QHash>
#include <cmath>
#include <numbers>

namespace {

// Every pixel a different colour: x in red, y in green.
TBitmap distinctPicture(int w, int h)
{
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.Image().setPixel(x, y, qRgb(x, y, (x * 7 + y) & 0xFF));
    return b;
}

QRgb at(const TBitmap& b, int x, int y)
{
    return b.Image().pixel(x, y);
}

// Where the exact source position of a result pixel lies, computed afresh for that pixel.
QPointF exactSource(QSize src, QSize dst, int angleDeg, int u, int v)
{
    const double t = angleDeg * std::numbers::pi / 180.0, c = std::cos(t), s = std::sin(t);
    const double du = u + 0.5 - dst.width() / 2.0, dv = v + 0.5 - dst.height() / 2.0;
    return {src.width() / 2.0 + du * c + dv * s, src.height() / 2.0 - du * s + dv * c};
}

bool nearEdge(double p)
{
    return std::fabs(p - std::round(p)) < 1e-9;
}

} // namespace

TEST(RotateBitmap, QuarterTurnsArePermutations)
{
    struct Row {
        int angle;
        int w, h;
        QPoint topLeftGoesTo; // where source pixel (0, 0) lands
    };
    const Row rows[] = {
        {90, 70, 70, {69, 0}},  {-90, 70, 70, {0, 69}},  {180, 70, 70, {69, 69}}, {0, 70, 70, {0, 0}},
        {270, 70, 70, {0, 69}}, {90, 140, 70, {69, 0}},  {-90, 140, 70, {0, 139}}, {360, 3, 2, {0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.angle);
        const TBitmap src = distinctPicture(r.w, r.h);
        TBitmap dst;
        RotateBitmap(src, r.angle, clRed, dst);
        const bool quarter = (r.angle / 90) % 2 != 0;
        ASSERT_EQ(dst.Width(), quarter ? r.h : r.w);
        ASSERT_EQ(dst.Height(), quarter ? r.w : r.h);
        QHash<QRgb, int> seen;
        for (int y = 0; y < dst.Height(); ++y)
            for (int x = 0; x < dst.Width(); ++x) ++seen[at(dst, x, y)];
        EXPECT_EQ(seen.size(), r.w * r.h);
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x) ASSERT_EQ(seen.value(at(src, x, y)), 1) << x << "," << y;
        EXPECT_EQ(at(dst, r.topLeftGoesTo.x(), r.topLeftGoesTo.y()), at(src, 0, 0));
    }
}

TEST(RotateBitmap, PositiveTurnsClockwise)
{
    // A quarter turn clockwise: the source column x becomes the row x, read from the bottom up.
    const TBitmap src = distinctPicture(70, 70);
    TBitmap dst;
    RotateBitmap(src, 90, clWhite, dst);
    for (int v = 0; v < 70; ++v)
        for (int u = 0; u < 70; ++u) ASSERT_EQ(at(dst, u, v), at(src, v, 69 - u)) << u << "," << v;
}

TEST(RotateBitmap, FortyFiveDegreesHasBackgroundCorners)
{
    const TBitmap src = distinctPicture(70, 70);
    const TColor bg = RGBColor(10, 20, 30);
    TBitmap dst;
    RotateBitmap(src, 45, bg, dst);
    ASSERT_EQ(dst.Width(), 99);
    ASSERT_EQ(dst.Height(), 99);
    for (QPoint p : {QPoint(0, 0), QPoint(98, 0), QPoint(0, 98), QPoint(98, 98), QPoint(10, 10), QPoint(88, 5)})
        EXPECT_EQ(at(dst, p.x(), p.y()), qRgb(10, 20, 30)) << p.x() << "," << p.y();
    // The middle stays the middle (it lies on the corner of four source pixels).
    const QRgb middle = at(dst, 49, 49);
    EXPECT_TRUE(qRed(middle) >= 34 && qRed(middle) <= 35 && qGreen(middle) >= 34 && qGreen(middle) <= 35);
    // Nothing from outside the source other than the background.
    for (int y = 0; y < 99; ++y)
        for (int x = 0; x < 99; ++x) {
            const QRgb p = at(dst, x, y);
            if (p == qRgb(10, 20, 30)) continue;
            ASSERT_LT(qRed(p), 70);
            ASSERT_LT(qGreen(p), 70);
            ASSERT_EQ(qBlue(p), (qRed(p) * 7 + qGreen(p)) & 0xFF);
        }
}

TEST(RotateBitmap, MinusOneBackgroundIsPureWhite)
{
    TBitmap src(20, 10);
    src.Image().fill(qRgb(0, 0, 0));
    TBitmap dst;
    RotateBitmap(src, 30, TColor(-1), dst);
    EXPECT_EQ(at(dst, 0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(dst.Image().format(), QImage::Format_RGB32);
}

TEST(RotateBitmap, EachPixelComesFromItsExactSourcePosition)
{
    // Only where the exact position sits on a pixel edge may the sampled neighbour differ.
    const TBitmap square = distinctPicture(70, 70);
    const TBitmap wide = distinctPicture(140, 70);
    const TColor bg = RGBColor(1, 2, 3);
    for (int angle : {0, 90, -90, 45, -45, 180, 30, 15, 135}) {
        for (const TBitmap* s : {&square, &wide}) {
            TBitmap dst;
            RotateBitmap(*s, angle, bg, dst);
            int onEdge = 0;
            for (int v = 0; v < dst.Height(); ++v)
                for (int u = 0; u < dst.Width(); ++u) {
                    const QPointF p = exactSource(s->Image().size(), dst.Image().size(), angle, u, v);
                    const int fx = int(std::floor(p.x())), fy = int(std::floor(p.y()));
                    const bool inside = fx >= 0 && fy >= 0 && fx < s->Width() && fy < s->Height();
                    const QRgb expected = inside ? at(*s, fx, fy) : qRgb(1, 2, 3);
                    if (at(dst, u, v) == expected) continue;
                    ++onEdge;
                    ASSERT_TRUE(nearEdge(p.x()) || nearEdge(p.y())) << angle << " at " << u << "," << v;
                }
            // Quarter turns land nowhere near an edge.
            if (angle % 90 == 0) {
                EXPECT_EQ(onEdge, 0) << angle;
            }
        }
    }
}

TEST(RotateBitmap, EmptySourceGivesEmpty)
{
    TBitmap src, dst(5, 5);
    RotateBitmap(src, 45, clWhite, dst);
    EXPECT_TRUE(dst.Empty());
}

TEST(MirrorBitmap, InPlaceAndOntoOthers)
{
    TBitmap b = distinctPicture(5, 3);
    const TBitmap original = b;
    MirrorBitmap(b, b);
    ASSERT_EQ(b.Width(), 5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(at(b, x, y), at(original, 4 - x, y));
    MirrorBitmap(b, b);
    EXPECT_EQ(b.Image(), original.Image());

    // A larger destination keeps its size and the pixels outside the picture.
    TBitmap big(8, 4);
    big.Image().fill(qRgb(1, 2, 3));
    MirrorBitmap(original, big);
    EXPECT_EQ(big.Width(), 8);
    EXPECT_EQ(at(big, 0, 0), at(original, 4, 0));
    EXPECT_EQ(at(big, 5, 0), qRgb(1, 2, 3));
    EXPECT_EQ(at(big, 0, 3), qRgb(1, 2, 3));
}

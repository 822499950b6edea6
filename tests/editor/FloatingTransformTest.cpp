// The arithmetic of the floating images: stretching by each handle, the handles' places, exact
// rotations by right angles, trimming, the arrow step at each zoom, clipboard pictures with
// see-through parts and pictures of typed text.
#include "FloatingTransform.h"

#include <gtest/gtest.h>

namespace {

// A 3 x 2 picture whose pixels are all different: (x, y) has the colour x + 10 y + 1.
QImage Numbered()
{
    QImage img(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) img.setPixel(x, y, ToPixel(TColor(x + 10 * y + 1)));
    return img;
}

TColor At(const QImage& img, int x, int y)
{
    return FromPixel(img.pixel(x, y));
}

} // namespace

TEST(FloatingTransform, EachStretchHandleKeepsTheOppositeSideOrCorner)
{
    const TBounds start{100, 50, 60, 30};
    const double ratio = 2.0;
    struct Case {
        int tag;
        QPoint d;
        bool heightLed;
        TBounds expected;
    } cases[] = {
        {stHL, {10, 7}, false, {110, 50, 50, 30}},
        {stHR, {-20, 7}, false, {100, 50, 40, 30}},
        {stVT, {7, -10}, false, {100, 40, 60, 40}},
        {stVB, {7, 5}, false, {100, 50, 60, 35}},
        // Width-led corners: the height follows the ratio, the opposite corner stays.
        {stRB, {20, 99}, false, {100, 50, 80, 40}},
        {stLT, {-20, 99}, false, {80, 40, 80, 40}},
        {stRT, {-10, 99}, false, {100, 55, 50, 25}},
        {stLB, {10, 99}, false, {110, 50, 50, 25}},
        // Height-led corners: the width follows the ratio.
        {stLT, {99, -10}, true, {80, 40, 80, 40}},
        {stRB, {99, 10}, true, {100, 50, 80, 40}},
        // Past the opposite side the size goes negative.
        {stHR, {-80, 0}, false, {100, 50, -20, 30}},
    };
    for (const Case& c : cases) EXPECT_EQ(StretchBounds(start, c.tag, c.d, ratio, c.heightLed), c.expected) << c.tag;

    bool flipH = false, flipV = false;
    EXPECT_EQ(PositiveBounds({100, 50, -20, 30}, flipH, flipV), (TBounds{80, 50, 20, 30}));
    EXPECT_TRUE(flipH);
    EXPECT_FALSE(flipV);
    EXPECT_EQ(PositiveBounds({100, 50, 20, -30}, flipH, flipV), (TBounds{100, 20, 20, 30}));
    EXPECT_FALSE(flipH);
    EXPECT_TRUE(flipV);
}

TEST(FloatingTransform, HandlesSitRoundTheImage)
{
    const QRect image(100, 50, 60, 30);
    const std::vector<QRect> stretch = HandleRects(THandle::Stretch, image, 40);
    ASSERT_EQ(stretch.size(), 8u);
    // Sides 3 pixels off and centred, corners 2 pixels off; the size never above 12.
    EXPECT_EQ(stretch[stHL], QRect(85, 59, 12, 12));
    EXPECT_EQ(stretch[stHR], QRect(163, 59, 12, 12));
    EXPECT_EQ(stretch[stVT], QRect(124, 35, 12, 12));
    EXPECT_EQ(stretch[stVB], QRect(124, 83, 12, 12));
    EXPECT_EQ(stretch[stLT], QRect(86, 36, 12, 12));
    EXPECT_EQ(stretch[stRB], QRect(162, 82, 12, 12));
    const std::vector<QRect> rotate = HandleRects(THandle::Rotate, image, 2);
    ASSERT_EQ(rotate.size(), 4u);
    EXPECT_EQ(rotate[0], QRect(92, 42, 6, 6)); // never below 6
    EXPECT_EQ(rotate[3], QRect(162, 82, 6, 6));
    const std::vector<QRect> flip = HandleRects(THandle::Flip, image, 7);
    ASSERT_EQ(flip.size(), 4u);
    EXPECT_EQ(flip[0], QRect(90, 61, 7, 7));
    EXPECT_EQ(flip[3], QRect(126, 83, 7, 7));
}

TEST(FloatingTransform, RightAnglesRotateExactly)
{
    const double pi = 3.14159265358979323846;
    const QImage src = Numbered();
    const QImage same = RotateBitmap(src, 0, clWhite);
    EXPECT_EQ(same, src);
    // A quarter turn clockwise: the bottom-left pixel comes to the top-left.
    const QImage quarter = RotateBitmap(src, pi / 2, clWhite);
    ASSERT_EQ(quarter.size(), QSize(2, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(At(quarter, x, y), At(src, y, 1 - x)) << x << "," << y;
    const QImage half = RotateBitmap(src, pi, clWhite);
    ASSERT_EQ(half.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(At(half, x, y), At(src, 2 - x, 1 - y));
    const QImage back = RotateBitmap(src, -pi / 2, clWhite);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(At(back, x, y), At(src, 2 - y, x));
    // Any other angle grows the picture and fills its corners.
    const QImage tilted = RotateBitmap(QImage(Numbered()).scaled(30, 20), pi / 4, clRed);
    EXPECT_EQ(tilted.size(), RotatedSize(QSize(30, 20), pi / 4));
    EXPECT_EQ(At(tilted, 0, 0), clRed);
}

TEST(FloatingTransform, TrimKeepsTheSmallestBoxOfPicture)
{
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(ToPixel(clWhite));
    EXPECT_TRUE(OpaqueBounds(img, clWhite).isEmpty());
    img.setPixel(3, 7, ToPixel(clBlack));
    img.setPixel(15, 2, ToPixel(0xFFFEFF)); // opaque white is picture
    EXPECT_EQ(OpaqueBounds(img, clWhite), QRect(QPoint(3, 2), QPoint(15, 7)));
}

TEST(FloatingTransform, AnArrowStepIsOneCanvasPixel)
{
    const std::pair<int, int> steps[] = {{100, 1}, {600, 6}, {150, 2}, {25, 1}, {975, 10}, {50, 1}};
    for (auto [zoom, step] : steps) EXPECT_EQ(ArrowStep(TViewScale{zoom}), step) << zoom;
}

TEST(FloatingTransform, ClipboardPicturesComeOverPureWhite)
{
    QImage img(2, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(0, 0, 0, 0));
    img.setPixel(1, 0, qRgba(200, 100, 50, 255));
    const QImage out = ComposeOverWhite(img);
    EXPECT_EQ(out.format(), QImage::Format_RGB32);
    EXPECT_EQ(At(out, 0, 0), clWhite);
    EXPECT_EQ(At(out, 1, 0), RGBColor(200, 100, 50));
}

TEST(FloatingTransform, TextLinesStackWithTheirSpacing)
{
    TFont font;
    font.SetSize(12);
    TBitmap probe(1, 1);
    probe.Canvas().Font = font;
    const int lineHeight = probe.Canvas().TextHeight(QStringLiteral("あ"));
    const QStringList two = {QStringLiteral("あいう"), QStringLiteral("ab")};
    EXPECT_EQ(TextPicture(two, font, 0).height(), 2 * lineHeight);
    EXPECT_EQ(TextPicture(two, font, 5).height(), 2 * lineHeight + 5);
    EXPECT_EQ(TextPicture(two, font, 0).width(), probe.Canvas().TextWidth(two[0]));
    // Blank lines count; nothing at all is still one pixel.
    EXPECT_EQ(TextPicture({QString(), QString()}, font, 0).height(), 2 * lineHeight);
    EXPECT_EQ(TextPicture({}, font, 4).size(), QSize(1, 1));
    // The text is drawn in the font's colour on pure white.
    font.Color = clRed;
    const QImage red = TextPicture({QStringLiteral("■")}, font, 0);
    bool anyRed = false;
    for (int y = 0; y < red.height(); ++y)
        for (int x = 0; x < red.width(); ++x) anyRed |= At(red, x, y) == clRed;
    EXPECT_TRUE(anyRed);
}

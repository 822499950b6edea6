// The editor's arithmetic: zoom conversions, pen widths, the curved line, picture stretch margins
// and the window's place on the work area.
#include "EditorGeometry.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

TEST(EditorGeometry, ToViewRoundsHalvesToEven)
{
    struct Case {
        int zoom, x, view;
    } cases[] = {
        {50, 1, 0},    // 0.5 -> 0
        {50, 3, 2},    // 1.5 -> 2
        {50, 5, 2},    // 2.5 -> 2
        {150, 1, 2},   // 1.5 -> 2
        {150, 3, 4},   // 4.5 -> 4
        {250, 1, 2},   // 2.5 -> 2
        {250, 3, 8},   // 7.5 -> 8
        {25, 2, 0},    // 0.5 -> 0
        {25, 6, 2},    // 1.5 -> 2
        {50, -1, 0},   // -0.5 -> 0
        {50, -3, -2},  // -1.5 -> -2
        {50, -5, -2},  // -2.5 -> -2
        {600, 140, 840},
        {975, 70, 682}, // 682.5 -> 682
    };
    for (const Case& c : cases) {
        TViewScale s{c.zoom};
        EXPECT_EQ(s.ToView(c.x), c.view) << "zoom " << c.zoom << " x " << c.x;
    }
}

TEST(EditorGeometry, ToCanvasTruncatesTowardZero)
{
    struct Case {
        int zoom, v, canvas;
    } cases[] = {
        {600, 5, 0}, {600, 6, 1}, {600, 11, 1}, {600, 12, 2}, {600, -5, 0}, {600, -7, -1}, {600, -12, -2},
        {150, 2, 1}, {150, 3, 2}, {25, 1, 4}, {25, -1, -4}, {975, 682, 69}, {975, 683, 70}, {100, -3, -3},
    };
    for (const Case& c : cases) EXPECT_EQ(TViewScale{c.zoom}.ToCanvas(c.v), c.canvas) << c.zoom << " " << c.v;
}

TEST(EditorGeometry, OneCanvasPixelStepAtEachZoom)
{
    // The smallest screen step n with ToView(ToCanvas(n)) >= 1: 1 at 100 and 25, 6 at 600, 2 at 150.
    auto step = [](int zoom) {
        TViewScale s{zoom};
        int n = 1;
        while (s.ToView(s.ToCanvas(n)) < 1) ++n;
        return n;
    };
    EXPECT_EQ(step(100), 1);
    EXPECT_EQ(step(600), 6);
    EXPECT_EQ(step(150), 2);
    EXPECT_EQ(step(25), 1);
}

TEST(EditorGeometry, PenWidthsOfTheFiftySettings)
{
    for (int v = 1; v <= 10; ++v) EXPECT_EQ(PenWidthForSetting(17, v), v);
    for (int v = 11; v <= 20; ++v) EXPECT_EQ(PenWidthForSetting(11, v), 13 + 3 * (v - 11));
    for (int v = 21; v <= 50; ++v) EXPECT_EQ(PenWidthForSetting(14, v), 47 + 7 * (v - 21));
    EXPECT_EQ(PenWidthForSetting(12, 11), 13);
    EXPECT_EQ(PenWidthForSetting(12, 21), 47);
    EXPECT_EQ(PenWidthForSetting(12, 50), 250);
    EXPECT_EQ(PenWidthForSetting(17, 0), 1);
    EXPECT_EQ(PenWidthForSetting(17, -3), 3);
    // Other kinds take the setting as it is.
    EXPECT_EQ(PenWidthForSetting(51, 30), 30);
    // A damaged setting never overflows.
    EXPECT_GT(PenWidthForSetting(17, std::numeric_limits<int>::min()), 0);
}

TEST(EditorGeometry, PenWidthOnTheViewIsZoomed)
{
    TViewScale s{600};
    EXPECT_EQ(s.ToView(PenWidthForSetting(17, 1)), 6);
    EXPECT_EQ(s.ToView(PenWidthForSetting(17, 11)), 78);
    TViewScale q{25};
    EXPECT_EQ(q.ToView(PenWidthForSetting(17, 2)), 0); // 0.5 -> 0: drawn as the thinnest line
}

TEST(EditorGeometry, PolarPointsAndAngles)
{
    EXPECT_EQ(PolarPoint(10, 0), QPoint(10, 0));
    EXPECT_EQ(PolarPoint(10, 90), QPoint(0, -10));
    EXPECT_EQ(PolarPoint(10, 180), QPoint(-10, 0));
    EXPECT_EQ(PolarPoint(10, -90), QPoint(0, 10));
    EXPECT_EQ(PolarPoint(0.5, 180), QPoint(0, 0)); // -0.5 -> 0 (half to even)
    EXPECT_EQ(PolarPoint(0.6, 180), QPoint(-1, 0));
    EXPECT_DOUBLE_EQ(AngleOf(QPoint(0, 0), QPoint(10, 0)), 0.0);
    EXPECT_DOUBLE_EQ(AngleOf(QPoint(0, 0), QPoint(0, -10)), 90.0);
    EXPECT_DOUBLE_EQ(DistanceOf(QPoint(0, 0), QPoint(3, 4)), 5.0);
    EXPECT_EQ(RoundOutward(2.0), 2);
    EXPECT_EQ(RoundOutward(2.1), 3);
    EXPECT_EQ(RoundOutward(-2.1), -3);
    EXPECT_EQ(RoundOutward(-2.0), -2);
}

TEST(EditorGeometry, CurvatureZeroIsAStraightLine)
{
    const TCurve c = CurvedLinePoints(QPoint(10, 10), QPoint(50, 10), 0);
    EXPECT_EQ(c.Count, 2);
    EXPECT_EQ(c.Pts[0], QPoint(10, 10));
    EXPECT_EQ(c.Pts[1], QPoint(50, 10));
}

TEST(EditorGeometry, CurvatureEighteenIsAHalfCircleAboutTheMidpoint)
{
    // b = 180: the centre is the midpoint, and both control points lie on the circle, 60 degrees
    // from the ends.
    const QPoint p1(0, 0), p2(100, 0);
    const TCurve c = CurvedLinePoints(p1, p2, 18);
    ASSERT_EQ(c.Count, 4);
    EXPECT_EQ(c.Pts[0], p1);
    EXPECT_EQ(c.Pts[3], p2);
    // Centre (50, 0), radius 50: the control points are on that circle.
    for (int i : {1, 2}) EXPECT_NEAR(DistanceOf(QPoint(50, 0), c.Pts[size_t(i)]), 50.0, 1.0);
    // Curving to the left of the direction of travel: above the chord on the screen.
    EXPECT_LT(c.Pts[1].y(), 0);
    EXPECT_LT(c.Pts[2].y(), 0);
}

TEST(EditorGeometry, EveryCurvatureGivesFinitePoints)
{
    for (int k = -50; k <= 50; ++k)
        for (QPoint p2 : {QPoint(60, 20), QPoint(10, 10), QPoint(10, 11), QPoint(-30, 5)}) {
            const TCurve c = CurvedLinePoints(QPoint(10, 10), p2, k);
            for (int i = 0; i < c.Count; ++i) {
                EXPECT_LT(std::abs(c.Pts[size_t(i)].x()), 100000) << "curvature " << k;
                EXPECT_LT(std::abs(c.Pts[size_t(i)].y()), 100000) << "curvature " << k;
            }
        }
}

TEST(EditorGeometry, LoopFormFromThirtySix)
{
    // 36 and 37 take the loop form: the control points cross (C1 is nearer P2 than P1 is).
    const QPoint p1(0, 0), p2(100, 0);
    for (int k : {36, 37, 50}) {
        const TCurve c = CurvedLinePoints(p1, p2, k);
        EXPECT_GT(c.Pts[1].x(), c.Pts[2].x()) << k;
    }
    // -36 becomes -359 and stays an arc.
    const TCurve n = CurvedLinePoints(p1, p2, -36);
    EXPECT_LT(n.Pts[1].x(), n.Pts[2].x());
}

TEST(EditorGeometry, StretchMarginThresholds)
{
    // Nothing to stretch.
    EXPECT_EQ(StretchMargins(40, 30, 0, 0), QPoint(0, 0));
    // Steps of 1, 2, 3, 5, 10 by the smaller side.
    EXPECT_EQ(StretchMargins(19, 30, 2, 0), QPoint(0, 1));    // step 1, w < h: H = 32, W = Round(19 x 32 / 30) = 20
    EXPECT_EQ(StretchMargins(20, 20, 2, 0), QPoint(2, 2));    // step 2: a = 4
    EXPECT_EQ(StretchMargins(49, 49, 1, 0), QPoint(1, 1));
    EXPECT_EQ(StretchMargins(50, 50, 1, 0), QPoint(1, 1));    // step 3: a = 3 -> 53, (53 - 50) div 2 = 1
    EXPECT_EQ(StretchMargins(100, 100, 1, 0), QPoint(2, 2));  // step 5
    EXPECT_EQ(StretchMargins(200, 200, 1, 0), QPoint(5, 5));  // step 10
    EXPECT_EQ(StretchMargins(199, 199, 2, 0), QPoint(5, 5));
    // Types shrink: three quarters and a half.
    EXPECT_EQ(StretchMargins(40, 40, 0, 1), QPoint(-5, -5));
    EXPECT_EQ(StretchMargins(40, 40, 0, 2), QPoint(-10, -10));
    // Shrunk to nothing: no margins.
    EXPECT_EQ(StretchMargins(10, 10, -10, 0), QPoint(0, 0));
    // Negative amounts shrink; (-3) div 2 goes toward zero.
    EXPECT_EQ(StretchMargins(10, 10, -3, 0), QPoint(-1, -1));
}

TEST(EditorGeometry, WindowFitsTheWorkArea)
{
    EXPECT_EQ(FitToWorkAreaRect(1280, 1024, TTaskbar{QRect(0, 994, 1280, 30), 3, false}), QRect(0, 0, 1280, 994));
    EXPECT_EQ(FitToWorkAreaRect(1280, 1024, TTaskbar{QRect(1220, 0, 60, 1024), 2, false}), QRect(30, 0, 1220, 1024));
    EXPECT_EQ(FitToWorkAreaRect(1280, 1024, TTaskbar{QRect(0, 994, 1280, 30), 3, true}), QRect(0, 0, 1280, 1024));
    EXPECT_EQ(FitToWorkAreaRect(800, 600, TTaskbar{QRect(0, 570, 800, 30), 3, false}), QRect(0, 0, 1024, 570));
}

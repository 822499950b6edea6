// The drawing engine without a window: records, drawing, hit tests, moving, re-shaping, and the
// invariants that tie the canvas to its records.
#include "ShapeEngine.h"
#include "EditorGdi.h"
#include "PictureFile.h"

#include <QPolygon>
#include <QRegion>
#include <gtest/gtest.h>
#include <optional>
#include <random>

namespace {

// Adds a record as a finished drag from a to b (content coordinates) would.
void AddShape(TShapeEngine& e, int kind, QPoint a, QPoint b, TColor color, int width = 1, int style = 0,
              std::vector<QPoint> points = {}, int curve = 0)
{
    e.ToolKind = e.SavedToolKind = kind;
    e.StartPoint = a;
    e.CurrentPoint = b;
    e.PenSetting = width;
    e.PenStyle = style;
    e.CurveSetting = curve;
    e.InProgress = std::move(points);
    e.AddShapeRecord(e.BuildShape(color));
}

QImage FullRedraw(TShapeEngine& e)
{
    const QImage kept = e.Canvas.Image().copy();
    e.RenderCanvas(0, TPenMode::pmCopy);
    QImage full = e.Canvas.Image().copy();
    e.Canvas.Image() = kept;
    return full;
}

int CountPixels(const QImage& img, TColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFFu) == (ToPixel(c) & 0xFFFFFFu)) ++n;
    return n;
}

TColor At(const TShapeEngine& e, int x, int y)
{
    return e.Canvas.Canvas().Pixel(x, y);
}

class ShapeEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        e.FindNearWhites();
        e.Scale.Zoom = 100;
    }
    TShapeEngine e;
};

} // namespace

TEST_F(ShapeEngineTest, NearWhitesOnATrueColourCanvas)
{
    EXPECT_EQ(e.OpaqueWhite, TColor(0x00FFFEFF));
    EXPECT_EQ(e.MarkerColor, TColor(0x00FEFEFF));
    EXPECT_EQ(TShapeEngine::RealizeColor(0x123456), TColor(0x123456));
}

TEST_F(ShapeEngineTest, OneByOneEqualsFullRedraw)
{
    for (int zoom : {100, 600, 150}) {
        e.Scale.Zoom = zoom;
        e.FreeShapeList();
        e.ClearCanvas();
        std::mt19937 rng(zoom);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        const int kinds[] = {skRectangle, skEllipse, skLine, skPen, skFill};
        const TColor colours[] = {clBlack, clRed, 0x00FF00, clBlue, e.OpaqueWhite, e.EraserColor};
        for (int i = 0; i < 150; ++i) {
            const int kind = kinds[pick(0, 4)];
            auto pt = [&] { return QPoint(e.ToView(pick(-5, 145)), e.ToView(pick(-5, 75))); };
            std::vector<QPoint> pts;
            if (kind == skPen)
                for (int k = pick(1, 8); k > 0; --k) pts.push_back(pt());
            AddShape(e, kind, pt(), pt(), colours[pick(0, 5)], pick(1, 25), pick(0, 2), pts, pick(-50, 50));
        }
        const QImage oneByOne = e.Canvas.Image().copy();
        EXPECT_TRUE(oneByOne == FullRedraw(e)) << "zoom " << zoom;
    }
}

TEST_F(ShapeEngineTest, TheEraserPaintsPureWhite)
{
    AddShape(e, skLine, QPoint(10, 35), QPoint(130, 35), clBlack, 9);
    ASSERT_EQ(At(e, 70, 35), clBlack);
    AddShape(e, skLine, QPoint(10, 35), QPoint(130, 35), e.EraserColor, 9);
    EXPECT_EQ(CountPixels(e.Canvas.Image(), clBlack), 0);
    EXPECT_EQ(At(e, 70, 35), TColor(0xFFFFFF));
}

TEST_F(ShapeEngineTest, EraserPreviewIsLightGreyButTheStrokeIsPureWhite)
{
    e.Scale.Zoom = 100;
    QImage view(140, 70, QImage::Format_RGB32);
    view.fill(ToPixel(clBlack));
    e.View = &view;
    e.Canvas.Image().fill(ToPixel(clBlack));
    e.ToolKind = e.SavedToolKind = skPen;
    e.DrawColor = e.EraserColor;
    e.PenSetting = 3;
    e.MouseDown(TMouseButton::mbLeft, QPoint(20, 20));
    e.MouseMove(QPoint(40, 20));
    EXPECT_EQ(FromPixel(view.pixel(30, 20)), TColor(0xE0E0E0));
    e.MouseUp(TMouseButton::mbLeft, QPoint(40, 20));
    EXPECT_EQ(At(e, 30, 20), TColor(0xFFFFFF));
}

TEST_F(ShapeEngineTest, DashedOutlineThenFillStopsAtTheMarker)
{
    AddShape(e, skRectangle, QPoint(10, 10), QPoint(61, 41), clBlack, 1, 1);
    // The gaps of the dashes hold the marker colour.
    EXPECT_GT(CountPixels(e.Canvas.Image(), e.MarkerColor), 0);
    AddShape(e, skFill, QPoint(30, 25), QPoint(30, 25), clRed);
    // The fill covers the inside (11..59 x 11..39) and nothing outside the outline.
    EXPECT_EQ(CountPixels(e.Canvas.Image(), clRed), 49 * 29);
    EXPECT_EQ(At(e, 5, 5), clWhite);
    EXPECT_EQ(At(e, 100, 60), clWhite);
    for (int x = 10; x <= 60; ++x) {
        const TColor c = At(e, x, 10);
        EXPECT_TRUE(c == clBlack || c == e.MarkerColor) << x;
    }
}

TEST_F(ShapeEngineTest, WideDashesAlsoCloseWithTheMarker)
{
    AddShape(e, skEllipse, QPoint(20, 5), QPoint(120, 66), clBlue, 4, 2);
    AddShape(e, skFill, QPoint(70, 35), QPoint(70, 35), clRed);
    EXPECT_EQ(At(e, 2, 2), clWhite);
    EXPECT_EQ(At(e, 137, 67), clWhite);
    EXPECT_EQ(At(e, 70, 35), clRed);
}

TEST_F(ShapeEngineTest, NoFillLeaksThroughADiagonalLine)
{
    // A diamond of one-pixel diagonal lines: every step is a diagonal "gap" for an 8-way fill.
    const std::vector<QPoint> diamond{QPoint(35, 5), QPoint(65, 35), QPoint(35, 65), QPoint(5, 35), QPoint(35, 5)};
    AddShape(e, skPen, diamond[0], diamond[0], clBlack, 1, 0, diamond);
    AddShape(e, skFill, QPoint(35, 35), QPoint(35, 35), clRed);
    EXPECT_EQ(At(e, 35, 35), clRed);
    EXPECT_EQ(At(e, 2, 2), clWhite);
    EXPECT_EQ(At(e, 60, 10), clWhite);
    EXPECT_EQ(At(e, 100, 35), clWhite);
}

TEST_F(ShapeEngineTest, AHugeFillRunsWithoutRecursion)
{
    e.Canvas.SetSize(4000, 4000);
    e.ClearCanvas();
    // A comb of walls makes the fill snake through the whole area.
    QImage& img = e.Canvas.Image();
    for (int x = 2; x < 4000; x += 4)
        for (int y = 0; y < 4000; ++y)
            if (((x / 4) % 2 == 0 && y < 3998) || ((x / 4) % 2 == 1 && y > 1)) img.setPixel(x, y, ToPixel(clBlack));
    AddShape(e, skFill, QPoint(0, 0), QPoint(0, 0), clRed);
    EXPECT_EQ(At(e, 3999, 3999), clRed);
    EXPECT_EQ(At(e, 1, 3999), clRed);
}

TEST_F(ShapeEngineTest, FillWithASeedOutsideOrTheSameColourDoesNothing)
{
    AddShape(e, skRectangle, QPoint(10, 10), QPoint(50, 50), clBlack);
    const QImage before = e.Canvas.Image().copy();
    AddShape(e, skFill, QPoint(-1, 5), QPoint(-1, 5), clRed);
    AddShape(e, skFill, QPoint(140, 5), QPoint(140, 5), clRed);
    AddShape(e, skFill, QPoint(5, 70), QPoint(5, 70), clRed);
    AddShape(e, skFill, QPoint(5, 5), QPoint(5, 5), clWhite);
    EXPECT_TRUE(before == e.Canvas.Image());
    EXPECT_EQ(e.Shapes.size(), 5u);
}

TEST_F(ShapeEngineTest, ASingleClickPenStrokeLeavesADot)
{
    QImage view(140 * 6, 70 * 6, QImage::Format_RGB32);
    view.fill(ToPixel(clWhite));
    e.Scale.Zoom = 600;
    e.View = &view;
    e.ToolKind = e.SavedToolKind = skPen;
    e.PenSetting = 1;
    e.MouseDown(TMouseButton::mbLeft, QPoint(300, 120));
    EXPECT_EQ(FromPixel(view.pixel(300, 120)), clBlack); // the preview shows a dot
    e.MouseUp(TMouseButton::mbLeft, QPoint(300, 120));
    ASSERT_EQ(e.Shapes.size(), 1u);
    EXPECT_EQ(e.Shapes[0].Points.size(), 1u);
    EXPECT_EQ(At(e, 50, 20), clBlack);
    EXPECT_EQ(CountPixels(e.Canvas.Image(), clBlack), 1);
    // A wide pen's dot is round.
    e.PenSetting = 9;
    e.MouseDown(TMouseButton::mbLeft, QPoint(600, 240));
    e.MouseUp(TMouseButton::mbLeft, QPoint(600, 240));
    EXPECT_EQ(At(e, 100, 40), clBlack);
    EXPECT_EQ(At(e, 104, 40), clBlack);
    EXPECT_EQ(At(e, 105, 40), clWhite);
    EXPECT_EQ(At(e, 104, 44), clWhite);
}

TEST_F(ShapeEngineTest, MeasuredExtentOfAPenStroke)
{
    AddShape(e, skPen, QPoint(20, 30), QPoint(60, 30), clBlack, 5, 0, {QPoint(20, 30), QPoint(60, 30)});
    const TShapeRecord& r = e.Shapes.back();
    EXPECT_EQ(r.Leftmost, QPoint(20, 30));
    EXPECT_EQ(r.Rightmost, QPoint(60, 30));
    EXPECT_EQ(r.MarginL, -3);
    EXPECT_EQ(r.MarginR, 3);
    EXPECT_EQ(r.MarginT, -3);
    EXPECT_EQ(r.MarginB, 3);
    EXPECT_EQ(r.Handle, QPoint(20, 30));
}

TEST_F(ShapeEngineTest, HitTestReachesEightPixelsAndFillsFive)
{
    struct Case {
        int kind;
        QPoint click;
        int expected;
    } cases[] = {
        {skPen, QPoint(58, 30), 1},  {skPen, QPoint(59, 30), 0},  {skPen, QPoint(42, 22), 1},
        {skPen, QPoint(50, 39), 0},  {skFill, QPoint(55, 30), 1}, {skFill, QPoint(56, 30), 0},
        {skFill, QPoint(50, 35), 1}, {skFill, QPoint(50, 24), 0},
    };
    for (int zoom : {100, 600}) {
        e.Scale.Zoom = zoom;
        for (const Case& c : cases) {
            e.FreeShapeList();
            e.ClearCanvas();
            const QPoint at(e.ToView(50), e.ToView(30));
            AddShape(e, c.kind, at, at, clBlack, 1, 0, {at, at + QPoint(e.ToView(10), 0)});
            e.ToolKind = skMove;
            const QPoint click(e.ToView(c.click.x()), e.ToView(c.click.y()));
            EXPECT_EQ(e.SelectShapesAt(click), c.expected) << "kind " << c.kind << " zoom " << zoom;
            EXPECT_EQ(e.SelectedCount(), c.expected);
        }
    }
}

TEST_F(ShapeEngineTest, TheLastRecordWinsAndCtrlToggles)
{
    AddShape(e, skRectangle, QPoint(40, 20), QPoint(60, 40), clBlack); // handle (50, 30)
    AddShape(e, skRectangle, QPoint(42, 22), QPoint(62, 42), clRed);   // handle (52, 32)
    e.ToolKind = skMove;
    EXPECT_EQ(e.SelectShapesAt(QPoint(51, 31)), 1);
    EXPECT_FALSE(e.Shapes[0].Selected);
    EXPECT_TRUE(e.Shapes[1].Selected);

    e.DeselectAllShapes();
    e.CtrlCopy = true;
    EXPECT_EQ(e.SelectShapesAt(QPoint(43, 23)), 1);  // only the first is in reach
    EXPECT_EQ(e.SelectShapesAt(QPoint(43, 23)), -1); // and clicking it again deselects it
    EXPECT_EQ(e.SelectShapesAt(QPoint(51, 31)), 2);  // both
    EXPECT_EQ(e.SelectShapesAt(QPoint(51, 31)), -2);
}

TEST_F(ShapeEngineTest, DeselectingAtTheCornerSelectsNothing)
{
    AddShape(e, skRectangle, QPoint(0, 0), QPoint(6, 6), clBlack); // handle (3, 3), next to the corner
    e.RangeL = 0;
    e.RangeT = 0;
    e.RangeR = 140;
    e.RangeB = 70;
    e.Shapes[0].Selected = 1;
    EXPECT_EQ(e.SelectShapesAt(QPoint(0, 0)), 0);
    EXPECT_EQ(e.SelectedCount(), 0);
    // A range still selects what lies inside it when asked at a real point.
    e.ToolKind = skRangeMade;
    EXPECT_EQ(e.SelectShapesAt(QPoint(100, 60)), 1);
    // (-2, -2) picks the last record.
    EXPECT_EQ(e.SelectShapesAt(QPoint(-2, -2)), 1);
}

TEST_F(ShapeEngineTest, MovingShapesByTheMouse)
{
    QImage view(840, 420, QImage::Format_RGB32);
    e.Scale.Zoom = 600;
    e.View = &view;
    const std::vector<QPoint> stroke{QPoint(120, 120), QPoint(240, 180), QPoint(300, 120)};
    AddShape(e, skPen, stroke[0], stroke.back(), clBlack, 3, 0, stroke);
    e.PushUndo();
    const TShapeRecord before = e.Shapes[0];
    e.ToolKind = skMove;
    e.SavedToolKind = skPen;
    e.MouseDown(TMouseButton::mbLeft, QPoint(126, 126));
    ASSERT_EQ(e.Ghosts.size(), 1u);
    EXPECT_EQ(e.Ghosts[0].Anchor, QPoint(before.Leftmost.x() + before.MarginL, before.Topmost.y() + before.MarginT));
    e.MouseMove(QPoint(186, 66));
    EXPECT_EQ(e.GhostOffset, QPoint(60, -60));
    e.MouseUp(TMouseButton::mbLeft, QPoint(186, 66));
    ASSERT_EQ(e.Shapes.size(), 1u);
    const TShapeRecord& after = e.Shapes[0];
    const QPoint d(10, -10);
    EXPECT_EQ(after.A[0], before.A[0] + d);
    EXPECT_EQ(after.C[0], after.A[0]);
    EXPECT_EQ(after.Handle, before.Handle + d);
    for (size_t i = 0; i < stroke.size(); ++i) EXPECT_EQ(after.Points[i], before.Points[i] + d);
    EXPECT_EQ(e.ToolKind, skPen);
    EXPECT_TRUE(e.Ghosts.empty());
    EXPECT_EQ(e.Undo.Cur(), 2);
    EXPECT_TRUE(e.Canvas.Image() == FullRedraw(e));
}

TEST_F(ShapeEngineTest, CtrlDuplicatesInsteadOfMoving)
{
    AddShape(e, skRectangle, QPoint(10, 10), QPoint(30, 30), clRed, 2);
    AddShape(e, skEllipse, QPoint(80, 10), QPoint(100, 30), clBlue, 2);
    e.ToolKind = skMove;
    e.CtrlCopy = true;
    ASSERT_EQ(e.SelectShapesAt(QPoint(20, 20)), 1);
    e.StartShapeMove();
    EXPECT_EQ(e.MoveCopies.size(), 1u);
    e.FinishShapeMove(0, 30);
    ASSERT_EQ(e.Shapes.size(), 3u);
    EXPECT_EQ(e.Shapes[0].A[0], QPoint(10, 10));
    EXPECT_EQ(e.Shapes[2].A[0], QPoint(10, 40));
    EXPECT_EQ(e.Shapes[2].Kind, skRectangle);
    EXPECT_EQ(At(e, 10, 40), clRed);
    EXPECT_EQ(At(e, 10, 10), clRed);
    EXPECT_TRUE(e.Canvas.Image() == FullRedraw(e));
}

TEST_F(ShapeEngineTest, AClickWithoutMovementEndsTheMove)
{
    AddShape(e, skRectangle, QPoint(10, 10), QPoint(30, 30), clRed, 2);
    e.ToolKind = skMove;
    e.SavedToolKind = skPen;
    const QImage before = e.Canvas.Image().copy();
    e.MouseDown(TMouseButton::mbLeft, QPoint(20, 20));
    e.MouseUp(TMouseButton::mbLeft, QPoint(20, 20));
    EXPECT_EQ(e.ToolKind, skPen);
    EXPECT_EQ(e.SelectedCount(), 0);
    EXPECT_TRUE(before == e.Canvas.Image());
    EXPECT_EQ(e.Shapes[0].A[0], QPoint(10, 10));
}

TEST_F(ShapeEngineTest, ReshapingTheLastStrokeWhileTheLightIsGreen)
{
    QImage view(140, 70, QImage::Format_RGB32);
    e.View = &view;
    e.ToolKind = e.SavedToolKind = skPen;
    e.PenSetting = 1;
    e.MouseDown(TMouseButton::mbLeft, QPoint(20, 35));
    e.MouseMove(QPoint(120, 35));
    e.MouseUp(TMouseButton::mbLeft, QPoint(120, 35));
    EXPECT_TRUE(e.ReformCan);
    EXPECT_TRUE(e.ReformOn);
    EXPECT_EQ(At(e, 70, 33), clWhite);
    e.PenSetting = 5;
    e.ReshapeFromSettings();
    EXPECT_EQ(e.Shapes.back().Width, 5);
    EXPECT_EQ(At(e, 70, 33), clBlack);
    EXPECT_TRUE(e.PendingModification);
    EXPECT_TRUE(e.Canvas.Image() == FullRedraw(e));
    // The re-shape becomes a state of its own at the next action.
    ASSERT_FALSE(e.Undo.CanRedo());
    const auto cur = e.Undo.Cur();
    e.CommitPendingShape(true);
    EXPECT_EQ(e.Undo.Cur(), cur + 1);
    EXPECT_FALSE(e.Undo.CanRedo());

    // Clicked to red: a change of the width leaves the shapes alone.
    e.SetReformState(true, false);
    e.PenSetting = 20;
    e.ReshapeFromSettings();
    EXPECT_EQ(e.Shapes.back().Width, 5);
}

TEST_F(ShapeEngineTest, CurvatureReshapesOnlyLines)
{
    AddShape(e, skLine, QPoint(20, 50), QPoint(120, 50), clBlack, 1);
    e.SetReformState(true, true);
    e.CurveSetting = 18;
    e.ReshapeFromSettings();
    EXPECT_EQ(e.Shapes.back().Curve, 18);
    // An arc over the chord about the midpoint (70, 50).
    bool above = false;
    for (int y = 10; y < 25; ++y) above = above || At(e, 70, y) == clBlack;
    EXPECT_TRUE(above);
    EXPECT_EQ(At(e, 70, 50), clWhite);
}

TEST_F(ShapeEngineTest, NotXorPreviewDrawnTwiceLeavesTheViewAsItWas)
{
    QImage view(840, 420, QImage::Format_RGB32);
    e.Scale.Zoom = 600;
    e.PaintView(view);
    const QImage before = view.copy();
    e.View = &view;
    e.PenStyle = 1;
    e.PenSetting = 4;
    for (int kind : {skRectangle, skEllipse, skLine}) {
        e.ToolKind = e.SavedToolKind = kind;
        e.MouseDown(TMouseButton::mbLeft, QPoint(100, 100));
        e.MouseMove(QPoint(300, 200));
        EXPECT_FALSE(before == view);
        e.MouseMove(QPoint(500, 350));
        e.CurrentPoint = QPoint(500, 350);
        e.DrawPreview(TPenMode::pmNotXor);
        EXPECT_TRUE(before == view) << kind;
        e.Dragging = false;
    }
}

TEST_F(ShapeEngineTest, ZoomedViewPaintingOrder)
{
    e.Scale.Zoom = 600;
    AddShape(e, skRectangle, QPoint(0, 0), QPoint(600, 300), clRed);
    QImage view(840, 420, QImage::Format_RGB32);
    e.GuideArmed = true;
    e.PaintView(view);
    // The canvas pixel (0, 0) covers 6 x 6 view pixels.
    EXPECT_EQ(FromPixel(view.pixel(5, 5)), clRed);
    // The grid runs through x = ToView(70) - 1 in the mask mode: white turns grey, red stays red.
    EXPECT_EQ(FromPixel(view.pixel(419, 200)) & 0xFFFFFF, TColor(0x808080));
    EXPECT_FALSE(e.GuideArmed);
    // The guide text is drawn once: blue pixels near its place.
    bool blue = false;
    for (int y = 20; y < 40 && !blue; ++y)
        for (int x = 20; x < 200 && !blue; ++x) blue = FromPixel(view.pixel(x, y)) == clBlue;
    EXPECT_TRUE(blue);
}

TEST_F(ShapeEngineTest, APictureCutWithAFreeOutlineIsClippedAndMovesWithIt)
{
    // A red 20 x 20 picture at (20, 20), clipped to a triangle.
    e.FloatingRange.SetSize(20, 20);
    e.FloatingRange.Canvas().Brush.Color = clRed;
    e.FloatingRange.Canvas().FillRect(0, 0, 20, 20);
    e.FreeRange = true;
    e.ToolKind = e.SavedToolKind = skPicture;
    e.StartPoint = e.CurrentPoint = QPoint(20, 20);
    e.InProgress = {QPoint(20, 20), QPoint(39, 20), QPoint(20, 39)};
    e.AddShapeRecord(e.BuildShape(clBlack));
    e.FreeRange = false;
    ASSERT_EQ(e.Shapes.size(), 1u);
    EXPECT_EQ(e.Shapes[0].FreeOutline, 1);
    EXPECT_EQ(At(e, 22, 22), clRed);
    EXPECT_EQ(At(e, 37, 37), clWhite); // outside the triangle, inside the picture
    EXPECT_EQ(e.Shapes[0].Handle, QPoint(30, 30));

    e.ToolKind = skMove;
    ASSERT_EQ(e.SelectShapesAt(QPoint(30, 30)), 1);
    e.StartShapeMove();
    ASSERT_EQ(e.Ghosts.size(), 1u);
    EXPECT_EQ(e.Ghosts[0].CanvasSize, QSize(20, 20));
    e.FinishShapeMove(50, 0);
    EXPECT_EQ(e.Shapes[0].Points[1], QPoint(89, 20));
    EXPECT_EQ(At(e, 72, 22), clRed);
    EXPECT_EQ(At(e, 87, 37), clWhite);
    EXPECT_EQ(At(e, 22, 22), clWhite);
    EXPECT_TRUE(e.Canvas.Image() == FullRedraw(e));

    // Moved partly past the canvas's top-left corner, it shows there exactly what its outline holds.
    ASSERT_EQ(e.SelectShapesAt(QPoint(80, 30)), 1);
    e.StartShapeMove();
    e.FinishShapeMove(-75, -28);
    const std::vector<QPoint>& outline = e.Shapes[0].Points;
    const QRegion inside(QPolygon(QList<QPoint>(outline.begin(), outline.end())), Qt::OddEvenFill);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(At(e, x, y), inside.contains(QPoint(x, y)) ? clRed : clWhite) << x << "," << y;
}

TEST_F(ShapeEngineTest, PicturesAreTransparentUnlessDrawnWithTheEraser)
{
    e.Canvas.Image().fill(ToPixel(clBlue));
    e.FloatingRange.SetSize(10, 10); // all pure white
    e.FloatingRange.Image().setPixel(5, 5, ToPixel(clRed));
    e.ToolKind = e.SavedToolKind = skPicture;
    e.StartPoint = e.CurrentPoint = QPoint(0, 0);
    e.AddShapeRecord(e.BuildShape(clBlack));
    EXPECT_EQ(At(e, 1, 1), clBlue);
    EXPECT_EQ(At(e, 5, 5), clRed);
    e.StartPoint = e.CurrentPoint = QPoint(50, 0);
    e.AddShapeRecord(e.BuildShape(e.EraserColor));
    EXPECT_EQ(At(e, 51, 1), clWhite);
    EXPECT_EQ(At(e, 55, 5), clRed);
}

TEST_F(ShapeEngineTest, AStretchedPictureShowsExactlyWhatItsWholeStretchShows)
{
    // Beyond the random pictures: stretches past 32767 pixels wide and tall, one over 512 times, a
    // picture over 32767 rows tall whose lower rows sample their columns apart, an exact shrink by an
    // even ratio, and a stretch too large to make, drawn unscaled. `at`: where its corner lands.
    struct Case {
        int w, h, curve, type;
        std::optional<QPoint> at;
    };
    std::vector<Case> cases = {{1000, 1, 32000, 0, QPoint(-20000, 20)}, {1, 1000, 32000, 0, QPoint(60, -20000)},
                               {2, 2, 1750, 0, QPoint(-876, -876)},    {179, 32797, 653, 0, QPoint(-57, -35991)},
                               {392, 34, -193, 1, QPoint(70, 30)},      {200, 200, 10000, 0, QPoint(-50, -50)}};
    std::mt19937 rng(11);
    const auto U = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    for (int i = 0; i < 400; ++i) cases.push_back({U(0, 4) ? U(1, 80) : 1, U(0, 4) ? U(1, 80) : 1, U(-60, 400), U(0, 2), {}});
    QImage target(140, 70, QImage::Format_RGB32);
    for (const Case& c : cases) {
        QImage pic(c.w, c.h, QImage::Format_RGB32);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) reinterpret_cast<QRgb*>(pic.scanLine(y))[x] = rng() | 0xFF000000u;
        const QPoint m = StretchMargins(c.w, c.h, c.curve, c.type);
        QSize size(c.w + 2 * m.x(), c.h + 2 * m.y());
        const bool stretched = c.curve != 0 && !size.isEmpty() && qint64(size.width()) * size.height() <= kMaxPicturePixels;
        if (!stretched) size = pic.size();
        const QPoint at = c.at ? *c.at : QPoint(U(1 - size.width(), 139), U(1 - size.height(), 69));
        const QImage whole = stretched ? pic.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation) : pic;
        QImage expected(target.size(), QImage::Format_RGB32);
        expected.fill(ToPixel(clBlue));
        const QRect shown = QRect(at, size).intersected(expected.rect());
        for (int y = shown.top(); y <= shown.bottom(); ++y)
            for (int x = shown.left(); x <= shown.right(); ++x) expected.setPixel(x, y, whole.pixel(x - at.x(), y - at.y()));

        TShapeRecord r;
        r.Kind = skPicture;
        r.Picture = std::make_shared<TBitmap>();
        r.Picture->Assign(pic);
        r.Curve = c.curve;
        r.StretchType = c.type;
        r.B[0] = stretched ? at + m : at;
        target.fill(ToPixel(clBlue));
        e.RenderShape(r, target, false, false, false, TPenMode::pmCopy);
        ASSERT_TRUE(target == expected) << c.w << "x" << c.h << " curve " << c.curve << " type " << c.type << " to "
                                        << size.width() << "x" << size.height() << " at " << at.x() << "," << at.y();
    }
}

// --- the canvas mouse of the tools ---------------------------------------------------------------

namespace {

// A drag from a to b with Shift held; the constrained end point of the stored shape.
QPoint ShiftDragEnd(TShapeEngine& e, int kind, QPoint a, QPoint b)
{
    e.FreeShapeList();
    e.ToolKind = e.SavedToolKind = kind;
    e.ShiftHeld = true;
    e.MouseDown(TMouseButton::mbLeft, a);
    e.MouseMove(b);
    e.MouseUp(TMouseButton::mbLeft, b);
    e.ShiftHeld = false;
    return e.Shapes.empty() ? QPoint(-1, -1) : e.Shapes.back().B[0];
}

} // namespace

TEST_F(ShapeEngineTest, ShiftConstraintsInAllFourQuadrants)
{
    const QPoint s(70, 35);
    struct Case {
        QPoint to;
        QPoint square; // rectangle and ellipse
        QPoint line;
    } cases[] = {
        {QPoint(100, 45), QPoint(100, 65), QPoint(100, 35)}, // right, a little down: wider than high
        {QPoint(60, 5), QPoint(40, 5), QPoint(70, 5)},       // up, a little left: higher than wide
        {QPoint(40, 50), QPoint(40, 65), QPoint(40, 35)},    // left and down
        {QPoint(90, 10), QPoint(95, 10), QPoint(70, 10)},    // up and right, higher than wide
        {QPoint(80, 45), QPoint(80, 45), QPoint(70, 45)},    // equal offsets: a square, and the line goes vertical
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShiftDragEnd(e, skRectangle, s, c.to), c.square) << c.to.x() << "," << c.to.y();
        EXPECT_EQ(ShiftDragEnd(e, skEllipse, s, c.to), c.square) << c.to.x() << "," << c.to.y();
        EXPECT_EQ(ShiftDragEnd(e, skLine, s, c.to), c.line) << c.to.x() << "," << c.to.y();
    }
    // The edge cases as the user draws them: a line from (10, 10) towards (40, 20) is horizontal,
    // a rectangle the square (10, 10)-(40, 40).
    EXPECT_EQ(ShiftDragEnd(e, skLine, QPoint(10, 10), QPoint(40, 20)), QPoint(40, 10));
    EXPECT_EQ(ShiftDragEnd(e, skRectangle, QPoint(10, 10), QPoint(40, 20)), QPoint(40, 40));
    // Without Shift the end is where the pointer is.
    e.ToolKind = e.SavedToolKind = skLine;
    e.MouseDown(TMouseButton::mbLeft, QPoint(10, 10));
    e.MouseUp(TMouseButton::mbLeft, QPoint(40, 20));
    EXPECT_EQ(e.Shapes.back().B[0], QPoint(40, 20));
}

TEST_F(ShapeEngineTest, ShiftLocksAPenStrokeToItsFirstAxis)
{
    struct Case {
        QPoint first;
        std::vector<QPoint> expected;
    } cases[] = {
        {QPoint(25, 22), {QPoint(20, 20), QPoint(25, 20), QPoint(40, 20), QPoint(10, 20)}}, // x first: horizontal
        {QPoint(18, 28), {QPoint(20, 20), QPoint(20, 28), QPoint(20, 35), QPoint(20, 5)}},  // y first: vertical
        {QPoint(15, 14), {QPoint(20, 20), QPoint(20, 14), QPoint(20, 35), QPoint(20, 5)}},  // up-left, y larger
        {QPoint(27, 16), {QPoint(20, 20), QPoint(27, 20), QPoint(40, 20), QPoint(10, 20)}}, // up-right, x larger
    };
    for (const Case& c : cases) {
        e.FreeShapeList();
        e.ToolKind = e.SavedToolKind = skPen;
        e.ShiftHeld = true;
        e.MouseDown(TMouseButton::mbLeft, QPoint(20, 20));
        // Equal offsets leave the lock open and the point as it is.
        e.MouseMove(QPoint(22, 22));
        EXPECT_EQ(e.InProgress.back(), QPoint(22, 22));
        e.InProgress.pop_back();
        e.MouseMove(c.first);
        e.MouseMove(QPoint(40, 35));
        e.MouseMove(QPoint(10, 5));
        EXPECT_EQ(e.InProgress, c.expected) << c.first.x() << "," << c.first.y();
        e.MouseUp(TMouseButton::mbLeft, QPoint(10, 5));
        e.ShiftHeld = false;
    }
}

TEST_F(ShapeEngineTest, RangesAreMadeByADragNotByAClick)
{
    e.ToolKind = e.SavedToolKind = skRangeDrawing;
    // Rectangular, clicked without movement: no range, the tool stays.
    e.MouseDown(TMouseButton::mbLeft, QPoint(30, 30));
    e.MouseUp(TMouseButton::mbLeft, QPoint(30, 30));
    EXPECT_FALSE(e.HasRange());
    EXPECT_EQ(e.ToolKind, skRangeDrawing);
    // Dragged up and left: the rectangle is ordered.
    e.MouseDown(TMouseButton::mbLeft, QPoint(60, 50));
    e.MouseMove(QPoint(40, 45));
    e.MouseUp(TMouseButton::mbLeft, QPoint(20, 10));
    EXPECT_EQ(QRect(QPoint(e.RangeL, e.RangeT), QPoint(e.RangeR, e.RangeB)), QRect(QPoint(20, 10), QPoint(60, 50)));
    EXPECT_EQ(e.ToolKind, skRangeMade);
    // A press outside it ends it and starts the next range there.
    e.MouseDown(TMouseButton::mbLeft, QPoint(100, 60));
    EXPECT_FALSE(e.HasRange());
    EXPECT_EQ(e.ToolKind, skRangeDrawing);
    EXPECT_TRUE(e.Dragging);
    e.MouseUp(TMouseButton::mbLeft, QPoint(100, 60));

    // Free, clicked without movement: no range either.
    e.FreeRangeTool = true;
    e.MouseDown(TMouseButton::mbLeft, QPoint(30, 30));
    e.MouseMove(QPoint(30, 30));
    e.MouseUp(TMouseButton::mbLeft, QPoint(30, 30));
    EXPECT_FALSE(e.HasRange());
    EXPECT_TRUE(e.InProgress.empty());
    EXPECT_EQ(e.ToolKind, skRangeDrawing);
    // Free with movement: the range is the outline's bounding box.
    e.MouseDown(TMouseButton::mbLeft, QPoint(30, 30));
    for (QPoint p : {QPoint(50, 25), QPoint(60, 50), QPoint(25, 55)}) e.MouseMove(p);
    e.MouseUp(TMouseButton::mbLeft, QPoint(25, 55));
    EXPECT_TRUE(e.FreeRange);
    EXPECT_EQ(QRect(QPoint(e.RangeL, e.RangeT), QPoint(e.RangeR, e.RangeB)), QRect(QPoint(25, 25), QPoint(60, 55)));
    EXPECT_TRUE(e.PointInRange(QPoint(40, 40)));
    EXPECT_FALSE(e.PointInRange(QPoint(58, 28))); // inside the box, outside the outline
}

TEST_F(ShapeEngineTest, FillAndRangePressesBesideTheCanvasAreIgnored)
{
    e.Scale.Zoom = 600;
    for (QPoint p : {QPoint(-3, 10), QPoint(10, -1), QPoint(840, 10), QPoint(10, 420)}) {
        e.ToolKind = e.SavedToolKind = skFill;
        e.MouseDown(TMouseButton::mbLeft, p);
        EXPECT_TRUE(e.Shapes.empty()) << p.x() << "," << p.y();
        EXPECT_EQ(e.Undo.Cur(), 0);
        e.ToolKind = e.SavedToolKind = skRangeDrawing;
        e.MouseDown(TMouseButton::mbLeft, p);
        EXPECT_FALSE(e.Dragging);
        EXPECT_FALSE(e.HasRange());
    }
    e.ToolKind = e.SavedToolKind = skFill;
    e.MouseDown(TMouseButton::mbLeft, QPoint(839, 419));
    EXPECT_EQ(e.Shapes.size(), 1u);
}

TEST_F(ShapeEngineTest, ALiftedRangeMovesItsPixels)
{
    // A blue block at (20, 20)-(40, 40) over a red line.
    AddShape(e, skLine, QPoint(0, 30), QPoint(139, 30), clRed, 1);
    e.ToolKind = e.SavedToolKind = skFill;
    e.Canvas.Canvas().Brush.Color = clBlue;
    e.Canvas.Canvas().FillRect(20, 20, 40, 40);
    e.BasePicture = std::make_shared<TBitmap>(e.Canvas);
    e.FreeShapeList();
    e.PushUndo();
    const std::int64_t cur = e.Undo.Cur();

    e.ToolKind = e.SavedToolKind = skRangeDrawing;
    e.MouseDown(TMouseButton::mbLeft, QPoint(20, 20));
    e.MouseUp(TMouseButton::mbLeft, QPoint(40, 40));
    ASSERT_EQ(e.ToolKind, skRangeMade);
    e.MouseDown(TMouseButton::mbLeft, QPoint(25, 25));
    EXPECT_EQ(e.ToolKind, skMove);
    EXPECT_TRUE(e.Dragging);
    ASSERT_EQ(e.Shapes.size(), 2u);
    EXPECT_EQ(e.Shapes[0].Color, e.EraserColor);
    EXPECT_TRUE(e.Shapes[1].Selected);
    EXPECT_EQ(e.Shapes[1].Picture->Image().size(), QSize(20, 20));
    // While it moves, its old place shows as the cover leaves it: pure white.
    EXPECT_EQ(At(e, 25, 25), clWhite);
    e.MouseMove(QPoint(85, 35));
    e.MouseUp(TMouseButton::mbLeft, QPoint(85, 35));
    EXPECT_EQ(e.ToolKind, skRangeDrawing);
    EXPECT_FALSE(e.HasRange());
    EXPECT_EQ(At(e, 85, 35), clBlue);
    EXPECT_EQ(At(e, 99, 39), clBlue);
    EXPECT_EQ(At(e, 25, 25), clWhite);
    EXPECT_EQ(At(e, 10, 30), clRed);
    EXPECT_EQ(e.Undo.Cur(), cur + 1);
    EXPECT_TRUE(e.Canvas.Image() == FullRedraw(e));
    e.UndoClick();
    EXPECT_EQ(At(e, 25, 25), clBlue);
    EXPECT_EQ(At(e, 85, 35), clWhite);
}

TEST_F(ShapeEngineTest, ALiftedRangeWithCtrlIsDuplicated)
{
    e.Canvas.Canvas().Brush.Color = clBlue;
    e.Canvas.Canvas().FillRect(20, 20, 40, 40);
    e.BasePicture = std::make_shared<TBitmap>(e.Canvas);
    e.ToolKind = e.SavedToolKind = skRangeDrawing;
    e.MouseDown(TMouseButton::mbLeft, QPoint(20, 20));
    e.MouseUp(TMouseButton::mbLeft, QPoint(40, 40));
    e.CtrlCopy = true;
    e.MouseDown(TMouseButton::mbLeft, QPoint(30, 30));
    // With Ctrl held the lifted pixels stay shown at their place.
    EXPECT_EQ(At(e, 25, 25), clBlue);
    e.MouseMove(QPoint(90, 30));
    e.MouseUp(TMouseButton::mbLeft, QPoint(90, 30));
    e.CtrlCopy = false;
    EXPECT_EQ(At(e, 25, 25), clBlue);
    EXPECT_EQ(At(e, 85, 25), clBlue);
    EXPECT_EQ(e.Shapes.size(), 3u);
    EXPECT_TRUE(e.Canvas.Image() == FullRedraw(e));
}

TEST_F(ShapeEngineTest, AFreeRangeLiftsOnlyWhatItsOutlineHolds)
{
    e.Canvas.Image().fill(ToPixel(clBlue));
    e.BasePicture = std::make_shared<TBitmap>(e.Canvas);
    e.ToolKind = e.SavedToolKind = skRangeDrawing;
    e.FreeRangeTool = true;
    // A triangle (20, 20), (60, 20), (20, 60).
    e.MouseDown(TMouseButton::mbLeft, QPoint(20, 20));
    e.MouseMove(QPoint(60, 20));
    e.MouseMove(QPoint(20, 60));
    e.MouseUp(TMouseButton::mbLeft, QPoint(20, 60));
    ASSERT_EQ(e.ToolKind, skRangeMade);
    // Inside the box but outside the outline: no lift, the range ends.
    e.MouseDown(TMouseButton::mbLeft, QPoint(55, 55));
    EXPECT_NE(e.ToolKind, skMove);
    e.MouseUp(TMouseButton::mbLeft, QPoint(55, 55));
    e.ToolKind = skRangeDrawing;
    e.MouseDown(TMouseButton::mbLeft, QPoint(20, 20));
    e.MouseMove(QPoint(60, 20));
    e.MouseMove(QPoint(20, 60));
    e.MouseUp(TMouseButton::mbLeft, QPoint(20, 60));
    e.MouseDown(TMouseButton::mbLeft, QPoint(25, 25));
    ASSERT_EQ(e.ToolKind, skMove);
    e.MouseMove(QPoint(25, 35));
    e.MouseUp(TMouseButton::mbLeft, QPoint(25, 35));
    // The triangle's inside went 10 down; the corner beside it was left where it was.
    EXPECT_EQ(At(e, 22, 22), clWhite);
    EXPECT_EQ(At(e, 22, 32), clBlue);
    EXPECT_EQ(At(e, 55, 55), clBlue);
    EXPECT_EQ(At(e, 50, 22), clWhite);
    EXPECT_TRUE(e.Canvas.Image() == FullRedraw(e));
}

TEST_F(ShapeEngineTest, OnlyTheLeftReleaseEndsADrag)
{
    // A line being drawn survives a right click.
    e.ToolKind = e.SavedToolKind = skLine;
    e.MouseDown(TMouseButton::mbLeft, QPoint(10, 10));
    e.MouseDown(TMouseButton::mbRight, QPoint(50, 30));
    e.MouseUp(TMouseButton::mbRight, QPoint(50, 30));
    EXPECT_TRUE(e.Dragging);
    e.MouseUp(TMouseButton::mbLeft, QPoint(50, 30));
    ASSERT_EQ(e.Shapes.size(), 1u);
    EXPECT_EQ(e.Shapes[0].B[0], QPoint(50, 30));

    // Shapes being moved are not left off the canvas by a middle click.
    e.PushUndo();
    e.ToolKind = skMove;
    e.MouseDown(TMouseButton::mbLeft, QPoint(10, 10));
    ASSERT_TRUE(e.Dragging);
    e.MouseUp(TMouseButton::mbMiddle, QPoint(20, 20));
    EXPECT_TRUE(e.Dragging);
    EXPECT_FALSE(e.MoveCopies.empty());
    e.MouseMove(QPoint(20, 20));
    e.MouseUp(TMouseButton::mbLeft, QPoint(20, 20));
    EXPECT_EQ(e.Shapes[0].A[0], QPoint(20, 20));
    EXPECT_EQ(At(e, 20, 20), clBlack);
    EXPECT_TRUE(e.Canvas.Image() == FullRedraw(e));
}

TEST_F(ShapeEngineTest, ThePressThatClosesThePopupDoesNotPaint)
{
    e.ToolKind = e.SavedToolKind = skFill;
    e.PopupFlag = true;
    e.MouseDown(TMouseButton::mbLeft, QPoint(10, 10));
    EXPECT_TRUE(e.Shapes.empty());
    EXPECT_FALSE(e.PopupFlag);
    e.MouseDown(TMouseButton::mbLeft, QPoint(10, 10));
    EXPECT_EQ(e.Shapes.size(), 1u);
    // A line is drawn all the same: only the pen and the fill paint at the press.
    e.ToolKind = e.SavedToolKind = skLine;
    e.PopupFlag = true;
    e.MouseDown(TMouseButton::mbLeft, QPoint(10, 10));
    EXPECT_TRUE(e.Dragging);
    e.MouseUp(TMouseButton::mbLeft, QPoint(30, 10));
    EXPECT_EQ(e.Shapes.size(), 2u);
}

TEST_F(ShapeEngineTest, UndoAfterASaveKeepsTheSavedDrawing)
{
    AddShape(e, skLine, QPoint(0, 10), QPoint(100, 10), clRed, 1);
    e.PushUndo();
    // As a save leaves it: the shapes stay, the ring starts again.
    e.ClearUndo(true);
    EXPECT_FALSE(e.CanUndo());
    AddShape(e, skLine, QPoint(0, 20), QPoint(100, 20), clBlue, 1);
    e.PushUndo();
    e.UndoClick();
    ASSERT_EQ(e.Shapes.size(), 1u);
    EXPECT_EQ(At(e, 50, 10), clRed);
    EXPECT_EQ(At(e, 50, 20), clWhite);
    EXPECT_FALSE(e.CanUndo());
}

// The editor's palette and tools on the real form: palette refusals and the colour dialog, the
// eyedropper, the eraser, the keep-colour option, the tool cursors, ranges by mouse and the
// range mode key.
#include "EditorFormFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <string>

namespace {

// The picture of the cursor the canvas shows, by its resource name; "arrow" for the plain arrow.
std::string CanvasCursor(const TFormPictureEditor& f)
{
    const QCursor c = f.Image1->cursor();
    if (c.shape() != Qt::BitmapCursor) return c.shape() == Qt::ArrowCursor ? "arrow" : "?";
    const QImage shown = c.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    for (const char* name : {"SPOIT", "FLOOD", "ERASER", "RANGE", "RANGE2"}) {
        const QString path = QStringLiteral(":/cursors/%1.png").arg(QLatin1String(name));
        if (ReadResourcePicture(path, "PNG").convertToFormat(QImage::Format_ARGB32) == shown) return name;
    }
    return "?";
}

} // namespace

TEST_F(EditorForm, TheTopRowOfThePaletteCannotBeChanged)
{
    int asked = 0;
    form->cdPalletExecute = [&](TColor&) {
        ++asked;
        return true;
    };
    for (int i = 0; i < 4; ++i) {
        dialogs.Clear();
        form->pnC00MouseDown(i);
        form->sbPalletClick();
        const auto boxes = dialogs.Boxes();
        ASSERT_EQ(boxes.size(), 1u) << i;
        EXPECT_EQ(boxes[0].text, QStringLiteral("パレット最上段にある色の変更はできません。"));
        EXPECT_EQ(boxes[0].type, TMsgDlgType::mtWarning);
        EXPECT_EQ(dialogs.BeepCount(MB_ICONASTERISK), 1);
    }
    EXPECT_EQ(asked, 0);
    // "ｽﾎﾟ" and "消" keep their captions and colours.
    EXPECT_EQ(form->Palette[3]->Color(), clWhite);
    EXPECT_EQ(form->Palette[2]->text(), QStringLiteral("ｽﾎﾟ"));
}

TEST_F(EditorForm, TheColourDialogNeverGivesATransparentOrMarkerColour)
{
    TFormPictureEditor& f = *form;
    struct Case {
        TColor chosen;
        TColor kept;
    } cases[] = {
        {clWhite, f.Engine.OpaqueWhite},
        {f.Engine.MarkerColor, f.Engine.OpaqueWhite},
        {RGBColor(12, 34, 56), RGBColor(12, 34, 56)},
        {f.Engine.OpaqueWhite, f.Engine.OpaqueWhite},
    };
    f.pnC00MouseDown(10);
    for (const Case& c : cases) {
        f.cdPalletExecute = [&](TColor& colour) {
            colour = c.chosen;
            return true;
        };
        f.sbPalletClick();
        EXPECT_EQ(f.Palette[10]->Color(), c.kept);
        EXPECT_EQ(f.Engine.DrawColor, c.kept);
    }
    EXPECT_EQ(f.lbR->text(), QStringLiteral("R=255"));
    EXPECT_EQ(f.lbG->text(), QStringLiteral("G=254"));
    // Cancel leaves the colour.
    f.cdPalletExecute = [](TColor& colour) {
        colour = clRed;
        return false;
    };
    f.sbPalletClick();
    EXPECT_EQ(f.Palette[10]->Color(), f.Engine.OpaqueWhite);
    EXPECT_TRUE(dialogs.Boxes().empty());
    // The panel's caption colour follows what it holds.
    f.cdPalletExecute = [](TColor& colour) {
        colour = RGBColor(10, 10, 80);
        return true;
    };
    f.sbPalletClick();
    EXPECT_EQ(f.Palette[10]->Color(), RGBColor(10, 10, 80));
}

TEST_F(EditorForm, TheEyedropperTakesWhatTheViewShows)
{
    TFormPictureEditor& f = *form;
    // A red line across the middle, drawn with the pen.
    f.pnC00MouseDown(4);
    Stroke({QPoint(60, 210), QPoint(780, 210)});
    f.sbFloodFillClick();
    ASSERT_TRUE(f.sbFloodFill->isChecked());

    QTest::mouseClick(f.sbSpoit, Qt::LeftButton);
    EXPECT_TRUE(f.EyedropperMode);
    EXPECT_TRUE(f.sbSpoit->isChecked());
    EXPECT_EQ(CanvasCursor(f), "SPOIT");
    Click(QPoint(300, 210));
    EXPECT_EQ(f.Palette[2]->Color(), clRed);
    EXPECT_EQ(f.SelectedPalette, 2);
    EXPECT_EQ(f.Engine.DrawColor, clRed);
    // The press picked, the release ended the mode; the fill tool is back with its cursor, and
    // nothing was filled.
    EXPECT_FALSE(f.EyedropperMode);
    EXPECT_TRUE(f.sbFloodFill->isChecked());
    EXPECT_FALSE(f.sbSpoit->isChecked());
    EXPECT_EQ(CanvasCursor(f), "FLOOD");
    EXPECT_EQ(f.Engine.Shapes.size(), 1u);

    // The transparent background and the marker come in as visible white.
    QTest::mouseClick(f.sbSpoit, Qt::LeftButton);
    Click(QPoint(300, 380));
    EXPECT_EQ(f.Palette[2]->Color(), f.Engine.OpaqueWhite);
    // A dashed rectangle leaves marker-coloured gaps.
    f.sbCircleClick();
    f.imP0MouseDown(1);
    f.pnC00MouseDown(0);
    Stroke({QPoint(60, 250), QPoint(780, 400)});
    QPoint marker(-1, -1);
    for (int x = 10; x < 130 && marker.x() < 0; ++x)
        if (CanvasAt(x, 41) == f.Engine.MarkerColor) marker = QPoint(x, 41);
    ASSERT_GE(marker.x(), 0);
    QTest::mouseClick(f.sbSpoit, Qt::LeftButton);
    Click(marker * 6 + QPoint(3, 3));
    EXPECT_EQ(f.Palette[2]->Color(), f.Engine.OpaqueWhite);
    EXPECT_TRUE(f.sbCircle->isChecked());
    // A palette click ends the mode as well.
    QTest::mouseClick(f.sbSpoit, Qt::LeftButton);
    f.pnC00MouseDown(5);
    EXPECT_FALSE(f.EyedropperMode);
    EXPECT_TRUE(f.sbCircle->isChecked());
}

TEST_F(EditorForm, TheEraserShowsGreyAndPaintsPureWhite)
{
    TFormPictureEditor& f = *form;
    f.Engine.Canvas.Image().fill(ToPixel(clBlue));
    f.Engine.BasePicture = std::make_shared<TBitmap>(f.Engine.Canvas);
    f.sbLineClick();
    f.pnC00MouseDown(3);
    EXPECT_EQ(CanvasCursor(f), "ERASER");
    f.Image1->RepaintNow();
    TCanvasView* v = f.Image1;
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(60, 210));
    QMouseEvent move(QEvent::MouseMove, QPointF(780, 210), v->mapToGlobal(QPointF(780, 210)), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(v, &move);
    // The rubber band is light grey over blue (not-xor of $E0E0E0 with $FF0000).
    const TColor band = FromPixel(v->Surface().pixel(400, 210));
    EXPECT_EQ(band, TColor(~(0xE0E0E0u ^ clBlue) & 0xFFFFFFu));
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(780, 210));
    ASSERT_EQ(f.Engine.Shapes.size(), 1u);
    EXPECT_EQ(f.Engine.Shapes[0].Color, clWhite);
    EXPECT_EQ(CanvasAt(70, 35), clWhite);
    EXPECT_EQ(CanvasAt(70, 20), clBlue);
    // Other tools: the fill has its own cursor, pen and shapes the eraser's.
    f.sbFloodFillClick();
    EXPECT_EQ(CanvasCursor(f), "FLOOD");
    f.sbPenClick();
    EXPECT_EQ(CanvasCursor(f), "ERASER");
    f.pnC00MouseDown(0);
    EXPECT_EQ(CanvasCursor(f), "arrow");
}

TEST_F(EditorForm, KeepColourRemembersDrawingAndFillColours)
{
    TFormPictureEditor& f = *form;
    f.cbKeepColor->setChecked(true);
    // A red line.
    f.sbLineClick();
    f.pnC00MouseDown(4);
    Stroke({QPoint(60, 60), QPoint(300, 60)});
    // To the fill, pick blue and fill.
    f.sbFloodFillClick();
    f.pnC00MouseDown(6);
    Click(QPoint(400, 300));
    EXPECT_EQ(f.Engine.Shapes.back().FillColor, clBlue);
    // Back to the line: red again; back to the fill: blue.
    f.sbLineClick();
    EXPECT_EQ(f.SelectedPalette, 4);
    EXPECT_EQ(f.Engine.DrawColor, clRed);
    f.sbFloodFillClick();
    EXPECT_EQ(f.SelectedPalette, 6);
    // A colour picked before choosing the tool counts as that tool's colour.
    f.pnC00MouseDown(5);
    f.sbPenClick();
    EXPECT_EQ(f.SelectedPalette, 5);
    f.sbFloodFillClick();
    EXPECT_EQ(f.SelectedPalette, 6);
    f.sbPenClick();
    EXPECT_EQ(f.SelectedPalette, 5);
    // From one drawing tool to another the colour stays.
    f.pnC00MouseDown(7);
    f.sbCircleClick();
    EXPECT_EQ(f.SelectedPalette, 7);
    // Without the option the palette is left alone.
    f.cbKeepColor->setChecked(false);
    f.sbFloodFillClick();
    EXPECT_EQ(f.SelectedPalette, 7);
}

TEST_F(EditorForm, ShapeToolsByTheirButtons)
{
    TFormPictureEditor& f = *form;
    f.sbCircleClick();
    EXPECT_EQ(f.Engine.ToolKind, skRectangle);
    EXPECT_TRUE(f.sbCircle->isChecked());
    f.rbEllip->setChecked(true);
    f.rbRectClick();
    EXPECT_EQ(f.Engine.ToolKind, skEllipse);
    // With Shift, an ellipse is a circle: its box is square.
    Stroke({QPoint(60, 60), QPoint(300, 180)}, Qt::ShiftModifier);
    ASSERT_EQ(f.Engine.Shapes.size(), 1u);
    EXPECT_EQ(f.Engine.Shapes[0].B[0], QPoint(50, 50));
    f.sbLineClick();
    EXPECT_EQ(f.Engine.ToolKind, skLine);
    f.sbPenClick();
    EXPECT_EQ(f.Engine.ToolKind, skPen);
    // The pen style panels.
    f.imP0MouseDown(2);
    EXPECT_EQ(f.Engine.PenStyle, 2);
    f.sbLineClick();
    Stroke({QPoint(60, 300), QPoint(780, 300)});
    EXPECT_EQ(f.Engine.Shapes.back().PenStyle, 2);
}

TEST_F(EditorForm, RangesByMouseAndTheRangeModeKey)
{
    TFormPictureEditor& f = *form;
    f.sbLineClick();
    QTest::keyClick(f.Image1, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(f.sbRange->isChecked());
    EXPECT_EQ(f.Engine.ToolKind, skRangeDrawing);
    EXPECT_EQ(CanvasCursor(f), "RANGE");
    EXPECT_EQ(f.mmRange->text(), QStringLiteral("描画モード(&Q)\tCtrl+Q"));
    // A click makes no range; a drag does.
    Click(QPoint(100, 100));
    EXPECT_FALSE(f.Engine.HasRange());
    Stroke({QPoint(60, 60), QPoint(200, 120), QPoint(300, 240)});
    const TShapeEngine& e = f.Engine;
    EXPECT_EQ(QRect(QPoint(e.RangeL, e.RangeT), QPoint(e.RangeR, e.RangeB)), QRect(QPoint(60, 60), QPoint(300, 240)));
    // Ctrl+Q again: back to the line, the range gone.
    QTest::keyClick(f.Image1, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(f.sbLine->isChecked());
    EXPECT_EQ(f.Engine.ToolKind, skLine);
    EXPECT_FALSE(f.Engine.HasRange());
    EXPECT_EQ(f.mmRange->text(), QStringLiteral("範囲選択モード(&Q)\tCtrl+Q"));
    // The free range: its cursor, and a click without movement is no range.
    f.rbFreeRange->setChecked(true);
    f.rbRectRangeClick();
    EXPECT_EQ(CanvasCursor(f), "RANGE2");
    Click(QPoint(100, 100));
    EXPECT_FALSE(f.Engine.HasRange());
}

TEST_F(EditorForm, ALiftedRangeIsMovedByMouse)
{
    TFormPictureEditor& f = *form;
    f.pnC00MouseDown(6);
    f.Engine.PenSetting = 5;
    f.udPen->setValue(5);
    Stroke({QPoint(120, 120), QPoint(121, 121)});
    ASSERT_EQ(CanvasAt(20, 20), clBlue);
    f.sbRangeClick();
    Stroke({QPoint(60, 60), QPoint(240, 240)});
    ASSERT_EQ(f.Engine.ToolKind, skRangeMade);
    Stroke({QPoint(120, 120), QPoint(300, 180), QPoint(420, 120)});
    EXPECT_EQ(CanvasAt(20, 20), clWhite);
    EXPECT_EQ(CanvasAt(70, 20), clBlue);
    EXPECT_EQ(f.Engine.ToolKind, skRangeDrawing);
    EXPECT_EQ(SheetAt(70, 20), clBlue);
}

TEST_F(EditorForm, APressWhileTheSampleIsPlacedOnlyWarns)
{
    form->imMihon->show();
    Stroke({QPoint(60, 60), QPoint(200, 60)});
    EXPECT_TRUE(form->Engine.Shapes.empty());
    const auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("見本画像 … 画像枠をドラッグして，表示する位置を決めて下さい。"));
    EXPECT_EQ(dialogs.BeepCount(MB_ICONASTERISK), 1);
    form->imMihon->hide();
}

TEST_F(EditorForm, ARightClickDuringADragKeepsIt)
{
    TFormPictureEditor& f = *form;
    f.sbLineClick();
    TCanvasView* v = f.Image1;
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(60, 60));
    QTest::mousePress(v, Qt::RightButton, {}, QPoint(300, 60));
    QTest::mouseRelease(v, Qt::RightButton, {}, QPoint(300, 60));
    EXPECT_TRUE(f.Engine.Dragging);
    EXPECT_FALSE(f.PopupMenu1->isVisible());
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(300, 60));
    ASSERT_EQ(f.Engine.Shapes.size(), 1u);
    EXPECT_EQ(CanvasAt(30, 10), clBlack);
}

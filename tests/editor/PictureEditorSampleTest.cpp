// The sample underlay and the grid on the real form: the fade, a sample opened, dragged into place
// and shown pale only where the cell is transparent (never in the cell or the sheet), samples that
// cannot be opened, and the grid at its pitches with its dialog.
#include "EditorFormFixture.h"

#include "../platform/HostileFiles.h"
#include "FileErrorText.h"
#include "PictureFile.h"
#include "SampleUnderlay.h"
#include "UnitShowMasu.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Pixels of colour c in the rectangle r of img.
int Count(const QImage& img, const QRect& r, TColor c)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += FromPixel(img.pixel(x, y)) == c;
    return n;
}

} // namespace

class SampleForm : public EditorForm {
protected:
    const QImage& View()
    {
        form->Image1->RepaintNow();
        return form->Image1->Surface();
    }
    // Presses "見本" and opens `name` in its dialog.
    void OpenSample(const QString& name)
    {
        WithDialog(name, [this] { QTest::mouseClick(form->sbShowMihon, Qt::LeftButton); });
    }
    // Presses "罫線"; `during` works the grid dialog when it opens.
    void GridButton(const std::function<void(TFormShowMasu&)>& during = {})
    {
        Form::SetModalHook([&](Form* f) {
            if (f == form->ShowMasuDialog() && during) during(*form->ShowMasuDialog());
        });
        QTest::mouseClick(form->sbShowMasu, Qt::LeftButton);
        Form::SetModalHook(nullptr);
    }
};

TEST(SampleFade, BlendsEveryPixelButTheSkipColourIntoTheTarget)
{
    // (179 x target + 76 x source) div 255 on each channel; the skip colour leaves the target.
    const TColor pale = RGBColor(179, 179, 179);
    const struct {
        TColor source, target, expected;
    } cases[] = {{clBlack, clWhite, pale}, {clWhite, clBlack, clBlack}, {RGBColor(255, 0, 128), clWhite, RGBColor(255, 179, 217)},
                 {RGBColor(254, 254, 254), clBlack, RGBColor(75, 75, 75)}};
    for (const auto& c : cases) {
        QImage target(1, 1, QImage::Format_RGB32), source(1, 1, QImage::Format_RGB32);
        target.fill(ToPixel(c.target));
        source.fill(ToPixel(c.source));
        FadeSampleImage(target, QPoint(0, 0), clWhite, kSampleFadeColor, source);
        EXPECT_EQ(FromPixel(target.pixel(0, 0)), c.expected) << std::hex << c.source << " on " << c.target;
    }
}

TEST_F(SampleForm, ASampleShowsPaleWhereTheCellIsTransparentAndNowhereElse)
{
    StepZoomTo(600);
    // A 30 x 20 sample: black with a white (transparent) left third; a red bar along canvas row 12.
    QImage sample(30, 20, QImage::Format_RGB32);
    sample.fill(ToPixel(clBlack));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x) sample.setPixel(x, y, ToPixel(clWhite));
    WriteFile(Folder() + QStringLiteral("/mihon.bmp"), EncodeBmp24(sample));
    form->SelectPaletteColor(4);
    form->udPen->setValue(2);
    Stroke({V(0, 12), V(60, 12)});
    const QImage canvas = form->Engine.Canvas.Image().copy(), sheet = form->Sheet.Image().copy();

    OpenSample(QStringLiteral("mihon.bmp"));
    TFloatingImage* m = form->imMihon;
    ASSERT_TRUE(m->isVisible());
    EXPECT_EQ(m->geometry(), QRect(0, 0, 180, 120));
    EXPECT_EQ(form->Engine.ToolKind, skSample);
    // The canvas takes no drawing while the sample waits to be placed; it says so.
    Click(V(100, 50));
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, m->statusTip());
    // A tool chosen meanwhile stays; the sample lands on whole canvas pixels, (10, 5).
    QTest::mouseClick(form->sbLine, Qt::LeftButton);
    Drag(m, QPoint(5, 5), QPoint(63, 33));
    EXPECT_FALSE(m->isVisible());
    EXPECT_FALSE(form->imFrame0->isVisible());
    EXPECT_TRUE(form->Engine.SampleShown);
    EXPECT_EQ(form->Engine.SampleRecord.B[0], QPoint(10, 5));
    EXPECT_EQ(form->Engine.ToolKind, skLine);

    // (25, 8) lies over black, (15, 8) over the sample's white, (25, 12) under the red bar and
    // (45, 8) past the sample; at another zoom the sample keeps its canvas place.
    const auto at = [this](int cx, int cy) { return FromPixel(View().pixel(V(cx, cy))); };
    for (int zoom : {600, 300}) {
        StepZoomTo(zoom);
        EXPECT_EQ(at(25, 8), RGBColor(179, 179, 179)) << zoom;
        EXPECT_EQ(at(15, 8), clWhite) << zoom;
        EXPECT_EQ(at(25, 12), clRed) << zoom;
        EXPECT_EQ(at(45, 8), clWhite) << zoom;
    }
    // Only the view has it: the cell and the sheet are as they were.
    EXPECT_TRUE(form->Engine.Canvas.Image() == canvas);
    EXPECT_TRUE(form->Sheet.Image() == sheet);

    // Released, it is gone. Pressed again (the dialog offers the same file) and let go before it
    // is placed: the line tool is back and draws.
    QTest::mouseClick(form->sbShowMihon, Qt::LeftButton);
    EXPECT_TRUE(form->Engine.SampleFaded.isNull());
    EXPECT_EQ(at(25, 8), clWhite);
    QString offered;
    WithDialog(QStringLiteral("mihon.bmp"), [this] { QTest::mouseClick(form->sbShowMihon, Qt::LeftButton); },
               [&](TMyFileDialog& d) { offered = d.FileName; });
    EXPECT_EQ(ExtractFileName(offered), QStringLiteral("mihon.bmp"));
    QTest::mouseClick(form->sbShowMihon, Qt::LeftButton);
    EXPECT_FALSE(m->isVisible());
    EXPECT_EQ(form->Engine.ToolKind, skLine);
    Stroke({V(5, 30), V(30, 30)});
    EXPECT_EQ(form->Engine.Shapes.size(), 2u);
}

TEST_F(SampleForm, ASampleThatCannotBeOpenedWarnsAndGivesTheToolBack)
{
    QImage wide(kMaxSampleWidth + 1, 2, QImage::Format_RGB32);
    wide.fill(ToPixel(clBlack));
    WriteFile(Folder() + QStringLiteral("/wide.bmp"), EncodeBmp24(wide));
    WriteFile(Folder() + QStringLiteral("/picture.png"), EncodeBmp24(wide.copy(0, 0, 4, 2)));
    const auto hostile = MakeHostileFiles(Folder(), QStringLiteral(".bmp"));
    const QString missing = Folder() + QStringLiteral("/missing.bmp");
    // A file that cannot be read at all gets the file error report, with its own beep.
    const struct {
        QString name, says;
        int beep;
    } cases[] = {
        {QStringLiteral("picture.png"), QStringLiteral("BMP ファイル（.bmp）か JPEG ファイル（.jpg）を選んで下さい。"), MB_ICONASTERISK},
        {QStringLiteral("missing.bmp"), FileAccessErrorText(missing, 0, ENOENT), MB_ICONHAND},
        {QStringLiteral("wide.bmp"), QStringLiteral("見本画像が大きすぎます。"), MB_ICONASTERISK},
        {ExtractFileName(hostile[0].path), FileAccessErrorText(hostile[0].path, 0, EINVAL), MB_ICONHAND},
    };
    StepZoomTo(300);
    QTest::mouseClick(form->sbFloodFill, Qt::LeftButton);
    for (const auto& c : cases) {
        dialogs.Clear();
        const HostileFile guard{Folder() + QLatin1Char('/') + c.name, 0};
        EXPECT_TRUE(ReturnsPromptly(guard, [&] { OpenSample(c.name); })) << c.name.toStdString();
        const auto boxes = dialogs.Boxes();
        ASSERT_EQ(boxes.size(), 1u) << c.name.toStdString();
        EXPECT_TRUE(boxes[0].text.contains(c.says)) << boxes[0].text.toStdString();
        EXPECT_EQ(dialogs.BeepCount(c.beep), 1);
        EXPECT_FALSE(form->sbShowMihon->isChecked()) << c.name.toStdString();
        EXPECT_FALSE(form->imMihon->isVisible());
        EXPECT_EQ(form->Engine.ToolKind, skFill) << c.name.toStdString();
    }
    // The editor waits for nothing: the fill tool fills.
    dialogs.Clear();
    Click(V(50, 30));
    EXPECT_TRUE(dialogs.Boxes().empty());
    EXPECT_EQ(form->Engine.Shapes.size(), 1u);
}

TEST_F(SampleForm, TheGridStandsAtItsPitchesAndCancelSwitchesItOff)
{
    const TColor grey = 0x808080;
    // Pitch 70 on the 140 x 70 cell: lines at view x = -1, ToView(70) - 1 and ToView(140) - 1, and
    // the one horizontal line in view is the last row.
    for (auto [zoom, x70, x140] : {std::tuple{600, 419, 839}, std::tuple{150, 104, 209}}) {
        StepZoomTo(zoom);
        const QImage& v = View();
        const int h = v.height();
        for (int x : {x70, x140}) {
            EXPECT_GT(Count(v, QRect(x, 0, 1, h - 1), grey), 0) << zoom << " x " << x;
            EXPECT_EQ(Count(v, QRect(x - 1, 0, 1, h - 1), grey), 0) << zoom << " x " << x - 1;
        }
        EXPECT_GT(Count(v, QRect(0, h - 1, x70, 1), grey), 0);
        EXPECT_EQ(Count(v, QRect(0, 0, x70, h - 1), grey), 0);
    }
    // Up: no grid. Down: the dialog; 35 across, 0 down, red lines.
    GridButton();
    EXPECT_EQ(Count(View(), View().rect(), grey), 0);
    GridButton([&](TFormShowMasu& d) {
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("70"));
        d.ColorDialog1Execute = [](TColor& c) { return (c = clRed), true; };
        QTest::mouseClick(d.sbLineColor, Qt::LeftButton);
        EXPECT_EQ(FromPixel(d.imLineColor->pixmap().toImage().pixel(10, 12)), clRed);
        for (auto [edit, typed] : {std::pair{d.Edit1, "35"}, std::pair{d.Edit2, "0"}}) {
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, QString::fromLatin1(typed));
        }
        QTest::mouseClick(d.btOK, Qt::LeftButton);
    });
    EXPECT_TRUE(form->sbShowMasu->isChecked());
    // Vertical lines every 35 canvas pixels; a pitch of 0 draws no horizontal line.
    const QImage& v = View();
    for (int k = 1; k <= 4; ++k) EXPECT_GT(Count(v, QRect(form->Engine.ToView(35 * k) - 1, 0, 1, v.height()), clRed), 0) << k;
    EXPECT_EQ(Count(v, QRect(0, 0, form->Engine.ToView(35) - 1, v.height()), clRed), 0);
    // Up, then down and cancelled with Esc: the grid is off and the button up.
    GridButton();
    GridButton([&](TFormShowMasu& d) { QTest::keyClick(d.Edit1, Qt::Key_Escape); });
    EXPECT_FALSE(form->sbShowMasu->isChecked());
    EXPECT_EQ(Count(View(), View().rect(), clRed), 0);
}

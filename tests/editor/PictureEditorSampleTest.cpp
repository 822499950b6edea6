// The sample underlay and the grid on the real form: the fade, a sample opened, dragged into place
// and shown pale only where the cell is transparent (never in the cell or the sheet), samples that
// cannot be opened, and the grid at its pitches with its dialog.
#include "EditorFormFixture.h"

#include "../platform/HostileFiles.h"
#include "FileErrorText.h"
#include "PictureFile.h"
#include "SampleUnderlay.h"
#include "UnitShowMasu.h"
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
    void TearDown() override
    {
        Form::SetModalHook(nullptr);
        EditorForm::TearDown();
    }
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
            if (f == form->FormShowMasu && during) during(*form->FormShowMasu);
        });
        QTest::mouseClick(form->sbShowMasu, Qt::LeftButton);
        Form::SetModalHook(nullptr);
    }
    static void Type(QLineEdit* edit, const QString& text)
    {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }
};

TEST(SampleFade, BlendsEveryPixelButTheSkipColourIntoTheTarget)
{
    // (179 x target + 76 x source) div 255 on each channel, over white unless said otherwise.
    const struct {
        TColor source, target, expected;
    } cases[] = {
        {clBlack, clWhite, RGBColor(179, 179, 179)},
        {clWhite, clWhite, clWhite}, // the skip colour leaves the target
        {clWhite, clBlack, clBlack},
        {RGBColor(255, 0, 128), clWhite, RGBColor(255, 179, 217)},
        {RGBColor(254, 254, 254), clBlack, RGBColor(75, 75, 75)},
    };
    for (const auto& c : cases) {
        QImage target(1, 1, QImage::Format_RGB32), source(1, 1, QImage::Format_RGB32);
        target.fill(ToPixel(c.target));
        source.fill(ToPixel(c.source));
        FadeSampleImage(target, QPoint(0, 0), clWhite, kSampleFadeColor, source);
        EXPECT_EQ(FromPixel(target.pixel(0, 0)), c.expected) << std::hex << c.source << " on " << c.target;
    }
    // Moved by an offset only the overlap is blended; with none, nothing happens.
    QImage target(4, 4, QImage::Format_RGB32), source(4, 4, QImage::Format_RGB32);
    target.fill(ToPixel(clWhite));
    source.fill(ToPixel(clBlack));
    FadeSampleImage(target, QPoint(5, 0), clWhite, kSampleFadeColor, source);
    EXPECT_EQ(Count(target, target.rect(), clWhite), 16);
    FadeSampleImage(target, QPoint(-2, 3), clWhite, kSampleFadeColor, source);
    EXPECT_EQ(Count(target, target.rect(), RGBColor(179, 179, 179)), 2);
    EXPECT_EQ(FromPixel(target.pixel(1, 3)), RGBColor(179, 179, 179));
    EXPECT_EQ(FromPixel(target.pixel(2, 3)), clWhite);
}

TEST_F(SampleForm, ASampleShowsPaleWhereTheCellIsTransparentAndNowhereElse)
{
    form->SetZoom(600);
    // A 30 x 20 sample: black with a white (transparent) left third.
    QImage sample(30, 20, QImage::Format_RGB32);
    sample.fill(ToPixel(clBlack));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x) sample.setPixel(x, y, ToPixel(clWhite));
    WriteFile(Folder() + QStringLiteral("/mihon.bmp"), EncodeBmp24(sample));
    // A red bar along canvas row 12.
    form->SelectPaletteColor(4);
    form->udPen->setValue(2);
    Stroke({V(0, 12), V(60, 12)});
    const QImage canvas = form->Engine.Canvas.Image().copy(), sheet = form->Sheet.Image().copy();
    const size_t shapes = form->Engine.Shapes.size();

    OpenSample(QStringLiteral("mihon.bmp"));
    TFloatingImage* m = form->imMihon;
    ASSERT_TRUE(m->isVisible());
    EXPECT_TRUE(form->sbShowMihon->isChecked());
    EXPECT_EQ(form->Engine.ToolKind, skSample);
    EXPECT_EQ(m->geometry(), QRect(0, 0, 180, 120));
    EXPECT_TRUE(form->imFrame0->isVisible());
    // The canvas takes no drawing while the sample waits to be placed; it says so.
    Click(V(100, 50));
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, m->statusTip());
    EXPECT_EQ(form->Engine.Shapes.size(), shapes);

    // Dragged by 63 x 33 view pixels: it lands on whole canvas pixels, (10, 5).
    Drag(m, QPoint(5, 5), QPoint(63, 33));
    EXPECT_FALSE(m->isVisible());
    EXPECT_FALSE(form->imFrame0->isVisible());
    EXPECT_TRUE(form->Engine.SampleShown);
    EXPECT_EQ(form->Engine.SampleRecord.Kind, skSample);
    EXPECT_EQ(form->Engine.SampleRecord.B[0], QPoint(10, 5));
    EXPECT_EQ(form->Engine.ToolKind, skPen);

    // Canvas (25, 8): transparent over black sample, pale; (15, 8): over the sample's white;
    // (25, 12): the red bar covers the sample; (45, 8): past the sample.
    const auto at = [this](int cx, int cy) { return FromPixel(View().pixel(V(cx, cy))); };
    EXPECT_EQ(at(25, 8), RGBColor(179, 179, 179));
    EXPECT_EQ(at(15, 8), clWhite);
    EXPECT_EQ(at(25, 12), clRed);
    EXPECT_EQ(at(45, 8), clWhite);
    // Only the view has it: the cell, its shapes and the sheet are as they were.
    EXPECT_TRUE(form->Engine.Canvas.Image() == canvas);
    EXPECT_TRUE(form->Sheet.Image() == sheet);
    EXPECT_EQ(form->Engine.Shapes.size(), shapes);
    // It keeps its canvas place at another zoom.
    form->SetZoom(300);
    EXPECT_EQ(at(25, 8), RGBColor(179, 179, 179));
    EXPECT_EQ(at(9, 8), clWhite);
    // And drawing goes on over it.
    Stroke({V(30, 40), V(50, 40)});
    EXPECT_EQ(form->Engine.Shapes.size(), shapes + 1);

    // Released, it is gone; pressed again, the dialog offers the same file.
    QTest::mouseClick(form->sbShowMihon, Qt::LeftButton);
    EXPECT_FALSE(form->Engine.SampleShown);
    EXPECT_TRUE(form->Engine.SampleFaded.isNull());
    EXPECT_EQ(at(25, 8), clWhite);
    QString offered;
    WithDialog(QString(), [this] { QTest::mouseClick(form->sbShowMihon, Qt::LeftButton); },
               [&](TMyFileDialog& d) { offered = d.FileName; });
    EXPECT_EQ(ExtractFileName(offered), QStringLiteral("mihon.bmp"));
    EXPECT_FALSE(form->sbShowMihon->isChecked());
    EXPECT_FALSE(m->isVisible());
}

TEST_F(SampleForm, ASampleLetGoBeforeItIsPlacedGivesTheToolBack)
{
    form->SetZoom(200);
    QImage sample(8, 8, QImage::Format_RGB32);
    sample.fill(ToPixel(clBlue));
    QByteArray jpeg;
    ASSERT_TRUE(EncodeJpeg(sample, 100, jpeg));
    WriteFile(Folder() + QStringLiteral("/blue.JPG"), jpeg);
    OpenSample(QStringLiteral("blue.JPG"));
    ASSERT_TRUE(form->imMihon->isVisible());
    EXPECT_EQ(form->imMihon->size(), QSize(16, 16));
    // A tool chosen meanwhile: the sample still goes where it is dragged, and the tool stays.
    QTest::mouseClick(form->sbLine, Qt::LeftButton);
    Drag(form->imMihon, QPoint(2, 2), QPoint(40, 20));
    EXPECT_EQ(form->Engine.SampleRecord.B[0], QPoint(20, 10));
    EXPECT_EQ(form->Engine.ToolKind, skLine);
    QTest::mouseClick(form->sbShowMihon, Qt::LeftButton);
    // Pressed again and let go at once: the line tool is back, and draws.
    OpenSample(QStringLiteral("blue.JPG"));
    EXPECT_EQ(form->Engine.ToolKind, skSample);
    QTest::mouseClick(form->sbShowMihon, Qt::LeftButton);
    EXPECT_FALSE(form->imMihon->isVisible());
    EXPECT_EQ(form->Engine.ToolKind, skLine);
    const size_t shapes = form->Engine.Shapes.size();
    Stroke({V(5, 5), V(30, 5)});
    EXPECT_EQ(form->Engine.Shapes.size(), shapes + 1);
}

TEST_F(SampleForm, ASampleThatCannotBeOpenedWarnsAndGivesTheToolBack)
{
    QImage wide(kMaxSampleWidth + 1, 2, QImage::Format_RGB32);
    wide.fill(ToPixel(clBlack));
    WriteFile(Folder() + QStringLiteral("/wide.bmp"), EncodeBmp24(wide));
    WriteFile(Folder() + QStringLiteral("/picture.png"), EncodeBmp24(wide.copy(0, 0, 4, 2)));
    WriteFile(Folder() + QStringLiteral("/cut.bmp"), EncodeBmp24(wide.copy(0, 0, 40, 2)).left(60));
    const auto hostile = MakeHostileFiles(Folder(), QStringLiteral(".bmp"));
    const struct {
        QString name;
        QString says;
        int beep; // a file that cannot be read at all gets the file error report
    } cases[] = {
        {QStringLiteral("picture.png"), QStringLiteral("BMP ファイル（.bmp）か JPEG ファイル（.jpg）を選んで下さい。"),
         MB_ICONASTERISK},
        {QStringLiteral("missing.bmp"), FileAccessErrorText(Folder() + QStringLiteral("/missing.bmp"), 0, ENOENT),
         MB_ICONHAND},
        {QStringLiteral("cut.bmp"), QString(), MB_ICONASTERISK},
        {QStringLiteral("wide.bmp"), QStringLiteral("見本画像が大きすぎます。"), MB_ICONASTERISK},
        {ExtractFileName(hostile[0].path), FileAccessErrorText(hostile[0].path, 0, EINVAL), MB_ICONHAND},
        {ExtractFileName(hostile[1].path), FileAccessErrorText(hostile[1].path, 0, EINVAL), MB_ICONHAND},
    };
    form->SetZoom(300);
    QTest::mouseClick(form->sbFloodFill, Qt::LeftButton);
    for (const auto& c : cases) {
        dialogs.Clear();
        const HostileFile guard{Folder() + QLatin1Char('/') + c.name, 0};
        EXPECT_TRUE(ReturnsPromptly(guard, [&] { OpenSample(c.name); })) << c.name.toStdString();
        const auto boxes = dialogs.Boxes();
        ASSERT_EQ(boxes.size(), 1u) << c.name.toStdString();
        EXPECT_EQ(boxes[0].type, TMsgDlgType::mtWarning);
        EXPECT_TRUE(boxes[0].text.contains(c.says)) << boxes[0].text.toStdString();
        EXPECT_EQ(dialogs.BeepCount(c.beep), 1);
        EXPECT_FALSE(form->sbShowMihon->isChecked()) << c.name.toStdString();
        EXPECT_FALSE(form->imMihon->isVisible());
        EXPECT_FALSE(form->Engine.SampleShown);
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
    ASSERT_TRUE(form->sbShowMasu->isChecked());
    // Pitch 70 on the 140 x 70 cell: lines at view x = -1, ToView(70) - 1 and ToView(140) - 1.
    const struct {
        int zoom;
        int x70, x140;
    } zooms[] = {{600, 419, 839}, {150, 104, 209}, {100, 69, 139}};
    for (const auto& z : zooms) {
        form->SetZoom(z.zoom);
        const QImage& v = View();
        const int h = v.height();
        for (int x : {z.x70, z.x140}) {
            EXPECT_GT(Count(v, QRect(x, 0, 1, h - 1), grey), 0) << z.zoom << " x " << x;
            EXPECT_EQ(Count(v, QRect(x - 1, 0, 1, h - 1), grey), 0) << z.zoom << " x " << x - 1;
        }
        EXPECT_EQ(Count(v, QRect(0, 0, 1, h - 1), grey), 0);
        // The one horizontal line in view is the last row.
        EXPECT_GT(Count(v, QRect(0, h - 1, z.x70, 1), grey), 0);
        EXPECT_EQ(Count(v, QRect(0, h - 2, z.x70, 1), grey), 0);
    }

    // Up: no grid. Down: the dialog; 35 across, 0 down, red lines.
    GridButton();
    EXPECT_FALSE(form->Engine.GridShown);
    EXPECT_EQ(Count(View(), View().rect(), grey), 0);
    GridButton([&](TFormShowMasu& d) {
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("70"));
        EXPECT_EQ(FromPixel(d.LineColorPicture().pixel(10, 12)), grey);
        d.ColorDialog1Execute = [](TColor& c) {
            c = clRed;
            return true;
        };
        QTest::mouseClick(d.sbLineColor, Qt::LeftButton);
        EXPECT_EQ(FromPixel(d.LineColorPicture().pixel(10, 12)), clRed);
        Type(d.Edit1, QStringLiteral("35"));
        Type(d.Edit2, QStringLiteral("0"));
        QTest::mouseClick(d.btOK, Qt::LeftButton);
    });
    EXPECT_TRUE(form->sbShowMasu->isChecked());
    EXPECT_TRUE(form->Engine.GridShown);
    EXPECT_EQ(form->Engine.GridPitchX, 35);
    EXPECT_EQ(form->Engine.GridPitchY, 0);
    // Vertical lines every 35 canvas pixels; a pitch of 0 draws no horizontal line.
    const QImage& v = View();
    for (int k = 1; k <= 4; ++k) EXPECT_GT(Count(v, QRect(form->Engine.ToView(35 * k) - 1, 0, 1, v.height()), clRed), 0) << k;
    EXPECT_EQ(Count(v, QRect(0, 0, form->Engine.ToView(35) - 1, v.height()), clRed), 0);

    // Up, then down and cancelled with Esc: the grid is off and the button up.
    GridButton();
    GridButton([&](TFormShowMasu& d) {
        EXPECT_EQ(d.Edit2->text(), QStringLiteral("0"));
        QTest::keyClick(d.Edit1, Qt::Key_Escape);
    });
    EXPECT_FALSE(form->sbShowMasu->isChecked());
    EXPECT_FALSE(form->Engine.GridShown);
    EXPECT_EQ(Count(View(), View().rect(), clRed), 0);
}

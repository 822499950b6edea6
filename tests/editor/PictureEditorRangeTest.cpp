// Ranges and the clipboard on the real form: copy, paste, drag and draw end to end; free ranges cut
// and copied to their outline; pastes after a zoom change; the halves of the cell; what the
// clipboard may hold; "全消去"; and the states of the canvas pop-up menu.
#include "EditorFormFixture.h"

#include "EditorGdi.h"
#include "FloatingTransform.h"
#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>

namespace {

QImage Clipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
}

} // namespace

TEST_F(EditorForm, ARangeCopiedPastedDraggedAndDrawn)
{
    QTest::mouseClick(form->sbCircle, Qt::LeftButton);
    Stroke({V(10, 10), V(20, 20)}); // a square outline, (10, 10) to (19, 19)
    ASSERT_EQ(CanvasAt(10, 10), clBlack);
    DragRange({8, 8}, {22, 22});
    ASSERT_EQ(form->Engine.RangeCanvasRect(), QRect(8, 8, 14, 14));
    Key(Qt::Key_C, Qt::ControlModifier);
    const QImage copied = Clipboard();
    ASSERT_EQ(copied.size(), QSize(14, 14));
    EXPECT_EQ(FromPixel(copied.pixel(2, 2)), clBlack);
    EXPECT_FALSE(form->Engine.HasRange());

    Key(Qt::Key_V, Qt::ControlModifier);
    TFloatingImage* paste = form->imPaste;
    ASSERT_TRUE(paste->isVisible());
    EXPECT_TRUE(form->sbPasteShow->isChecked());
    EXPECT_EQ(paste->geometry(), QRect(48, 48, 84, 84)); // where the range was, on whole canvas pixels
    EXPECT_TRUE(form->imFrame1->isVisible());
    // Dragged 305 screen pixels right: 50 whole canvas pixels at 600 %.
    Drag(paste, QPoint(10, 10), QPoint(305, 0));
    EXPECT_EQ(paste->pos(), QPoint(348, 48));
    EXPECT_EQ(paste->StoredPos, QPoint(58, 8));
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(form->Engine.Shapes.size(), 2u);
    EXPECT_EQ(form->Engine.Shapes.back().Kind, skPicture);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(CanvasAt(60 + i, 10), clBlack) << i;
        EXPECT_EQ(CanvasAt(10 + i, 10), clBlack) << i;
    }
    EXPECT_EQ(CanvasAt(65, 15), clWhite);
    // The copy stays shown, see-through again after its flash, and can be drawn once more.
    EXPECT_TRUE(paste->isVisible());
    EXPECT_TRUE(paste->Transparent());
    EXPECT_EQ(paste->Picture(), copied);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CanvasAt(60, 10), clWhite);
}

TEST_F(EditorForm, AFreeRangeIsCutAndCopiedToItsOutline)
{
    QTest::mouseClick(form->Palette[4], Qt::LeftButton);
    QTest::mouseClick(form->sbFloodFill, Qt::LeftButton);
    Click(V(5, 5)); // the whole cell red
    ASSERT_EQ(CanvasAt(100, 60), clRed);
    QTest::mouseClick(form->rbFreeRange, Qt::LeftButton);
    ASSERT_EQ(form->Engine.ToolKind, skRangeDrawing);
    Stroke({V(10, 10), V(50, 10), V(30, 30), V(10, 50), V(10, 10)});
    const QRect box(10, 10, 40, 40);
    ASSERT_EQ(form->Engine.RangeCanvasRect(), box);
    const std::vector<unsigned char> inside =
        PolygonMask({{10, 10}, {50, 10}, {30, 30}, {10, 50}, {10, 10}}, box.topLeft(), 40, 40);
    Key(Qt::Key_X, Qt::ControlModifier);
    const QImage cut = Clipboard();
    ASSERT_EQ(cut.size(), box.size());
    int in = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool i = inside[size_t(y * 40 + x)] != 0;
            in += i;
            ASSERT_EQ(FromPixel(cut.pixel(x, y)), i ? clRed : clWhite) << x << "," << y;
            ASSERT_EQ(CanvasAt(10 + x, 10 + y), i ? clWhite : clRed) << x << "," << y;
        }
    EXPECT_GT(in, 300);
    EXPECT_EQ(CanvasAt(60, 40), clRed);
    // The erase is one step of the undo ring.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CanvasAt(12, 12), clRed);
}

TEST_F(EditorForm, APasteAfterAZoomChangeKeepsItsPlaceInTheView)
{
    DragRange({10, 5}, {30, 25});
    Key(Qt::Key_C, Qt::ControlModifier);
    const QPoint copiedAt = V(10, 5);
    ASSERT_EQ(form->PastePosition, copiedAt);
    StepZoomTo(300);
    Key(Qt::Key_V, Qt::ControlModifier);
    // The view position the range had, on whole canvas pixels at the new zoom.
    EXPECT_EQ(form->imPaste->pos(), QPoint(60, 30));
    EXPECT_EQ(form->imPaste->size(), QSize(60, 60));
    EXPECT_EQ(form->imPaste->StoredPos, QPoint(20, 10));
    // A zoom change afterwards lays it out again from its canvas place.
    StepZoomTo(100);
    EXPECT_EQ(form->imPaste->geometry(), QRect(20, 10, 20, 20));
}

TEST_F(EditorForm, TheHalvesAreSeventyPixelsEachAtAnyZoom)
{
    const QPoint pointer = QCursor::pos();
    for (int zoom : {600, 25, 150}) {
        StepZoomTo(zoom);
        for (int tag : {1, 2}) {
            // Through the edit menu by the keyboard: "左半分選択" is the third item down.
            Key(Qt::Key_E, Qt::AltModifier);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_TRUE(menu);
            for (int i = 0; i < 2 + tag; ++i) QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
            EXPECT_EQ(form->Engine.RangeCanvasRect(), tag == 1 ? QRect(0, 0, 70, 70) : QRect(70, 0, 70, 70)) << zoom;
            EXPECT_TRUE(form->sbRange->isChecked());
            Key(Qt::Key_C, Qt::ControlModifier);
            EXPECT_EQ(Clipboard().size(), QSize(70, 70)) << zoom;
        }
    }
    EXPECT_EQ(QCursor::pos(), pointer);
}

TEST_F(EditorForm, TheClipboardMustHoldAPictureOfASensibleSize)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("文字だけ"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(form->imPaste->isVisible());
    EXPECT_FALSE(form->sbPasteShow->isChecked());
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("コピーされた画像がありません。"));
    EXPECT_EQ(dialogs.BeepCount(MB_ICONASTERISK), 1);

    dialogs.Clear();
    QGuiApplication::clipboard()->setImage(QImage(kMaxPasteWidth + 1, 10, QImage::Format_RGB32));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(form->imPaste->isVisible());
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("コピーされた画像が大きすぎます。"));

    QImage alpha(4, 2, QImage::Format_ARGB32);
    alpha.fill(qRgba(0, 0, 0, 0));
    alpha.setPixel(1, 1, qRgba(0, 0, 255, 255));
    QGuiApplication::clipboard()->setImage(alpha);
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(form->imPaste->isVisible());
    const QImage shown = form->imPaste->Picture();
    EXPECT_EQ(FromPixel(shown.pixel(0, 0)), clWhite);
    EXPECT_EQ(FromPixel(shown.pixel(1, 1)), clBlue);
}

TEST_F(EditorForm, CtrlVFollowsTheCopyAsItStands)
{
    QImage pic(3, 3, QImage::Format_RGB32);
    pic.fill(ToPixel(clBlack));
    QGuiApplication::clipboard()->setImage(pic);
    form->PopupMenu1Popup(); // the pop-up opened while the copy was hidden
    QTest::mouseClick(form->sbPasteShow, Qt::LeftButton);
    ASSERT_TRUE(form->imPaste->isVisible());
    // Shown: Ctrl+V draws it, each time.
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form->Engine.Shapes.size(), 2u);
    EXPECT_TRUE(form->imPaste->isVisible());
    // Hidden by Ctrl+F, Ctrl+V shows it again and draws nothing.
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_FALSE(form->imPaste->isVisible());
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(form->imPaste->isVisible());
    EXPECT_EQ(form->Engine.Shapes.size(), 2u);
}

TEST_F(EditorForm, ClearAllTakesTheOpenedPictureToo)
{
    ASSERT_TRUE(SampleSheet({clBlue}).save(Folder() + QStringLiteral("/one.bmp"), "BMP"));
    Open(QStringLiteral("one.bmp"));
    ASSERT_EQ(CanvasAt(50, 30), clBlue);
    Stroke({V(5, 5), V(30, 5)});
    dialogs.answers = {idCancel};
    QTest::mouseClick(form->sbClearAll, Qt::LeftButton);
    EXPECT_EQ(CanvasAt(50, 30), clBlue);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("すべて消去します。いいですか。"));
    dialogs.answers = {idYes};
    QTest::mouseClick(form->sbClearAll, Qt::LeftButton);
    EXPECT_EQ(CanvasAt(50, 30), clWhite);
    EXPECT_EQ(SheetAt(50, 30), clWhite);
    EXPECT_TRUE(form->Engine.Shapes.empty());
    EXPECT_TRUE(form->SheetChanged);
    // Neither undo nor a re-shape brings the picture back.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CanvasAt(50, 30), clWhite);
    EXPECT_EQ(CanvasAt(10, 5), clBlack);
    QTest::keyClick(form->udPen, Qt::Key_Up);
    EXPECT_EQ(CanvasAt(50, 30), clWhite);
    // With nothing left, nothing is asked.
    Key(Qt::Key_Z, Qt::ControlModifier);
    dialogs.Clear();
    QTest::mouseClick(form->sbClearAll, Qt::LeftButton);
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(EditorForm, ThePopupMenuShowsWhatCanBeDone)
{
    QGuiApplication::clipboard()->clear();
    auto state = [this] {
        form->PopupMenu1Popup();
        QString s;
        for (QAction* a : {form->pmPaste2, form->pmClose2, form->pmByouga2, form->mmCut, form->B5, form->pmPaste,
                           form->pmClose, form->pmByouga, form->B6, form->pmGenten, form->B7})
            s += a->isVisible() ? (a->isEnabled() ? QLatin1Char('E') : QLatin1Char('v')) : QLatin1Char('-');
        return s;
    };
    // Columns: pmPaste2 pmClose2 pmByouga2 mmCut B5 pmPaste pmClose pmByouga B6 pmGenten B7;
    // E shown and enabled, v shown but disabled, - hidden.
    EXPECT_EQ(state(), QStringLiteral("v-v--v-vE--"));
    EXPECT_TRUE(form->Engine.PopupFlag);
    DragRange({10, 10}, {30, 30});
    EXPECT_EQ(state(), QStringLiteral("v-vEEv-vE--"));
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(state(), QStringLiteral("v-v--E-vE--"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(state(), QStringLiteral("v-v---EEEEE"));
    QImage face(10, 10, QImage::Format_RGB32);
    face.fill(ToPixel(clGreen));
    form->ShowImportedPicture(face, 60, 60, QStringLiteral("face.bmp"));
    EXPECT_EQ(state(), QStringLiteral("-EE---EEEEE"));
    Key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(state(), QStringLiteral("E-v--E-vE--"));
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    EXPECT_EQ(state(), QStringLiteral("E-v--v-vE--"));
}

TEST_F(EditorForm, MenusAndPastesAskTheClipboardOnlyOncePerChange)
{
    // An owner that stops answering holds every question for seconds: menus opened again and again
    // and pastes must not ask again until the clipboard changes.
    QImage picture(3, 3, QImage::Format_RGB32);
    picture.fill(ToPixel(clBlue));
    for (bool holdsPicture : {true, false}) {
        auto* data = new CountingMimeData;
        holdsPicture ? data->setImageData(picture) : data->setText(QStringLiteral("文字だけ"));
        QGuiApplication::clipboard()->setMimeData(data);
        for (int round = 0; round < 3; ++round) {
            OpenEditMenu();
            ASSERT_EQ(QApplication::activePopupWidget(), form->mmEdit);
            QTest::keyClick(form->mmEdit, Qt::Key_Escape);
            WindowClick(form->Image1, V(60, 40), Qt::RightButton);
            ASSERT_TRUE(form->PopupMenu1->isVisible());
            EXPECT_EQ(form->pmPaste->isEnabled(), holdsPicture);
            QTest::keyClick(form->PopupMenu1, Qt::Key_Escape);
        }
        Key(Qt::Key_V, Qt::ControlModifier);
        Key(Qt::Key_F, Qt::ControlModifier);
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(form->imPaste->isVisible(), holdsPicture);
        EXPECT_EQ(dialogs.Boxes().size(), holdsPicture ? 0u : 3u);
        EXPECT_EQ(data->FormatAsks, 1) << holdsPicture;
        EXPECT_LE(data->DataAsks, 1) << holdsPicture;
        if (holdsPicture) Key(Qt::Key_F, Qt::ControlModifier);
        dialogs.Clear();
    }
}

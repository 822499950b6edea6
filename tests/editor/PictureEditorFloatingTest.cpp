// The floating images on the real form: stretching, flipping and rotating by their handles, moves
// in whole canvas pixels by mouse and arrow keys, drawing at any zoom and with the eraser, and the
// text and line width dialogs.
#include "EditorFormFixture.h"

#include "UnitMoji.h"
#include "UnitSelectWidth.h"
#include "UnitShowMasu.h"
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <cmath>

namespace {

QImage Filled(int w, int h, TColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(ToPixel(c));
    return img;
}

} // namespace

class FloatingForm : public EditorForm {
protected:
    // The picture pasted from the clipboard at the view's top-left, then dragged by `by`.
    TFloatingImage* Paste(const QImage& picture, QPoint by = QPoint())
    {
        QGuiApplication::clipboard()->setImage(picture);
        Key(Qt::Key_V, Qt::ControlModifier);
        if (by != QPoint()) Drag(form->imPaste, QPoint(1, 1), by);
        return form->imPaste;
    }
    // Turns the current image by its bottom-right rotation handle, in steps of `step` degrees
    // (clockwise when positive) about the image's centre.
    void Turn(int steps, double step)
    {
        THandle* h = form->imRotateRB;
        TFloatingImage* f = form->imPaste;
        const QPointF centre = QPointF(f->mapToGlobal(QPoint(f->width() / 2, f->height() / 2)));
        const QPoint start = h->mapToGlobal(QPoint(3, 3));
        const double r = std::hypot(start.x() - centre.x(), start.y() - centre.y());
        double angle = std::atan2(centre.y() - start.y(), start.x() - centre.x());
        QTest::mousePress(h, Qt::LeftButton, {}, QPoint(3, 3));
        for (int i = 0; i < steps; ++i) {
            angle -= step * 3.14159265358979323846 / 180;
            const QPoint at(int(std::lround(centre.x() + r * std::cos(angle))), int(std::lround(centre.y() - r * std::sin(angle))));
            QMouseEvent move(QEvent::MouseMove, h->mapFromGlobal(at), at, Qt::NoButton, Qt::LeftButton, {});
            QCoreApplication::sendEvent(h, &move);
        }
        QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(3, 3));
    }
};

TEST_F(FloatingForm, StretchedByItsHandlesAndFlippedPastTheOppositeSide)
{
    StepZoomTo(100);
    QImage pic = Filled(10, 6, clBlack);
    for (int y = 0; y < 6; ++y)
        for (int x = 5; x < 10; ++x) pic.setPixel(x, y, ToPixel(clRed));
    TFloatingImage* f = Paste(pic, QPoint(50, 40));
    ASSERT_EQ(f->geometry(), QRect(50, 40, 10, 6));
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(form->sbRgReform->isChecked());
    for (THandle* h : form->Handles) EXPECT_EQ(h->isVisible(), h->Kind == THandle::Stretch) << h->objectName().toStdString();
    EXPECT_EQ(form->imReformRB->geometry(), QRect(62, 48, 7, 7));
    // A corner keeps the picture's shape, the opposite corner stays.
    Drag(form->imReformRB, QPoint(3, 3), QPoint(10, 99));
    EXPECT_EQ(f->geometry(), QRect(50, 40, 20, 12));
    EXPECT_EQ(f->StoredSize, QSize(20, 12));
    EXPECT_EQ(f->LastTransform, 2);
    EXPECT_EQ(f->Picture().size(), QSize(10, 6)); // shown stretched, not resampled
    // The right side dragged past the left one: a mirrored picture of positive size.
    Drag(form->imReformHR, QPoint(3, 3), QPoint(-30, 0));
    EXPECT_EQ(f->geometry(), QRect(40, 40, 10, 12));
    EXPECT_EQ(FromPixel(f->Picture().pixel(0, 0)), clRed);
    EXPECT_EQ(FromPixel(f->Picture().pixel(9, 0)), clBlack);
    // Down to nothing: one pixel stays.
    Drag(form->imReformVB, QPoint(3, 3), QPoint(0, -12));
    EXPECT_EQ(f->height(), 1);
    EXPECT_EQ(f->StoredSize, QSize(10, 1));
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(form->Engine.Shapes.size(), 1u);
    EXPECT_EQ(form->Engine.Shapes[0].Picture->Image().size(), QSize(10, 1));
    // Hidden in its stretch mode, the copy gives the canvas back to the pen.
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(form->sbPen->isChecked());
    Click(V(100, 50));
    EXPECT_EQ(form->Engine.Shapes.size(), 2u);
}

TEST_F(FloatingForm, AShrunkenCopyKeepsItsThinDarkLinesUnlessHalftoned)
{
    StepZoomTo(100);
    QImage line = Filled(20, 20, clWhite);
    for (int i = 0; i < 20; ++i) line.setPixel(i, 19 - i, ToPixel(clBlack));
    for (int left : {50, 80}) {
        const bool halftone = left == 80;
        if (halftone) QTest::mouseClick(form->cbHalfTone, Qt::LeftButton);
        Paste(line, QPoint(left, 40));
        Key(Qt::Key_A, Qt::ControlModifier);
        Drag(form->imReformRB, QPoint(3, 3), QPoint(-10, -10));
        Key(Qt::Key_V, Qt::ControlModifier);
        // Drawn at half size, every row keeps a dark pixel: black, or grey where it is averaged.
        for (int y = 40; y < 50; ++y) {
            TColor darkest = clWhite;
            for (int x = left; x < left + 10; ++x) darkest = std::min(darkest, CanvasAt(x, y) & 0xFF);
            EXPECT_TRUE(halftone ? darkest > 0 && darkest < 0xC0 : darkest == 0) << y << " " << darkest;
        }
        Key(Qt::Key_F, Qt::ControlModifier);
    }
}

TEST_F(FloatingForm, ARotationAfterAFlipStartsFromThePictureAsItShows)
{
    StepZoomTo(100);
    TFloatingImage* f = Paste(Filled(40, 10, clBlack), QPoint(100, 100));
    Key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(form->imRotateRB->isVisible());
    Turn(2, 2); // under 5 degrees from where it last turned: nothing turns
    EXPECT_EQ(f->size(), QSize(40, 10));
    Turn(9, 10);
    EXPECT_NEAR(f->width(), 10, 3);
    EXPECT_NEAR(f->height(), 40, 3);
    EXPECT_EQ(f->LastTransform, 3);
    // Flipped, then turned a little: the picture turns from where it stands, no jump by the
    // quarter turn it already has.
    Key(Qt::Key_D, Qt::ControlModifier);
    QTest::mouseClick(form->imReverseHL, Qt::LeftButton);
    EXPECT_EQ(f->LastTransform, 4);
    Key(Qt::Key_S, Qt::ControlModifier);
    Turn(1, 7);
    EXPECT_GT(f->height(), 2 * f->width());
    EXPECT_NEAR(std::fabs(f->Angle), 7 * 3.14159265358979323846 / 180, 0.05);
}

TEST_F(FloatingForm, MovesKeepToWholeCanvasPixels)
{
    TFloatingImage* f = Paste(Filled(3, 3, clBlack));
    ASSERT_EQ(f->pos(), QPoint(0, 0));
    // By the mouse at 600 %: 10 pixels are one canvas pixel, 5 none, -7 one back.
    const std::pair<int, int> drags[] = {{10, 6}, {5, 6}, {-7, 0}, {61, 60}};
    for (auto [by, x] : drags) {
        Drag(f, QPoint(2, 2), QPoint(by, 0));
        EXPECT_EQ(f->x(), x) << by;
    }
    EXPECT_EQ(f->StoredPos, QPoint(10, 0));
    // Shift keeps the first axis moved along.
    QTest::keyPress(form->Image1, Qt::Key_Shift, Qt::ShiftModifier);
    Drag(f, QPoint(2, 2), QPoint(30, 12), Qt::ShiftModifier);
    QTest::keyRelease(form->Image1, Qt::Key_Shift);
    EXPECT_EQ(f->pos(), QPoint(90, 0));
    // The arrow keys: one canvas pixel a press; the stored place stays for the zoom re-layout.
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_EQ(f->pos(), QPoint(96, 6));
    EXPECT_EQ(f->StoredPos, QPoint(15, 0));
    StepZoomTo(150);
    EXPECT_EQ(form->Engine.ToCanvas(f->x()), 15);
    Key(Qt::Key_Right);
    EXPECT_EQ(form->Engine.ToCanvas(f->x()), 16);
    Key(Qt::Key_Right);
    EXPECT_EQ(form->Engine.ToCanvas(f->x()), 17);
    // To the view's origin: the first whole canvas pixel in view.
    StepZoomTo(975);
    const int before = f->x();
    form->ScrollBox1->horizontalScrollBar()->setValue(100);
    EXPECT_EQ(f->x(), before - 100); // it scrolls with the canvas
    Key(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(f->pos(), QPoint(8, 0)); // canvas pixel 11 begins at 108
}

TEST_F(FloatingForm, DrawnAtTheCanvasSizeItStandsForAndWithTheEraser)
{
    // At 25 % a 3 x 3 copy shows as one pixel and is still drawn 3 x 3.
    StepZoomTo(25);
    Paste(Filled(3, 3, clBlack));
    ASSERT_EQ(form->imPaste->size(), QSize(1, 1));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(CanvasAt(2, 2), clBlack);
    EXPECT_EQ(CanvasAt(3, 3), clWhite);
    Key(Qt::Key_F, Qt::ControlModifier);
    // With the eraser chosen the picture's pure white covers what lies under it.
    StepZoomTo(100);
    QTest::mouseClick(form->sbFloodFill, Qt::LeftButton);
    Click(V(100, 50)); // the canvas black
    ASSERT_EQ(CanvasAt(60, 30), clBlack);
    QImage pic = Filled(4, 4, clWhite);
    pic.setPixel(0, 0, ToPixel(clRed));
    Paste(pic, QPoint(60, 30));
    QTest::mouseClick(form->Palette[3], Qt::LeftButton);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(CanvasAt(60, 30), clRed);
    EXPECT_EQ(CanvasAt(63, 33), clWhite);
    EXPECT_EQ(CanvasAt(64, 34), clBlack);
}

TEST_F(FloatingForm, TypedTextBecomesTheFloatingCopy)
{
    StepZoomTo(100);
    Form::SetModalHook([this](Form* f) {
        if (f == form->MojiDialog()->FontDialog1) {
            // The red of the colour list, chosen by the keyboard: from the typeface box Alt+C goes to the list.
            QComboBox* colours = form->MojiDialog()->FontDialog1->ColorBox;
            QApplication::setActiveWindow(f);
            QTest::mouseClick(form->MojiDialog()->FontDialog1->FontBox->findChild<QLineEdit*>(), Qt::LeftButton);
            EXPECT_NE(QApplication::focusWidget(), colours);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
            EXPECT_EQ(QApplication::focusWidget(), colours);
            while (colours->currentData().toUInt() != clRed) QTest::keyClick(colours, Qt::Key_Down);
            QTest::mouseClick(form->MojiDialog()->FontDialog1->btOK, Qt::LeftButton);
            return;
        }
        TFormMoji* moji = form->MojiDialog();
        QTest::mouseClick(moji->btFont, Qt::LeftButton);
        QTest::keyClicks(moji->Memo1, QStringLiteral("AB"));
        QTest::keyClick(moji->Memo1, Qt::Key_Return);
        QTest::keyClicks(moji->Memo1, QStringLiteral("CDEF"));
        QTest::keyClick(moji->Edit1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(moji->Edit1, QStringLiteral("0"));
        QTest::mouseClick(moji->btOK, Qt::LeftButton);
    });
    Key(Qt::Key_M, Qt::ControlModifier);
    TFloatingImage* f = form->imPaste;
    ASSERT_TRUE(f->isVisible());
    TBitmap probe(1, 1);
    probe.Canvas().Font = form->MojiDialog()->TextFont;
    EXPECT_EQ(form->MojiDialog()->TextFont.Color, clRed);
    EXPECT_EQ(form->MojiDialog()->LineSpacing, 0);
    EXPECT_EQ(f->Picture().height(), 2 * probe.Canvas().TextHeight(QStringLiteral("A")));
    EXPECT_EQ(f->Picture().width(), probe.Canvas().TextWidth(QStringLiteral("CDEF")));
    // While the copy shows, the text tool refuses.
    Form::SetModalHook(nullptr);
    Key(Qt::Key_M, Qt::ControlModifier);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("［表示］している画像を隠してから実行して下さい。"));
}

TEST_F(FloatingForm, TheTextAndFontDialogsOfferAtTheirNextUseWhatWasChosenBefore)
{
    std::vector<int> sizesShown;
    int textRuns = 0;
    Form::SetModalHook([&](Form* f) {
        TFormMoji* moji = form->MojiDialog();
        TFontDialog* fonts = moji->FontDialog1;
        if (f == fonts) {
            ASSERT_TRUE(fonts->FontBox && fonts->FontBox->isVisible());
            EXPECT_LT(fonts->FontBox->geometry().bottom(), fonts->ColorBox->geometry().top());
            QLineEdit* size = nullptr;
            for (QLineEdit* e : fonts->FontBox->findChildren<QLineEdit*>())
                if (e->validator()) size = e;
            ASSERT_TRUE(size);
            sizesShown.push_back(size->text().toInt());
            if (sizesShown.size() == 1) {
                QTest::keyClick(size, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(size, QStringLiteral("20"));
                QTest::mouseClick(fonts->btOK, Qt::LeftButton);
            } else {
                QTest::mouseClick(fonts->btCancel, Qt::LeftButton);
            }
            return;
        }
        if (++textRuns == 1) {
            QTest::mouseClick(moji->btFont, Qt::LeftButton);
            QTest::keyClicks(moji->Memo1, QStringLiteral("AB"));
            QTest::keyClick(moji->Edit1, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(moji->Edit1, QStringLiteral("7"));
            QTest::mouseClick(moji->btOK, Qt::LeftButton);
        } else {
            EXPECT_EQ(moji->Memo1->toPlainText(), QStringLiteral("AB"));
            EXPECT_EQ(moji->Edit1->text(), QStringLiteral("7"));
            QTest::mouseClick(moji->btFont, Qt::LeftButton);
            QTest::keyClick(moji->Memo1, Qt::Key_Escape);
        }
    });
    QTest::mouseClick(form->sbMoji, Qt::LeftButton);
    ASSERT_TRUE(form->imPaste->isVisible());
    // The copy put away, the text tool opens the dialog again.
    QTest::mouseClick(form->sbPasteShow, Qt::LeftButton);
    ASSERT_FALSE(form->imPaste->isVisible());
    QTest::mouseClick(form->sbMoji, Qt::LeftButton);
    EXPECT_EQ(textRuns, 2);
    EXPECT_EQ(sizesShown, (std::vector<int>{12, 20}));
    EXPECT_EQ(form->MojiDialog()->TextFont.Size(), 20);
    EXPECT_EQ(form->MojiDialog()->LineSpacing, 7);
}

TEST_F(FloatingForm, TheTextDialogReadsItsSpacingAndWantsText)
{
    TFormMoji* moji = form->MojiDialog();
    struct Case {
        const char* text;
        const char* spacing;
        int result;
        int kept;
    } cases[] = {{"X", " 12 ", mrOk, 12}, {"X", "abc", mrOk, 4}, {"X", "500", mrOk, 100}, {"  ", "3", mrCancel, 3}};
    for (const Case& c : cases) {
        Form::SetModalHook([&](Form*) {
            moji->Memo1->selectAll();
            QTest::keyClick(moji->Memo1, Qt::Key_Delete);
            QTest::keyClicks(moji->Memo1, QString::fromLatin1(c.text));
            QTest::keyClick(moji->Edit1, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(moji->Edit1, QString::fromLatin1(c.spacing));
            QTest::keyClick(moji->btOK, Qt::Key_Return);
        });
        EXPECT_EQ(moji->ShowModal(), c.result) << c.spacing;
        EXPECT_EQ(moji->LineSpacing, c.kept) << c.spacing;
    }
    // The text stays for the next time.
    EXPECT_EQ(moji->Memo1->toPlainText(), QStringLiteral("  "));
}

TEST_F(FloatingForm, TheTextBoxPastesOnlyTheTextTheClipboardHolds)
{
    TFormMoji* moji = form->MojiDialog();
    // A clipboard with no owner offers no formats at all; one with a picture offers no text.
    const std::function<void(QMimeData&)> holdings[] = {
        [](QMimeData&) {}, [](QMimeData& d) { d.setImageData(Filled(2, 2, clRed)); },
        [](QMimeData& d) { d.setText(QStringLiteral("文字")); }};
    const QString pasted[] = {QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("A文字")};
    for (int i = 0; i < 3; ++i) {
        auto* data = new CountingMimeData;
        holdings[i](*data);
        QGuiApplication::clipboard()->setMimeData(data);
        for (auto [key, mods] : {std::pair{Qt::Key_V, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ShiftModifier}}) {
            Form::SetModalHook([&, key = key, mods = mods](Form*) {
                QTest::keyClick(moji->Memo1, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(moji->Memo1, QStringLiteral("A"));
                QTest::keyClick(moji->Memo1, key, mods);
                EXPECT_EQ(moji->Memo1->toPlainText(), pasted[i]) << i;
                QTest::keyClick(moji->Memo1, Qt::Key_Escape);
            });
            moji->ShowModal();
        }
        // Asked once for all the pastes: its formats, and the text in its two encodings.
        EXPECT_EQ(data->FormatAsks, 1) << i;
        EXPECT_LE(data->DataAsks, 2) << i;
    }
}

TEST_F(FloatingForm, TheWidthDialogStaysWithinOneToAHundred)
{
    TFormSelectWidth* d = form->SelectWidthDialog();
    EXPECT_EQ(d->Caption(), QStringLiteral("線の幅"));
    const std::tuple<const char*, int, int> cases[] = {{"0", mrOk, 1}, {"7", mrOk, 7}, {"250", mrOk, 100}};
    for (auto [typed, result, width] : cases) {
        Form::SetModalHook([&](Form*) {
            EXPECT_EQ(d->focusWidget(), d->Edit1);
            QTest::keyClick(d->Edit1, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(d->Edit1, QString::fromLatin1(typed));
            QTest::keyClick(d->Edit1, Qt::Key_Return);
        });
        EXPECT_EQ(d->ShowModal(), result) << typed;
        EXPECT_EQ(d->UpDown1->value(), width) << typed;
    }
    // Up on the up-down, then Esc; Enter on the focused cancel button cancels too.
    Form::SetModalHook([&](Form*) {
        QTest::keyClick(d->UpDown1, Qt::Key_Up);
        QTest::keyClick(d->Edit1, Qt::Key_Escape);
    });
    EXPECT_EQ(d->ShowModal(), mrCancel);
    Form::SetModalHook([&](Form*) {
        d->Button2->setFocus();
        QTest::keyClick(d->Button2, Qt::Key_Return);
    });
    EXPECT_EQ(d->ShowModal(), mrCancel);
}

TEST_F(FloatingForm, TheImportedPictureFollowsTheZoomOrKeepsItsSize)
{
    form->ShowImportedPicture(Filled(8, 8, clGreen), 60, 60, QStringLiteral("/pictures/face.bmp"));
    TFloatingImage* f = form->imFace;
    ASSERT_TRUE(f->isVisible());
    EXPECT_EQ(f->StoredSize, QSize(10, 10));
    EXPECT_EQ(f->size(), QSize(60, 60));
    EXPECT_TRUE(form->sbFaceShow->isChecked());
    // "独立": the same size and place on screen at any zoom; "連動" again: the zoom's size, from
    // the place it has then.
    QTest::mouseClick(form->rbBairituKotei, Qt::LeftButton);
    StepZoomTo(300);
    EXPECT_EQ(f->size(), QSize(60, 60));
    QTest::mouseClick(form->rbBairituHendou, Qt::LeftButton);
    EXPECT_EQ(f->size(), QSize(30, 30));
    // Shift+Ctrl+V draws it where it shows, with the file it came from.
    Key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(form->Engine.Shapes.size(), 1u);
    const TShapeRecord& r = form->Engine.Shapes[0];
    EXPECT_EQ(r.Text, QStringLiteral("/pictures/face.bmp"));
    EXPECT_EQ(r.B[0], form->Engine.ToCanvasPoint(f->pos() - form->Image1->pos()));
    ASSERT_TRUE(r.Picture);
    EXPECT_EQ(r.Picture->Image().size(), QSize(10, 10));
    EXPECT_EQ(FromPixel(r.Picture->Image().pixel(5, 5)), clGreen);
    // Hidden, it can be shown again as it was; Shift+Ctrl+V shows it.
    Key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(f->isVisible());
    Key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(form->Engine.Shapes.size(), 1u);
}

TEST_F(FloatingForm, EachUpDownStepsItsEditFromItsKeysAndArrowsToItsLeftEdge)
{
    struct Case {
        Form* dialog;
        QLineEdit* edit;
        QSpinBox* upDown;
    } cases[] = {{form->SelectWidthDialog(), form->SelectWidthDialog()->Edit1, form->SelectWidthDialog()->UpDown1},
                 {form->MojiDialog(), form->MojiDialog()->Edit1, form->MojiDialog()->UpDown1},
                 {form->ShowMasuDialog(), form->ShowMasuDialog()->Edit1, form->ShowMasuDialog()->UpDown1},
                 {form->ShowMasuDialog(), form->ShowMasuDialog()->Edit2, form->ShowMasuDialog()->UpDown2}};
    for (const Case& c : cases) {
        Form::SetModalHook([&](Form*) {
            const int lo = c.upDown->minimum(), hi = c.upDown->maximum();
            // Up and Down typed in the edit step its number, within the up-down's limits.
            for (auto [typed, key, stepped] : {std::tuple{lo + 5, Qt::Key_Up, lo + 6}, {hi, Qt::Key_Up, hi}, {lo, Qt::Key_Down, lo}}) {
                QTest::keyClick(c.edit, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(c.edit, QString::number(typed));
                QTest::keyClick(c.edit, key);
                EXPECT_EQ(c.edit->text().toInt(), stepped) << c.upDown->objectName().toStdString();
            }
            QTest::mouseClick(c.upDown, Qt::LeftButton, {}, QPoint(1, 2));
            EXPECT_EQ(c.edit->text().toInt(), lo + 1) << c.upDown->objectName().toStdString();
            QTest::keyClick(c.edit, Qt::Key_Escape);
        });
        EXPECT_EQ(c.dialog->ShowModal(), mrCancel);
    }
}

// The picture import dialog and the colour effect dialog on the editor, driven as the user drives
// them: files that are no picture, outlines dragged on the view, the keys of cutting, erasing and
// undo, the four bars, and a cut-out taken into the editor and drawn into the cell.
#include "EditorFormFixture.h"

#include "../platform/HostileFiles.h"
#include "FileErrorText.h"
#include "PictureFile.h"
#include "PictureSelectView.h"
#include "UnitPicEffect.h"
#include "UnitPictureSelect.h"
#include "UnitSelectWidth.h"
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QWheelEvent>
#include <map>

namespace {

// A picture with no pure white in it, every pixel its own colour.
QImage Face(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(40 + x % 200, 30 + y % 200, 90));
    return img;
}

class ImportForm : public EditorForm {
protected:
    void SetUp() override
    {
        EditorForm::SetUp();
        d = form->PictureSelect();
        // Each dialog that starts a modal run plays the script given for it.
        Form::SetModalHook([this](Form* f) {
            auto it = scripts.find(f);
            if (it == scripts.end()) return;
            const auto script = it->second;
            script();
            if (f->Modal() && f->ModalResult() == mrNone) {
                ADD_FAILURE() << "a dialog was left open";
                f->SetModalResult(mrCancel);
            }
        });
        WriteFile(Folder() + QStringLiteral("/face.bmp"), EncodeBmp24(face));
    }
    // The editor's "画像" button, with the dialog playing `script`.
    void Import(const std::function<void()>& script)
    {
        scripts[d] = script;
        QTest::mouseClick(form->sbFaceSelect, Qt::LeftButton);
    }
    void OpenPicture(const QString& name)
    {
        WithDialog(name, [this] { d->mmOpen->trigger(); });
    }
    // A drag over view points on the dialog's picture.
    void Outline(std::vector<QPoint> pts, Qt::KeyboardModifiers mods = {})
    {
        QWidget* v = d->Image1;
        QTest::mousePress(v, Qt::LeftButton, mods, pts.front());
        for (const QPoint& p : pts) {
            QMouseEvent move(QEvent::MouseMove, p, v->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, mods);
            QCoreApplication::sendEvent(v, &move);
        }
        QTest::mouseRelease(v, Qt::LeftButton, mods, pts.back());
    }
    void DialogKey(int key, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        QTest::keyClick(d->Image1, Qt::Key(key), mods);
    }
    void SetZoom(int zoom)
    {
        while (d->UpDown1->value() != zoom) QTest::keyClick(d->UpDown1, zoom > d->UpDown1->value() ? Qt::Key_Up : Qt::Key_Down);
    }

    const QImage face = Face(60, 40);
    TFormPictureSelect* d = nullptr;
    std::map<Form*, std::function<void()>> scripts;
};

} // namespace

TEST_F(ImportForm, PicturesThatCannotBeReadChangeNothing)
{
    WriteFile(Folder() + QStringLiteral("/short.bmp"), EncodeBmp24(face).left(300));
    WriteFile(Folder() + QStringLiteral("/broken.jpg"), QByteArray("\xFF\xD8\xFF\xE0 this is no picture"));
    WriteFile(Folder() + QStringLiteral("/empty.bmp"), QByteArray());
    WriteFile(Folder() + QStringLiteral("/face.png"), EncodeBmp24(face));
    const QString pipe = MakeHostileFiles(Folder(), QStringLiteral(".jpg"))[0].path;
    Import([&] {
        OpenPicture(QStringLiteral("face.bmp"));
        EXPECT_TRUE(d->Working == face);
        EXPECT_EQ(d->Caption(), QStringLiteral("画像と音声/ゲームの選手画像/face.bmp ～ 画像の取り込み"));
        Outline({{10, 10}, {30, 20}});
        DialogKey(Qt::Key_K);
        const QImage kept = d->Working;
        const std::pair<const char*, QString> cases[] = {
            {"short.bmp", QStringLiteral("\"short.bmp\"\r\nビットマップが無効です。")},
            {"broken.jpg", QStringLiteral("\"broken.jpg\"\r\nJPEG エラー #")},
            {"empty.bmp", QStringLiteral("\"empty.bmp\"\r\nビットマップが無効です。")},
            {"face.png", QStringLiteral("\"face.png\"\r\nBMP ファイル（.bmp）か JPEG ファイル（.jpg）を選んで下さい。")},
            {"pipe.jpg", FileAccessErrorText(pipe, 0, EINVAL)},
        };
        for (const auto& [name, says] : cases) {
            dialogs.Clear();
            EXPECT_TRUE(ReturnsPromptly({pipe, EINVAL}, [&] { OpenPicture(QString::fromUtf8(name)); }));
            ASSERT_EQ(dialogs.Boxes().size(), 1u) << name;
            EXPECT_TRUE(dialogs.Boxes()[0].text.startsWith(says)) << dialogs.Boxes()[0].text.toStdString();
            EXPECT_EQ(dialogs.BeepCount(MB_ICONASTERISK) + dialogs.BeepCount(MB_ICONHAND), 1);
            EXPECT_TRUE(d->Working == kept);
            EXPECT_TRUE(d->FileName.endsWith(QStringLiteral("/face.bmp")));
            EXPECT_TRUE(d->Caption().startsWith(QStringLiteral("画像と音声/ゲームの選手画像/face.bmp")));
            EXPECT_TRUE(d->sbUndo->isEnabled());
        }
        QTest::mouseClick(d->btCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(form->imFace->isVisible());
}

TEST_F(ImportForm, OutlinesCutAndEraseWithTheirOwnUndo)
{
    Import([&] {
        OpenPicture(QStringLiteral("face.bmp"));
        SetZoom(200);
        EXPECT_EQ(d->Edit1->text(), QStringLiteral("200"));
        EXPECT_EQ(d->Image1->size(), QSize(120, 80));
        // Shift makes the rectangle a square; the drag past the picture's edge is held to it.
        Outline({{20, 20}, {60, 40}}, Qt::ShiftModifier);
        EXPECT_EQ(d->Outline.Points, (std::vector<QPoint>{{10, 10}, {30, 30}}));
        Outline({{20, 20}, {300, 61}});
        DialogKey(Qt::Key_K);
        ASSERT_EQ(d->Working.size(), QSize(50, 20));
        EXPECT_EQ(d->Working.pixel(5, 5), face.pixel(15, 15));
        EXPECT_EQ(d->Image1->size(), QSize(100, 40));
        // Erase inside an ellipse and along a free line: the size stays.
        QTest::mouseClick(d->sbSelect2, Qt::LeftButton);
        Outline({{20, 4}, {60, 36}}); // picture (10, 2)-(30, 18)
        DialogKey(Qt::Key_H);
        EXPECT_EQ(FromPixel(d->Working.pixel(20, 10)), clWhite);
        EXPECT_EQ(d->Working.pixel(2, 2), face.pixel(12, 12));
        QTest::mouseClick(d->sbSelect3, Qt::LeftButton);
        Outline({{70, 2}, {70, 30}, {90, 30}});
        DialogKey(Qt::Key_L);
        EXPECT_EQ(FromPixel(d->Working.pixel(35, 10)), clWhite);
        EXPECT_EQ(d->Working.size(), QSize(50, 20));
        // A width of 5 from the width dialog: select-all in rectangle mode cuts the whole picture,
        // clearing a band of three pixels.
        scripts[form->SelectWidthDialog()] = [&] {
            QTest::keyClick(form->SelectWidthDialog()->Edit1, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(form->SelectWidthDialog()->Edit1, QStringLiteral("5"));
            QTest::mouseClick(form->SelectWidthDialog()->Button1, Qt::LeftButton);
        };
        QTest::mouseClick(d->sbSelectWidth, Qt::LeftButton);
        EXPECT_EQ(d->SelectWidth, 5);
        const QImage before = d->Working;
        QTest::mouseClick(d->sbSelect1, Qt::LeftButton);
        DialogKey(Qt::Key_A);
        EXPECT_EQ(d->Working.size(), before.size());
        EXPECT_EQ(FromPixel(d->Working.pixel(2, 10)), clWhite);
        EXPECT_EQ(d->Working.pixel(3, 10), before.pixel(3, 10));
        // Back through every step, and forward again by the button.
        const QSize sizes[] = {{50, 20}, {50, 20}, {50, 20}, {60, 40}};
        for (const QSize& s : sizes) {
            DialogKey(Qt::Key_Z);
            EXPECT_EQ(d->Working.size(), s);
        }
        EXPECT_TRUE(d->Working == face);
        EXPECT_FALSE(d->sbUndo->isEnabled());
        QTest::mouseClick(d->sbRedo, Qt::LeftButton);
        EXPECT_EQ(d->Working.pixel(5, 5), face.pixel(15, 15));
        DialogKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(FromPixel(d->Working.pixel(20, 10)), clWhite);
        d->mmReOpen->trigger();
        EXPECT_TRUE(d->Working == face);
        EXPECT_FALSE(d->sbUndo->isEnabled() || d->sbRedo->isEnabled());
        QTest::keyClick(d->Image1, Qt::Key_Escape);
    });
    EXPECT_FALSE(form->imFace->isVisible());
}

TEST_F(ImportForm, TheColourEffectBarsWorkLiveAndComeBackExactly)
{
    TFormPicEffect* e = d->FormPicEffect;
    const auto red = [&] { return qRed(d->Working.pixel(10, 10)); };
    const auto green = [&] { return qGreen(d->Working.pixel(10, 10)); };
    const int r0 = qRed(face.pixel(10, 10)), g0 = qGreen(face.pixel(10, 10));
    Import([&] {
        OpenPicture(QStringLiteral("face.bmp"));
        scripts[e] = [&] {
            QTest::keyClick(e->sbR, Qt::Key_Right);
            EXPECT_EQ(red(), r0 + 3); // 2.55 rounded
            EXPECT_EQ(e->lbR->text(), QStringLiteral("1"));
            QTest::keyClick(e->sbR, Qt::Key_End);
            QTest::keyClick(e->sbBri, Qt::Key_Home);
            EXPECT_EQ(red(), r0); // the offsets add up to nothing for red
            EXPECT_EQ(green(), 0);
            EXPECT_EQ(e->lbBri->text(), QStringLiteral("-100"));
            for (int i = 0; i < 100; ++i) {
                QTest::keyClick(e->sbR, Qt::Key_Left);
                QTest::keyClick(e->sbBri, Qt::Key_Right);
            }
            EXPECT_TRUE(d->Working == face);
            QTest::keyClick(e->sbG, Qt::Key_PageUp);
            EXPECT_NE(green(), g0);
            QTest::keyClick(e->sbG, Qt::Key_Escape);
        };
        d->Effect1->trigger();
        EXPECT_EQ(e->ModalResult(), mrCancel);
        EXPECT_TRUE(d->Working == face);
        // "最初から" goes back to the start and centres the bars; OK keeps the effect, which is no
        // step of the undo.
        scripts[e] = [&] {
            QTest::keyClick(e->sbB, Qt::Key_End);
            QTest::mouseClick(e->btInit, Qt::LeftButton);
            EXPECT_TRUE(d->Working == face);
            EXPECT_EQ(e->sbB->value(), 100);
            EXPECT_EQ(e->lbB->text(), QStringLiteral("0"));
            QTest::keyClick(e->sbBri, Qt::Key_End);
            QTest::mouseClick(e->btOK, Qt::LeftButton);
        };
        d->Effect1->trigger();
        EXPECT_EQ(FromPixel(d->Working.pixel(10, 10)), clWhite);
        EXPECT_FALSE(d->sbUndo->isEnabled());
        QTest::mouseClick(d->btCancel, Qt::LeftButton);
    });
}

TEST_F(ImportForm, TheCutOutFloatsInTheEditorAndIsDrawnIntoTheCell)
{
    StepZoomTo(100);
    Import([&] {
        // Nothing opened: OK refuses and the dialog stays.
        QTest::mouseClick(d->btOK, Qt::LeftButton);
        ASSERT_EQ(dialogs.Boxes().size(), 1u);
        EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("画像が選択されていません。"));
        EXPECT_EQ(d->ModalResult(), mrNone);
        // At 10 % a small picture would show at no size at all; at its own size it may go.
        WriteFile(Folder() + QStringLiteral("/dot.bmp"), EncodeBmp24(Face(4, 3)));
        OpenPicture(QStringLiteral("dot.bmp"));
        SetZoom(10);
        dialogs.Clear();
        QTest::mouseClick(d->btOK, Qt::LeftButton);
        EXPECT_TRUE(dialogs.Boxes()[0].text.startsWith(QStringLiteral("取り込む画像が小さすぎます。")));
        EXPECT_EQ(d->ModalResult(), mrNone);
        // Larger than the editor takes: refused the same way.
        SetZoom(100);
        WriteFile(Folder() + QStringLiteral("/long.bmp"), EncodeBmp24(Face(2001, 3)));
        OpenPicture(QStringLiteral("long.bmp"));
        dialogs.Clear();
        QTest::mouseClick(d->btOK, Qt::LeftButton);
        EXPECT_TRUE(dialogs.Boxes()[0].text.startsWith(QStringLiteral("取り込む画像が大きすぎます。")));
        EXPECT_EQ(d->ModalResult(), mrNone);
        OpenPicture(QStringLiteral("face.bmp"));
        Outline({{10, 10}, {30, 30}});
        dialogs.Clear();
        dialogs.answers = {idYes};
        QTest::mouseClick(d->btOK, Qt::LeftButton);
        EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("選択範囲を切り出しますか。"));
    });
    TFloatingImage* f = form->imFace;
    ASSERT_TRUE(f->isVisible());
    EXPECT_EQ(f->Picture().size(), QSize(20, 20));
    EXPECT_EQ(f->StoredSize, QSize(20, 20));
    EXPECT_EQ(f->Picture().pixel(10, 10), face.pixel(20, 20));
    // Moved to the view's top-left (the canvas's) and drawn there.
    QTest::mouseClick(form->sbGenten, Qt::LeftButton);
    QTest::mouseClick(form->sbFaceByouga, Qt::LeftButton);
    ASSERT_EQ(form->Engine.Shapes.size(), 1u);
    EXPECT_EQ(f->StoredPos, QPoint(0, 0));
    EXPECT_EQ(CanvasAt(10, 10), FromPixel(face.pixel(20, 20)));
    EXPECT_EQ(CanvasAt(25, 10), clWhite);
    EXPECT_TRUE(form->ImportFileName.endsWith(QStringLiteral("/face.bmp")));
    // Ctrl+Shift+Q opens the dialog again, with its picture kept; Esc leaves the editor as it was.
    scripts[d] = [&] {
        EXPECT_EQ(d->Working.size(), QSize(20, 20));
        QTest::keyClick(d->Image1, Qt::Key_Escape);
    };
    Key(Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(d->ModalResult(), mrCancel);
    EXPECT_EQ(form->Engine.Shapes.size(), 1u);
}

TEST_F(ImportForm, WheelArrowsAndTheDragThatLeavesTheView)
{
    WriteFile(Folder() + QStringLiteral("/wide.bmp"), EncodeBmp24(Face(400, 300)));
    Import([&] {
        OpenPicture(QStringLiteral("wide.bmp"));
        SetZoom(800);
        QScrollBar* h = d->ScrollBox1->horizontalScrollBar();
        QWidget* vp = d->ScrollBox1->viewport();
        const QPoint centre = vp->rect().center();
        QWheelEvent wheel(centre, vp->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(vp, &wheel);
        EXPECT_EQ(d->UpDown1->value(), 790);
        QTest::keyClick(d->Image1, Qt::Key_Right);
        EXPECT_EQ(h->value(), 50);
        // Held past the right edge, the view scrolls two pixels a tick above 100 % and the outline follows.
        const QPoint outside = vp->mapToGlobal(QPoint(vp->width() + 30, 40));
        d->PointerPos = [&] { return outside; };
        QTest::mousePress(d->Image1, Qt::LeftButton, {}, QPoint(60, 60));
        clock.Advance(30);
        EXPECT_EQ(h->value(), 56);
        EXPECT_EQ(d->Outline.Points[1], d->ScreenToPicturePoint(d->Image1->mapFromGlobal(outside)));
        QTest::mouseRelease(d->Image1, Qt::LeftButton, {}, d->Image1->mapFromGlobal(outside));
        clock.Advance(30);
        EXPECT_EQ(h->value(), 56);
        QTest::mouseClick(d->btCancel, Qt::LeftButton);
    });
}

// The editor's controls under real keys and clicks: the up-downs and menus take the arrow keys
// they use, only the press that closes the canvas pop-up menu is held back from the canvas, a box
// that takes Ctrl's release leaves no Ctrl behind, 消去 from a menu goes by the keys held as it is
// chosen, and a menu item double-clicked opens one box that its own keys close.
#include "EditorFormFixture.h"

#include "UnitMoji.h"
#include "UnitPicEffect.h"
#include "UnitPictureSelect.h"
#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QWindow>
#include <map>

TEST_F(EditorForm, FocusedUpDownsTakeTheArrowKeys)
{
    StepZoomTo(975);
    QScrollBar* h = form->ScrollBox1->horizontalScrollBar();
    QScrollBar* v = form->ScrollBox1->verticalScrollBar();
    struct Case {
        QSpinBox* box;
        int up, down;
    } cases[] = {{form->UpDown1, 950, 925}, {form->udPen, 6, 5}, {form->udLine, 1, 0}};
    form->udPen->setValue(5);
    for (const Case& c : cases) {
        h->setValue(100);
        v->setValue(100);
        const int hBefore = h->value(), vBefore = v->value();
        QTest::mouseClick(c.box->findChild<QLineEdit*>(), Qt::LeftButton);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus && c.box->isAncestorOf(focus)) << c.box->objectName().toStdString();
        if (c.box == form->UpDown1) QTest::keyClick(focus, Qt::Key_Down);
        else QTest::keyClick(focus, Qt::Key_Up);
        EXPECT_EQ(c.box->value(), c.up) << c.box->objectName().toStdString();
        QTest::keyClick(focus, Qt::Key_Down);
        EXPECT_EQ(c.box->value(), c.down) << c.box->objectName().toStdString();
        QTest::keyClick(focus, Qt::Key_Left);
        QTest::keyClick(focus, Qt::Key_Right);
        if (c.box != form->UpDown1) {
            // The form did not scroll the view for any of them.
            EXPECT_EQ(h->value(), hBefore);
            EXPECT_EQ(v->value(), vBefore);
        }
    }
    // Back on the canvas the arrows scroll the view again.
    QTest::mouseClick(form->Image1, Qt::LeftButton, {}, form->Image1->mapFrom(form->ScrollBox1->viewport(), QPoint(50, 50)));
    const int before = h->value();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(h->value(), before + 50);
}

TEST_F(EditorForm, MenusWorkFromTheKeyboard)
{
    Stroke({V(10, 10), V(30, 10)});
    ASSERT_EQ(form->Engine.Shapes.size(), 1u);
    // The pop-up menu of the canvas: Down, Down picks "元に戻す".
    WindowClick(form->Image1, V(60, 40), Qt::RightButton);
    ASSERT_TRUE(form->PopupMenu1->isVisible());
    QTest::keyClick(form->PopupMenu1, Qt::Key_Down);
    QTest::keyClick(form->PopupMenu1, Qt::Key_Down);
    ASSERT_EQ(form->PopupMenu1->activeAction(), form->mmUndo);
    QTest::keyClick(form->PopupMenu1, Qt::Key_Return);
    EXPECT_FALSE(form->PopupMenu1->isVisible());
    EXPECT_TRUE(form->Engine.Shapes.empty());
    // The edit menu of the menu bar: Alt+E, then Down to "先に戻す".
    Key(Qt::Key_E, Qt::AltModifier);
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_EQ(open, form->mmEdit);
    QTest::keyClick(open, Qt::Key_Down);
    QTest::keyClick(open, Qt::Key_Down);
    ASSERT_TRUE(open->activeAction());
    EXPECT_EQ(open->activeAction()->text(), form->mmRedo->text());
    QTest::keyClick(open, Qt::Key_Return);
    EXPECT_EQ(form->Engine.Shapes.size(), 1u);
    // Esc closes a menu; the next press on the canvas draws.
    WindowClick(form->Image1, V(60, 40), Qt::RightButton);
    QTest::keyClick(form->PopupMenu1, Qt::Key_Escape);
    EXPECT_FALSE(form->PopupMenu1->isVisible());
    Click(V(50, 50));
    EXPECT_EQ(form->Engine.Shapes.size(), 2u);
}

TEST_F(EditorForm, OnlyThePressThatClosesThePopupIsHeldBack)
{
    // Where the platform hands the closing press on to the canvas, and where it swallows it.
    for (bool replayed : {true, false}) {
        form->PopupMenu1->setAttribute(Qt::WA_NoMouseReplay, !replayed);
        const size_t before = form->Engine.Shapes.size();
        WindowClick(form->Image1, V(60, 40), Qt::RightButton);
        ASSERT_TRUE(form->PopupMenu1->isVisible());
        WindowClick(form->Image1, V(20, 20));
        EXPECT_FALSE(form->PopupMenu1->isVisible());
        EXPECT_EQ(form->Engine.Shapes.size(), before) << replayed;
        WindowClick(form->Image1, V(40, 20));
        EXPECT_EQ(form->Engine.Shapes.size(), before + 1) << replayed;
        EXPECT_EQ(CanvasAt(40, 20), clBlack);
    }
    // The fill too: the closing press fills nothing, the next one fills.
    QTest::mouseClick(form->sbFloodFill, Qt::LeftButton);
    WindowClick(form->Image1, V(60, 40), Qt::RightButton);
    WindowClick(form->Image1, V(100, 60));
    EXPECT_EQ(CanvasAt(100, 60), clWhite);
    WindowClick(form->Image1, V(100, 60));
    EXPECT_EQ(CanvasAt(100, 60), clBlack);
}

TEST_F(EditorForm, ABoxThatTookCtrlsReleaseLeavesNoCtrlBehind)
{
    // Ctrl(+Shift)+key brings up a real box; the keys are let go there, and Enter closes it.
    const auto keyIntoBox = [this](Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        SetDialogs(nullptr);
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            if (!qobject_cast<QMessageBox*>(box)) return box ? void(box->close()) : void();
            QTest::keyRelease(box, Qt::Key_Control);
            QTest::keyRelease(box, Qt::Key_Shift);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QTest::keyPress(form->Image1, key, mods);
        SetDialogs(&dialogs);
    };
    const auto dotInRange = [this] {
        Click(V(20, 20));
        QTest::mouseClick(form->sbRange, Qt::LeftButton);
        Stroke({V(10, 10), V(30, 30)});
    };
    // Text on the clipboard: Ctrl+V only warns. A plain drag of the range then moves it.
    QGuiApplication::clipboard()->setText(QStringLiteral("文字だけ"));
    dotInRange();
    keyIntoBox(Qt::Key_V);
    Stroke({V(20, 20), V(50, 20)});
    EXPECT_EQ(CanvasAt(20, 20), clWhite);
    EXPECT_EQ(CanvasAt(50, 20), clBlack);
    // The same, then 編集 -> 消去 erases the range.
    QTest::mouseClick(form->sbPen, Qt::LeftButton);
    dotInRange();
    keyIntoBox(Qt::Key_V);
    OpenEditMenu();
    ChooseFromMenu(form->mmDelete->text());
    EXPECT_EQ(CanvasAt(20, 20), clWhite);
    // The floating copy shown: Ctrl+M only warns. Delete then erases the range, and the copy stays.
    QGuiApplication::clipboard()->setImage(form->Engine.Canvas.Image().copy(0, 0, 4, 4));
    Key(Qt::Key_V, Qt::ControlModifier);
    QTest::mouseClick(form->sbPen, Qt::LeftButton);
    dotInRange();
    keyIntoBox(Qt::Key_M);
    Key(Qt::Key_Delete);
    EXPECT_EQ(CanvasAt(20, 20), clWhite);
    EXPECT_TRUE(form->imPaste->isVisible());
    // So does 消去 of the copy's own menu.
    QTest::mouseClick(form->sbPen, Qt::LeftButton);
    dotInRange();
    keyIntoBox(Qt::Key_M);
    WindowClick(form->imPaste, QPoint(1, 1), Qt::RightButton);
    ChooseFromMenu(form->mmDelete->text());
    EXPECT_EQ(CanvasAt(20, 20), clWhite);
    EXPECT_TRUE(form->imPaste->isVisible());
    // Shift let go in the box too: the copy moves freely again.
    keyIntoBox(Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    const QPoint before = form->imPaste->pos();
    Drag(form->imPaste, QPoint(1, 1), QPoint(60, 30));
    EXPECT_EQ(form->imPaste->pos(), before + QPoint(60, 30));
    // A box that came up during a Ctrl-drag of the range took the release of Ctrl and of the button:
    // the drag goes on to the next release on the canvas. A right click on the copy with Ctrl up
    // tells that Ctrl is up, so the drop moves the range.
    QTest::mouseClick(form->sbPen, Qt::LeftButton);
    dotInRange();
    QTest::mousePress(form->Image1, Qt::LeftButton, Qt::ControlModifier, V(20, 20));
    keyIntoBox(Qt::Key_M);
    WindowClick(form->imPaste, QPoint(1, 1), Qt::RightButton);
    WindowClick(form->Image1, V(50, 20));
    EXPECT_EQ(CanvasAt(20, 20), clWhite);
    EXPECT_EQ(CanvasAt(50, 20), clBlack);
}

TEST_F(EditorForm, EraseFromTheMenuObeysTheKeysHeldAsItIsChosen)
{
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(ToPixel(clRed));
    form->ShowImportedPicture(red, 4, 4, QString());
    QGuiApplication::clipboard()->setImage(red);
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(form->imFace->isVisible() && form->imPaste->isVisible());
    // A dot in a range; Ctrl and Shift hide the imported picture, Ctrl alone the floating copy, no
    // key erases.
    struct Case {
        Qt::KeyboardModifiers held;
        bool face, copy;
        TColor dot;
    } cases[] = {{Qt::ControlModifier | Qt::ShiftModifier, false, true, clBlack},
                 {Qt::ControlModifier, false, false, clBlack},
                 {Qt::NoModifier, false, false, clWhite}};
    for (const Case& c : cases) {
        QTest::mouseClick(form->sbPen, Qt::LeftButton);
        Click(V(20, 20));
        DragRange(QPoint(10, 10), QPoint(30, 30));
        OpenEditMenu();
        ChooseFromMenu(form->mmDelete->text(), c.held);
        EXPECT_EQ(form->imFace->isVisible(), c.face) << c.held;
        EXPECT_EQ(form->imPaste->isVisible(), c.copy) << c.held;
        EXPECT_EQ(CanvasAt(20, 20), c.dot) << c.held;
    }
}

// A double click on an item that opens a box: the window system hands the second click to the menu
// while the box already runs.
class MenuDoubleClick : public EditorForm {
protected:
    void SetUp() override
    {
        EditorForm::SetUp();
        select = form->PictureSelect();
        Form::SetModalHook([this](Form* f) {
            ++runs[f];
            if (auto it = scripts.find(f); it != scripts.end()) it->second();
        });
    }
    // The first click on the item of the open menu comes through the window system; the second comes
    // to the menu, which has just closed, in the run of the box the first opened, and `close` follows.
    void DoubleClick(const QString& caption, Qt::KeyboardModifiers held, Form* box, const std::function<void()>& close)
    {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        QAction* item = nullptr;
        for (QAction* a : menu->actions())
            if (a->isVisible() && a->text().startsWith(caption)) item = a;
        ASSERT_TRUE(item) << caption.toStdString();
        const QPoint at = menu->actionGeometry(item).center();
        closedByItsKeys = false;
        scripts[box] = [this, menu, at, held, box, close] {
            QTest::mouseClick(menu, Qt::LeftButton, held, at);
            close();
            QCoreApplication::processEvents();
            closedByItsKeys = !box->isVisible();
            // Stuck: its close box ends it, so that the test goes on.
            if (box->isVisible()) box->close();
        };
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, held, at);
    }
    static std::function<void()> Escape(Form* box)
    {
        return [box] { QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape); };
    }
    void OpenMenuOf(QMenuBar* bar, const QString& caption)
    {
        for (QAction* a : bar->actions())
            if (a->text().startsWith(caption)) QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(a).center());
    }

    TFormPictureSelect* select = nullptr;
    std::map<Form*, std::function<void()>> scripts;
    std::map<Form*, int> runs;
    bool closedByItsKeys = false;
};

// The box comes up once, its own keys close it, the window behind it takes clicks again, and what
// the box does is done once.
TEST_F(MenuDoubleClick, TheBoxOpensOnceAndItsKeysCloseIt)
{
    TFormMoji* moji = form->MojiDialog();
    const auto typeAndOk = [moji] {
        QTest::keyClicks(moji->Memo1, QStringLiteral("A"));
        QTest::mouseClick(moji->btOK, Qt::LeftButton);
    };
    const auto openPopup = [this] { WindowClick(form->Image1, V(60, 40), Qt::RightButton); };
    struct Case {
        const char* path;
        bool inImport; // in the run of the import dialog, which the editor's 画像 opens
        std::function<void()> openMenu;
        QString item;
        Qt::KeyboardModifiers held;
        Form* box;
        std::function<void()> close;
        bool pasteShown;
    } cases[] = {
        {"編集 文字 Esc", false, [this] { OpenEditMenu(); }, QStringLiteral("文字"), {}, moji, Escape(moji), false},
        {"pop-up 文字 OK", false, openPopup, QStringLiteral("文字"), {}, moji, typeAndOk, true},
        {"pop-up Shift+範囲選択モード Esc", false, openPopup, QStringLiteral("範囲選択モード"), Qt::ShiftModifier, select,
         Escape(select), true},
        {"画像の取り込み 編集 色・明るさ調整 Esc", true, [this] { OpenMenuOf(select->MainMenu1, QStringLiteral("編集")); },
         QStringLiteral("色・明るさ調整"), {}, select->FormPicEffect, Escape(select->FormPicEffect), true},
    };
    for (const Case& c : cases) {
        runs.clear();
        const size_t shapes = form->Engine.Shapes.size();
        if (c.inImport) {
            scripts[select] = [&] {
                QApplication::setActiveWindow(select);
                c.openMenu();
                DoubleClick(c.item, c.held, c.box, c.close);
                // The import dialog takes keys again.
                EXPECT_EQ(QApplication::activeModalWidget(), select) << c.path;
                QTest::keyClick(select, Qt::Key_Escape);
            };
            QTest::mouseClick(form->sbFaceSelect, Qt::LeftButton);
            EXPECT_EQ(runs[select], 1) << c.path;
            EXPECT_FALSE(select->isVisible()) << c.path;
        } else {
            c.openMenu();
            DoubleClick(c.item, c.held, c.box, c.close);
        }
        EXPECT_TRUE(closedByItsKeys) << c.path;
        EXPECT_EQ(runs[c.box], 1) << c.path;
        EXPECT_FALSE(c.box->isVisible()) << c.path;
        EXPECT_EQ(form->imPaste->isVisible(), c.pasteShown) << c.path;
        EXPECT_FALSE(form->imFace->isVisible()) << c.path;
        // The main window takes a click again: the pen draws.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.path;
        WindowClick(form->Image1, V(10 + 10 * int(shapes), 60));
        EXPECT_EQ(form->Engine.Shapes.size(), shapes + 1) << c.path;
    }
}

// A question that an item asks is asked once: 新規作成 with the drawing changed, cancelled.
TEST_F(MenuDoubleClick, TheQuestionIsAskedOnce)
{
    Click(V(20, 20));
    dialogs.answers = {idCancel, idCancel};
    OpenMenuOf(form->MainMenu, QStringLiteral("ファイル"));
    QMenu* file = form->mmFile1;
    const QPoint at = file->actionGeometry(form->mmFileNew).center();
    int boxes = 0;
    dialogs.whileOpen = [&] {
        if (boxes++ == 0) QTest::mouseClick(file, Qt::LeftButton, {}, at);
    };
    QTest::mouseClick(file->windowHandle(), Qt::LeftButton, {}, at);
    dialogs.whileOpen = nullptr;
    EXPECT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.mostOpen, 1);
    EXPECT_EQ(form->Engine.Shapes.size(), 1u);
}

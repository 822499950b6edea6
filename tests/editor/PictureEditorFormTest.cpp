// The editor's main form on the offscreen platform: start-up, drawing by mouse, zoom, keys, wheel,
// undo and redo, auto-scroll, menus and the question on close.
#include "EditorFormFixture.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QWheelEvent>

TEST_F(EditorForm, StartsWithItsCanvasColoursAndCaption)
{
    EXPECT_EQ(form->Caption(), QStringLiteral("ピクモ"));
    EXPECT_EQ(form->Engine.Canvas.Width(), 140);
    EXPECT_EQ(form->Engine.Canvas.Height(), 70);
    EXPECT_EQ(form->udWidth->value(), 140);
    EXPECT_EQ(form->udHeight->value(), 70);
    EXPECT_EQ(form->Engine.OpaqueWhite, TColor(0x00FFFEFF));
    EXPECT_EQ(form->Engine.MarkerColor, TColor(0x00FEFEFF));
    EXPECT_EQ(form->UpDown1->value(), 600);
    EXPECT_EQ(form->Image1->size(), QSize(840, 420));
    ASSERT_EQ(form->Palette.size(), 19u);
    EXPECT_EQ(form->Palette[1]->Color(), TColor(0x00FFFEFF));
    EXPECT_EQ(form->Palette[16]->Color(), TColor(0xB4D2F1));
    EXPECT_EQ(form->Palette[2]->text(), QStringLiteral("ｽﾎﾟ"));
    EXPECT_EQ(form->Palette[3]->text(), QStringLiteral("消"));
    EXPECT_EQ(form->SelectedPalette, 0);
    EXPECT_EQ(form->Engine.ToolKind, skPen);
    EXPECT_TRUE(form->sbPen->isChecked());
    EXPECT_FALSE(form->sbUndo->isEnabled());
    EXPECT_FALSE(form->sbRedo->isEnabled());
    // The player picture folder is made with its parents.
    EXPECT_TRUE(QDir(dir.path() + QStringLiteral("/bin/画像と音声/ゲームの選手画像")).exists());
    EXPECT_EQ(form->MySavePictureDialog2->Title, QStringLiteral("名前を付けて保存"));
    EXPECT_EQ(form->MyOpenPictureDialog3->FilterIndex, 3);
    // Cursors 2 to 8 from the program's own pictures.
    ASSERT_EQ(form->Cursors.size(), 7u);
    for (const auto& [number, cursor] : form->Cursors) EXPECT_FALSE(cursor.pixmap().isNull()) << number;
    EXPECT_EQ(form->Cursors[4].hotSpot(), QPoint(1, 30));
    // The window has one size, at least 1024 wide.
    EXPECT_GE(form->frameGeometry().width(), 1024);
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
}

TEST_F(EditorForm, CaptionsAndTextColours)
{
    form->UpdateCaption(QStringLiteral("/data/sheets/チーム.bmp"));
    EXPECT_EQ(form->Caption(), QStringLiteral("ピクモ ～ チーム.bmp"));
    form->PaletteCount = 256;
    form->UpdateCaption();
    EXPECT_EQ(form->Caption(), QStringLiteral("ピクモ (256色)"));
    EXPECT_EQ(TFormPictureEditor::ContrastTextColor(0x000000), clWhite);
    EXPECT_EQ(TFormPictureEditor::ContrastTextColor(0xFFFFFF), clBlack);
    EXPECT_EQ(TFormPictureEditor::ContrastTextColor(0x0000FF), clBlack); // red: r + g = 255 > 254
    EXPECT_EQ(TFormPictureEditor::ContrastTextColor(0x4000C8), clBlack); // r 200 with b 64
    EXPECT_EQ(TFormPictureEditor::ContrastTextColor(0x4100C8), clWhite); // b 65
    EXPECT_EQ(TFormPictureEditor::ContrastTextColor(0x800000), clWhite); // dark blue
}

TEST_F(EditorForm, EveryControlHasItsHint)
{
    const std::pair<QWidget*, const char*> hints[] = {
        {form->sbRange, "範囲 … "},       {form->Image1, "キャンバス … "}, {form->UpDown1, "表示倍率 … "},
        {form->cbIncrement, "倍率増分 … "}, {form->bt100, "100％ … "},    {form->sbUndo, "元に戻す … "},
        {form->sbRedo, "先に戻す … "},    {form->sbSpoit, "スポイト … "},  {form->sbPen, "ペン … "},
        {form->sbCircle, "面 … "},        {form->udPen, "変形（線幅） … "}, {form->udLine, "変形（曲率） … "},
        {form->pnLastReform, "変形 … "},  {form->sbMoji, "文字 … "},      {form->udChara, "プレイヤー画像選択 … "},
        {form->sbFromBegin, "最初に戻す … "}, {form->scbChara, "全プレイヤー画像 … "}, {form->udWidth, "キャンバスの横幅 … "},
    };
    for (auto [w, label] : hints) EXPECT_TRUE(w->statusTip().startsWith(QString::fromUtf8(label))) << label;
    EXPECT_EQ(form->pmMojiByouga->statusTip(), form->sbMoji->statusTip());
    EXPECT_TRUE(form->sbCharaAdd->statusTip().endsWith(QStringLiteral("　※この操作を行うと，［元に戻す］はできなくなります。")));
    EXPECT_EQ(form->sbUndo->statusTip(), QStringLiteral("元に戻す … 最後に実行した操作を取り消します。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<Z>"));
}

TEST_F(EditorForm, AStrokeDrawnUndoneAndRedoneThroughTheKeys)
{
    Stroke({QPoint(60, 60), QPoint(200, 60), QPoint(300, 120)});
    ASSERT_EQ(form->Engine.Shapes.size(), 1u);
    EXPECT_EQ(CanvasAt(20, 10), clBlack);
    EXPECT_EQ(CanvasAt(45, 17), clBlack);
    EXPECT_TRUE(form->sbUndo->isEnabled());
    EXPECT_EQ(form->pnLastReform->Color(), TColor(0x7FFFBF));
    // The strip shows the cell with the stroke.
    EXPECT_EQ(form->Sheet.Canvas().Pixel(20, 10), clBlack);

    QTest::keyClick(form->Image1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(form->Engine.Shapes.empty());
    EXPECT_EQ(CanvasAt(20, 10), clWhite);
    EXPECT_TRUE(form->sbRedo->isEnabled());
    EXPECT_EQ(form->pnLastReform->Color(), TColor(0xCFCFFF));

    QTest::keyClick(form->Image1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->Engine.Shapes.size(), 1u);
    EXPECT_EQ(CanvasAt(20, 10), clBlack);
    EXPECT_FALSE(form->sbRedo->isEnabled());
}

TEST_F(EditorForm, TheViewShowsTheCanvasZoomed)
{
    Stroke({QPoint(60, 60), QPoint(200, 60)});
    form->Image1->RepaintNow();
    EXPECT_EQ(FromPixel(form->Image1->Surface().pixel(100, 60)), clBlack);
    const QImage shot = form->Image1->grab().toImage();
    EXPECT_EQ(FromPixel(shot.pixel(100, 60)), clBlack);
}

TEST_F(EditorForm, ZoomInAndOut)
{
    QScrollBar* h = form->ScrollBox1->horizontalScrollBar();
    StepZoomTo(975);
    EXPECT_EQ(form->Image1->size(), QSize(1365, 682));
    EXPECT_EQ(form->Engine.ToCanvas(1365), 140);
    StepZoomTo(300);
    EXPECT_EQ(form->Image1->size(), QSize(420, 210));
    EXPECT_EQ(h->value(), 0);
    // Scrolled: each position moves by half the change of the view's size.
    StepZoomTo(975);
    h->setValue(100);
    StepZoomTo(950);
    EXPECT_EQ(form->Image1->width(), 1330);
    EXPECT_EQ(h->value(), 100 + (1330 - 1365) / 2);
    // At the top-left it stays there.
    h->setValue(0);
    StepZoomTo(975);
    EXPECT_EQ(h->value(), 0);
    // The up-down keeps the zoom in range; 100 % and the step switch.
    StepZoomTo(2000);
    EXPECT_EQ(form->UpDown1->value(), 975);
    form->bt100Click();
    EXPECT_EQ(form->UpDown1->value(), 100);
    form->cbIncrement->setChecked(true);
    EXPECT_EQ(form->UpDown1->singleStep(), 50);
    EXPECT_EQ(form->cbIncrement->text(), QStringLiteral("±50"));
    form->cbIncrement->setChecked(false);
    EXPECT_EQ(form->UpDown1->singleStep(), 25);
}

TEST_F(EditorForm, WheelZones)
{
    const QRect box = form->ScrollBox1->geometry();
    const QPoint centre = box.center();
    StepZoomTo(950);
    form->CMMouseWheel(centre, 120);
    EXPECT_EQ(form->UpDown1->value(), 975);
    form->CMMouseWheel(centre, 120);
    EXPECT_EQ(form->UpDown1->value(), 975);
    form->CMMouseWheel(centre, -120);
    EXPECT_EQ(form->UpDown1->value(), 950);
    // Left band: wheel down scrolls right by the bar's step.
    QScrollBar* h = form->ScrollBox1->horizontalScrollBar();
    QScrollBar* v = form->ScrollBox1->verticalScrollBar();
    ASSERT_GT(h->maximum(), 100);
    form->CMMouseWheel(QPoint(box.left() + 2, centre.y()), -120);
    EXPECT_EQ(h->value(), 50);
    // Top-left corner: wheel up needs room up and left.
    v->setValue(0);
    form->CMMouseWheel(QPoint(box.left() + 2, box.top() + 2), 120);
    EXPECT_EQ(h->value(), 50);
    // Outside the scroll box nothing happens.
    EXPECT_FALSE(form->CMMouseWheel(QPoint(box.right() + 50, box.bottom() + 50), 120));
    // A real wheel turn over the middle of the canvas zooms.
    QWidget* vp = form->ScrollBox1->viewport();
    const QPoint at = vp->rect().center();
    QWheelEvent wheel(at, vp->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(vp, &wheel);
    EXPECT_EQ(form->UpDown1->value(), 925);
}

TEST_F(EditorForm, ArrowKeysScrollTheView)
{
    StepZoomTo(975);
    QScrollBar* h = form->ScrollBox1->horizontalScrollBar();
    QTest::keyClick(form->Image1, Qt::Key_Right);
    EXPECT_EQ(h->value(), 50);
    QTest::keyClick(form->Image1, Qt::Key_Left);
    EXPECT_EQ(h->value(), 0);
}

TEST_F(EditorForm, AutoScrollWhileADragLeavesTheView)
{
    StepZoomTo(975);
    QScrollBar* h = form->ScrollBox1->horizontalScrollBar();
    h->setValue(40);
    QWidget* vp = form->ScrollBox1->viewport();
    QPoint pointer = vp->mapToGlobal(QPoint(100, 100));
    form->PointerPos = [&] { return pointer; };
    const QPoint start = form->Image1->mapFrom(vp, QPoint(100, 100));
    QTest::mousePress(form->Image1, Qt::LeftButton, {}, start);
    ASSERT_TRUE(form->tmAutoScroll->Enabled());
    clock.Advance(50);
    EXPECT_EQ(h->value(), 40); // inside the view nothing scrolls
    pointer = vp->mapToGlobal(QPoint(-20, 100));
    clock.Advance(50);
    EXPECT_EQ(h->value(), 35); // one pixel for each call of the 10 ms timer
    QTest::mouseRelease(form->Image1, Qt::LeftButton, {}, form->Image1->mapFrom(vp, QPoint(0, 100)));
    EXPECT_FALSE(form->tmAutoScroll->Enabled());
    clock.Advance(100);
    EXPECT_EQ(h->value(), 35);
}

TEST_F(EditorForm, ReshapeThroughTheUpDown)
{
    Stroke({QPoint(60, 210), QPoint(780, 210)});
    EXPECT_EQ(CanvasAt(70, 33), clWhite);
    form->udPen->setValue(5);
    EXPECT_EQ(CanvasAt(70, 33), clBlack);
    EXPECT_EQ(form->Engine.Shapes.back().Width, 5);
    // The light clicked to red: the next change leaves the stroke alone.
    form->pnLastReformClick();
    EXPECT_EQ(form->pnLastReform->Color(), TColor(0xCFCFFF));
    form->udPen->setValue(9);
    EXPECT_EQ(form->Engine.Shapes.back().Width, 5);
}

TEST_F(EditorForm, MarkerGapsShowTransparentInTheMotionCheck)
{
    TShapeEngine& e = form->Engine;
    e.ToolKind = e.SavedToolKind = skRectangle;
    e.PenStyle = 1;
    e.StartPoint = QPoint(60, 60);
    e.CurrentPoint = QPoint(360, 360);
    e.AddShapeRecord(e.BuildShape(clBlack));
    e.PushUndo();
    int marker = 0;
    for (int y = 10; y <= 60; ++y)
        for (int x = 10; x <= 60; ++x) marker += form->Sheet.Canvas().Pixel(x, y) == e.MarkerColor;
    EXPECT_GT(marker, 0);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 70; ++x) ASSERT_NE(form->Preview.Canvas().Pixel(x, y), e.MarkerColor);
}

TEST_F(EditorForm, MenusMirrorThePopup)
{
    EXPECT_EQ(form->PopupMenu1->actions().size(), 19 + 7);
    form->mmEditClick();
    const auto items = form->mmEdit->actions();
    ASSERT_EQ(items.size(), 26);
    EXPECT_EQ(items[0]->text(), QStringLiteral("範囲選択モード(&Q)\tCtrl+Q"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("元に戻す(&U)\tCtrl+Z"));
    EXPECT_TRUE(items[2]->isEnabled());
    EXPECT_TRUE(items[0]->isEnabled());
    // Opening the menu counts as the pop-up: the click that closes it does not paint.
    Stroke({QPoint(60, 60), QPoint(200, 60)});
    EXPECT_TRUE(form->Engine.Shapes.empty());
    Stroke({QPoint(60, 60), QPoint(200, 60)});
    ASSERT_EQ(form->Engine.Shapes.size(), 1u);
    items[2]->trigger();
    EXPECT_TRUE(form->Engine.Shapes.empty());
}

TEST_F(EditorForm, ClosingAfterAChangeAsksToSave)
{
    form->close();
    EXPECT_TRUE(dialogs.Boxes().empty()); // nothing changed: no question
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Stroke({QPoint(60, 60), QPoint(200, 60)});
    dialogs.answers = {idCancel};
    form->close();
    EXPECT_TRUE(form->isVisible());
    const auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("ファイルが変更されています。保存しますか。"));
    EXPECT_EQ(boxes[0].buttons, TMsgButtons::YesNoCancel);
    EXPECT_EQ(dialogs.BeepCount(MB_ICONEXCLAMATION), 1);
    // Drawing and undoing again is no change.
    QTest::keyClick(form->Image1, Qt::Key_Z, Qt::ControlModifier);
    dialogs.Clear();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(EditorForm, CtrlAndShiftKeysSetTheirFlags)
{
    QTest::keyPress(form->Image1, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(form->Engine.CtrlCopy);
    QTest::keyRelease(form->Image1, Qt::Key_Control);
    EXPECT_FALSE(form->Engine.CtrlCopy);
    QTest::keyPress(form->Image1, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_TRUE(form->Engine.ShiftHeld);
    QTest::keyRelease(form->Image1, Qt::Key_Shift);
    EXPECT_FALSE(form->Engine.ShiftHeld);
}

TEST_F(EditorForm, GhostsFollowThePointerWhileShapesMove)
{
    Stroke({QPoint(120, 120), QPoint(240, 120)});
    TShapeEngine& e = form->Engine;
    e.ToolKind = skMove;
    QTest::mousePress(form->Image1, Qt::LeftButton, {}, QPoint(126, 126));
    auto ghosts = form->Image1->findChildren<TGhostImage*>();
    ASSERT_EQ(ghosts.size(), 1);
    const QRect first = ghosts[0]->geometry();
    EXPECT_EQ(first.size(), QSize(e.ToView(e.Ghosts[0].CanvasSize.width()), e.ToView(e.Ghosts[0].CanvasSize.height())));
    QMouseEvent move(QEvent::MouseMove, QPointF(186, 186), form->Image1->mapToGlobal(QPointF(186, 186)), Qt::NoButton,
                     Qt::LeftButton, {});
    QCoreApplication::sendEvent(form->Image1, &move);
    EXPECT_EQ(ghosts[0]->geometry().topLeft(), first.topLeft() + QPoint(60, 60));
    QTest::mouseRelease(form->Image1, Qt::LeftButton, {}, QPoint(186, 186));
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->Image1->findChildren<TGhostImage*>().isEmpty());
    EXPECT_EQ(e.Shapes[0].A[0], QPoint(30, 30));
    EXPECT_EQ(CanvasAt(40, 30), clBlack);
    EXPECT_EQ(CanvasAt(30, 20), clWhite);
}

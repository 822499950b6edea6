// ピクモ's main form: the status-bar hints of its controls and menu items.
#include "UnitPictureEditor.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>

void TFormPictureEditor::assignHints()
{
    const QString noUndo = QStringLiteral("　※この操作を行うと，［元に戻す］はできなくなります。");
    auto hint = [](QObject* o, const QString& text) {
        if (auto* w = qobject_cast<QWidget*>(o)) w->setStatusTip(text);
        else if (auto* a = qobject_cast<QAction*>(o)) a->setStatusTip(text);
    };
    hint(sbRange, QStringLiteral("範囲 … 画像の一部を範囲選択します。選択した範囲は，コピー，切り取り，消去，移動ができます。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<Q>"));
    hint(Image1, QStringLiteral("キャンバス … ここに１人分のプレイヤーを描画します。動いている様子を左側半分と右側半分に分けて描いて下さい。　※表示倍率=100でないときは，描画した線の見た目が，キャンバス上に実際に描画される線と異なる場合があります。"));
    hint(UpDown1, QStringLiteral("表示倍率 … キャンバスを表示する倍率（％）を変更します。　※キャンバスの中央でマウスのホイールを回しても変更できます。"));
    hint(cbIncrement, QStringLiteral("倍率増分 … ［表示倍率］を変更するときの増分を，25と50で切り替えます。"));
    hint(bt100, QStringLiteral("100％ … 表示倍率を100％（キャンバスの実際の大きさ）にします。"));
    hint(sbShowMihon, QStringLiteral("見本 … 見本にする画像を開いて，キャンバスの下に表示します。もう一度押すと見本画像を隠します。"));
    hint(sbShowMasu, QStringLiteral("罫線 … キャンバスに表示する罫線の間隔と色を設定します。"));
    hint(sbUndo, QStringLiteral("元に戻す … 最後に実行した操作を取り消します。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<Z>"));
    hint(sbRedo, QStringLiteral("先に戻す … ［元に戻す］を取り消します。　【ｷｰﾎﾞｰﾄﾞ】<Shift>+<Ctrl>+<Z>"));
    hint(sbClearAll, QStringLiteral("全消去 … 編集中のプレイヤー画像に描画したものを，すべて消去します。"));
    hint(sbGenten, QStringLiteral("原点移動 … 表示している画像を，キャンバスの見えている部分の左上に移動します。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<W>"));
    for (QWidget* w : {static_cast<QWidget*>(udWidth), static_cast<QWidget*>(udWidth->findChild<QLineEdit*>())})
        if (w) hint(w, QStringLiteral("キャンバスの横幅 … プレイヤー１人分の画像の横幅（ピクセル）です。"));
    for (QWidget* w : {static_cast<QWidget*>(udHeight), static_cast<QWidget*>(udHeight->findChild<QLineEdit*>())})
        if (w) hint(w, QStringLiteral("キャンバスの縦幅 … プレイヤー１人分の画像の縦幅（ピクセル）です。"));
    hint(sbSpoit, QStringLiteral("スポイト … クリックした場所の色をパレットに取り込みます。　※取り込んだ色は，パレット最上段「ｽﾎﾟ」に反映されます。"));
    hint(sbPallet, QStringLiteral("パレット色の変更 … 選択しているパレットの色を，好きな色に変更します。　※パレット最上段の色は変更できません。"));
    const QString palette = QStringLiteral("パレット … 描画するときの色を選択します。描画したい色をクリックして下さい。 ※最上段は左から，黒色，白色（不透明），スポイトで取り込んだ色，消しゴム，です。");
    hint(pnPallet, palette);
    for (TColorPanel* p : Palette) hint(p, palette);
    const QString penStyle = QStringLiteral("線種 … 図形や線を描画するときの線の種類（実線，破線，点線）を選択します。");
    hint(pnPenStyle, penStyle);
    for (TColorPanel* p : {pnP0, pnP1, pnP2}) hint(p, penStyle);
    hint(sbPen, QStringLiteral("ペン … マウスをドラッグして，自由な線を描画します。　※<Shift>を押しながらドラッグすると，水平または垂直の線になります。"));
    hint(sbCircle, QStringLiteral("面 … ドラッグした範囲に，四角またはだ円を描画します。　※<Shift>を押しながらドラッグすると，正方形または円になります。"));
    hint(rbRect, QStringLiteral("四角 … ［面］で四角を描画します。"));
    hint(rbEllip, QStringLiteral("だ円 … ［面］でだ円を描画します。"));
    hint(sbLine, QStringLiteral("線 … 始点から終点までドラッグして，直線または曲線を描画します。　※<Shift>を押しながらドラッグすると，水平または垂直の線になります。"));
    hint(sbFloodFill, QStringLiteral("塗り … クリックした場所とつながっている同じ色の部分を，選択している色で塗りつぶします。"));
    hint(udPen, QStringLiteral("変形（線幅） … 線の幅を変更します。［変形］が緑色のときは，最後に描画した図形の線幅も変わります。"));
    hint(udLine, QStringLiteral("変形（曲率） … 線の曲がり具合を変更します。［変形］が緑色のときは，最後に描画した線の曲がり具合も変わります。"));
    hint(pnLastReform, QStringLiteral("変形 … ここが緑色のときは，最後に描画した図形を変形（線幅，曲率）できます。赤色のときはできません。ここをクリックして緑/赤を切り替えることもできます。"));
    const QString moji = QStringLiteral("文字 … 入力した文字を画像にして，キャンバスの上に表示します。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<M>");
    hint(sbMoji, moji);
    hint(pmMojiByouga, moji);
    hint(cbHalfTone, QStringLiteral("ハーフトーン描画 … 画像を拡大・縮小して描画するときに，中間の色を使って滑らかに描画します。"));
    hint(rbRectRange, QStringLiteral("四角 … ［範囲］で四角い範囲を選択します。"));
    hint(rbFreeRange, QStringLiteral("自由 … ［範囲］でマウスでなぞった自由な形の範囲を選択します。"));
    hint(sbCopy, QStringLiteral("コピー … 選択した範囲の画像をコピーします。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<C>"));
    hint(sbCut, QStringLiteral("切り取り … 選択した範囲の画像を切り取ります。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<X>"));
    hint(sbDelete, QStringLiteral("消去 … 選択した範囲の画像を消去します。　【ｷｰﾎﾞｰﾄﾞ】<Delete>"));
    hint(sbPasteShow, QStringLiteral("表示/非表示 … コピーした画像をキャンバスの上に表示します。もう一度押すと隠します。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<F>"));
    hint(sbPasteByouga, QStringLiteral("描画 … 表示しているコピー画像を，その位置でキャンバスに描画します。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<V>"));
    hint(sbFaceSelect, QStringLiteral("画像 … ほかの画像ファイルから，画像の一部を切り抜いて取り込みます。　【ｷｰﾎﾞｰﾄﾞ】<Shift>+<Ctrl>+<Q>"));
    hint(rbBairituHendou, QStringLiteral("連動 … 取り込んだ画像の大きさを，表示倍率に合わせて変えます。"));
    hint(rbBairituKotei, QStringLiteral("独立 … 表示倍率を変えても，取り込んだ画像を同じ大きさで表示します。"));
    hint(sbFaceShow, QStringLiteral("表示/非表示 … 取り込んだ画像をキャンバスの上に表示します。もう一度押すと隠します。　【ｷｰﾎﾞｰﾄﾞ】<Shift>+<Ctrl>+<F>"));
    hint(sbFaceByouga, QStringLiteral("描画 … 表示している取り込んだ画像を，その位置でキャンバスに描画します。　【ｷｰﾎﾞｰﾄﾞ】<Shift>+<Ctrl>+<V>"));
    hint(imMihon, QStringLiteral("見本画像 … 画像枠をドラッグして，表示する位置を決めて下さい。"));
    hint(imPaste, QStringLiteral("コピー画像 … ドラッグして，描画する位置を決めて下さい。"));
    hint(imFace, QStringLiteral("取り込んだ画像 … ドラッグして，描画する位置を決めて下さい。"));
    hint(pmRotate, QStringLiteral("回転 … 表示している画像を回転します。四すみの印をドラッグして下さい。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<S>"));
    hint(pmReverse, QStringLiteral("反転 … 表示している画像を左右または上下に反転します。辺の印をクリックして下さい。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<D>"));
    hint(pmReform, QStringLiteral("伸縮 … 表示している画像の大きさを変えます。辺や四すみの印をドラッグして下さい。　【ｷｰﾎﾞｰﾄﾞ】<Ctrl>+<A>"));
    hint(imTest, QStringLiteral("確認画面 … 左側半分と右側半分の画像を交互に表示して，動いている様子を確認します。"));
    hint(sbTest, QStringLiteral("動作確認 … 左側半分と右側半分の画像を交互に表示します。もう一度押すと止まります。"));
    hint(udTest, QStringLiteral("表示切替 … 止まっているときは表示する画像（左右）を，動いているときは切り替える速さを変えます。"));
    hint(sbTestColor, QStringLiteral("背景色 … 確認画面の背景の色を変更します。"));
    hint(udChara, QStringLiteral("プレイヤー画像選択 … 編集するプレイヤーの画像を選択します。") + noUndo);
    hint(sbCharaMoveL, QStringLiteral("左へ移動 … 選択しているプレイヤーの画像を，１つ左へ移動します。") + noUndo);
    hint(sbCharaMoveR, QStringLiteral("右へ移動 … 選択しているプレイヤーの画像を，１つ右へ移動します。") + noUndo);
    hint(sbCharaDelete, QStringLiteral("削除 … 選択しているプレイヤーの画像を削除します。") + noUndo);
    hint(sbCharaAdd, QStringLiteral("追加 … 選択している位置に，新しいプレイヤーの画像を追加します。") + noUndo);
    hint(sbFromBegin, QStringLiteral("最初に戻す … 選択しているプレイヤーの画像を，ファイルを開いたときの画像に戻します。") + noUndo);
    hint(scbChara, QStringLiteral("全プレイヤー画像 … すべてのプレイヤーの画像です。ここで表示されているものが，画像のファイルになります。"));
    hint(imChara, scbChara->statusTip());
}

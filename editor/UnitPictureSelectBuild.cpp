// The picture import dialog: its controls, menus, hints and button glyphs.
#include "UnitPictureSelect.h"

#include "CanvasView.h"
#include "Clock.h"
#include "PictureSelectView.h"
#include "UnitPicEffect.h"
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* ToolButton(QWidget* parent, const QString& name, const QString& caption = QString())
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
    b->setMinimumSize(30, 28);
    return b;
}

QLabel* Label(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignVCenter | Qt::AlignRight);
    return l;
}

QFrame* Separator(QWidget* parent)
{
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::VLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

// A swatch of a colour with a thin dark border.
QIcon Swatch(TColor c)
{
    QPixmap pm(24, 16);
    pm.fill(ToQColor(c));
    QPainter p(&pm);
    p.setPen(QColor(64, 64, 64));
    p.drawRect(0, 0, 23, 15);
    return QIcon(pm);
}

// The shape buttons' glyphs: a rectangle, an ellipse and a free outline in red on white.
QIcon ShapeGlyph(TCutShape shape)
{
    QPixmap pm(24, 18);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(220, 0, 0), 2));
    switch (shape) {
    case TCutShape::Rectangle: p.drawRect(3, 3, 17, 11); break;
    case TCutShape::Ellipse: p.drawEllipse(3, 2, 17, 13); break;
    case TCutShape::FreeHand: {
        const QPointF pts[] = {{4, 9}, {7, 3}, {13, 5}, {20, 3}, {19, 11}, {13, 15}, {6, 14}};
        p.drawPolygon(pts, 7);
        break;
    }
    }
    return QIcon(pm);
}

} // namespace

void TFormPictureSelect::buildUi()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(2);
    buildMenus();
    root->setMenuBar(MainMenu1);
    root->addWidget(buildToolRow());

    auto* frame = new QFrame(this);
    pnImage = frame;
    frame->setObjectName(QStringLiteral("pnImage"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFocusPolicy(Qt::ClickFocus);
    auto* imageLayout = new QVBoxLayout(frame);
    imageLayout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new QScrollArea(frame);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    Image1 = new TPictureSelectView(nullptr);
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(Image1);
    ScrollBox1->horizontalScrollBar()->setSingleStep(50);
    ScrollBox1->verticalScrollBar()->setSingleStep(50);
    imageLayout->addWidget(ScrollBox1);
    root->addWidget(frame, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(6, 2, 6, 2);
    auto* boxes = new QVBoxLayout;
    CheckBox1 = new QCheckBox(QStringLiteral("取り込み結果を，表示されている大きさと同じにする"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    cbChangeWhite = new QCheckBox(QStringLiteral("［ファイルを開く］とき，画像内側の透明白色を不透明白色にする"), this);
    cbChangeWhite->setObjectName(QStringLiteral("cbChangeWhite"));
    cbChangeWhite->setChecked(true);
    boxes->addWidget(CheckBox1);
    boxes->addWidget(cbChangeWhite);
    bottom->addLayout(boxes);
    bottom->addStretch(1);
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    for (QPushButton* b : {btOK, btCancel}) {
        b->setAutoDefault(false);
        b->setMinimumSize(84, 30);
        bottom->addWidget(b);
    }
    root->addLayout(bottom);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    root->addWidget(StatusBar1);

    connect(btOK, &QPushButton::clicked, this, [this] { btOKClick(); });
    connect(btCancel, &QPushButton::clicked, this, [this] { btCancelClick(); });
    Image1->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { Image1MouseDown(b, s, x, y); };
    Image1->OnMouseMove = [this](TShiftState s, int x, int y) { Image1MouseMove(s, x, y); };
    Image1->OnMouseUp = [this](TMouseButton b, TShiftState, int, int) { Image1MouseUp(b); };
    Image1->OnLeave = [this] { hideDot(); };
    assignHints();
    refreshGlyphs();
}

QWidget* TFormPictureSelect::buildToolRow()
{
    auto* row = new QWidget(this);
    auto* l = new QHBoxLayout(row);
    l->setContentsMargins(6, 4, 6, 2);
    l->setSpacing(4);
    l->addWidget(Label(row, QStringLiteral("表示倍率")));
    Edit1 = new QLineEdit(row);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setFocusPolicy(Qt::NoFocus);
    Edit1->setAlignment(Qt::AlignRight);
    Edit1->setFixedWidth(40);
    UpDown1 = new TUpDown(row);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(10, 800);
    UpDown1->setSingleStep(10);
    UpDown1->setValue(100);
    UpDown1->setFixedWidth(22);
    cbIncrement = new QPushButton(QStringLiteral("±10"), row);
    cbIncrement->setObjectName(QStringLiteral("cbIncrement"));
    cbIncrement->setCheckable(true);
    cbIncrement->setChecked(true);
    bt100 = new QPushButton(QStringLiteral("100％"), row);
    bt100->setObjectName(QStringLiteral("bt100"));
    for (QPushButton* b : {cbIncrement, bt100}) {
        b->setAutoDefault(false);
        b->setFixedWidth(48);
    }
    l->addWidget(Edit1);
    l->addWidget(UpDown1);
    l->addWidget(cbIncrement);
    l->addWidget(bt100);
    l->addWidget(Separator(row));

    l->addWidget(Label(row, QStringLiteral("背景色")));
    sbBackColor = ToolButton(row, QStringLiteral("sbBackColor"));
    l->addWidget(sbBackColor);
    l->addWidget(Separator(row));
    l->addWidget(Label(row, QStringLiteral("切り出し線：色")));
    sbSelectColor = ToolButton(row, QStringLiteral("sbSelectColor"));
    l->addWidget(sbSelectColor);
    l->addWidget(Label(row, QStringLiteral("幅")));
    sbSelectWidth = ToolButton(row, QStringLiteral("sbSelectWidth"));
    l->addWidget(sbSelectWidth);
    l->addWidget(Separator(row));

    sbSelect1 = ToolButton(row, QStringLiteral("sbSelect1"));
    sbSelect2 = ToolButton(row, QStringLiteral("sbSelect2"));
    sbSelect3 = ToolButton(row, QStringLiteral("sbSelect3"));
    auto* shapes = new QButtonGroup(row);
    const TCutShape kinds[] = {TCutShape::Rectangle, TCutShape::Ellipse, TCutShape::FreeHand};
    int i = 0;
    for (QToolButton* b : {sbSelect1, sbSelect2, sbSelect3}) {
        b->setCheckable(true);
        b->setIcon(ShapeGlyph(kinds[i++]));
        b->setIconSize(QSize(24, 18));
        shapes->addButton(b);
        l->addWidget(b);
    }
    sbSelect1->setChecked(true);
    sbSelect = ToolButton(row, QStringLiteral("sbSelect"), QStringLiteral(" 切 り 出 し"));
    sbSelect->setMinimumWidth(84);
    l->addWidget(sbSelect);
    l->addWidget(Separator(row));
    sbUndo = ToolButton(row, QStringLiteral("sbUndo"), QStringLiteral("元に戻す"));
    sbRedo = ToolButton(row, QStringLiteral("sbRedo"), QStringLiteral("先に戻す"));
    l->addWidget(sbUndo);
    l->addWidget(sbRedo);
    l->addStretch(1);

    connect(UpDown1, &QSpinBox::valueChanged, this, [this](int v) {
        Edit1->setText(QString::number(v));
        UpDown1Click();
    });
    Edit1->setText(QString::number(UpDown1->value()));
    connect(cbIncrement, &QPushButton::clicked, this, [this] { cbIncrementClick(); });
    connect(bt100, &QPushButton::clicked, this, [this] { bt100Click(); });
    connect(sbBackColor, &QToolButton::clicked, this, [this] { sbBackColorClick(); });
    connect(sbSelectColor, &QToolButton::clicked, this, [this] { sbSelectColorClick(); });
    connect(sbSelectWidth, &QToolButton::clicked, this, [this] { sbSelectWidthClick(); });
    connect(sbSelect, &QToolButton::clicked, this, [this] { sbSelectClick(); });
    connect(sbUndo, &QToolButton::clicked, this, [this] { sbUndoClick(); });
    connect(sbRedo, &QToolButton::clicked, this, [this] { sbRedoClick(); });
    return row;
}

void TFormPictureSelect::buildMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    // The keys are the form's own (FormKeyDown); the items show them as text.
    auto item = [](QMenu* m, const QString& caption, const QString& keys = QString()) {
        return m->addAction(keys.isEmpty() ? caption : caption + QLatin1Char('\t') + keys);
    };
    QMenu* file = MainMenu1->addMenu(QStringLiteral("ファイル(&F)"));
    mmOpen = item(file, QStringLiteral("開く(&O)"));
    mmReOpen = item(file, QStringLiteral("元画像に戻す(&R)"));
    file->addSeparator();
    Exit1 = item(file, QStringLiteral("終了 - [OK] (&X)"));
    Exit2 = item(file, QStringLiteral("終了 - [ｷｬﾝｾﾙ] (&Q)"));
    QMenu* edit = MainMenu1->addMenu(QStringLiteral("編集(&E)"));
    Undo1 = item(edit, QStringLiteral("元に戻す(&U)"), QStringLiteral("Ctrl+Z"));
    Repeat1 = item(edit, QStringLiteral("先に戻す(&R)"), QStringLiteral("Shift+Ctrl+Z"));
    edit->addSeparator();
    mmSelect = item(edit, QStringLiteral("切り出し(&K)"), QStringLiteral("Ctrl+K"));
    mmEraseR = item(edit, QStringLiteral("範囲消去(&H)"), QStringLiteral("Ctrl+H"));
    mmEraseL = item(edit, QStringLiteral("線消去(&L)"), QStringLiteral("Ctrl+L"));
    SelectAll1 = item(edit, QStringLiteral("すべて選択(&A)"), QStringLiteral("Ctrl+A"));
    SelectAll1->setVisible(false);
    edit->addSeparator();
    Effect1 = item(edit, QStringLiteral("色・明るさ調整(&M)"));
    const std::pair<QAction*, std::function<void()>> handlers[] = {
        {mmOpen, [this] { sbOpenClick(); }},       {mmReOpen, [this] { sbReOpenClick(); }},
        {Exit1, [this] { btOKClick(); }},          {Exit2, [this] { btCancelClick(); }},
        {Undo1, [this] { sbUndoClick(); }},        {Repeat1, [this] { sbRedoClick(); }},
        {mmSelect, [this] { sbSelectClick(); }},   {mmEraseR, [this] { sbEraseRClick(); }},
        {mmEraseL, [this] { sbEraseLClick(); }},   {SelectAll1, [this] { sbSelectAllClick(); }},
        {Effect1, [this] { Effect1Click(); }},
    };
    for (const auto& [action, handler] : handlers) connect(action, &QAction::triggered, this, handler);
    for (QMenu* m : {file, edit})
        connect(m, &QMenu::hovered, this, [this](QAction* a) { StatusBar1->showMessage(a->statusTip()); });
}

void TFormPictureSelect::assignHints()
{
    const std::pair<QWidget*, const char*> hints[] = {
        {ScrollBox1, "基本操作 … 【1】画像ファイルを開く。 【2】マウスをドラッグして，画像中の取り込む部分を線（切り出し線）で囲む。 【3】［切り出し］ボタンをクリック。 【4】［OK］ボタンで，切り出した画像を取り込む。"},
        {UpDown1, "表示倍率 … 画像を拡大・縮小して表示します。画像そのものの大きさが変わるわけではありません。"},
        {cbIncrement, "倍率増分 … 倍率の変化を 1 または 10 ずつにできます。"},
        {bt100, "100％ … 表示倍率を100％にします。 ※画像取り込みのとき，このフォームを表示倍率100％で終了-［OK］して，本体の表示倍率も100％で描画すると，描画した画像が取り込んだ画像とまったく同じになります。"},
        {sbBackColor, "背景の色 … 画像の透明になる部分の色を指定します。"},
        {sbSelectColor, "切り出し線の色 … 画像を切り出す枠の線の色を指定します。 ※背景の色との重なりで，必ずしも指定した色になるとは限りません。"},
        {sbSelectWidth, "切り出し線の太さ … 画像を切り出す枠の線の太さを指定します。"},
        {sbSelect1, "切り出しの形（四角） … 画像を切り出す枠の形を四角にします。<Shift>同時押しで正方形になります。"},
        {sbSelect2, "切り出しの形（だ円） … 画像を切り出す枠の形をだ円にします。<Shift>同時押しで円になります。"},
        {sbSelect3, "切り出しの形（自由） … 画像を切り出す枠の形を手書きにします。"},
        {sbSelect, "切り出し … 現在の画像から，切り出し線で囲んだ部分だけを残して，他の部分は消去します。"},
        {sbUndo, "元に戻す … 最後の操作を取り消して，操作前の編集画像に戻します。"},
        {sbRedo, "先に戻す … ［元に戻す］を取り消します。"},
        {CheckBox1, "取り込む画像の大きさが，表示されている通りの大きさになります。（チェック枠を選択していないときは，表示倍率100％の大きさになります。）"},
        {cbChangeWhite, "画像ファイルを開くとき，画像の内側にある透明白色（完全白色）を不透明白色（完全白色に近い白色）にします。"},
    };
    for (const auto& [w, text] : hints) w->setStatusTip(QString::fromUtf8(text));
    // The view shows the hint of the box it lies in.
    Image1->setStatusTip(ScrollBox1->statusTip());
    ScrollBox1->viewport()->setStatusTip(ScrollBox1->statusTip());
    mmEraseR->setStatusTip(QStringLiteral("消去 … 現在の画像から，切り出し線で囲んだ部分を消去します。消去した部分は透明になります。"));
    mmEraseL->setStatusTip(QStringLiteral("線消去 … 現在の画像から，切り出し線の輪郭部分だけを消去します。消去した部分は透明になります。"));
    mmSelect->setStatusTip(sbSelect->statusTip());
    Undo1->setStatusTip(sbUndo->statusTip());
    Repeat1->setStatusTip(sbRedo->statusTip());
}

void TFormPictureSelect::refreshGlyphs()
{
    sbBackColor->setIcon(Swatch(BackColor));
    sbBackColor->setIconSize(QSize(24, 16));
    sbSelectColor->setIcon(Swatch(SelectColor));
    sbSelectColor->setIconSize(QSize(24, 16));
    // The width: a red bar as high as the width (up to the glyph's height), centred.
    QPixmap width(32, 16);
    width.fill(Qt::white);
    {
        QPainter p(&width);
        const int h = std::min(SelectWidth, 16);
        p.fillRect(1, (16 - h) / 2, 30, h, QColor(255, 0, 0));
    }
    sbSelectWidth->setIcon(QIcon(width));
    sbSelectWidth->setIconSize(QSize(32, 16));
}

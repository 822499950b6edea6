// ピクモ's main form: its panels, one builder each, the menus, the floating images with their
// frames and handles, the cursors, and the wiring of the controls to their handlers.
#include "UnitPictureEditor.h"

#include "EditorGdi.h"
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* ToolButton(QWidget* parent, const QString& name, const QString& caption, bool checkable = false)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setCheckable(checkable);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumSize(44, 30);
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return b;
}

// Made on the form at once, so its text is measured in the form's font only, never first in the
// application's.
QGroupBox* Group(QWidget* form, const QString& title)
{
    auto* g = new QGroupBox(title, form);
    g->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return g;
}

QHBoxLayout* RowOf(QGroupBox* g)
{
    auto* l = new QHBoxLayout(g);
    l->setContentsMargins(4, 2, 4, 4);
    return l;
}

QRadioButton* Radio(QWidget* parent, const QString& name, const QString& caption)
{
    auto* r = new QRadioButton(caption, parent);
    r->setObjectName(name);
    return r;
}

// Two radio buttons one above the other, the first checked.
QVBoxLayout* RadioPair(QWidget* parent, QRadioButton* a, QRadioButton* b)
{
    auto* l = new QVBoxLayout;
    l->setSpacing(0);
    a->setChecked(true);
    auto* group = new QButtonGroup(parent);
    group->addButton(a);
    group->addButton(b);
    l->addWidget(a);
    l->addWidget(b);
    return l;
}

// A check box with a long caption beside it in a label that wraps.
QWidget* WrappedCheckBox(QWidget* form, QCheckBox* box, const QString& caption)
{
    auto* holder = new QWidget(form);
    auto* l = new QHBoxLayout(holder);
    l->setContentsMargins(0, 0, 0, 0);
    auto* text = new QLabel(caption, holder);
    text->setWordWrap(true);
    box->setParent(holder);
    l->addWidget(box, 0, Qt::AlignTop);
    l->addWidget(text, 1);
    holder->setMaximumWidth(200);
    return holder;
}

// A picture of a line style for the pen style panels.
QPixmap PenStylePicture(int style)
{
    QImage img(44, 14, QImage::Format_RGB32);
    img.fill(ToPixel(clWhite));
    TFlatPath path;
    path.AddPolyline({QPoint(3, 7), QPoint(40, 7)}, false);
    StrokePath(img, path, TGeoPen{3, clBlack, style}, TPenMode::pmCopy);
    return QPixmap::fromImage(img);
}

struct CursorSpec {
    int number;
    const char* name;
    QPoint hotspot;
};
// Hotspots at the working tip of each picture (resources/gen/editor_cursors.cpp).
const CursorSpec kCursors[] = {
    {2, "ROTATE", QPoint(16, 16)}, {3, "ROTATE2", QPoint(16, 16)}, {4, "SPOIT", QPoint(1, 30)},
    {5, "FLOOD", QPoint(2, 29)},   {6, "ERASER", QPoint(2, 29)},   {7, "RANGE", QPoint(15, 15)},
    {8, "RANGE2", QPoint(15, 15)},
};

} // namespace

void TFormPictureEditor::buildUi()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(4, 0, 4, 0);
    root->setSpacing(3);
    buildMenus();
    root->setMenuBar(MainMenu);

    auto* row1 = new QHBoxLayout;
    row1->setSpacing(4);
    for (QGroupBox* g : {buildDrawPanel(), buildRangePanel(), buildPastePanel(), buildFacePanel(), buildEditPanel()})
        row1->addWidget(g);
    row1->addStretch(1);
    root->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    row2->setSpacing(4);
    for (QGroupBox* g : {buildReformPanel(), buildViewPanel(), buildModePanel()}) row2->addWidget(g);
    row2->addStretch(1);
    root->addLayout(row2);
    buildHiddenControls();

    auto* middle = new QHBoxLayout;
    middle->setSpacing(4);
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(buildPalettePanel());
    left->addWidget(buildPenStylePanel());
    buildOptionBoxes(left);
    left->addStretch(1);
    middle->addLayout(left);
    middle->addWidget(buildCanvasPanel(), 1);
    root->addLayout(middle, 1);
    buildFloatingImages();

    root->addWidget(buildStripPanel());
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    root->addWidget(StatusBar1);

    connectTools();
    connectViewAndStrip();
    connectFloating();
}

QGroupBox* TFormPictureEditor::buildDrawPanel()
{
    auto* g = Group(this, QStringLiteral("描画"));
    auto* l = RowOf(g);
    sbPen = ToolButton(g, QStringLiteral("sbPen"), QStringLiteral("ペン"), true);
    sbCircle = ToolButton(g, QStringLiteral("sbCircle"), QStringLiteral("面"), true);
    rbRect = Radio(g, QStringLiteral("rbRect"), QStringLiteral("四角"));
    rbEllip = Radio(g, QStringLiteral("rbEllip"), QStringLiteral("だ円"));
    sbLine = ToolButton(g, QStringLiteral("sbLine"), QStringLiteral("線"), true);
    sbFloodFill = ToolButton(g, QStringLiteral("sbFloodFill"), QStringLiteral("塗り"), true);
    sbMoji = ToolButton(g, QStringLiteral("sbMoji"), QStringLiteral("文字"));
    l->addWidget(sbPen);
    l->addWidget(sbCircle);
    l->addLayout(RadioPair(g, rbRect, rbEllip));
    l->addWidget(sbLine);
    l->addWidget(sbFloodFill);
    l->addWidget(sbMoji);
    return g;
}

QGroupBox* TFormPictureEditor::buildRangePanel()
{
    auto* g = Group(this, QStringLiteral("範囲"));
    auto* l = RowOf(g);
    sbRange = ToolButton(g, QStringLiteral("sbRange"), QStringLiteral("範囲"), true);
    rbRectRange = Radio(g, QStringLiteral("rbRectRange"), QStringLiteral("四角"));
    rbFreeRange = Radio(g, QStringLiteral("rbFreeRange"), QStringLiteral("自由"));
    sbCopy = ToolButton(g, QStringLiteral("sbCopy"), QStringLiteral("ｺﾋﾟｰ"));
    sbCut = ToolButton(g, QStringLiteral("sbCut"), QStringLiteral("切取"));
    sbDelete = ToolButton(g, QStringLiteral("sbDelete"), QStringLiteral("消去"));
    l->addWidget(sbRange);
    l->addLayout(RadioPair(g, rbRectRange, rbFreeRange));
    l->addWidget(sbCopy);
    l->addWidget(sbCut);
    l->addWidget(sbDelete);
    return g;
}

QGroupBox* TFormPictureEditor::buildPastePanel()
{
    auto* g = Group(this, QStringLiteral("コピー画像"));
    auto* l = RowOf(g);
    sbPasteShow = ToolButton(g, QStringLiteral("sbPasteShow"), QStringLiteral("表示"), true);
    sbPasteByouga = ToolButton(g, QStringLiteral("sbPasteByouga"), QStringLiteral("描画"));
    sbGenten = ToolButton(g, QStringLiteral("sbGenten"), QStringLiteral("原点移動"));
    l->addWidget(sbPasteShow);
    l->addWidget(sbPasteByouga);
    l->addWidget(sbGenten);
    return g;
}

QGroupBox* TFormPictureEditor::buildFacePanel()
{
    auto* g = Group(this, QStringLiteral("取り込み画像"));
    auto* l = RowOf(g);
    sbFaceSelect = ToolButton(g, QStringLiteral("sbFaceSelect"), QStringLiteral("画像"));
    rbBairituHendou = Radio(g, QStringLiteral("rbBairituHendou"), QStringLiteral("連動"));
    rbBairituKotei = Radio(g, QStringLiteral("rbBairituKotei"), QStringLiteral("独立"));
    sbFaceShow = ToolButton(g, QStringLiteral("sbFaceShow"), QStringLiteral("表示"), true);
    sbFaceShow->setProperty("Tag", 0);
    sbFaceByouga = ToolButton(g, QStringLiteral("sbFaceByouga"), QStringLiteral("描画"));
    cbHalfTone = new QCheckBox(QStringLiteral("ハーフトーン"), g);
    cbHalfTone->setObjectName(QStringLiteral("cbHalfTone"));
    l->addWidget(sbFaceSelect);
    l->addLayout(RadioPair(g, rbBairituHendou, rbBairituKotei));
    l->addWidget(sbFaceShow);
    l->addWidget(sbFaceByouga);
    l->addWidget(cbHalfTone);
    return g;
}

QGroupBox* TFormPictureEditor::buildEditPanel()
{
    auto* g = Group(this, QStringLiteral("編集"));
    auto* l = RowOf(g);
    sbUndo = ToolButton(g, QStringLiteral("sbUndo"), QStringLiteral("元に戻す"));
    sbRedo = ToolButton(g, QStringLiteral("sbRedo"), QStringLiteral("先に戻す"));
    sbClearAll = ToolButton(g, QStringLiteral("sbClearAll"), QStringLiteral("全消去"));
    l->addWidget(sbUndo);
    l->addWidget(sbRedo);
    l->addWidget(sbClearAll);
    return g;
}

QGroupBox* TFormPictureEditor::buildReformPanel()
{
    auto* g = Group(this, QStringLiteral("変形"));
    auto* l = RowOf(g);
    pnLastReform = new TColorPanel(g, QStringLiteral("pnLastReform"), 0);
    pnLastReform->setText(QStringLiteral("変形"));
    pnLastReform->setFixedSize(48, 26);
    pnLastReform->setFrameShape(QFrame::Panel);
    udPen = new QSpinBox(g);
    udPen->setObjectName(QStringLiteral("udPen"));
    udPen->setRange(1, 50);
    udPen->setValue(1);
    udLine = new QSpinBox(g);
    udLine->setObjectName(QStringLiteral("udLine"));
    udLine->setRange(-50, 50);
    udLine->setValue(0);
    l->addWidget(pnLastReform);
    l->addWidget(new QLabel(QStringLiteral("線幅"), g));
    l->addWidget(udPen);
    l->addWidget(new QLabel(QStringLiteral("曲率"), g));
    l->addWidget(udLine);
    return g;
}

QGroupBox* TFormPictureEditor::buildViewPanel()
{
    auto* g = Group(this, QStringLiteral("表示"));
    auto* l = RowOf(g);
    UpDown1 = new QSpinBox(g);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(kZoomMin, kZoomMax);
    UpDown1->setSingleStep(25);
    UpDown1->setValue(kZoomStart);
    UpDown1->setMinimumWidth(70);
    cbIncrement = new QPushButton(QStringLiteral("±25"), g);
    cbIncrement->setObjectName(QStringLiteral("cbIncrement"));
    cbIncrement->setCheckable(true); // a check box with the push-button look
    bt100 = new QPushButton(QStringLiteral("100％"), g);
    bt100->setObjectName(QStringLiteral("bt100"));
    sbShowMihon = ToolButton(g, QStringLiteral("sbShowMihon"), QStringLiteral("見本"), true);
    sbShowMasu = ToolButton(g, QStringLiteral("sbShowMasu"), QStringLiteral("罫線"));
    l->addWidget(new QLabel(QStringLiteral("表示倍率"), g));
    l->addWidget(UpDown1);
    l->addWidget(cbIncrement);
    l->addWidget(bt100);
    l->addWidget(sbShowMihon);
    l->addWidget(sbShowMasu);
    return g;
}

QGroupBox* TFormPictureEditor::buildModePanel()
{
    auto* g = Group(this, QStringLiteral("モード"));
    auto* l = RowOf(g);
    lbByouga = new QLabel(QStringLiteral("描画"), g);
    lbRange = new QLabel(QStringLiteral("範囲選択"), g);
    for (QLabel* lb : {lbByouga, lbRange}) {
        lb->setAlignment(Qt::AlignCenter);
        lb->setMinimumSize(64, 24);
        l->addWidget(lb);
    }
    return g;
}

void TFormPictureEditor::buildHiddenControls()
{
    // The cell size lives in two up-downs nobody sees.
    udWidth = new QSpinBox(this);
    udWidth->setObjectName(QStringLiteral("udWidth"));
    udWidth->setRange(10, 2000);
    udWidth->setSingleStep(10);
    udWidth->hide();
    udHeight = new QSpinBox(this);
    udHeight->setObjectName(QStringLiteral("udHeight"));
    udHeight->setRange(10, 1500);
    udHeight->setSingleStep(10);
    udHeight->hide();
    // The transform modes of the floating images, chosen from the pop-up menu.
    for (auto [ptr, name] : {std::pair{&sbPicMove, "sbPicMove"}, {&sbFaceReform, "sbFaceReform"},
                             {&sbFaceRotate, "sbFaceRotate"}, {&sbFaceReverse, "sbFaceReverse"},
                             {&sbRgReform, "sbRgReform"}, {&sbRgRotate, "sbRgRotate"}, {&sbRgReverse, "sbRgReverse"}}) {
        *ptr = ToolButton(this, QString::fromLatin1(name), QString(), true);
        (*ptr)->hide();
    }
}

QGroupBox* TFormPictureEditor::buildPalettePanel()
{
    auto* g = Group(this, QStringLiteral("パレット"));
    pnPallet = g;
    pnPallet->setObjectName(QStringLiteral("pnPallet"));
    auto* grid = new QGridLayout(g);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setSpacing(3);
    for (int i = 0; i < 19; ++i) {
        auto* p = new TColorPanel(g, QStringLiteral("pnC%1").arg(i, 2, 10, QLatin1Char('0')), i);
        p->setFixedSize(40, 26);
        Palette.push_back(p);
        grid->addWidget(p, i / 4, i % 4);
    }
    auto* rgb = new QHBoxLayout;
    lbR = new QLabel(g);
    lbG = new QLabel(g);
    lbB = new QLabel(g);
    rgb->addWidget(lbR);
    rgb->addWidget(lbG);
    rgb->addWidget(lbB);
    grid->addLayout(rgb, 5, 0, 1, 4);
    auto* btns = new QHBoxLayout;
    sbSpoit = ToolButton(g, QStringLiteral("sbSpoit"), QStringLiteral("スポイト"), true);
    sbPallet = ToolButton(g, QStringLiteral("sbPallet"), QStringLiteral("色の変更"));
    btns->addWidget(sbSpoit);
    btns->addWidget(sbPallet);
    grid->addLayout(btns, 6, 0, 1, 4);
    return g;
}

QGroupBox* TFormPictureEditor::buildPenStylePanel()
{
    auto* g = Group(this, QStringLiteral("線種"));
    pnPenStyle = g;
    pnPenStyle->setObjectName(QStringLiteral("pnPenStyle"));
    auto* l = RowOf(g);
    TColorPanel** styles[] = {&pnP0, &pnP1, &pnP2};
    for (int i = 0; i < 3; ++i) {
        *styles[i] = new TColorPanel(g, QStringLiteral("pnP%1").arg(i), i);
        (*styles[i])->setPixmap(PenStylePicture(i));
        (*styles[i])->setFixedSize(52, 24);
        l->addWidget(*styles[i]);
    }
    return g;
}

QGroupBox* TFormPictureEditor::buildTestPanel()
{
    auto* g = Group(this, QStringLiteral("動作確認"));
    pnTest = g;
    pnTest->setObjectName(QStringLiteral("pnTest"));
    auto* l = new QGridLayout(g);
    l->setContentsMargins(4, 2, 4, 4);
    imTest = new QLabel(g);
    imTest->setObjectName(QStringLiteral("imTest"));
    imTest->setFixedSize(80, 80);
    sbTest = ToolButton(g, QStringLiteral("sbTest"), QStringLiteral("動作確認"));
    sbTest->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    udTest = new TUpDown(g);
    udTest->setObjectName(QStringLiteral("udTest"));
    udTest->setRange(0, 1);
    lbKirikae = new QLabel(QStringLiteral("左右画像"), g);
    sbTestColor = ToolButton(g, QStringLiteral("sbTestColor"), QStringLiteral("背景色"));
    l->addWidget(imTest, 0, 0, 3, 1);
    l->addWidget(sbTest, 0, 1);
    auto* sw = new QHBoxLayout;
    sw->addWidget(lbKirikae);
    sw->addWidget(udTest);
    l->addLayout(sw, 1, 1);
    l->addWidget(sbTestColor, 2, 1);
    return g;
}

QWidget* TFormPictureEditor::buildOptionBoxes(QLayout* column)
{
    cbKeepColor = new QCheckBox;
    cbKeepColor->setObjectName(QStringLiteral("cbKeepColor"));
    column->addWidget(WrappedCheckBox(
        this, cbKeepColor, QStringLiteral("「塗り」とそれ以外の描画のそれぞれで，前回描画したときのパレットの色を保持する")));
    column->addWidget(buildTestPanel());
    cbChangeWhite = new QCheckBox;
    cbChangeWhite->setObjectName(QStringLiteral("cbChangeWhite"));
    cbChangeWhite->setChecked(true);
    QWidget* change = WrappedCheckBox(
        this, cbChangeWhite,
        QStringLiteral("［ファイルを開く］，［画像取り込み］のとき，画像内側の透明白色（完全白色）を不透明白色（完全白色に近い白色）にする"));
    column->addWidget(change);
    return change;
}

QFrame* TFormPictureEditor::buildCanvasPanel()
{
    pnImage = new QFrame;
    pnImage->setObjectName(QStringLiteral("pnImage"));
    pnImage->setFrameShape(QFrame::StyledPanel);
    pnImage->setFocusPolicy(Qt::ClickFocus);
    auto* imageLayout = new QVBoxLayout(pnImage);
    imageLayout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new TScrollBox(pnImage);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    Image1 = new TCanvasView(nullptr);
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(Image1);
    ScrollBox1->horizontalScrollBar()->setSingleStep(50);
    ScrollBox1->verticalScrollBar()->setSingleStep(50);
    imageLayout->addWidget(ScrollBox1);
    return pnImage;
}

void TFormPictureEditor::buildFloatingImages()
{
    // Over the canvas in the scroll box: frames under their images, handles on top.
    QWidget* box = ScrollBox1->viewport();
    imFrame0 = new TFrameImage(box, QStringLiteral("imFrame0"));
    imFrame1 = new TFrameImage(box, QStringLiteral("imFrame1"));
    imFrame2 = new TFrameImage(box, QStringLiteral("imFrame2"));
    imMihon = new TFloatingImage(box, QStringLiteral("imMihon"), 0, imFrame0);
    imPaste = new TFloatingImage(box, QStringLiteral("imPaste"), 1, imFrame1);
    imFace = new TFloatingImage(box, QStringLiteral("imFace"), 2, imFrame2);
    struct Spec {
        THandle** ptr;
        const char* name;
        THandle::TKind kind;
        int tag;
        Qt::CursorShape cursor;
    };
    const Spec specs[] = {
        {&imReformHL, "imReformHL", THandle::Stretch, 0, Qt::SizeHorCursor},
        {&imReformHR, "imReformHR", THandle::Stretch, 1, Qt::SizeHorCursor},
        {&imReformVT, "imReformVT", THandle::Stretch, 2, Qt::SizeVerCursor},
        {&imReformVB, "imReformVB", THandle::Stretch, 3, Qt::SizeVerCursor},
        {&imReformLT, "imReformLT", THandle::Stretch, 4, Qt::SizeFDiagCursor},
        {&imReformRT, "imReformRT", THandle::Stretch, 5, Qt::SizeBDiagCursor},
        {&imReformLB, "imReformLB", THandle::Stretch, 6, Qt::SizeBDiagCursor},
        {&imReformRB, "imReformRB", THandle::Stretch, 7, Qt::SizeFDiagCursor},
        {&imRotateLT, "imRotateLT", THandle::Rotate, 0, Qt::CrossCursor},
        {&imRotateRT, "imRotateRT", THandle::Rotate, 1, Qt::CrossCursor},
        {&imRotateLB, "imRotateLB", THandle::Rotate, 2, Qt::CrossCursor},
        {&imRotateRB, "imRotateRB", THandle::Rotate, 3, Qt::CrossCursor},
        {&imReverseHL, "imReverseHL", THandle::Flip, 0, Qt::SizeHorCursor},
        {&imReverseHR, "imReverseHR", THandle::Flip, 0, Qt::SizeHorCursor},
        {&imReverseVT, "imReverseVT", THandle::Flip, 1, Qt::SizeVerCursor},
        {&imReverseVB, "imReverseVB", THandle::Flip, 1, Qt::SizeVerCursor},
    };
    for (const Spec& s : specs) {
        *s.ptr = new THandle(box, QString::fromLatin1(s.name), s.kind, s.tag);
        (*s.ptr)->setCursor(s.cursor);
        Handles.push_back(*s.ptr);
    }
}

QGroupBox* TFormPictureEditor::buildStripPanel()
{
    auto* g = Group(this, QStringLiteral("プレイヤー画像"));
    auto* l = RowOf(g);
    scbChara = new QScrollArea(g);
    scbChara->setObjectName(QStringLiteral("scbChara"));
    scbChara->setFixedHeight(70 + 22);
    scbChara->setWidgetResizable(false);
    scbChara->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imChara = new TStripView(nullptr);
    imChara->setObjectName(QStringLiteral("imChara"));
    scbChara->setWidget(imChara);
    l->addWidget(scbChara, 1);
    auto* ctl = new QGridLayout;
    lbChara = new QLabel(QStringLiteral("1/1"), g);
    lbChara->setAlignment(Qt::AlignCenter);
    udChara = new TUpDown(g);
    udChara->setObjectName(QStringLiteral("udChara"));
    udChara->setRange(0, 0);
    sbCharaMoveL = ToolButton(g, QStringLiteral("sbCharaMoveL"), QStringLiteral("左へ移動"));
    sbCharaMoveR = ToolButton(g, QStringLiteral("sbCharaMoveR"), QStringLiteral("右へ移動"));
    sbCharaAdd = ToolButton(g, QStringLiteral("sbCharaAdd"), QStringLiteral("追加"));
    sbCharaDelete = ToolButton(g, QStringLiteral("sbCharaDelete"), QStringLiteral("削除"));
    sbFromBegin = ToolButton(g, QStringLiteral("sbFromBegin"), QStringLiteral("最初に戻す"));
    ctl->addWidget(lbChara, 0, 0);
    ctl->addWidget(udChara, 1, 0);
    ctl->addWidget(sbCharaMoveL, 0, 1);
    ctl->addWidget(sbCharaMoveR, 1, 1);
    ctl->addWidget(sbCharaAdd, 0, 2);
    ctl->addWidget(sbCharaDelete, 1, 2);
    ctl->addWidget(sbFromBegin, 0, 3, 2, 1);
    l->addLayout(ctl);
    return g;
}

void TFormPictureEditor::connectTools()
{
    auto* toolGroup = new QButtonGroup(this);
    toolGroup->setExclusive(true);
    for (QToolButton* b : {sbPen, sbCircle, sbLine, sbFloodFill, sbRange, sbSpoit, sbPicMove, sbFaceReform, sbFaceRotate,
                           sbFaceReverse, sbRgReform, sbRgRotate, sbRgReverse})
        toolGroup->addButton(b);
    connect(sbPen, &QToolButton::clicked, this, [this] { sbPenClick(); });
    connect(sbCircle, &QToolButton::clicked, this, [this] { sbCircleClick(); });
    connect(rbRect, &QRadioButton::clicked, this, [this] { rbRectClick(); });
    connect(rbEllip, &QRadioButton::clicked, this, [this] { rbRectClick(); });
    connect(sbLine, &QToolButton::clicked, this, [this] { sbLineClick(); });
    connect(sbFloodFill, &QToolButton::clicked, this, [this] { sbFloodFillClick(); });
    connect(sbMoji, &QToolButton::clicked, this, [this] { sbMojiClick(); });
    connect(sbRange, &QToolButton::clicked, this, [this] { sbRangeClick(); });
    connect(rbRectRange, &QRadioButton::clicked, this, [this] { rbRectRangeClick(); });
    connect(rbFreeRange, &QRadioButton::clicked, this, [this] { rbRectRangeClick(); });
    connect(sbSpoit, &QToolButton::pressed, this, [this] { sbSpoitMouseDown(); });
    connect(sbSpoit, &QToolButton::clicked, this, [this] { sbSpoitClick(); });
    connect(sbPallet, &QToolButton::clicked, this, [this] { sbPalletClick(); });
    for (TColorPanel* p : Palette)
        p->OnMouseDown = [this, p](QMouseEvent* e) {
            if (e->button() == Qt::LeftButton) pnC00MouseDown(p->Tag);
        };
    for (TColorPanel* p : {pnP0, pnP1, pnP2})
        p->OnMouseDown = [this, p](QMouseEvent* e) {
            if (e->button() == Qt::LeftButton) imP0MouseDown(p->Tag);
        };
    connect(sbUndo, &QToolButton::clicked, this, [this] { sbUndoClick(); });
    connect(sbRedo, &QToolButton::clicked, this, [this] { sbRedoClick(); });
    connect(sbClearAll, &QToolButton::clicked, this, [this] { sbClearAllClick(); });
    connect(udPen, &QSpinBox::valueChanged, this, [this] { udPenClick(); });
    connect(udLine, &QSpinBox::valueChanged, this, [this] { udPenClick(); });
    pnLastReform->OnMouseDown = [this](QMouseEvent*) { pnLastReform->setFrameShadow(QFrame::Sunken); };
    pnLastReform->OnMouseUp = [this](QMouseEvent*) {
        pnLastReform->setFrameShadow(QFrame::Raised);
        pnLastReformClick();
    };
}

void TFormPictureEditor::connectViewAndStrip()
{
    connect(UpDown1, &QSpinBox::valueChanged, this, [this] { UpDown1Click(); });
    connect(cbIncrement, &QPushButton::toggled, this, [this] { cbIncrementClick(); });
    connect(bt100, &QPushButton::clicked, this, [this] { bt100Click(); });
    connect(rbBairituHendou, &QRadioButton::clicked, this, [this] { rbBairituHendouClick(true); });
    connect(rbBairituKotei, &QRadioButton::clicked, this, [this] { rbBairituHendouClick(false); });
    connect(udWidth, &QSpinBox::valueChanged, this, [this] {
        if (m_shown) SetCanvasSize(udWidth->value(), udHeight->value());
    });
    connect(udHeight, &QSpinBox::valueChanged, this, [this] {
        if (m_shown && udHeight->value() > 9) SetCanvasSize(udWidth->value(), udHeight->value());
    });
    Image1->OnPaint = [this] { PaintCanvasView(); };
    Image1->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { Image1MouseDown(b, s, x, y); };
    Image1->OnMouseMove = [this](TShiftState s, int x, int y) { Image1MouseMove(s, x, y); };
    Image1->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { Image1MouseUp(b, s, x, y); };
    for (QWidget* w : std::initializer_list<QWidget*>{Image1, ScrollBox1, imFace, imPaste}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& at) {
            // A right click during a drag belongs to the drag, which goes on.
            if (Engine.Dragging) return;
            PopupMenu1Popup();
            PopupMenu1->popup(w->mapToGlobal(at));
        });
    }
    imChara->OnMouseDown = [this](int x, int y) { imCharaMouseDown(x, y); };
    connect(udChara, &QSpinBox::valueChanged, this, [this] { udCharaClick(); });
    connect(sbCharaAdd, &QToolButton::clicked, this, [this] { sbCharaAddClick(); });
    connect(sbCharaDelete, &QToolButton::clicked, this, [this] { sbCharaDeleteClick(); });
    connect(sbCharaMoveL, &QToolButton::clicked, this, [this] { sbCharaMoveLClick(); });
    connect(sbCharaMoveR, &QToolButton::clicked, this, [this] { sbCharaMoveRClick(); });
    connect(sbFromBegin, &QToolButton::clicked, this, [this] { sbFromBeginClick(); });
    connect(sbTest, &QToolButton::clicked, this, [this] { sbTestClick(); });
    connect(udTest, &QSpinBox::valueChanged, this, [this](int v) { udTestClick(v == 0); });
    connect(sbTestColor, &QToolButton::clicked, this, [this] { sbTestColorClick(); });
}

void TFormPictureEditor::connectFloating()
{
    connect(sbCopy, &QToolButton::clicked, this, [this] { sbCopyClick(); });
    connect(sbCut, &QToolButton::clicked, this, [this] { sbCutClick(true); });
    connect(sbDelete, &QToolButton::clicked, this, [this] { sbCutClick(false); });
    connect(sbPasteShow, &QToolButton::clicked, this, [this] { sbPasteShowClick(); });
    connect(sbPasteByouga, &QToolButton::clicked, this, [this] { sbPasteByougaClick(); });
    connect(sbGenten, &QToolButton::clicked, this, [this] { sbGentenClick(); });
    connect(sbFaceSelect, &QToolButton::clicked, this, [this] { sbFaceSelectClick(); });
    connect(sbFaceShow, &QToolButton::clicked, this, [this] { sbFaceShowClick(); });
    connect(sbFaceByouga, &QToolButton::clicked, this, [this] { sbFaceByougaClick(); });
    for (QToolButton* b : {sbFaceReform, sbFaceRotate, sbFaceReverse, sbRgReform, sbRgRotate, sbRgReverse})
        connect(b, &QToolButton::clicked, this, [this, b] { TransformModeClick(b); });
    for (TFloatingImage* f : {imPaste, imFace}) {
        f->OnMouseDown = [this, f](TMouseButton b, TShiftState s, QPoint at) { floatMouseDown(f, b, s, at); };
        f->OnMouseMove = [this, f](TMouseButton, TShiftState s, QPoint at) { floatMouseMove(f, s, at); };
        f->OnMouseUp = [this, f](TMouseButton b, TShiftState, QPoint) {
            if (b == TMouseButton::mbLeft) floatMouseUp(f);
        };
    }
    for (THandle* h : Handles) {
        h->OnMouseDown = [this, h](TMouseButton b, TShiftState, QPoint at) { handleMouseDown(h, b, at); };
        h->OnMouseMove = [this, h](TMouseButton, TShiftState s, QPoint at) { handleMouseMove(h, s, at); };
        h->OnMouseUp = [this, h](TMouseButton b, TShiftState, QPoint) {
            if (b == TMouseButton::mbLeft) handleMouseUp(h);
        };
    }
}

void TFormPictureEditor::buildMenus()
{
    MainMenu = new QMenuBar(this);
    mmFile1 = MainMenu->addMenu(QStringLiteral("ファイル(&F)"));
    mmFileNew = mmFile1->addAction(QStringLiteral("新規作成(&N)"));
    mmPicOpen = mmFile1->addAction(QStringLiteral("開く(&O)"));
    mmPicSave = mmFile1->addAction(QStringLiteral("上書き保存(&S)"));
    mmPicSaveAs = mmFile1->addAction(QStringLiteral("名前を付けて保存(&A)"));
    mmFile1->addSeparator();
    mmExit1 = mmFile1->addAction(QStringLiteral("終了(&X)"));
    connect(mmFileNew, &QAction::triggered, this, [this] { mmFileNewClick(); });
    connect(mmPicOpen, &QAction::triggered, this, [this] { mmPicOpenClick(); });
    connect(mmPicSave, &QAction::triggered, this, [this] { mmPicSaveClick(); });
    connect(mmPicSaveAs, &QAction::triggered, this, [this] { mmPicSaveAsClick(); });
    connect(mmExit1, &QAction::triggered, this, [this] { btOKClick(); });
    mmEdit = MainMenu->addMenu(QStringLiteral("編集(&E)"));
    connect(mmEdit, &QMenu::aboutToShow, this, [this] { mmEditClick(); });
    connect(mmEdit, &QMenu::aboutToHide, this, [this] { popupClosing(); });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    connect(PopupMenu1, &QMenu::aboutToHide, this, [this] { popupClosing(); });
    auto item = [&](const QString& caption, const QString& shortcut, int tag = 0) {
        QAction* a = PopupMenu1->addAction(shortcut.isEmpty() ? caption : caption + QLatin1Char('\t') + shortcut);
        a->setData(tag);
        return a;
    };
    mmRange = item(QStringLiteral("範囲選択モード(&Q)"), QStringLiteral("Ctrl+Q"));
    B1 = PopupMenu1->addSeparator();
    mmUndo = item(QStringLiteral("元に戻す(&U)"), QStringLiteral("Ctrl+Z"));
    mmRedo = item(QStringLiteral("先に戻す(&R)"), QStringLiteral("Shift+Ctrl+Z"));
    B2 = PopupMenu1->addSeparator();
    mmSelectLeft = item(QStringLiteral("左半分選択"), QString(), 1);
    mmSelectRight = item(QStringLiteral("右半分選択"), QString(), 2);
    B3 = PopupMenu1->addSeparator();
    pmMojiByouga = item(QStringLiteral("文字(&M)"), QStringLiteral("Ctrl+M"));
    B4 = PopupMenu1->addSeparator();
    pmPaste2 = item(QStringLiteral("画像取り込み［表示］"), QStringLiteral("Shift+Ctrl+V"));
    pmClose2 = item(QStringLiteral("画像取り込み［隠す］"), QStringLiteral("Shift+Ctrl+F"));
    pmByouga2 = item(QStringLiteral("画像取り込み［描画］"), QStringLiteral("Shift+Ctrl+V"));
    B5 = PopupMenu1->addSeparator();
    mmCut = item(QStringLiteral("切り取り(&X)"), QStringLiteral("Ctrl+X"));
    mmCopy = item(QStringLiteral("コピー(&C)"), QStringLiteral("Ctrl+C"));
    mmDelete = item(QStringLiteral("消去(&D)"), QStringLiteral("Delete"));
    B6 = PopupMenu1->addSeparator();
    pmPaste = item(QStringLiteral("範囲選択［表示］(&V)"), QStringLiteral("Ctrl+V"));
    pmClose = item(QStringLiteral("範囲選択［隠す］(&F)"), QStringLiteral("Ctrl+F"));
    pmByouga = item(QStringLiteral("範囲選択［描画］(&V)"), QStringLiteral("Ctrl+V"));
    B7 = PopupMenu1->addSeparator();
    pmGenten = item(QStringLiteral("原点移動"), QStringLiteral("Ctrl+W"));
    pmReform = item(QStringLiteral("伸縮(&A)"), QStringLiteral("Ctrl+A"));
    pmRotate = item(QStringLiteral("回転(&S)"), QStringLiteral("Ctrl+S"));
    pmReverse = item(QStringLiteral("反転(&D)"), QStringLiteral("Ctrl+D"));
    const std::pair<QAction*, std::function<void()>> handlers[] = {
        {mmRange, [this] { mmRangeClick(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier)); }},
        {mmUndo, [this] { sbUndoClick(); }},
        {mmRedo, [this] { sbRedoClick(); }},
        {mmSelectLeft, [this] { mmSelectLeftClick(1); }},
        {mmSelectRight, [this] { mmSelectLeftClick(2); }},
        {pmMojiByouga, [this] { sbMojiClick(); }},
        {pmPaste2, [this] { sbFaceShowClick(); }},
        {pmClose2, [this] { sbFaceShowClick(); }},
        {pmByouga2, [this] { sbFaceByougaClick(); }},
        {mmCut, [this] { sbCutClick(true); }},
        {mmCopy, [this] { sbCopyClick(); }},
        // Not the form's own record of Ctrl and Shift: a box or a menu may have taken their release.
        {mmDelete,
         [this] {
             const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
             mmDeleteClick(held.testFlag(Qt::ControlModifier), held.testFlag(Qt::ShiftModifier));
         }},
        {pmPaste, [this] { sbPasteShowClick(); }},
        {pmClose, [this] { sbPasteShowClick(); }},
        {pmByouga, [this] { sbPasteByougaClick(); }},
        {pmGenten, [this] { sbGentenClick(); }},
        {pmReform, [this] { pmReformClick(); }},
        {pmRotate, [this] { pmRotateClick(); }},
        {pmReverse, [this] { pmReverseClick(); }},
    };
    for (const auto& [action, handler] : handlers) connect(action, &QAction::triggered, this, handler);
    for (QMenu* m : {PopupMenu1, mmFile1, mmEdit})
        connect(m, &QMenu::hovered, this, [this](QAction* a) { StatusBar1->showMessage(a->statusTip()); });
}

void TFormPictureEditor::registerCursors()
{
    for (const CursorSpec& c : kCursors) {
        const QPixmap pm =
            QPixmap::fromImage(ReadResourcePicture(QStringLiteral(":/cursors/%1.png").arg(QLatin1String(c.name)), "PNG"));
        Cursors[c.number] = pm.isNull() ? QCursor(Qt::CrossCursor) : QCursor(pm, c.hotspot.x(), c.hotspot.y());
    }
    // The rotation handles show the rotation cursors.
    for (THandle* h : {imRotateRT, imRotateRB}) h->setCursor(Cursors[2]);
    for (THandle* h : {imRotateLT, imRotateLB}) h->setCursor(Cursors[3]);
}

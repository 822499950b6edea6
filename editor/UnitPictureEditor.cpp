#include "UnitPictureEditor.h"

#include "CanvasView.h"
#include "Clock.h"
#include "Dialogs.h"
#include "Paths.h"
#include "EditorGdi.h"
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QCursor>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

QString Css(TColor c)
{
    return QStringLiteral("#%1%2%3")
        .arg(GetRValue(c), 2, 16, QLatin1Char('0'))
        .arg(GetGValue(c), 2, 16, QLatin1Char('0'))
        .arg(GetBValue(c), 2, 16, QLatin1Char('0'));
}

constexpr TColor kReformGreen = 0x7FFFBF;
constexpr TColor kReformRed = 0xCFCFFF;

// The palette's fixed colours; index 1 is the opaque white found at start-up.
const TColor kPaletteColors[19] = {0x000000, 0xFFFEFF, 0xFFFFFF, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000,
                                   0x00FFFF, 0xFF00FF, 0xFFFF00, 0x000080, 0x008000, 0x800000, 0x808080,
                                   0xE0FFE0, 0xBFDFFF, 0xB4D2F1, 0x5C8AB9, 0xBFBFFF};

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

QGroupBox* Group(const QString& title)
{
    auto* g = new QGroupBox(title);
    g->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return g;
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

// ---------------------------------------------------------------------------------------------
// TColorPanel

TColorPanel::TColorPanel(QWidget* parent, const QString& name, int tag) : QLabel(parent), Tag(tag)
{
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
    restyle();
}

void TColorPanel::SetColor(TColor c)
{
    m_color = c;
    restyle();
}

void TColorPanel::SetCaptionColor(TColor c)
{
    m_caption = c;
    restyle();
}

void TColorPanel::SetBorder(bool on)
{
    m_border = on;
    restyle();
}

void TColorPanel::restyle()
{
    // The selected panel's border stands out against its own colour.
    const QString border = m_border ? QStringLiteral("3px solid %1").arg(Css(TFormPictureEditor::ContrastTextColor(m_color)))
                                    : QStringLiteral("1px solid #a0a0a0");
    setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; border: %3; }").arg(Css(m_color), Css(m_caption), border));
}

void TColorPanel::mousePressEvent(QMouseEvent* e)
{
    if (OnMouseDown) OnMouseDown(e);
}

void TColorPanel::mouseReleaseEvent(QMouseEvent* e)
{
    if (OnMouseUp) OnMouseUp(e);
}

// ---------------------------------------------------------------------------------------------
// Creation

TFormPictureEditor::TFormPictureEditor(QWidget* owner) : Form(owner)
{
    setObjectName(QStringLiteral("FormPictureEditor"));
    Font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    Font.SetSize(9);
    ApplyFont();
    PointerPos = [] { return QCursor::pos(); };
    cdPalletExecute = [this](TColor& colour) {
        const QColor c = QColorDialog::getColor(ToQColor(colour), this);
        if (!c.isValid()) return false;
        colour = FromQColor(c);
        return true;
    };
    imTestPlay = QPixmap(QStringLiteral(":/bitmaps/imTestPlay.png"));
    imTestPause = QPixmap(QStringLiteral(":/bitmaps/imTestPause.png"));
    tmTest = new GameTimer(this, 400, false);
    tmTest->OnTimer = [this] { tmTestTimer(); };

    // 1-3: the whites, the canvas and the cell size.
    Engine.FindNearWhites();
    Engine.Canvas.SetSize(140, 70);
    Engine.ClearCanvas();
    PaletteCount = 0; // a 24-bit canvas has no palette

    buildUi();
    udWidth->setValue(Engine.Canvas.Width());
    udHeight->setValue(Engine.Canvas.Height());

    // 4: size and place on the work area.
    FitToWorkArea();

    // 5: the view.
    Image1->move(0, 0);
    Image1->SetViewSize(Engine.Canvas.Width(), Engine.Canvas.Height());
    Engine.GridPitchX = Engine.GridPitchY = 70;
    Engine.GridShown = true;
    Engine.GridColor = 0x808080;

    // 6: handle pictures, cursors.
    registerCursors();

    // 8: palette.
    for (int i = 0; i < 19; ++i) {
        TColorPanel* p = Palette[size_t(i)];
        const TColor base = i == 1 ? Engine.OpaqueWhite : kPaletteColors[i];
        p->SetColor(TShapeEngine::RealizeColor(base));
        if (i <= 3) p->SetCaptionColor(ContrastTextColor(p->Color()));
    }
    Palette[2]->setText(QStringLiteral("ｽﾎﾟ"));
    Palette[3]->setText(QStringLiteral("消"));
    SelectPaletteColor(0);
    SelectPenStyle(0);

    // 9: lists, re-shape light, undo.
    Engine.OnRepaint = [this] { repaintView(); };
    Engine.OnViewChanged = [this] { Image1->ShowSurface(); };
    Engine.OnUndoStateChanged = [this] { UpdateUndoButtons(); };
    Engine.OnWriteBack = [this] { WriteBackCanvas(); };
    Engine.OnReformStateChanged = [this] { SetReformStateView(); };
    Engine.OnGhostsChanged = [this] { placeGhosts(); };
    Engine.OnToolUsed = [this](int kind) {
        if (kind == skFill) RememberedFillColor = SelectedPalette;
        else RememberedDrawColor = SelectedPalette;
    };
    Engine.View = &Image1->Surface();
    Engine.SetReformState(false, false);
    Engine.ClearUndo();
    Engine.SavedState(false);

    // 10: the pen at start; the player picture folder.
    sbPen->setChecked(true);
    sbPenClick();
    UpdateModeLabels();
    m_playerFolder = ProgramDir() + QStringLiteral("/画像と音声") + QStringLiteral("/ゲームの選手画像");
    if (!QDir(m_playerFolder).exists()) QDir().mkpath(m_playerFolder);

    // 11: the three file dialogs.
    const QString filter = QStringLiteral("BMP ﾌｧｲﾙ (*.bmp)|*.bmp|JPEG ﾌｧｲﾙ (*.jpg)|*.jpg|全種類 (*.bmp, *.jpg)|*.bmp;*.jpg");
    MyOpenPictureDialog2 = new TMyOpenPictureDialog(this);
    MySavePictureDialog2 = new TMySavePictureDialog(this);
    MyOpenPictureDialog3 = new TMyOpenPictureDialog(this);
    MyOpenPictureDialog2->Title = QStringLiteral("開く");
    MySavePictureDialog2->Title = QStringLiteral("名前を付けて保存");
    MyOpenPictureDialog3->Title = QStringLiteral("見本画像を開く");
    for (TMyFileDialog* d :
         std::initializer_list<TMyFileDialog*>{MyOpenPictureDialog2, MySavePictureDialog2, MyOpenPictureDialog3}) {
        d->InitialDir = m_playerFolder;
        d->Filter = filter;
        d->DefaultExt = QStringLiteral("bmp");
        d->FilterIndex = 3;
    }
    MyOpenPictureDialog2->Options |= ofFileMustExist;
    MySavePictureDialog2->OnCanClose = [this](bool& canClose) { MySavePictureDialog2CanClose(canClose); };
    MySavePictureDialog2->OnTypeChange = [this] { MySavePictureDialog2TypeChange(); };

    // 12-13: caption, zoom, hints.
    UpdateCaption();
    UpDown1Click();
    assignHints();

    // 16: sheet, preview, strip.
    Sheet.SetSize(Engine.Canvas.Width(), Engine.Canvas.Height());
    udChara->setMaximum(Sheet.Width() / Engine.Canvas.Width() - 1);
    SelectedCell = 0;
    RefreshPlayerStrip(true);
    TestBackground = 0x00FF7F;
    SetupPreview();
    Engine.GuideArmed = true;
    PlayerOrder.Clear();
    PlayerOrder.Add(-1);

    tmAutoScroll = new GameTimer(this, 10, false);
    tmAutoScroll->OnTimer = [this] { AppIdle(); };
}

TFormPictureEditor::~TFormPictureEditor()
{
    Engine.OnRepaint = nullptr;
    Engine.OnViewChanged = nullptr;
    Engine.OnUndoStateChanged = nullptr;
    Engine.OnWriteBack = nullptr;
    Engine.OnReformStateChanged = nullptr;
    Engine.OnGhostsChanged = nullptr;
    Engine.OnToolUsed = nullptr;
    Engine.View = nullptr;
}

void TFormPictureEditor::buildUi()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(4, 0, 4, 0);
    root->setSpacing(3);
    buildMenus();
    root->setMenuBar(MainMenu);

    // --- tool rows ---
    auto* row1 = new QHBoxLayout;
    row1->setSpacing(4);
    {
        auto* g = Group(QStringLiteral("描画"));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
        sbPen = ToolButton(g, QStringLiteral("sbPen"), QStringLiteral("ペン"), true);
        sbCircle = ToolButton(g, QStringLiteral("sbCircle"), QStringLiteral("面"), true);
        auto* shapeKind = new QVBoxLayout;
        shapeKind->setSpacing(0);
        rbRect = new QRadioButton(QStringLiteral("四角"), g);
        rbEllip = new QRadioButton(QStringLiteral("だ円"), g);
        rbRect->setObjectName(QStringLiteral("rbRect"));
        rbEllip->setObjectName(QStringLiteral("rbEllip"));
        rbRect->setChecked(true);
        auto* kindGroup = new QButtonGroup(g);
        kindGroup->addButton(rbRect);
        kindGroup->addButton(rbEllip);
        shapeKind->addWidget(rbRect);
        shapeKind->addWidget(rbEllip);
        sbLine = ToolButton(g, QStringLiteral("sbLine"), QStringLiteral("線"), true);
        sbFloodFill = ToolButton(g, QStringLiteral("sbFloodFill"), QStringLiteral("塗り"), true);
        sbMoji = ToolButton(g, QStringLiteral("sbMoji"), QStringLiteral("文字"));
        l->addWidget(sbPen);
        l->addWidget(sbCircle);
        l->addLayout(shapeKind);
        l->addWidget(sbLine);
        l->addWidget(sbFloodFill);
        l->addWidget(sbMoji);
        row1->addWidget(g);
    }
    {
        auto* g = Group(QStringLiteral("範囲"));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
        sbRange = ToolButton(g, QStringLiteral("sbRange"), QStringLiteral("範囲"), true);
        auto* kind = new QVBoxLayout;
        kind->setSpacing(0);
        rbRectRange = new QRadioButton(QStringLiteral("四角"), g);
        rbFreeRange = new QRadioButton(QStringLiteral("自由"), g);
        rbRectRange->setObjectName(QStringLiteral("rbRectRange"));
        rbFreeRange->setObjectName(QStringLiteral("rbFreeRange"));
        rbRectRange->setChecked(true);
        auto* bg = new QButtonGroup(g);
        bg->addButton(rbRectRange);
        bg->addButton(rbFreeRange);
        kind->addWidget(rbRectRange);
        kind->addWidget(rbFreeRange);
        sbCopy = ToolButton(g, QStringLiteral("sbCopy"), QStringLiteral("ｺﾋﾟｰ"));
        sbCut = ToolButton(g, QStringLiteral("sbCut"), QStringLiteral("切取"));
        sbDelete = ToolButton(g, QStringLiteral("sbDelete"), QStringLiteral("消去"));
        l->addWidget(sbRange);
        l->addLayout(kind);
        l->addWidget(sbCopy);
        l->addWidget(sbCut);
        l->addWidget(sbDelete);
        row1->addWidget(g);
    }
    {
        auto* g = Group(QStringLiteral("コピー画像"));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
        sbPasteShow = ToolButton(g, QStringLiteral("sbPasteShow"), QStringLiteral("表示"), true);
        sbPasteByouga = ToolButton(g, QStringLiteral("sbPasteByouga"), QStringLiteral("描画"));
        sbGenten = ToolButton(g, QStringLiteral("sbGenten"), QStringLiteral("原点移動"));
        l->addWidget(sbPasteShow);
        l->addWidget(sbPasteByouga);
        l->addWidget(sbGenten);
        row1->addWidget(g);
    }
    {
        auto* g = Group(QStringLiteral("取り込み画像"));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
        sbFaceSelect = ToolButton(g, QStringLiteral("sbFaceSelect"), QStringLiteral("画像"));
        auto* mode = new QVBoxLayout;
        mode->setSpacing(0);
        rbBairituHendou = new QRadioButton(QStringLiteral("連動"), g);
        rbBairituKotei = new QRadioButton(QStringLiteral("独立"), g);
        rbBairituHendou->setObjectName(QStringLiteral("rbBairituHendou"));
        rbBairituKotei->setObjectName(QStringLiteral("rbBairituKotei"));
        rbBairituHendou->setChecked(true);
        auto* bg = new QButtonGroup(g);
        bg->addButton(rbBairituHendou);
        bg->addButton(rbBairituKotei);
        mode->addWidget(rbBairituHendou);
        mode->addWidget(rbBairituKotei);
        sbFaceShow = ToolButton(g, QStringLiteral("sbFaceShow"), QStringLiteral("表示"), true);
        sbFaceByouga = ToolButton(g, QStringLiteral("sbFaceByouga"), QStringLiteral("描画"));
        cbHalfTone = new QCheckBox(QStringLiteral("ハーフトーン"), g);
        cbHalfTone->setObjectName(QStringLiteral("cbHalfTone"));
        l->addWidget(sbFaceSelect);
        l->addLayout(mode);
        l->addWidget(sbFaceShow);
        l->addWidget(sbFaceByouga);
        l->addWidget(cbHalfTone);
        row1->addWidget(g);
    }
    {
        auto* g = Group(QStringLiteral("編集"));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
        sbUndo = ToolButton(g, QStringLiteral("sbUndo"), QStringLiteral("元に戻す"));
        sbRedo = ToolButton(g, QStringLiteral("sbRedo"), QStringLiteral("先に戻す"));
        sbClearAll = ToolButton(g, QStringLiteral("sbClearAll"), QStringLiteral("全消去"));
        l->addWidget(sbUndo);
        l->addWidget(sbRedo);
        l->addWidget(sbClearAll);
        row1->addWidget(g);
    }
    row1->addStretch(1);
    root->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    row2->setSpacing(4);
    {
        auto* g = Group(QStringLiteral("変形"));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
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
        row2->addWidget(g);
    }
    {
        auto* g = Group(QStringLiteral("表示"));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
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
        row2->addWidget(g);
    }
    {
        auto* g = Group(QStringLiteral("モード"));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
        lbByouga = new QLabel(QStringLiteral("描画"), g);
        lbRange = new QLabel(QStringLiteral("範囲選択"), g);
        for (QLabel* lb : {lbByouga, lbRange}) {
            lb->setAlignment(Qt::AlignCenter);
            lb->setMinimumSize(64, 24);
            l->addWidget(lb);
        }
        lbByouga->setStyleSheet(QStringLiteral("background: #0000ff; color: #ffffff;"));
        lbRange->setStyleSheet(QStringLiteral("background: #f0f0f0; color: #000000;"));
        row2->addWidget(g);
    }
    // Cell size: hidden controls that hold the size of a cell.
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
    // Hidden mode buttons of the floating images.
    for (auto [ptr, name] : {std::pair{&sbPicMove, "sbPicMove"}, {&sbFaceReform, "sbFaceReform"},
                             {&sbFaceRotate, "sbFaceRotate"}, {&sbFaceReverse, "sbFaceReverse"},
                             {&sbRgReform, "sbRgReform"}, {&sbRgRotate, "sbRgRotate"}, {&sbRgReverse, "sbRgReverse"}}) {
        *ptr = ToolButton(this, QString::fromLatin1(name), QString(), true);
        (*ptr)->hide();
    }
    row2->addStretch(1);
    root->addLayout(row2);

    // --- middle: palette column and canvas ---
    auto* middle = new QHBoxLayout;
    middle->setSpacing(4);
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    {
        auto* g = Group(QStringLiteral("パレット"));
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
        left->addWidget(g);
    }
    {
        auto* g = Group(QStringLiteral("線種"));
        pnPenStyle = g;
        pnPenStyle->setObjectName(QStringLiteral("pnPenStyle"));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
        TColorPanel** styles[] = {&pnP0, &pnP1, &pnP2};
        for (int i = 0; i < 3; ++i) {
            *styles[i] = new TColorPanel(g, QStringLiteral("pnP%1").arg(i), i);
            (*styles[i])->setPixmap(PenStylePicture(i));
            (*styles[i])->setFixedSize(52, 24);
            l->addWidget(*styles[i]);
        }
        left->addWidget(g);
    }
    cbKeepColor = new QCheckBox(QStringLiteral("「塗り」とそれ以外の描画のそれぞれで，前回描画したときのパレットの色を保持する"));
    cbKeepColor->setObjectName(QStringLiteral("cbKeepColor"));
    {
        // QCheckBox does not wrap; a label beside it carries the long text.
        auto* box = new QWidget;
        auto* l = new QHBoxLayout(box);
        l->setContentsMargins(0, 0, 0, 0);
        auto* text = new QLabel(cbKeepColor->text(), box);
        text->setWordWrap(true);
        cbKeepColor->setText(QString());
        cbKeepColor->setParent(box);
        l->addWidget(cbKeepColor, 0, Qt::AlignTop);
        l->addWidget(text, 1);
        box->setMaximumWidth(200);
        left->addWidget(box);
    }
    {
        auto* g = Group(QStringLiteral("動作確認"));
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
        left->addWidget(g);
    }
    cbChangeWhite = new QCheckBox;
    cbChangeWhite->setObjectName(QStringLiteral("cbChangeWhite"));
    cbChangeWhite->setChecked(true);
    {
        auto* box = new QWidget;
        auto* l = new QHBoxLayout(box);
        l->setContentsMargins(0, 0, 0, 0);
        auto* text = new QLabel(
            QStringLiteral("［ファイルを開く］，［画像取り込み］のとき，画像内側の透明白色（完全白色）を不透明白色（完全白色に近い白色）にする"),
            box);
        text->setWordWrap(true);
        cbChangeWhite->setParent(box);
        l->addWidget(cbChangeWhite, 0, Qt::AlignTop);
        l->addWidget(text, 1);
        box->setMaximumWidth(200);
        left->addWidget(box);
    }
    left->addStretch(1);
    middle->addLayout(left);

    pnImage = new QFrame;
    pnImage->setObjectName(QStringLiteral("pnImage"));
    pnImage->setFrameShape(QFrame::StyledPanel);
    pnImage->setFocusPolicy(Qt::ClickFocus);
    auto* imageLayout = new QVBoxLayout(pnImage);
    imageLayout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new QScrollArea(pnImage);
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
    middle->addWidget(pnImage, 1);
    root->addLayout(middle, 1);

    // Floating images, their frames and handles: hidden until their commands place them.
    auto hiddenLabel = [&](const char* name, QWidget* parent) {
        auto* l = new QLabel(parent);
        l->setObjectName(QString::fromLatin1(name));
        l->hide();
        return l;
    };
    imMihon = hiddenLabel("imMihon", Image1);
    imPaste = hiddenLabel("imPaste", Image1);
    imFace = hiddenLabel("imFace", Image1);
    imFrame0 = hiddenLabel("imFrame0", Image1);
    imFrame1 = hiddenLabel("imFrame1", Image1);
    imFrame2 = hiddenLabel("imFrame2", Image1);
    for (const char* name : {"imReformHL", "imReformHR", "imReformVT", "imReformVB", "imReformLT", "imReformRT",
                             "imReformLB", "imReformRB", "imRotateRT", "imRotateLT", "imRotateLB", "imRotateRB",
                             "imReverseHL", "imReverseHR", "imReverseVT", "imReverseVB"}) {
        QLabel* h = hiddenLabel(name, Image1);
        h->setFixedSize(7, 7);
        // The handle picture: a red square.
        h->setStyleSheet(QStringLiteral("background: #ff0000;"));
        Handles.push_back(h);
    }

    // --- player strip ---
    {
        auto* g = Group(QStringLiteral("プレイヤー画像"));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
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
        root->addWidget(g);
    }
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    root->addWidget(StatusBar1);

    // --- behaviour ---
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
    connect(udPen, &QSpinBox::valueChanged, this, [this] { udPenClick(); });
    connect(udLine, &QSpinBox::valueChanged, this, [this] { udPenClick(); });
    connect(UpDown1, &QSpinBox::valueChanged, this, [this] { UpDown1Click(); });
    connect(cbIncrement, &QPushButton::toggled, this, [this] { cbIncrementClick(); });
    connect(bt100, &QPushButton::clicked, this, [this] { bt100Click(); });
    connect(udWidth, &QSpinBox::valueChanged, this, [this] {
        if (m_shown) SetCanvasSize(udWidth->value(), udHeight->value());
    });
    connect(udHeight, &QSpinBox::valueChanged, this, [this] {
        if (m_shown && udHeight->value() > 9) SetCanvasSize(udWidth->value(), udHeight->value());
    });
    pnLastReform->OnMouseDown = [this](QMouseEvent*) { pnLastReform->setFrameShadow(QFrame::Sunken); };
    pnLastReform->OnMouseUp = [this](QMouseEvent*) {
        pnLastReform->setFrameShadow(QFrame::Raised);
        pnLastReformClick();
    };
    Image1->OnPaint = [this] { PaintCanvasView(); };
    Image1->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { Image1MouseDown(b, s, x, y); };
    Image1->OnMouseMove = [this](TShiftState s, int x, int y) { Image1MouseMove(s, x, y); };
    Image1->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { Image1MouseUp(b, s, x, y); };
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    ScrollBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    for (QWidget* w : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(ScrollBox1)})
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& at) {
            // A right click during a drag belongs to the drag, which goes on.
            if (Engine.Dragging) return;
            PopupMenu1Popup();
            PopupMenu1->popup(w->mapToGlobal(at));
        });

    // Player strip and motion check.
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

    // Commands of the later parts: present, not yet working.
    for (QWidget* w : std::initializer_list<QWidget*>{sbMoji, sbCopy, sbCut, sbDelete, sbPasteShow, sbPasteByouga,
                                                      sbGenten, sbFaceSelect, rbBairituHendou, rbBairituKotei,
                                                      sbFaceShow, sbFaceByouga, cbHalfTone, sbClearAll, sbShowMihon,
                                                      sbShowMasu})
        w->setEnabled(false);
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

    PopupMenu1 = new QMenu(this);
    auto item = [&](const QString& caption, const QString& shortcut, int tag = 0) {
        QAction* a = PopupMenu1->addAction(caption);
        a->setProperty("shortcutText", shortcut);
        a->setData(tag);
        if (!shortcut.isEmpty()) a->setText(caption + QLatin1Char('\t') + shortcut);
        a->setProperty("caption", caption);
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
    connect(mmRange, &QAction::triggered, this, [this] {
        mmRangeClick(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier));
    });
    connect(mmUndo, &QAction::triggered, this, [this] { sbUndoClick(); });
    connect(mmRedo, &QAction::triggered, this, [this] { sbRedoClick(); });
    for (QMenu* m : {PopupMenu1, mmFile1, mmEdit})
        connect(m, &QMenu::hovered, this, [this](QAction* a) { StatusBar1->showMessage(a->statusTip()); });
}

void TFormPictureEditor::registerCursors()
{
    for (const CursorSpec& c : kCursors) {
        const QPixmap pm(QStringLiteral(":/cursors/%1.png").arg(QLatin1String(c.name)));
        Cursors[c.number] = pm.isNull() ? QCursor(Qt::CrossCursor) : QCursor(pm, c.hotspot.x(), c.hotspot.y());
    }
}

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

// ---------------------------------------------------------------------------------------------
// Shell

void TFormPictureEditor::UpdateCaption(const QString& path)
{
    QString c = QStringLiteral("ピクモ");
    if (PaletteCount != 0) c += QStringLiteral(" (%1色)").arg(PaletteCount);
    if (!path.isEmpty()) c += QStringLiteral(" ～ ") + ExtractFileName(path);
    SetCaption(c);
}

TColor TFormPictureEditor::ContrastTextColor(TColor c)
{
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    if (r + g > 254) return clBlack;
    if ((r > 190 || g > 190) && b <= 64) return clBlack;
    return clWhite;
}

void TFormPictureEditor::FormShow()
{
    m_shown = true;
    FitToWorkArea();
    Image1->Invalidate();
}

void TFormPictureEditor::btOKClick()
{
    Engine.ClearSelection();
    Engine.SelectShapesAt(QPoint(0, 0));
    ReselectToolButton();
    close();
}

void TFormPictureEditor::FormClose(TCloseAction& action)
{
    if (!ConfirmSaveChanges(true)) action = TCloseAction::caNone;
}

QPoint TFormPictureEditor::pointerInViewport() const
{
    return ScrollBox1->viewport()->mapFromGlobal(PointerPos());
}

void TFormPictureEditor::AppIdle()
{
    if (!MouseHeldOnCanvas || !Engine.Dragging) return;
    const QPoint c = pointerInViewport();
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    const int oldH = h->value(), oldV = v->value();
    const QWidget* vp = ScrollBox1->viewport();
    if (c.x() < 0) h->setValue(oldH - 1);
    else if (c.x() > vp->width()) h->setValue(oldH + 1);
    if (c.y() < 0) v->setValue(oldV - 1);
    else if (c.y() > vp->height()) v->setValue(oldV + 1);
    const bool scrolled = h->value() != oldH || v->value() != oldV;
    if (scrolled) {
        const QPoint onImage = Image1->mapFromGlobal(PointerPos());
        if (Engine.ToolKind == skMove) {
            Engine.GhostOffset = Engine.ConstrainPoint(onImage) - Engine.StartPoint;
            placeGhosts();
        } else {
            // The view is drawn again at once with the preview at the new point.
            Engine.CurrentPoint = onImage;
            Image1->RepaintNow();
        }
    }
}

// ---------------------------------------------------------------------------------------------
// View and zoom

int TFormPictureEditor::Zoom() const
{
    return UpDown1->value();
}

void TFormPictureEditor::SetZoom(int z)
{
    UpDown1->setValue(z);
}

void TFormPictureEditor::UpDown1Click()
{
    Engine.Scale.Zoom = UpDown1->value();
    Engine.DeselectAllShapes();
    Engine.ClearSelection();
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    const int keptH = h->value(), keptV = v->value();
    const QSize old = Image1->size();
    const int nw = Engine.ToView(Engine.Canvas.Width()), nh = Engine.ToView(Engine.Canvas.Height());
    Image1->SetViewSize(nw, nh);
    h->setRange(0, std::max(0, nw - ScrollBox1->viewport()->width()));
    v->setRange(0, std::max(0, nh - ScrollBox1->viewport()->height()));
    const int dw = (nw - old.width()) / 2, dh = (nh - old.height()) / 2;
    if (keptH > 0) h->setValue(keptH + dw);
    if (keptV > 0) v->setValue(keptV + dh);
}

void TFormPictureEditor::cbIncrementClick()
{
    const bool on = cbIncrement->isChecked();
    UpDown1->setSingleStep(on ? 50 : 25);
    cbIncrement->setText(on ? QStringLiteral("±50") : QStringLiteral("±25"));
}

void TFormPictureEditor::bt100Click()
{
    if (UpDown1->value() == 100) UpDown1Click();
    else UpDown1->setValue(100);
}

void TFormPictureEditor::SetCanvasSize(int w, int h)
{
    QScrollBar* hb = ScrollBox1->horizontalScrollBar();
    QScrollBar* vb = ScrollBox1->verticalScrollBar();
    const int keptH = hb->value(), keptV = vb->value();
    Engine.SetCanvasSize(w, h);
    Image1->SetViewSize(w, h);
    Engine.RenderCanvas(0, TPenMode::pmCopy);
    repaintView();
    UpDown1Click();
    hb->setValue(keptH);
    vb->setValue(keptV);
}

void TFormPictureEditor::FitToWorkArea()
{
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect g = s->geometry(), a = s->availableGeometry();
    TTaskbar bar;
    bar.AutoHide = true;
    if (a.width() < g.width()) {
        bar.AutoHide = false;
        bar.Edge = a.left() > g.left() ? 0 : 2;
        bar.Rect = QRect(0, 0, g.width() - a.width(), g.height());
    } else if (a.height() < g.height()) {
        bar.AutoHide = false;
        bar.Edge = a.top() > g.top() ? 1 : 3;
        bar.Rect = QRect(0, 0, g.width(), g.height() - a.height());
    }
    const QRect r = FitToWorkAreaRect(g.width(), g.height(), bar);
    // The window's outer size is the fitted size; the frame, once there is one, comes off the inside.
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setFixedSize(r.size() - frame);
    move(g.topLeft() + r.topLeft());
}

void TFormPictureEditor::PaintCanvasView()
{
    Engine.PaintView(Image1->Surface());
    // A shape being dragged stays in view over a fresh picture.
    if (Engine.Dragging) {
        if (Engine.ToolKind == skRectangle || Engine.ToolKind == skEllipse || Engine.ToolKind == skLine)
            Engine.DrawPreview(TPenMode::pmNotXor);
        else if (Engine.ToolKind == skPen)
            Engine.DrawPreview(TPenMode::pmCopy);
        else if (Engine.ToolKind == skRangeDrawing && !Engine.FreeRange)
            Engine.DrawPreview(TPenMode::pmNotXor);
    }
}

void TFormPictureEditor::repaintView()
{
    Image1->Invalidate();
}

void TFormPictureEditor::placeGhosts()
{
    if (Engine.Ghosts.size() != m_ghosts.size()) {
        for (auto& g : m_ghosts)
            if (g) delete g.data();
        m_ghosts.clear();
        for (const TMoveGhost& g : Engine.Ghosts) {
            auto* w = new TGhostImage(Image1, g.Image);
            w->show();
            m_ghosts.emplace_back(w);
        }
    }
    for (size_t i = 0; i < m_ghosts.size(); ++i) {
        const TMoveGhost& g = Engine.Ghosts[i];
        if (!m_ghosts[i]) continue;
        m_ghosts[i]->setGeometry(QRect(Engine.Scale.ToViewPoint(g.Anchor) + Engine.GhostOffset,
                                       QSize(Engine.ToView(g.CanvasSize.width()), Engine.ToView(g.CanvasSize.height()))));
    }
}

// ---------------------------------------------------------------------------------------------
// Keys and wheel

void TFormPictureEditor::FormKeyDown(Word& key, TShiftState shift)
{
    const bool ctrl = shift.testFlag(ShiftFlag::Ctrl);
    const bool shiftDown = shift.testFlag(ShiftFlag::Shift);
    if (ctrl) {
        switch (key) {
        case 'A': // stretch mode of a floating image
        case 'C': // copy the range
        case 'D': // flip mode
        case 'F': // show or hide a floating image
        case 'M': // text input
        case 'S': // rotation mode
        case 'V': // show or commit a floating image
        case 'W': // move to the origin
        case 'X': // cut
            LaterCommand();
            key = 0;
            break;
        case 'Q':
            mmRangeClick(shiftDown);
            key = 0;
            break;
        case 'Z':
            if (shiftDown) sbRedoClick();
            else sbUndoClick();
            key = 0;
            break;
        default: break;
        }
    } else if (key == VK_DELETE && Engine.HasRange()) {
        LaterCommand(); // erase the range
        key = 0;
    }
    if (key == VK_CONTROL) {
        if (Engine.ToolKind == skMove && !Engine.CtrlCopy) Engine.DrawMoveCopies();
        Engine.CtrlCopy = true;
    } else if (key == VK_SHIFT && !Engine.ShiftHeld) {
        if (Engine.ToolKind == skPen || Engine.ToolKind == skMove) {
            if (Engine.AxisLock < 2) Engine.LockOrigin.setX(Engine.CurrentPoint.x());
            if (Engine.AxisLock == 0 || Engine.AxisLock == 2) Engine.LockOrigin.setY(Engine.CurrentPoint.y());
            Engine.AxisLock = 0;
        }
        Engine.ShiftHeld = true;
    } else if (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) {
        ArrowKey(key, shift);
    }
}

void TFormPictureEditor::FormKeyUp(Word& key, TShiftState)
{
    if (key == VK_CONTROL) {
        if (Engine.ToolKind == skMove && Engine.CtrlCopy && MouseHeldOnCanvas) {
            Engine.CtrlCopy = false;
            Engine.RenderCanvas(15, TPenMode::pmCopy);
            repaintView();
        }
        Engine.CtrlCopy = false;
    } else if (key == VK_SHIFT) {
        Engine.ShiftHeld = false;
    }
}

void TFormPictureEditor::ArrowKey(Word& key, TShiftState shift)
{
    int dx = 0, dy = 0;
    switch (key) {
    case VK_LEFT: dx = -1; break;
    case VK_RIGHT: dx = 1; break;
    case VK_UP: dy = -1; break;
    case VK_DOWN: dy = 1; break;
    default: return;
    }
    if (MouseHeldOnCanvas) {
        QCursor::setPos(PointerPos() + QPoint(dx, dy));
        key = 0;
        return;
    }
    if (shift.testFlag(ShiftFlag::Shift)) return;
    QScrollBar* bar = dx != 0 ? ScrollBox1->horizontalScrollBar() : ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() + (dx + dy) * bar->singleStep());
    key = 0;
}

bool TFormPictureEditor::CMMouseWheel(QPoint pos, int delta)
{
    const QRect bounds = ScrollBox1->geometry();
    if (!bounds.contains(pos)) return false;
    const int W = bounds.width(), H = bounds.height();
    const int x = pos.x(), y = pos.y();
    const bool left = x < W / 3, right = x > W - W / 3, top = y < H / 3, bottom = y > H - H / 3;
    const bool up = delta > 0;
    QScrollBar* hb = ScrollBox1->horizontalScrollBar();
    QScrollBar* vb = ScrollBox1->verticalScrollBar();
    const bool roomUp = vb->value() > 0, roomDown = vb->value() < vb->maximum();
    const bool roomLeft = hb->value() > 0, roomRight = hb->value() < hb->maximum();
    auto press = [&](Word k) {
        Word key = k;
        ArrowKey(key, TShiftState());
    };
    if ((top && left) || (bottom && right)) {
        if (up && roomUp && roomLeft) {
            press(VK_UP);
            press(VK_LEFT);
        } else if (!up && roomDown && roomRight) {
            press(VK_DOWN);
            press(VK_RIGHT);
        }
    } else if ((bottom && left) || (top && right)) {
        if (up && roomUp && roomRight) {
            press(VK_UP);
            press(VK_RIGHT);
        } else if (!up && roomDown && roomLeft) {
            press(VK_DOWN);
            press(VK_LEFT);
        }
    } else if (left || right) {
        press(up ? VK_LEFT : VK_RIGHT);
    } else if (top || bottom) {
        press(up ? VK_UP : VK_DOWN);
    } else {
        UpDown1->setValue(UpDown1->value() + (up ? 1 : -1) * UpDown1->singleStep());
    }
    return true;
}

bool TFormPictureEditor::eventFilter(QObject* o, QEvent* e)
{
    // The form watches the whole application (key preview): the canvas's wheel events pass here too.
    if (e->type() == QEvent::Wheel && (o == ScrollBox1->viewport() || o == Image1)) {
        auto* we = static_cast<QWheelEvent*>(e);
        const QPoint pos = pnImage->mapFromGlobal(we->globalPosition().toPoint());
        const int delta = we->angleDelta().y() != 0 ? we->angleDelta().y() : we->angleDelta().x();
        if (CMMouseWheel(pos, delta)) return true;
    }
    return Form::eventFilter(o, e);
}

bool TFormPictureEditor::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        StatusBar1->showMessage(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return Form::event(e);
}

void TFormPictureEditor::changeEvent(QEvent* e)
{
    Form::changeEvent(e);
    // The window has one size: a request to maximise it puts the fitted size back.
    if (e->type() == QEvent::WindowStateChange && (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        FitToWorkArea();
    }
}

void TFormPictureEditor::mmEditClick()
{
    PopupMenu1Popup();
    // The edit menu shows the pop-up menu's items, with the keys as text: the key table does the work.
    mmEdit->clear();
    for (QAction* a : PopupMenu1->actions()) {
        if (a->isSeparator()) {
            QAction* s = mmEdit->addSeparator();
            s->setVisible(a->isVisible());
            continue;
        }
        QAction* c = mmEdit->addAction(a->text());
        c->setEnabled(a->isEnabled());
        c->setVisible(a->isVisible());
        c->setCheckable(a->isCheckable());
        c->setChecked(a->isChecked());
        c->setStatusTip(a->statusTip());
        c->setData(a->data());
        connect(c, &QAction::triggered, a, &QAction::trigger);
    }
}

void TFormPictureEditor::PopupMenu1Popup()
{
    const bool range = Engine.HasRange();
    // No picture has been imported or copied yet: the floating-image items stay off.
    pmPaste2->setEnabled(false);
    pmClose2->setVisible(false);
    pmPaste2->setVisible(true);
    pmByouga2->setEnabled(false);
    for (QAction* a : {mmCut, mmCopy, mmDelete}) {
        a->setVisible(range);
        a->setEnabled(false);
    }
    B5->setVisible(range);
    pmPaste->setEnabled(false);
    pmClose->setVisible(false);
    pmPaste->setVisible(true);
    pmByouga->setEnabled(false);
    B6->setVisible(true);
    for (QAction* a : {pmGenten, pmReform, pmRotate, pmReverse, B7}) a->setVisible(false);
    for (QAction* a : {mmSelectLeft, mmSelectRight, pmMojiByouga}) a->setEnabled(false);
    mmRange->setEnabled(true);
    mmUndo->setEnabled(true);
    mmRedo->setEnabled(true);
    Engine.PopupFlag = true;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TFormPictureEditor::Image1MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (Engine.Dragging) return;
    if (!pnImage->rect().contains(pnImage->mapFromGlobal(Image1->mapToGlobal(QPoint(x, y))))) return;
    pnImage->setFocus();
    // The press tells whether Shift is down, also when its key went to another window.
    Engine.ShiftHeld = shift.testFlag(ShiftFlag::Shift);
    Engine.CurrentPoint = QPoint(x, y);
    Engine.CommitPendingShape(false);
    PaletteChosen = false;
    if (EyedropperMode) {
        pickColourAt(QPoint(x, y));
        return;
    }
    if (button == TMouseButton::mbLeft && imMihon->isVisible()) {
        // The sample underlay is being placed: the canvas takes no drawing meanwhile.
        Engine.PopupFlag = false;
        MessageBeep(MB_ICONASTERISK);
        MessageDlg(imMihon->statusTip(), TMsgDlgType::mtWarning, TMsgButtons::OK, this);
        return;
    }
    Engine.MouseDown(button, QPoint(x, y));
    if (button == TMouseButton::mbLeft && Engine.Dragging) {
        MouseHeldOnCanvas = true;
        tmAutoScroll->SetEnabled(true);
    }
}

void TFormPictureEditor::Image1MouseMove(TShiftState, int x, int y)
{
    // Outside the canvas panel the drag is followed by the auto-scroll instead.
    if (!pnImage->rect().contains(pnImage->mapFromGlobal(Image1->mapToGlobal(QPoint(x, y))))) return;
    Engine.MouseMove(QPoint(x, y));
}

void TFormPictureEditor::Image1MouseUp(TMouseButton button, TShiftState, int x, int y)
{
    if (EyedropperMode) {
        Engine.CurrentPoint = QPoint(x, y);
        // The pick is done: the tool's own cursor comes back with its button.
        SetToolCursorForTool();
        return;
    }
    // Only the button that started a drag ends it.
    if (Engine.Dragging && button != TMouseButton::mbLeft) return;
    Engine.MouseUp(button, QPoint(x, y));
    if (button == TMouseButton::mbLeft) {
        MouseHeldOnCanvas = false;
        tmAutoScroll->SetEnabled(false);
    }
}

void TFormPictureEditor::udPenClick()
{
    Engine.PenSetting = udPen->value();
    Engine.CurveSetting = udLine->value();
    Engine.ReshapeFromSettings();
}

void TFormPictureEditor::pnLastReformClick()
{
    if (Engine.ReformCan) Engine.SetReformState(Engine.ReformCan, !Engine.ReformOn);
}

void TFormPictureEditor::SetReformStateView()
{
    const TColor c = Engine.ReformOn ? kReformGreen : kReformRed;
    pnLastReform->SetColor(c);
    udPen->setStyleSheet(QStringLiteral("QSpinBox { background: %1; }").arg(Css(c)));
    udLine->setStyleSheet(
        QStringLiteral("QSpinBox { background: %1; }").arg(Css(Engine.ToolKind == skLine ? c : kReformRed)));
}

void TFormPictureEditor::sbUndoClick()
{
    Engine.UndoClick();
    Engine.PopupFlag = false;
}

void TFormPictureEditor::sbRedoClick()
{
    Engine.RedoClick();
    Engine.PopupFlag = false;
}

void TFormPictureEditor::UpdateUndoButtons()
{
    sbUndo->setEnabled(Engine.CanUndo());
    sbRedo->setEnabled(Engine.CanRedo());
}


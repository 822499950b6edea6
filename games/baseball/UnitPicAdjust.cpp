#include "UnitPicAdjust.h"

#include "GameHost.h"

#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr TColor kThumbGreen = RGBColor(0, 220, 0);
constexpr TColor kFrameGreen = RGBColor(0, 128, 0);

// Page layout: gloves and the bat in the upper row, the balls in the lower one; the up-downs and the
// page's buttons under the bat.
constexpr int kPitch = 124, kLeft = 12, kBatLeft = kLeft + 4 * kPitch + 16;
constexpr int kUpperTop = 26, kLowerTop = 188, kRadioGap = 114;
constexpr int kClientW = 700, kClientH = 436;

const QString kFormHint = QStringLiteral(
    "【ｷｰﾎﾞｰﾄﾞ操作】<Alt>ページ切替，<Tab>ボタン移動，<Ctrl>画像の選択，<矢印ｷｰ>画像の調節，<F4>OK，<Esc>ｷｬﾝｾﾙ");
const QString kUpDownHint = QStringLiteral("選択している画像のグローブ，バット，ボール位置を調節します。 【ｷｰﾎﾞｰﾄﾞ】矢印キー");
const QString kThumbHint = QStringLiteral("調節する画像です。クリックすると選択できます。 【ｷｰﾎﾞｰﾄﾞ】<Ctrl>");
const QString kRadioHint = QStringLiteral("調節する画像を選択します。 【ｷｰﾎﾞｰﾄﾞ】<Ctrl>");
const QString kInitHint = QStringLiteral("選択している画像の調節位置を，このフォームを開いたときの状態に戻します。");

QPoint thumbPos(int item)
{
    if (item < 4) return {kLeft + kPitch * item, kUpperTop};
    if (item == 4) return {kBatLeft, kUpperTop};
    return {kLeft + kPitch * (item - 5), kLowerTop};
}

// The player picture an item shows: pose 1 for the moving items, 2 and 3 for the left-facing ones.
int poseOf(int item)
{
    switch (item) {
    case 1: case 6: return 1;
    case 2: case 7: return 2;
    case 3: case 8: return 3;
    default: return 0;
    }
}

void setHint(QWidget* w, const QString& hint)
{
    w->setStatusTip(hint);
}

} // namespace

// ---- The up-down ----------------------------------------------------------------------------------

TAdjustUpDown::TAdjustUpDown(QWidget* parent, Qt::Orientation orientation, int increment)
    : QWidget(parent), Increment(increment)
{
    const bool vertical = orientation == Qt::Vertical;
    btNext = new QToolButton(this);
    btPrev = new QToolButton(this);
    btNext->setArrowType(vertical ? Qt::UpArrow : Qt::RightArrow);
    btPrev->setArrowType(vertical ? Qt::DownArrow : Qt::LeftArrow);
    const int len = 24, thick = 26;
    if (vertical) {
        resize(thick, 2 * len);
        btNext->setGeometry(0, 0, thick, len);
        btPrev->setGeometry(0, len, thick, len);
    } else {
        resize(2 * len, thick);
        btPrev->setGeometry(0, 0, len, thick);
        btNext->setGeometry(len, 0, len, thick);
    }
    for (QToolButton* b : {btNext, btPrev}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
    }
    setFocusPolicy(Qt::NoFocus);
    connect(btNext, &QToolButton::clicked, this, [this] { step(+1); });
    connect(btPrev, &QToolButton::clicked, this, [this] { step(-1); });
}

void TAdjustUpDown::SetPosition(int p)
{
    m_position = std::clamp(p, Min, Max);
}

void TAdjustUpDown::step(int sign)
{
    SetPosition(m_position + sign * Increment);
    if (OnClick) OnClick();
}

// ---- The dialog -----------------------------------------------------------------------------------

TFormPicAdjust::TFormPicAdjust(QWidget* owner) : Form(owner)
{
    SetCaption(QStringLiteral("選手画像の調節"));
    SetClientSize(kClientW, kClientH);
    Font.PixelHeight = 13;
    ApplyFont();
    Hint = kFormHint;

    pc1 = new QTabWidget(this);
    pc1->setGeometry(6, 6, kClientW - 12, 364);
    ts0 = new QWidget;
    ts1 = new QWidget;
    pc1->addTab(ts0, QStringLiteral(" 自分の選手 "));
    pc1->addTab(ts1, QStringLiteral(" 相手の選手 "));
    buildPage(0, ts0);
    buildPage(1, ts1);
    btSame0 = new QPushButton(QStringLiteral("相手に合わせる"), ts0);
    btSame1 = new QPushButton(QStringLiteral("自分に合わせる"), ts1);
    setHint(btSame0, QStringLiteral("選択している画像の調節位置を，「相手の選手」の同じ画像に合わせます。"));
    setHint(btSame1, QStringLiteral("選択している画像の調節位置を，「自分の選手」の同じ画像に合わせます。"));
    for (QPushButton* b : {btSame0, btSame1}) {
        b->setGeometry(kBatLeft - 7, 306, 124, 26);
        connect(b, &QPushButton::clicked, this, [this] { btSame0Click(); });
    }
    connect(pc1, &QTabWidget::currentChanged, this, [this](int) { pc1Change(); });

    btOK = new QPushButton(QStringLiteral("OK"), this);
    btCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    btOK->setGeometry(kClientW - 200, 378, 92, 28);
    btCancel->setGeometry(kClientW - 100, 378, 92, 28);
    setHint(btOK, QStringLiteral("操作を確定します。　【ｷｰﾎﾞｰﾄﾞ】<F4>"));
    setHint(btCancel, QStringLiteral("操作を破棄して，このフォームを閉じます。　【ｷｰﾎﾞｰﾄﾞ】<Esc>"));
    connect(btOK, &QPushButton::clicked, this, [this] { btOKClick(); });
    connect(btCancel, &QPushButton::clicked, this, [this] { btCancelClick(); });

    stb1 = new QStatusBar(this);
    stb1->setSizeGripEnabled(false);
    QFont small = stb1->font();
    small.setPixelSize(12);
    stb1->setFont(small);
    // No button is pressed by Enter on its own: the keys are the form's.
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    stb1->setGeometry(0, kClientH - 24, kClientW, 24);

    m_work.SetSize(kThumbSize, kThumbSize);
    if (QWidget* o = parentWidget()) move(o->geometry().center() - QPoint(kClientW / 2, kClientH / 2));
}

void TFormPicAdjust::buildPage(int page, QWidget* ts)
{
    auto label = [&](const QString& text, int x, int y) {
        auto* l = new QLabel(text, ts);
        l->move(x, y);
    };
    label(QStringLiteral("●グローブの位置"), kLeft, 6);
    label(QStringLiteral("●バットの位置"), kBatLeft, 6);
    label(QStringLiteral("●ボールの位置"), kLeft, kLowerTop - 20);
    for (int item = 0; item < kItems; ++item) {
        const QPoint at = thumbPos(item);
        TPaintBox* box = new TPaintBox(ts, kThumbSize, kThumbSize);
        box->SetBounds(at.x(), at.y(), kThumbSize, kThumbSize);
        box->setObjectName(QStringLiteral("im%1%2").arg(page).arg(item));
        setHint(box, kThumbHint);
        box->OnMouseDown = [this, page, item](TMouseButton b, TShiftState, int, int) {
            if (b == TMouseButton::mbLeft) im00Click(page, item);
        };
        im[size_t(page)][size_t(item)] = box;
        const bool left = item == 2 || item == 3 || item == 7 || item == 8;
        auto* r = new QRadioButton(left ? QStringLiteral("左向き") : QStringLiteral("右向き"), ts);
        r->setObjectName(QStringLiteral("rb%1%2").arg(page).arg(item));
        r->move(at.x() + 26, at.y() + kRadioGap);
        setHint(r, kRadioHint);
        connect(r, &QRadioButton::clicked, this, [this, page, item] { rb00Click(page, item); });
        rb[size_t(page)][size_t(item)] = r;
    }
    rb[size_t(page)][0]->setChecked(true);

    auto* h = new TAdjustUpDown(ts, Qt::Horizontal, 1);
    auto* v = new TAdjustUpDown(ts, Qt::Vertical, -1);
    v->move(kBatLeft + 42, kLowerTop);
    h->move(kBatLeft + 31, kLowerTop + 52);
    for (TAdjustUpDown* ud : {h, v}) {
        setHint(ud, kUpDownHint);
        for (QWidget* b : {static_cast<QWidget*>(ud->btNext), static_cast<QWidget*>(ud->btPrev)}) setHint(b, kUpDownHint);
    }
    h->setObjectName(QStringLiteral("udHori%1").arg(page));
    v->setObjectName(QStringLiteral("udVert%1").arg(page));
    h->OnClick = [this, page] { udHori0Click(page, true); };
    v->OnClick = [this, page] { udHori0Click(page, false); };
    udHori[size_t(page)] = h;
    udVert[size_t(page)] = v;

    auto* init = new QPushButton(QStringLiteral("最初に戻す"), ts);
    init->setGeometry(kBatLeft - 7, 274, 124, 26);
    setHint(init, kInitHint);
    connect(init, &QPushButton::clicked, this, [this] { btInit0Click(); });
    btInit[size_t(page)] = init;
}

void TFormPicAdjust::takePictures()
{
    for (int page = 0; page < kPages; ++page) {
        TImageList& list = imlPlayer[size_t(page)];
        list.Clear();
        const TImageList* team = FTeamImages[size_t(page)];
        if (!team) continue;
        const int m = FMirrorIndex[size_t(page)];
        for (int i : {0, 1, m, m + 1})
            if (i >= 0 && i < team->Count()) list.AddMasked(team->Image(i));
    }
    imlGlove.Clear();
    if (FGloveImages)
        for (int i = 0; i < 2 && i < FGloveImages->Count(); ++i) imlGlove.AddMasked(FGloveImages->Image(i));
    auto first = [](const TImageList* list, TBitmap& into) {
        into.SetSize(list ? list->Width() : 1, list ? list->Height() : 1);
        if (list && list->Count() > 0) into.Assign(list->Image(0));
    };
    first(FBatImages, imBat);
    first(FBallImages, imBall);
}

void TFormPicAdjust::FormShow()
{
    takePictures();
    for (int page = 0; page < kPages; ++page)
        for (int item = 0; item < kItems; ++item) DrawThumbnail(page, item, false);
    m_selPage = 0;
    m_selItem = 0;
    pc1->setCurrentIndex(0);
    pc1Change();
    ShowHint(Hint);
}

void TFormPicAdjust::DrawThumbnail(int team, int item, bool selected)
{
    if (team < 0 || team >= kPages || item < 0 || item >= kItems) return;
    TCanvas& c = m_work.Canvas();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = kThumbGreen;
    c.FillRect(0, 0, m_work.Width(), m_work.Height());
    imlPlayer[size_t(team)].Draw(c, 20, 20, poseOf(item));
    const QPoint p = m_origin + FPos[size_t(team)][size_t(item)];
    if (item < 4) imlGlove.Draw(c, p.x(), p.y(), item % 2);
    else if (item == 4) c.Draw(p.x(), p.y(), imBat.Image(), true);
    else c.Draw(p.x() - imBall.Width() / 2, p.y() - imBall.Height() / 2, imBall.Image(), true);
    if (selected) {
        c.Pen.Color = kFrameGreen;
        c.Pen.Width = 3;
        c.Brush.Style = TBrushStyle::bsClear;
        c.Rectangle(1, 1, m_work.Width() - 1, m_work.Height() - 1);
        c.Pen.Width = 1;
        c.Brush.Style = TBrushStyle::bsSolid;
    }
    im[size_t(team)][size_t(item)]->Show(m_work);
}

void TFormPicAdjust::pc1Change()
{
    const int page = pc1->currentIndex() == 1 ? 1 : 0;
    for (int item = 0; item < kItems; ++item) {
        QRadioButton* r = rb[size_t(page)][size_t(item)];
        if (!r->isChecked()) continue;
        r->setFocus();
        rb00Click(page, item);
        return;
    }
}

void TFormPicAdjust::rb00Click(int page, int item)
{
    DrawThumbnail(m_selPage, m_selItem, false);
    m_selPage = page;
    m_selItem = item;
    setUpDowns();
    DrawThumbnail(page, item, true);
}

void TFormPicAdjust::setUpDowns()
{
    const QPoint p = FPos[size_t(m_selPage)][size_t(m_selItem)];
    udHori[size_t(m_selPage)]->SetPosition(p.x());
    udVert[size_t(m_selPage)]->SetPosition(p.y());
}

void TFormPicAdjust::im00Click(int page, int item)
{
    rb[size_t(page)][size_t(item)]->setChecked(true);
    pc1Change();
}

void TFormPicAdjust::udHori0Click(int page, bool horizontal)
{
    QPoint& p = FPos[size_t(m_selPage)][size_t(m_selItem)];
    if (horizontal) p.setX(udHori[size_t(page)]->Position());
    else p.setY(udVert[size_t(page)]->Position());
    DrawThumbnail(m_selPage, m_selItem, true);
}

void TFormPicAdjust::btInit0Click()
{
    FPos[size_t(m_selPage)][size_t(m_selItem)] = FInitPos[size_t(m_selPage)][size_t(m_selItem)];
    // The up-downs follow, so that the next step starts from where the item now is.
    setUpDowns();
    DrawThumbnail(m_selPage, m_selItem, true);
}

void TFormPicAdjust::btSame0Click()
{
    FPos[size_t(m_selPage)][size_t(m_selItem)] = FPos[size_t(1 - m_selPage)][size_t(m_selItem)];
    setUpDowns();
    DrawThumbnail(m_selPage, m_selItem, true);
}

void TFormPicAdjust::btOKClick()
{
    SetModalResult(mrOk);
}

void TFormPicAdjust::btCancelClick()
{
    SetModalResult(mrCancel);
}

void TFormPicAdjust::dialogKey(Word key)
{
    const size_t page = pc1->currentIndex() == 1 ? 1 : 0;
    TAdjustUpDown* ud = key == VK_LEFT || key == VK_RIGHT ? udHori[page] : udVert[page];
    const int sign = key == VK_RIGHT || key == VK_UP ? 1 : -1;
    ud->SetPosition(ud->Position() + sign * ud->Increment);
    udHori0Click(int(page), ud == udHori[page]);
}

void TFormPicAdjust::FormKeyDown(Word& key, TShiftState)
{
    switch (key) {
    case VK_CONTROL: {
        const size_t page = size_t(m_selPage);
        rb[page][size_t((m_selItem + 1) % kItems)]->setChecked(true);
        pc1Change();
        return;
    }
    case VK_MENU:
        pc1->setCurrentIndex(pc1->currentIndex() == 1 ? 0 : 1);
        key = 0;
        return;
    case VK_ESCAPE:
        btCancelClick();
        key = 0;
        return;
    case VK_F4:
        btOKClick();
        key = 0;
        return;
    case VK_F1:
        if (GameHostOrNull()) GameHost().ShowHelp(this);
        return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        // The page tabs, when they have the focus, turn the pages with the arrows themselves.
        if (qobject_cast<QTabBar*>(focusWidget())) return;
        dialogKey(key);
        key = 0;
        return;
    default:
        return;
    }
}

void TFormPicAdjust::FormKeyPress(QChar& key)
{
    if (ModalResult() == mrCancel) key = QChar();
}

void TFormPicAdjust::FormKeyUp(Word& key, TShiftState)
{
    if (key == VK_TAB) placeCursorOnFocus();
}

void TFormPicAdjust::placeCursorOnFocus()
{
    QWidget* w = focusWidget();
    if (!w) return;
    if (qobject_cast<QTabBar*>(w) || w == pc1) {
        QCursor::setPos(pc1->mapToGlobal(QPoint(6, 18)));
        return;
    }
    QCursor::setPos(w->mapToGlobal(QPoint(w->width() - 8, w->height() - 8)));
}

void TFormPicAdjust::ShowHint(const QString& hint)
{
    stb1->showMessage(hint);
}

QString TFormPicAdjust::StatusText() const
{
    return stb1->currentMessage();
}

bool TFormPicAdjust::eventFilter(QObject* o, QEvent* e)
{
    // The hint of the control under the mouse, or of the nearest of its parents that has one, goes
    // into the status bar; the form's own hint stands for every control without one. Moves count as
    // well as entries: every move passes the application's filters, tracked or not.
    if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && (w == this || isAncestorOf(w))) {
            QString hint;
            for (QWidget* p = w; p && p != this && hint.isEmpty(); p = p->parentWidget()) hint = p->statusTip();
            if (hint.isEmpty()) hint = Hint;
            if (hint != StatusText()) ShowHint(hint);
        }
    }
    return Form::eventFilter(o, e);
}

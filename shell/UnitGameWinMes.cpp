#include "UnitGameWinMes.h"

#include "Clock.h"
#include "GameRandom.h"
#include "SheetLoader.h"
#include "UnitGame.h"
#include <QGuiApplication>
#include <QScreen>

TFormGameWinMes* FormGameWinMes = nullptr;

namespace {
constexpr int kW = 340;
constexpr int kH = 240;
}

TFormGameWinMes::TFormGameWinMes(QWidget* parent) : Form(parent)
{
    SetClientSize(kW, kH);
    Font.Name = QStringLiteral("ＭＳ ゴシック");
    Font.SetHeight(-15);
    ApplyFont();
    KeyPreview = true;

    imOmote = new TPaintBox(this, kW, kH);
    imOmote->SetBounds(0, 0, kW, kH);
    imOmote->OnPaint = [this] { imOmotePaint(); };
    imOmote->OnMouseMove = [this](TShiftState s, int x, int y) { imOmoteMouseMove(s, x, y); };
    imOmote->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { imOmoteMouseUp(b, s, x, y); };

    imHaikeiW.Assign(ResourceBitmap(QStringLiteral("HAIKEIW")));
    imHaikeiL.Assign(ResourceBitmap(QStringLiteral("HAIKEIL")));
    imHaikeiT.Assign(ResourceBitmap(QStringLiteral("HAIKEIT")));
    for (TBitmap* b : {&imHaikeiW, &imHaikeiL, &imHaikeiT})
        if (b->Empty()) b->SetSize(kW, kH);
    imlEffect.AddMasked(ResourceBitmap(QStringLiteral("EFFECT0")));
    imlEffect.AddMasked(ResourceBitmap(QStringLiteral("EFFECT1")));
    imlFire.AddMasked(ResourceBitmap(QStringLiteral("FIRE0")));
    imlFire.AddMasked(ResourceBitmap(QStringLiteral("FIRE1")));

    btClose = new QPushButton(QStringLiteral("閉じる"), this);
    btClose->setGeometry(125, 203, 90, 28);
    btClose->setAutoDefault(false);
    connect(btClose, &QPushButton::clicked, this, &TFormGameWinMes::btCloseClick);

    Timer1 = new GameTimer(this, 150, false);
    Timer1->OnTimer = [this] { Timer1Timer(); };

    // FormCreate
    btClose->setToolTip(QStringLiteral("このフォームを閉じます。　【ｷｰﾎﾞｰﾄﾞ】<F4>, <Esc>"));
    m_back.SetSize(kW, kH);
    m_frame = 0;
}

TFormGameWinMes::~TFormGameWinMes()
{
    if (FormGameWinMes == this) FormGameWinMes = nullptr;
}

void TFormGameWinMes::FormShow()
{
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        move(g.left() + (g.width() - frameGeometry().width()) / 2, g.top() + (g.height() - frameGeometry().height()) / 2);
    }
    MakeTeamImages();
    if (FormGame) {
        Font = FormGame->Font;
        ApplyFont();
    }
    m_linkText.clear();
    m_linkRect = QRect();
    m_overLink = false;
    if (FGameNo == gnBaseBall) m_linkText = QStringLiteral("打撃データ表示");
    else if (FGameNo == gnSoccer && ResultLinks().CanSaveReplay && ResultLinks().CanSaveReplay())
        m_linkText = QStringLiteral("ﾘﾌﾟﾚｲ手動保存");
    TCanvas& c = m_back.Canvas();
    c.Font.Name = QStringLiteral("ＭＳ ゴシック");
    c.Font.SetSize(10);
    if (!m_linkText.isEmpty()) {
        const int tw = c.TextWidth(m_linkText), th = c.TextHeight(m_linkText);
        m_linkRect = QRect(QPoint(kW - tw - 8, kH - th - 12), QPoint(kW - 8 - 1, kH - 12 - 1));
    }
    m_codePos = QPoint(8, kH - c.TextHeight(FCodeText) - 12);
    Timer1->SetEnabled(true);
    DrawScreen();
}

void TFormGameWinMes::FormClose(TCloseAction&)
{
    Timer1->SetEnabled(false);
}

void TFormGameWinMes::MakeTeamImages()
{
    TBitmap my, aite;
    if (FormGame) FormGame->LoadTeamPictures(my, aite);
    // The two players face each other: mine looks right first, the opponent's left first.
    imlA.Clear();
    AddSheetFrame(imlA, my, FMyPlayerIndex, 0);
    AddSheetFrame(imlA, my, FMyPlayerIndex, 1);
    AddSheetFrame(imlA, my, FMyPlayerIndex, 0, TFrameTurn::Mirror);
    AddSheetFrame(imlA, my, FMyPlayerIndex, 1, TFrameTurn::Mirror);
    imlB.Clear();
    AddSheetFrame(imlB, aite, FAitePlayerIndex, 0, TFrameTurn::Mirror);
    AddSheetFrame(imlB, aite, FAitePlayerIndex, 1, TFrameTurn::Mirror);
    AddSheetFrame(imlB, aite, FAitePlayerIndex, 0);
    AddSheetFrame(imlB, aite, FAitePlayerIndex, 1);
}

void TFormGameWinMes::DrawScreen()
{
    TCanvas& c = m_back.Canvas();
    const int p = m_frame % 2;
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Name = Font.Name;
    c.Font.Bold = false;

    TColor textColor = clBlue;
    auto centred = [&](const QString& text, int size, int y, TColor colour) {
        c.Font.SetSize(size);
        const int x = (kW - c.TextWidth(text)) / 2;
        c.Font.Color = clYellow;
        c.TextOut(x + 2, y, text);
        c.Font.Color = colour;
        c.TextOut(x, y, text);
    };
    auto texts = [&](TColor colour, bool subAlways) {
        textColor = colour;
        if (!FSubText.isEmpty() || subAlways) {
            centred(FMainText, 28, 24, colour);
            centred(FSubText, 18, 70, colour);
        } else {
            centred(FMainText, 28, 32, colour);
        }
    };

    switch (FScreenKind) {
    case 0: {
        c.Draw(0, 0, imHaikeiW);
        texts(clBlue, false);
        imlA.Draw(c, 60, 110 - 10 * p, p);
        imlB.Draw(c, 200, 110, 0);
        const int a = LcgRandom(2), b = LcgRandom(2), cc = LcgRandom(2), d = LcgRandom(2);
        imlEffect.Draw(c, 40 - 5 * a, 100 + 5 * b, 1);
        imlEffect.Draw(c, 130 - 5 * cc, 110 + 5 * d, 1);
        imlEffect.Draw(c, 265, 105, 0);
        break;
    }
    case 1: {
        c.Draw(0, 0, imHaikeiL);
        texts(clBlack, false);
        imlA.Draw(c, 60, 110, 0);
        imlB.Draw(c, 200, 110 - 10 * p, p);
        const int a = LcgRandom(2), b = LcgRandom(2), cc = LcgRandom(2), d = LcgRandom(2);
        imlEffect.Draw(c, 45, 105, 0);
        imlEffect.Draw(c, 270 + 5 * a, 100 + 5 * b, 1);
        imlEffect.Draw(c, 180 + 5 * cc, 110 + 5 * d, 1);
        break;
    }
    default:
        c.Draw(0, 0, imHaikeiT);
        texts(clGreen, true);
        imlA.Draw(c, 60, 110, 0);
        imlB.Draw(c, 200, 110, 0);
        imlFire.Draw(c, 150, 130, p);
        break;
    }

    c.Font.Name = QStringLiteral("ＭＳ ゴシック");
    c.Font.SetSize(10);
    c.Font.Color = textColor;
    c.TextOut(m_codePos.x(), m_codePos.y(), FCodeText);
    if (!m_linkText.isEmpty()) {
        c.Font.Color = m_overLink ? clYellow : clWindowText;
        c.TextOut(m_linkRect.left(), m_linkRect.top(), m_linkText);
    }
    imOmote->Show(m_back);
}

void TFormGameWinMes::Timer1Timer()
{
    DrawScreen();
    ++m_frame;
}

void TFormGameWinMes::imOmotePaint()
{
    if (isVisible()) DrawScreen();
}

void TFormGameWinMes::imOmoteMouseMove(TShiftState, int x, int y)
{
    m_overLink = m_linkRect.contains(x, y);
}

void TFormGameWinMes::imOmoteMouseUp(TMouseButton, TShiftState, int, int)
{
    if (!m_overLink) return;
    if (FGameNo == gnBaseBall && ResultLinks().ShowGameRecord) ResultLinks().ShowGameRecord();
    else if (FGameNo == gnSoccer && ResultLinks().SaveReplayManually) ResultLinks().SaveReplayManually();
}

void TFormGameWinMes::FormKeyDown(Word& key, TShiftState)
{
    if (key == VK_ESCAPE || key == VK_F4) {
        btClose->click();
        key = 0;
    } else if (key == VK_F1) {
        if (FormGame) FormGame->ShowHelp(this);
    }
}

void TFormGameWinMes::btCloseClick()
{
    Close();
}

#include "UnitMato.h"

#include "HenkanJ.h"
#include "SheetLoader.h"

#include <cmath>

TFormMato* FormMato = nullptr;

using namespace mato;

namespace {

constexpr int kMyKickerX = 80, kAiteKickerX = 340, kKickerY = 460;
// The opponent's balls are drawn this far left of their track.
constexpr int kAiteBallShift = 20;
const TColor kShadowGrey = RGBColor(128, 128, 128);

} // namespace

const TQuickGameTable& TFormMato::Row()
{
    static const TQuickGameTable row = [] {
        TQuickGameTable t;
        t.GameNo = 5;
        t.RandomBlock = 30;
        t.Interval = 100;
        t.OpeningTicks = 40;
        t.FieldSize = QSize(630, 610);
        t.ClientSize = QSize(630, 647);
        t.OptionLabel = QStringLiteral("決勝点");
        t.OptionItems = {QStringLiteral("１０点"), QStringLiteral("２０点"), QStringLiteral("３０点")};
        t.OptionValues = {TMatoGame::kWinOptions[0], TMatoGame::kWinOptions[1], TMatoGame::kWinOptions[2]};
        t.DefaultItem = 0;
        t.OptionRefusal = QStringLiteral("決勝点を変更できるのは，オープニングのときだけです。");
        t.HasAuto = true;
        t.SwallowWheel = true;
        return t;
    }();
    return row;
}

TFormMato::TFormMato(QWidget* owner) : TQuickGameForm(owner, Row())
{
    imMato.LoadFromResourceName(QStringLiteral("MATO_HAIKEI"));
    if (imMato.Empty()) imMato.SetSize(630, 610);
    LoadSprite(imFlower1, "MATO_FLOWER1");
    LoadSprite(imFlower2, "MATO_FLOWER2");
    LoadPictureStrip(imlMato, QStringLiteral("MATO_MATO"));
    LoadPictureStrip(imlBall, QStringLiteral("MATO_BALL"));
    LoadPictureStrip(imlBallB, QStringLiteral("MATO_BALLB"));
    // The flash of a hit joins the two flames.
    imlFire.AddMasked(ResourceBitmap(QStringLiteral("MATO_HIT")));
    makeSprites();

    ShareServices(m_game);
    m_game.Sound = [this](TMatoSound s) {
        switch (s) {
        case TMatoSound::Kick: return PlayEffect(QStringLiteral("KICK"), SndAsync | SndNoStop);
        case TMatoSound::Tackle: return PlayEffect(QStringLiteral("TACKLE"));
        case TMatoSound::Cheer: return PlayCheer(SndAsync | SndNoStop);
        }
        return false;
    };
    m_game.AutoOn = [this] { return cbAuto->isChecked(); };
    m_game.Draw = [this] { DrawScene(); };
}

TFormMato::~TFormMato()
{
    if (FormMato == this) FormMato = nullptr;
}

void TFormMato::makeSprites()
{
    MakeEllipseSprite(m_ballShadow, 18, 6, kShadowGrey, kShadowGrey);
    for (int s = 0; s < 3; ++s) MakeEllipseSprite(m_targetShadow[s], 20 + 10 * s, 6, kShadowGrey, kShadowGrey);
}

void TFormMato::MakeTeamImages()
{
    TBitmap sheets[2];
    LoadSheets(sheets[0], sheets[1]);
    int shown[2] = {0, 0};
    for (int side = 0; side < 2; ++side) {
        const int players = std::max(1, SheetPlayerCount(sheets[side]));
        shown[side] = RandomInt(players);
    }
    ShowResultPlayers(shown[0], shown[1]);
    // Mine faces right (frames first), the opponent's faces left (mirrored frames first).
    imlA.Clear();
    AddSheetFrame(imlA, sheets[0], shown[0], 0);
    AddSheetFrame(imlA, sheets[0], shown[0], 1);
    AddSheetFrame(imlA, sheets[0], shown[0], 0, TFrameTurn::Mirror);
    AddSheetFrame(imlA, sheets[0], shown[0], 1, TFrameTurn::Mirror);
    imlB.Clear();
    AddSheetFrame(imlB, sheets[1], shown[1], 0, TFrameTurn::Mirror);
    AddSheetFrame(imlB, sheets[1], shown[1], 1, TFrameTurn::Mirror);
    AddSheetFrame(imlB, sheets[1], shown[1], 0);
    AddSheetFrame(imlB, sheets[1], shown[1], 1);
}

void TFormMato::GameReset()
{
    MakeTitle(32);
    m_game.Start();
}

void TFormMato::GameTick()
{
    if (m_game.Step()) EndGame(m_game.MyWin());
}

void TFormMato::Kick()
{
    m_game.UserKick();
}

void TFormMato::GameKeyDown(Word& key, TShiftState)
{
    if (key != VK_RETURN || OptionListOpen()) return;
    Kick();
    key = 0;
}

void TFormMato::imOmoteMouseDown(TMouseButton button, TShiftState, int, int)
{
    if (button == TMouseButton::mbLeft) Kick();
}

int TFormMato::DrawnBallY(int team, int x, int y, int state)
{
    if (state == bsHit) return y;
    const double dx = x;
    // Near the kicker or past the line the ball comes down to its track; in between it flies high.
    const bool nearEnd = team == 0 ? (x <= 130 || y < kLineY) : (x >= 360 || y < kLineY);
    if (nearEnd) {
        if (y > 68) return y;
        return team == 0 ? int(std::trunc(0.078125 * dx * dx - 43 * dx + 5868))
                         : int(std::trunc(0.078125 * dx * dx - 33.6 * dx + 3571));
    }
    return team == 0 ? int(std::trunc(0.065 * dx * dx - 28 * dx + 3072)) : int(std::trunc(0.0648 * dx * dx - 35.65 * dx + 4958));
}

void TFormMato::DrawScene()
{
    TCanvas& c = m_back.Canvas();
    CopyToBack(imMato);
    c.Draw(14, 352, imFlower1);
    c.Draw(14, 556, imFlower2);
    if (Opening()) {
        const int tick = TickCount();
        DrawTitle(220);
        DrawShadow(230, 420);
        DrawShadow(330, 420);
        imlA.Draw(c, 230, 420, 0);
        imlB.Draw(c, 330, 420, 0);
        imlFire.Draw(c, 300, 430, (tick / 2) % 2);
        for (int k = 0; k < std::min(6, CheerFigureCount()); ++k) DrawFigure(k, 55 + 90 * k, 300, (tick / 2) % 2);
    } else {
        drawPlay();
    }
    ShowBackBuffer();
}

void TFormMato::drawPlay()
{
    TCanvas& c = m_back.Canvas();
    const TMatoGame& g = m_game;
    const int tick = g.Tick;

    // Shadows on the ground under the targets and the balls.
    for (const TMato& t : g.Targets)
        if (t.State != msWaiting) c.Draw(t.X + 23 - (10 + 5 * (t.Kind % 3)), 112, m_targetShadow[t.Kind % 3]);
    for (int team = 0; team < 2; ++team)
        for (const mato::TPlayer& b : g.Balls[team]) c.Draw(b.X + 1 - (team ? kAiteBallShift : 0), b.Y + 16, m_ballShadow);

    // The targets; a hit one bounces.
    for (const TMato& t : g.Targets) {
        const int hop = t.State == msHit && tick % 2 ? -5 : 0;
        imlMato.Draw(c, t.X, t.Y + hop, t.Kind);
    }

    // The kickers, then the balls in front of them.
    const int jump = g.Decided() && tick % 2 ? -15 : 0;
    DrawShadow(kMyKickerX, kKickerY);
    DrawShadow(kAiteKickerX, kKickerY);
    imlA.Draw(c, kMyKickerX, kKickerY + (g.Winner == 0 ? jump : 0), tick % 2);
    imlB.Draw(c, kAiteKickerX, kKickerY + (g.Winner == 1 ? jump : 0), tick % 2);
    for (const mato::TPlayer& b : g.Balls[0]) imlBall.Draw(c, b.X, DrawnBallY(0, b.X, b.Y, b.State), b.Frame);
    for (const mato::TPlayer& b : g.Balls[1])
        imlBallB.Draw(c, b.X - kAiteBallShift, DrawnBallY(1, b.X, b.Y, b.State), b.Frame);

    drawFigures();

    // The flash of a hit at the line point, on the tick after it.
    if (g.Flash > 8) imlFire.Draw(c, kLineX - 15, kLineY - 15, 2);
    if (g.SuddenDeath()) {
        c.Brush.Style = TBrushStyle::bsClear;
        c.Font.SetSize(20);
        c.Font.Color = clRed;
        c.TextOut(475, 170, QStringLiteral("サドンデス"));
        c.Brush.Style = TBrushStyle::bsSolid;
    }
    if (g.Decided()) DrawGoalBanner(m_back.Width() - 30 * g.EndCount, 160);
    drawScores();
}

void TFormMato::drawFigures()
{
    const TMatoGame& g = m_game;
    const int figures = std::min(6, CheerFigureCount());
    for (int k = 0; k < figures; ++k) {
        const int x = k % 2 == 0 ? 545 : 465, y = 250 + 45 * k;
        if (g.Decided() && !g.MyWin()) DrawFigureSad(k, x, y);
        else if (g.Decided() || g.MyBallHit()) DrawFigureJumping(k, x, y, g.Tick % 2);
        else DrawFigure(k, x, y, RandomInt(2));
    }
}

void TFormMato::drawScores()
{
    TCanvas& c = m_back.Canvas();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.SetSize(30);
    const TColor colours[2] = {RGBColor(20, 60, 170), RGBColor(170, 30, 40)};
    const int centres[2] = {140, 350};
    for (int team = 0; team < 2; ++team) {
        const QString text = HanToZen(QString::number(m_game.Score[team])) + QStringLiteral("点");
        const int x = centres[team] - c.TextWidth(text) / 2, y = 548;
        c.Font.Color = RGBColor(255, 254, 255);
        for (int d = -2; d <= 2; d += 4) {
            c.TextOut(x + d, y, text);
            c.TextOut(x, y + d, text);
        }
        c.Font.Color = colours[team];
        c.TextOut(x, y, text);
    }
    c.Brush.Style = TBrushStyle::bsSolid;
}

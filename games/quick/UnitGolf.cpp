#include "UnitGolf.h"

#include "SheetLoader.h"

#include <algorithm>
#include <cmath>

using namespace golf;

TFormGolf* FormGolf = nullptr;

namespace {

const TColor kGroundColor = RGBColor(0x66, 0xEE, 0x66);
const TColor kCupEdge = clGreen;
const TColor kMarkEdge = RGBColor(20, 90, 30);
constexpr int kCupDrawRadius = 14;
constexpr int kSmallBall = 4; // the small ball of the putt count in imlBall
constexpr int kRollFrames = 4;

} // namespace

const TQuickGameTable& TFormGolf::Row()
{
    static const TQuickGameTable row = [] {
        TQuickGameTable t;
        t.GameNo = gnGolf;
        t.RandomBlock = 50;
        t.Interval = 100;
        t.OpeningTicks = 40;
        t.FieldSize = QSize(kFieldWidth, kFieldHeight);
        t.ClientSize = QSize(kFieldWidth, kFieldHeight + 33);
        t.OptionLabel = QStringLiteral("ホール数");
        t.OptionItems = {QStringLiteral("５Ｈ"), QStringLiteral("７Ｈ"), QStringLiteral("９Ｈ"), QStringLiteral("１１Ｈ"),
                         QStringLiteral("１５Ｈ")};
        t.OptionValues.assign(std::begin(TGolfMatch::kHoleOptions), std::end(TGolfMatch::kHoleOptions));
        t.DefaultItem = TGolfMatch::kDefaultOption;
        t.OptionRefusal = QStringLiteral("ホール数を変更できるのは，オープニングのときだけです。");
        t.HasAuto = true;
        t.SwallowWheel = true;
        return t;
    }();
    return row;
}

TFormGolf::TFormGolf(QWidget* owner) : TQuickGameForm(owner, Row())
{
    imGround.LoadFromResourceName(QStringLiteral("GOLF_GROUND"));
    if (imGround.Empty()) {
        imGround.SetSize(kFieldWidth, kFieldHeight);
        imGround.Canvas().Brush.Color = kGroundColor;
        imGround.Canvas().FillRect(0, 0, kFieldWidth, kFieldHeight);
    }
    LoadSprite(imHata, "GOLF_HATA", QSize(360, 92));
    LoadSprite(imPatter, "GOLF_PATTER", QSize(36, 40));
    LoadSprite(imQuiet, "GOLF_QUIET", QSize(52, 64));
    LoadSprite(imMount0, "GOLF_MOUNT0", QSize(320, 320));
    LoadSprite(imMount1, "GOLF_MOUNT1", QSize(240, 240));
    LoadPictureStrip(imlBall, QStringLiteral("GOLF_BALL"));
    makeCup();

    ShareServices(m_match);
    m_match.Sound = [this](TGolfSound s) {
        switch (s) {
        case TGolfSound::Pat: PlayEffect(QStringLiteral("GOLFPAT")); break;
        case TGolfSound::In: PlayEffect(QStringLiteral("GOLFIN")); break;
        case TGolfSound::Change: PlayEffect(QStringLiteral("CHANGE")); break;
        case TGolfSound::Cheer: PlayCheer(); break;
        }
    };
    m_match.AutoChecked = [this] { return cbAuto && cbAuto->isChecked(); };
}

// The cup, drawn once: a white circle with a green edge on a ground of its own transparent colour
// (white is the cup's own).
void TFormGolf::makeCup()
{
    const int side = 2 * kCupDrawRadius + 1;
    m_cup.SetSize(side, side);
    TCanvas& c = m_cup.Canvas();
    c.Brush.Color = clFuchsia;
    c.FillRect(0, 0, side, side);
    c.Pen.Color = kCupEdge;
    c.Pen.Width = 2;
    c.Brush.Color = clWhite;
    c.Ellipse(0, 0, side, side);
    m_cup.TransparentColor = clFuchsia;
    m_cup.Transparent = true;
}

TFormGolf::~TFormGolf()
{
    if (FormGolf == this) FormGolf = nullptr;
}

void TFormGolf::MakeTeamImages()
{
    TBitmap sheets[2];
    LoadSheets(sheets[0], sheets[1]);
    TImageList* lists[2] = {&imlA, &imlB};
    int shown[2] = {0, 0};
    for (int side = 0; side < 2; ++side) {
        const int player = RandomInt(std::max(1, SheetPlayerCount(sheets[side])));
        shown[side] = player;
        TImageList& list = *lists[side];
        list.Clear();
        AddSheetFrame(list, sheets[side], player, 0);
        AddSheetFrame(list, sheets[side], player, 1);
        AddSheetFrame(list, sheets[side], player, 0, TFrameTurn::Mirror);
        AddSheetFrame(list, sheets[side], player, 1, TFrameTurn::Mirror);
    }
    ShowResultPlayers(shown[0], shown[1]);
}

void TFormGolf::GameReset()
{
    MakeTitle(32);
    m_match.Start();
    m_ballFrame = 0;
}

void TFormGolf::GameTick()
{
    if (m_match.Tick()) {
        EndGame(m_match.Won());
        return;
    }
    DrawScene();
}

// ---------------------------------------------------------------------------------------------
// Input. The rules decide whose turn it is and what the input means then.

void TFormGolf::GameKeyDown(Word& key, TShiftState)
{
    int qtKey = 0;
    switch (key) {
    case '1': case VK_NUMPAD1: qtKey = Qt::Key_1; break;
    case '2': case VK_NUMPAD2: qtKey = Qt::Key_2; break;
    case '3': case VK_NUMPAD3: qtKey = Qt::Key_3; break;
    case VK_RETURN: qtKey = Qt::Key_Return; break;
    default: return;
    }
    m_match.KeyDown(qtKey);
    key = 0;
}

void TFormGolf::imOmoteMouseDown(TMouseButton button, TShiftState, int x, int y)
{
    if (button == TMouseButton::mbLeft) m_match.MouseDown(x, y);
}

void TFormGolf::imOmoteMouseMove(TShiftState, int x, int y)
{
    m_match.MouseMove(x, y);
}

void TFormGolf::imOmoteMouseUp(TMouseButton button, TShiftState, int x, int y)
{
    if (button == TMouseButton::mbLeft) m_match.MouseUp(x, y);
}

// ---------------------------------------------------------------------------------------------
// The scene.

TGolfPen TFormGolf::MakePen(int width, TColor color, TPenStyle style)
{
    return TGolfPen{width, color, style};
}

void TFormGolf::penLine(const TGolfPen& pen, QPoint from, QPoint to)
{
    TCanvas& c = m_back.Canvas();
    const TPen keep = c.Pen;
    c.Pen.Color = pen.Color;
    c.Pen.Width = pen.Width;
    c.Pen.Style = TPenStyle::psSolid;
    const double dx = to.x() - from.x(), dy = to.y() - from.y();
    const double len = std::hypot(dx, dy);
    if (pen.Style == TPenStyle::psSolid || len < 1) {
        c.MoveTo(from.x(), from.y());
        c.LineTo(to.x(), to.y());
    } else {
        // Dashes as long as three pen widths, with gaps as long; the round caps close each gap
        // by a pen width.
        const double dash = 3.0 * pen.Width, period = 2 * dash;
        auto at = [&](double s) { return QPoint(int(std::nearbyint(from.x() + dx * s / len)), int(std::nearbyint(from.y() + dy * s / len))); };
        for (double s = 0; s < len; s += period) {
            const QPoint a = at(s), b = at(std::min(len, s + dash));
            c.MoveTo(a.x(), a.y());
            c.LineTo(b.x(), b.y());
        }
    }
    c.Pen = keep;
}

void TFormGolf::outlinedText(int x, int y, const QString& text, TColor face, TColor edge)
{
    TCanvas& c = m_back.Canvas();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Color = edge;
    for (int oy = -2; oy <= 2; oy += 2)
        for (int ox = -2; ox <= 2; ox += 2)
            if (ox || oy) c.TextOut(x + ox, y + oy, text);
    c.Font.Color = face;
    c.TextOut(x, y, text);
    c.Brush.Style = TBrushStyle::bsSolid;
}

void TFormGolf::DrawScene()
{
    CopyToBack(imGround);
    if (Opening()) {
        drawOpening();
    } else {
        drawGreen();
        drawAimLine();
        const TPlayer& ball = m_match.Ball;
        if (ball.State >= bsRolling && ball.State <= bsRollingPast && ball.Speed > 0) m_ballFrame = (m_ballFrame + 1) % kRollFrames;
        imlBall.Draw(m_back.Canvas(), ball.x - 7, ball.y - 7, m_ballFrame);
        drawTeeArea();
        drawMarks();
        if (m_match.FEndCount >= 0) drawHoleEnd();
    }
    ShowBackBuffer();
}

void TFormGolf::drawOpening()
{
    TCanvas& c = m_back.Canvas();
    const int phase = TickCount() % 2;
    DrawTitle(260);
    c.Draw(100, 40, imHata);
    DrawShadow(190, 440);
    DrawShadow(290, 440);
    for (int k = 0; k < std::min(6, CheerFigureCount()); ++k) DrawFigure(k, 10 + 90 * k, 140, phase);
    imlFire.Draw(c, 260, 450, phase);
    imlA.Draw(c, 190, 440, 0);
    imlB.Draw(c, 290, 440, 2);
}

void TFormGolf::drawGreen()
{
    TCanvas& c = m_back.Canvas();
    const TGreen& g = m_match.Green;
    // Where the hills overlap the ball feels the first one, so it is drawn on top.
    for (int h = 1; h >= 0; --h) {
        if (!g.HillFelt(h)) continue;
        const THill& hill = g.Hills[h];
        c.Draw(hill.x - hill.radius, hill.y - hill.radius, hill.radius == 160 ? imMount0 : imMount1);
    }
    c.Draw(g.CupX - kCupDrawRadius, g.CupY - kCupDrawRadius, m_cup);
}

void TFormGolf::drawAimLine()
{
    if (!m_match.AimLineShown()) return;
    const TGolfPen pen = MakePen(3, clYellow, m_match.AimLineSolid() ? TPenStyle::psSolid : TPenStyle::psDash);
    penLine(pen, QPoint(m_match.FAimX, m_match.FAimY), QPoint(m_match.Ball.TeeX, m_match.Ball.TeeY));
}

// The putting team's player stands left of the tee; the putter and the quiet sign show while the
// ball waits for its putt.
void TFormGolf::drawTeeArea()
{
    TCanvas& c = m_back.Canvas();
    const TPlayer& ball = m_match.Ball;
    if (m_match.BallWaiting()) {
        c.Draw(ball.x - 27, ball.y - 26, imPatter);
        c.Draw(ball.TeeX + 34, ball.TeeY - 60, imQuiet);
    }
    const int px = ball.TeeX - 75, py = ball.TeeY - 62;
    DrawShadow(px, py);
    const bool followThrough = ball.State == bsRolling || ball.State == bsRollingPast;
    (m_match.FTurnTeam == 0 ? imlA : imlB).Draw(c, px, py, followThrough ? 1 : 0);
}

// Both teams' holes ("●" won, "○" still needed) in the lower right, and one small ball per putt
// on this green along the bottom edge.
void TFormGolf::drawMarks()
{
    TCanvas& c = m_back.Canvas();
    c.Font.SetSize(15);
    c.Font.Bold = false;
    const QString names[2] = {QStringLiteral("自分 "), QStringLiteral("相手 ")};
    for (int team = 0; team < 2; ++team)
        outlinedText(kMarksX, kMarksY + 24 * team, names[team] + m_match.HoleMarks(team), clWhite, kMarkEdge);
    const int room = (kMarksX - 10 - 6) / 14;
    for (int i = 0; i < std::min(m_match.FPuttNo, room); ++i) imlBall.Draw(c, 6 + 14 * i, kFieldHeight - 14, kSmallBall);
}

// A ball has dropped in: the banner slides in from the right, the hole's number, and the user's
// supporters jump when his team holed, or hang their heads.
void TFormGolf::drawHoleEnd()
{
    TCanvas& c = m_back.Canvas();
    const int end = m_match.FEndCount;
    const int centred = (kFieldWidth - m_goalBmp.Width()) / 2;
    DrawGoalBanner(std::max(centred, kFieldWidth - 30 * end), kBannerY);
    c.Font.SetSize(40);
    c.Font.Bold = true;
    const QString title = m_match.HoleTitle();
    outlinedText((kFieldWidth - c.TextWidth(title)) / 2, kHoleTitleY, title, clBlue, clYellow);
    c.Font.Bold = false;
    const bool mine = m_match.FTurnTeam == 0;
    for (int k = 0; k < std::min(6, CheerFigureCount()); ++k) {
        const int x = 10 + 90 * k;
        if (mine) DrawFigureJumping(k, x, kCheerY, end % 2);
        else DrawFigureSad(k, x, kCheerY);
    }
}

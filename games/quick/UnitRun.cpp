#include "UnitRun.h"

#include <algorithm>
#include <cmath>

TFormRun* FormRun = nullptr;

using run::TRunRace;
using run::TRunSound;

namespace {

constexpr int kFieldW = 700, kFieldH = 456;
constexpr TColor kMyText = RGBColor(150, 20, 34), kAiteText = RGBColor(20, 50, 150);

} // namespace

const TQuickGameTable& TFormRun::Row()
{
    static const TQuickGameTable row = [] {
        TQuickGameTable t;
        t.GameNo = gnRun;
        t.RandomBlock = 50;
        t.Interval = 80;
        t.OpeningTicks = 40;
        t.FieldSize = QSize(kFieldW, kFieldH);
        t.ClientSize = QSize(kFieldW, 489);
        t.OptionLabel = QStringLiteral("走る距離");
        t.OptionItems = {QStringLiteral("１周"), QStringLiteral("２周"), QStringLiteral("３周"),
                         QStringLiteral("５周"), QStringLiteral("７周"), QStringLiteral("１０周")};
        t.OptionValues.assign(std::begin(TRunRace::kLapOptions), std::end(TRunRace::kLapOptions));
        t.DefaultItem = TRunRace::kDefaultOption;
        t.OptionRefusal = QStringLiteral("走る距離を変更できるのは，オープニングのときだけです。");
        t.SwallowWheel = true;
        t.SleepAtOpeningEnd = false;
        t.RedrawOnPaint = true;
        return t;
    }();
    return row;
}

TFormRun::TFormRun(QWidget* owner) : TRaceForm(owner, Row())
{
    imHaikei.LoadFromResourceName(QStringLiteral("RUN_HAIKEI"));
    if (imHaikei.Empty()) imHaikei.SetSize(kFieldW, kFieldH);
    imNumber1.LoadFromResourceName(QStringLiteral("RUN_NUMBER1"));
    imNumber2.LoadFromResourceName(QStringLiteral("RUN_NUMBER2"));
    Timer1->Tag = 120; // the interval once the finish is decided
    m_track = imHaikei;

    m_race.Sound = [this](TRunSound s) {
        switch (s) {
        case TRunSound::Pistol: PlayEffect(QStringLiteral("PISTOL")); break;
        case TRunSound::Cheer: PlayCheer(); break;
        case TRunSound::CheerNoStop: PlayCheer(SndAsync | SndNoStop); break;
        case TRunSound::Kick: PlayEffect(QStringLiteral("KICK"), SndAsync | SndNoStop); break;
        case TRunSound::Kokeru: PlayEffect(QStringLiteral("KOKERU")); break;
        }
    };
}

TFormRun::~TFormRun()
{
    if (FormRun == this) FormRun = nullptr;
}

void TFormRun::GameReset()
{
    MakeTitle(32);
    m_track = imHaikei;
    m_race.Start();
    Timer1->SetInterval(Row().Interval);
}

void TFormRun::paintPlates()
{
    TCanvas& c = m_track.Canvas();
    for (int i = 0; i < run::kBoundaries; ++i) {
        const run::TBoundary& b = run::Boundary(i);
        c.Draw(b.box[0].x(), b.box[0].y(), imNumber1);
        c.Draw(b.box[1].x(), b.box[1].y(), imNumber2);
    }
}

void TFormRun::GameTick()
{
    if (m_race.TickCount == 0) paintPlates();
    if (m_race.Tick()) {
        EndGame(m_race.Winner == 0);
        return;
    }
    if (m_race.Decided() && Timer1->Interval() != Timer1->Tag) Timer1->SetInterval(Timer1->Tag);
    DrawScene();
}

void TFormRun::GameKeyDown(Word& key, TShiftState)
{
    int box;
    switch (key) {
    case '1': case VK_NUMPAD1: box = 0; break;
    case '2': case VK_NUMPAD2: box = 1; break;
    default: return;
    }
    m_race.ChooseByKey(box);
    key = 0;
}

void TFormRun::imOmoteMouseDown(TMouseButton button, TShiftState, int x, int y)
{
    int boundary = 0, box = 0;
    if (button == TMouseButton::mbLeft && TRunRace::BoxAt(x, y, boundary, box)) m_race.Choose(boundary, box);
}

void TFormRun::drawFigures()
{
    const int t = Opening() ? TickCount() : m_race.TickCount;
    const run::TPlayer& me = m_race.Runners[0];
    for (int k = 0; k < CheerFigureCount(); ++k) {
        const int x = 95 + 90 * k, y = 15;
        if (Opening()) DrawFigure(k, x, y, (t / 2) % 2);
        else if (m_race.Decided() && m_race.Winner == 0) DrawFigureJumping(k, x, y, (t / 4) % 2);
        else if (m_race.Decided()) DrawFigureSad(k, x, y);
        else if (m_race.PhotoRunning()) DrawFigure(k, x, y, 1);
        else if (me.Dashing() && !me.Stumbling()) DrawFigureJumping(k, x, y, (t / 3) % 2);
        else DrawFigure(k, x, y, (t / 6) % 2);
    }
}

void TFormRun::drawOpening()
{
    TCanvas& c = m_back.Canvas();
    DrawTitle(125);
    DrawShadow(360, 320);
    imlA.Draw(c, 360, 320, 0);
    DrawShadow(457, 320);
    imlB.Draw(c, 457, 320, 2);
    imlFire.Draw(c, 430, 330, (TickCount() / 2) % 2);
    drawFigures();
}

void TFormRun::drawStatus()
{
    TCanvas& c = m_back.Canvas();
    c.Font.SetSize(16);
    c.Font.Bold = false;
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Color = kMyText;
    c.TextOut(108, 103, m_race.StatusLine(0));
    c.Font.Color = kAiteText;
    c.TextOut(108, 133, m_race.StatusLine(1));
    c.Brush.Style = TBrushStyle::bsSolid;
}

void TFormRun::drawChoices()
{
    TCanvas& c = m_back.Canvas();
    for (int i = 0; i < run::kBoundaries; ++i) {
        const int box = m_race.Choice[size_t(i)];
        if (box < 0) continue;
        const QPoint p = run::Boundary(i).box[box];
        c.Brush.Color = m_race.ChoiceDashed[size_t(i)] ? clWhite : RGBColor(128, 128, 128);
        for (int d = 1; d <= 2; ++d) c.FrameRect(p.x() - d, p.y() - d, p.x() + run::kBoxSize + d, p.y() + run::kBoxSize + d);
    }
}

void TFormRun::drawRunner(int who)
{
    TCanvas& c = m_back.Canvas();
    const run::TPlayer& p = m_race.Runners[size_t(who)];
    const TImageList& list = who == 0 ? imlA : imlB;
    const int t = m_race.TickCount;
    const bool racing = t > TRunRace::kStartTick && !m_race.Decided() && !m_race.PhotoRunning();
    const bool mirrored = who == 0 ? p.HeadingTo(4, 6) : p.HeadingTo(3, 7);
    int image = mirrored ? 2 : 0, dy = 0;
    if (p.Stumbling()) {
        image = 5;
        dy = 20;
    } else if (m_race.Decided()) {
        // The winner jumps for joy, the loser stands.
        if (m_race.Winner == who && m_race.FinishCounter % 2) {
            image += 1;
            dy = -10;
        }
    } else if (racing) {
        image += p.Dashing() ? t % 2 : (t / 2) % 2;
    }
    DrawShadow(p.X, p.Y);
    if (racing && p.Dashing() && !p.Stumbling() && t % 2 == 0) {
        // The flame trails behind, against the heading.
        const double h = p.Heading;
        const int fx = p.X + 20 - int(std::lround(std::cos(h) * 34)), fy = p.Y + 25 + int(std::lround(std::sin(h) * 34));
        imlFire.Draw(c, fx, fy, (t / 2) % 2);
    }
    list.Draw(c, p.X, p.Y + dy, image);
    if (p.Dust > 0) imlFire.Draw(c, p.X - 20, p.Y + 31, 0);
}

void TFormRun::DrawScene()
{
    CopyToBack(m_track);
    if (Opening()) {
        drawOpening();
        ShowBackBuffer();
        return;
    }
    drawFigures();
    drawStatus();
    if (!m_race.Decided()) drawChoices();
    // The runner nearer the bottom is in front.
    const bool mineFirst = m_race.Runners[0].Y <= m_race.Runners[1].Y;
    drawRunner(mineFirst ? 0 : 1);
    drawRunner(mineFirst ? 1 : 0);
    DrawPhotoFinish(195, QPoint(288, 195), 35, 130);
    ShowBackBuffer();
}

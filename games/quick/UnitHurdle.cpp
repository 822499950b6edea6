#include "UnitHurdle.h"

TFormHur* FormHur = nullptr;

using hur::THurdleRace;
using hur::THurSound;
using hur::TLaneStatus;

namespace {

constexpr int kFieldW = 640, kFieldH = 386;
constexpr int kStartY = 146, kGoalY = 100, kGoalX = 500;

TColor statusColour(TLaneStatus s)
{
    switch (s) {
    case TLaneStatus::Untouched: return RGBColor(255, 255, 0);
    case TLaneStatus::Normal: return RGBColor(255, 210, 255);
    case TLaneStatus::Clean: return RGBColor(0, 0, 255);
    case TLaneStatus::Knocked: break;
    }
    return RGBColor(255, 0, 0);
}

} // namespace

const TQuickGameTable& TFormHur::Row()
{
    static const TQuickGameTable row = [] {
        TQuickGameTable t;
        t.GameNo = gnHur;
        t.RandomBlock = 10;
        t.Interval = 50;
        t.OpeningTicks = 85;
        t.FieldSize = QSize(kFieldW, kFieldH);
        t.ClientSize = QSize(kFieldW, 419);
        t.OptionLabel = QStringLiteral("ハードル数");
        t.OptionItems = {QStringLiteral("６台"), QStringLiteral("８台"), QStringLiteral("１０台")};
        t.OptionValues.assign(std::begin(THurdleRace::kHurdleOptions), std::end(THurdleRace::kHurdleOptions));
        t.DefaultItem = THurdleRace::kDefaultOption;
        t.OptionRefusal = QStringLiteral("ハードル数を変更できるのは，オープニングのときだけです。");
        t.HasAuto = true;
        t.SwallowWheel = true;
        t.RedrawOnPaint = true;
        return t;
    }();
    return row;
}

TFormHur::TFormHur(QWidget* owner) : TRaceForm(owner, Row())
{
    imHaikei.LoadFromResourceName(QStringLiteral("HUR_HAIKEI"));
    if (imHaikei.Empty()) imHaikei.SetSize(kFieldW, kFieldH);
    LoadSprite(imStart, "HUR_START");
    LoadSprite(imHaikeiGoal, "HUR_GOAL");
    LoadSprite(imHurdle1, "HUR_HURDLE1");
    LoadSprite(imHurdleD1, "HUR_HURDLED1");
    LoadSprite(imHurdle2, "HUR_HURDLE2");
    LoadSprite(imHurdleD2, "HUR_HURDLED2");
    LoadSprite(imFlower1, "HUR_FLOWER1");
    LoadSprite(imFlower2, "HUR_FLOWER2");

    m_race.AutoChecked = [this] { return cbAuto && cbAuto->isChecked(); };
    m_race.Sound = [this](THurSound s) {
        switch (s) {
        case THurSound::Pistol: PlayEffect(QStringLiteral("PISTOL")); break;
        case THurSound::Cheer: PlayCheer(); break;
        case THurSound::CheerNoStop: PlayCheer(SndAsync | SndNoStop); break;
        case THurSound::Hurdle: PlayEffect(QStringLiteral("HURDLE")); break;
        case THurSound::HurdleNoStop: PlayEffect(QStringLiteral("HURDLE"), SndAsync | SndNoStop); break;
        case THurSound::Kokeru: PlayEffect(QStringLiteral("KOKERU")); break;
        }
    };
}

TFormHur::~TFormHur()
{
    if (FormHur == this) FormHur = nullptr;
}

void TFormHur::GameReset()
{
    MakeTitle(32);
    m_race.Start();
}

void TFormHur::GameTick()
{
    if (m_race.Tick()) {
        EndGame(m_race.Winner == 0);
        return;
    }
    DrawScene();
}

void TFormHur::GameKeyDown(Word& key, TShiftState)
{
    // Enter in the open option list chooses there.
    if (key != VK_RETURN || OptionListOpen()) return;
    m_race.Jump();
    key = 0;
}

void TFormHur::imOmoteMouseDown(TMouseButton button, TShiftState, int, int)
{
    if (button == TMouseButton::mbLeft) m_race.Jump();
}

void TFormHur::drawRecord(const hur::TRecord& r)
{
    TCanvas& c = m_back.Canvas();
    c.Draw(r.X + 62, 306, imFlower1);
    c.Draw(r.X - 80, 122, imFlower2);
    c.Draw(r.X - 36, 180, r.Knocked[1] ? imHurdleD2 : imHurdle2);
    c.Draw(r.X + 2, 257, r.Knocked[0] ? imHurdleD1 : imHurdle1);
    const QRect frames[2] = {QRect(QPoint(r.X, 340), QPoint(r.X + 49, 364)), QRect(QPoint(r.X - 55, 150), QPoint(r.X - 26, 164))};
    for (int lane = 0; lane < 2; ++lane) {
        const QRect& f = frames[lane];
        c.Brush.Color = statusColour(r.Status[size_t(lane)]);
        for (int d = 0; d < 2; ++d) c.FrameRect(f.left() + d, f.top() + d, f.right() + 1 - d, f.bottom() + 1 - d);
    }
    c.Font.SetSize(16);
    c.Font.Color = RGBColor(60, 40, 30);
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(r.X + 5, 342, QString::number(r.Number + 1));
    c.Brush.Style = TBrushStyle::bsSolid;
}

void TFormHur::drawRunner(int who)
{
    TCanvas& c = m_back.Canvas();
    const hur::TPlayer& p = m_race.Runners[size_t(who)];
    const TImageList& list = who == 0 ? imlA : imlB;
    const int t = m_race.TickCount;
    int image = 0, dy = 0;
    if (p.Stumbling()) {
        image = 5;
        dy = 25;
    } else if (m_race.Decided()) {
        // The winner jumps for joy, the loser stands.
        if (m_race.Winner == who && m_race.FinishCounter % 2) {
            image = 1;
            dy = -10;
        }
    } else if (p.Airborne()) {
        image = 1;
    } else if (t >= THurdleRace::kRaceTick && !m_race.PhotoRunning()) {
        image = (t / 2) % 2;
    }
    DrawShadow(p.X, p.GroundY);
    list.Draw(c, p.X, p.Y + dy, image);
    if (p.Dust > 0) imlFire.Draw(c, p.X - 20, p.Y + 31, 0);
}

void TFormHur::drawFigures()
{
    const int t = Opening() ? TickCount() : m_race.TickCount;
    for (int k = 0; k < CheerFigureCount(); ++k) {
        const int x = 60 + 90 * k, y = 20;
        if (Opening()) {
            DrawFigure(k, x, y, (t / 2) % 2);
            continue;
        }
        bool jump = false, sad = false;
        if (m_race.Decided()) {
            jump = m_race.Winner == 0;
            sad = !jump;
        } else if (m_race.LateInCourse()) {
            jump = true;
        } else {
            const TLaneStatus s = m_race.CurrentRecord().Status[0];
            jump = s == TLaneStatus::Clean;
            sad = s == TLaneStatus::Normal || s == TLaneStatus::Knocked;
        }
        if (jump) DrawFigureJumping(k, x, y, (t / 3) % 2);
        else if (sad) DrawFigureSad(k, x, y);
        else DrawFigure(k, x, y, (t / 6) % 2);
    }
}

void TFormHur::drawOpening()
{
    TCanvas& c = m_back.Canvas();
    DrawTitle(100);
    DrawShadow(250, 210);
    imlA.Draw(c, 250, 210, 0);
    DrawShadow(340, 210);
    imlB.Draw(c, 340, 210, 2);
    imlFire.Draw(c, 320, 220, (TickCount() / 2) % 2);
}

void TFormHur::DrawScene()
{
    TCanvas& c = m_back.Canvas();
    CopyToBack(imHaikei);
    const int s = m_race.Scroll, end = m_race.CourseEnd(), h = m_race.Hurdles;
    if (s < 150) c.Draw(-s, kStartY, imStart);
    if (s > h * 295 + 160) c.Draw(s >= end ? kGoalX : h * 295 - s + 800, kGoalY, imHaikeiGoal);
    for (const hur::TRecord& r : m_race.Records)
        if (r.Visible) drawRecord(r);
    if (Opening()) {
        drawOpening();
    } else {
        drawRunner(1);
        drawRunner(0);
        DrawPhotoFinish(110, QPoint(262, 130), 20, 90);
    }
    drawFigures();
    ShowBackBuffer();
}

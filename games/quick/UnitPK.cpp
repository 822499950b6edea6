#include "UnitPK.h"

#include <QCursor>
#include <QTimer>
#include <algorithm>
#include <numeric>

TFormPK* FormPK = nullptr;

namespace {

constexpr int kBackW = 470, kBackH = 460;
constexpr int kHoverTicks = 1 << 30; // the hover highlight lasts while the mouse stays in the zone

struct ZoneRect {
    int left, top, right, bottom;
};
ZoneRect zoneRect(int dir)
{
    switch (dir) {
    case -1: return {106, 193, 188, 303};
    case 0: return {189, 193, 272, 303};
    default: return {273, 193, 355, 303};
    }
}

} // namespace

const TQuickGameTable& TFormPK::Row()
{
    static const TQuickGameTable row = [] {
        TQuickGameTable t;
        t.GameNo = 1;
        t.RandomBlock = 30;
        t.Interval = 100;
        t.OpeningTicks = TPKMatch::kOpeningTicks;
        t.FieldSize = QSize(470, 480);
        t.ClientSize = QSize(470, 513);
        return t;
    }();
    return row;
}

TFormPK::TFormPK(QWidget* owner)
    : TQuickGameForm(owner, Row()), FSoccerMode(m_match.FSoccerMode), FKickSide(m_match.FKickSide), FMySide(m_match.FMySide),
      FKickDir(m_match.FKickDir), FAimDir(m_match.FAimDir), FKeeperDir(m_match.FKeeperDir)
{
    imHaikei.LoadFromResourceName(QStringLiteral("PK_HAIKEI"));
    if (imHaikei.Empty()) imHaikei.SetSize(470, 480);
    LoadSprite(imKumo, "PK_KUMO");
    LoadPictureStrip(imlBall, QStringLiteral("PK_BALL"));

    cbClickHyouji = new QCheckBox(QStringLiteral("選択位置の表示"), this);
    cbClickHyouji->move(10, 488);
    cbClickHyouji->adjustSize();
    cbClickHyouji->setFocusPolicy(Qt::NoFocus);

    m_back.SetSize(kBackW, kBackH);
    imOmote->Canvas().Draw(0, 0, imHaikei.Image(), false);
    makeSprites();

    ShareServices(m_match);
    m_match.Sound = [this](TPKSound s) {
        switch (s) {
        case TPKSound::Kick: PlayEffect(QStringLiteral("KICK")); break;
        case TPKSound::Tackle: PlayEffect(QStringLiteral("TACKLE"), SndSync); break;
        case TPKSound::Cheer: PlayCheer(); break;
        }
    };
    m_match.RefreshHover = [this] { refreshHover(); };
    m_match.DropPendingInput = [this] { dropPendingInput(); };
}

TFormPK::~TFormPK()
{
    if (FormPK == this) FormPK = nullptr;
}

void TFormPK::makeSprites()
{
    const TColor grey = RGBColor(128, 128, 128);
    MakeEllipseSprite(m_ballShadow, 22, 8, grey, grey);
    MakeEllipseSprite(m_markGoal, 20, 20, RGBColor(30, 80, 230), RGBColor(10, 30, 120));
    MakeEllipseSprite(m_markMiss, 20, 20, RGBColor(230, 40, 40), RGBColor(120, 10, 10));
}

void TFormPK::MakeTeamImages()
{
    TBitmap sheets[2];
    LoadSheets(sheets[0], sheets[1]);
    TImageList* lists[2] = {&imlA, &imlB};
    int players[2] = {1, 1};
    int shown[2] = {0, 0};
    for (int side = 0; side < 2; ++side) {
        int n = SheetPlayerCount(sheets[side]);
        std::vector<int> order = ShuffledPlayers(n);
        if (!m_match.FSoccerMode) {
            shown[side] = order[0];
        } else {
            // The soccer game names the one player of each side.
            n = 1;
            order[0] = side == 0 ? FMyPlayerIndex : FAitePlayerIndex;
        }
        n = std::max(n, 1);
        TImageList& list = *lists[side];
        list.Clear();
        for (int i = 0; i < n; ++i) {
            AddSheetFrame(list, sheets[side], order[size_t(i)], 0);
            AddSheetFrame(list, sheets[side], order[size_t(i)], 1);
        }
        for (int i = 0; i < n; ++i) {
            AddSheetFrame(list, sheets[side], order[size_t(i)], 0, TFrameTurn::Mirror);
            AddSheetFrame(list, sheets[side], order[size_t(i)], 1, TFrameTurn::Mirror);
        }
        players[side] = n;
    }
    m_match.Players[0] = players[0];
    m_match.Players[1] = players[1];
    if (!m_match.FSoccerMode) ShowResultPlayers(shown[0], shown[1]);
}

QString TFormPK::OpeningSound() const
{
    return m_match.FSoccerMode ? QStringLiteral("CHANGE") : QStringLiteral("OPENING");
}

void TFormPK::GameReset()
{
    MakeTitle(30);
    m_cloudX = 0;
    m_match.Start(m_match.Players[0], m_match.Players[1]);
    SetOpening(m_match.Opening);
    m_back.Canvas().Font.SetHeight(20);
    m_back.Canvas().Font.Color = clBlack;
}

void TFormPK::Tick()
{
    if (m_match.TickRules()) {
        finish();
        return;
    }
    SetOpening(m_match.Opening);
    DrawScene();
    m_match.AfterDraw();
}

void TFormPK::finish()
{
    const bool won = m_match.Result == 2;
    if (m_match.FSoccerMode) {
        // The soccer game reads the kick from the form; there is no report of its own.
        Timer1->SetEnabled(false);
        SetModalResult(won ? mrYes : mrNo);
        return;
    }
    EndGame(won);
}

void TFormPK::FormClose(TCloseAction& action)
{
    if (m_match.FSoccerMode) {
        if (ModalResult() == mrYes || ModalResult() == mrNo) {
            Timer1->SetEnabled(false);
            return;
        }
        if (m_match.Result == 0) {
            // The kick must be played out; the timer goes on as it was.
            action = TCloseAction::caNone;
            return;
        }
        Timer1->SetEnabled(false);
        SetModalResult(m_match.Result == 2 ? mrYes : mrNo);
        return;
    }
    TQuickGameForm::FormClose(action);
}

void TFormPK::ChooseDirection(int dir)
{
    m_match.ChooseDirection(dir);
}

int TFormPK::userDir() const
{
    return m_match.FKickSide == 1 ? m_match.FKeeperDir : m_match.FKickDir;
}

void TFormPK::dropPendingInput()
{
    // Input that waited while the last kick was resolved belongs to it, not to the new one.
    m_dropKey = m_dropMouse = true;
    QTimer::singleShot(0, this, [this] { m_dropKey = m_dropMouse = false; });
}

void TFormPK::FormKeyDown(Word& key, TShiftState shift)
{
    if (m_dropKey) {
        m_dropKey = false;
        key = 0;
        return;
    }
    TQuickGameForm::FormKeyDown(key, shift);
}

void TFormPK::GameKeyDown(Word& key, TShiftState)
{
    int dir = 2;
    switch (key) {
    case '1': case VK_NUMPAD1: dir = -1; break;
    case '2': case VK_NUMPAD2: dir = 0; break;
    case '3': case VK_NUMPAD3: dir = 1; break;
    case VK_F2:
        cbClickHyouji->setChecked(!cbClickHyouji->isChecked());
        key = 0;
        return;
    default: return;
    }
    ChooseDirection(dir);
    key = 0;
}

void TFormPK::imOmoteMouseDown(TMouseButton button, TShiftState, int x, int y)
{
    if (m_dropMouse) {
        m_dropMouse = false;
        return;
    }
    if (button != TMouseButton::mbLeft) return;
    bool inside = false;
    const int dir = TPKMatch::ZoneAt(x, y, &inside);
    if (inside) ChooseDirection(dir);
}

void TFormPK::imOmoteMouseMove(TShiftState, int x, int y)
{
    if (!cbClickHyouji->isChecked()) return;
    if (m_match.Flying) {
        if (m_match.UserChose) {
            m_match.HighlightZone = userDir();
            m_match.HighlightTicks = kHoverTicks;
        }
        return;
    }
    bool inside = false;
    const int dir = TPKMatch::ZoneAt(x, y, &inside);
    if (inside) {
        m_match.HighlightZone = dir;
        m_match.HighlightTicks = kHoverTicks;
    } else {
        m_match.HighlightTicks = 0;
    }
}

void TFormPK::refreshHover()
{
    const QPoint p = imOmote->mapFromGlobal(QCursor::pos());
    if (imOmote->rect().contains(p)) imOmoteMouseMove(TShiftState(), p.x(), p.y());
}

void TFormPK::drawActor(const TPKActor& a, int dy)
{
    const TImageList& list = a.side == 0 ? imlA : imlB;
    const int n = m_match.Players[a.side];
    list.Draw(m_back.Canvas(), a.pos.x(), a.pos.y() + dy, (a.mirrored ? 2 * n : 0) + 2 * a.player + a.frame);
}

void TFormPK::drawFigures()
{
    const int figures = CheerFigureCount();
    const TPKMatch& m = m_match;
    for (int k = 0; k < figures; ++k) {
        const int x = 10 + 75 * k, y = 100;
        if (m.Opening) {
            DrawFigure(k, x, y, (m.Step / 2) % 2);
            continue;
        }
        if (m.AfterKick < 0) {
            DrawFigure(k, x, y, RandomInt(2));
            continue;
        }
        // My side kicking: a goal makes them jump; the opponent kicking: a save does.
        const bool happy = (m.FKickSide == m.FMySide) == m.LastGoal;
        if (happy) DrawFigureJumping(k, x, y, m.AfterKick % 2);
        else DrawFigureSad(k, x, y);
    }
}

void TFormPK::DrawScene()
{
    TCanvas& c = m_back.Canvas();
    TPKMatch& m = m_match;
    const bool shootOut = !m.FSoccerMode;

    // 1. Background and the drifting clouds.
    CopyToBack(imHaikei);
    if (!imKumo.Empty()) {
        const int w = imKumo.Width();
        if (--m_cloudX <= -w) m_cloudX += w;
        c.Draw(m_cloudX, 7, imKumo);
        c.Draw(m_cloudX + w, 7, imKumo);
    }

    // 2. Score board.
    if (shootOut) {
        c.Brush.Style = TBrushStyle::bsSolid;
        for (int y : {29, 61}) {
            c.Brush.Color = clBlack;
            c.FillRect(235 - 76 + 2, y + 2, 235 + 76 + 2, y + 28 + 2);
            c.Brush.Color = clYellow;
            c.FillRect(235 - 76, y, 235 + 76, y + 28);
        }
    }

    // 3. The zone highlight.
    if (cbClickHyouji->isChecked() && m.HighlightTicks > 0) {
        const ZoneRect z = zoneRect(m.HighlightZone);
        c.Brush.Color = RGBColor(128, 128, 128);
        for (int i = -1; i <= 1; ++i) c.FrameRect(z.left + i, z.top + i, z.right - i, z.bottom - i);
        --m.HighlightTicks;
    }

    // 4. Shadows, keeper, ball, kicker.
    const bool after = m.AfterKick >= 0;
    const int hop = after && (m.AfterKick % 2) ? -10 : 0;
    TPKActor keeper = m.Keeper, kicker = m.Kicker;
    int keeperDy = 0, kickerDy = 0;
    if (after) {
        const int ballSide = m.Ball.x() > keeper.pos.x() ? 1 : -1;
        if (m.LastGoal) {
            kicker.frame = m.AfterKick % 2;
            kickerDy = hop;
            keeper.frame = 0;
            keeper.mirrored = ballSide < 0;
        } else {
            keeper.frame = m.AfterKick % 2;
            keeperDy = hop;
        }
    }
    DrawShadow(keeper.pos.x(), keeper.pos.y());
    DrawShadow(kicker.pos.x(), kicker.pos.y());
    if (m.Ball.y() > 320) c.Draw(m.Shadow.x() + 4, m.Shadow.y() + 24, m_ballShadow);
    drawActor(keeper, keeperDy);
    imlBall.Draw(c, m.Ball.x(), m.Ball.y(), m.BallFrame);
    drawActor(kicker, kickerDy);

    // 5. The kicking team's keeper waits aside.
    if (shootOut && !m.Opening && m.Players[m.FKickSide] > 1) {
        TPKActor aside;
        aside.side = m.FKickSide;
        aside.player = 0;
        aside.mirrored = true;
        aside.pos = QPoint(kBackW - 75, kBackH - 230);
        const int jump = (after && m.LastGoal && (m.AfterKick + m.AsideJump) % 2) ? -10 : 0;
        DrawShadow(aside.pos.x(), aside.pos.y());
        drawActor(aside, jump);
    }

    // 6. The flame of a fire shot.
    if (m.Fire == 2) imlFire.Draw(c, m.PrevBall.x(), m.PrevBall.y(), 1);

    // 7. The cheering figures, and the opening's title and fire.
    drawFigures();
    if (m.Opening) {
        DrawTitle(218);
        imlFire.Draw(c, 217, 330, (m.Step / 2) % 2);
    }

    if (shootOut) {
        // 8. Sudden death.
        if ((m.KickCount == 10 && m.AfterKick < 0) || m.KickCount > 10) {
            const int nth = m.AfterKick < 0 ? (m.KickCount + 2) / 2 : (m.KickCount + 1) / 2;
            const QString text = QStringLiteral(" サドンデス %1人目 ").arg(nth);
            const TFont keep = c.Font;
            c.Font.SetSize(14);
            c.Font.Color = clBlack;
            c.Brush.Style = TBrushStyle::bsSolid;
            c.Brush.Color = clYellow;
            c.TextOut((kBackW - c.TextWidth(text)) / 2, 6, text);
            c.Font = keep;
        }
        // 9. The marks of the current block of kicks.
        for (int side = 0; side < 2; ++side)
            for (int i = 0; i < m.MarkCount[side]; ++i)
                c.Draw(235 - 66 + 28 * i, side == 0 ? 33 : 65, m.Marks[side][i] ? m_markGoal : m_markMiss);
        // 10. The goal banner slides in.
        if (after && m.LastGoal) DrawGoalBanner(imOmote->width() - 30 * m.AfterKick, 160);
    }

    ShowBackBuffer();
}

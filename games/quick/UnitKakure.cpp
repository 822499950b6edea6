#include "UnitKakure.h"

#include "Paths.h"
#include "SheetLoader.h"

#include <algorithm>
#include <numeric>

TFormKakure* FormKakure = nullptr;

const QString kBirdFileName = QStringLiteral("かくれんぼ_鳥.bmp");

using namespace kakure;

namespace {

const TColor kGround = RGBColor(0x66, 0xEE, 0x66);
const TColor kShadowGrey = RGBColor(128, 128, 128);
constexpr int kBoxSize = 100;
constexpr int kInFrontDy = 22; // a hider in front of its box stands this much lower

QImage stretched(const QImage& src, int w, int h)
{
    // Nearest pixel, so that the transparent white stays pure white.
    return src.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace

bool LoadBirdPicture(const QString& path, TBitmap& bird)
{
    TBitmap loaded;
    const bool fromFile = FileExists(path) && LoadSheetFile(path, loaded) && !loaded.Empty();
    const QImage src = fromFile ? loaded.Image() : ResourceBitmap(QStringLiteral("KAKURE_BIRD"));
    bird.SetSize(kBirdWidth, kBirdHeight);
    if (!src.isNull()) bird.Assign(stretched(src, kBirdWidth, kBirdHeight).convertToFormat(QImage::Format_RGB32));
    bird.Transparent = true;
    return fromFile;
}

const TQuickGameTable& TFormKakure::Row()
{
    static const TQuickGameTable row = [] {
        TQuickGameTable t;
        t.GameNo = 2;
        t.RandomBlock = 50;
        t.Interval = 100;
        t.OpeningTicks = kOpeningTicks;
        t.FieldSize = QSize(kFieldWidth, kFieldHeight);
        // The whole play field shows; the game has no option row below it.
        t.ClientSize = QSize(kFieldWidth, kFieldHeight);
        t.DrawOnShow = false;
        t.RedrawOnPaint = true;
        return t;
    }();
    return row;
}

TFormKakure::TFormKakure(QWidget* owner) : TQuickGameForm(owner, Row())
{
    imHaikei.LoadFromResourceName(QStringLiteral("KAKURE_HAIKEI"));
    if (imHaikei.Empty()) {
        imHaikei.SetSize(kFieldWidth, kFieldHeight);
        imHaikei.Canvas().Brush.Color = kGround;
        imHaikei.Canvas().FillRect(0, 0, kFieldWidth, kFieldHeight);
    }
    LoadSprite(imBox, "KAKURE_BOX");
    LoadSprite(imFlower1, "KAKURE_FLOWER1");
    LoadSprite(imFlower2, "KAKURE_FLOWER2");
    LoadSprite(imWarp, "KAKURE_WARP");
    makeBoxPictures();
    makeSprites();
    loadSeeker();
    for (int k = 4; k < kBoxCount; ++k) {
        const TRect r = TKakureGame::BoxRect(k);
        m_upperBoxes[k - 4] = TRegion::Rect(r.Left, r.Top, r.Right, r.Bottom);
    }
    for (TBitmap& b : Birds) {
        b.SetSize(kBirdWidth, kBirdHeight);
        b.Transparent = true;
    }

    ShareServices(m_game);
    m_game.Sound = [this](TKakureSound s) {
        if (s == TKakureSound::Change) PlayEffect(QStringLiteral("CHANGE"));
        else PlayCheer();
    };
    m_game.Draw = [this] { DrawScene(); };
}

TFormKakure::~TFormKakure()
{
    if (FormKakure == this) FormKakure = nullptr;
}

void TFormKakure::makeBoxPictures()
{
    // Each box with its number, in blue, and in red for the box the user picked.
    for (int k = 0; k < kBoxCount; ++k)
        for (int picked = 0; picked < 2; ++picked) {
            TBitmap& b = m_boxPics[k][picked];
            b.SetSize(kBoxSize, kBoxSize);
            b.Canvas().Brush.Color = clWhite;
            b.Canvas().FillRect(0, 0, kBoxSize, kBoxSize);
            if (!imBox.Empty()) b.Canvas().Draw(0, 0, imBox);
            TCanvas& c = b.Canvas();
            c.Font.Name = GameHost().FontName();
            c.Font.SetSize(24);
            c.Font.Bold = true;
            c.Font.Color = picked ? RGBColor(220, 30, 30) : RGBColor(30, 60, 200);
            c.Brush.Style = TBrushStyle::bsClear;
            const QString n = QString::number(k + 1);
            c.TextOut((kBoxSize - c.TextWidth(n)) / 2, 58 - c.TextHeight(n) / 2, n);
            b.Transparent = true;
        }
}

void TFormKakure::loadSeeker()
{
    // The seeker stored with the form stands in when the third sheet is missing or unreadable.
    TBitmap sheet;
    sheet.Assign(ResourceBitmap(QStringLiteral("KAKURE_ONI")));
    imlC.Clear();
    if (sheet.Empty()) return;
    for (TFrameTurn turn : {TFrameTurn::None, TFrameTurn::Mirror}) {
        AddSheetFrame(imlC, sheet, 0, 0, turn);
        AddSheetFrame(imlC, sheet, 0, 1, turn);
    }
}

void TFormKakure::MakeTeamImages()
{
    auto fill = [](TImageList& list, const TBitmap& sheet, int player) {
        list.Clear();
        for (TFrameTurn turn : {TFrameTurn::None, TFrameTurn::Mirror}) {
            AddSheetFrame(list, sheet, player, 0, turn);
            AddSheetFrame(list, sheet, player, 1, turn);
        }
    };
    TBitmap sheets[2];
    LoadSheets(sheets[0], sheets[1]);
    int shown[2] = {0, 0};
    TImageList* lists[2] = {&imlA, &imlB};
    for (int side = 0; side < 2; ++side) {
        shown[side] = RandomInt(std::max(1, SheetPlayerCount(sheets[side])));
        fill(*lists[side], sheets[side], shown[side]);
    }
    ShowResultPlayers(shown[0], shown[1]);

    const QString third = GameHost().ThirdPicFile();
    TBitmap sheet;
    if (!third.isEmpty() && FileExists(third) && LoadSheetFile(third, sheet) && sheet.Width() >= kCellWidth &&
        sheet.Height() >= kCellHeight)
        fill(imlC, sheet, RandomInt(SheetPlayerCount(sheet)));

    TImageList* large[2] = {&imlLargeA, &imlLargeB};
    TImageList* small[2] = {&imlSmallA, &imlSmallB};
    for (int side = 0; side < 2; ++side) {
        large[side]->Clear();
        small[side]->Clear();
        for (int i = 0; i < lists[side]->Count(); ++i) {
            large[side]->AddMasked(stretched(lists[side]->Image(i), 110, 110));
            small[side]->AddMasked(stretched(lists[side]->Image(i), 40, 40));
        }
    }
    LoadBirdPicture(GameHost().DataDir() + kBirdFileName, Birds[0]);
    Birds[1] = Birds[0];
}

void TFormKakure::GameReset()
{
    MakeTitle(32);
    m_game.Start();
}

void TFormKakure::Tick()
{
    if (!Opening()) {
        GameTick();
        return;
    }
    SetTickCount(TickCount() + 1);
    if (TickCount() >= kOpeningTicks) {
        EndOpening();
        m_game.StartRound();
        return;
    }
    DrawScene();
}

void TFormKakure::GameTick()
{
    if (m_game.Step()) EndGame(m_game.Result == krAiteFound);
}

void TFormKakure::GameKeyDown(Word& key, TShiftState)
{
    if (key == VK_F2 || key == VK_F5 || key == VK_F6 || !m_game.Choosing()) return;
    int digit = 0;
    if (key >= '1' && key <= '8') digit = key - '0';
    else if (key >= VK_NUMPAD1 && key <= VK_NUMPAD8) digit = key - VK_NUMPAD0;
    m_game.KeyChoice(digit);
    key = 0;
}

void TFormKakure::imOmoteMouseDown(TMouseButton button, TShiftState, int x, int y)
{
    if (button == TMouseButton::mbLeft) m_game.ClickAt(x, y);
}

// ---------------------------------------------------------------------------------------------
// The scene

TFormKakure::Look TFormKakure::lookOf(int walker, int dx, int dy) const
{
    const TPlayer& w = m_game.Walkers[walker];
    if (walker == wkOni) return {&imlC, w.FX + dx, w.FY + dy, 70};
    const bool mine = walker == wkMine;
    if (w.Has(mkLarge)) return {mine ? &imlLargeA : &imlLargeB, w.FX - 20 + dx, w.FY - 40 + dy, 110};
    if (w.Has(mkSmall)) return {mine ? &imlSmallA : &imlSmallB, w.FX + 15 + dx, w.FY + 30 + dy, 40};
    return {mine ? &imlA : &imlB, w.FX + dx, w.FY + dy, 70};
}

int TFormKakure::frameOf(int walker) const
{
    const TPlayer& w = m_game.Walkers[walker];
    if (w.Walking()) return m_game.Tick % 2 + (w.FTargetX < w.FX ? 2 : 0);
    int frame = walker == wkOni ? 2 : 0;
    if (walker != wkOni && w.FHidden && w.Has(mkInFront) && m_game.Oni().FX < w.FX) frame += 2;
    return frame;
}

void TFormKakure::makeSprites()
{
    // Drawn once: an ellipse on the whole back buffer each tick would cost more than the tick.
    const int sizes[3] = {40, 70, 110};
    for (int i = 0; i < 3; ++i)
        MakeEllipseSprite(m_shadows[i], sizes[i] * 46 / 70, std::max(4, sizes[i] * 12 / 70), kShadowGrey, kShadowGrey);
    MakeEllipseSprite(m_footprint, 8, 5, RGBColor(150, 110, 70), RGBColor(120, 86, 54));
}

void TFormKakure::drawShadowSized(int x, int y, int size)
{
    const TBitmap& shadow = m_shadows[size < 70 ? 0 : size == 70 ? 1 : 2];
    m_back.Canvas().Draw(x + size * 12 / 70, y + size * 61 / 70, shadow);
}

void TFormKakure::drawWalkerAt(int walker, int frame, int dx, int dy, bool shadow)
{
    if (shadow) {
        const Look ground = lookOf(walker, dx, 0);
        drawShadowSized(ground.x, ground.y, ground.size);
    }
    const Look l = lookOf(walker, dx, dy);
    l.list->Draw(m_back.Canvas(), l.x, l.y, frame);
}

void TFormKakure::drawDance(int walker, int baseDy)
{
    const TPlayer& w = m_game.Walkers[walker];
    const int t = m_game.Tick;
    const int facing = m_game.Oni().FX < w.FX ? 2 : 0;
    int frame = facing, dx = 0, dy = 0;
    switch (w.FDance) {
    case 0:
        frame = t % 2 + facing;
        dy = t % 2 ? -10 : 0;
        break;
    case 1:
        dy = -10 * (t % 5);
        break;
    case 2:
        dx = RandomInt(3);
        dy = -30 + RandomInt(3);
        break;
    case 3:
        frame = t % 4;
        dy = frame % 2 ? -10 : 0;
        break;
    case 4: {
        static const int kCycle[6] = {0, 1, 1, 2, 3, 3};
        frame = kCycle[t % 6];
        dy = frame % 2 ? -15 : 0;
        break;
    }
    default: {
        // Four steps to the right, then four back facing left.
        const int p = t % 8;
        frame = t % 2 + (p >= 4 ? 2 : 0);
        dx = 6 * (p < 4 ? p : 8 - p);
        dy = t % 2 ? -10 : 0;
        break;
    }
    }
    drawWalkerAt(walker, frame, dx, dy + baseDy, true);
}

bool TFormKakure::inFront(int walker) const
{
    const TPlayer& w = m_game.Walkers[walker];
    return walker != wkOni && w.FHidden && w.Has(mkInFront);
}

void TFormKakure::drawWalker(int walker, int baseDy)
{
    const TPlayer& w = m_game.Walkers[walker];
    const bool roundEnd = m_game.FinishCount >= 0;
    if (walker != wkOni) {
        // Unseen until the round ends, unless a bird has shown where it is.
        if (w.Has(mkInvisible) && !w.Has(mkBird) && !roundEnd) return;
        if (roundEnd && !m_game.Found(walker)) {
            drawDance(walker, baseDy);
            return;
        }
    }
    drawWalkerAt(walker, frameOf(walker), 0, baseDy, true);
}

bool TFormKakure::boxInPlace(int box) const
{
    if (!m_game.Exists(box)) return false;
    for (const TBird& b : m_game.Birds)
        if (b.Box == box && b.Carries && (b.State == bdFlyingOff || b.State == bdGone)) return false;
    return true;
}

void TFormKakure::drawBox(int box)
{
    m_boxDrawn[box] = true;
    const int fc = m_game.FinishCount;
    if (fc >= 12) return;
    const TRect r = TKakureGame::BoxRect(box);
    int x = r.Left, y = r.Top;
    // A shaking hider's box trembles now and then while the seeker walks.
    const TPlayer& oni = m_game.Oni();
    for (int i = 0; i < 2; ++i) {
        const TPlayer& h = m_game.Walkers[i];
        if (h.FSpot == box && h.Has(mkShake) && oni.Walking() && m_game.Tick % 10 < 3) {
            x += RandomInt(5) - 2;
            y += RandomInt(3) - 1;
        }
    }
    const bool picked = m_game.PickedByHand && box == m_game.Mine().FSpot;
    const TBitmap& pic = m_boxPics[box][picked ? 1 : 0];
    if (fc < 0) {
        m_back.Canvas().Draw(x, y, pic);
        return;
    }
    // At the round's end the boxes sink into the ground.
    const int sink = 9 * fc;
    m_back.Canvas().Draw(x, y + sink, pic.Image().copy(0, 0, kBoxSize, kBoxSize - sink), true);
}

void TFormKakure::drawWalkers()
{
    std::fill(std::begin(m_boxDrawn), std::end(m_boxDrawn), false);
    int order[3] = {0, 1, 2};
    std::stable_sort(order, order + 3, [&](int a, int b) { return m_game.Walkers[a].FY < m_game.Walkers[b].FY; });
    for (int i : order) {
        if (inFront(i)) continue;
        const TPlayer& w = m_game.Walkers[i];
        if (i != wkOni && w.Has(mkLarge)) {
            // A large hider stands in front of the upper boxes it overlaps while it walks.
            const Look l = lookOf(i);
            const QRect picture(l.x, l.y, l.size, l.size);
            for (int k = kBoxCount - 1; k >= 4; --k)
                if (!m_boxDrawn[k] && boxInPlace(k) && m_upperBoxes[k - 4].Qt().intersects(picture) && (w.Walking() || w.FSpot < k))
                    drawBox(k);
        }
        drawWalker(i, 0);
    }
    for (int k = kBoxCount - 1; k >= 0; --k)
        if (!m_boxDrawn[k] && boxInPlace(k)) drawBox(k);
    for (int i = 0; i < 2; ++i)
        if (inFront(i)) drawWalker(i, kInFrontDy);
}

void TFormKakure::drawBirds()
{
    TCanvas& c = m_back.Canvas();
    for (int i = 0; i < 2; ++i) {
        const TBird& b = m_game.Birds[i];
        if (b.Box < 0 || b.State == bdIdle || b.State == bdGone) continue;
        if (b.Carries && b.State == bdFlyingOff) c.Draw(b.X - 20, b.Y + 60, m_boxPics[b.Box][0]);
        c.Draw(b.X, b.Y, Birds[i]);
    }
}

void TFormKakure::drawFigures()
{
    const int figures = std::min(6, CheerFigureCount());
    const bool roundEnd = m_game.FinishCount >= 0;
    TCanvas& c = m_back.Canvas();
    for (int i = 0; i < figures; ++i) {
        const int x = 105 + 90 * i, y = 15;
        DrawFigure(i, x, y, RandomInt(2));
        if (!roundEnd) continue;
        if (m_game.Found(wkMine)) imlEffect.Draw(c, x + 50, y + 10, 0);
        else imlEffect.Draw(c, x + 50 + 5 * RandomInt(2), y - 5 + 5 * RandomInt(2), 1);
    }
}

void TFormKakure::DrawSpeech(int walker, const QString& text, int dy)
{
    const Look l = lookOf(walker, 0, dy);
    const TPlayer& w = m_game.Walkers[walker];
    int above = 28;
    if (walker != wkOni && w.Has(mkLarge)) above = 23;
    else if (walker != wkOni && w.Has(mkSmall) && text == QStringLiteral("まーだだよ")) above = 58;
    TCanvas& c = m_back.Canvas();
    c.Font.SetSize(10);
    c.Brush.Style = TBrushStyle::bsClear;
    const int x = l.x + (l.size - c.TextWidth(text)) / 2, y = l.y - above;
    c.Font.Color = RGBColor(255, 254, 255);
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox)
            if (ox || oy) c.TextOut(x + ox, y + oy, text);
    c.Font.Color = clBlack;
    c.TextOut(x, y, text);
    c.Brush.Style = TBrushStyle::bsSolid;
}

void TFormKakure::drawSpeeches()
{
    const TKakureGame& g = m_game;
    if (g.Choosing()) {
        DrawSpeech(wkMine, QStringLiteral("どこにしよう"), 0);
        if (g.Tick % 50 > 24) DrawSpeech(wkAite, QStringLiteral("まーだだよ"), 0);
        else DrawSpeech(wkOni, QStringLiteral("もーいーかい？"), 0);
    }
    const bool seeking = g.SeekerChose() && g.FinishCount < 0;
    for (int i = 0; i < 2; ++i) {
        const TPlayer& w = g.Walkers[i];
        const int dy = inFront(i) ? kInFrontDy : 0;
        if (!w.FSpeech.isEmpty()) {
            DrawSpeech(i, w.FSpeech, dy);
        } else if (seeking && inFront(i)) {
            DrawSpeech(i, QStringLiteral("？"), dy);
        } else if (seeking && w.Has(mkBird) && w.FLinkIndex >= 0 && g.Birds[w.FLinkIndex].State >= bdFlyingOff &&
                   g.Birds[w.FLinkIndex].State != bdIdle) {
            DrawSpeech(i, QStringLiteral("....."), dy);
        }
    }
}

void TFormKakure::drawOpening()
{
    const int tick = TickCount();
    DrawTitle(120);
    DrawShadow(230, 300);
    DrawShadow(330, 300);
    for (int i = 0; i < std::min(6, CheerFigureCount()); ++i) DrawFigure(i, 105 + 90 * i, 15, tick % 2);
    TCanvas& c = m_back.Canvas();
    imlFire.Draw(c, 300, 310, tick % 2);
    imlA.Draw(c, 230, 300, 0);
    imlB.Draw(c, 330, 300, 2);
    imlC.Draw(c, 400, 250, 2);
}

void TFormKakure::DrawScene()
{
    TCanvas& c = m_back.Canvas();
    const TKakureGame& g = m_game;
    CopyToBack(imHaikei);
    c.Draw(690, 370, imFlower2);
    c.Draw(660, 400, imFlower1);
    if (Opening()) {
        drawOpening();
        ShowBackBuffer();
        return;
    }
    m_game.UpdateSpeech();

    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.SetSize(35);
    const QString round = QString::number(g.Round) + QStringLiteral("R");
    c.Font.Color = RGBColor(40, 120, 40);
    c.TextOut(17, 17, round);
    c.Font.Color = clYellow;
    c.TextOut(15, 15, round);
    c.Brush.Style = TBrushStyle::bsSolid;

    drawFigures();
    for (const TPlayer& w : g.Walkers)
        for (size_t i = 0; i < w.FFootprints.size(); ++i) {
            const QPoint p = w.FFootprints[i] + QPoint(i % 2 ? 6 : -6, 0);
            c.Draw(p.x() - 4, p.y() - 2, m_footprint);
        }

    drawWalkers();
    drawBirds();
    if (g.WarpPoint.x() != -999 && (g.WarpFailed ? g.FinishCount <= 18 : g.FinishCount < 16))
        c.Draw(g.WarpPoint.x() + 5, g.WarpPoint.y() + 8, imWarp);

    if (g.FinishCount >= 0) {
        if (g.FinishCount < 12) PlayCheer(SndAsync | SndNoStop);
        // The seeker shows on top of a large hider, and of one in front of its box or exposed by a
        // bird once the boxes have gone.
        bool again = false;
        for (int i = 0; i < 2; ++i) {
            const TPlayer& w = g.Walkers[i];
            again = again || w.Has(mkLarge) || (g.FinishCount >= 12 && (w.Has(mkInFront) || w.Has(mkBird)));
        }
        if (again) drawWalkerAt(wkOni, frameOf(wkOni), 0, 0, false);
    }
    drawSpeeches();
    ShowBackBuffer();
}

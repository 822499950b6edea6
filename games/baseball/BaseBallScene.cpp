#include "BaseBallScene.h"

#include "SheetLoader.h"

#include <algorithm>
#include <cstring>
#include <numeric>

using namespace bb;

namespace {

constexpr int kW = 792, kH = 590;

// Colours of the panel and the boards.
constexpr TColor kBoardText = RGBColor(255, 244, 200);
constexpr TColor kBoardRuns = RGBColor(255, 214, 64);
constexpr TColor kPanelText = RGBColor(236, 240, 252);
constexpr TColor kPanelDim = RGBColor(160, 174, 214);
constexpr TColor kAiteColor = RGBColor(255, 120, 110);
constexpr TColor kMyColor = RGBColor(120, 190, 255);
constexpr TColor kOutColor = RGBColor(255, 48, 48);
constexpr TColor kFrameColor = RGBColor(255, 226, 60);

void loadStrip(TImageList& list, const QString& resource)
{
    list.Clear();
    const QImage strip = ResourceBitmap(resource);
    for (int x = 0; x + list.Width() <= strip.width(); x += list.Width()) list.AddMasked(strip.copy(x, 0, list.Width(), list.Height()));
}

void loadTransparent(TBitmap& b, const QString& resource)
{
    b.LoadFromResourceName(resource);
    b.Transparent = true;
}

// Copies a picture of the same size row by row.
void copyWhole(QImage& dst, const QImage& src)
{
    const int rows = std::min(dst.height(), src.height());
    const int bytes = std::min(dst.width(), src.width()) * 4;
    if (dst.format() != QImage::Format_RGB32 || src.format() != QImage::Format_RGB32) return;
    for (int y = 0; y < rows; ++y) std::memcpy(dst.scanLine(y), src.constScanLine(y), size_t(bytes));
}

} // namespace

TBaseBallScene::TBaseBallScene()
{
    imHaikei.LoadFromResourceName(QStringLiteral("BB_HAIKEI"));
    if (imHaikei.Width() != kW || imHaikei.Height() != kH) imHaikei.SetSize(kW, kH);
    loadStrip(imlBall, QStringLiteral("BB_BALL"));
    loadStrip(imlBat, QStringLiteral("BB_BAT"));
    loadStrip(imlGlove, QStringLiteral("BB_GLOVE"));
    loadStrip(imlHantei, QStringLiteral("BB_HANTEI"));
    for (int i = 0; i < 3; ++i) loadTransparent(imHomeRun[size_t(i)], QStringLiteral("BB_HOMERUN%1").arg(i));
    loadTransparent(imBatMark, QStringLiteral("BB_BATMARK"));
    loadTransparent(imBatMark2, QStringLiteral("BB_BATMARK2"));
    m_back.SetSize(kW, kH);
    m_boards = imHaikei;
    makeCourseFaces();
}

void TBaseBallScene::SetFontName(const QString& name)
{
    if (name == m_fontName) return;
    m_fontName = name;
    m_boardKey.clear();
    m_titleText.clear();
    makeCourseFaces();
}

void TBaseBallScene::MakeTeamList(int side, const TBitmap& sheet, const TTeamPictures& map)
{
    TImageList& list = TeamList(side);
    list.Clear();
    for (const TFrameTurn turn : {TFrameTurn::None, TFrameTurn::Mirror})
        for (int p = 0; p < map.PlayerCount; ++p)
            for (int frame = 0; frame < 2; ++frame) AddSheetFrame(list, sheet, map.Order[size_t(p)], frame, turn);
}

void TBaseBallScene::text(TCanvas& c, int x, int y, const QString& s, int pixels, TColor color, bool bold)
{
    c.Font.Name = m_fontName;
    c.Font.PixelHeight = pixels;
    c.Font.Color = color;
    c.Font.Bold = bold;
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(x, y, s);
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Font.Bold = false;
}

void TBaseBallScene::centredText(TCanvas& c, int left, int right, int y, const QString& s, int pixels, TColor color, bool bold)
{
    c.Font.Name = m_fontName;
    c.Font.PixelHeight = pixels;
    c.Font.Bold = bold;
    const int w = c.TextWidth(s);
    text(c, left + (right - left - w) / 2, y, s, pixels, color, bold);
}

void TBaseBallScene::Draw(const TBaseBallGame& g, const TSceneOptions& o)
{
    refreshBoards(g);
    copyWhole(m_back.Image(), m_boards.Image());
    drawCoursePanel(g, o);
    drawActors(g);
    drawBall(g);
    drawCalls(g);
    if (o.ShowData || g.StatisticsFlag) drawData(g, o);
    if (g.FullLineScore) drawFullLineScore(g);
    if (g.ShowsEndBanner()) drawEndBanner(g);
    if (g.Opening) drawOpening(o);
}

// ---- Boards ---------------------------------------------------------------------------------------

std::vector<int> TBaseBallScene::boardKey(const TBaseBallGame& g) const
{
    std::vector<int> k{g.Inning, g.BattingSide, g.Outs, g.ShowAverage ? 1 : 0, int(g.LineArchive.size())};
    for (int side = 0; side < 2; ++side) {
        const size_t s = size_t(side);
        k.insert(k.end(), {g.Runs[s], g.Hits[s], g.Errors[s], g.OrderPosition[s]});
        k.insert(k.end(), g.LineScore[s].begin(), g.LineScore[s].end());
        k.insert(k.end(), g.SlotPower[s].begin(), g.SlotPower[s].end());
        k.insert(k.end(), g.SlotAtBats[s].begin(), g.SlotAtBats[s].end());
        k.insert(k.end(), g.SlotHits[s].begin(), g.SlotHits[s].end());
    }
    return k;
}

void TBaseBallScene::refreshBoards(const TBaseBallGame& g)
{
    std::vector<int> key = boardKey(g);
    if (key == m_boardKey) return;
    m_boardKey = std::move(key);
    copyWhole(m_boards.Image(), imHaikei.Image());
    drawLineScore(g);
    drawScorePanel(g);
    drawBattingOrders(g);
}

void TBaseBallScene::drawLineScore(const TBaseBallGame& g)
{
    TCanvas& c = m_boards.Canvas();
    const int first = g.Inning / 10 * 10;
    auto cellLeft = [](int i) { return 113 + 34 * i; };
    for (int i = 0; i < 10; ++i) centredText(c, cellLeft(i), cellLeft(i) + 31, 23, QString::number(first + i + 1), 14, kBoardText);
    const char* totals[] = {"R", "H", "E"};
    for (int i = 0; i < 3; ++i) centredText(c, cellLeft(10 + i), cellLeft(10 + i) + 31, 23, QString::fromLatin1(totals[i]), 14, kBoardText);
    const int rowY[2] = {47, 75};
    for (int side = 0; side < 2; ++side) {
        const size_t s = size_t(side);
        centredText(c, 60, 110, rowY[side], side == 0 ? QStringLiteral("相手") : QStringLiteral("自分"), 16, side == 0 ? kAiteColor : kMyColor, true);
        for (int i = 0; i < 10; ++i) {
            const int runs = g.LineScore[s][size_t(i)];
            if (runs >= 0) centredText(c, cellLeft(i), cellLeft(i) + 31, rowY[side], QString::number(runs), 16, kBoardText);
        }
        centredText(c, cellLeft(10), cellLeft(10) + 31, rowY[side], QString::number(g.Runs[s]), 16, kBoardRuns, true);
        centredText(c, cellLeft(11), cellLeft(11) + 31, rowY[side], QString::number(g.Hits[s]), 16, kBoardText);
        centredText(c, cellLeft(12), cellLeft(12) + 31, rowY[side], QString::number(g.Errors[s]), 16, kBoardText);
    }
    // The half-inning in play.
    c.Brush.Color = kFrameColor;
    const int i = g.Inning % 10, y = rowY[g.BattingSide] - 3;
    c.FrameRect(cellLeft(i) - 1, y - 1, cellLeft(i) + 32, y + 24);
    c.FrameRect(cellLeft(i), y, cellLeft(i) + 31, y + 23);
}

void TBaseBallScene::drawScorePanel(const TBaseBallGame& g)
{
    TCanvas& c = m_boards.Canvas();
    const QString inning = QString::number(g.Inning + 1) + (g.BattingSide == 0 ? QStringLiteral("回表") : QStringLiteral("回ｳﾗ"));
    centredText(c, 612, 786, 16, inning + QStringLiteral(" %1 - %2").arg(g.Runs[0]).arg(g.Runs[1]), 22, kPanelText, true);
    centredText(c, 612, 786, 50, QStringLiteral("相手　　　　自分"), 13, kPanelDim);
    text(c, 618, 114, QStringLiteral("アウト"), 14, kPanelDim);
    if (g.Outs >= 1 && g.Outs <= 2) text(c, 674, 112, g.Outs == 1 ? QStringLiteral("●") : QStringLiteral("●●"), 16, kOutColor, true);
    centredText(c, 729, 789, 127, g.ShowAverage ? QStringLiteral("　打 率　") : QStringLiteral("安打/打数"), 12, kPanelText);
    text(c, 626, 151, QStringLiteral("相手"), 13, kAiteColor, true);
    text(c, 717, 151, QStringLiteral("自分"), 13, kMyColor, true);
    const TColor batterColor = g.BattingSide == 0 ? kAiteColor : kMyColor;
    text(c, 620, 341, QStringLiteral("%1番バッター").arg(g.CurrentSlot() + 1), 16, batterColor, true);
    text(c, 640, 388, g.UserBats() ? QStringLiteral("打つコース") : QStringLiteral("投げるコース"), 16, kPanelText, true);
}

void TBaseBallScene::drawBattingOrders(const TBaseBallGame& g)
{
    TCanvas& c = m_boards.Canvas();
    for (int side = 0; side < 2; ++side) {
        const size_t s = size_t(side);
        const int x0 = 624 + 91 * side;
        for (int j = 0; j < 9; ++j) {
            const int y = 170 + 18 * j;
            // One mark, and one more for each of the powers 4, 6, 8 and 10 the batter reaches.
            const int power = g.SlotPower[s][size_t(j)];
            int marks = 1;
            for (int level : {4, 6, 8, 10}) marks += power >= level ? 1 : 0;
            for (int m = 0; m < marks; ++m) c.Draw(x0 + 6 * m, y + 2, m >= 3 ? imBatMark2 : imBatMark);
            text(c, x0 + 32, y + 2, BattingOrderText(g.SlotHits[s][size_t(j)], g.SlotAtBats[s][size_t(j)], g.ShowAverage), 12, kPanelText);
        }
    }
    // The batter at the plate.
    const int x0 = 624 + 91 * g.BattingSide - 3, y = 170 + 18 * g.CurrentSlot();
    c.Brush.Color = kFrameColor;
    c.FrameRect(x0, y, std::min(x0 + 89, 788), y + 18);
}

// ---- The course panel -----------------------------------------------------------------------------

void TBaseBallScene::makeCourseFaces()
{
    struct Look {
        TColor face, light, dark, ink;
    };
    const Look looks[kFaceStates] = {
        {RGBColor(232, 226, 206), RGBColor(252, 250, 240), RGBColor(150, 140, 118), RGBColor(40, 40, 56)},  // normal
        {RGBColor(255, 240, 150), RGBColor(255, 252, 214), RGBColor(190, 160, 60), RGBColor(40, 40, 56)},   // hover
        {RGBColor(60, 130, 236), RGBColor(150, 196, 255), RGBColor(24, 60, 140), RGBColor(255, 255, 254)}, // the user's
        {RGBColor(226, 66, 58), RGBColor(255, 150, 140), RGBColor(120, 24, 20), RGBColor(255, 255, 254)},  // the computer's
        {RGBColor(170, 70, 210), RGBColor(220, 160, 250), RGBColor(90, 24, 120), RGBColor(255, 236, 90)},  // both
    };
    auto face = [&](TBitmap& b, int w, int h, const Look& l, const std::function<void(TCanvas&)>& label) {
        b.SetSize(w, h);
        TCanvas& c = b.Canvas();
        c.Brush.Color = l.dark;
        c.FillRect(0, 0, w, h);
        c.Brush.Color = l.light;
        c.FillRect(0, 0, w - 1, h - 1);
        c.Brush.Color = l.face;
        c.FillRect(1, 1, w - 2, h - 2);
        c.Font.Color = l.ink;
        label(c);
    };
    for (int course = 0; course <= 10; ++course) {
        const TBox r = course == kTagUpIndex ? kTagUpButton : CourseRect(course);
        const int w = r.Right - r.Left - 2, h = r.Bottom - r.Top - 2;
        for (int st = 0; st < kFaceStates; ++st) {
            const Look& l = looks[st];
            if (course == 0) {
                auto zero = [&](const QString& what) {
                    return [&, what](TCanvas& c) {
                        text(c, 7, (h - 22) / 2, QStringLiteral("0"), 22, l.ink, true);
                        text(c, 24, (h - 13) / 2 + 1, what, 13, l.ink, true);
                    };
                };
                face(m_faces[0][size_t(st)], w, h, l, zero(QStringLiteral("敬遠")));
                face(m_buntFaces[size_t(st)], w, h, l, zero(QStringLiteral("送りﾊﾞﾝﾄ")));
            } else if (course == kTagUpIndex) {
                face(m_faces[10][size_t(st)], w, h, l, [&](TCanvas& c) {
                    centredText(c, 0, w, 3, QStringLiteral("ﾀｯﾁ"), 14, l.ink, true);
                    centredText(c, 0, w, 18, QStringLiteral("ｱｯﾌﾟ"), 14, l.ink, true);
                });
            } else {
                face(m_faces[size_t(course)][size_t(st)], w, h, l,
                     [&](TCanvas& c) { centredText(c, 0, w, (h - 24) / 2, QString::number(course), 24, l.ink, true); });
            }
        }
    }
    m_ballCall.SetSize(70, 22);
    m_ballCall.Canvas().Brush.Color = clWhite;
    m_ballCall.Canvas().FillRect(0, 0, 70, 22);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) text(m_ballCall.Canvas(), 2 + dx, 2 + dy, QStringLiteral("ボール"), 18, RGBColor(255, 255, 254), true);
    text(m_ballCall.Canvas(), 2, 2, QStringLiteral("ボール"), 18, RGBColor(220, 30, 30), true);
    m_ballCall.Transparent = true;
}

void TBaseBallScene::drawCoursePanel(const TBaseBallGame& g, const TSceneOptions& o)
{
    TCanvas& c = m_back.Canvas();
    // The user's course shows as soon as it is chosen by hand, an automatic one from the wind-up.
    int mine = g.UserCourse != kNoCourse ? g.UserCourse : g.CourseBuffer;
    if (mine != kNoCourse && g.Auto && g.PanelStage < 1) mine = kNoCourse;
    const int com = o.ShowComCourse && g.PanelStage >= 2 ? g.ComCourse : kNoCourse;
    const int hover = g.Auto ? -1 : g.Hover;
    for (int course = 0; course <= 10; ++course) {
        int st = fsNormal;
        if (course == kTagUpIndex) {
            st = g.TagUp[1] ? fsMine : hover == kTagUpIndex ? fsHover : fsNormal;
        } else if (course == mine && course == com) {
            st = fsBoth;
        } else if (course == mine) {
            st = fsMine;
        } else if (course == com) {
            st = fsCom;
        } else if (course == hover) {
            st = fsHover;
        }
        const TBox r = course == kTagUpIndex ? kTagUpButton : CourseRect(course);
        const TBitmap& f = course == 0 && g.UserBats() ? m_buntFaces[size_t(st)] : m_faces[size_t(course)][size_t(st)];
        c.Draw(r.Left + 1, r.Top + 1, f);
    }
    const bool ballCalled = g.Play.BallFlag || (g.PanelStage == 3 && g.Ball.PlayResult == prWalk);
    if (ballCalled) c.Draw(712, 360, m_ballCall);
}

// ---- The field ------------------------------------------------------------------------------------

void TBaseBallScene::drawActors(const TBaseBallGame& g)
{
    TCanvas& c = m_back.Canvas();
    std::array<int, kActorCount> order;
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return g.Actors[size_t(a)].Pos.y() < g.Actors[size_t(b)].Pos.y(); });
    const TBallActor& batter = g.Actors[kBatter];
    const bool batterAtPlate = batter.Action == acBatting || (g.Ball.PlayResult == prStrikeout && g.PanelStage == 3 && batter.Action != acMoveToPos);
    for (int i : order) {
        const TBallActor& a = g.Actors[size_t(i)];
        if (a.Picture < 0) continue;
        // A fielder leaping at the fence rises with his jump.
        const int x = a.Pos.x(), y = a.Pos.y() - 7 * a.JumpStage;
        if (y - 70 >= kH) continue;
        TeamList(a.Side).Draw(c, x - 35, y - 70, a.Picture);
        const TPictureOffsets& off = g.Offsets[size_t(a.Side)];
        const int pose = a.Pose <= 3 ? a.Pose : 0;
        if (i < kBatter) {
            const QPoint gl = off.Glove[size_t(pose)];
            imlGlove.Draw(c, x + gl.x(), y + gl.y(), pose & 1);
        } else if (i == kBatter && batterAtPlate) {
            const int f = std::clamp(g.BatFrame, 0, 5);
            const QPoint b = g.Equipment.BatFrames[size_t(f)];
            imlBat.Draw(c, x + b.x(), y + b.y(), f);
        }
    }
}

void TBaseBallScene::drawBall(const TBaseBallGame& g)
{
    const int h = std::clamp(g.Ball.Height, 0, 4);
    imlBall.Draw(m_back.Canvas(), g.Ball.Pos.x() - 14, g.Ball.Pos.y() - 14, h);
}

void TBaseBallScene::drawCalls(const TBaseBallGame& g)
{
    TCanvas& c = m_back.Canvas();
    const TPlayState& p = g.Play;
    const int w = imlHantei.Width(), h = imlHantei.Height();
    // The first mark calls the play; the others are its further outs.
    for (size_t k = 0; k < p.OutMarks.size() && k < 3; ++k) {
        const TOutMark& m = p.OutMarks[k];
        imlHantei.Draw(c, m.At.x() - w / 2, m.At.y() - h / 2, std::clamp(m.Banner, 0, 4));
    }
    if (p.FoulAnnounced && p.FoulKind >= 1 && p.FoulKind <= 6) {
        const QPoint spot = g.FoulSpots[size_t(p.FoulKind)];
        const bool right = p.FoulKind % 2 == 1;
        const int x = right ? spot.x() + 30 : spot.x() - 30 - w;
        const int y = std::clamp(spot.y() - h / 2, 0, kH - h);
        imlHantei.Draw(c, std::clamp(x, 0, kBallMaxX - w), y, pkFoul);
    }
    if (p.HomeRun) {
        const bool walkOff = g.Winner == 1 && g.BenchOut;
        const bool grandSlam = (g.RunnerByte & 0x0F) == 3;
        const TBitmap& b = imHomeRun[walkOff ? 2 : grandSlam ? 1 : 0];
        c.Draw((kBallMaxX - b.Width()) / 2, 190, b);
    }
}

void TBaseBallScene::makeTitle(const QString& title)
{
    // The caption in a framed box, and under it the makers' line in purple with a white outline.
    m_titleText = title;
    TBitmap probe(1, 1);
    probe.Canvas().Font.Name = m_fontName;
    probe.Canvas().Font.PixelHeight = 30;
    probe.Canvas().Font.Bold = true;
    const int tw = probe.Canvas().TextWidth(title);
    probe.Canvas().Font.SetSize(20);
    const QString by = QStringLiteral("presented by panimoko");
    const int bw = probe.Canvas().TextWidth(by);
    const int w = std::max(tw + 48, bw + 12), h = 100;
    m_title.SetSize(w, h);
    TCanvas& c = m_title.Canvas();
    c.Brush.Color = clWhite;
    c.FillRect(0, 0, w, h);
    const int bx = (w - tw - 48) / 2;
    c.Brush.Color = RGBColor(250, 214, 60);
    c.FillRect(bx, 0, bx + tw + 48, 52);
    c.Brush.Color = RGBColor(30, 40, 90);
    c.FillRect(bx + 3, 3, bx + tw + 45, 49);
    c.Brush.Color = RGBColor(70, 90, 170);
    c.FrameRect(bx + 6, 6, bx + tw + 42, 46);
    text(c, bx + 24, 10, title, 30, RGBColor(255, 250, 230), true);
    TFont f;
    f.SetSize(20);
    const int byX = (w - bw) / 2, byY = 60;
    for (int dy = -2; dy <= 2; dy += 2)
        for (int dx = -2; dx <= 2; dx += 2)
            if (dx || dy) text(c, byX + dx, byY + dy, by, f.PixelHeight, RGBColor(255, 255, 254));
    text(c, byX, byY, by, f.PixelHeight, RGBColor(128, 0, 160));
    m_title.Transparent = true;
}

void TBaseBallScene::drawOpening(const TSceneOptions& o)
{
    if (o.Title != m_titleText || m_title.Empty()) makeTitle(o.Title);
    m_back.Canvas().Draw((kBallMaxX - m_title.Width()) / 2, 200, m_title);
}

// The soccer scene's still parts and its boards: the pictures, the team lists, the background, the
// goals, the operation buttons, the scoreboard with its statistics, the period with its time bar and
// the goal list. The players, the ball, the markers and the messages are in SoccerViewActors.cpp.
#include "SoccerView.h"

#include "SheetLoader.h"
#include "SoccerReplay.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace soccer {

namespace {

constexpr int kCx = 431;            // the centre line
constexpr int kBandTop = 60, kPitchTop = 95;
constexpr TColor kTeal = clTeal;
constexpr TColor kMouth = 0xECECEC;

// Pixel sizes of the point sizes the scene uses.
constexpr int Px(int points) { return (points * 96 + 36) / 72; }

QImage clearImage(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// A picture with pure white as its clear ground, made ready to be drawn over the scene.
QImage keyed(const QImage& src)
{
    QImage img = src.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFFu) == 0xFFFFFFu) line[x] = 0;
    }
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void aliased(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

QColor qc(TColor c) { return ToQColor(c); }

// Characters that take one byte in the goal labels' code page.
int labelBytes(const QString& label)
{
    int n = 0;
    for (QChar ch : label) n += ch.unicode() < 0x80 || (ch.unicode() >= 0xFF61 && ch.unicode() <= 0xFF9F) ? 1 : 2;
    return n;
}

} // namespace

TColor BlendColor(TColor c1, TColor c2, double f)
{
    const int k = int(std::nearbyint(f * 256));
    auto mix = [k](int a, int b) { return (k * b + (255 - k) * a) / 255; };
    return RGBColor(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)), mix(GetBValue(c1), GetBValue(c2))) & 0xFFFFFF;
}

TSoccerView::TSoccerView()
{
    m_back.SetSize(kW, kH);
    m_pitch = ResourceBitmap(QStringLiteral("SOCCER_PITCH")).convertToFormat(QImage::Format_RGB32);
    if (m_pitch.size() != QSize(kW, kH)) {
        m_pitch = QImage(kW, kH, QImage::Format_RGB32);
        m_pitch.fill(ToPixel(clLime));
    }
    const QImage frame = ResourceBitmap(QStringLiteral("SOCCER_GOAL"));
    m_goalFrame[0] = keyed(frame);
    m_goalFrame[1] = keyed(frame.mirrored(true, false));
    const QImage balls = ResourceBitmap(QStringLiteral("SOCCER_BALL"));
    for (int i = 0; i < 5; ++i) {
        QImage cell = balls.isNull() ? QImage() : balls.copy(23 * std::min(i, 3), 0, 23, 23);
        if (i == 4 && !cell.isNull()) cell = cell.mirrored(true, false);
        if (!cell.isNull()) imlBall.AddMasked(cell);
        m_ball[i] = cell.isNull() ? clearImage(23, 23) : keyed(cell);
    }
    const QImage fire = ResourceBitmap(QStringLiteral("SOCCER_FIRE"));
    for (int t = 0; t < 2; ++t) {
        const QImage cell = fire.isNull() ? QImage() : fire.copy(30 * t, 0, 30, 30);
        if (!cell.isNull()) imlFire.AddMasked(cell);
        m_fire[t] = cell.isNull() ? clearImage(30, 30) : keyed(cell);
    }
    imChance0.LoadFromResourceName(QStringLiteral("SOCCER_CHANCE0"));
    imChance1.LoadFromResourceName(QStringLiteral("SOCCER_CHANCE1"));
    PKBmp.LoadFromResourceName(QStringLiteral("PKBMP"));
    GoalBmp.LoadFromResourceName(QStringLiteral("GOALBMP"));
    for (TBitmap* b : {&imChance0, &imChance1, &PKBmp, &GoalBmp}) b->Transparent = true;
    m_chance[0] = keyed(imChance0.Image());
    m_chance[1] = keyed(imChance1.Image());
    m_pk = keyed(PKBmp.Image());
    m_goalBanner = keyed(GoalBmp.Image());

    // The net: a diagonal cross pattern over the net's rectangle.
    const TRect& net = NetRt[0];
    for (int i = 0; i < 2; ++i) {
        m_hatch[i] = clearImage(net.Right - net.Left, net.Bottom - net.Top);
        const QRgb c = i == 0 ? 0xFFFFFFFFu : 0xFFFF0000u;
        for (int y = 0; y < m_hatch[i].height(); ++y)
            for (int x = 0; x < m_hatch[i].width(); ++x)
                if ((x + y) % 6 == 0 || (x - y + 600) % 6 == 0) m_hatch[i].setPixel(x, y, c);
    }
    makeButtonFaces();
}

void TSoccerView::SetBoardColour(int which)
{
    static constexpr TColor kColours[3] = {0xFFFF00, 0x80FFFF, 0xC0FFC0};
    m_boardColour = kColours[std::clamp(which, 0, 2)];
}

void TSoccerView::SetFontName(const QString& name)
{
    if (name.isEmpty() || name == m_fontName) return;
    m_fontName = name;
    m_texts.clear();
    m_sizes.clear();
    makeButtonFaces();
}

void TSoccerView::MakeTeamImages(int team, const TBitmap& sheet, const std::vector<int>& order)
{
    TImageList& list = team == 0 ? imlA : imlB;
    list.Clear();
    const int n = std::clamp(int(order.size()), 1, 7);
    PlayerCount[team] = n;
    for (const TFrameTurn turn : {TFrameTurn::None, TFrameTurn::Mirror})
        for (int i = 0; i < n; ++i)
            for (int frame = 0; frame < 2; ++frame)
                AddSheetFrame(list, sheet, order.empty() ? 0 : order[size_t(i)], frame, turn);
    m_sprites[team].clear();
    for (int i = 0; i < list.Count(); ++i) m_sprites[team].push_back(keyed(list.Image(i)));
    for (auto it = m_turned.begin(); it != m_turned.end();)
        it = (it->first >> 8) == team ? m_turned.erase(it) : std::next(it);
}

const QImage& TSoccerView::sprite(int team, int index) const
{
    static const QImage none = clearImage(70, 70);
    const std::vector<QImage>& list = m_sprites[team];
    return index >= 0 && index < int(list.size()) ? list[size_t(index)] : none;
}

// ---- Texts ----------------------------------------------------------------------------------------

QSize TSoccerView::textSize(const QString& s, int px, bool bold)
{
    const TTextKey key{s, px, bold, 0};
    auto it = m_sizes.constFind(key);
    if (it != m_sizes.constEnd()) return *it;
    TFont f;
    f.Name = m_fontName;
    f.PixelHeight = px;
    f.Bold = bold;
    const QFontMetrics fm(f.ToQFont());
    const QSize size(fm.horizontalAdvance(s), fm.height());
    if (m_sizes.size() > 4096) m_sizes.clear();
    m_sizes.insert(key, size);
    return size;
}

const QImage& TSoccerView::text(const QString& s, int px, TColor colour, bool bold)
{
    const TTextKey key{s, px, bold, ToPixel(colour)};
    auto it = m_texts.constFind(key);
    if (it != m_texts.constEnd()) return *it;
    const QSize size = textSize(s, px, bold);
    QImage img = clearImage(std::max(1, size.width()), std::max(1, size.height()));
    TFont f;
    f.Name = m_fontName;
    f.PixelHeight = px;
    f.Bold = bold;
    const QFont qf = f.ToQFont();
    {
        QPainter p(&img);
        aliased(p);
        p.setFont(qf);
        p.setPen(qc(colour));
        p.drawText(0, QFontMetrics(qf).ascent(), s);
    }
    if (m_texts.size() > 2048) m_texts.clear();
    return *m_texts.insert(key, img);
}

void TSoccerView::drawText(QPainter& p, int x, int y, const QString& s, int px, TColor colour, bool bold)
{
    if (!s.isEmpty()) p.drawImage(x, y, text(s, px, colour, bold));
}

void TSoccerView::drawCentred(QPainter& p, int cx, int y, const QString& s, int px, TColor colour, bool bold)
{
    drawText(p, cx - textSize(s, px, bold).width() / 2, y, s, px, colour, bold);
}

QRect TSoccerView::LabelRect(int n, const QString& label)
{
    const TRect r = GoalLabelRect(n, labelBytes(label));
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

// ---- The frame ------------------------------------------------------------------------------------

void TSoccerView::Draw(TSoccerState& s, const TSoccerViewOptions& o)
{
    drawBackground();
    QPainter p(&m_back.Image());
    aliased(p);
    if (s.FTimeMode == tmPastReplay && o.ReplayChosen) {
        p.fillRect(QRect(8, 5, textSize(QStringLiteral("ゴールシーン過去リプレイ"), Px(11)).width() + 2, Px(11) + 2), qc(clMaroon));
        drawText(p, 9, 6, QStringLiteral("ゴールシーン過去リプレイ"), Px(11), clWhite);
        drawText(p, 9, 25, QString::asprintf("再生番号=%02d (最新=", o.ReplaySlot) + o.LatestSlotText + QLatin1Char(')'), Px(11), clBlack);
        const QString manual = s.FFileManual ? QStringLiteral("手動") : QStringLiteral("自動");
        drawText(p, 10, 44, QLatin1Char('"') + o.ReplayLabel + QStringLiteral("\" (") + manual + QLatin1Char(')'), Px(9), clBlack);
    }
    drawGoals(p, s);
    drawButtons(p, s);
    drawScoreboard(p, s);
    drawPeriod(p, s);
    drawGoalList(p, s);
    drawPassLine(p, s);
    drawActors(p, s, o);
    drawTrace(p, s, o);
    drawMarkers(p, s);
    drawMessages(p, s);
    if (s.FOpening) drawOpening(p, o);
}

void TSoccerView::drawBackground()
{
    QImage& img = m_back.Image();
    const QRgb band = ToPixel(m_boardColour), maroon = ToPixel(clMaroon);
    for (int y = 0; y < kPitchTop; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        std::fill(line, line + kW, y < kBandTop ? band : maroon);
    }
    const size_t bytes = size_t(kW) * 4;
    for (int y = kPitchTop; y < kH; ++y) std::memcpy(img.scanLine(y), m_pitch.constScanLine(y), bytes);
}

void TSoccerView::drawGoals(QPainter& p, TSoccerState& s)
{
    const int scoredIn = s.FLastScorer.team >= 0 ? 1 - s.FLastScorer.team : -1;
    const bool flash = s.FGoalTick >= 0 && s.FTick % 10 <= 5 && s.FWinner < 0 && !s.FReplaying;
    for (int k = 0; k < 2; ++k) {
        int dy = 0;
        if (s.NetAnim[k] > 0) {
            dy = s.NetAnim[k] % 2 ? -1 : 1;
            --s.NetAnim[k];
        }
        const TRect& net = NetRt[k];
        const TRect& mouth = GoalRt[k];
        p.fillRect(QRect(net.Left, net.Top + dy, net.Right - net.Left, net.Bottom - net.Top), QColor(200, 206, 214));
        const bool ordered = k == 1 && s.FUserShot;
        p.fillRect(QRect(mouth.Left, mouth.Top + dy, mouth.Right - mouth.Left, mouth.Bottom - mouth.Top), qc(ordered ? clRed : kMouth));
        p.drawImage(net.Left, net.Top + dy, m_hatch[flash && k == scoredIn ? 1 : 0]);
        p.drawImage(k == 0 ? 59 : kW - 59 - m_goalFrame[1].width(), 282 + dy, m_goalFrame[k]);
    }
}

void TSoccerView::makeButtonFaces()
{
    // Frame and face of each colour set and state: the user's blue on silver lit in yellow, and the
    // same four colours turned towards lime for the computer.
    const TColor frame = 0xFF0000, face = 0xC0C0C0, activeFrame = 0xFF0000, highlight = 0x00FFFF;
    const TColor light[4] = {BlendColor(frame, clLime, 0.4), BlendColor(face, clLime, 0.5), BlendColor(activeFrame, clLime, 0.7),
                             BlendColor(highlight, clLime, 0.6)};
    for (int set = 0; set < 2; ++set)
        for (int kind = 0; kind < 2; ++kind)
            for (int lit = 0; lit < 2; ++lit) {
                const TRect& r = OperationRt[1][kind];
                QImage img = clearImage(r.Right - r.Left, r.Bottom - r.Top);
                const TColor edge = set == 0 ? (lit ? activeFrame : frame) : (lit ? light[2] : light[0]);
                const TColor fill = set == 0 ? (lit ? highlight : face) : (lit ? light[3] : light[1]);
                QPainter p(&img);
                aliased(p);
                p.setPen(QPen(qc(edge), 2));
                p.setBrush(qc(fill));
                const QRect box(1, 1, img.width() - 2, img.height() - 2);
                if (kind == 0) p.drawRoundedRect(box, 10, 10);
                else p.drawEllipse(box);
                // A lighter rim along the top edge.
                p.setPen(QPen(qc(BlendColor(fill, clWhite, 0.5)), 1));
                if (kind == 0) p.drawLine(8, 3, img.width() - 9, 3);
                else p.drawArc(box.adjusted(4, 3, -4, -3), 40 * 16, 100 * 16);
                const int px = Px(12);
                if (kind == 0) {
                    const QString lines[4] = {QStringLiteral("ﾙｰﾌﾟ"), QStringLiteral("・"), QStringLiteral("ﾛﾝｸﾞ"), QStringLiteral("ｼｭｰﾄ")};
                    for (int i = 0; i < 4; ++i)
                        p.drawImage((img.width() - textSize(lines[i], px).width()) / 2, 4 + 17 * i, text(lines[i], px, clBlack));
                } else {
                    const QString a = QStringLiteral("ﾃﾞｨﾌｪﾝｽ"), b = QStringLiteral("上げる");
                    p.drawImage((img.width() - textSize(a, px).width()) / 2, 10, text(a, px, clBlack));
                    p.drawImage((img.width() - textSize(b, px).width()) / 2, 28, text(b, px, clBlack));
                }
                m_buttons[set][kind][lit] = img;
            }
}

void TSoccerView::drawButtons(QPainter& p, const TSoccerState& s)
{
    for (int side = 0; side < 2; ++side) {
        // The right-hand pair is the user's (team 0 attacks to the right), the left-hand the computer's.
        const int team = side == 1 ? 0 : 1;
        const int set = team == 0 && s.FOperation != 3 ? 0 : 1;
        const bool loopLit = s.FLoopShot[team] || (team == 0 && s.FLoopHover);
        const bool defenceLit = s.FTrap[team] || (team == 0 && s.FDefenceHover);
        const TRect& loop = OperationRt[side][0];
        const TRect& defence = OperationRt[side][1];
        p.drawImage(loop.Left, loop.Top, m_buttons[set][0][loopLit ? 1 : 0]);
        p.drawImage(defence.Left, defence.Top, m_buttons[set][1][defenceLit ? 1 : 0]);
        const QString chance = QString::asprintf("%2d%%", s.FShotChance[team]);
        drawCentred(p, (loop.Left + loop.Right) / 2, loop.Top + 74, chance, Px(12), clNavy, s.FLoopShot[team]);
    }
}

void TSoccerView::drawScoreboard(QPainter& p, const TSoccerState& s)
{
    const int widen = 40 * (int(s.FGoalLabels.size()) / 5);
    const QRect board(kCx - 236 - widen, 5, 472 + 2 * widen, 110);
    p.setPen(QPen(qc(0x404000), 1));
    p.setBrush(qc(kTeal));
    p.drawRoundedRect(board, 14, 14);
    drawCentred(p, kCx, 11, QString::asprintf("%d - %d", s.FStats[0][stGoals], s.FStats[1][stGoals]), Px(28), clWhite, true);
    drawCentred(p, kCx, 50, BoardClockText(s), Px(19), clYellow);
    static const char* const kLines[6] = {"ｼｭｰﾄ   %2d - %-2d", "ﾙｰﾌﾟ   %2d - %-2d", "ﾍﾃﾞｨﾝｸﾞ%2d - %-2d",
                                          "PK     %2d - %-2d", "ﾌｧｰﾙ   %2d - %-2d", "ｵﾌｻｲﾄﾞ %2d - %-2d"};
    static const int kStat[6] = {stShots, stLoopShots, stHeadings, stPenalties, stFouls, stOffsides};
    for (int i = 0; i < 6; ++i) {
        const QString line = QString::fromUtf8(kLines[i]);
        const QString t = line.left(line.indexOf(QLatin1Char('%'))) +
                          QString::asprintf("%2d - %-2d", s.FStats[0][kStat[i]], s.FStats[1][kStat[i]]);
        drawText(p, kCx - 210, 13 + 16 * i, t, Px(12), clWhite);
    }
}

namespace {

QString periodText(const TSoccerState& s)
{
    const int minute = s.FClock / 60;
    if (s.FAddedMinutes > 0 || s.FClock >= s.FEndTime) {
        if (s.FWinner >= 0) return QStringLiteral("試 合 終 了");
        switch (s.FTimeState) {
        case tsNormal: return QStringLiteral("ｱﾃﾞｨｼｮﾅﾙﾀｲﾑ +%1:00").arg(s.FAddedMinutes);
        case tsBonus: return QStringLiteral("ﾎﾞｰﾅｽﾀｲﾑ %1:00").arg(90 + s.FAddedMinutes);
        default: return QStringLiteral("サドンデス");
        }
    }
    if (s.FTimeMode != tmFirstHalf || minute >= 45) return QStringLiteral("後 半");
    return QStringLiteral("前 半");
}

} // namespace

void TSoccerView::drawPeriod(QPainter& p, const TSoccerState& s)
{
    const int minute = s.FClock / 60;
    const bool over = s.FAddedMinutes > 0 || s.FClock >= s.FEndTime || minute >= 90;
    const int m = over ? 45 : minute % 45;
    const QRect bar(kCx - 82, 80, 164, 28);
    const int filled = 164 * m / 45;
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(bar.adjusted(0, 0, -1, -1));
    p.fillRect(QRect(bar.left(), bar.top(), filled, bar.height()), Qt::white);
    const QString t = periodText(s);
    const int px = Px(13);
    const int x = kCx - textSize(t, px).width() / 2, y = 85;
    p.save();
    p.setClipRect(QRect(bar.left(), 0, filled, kH));
    drawText(p, x, y, t, px, kTeal, true);
    p.setClipRect(QRect(bar.left() + filled, 0, kW, kH));
    drawText(p, x, y, t, px, clWhite, true);
    p.restore();
}

void TSoccerView::drawGoalList(QPainter& p, const TSoccerState& s)
{
    const bool past = s.FTimeMode == tmPastReplay;
    const int px = Px(12);
    for (size_t n = 0; n < s.FGoalLabels.size(); ++n) {
        const QString& label = s.FGoalLabels[n];
        const QRect r = past && n < s.FGoalLabelRects.size()
                            ? QRect(s.FGoalLabelRects[n].Left, s.FGoalLabelRects[n].Top,
                                    s.FGoalLabelRects[n].Right - s.FGoalLabelRects[n].Left,
                                    s.FGoalLabelRects[n].Bottom - s.FGoalLabelRects[n].Top)
                            : LabelRect(int(n), label);
        const bool selected = past && int(n) == s.FSceneCount;
        if (selected) p.fillRect(r.adjusted(-2, -1, 2, 1), qc(clYellow));
        drawText(p, r.left(), r.top(), label, px, selected ? kTeal : clWhite);
        // The team mark and the free-kick mark once more over it, so that they stand out.
        drawText(p, r.left(), r.top(), label.left(2), px, selected ? kTeal : clWhite, true);
    }
}

} // namespace soccer

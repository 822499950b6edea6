// Pictures of the baseball game: the ballpark seen from behind home plate with the scoreboard and the
// right-hand panel, the ball by its apparent height, the swing of the bat, the gloves, the call and
// home-run banners and the power marks of the batting order. The field follows the game's spots:
// bases, mound, foul lines, poles and the wall sit where the players stand, run and throw.
#include "PixelArt.h"
#include "ResGen.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

using namespace px;

namespace {

constexpr int kW = 792, kH = 590, kFieldW = 605;

// Where the game's spots put the diamond.
const QPointF kHome(300, 556), kFirst(466, 410), kSecond(300, 291), kThird(140, 410), kMound(300, 408);
// The foul lines reach the wall here; the poles stand on these points.
const QPointF kLeftLineEnd(16, 296), kRightLineEnd(592, 298);

const QPolygonF kFenceOuter{{{-20, 290}, {85, 190}, {180, 135}, {270, 110}, {335, 110}, {425, 135}, {520, 190}, {625, 290}}};
const QPolygonF kFenceInner{{{-20, 330}, {95, 220}, {190, 160}, {265, 140}, {340, 140}, {415, 160}, {510, 220}, {625, 330}}};

void aliased(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
}

QColor qc(QRgb c)
{
    return QColor::fromRgb(Opaque(c));
}

QPolygonF reversed(const QPolygonF& poly)
{
    QPolygonF r;
    for (qsizetype i = poly.size() - 1; i >= 0; --i) r << poly[i];
    return r;
}

// ---- The ballpark -------------------------------------------------------------------------------

// The area inside the fence line `fence` followed by `rest`.
QPainterPath closedArea(QPolygonF fence, const QPolygonF& rest)
{
    QPainterPath path;
    fence << rest;
    path.addPolygon(fence);
    path.closeSubpath();
    return path;
}

QPainterPath standsArea()
{
    return closedArea(kFenceOuter, QPolygonF{QPointF(625, -5), QPointF(-20, -5)});
}

QPainterPath fenceBand()
{
    return closedArea(kFenceInner, reversed(kFenceOuter));
}

QPainterPath playingArea()
{
    return closedArea(kFenceInner, QPolygonF{QPointF(625, 600), QPointF(-20, 600)});
}

void drawStands(QImage& img, QPainter& p)
{
    // Tiers of seats, the higher ones darker, with spectators in every colour.
    p.save();
    p.setClipPath(standsArea());
    for (int y = 0, i = 0; y < 300; y += 9, ++i) {
        const double k = std::min(1.0, y / 260.0);
        const QRgb seat = Mix(Rgb(44, 52, 92), Rgb(74, 86, 132), k);
        p.fillRect(0, y, kFieldW, 9, qc(i % 2 ? seat : Darker(seat, 0.12)));
    }
    p.restore();
    const QRgb crowd[] = {Rgb(232, 84, 72), Rgb(250, 214, 86), Rgb(236, 236, 232), Rgb(112, 196, 240), Rgb(250, 150, 60),
                          Rgb(184, 124, 214), Rgb(96, 200, 120), Rgb(240, 130, 170)};
    unsigned s = 271828u;
    const QPainterPath area = standsArea();
    for (int row = 0; row * 9 + 2 < 300; ++row)
        for (int x = 2; x < kFieldW - 2; x += 6) {
            s = s * 1103515245u + 12345u;
            if ((s >> 16) % 5 == 0) continue;
            const int hx = x + int((s >> 9) % 3), hy = row * 9 + 2;
            if (!area.contains(QPointF(hx + 1, hy + 6))) continue;
            const QRgb c = crowd[(s >> 20) % 8];
            FillRect(img, hx, hy + 3, 4, 3, Darker(c, 0.2)); // shoulders
            FillRect(img, hx + 1, hy, 2, 3, (s >> 24) % 3 ? Rgb(250, 214, 178) : Rgb(150, 100, 70)); // head
        }
}

QRgb mowed(int x, int y)
{
    // Diamond checks as the groundskeepers mow them.
    const int a = int(std::floor((x + 1.25 * y) / 26.0)), b = int(std::floor((x - 1.25 * y + 4000) / 26.0));
    return (a + b) % 2 ? Rgb(66, 158, 70) : Rgb(80, 174, 78);
}

void drawGrass(QPainter& p)
{
    QImage grass(kFieldW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kFieldW; ++x) grass.setPixel(x, y, mowed(x, y));
    p.save();
    p.setClipPath(playingArea());
    p.drawImage(0, 0, grass);
    // The warning track along the foot of the wall.
    QPainterPathStroker track;
    track.setWidth(22);
    QPainterPath edge;
    edge.addPolygon(kFenceInner);
    p.fillPath(track.createStroke(edge), qc(Rgb(178, 126, 82)));
    p.restore();
}

void drawFence(QImage& img, QPainter& p)
{
    p.fillPath(fenceBand(), qc(Rgb(30, 96, 70)));
    p.save();
    p.setClipPath(fenceBand());
    // Padding seams, and a darker foot where the wall meets the track.
    p.setPen(qc(Rgb(22, 74, 54)));
    for (int x = -20; x < 630; x += 22) p.drawLine(x, 100, x, 340);
    QPainterPathStroker foot;
    foot.setWidth(6);
    QPainterPath inner;
    inner.addPolygon(kFenceInner);
    p.fillPath(foot.createStroke(inner), qc(Rgb(20, 64, 46)));
    // Advertising boards on the centre of the wall.
    const QRgb boards[] = {Rgb(214, 44, 52), Rgb(250, 196, 40), Rgb(40, 110, 210)};
    for (int i = 0; i < 3; ++i) {
        const int x = 226 + 52 * i;
        p.fillRect(x, 120, 46, 12, qc(boards[i]));
        p.fillRect(x + 6, 124, 26, 3, qc(kWhite));
        p.fillRect(x + 36, 123, 5, 5, qc(kWhite));
    }
    p.restore();
    // The yellow line along the top of the wall: over it is a home run.
    QPen rail(qc(Rgb(250, 214, 40)), 2);
    p.setPen(rail);
    p.drawPolyline(kFenceOuter);
    // Distances: down the lines and to centre.
    DrawDigits(img, 60, 228, QStringLiteral("92"), kWhite);
    DrawDigits(img, 537, 228, QStringLiteral("92"), kWhite);
    DrawDigits(img, 296, 134, QStringLiteral("122"), kWhite);
}

QPolygonF diamond(double inset)
{
    // The diamond shrunk towards its centre by `inset` pixels along each axis.
    const QPointF c(300, 420);
    auto in = [&](QPointF q) {
        const QPointF d = c - q;
        const double len = std::hypot(d.x(), d.y());
        return q + d * (inset / len);
    };
    return QPolygonF{{in(kHome), in(kFirst), in(kSecond), in(kThird)}};
}

void drawInfield(QPainter& p)
{
    const QColor dirt = qc(Rgb(200, 146, 92)), dirtEdge = qc(Rgb(176, 124, 76));
    // The skin of the infield: an arc behind the bases, down to home plate.
    QPainterPath skin;
    skin.moveTo(18, 364);
    skin.cubicTo(90, 300, 170, 205, 300, 202);
    skin.cubicTo(430, 205, 512, 300, 588, 364);
    skin.lineTo(470, 452);
    skin.lineTo(300, 566);
    skin.lineTo(130, 452);
    skin.closeSubpath();
    p.save();
    p.setClipPath(playingArea());
    p.fillPath(skin, dirtEdge);
    p.fillPath(skin.intersected(skin.translated(0, 3)), dirt);
    p.restore();
    // The infield grass inside the base paths.
    QImage grass(kFieldW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kFieldW; ++x) grass.setPixel(x, y, mowed(x, y));
    QPainterPath inner;
    inner.addPolygon(diamond(26));
    inner.closeSubpath();
    p.save();
    p.setClipPath(inner);
    p.drawImage(0, 0, grass);
    p.restore();
    // The circle round home plate and the mound.
    p.setPen(Qt::NoPen);
    p.setBrush(dirtEdge);
    p.drawEllipse(QPointF(kHome.x(), kHome.y() + 2), 52, 26);
    p.setBrush(dirt);
    p.drawEllipse(QPointF(kHome.x(), kHome.y() + 3), 50, 24);
    p.setBrush(dirtEdge);
    p.drawEllipse(kMound, 27, 11);
    p.setBrush(qc(Rgb(214, 160, 104)));
    p.drawEllipse(kMound + QPointF(0, -1), 24, 9);
    p.setBrush(qc(kWhite));
    p.drawRect(QRectF(kMound.x() - 6, kMound.y() - 3, 12, 2)); // the rubber
    // On-deck circles.
    for (double x : {150.0, 450.0}) {
        p.setBrush(dirtEdge);
        p.drawEllipse(QPointF(x, 548), 14, 6);
    }
}

void drawLines(QPainter& p)
{
    const QColor chalk = qc(Rgb(246, 246, 238));
    QPen pen(chalk, 2);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // Foul lines: home past the corner bases to the wall.
    auto line = [&](QPointF base, QPointF end) {
        p.drawLine(kHome, base);
        p.drawLine(base, end);
    };
    line(kThird, kLeftLineEnd);
    line(kFirst, kRightLineEnd);
    // Batter's boxes and the catcher's box.
    p.setPen(QPen(chalk, 1));
    p.drawRect(QRectF(244, 544, 34, 22));
    p.drawRect(QRectF(322, 544, 34, 22));
    p.drawPolyline(QPolygonF{{{284, 568}, {284, 586}, {316, 586}, {316, 568}}});
    // Home plate (a pentagon, point towards the catcher) and the bases.
    p.setPen(QPen(qc(Rgb(150, 140, 130)), 1));
    p.setBrush(chalk);
    p.drawPolygon(QPolygonF{{{292, 552}, {308, 552}, {308, 556}, {300, 560}, {292, 556}}});
    for (QPointF b : {kFirst, kSecond, kThird}) p.drawPolygon(QPolygonF{{b + QPointF(0, -4), b + QPointF(7, 0), b + QPointF(0, 4), b + QPointF(-7, 0)}});
}

void drawPoles(QImage& img)
{
    // Yellow poles standing on the wall where the foul lines meet it, with a net on the fair side.
    for (auto [x, foot, net] : {std::tuple{16, 262, 1}, std::tuple{589, 262, -1}}) {
        for (int y = 160; y < foot; ++y) {
            Put(img, x, y, Rgb(250, 220, 40));
            Put(img, x + 1, y, Rgb(214, 170, 24));
        }
        Put(img, x, 159, Rgb(250, 236, 140));
        Put(img, x + 1, 159, Rgb(250, 236, 140));
        for (int y = 164; y < foot - 10; y += 3)
            for (int k = 1; k <= 4; ++k) Put(img, x + (net > 0 ? 1 + k : -k), y, Rgb(236, 220, 120));
    }
}

void drawScoreboard(QPainter& p)
{
    // The board over the centre-field stands: frame, label column, ten innings and R H E.
    p.setPen(Qt::NoPen);
    p.fillRect(QRect(50, 12, 520, 90), qc(Rgb(92, 88, 84)));
    p.fillRect(QRect(52, 14, 516, 86), qc(Rgb(196, 192, 180)));
    p.fillRect(QRect(55, 17, 510, 80), qc(Rgb(22, 46, 38)));
    const QColor cell = qc(Rgb(34, 66, 54)), total = qc(Rgb(44, 58, 86));
    for (int row = 0; row < 2; ++row) {
        const int y = row == 0 ? 44 : 72;
        p.fillRect(QRect(60, y, 50, 23), cell);
        for (int i = 0; i < 13; ++i) p.fillRect(QRect(113 + 34 * i, y, 31, 23), i < 10 ? cell : total);
    }
    // A bar between the innings and the totals.
    p.fillRect(QRect(111 + 34 * 10 - 3, 20, 2, 75), qc(Rgb(196, 192, 180)));
    // Legs of the board.
    p.fillRect(QRect(120, 102, 8, 8), qc(Rgb(92, 88, 84)));
    p.fillRect(QRect(490, 102, 8, 8), qc(Rgb(92, 88, 84)));
}

// ---- The right-hand panel -----------------------------------------------------------------------

void box(QPainter& p, const QRect& r, QRgb face)
{
    p.fillRect(r, qc(Darker(face, 0.45)));
    p.fillRect(r.adjusted(1, 1, -1, -1), qc(Lighter(face, 0.18)));
    p.fillRect(r.adjusted(2, 2, -1, -1), qc(face));
}

void drawPanel(QImage& img, QPainter& p)
{
    for (int y = 0; y < kH; ++y) {
        const QRgb c = Mix(Rgb(36, 46, 84), Rgb(20, 26, 50), y / double(kH));
        p.fillRect(kFieldW, y, kW - kFieldW, 1, qc(c));
    }
    // The divider between field and panel.
    p.fillRect(kFieldW, 0, 3, kH, qc(Rgb(120, 96, 64)));
    p.fillRect(kFieldW + 1, 0, 1, kH, qc(Rgb(176, 146, 100)));
    const QRgb face = Rgb(44, 58, 100);
    box(p, QRect(612, 8, 174, 72), face);    // inning and score
    box(p, QRect(612, 100, 113, 43), face);  // outs
    box(p, QRect(729, 125, 60, 17), Rgb(86, 100, 150)); // hits/at-bats or average
    box(p, QRect(609, 146, 180, 186), face); // batting orders
    box(p, QRect(612, 336, 174, 44), face);  // the batter and the ball call
    box(p, QRect(629, 383, 140, 198), Rgb(30, 36, 62)); // the course panel
    // The order numbers beside both columns.
    for (int j = 0; j < 9; ++j) DrawDigits(img, 614, 176 + 18 * j, QString::number(j + 1), Rgb(170, 184, 220));
    // Rules between the rows.
    for (int j = 1; j < 9; ++j) p.fillRect(612, 169 + 18 * j, 174, 1, qc(Rgb(56, 72, 120)));
    p.fillRect(712, 150, 1, 180, qc(Rgb(56, 72, 120)));
}

QImage ballpark()
{
    QImage img = Blank(kW, kH, Rgb(44, 52, 92));
    {
        QPainter p(&img);
        aliased(p);
        drawStands(img, p);
        drawGrass(p);
        drawInfield(p);
        drawLines(p);
        drawFence(img, p);
        drawScoreboard(p);
        drawPanel(img, p);
    }
    drawPoles(img);
    return img;
}

// ---- Sprites --------------------------------------------------------------------------------------

// The ball by apparent height: 0 low, 1-3 ever higher (larger, its shadow further below), 4 small
// and far away over the stands.
QImage ballStrip()
{
    constexpr int s = 29;
    QImage img = Blank(5 * s, s);
    const double radius[] = {3.2, 4.0, 4.8, 5.5, 2.4};
    const int lift[] = {0, 5, 7, 9, 0};
    for (int k = 0; k < 5; ++k) {
        // The picture's centre is the point under the ball, where its shadow falls.
        const double cx = k * s + 14.5, cy = 14.5;
        if (k >= 1 && k <= 3) {
            Mask shadow(img);
            shadow.ellipse(cx, cy + 3, 3.0 + k * 0.7, 1.8);
            Paint(img, shadow, Rgb(88, 112, 84));
        }
        Baseball(img, cx, cy - lift[k], radius[k]);
    }
    return img;
}

// Glove 0 held open at rest, glove 1 reaching out (tilted forward).
QImage gloveStrip()
{
    constexpr int s = 17;
    QImage img = Blank(2 * s, s);
    const QRgb leather = Rgb(182, 102, 46), web = Rgb(150, 80, 34);
    for (int k = 0; k < 2; ++k) {
        const double turn = k == 0 ? 0.0 : 0.45, ca = std::cos(turn), sa = std::sin(turn);
        // Local design coordinates round the palm's centre, turned for the reaching glove.
        auto at = [&](double x, double y) { return QPointF(k * s + 8.5 + x * ca - y * sa, 9.0 + x * sa + y * ca); };
        Mask m(img);
        const QPointF palm = at(0, 1.5);
        m.ellipse(palm.x(), palm.y(), 5.6, 5.2);
        for (int f = 0; f < 4; ++f) m.capsule(at(-4.2 + 2.5 * f, -1.0), at(-5.0 + 3.0 * f, -6.2 + (f == 1 || f == 2 ? -0.6 : 0.4)), 1.35);
        m.capsule(at(4.5, 2.5), at(6.6, -2.0), 1.5); // thumb
        Sticker(img, m, leather);
        Rim(img, m, 1, 1, Darker(leather, 0.3));
        Rim(img, m, -1, -1, Lighter(leather, 0.3));
        // The pocket and the web between thumb and fingers.
        Mask pocket(img);
        const QPointF pc = at(0.3, 2.2);
        pocket.ellipse(pc.x(), pc.y(), 2.8, 2.4);
        Paint(img, pocket, Darker(leather, 0.2));
        const QPointF w = at(4.6, -1.6);
        Put(img, int(w.x()), int(w.y()), web);
        Put(img, int(w.x()) - 1, int(w.y()) + 1, web);
    }
    return img;
}

// The swing: frame 0 the bat at rest over the shoulder, 1-5 round through contact (3) to the
// finish. Each frame is drawn where the game places it (the frame offsets move the picture).
QImage batStrip()
{
    constexpr int s = 100;
    QImage img = Blank(6 * s, s);
    struct Frame {
        QPointF hands;
        double degrees, length;
    };
    const Frame frames[] = {
        {{66, 31}, 132, 37}, {{54, 33}, 170, 40}, {{50, 35}, 214, 38}, {{45, 42}, -6, 44}, {{60, 58}, 48, 40}, {{92, 37}, 150, 38},
    };
    const QRgb wood = Rgb(226, 178, 104), grip = Rgb(40, 40, 52), glove = Rgb(236, 236, 228);
    for (int k = 0; k < 6; ++k) {
        const Frame& f = frames[k];
        const double a = f.degrees * 3.14159265358979 / 180.0;
        const QPointF dir(std::cos(a), -std::sin(a));
        const QPointF o(k * s, 0);
        const QPointF knob = o + f.hands - dir * 4.0, tip = o + f.hands + dir * f.length;
        const QPointF taper = o + f.hands + dir * (f.length * 0.45);
        Mask bat(img);
        bat.capsule(knob, taper, 1.3);
        bat.capsule(taper, o + f.hands + dir * (f.length * 0.7), 2.1);
        bat.capsule(o + f.hands + dir * (f.length * 0.7), tip, 2.8);
        Sticker(img, bat, wood);
        Rim(img, bat, 0, 1, Darker(wood, 0.25));
        Mask tape(img);
        tape.capsule(knob + dir * 1.0, o + f.hands + dir * 5.0, 1.3);
        Paint(img, tape.intersect(bat), grip);
        // Batting gloves on the grip.
        Mask hands(img);
        hands.circle(o + f.hands, 2.6).circle(o + f.hands + dir * 4.0, 2.6);
        Sticker(img, hands, glove);
    }
    return img;
}

// A banner: a rounded plate with outlined letters.
QImage banner(int w, int h, const QString& text, QRgb plate, QRgb letters, QRgb outline, int pixelSize)
{
    QImage img = Blank(w, h);
    QPainter p(&img);
    aliased(p);
    p.setPen(QPen(qc(Darker(plate, 0.5)), 2));
    p.setBrush(qc(plate));
    p.drawRoundedRect(QRectF(1, 1, w - 3, h - 3), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(qc(Lighter(plate, 0.25)));
    p.drawRoundedRect(QRectF(4, 3, w - 9, (h - 6) / 2.0), 5, 5);
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(pixelSize);
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    QPainterPath path;
    path.addText(0, 0, f, text);
    const QRectF b = path.boundingRect();
    const double scale = std::min(1.0, (w - 10) / b.width());
    QTransform t;
    t.translate(w / 2.0, h / 2.0);
    t.scale(scale, 1.0);
    t.translate(-b.center().x(), -b.center().y());
    path = t.map(path);
    p.setPen(QPen(qc(outline), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(qc(letters));
    p.drawPath(path);
    return img;
}

// The call of a play by its kind: hit, walk, out, strikeout, foul.
QImage callStrip()
{
    constexpr int w = 88, h = 34;
    struct Call {
        const char* text;
        QRgb plate, letters, outline;
    };
    const Call calls[] = {
        {"ヒット", Rgb(232, 70, 40), Rgb(255, 236, 90), Rgb(120, 20, 10)},
        {"フォアボール", Rgb(40, 120, 220), kWhite, Rgb(10, 40, 110)},
        {"アウト", Rgb(40, 44, 70), Rgb(255, 250, 240), Rgb(200, 30, 40)},
        {"三振", Rgb(136, 60, 180), Rgb(255, 236, 90), Rgb(60, 16, 90)},
        {"ファウル", Rgb(60, 150, 90), kWhite, Rgb(16, 70, 36)},
    };
    QImage img = Blank(5 * w, h);
    QPainter p(&img);
    for (int k = 0; k < 5; ++k) {
        const Call& c = calls[k];
        p.drawImage(k * w, 0, banner(w, h, QString::fromUtf8(c.text), c.plate, c.letters, c.outline, 22));
    }
    return img;
}

QImage homeRunBanner(const char* text)
{
    QImage img = banner(360, 62, QString::fromUtf8(text), Rgb(214, 36, 44), Rgb(255, 226, 40), Rgb(90, 10, 10), 44);
    // Sparkles at both ends.
    Twinkle(img, 16, 14, 7, Rgb(255, 244, 150));
    Twinkle(img, 343, 46, 7, Rgb(255, 244, 150));
    return img;
}

// Power marks of the batting order: a bat, and a glowing one for the strong batters' marks.
QImage batMark(bool strong)
{
    QImage img = Blank(7, 14);
    Mask m(img);
    m.capsule({3.5, 2.5}, {3.5, 6.5}, 2.0);
    m.capsule({3.5, 6.0}, {3.5, 11.5}, 1.0);
    m.rect(2, 12, 3, 1);
    Sticker(img, m, strong ? Rgb(255, 120, 60) : Rgb(226, 178, 104));
    if (strong) Put(img, 3, 2, Rgb(255, 236, 120));
    return img;
}

const ResRegistrar kPictures[] = {
    {"bitmaps/BB_HAIKEI.png", ResProgram::Game, [] { return PngOf(ballpark()); }},
    {"bitmaps/BB_BALL.png", ResProgram::Game, [] { return PngOf(ballStrip()); }},
    {"bitmaps/BB_GLOVE.png", ResProgram::Game, [] { return PngOf(gloveStrip()); }},
    {"bitmaps/BB_BAT.png", ResProgram::Game, [] { return PngOf(batStrip()); }},
    {"bitmaps/BB_HANTEI.png", ResProgram::Game, [] { return PngOf(callStrip()); }},
    {"bitmaps/BB_HOMERUN0.png", ResProgram::Game, [] { return PngOf(homeRunBanner("ホームラン")); }},
    {"bitmaps/BB_HOMERUN1.png", ResProgram::Game, [] { return PngOf(homeRunBanner("満塁ホームラン")); }},
    {"bitmaps/BB_HOMERUN2.png", ResProgram::Game, [] { return PngOf(homeRunBanner("サヨナラホームラン")); }},
    {"bitmaps/BB_BATMARK.png", ResProgram::Game, [] { return PngOf(batMark(false)); }},
    {"bitmaps/BB_BATMARK2.png", ResProgram::Game, [] { return PngOf(batMark(true)); }},
};

} // namespace

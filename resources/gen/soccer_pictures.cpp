// Pictures of the soccer game: the pitch seen from the stand, the goal frame, the ball by speed, the
// shot flames of the two teams, the chance balloons and the penalty-kick banner. Drawn without
// antialiasing in flat pixel-art colours; pure white is the transparent colour of the sprites.
#include "PixelArt.h"
#include "ResGen.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

using namespace px;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kW = 863, kH = 570;
constexpr int kCx = 431, kCy = 335;
// The pitch and its markings (the game's own geometry).
const QRect kField(100, 120, 663, 430);
const QRect kPenalty[2] = {QRect(100, 195, 150, 280), QRect(613, 195, 150, 280)};
const QRect kGoalArea[2] = {QRect(100, 270, 50, 130), QRect(713, 270, 50, 130)};

void aliased(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
}

// ---------------------------------------------------------------------------------------------
// The pitch (863 x 570; the rows above y 95 belong to the scoreboard and stay unused): bright lime
// grass round a pitch mown in stripes, with white lines three pixels wide.

QRgb surroundAt(int x, int y)
{
    // Lime grass with a faint dithered texture in broad diagonal bands.
    const QRgb a = Rgb(112, 232, 76), b = Rgb(98, 218, 66);
    const double t = ((x + y) / 24) % 2 ? 0.35 : 0.0;
    return Dither(x, y, a, b, t);
}

QRgb pitchAt(int x, int y)
{
    // Stripes mown across the pitch, slightly lighter towards the far touchline.
    const int band = (x - kField.left()) * 14 / kField.width();
    const QRgb light = Rgb(0, 220, 0), dark = Rgb(16, 198, 20);
    const QRgb base = band % 2 ? dark : light;
    const double far = std::clamp(1.0 - (y - kField.top()) / double(kField.height()), 0.0, 1.0);
    return Dither(x, y, base, Lighter(base, 0.12), far * 0.5);
}

QImage pitchPicture()
{
    QImage img = Blank(kW, kH);
    for (int y = 95; y < kH; ++y)
        for (int x = 0; x < kW; ++x) img.setPixel(x, y, kField.contains(x, y) ? pitchAt(x, y) : surroundAt(x, y));

    QPainter p(&img);
    aliased(p);
    const QColor line(255, 255, 255);
    const QPen pen(line, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(kField.adjusted(0, 0, -1, -1));
    // The penalty arcs: the parts of their circles outside the penalty areas.
    p.save();
    p.setClipRect(QRect(kPenalty[0].right() + 3, 0, 60, kH));
    p.drawEllipse(QRect(150, kCy - 60, 120, 120));
    p.setClipRect(QRect(kPenalty[1].left() - 62, 0, 60, kH));
    p.drawEllipse(QRect(kW - 270, kCy - 60, 120, 120));
    p.restore();
    for (int k = 0; k < 2; ++k) {
        p.drawRect(kPenalty[k].adjusted(0, 0, -1, -1));
        p.drawRect(kGoalArea[k].adjusted(0, 0, -1, -1));
    }
    p.drawEllipse(QPoint(kCx, kCy), 60, 60);
    p.drawLine(kCx, 120, kCx, kH - 20);
    // Spots and corner arcs.
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    p.drawEllipse(QRect(kCx - 3, kCy - 3, 7, 7));
    p.drawEllipse(QRect(198, kCy - 2, 5, 5));
    p.drawEllipse(QRect(kW - 203, kCy - 2, 5, 5));
    p.setPen(QPen(line, 2));
    p.setBrush(Qt::NoBrush);
    const QPoint corners[4] = {{100, 120}, {762, 120}, {100, 549}, {762, 549}};
    for (const QPoint& c : corners) {
        p.save();
        p.setClipRect(kField);
        p.drawEllipse(c, 12, 12);
        p.restore();
    }
    // Little corner flags outside the pitch.
    for (const QPoint& c : corners) {
        const int dx = c.x() < kCx ? -1 : 1, dy = c.y() < kCy ? -1 : 1;
        const int fx = c.x() + 3 * dx, fy = c.y() + 3 * dy;
        p.setPen(QPen(QColor(70, 60, 50), 1));
        p.drawLine(fx, fy, fx, fy - 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 210, 40));
        p.drawPolygon(QPolygon({QPoint(fx + 1, fy - 16), QPoint(fx + 10, fy - 13), QPoint(fx + 1, fy - 9)}));
    }
    return img;
}

// ---------------------------------------------------------------------------------------------
// The goal frame of the left goal (46 x 106, its corner at (59, 282) of the scene): two side bars
// running back from the goal line, the back bar behind the net, and the posts' round heads. The
// right goal is this picture mirrored.

QImage goalFrame()
{
    QImage img = Blank(46, 106);
    const QRgb post = kWhite, shade = Rgb(200, 206, 220), back = Rgb(176, 182, 196);
    // Back bar: thinner and greyer, it stands farther away.
    Mask b(img);
    b.rect(2, 4, 4, 98);
    Sticker(img, b, back);
    for (int s = 0; s < 2; ++s) {
        const double y = s == 0 ? 5 : 96;
        Mask bar(img);
        bar.rect(3, y, 40, 5);
        bar.circle(42.5, y + 2.5, 3.6);
        Sticker(img, bar, post);
        Rim(img, bar, 0, 1, shade, 2);
    }
    return img;
}

// ---------------------------------------------------------------------------------------------
// The ball (four 23 x 23 frames): at rest, two turns of its roll, and a fast ball with a trail.

void ballAt(QImage& img, double cx, double cy, double r, double turn)
{
    Mask ball(img);
    ball.circle(cx, cy, r);
    Sticker(img, ball, kWhite);
    Rim(img, ball, 1, 1, Rgb(196, 204, 220), 2);
    auto pentagon = [&](double x, double y, double pr, double a0) {
        std::vector<QPointF> pts;
        for (int k = 0; k < 5; ++k) {
            const double a = a0 + k * 2 * kPi / 5;
            pts.emplace_back(x + pr * std::cos(a), y + pr * std::sin(a));
        }
        Mask m(img);
        m.polygon(pts);
        m.intersect(ball);
        Paint(img, m, Rgb(40, 36, 52));
    };
    const double pr = r * 0.38;
    pentagon(cx + 1.6 * std::cos(turn), cy + 1.6 * std::sin(turn), pr, turn - kPi / 2);
    for (int k = 0; k < 5; ++k) {
        const double a = turn + kPi / 5 + k * 2 * kPi / 5;
        pentagon(cx + r * 1.02 * std::cos(a), cy + r * 1.02 * std::sin(a), pr * 0.95, a);
    }
    Put(img, int(cx - r * 0.5), int(cy - r * 0.6), kWhite);
}

QImage ballFrames()
{
    QImage img = Blank(92, 23);
    for (int f = 0; f < 3; ++f) {
        QImage cell = Blank(23, 23);
        ballAt(cell, 11.5, 11.5, 7.2, f * 0.42);
        QPainter(&img).drawImage(23 * f, 0, cell);
    }
    // The fast ball: faint ghosts behind it.
    QImage cell = Blank(23, 23);
    for (int g = 2; g >= 1; --g) {
        Mask m(cell);
        m.circle(11.5 - 3.5 * g, 11.5, 6.5 - g);
        Paint(cell, m, g == 2 ? Rgb(226, 240, 226) : Rgb(206, 222, 214));
    }
    ballAt(cell, 13, 11.5, 7.2, 0.9);
    QPainter(&img).drawImage(69, 0, cell);
    return img;
}

// ---------------------------------------------------------------------------------------------
// The shot flames (two 30 x 30 pictures): the user's team's blue fire, the computer's red fire.

QImage flame(int team)
{
    QImage img = Blank(30, 30);
    const QRgb outer = team == 0 ? Rgb(40, 110, 240) : Rgb(232, 60, 40);
    const QRgb ink = team == 0 ? Rgb(20, 40, 120) : Rgb(130, 28, 30);
    const QRgb mid = team == 0 ? Rgb(90, 190, 255) : Rgb(250, 140, 40);
    const QRgb core = team == 0 ? Rgb(190, 240, 255) : Rgb(255, 220, 80);
    Mask o = FlameTongue(img, 15, 27, 8.5, 25, 3);
    o.unite(FlameTongue(img, 8, 27, 4.5, 16, -2));
    o.unite(FlameTongue(img, 22, 27, 4.5, 14, 4));
    Sticker(img, o, outer, ink);
    Mask m = FlameTongue(img, 15, 27, 6, 19, 2);
    m.intersect(o);
    Paint(img, m, mid);
    Paint(img, FlameTongue(img, 15, 26.5, 3.8, 12, 1), core);
    Paint(img, FlameTongue(img, 15, 26, 1.8, 6, 0.5), kWhite);
    Put(img, 5, 6, mid);
    Put(img, 25, 4, core);
    return img;
}

QImage flames()
{
    QImage img = Blank(60, 30);
    QPainter p(&img);
    p.drawImage(0, 0, flame(0));
    p.drawImage(30, 0, flame(1));
    return img;
}

// ---------------------------------------------------------------------------------------------
// The chance balloons (24 x 30): a yellow balloon with a red "!", its tail towards the player on
// its left (CHANCE0) or on its right (CHANCE1).

QImage chanceBalloon(bool tailRight)
{
    QImage img = Blank(24, 30);
    Mask m(img);
    m.ellipse(12, 11, 10.5, 10);
    const double tx = tailRight ? 20 : 4;
    m.polygon({QPointF(tailRight ? 13 : 7, 17), QPointF(tailRight ? 17 : 11, 19), QPointF(tx + (tailRight ? 2 : -2), 28)});
    Sticker(img, m, Rgb(255, 232, 60), Rgb(150, 60, 20));
    Rim(img, m, 1, 1, Rgb(240, 180, 30), 2);
    Mask bang(img);
    bang.capsule(QPointF(12, 4.5), QPointF(12, 12), 1.8);
    bang.circle(12, 16.5, 1.9);
    Paint(img, bang, Rgb(222, 30, 36));
    Put(img, 7, 6, kWhite);
    Put(img, 8, 5, kWhite);
    return img;
}

// ---------------------------------------------------------------------------------------------
// The penalty-kick banner: "ＰＫ" in thick white letters on a blue shield with a yellow rim.

QImage pkBanner()
{
    const int w = 170, h = 76;
    QImage img = Blank(w, h);
    QPainter p(&img);
    aliased(p);
    QPolygon shield;
    shield << QPoint(10, 8) << QPoint(w - 10, 8) << QPoint(w - 2, h / 2) << QPoint(w - 10, h - 8) << QPoint(10, h - 8)
           << QPoint(2, h / 2);
    p.setPen(QPen(QColor(120, 80, 10), 1));
    p.setBrush(QColor(250, 206, 40));
    p.drawPolygon(shield);
    QPolygon inner;
    inner << QPoint(16, 14) << QPoint(w - 16, 14) << QPoint(w - 9, h / 2) << QPoint(w - 16, h - 14) << QPoint(16, h - 14)
          << QPoint(9, h / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(26, 70, 190));
    p.drawPolygon(inner);
    p.setBrush(QColor(60, 110, 226));
    p.drawRect(QRect(18, 15, w - 36, 10));
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(44);
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    QPainterPath text;
    text.addText(0, 0, f, QStringLiteral("ＰＫ"));
    const QRectF b = text.boundingRect();
    text.translate((w - b.width()) / 2 - b.left(), (h - b.height()) / 2 - b.top());
    p.setPen(QPen(QColor(10, 20, 70), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 254, 255));
    p.drawPath(text);
    return img;
}

const ResRegistrar kPictures[] = {
    {"bitmaps/SOCCER_PITCH.png", ResProgram::Game, [] { return PngOf(pitchPicture()); }},
    {"bitmaps/SOCCER_GOAL.png", ResProgram::Game, [] { return PngOf(goalFrame()); }},
    {"bitmaps/SOCCER_BALL.png", ResProgram::Game, [] { return PngOf(ballFrames()); }},
    {"bitmaps/SOCCER_FIRE.png", ResProgram::Game, [] { return PngOf(flames()); }},
    {"bitmaps/SOCCER_CHANCE0.png", ResProgram::Game, [] { return PngOf(chanceBalloon(false)); }},
    {"bitmaps/SOCCER_CHANCE1.png", ResProgram::Game, [] { return PngOf(chanceBalloon(true)); }},
    {"bitmaps/PKBMP.png", ResProgram::Game, [] { return PngOf(pkBanner()); }},
};

} // namespace

// Pictures of the PK game: the goal seen from the penalty spot, the cloud strip, the ball, the goal
// banner, the reaction marks and the flames. Drawn without antialiasing, in flat pixel-art colours;
// pure white is the transparent colour of everything drawn over the scene.
#include "ResGen.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

const QColor kTransparent(255, 255, 255);
const QColor kNearWhite(255, 254, 255); // visible white on transparent pictures

QImage blank(int w, int h, const QColor& fill = kTransparent)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

void aliased(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
}

void rect(QPainter& p, int x, int y, int w, int h, const QColor& c)
{
    p.fillRect(x, y, w, h, c);
}

// ---------------------------------------------------------------------------------------------
// The goal picture (470 x 480): sky, stands, advertising boards, the goal with its net, the pitch.

constexpr int kW = 470, kH = 480;
constexpr int kPostL = 100, kPostR = 356, kPostW = 6; // posts: 100..105 and 356..361
constexpr int kBarY = 187, kGoalLine = 303;

void drawSky(QPainter& p)
{
    // Banded gradient, light towards the horizon.
    for (int y = 0; y < 96; y += 8) {
        const double k = y / 96.0;
        p.fillRect(0, y, kW, 8, QColor(int(96 + 80 * k), int(160 + 56 * k), int(232 + 18 * k)));
    }
}

void drawStands(QPainter& p)
{
    // Roof edge, then tiers of seats with a scatter of spectators' colours.
    rect(p, 0, 90, kW, 6, QColor(90, 92, 104));
    const QColor tier[2] = {QColor(58, 70, 112), QColor(70, 84, 132)};
    for (int i = 0; i < 7; ++i) rect(p, 0, 96 + 11 * i, kW, 11, tier[i % 2]);
    const QColor crowd[] = {QColor(230, 80, 70), QColor(250, 210, 80), QColor(240, 240, 240), QColor(120, 200, 240),
                            QColor(250, 150, 60), QColor(180, 120, 210)};
    unsigned s = 12345;
    for (int i = 0; i < 7; ++i)
        for (int x = 3; x < kW - 4; x += 7) {
            s = s * 1103515245u + 12345u;
            if ((s >> 16) % 3 == 0) continue;
            const QColor c = crowd[(s >> 20) % 6];
            rect(p, x + int((s >> 8) % 3), 99 + 11 * i, 3, 3, c);                 // head
            rect(p, x + int((s >> 8) % 3) - 1, 102 + 11 * i, 5, 4, c.darker(130)); // shoulders
        }
    // Advertising boards.
    const QColor boards[] = {QColor(210, 40, 50), QColor(30, 90, 200), QColor(250, 190, 30), QColor(30, 150, 80)};
    for (int i = 0, x = 0; x < kW; ++i, x += 78) {
        const QColor c = boards[i % 4];
        rect(p, x, 173, 78, 14, c);
        rect(p, x, 173, 78, 2, c.lighter(140));
        rect(p, x + 77, 173, 1, 14, QColor(40, 40, 40));
        // A simple logo: a stripe and a dot.
        rect(p, x + 14, 178, 40, 4, kNearWhite);
        rect(p, x + 60, 177, 6, 6, kNearWhite);
    }
}

void drawPitch(QPainter& p)
{
    // Mowing stripes, wider towards the viewer.
    int y = 187, band = 12, i = 0;
    while (y < kH) {
        p.fillRect(0, y, kW, band, i % 2 ? QColor(62, 158, 64) : QColor(74, 172, 72));
        y += band;
        band += 3;
        ++i;
    }
    const QColor line(246, 246, 240);
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    // Goal line, goal area and penalty area (a front view: the lines splay towards the viewer).
    rect(p, 0, kGoalLine, kW, 3, line);
    auto splay = [&](int x1, int x2, int yBottom) {
        const int depth = yBottom - kGoalLine;
        QPolygon left, right;
        left << QPoint(x1, kGoalLine) << QPoint(x1 + 3, kGoalLine) << QPoint(x1 + 3 - depth / 5, yBottom) << QPoint(x1 - depth / 5, yBottom);
        right << QPoint(x2 - 3, kGoalLine) << QPoint(x2, kGoalLine) << QPoint(x2 + depth / 5, yBottom) << QPoint(x2 - 3 + depth / 5, yBottom);
        p.drawPolygon(left);
        p.drawPolygon(right);
        rect(p, x1 - depth / 5, yBottom, x2 - x1 + 2 * (depth / 5), 3, line);
    };
    splay(62, 408, 348);
    // The penalty spot.
    p.drawEllipse(QRect(225, 435, 10, 5));
}

void drawGoal(QPainter& p)
{
    const QColor net(232, 236, 240), netShade(200, 206, 214), post(250, 250, 250), postShade(190, 190, 196);
    // The inside of the goal, darker than the grass in front of it.
    p.fillRect(kPostL + kPostW, kBarY + 6, kPostR - kPostL - kPostW, kGoalLine - kBarY - 6, QColor(52, 128, 56));
    rect(p, kPostL + kPostW, kBarY - 14, kPostR - kPostL - kPostW, 20, QColor(60, 70, 110));
    // Back bar of the net and the roof net between it and the crossbar.
    const int backL = 122, backR = 340, backY = kBarY - 14;
    rect(p, backL, backY, backR - backL, 2, netShade);
    for (int x = backL; x <= backR; x += 9) {
        const int fx = kPostL + kPostW + (x - backL) * (kPostR - kPostL - kPostW) / (backR - backL);
        p.setPen(netShade);
        p.drawLine(x, backY, fx, kBarY);
    }
    // The back net: a square mesh.
    p.setPen(net);
    for (int x = kPostL + kPostW + 6; x < kPostR; x += 9) p.drawLine(x, kBarY + 6, x, kGoalLine - 1);
    for (int y = kBarY + 12; y < kGoalLine; y += 9) p.drawLine(kPostL + kPostW, y, kPostR - 1, y);
    // Side nets, seen edge-on as a few slanted strands.
    p.setPen(netShade);
    for (int k = 0; k < 4; ++k) {
        p.drawLine(kPostL + kPostW + k * 4, kBarY + 6, kPostL + kPostW + 6 + k * 4, kGoalLine - 1);
        p.drawLine(kPostR - 1 - k * 4, kBarY + 6, kPostR - 7 - k * 4, kGoalLine - 1);
    }
    // Posts and crossbar with a shaded side.
    rect(p, kPostL, kBarY, kPostW, kGoalLine - kBarY + 3, post);
    rect(p, kPostL + kPostW - 2, kBarY + 6, 2, kGoalLine - kBarY - 3, postShade);
    rect(p, kPostR, kBarY, kPostW, kGoalLine - kBarY + 3, post);
    rect(p, kPostR + kPostW - 2, kBarY + 6, 2, kGoalLine - kBarY - 3, postShade);
    rect(p, kPostL, kBarY, kPostR + kPostW - kPostL, kPostW, post);
    rect(p, kPostL + kPostW, kBarY + kPostW - 2, kPostR - kPostL - kPostW, 2, postShade);
}

QImage goalPicture()
{
    QImage img = blank(kW, kH);
    QPainter p(&img);
    aliased(p);
    drawSky(p);
    drawStands(p);
    drawPitch(p);
    drawGoal(p);
    return img;
}

// ---------------------------------------------------------------------------------------------
// The cloud strip (470 x 60), white ground transparent.

void cloud(QPainter& p, int x, int y, int w)
{
    const QColor body(248, 250, 252), shade(214, 224, 236);
    const int h = w / 3;
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(QRect(x, y + h / 3 + 2, w, h - h / 3));
    p.setBrush(body);
    p.drawEllipse(QRect(x + 2, y + h / 3, w - 4, h - h / 3 - 2));
    p.drawEllipse(QRect(x + w / 6, y, w / 2, h * 2 / 3 + 2));
    p.drawEllipse(QRect(x + w / 2 - 4, y + h / 6, w * 2 / 5, h / 2 + 2));
}

QImage cloudStrip()
{
    QImage img = blank(470, 60);
    QPainter p(&img);
    aliased(p);
    cloud(p, 12, 8, 96);
    cloud(p, 150, 22, 70);
    cloud(p, 250, 4, 120);
    cloud(p, 396, 20, 60);
    return img;
}

// ---------------------------------------------------------------------------------------------
// The ball (two 30 x 30 frames side by side): white with black patches, turned between frames.

QImage ballFrames()
{
    QImage img = blank(60, 30);
    QPainter p(&img);
    aliased(p);
    for (int f = 0; f < 2; ++f) {
        const int ox = 30 * f;
        p.setPen(QColor(40, 40, 40));
        p.setBrush(kNearWhite);
        p.drawEllipse(QRect(ox + 3, 3, 23, 23));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(205, 210, 220));
        p.drawPie(QRect(ox + 4, 4, 22, 22), -60 * 16, -120 * 16);
        p.setBrush(QColor(30, 30, 34));
        const double turn = f ? 0.6 : 0.0;
        // A central pentagon and parts of the ring of five around it.
        auto pent = [&](double cx, double cy, double r, double a0) {
            QPolygon poly;
            for (int k = 0; k < 5; ++k) {
                const double a = a0 + k * 2 * M_PI / 5;
                poly << QPoint(int(std::lround(cx + r * std::cos(a))), int(std::lround(cy + r * std::sin(a))));
            }
            p.drawPolygon(poly);
        };
        const double cx = ox + 14.5, cy = 14.5;
        pent(cx + 3 * std::cos(turn), cy + 3 * std::sin(turn), 4.5, turn - M_PI / 2);
        for (int k = 0; k < 5; ++k) {
            const double a = turn + k * 2 * M_PI / 5 + M_PI / 5;
            const double px = cx + 10.5 * std::cos(a), py = cy + 10.5 * std::sin(a);
            pent(px, py, 3.2, a);
        }
        // A highlight.
        p.setBrush(kNearWhite);
        p.drawEllipse(QRect(ox + 8, 7, 4, 3));
    }
    return img;
}

// ---------------------------------------------------------------------------------------------
// The goal banner: "GOAL!" in thick letters, yellow with a red outline, on a slanted ribbon.

QImage goalBanner()
{
    const int w = 230, h = 72;
    QImage img = blank(w, h);
    QPainter p(&img);
    aliased(p);
    // Ribbon.
    QPolygon ribbon;
    ribbon << QPoint(16, 12) << QPoint(w - 2, 4) << QPoint(w - 16, h - 12) << QPoint(2, h - 4);
    p.setPen(QColor(120, 20, 20));
    p.setBrush(QColor(214, 36, 40));
    p.drawPolygon(ribbon);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 90, 80));
    QPolygon shine;
    shine << QPoint(18, 14) << QPoint(w - 6, 7) << QPoint(w - 7, 12) << QPoint(16, 19);
    p.drawPolygon(shine);
    // Letters with a thick outline: drawn as a path, outline first.
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(50);
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    QPainterPath text;
    text.addText(0, 0, f, QStringLiteral("GOAL!"));
    const QRectF b = text.boundingRect();
    text.translate((w - b.width()) / 2 - b.left(), (h - b.height()) / 2 - b.top());
    p.setPen(QPen(QColor(90, 10, 10), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 226, 40));
    p.drawPath(text);
    // The upper half of the letters a little lighter.
    p.setClipRect(QRect(0, 0, w, int((h - b.height()) / 2 + b.height() * 0.45)));
    p.setBrush(QColor(255, 244, 140));
    p.drawPath(text);
    return img;
}

const ResRegistrar kPictures[] = {
    {"bitmaps/PK_HAIKEI.png", ResProgram::Game, [] { return PngOf(goalPicture()); }},
    {"bitmaps/PK_KUMO.png", ResProgram::Game, [] { return PngOf(cloudStrip()); }},
    {"bitmaps/PK_BALL.png", ResProgram::Game, [] { return PngOf(ballFrames()); }},
    {"bitmaps/GOALBMP.png", ResProgram::Game, [] { return PngOf(goalBanner()); }},
};

} // namespace

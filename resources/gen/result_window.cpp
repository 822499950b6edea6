// The result window's pictures: three 340 x 240 backgrounds (won, lost, the match goes on), the
// effect marks (picture 0 the disappointment mark, picture 1 the sparkle; 20 x 30) and two flame
// frames (30 x 30).
//
// The window writes its big texts centred between y 24 and about 100, stands the two players at
// (60, 110) and (200, 110) (70 x 70, feet near y 175), and puts small texts in the bottom corners:
// those areas stay plain so the texts read well.
#include "PlayerFigure.h"
#include "ResGen.h"

#include <array>
#include <cmath>
#include <random>

using namespace px;

namespace {

constexpr int kW = 340, kH = 240;
constexpr int kGround = 176;   // where the players' feet stand
constexpr double kPi = 3.14159265358979;

// The text box of the big texts, kept clear of busy detail.
bool inTextBox(int x, int y)
{
    return x >= 44 && x < kW - 44 && y >= 18 && y < 106;
}

void cloud(QImage& img, double x, double y, double w, QRgb fill, QRgb edge, QRgb under)
{
    Mask m(img);
    m.ellipse(x, y, w, w * 0.42).circle(x - w * 0.4, y - w * 0.12, w * 0.4).circle(x + w * 0.15, y - w * 0.32, w * 0.5)
        .circle(x + w * 0.6, y - w * 0.05, w * 0.3);
    m.keepIf([&](int, int py) { return py < y + w * 0.38; });
    Sticker(img, m, fill, edge);
    Rim(img, m, 0, 1, under, 2);
}

void grassField(QImage& img, int top, QRgb a, QRgb b)
{
    for (int y = top; y < kH; ++y)
        for (int x = 0; x < kW; ++x) Put(img, x, y, ((x + (y - top) * 2) / 24) % 2 ? a : b);
}

// ---- Won -----------------------------------------------------------------------------------------

QImage haikeiW()
{
    QImage img = Blank(kW, kH);
    Gradient(img, QRect(0, 0, kW, kGround), Rgb(96, 176, 246), Rgb(206, 236, 252));
    // The sun in the corner, with rays.
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 70; ++x) {
            const double d = std::hypot(x - 14.0, y - 14.0), a = std::atan2(y - 14.0, x - 14.0);
            if (d > 20 && d < 52 && int(std::floor(a / (kPi / 10))) % 2 == 0 && !inTextBox(x, y))
                Put(img, x, y, Mix(img.pixel(x, y), Rgb(255, 250, 200), 0.45));
        }
    Mask sun(img);
    sun.circle(14, 14, 17);
    Sticker(img, sun, Rgb(255, 222, 70), Rgb(240, 160, 40));
    Paint(img, Mask(img).circle(14, 14, 12), Rgb(255, 238, 130));
    cloud(img, 300, 34, 22, kWhite, Rgb(170, 206, 236), Rgb(214, 232, 246));
    cloud(img, 26, 132, 16, kWhite, Rgb(170, 206, 236), Rgb(214, 232, 246));
    cloud(img, 310, 138, 14, kWhite, Rgb(170, 206, 236), Rgb(214, 232, 246));

    // A string of pennants across the top.
    const QRgb pennant[] = {Rgb(236, 56, 60), Rgb(252, 204, 40), Rgb(60, 170, 90), Rgb(60, 120, 230), Rgb(240, 120, 200)};
    auto sag = [](double x) { return 3.0 + 8.0 * std::sin(x / kW * kPi); };
    for (int x = 0; x < kW; ++x) Put(img, x, int(sag(x)), Rgb(120, 90, 80));
    for (int i = 0; i < 17; ++i) {
        const double x = 6 + i * 20.0;
        Mask m(img);
        m.polygon({{x, sag(x) + 0.5}, {x + 12, sag(x + 12) + 0.5}, {x + 6, sag(x + 6) + 12}});
        Sticker(img, m, pennant[i % 5]);
    }

    // Confetti, outside the text box.
    std::mt19937 rng(11);
    const QRgb bits[] = {Rgb(236, 56, 60), Rgb(252, 204, 40), Rgb(60, 170, 90), Rgb(60, 120, 230), Rgb(240, 120, 200), Rgb(255, 150, 40)};
    for (int i = 0; i < 150; ++i) {
        const int x = int(rng() % kW), y = 16 + int(rng() % (kGround - 24));
        if (inTextBox(x - 2, y - 2) || inTextBox(x + 3, y + 3)) continue;
        const QRgb c = bits[rng() % 6];
        if (rng() % 2)
            FillRect(img, x, y, 3, 2, c);
        else
            FillRect(img, x, y, 2, 3, c);
    }
    // Balloons at both sides.
    auto balloon = [&](double x, double y, QRgb c) {
        Paint(img, Mask(img).line(int(x), int(y + 10), int(x - 2), int(y + 30)), Rgb(120, 110, 110));
        Mask b(img);
        b.ellipse(x, y, 7, 9);
        b.polygon({{x - 2, y + 10}, {x + 2, y + 10}, {x, y + 7}});
        Sticker(img, b, c);
        Rim(img, b, -1, 1, Darker(c, 0.2), 2);
        Put(img, int(x) + 2, int(y) - 5, Lighter(c, 0.7));
        Put(img, int(x) + 3, int(y) - 4, Lighter(c, 0.7));
    };
    balloon(20, 62, Rgb(236, 56, 60));
    balloon(34, 80, Rgb(252, 204, 40));
    balloon(306, 70, Rgb(60, 120, 230));
    balloon(322, 90, Rgb(240, 120, 200));

    // The winners' stage with bunting, on the grass.
    grassField(img, kGround, Rgb(150, 214, 120), Rgb(140, 206, 110));
    // The stage: its top, where the players stand, then the front hung with bunting.
    Mask top(img);
    top.polygon({{44, kGround - 9.0}, {kW - 44.0, kGround - 9.0}, {kW - 36.0, kGround + 1.0}, {36, kGround + 1.0}});
    Sticker(img, top, Rgb(236, 208, 160), Rgb(150, 110, 80));
    for (int y = kGround - 7; y < kGround; y += 3) Paint(img, Mask(img).line(40, y, kW - 40, y).intersect(top), Rgb(222, 190, 140));
    Mask stage(img);
    stage.rect(36, kGround + 2, kW - 72, 20);
    Sticker(img, stage, Rgb(250, 244, 226), Rgb(150, 110, 80));
    Rim(img, stage, 0, 1, Rgb(214, 200, 176), 2);
    for (int i = 0; i < 12; ++i) {
        const double x = 40 + i * 22.0;
        Mask m(img);
        m.ellipse(x + 11, kGround + 3, 11, 9);
        m.keepIf([](int, int y) { return y >= kGround + 3; });
        Paint(img, m, i % 2 ? Rgb(236, 56, 60) : kWhite);
    }
    Mask one(img);
    one.circle(95, kGround + 15, 5);
    Sticker(img, one, Rgb(252, 204, 40), Rgb(190, 130, 30));
    DrawDigits(img, 94, kGround + 13, QStringLiteral("1"), Rgb(150, 90, 20));
    return img;
}

// ---- Lost ----------------------------------------------------------------------------------------

QImage haikeiL()
{
    QImage img = Blank(kW, kH);
    // Dusk: a dim, rainy sky, light enough behind the texts for black letters.
    Gradient(img, QRect(0, 0, kW, 110), Rgb(132, 128, 168), Rgb(190, 180, 200));
    Gradient(img, QRect(0, 110, kW, kGround - 110), Rgb(190, 180, 200), Rgb(226, 168, 150));
    // Far town in silhouette along the horizon.
    std::mt19937 rng(3);
    for (int x = 0; x < kW;) {
        const int w = 10 + int(rng() % 18), h = 10 + int(rng() % 22);
        Paint(img, Mask(img).rect(x, kGround - 10 - h, w, h + 10), Rgb(120, 104, 132));
        for (int wy = kGround - 6 - h; wy < kGround - 14; wy += 6)
            for (int wx = x + 3; wx < x + w - 3; wx += 5)
                if (rng() % 3 == 0) FillRect(img, wx, wy, 2, 2, Rgb(240, 210, 130));
        x += w + 1;
    }
    // Heavy clouds at the top.
    for (int i = 0; i < 9; ++i) cloud(img, -10 + i * 44.0, 6 + (i % 2) * 5, 26, Rgb(150, 146, 170), Rgb(100, 96, 124), Rgb(132, 128, 154));
    // Rain: short slanting streaks, faint inside the text box.
    for (int i = 0; i < 260; ++i) {
        const int x = int(rng() % (kW + 20)), y = 18 + int(rng() % (kGround - 18));
        const bool faint = inTextBox(x, y) || inTextBox(x - 3, y + 6);
        if (faint && rng() % 3) continue;
        const QRgb c = faint ? Rgb(200, 196, 220) : Rgb(214, 216, 236);
        Paint(img, Mask(img).line(x, y, x - 2, y + 5), c);
    }
    // Wet, dark field with puddles.
    grassField(img, kGround, Rgb(92, 122, 96), Rgb(86, 114, 90));
    for (auto [x, y, w] : {std::array<int, 3>{40, kGround + 22, 26}, {170, kGround + 12, 34}, {290, kGround + 26, 22}}) {
        Mask p(img);
        p.ellipse(x, y, w, 3.5);
        Sticker(img, p, Rgb(160, 160, 196), Rgb(70, 92, 78));
        Paint(img, Mask(img).rect(x - w / 2, y - 1, w / 3, 1), Rgb(200, 200, 226));
    }
    return img;
}

// ---- The match goes on ---------------------------------------------------------------------------

QImage haikeiT()
{
    QImage img = Blank(kW, kH);
    Gradient(img, QRect(0, 0, kW, 60), Rgb(120, 180, 236), Rgb(186, 220, 246));
    // The stands: rows of spectators in soft colours.
    const int standTop = 34, standBottom = 150;
    std::mt19937 rng(7);
    const QRgb crowd[] = {Rgb(236, 120, 120), Rgb(250, 210, 120), Rgb(140, 190, 236), Rgb(200, 160, 220), Rgb(246, 246, 240), Rgb(160, 210, 150)};
    for (int y = standTop; y < standBottom; ++y) {
        const int row = (y - standTop) / 8, inRow = (y - standTop) % 8;
        for (int x = 0; x < kW; ++x) {
            QRgb c = inRow < 2 ? Rgb(150, 150, 164) : Rgb(176, 176, 190);
            if (inRow >= 3 && inRow <= 6) {
                const int seat = (x + row * 3) / 6, inSeat = (x + row * 3) % 6;
                std::mt19937 s(unsigned(seat * 131 + row * 17));
                const QRgb shirt = crowd[s() % 6];
                if (inSeat >= 1 && inSeat <= 4) c = inRow == 3 ? Rgb(232, 196, 160) : shirt;
            }
            Put(img, x, y, c);
        }
    }
    // The scoreboard over the stands carries the texts.
    Mask board(img);
    board.rect(40, 16, kW - 80, 92);
    Sticker(img, board, Rgb(250, 248, 236), Rgb(70, 70, 90));
    Mask rim = board;
    rim.subtract(Mask(img).rect(43, 19, kW - 86, 86));
    Paint(img, rim, Rgb(96, 100, 124));
    for (int x : {48, kW - 52}) Paint(img, Mask(img).rect(x, 8, 4, 8), Rgb(96, 100, 124));
    // Floodlights at the corners.
    for (int x : {14, kW - 26}) {
        Mask mast(img);
        mast.rect(x + 5, 16, 3, standBottom - 16);
        Sticker(img, mast, Rgb(150, 150, 170));
        Mask lamp(img);
        lamp.rect(x, 4, 13, 12);
        Sticker(img, lamp, Rgb(110, 110, 130));
        for (int ly = 6; ly < 15; ly += 4)
            for (int lx = x + 2; lx < x + 12; lx += 4) FillRect(img, lx, ly, 2, 2, Rgb(255, 250, 200));
    }
    // Advertising boards and the pitch.
    const QRgb ads[] = {Rgb(236, 80, 80), Rgb(60, 130, 220), Rgb(250, 200, 60), Rgb(70, 170, 110)};
    for (int i = 0; i < 9; ++i) {
        Mask ad(img);
        ad.rect(i * 38, standBottom, 38, 10);
        Paint(img, ad, ads[i % 4]);
        Paint(img, Mask(img).rect(i * 38 + 8, standBottom + 4, 22, 2), kWhite);
    }
    Paint(img, Mask(img).rect(0, standBottom + 10, kW, 1), Rgb(70, 70, 90));
    for (int y = standBottom + 11; y < kH; ++y)
        for (int x = 0; x < kW; ++x) Put(img, x, y, ((x + (y - standBottom) * 3) / 34) % 2 ? Rgb(120, 200, 100) : Rgb(108, 188, 90));
    Paint(img, Mask(img).rect(0, kGround + 16, kW, 2), Rgb(236, 244, 230));
    Paint(img, Mask(img).rect(169, standBottom + 11, 2, kGround + 16 - standBottom - 11), Rgb(236, 244, 230));
    return img;
}

// ---- Marks and flames ----------------------------------------------------------------------------

// Picture 0: the disappointment mark, a big cold sweat drop and a small one.
QImage effect0()
{
    QImage img = Blank(20, 30);
    auto drop = [&](double cx, double cy, double r) {
        Mask m(img);
        m.circle(cx, cy, r);
        m.polygon({{cx - r * 0.85, cy - r * 0.5}, {cx, cy - r * 2.6}, {cx + r * 0.85, cy - r * 0.5}});
        Sticker(img, m, Rgb(150, 210, 250), Rgb(40, 80, 150));
        Rim(img, m, -1, 1, Rgb(96, 160, 230));
        Put(img, int(cx + r * 0.3), int(cy - r * 0.3), kWhite);
        Put(img, int(cx + r * 0.3), int(cy - r * 0.3) - 1, kWhite);
    };
    drop(11, 19, 6.5);
    drop(5, 9, 2.6);
    return img;
}

// Picture 1: the sparkle.
QImage effect1()
{
    QImage img = Blank(20, 30);
    Twinkle(img, 9, 13, 9, Rgb(252, 200, 40));
    Twinkle(img, 9, 13, 5, Rgb(255, 236, 120));
    Twinkle(img, 16, 25, 3, Rgb(252, 170, 40));
    Twinkle(img, 3, 25, 2, Rgb(252, 200, 40));
    return img;
}

QImage fire(int frame)
{
    QImage img = Blank(30, 30);
    const double sway = frame == 0 ? -1 : 1;
    Mask outer = FlameTongue(img, 15, 27, 8.5, 25, 3 * sway);
    outer.unite(FlameTongue(img, 8, 27, 4.5, frame == 0 ? 17 : 13, -3 + sway));
    outer.unite(FlameTongue(img, 22, 27, 4.5, frame == 0 ? 13 : 18, 3 + sway));
    Sticker(img, outer, Rgb(232, 60, 40), Rgb(130, 28, 30));
    Mask mid = FlameTongue(img, 15, 27, 6, 19, 2 * sway);
    mid.unite(FlameTongue(img, frame == 0 ? 9.5 : 20.5, 27, 2.5, 9, -sway));
    mid.intersect(outer);
    Paint(img, mid, Rgb(250, 140, 40));
    Paint(img, FlameTongue(img, 15, 26.5, 3.8, 12, sway), Rgb(255, 220, 80));
    Paint(img, FlameTongue(img, 15, 26, 1.8, 6, 0.5 * sway), Rgb(255, 250, 214));
    // Sparks.
    Put(img, frame == 0 ? 4 : 26, frame == 0 ? 7 : 10, Rgb(250, 160, 40));
    Put(img, frame == 0 ? 25 : 5, frame == 0 ? 4 : 3, Rgb(255, 210, 80));
    return img;
}

ResRegistrar haikeiWReg("bitmaps/HAIKEIW.png", ResProgram::Game, [] { return PngOf(haikeiW()); });
ResRegistrar haikeiLReg("bitmaps/HAIKEIL.png", ResProgram::Game, [] { return PngOf(haikeiL()); });
ResRegistrar haikeiTReg("bitmaps/HAIKEIT.png", ResProgram::Game, [] { return PngOf(haikeiT()); });
ResRegistrar effect0Reg("bitmaps/EFFECT0.png", ResProgram::Game, [] { return PngOf(effect0()); });
ResRegistrar effect1Reg("bitmaps/EFFECT1.png", ResProgram::Game, [] { return PngOf(effect1()); });
ResRegistrar fire0Reg("bitmaps/FIRE0.png", ResProgram::Game, [] { return PngOf(fire(0)); });
ResRegistrar fire1Reg("bitmaps/FIRE1.png", ResProgram::Game, [] { return PngOf(fire(1)); });

} // namespace

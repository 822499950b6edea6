// Pictures of the target kick: the field with its wire and bleachers, the four kinds of target that
// hang from the wire, both teams' balls, two clumps of flowers and the flash of a hit. Pixel art in
// flat colours; pure white is the transparent colour of everything drawn over the field.
#include "PixelArt.h"
#include "ResGen.h"

#include <cmath>

using namespace px;

namespace {

constexpr int kW = 630, kH = 610;
constexpr double kPi = 3.14159265358979;
constexpr QRgb kGrassA = Rgb(110, 196, 88), kGrassB = Rgb(98, 184, 78);
constexpr QRgb kChalk = Rgb(246, 246, 236);
constexpr QRgb kWood = Rgb(186, 126, 70);

// ---------------------------------------------------------------------------------------------
// The field (630 x 610)

void skyAndTrees(QImage& img)
{
    Gradient(img, QRect(0, 0, kW, 40), Rgb(140, 200, 250), Rgb(206, 236, 252));
    // A row of round trees along the far side.
    Mask trees(img);
    for (int x = -10; x < kW + 20; x += 34) {
        const double r = 17 + (x / 34 % 3) * 3;
        trees.circle(x + 12, 40 - (x / 34 % 2) * 5, r);
    }
    trees.rect(0, 40, kW, 18);
    Sticker(img, trees, Rgb(54, 140, 70), Rgb(30, 84, 48));
    Mask light(img);
    for (int x = -10; x < kW + 20; x += 34) light.circle(x + 8, 34 - (x / 34 % 2) * 5, 8);
    light.intersect(trees);
    Paint(img, light, Rgb(84, 170, 88));
}

void grass(QImage& img)
{
    // Mowed bands that widen towards the viewer.
    int y = 58, band = 14, i = 0;
    while (y < kH) {
        FillRect(img, 0, y, kW, band, i % 2 ? kGrassA : kGrassB);
        y += band;
        band += 3;
        ++i;
    }
    // Tufts scattered over the grass.
    unsigned s = 777u;
    for (int n = 0; n < 160; ++n) {
        s = s * 1103515245u + 12345u;
        const int x = int((s >> 8) % kW), ty = 70 + int((s >> 4) % (kH - 80));
        const QRgb c = Darker(img.pixel(x, ty), 0.18);
        Put(img, x, ty, c);
        Put(img, x - 1, ty - 1, c);
        Put(img, x + 1, ty - 1, c);
    }
}

void wire(QImage& img)
{
    // Two poles and the wire the targets hang from.
    for (int x : {2, kW - 10}) {
        Mask pole(img);
        pole.rect(x, 22, 7, 108);
        Sticker(img, pole, Rgb(150, 150, 166));
        Rim(img, pole, 1, 0, Rgb(110, 110, 128), 2);
        Mask cap(img);
        cap.circle(x + 3.5, 22, 5);
        Sticker(img, cap, Rgb(230, 70, 60));
        Paint(img, Mask(img).ellipse(x + 3.5, 132, 9, 3), Darker(kGrassB, 0.3));
    }
    FillRect(img, 6, 33, kW - 12, 1, Rgb(60, 60, 72));
    FillRect(img, 6, 34, kW - 12, 1, Rgb(110, 110, 124));
}

void chalk(QImage& img)
{
    // The kicking spots under the resting balls, and the line the kickers stand behind.
    for (int cx : {140, 350}) {
        Mask ring(img);
        ring.ellipse(cx, 527, 18, 7);
        ring.subtract(Mask(img).ellipse(cx, 527, 15, 5));
        Paint(img, ring, kChalk);
    }
    for (int x = 24; x < 444; x += 14) FillRect(img, x, 541, 9, 2, kChalk);
    // The spot on the ground under the point where balls meet the targets.
    Mask cross(img);
    cross.capsule({236, 112}, {254, 120}, 1.2).capsule({254, 112}, {236, 120}, 1.2);
    Paint(img, cross, kChalk);
}

void bleachers(QImage& img)
{
    // Steps that come down towards the viewer, one under each supporter's feet: a plank to stand on
    // and the boards of its riser below it.
    const QRgb riser = Darker(kWood, 0.22);
    for (int k = 0; k < 6; ++k) {
        const int y = 316 + 45 * k, bottom = k < 5 ? y + 45 : kH;
        Mask front(img);
        front.rect(454, y + 8, 172, bottom - y - 8);
        Sticker(img, front, riser);
        for (int x = 470; x < 626; x += 22) FillRect(img, x, y + 9, 1, bottom - y - 9, Darker(riser, 0.2));
        for (int x = 462; x < 626; x += 44) FillRect(img, x, y + 14, 2, 2, Darker(riser, 0.35));
        Mask plank(img);
        plank.rect(452, y, 176, 8);
        Sticker(img, plank, kWood);
        FillRect(img, 453, y + 1, 174, 1, Lighter(kWood, 0.35));
        Rim(img, plank, 0, 1, Darker(kWood, 0.12), 2);
    }
}

QImage field()
{
    QImage img = Blank(kW, kH);
    skyAndTrees(img);
    grass(img);
    chalk(img);
    bleachers(img);
    wire(img);
    return img;
}

// ---------------------------------------------------------------------------------------------
// The targets (four 65 x 72 pictures): a board on a string from the wire, its face filling the
// hit box of its kind.

void target(QImage& img, int ox, int kind)
{
    const int s = kind % 3;
    const double cx = ox + 23, cy = 60 - 5 * s, r = 10 + 5 * s;
    // The hook and the string.
    Paint(img, Mask(img).rect(ox + 22, 1, 2, cy - r), Rgb(90, 80, 70));
    Mask hook(img);
    hook.ellipse(cx, 2.5, 3, 2.5).subtract(Mask(img).ellipse(cx, 2.5, 1.5, 1.2));
    Paint(img, hook, Rgb(120, 120, 136));
    Mask face(img);
    face.circle(cx, cy, r);
    Outline(img, face);
    if (kind == 3) {
        // The special one: a gold medal with a star.
        Paint(img, face, Rgb(250, 196, 40));
        Paint(img, Mask(img).circle(cx, cy, r - 2), Rgb(252, 222, 90));
        Star(img, cx, cy + 0.5, r - 3, (r - 3) * 0.45, Rgb(236, 70, 50), Rgb(160, 40, 30));
        Rim(img, face, 1, 1, Rgb(200, 130, 20));
        Twinkle(img, ox + 40, 46, 4, Rgb(252, 240, 140));
        Twinkle(img, ox + 8, 44, 3, Rgb(252, 240, 140));
        return;
    }
    const QRgb colours[3] = {Rgb(40, 110, 220), Rgb(40, 170, 80), Rgb(226, 44, 52)};
    const QRgb ring = colours[s];
    const int rings = 2 + s;
    for (int i = 0; i < rings * 2; ++i) {
        const double ri = r - i * r / (rings * 2.0);
        Paint(img, Mask(img).circle(cx, cy, ri), i % 2 ? kWhite : ring);
    }
    Paint(img, Mask(img).circle(cx, cy, std::max(2.0, r / 5)), Rgb(252, 204, 40));
    Rim(img, face, 1, 1, Darker(ring, 0.3));
    Put(img, int(cx - r * 0.5), int(cy - r * 0.55), kWhite);
}

QImage targets()
{
    QImage img = Blank(4 * 65, 72);
    for (int k = 0; k < 4; ++k) target(img, 65 * k, k);
    return img;
}

// ---------------------------------------------------------------------------------------------
// The balls (two 20 x 20 frames, the second turned): white with the team's patches.

QImage balls(QRgb patch)
{
    QImage img = Blank(40, 20);
    for (int f = 0; f < 2; ++f) {
        const double cx = 20 * f + 10, cy = 10, r = 8.5;
        Mask ball(img);
        ball.circle(cx, cy, r);
        Sticker(img, ball, kWhite);
        const double turn = f ? 0.7 : 0.0;
        Mask spots(img);
        spots.circle(cx + 2.2 * std::cos(turn), cy + 2.2 * std::sin(turn), 2.6);
        for (int k = 0; k < 5; ++k) {
            const double a = turn + k * 2 * kPi / 5 + kPi / 5;
            spots.circle(cx + 8 * std::cos(a), cy + 8 * std::sin(a), 2.4);
        }
        spots.intersect(ball);
        Paint(img, spots, patch);
        Rim(img, ball, 1, 1, Rgb(190, 196, 210));
        Put(img, int(cx) - 4, int(cy) - 5, kWhite);
    }
    return img;
}

// ---------------------------------------------------------------------------------------------
// Flowers and the flash

void tulip(QImage& img, double x, double y, QRgb petal)
{
    Paint(img, Mask(img).rect(x - 0.5, y, 2, 40 - y), Rgb(60, 140, 60));
    Mask leaf(img);
    leaf.ellipse(x - 4, 36 - (int(x) % 3), 3, 6);
    Sticker(img, leaf, Rgb(80, 170, 70), Rgb(40, 96, 44));
    Mask bloom(img);
    bloom.ellipse(x + 0.5, y, 5, 6).polygon({{x - 4.5, y - 3}, {x - 2, y - 8}, {x + 0.5, y - 3}, {x + 3, y - 8}, {x + 5.5, y - 3}});
    Sticker(img, bloom, petal);
    Rim(img, bloom, 1, 0, Darker(petal, 0.25));
    Put(img, int(x) - 2, int(y) - 2, Lighter(petal, 0.5));
}

QImage flowers(int variant)
{
    QImage img = Blank(60, 44);
    Mask ground(img);
    ground.ellipse(30, 40, 28, 4);
    Paint(img, ground, Darker(kGrassB, 0.22));
    const QRgb a = variant ? Rgb(250, 210, 50) : Rgb(240, 90, 130);
    const QRgb b = variant ? Rgb(250, 140, 50) : Rgb(250, 170, 200);
    const double xs[] = {9, 19, 29, 39, 50};
    const double ys[] = {18, 10, 15, 8, 17};
    for (int i = 0; i < 5; ++i) tulip(img, xs[i], ys[i] + variant * 2, i % 2 ? b : a);
    return img;
}

QImage hitFlash()
{
    QImage img = Blank(30, 30);
    std::vector<QPointF> burst;
    for (int k = 0; k < 16; ++k) {
        const double a = k * kPi / 8, r = k % 2 ? 6.0 : 14.0;
        burst.push_back({15 + r * std::cos(a), 15 + r * std::sin(a)});
    }
    Mask m(img);
    m.polygon(burst);
    Sticker(img, m, Rgb(250, 150, 30), Rgb(200, 60, 20));
    Mask inner(img);
    inner.circle(15, 15, 6.5);
    Paint(img, inner, Rgb(252, 232, 90));
    Paint(img, Mask(img).circle(15, 15, 3), Rgb(255, 252, 220));
    return img;
}

const ResRegistrar kPictures[] = {
    {"bitmaps/MATO_HAIKEI.png", ResProgram::Game, [] { return PngOf(field()); }},
    {"bitmaps/MATO_MATO.png", ResProgram::Game, [] { return PngOf(targets()); }},
    {"bitmaps/MATO_BALL.png", ResProgram::Game, [] { return PngOf(balls(Rgb(40, 90, 210))); }},
    {"bitmaps/MATO_BALLB.png", ResProgram::Game, [] { return PngOf(balls(Rgb(214, 50, 50))); }},
    {"bitmaps/MATO_FLOWER1.png", ResProgram::Game, [] { return PngOf(flowers(0)); }},
    {"bitmaps/MATO_FLOWER2.png", ResProgram::Game, [] { return PngOf(flowers(1)); }},
    {"bitmaps/MATO_HIT.png", ResProgram::Game, [] { return PngOf(hitFlash()); }},
};

} // namespace

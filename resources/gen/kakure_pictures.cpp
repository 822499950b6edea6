// Pictures of hide-and-seek: the meadow with its path, the hiding box, two clumps of flowers, the
// warp, the seeker that stands in when the third sample sheet is missing, and the bird that carries
// boxes off. The bird is also the data folder's "かくれんぼ_鳥.bmp", which the user may replace.
#include "PlayerFigure.h"
#include "ResGen.h"

#include <cmath>

using namespace px;

namespace {

constexpr int kW = 737, kH = 490;
constexpr double kPi = 3.14159265358979;
constexpr QRgb kMeadow = Rgb(0x66, 0xEE, 0x66);
constexpr QRgb kPath = Rgb(226, 206, 150), kPathEdge = Rgb(190, 166, 108);

// ---------------------------------------------------------------------------------------------
// The meadow (737 x 490): light green with tufts, and the sandy path the walkers follow.

QImage meadow()
{
    QImage img = Blank(kW, kH, kMeadow);
    unsigned s = 4242u;
    for (int n = 0; n < 260; ++n) {
        s = s * 1103515245u + 12345u;
        const int x = int((s >> 8) % kW), y = 20 + int((s >> 3) % (kH - 24));
        const QRgb c = n % 3 ? Rgb(80, 210, 80) : Rgb(130, 246, 120);
        Put(img, x, y, c);
        Put(img, x - 1, y - 1, c);
        Put(img, x + 1, y - 2, c);
    }
    // Feet on the path are at the nodes' y + 66 or so.
    Mask path(img);
    path.capsule({40, 290}, {700, 290}, 15);
    Sticker(img, path, kPath, kPathEdge);
    Rim(img, path, 0, 1, Darker(kPath, 0.15), 2);
    s = 99u;
    for (int n = 0; n < 120; ++n) {
        s = s * 1103515245u + 12345u;
        const int x = 40 + int((s >> 8) % 660), y = 280 + int((s >> 4) % 20);
        if (path.at(x, y) && path.at(x + 1, y)) {
            Put(img, x, y, Darker(kPath, 0.2));
            Put(img, x + 1, y, Lighter(kPath, 0.4));
        }
    }
    return img;
}

// ---------------------------------------------------------------------------------------------
// The box (100 x 100): an open cardboard box in yellow, big enough to hide a player.

QImage box()
{
    QImage img = Blank(100, 100);
    const QRgb yellow = Rgb(250, 206, 64), side = Rgb(226, 170, 44), inside = Rgb(150, 100, 40);
    Mask flaps(img);
    flaps.polygon({{6, 24}, {0, 12}, {18, 6}, {22, 16}});
    flaps.polygon({{94, 24}, {100, 12}, {82, 6}, {78, 16}});
    Sticker(img, flaps, Lighter(yellow, 0.2));
    Mask back(img);
    back.polygon({{10, 22}, {20, 8}, {80, 8}, {90, 22}});
    Sticker(img, back, side);
    Mask hole(img);
    hole.polygon({{14, 22}, {22, 11}, {78, 11}, {86, 22}});
    Paint(img, hole, inside);
    Paint(img, Mask(img).rect(22, 11, 56, 3), Darker(inside, 0.3));
    Mask front(img);
    front.rect(4, 22, 92, 77);
    Sticker(img, front, yellow);
    Rim(img, front, 1, 0, side, 6);
    Rim(img, front, 0, 1, side, 3);
    FillRect(img, 5, 23, 90, 2, Lighter(yellow, 0.45));
    // Tape across the front, and a label where the number goes.
    FillRect(img, 44, 23, 12, 76, Rgb(236, 190, 90));
    Mask label(img);
    label.rect(30, 40, 40, 36);
    Sticker(img, label, Rgb(255, 250, 236), Rgb(200, 150, 60));
    return img;
}

// ---------------------------------------------------------------------------------------------
// Flowers: sunflowers (up to 77 x 90 at (660, 400)) and daisies (up to 47 wide at (690, 370)).

void sunflower(QImage& img, double x, double y, double r)
{
    Paint(img, Mask(img).rect(x - 1, y, 3, img.height() - y), Rgb(60, 140, 50));
    Mask leaf(img);
    leaf.ellipse(x + 6, y + 20, 6, 3).ellipse(x - 6, y + 30, 6, 3);
    Sticker(img, leaf, Rgb(80, 170, 60), Rgb(40, 96, 40));
    Mask petals(img);
    for (int k = 0; k < 12; ++k) {
        const double a = k * kPi / 6;
        petals.ellipse(x + r * std::cos(a), y + r * std::sin(a), r * 0.55, r * 0.55);
    }
    Sticker(img, petals, Rgb(252, 210, 40), Rgb(180, 120, 20));
    Mask heart(img);
    heart.circle(x, y, r * 0.75);
    Sticker(img, heart, Rgb(130, 80, 40), Rgb(80, 50, 30));
    Put(img, int(x) - 1, int(y) - 2, Rgb(170, 110, 60));
    Put(img, int(x) + 2, int(y) + 1, Rgb(170, 110, 60));
}

QImage sunflowers()
{
    QImage img = Blank(76, 88);
    sunflower(img, 20, 30, 8);
    sunflower(img, 50, 16, 9);
    sunflower(img, 64, 44, 7);
    return img;
}

QImage daisies()
{
    QImage img = Blank(46, 36);
    const double xs[] = {8, 22, 36}, ys[] = {14, 8, 16};
    for (int i = 0; i < 3; ++i) {
        Paint(img, Mask(img).rect(xs[i], ys[i], 2, 36 - ys[i]), Rgb(60, 140, 50));
        Mask petals(img);
        for (int k = 0; k < 8; ++k) petals.circle(xs[i] + 1 + 4 * std::cos(k * kPi / 4), ys[i] + 4 * std::sin(k * kPi / 4), 2.4);
        Sticker(img, petals, kWhite, Rgb(150, 150, 170));
        Paint(img, Mask(img).circle(xs[i] + 1, ys[i], 2.2), Rgb(250, 200, 40));
    }
    return img;
}

// ---------------------------------------------------------------------------------------------
// The warp (60 x 60): a swirl of light where a hider was.

QImage warp()
{
    QImage img = Blank(60, 60);
    const QRgb colours[3] = {Rgb(150, 90, 240), Rgb(90, 170, 250), Rgb(240, 120, 220)};
    for (int arm = 0; arm < 3; ++arm) {
        Mask m(img);
        for (double t = 0; t < 1.0; t += 0.02) {
            const double a = arm * 2 * kPi / 3 + t * 2.6 * kPi, r = 4 + 24 * t;
            m.circle(30 + r * std::cos(a), 30 + r * std::sin(a), 1.2 + 2.2 * (1 - t));
        }
        Sticker(img, m, colours[arm], Darker(colours[arm], 0.45));
    }
    Paint(img, Mask(img).circle(30, 30, 4.5), Rgb(255, 250, 210));
    Twinkle(img, 10, 12, 4, Rgb(250, 240, 150));
    Twinkle(img, 50, 48, 3, Rgb(250, 240, 150));
    return img;
}

// ---------------------------------------------------------------------------------------------
// The seeker stored with the game: one sheet cell of a little oni with a blindfold headband.

QImage seeker()
{
    Look l;
    l.skin = Rgb(250, 150, 120);
    l.hair = Rgb(60, 48, 44);
    l.hairStyle = HairStyle::Curly;
    l.shirt = Rgb(252, 200, 40);
    l.stripes = Rgb(52, 40, 40);
    l.trim = Rgb(52, 40, 40);
    l.shorts = Rgb(52, 40, 40);
    l.socks = Rgb(250, 150, 120);
    l.boots = Rgb(120, 80, 50);
    l.headgear = Headgear::Horns;
    l.headgearColor = Rgb(250, 240, 200);
    return PlayerSheet({l});
}

// ---------------------------------------------------------------------------------------------
// The bird (140 x 90): a big friendly bird flying to the left, its feet ready to take a box by the
// top (the box hangs from x 30 to 70, y 60 down).

QImage bird()
{
    QImage img = Blank(140, 90);
    const QRgb body = Rgb(90, 150, 230), belly = Rgb(250, 240, 210), wing = Rgb(60, 110, 200);
    Mask farWing(img);
    farWing.polygon({{60, 34}, {86, 4}, {112, 2}, {100, 18}, {122, 14}, {104, 30}, {80, 42}});
    Sticker(img, farWing, Darker(wing, 0.2));
    Mask legs(img);
    legs.capsule({40, 48}, {36, 62}, 1.6).capsule({56, 48}, {58, 62}, 1.6);
    legs.capsule({30, 63}, {40, 63}, 1.4).capsule({52, 63}, {64, 63}, 1.4);
    Sticker(img, legs, Rgb(250, 160, 50));
    Mask tail(img);
    tail.polygon({{84, 36}, {124, 28}, {132, 40}, {120, 44}, {130, 54}, {84, 48}});
    Sticker(img, tail, wing);
    Mask b(img);
    b.ellipse(56, 40, 32, 15).circle(24, 28, 14);
    Sticker(img, b, body);
    Mask chest(img);
    chest.ellipse(46, 47, 22, 8).circle(22, 34, 7);
    chest.intersect(b);
    Paint(img, chest, belly);
    Rim(img, b, 0, 1, Darker(body, 0.2), 2);
    Mask beak(img);
    beak.polygon({{12, 24}, {0, 30}, {12, 33}});
    Sticker(img, beak, Rgb(250, 180, 40));
    Paint(img, Mask(img).circle(20, 24, 3.2), kWhite);
    Paint(img, Mask(img).circle(19, 24, 1.8), Rgb(30, 24, 40));
    Put(img, 18, 23, kWhite);
    Paint(img, Mask(img).ellipse(25, 31, 3, 1.6), Rgb(250, 150, 170));
    Mask crest(img);
    crest.polygon({{22, 15}, {26, 2}, {30, 14}}).polygon({{28, 16}, {36, 6}, {35, 18}});
    Sticker(img, crest, Rgb(240, 80, 80));
    Mask nearWing(img);
    nearWing.polygon({{44, 36}, {62, 8}, {90, 0}, {80, 14}, {100, 10}, {84, 26}, {70, 40}});
    Sticker(img, nearWing, wing);
    Paint(img, Mask(img).capsule({58, 24}, {78, 10}, 1.2), Lighter(wing, 0.4));
    return img;
}

const ResRegistrar kPictures[] = {
    {"bitmaps/KAKURE_HAIKEI.png", ResProgram::Game, [] { return PngOf(meadow()); }},
    {"bitmaps/KAKURE_BOX.png", ResProgram::Game, [] { return PngOf(box()); }},
    {"bitmaps/KAKURE_FLOWER1.png", ResProgram::Game, [] { return PngOf(sunflowers()); }},
    {"bitmaps/KAKURE_FLOWER2.png", ResProgram::Game, [] { return PngOf(daisies()); }},
    {"bitmaps/KAKURE_WARP.png", ResProgram::Game, [] { return PngOf(warp()); }},
    {"bitmaps/KAKURE_ONI.png", ResProgram::Game, [] { return PngOf(seeker()); }},
    {"bitmaps/KAKURE_BIRD.png", ResProgram::Game, [] { return PngOf(bird()); }},
};

const DataFileRegistrar kBirdFile("かくれんぼ_鳥.bmp", [] { return Bmp24Of(bird()); });

} // namespace

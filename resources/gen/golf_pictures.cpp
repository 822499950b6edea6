// Pictures of the putting game: the green's ground (560 x 580) with its slow strips, the two hills
// (shaded by their real slope, lit from the upper left), the bunting of the opening, the putter, the
// "quiet please" sign and the ball's frames. Pure white is the transparent colour of everything drawn
// over the ground.
#include "PixelArt.h"
#include "ResGen.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

using namespace px;

namespace {

constexpr double kPi = 3.14159265358979;
constexpr int kW = 560, kH = 580;
constexpr int kRoughX = 450, kFringeY = 16; // the ball runs slower right of and above these
constexpr int kTeeX = 200, kTeeY = 540;

constexpr QRgb kGreen = Rgb(0x66, 0xEE, 0x66); // the green itself
constexpr QRgb kStripe = Rgb(0x5E, 0xE4, 0x60);
constexpr QRgb kFringe = Rgb(0x52, 0xD2, 0x56);
constexpr QRgb kRough = Rgb(0x3E, 0xB4, 0x48);

unsigned nextRand(unsigned& s)
{
    s = s * 1103515245u + 12345u;
    return (s >> 16) & 0x7FFF;
}

// ---------------------------------------------------------------------------------------------
// The ground: mown diagonal stripes, a darker collar along the top, the rough on the right, a
// lighter teeing patch around the tee.

void grassSpecks(QImage& img, const QRect& r, QRgb light, QRgb dark, unsigned seed, int oneIn)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const unsigned v = nextRand(seed);
            if (v % unsigned(oneIn) == 0) Put(img, x, y, (v >> 5) % 2 ? light : dark);
        }
}

QImage ground()
{
    QImage img = Blank(kW, kH, kGreen);
    // Mowing stripes, 40 pixels wide across the diagonal.
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (((x + y) / 40) % 2) Put(img, x, y, kStripe);
    grassSpecks(img, QRect(0, 0, kW, kH), Rgb(0x74, 0xF4, 0x72), Rgb(0x58, 0xDA, 0x5C), 7u, 23);

    // The collar along the top and the rough on the right: deeper grass with tufts.
    FillRect(img, 0, 0, kW, kFringeY + 1, kFringe);
    grassSpecks(img, QRect(0, 0, kW, kFringeY + 1), Rgb(0x62, 0xE0, 0x62), Rgb(0x46, 0xC0, 0x4A), 11u, 5);
    FillRect(img, kRoughX, 0, kW - kRoughX, kH, kRough);
    unsigned s = 99u;
    for (int i = 0; i < 900; ++i) {
        const int x = kRoughX + 3 + int(nextRand(s) % unsigned(kW - kRoughX - 4));
        const int y = 2 + int(nextRand(s) % unsigned(kH - 4));
        const QRgb c = nextRand(s) % 3 ? Rgb(0x2E, 0x98, 0x3A) : Rgb(0x5C, 0xCC, 0x58);
        // A tuft: three blades.
        Put(img, x, y, c);
        Put(img, x - 1, y + 1, c);
        Put(img, x + 1, y + 1, c);
        Put(img, x, y + 1, c);
    }
    // Edges where the short grass ends.
    for (int y = 0; y < kH; ++y) {
        Put(img, kRoughX, y, Rgb(0x34, 0xA0, 0x40));
        Put(img, kRoughX - 1, y, Rgb(0x8A, 0xF8, 0x82));
    }
    for (int x = 0; x < kRoughX; ++x) {
        Put(img, x, kFringeY + 1, Rgb(0x40, 0xBC, 0x46));
        Put(img, x, kFringeY + 2, Rgb(0x8A, 0xF8, 0x82));
    }

    // The teeing patch.
    const QRect tee(kTeeX - 44, kTeeY - 18, 88, 36);
    for (int y = tee.top(); y <= tee.bottom(); ++y)
        for (int x = tee.left(); x <= tee.right(); ++x) Put(img, x, y, Dither(x, y, Rgb(0x78, 0xF2, 0x74), kGreen, 0.25));
    Mask patch(img);
    patch.rect(tee.left(), tee.top(), tee.width(), tee.height());
    Rim(img, patch, 0, 1, Rgb(0x50, 0xCE, 0x54));
    Rim(img, patch, 0, -1, Rgb(0x9A, 0xFA, 0x90));
    // Two tee markers.
    for (int mx : {kTeeX - 36, kTeeX + 36}) {
        Mask m(img);
        m.circle(mx + 0.5, kTeeY + 10.5, 3.2);
        Sticker(img, m, Rgb(236, 60, 64));
        Put(img, mx - 1, kTeeY + 9, Rgb(255, 170, 160));
    }
    return img;
}

// ---------------------------------------------------------------------------------------------
// A hill of the given radius, in a picture twice as wide. Its slope pushes a ball by d / 10 within
// 40 pixels of the top, by 4 from 40 to 79 and then 1 less every 40 pixels; the shading follows
// that slope, lit from the upper left, and fine contour rings mark where the slope changes.

int pushAt(int d)
{
    if (d < 40) return d / 10;
    return std::max(0, 5 - d / 40);
}

QImage hill(int radius)
{
    const int side = 2 * radius;
    QImage img = Blank(side, side);
    // Shades from the lee (dark) to the lit side (light); the middle one is the green's own colour.
    const QRgb ramp[] = {Rgb(0x2E, 0x9C, 0x44), Rgb(0x42, 0xBA, 0x4E), Rgb(0x54, 0xD4, 0x5A), kGreen,
                         Rgb(0x86, 0xF6, 0x7C), Rgb(0xA8, 0xFA, 0x96), Rgb(0xC8, 0xFC, 0xB0)};
    constexpr int kSteps = int(sizeof ramp / sizeof ramp[0]) - 1;
    const double lx = -std::sqrt(0.5), ly = -std::sqrt(0.5);
    Mask body(img);
    body.circle(radius, radius, radius);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            if (!body.at(x, y)) continue;
            const double dx = x + 0.5 - radius, dy = y + 0.5 - radius;
            const double d = std::hypot(dx, dy);
            const int k = pushAt(int(d));
            const double facing = d > 0 ? (dx * lx + dy * ly) / d : 0;
            // 0 .. 1, a half for level ground; a steep slope facing the light is brightest.
            const double t = std::clamp(0.5 + 0.5 * facing * k / 4.0, 0.0, 1.0) * kSteps;
            const int lo = std::min(kSteps - 1, int(t));
            Put(img, x, y, Dither(x, y, ramp[lo], ramp[lo + 1], t - lo));
        }
    // Contour rings where the slope steps, a shade darker than what they cross.
    for (int ring = 40; ring < radius; ring += 40) {
        Mask r(img);
        r.circle(radius, radius, ring + 0.7).subtract(Mask(img).circle(radius, radius, ring - 0.7));
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (r.at(x, y) && (x + y) % 3 != 0) Put(img, x, y, Darker(img.pixel(x, y), 0.14));
    }
    // The foot of the hill: a soft dark rim on the lee side, a light one facing the sun.
    Rim(img, body, 1, 1, Rgb(0x3C, 0xB0, 0x4A), 2);
    Rim(img, body, -1, -1, Rgb(0x7C, 0xF2, 0x76), 1);
    // The flat top.
    Mask top(img);
    top.circle(radius, radius, 9);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (top.at(x, y)) Put(img, x, y, Dither(x, y, kGreen, Rgb(0x86, 0xF6, 0x7C), 0.5));
    return img;
}

// ---------------------------------------------------------------------------------------------
// The bunting of the opening (360 x 92): pennants on a sagging line, a golf pin flag in the middle.

QImage bunting()
{
    const int w = 360, h = 92;
    QImage img = Blank(w, h);
    auto sag = [](double x) { return 8 + 22 * (1 - std::pow((x - w / 2.0) / (w / 2.0), 2)); };
    // The pin and its flag, behind the line.
    Mask pin(img);
    pin.rect(w / 2.0 - 1.5, 6, 3, 84);
    Sticker(img, pin, Rgb(246, 246, 240));
    for (int y = 12; y < 90; y += 12) FillRect(img, w / 2 - 1, y, 2, 6, Rgb(226, 52, 56));
    Mask flag(img);
    flag.polygon({{w / 2.0 + 2, 6}, {w / 2.0 + 40, 14}, {w / 2.0 + 30, 21}, {w / 2.0 + 42, 29}, {w / 2.0 + 2, 34}});
    Sticker(img, flag, Rgb(252, 214, 60));
    Rim(img, flag, 0, 1, Rgb(220, 160, 30), 2);
    Mask dot(img);
    dot.circle(w / 2.0 + 15, 20, 4.5);
    Sticker(img, dot, kWhite, Rgb(120, 110, 90));
    Put(img, w / 2 + 13, 18, Rgb(214, 220, 230));
    Put(img, w / 2 + 16, 21, Rgb(214, 220, 230));

    // The line.
    for (int x = 0; x < w; ++x) {
        const int y = int(std::lround(sag(x)));
        Put(img, x, y, Rgb(90, 70, 60));
        Put(img, x, y + 1, Rgb(150, 120, 96));
    }
    // Pennants, hanging from the line.
    const QRgb colours[] = {Rgb(226, 44, 52), Rgb(252, 204, 40), Rgb(40, 110, 220), Rgb(40, 170, 90), Rgb(250, 140, 40)};
    int i = 0;
    for (double x = 6; x + 24 < w; x += 30, ++i) {
        if (x + 24 > w / 2.0 - 10 && x < w / 2.0 + 10) continue; // leave room for the pin
        const double y0 = sag(x), y1 = sag(x + 24);
        Mask p(img);
        p.polygon({{x, y0 + 1}, {x + 24, y1 + 1}, {x + 12, (y0 + y1) / 2 + 30}});
        const QRgb c = colours[i % 5];
        Sticker(img, p, c);
        Rim(img, p, 1, 0, Darker(c, 0.22), 2);
        Rim(img, p, 0, -1, Lighter(c, 0.4));
    }
    return img;
}

// ---------------------------------------------------------------------------------------------
// The putter (36 x 40): grip at the upper left, the shaft, the blade at the bottom right, which
// the game puts right under the waiting ball.

QImage putter()
{
    QImage img = Blank(36, 40);
    Mask shaft(img);
    shaft.capsule({9, 10}, {24, 33}, 1.0);
    Sticker(img, shaft, Rgb(200, 206, 216), Rgb(70, 74, 90));
    Mask grip(img);
    grip.capsule({3, 2}, {9, 11}, 2.2);
    Sticker(img, grip, Rgb(48, 48, 60));
    Put(img, 4, 3, Rgb(110, 110, 130));
    Put(img, 6, 6, Rgb(110, 110, 130));
    Mask blade(img);
    blade.rect(14, 33, 20, 5);
    Sticker(img, blade, Rgb(176, 184, 198), Rgb(50, 54, 70));
    Rim(img, blade, 0, -1, Rgb(236, 240, 246));
    Rim(img, blade, 0, 1, Rgb(120, 126, 142));
    return img;
}

// ---------------------------------------------------------------------------------------------
// The "quiet please" paddle (52 x 64), as marshals hold it up at a putt.

QImage quietSign()
{
    const int w = 52, h = 64;
    QImage img = Blank(w, h);
    Mask stick(img);
    stick.rect(w / 2.0 - 2, 28, 4, h - 28);
    Sticker(img, stick, Rgb(186, 128, 70));
    Rim(img, stick, 1, 0, Rgb(140, 90, 50));
    Mask board(img);
    board.rect(2, 2, w - 4, 28).subtract(Mask(img).rect(2, 2, 2, 2)).subtract(Mask(img).rect(w - 4, 2, 2, 2))
        .subtract(Mask(img).rect(2, 28, 2, 2)).subtract(Mask(img).rect(w - 4, 28, 2, 2));
    Sticker(img, board, Rgb(252, 222, 76));
    Rim(img, board, 0, 1, Rgb(222, 170, 40), 2);
    Rim(img, board, 0, -1, Rgb(255, 244, 170));

    QImage text(w, h, QImage::Format_RGB32);
    text.fill(Qt::white);
    {
        QPainter p(&text);
        QFont f(QStringLiteral("IPAGothic"));
        f.setPixelSize(11);
        f.setBold(true);
        f.setStyleStrategy(QFont::NoAntialias);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(QRect(2, 3, w - 4, 26), Qt::AlignCenter, QStringLiteral("お静かに"));
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (qGray(text.pixel(x, y)) < 128) Put(img, x, y, Rgb(60, 40, 40));
    return img;
}

// ---------------------------------------------------------------------------------------------
// The ball (14 x 14 frames): four frames of a rolling ball whose dimples turn, then the small ball
// of the putt count.

QImage ballFrames()
{
    QImage img = Blank(14 * 5, 14);
    for (int f = 0; f < 4; ++f) {
        const int ox = 14 * f;
        Mask ball(img);
        ball.circle(ox + 7, 7, 5.6);
        Sticker(img, ball, kWhite, Rgb(90, 100, 96));
        Rim(img, ball, 1, 1, Rgb(204, 212, 220), 2);
        // Dimples on a turning ring.
        for (int k = 0; k < 3; ++k) {
            const double a = f * kPi / 6 + k * 2 * kPi / 3;
            Put(img, ox + 7 + int(std::lround(2.6 * std::cos(a))), 7 + int(std::lround(2.6 * std::sin(a))), Rgb(190, 198, 210));
        }
        Put(img, ox + 5, 4, kWhite);
        Put(img, ox + 4, 5, kWhite);
    }
    Mask small(img);
    small.circle(14 * 4 + 7, 7, 4.1);
    Sticker(img, small, kWhite, Rgb(60, 90, 70));
    Rim(img, small, 1, 1, Rgb(200, 208, 216));
    return img;
}

const ResRegistrar kPictures[] = {
    {"bitmaps/GOLF_GROUND.png", ResProgram::Game, [] { return PngOf(ground()); }},
    {"bitmaps/GOLF_MOUNT0.png", ResProgram::Game, [] { return PngOf(hill(160)); }},
    {"bitmaps/GOLF_MOUNT1.png", ResProgram::Game, [] { return PngOf(hill(120)); }},
    {"bitmaps/GOLF_HATA.png", ResProgram::Game, [] { return PngOf(bunting()); }},
    {"bitmaps/GOLF_PATTER.png", ResProgram::Game, [] { return PngOf(putter()); }},
    {"bitmaps/GOLF_QUIET.png", ResProgram::Game, [] { return PngOf(quietSign()); }},
    {"bitmaps/GOLF_BALL.png", ResProgram::Game, [] { return PngOf(ballFrames()); }},
};

} // namespace

// The nine 70 x 70 game icons of the menu, one above each game button. They are shown opaque, so
// each is a small full scene on a soft background.
#include "PlayerFigure.h"
#include "ResGen.h"

#include <array>
#include <cmath>

using namespace px;

namespace {

constexpr int kSize = 70;
constexpr double kPi = 3.14159265358979;
constexpr QRgb kSkyTop = Rgb(150, 206, 250), kSkyLow = Rgb(214, 238, 252);
constexpr QRgb kGrassA = Rgb(112, 196, 92), kGrassB = Rgb(96, 182, 80);
constexpr QRgb kLine = Rgb(250, 250, 244);

QImage sky(int horizon)
{
    QImage img = Blank(kSize, kSize);
    Gradient(img, QRect(0, 0, kSize, horizon), kSkyTop, kSkyLow);
    return img;
}

// Grass below y, mown in bands.
void grass(QImage& img, int y, int band = 6)
{
    for (int py = y; py < kSize; ++py)
        for (int x = 0; x < kSize; ++x) Put(img, x, py, ((x + (py - y) / 2) / band) % 2 ? kGrassA : kGrassB);
}

void cloud(QImage& img, double x, double y, double w)
{
    Mask m(img);
    m.ellipse(x, y, w, w * 0.45).circle(x - w * 0.35, y - w * 0.15, w * 0.42).circle(x + w * 0.25, y - w * 0.3, w * 0.5);
    m.keepIf([&](int, int py) { return py < y + w * 0.4; });
    Sticker(img, m, kWhite, Rgb(176, 208, 236));
}

// A soft frame, so that the icons sit as tiles on the menu.
void frame(QImage& img, QRgb c)
{
    for (int i = 0; i < kSize; ++i) {
        Put(img, i, 0, c);
        Put(img, i, kSize - 1, c);
        Put(img, 0, i, c);
        Put(img, kSize - 1, i, c);
    }
}

void shadow(QImage& img, double cx, double cy, double rx, double ry)
{
    Mask m(img);
    m.ellipse(cx, cy, rx, ry);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (m.at(x, y)) Put(img, x, y, Darker(img.pixel(x, y), 0.25));
}

void speedLines(QImage& img, std::initializer_list<std::array<int, 3>> lines, QRgb c)
{
    for (const auto& l : lines) Paint(img, Mask(img).line(l[0], l[1], l[0] + l[2], l[1]), c);
}

Look redKid()
{
    Look l;
    l.skin = skin::Light;
    l.hair = hair::Brown;
    l.hairStyle = HairStyle::Spiky;
    l.number = QStringLiteral("7");
    return l;
}

// ---- The icons -----------------------------------------------------------------------------------

QImage iconPK()
{
    QImage img = sky(30);
    cloud(img, 56, 8, 7);
    grass(img, 30);
    // Net behind the frame, then the posts and bar.
    Mask net(img);
    net.rect(9, 9, 52, 34);
    Paint(img, net, Rgb(226, 236, 236));
    for (int x = 11; x < 61; x += 4) Paint(img, Mask(img).line(x, 9, x, 42), Rgb(170, 186, 196));
    for (int y = 12; y < 43; y += 4) Paint(img, Mask(img).line(9, y, 60, y), Rgb(170, 186, 196));
    Mask posts(img);
    posts.rect(6, 7, 58, 3).rect(6, 7, 3, 37).rect(61, 7, 3, 37);
    Sticker(img, posts, kWhite);
    Rim(img, posts, -1, 1, Rgb(200, 206, 214));
    Paint(img, Mask(img).line(4, 44, 65, 44), kLine);
    // The ball in the top corner, and its path.
    speedLines(img, {{{22, 53, 10}}, {{18, 58, 12}}, {{26, 48, 8}}}, kLine);
    SoccerBall(img, 45, 25, 7.5);
    Paint(img, Mask(img).line(30, 50, 38, 33), Rgb(250, 250, 200));
    Paint(img, Mask(img).line(31, 50, 39, 33), Rgb(250, 250, 200));
    shadow(img, 28, 63, 6, 1.8);
    Paint(img, Mask(img).ellipse(35, 60, 2.5, 1), kLine);
    frame(img, Rgb(60, 130, 70));
    return img;
}

QImage iconKakure()
{
    QImage img = sky(40);
    cloud(img, 14, 10, 7);
    grass(img, 40, 70);
    // The hider, behind the bush.
    Look l = redKid();
    l.hairStyle = HairStyle::Short;
    l.hair = hair::Black;
    Pose p = StandPose();
    p.face = Expression::Happy;
    p.nearArm = {{29.5, 34.5}, {25, 30}, {27, 25}, {}};
    p.nearArmLayer = Layer::Top;
    DrawFigure(img, l, p, 24, 2, 0.72);
    // The bush: clumps of leaves.
    const QRgb leaf = Rgb(58, 150, 70), leafLight = Rgb(96, 190, 92);
    Mask bush(img);
    bush.circle(16, 50, 12).circle(30, 44, 13).circle(46, 44, 12).circle(58, 52, 11).circle(36, 58, 14).rect(4, 56, 62, 14);
    Sticker(img, bush, leaf, Rgb(30, 80, 44));
    Mask light(img);
    light.circle(14, 47, 6).circle(30, 40, 7).circle(46, 40, 6).circle(58, 49, 5);
    light.intersect(bush);
    light.subtract(bush.edge(0, -1));
    Paint(img, light, leafLight);
    for (auto [x, y] : {std::pair{20, 55}, {40, 52}, {52, 60}, {28, 63}, {10, 62}}) {
        Put(img, x, y, Rgb(30, 100, 50));
        Put(img, x + 1, y - 1, Rgb(30, 100, 50));
    }
    // Flowers.
    for (auto [x, y] : {std::pair{12, 44}, {50, 38}, {60, 58}, {34, 60}}) {
        Paint(img, Mask(img).rect(x - 1, y, 3, 1).rect(x, y - 1, 1, 3), Rgb(250, 140, 170));
        Put(img, x, y, Rgb(250, 220, 80));
    }
    // A question mark: the seeker wonders.
    Mask q(img);
    q.capsule({56, 8}, {59, 6}, 1.3).capsule({59, 6}, {62, 8}, 1.3).capsule({62, 8}, {60, 13}, 1.3).capsule({60, 13}, {59, 16}, 1.3).circle(59, 20.5, 1.5);
    Sticker(img, q, Rgb(250, 220, 60));
    frame(img, Rgb(60, 130, 70));
    return img;
}

// A running track: lanes in brick red with white lines.
void track(QImage& img, int y)
{
    for (int py = y; py < kSize; ++py)
        for (int x = 0; x < kSize; ++x) Put(img, x, py, Dither(x, py, Rgb(214, 104, 72), Rgb(196, 90, 62), (py - y) / 20.0));
    for (int ly : {y, y + 11})
        for (int x = 0; x < kSize; ++x) Put(img, x, ly, kLine);
}

QImage iconRun()
{
    QImage img = sky(46);
    cloud(img, 52, 12, 8);
    for (int x = 0; x < kSize; ++x)
        for (int y = 40; y < 46; ++y) Put(img, x, y, (x / 5 + y) % 2 ? Rgb(110, 190, 96) : Rgb(96, 178, 84));
    track(img, 46);
    speedLines(img, {{{2, 26, 12}}, {{0, 34, 14}}, {{4, 42, 10}}}, kLine);
    shadow(img, 38, 65, 13, 2.5);
    DrawFigure(img, redKid(), RunPose(), 3, 4, 0.92);
    frame(img, Rgb(170, 80, 60));
    return img;
}

QImage iconGolf()
{
    QImage img = sky(36);
    cloud(img, 16, 9, 7);
    // Far hills, then the green.
    Mask hills(img);
    hills.ellipse(10, 40, 26, 12).ellipse(58, 38, 22, 10);
    Paint(img, hills, Rgb(136, 196, 120));
    grass(img, 36, 70);
    Mask green(img);
    green.ellipse(38, 56, 34, 13);
    Paint(img, green, Rgb(144, 222, 112));
    Rim(img, green, 0, -1, Rgb(170, 236, 140));
    // The cup, the pin and its flag.
    Mask cup(img);
    cup.ellipse(46, 58, 4.5, 2);
    Sticker(img, cup, Rgb(40, 60, 40), Rgb(90, 150, 80));
    Mask pin(img);
    pin.rect(45.5, 10, 1.5, 48);
    Sticker(img, pin, Rgb(240, 240, 240), Rgb(80, 80, 90));
    Mask flag(img);
    flag.polygon({{47, 10}, {63, 14}, {60, 17}, {64, 21}, {47, 23}});
    Sticker(img, flag, Rgb(236, 56, 60));
    Rim(img, flag, 0, 1, Rgb(180, 36, 44));
    // The ball rolling up to it.
    for (int x = 14; x < 25; x += 3) Put(img, x, 62 - (x - 14) / 4, Rgb(120, 200, 100));
    Mask ball(img);
    ball.circle(28.5, 59.5, 3);
    Sticker(img, ball, kWhite);
    Put(img, 29, 60, Rgb(214, 220, 230));
    Put(img, 28, 58, kWhite);
    frame(img, Rgb(60, 130, 70));
    return img;
}

QImage iconMato()
{
    QImage img = sky(44);
    cloud(img, 60, 8, 6);
    grass(img, 44);
    // Stand legs, then the board.
    const QRgb wood = Rgb(170, 110, 64);
    Mask legs(img);
    legs.capsule({36, 40}, {30, 62}, 1.6).capsule({48, 40}, {54, 62}, 1.6);
    Sticker(img, legs, wood);
    const QRgb rings[] = {Rgb(226, 44, 52), kWhite, Rgb(226, 44, 52), kWhite, Rgb(252, 204, 40)};
    const double radii[] = {19, 15, 11, 7, 3.5};
    Mask board(img);
    board.circle(42, 27, radii[0]);
    Outline(img, board);
    for (int i = 0; i < 5; ++i) Paint(img, Mask(img).circle(42, 27, radii[i]), rings[i]);
    Rim(img, board, -1, 1, Rgb(170, 30, 40));
    // A ball on its way in.
    Paint(img, Mask(img).line(6, 60, 14, 52), Rgb(250, 250, 200));
    Paint(img, Mask(img).line(6, 64, 16, 55), Rgb(250, 250, 200));
    SoccerBall(img, 21, 47, 6.5);
    Twinkle(img, 56, 12, 4, Rgb(250, 200, 40));
    frame(img, Rgb(60, 130, 70));
    return img;
}

QImage iconHur()
{
    QImage img = sky(46);
    cloud(img, 14, 10, 6);
    for (int x = 0; x < kSize; ++x)
        for (int y = 40; y < 46; ++y) Put(img, x, y, (x / 5 + y) % 2 ? Rgb(110, 190, 96) : Rgb(96, 178, 84));
    track(img, 46);
    // The hurdle.
    Mask hLegs(img);
    hLegs.rect(26, 44, 2, 18).rect(52, 44, 2, 18).rect(23, 60, 8, 2).rect(49, 60, 8, 2);
    Sticker(img, hLegs, Rgb(60, 60, 70));
    Mask bar(img);
    bar.rect(24, 40, 32, 5);
    Sticker(img, bar, kWhite);
    Mask stripes = bar;
    stripes.keepIf([](int x, int) { return (x / 4) % 2 == 0; });
    Paint(img, stripes, Rgb(226, 44, 52));
    shadow(img, 42, 65, 12, 2);
    // The jumper, high over it.
    Look l = redKid();
    l.hairStyle = HairStyle::Ponytail;
    l.hair = hair::Black;
    l.headgearColor = Rgb(250, 214, 64);
    Pose p = KickPose();
    p.nearLeg = {{32, 47.5}, {26, 51}, {21, 49}, {18, 52}};
    DrawFigure(img, l, p, 10, -4, 0.78);
    speedLines(img, {{{2, 14, 8}}, {{0, 22, 10}}, {{3, 30, 7}}}, kLine);
    frame(img, Rgb(170, 80, 60));
    return img;
}

QImage iconBaseball()
{
    QImage img = Blank(kSize, kSize);
    // Infield dirt and grass.
    Gradient(img, img.rect(), Rgb(124, 204, 104), Rgb(100, 184, 86));
    Mask dirt(img);
    dirt.polygon({{35, 22}, {72, 59}, {35, 96}, {-2, 59}});
    Paint(img, dirt, Rgb(214, 170, 110));
    Mask grassIn(img);
    grassIn.polygon({{35, 36}, {58, 59}, {35, 82}, {12, 59}});
    Paint(img, grassIn, Rgb(120, 200, 100));
    Mask plate(img);
    plate.polygon({{31, 62}, {39, 62}, {39, 65}, {35, 68}, {31, 65}});
    Sticker(img, plate, kWhite, Rgb(150, 120, 80));
    // The bat, swung across.
    const QRgb wood = Rgb(226, 170, 100);
    Mask bat(img);
    const QPointF knob(12, 60), tip(56, 18);
    const QPointF ax = (tip - knob) / std::hypot(tip.x() - knob.x(), tip.y() - knob.y());
    for (int i = 0; i <= 20; ++i) {
        const double t = i / 20.0;
        const double r = 1.6 + 3.2 * std::pow(t, 1.6);
        const QPointF c = knob + (tip - knob) * t;
        bat.circle(c.x(), c.y(), r);
    }
    bat.circle(knob.x() - ax.x() * 1.5, knob.y() - ax.y() * 1.5, 2.6);
    Sticker(img, bat, wood);
    Rim(img, bat, -1, 1, Rgb(180, 120, 64));
    Mask grip(img);
    grip.capsule(knob + ax * 2, knob + ax * 12, 2.0);
    grip.intersect(bat);
    Paint(img, grip, Rgb(60, 56, 80));
    Paint(img, Mask(img).line(40, 31, 52, 19), Rgb(250, 220, 160));
    // The ball, flying in.
    speedLines(img, {{{50, 50, 12}}, {{54, 56, 10}}}, kLine);
    Baseball(img, 45, 46, 7);
    Twinkle(img, 15, 14, 5, Rgb(250, 210, 60));
    frame(img, Rgb(60, 130, 70));
    return img;
}

QImage iconSoccer()
{
    QImage img = Blank(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) Put(img, x, y, (x / 10) % 2 ? kGrassA : kGrassB);
    Mask lines(img);
    lines.circle(35, 35, 22).subtract(Mask(img).circle(35, 35, 20.6));
    lines.rect(34, 0, 2, 70);
    Paint(img, lines, kLine);
    Paint(img, Mask(img).circle(35, 35, 2), kLine);
    shadow(img, 37, 49, 12, 3);
    SoccerBall(img, 35, 35, 12);
    frame(img, Rgb(60, 130, 70));
    return img;
}

void medal(QImage& img, double cx, double cy, QRgb metal, QRgb ribbon)
{
    Mask strap(img);
    strap.polygon({{cx - 6, cy - 22}, {cx - 1, cy - 22}, {cx + 2, cy - 5}, {cx - 3, cy - 5}});
    strap.polygon({{cx + 1, cy - 22}, {cx + 6, cy - 22}, {cx + 3, cy - 5}, {cx - 2, cy - 5}});
    Sticker(img, strap, ribbon);
    Rim(img, strap, -1, 0, Darker(ribbon, 0.2));
    Mask disc(img);
    disc.circle(cx, cy, 8.5);
    Sticker(img, disc, metal);
    Rim(img, disc, -1, 1, Darker(metal, 0.25), 2);
    Mask inner(img);
    inner.circle(cx, cy, 5);
    inner.subtract(Mask(img).circle(cx, cy, 4));
    Paint(img, inner, Darker(metal, 0.15));
    Star(img, cx, cy, 3.6, 1.6, Lighter(metal, 0.4), Darker(metal, 0.3));
    Put(img, int(cx) - 4, int(cy) - 5, Lighter(metal, 0.7));
}

// The figure "3", as thick pen strokes around two bowls.
Mask three(const QImage& img, double x, double y, double r)
{
    Mask m(img);
    auto arc = [&](double cx, double cy, double rx, double ry, double a0, double a1) {
        QPointF prev;
        for (int i = 0; i <= 16; ++i) {
            const double a = (a0 + (a1 - a0) * i / 16.0) * kPi / 180;
            const QPointF p(cx + rx * std::cos(a), cy + ry * std::sin(a));
            if (i > 0) m.capsule(prev, p, r);
            prev = p;
        }
    };
    arc(x, y + 7, 8, 7, -160, 90);
    arc(x, y + 22.5, 9, 8.5, -90, 160);
    m.capsule({x - 2, y + 14}, {x + 1, y + 14}, r);
    return m;
}

QImage iconKongou3()
{
    QImage img = Blank(kSize, kSize);
    // A sunburst.
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double a = std::atan2(y - 30.0, x - 35.0);
            const bool ray = int(std::floor((a + kPi) / (kPi / 8))) % 2 == 0;
            Put(img, x, y, ray ? Rgb(255, 226, 140) : Rgb(255, 208, 110));
        }
    Mask big = three(img, 35, 3, 4.2);
    Mask shade = big.shifted(2, 2);
    Paint(img, shade, Rgb(220, 140, 60));
    Sticker(img, big, Rgb(236, 56, 60), Rgb(120, 24, 40));
    Mask hi = three(img, 35, 3, 1.4);
    hi.intersect(big);
    hi.keepIf([](int x, int y) { return x + y < 70; });
    Paint(img, hi, Rgb(255, 140, 140));
    medal(img, 13, 56, Rgb(214, 150, 90), Rgb(60, 120, 220));
    medal(img, 57, 56, Rgb(196, 204, 214), Rgb(60, 120, 220));
    medal(img, 35, 57, Rgb(250, 204, 60), Rgb(226, 44, 52));
    frame(img, Rgb(200, 120, 50));
    return img;
}

ResRegistrar pk("bitmaps/ICONPK.png", ResProgram::Game, [] { return PngOf(iconPK()); });
ResRegistrar kakure("bitmaps/ICONKAKURE.png", ResProgram::Game, [] { return PngOf(iconKakure()); });
ResRegistrar run("bitmaps/ICONRUN.png", ResProgram::Game, [] { return PngOf(iconRun()); });
ResRegistrar golf("bitmaps/ICONGOLF.png", ResProgram::Game, [] { return PngOf(iconGolf()); });
ResRegistrar mato("bitmaps/ICONMATO.png", ResProgram::Game, [] { return PngOf(iconMato()); });
ResRegistrar hur("bitmaps/ICONHUR.png", ResProgram::Game, [] { return PngOf(iconHur()); });
ResRegistrar baseball("bitmaps/ICONBASEBALL.png", ResProgram::Game, [] { return PngOf(iconBaseball()); });
ResRegistrar soccer("bitmaps/ICONSOCCER.png", ResProgram::Game, [] { return PngOf(iconSoccer()); });
ResRegistrar kongou3("bitmaps/ICONKONGOU3.png", ResProgram::Game, [] { return PngOf(iconKongou3()); });

} // namespace

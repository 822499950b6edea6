// The cheering figures of the menu's animation list, handed to the quick games: six supporters of
// the user's team, two frames each (picture 2k calm, 2k + 1 at the height of the cheer). The games
// alternate the two frames, so the second one jumps or swings.
#include "PlayerFigure.h"
#include "ResGen.h"

#include <array>
#include <cmath>

using namespace px;

namespace {

constexpr QRgb kTeamRed = Rgb(226, 44, 52);
constexpr QRgb kPomYellow = Rgb(252, 214, 60);

Look supporter(QRgb skinColour, QRgb hairColour, HairStyle style, QRgb shirt, QRgb shorts)
{
    Look l;
    l.skin = skinColour;
    l.hair = hairColour;
    l.hairStyle = style;
    l.shirt = shirt;
    l.trim = kWhite;
    l.shorts = shorts;
    l.socks = kWhite;
    l.boots = Rgb(236, 80, 80);
    return l;
}

void pomPom(QImage& img, QPointF c, QRgb colour)
{
    Mask m(img);
    for (int k = 0; k < 8; ++k) {
        const double a = k * 3.14159265 / 4;
        m.circle(c.x() + 3.6 * std::cos(a), c.y() + 3.6 * std::sin(a), 2.3);
    }
    m.circle(c.x(), c.y(), 3.5);
    Sticker(img, m, colour);
    Rim(img, m, -1, 1, Darker(colour, 0.25));
    Put(img, int(c.x()) + 1, int(c.y()) - 2, Lighter(colour, 0.6));
    Put(img, int(c.x()) - 2, int(c.y()), Lighter(colour, 0.6));
}

// 0: a cheerleader with pom-poms.
QImage cheerleader(int frame)
{
    QImage img = Blank(70, 70);
    Look l = supporter(skin::Fair, hair::Chestnut, HairStyle::Ponytail, kTeamRed, kTeamRed);
    l.skirt = true;
    l.headgearColor = kPomYellow;
    Pose p;
    if (frame == 0) {
        p = FrontPose();
        p.face = Expression::Happy;
        p.farArm = {{42, 34.5}, {46.5, 38}, {50, 41}, {}};
        p.nearArm = {{28, 34.5}, {23.5, 38}, {20, 41}, {}};
    } else {
        p = CheerPose();
    }
    DrawFigure(img, l, p);
    pomPom(img, p.farArm.end, kPomYellow);
    pomPom(img, p.nearArm.end, kPomYellow);
    return img;
}

// 1: a boy waving the team flag from side to side.
QImage flagWaver(int frame)
{
    QImage img = Blank(70, 70);
    Look l = supporter(skin::Light, hair::Black, HairStyle::Short, kWhite, Rgb(60, 70, 110));
    l.trim = kTeamRed;
    l.headgear = Headgear::Cap;
    l.headgearColor = kTeamRed;
    Pose p = FrontPose();
    p.face = frame == 0 ? Expression::Plain : Expression::Happy;
    const QPointF hand = frame == 0 ? QPointF(20, 25) : QPointF(23, 22);
    p.nearArm = {{28, 34.5}, {22.5, 31}, hand, {}};
    p.nearArmLayer = Layer::Hidden;
    DrawFigure(img, l, p);

    // The swing: leaning left with the cloth flying left, then upright with the cloth over the head.
    const QPointF top = frame == 0 ? QPointF(15, 3) : QPointF(24, 3.5);
    const QPointF foot = hand + (hand - top) * 0.25;
    Mask pole(img);
    pole.capsule(foot, top, 0.9);
    Sticker(img, pole, Rgb(170, 120, 70));
    const double dir = frame == 0 ? -1 : 1;
    const double len = frame == 0 ? 13 : 17, h = frame == 0 ? 11 : 9;
    std::vector<QPointF> pts;
    for (int i = 0; i <= 6; ++i) {
        const double t = i / 6.0;
        pts.emplace_back(top.x() + dir * len * t, top.y() + 1 + 1.5 * std::sin(t * 6.28 + frame * 2) + (frame == 0 ? 2.5 * t : 0));
    }
    for (int i = 6; i >= 0; --i) {
        const double t = i / 6.0;
        pts.emplace_back(top.x() + dir * len * t, top.y() + 1 + h - 1.5 * t + 1.5 * std::sin(t * 6.28 + frame * 2) + (frame == 0 ? 2.5 * t : 0));
    }
    Mask cloth(img);
    cloth.polygon(pts);
    Sticker(img, cloth, kTeamRed);
    Mask band = cloth;
    band.keepIf([&](int x, int y) {
        const double t = std::abs(x + 0.5 - top.x()) / len;
        const double mid = top.y() + 1 + h / 2 + 1.5 * std::sin(t * 6.28 + frame * 2) + (frame == 0 ? 2.5 * t : 0);
        return std::abs(y + 0.5 - mid) < 1.5;
    });
    Paint(img, band, kWhite);
    Rim(img, cloth, 0, 1, Darker(kTeamRed, 0.25));
    DrawArm(img, l, p.nearArm);
    return img;
}

// 2: a kid shouting through a megaphone, pumping a fist.
QImage megaphone(int frame)
{
    QImage img = Blank(70, 70);
    Look l = supporter(skin::Tan, hair::Brown, HairStyle::Spiky, Rgb(250, 200, 60), Rgb(60, 70, 110));
    l.trim = kTeamRed;
    Pose p = StandPose();
    p.face = Expression::Shout;
    const double lift = frame == 0 ? 0 : -3;
    p = Moved(p, 0, lift);
    p.nearArm = {{29.5, 34.5 + lift}, {36, 40 + lift}, {44, 33 + lift}, {}};
    p.nearArmLayer = Layer::Hidden;
    if (frame == 1) {
        p.farLeg = {{39.5, 45}, {41, 52}, {41.5, 57.5}, {45.5, 59}};
        p.nearLeg = {{32.5, 45}, {31, 52}, {30.5, 57.5}, {34.5, 59}};
    }
    DrawFigure(img, l, p);
    // The megaphone from the mouth outwards; tipped up at the top of the jump.
    const double a = frame == 0 ? 0.0 : -0.2;
    const QPointF m(44, 29.5 + lift), ax(std::cos(a), std::sin(a)), nx(-ax.y(), ax.x());
    const QPointF bellAt = m + ax * 18;
    Mask cone(img);
    cone.polygon({m - nx * 2.2, bellAt - nx * 8, bellAt + nx * 8, m + nx * 2.2});
    Sticker(img, cone, kTeamRed);
    Rim(img, cone, 0, 1, Darker(kTeamRed, 0.25), 2);
    Mask bell(img);
    bell.polygon({bellAt - nx * 8 - ax * 1.2, bellAt - nx * 8 + ax * 2, bellAt + nx * 8 + ax * 2, bellAt + nx * 8 - ax * 1.2});
    Sticker(img, bell, kWhite);
    DrawArm(img, l, p.nearArm);
    const QRgb c = Rgb(250, 160, 40);
    if (frame == 0) {
        Paint(img, Mask(img).line(65, 19, 66, 17).line(66, 28, 68, 28).line(65, 37, 66, 39), c);
    } else {
        Paint(img, Mask(img).line(60, 6, 61, 3).line(64, 12, 67, 10).line(66, 19, 68, 19), c);
        Twinkle(img, 10, 14, 4, Rgb(250, 200, 40));
    }
    return img;
}

// 3: clapping, then a banzai jump.
QImage banzai(int frame)
{
    QImage img = Blank(70, 70);
    Look l = supporter(skin::Dark, hair::Black, HairStyle::Short, kTeamRed, kWhite);
    l.number = QStringLiteral("12");
    l.headgear = Headgear::Headband;
    l.headgearColor = kWhite;
    Pose p;
    if (frame == 0) {
        p = FrontPose();
        p.face = Expression::Happy;
        p.farArm = {{42, 34.5}, {45, 40}, {37, 38}, {}};
        p.nearArm = {{28, 34.5}, {25, 40}, {33, 38}, {}};
        p.farArmLayer = Layer::Front;
        p.nearArmLayer = Layer::Front;
        DrawFigure(img, l, p);
        // Clap lines.
        const QRgb c = Rgb(250, 170, 40);
        for (auto [x0, y0, x1, y1] : {std::array<int, 4>{24, 30, 22, 28}, {46, 30, 48, 28}, {35, 30, 35, 28}})
            Paint(img, Mask(img).line(x0, y0, x1, y1), c);
    } else {
        p = CheerPose();
        p.face = Expression::Shout;
        DrawFigure(img, l, p);
    }
    return img;
}

// 4: the team mascot, a round chick in a red cap.
QImage mascot(int frame)
{
    QImage img = Blank(70, 70);
    const QRgb yellow = Rgb(252, 212, 64), orange = Rgb(244, 128, 40);
    const double lift = frame == 0 ? 0 : -5;
    // Feet.
    for (double fx : {28.0, 41.0}) {
        Mask foot(img);
        foot.ellipse(fx, 63.5 + (frame == 0 ? 0 : -2), 4.5, 2.2);
        Sticker(img, foot, orange);
    }
    // Wings behind the body when down, raised beside it when cheering.
    auto wing = [&](int side) {
        Mask w(img);
        if (frame == 0)
            w.ellipse(35 + side * 19, 44 + lift, 4.5, 7.5);
        else
            w.capsule({35 + side * 17.0, 36 + lift}, {35 + side * 24.0, 22 + lift}, 4.2);
        Sticker(img, w, yellow);
        Rim(img, w, 0, 1, Darker(yellow, 0.2));
    };
    if (frame == 0) {
        wing(-1);
        wing(1);
    }
    Mask body(img);
    body.ellipse(35, 41 + lift, 20, 20.5);
    Sticker(img, body, yellow);
    Rim(img, body, -1, 1, Darker(yellow, 0.18), 2);
    Mask belly(img);
    belly.ellipse(36, 49 + lift, 11, 9);
    belly.intersect(body);
    Paint(img, belly, Rgb(255, 240, 170));
    if (frame == 1) {
        wing(-1);
        wing(1);
    }
    // Cap with the team's colour.
    Mask cap(img);
    cap.ellipse(35, 27 + lift, 13, 9);
    cap.keepIf([&](int, int y) { return y < 27 + lift; });
    Sticker(img, cap, kTeamRed);
    Mask brim(img);
    brim.capsule({38, 26.5 + lift}, {50, 27 + lift}, 1.6);
    Sticker(img, brim, Darker(kTeamRed, 0.2));
    // Face.
    const int ey = int(33 + lift);
    for (int ex : {28, 40}) {
        if (frame == 0) {
            FillRect(img, ex, ey, 3, 4, Rgb(44, 30, 58));
            Put(img, ex, ey, kWhite);
        } else {
            Put(img, ex, ey + 2, Rgb(44, 30, 58));
            Put(img, ex + 1, ey + 1, Rgb(44, 30, 58));
            Put(img, ex + 2, ey + 1, Rgb(44, 30, 58));
            Put(img, ex + 3, ey + 2, Rgb(44, 30, 58));
        }
    }
    Mask beak(img);
    if (frame == 0)
        beak.polygon({{31.5, 39.5 + lift}, {39.5, 39.5 + lift}, {35.5, 44 + lift}});
    else
        beak.polygon({{31, 38.5 + lift}, {40, 38.5 + lift}, {35.5, 41 + lift}}).polygon({{32, 42 + lift}, {39, 42 + lift}, {35.5, 46 + lift}});
    Sticker(img, beak, orange);
    const QRgb blush = Rgb(250, 150, 120);
    FillRect(img, 24, ey + 6, 2, 1, blush);
    FillRect(img, 45, ey + 6, 2, 1, blush);
    if (frame == 1) {
        Twinkle(img, 8, 12, 4, Rgb(250, 170, 40));
        Twinkle(img, 62, 8, 3, Rgb(250, 170, 40));
    }
    return img;
}

// 5: a drummer at a taiko drum: sticks up, then the beat.
QImage drummer(int frame)
{
    QImage img = Blank(70, 70);
    Look l = supporter(skin::Light, hair::Black, HairStyle::Buzz, kWhite, Rgb(60, 70, 110));
    l.headgear = Headgear::Headband;
    l.headgearColor = kTeamRed;
    l.trim = kTeamRed;
    Pose p = FrontPose();
    p.face = frame == 0 ? Expression::Determined : Expression::Shout;
    p = Moved(p, 0, -4);
    if (frame == 0) {
        p.farArm = {{42, 30.5}, {49, 25}, {53, 17}, {}};
        p.nearArm = {{28, 30.5}, {21, 25}, {17, 17}, {}};
    } else {
        p.farArm = {{42, 30.5}, {46, 36}, {41, 41}, {}};
        p.nearArm = {{28, 30.5}, {24, 36}, {29, 41}, {}};
    }
    p.farArmLayer = Layer::Hidden;
    p.nearArmLayer = Layer::Hidden;
    DrawFigure(img, l, p);

    // The drum: a barrel with a skin on top, tied with a rope.
    const QRgb wood = Rgb(196, 92, 52), skinTop = Rgb(250, 236, 200);
    Mask barrel(img);
    barrel.ellipse(35, 54, 17, 13);
    barrel.keepIf([](int, int y) { return y >= 44; });
    barrel.rect(19, 44, 32, 4);
    Sticker(img, barrel, wood);
    Rim(img, barrel, -1, 0, Darker(wood, 0.25), 2);
    Rim(img, barrel, 1, 0, Lighter(wood, 0.2));
    for (int x = 21; x <= 49; x += 4) Put(img, x, 52, Rgb(250, 214, 64));
    for (int x = 23; x <= 47; x += 4) Put(img, x, 51, Rgb(250, 214, 64));
    Mask top(img);
    top.ellipse(35, 44, 16, 4.5);
    Sticker(img, top, skinTop);
    Rim(img, top, 0, 1, Darker(skinTop, 0.15));
    Mask mon(img);
    mon.circle(35, 44, 3);
    Paint(img, mon, kTeamRed);

    // Sticks, then the arms over them.
    const QRgb stick = Rgb(170, 120, 70);
    for (const Limb& arm : {p.farArm, p.nearArm}) {
        const QPointF dir = frame == 0 ? QPointF(arm.end.x() < 35 ? 3 : -3, -9) : QPointF(arm.end.x() < 35 ? 4 : -4, 3);
        Mask s(img);
        s.capsule(arm.end - dir * 0.2, arm.end + dir, 1.0);
        Sticker(img, s, stick);
        DrawArm(img, l, arm);
    }
    if (frame == 1) {
        const QRgb c = Rgb(250, 170, 40);
        for (auto [x0, y0, x1, y1] : {std::array<int, 4>{17, 38, 13, 35}, {53, 38, 57, 35}, {16, 43, 11, 43}, {54, 43, 59, 43}})
            Paint(img, Mask(img).line(x0, y0, x1, y1), c);
    }
    return img;
}

QImage (*const kFigures[6])(int) = {cheerleader, flagWaver, megaphone, banzai, mascot, drummer};

struct Registrations {
    Registrations()
    {
        for (int k = 0; k < 12; ++k) {
            const QByteArray name = QStringLiteral("bitmaps/ANIME%1.png").arg(k, 2, 10, QLatin1Char('0')).toUtf8();
            ResRegistrar(name.constData(), ResProgram::Game, [k] { return PngOf(kFigures[k / 2](k % 2)); });
        }
    }
} registrations;

} // namespace

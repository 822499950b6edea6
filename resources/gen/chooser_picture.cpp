// The picture of the "画像作成" chooser: a little painter at an easel, brush raised, palette in hand,
// with a player already sketched on the sheet.
#include "PlayerFigure.h"
#include "ResGen.h"

using namespace px;

namespace {

constexpr int kSize = 80;

QImage jusin()
{
    QImage img = Blank(kSize, kSize, Rgb(255, 246, 222));
    Gradient(img, QRect(0, 0, kSize, 62), Rgb(255, 250, 234), Rgb(255, 238, 206));
    Paint(img, Mask(img).rect(0, 62, kSize, 18), Rgb(226, 196, 150));
    for (int x = 0; x < kSize; x += 9) Paint(img, Mask(img).line(x, 62, x - 4, 79), Rgb(210, 178, 132));
    Paint(img, Mask(img).rect(0, 62, kSize, 1), Rgb(190, 150, 110));

    // The easel and its sheet, with a sketched player.
    const QRgb wood = Rgb(176, 116, 66);
    Mask legs(img);
    legs.capsule({52, 8}, {46, 72}, 1.3).capsule({68, 8}, {74, 72}, 1.3).capsule({60, 6}, {61, 70}, 1.1);
    Sticker(img, legs, wood);
    Mask sheet(img);
    sheet.rect(45, 10, 30, 38);
    Sticker(img, sheet, kWhite, Rgb(120, 110, 100));
    Look sketch;
    sketch.hair = hair::Black;
    sketch.hairStyle = HairStyle::Spiky;
    DrawFigure(img, sketch, StandPose(), 47, 12, 0.46);
    Mask ledge(img);
    ledge.rect(43, 48, 34, 3);
    Sticker(img, ledge, wood);

    // The painter.
    Look l;
    l.skin = skin::Fair;
    l.hair = hair::Chestnut;
    l.hairStyle = HairStyle::Short;
    l.shirt = Rgb(90, 150, 230);
    l.trim = kWhite;
    l.shorts = Rgb(60, 70, 110);
    l.socks = kWhite;
    l.boots = Rgb(200, 80, 60);
    Pose p = StandPose();
    p.face = Expression::Happy;
    p.farArm = {{42.5, 34.5}, {48, 31}, {52, 25}, {}};
    p.farArmLayer = Layer::Hidden;
    p.nearArm = {{29.5, 34.5}, {26, 40}, {24, 45}, {}};
    p.nearArmLayer = Layer::Hidden;
    const double ox = -8, oy = 10, s = 0.98;
    auto at = [&](QPointF d) { return QPointF(ox + d.x() * s, oy + d.y() * s); };
    DrawFigure(img, l, p, ox, oy, s);
    // A beret.
    Mask beret(img);
    const QPointF crown = at({34, 9}), stalk = at({33, 3});
    beret.ellipse(crown.x(), crown.y(), 11, 4.5);
    beret.rect(stalk.x(), stalk.y(), 1.5, 3);
    Sticker(img, beret, Rgb(200, 50, 70));
    Rim(img, beret, 0, 1, Rgb(150, 30, 50));
    // The brush in the raised hand, its tip wet with red.
    Mask brush(img);
    brush.capsule(at({50, 28}), at({58.5, 17}), 1.0);
    Sticker(img, brush, Rgb(230, 190, 90));
    Mask tip(img);
    tip.capsule(at({57.5, 18.5}), at({60, 15}), 1.4);
    Sticker(img, tip, Rgb(226, 44, 52));
    DrawArm(img, l, p.farArm, ox, oy, s);
    // The palette in the other hand, with its paints.
    Mask palette(img);
    const QPointF pc = at({22, 47});
    palette.ellipse(pc.x(), pc.y(), 9.5, 6.5);
    palette.subtract(Mask(img).circle(pc.x() + 4.5, pc.y() + 2, 1.6));
    Sticker(img, palette, Rgb(236, 200, 140), Rgb(120, 80, 50));
    Rim(img, palette, 0, 1, Rgb(200, 160, 100));
    const QRgb paints[] = {Rgb(226, 44, 52), Rgb(250, 210, 50), Rgb(60, 120, 230), Rgb(70, 180, 90)};
    const QPointF dots[] = {{-5, -2}, {-1, -3.5}, {3, -3}, {-4, 2}};
    for (int i = 0; i < 4; ++i) {
        Mask d(img);
        d.circle(pc.x() + dots[i].x(), pc.y() + dots[i].y(), 1.6);
        Paint(img, d, paints[i]);
    }
    DrawArm(img, l, p.nearArm, ox, oy, s);
    return img;
}

ResRegistrar jusinReg("bitmaps/JUSIN.png", ResProgram::Game, [] { return PngOf(jusin()); });

} // namespace

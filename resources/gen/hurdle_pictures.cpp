// Pictures of the hurdle race: the straight two-lane track seen from the side (640 x 386), the start
// and the finish areas that scroll in over it, the hurdle of each lane standing and knocked down, and
// the flowers that pass by with each hurdle. The back lane lies 40 px further left than the front one
// at every mark, so lines across the track slant.
#include "ResGen.h"
#include "TrackArt.h"

#include <QFont>
#include <QPainter>

using namespace px;

namespace {

constexpr int kW = 640, kH = 386;
constexpr int kTrackTop = 146, kLaneLine = 232, kTrackBottom = 302;
constexpr int kStripTop = 334, kStripBottom = 372;

void boards(QImage& img, int top, int bottom)
{
    track::Grass(img, QRect(0, top, kW, bottom - top));
    const QRgb colours[] = {Rgb(214, 44, 52), Rgb(40, 96, 210), Rgb(250, 196, 40), Rgb(40, 150, 86), Rgb(240, 120, 40)};
    for (int i = 0, x = 0; x < kW; ++i, x += 80) {
        const QRgb c = colours[i % 5];
        FillRect(img, x, top + 4, 80, bottom - top - 8, c);
        FillRect(img, x, top + 4, 80, 2, Lighter(c, 0.4));
        FillRect(img, x + 79, top + 4, 1, bottom - top - 8, Rgb(40, 40, 50));
        FillRect(img, x + 12, top + 13, 44, 4, Rgb(250, 250, 240));
        FillRect(img, x + 62, top + 11, 8, 8, Rgb(250, 250, 240));
    }
}

QImage hurdleTrack()
{
    QImage img = Blank(kW, kH);
    track::Stands(img, 0, 112, 3);
    boards(img, 112, kTrackTop);
    Mask surface(img);
    surface.rect(0, kTrackTop, kW, kTrackBottom - kTrackTop);
    track::Surface(img, surface);
    for (int y : {kTrackTop, kTrackTop + 1, kLaneLine, kLaneLine + 1, kTrackBottom - 2, kTrackBottom - 1}) FillRect(img, 0, y, kW, 1, track::kLine);
    track::Grass(img, QRect(0, kTrackBottom, kW, kH - kTrackBottom));
    // The strip under the track where each hurdle's result is shown.
    Mask strip(img);
    strip.rect(0, kStripTop, kW, kStripBottom - kStripTop);
    Paint(img, strip, Rgb(236, 224, 186));
    FillRect(img, 0, kStripTop, kW, 2, Rgb(200, 182, 140));
    FillRect(img, 0, kStripBottom - 2, kW, 2, Rgb(250, 240, 210));
    return img;
}

// A hurdle seen from the side, its bar striped red and white; w x h with a transparent ground.
QImage hurdle(int w, int h)
{
    QImage img = Blank(w, h);
    const int legW = 3, foot = w / 4;
    Mask legs(img);
    legs.rect(5, 4, legW, h - 7).rect(w - 5 - legW, 4, legW, h - 7);
    legs.rect(2, h - 5, foot, 3).rect(w - 2 - foot, h - 5, foot, 3);
    Sticker(img, legs, Rgb(70, 72, 84));
    Mask bar(img);
    bar.rect(1, 1, w - 2, h > 22 ? 5 : 4);
    Sticker(img, bar, kWhite);
    Mask stripes = bar;
    stripes.keepIf([](int x, int) { return (x / 6) % 2 == 0; });
    Paint(img, stripes, Rgb(226, 44, 52));
    return img;
}

// The same hurdle knocked flat: its bar on the ground, the legs thrown forward, a puff of dust.
QImage knockedHurdle(int w, int h)
{
    QImage img = Blank(w, h);
    const double ground = h - 3.5;
    Mask legs(img);
    legs.capsule({5, ground}, {13, ground - 6}, 1.4).capsule({w - 12.0, ground}, {w - 4.0, ground - 6}, 1.4);
    Sticker(img, legs, Rgb(70, 72, 84));
    Mask bar(img);
    bar.polygon({{6, ground - 9}, {w - 2.0, ground - 6}, {w - 2.0, ground - 2}, {6, ground - 5}});
    Sticker(img, bar, kWhite);
    Mask stripes = bar;
    stripes.keepIf([](int x, int) { return (x / 6) % 2 == 0; });
    Paint(img, stripes, Rgb(226, 44, 52));
    Mask dust(img);
    dust.circle(4, ground - 9, 2.5).circle(8, ground - 13, 2);
    Sticker(img, dust, Rgb(220, 200, 170), Rgb(170, 150, 120));
    return img;
}

// A pot of red and pink flowers for the front edge of the track.
QImage flowerPot()
{
    QImage img = Blank(28, 26);
    Mask leaves(img);
    leaves.ellipse(14, 12, 11, 6);
    Sticker(img, leaves, Rgb(70, 160, 70), Rgb(30, 90, 40));
    const QRgb petals[] = {Rgb(236, 60, 70), Rgb(250, 140, 190), Rgb(236, 60, 70), Rgb(250, 200, 70)};
    const int xs[] = {6, 12, 17, 22};
    for (int i = 0; i < 4; ++i) track::Flower(img, xs[i], 5 + (i % 2) * 3, petals[i]);
    Mask pot(img);
    pot.polygon({{5, 15}, {23, 15}, {20, 25}, {8, 25}});
    Sticker(img, pot, Rgb(200, 110, 60), Rgb(110, 56, 30));
    FillRect(img, 5, 15, 18, 2, Rgb(224, 140, 80));
    return img;
}

// A low bush with yellow flowers for the grass behind the track.
QImage flowerBush()
{
    QImage img = Blank(32, 22);
    Mask bush(img);
    bush.circle(9, 13, 7).circle(17, 10, 8).circle(24, 13, 6.5).rect(3, 14, 27, 6);
    Sticker(img, bush, Rgb(60, 150, 70), Rgb(28, 84, 40));
    Mask light(img);
    light.circle(9, 11, 3.5).circle(17, 7, 4).circle(24, 11, 3);
    light.intersect(bush);
    Paint(img, light, Rgb(96, 186, 92));
    for (auto [x, y] : {std::pair{8, 9}, {15, 6}, {21, 9}, {26, 14}, {12, 15}, {19, 14}}) {
        Paint(img, Mask(img).rect(x - 1, y, 3, 1).rect(x, y - 1, 1, 3), Rgb(250, 214, 60));
        Put(img, x, y, Rgb(236, 140, 40));
    }
    return img;
}

void sign(QImage& img, const QRect& board, QRgb face, const QString& text)
{
    Mask m(img);
    m.rect(board.x(), board.y(), board.width(), board.height());
    Sticker(img, m, face);
    Rim(img, m, 0, 1, Darker(face, 0.3), 2);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(board.height() - 6);
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    p.setFont(f);
    p.setPen(QColor(255, 250, 230));
    p.drawText(board, Qt::AlignCenter, text);
}

// The start area, placed at the top of the track: the slanted start line and the start sign.
QImage startArea()
{
    QImage img = Blank(150, kH - kTrackTop);
    const double bottom = kTrackBottom - kTrackTop;
    Mask line(img);
    line.polygon({{68, 2}, {72, 2}, {149, bottom - 2}, {145, bottom - 2}});
    Paint(img, line, track::kLine);
    Paint(img, Mask(img).rect(40, 180, 4, 44), Rgb(110, 112, 126));
    sign(img, QRect(6, 160, 72, 22), Rgb(40, 96, 210), QStringLiteral("START"));
    return img;
}

// The finish area, placed 100 px down: the checkered line, a flag behind and the goal sign in front.
QImage finishArea()
{
    const int top = 100;
    QImage img = Blank(140, kH - top);
    Mask line(img);
    line.polygon({{-2, kTrackTop + 2.0 - top}, {5, kTrackTop + 2.0 - top}, {83, kTrackBottom - 2.0 - top}, {76, kTrackBottom - 2.0 - top}});
    track::Checkered(img, line, 3);
    Mask pole(img);
    pole.rect(4, 2, 3, kTrackTop - top);
    Sticker(img, pole, Rgb(200, 200, 210));
    Mask flag(img);
    flag.rect(7, 3, 20, 13);
    Outline(img, flag);
    track::Checkered(img, flag, 4);
    Paint(img, Mask(img).rect(93, 230, 4, 34), Rgb(110, 112, 126));
    sign(img, QRect(56, 208, 78, 24), Rgb(214, 44, 52), QStringLiteral("GOAL"));
    return img;
}

const ResRegistrar kPictures[] = {
    {"bitmaps/HUR_HAIKEI.png", ResProgram::Game, [] { return PngOf(hurdleTrack()); }},
    {"bitmaps/HUR_START.png", ResProgram::Game, [] { return PngOf(startArea()); }},
    {"bitmaps/HUR_GOAL.png", ResProgram::Game, [] { return PngOf(finishArea()); }},
    {"bitmaps/HUR_HURDLE1.png", ResProgram::Game, [] { return PngOf(hurdle(46, 24)); }},
    {"bitmaps/HUR_HURDLED1.png", ResProgram::Game, [] { return PngOf(knockedHurdle(46, 24)); }},
    {"bitmaps/HUR_HURDLE2.png", ResProgram::Game, [] { return PngOf(hurdle(40, 21)); }},
    {"bitmaps/HUR_HURDLED2.png", ResProgram::Game, [] { return PngOf(knockedHurdle(40, 21)); }},
    {"bitmaps/HUR_FLOWER1.png", ResProgram::Game, [] { return PngOf(flowerPot()); }},
    {"bitmaps/HUR_FLOWER2.png", ResProgram::Game, [] { return PngOf(flowerBush()); }},
};

} // namespace

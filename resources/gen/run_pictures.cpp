// Pictures of the running race: the oval track in its stadium (700 x 456), the two number plates
// that mark the choice boxes, and the photos of a close finish (shared with the hurdle race).
#include "ResGen.h"
#include "TrackArt.h"

using namespace px;

namespace {

constexpr int kW = 700, kH = 456;

// A running-track outline: a rectangle between two half circles of radius r, centres (cx1, cy) and
// (cx2, cy).
Mask stadium(double cx1, double cx2, double cy, double r)
{
    Mask m(kW, kH);
    m.rect(cx1, cy - r, cx2 - cx1, 2 * r).circle(cx1, cy, r).circle(cx2, cy, r);
    return m;
}

// The one-pixel rim just inside a shape.
Mask rimOf(const Mask& m)
{
    Mask r = m.edge(1, 0);
    r.unite(m.edge(-1, 0)).unite(m.edge(0, 1)).unite(m.edge(0, -1));
    return r;
}

// The board behind the two status lines.
void statusBoard(QImage& img)
{
    const QRect board(98, 98, 510, 62);
    FillRect(img, board.x() + 3, board.y() + 3, board.width(), board.height(), Rgb(70, 140, 66));
    Mask m(img);
    m.rect(board.x(), board.y(), board.width(), board.height());
    Sticker(img, m, Rgb(252, 246, 226), Rgb(120, 80, 50));
    Rim(img, m, 0, 1, Rgb(226, 214, 184), 2);
    FillRect(img, board.x() + 8, board.y() + 31, board.width() - 16, 1, Rgb(226, 214, 184));
}

QImage runTrack()
{
    QImage img = Blank(kW, kH);
    track::Stands(img, 0, 94, 7);
    track::Grass(img, QRect(0, 94, kW, kH - 94));
    statusBoard(img);

    // The oval: two lanes between the outer and the inner edge, a lane line between them.
    const Mask outer = stadium(137, 563, 299, 129);
    const Mask inner = stadium(141, 559, 299, 29);
    Mask surface = outer;
    surface.subtract(inner);
    track::Surface(img, surface);
    Paint(img, rimOf(surface), track::kLine);
    Mask laneLine = rimOf(stadium(139, 561, 299, 79));
    laneLine.unite(laneLine.shifted(0, 1));
    Paint(img, laneLine, track::kLine);

    // The infield: a flower bed in the middle of the grass.
    Mask bed(img);
    bed.rect(196, 288, 308, 22);
    Sticker(img, bed, Rgb(150, 100, 60), Rgb(96, 62, 40));
    const QRgb petals[] = {Rgb(240, 80, 90), Rgb(250, 200, 70), Rgb(250, 130, 190), Rgb(150, 120, 240)};
    for (int i = 0, x = 204; x < 498; x += 12, ++i) track::Flower(img, x, 294 + (i % 2) * 6, petals[i % 4]);

    // The start and finish line across the home straight, where the runners set off and end.
    Mask finish(img);
    finish.rect(507, 326, 8, 104);
    finish.intersect(surface);
    track::Checkered(img, finish, 4);
    return img;
}

// 5 x 7 digits, rows top first, the leftmost pixel the high bit.
const unsigned char kBigDigits[3][7] = {
    {0, 0, 0, 0, 0, 0, 0},
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},
};

// A number plate: a bevelled tile with its digit drawn twice as large, with a drop shadow.
QImage plate(int digit, QRgb face)
{
    QImage img = Blank(26, 26, Rgb(206, 98, 66));
    Mask tile(img);
    tile.rect(1, 1, 24, 24);
    tile.subtract(Mask(img).rect(1, 1, 1, 1).rect(24, 1, 1, 1).rect(1, 24, 1, 1).rect(24, 24, 1, 1));
    Sticker(img, tile, face, Rgb(60, 40, 40));
    Rim(img, tile, 0, -1, Lighter(face, 0.5), 2);
    Rim(img, tile, 0, 1, Darker(face, 0.25), 2);
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col) {
            if (!(kBigDigits[digit][row] & (0x10 >> col))) continue;
            const int x = 8 + 2 * col, y = 6 + 2 * row;
            FillRect(img, x + 1, y + 1, 2, 2, Darker(face, 0.45));
            FillRect(img, x, y, 2, 2, Rgb(40, 34, 50));
        }
    return img;
}

const ResRegistrar kPictures[] = {
    {"bitmaps/RUN_HAIKEI.png", ResProgram::Game, [] { return PngOf(runTrack()); }},
    {"bitmaps/RUN_NUMBER1.png", ResProgram::Game, [] { return PngOf(plate(1, Rgb(252, 206, 64))); }},
    {"bitmaps/RUN_NUMBER2.png", ResProgram::Game, [] { return PngOf(plate(2, Rgb(120, 204, 250))); }},
    {"bitmaps/ASIMOTOABMP.png", ResProgram::Game, [] { return PngOf(track::FinishPhoto(0)); }},
    {"bitmaps/ASIMOTOBBMP.png", ResProgram::Game, [] { return PngOf(track::FinishPhoto(1)); }},
};

} // namespace

#include "TrackArt.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

using namespace px;

namespace track {

namespace {

// A small fixed hash, so that every build draws the same crowd and grain.
unsigned hash(unsigned a, unsigned b, unsigned seed)
{
    unsigned h = a * 374761393u + b * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

const QRgb kCrowd[] = {Rgb(232, 82, 72),  Rgb(250, 212, 84), Rgb(250, 250, 240), Rgb(120, 200, 240),
                       Rgb(250, 150, 60), Rgb(180, 120, 210), Rgb(110, 200, 120), Rgb(240, 140, 180)};
const QRgb kSkin[] = {Rgb(255, 220, 186), Rgb(240, 196, 150), Rgb(200, 144, 100), Rgb(150, 100, 66)};

} // namespace

void Stands(QImage& img, int top, int bottom, unsigned seed)
{
    const int w = img.width();
    Gradient(img, QRect(0, top, w, 12), Rgb(150, 206, 250), Rgb(206, 234, 252));
    FillRect(img, 0, top + 12, w, 3, Rgb(84, 86, 100));
    const int railTop = bottom - 7;
    for (int y = top + 15, row = 0; y < railTop; y += 11, ++row) {
        const int h = std::min(11, railTop - y);
        FillRect(img, 0, y, w, h, row % 2 ? Rgb(66, 80, 130) : Rgb(56, 68, 112));
        FillRect(img, 0, y + h - 1, w, 1, Rgb(44, 52, 88));
        if (h < 8) continue;
        for (int x = 2; x < w - 4; x += 7) {
            const unsigned r = hash(unsigned(x), unsigned(row), seed);
            if (r % 4 == 0) continue;
            const int px0 = x + int(r >> 8) % 3;
            const QRgb shirt = kCrowd[(r >> 12) % 8];
            FillRect(img, px0 - 1, y + 6, 5, 4, shirt);
            FillRect(img, px0, y + 2, 3, 4, kSkin[(r >> 16) % 4]);
            FillRect(img, px0, y + 2, 3, 1, (r >> 20) % 3 ? Rgb(60, 44, 40) : Rgb(230, 190, 90));
            if ((r >> 24) % 9 == 0) FillRect(img, px0 + 3, y, 1, 4, shirt); // a waving arm
        }
    }
    // The railing in front of the first row.
    FillRect(img, 0, railTop, w, bottom - railTop, Rgb(200, 204, 214));
    FillRect(img, 0, railTop, w, 2, Rgb(240, 242, 246));
    FillRect(img, 0, bottom - 1, w, 1, Rgb(120, 124, 140));
    for (int x = 6; x < w; x += 24) FillRect(img, x, railTop + 2, 2, bottom - railTop - 3, Rgb(150, 154, 170));
}

void Grass(QImage& img, const QRect& r, int band)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) Put(img, x, y, ((x + (y - r.top()) / 2) / band) % 2 ? kGrassA : kGrassB);
}

void Surface(QImage& img, const Mask& m)
{
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x) {
            if (!m.at(x, y)) continue;
            const unsigned r = hash(unsigned(x), unsigned(y), 99) % 23;
            Put(img, x, y, r == 0 ? kSurfaceDark : r == 1 ? Rgb(216, 112, 78) : kSurface);
        }
}

void Checkered(QImage& img, const Mask& m, int cell)
{
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            if (m.at(x, y)) Put(img, x, y, ((x / cell) + (y / cell)) % 2 ? Rgb(40, 40, 48) : kLine);
}

void Flower(QImage& img, int cx, int cy, QRgb petal)
{
    Paint(img, Mask(img).rect(cx, cy + 2, 1, 6), Rgb(50, 130, 60));
    Put(img, cx + 1, cy + 5, Rgb(70, 160, 70));
    Put(img, cx - 1, cy + 6, Rgb(70, 160, 70));
    Mask petals(img);
    petals.circle(cx - 1.5, cy + 0.5, 1.6).circle(cx + 2.5, cy + 0.5, 1.6).circle(cx + 0.5, cy - 1.5, 1.6).circle(cx + 0.5, cy + 2.5, 1.6);
    Sticker(img, petals, petal, Darker(petal, 0.45));
    Put(img, cx, cy, Rgb(250, 220, 70));
    Put(img, cx + 1, cy + 1, Rgb(240, 180, 50));
}

namespace {

struct TLegLook {
    QRgb sock, boot, sole;
};
const TLegLook kLegs[2] = {{Rgb(226, 44, 52), Rgb(44, 40, 56), Rgb(20, 18, 26)}, {Rgb(40, 96, 220), Rgb(236, 236, 236), Rgb(150, 150, 160)}};

// A lower leg reaching down into the picture from its top, the boot's toe at (toeX, soleY).
void leg(QImage& img, const TLegLook& look, double toeX, double soleY, double scale)
{
    const double s = scale;
    Mask sock(img);
    sock.capsule({toeX - 20 * s, -4}, {toeX - 17 * s, soleY - 9 * s}, 5.5 * s);
    Sticker(img, sock, look.sock);
    Rim(img, sock, 1, 0, Darker(look.sock, 0.25), 2);
    Mask stripe(img);
    stripe.rect(0, soleY - 26 * s, img.width(), 3 * s);
    stripe.intersect(sock);
    Paint(img, stripe, kWhite);
    Mask boot(img);
    boot.ellipse(toeX - 10 * s, soleY - 5 * s, 11 * s, 6 * s).circle(toeX - 18 * s, soleY - 8 * s, 6 * s);
    boot.keepIf([&](int, int y) { return y < soleY; });
    Sticker(img, boot, look.boot);
    Paint(img, boot.edge(0, 1), look.sole);
    Put(img, int(toeX - 8 * s), int(soleY - 8 * s), Lighter(look.boot, 0.5));
}

} // namespace

QImage FinishPhoto(int winner)
{
    const int w = 120, h = 80;
    QImage img = Blank(w, h, Rgb(250, 250, 246));
    // The film: the running surface seen close up, with the finish line across it.
    const QRect film(4, 4, w - 8, h - 20);
    Mask ground(img);
    ground.rect(film.x(), film.y(), film.width(), film.height());
    Surface(img, ground);
    FillRect(img, film.x(), film.y() + 10, film.width(), 2, kLine);
    Mask line(img);
    line.polygon({{84, double(film.top())}, {90, double(film.top())}, {92, double(film.bottom() + 1)}, {86, double(film.bottom() + 1)}});
    line.intersect(ground);
    Paint(img, line, kLine);
    Paint(img, line.edge(-1, 0).unite(line.edge(1, 0)), Rgb(60, 56, 70));
    // The loser's foot, a little behind and further off; the winner's in front, its toe over the line.
    const int loser = 1 - winner;
    Mask shade(img);
    shade.ellipse(66, 47, 13, 2.5).ellipse(86, 60, 16, 3);
    shade.intersect(ground);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (shade.at(x, y)) Put(img, x, y, Darker(img.pixel(x, y), 0.3));
    leg(img, kLegs[loser], 74, 46, 0.8);
    leg(img, kLegs[winner], 97, 60, 1.0);
    // The print's edge and its caption.
    Outline(img, Mask(img).rect(film.x(), film.y(), film.width(), film.height()), Rgb(60, 56, 70));
    Outline(img, Mask(img).rect(1, 1, w - 2, h - 2), Rgb(150, 150, 160));
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(12);
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    p.setFont(f);
    p.setPen(QColor(40, 36, 50));
    p.drawText(QRect(0, h - 16, w, 15), Qt::AlignCenter, winner == 0 ? QStringLiteral("自分の勝ち") : QStringLiteral("相手の勝ち"));
    return img;
}

} // namespace track

#pragma once
// Pixel-art helpers for the generated pictures. Shapes are rasterised into masks (pixel centres,
// no antialiasing) and painted as "stickers": a one-pixel dark outline around the shape, then its
// fill, so parts painted back to front keep their own outlines where they overlap.
//
// Pure white is the transparent colour of sheets and image lists, so nothing here ever paints it:
// every colour passes through Opaque(), which turns pure white into the visible near-white.
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <vector>

namespace px {

constexpr QRgb kClear = 0xFFFFFFFFu;                 // pure white: transparent
constexpr QRgb kWhite = 0xFFFFFEFFu;                 // visible white, RGB(255,254,255)
constexpr QRgb kInk = 0xFF2A2030u;                   // outline colour: a warm near-black

constexpr QRgb Rgb(int r, int g, int b) { return 0xFF000000u | (QRgb(r & 0xFF) << 16) | (QRgb(g & 0xFF) << 8) | QRgb(b & 0xFF); }
// Never pure white.
QRgb Opaque(QRgb c);
// a + (b - a) * t per channel.
QRgb Mix(QRgb a, QRgb b, double t);
QRgb Darker(QRgb c, double t = 0.25);
QRgb Lighter(QRgb c, double t = 0.35);

// A w x h RGB32 picture filled with one colour (pure white by default: all transparent).
QImage Blank(int w, int h, QRgb fill = kClear);

// A set of pixels on a grid of the picture's size. A pixel (x, y) belongs to a shape when its
// centre (x + 0.5, y + 0.5) lies inside it.
class Mask {
public:
    Mask(int w, int h);
    explicit Mask(const QImage& sizeOf) : Mask(sizeOf.width(), sizeOf.height()) {}
    int width() const { return m_w; }
    int height() const { return m_h; }
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < m_w && y < m_h && m_bits[size_t(y * m_w + x)]; }
    void set(int x, int y, bool on = true);
    bool empty() const;
    int count() const;

    Mask& ellipse(double cx, double cy, double rx, double ry);
    Mask& circle(double cx, double cy, double r) { return ellipse(cx, cy, r, r); }
    Mask& circle(QPointF c, double r) { return ellipse(c.x(), c.y(), r, r); }
    Mask& rect(double x, double y, double w, double h);
    // A stroke of radius r between two points, round ends.
    Mask& capsule(QPointF a, QPointF b, double r);
    // Even-odd filled polygon.
    Mask& polygon(const std::vector<QPointF>& pts);
    // A one-pixel line (Bresenham) from (x0, y0) to (x1, y1), both ends included.
    Mask& line(int x0, int y0, int x1, int y1);

    Mask& unite(const Mask& o);
    Mask& subtract(const Mask& o);
    Mask& intersect(const Mask& o);
    // Keeps the pixels for which keep(x, y) holds.
    template <class F> Mask& keepIf(F keep)
    {
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if (at(x, y) && !keep(x, y)) set(x, y, false);
        return *this;
    }
    // Grown by one pixel: 4-neighbours, or all 8 with diagonal.
    Mask dilated(bool diagonal = false) const;
    Mask shifted(int dx, int dy) const;
    // The pixels of this mask whose neighbour at (dx, dy) lies outside it: the rim on that side.
    Mask edge(int dx, int dy) const;

private:
    int m_w, m_h;
    std::vector<unsigned char> m_bits;
};

// One pixel (clipped, never pure white).
void Put(QImage& img, int x, int y, QRgb c);
void FillRect(QImage& img, int x, int y, int w, int h, QRgb c);
void Paint(QImage& img, const Mask& m, QRgb c);
// The outline ring (the 4-neighbour growth of m minus m) in ink, then m in fill.
void Sticker(QImage& img, const Mask& m, QRgb fill, QRgb ink = kInk);
// The ring alone.
void Outline(QImage& img, const Mask& m, QRgb ink = kInk);
// Shading: the rim of m towards (dx, dy), `depth` pixels deep, in colour c.
void Rim(QImage& img, const Mask& m, int dx, int dy, QRgb c, int depth = 1);

// Ordered (4 x 4 Bayer) dithering between two colours, t in 0..1 the share of b: gives the flat
// banded gradients of pixel art.
QRgb Dither(int x, int y, QRgb a, QRgb b, double t);
// A vertical gradient from top to bottom colour over rect r: flat bands with dithered seams.
void Gradient(QImage& img, const QRect& r, QRgb top, QRgb bottom);

// A tiny 3 x 5 pixel font of the digits 0-9 (other characters are skipped as a space).
int DigitsWidth(const QString& text);
void DrawDigits(QImage& img, int x, int y, const QString& text, QRgb c);

// Outlined shapes that several pictures share.
void SoccerBall(QImage& img, double cx, double cy, double r);
void Baseball(QImage& img, double cx, double cy, double r);
// A four-pointed twinkle: arms of length len around (cx, cy), with a near-white heart.
void Twinkle(QImage& img, int cx, int cy, int len, QRgb c);
// A five-pointed star.
void Star(QImage& img, double cx, double cy, double rOuter, double rInner, QRgb fill, QRgb ink = kInk);
// A tongue of flame on a picture of img's size: a round foot of half-width w on the line `base`
// around cx, and two curved sides meeting in a tip h above it, leaning by `lean`.
Mask FlameTongue(const QImage& img, double cx, double base, double w, double h, double lean);

} // namespace px

#include "PixelArt.h"

#include <algorithm>
#include <cmath>

namespace px {

QRgb Opaque(QRgb c)
{
    c |= 0xFF000000u;
    return c == kClear ? kWhite : c;
}

QRgb Mix(QRgb a, QRgb b, double t)
{
    auto ch = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return Opaque(Rgb(ch(qRed(a), qRed(b)), ch(qGreen(a), qGreen(b)), ch(qBlue(a), qBlue(b))));
}

QRgb Darker(QRgb c, double t)
{
    // Towards a deep violet rather than grey: shadows of pixel art keep some colour.
    return Mix(c, Rgb(30, 18, 48), t);
}

QRgb Lighter(QRgb c, double t)
{
    return Mix(c, Rgb(255, 250, 230), t);
}

QImage Blank(int w, int h, QRgb fill)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill | 0xFF000000u);
    return img;
}

// ---- Mask ----------------------------------------------------------------------------------------

Mask::Mask(int w, int h) : m_w(std::max(0, w)), m_h(std::max(0, h)), m_bits(size_t(m_w) * size_t(m_h), 0) {}

void Mask::set(int x, int y, bool on)
{
    if (x >= 0 && y >= 0 && x < m_w && y < m_h) m_bits[size_t(y * m_w + x)] = on ? 1 : 0;
}

bool Mask::empty() const
{
    return std::none_of(m_bits.begin(), m_bits.end(), [](unsigned char b) { return b != 0; });
}

int Mask::count() const
{
    return int(std::count(m_bits.begin(), m_bits.end(), 1));
}

namespace {
// Rows and columns a shape's bounding box touches, clipped to the grid.
struct Span {
    int x0, y0, x1, y1;
};
Span clip(double l, double t, double r, double b, int w, int h)
{
    return {std::max(0, int(std::floor(l)) - 1), std::max(0, int(std::floor(t)) - 1), std::min(w - 1, int(std::ceil(r)) + 1),
            std::min(h - 1, int(std::ceil(b)) + 1)};
}
} // namespace

Mask& Mask::ellipse(double cx, double cy, double rx, double ry)
{
    if (rx <= 0 || ry <= 0) return *this;
    const Span s = clip(cx - rx, cy - ry, cx + rx, cy + ry, m_w, m_h);
    for (int y = s.y0; y <= s.y1; ++y)
        for (int x = s.x0; x <= s.x1; ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) set(x, y);
        }
    return *this;
}

Mask& Mask::rect(double x, double y, double w, double h)
{
    const Span s = clip(x, y, x + w, y + h, m_w, m_h);
    for (int py = s.y0; py <= s.y1; ++py)
        for (int px_ = s.x0; px_ <= s.x1; ++px_)
            if (px_ + 0.5 > x && px_ + 0.5 < x + w && py + 0.5 > y && py + 0.5 < y + h) set(px_, py);
    return *this;
}

Mask& Mask::capsule(QPointF a, QPointF b, double r)
{
    const Span s = clip(std::min(a.x(), b.x()) - r, std::min(a.y(), b.y()) - r, std::max(a.x(), b.x()) + r,
                        std::max(a.y(), b.y()) + r, m_w, m_h);
    const double vx = b.x() - a.x(), vy = b.y() - a.y(), len2 = vx * vx + vy * vy;
    for (int y = s.y0; y <= s.y1; ++y)
        for (int x = s.x0; x <= s.x1; ++x) {
            const double px_ = x + 0.5 - a.x(), py = y + 0.5 - a.y();
            const double t = len2 > 0 ? std::clamp((px_ * vx + py * vy) / len2, 0.0, 1.0) : 0.0;
            const double dx = px_ - t * vx, dy = py - t * vy;
            if (dx * dx + dy * dy <= r * r) set(x, y);
        }
    return *this;
}

Mask& Mask::polygon(const std::vector<QPointF>& pts)
{
    if (pts.size() < 3) return *this;
    double l = pts[0].x(), r = l, t = pts[0].y(), b = t;
    for (const QPointF& p : pts) {
        l = std::min(l, p.x());
        r = std::max(r, p.x());
        t = std::min(t, p.y());
        b = std::max(b, p.y());
    }
    const Span s = clip(l, t, r, b, m_w, m_h);
    for (int y = s.y0; y <= s.y1; ++y)
        for (int x = s.x0; x <= s.x1; ++x) {
            const double px_ = x + 0.5, py = y + 0.5;
            bool in = false;
            for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                const QPointF& p = pts[i];
                const QPointF& q = pts[j];
                if ((p.y() > py) != (q.y() > py) && px_ < (q.x() - p.x()) * (py - p.y()) / (q.y() - p.y()) + p.x()) in = !in;
            }
            if (in) set(x, y);
        }
    return *this;
}

Mask& Mask::line(int x0, int y0, int x1, int y1)
{
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    return *this;
}

Mask& Mask::unite(const Mask& o)
{
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x)
            if (o.at(x, y)) set(x, y);
    return *this;
}

Mask& Mask::subtract(const Mask& o)
{
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x)
            if (o.at(x, y)) set(x, y, false);
    return *this;
}

Mask& Mask::intersect(const Mask& o)
{
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x)
            if (!o.at(x, y)) set(x, y, false);
    return *this;
}

Mask Mask::dilated(bool diagonal) const
{
    Mask out(m_w, m_h);
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x) {
            bool on = at(x, y) || at(x - 1, y) || at(x + 1, y) || at(x, y - 1) || at(x, y + 1);
            if (!on && diagonal) on = at(x - 1, y - 1) || at(x + 1, y - 1) || at(x - 1, y + 1) || at(x + 1, y + 1);
            if (on) out.set(x, y);
        }
    return out;
}

Mask Mask::shifted(int dx, int dy) const
{
    Mask out(m_w, m_h);
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x)
            if (at(x, y)) out.set(x + dx, y + dy);
    return out;
}

Mask Mask::edge(int dx, int dy) const
{
    Mask out(m_w, m_h);
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x)
            if (at(x, y) && !at(x + dx, y + dy)) out.set(x, y);
    return out;
}

// ---- Painting ------------------------------------------------------------------------------------

void Put(QImage& img, int x, int y, QRgb c)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return;
    reinterpret_cast<QRgb*>(img.scanLine(y))[x] = Opaque(c);
}

void FillRect(QImage& img, int x, int y, int w, int h, QRgb c)
{
    for (int py = y; py < y + h; ++py)
        for (int px_ = x; px_ < x + w; ++px_) Put(img, px_, py, c);
}

void Paint(QImage& img, const Mask& m, QRgb c)
{
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            if (m.at(x, y)) Put(img, x, y, c);
}

void Outline(QImage& img, const Mask& m, QRgb ink)
{
    Mask ring = m.dilated();
    ring.subtract(m);
    Paint(img, ring, ink);
}

void Sticker(QImage& img, const Mask& m, QRgb fill, QRgb ink)
{
    Outline(img, m, ink);
    Paint(img, m, fill);
}

void Rim(QImage& img, const Mask& m, int dx, int dy, QRgb c, int depth)
{
    Mask band(m.width(), m.height());
    for (int k = 1; k <= depth; ++k) band.unite(m.edge(dx * k, dy * k));
    Paint(img, band, c);
}

QRgb Dither(int x, int y, QRgb a, QRgb b, double t)
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const double threshold = (bayer[y & 3][x & 3] + 0.5) / 16.0;
    return t > threshold ? Opaque(b) : Opaque(a);
}

void Gradient(QImage& img, const QRect& r, QRgb top, QRgb bottom)
{
    // A few flat bands, dithered only where one band meets the next: smooth at a glance, calm up close.
    const int h = std::max(1, r.height() - 1);
    const int steps = std::clamp(h / 8, 1, 8);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const double v = double(y - r.top()) / h * steps;
        const int lo = std::min(steps - 1, int(v));
        const double frac = std::clamp((v - lo - 0.7) / 0.3, 0.0, 1.0);
        const QRgb a = Mix(top, bottom, double(lo) / steps), b = Mix(top, bottom, double(lo + 1) / steps);
        for (int x = r.left(); x <= r.right(); ++x) Put(img, x, y, Dither(x, y, a, b, frac));
    }
}

// ---- Digits --------------------------------------------------------------------------------------

namespace {
// Rows of three bits, top first, leftmost pixel the high bit.
const unsigned char kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};
} // namespace

int DigitsWidth(const QString& text)
{
    return text.isEmpty() ? 0 : int(text.size()) * 4 - 1;
}

void DrawDigits(QImage& img, int x, int y, const QString& text, QRgb c)
{
    for (QChar ch : text) {
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) {
            const unsigned char* g = kDigits[ch.unicode() - '0'];
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (g[row] & (4 >> col)) Put(img, x + col, y + row, c);
        }
        x += 4;
    }
}

// ---- Shared shapes -------------------------------------------------------------------------------

void SoccerBall(QImage& img, double cx, double cy, double r)
{
    Mask ball(img);
    ball.circle(cx, cy, r);
    Sticker(img, ball, kWhite);
    Rim(img, ball, 1, 1, Rgb(196, 204, 220), r > 5 ? 2 : 1);
    const double pi = 3.14159265358979;
    // The middle pentagon and the five that the ball's edge cuts.
    auto pentagon = [&](double px_, double py, double pr, double turn) {
        std::vector<QPointF> pts;
        for (int k = 0; k < 5; ++k) {
            const double a = turn + k * 2 * pi / 5;
            pts.emplace_back(px_ + pr * std::cos(a), py + pr * std::sin(a));
        }
        Mask m(img);
        m.polygon(pts);
        m.intersect(ball);
        Paint(img, m, Rgb(40, 36, 52));
    };
    const double pr = std::max(1.3, r * 0.36);
    pentagon(cx, cy, pr, -pi / 2);
    if (r >= 5)
        for (int k = 0; k < 5; ++k) {
            const double a = -pi / 2 + pi / 5 + k * 2 * pi / 5;
            pentagon(cx + r * 1.02 * std::cos(a), cy + r * 1.02 * std::sin(a), pr * 0.95, a);
        }
    Put(img, int(std::floor(cx - r * 0.55)), int(std::floor(cy - r * 0.6)), kWhite);
}

void Baseball(QImage& img, double cx, double cy, double r)
{
    Mask ball(img);
    ball.circle(cx, cy, r);
    Sticker(img, ball, kWhite);
    Rim(img, ball, 1, 1, Rgb(214, 208, 200), r > 5 ? 2 : 1);
    const QRgb red = Rgb(214, 40, 48);
    for (int side : {-1, 1}) {
        const double sx = cx + side * 1.55 * r;
        for (int y = int(cy - r); y <= int(cy + r); ++y)
            for (int x = int(cx - r); x <= int(cx + r); ++x) {
                const double d = std::hypot(x + 0.5 - sx, y + 0.5 - cy);
                if (ball.at(x - 1, y) && ball.at(x + 1, y) && ball.at(x, y) && std::abs(d - 1.05 * r) < 0.55 && (y + x) % 2 == 0) Put(img, x, y, red);
            }
    }
}

void Twinkle(QImage& img, int cx, int cy, int len, QRgb c)
{
    Mask m(img);
    const double w = std::max(1.0, len * 0.28);
    m.polygon({{cx + 0.5, cy + 0.5 - len}, {cx + 0.5 + w, cy + 0.5}, {cx + 0.5, cy + 0.5 + len}, {cx + 0.5 - w, cy + 0.5}});
    m.polygon({{cx + 0.5 - len, cy + 0.5}, {cx + 0.5, cy + 0.5 - w}, {cx + 0.5 + len, cy + 0.5}, {cx + 0.5, cy + 0.5 + w}});
    Paint(img, m, c);
    Paint(img, Mask(img).rect(cx, cy - 1, 1, 3).rect(cx - 1, cy, 3, 1), kWhite);
}

void Star(QImage& img, double cx, double cy, double rOuter, double rInner, QRgb fill, QRgb ink)
{
    const double pi = 3.14159265358979;
    std::vector<QPointF> pts;
    for (int k = 0; k < 10; ++k) {
        const double a = -pi / 2 + k * pi / 5;
        const double rr = k % 2 ? rInner : rOuter;
        pts.emplace_back(cx + rr * std::cos(a), cy + rr * std::sin(a));
    }
    Mask m(img);
    m.polygon(pts);
    Sticker(img, m, fill, ink);
    Rim(img, m, 1, 1, Darker(fill, 0.25));
}

Mask FlameTongue(const QImage& img, double cx, double base, double w, double h, double lean)
{
    const double pi = 3.14159265358979;
    auto bez = [](QPointF a, QPointF c, QPointF b, double t) { return a * ((1 - t) * (1 - t)) + c * (2 * t * (1 - t)) + b * (t * t); };
    const QPointF left(cx - w, base - w * 0.6), right(cx + w, base - w * 0.6), tip(cx + lean, base - h);
    std::vector<QPointF> pts;
    for (int i = 0; i <= 10; ++i) {
        const double a = pi * i / 10.0;
        pts.emplace_back(cx + w * std::cos(a), base - w * 0.6 + w * 0.7 * std::sin(a));
    }
    for (int i = 1; i <= 10; ++i) pts.push_back(bez(left, QPointF(cx - w * 0.9, base - h * 0.55), tip, i / 10.0));
    for (int i = 1; i < 10; ++i) pts.push_back(bez(tip, QPointF(cx + w + lean * 0.2, base - h * 0.45), right, i / 10.0));
    Mask m(img);
    m.polygon(pts);
    return m;
}

} // namespace px

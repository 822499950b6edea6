#include "PlayerFigure.h"

#include <cmath>
#include <functional>

namespace px {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kHeadRx = 13.5, kHeadRy = 12.5;

QPointF lerp(QPointF a, QPointF b, double t)
{
    return a + (b - a) * t;
}

// The pose's design frame placed on the picture.
struct Frame {
    double x, y, s;
    QPointF at(QPointF p) const { return {x + p.x() * s, y + p.y() * s}; }
    double len(double d) const { return d * s; }
    // Design coordinates of a pixel's centre.
    QPointF design(int px_, int py) const { return {(px_ + 0.5 - x) / s, (py + 0.5 - y) / s}; }
    int ix(double dx) const { return int(std::floor(x + dx * s)); }
    int iy(double dy) const { return int(std::floor(y + dy * s)); }
};

// The pixels whose centres, in design coordinates, satisfy inside(). Bounded by a design box.
Mask designMask(const QImage& img, const Frame& f, double l, double t, double r, double b,
                const std::function<bool(double, double)>& inside)
{
    Mask m(img);
    const int x0 = f.ix(l) - 1, x1 = f.ix(r) + 1, y0 = f.iy(t) - 1, y1 = f.iy(b) + 1;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const QPointF d = f.design(x, y);
            if (inside(d.x(), d.y())) m.set(x, y);
        }
    return m;
}

Mask designPolygon(const QImage& img, const Frame& f, std::initializer_list<QPointF> pts)
{
    std::vector<QPointF> out;
    for (const QPointF& p : pts) out.push_back(f.at(p));
    return Mask(img).polygon(out);
}

QRgb shade(QRgb c) { return Darker(c, 0.22); }
QRgb shine(QRgb c) { return Lighter(c, 0.45); }

// ---- Hair ----------------------------------------------------------------------------------------

struct HeadGeo {
    double cx, cy;   // head centre (design)
    double fx;       // face centre x (design)
    double turn;
};

// The lower edge of the hair, relative to the head centre, at design x: the fringe over the
// forehead with three little bangs, and behind the face (turned figures) the hair reaching down.
double fringeLine(const HeadGeo& g, double x, double base, double back)
{
    const double fdx = x - g.fx;
    double y = base;
    for (double b : {-7.0, -2.0, 3.5}) y = std::max(y, base + 3.0 * std::max(0.0, 1.0 - std::abs(fdx - b) / 2.2));
    if (g.turn > 0.3) {
        if (fdx < -10.5) return back;
        if (fdx < -8.0) return y + (back - y) * (-8.0 - fdx) / 2.5;
    } else if (std::abs(x - g.cx) > 10.5) {
        return std::max(y, back - 3.0);
    }
    return y;
}

bool inCap(const HeadGeo& g, double x, double y, double grow, double lift)
{
    const double dx = (x - g.cx) / (kHeadRx + grow), dy = (y - g.cy - lift) / (kHeadRy + grow * 0.8);
    return dx * dx + dy * dy <= 1.0;
}

// Hair drawn on the head.
Mask hairMask(const QImage& img, const Frame& f, const HeadGeo& g, HairStyle style)
{
    const double l = g.cx - 22, r = g.cx + 22, t = g.cy - 26, b = g.cy + 14;
    auto shortHair = [&](double x, double y) { return inCap(g, x, y, 1.0, -0.8) && y - g.cy < fringeLine(g, x, -4.0, 5.5); };
    switch (style) {
    case HairStyle::Bald:
        return Mask(img);
    case HairStyle::Short:
    case HairStyle::Long:
    case HairStyle::Ponytail:
    case HairStyle::TwinTails:
        return designMask(img, f, l, t, r, b, shortHair);
    case HairStyle::Bun: {
        Mask m = designMask(img, f, l, t, r, b, shortHair);
        m.circle(f.at({g.cx - 3.5 * g.turn, g.cy - 12.5}), f.len(4.8));
        return m;
    }
    case HairStyle::Spiky: {
        Mask m = designMask(img, f, l, t, r, b, shortHair);
        // Tufts around the crown, swept back (to the left) the way the figure runs.
        for (double a : {-165.0, -135.0, -105.0, -75.0, -45.0}) {
            const double ar = a * kPi / 180, w = 15 * kPi / 180, sweep = -10 * kPi / 180;
            const QPointF p1(g.cx + 11.5 * std::cos(ar - w), g.cy - 0.8 + 10.5 * std::sin(ar - w));
            const QPointF p2(g.cx + 11.5 * std::cos(ar + w), g.cy - 0.8 + 10.5 * std::sin(ar + w));
            const QPointF tip(g.cx + 17.0 * std::cos(ar + sweep), g.cy - 0.8 + 15.2 * std::sin(ar + sweep));
            m.unite(designPolygon(img, f, {p1, tip, p2}));
        }
        return m;
    }
    case HairStyle::Buzz:
        return designMask(img, f, l, t, r, b, [&](double x, double y) {
            return inCap(g, x, y, 0.4, -0.4) && y - g.cy < (g.turn > 0.3 && x - g.fx < -9.5 ? 3.0 : -6.5);
        });
    case HairStyle::Curly: {
        Mask m = designMask(img, f, l, t, r, b, [&](double x, double y) {
            return inCap(g, x, y, 1.8, -1.0) && y - g.cy < fringeLine(g, x, -3.5, 6.5);
        });
        for (int k = 0; k <= 8; ++k) {
            const double a = kPi + k * kPi / 8;
            const QPointF c(g.cx + 14.0 * std::cos(a), g.cy - 1.5 + 13.0 * std::sin(a));
            if (g.turn > 0.3 && c.x() > g.fx + 6 && c.y() > g.cy - 6) continue;
            m.circle(f.at(c), f.len(4.0));
        }
        // Curls never cover the eyes.
        m.subtract(designMask(img, f, l, t, r, b, [&](double x, double y) {
            return y - g.cy > -2.5 && (g.turn < 0.3 ? std::abs(x - g.cx) < 10.5 : x - g.fx > -9.0);
        }));
        return m;
    }
    case HairStyle::Bowl:
        return designMask(img, f, l, t, r, b, [&](double x, double y) {
            const double edge = g.turn > 0.3 ? (x - g.fx < -10 ? 6.0 : -2.0) : (std::abs(x - g.cx) > 11 ? 4.0 : -2.0);
            return inCap(g, x, y, 1.6, -0.4) && y - g.cy < edge;
        });
    case HairStyle::Mohawk: {
        Mask m(img);
        for (int k = 0; k <= 7; ++k) {
            const double a = (196 + k * 15) * kPi / 180;
            const QPointF c(g.cx - 1 + 13.0 * std::cos(a), g.cy - 1.5 + 12.8 * std::sin(a));
            m.circle(f.at(c), f.len(3.4));
        }
        return m;
    }
    }
    return Mask(img);
}

// Hair that hangs behind the head and body.
Mask backHairMask(const QImage& img, const Frame& f, const HeadGeo& g, HairStyle style)
{
    Mask m(img);
    auto cap = [&](QPointF a, QPointF b, double r) { m.capsule(f.at(a), f.at(b), f.len(r)); };
    switch (style) {
    case HairStyle::Long:
        m.unite(designMask(img, f, g.cx - 20, g.cy - 16, g.cx + 20, g.cy + 20, [&](double x, double y) {
            const double dx = (x - (g.cx - 2.5 * g.turn)) / 15.5, dy = (y - g.cy) / 16.5;
            return dx * dx + dy * dy <= 1.0 && y - g.cy < 15.5;
        }));
        break;
    case HairStyle::Ponytail:
        if (g.turn > 0.3) {
            cap({g.cx - 11.5, g.cy - 5}, {g.cx - 17.5, g.cy + 3}, 3.6);
            cap({g.cx - 17.5, g.cy + 3}, {g.cx - 16.0, g.cy + 11}, 3.0);
        } else {
            cap({g.cx + 9, g.cy - 9}, {g.cx + 16, g.cy - 5}, 3.4);
        }
        break;
    case HairStyle::TwinTails:
        for (int side : {-1, 1}) {
            const double sx = g.turn > 0.3 ? (side < 0 ? -13.0 : 10.5) : side * 12.0;
            cap({g.cx + sx, g.cy - 6}, {g.cx + sx + side * 4.5, g.cy + 4}, 3.6);
            cap({g.cx + sx + side * 4.5, g.cy + 4}, {g.cx + sx + side * 3.0, g.cy + 12}, 3.0);
        }
        break;
    default:
        break;
    }
    return m;
}

// ---- Parts ---------------------------------------------------------------------------------------

void drawArmIn(QImage& img, const Frame& f, const Look& look, const Limb& a)
{
    Mask arm(img);
    arm.capsule(f.at(a.root), f.at(a.joint), f.len(2.3)).capsule(f.at(a.joint), f.at(a.end), f.len(2.2));
    if (!look.gloves) arm.circle(f.at(a.end), f.len(2.7));
    Sticker(img, arm, look.skin);
    Rim(img, arm, 0, 1, shade(look.skin));

    // The sleeve, with its cuff in the trim colour.
    Mask sleeve(img);
    QPointF sleeveEnd;
    if (look.longSleeves) {
        sleeveEnd = lerp(a.joint, a.end, 0.7);
        sleeve.capsule(f.at(a.root), f.at(a.joint), f.len(2.9)).capsule(f.at(a.joint), f.at(sleeveEnd), f.len(2.7));
    } else {
        sleeveEnd = lerp(a.root, a.joint, 0.75);
        sleeve.capsule(f.at(a.root), f.at(sleeveEnd), f.len(3.2));
    }
    Sticker(img, sleeve, look.shirt);
    Rim(img, sleeve, 0, 1, shade(look.shirt));
    const QPointF from = look.longSleeves ? a.joint : a.root;
    QPointF dir = sleeveEnd - from;
    const double n = std::hypot(dir.x(), dir.y());
    if (n > 0.01 && f.s >= 0.8) {
        dir /= n;
        Mask cuff = sleeve;
        const QPointF e = f.at(sleeveEnd);
        cuff.keepIf([&](int x, int y) { return (x + 0.5 - e.x()) * dir.x() + (y + 0.5 - e.y()) * dir.y() > f.len(1.0); });
        Paint(img, cuff, look.trim);
    }
    if (look.gloves) {
        Mask glove(img);
        glove.circle(f.at(a.end), f.len(3.3));
        Sticker(img, glove, look.gloveColor);
        Rim(img, glove, 1, 1, shade(look.gloveColor));
    }
}

// A leg: skin, sock, boot. The thigh's cover is returned for the shorts to take in.
Mask drawLeg(QImage& img, const Frame& f, const Look& look, const Limb& l)
{
    Mask leg(img);
    leg.capsule(f.at(l.root), f.at(l.joint), f.len(2.6)).capsule(f.at(l.joint), f.at(l.end), f.len(2.4));
    Sticker(img, leg, look.skin);
    Rim(img, leg, -1, 0, shade(look.skin));

    Mask sock(img);
    sock.capsule(f.at(lerp(l.joint, l.end, 0.1)), f.at(l.end), f.len(2.6));
    Sticker(img, sock, look.socks);
    Rim(img, sock, -1, 0, shade(look.socks));

    Mask boot(img);
    boot.capsule(f.at(l.end + QPointF(0, 0.9)), f.at(l.toe), f.len(2.5));
    Sticker(img, boot, look.boots);
    Rim(img, boot.edge(0, -1).subtract(boot.edge(0, 1)), 0, 0, shine(look.boots));

    Mask thigh(img);
    thigh.capsule(f.at(l.root), f.at(lerp(l.root, l.joint, 0.45)), f.len(3.3));
    return thigh;
}

void drawShortsOrSkirt(QImage& img, const Frame& f, const Look& look, const Pose& p, const Mask& thighs)
{
    const QPointF h = p.hip;
    Mask m(img);
    if (look.skirt) {
        m = designPolygon(img, f, {{h.x() - 6.5, h.y() - 1.5}, {h.x() + 6.5, h.y() - 1.5}, {h.x() + 9.5, h.y() + 6.5}, {h.x() - 9.5, h.y() + 6.5}});
    } else {
        m = designPolygon(img, f, {{h.x() - 7, h.y() - 1.5}, {h.x() + 7, h.y() - 1.5}, {h.x() + 7.5, h.y() + 4.5}, {h.x() - 7.5, h.y() + 4.5}});
        m.unite(thighs);
        m.subtract(designPolygon(img, f, {{h.x() - 1.2, h.y() + 4.8}, {h.x(), h.y() + 2.6}, {h.x() + 1.2, h.y() + 4.8}}));
    }
    Sticker(img, m, look.shorts);
    Rim(img, m, -1, 0, shade(look.shorts));
    Rim(img, m, 0, 1, shade(look.shorts));
    if (look.skirt && f.s >= 0.8) {
        // Pleats.
        for (double dx : {-4.5, 0.0, 4.5}) {
            Mask pleat(img);
            pleat.line(f.ix(h.x() + dx * 0.75), f.iy(h.y() + 0.5), f.ix(h.x() + dx * 1.15), f.iy(h.y() + 6));
            pleat.intersect(m);
            Paint(img, pleat, shade(look.shorts));
        }
    }
}

void drawTorso(QImage& img, const Frame& f, const Look& look, const Pose& p)
{
    const QPointF n = p.neck, h = p.hip;
    Mask m = designPolygon(img, f, {{n.x() - 7.5, n.y() + 2.5}, {n.x() - 5, n.y()}, {n.x() + 5, n.y()}, {n.x() + 7.5, n.y() + 2.5},
                                    {h.x() + 7, h.y() + 0.5}, {h.x() - 7, h.y() + 0.5}});
    Sticker(img, m, look.shirt);
    const bool numbered = !look.number.isEmpty() && f.s >= 0.85;
    const int numberW = DigitsWidth(look.number);
    const QPointF numberAt = f.at(lerp(n, h, 0.35) + QPointF(1.5 * p.turn, 0));
    const int nx = int(std::floor(numberAt.x() - numberW / 2.0 + 0.5)), ny = int(std::floor(numberAt.y() - 1.5));
    if (look.stripes) {
        Mask st = m;
        st.keepIf([&](int x, int y) {
            // Stripes leave a plain patch for the number.
            if (numbered && x >= nx - 1 && x <= nx + numberW && y >= ny - 1 && y <= ny + 5) return false;
            const QPointF d = f.design(x, y);
            const double t = (d.y() - n.y()) / std::max(1.0, h.y() - n.y());
            const double mid = n.x() + (h.x() - n.x()) * t + 1.5 * p.turn;
            return int(std::floor((d.x() - mid + 1.0) / 2.0)) % 2 == 0 && std::abs(d.x() - mid) > 0.1;
        });
        Paint(img, st, look.stripes);
    }
    Rim(img, m, -1, 0, shade(look.shirt), f.s >= 0.8 ? 2 : 1);
    Rim(img, m, 0, 1, shade(look.shirt));
    // The hem in the trim colour.
    Mask hem = m.edge(0, 1);
    hem.unite(m.edge(0, 2));
    hem.subtract(m.edge(0, 1));
    Paint(img, hem, look.trim);
    if (numbered) DrawDigits(img, nx, ny, look.number, look.numberColor);
}

void drawHeadgear(QImage& img, const Frame& f, const Look& look, const HeadGeo& g, const Mask& head, const Mask& hair)
{
    const QRgb c = look.headgearColor;
    switch (look.headgear) {
    case Headgear::None:
        break;
    case Headgear::Headband: {
        Mask band = head;
        band.unite(hair);
        band.keepIf([&](int x, int y) {
            const double dy = f.design(x, y).y() - g.cy;
            return dy > -7.5 && dy < -4.6;
        });
        Paint(img, band, c);
        Rim(img, band, 0, 1, shade(c));
        if (g.turn > 0.3) {
            Mask knot(img);
            knot.capsule(f.at({g.cx - 13.5, g.cy - 6}), f.at({g.cx - 18, g.cy - 3}), f.len(1.3));
            knot.capsule(f.at({g.cx - 13.5, g.cy - 6}), f.at({g.cx - 18, g.cy - 8.5}), f.len(1.3));
            Sticker(img, knot, c);
        }
        break;
    }
    case Headgear::Cap:
    case Headgear::Helmet: {
        const bool helmet = look.headgear == Headgear::Helmet;
        Mask crown = designMask(img, f, g.cx - 20, g.cy - 20, g.cx + 20, g.cy + 8, [&](double x, double y) {
            return inCap(g, x, y, helmet ? 1.8 : 1.3, -1.0) && y - g.cy < (helmet ? (g.turn > 0.3 && x - g.fx < -9 ? 5.0 : -3.0) : -3.6);
        });
        Sticker(img, crown, c);
        Rim(img, crown, -1, 0, shade(c), 2);
        if (helmet) {
            Mask ant(img);
            ant.capsule(f.at({g.cx + 1, g.cy - 13}), f.at({g.cx + 2.5, g.cy - 15.5}), f.len(0.7));
            Paint(img, ant, kInk);
            Mask knob(img);
            knob.circle(f.at({g.cx + 2.5, g.cy - 16.5}), f.len(1.8));
            Sticker(img, knob, Rgb(255, 90, 90));
            Paint(img, Mask(img).capsule(f.at({g.cx + 5, g.cy - 10}), f.at({g.cx + 9, g.cy - 7}), f.len(0.8)), shine(c));
        } else {
            Mask brim(img);
            const QPointF mid = f.at({g.cx, g.cy - 3.4});
            if (g.turn > 0.3)
                brim.capsule(f.at({g.fx + 1, g.cy - 3.6}), f.at({g.fx + 11.5, g.cy - 2.6}), f.len(1.7));
            else
                brim.ellipse(mid.x(), mid.y(), f.len(11.5), f.len(2.0));
            Sticker(img, brim, shade(c));
            Mask button(img);
            button.circle(f.at({g.cx, g.cy - 13.8}), f.len(1.3));
            Paint(img, button, shine(c));
        }
        break;
    }
    case Headgear::Horns:
        for (double dx : {-6.5, 5.5}) {
            const double bx = g.cx + dx + 1.5 * g.turn;
            Mask horn = designPolygon(img, f, {{bx - 2.6, g.cy - 10.5}, {bx + dx * 0.25, g.cy - 18.5}, {bx + 2.6, g.cy - 11}});
            Sticker(img, horn, Rgb(250, 236, 170));
            Rim(img, horn, -1, 0, Rgb(214, 188, 110));
        }
        break;
    case Headgear::CatEars:
        for (double dx : {-7.5, 6.5}) {
            const double bx = g.cx + dx + 1.0 * g.turn;
            Mask ear = designPolygon(img, f, {{bx - 4.5, g.cy - 8.5}, {bx + dx * 0.15, g.cy - 18.0}, {bx + 4.5, g.cy - 10.5}});
            Sticker(img, ear, look.hair);
            Mask inner = designPolygon(img, f, {{bx - 2.2, g.cy - 10.5}, {bx + dx * 0.12, g.cy - 15.5}, {bx + 2.2, g.cy - 11.5}});
            Paint(img, inner, Rgb(250, 160, 180));
        }
        break;
    case Headgear::Ribbon: {
        const QPointF k(g.cx - 5.5 * g.turn + (g.turn < 0.3 ? 6 : 0), g.cy - 12);
        Mask bow = designPolygon(img, f, {{k.x(), k.y()}, {k.x() - 5.5, k.y() - 4}, {k.x() - 5.5, k.y() + 3.5}});
        bow.unite(designPolygon(img, f, {{k.x(), k.y()}, {k.x() + 5.5, k.y() - 4}, {k.x() + 5.5, k.y() + 3.5}}));
        Sticker(img, bow, c);
        Rim(img, bow, 0, 1, shade(c));
        Mask knot(img);
        knot.circle(f.at(k), f.len(1.6));
        Sticker(img, knot, shade(c));
        break;
    }
    }
}

void drawFace(QImage& img, const Frame& f, const Look& look, const Pose& p, const HeadGeo& g)
{
    const QRgb eye = Rgb(44, 30, 58), mouth = Rgb(150, 56, 64), tongue = Rgb(236, 96, 104);
    const QRgb blush = Mix(look.skin, Rgb(255, 120, 140), 0.45);
    const bool small = f.s < 0.8;
    const int ey = f.iy(g.cy + 1.0);
    const int exL = f.ix(g.fx - 4.6), exR = f.ix(g.fx + 3.6 - 0.4 * g.turn);
    const int mx = f.ix(g.fx - 0.4 + 0.3 * g.turn), my = f.iy(g.cy + 7.2);
    if (small) {
        for (int ex : {exL, exR}) {
            if (p.face == Expression::Happy) {
                Put(img, ex, ey + 1, eye);
            } else {
                Put(img, ex, ey, eye);
                Put(img, ex, ey + 1, eye);
            }
        }
        Put(img, mx, my, mouth);
        return;
    }
    for (int ex : {exL, exR}) {
        switch (p.face) {
        case Expression::Happy:
            // Closed, smiling arcs.
            Put(img, ex - 1, ey + 2, eye);
            Put(img, ex, ey + 1, eye);
            Put(img, ex + 1, ey + 1, eye);
            Put(img, ex + 2, ey + 2, eye);
            break;
        case Expression::Shout:
            // Squeezed shut: > <.
            Put(img, ex + (ex == exL ? 0 : 1), ey, eye);
            Put(img, ex + (ex == exL ? 1 : 0), ey + 1, eye);
            Put(img, ex + (ex == exL ? 0 : 1), ey + 2, eye);
            break;
        case Expression::Sad:
            FillRect(img, ex, ey + 1, 2, 3, eye);
            Put(img, ex + (ex == exL ? 1 : 0), ey + 1, kWhite);
            Put(img, ex + (ex == exL ? -1 : 2), ey - 1, eye);
            Put(img, ex + (ex == exL ? 0 : 1), ey - 2, eye);
            break;
        case Expression::Determined:
            FillRect(img, ex, ey, 2, 4, eye);
            Put(img, ex, ey, kWhite);
            // Brows slanting down towards the nose.
            Put(img, ex + (ex == exL ? -1 : 2), ey - 2, eye);
            Put(img, ex + (ex == exL ? 0 : 1), ey - 2, eye);
            Put(img, ex + (ex == exL ? 1 : 0), ey - 1, eye);
            break;
        case Expression::Plain:
            FillRect(img, ex, ey, 2, 4, eye);
            Put(img, ex, ey, kWhite);
            break;
        }
    }
    if (look.glasses) {
        const QRgb rim = Rgb(60, 60, 80);
        for (int ex : {exL, exR}) {
            Mask ring(img);
            ring.rect(ex - 2, ey - 1, 6, 6);
            ring.subtract(Mask(img).rect(ex - 1, ey, 4, 4));
            Paint(img, ring, rim);
        }
        for (int x = exL + 4; x < exR - 2; ++x) Put(img, x, ey + 1, rim);
    }
    // Cheeks.
    if (p.face != Expression::Sad) {
        Put(img, exL - 2, ey + 5, blush);
        Put(img, exL - 1, ey + 5, blush);
        Put(img, exR + 2, ey + 5, blush);
        Put(img, exR + 3, ey + 5, blush);
    }
    if (look.freckles) {
        Put(img, exL - 1, ey + 6, shade(look.skin));
        Put(img, exL + 1, ey + 6, shade(look.skin));
        Put(img, exR + 1, ey + 6, shade(look.skin));
    }
    switch (p.face) {
    case Expression::Plain:
        Put(img, mx, my, mouth);
        Put(img, mx + 1, my, mouth);
        break;
    case Expression::Determined:
        Put(img, mx - 1, my, mouth);
        Put(img, mx, my, mouth);
        Put(img, mx + 1, my, mouth);
        break;
    case Expression::Happy:
        FillRect(img, mx - 1, my - 1, 4, 1, mouth);
        FillRect(img, mx - 1, my, 4, 1, tongue);
        Put(img, mx - 1, my, mouth);
        Put(img, mx + 2, my, mouth);
        FillRect(img, mx, my + 1, 2, 1, mouth);
        break;
    case Expression::Shout:
        FillRect(img, mx - 1, my - 1, 3, 3, mouth);
        FillRect(img, mx, my, 1, 2, tongue);
        break;
    case Expression::Sad:
        Put(img, mx - 1, my + 1, mouth);
        Put(img, mx, my, mouth);
        Put(img, mx + 1, my, mouth);
        Put(img, mx + 2, my + 1, mouth);
        break;
    }
}

void drawHead(QImage& img, const Frame& f, const Look& look, const Pose& p, const HeadGeo& g)
{
    Mask head(img);
    const QPointF c = f.at(p.head);
    head.ellipse(c.x(), c.y(), f.len(kHeadRx), f.len(kHeadRy));
    Sticker(img, head, look.skin);
    Rim(img, head, -1, 1, shade(look.skin));

    const Mask hair = hairMask(img, f, g, look.hairStyle);
    if (!hair.empty()) {
        Sticker(img, hair, look.hair);
        Rim(img, hair, -1, 1, shade(look.hair), f.s >= 0.8 ? 2 : 1);
        // A soft shine across the crown.
        Mask gloss = designMask(img, f, g.cx - 20, g.cy - 20, g.cx + 20, g.cy, [&](double x, double y) {
            const double d = std::hypot(x - g.cx - 1.5, (y - g.cy + 1.5) * 1.1);
            return d > 9.4 && d < 10.8 && x - g.cx > 1.0 && x - g.cx < 6.0 && y - g.cy < -5.5;
        });
        gloss.intersect(hair);
        gloss.subtract(hair.edge(0, -1));
        Paint(img, gloss, shine(look.hair));
        // The hair's shadow on the forehead.
        Mask under = hair.dilated();
        under.subtract(hair);
        under = under.shifted(0, 1);
        under.intersect(head);
        under.subtract(hair.dilated());
        Paint(img, under, shade(look.skin));
    }
    // The ear, on the side the face turns away from.
    if (p.turn > 0.3 && look.headgear != Headgear::Helmet) {
        Mask ear(img);
        const QPointF e = f.at({g.fx - 9.8, g.cy + 2.2});
        ear.ellipse(e.x(), e.y(), f.len(2.1), f.len(2.7));
        // Drawn in the skin's own darker tone: an ink ring would read as a mark on the cheek.
        Sticker(img, ear, look.skin, Darker(look.skin, 0.45));
        Put(img, int(std::floor(e.x())), int(std::floor(e.y())), shade(look.skin));
    }
    switch (look.hairStyle) {
    case HairStyle::Ponytail:
    case HairStyle::TwinTails: {
        // Hair ties.
        Mask tie(img);
        if (look.hairStyle == HairStyle::Ponytail) {
            const QPointF t = f.at(g.turn > 0.3 ? QPointF(g.cx - 12.0, g.cy - 4.5) : QPointF(g.cx + 9.5, g.cy - 9));
            tie.circle(t, f.len(1.8));
        } else {
            for (int side : {-1, 1}) {
                const double sx = g.turn > 0.3 ? (side < 0 ? -13.0 : 10.5) : side * 12.0;
                const QPointF t = f.at({g.cx + sx + side * 0.6, g.cy - 5});
                tie.circle(t, f.len(1.8));
            }
        }
        Sticker(img, tie, look.headgearColor);
        break;
    }
    default:
        break;
    }
    drawHeadgear(img, f, look, g, head, hair);
    drawFace(img, f, look, p, g);
}

} // namespace

// ---- Poses ---------------------------------------------------------------------------------------

Pose StandPose()
{
    Pose p;
    p.turn = 1;
    p.head = {35.5, 20.5};
    p.neck = {36, 32};
    p.hip = {36, 46};
    p.farArm = {{42.5, 34.5}, {44.5, 39.5}, {45.5, 44}, {}};
    p.nearArm = {{29.5, 34.5}, {27.5, 39.5}, {26.5, 44}, {}};
    p.farLeg = {{39.5, 48}, {40, 55}, {40.5, 60.5}, {44.5, 62}};
    p.nearLeg = {{32.5, 48}, {32, 55}, {31.5, 60.5}, {35.5, 62}};
    p.farArmLayer = Layer::Behind;
    p.nearArmLayer = Layer::Front;
    return p;
}

Pose RunPose()
{
    Pose p;
    p.turn = 1;
    p.face = Expression::Determined;
    p.head = {38.5, 20.5};
    p.neck = {38.5, 31};
    p.hip = {35.5, 45.5};
    p.farArm = {{45, 33.5}, {49.5, 37.5}, {53.5, 33.5}, {}};
    p.nearArm = {{31.5, 33.5}, {27, 38.5}, {22.5, 36}, {}};
    p.farLeg = {{38.5, 47.5}, {45, 51}, {45.5, 58.5}, {50, 60}};
    p.nearLeg = {{32.5, 47.5}, {28.5, 53.5}, {22.5, 55.5}, {21, 59}};
    p.farArmLayer = Layer::Behind;
    p.nearArmLayer = Layer::Front;
    return p;
}

Pose KickPose()
{
    Pose p;
    p.turn = 1;
    p.face = Expression::Determined;
    p.head = {33.5, 20};
    p.neck = {34, 31.5};
    p.hip = {35, 45.5};
    p.farArm = {{41, 33.5}, {46, 33}, {50, 30}, {}};
    p.nearArm = {{27.5, 33.5}, {22.5, 36}, {19.5, 33}, {}};
    p.farLeg = {{38, 47.5}, {44, 52}, {50.5, 54}, {55, 52}};
    p.nearLeg = {{32, 47.5}, {31, 54.5}, {30.5, 60.5}, {34.5, 62}};
    p.farArmLayer = Layer::Behind;
    p.nearArmLayer = Layer::Front;
    return p;
}

Pose FrontPose()
{
    Pose p;
    p.turn = 0;
    p.head = {35, 20.5};
    p.neck = {35, 32};
    p.hip = {35, 46};
    p.farArm = {{42, 34.5}, {44.5, 39.5}, {46, 44}, {}};
    p.nearArm = {{28, 34.5}, {25.5, 39.5}, {24, 44}, {}};
    p.farLeg = {{38.5, 48}, {39, 55}, {39.5, 60.5}, {41, 62.5}};
    p.nearLeg = {{31.5, 48}, {31, 55}, {30.5, 60.5}, {29, 62.5}};
    p.farArmLayer = Layer::Behind;
    p.nearArmLayer = Layer::Behind;
    return p;
}

Pose CheerPose()
{
    Pose p = Moved(FrontPose(), 0, -3);
    p.face = Expression::Happy;
    p.farArm = {{42, 31.5}, {47, 25}, {50.5, 17.5}, {}};
    p.nearArm = {{28, 31.5}, {23, 25}, {19.5, 17.5}, {}};
    p.farLeg = {{38.5, 45}, {40.5, 52}, {40, 57.5}, {42, 59.5}};
    p.nearLeg = {{31.5, 45}, {29.5, 52}, {30, 57.5}, {28, 59.5}};
    p.farArmLayer = Layer::Top;
    p.nearArmLayer = Layer::Top;
    return p;
}

Pose Moved(Pose p, double dx, double dy)
{
    const QPointF d(dx, dy);
    p.head += d;
    p.neck += d;
    p.hip += d;
    for (Limb* l : {&p.farArm, &p.nearArm, &p.farLeg, &p.nearLeg}) {
        l->root += d;
        l->joint += d;
        l->end += d;
        l->toe += d;
    }
    return p;
}

// ---- The figure ----------------------------------------------------------------------------------

void DrawFigure(QImage& img, const Look& look, const Pose& pose, double x, double y, double s)
{
    const Frame f{x, y, s};
    const HeadGeo g{pose.head.x(), pose.head.y(), pose.head.x() + 2.8 * pose.turn, pose.turn};

    const Mask back = backHairMask(img, f, g, look.hairStyle);
    if (!back.empty()) {
        Sticker(img, back, look.hair);
        Rim(img, back, -1, 0, shade(look.hair), 2);
    }
    if (pose.farArmLayer == Layer::Behind) drawArmIn(img, f, look, pose.farArm);
    if (pose.nearArmLayer == Layer::Behind) drawArmIn(img, f, look, pose.nearArm);
    Mask thighs = drawLeg(img, f, look, pose.farLeg);
    thighs.unite(drawLeg(img, f, look, pose.nearLeg));
    drawShortsOrSkirt(img, f, look, pose, thighs);
    drawTorso(img, f, look, pose);
    if (pose.farArmLayer == Layer::Front) drawArmIn(img, f, look, pose.farArm);
    if (pose.nearArmLayer == Layer::Front) drawArmIn(img, f, look, pose.nearArm);
    drawHead(img, f, look, pose, g);
    if (pose.farArmLayer == Layer::Top) drawArmIn(img, f, look, pose.farArm);
    if (pose.nearArmLayer == Layer::Top) drawArmIn(img, f, look, pose.nearArm);
}

void DrawArm(QImage& img, const Look& look, const Limb& arm, double x, double y, double s)
{
    drawArmIn(img, Frame{x, y, s}, look, arm);
}

QImage PlayerSheet(const std::vector<Look>& players)
{
    QImage sheet = Blank(140 * int(players.size()), 70);
    for (size_t k = 0; k < players.size(); ++k)
        for (int frame = 0; frame < 2; ++frame) {
            // Each frame on its own, so that nothing spills into the neighbouring frame.
            QImage cell = Blank(70, 70);
            DrawFigure(cell, players[k], frame == 0 ? StandPose() : k % 3 == 2 ? KickPose() : RunPose());
            for (int y = 0; y < 70; ++y)
                for (int x = 0; x < 70; ++x) sheet.setPixel(140 * int(k) + 70 * frame + x, y, cell.pixel(x, y));
        }
    return sheet;
}

} // namespace px

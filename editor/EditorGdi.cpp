#include "EditorGdi.h"

#include "MathUtil.h"
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QRgb Combine(QRgb dst, QRgb src, TPenMode mode)
{
    return CombinePen(dst, src, mode);
}

// Receives covered spans. In copy mode pixels are written at once (covering twice changes nothing),
// and a span inside the one last written on its row is skipped: the pieces of a wide pen overlap
// almost entirely. In the other modes pixels are marked first and combined once each at the end.
class Sink {
public:
    Sink(QImage& img, TColor color, TPenMode mode)
        : m_w(img.width()), m_h(img.height()), m_px(ToPixel(color)), m_mode(mode), m_bits(img.bits()),
          m_bpl(img.bytesPerLine())
    {
        if (m_mode != TPenMode::pmCopy) m_mask.assign(size_t(m_w) * size_t(m_h), 0);
        else m_written.assign(size_t(std::max(0, m_h)), {1, 0});
    }
    ~Sink() { Finish(); }
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    void Span(int y, int x0, int x1)
    {
        if (y < 0 || y >= m_h) return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, m_w - 1);
        if (x0 > x1) return;
        if (m_mode == TPenMode::pmCopy) {
            auto& [lo, hi] = m_written[size_t(y)];
            if (x0 >= lo && x1 <= hi) return;
            QRgb* line = Line(y);
            std::fill(line + x0, line + x1 + 1, m_px);
            if (x1 + 1 >= lo && x0 <= hi + 1) {
                lo = std::min(lo, x0);
                hi = std::max(hi, x1);
            } else {
                lo = x0;
                hi = x1;
            }
        } else {
            std::fill(m_mask.begin() + qsizetype(y) * m_w + x0, m_mask.begin() + qsizetype(y) * m_w + x1 + 1, 1);
            m_minY = std::min(m_minY, y);
            m_maxY = std::max(m_maxY, y);
        }
    }
    void Plot(int x, int y) { Span(y, x, x); }
    void Finish()
    {
        if (m_mode == TPenMode::pmCopy || m_minY > m_maxY) return;
        for (int y = m_minY; y <= m_maxY; ++y) {
            QRgb* line = Line(y);
            const unsigned char* m = m_mask.data() + size_t(y) * size_t(m_w);
            for (int x = 0; x < m_w; ++x)
                if (m[x]) line[x] = Combine(line[x], m_px, m_mode);
        }
        m_minY = std::numeric_limits<int>::max();
        m_maxY = std::numeric_limits<int>::min();
    }

private:
    QRgb* Line(int y) { return reinterpret_cast<QRgb*>(m_bits + qsizetype(y) * m_bpl); }
    int m_w, m_h;
    QRgb m_px;
    TPenMode m_mode;
    uchar* m_bits;
    qsizetype m_bpl;
    std::vector<unsigned char> m_mask;
    std::vector<std::pair<int, int>> m_written; // per row: the span last written (copy mode)
    int m_minY = std::numeric_limits<int>::max();
    int m_maxY = std::numeric_limits<int>::min();
};

constexpr double kEps = 1e-9;

// The pixels whose centres lie within r of the segment p-q: one span per row (the capsule is convex).
void Capsule(Sink& s, QPointF p, QPointF q, double r)
{
    const double top = std::min(p.y(), q.y()) - r, bottom = std::max(p.y(), q.y()) + r;
    // Rows are clipped while still doubles: far-off coordinates never reach an int.
    const double rowTop = std::max(0.0, std::ceil(top - kEps));
    const double rowBottom = std::min(double(s.Height() - 1), std::floor(bottom + kEps));
    if (!(rowTop <= rowBottom)) return;
    const int y0 = int(rowTop), y1 = int(rowBottom);
    const double left = std::min(p.x(), q.x()) - r, right = std::max(p.x(), q.x()) + r;
    if (right < 0 || left > s.Width() - 1) return;
    const double dx = q.x() - p.x(), dy = q.y() - p.y();
    const double len2 = dx * dx + dy * dy, rl = r * std::sqrt(len2), r2 = r * r;
    const double invDy = dy != 0 ? 1.0 / dy : 0.0, invDx = dx != 0 ? 1.0 / dx : 0.0;
    const double minX = std::min(p.x(), q.x()), maxX = std::max(p.x(), q.x());
    constexpr double kInf = std::numeric_limits<double>::infinity();
    for (int y = y0; y <= y1; ++y) {
        double lo = kInf, hi = -kInf;
        const double ry = y - p.y(), qy = y - q.y();
        if (ry * ry <= r2 + kEps) {
            const double h = std::sqrt(std::max(0.0, r2 - ry * ry));
            lo = p.x() - h;
            hi = p.x() + h;
        }
        if (qy * qy <= r2 + kEps) {
            const double h = std::sqrt(std::max(0.0, r2 - qy * qy));
            lo = std::min(lo, q.x() - h);
            hi = std::max(hi, q.x() + h);
        }
        if (len2 > 0) {
            if (dy == 0) {
                if (std::fabs(ry) <= r + kEps) {
                    lo = std::min(lo, minX);
                    hi = std::max(hi, maxX);
                }
            } else {
                // Perpendicular distance: |(x - px) dy - ry dx| <= r len.
                const double c = ry * dx;
                double a1 = (c - rl) * invDy + p.x(), a2 = (c + rl) * invDy + p.x();
                if (a1 > a2) std::swap(a1, a2);
                // Projection on the segment: 0 <= (x - px) dx + ry dy <= len2.
                double b1 = -kInf, b2 = kInf;
                if (dx == 0) {
                    const double t = ry * dy;
                    if (t < -kEps || t > len2 + kEps) b1 = kInf;
                } else {
                    b1 = (-ry * dy) * invDx + p.x();
                    b2 = (len2 - ry * dy) * invDx + p.x();
                    if (b1 > b2) std::swap(b1, b2);
                }
                const double l = std::max(a1, b1), h = std::min(a2, b2);
                if (l <= h) {
                    lo = std::min(lo, l);
                    hi = std::max(hi, h);
                }
            }
        }
        if (lo > hi) continue;
        const double cl = std::max(lo, -1.0), ch = std::min(hi, double(s.Width()));
        s.Span(y, int(std::ceil(cl - kEps)), int(std::floor(ch + kEps)));
    }
}

// Pattern of a one-pixel pen in pixels (on, off, ...).
const std::vector<int>& ThinPattern(int style)
{
    static const std::vector<int> solid, dash{3, 1}, dot{1, 1}, dashDot{3, 1, 1, 1}, dashDotDot{3, 1, 1, 1, 1, 1};
    switch (style) {
    case gpsDash: return dash;
    case gpsDot: return dot;
    case gpsDashDot: return dashDot;
    case gpsDashDotDot: return dashDotDot;
    default: return solid;
    }
}

// Pattern of a wide pen along its centre line, in pen widths. Every piece gets round caps half a
// width long, so a piece of 2 shows as 3 widths and a piece of 0 as a round dot.
const std::vector<double>& WidePattern(int style)
{
    static const std::vector<double> solid, dash{2, 2}, dot{0, 2}, dashDot{2, 2, 0, 2}, dashDotDot{2, 2, 0, 2, 0, 2};
    switch (style) {
    case gpsDash: return dash;
    case gpsDot: return dot;
    case gpsDashDot: return dashDot;
    case gpsDashDotDot: return dashDotDot;
    default: return solid;
    }
}

void ThinStroke(Sink& s, const std::vector<QPoint>& pts, bool closed, int style)
{
    if (pts.empty()) return;
    const auto& pattern = ThinPattern(style);
    size_t patIndex = 0;
    int patLeft = pattern.empty() ? 0 : pattern[0];
    auto put = [&](int x, int y) {
        if (pattern.empty() || patIndex % 2 == 0) s.Plot(x, y);
        if (!pattern.empty() && --patLeft <= 0) {
            patIndex = (patIndex + 1) % pattern.size();
            patLeft = pattern[patIndex];
        }
    };
    std::vector<QPoint> run = pts;
    if (closed && run.size() > 1) run.push_back(run.front());
    put(run[0].x(), run[0].y());
    int period = 0;
    for (int v : pattern) period += v;
    for (size_t i = 1; i < run.size(); ++i) {
        int x = run[i - 1].x(), y = run[i - 1].y();
        const int x2 = run[i].x(), y2 = run[i].y();
        // A piece wholly off the picture only moves the pattern on (a pixel per step).
        if (std::max(x, x2) < 0 || std::min(x, x2) >= s.Width() || std::max(y, y2) < 0 || std::min(y, y2) >= s.Height()) {
            if (period > 0) {
                const int closing = closed && i + 1 == run.size() ? 1 : 0;
                long long steps = std::max(std::abs(qint64(x2) - x), std::abs(qint64(y2) - y)) - closing;
                steps %= period;
                while (steps-- > 0) {
                    if (--patLeft <= 0) {
                        patIndex = (patIndex + 1) % pattern.size();
                        patLeft = pattern[patIndex];
                    }
                }
            }
            continue;
        }
        const int dx = std::abs(x2 - x), sx = x < x2 ? 1 : -1;
        const int dy = -std::abs(y2 - y), sy = y < y2 ? 1 : -1;
        int err = dx + dy;
        while (x != x2 || y != y2) {
            const int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x += sx; }
            if (e2 <= dx) { err += dx; y += sy; }
            // The closing point of a closed figure is its first point, already drawn.
            if (closed && i + 1 == run.size() && x == x2 && y == y2) break;
            put(x, y);
        }
    }
}

void WideStroke(Sink& s, std::vector<QPointF> pts, bool closed, int width, int style)
{
    if (pts.empty()) return;
    const double r = width / 2.0;
    if (width % 2 == 0)
        for (QPointF& p : pts) p -= QPointF(0.5, 0.5);
    if (closed && pts.size() > 1) pts.push_back(pts.front());
    const auto& pattern = WidePattern(style);
    if (pattern.empty() || pts.size() == 1) {
        if (pts.size() == 1) Capsule(s, pts[0], pts[0], r);
        for (size_t i = 1; i < pts.size(); ++i) Capsule(s, pts[i - 1], pts[i], r);
        return;
    }
    size_t patIndex = 0;
    double patLeft = pattern[0] * width;
    bool dotPending = pattern[0] == 0;
    double period = 0;
    for (double v : pattern) period += v * width;
    for (size_t i = 1; i < pts.size(); ++i) {
        QPointF a = pts[i - 1];
        const QPointF b = pts[i];
        double segLeft = std::hypot(b.x() - a.x(), b.y() - a.y());
        const QPointF dir = segLeft > 0 ? (b - a) / segLeft : QPointF();
        // A piece wholly off the picture only moves the pattern on; whole periods are skipped at once.
        if (std::max(a.x(), b.x()) + r < 0 || std::min(a.x(), b.x()) - r > s.Width() || std::max(a.y(), b.y()) + r < 0 ||
            std::min(a.y(), b.y()) - r > s.Height()) {
            double left = std::fmod(segLeft, period);
            while (left > kEps) {
                const double step = std::min(left, patLeft);
                left -= step;
                patLeft -= step;
                if (patLeft <= kEps) {
                    patIndex = (patIndex + 1) % pattern.size();
                    patLeft = pattern[patIndex] * width;
                }
            }
            dotPending = patIndex % 2 == 0 && pattern[patIndex] == 0;
            continue;
        }
        while (true) {
            if (dotPending) {
                Capsule(s, a, a, r);
                dotPending = false;
            }
            const double step = std::min(segLeft, patLeft);
            const QPointF e = a + dir * step;
            if (patIndex % 2 == 0 && step > 0) Capsule(s, a, e, r);
            a = e;
            segLeft -= step;
            patLeft -= step;
            if (patLeft <= kEps) {
                patIndex = (patIndex + 1) % pattern.size();
                patLeft = pattern[patIndex] * width;
                dotPending = patIndex % 2 == 0 && pattern[patIndex] == 0;
                if (dotPending) continue;
            }
            if (segLeft <= kEps) break;
        }
    }
}

} // namespace

void TFlatPath::AddPolyline(const std::vector<QPoint>& pts, bool closed)
{
    Figure f;
    f.Closed = closed;
    f.Pts.reserve(pts.size());
    for (const QPoint& p : pts) f.Pts.emplace_back(p);
    Figures.push_back(std::move(f));
}

std::vector<QPoint> TFlatPath::IntegerPoints() const
{
    std::vector<QPoint> out;
    for (const Figure& f : Figures)
        for (const QPointF& p : f.Pts) out.emplace_back(Round(p.x()), Round(p.y()));
    return out;
}

TFlatPath RectanglePath(int x1, int y1, int x2, int y2)
{
    TFlatPath path;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return path;
    path.AddPolyline({QPoint(x1, y1), QPoint(x2 - 1, y1), QPoint(x2 - 1, y2 - 1), QPoint(x1, y2 - 1)}, true);
    return path;
}

static TFlatPath FromPainterPath(const QPainterPath& pp, bool closed)
{
    TFlatPath path;
    for (const QPolygonF& poly : pp.toSubpathPolygons()) {
        TFlatPath::Figure f;
        f.Closed = closed;
        for (const QPointF& p : poly) {
            if (!f.Pts.empty() && f.Pts.back() == p) continue;
            f.Pts.push_back(p);
        }
        if (closed && f.Pts.size() > 1 && f.Pts.front() == f.Pts.back()) f.Pts.pop_back();
        path.Figures.push_back(std::move(f));
    }
    return path;
}

TFlatPath EllipsePath(int x1, int y1, int x2, int y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return {};
    QPainterPath pp;
    pp.addEllipse(QRectF(x1, y1, x2 - 1 - x1, y2 - 1 - y1));
    return FromPainterPath(pp, true);
}

TFlatPath BezierPath(QPoint p0, QPoint p1, QPoint p2, QPoint p3)
{
    QPainterPath pp(p0);
    pp.cubicTo(p1, p2, p3);
    TFlatPath path = FromPainterPath(pp, false);
    if (path.Figures.empty() || path.Figures[0].Pts.empty()) path.AddPolyline({p0, p3}, false);
    return path;
}

void StrokePath(QImage& img, const TFlatPath& path, const TGeoPen& pen, TPenMode mode)
{
    if (img.isNull()) return;
    Sink s(img, pen.Color, mode);
    for (const TFlatPath::Figure& f : path.Figures) {
        if (f.Pts.empty()) continue;
        if (pen.Width <= 1) {
            std::vector<QPoint> pts;
            pts.reserve(f.Pts.size());
            for (const QPointF& p : f.Pts) {
                const QPoint q(Round(p.x()), Round(p.y()));
                if (pts.empty() || pts.back() != q) pts.push_back(q);
            }
            ThinStroke(s, pts, f.Closed, pen.Style);
        } else {
            WideStroke(s, f.Pts, f.Closed, pen.Width, pen.Style);
        }
    }
}

void StrokeDot(QImage& img, QPoint p, const TGeoPen& pen, TPenMode mode)
{
    TFlatPath path;
    path.AddPolyline({p}, false);
    TGeoPen solid = pen;
    solid.Style = gpsSolid;
    StrokePath(img, path, solid, mode);
}

std::vector<unsigned char> PolygonMask(const std::vector<QPoint>& poly, QPoint origin, int w, int h)
{
    std::vector<unsigned char> mask(size_t(std::max(0, w)) * size_t(std::max(0, h)), 0);
    if (poly.size() < 3 || w <= 0 || h <= 0) return mask;
    // Only the rows of the area are scanned, so points far outside it cost nothing. On a row, each
    // edge that spans it (top end in, bottom end out; level edges never) crosses it at the first
    // whole x at or right of the exact crossing, and a pixel is inside when an odd number of
    // crossings lie at or left of it: exactly the pixels of the polygon's odd-even QRegion.
    struct Edge {
        qint64 x0, y0, dx, dy; // top end, and the run to the bottom end (dy > 0)
    };
    std::vector<Edge> edges;
    const qint64 top = origin.y(), bottom = top + h;
    for (size_t i = 0; i < poly.size(); ++i) {
        QPoint a = poly[i], b = poly[(i + 1) % poly.size()];
        if (a.y() > b.y()) std::swap(a, b);
        if (a.y() == b.y() || b.y() <= top || a.y() >= bottom) continue;
        edges.push_back({a.x(), a.y(), qint64(b.x()) - a.x(), qint64(b.y()) - a.y()});
    }
    std::vector<qint64> crossings;
    for (int y = 0; y < h; ++y) {
        const qint64 row = top + y;
        crossings.clear();
        for (const Edge& e : edges) {
            if (row < e.y0 || row >= e.y0 + e.dy) continue;
            // x0 + ceil((row - y0) * dx / dy); the product needs more than 64 bits at the extremes.
            const __int128 num = __int128(row - e.y0) * e.dx;
            const __int128 q = num / e.dy, rem = num % e.dy;
            crossings.push_back(e.x0 + qint64(q + (rem > 0 ? 1 : 0)) - origin.x());
        }
        std::sort(crossings.begin(), crossings.end());
        unsigned char* line = mask.data() + size_t(y) * size_t(w);
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const qint64 from = std::max<qint64>(crossings[k], 0), to = std::min<qint64>(crossings[k + 1], w);
            if (from < to) std::fill(line + from, line + to, 1);
        }
    }
    return mask;
}

namespace {

// Shrinks to w x h, no larger than the source in either axis: each target pixel is the AND of the
// source pixels that fall into it.
QImage ShrinkKeepingDark(const QImage& src, int w, int h)
{
    const int sw = src.width(), sh = src.height();
    QImage out(w, h, QImage::Format_RGB32);
    std::vector<int> firstColumn(size_t(w) + 1);
    for (int tx = 0; tx <= w; ++tx) firstColumn[size_t(tx)] = int(qint64(tx) * sw / w);
    for (int ty = 0; ty < h; ++ty) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(ty));
        std::fill(row, row + w, 0xFFFFFFFFu);
        const int y1 = int(qint64(ty + 1) * sh / h);
        for (int y = int(qint64(ty) * sh / h); y < y1; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
            for (int tx = 0; tx < w; ++tx)
                for (int x = firstColumn[size_t(tx)]; x < firstColumn[size_t(tx) + 1]; ++x) row[tx] &= line[x];
        }
    }
    return out;
}

} // namespace

QImage StretchPicture(const QImage& src, QSize size, bool halftone)
{
    if (src.isNull() || size.isEmpty()) return QImage();
    const QImage rgb = src.convertToFormat(QImage::Format_RGB32);
    if (halftone) return rgb.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QSize shrunk = size.boundedTo(rgb.size());
    const QImage merged = shrunk == rgb.size() ? rgb : ShrinkKeepingDark(rgb, shrunk.width(), shrunk.height());
    return shrunk == size ? merged : merged.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

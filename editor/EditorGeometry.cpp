#include "EditorGeometry.h"

#include "MathUtil.h"
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
constexpr double kPi = 3.14159265358979323846;
double Rad(double deg) { return deg * kPi / 180.0; }
} // namespace

int TViewScale::ToView(int x) const
{
    // x * Zoom is exact; a half shows as exactly .5 after the division, so the tie goes to even.
    return Round(double(std::int64_t(x) * Zoom) / 100.0);
}

int TViewScale::ToCanvas(int v) const
{
    if (Zoom == 0) return 0;
    return int((std::int64_t(v) * 100) / Zoom);
}

double AngleOf(QPoint p1, QPoint p2)
{
    return std::atan2(double(p1.y() - p2.y()), double(p2.x() - p1.x())) * 180.0 / kPi;
}

double DistanceOf(QPoint p1, QPoint p2)
{
    const double dx = p2.x() - p1.x(), dy = p2.y() - p1.y();
    return std::sqrt(dx * dx + dy * dy);
}

QPoint PolarPoint(double r, double angleDeg)
{
    return QPoint(Round(r * std::cos(Rad(angleDeg))), Round(-r * std::sin(Rad(angleDeg))));
}

int RoundOutward(double x)
{
    return x >= 0 ? Trunc(x + 0.9) : Trunc(x - 0.9);
}

int PenWidthForSetting(int kind, int setting)
{
    // Settings come from records, which a snapshot may carry with any value: keep the sums in range.
    long long w = setting < 0 ? -static_cast<long long>(setting) : setting;
    if (kind == 11 || kind == 12 || kind == 14 || kind == 17) {
        if (w >= 11 && w <= 20) w = 3 * w - 20;
        else if (w >= 21) w = 7 * w - 100;
    }
    if (w <= 0) w = 1;
    return int(std::min<long long>(w, 1 << 20));
}

TCurve CurvedLinePoints(QPoint p1, QPoint p2, int curvature)
{
    TCurve c;
    double b = double(curvature) * 10.0;
    if (b == 0) {
        c.Count = 2;
        c.Pts[0] = p1;
        c.Pts[1] = p2;
        return c;
    }
    // A full turn would put the centre at infinity: one degree more keeps the circle finite.
    if (std::fmod(b, 360.0) == 0) b += 1;
    double half, direction;
    if (b > 0) {
        half = (180.0 - b) / 2.0;
        direction = AngleOf(p1, p2) - half;
    } else {
        half = (b + 180.0) / 2.0;
        direction = AngleOf(p1, p2) + half;
    }
    const double cosHalf = std::cos(Rad(half));
    const double r = cosHalf == 0 ? 0.0 : DistanceOf(p1, p2) / (2.0 * cosHalf);
    const QPoint o = p1 + PolarPoint(r, direction);
    QPoint c1, c2;
    if (std::fabs(b) <= 360.0) {
        const double t = b / 3.0;
        c1 = o + PolarPoint(r, AngleOf(o, p1) - t);
        c2 = o + PolarPoint(r, AngleOf(o, p2) + t);
    } else {
        const double bb = b > 0 ? b + 10.0 : b - 10.0;
        const double t = bb / 3.0;
        c1 = o + PolarPoint(1.6 * r, AngleOf(o, p2) + t);
        c2 = o + PolarPoint(1.6 * r, AngleOf(o, p1) - t);
    }
    c.Count = 4;
    c.Pts = {p1, c1, c2, p2};
    return c;
}

QPoint StretchMargins(int w, int h, int amount, int type)
{
    if (amount == 0 && type == 0) return QPoint(0, 0);
    if (w <= 0 || h <= 0) return QPoint(0, 0);
    const int m = std::min(w, h);
    const int step = m < 20 ? 1 : m < 50 ? 2 : m < 100 ? 3 : m < 200 ? 5 : 10;
    const double factor = type == 1 ? 0.75 : type == 2 ? 0.5 : 1.0;
    const double a = double(amount) * step;
    double W, H;
    if (w < h) {
        W = std::nearbyint(double(w) * (h + a) / h);
        H = h + a;
    } else {
        W = w + a;
        H = std::nearbyint(double(h) * (w + a) / w);
    }
    const double fw = std::nearbyint(factor * W), fh = std::nearbyint(factor * H);
    if (fw == 0 || fh == 0) return QPoint(0, 0);
    // Out-of-range amounts (only from a damaged record) are held to a size a bitmap can have.
    const double cap = 1 << 16;
    const double mx = std::clamp((fw - w) / 2.0, -cap, cap), my = std::clamp((fh - h) / 2.0, -cap, cap);
    return QPoint(int(std::trunc(mx)), int(std::trunc(my)));
}

QRect FitToWorkAreaRect(int screenW, int screenH, const TTaskbar& bar)
{
    int w = screenW, h = screenH;
    if (!bar.AutoHide) {
        if (bar.Edge == 0 || bar.Edge == 2) w -= bar.Rect.width();
        else if (bar.Edge == 1 || bar.Edge == 3) h -= bar.Rect.height();
    }
    const int width = std::max(w, 1024), height = h;
    const int left = std::max(0, (screenW - width) / 2);
    const int top = std::max(0, (h - height) / 2);
    return QRect(left, top, width, height);
}

TColor ContrastTextColor(TColor c)
{
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    if (r + g > 254) return clBlack;
    if ((r > 190 || g > 190) && b <= 64) return clBlack;
    return clWhite;
}

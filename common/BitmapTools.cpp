#include "BitmapTools.h"

#include "MathUtil.h"

#include <cmath>
#include <numbers>

void MirrorBitmap(const TBitmap& src, TBitmap& dst)
{
    if (src.Empty()) return;
    // Mirrored into a copy first, so src and dst may be one bitmap.
    const QImage mirrored = src.Image().convertToFormat(QImage::Format_RGB32).mirrored(true, false);
    dst.Canvas().Draw(0, 0, mirrored, false);
}

void RotateBitmap(const TBitmap& src, int angleDeg, TColor bgColor, TBitmap& dst)
{
    const QImage work = src.Image().isNull() ? QImage() : src.Image().convertToFormat(QImage::Format_RGB32);
    const int w = work.width();
    const int h = work.height();
    const double theta = angleDeg * std::numbers::pi / 180.0;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const int rw = Round(std::fabs(w * c) + std::fabs(h * s));
    const int rh = Round(std::fabs(w * s) + std::fabs(h * c));

    QImage result(rw, rh, QImage::Format_RGB32);
    const QRgb background = ToPixel(bgColor & 0xFFFFFF);
    // Stepped along each row and from row to row, not recomputed per pixel: where a position falls
    // exactly on a pixel edge, as many do at 45 degrees, the stepped sums decide the side, and the
    // turned player pictures look as they always have.
    const double du0 = 0.5 - rw / 2.0;
    const double dv0 = 0.5 - rh / 2.0;
    double rowX = w / 2.0 + du0 * c + dv0 * s;
    double rowY = h / 2.0 - du0 * s + dv0 * c;
    for (int v = 0; v < rh; ++v) {
        QRgb* line = reinterpret_cast<QRgb*>(result.scanLine(v));
        double x = rowX;
        double y = rowY;
        for (int u = 0; u < rw; ++u) {
            const double fx = std::floor(x);
            const double fy = std::floor(y);
            if (fx >= 0 && fy >= 0 && fx < w && fy < h)
                line[u] = reinterpret_cast<const QRgb*>(work.constScanLine(int(fy)))[int(fx)];
            else
                line[u] = background;
            x += c;
            y -= s;
        }
        rowX += s;
        rowY += c;
    }
    dst.Assign(result);
}

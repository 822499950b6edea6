#include "FloatingTransform.h"

#include "EditorGdi.h"
#include "MathUtil.h"
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

TBounds StretchBounds(const TBounds& s, int tag, QPoint d, double ratio, bool heightLed)
{
    TBounds b = s;
    const int dx = d.x(), dy = d.y();
    switch (tag) {
    case stHL:
        b.Left = s.Left + dx;
        b.Width = s.Width - dx;
        return b;
    case stHR: b.Width = s.Width + dx; return b;
    case stVT:
        b.Top = s.Top + dy;
        b.Height = s.Height - dy;
        return b;
    case stVB: b.Height = s.Height + dy; return b;
    default: break;
    }
    const bool left = tag == stLT || tag == stLB, top = tag == stLT || tag == stRT;
    if (heightLed) {
        b.Height = top ? s.Height - dy : s.Height + dy;
        if (top) b.Top = s.Top + dy;
        b.Width = Round(b.Height * ratio);
        if (left) b.Left = s.Left + s.Width - b.Width;
    } else {
        b.Width = left ? s.Width - dx : s.Width + dx;
        if (left) b.Left = s.Left + dx;
        b.Height = ratio != 0 ? Round(b.Width / ratio) : b.Height;
        if (top) b.Top = s.Top + s.Height - b.Height;
    }
    return b;
}

TBounds PositiveBounds(const TBounds& b, bool& flipH, bool& flipV)
{
    TBounds r = b;
    flipH = b.Width < 0;
    flipV = b.Height < 0;
    if (flipH) {
        r.Width = -b.Width;
        r.Left = b.Left - r.Width;
    }
    if (flipV) {
        r.Height = -b.Height;
        r.Top = b.Top - r.Height;
    }
    return r;
}

std::vector<QRect> HandleRects(THandle::TKind set, const QRect& c, int size)
{
    const int w = std::clamp(size, 6, 12), h = w;
    const int l = c.left(), t = c.top(), cw = c.width(), ch = c.height();
    const int midX = l + (cw - w) / 2, midY = t + (ch - h) / 2;
    const QRect hl(l - w - 3, midY, w, h), hr(l + cw + 3, midY, w, h);
    const QRect vt(midX, t - h - 3, w, h), vb(midX, t + ch + 3, w, h);
    const QRect lt(l - w - 2, t - h - 2, w, h), rt(l + cw + 2, t - h - 2, w, h);
    const QRect lb(l - w - 2, t + ch + 2, w, h), rb(l + cw + 2, t + ch + 2, w, h);
    switch (set) {
    case THandle::Stretch: return {hl, hr, vt, vb, lt, rt, lb, rb};
    case THandle::Rotate: return {lt, rt, lb, rb};
    case THandle::Flip: return {hl, hr, vt, vb};
    }
    return {};
}

QSize RotatedSize(QSize size, double theta)
{
    const double c = std::fabs(std::cos(theta)), s = std::fabs(std::sin(theta));
    return QSize(Round(c * size.width() + s * size.height()), Round(s * size.width() + c * size.height()));
}

QImage RotateBitmap(const QImage& source, double theta, TColor fill)
{
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    const int w = src.width(), h = src.height();
    const QSize out = RotatedSize(src.size(), theta);
    QImage dst(std::max(1, out.width()), std::max(1, out.height()), QImage::Format_RGB32);
    const QRgb fillPixel = ToPixel(fill);
    const double c = std::cos(theta), s = std::sin(theta);
    const double ox = dst.width() / 2.0 - 0.5, oy = dst.height() / 2.0 - 0.5;
    // Source coordinates of the row's first pixel, stepped by (c, -s) along the row and (s, c) down.
    double rowX = w / 2.0 + c * (0 - ox) + s * (0 - oy), rowY = h / 2.0 - s * (0 - ox) + c * (0 - oy);
    const uchar* bits = src.constBits();
    const qsizetype stride = src.bytesPerLine();
    for (int y = 0; y < dst.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(dst.scanLine(y));
        double sx = rowX, sy = rowY;
        for (int x = 0; x < dst.width(); ++x) {
            // Inside the source the coordinates are not negative, so truncating is the floor.
            if (sx >= 0 && sy >= 0 && sx < w && sy < h)
                line[x] = reinterpret_cast<const QRgb*>(bits + stride * qsizetype(sy))[int(sx)] | 0xFF000000u;
            else
                line[x] = fillPixel;
            sx += c;
            sy -= s;
        }
        rowX += s;
        rowY += c;
    }
    return dst;
}

namespace {

// A rotation source is taken at the size the image shows, but never larger than this.
constexpr qint64 kMaxRotationPixels = 16LL * 1024 * 1024;
// Memory the process keeps for rotation steps once it has had it; larger rotations go without.
constexpr qint64 kKeptStepMemory = 64LL << 20;

// The size the rotation source of the image is taken at: the size it shows, within the limit.
QSize rotationSourceSize(const TFloatingImage& c)
{
    const QSize size(std::max(1, std::abs(c.Width())), std::max(1, std::abs(c.Height())));
    const qint64 pixels = qint64(size.width()) * size.height();
    return pixels > kMaxRotationPixels ? size.scaled(QSize(4096, 4096), Qt::KeepAspectRatio) : size;
}

} // namespace

// Each step makes a turned picture and its see-through copy while the last step's two still show,
// and in a rotation's first steps each is bigger than any picture before it. The allocator maps
// such pictures fresh from the system and hands them back when freed, and every 4 KB of fresh
// memory costs a page fault at its first touch: at 975 % that took a third of each of the first
// steps. So the allocator is told to serve pictures up to 32 MB (the ceiling its own adjustment
// would reach) from its heap and to keep what is freed there, and room for five pictures of the
// widest turn (the steps' four, and the source with its scaled copy) is touched here, once for
// the largest rotation so far.
void PrepareRotation(const TFloatingImage& c)
{
#ifdef __GLIBC__
    static qint64 prepared = 0;
    const QSize source = rotationSourceSize(c);
    const int side = int(std::ceil(std::hypot(source.width(), source.height()))) + 1;
    const qint64 room = 5 * qint64(side) * side * 4;
    if (room <= prepared || room > kKeptStepMemory) return;
    if (prepared == 0) {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, int(kKeptStepMemory));
    }
    std::vector<QImage> pictures;
    for (int i = 0; i < 5; ++i) pictures.emplace_back(side, side, QImage::Format_ARGB32).fill(0);
    prepared = room;
#else
    (void)c;
#endif
}

void TakeRotationSource(TFloatingImage& c)
{
    c.RotationShownSize = QSize(std::max(1, std::abs(c.Width())), std::max(1, std::abs(c.Height())));
    const QImage scaled = c.Picture().scaled(rotationSourceSize(c), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    c.RotationSource = ComposeOverWhite(scaled);
    c.Angle = 0;
    PrepareRotation(c);
}

void ShowTurned(TFloatingImage& c, QPoint centre, TColor fill)
{
    c.SetPicture(RotateBitmap(c.RotationSource, c.Angle, fill));
    const QSize size = RotatedSize(c.RotationShownSize, c.Angle);
    c.SetBounds({centre.x() - size.width() / 2, centre.y() - size.height() / 2, std::max(1, size.width()),
                 std::max(1, size.height())});
}

QRect OpaqueBounds(const QImage& picture, TColor transparent)
{
    const QImage img = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb key = ToPixel(transparent);
    int l = img.width(), t = img.height(), r = -1, b = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key) continue;
            l = std::min(l, x);
            r = std::max(r, x);
            t = std::min(t, y);
            b = std::max(b, y);
        }
    }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

QImage FlipBitmap(const QImage& picture, int tag)
{
    return picture.mirrored(tag == 0, tag != 0);
}

QImage FrameBitmap(int tag, QSize imageSize)
{
    const int W = imageSize.width() + 6, H = imageSize.height() + 6;
    QImage f(std::max(1, W), std::max(1, H), QImage::Format_RGB32);
    f.fill(ToPixel(clWhite));
    if (tag == 1) {
        // Dashes 2 pixels thick and 4 long every 12 pixels along each edge, and one at each
        // right-hand corner.
        const QRgb red = ToPixel(clRed);
        auto fill = [&](int x, int y, int w, int h) {
            const QRect r = QRect(x, y, w, h).intersected(f.rect());
            for (int yy = r.top(); yy <= r.bottom(); ++yy)
                std::fill_n(reinterpret_cast<QRgb*>(f.scanLine(yy)) + r.left(), r.width(), red);
        };
        for (int x = 0; x < W; x += 12) {
            fill(x, 1, 4, 2);
            fill(x, H - 3, 4, 2);
        }
        for (int y = 0; y < H; y += 12) {
            fill(1, y, 2, 4);
            fill(W - 3, y, 2, 4);
        }
        fill(W - 4, 1, 4, 2);
        fill(W - 4, H - 3, 4, 2);
        return f;
    }
    const TGeoPen pen{3, clRed, gpsSolid};
    const TFlatPath frame = tag == 0 ? RectanglePath(1, 1, W, H) : RectanglePath(2, 2, W - 1, H - 1);
    StrokePath(f, frame, pen, TPenMode::pmCopy);
    return f;
}

int ArrowStep(const TViewScale& scale)
{
    for (int n = 1; n < 100000; ++n)
        if (scale.ToView(scale.ToCanvas(n)) >= 1) return n;
    return 1;
}

QImage ComposeOverWhite(const QImage& picture)
{
    QImage out(picture.size(), QImage::Format_RGB32);
    out.fill(ToPixel(clWhite));
    QPainter p(&out);
    p.drawImage(0, 0, picture);
    return out;
}

QSize TextPictureSize(const QStringList& lines, const TFont& font, int spacing)
{
    TBitmap measure(1, 1);
    measure.Canvas().Font = font;
    qint64 width = 0, height = 0;
    for (const QString& line : lines) {
        width = std::max<qint64>(width, measure.Canvas().TextWidth(line));
        height += measure.Canvas().TextHeight(line) + spacing;
    }
    height -= spacing;
    constexpr qint64 kLimit = 1 << 20;
    return QSize(int(std::clamp<qint64>(width, 1, kLimit)), int(std::clamp<qint64>(height, 1, kLimit)));
}

QImage TextPicture(const QStringList& lines, const TFont& font, int spacing)
{
    const QSize size = TextPictureSize(lines, font, spacing);
    TBitmap pic(size.width(), size.height());
    TCanvas& c = pic.Canvas();
    c.Font = font;
    c.Brush.Color = clWhite;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.FillRect(0, 0, pic.Width(), pic.Height());
    int y = 0;
    for (const QString& line : lines) {
        c.TextOut(0, y, line);
        y += c.TextHeight(line) + spacing;
    }
    return pic.Image();
}

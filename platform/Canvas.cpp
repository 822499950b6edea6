#include "Canvas.h"

#include <QFile>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// GDI's dash patterns for one-pixel pens, in pixels: on, off, on, off ...
const std::vector<int>& dashPattern(TPenStyle s)
{
    static const std::vector<int> solid;
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{3, 3};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    switch (s) {
    case TPenStyle::psDash: return dash;
    case TPenStyle::psDot: return dot;
    case TPenStyle::psDashDot: return dashDot;
    case TPenStyle::psDashDotDot: return dashDotDot;
    default: return solid;
    }
}

} // namespace

QRgb CombinePen(QRgb dst, QRgb src, TPenMode mode)
{
    switch (mode) {
    case TPenMode::pmCopy: return src;
    case TPenMode::pmNotXor: return 0xFF000000u | (~(src ^ dst) & 0xFFFFFFu);
    case TPenMode::pmXor: return 0xFF000000u | ((src ^ dst) & 0xFFFFFFu);
    case TPenMode::pmMask: return 0xFF000000u | (src & dst);
    case TPenMode::pmMerge: return 0xFF000000u | ((src | dst) & 0xFFFFFFu);
    case TPenMode::pmNot: return 0xFF000000u | (~dst & 0xFFFFFFu);
    }
    return src;
}

namespace {

QRgb combine(QRgb dst, QRgb src, TPenMode mode)
{
    return CombinePen(dst, src, mode);
}

QRgb combineCopy(QRgb dst, QRgb src, TCopyMode mode)
{
    switch (mode) {
    case TCopyMode::cmSrcCopy: return src;
    case TCopyMode::cmSrcAnd: return 0xFF000000u | (src & dst);
    case TCopyMode::cmSrcPaint: return 0xFF000000u | ((src | dst) & 0xFFFFFFu);
    case TCopyMode::cmSrcInvert: return 0xFF000000u | ((src ^ dst) & 0xFFFFFFu);
    case TCopyMode::cmNotSrcCopy: return 0xFF000000u | (~src & 0xFFFFFFu);
    }
    return src;
}

// Pixels covered by a shape, drawn without antialiasing into a mask the size of the target.
QImage coverage(const QImage& like)
{
    QImage m(like.size(), QImage::Format_ARGB32_Premultiplied);
    m.fill(0);
    return m;
}

void applyCoverage(QImage& dst, const QImage& mask, TColor color, TPenMode mode)
{
    const QRgb src = ToPixel(color);
    for (int y = 0; y < dst.height(); ++y) {
        const QRgb* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(dst.scanLine(y));
        for (int x = 0; x < dst.width(); ++x)
            if (qAlpha(m[x]) != 0) d[x] = combine(d[x], src, mode);
    }
}

void beginAliased(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

} // namespace

QFont TFont::ToQFont() const
{
    // The typeface a substituted name stands for is asked for by its own name: for a name it does
    // not know, Qt first has fontconfig sort every font for each script of the text, several
    // milliseconds at start, and then draws with the same typeface all the same.
    QFont f(QFont::substitute(Name));
    f.setPixelSize(std::max(1, PixelHeight));
    f.setBold(Bold);
    f.setItalic(Italic);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

void TCanvas::plot(int x, int y, TColor c, TPenMode mode)
{
    if (x < 0 || y < 0 || x >= m_img->width() || y >= m_img->height()) return;
    QRgb* line = reinterpret_cast<QRgb*>(m_img->scanLine(y));
    line[x] = combine(line[x], ToPixel(c), mode);
}

void TCanvas::thinLine(int x1, int y1, int x2, int y2, bool includeEnd)
{
    if (Pen.Style == TPenStyle::psClear) return;
    const auto& pattern = dashPattern(Pen.Style);
    int patIndex = 0, patLeft = pattern.empty() ? 0 : pattern[0];
    const bool gapsPainted = Brush.Style == TBrushStyle::bsSolid;
    int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    for (;;) {
        const bool atEnd = x == x2 && y == y2;
        if (atEnd && !includeEnd) break;
        if (pattern.empty() || patIndex % 2 == 0)
            plot(x, y, Pen.Color, Pen.Mode);
        else if (gapsPainted)
            plot(x, y, Brush.Color, Pen.Mode);
        if (!pattern.empty() && --patLeft == 0) {
            patIndex = (patIndex + 1) % int(pattern.size());
            patLeft = pattern[size_t(patIndex)];
        }
        if (atEnd) break;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += sx; }
        if (e2 <= dx) { err += dx; y += sy; }
    }
}

void TCanvas::penPath(const std::vector<QPoint>& pts, bool closed)
{
    if (pts.empty() || Pen.Style == TPenStyle::psClear) return;
    QPen qp(ToQColor(Pen.Color), Pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPolygon poly;
    for (const QPoint& p : pts) poly << p;
    auto draw = [&](QPainter& p) {
        beginAliased(p);
        p.setPen(qp);
        p.setBrush(Qt::NoBrush);
        if (poly.size() == 1 || (poly.size() == 2 && poly[0] == poly[1]))
            p.drawPoint(poly[0]);
        else if (closed)
            p.drawPolygon(poly);
        else
            p.drawPolyline(poly);
    };
    if (Pen.Mode == TPenMode::pmCopy) {
        QPainter p(m_img);
        draw(p);
    } else {
        QImage mask = coverage(*m_img);
        qp.setColor(Qt::black);
        {
            QPainter p(&mask);
            draw(p);
        }
        applyCoverage(*m_img, mask, Pen.Color, Pen.Mode);
    }
}

void TCanvas::LineTo(int x, int y)
{
    if (simplePen())
        thinLine(m_pen.x(), m_pen.y(), x, y, false);
    else
        penPath({m_pen, QPoint(x, y)}, false);
    m_pen = QPoint(x, y);
}

void TCanvas::Polyline(const std::vector<QPoint>& pts)
{
    if (pts.empty()) return;
    if (simplePen()) {
        // Each joint is drawn once, and the last point is included, as a polyline does.
        for (size_t i = 1; i < pts.size(); ++i)
            thinLine(pts[i - 1].x(), pts[i - 1].y(), pts[i].x(), pts[i].y(), i + 1 == pts.size());
    } else {
        penPath(pts, false);
    }
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    const bool penOn = Pen.Style != TPenStyle::psClear;
    if (Brush.Style == TBrushStyle::bsSolid) {
        // With no pen the filled area is one pixel smaller, as the platform draws it.
        const int shrink = penOn ? 0 : 1;
        TPen keep = Pen;
        const TColor fill = Brush.Color;
        QRect r(x1, y1, x2 - x1 - shrink, y2 - y1 - shrink);
        r = r.intersected(m_img->rect());
        for (int y = r.top(); y <= r.bottom(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(m_img->scanLine(y));
            for (int x = r.left(); x <= r.right(); ++x) line[x] = combine(line[x], ToPixel(fill), Pen.Mode);
        }
        Pen = keep;
    }
    if (!penOn) return;
    if (simplePen()) {
        TBrush keep = Brush;
        Brush.Style = TBrushStyle::bsClear;
        thinLine(x1, y1, x2 - 1, y1, true);
        if (y2 - 1 > y1) {
            thinLine(x2 - 1, y1 + 1, x2 - 1, y2 - 1, true);
            if (x2 - 1 > x1) thinLine(x2 - 2, y2 - 1, x1, y2 - 1, true);
            if (y2 - 2 > y1) thinLine(x1, y2 - 2, x1, y1 + 1, true);
        }
        Brush = keep;
    } else {
        // A wide pen's centre runs on the rectangle's inner edge, with square corners.
        QPen qp(ToQColor(Pen.Color), Pen.Width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        QImage mask = coverage(*m_img);
        {
            QPainter p(&mask);
            beginAliased(p);
            qp.setColor(Qt::black);
            p.setPen(qp);
            p.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
        }
        applyCoverage(*m_img, mask, Pen.Color, Pen.Mode);
    }
}

void TCanvas::FrameRect(int x1, int y1, int x2, int y2)
{
    TPen keep = Pen;
    TBrush keepB = Brush;
    Pen = TPen{Brush.Color, 1, TPenStyle::psSolid, TPenMode::pmCopy};
    Brush.Style = TBrushStyle::bsClear;
    Rectangle(x1, y1, x2, y2);
    Pen = keep;
    Brush = keepB;
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    const QRect box(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    const bool penOn = Pen.Style != TPenStyle::psClear;
    if (Brush.Style == TBrushStyle::bsSolid) {
        QImage mask = coverage(*m_img);
        {
            QPainter p(&mask);
            beginAliased(p);
            p.setPen(penOn ? QPen(Qt::black) : Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawEllipse(box);
        }
        applyCoverage(*m_img, mask, Brush.Color, Pen.Mode);
    }
    if (!penOn) return;
    QImage mask = coverage(*m_img);
    {
        QPainter p(&mask);
        beginAliased(p);
        QPen qp(Qt::black, std::max(1, Pen.Width));
        if (Pen.Width <= 1 && Pen.Style != TPenStyle::psSolid) {
            QVector<qreal> dashes;
            for (int v : dashPattern(Pen.Style)) dashes << v;
            qp.setDashPattern(dashes);
        }
        p.setPen(qp);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(box);
    }
    applyCoverage(*m_img, mask, Pen.Color, Pen.Mode);
}

void TCanvas::Polygon(const std::vector<QPoint>& pts)
{
    if (pts.size() < 2) return;
    QPolygon poly;
    for (const QPoint& p : pts) poly << p;
    if (Brush.Style == TBrushStyle::bsSolid) {
        QImage mask = coverage(*m_img);
        {
            QPainter p(&mask);
            beginAliased(p);
            p.setPen(QPen(Qt::black));
            p.setBrush(Qt::black);
            p.drawPolygon(poly, Qt::OddEvenFill);
        }
        applyCoverage(*m_img, mask, Brush.Color, Pen.Mode);
    }
    if (Pen.Style == TPenStyle::psClear) return;
    if (simplePen()) {
        std::vector<QPoint> closed = pts;
        closed.push_back(pts.front());
        TBrush keep = Brush;
        Brush.Style = TBrushStyle::bsClear;
        for (size_t i = 1; i < closed.size(); ++i)
            thinLine(closed[i - 1].x(), closed[i - 1].y(), closed[i].x(), closed[i].y(), false);
        Brush = keep;
    } else {
        penPath(pts, true);
    }
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2)
{
    if (Brush.Style == TBrushStyle::bsClear) return;
    QRect r = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
    r = r.intersected(m_img->rect());
    const QRgb c = ToPixel(Brush.Color);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(m_img->scanLine(y));
        std::fill(line + r.left(), line + r.right() + 1, c);
    }
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    const QFont f = Font.ToQFont();
    const QFontMetrics fm(f);
    QPainter p(m_img);
    beginAliased(p);
    if (Brush.Style == TBrushStyle::bsSolid)
        p.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), ToQColor(Brush.Color));
    p.setFont(f);
    p.setPen(ToQColor(Font.Color));
    p.drawText(x, y + fm.ascent(), text);
    m_pen = QPoint(x + fm.horizontalAdvance(text), y);
}

int TCanvas::TextWidth(const QString& text) const
{
    return QFontMetrics(Font.ToQFont()).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const
{
    return QFontMetrics(Font.ToQFont()).height();
}

void TCanvas::Draw(int x, int y, const TBitmap& src)
{
    Draw(x, y, src.Image(), src.Transparent, src.TransparentColor);
}

void TCanvas::Draw(int x, int y, const QImage& srcImg, bool transparent, TColor transparentColor)
{
    if (srcImg.isNull()) return;
    const QImage src = srcImg.format() == QImage::Format_RGB32 ? srcImg : srcImg.convertToFormat(QImage::Format_RGB32);
    const QRect r = QRect(x, y, src.width(), src.height()).intersected(m_img->rect());
    const QRgb key = ToPixel(transparentColor);
    for (int dy = r.top(); dy <= r.bottom(); ++dy) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(dy - y));
        QRgb* d = reinterpret_cast<QRgb*>(m_img->scanLine(dy));
        for (int dx = r.left(); dx <= r.right(); ++dx) {
            const QRgb v = s[dx - x] | 0xFF000000u;
            if (!transparent || v != key) d[dx] = combineCopy(d[dx], v, CopyMode);
        }
    }
}

void TCanvas::CopyRect(const QRect& dest, const TCanvas& srcCanvas, const QRect& srcRect)
{
    const QImage& src = srcCanvas.Image();
    const int dx1 = dest.left(), dy1 = dest.top(), dw = dest.width(), dh = dest.height();
    const int sx1 = srcRect.left(), sy1 = srcRect.top(), sw = srcRect.width(), sh = srcRect.height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    // The source may be the same picture: work from a copy of the part read.
    const QImage part = src.copy(srcRect);
    for (int y = std::max(0, dy1); y < std::min(m_img->height(), dy1 + dh); ++y) {
        const int sy = int((qint64(y - dy1) * sh) / dh);
        if (sy + sy1 < 0 || sy + sy1 >= src.height()) continue;
        const QRgb* s = reinterpret_cast<const QRgb*>(part.constScanLine(sy));
        QRgb* d = reinterpret_cast<QRgb*>(m_img->scanLine(y));
        for (int x = std::max(0, dx1); x < std::min(m_img->width(), dx1 + dw); ++x) {
            const int sx = int((qint64(x - dx1) * sw) / dw);
            if (sx + sx1 < 0 || sx + sx1 >= src.width()) continue;
            d[x] = combineCopy(d[x], s[sx] | 0xFF000000u, CopyMode);
        }
    }
}

TColor TCanvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_img->width() || y >= m_img->height()) return 0xFFFFFFFFu;
    return FromPixel(reinterpret_cast<const QRgb*>(m_img->constScanLine(y))[x]);
}

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style)
{
    const int w = m_img->width(), h = m_img->height();
    if (x < 0 || y < 0 || x >= w || y >= h || Brush.Style == TBrushStyle::bsClear) return;
    const QRgb key = ToPixel(color), fill = ToPixel(Brush.Color);
    uchar* const bits = m_img->bits();
    const qsizetype bpl = m_img->bytesPerLine();
    auto row = [&](int yy) { return reinterpret_cast<QRgb*>(bits + yy * bpl); };
    // Pixels already filled are marked so that a fill colour inside the area cannot loop.
    std::vector<unsigned char> done(size_t(w) * size_t(h), 0);
    auto open = [&](const QRgb* line, const unsigned char* mark, int xx) {
        if (mark[xx]) return false;
        const QRgb v = line[xx] | 0xFF000000u;
        return style == TFillStyle::fsSurface ? v == key : v != key;
    };
    if (!open(row(y), done.data() + size_t(y) * size_t(w), x)) return;
    std::vector<QPoint> stack{QPoint(x, y)};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        const int yy = p.y();
        QRgb* line = row(yy);
        unsigned char* mark = done.data() + size_t(yy) * size_t(w);
        int lx = p.x();
        if (!open(line, mark, lx)) continue;
        while (lx > 0 && open(line, mark, lx - 1)) --lx;
        int rx = p.x();
        while (rx + 1 < w && open(line, mark, rx + 1)) ++rx;
        for (int xx = lx; xx <= rx; ++xx) {
            line[xx] = fill;
            mark[xx] = 1;
        }
        for (int ny : {yy - 1, yy + 1}) {
            if (ny < 0 || ny >= h) continue;
            const QRgb* nline = row(ny);
            const unsigned char* nmark = done.data() + size_t(ny) * size_t(w);
            bool inRun = false;
            for (int xx = lx; xx <= rx; ++xx) {
                const bool o = open(nline, nmark, xx);
                if (o && !inRun) stack.emplace_back(xx, ny);
                inRun = o;
            }
        }
    }
}

TBitmap::TBitmap() : m_canvas(&m_img) {}

TBitmap::TBitmap(int w, int h) : m_canvas(&m_img)
{
    SetSize(w, h);
}

TBitmap::TBitmap(const TBitmap& o)
    : Transparent(o.Transparent), TransparentColor(o.TransparentColor), m_img(o.m_img), m_canvas(&m_img)
{
}

TBitmap& TBitmap::operator=(const TBitmap& o)
{
    if (this != &o) {
        m_img = o.m_img;
        Transparent = o.Transparent;
        TransparentColor = o.TransparentColor;
    }
    return *this;
}

void TBitmap::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == m_img.width() && h == m_img.height() && !m_img.isNull()) return;
    QImage n(w, h, QImage::Format_RGB32);
    n.fill(ToPixel(clWhite));
    if (!m_img.isNull()) {
        QPainter p(&n);
        p.drawImage(0, 0, m_img);
    }
    m_img = n;
}

void TBitmap::Assign(const QImage& img)
{
    m_img = img.isNull() ? QImage() : img.convertToFormat(QImage::Format_RGB32);
}

bool TBitmap::LoadFromResourceName(const QString& name)
{
    QImage img = ResourceBitmap(name);
    if (img.isNull()) return false;
    m_img = img;
    return true;
}

QImage ResourceBitmap(const QString& name)
{
    const std::pair<const char*, const char*> kinds[] = {{".png", "PNG"}, {".bmp", "BMP"}};
    for (const auto& [ext, format] : kinds) {
        const QString path = QStringLiteral(":/bitmaps/") + name + QLatin1String(ext);
        if (QFile::exists(path)) {
            const QImage img = ReadResourcePicture(path, format);
            if (!img.isNull()) return img.convertToFormat(QImage::Format_RGB32);
        }
    }
    return QImage();
}

QImage ReadResourcePicture(const QString& path, const char* format)
{
    QImageReader reader(path, format);
    // Without this Qt loads every image plugin to ask it about the format before its own reader
    // is tried, which costs the programs' start-up several milliseconds.
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

void CopyImageRows(QImage& dst, const QImage& src)
{
    const int rows = std::min(dst.height(), src.height());
    const int bytes = std::min(dst.width(), src.width()) * 4;
    if (dst.format() == QImage::Format_RGB32 && src.format() == QImage::Format_RGB32) {
        for (int y = 0; y < rows; ++y) std::memcpy(dst.scanLine(y), src.constScanLine(y), size_t(bytes));
        return;
    }
    QPainter p(&dst);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, src);
}

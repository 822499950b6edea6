#include "PictureImport.h"

#include "SheetFile.h"
#include <algorithm>
#include <cstdlib>

namespace {

// n / d (d > 0) rounded, halves to even.
qint64 RoundHalfEven(qint64 n, qint64 d)
{
    qint64 q = n / d, r = n % d;
    if (r < 0) {
        --q;
        r += d;
    }
    if (2 * r > d || (2 * r == d && (q & 1))) ++q;
    return q;
}

// n / d (d > 0) rounded up.
qint64 CeilDiv(qint64 n, qint64 d)
{
    return n / d + (n % d > 0 ? 1 : 0);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Reading

bool ReadImportPicture(const QString& path, QImage& out, QString& error, int* fileError)
{
    // Any picture of at least one pixel: a cell of 1 x 1.
    return ReadSheetFile(path, out, error, 1, 1, fileError);
}

// ---------------------------------------------------------------------------------------------
// Zoom

int TPictureZoom::ScreenToPicture(int v) const
{
    return int(qint64(v) * 100 / std::max(1, Zoom));
}

int TPictureZoom::PictureToScreen(int v) const
{
    const qint64 n = qint64(v) * Zoom;
    return int(Zoom >= 100 ? CeilDiv(n, 100) : RoundHalfEven(n, 100));
}

int TPictureZoom::ViewLength(int pictureLength) const
{
    return int(RoundHalfEven(qint64(pictureLength) * Zoom, 100));
}

// ---------------------------------------------------------------------------------------------
// Outline

void TCutOutline::Start(TCutShape shape, QPoint p)
{
    Shape = shape;
    Points.assign(shape == TCutShape::FreeHand ? 1 : 2, p);
}

void TCutOutline::Extend(QPoint p, bool square)
{
    if (Points.empty()) return;
    if (Shape == TCutShape::FreeHand) {
        Points.push_back(p);
        return;
    }
    if (square) {
        const QPoint first = Points[0];
        const int dx = p.x() - first.x(), dy = p.y() - first.y();
        const int m = std::max(std::abs(dx), std::abs(dy));
        p = first + QPoint(dx < 0 ? -m : m, dy < 0 ? -m : m);
    }
    Points.resize(2);
    Points[1] = p;
}

QRect TCutOutline::Box() const
{
    if (Points.empty()) return QRect();
    int minX = Points[0].x(), maxX = minX, minY = Points[0].y(), maxY = minY;
    for (const QPoint& p : Points) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    return QRect(minX, minY, maxX - minX, maxY - minY);
}

bool TCutOutline::Encloses() const
{
    const QRect b = Box();
    return !Points.empty() && b.width() >= 1 && b.height() >= 1;
}

void TCutOutline::ClampTo(QSize size)
{
    for (QPoint& p : Points) p = QPoint(std::clamp(p.x(), 0, size.width()), std::clamp(p.y(), 0, size.height()));
}

bool TCutOutline::EnclosesWithin(QSize size) const
{
    TCutOutline o = *this;
    o.ClampTo(size);
    return o.Encloses();
}

TCutOutline WholePictureOutline(QSize size)
{
    TCutOutline o;
    o.Shape = TCutShape::FreeHand;
    o.Points = {QPoint(0, 0), QPoint(size.width(), 0), QPoint(size.width(), size.height()), QPoint(0, size.height())};
    return o;
}

void DrawOutline(QImage& img, const TCutOutline& o, const TPen& pen, const TBrush& brush, bool closed, QPoint offset)
{
    if (o.Points.empty()) return;
    TCanvas c(&img);
    c.Pen = pen;
    c.Brush = brush;
    std::vector<QPoint> pts;
    pts.reserve(o.Points.size());
    for (const QPoint& p : o.Points) pts.push_back(p + offset);
    switch (o.Shape) {
    case TCutShape::Rectangle:
        if (pts.size() >= 2) c.Rectangle(pts[0].x(), pts[0].y(), pts[1].x(), pts[1].y());
        break;
    case TCutShape::Ellipse:
        if (pts.size() >= 2) c.Ellipse(pts[0].x(), pts[0].y(), pts[1].x(), pts[1].y());
        break;
    case TCutShape::FreeHand:
        if (closed) c.Polygon(pts);
        else c.Polyline(pts);
        break;
    }
}

bool CutOut(QImage& picture, TCutOutline outline, int penWidth)
{
    if (picture.isNull()) return false;
    outline.ClampTo(picture.size());
    if (!outline.Encloses()) return false;
    const QRect box = outline.Box();
    // A mask of the box: black inside the outline, pure white on and outside it; the picture
    // painted into it (an OR of the two) shows only inside.
    QImage mask(box.size(), QImage::Format_RGB32);
    if (mask.isNull()) return false;
    mask.fill(ToPixel(clWhite));
    DrawOutline(mask, outline, TPen{clWhite, std::max(1, penWidth)}, TBrush{clBlack, TBrushStyle::bsSolid}, true,
                -box.topLeft());
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < box.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(source.constScanLine(box.top() + y)) + box.left();
        QRgb* d = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < box.width(); ++x) d[x] = (d[x] | s[x]) | 0xFF000000u;
    }
    picture = mask;
    return true;
}

bool EraseInside(QImage& picture, TCutOutline outline, int penWidth)
{
    if (picture.isNull()) return false;
    outline.ClampTo(picture.size());
    if (!outline.Encloses()) return false;
    // Drawn in place: the picture is made its own first, apart from the states that share it.
    picture.bits();
    DrawOutline(picture, outline, TPen{clWhite, std::max(1, penWidth)}, TBrush{clWhite, TBrushStyle::bsSolid}, true);
    return true;
}

bool EraseAlong(QImage& picture, const TCutOutline& outline, int penWidth)
{
    if (picture.isNull() || !outline.Encloses()) return false;
    picture.bits();
    DrawOutline(picture, outline, TPen{clWhite, std::max(1, penWidth)}, TBrush{clWhite, TBrushStyle::bsClear}, false);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Undo store

void TPictureUndoStore::Reset(const QImage& picture)
{
    for (QImage& s : m_slots) s = QImage();
    m_current = m_low = m_top = 0;
    at(0) = picture;
}

void TPictureUndoStore::Push(const QImage& picture)
{
    // The undone states come again, newest first, as a path back to where the action was taken.
    // They are all read before any is written over: the ring may be full.
    std::vector<QImage> path;
    for (qint64 k = m_top - 1; k >= m_current; --k) path.push_back(at(k));
    for (const QImage& state : path) at(++m_top) = state;
    // A picture is never changed where it is held: the working picture is written only after it
    // has been made its own (or replaced), so sharing it here keeps this state as it is.
    at(++m_top) = picture;
    m_current = m_top;
    m_low = std::max(m_low, m_top - (kSlots - 1));
    while (m_low < m_current && HeldBytes() > m_budget) dropOldest();
}

void TPictureUndoStore::dropOldest()
{
    at(m_low) = QImage();
    ++m_low;
}

QImage TPictureUndoStore::Undo()
{
    if (!CanUndo()) return QImage();
    --m_current;
    return at(m_current);
}

QImage TPictureUndoStore::Redo()
{
    if (!CanRedo()) return QImage();
    ++m_current;
    return at(m_current);
}

qint64 TPictureUndoStore::HeldBytes() const
{
    std::vector<qint64> seen;
    qint64 bytes = 0;
    for (qint64 k = m_low; k <= m_top; ++k) {
        const QImage& s = at(k);
        if (s.isNull() || std::find(seen.begin(), seen.end(), s.cacheKey()) != seen.end()) continue;
        seen.push_back(s.cacheKey());
        bytes += s.sizeInBytes();
    }
    return bytes;
}

// ---------------------------------------------------------------------------------------------
// Colour effect

QImage ApplyPictureEffect(const QImage& source, int brightness, int red, int green, int blue)
{
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    if (src.isNull() || out.isNull()) return src;
    const int offsets[3] = {brightness + red, brightness + green, brightness + blue};
    unsigned char table[3][256];
    for (int ch = 0; ch < 3; ++ch)
        for (int c = 0; c < 256; ++c) {
            const qint64 level = RoundHalfEven(qint64(c) * 100 + qint64(offsets[ch]) * 255, 100);
            table[ch][c] = uchar(std::clamp<qint64>(level, 0, 255));
        }
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            // Pure white is no colour but the see-through part: it stays see-through.
            if ((s[x] & 0xFFFFFFu) == 0xFFFFFFu) d[x] = s[x] | 0xFF000000u;
            else d[x] = qRgb(table[0][qRed(s[x])], table[1][qGreen(s[x])], table[2][qBlue(s[x])]);
        }
    }
    return out;
}

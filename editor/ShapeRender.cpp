// Drawing the shape records: one record onto the canvas or the zoomed view, the whole canvas from
// the base picture and the list, the view with its grid, range and guide text, and the measuring of
// a record's extreme points and pen margins.
#include "ShapeEngine.h"

#include "EditorGdi.h"
#include "MathUtil.h"
#include "PictureFile.h"
#include "SampleUnderlay.h"
#include <QTransform>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

void MovePoints(std::vector<QPoint>& pts, QPoint d)
{
    for (QPoint& p : pts) p += d;
}

// The path a record's outline follows (kinds 11, 12 and 14), in the record's own coordinates.
TFlatPath OutlinePath(const TShapeRecord& r)
{
    const QPoint a = r.A[0], b = r.B[0];
    switch (r.Kind) {
    case skRectangle: return RectanglePath(a.x(), a.y(), b.x(), b.y());
    case skEllipse: return EllipsePath(a.x(), a.y(), b.x(), b.y());
    case skLine: {
        const TCurve c = CurvedLinePoints(a, b, std::clamp(r.Curve, -50, 50));
        if (c.Count == 2) {
            TFlatPath p;
            p.AddPolyline({a, b}, false);
            return p;
        }
        return BezierPath(c.Pts[0], c.Pts[1], c.Pts[2], c.Pts[3]);
    }
    default: return {};
    }
}

// Which source row and column each pixel of a part of a stretched picture shows. A picture
// stretched far past the canvas is read through these picks rather than stretched whole, and must
// look exactly as the whole stretch by QImage::scaled(Qt::FastTransformation) did. Qt 6's raster
// engine picks in one of two ways: while the stretch fits its 16.16 fixed point it steps from half
// a step in, by the ratio of the picture's size to the mapped size; beyond that it samples pixel
// centres through the inverse transform, in runs of 2048 pixels that restart their stepping.
class TStretchPicks {
public:
    // part: the rectangle of the stretched picture wanted, in its own coordinates.
    TStretchPicks(QSize from, QSize to, QRect part);
    // i counts rows from the part's top, and the columns from its left.
    int Row(int i) const { return m_rows[size_t(i)]; }
    const int* Columns(int i) const
    {
        return (m_slowRow.empty() || !m_slowRow[size_t(i)] ? m_cols : m_slowCols).data();
    }

private:
    static std::vector<int> FixedSteps(qreal ratio, int first, int count);
    std::vector<int> SampledColumns(bool fixedRow) const;

    static constexpr qreal kFixed = 65536;
    static constexpr int kRun = 2048;
    QSize m_from, m_to;
    QRect m_part;
    QTransform m_inv;
    bool m_fastMatrix = false;
    std::vector<int> m_rows, m_cols, m_slowCols;
    std::vector<unsigned char> m_slowRow;
};

bool FitsInt(qreal v)
{
    return v >= qreal(std::numeric_limits<int>::min()) && v <= qreal(std::numeric_limits<int>::max());
}

TStretchPicks::TStretchPicks(QSize from, QSize to, QRect part) : m_from(from), m_to(to), m_part(part)
{
    if (from == to) {
        for (int i = 0; i < part.height(); ++i) m_rows.push_back(part.top() + i);
        for (int i = 0; i < part.width(); ++i) m_cols.push_back(part.left() + i);
        return;
    }
    const QTransform m = QTransform::fromScale(qreal(to.width()) / from.width(), qreal(to.height()) / from.height());
    const QRectF src(QPointF(0, 0), QSizeF(from));
    const QRectF mapped = m.mapRect(src);
    const qreal limit = 0x7fff;
    if (src.width() <= limit && src.height() <= limit && mapped.right() <= limit && mapped.bottom() <= limit
        && m.m11() < 512 && m.m22() < 512) {
        const QPointF tl = src.topLeft() * m, br = src.bottomRight() * m;
        m_rows = FixedSteps(src.height() / (br.y() - tl.y()), part.top(), part.height());
        m_cols = FixedSteps(src.width() / (br.x() - tl.x()), part.left(), part.width());
        return;
    }
    // The inverse carries the engine's 1/65536 nudge, so that centres round off as its do.
    m_inv = (QTransform::fromTranslate(1 / kFixed, 1 / kFixed) * m).inverted();
    const qreal f1 = m_inv.m11() * m_inv.m11(), f2 = m_inv.m22() * m_inv.m22();
    m_fastMatrix = f1 < 1e4 && f2 < 1e4 && f1 > 1 / kFixed && f2 > 1 / kFixed && qAbs(m_inv.dx()) < 1e4
        && qAbs(m_inv.dy()) < 1e4;
    bool anySlow = false;
    for (int i = 0; i < part.height(); ++i) {
        const qreal fy = m_inv.m22() * (part.top() + i + qreal(0.5)) + m_inv.dy();
        // In fixed point or not, a row's pick comes to the floor of its centre's source row.
        m_rows.push_back(std::clamp(qFloor(fy), 0, from.height() - 1));
        // A row too far down for fixed point samples its columns the slow way too.
        const bool slow = m_fastMatrix && !FitsInt(fy * kFixed);
        m_slowRow.push_back(slow);
        anySlow = anySlow || slow;
    }
    m_cols = SampledColumns(true);
    if (anySlow) m_slowCols = SampledColumns(false);
}

std::vector<int> TStretchPicks::FixedSteps(qreal ratio, int first, int count)
{
    const quint32 step = quint32(int(kFixed * ratio));
    const quint32 start = quint32(qCeil(qreal(0.5) * ratio * kFixed) - 1);
    std::vector<int> picks(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) picks[size_t(i)] = int((start + step * quint32(first + i)) >> 16);
    return picks;
}

std::vector<int> TStretchPicks::SampledColumns(bool fixedRow) const
{
    const qreal m11 = m_inv.m11();
    const int first = m_part.left(), end = m_part.left() + m_part.width(), last = m_from.width() - 1;
    std::vector<int> picks(size_t(m_part.width()));
    for (int run = first / kRun * kRun; run < end; run += kRun) {
        const int len = std::min(kRun, m_to.width() - run), upto = std::min(run + len, end);
        const qreal fx = m11 * (run + qreal(0.5)) + m_inv.dx();
        if (m_fastMatrix && fixedRow && FitsInt(fx * kFixed) && FitsInt(fx * kFixed + std::trunc(m11 * kFixed) * len)) {
            const qint64 start = int(fx * kFixed), step = int(m11 * kFixed);
            for (int x = std::max(run, first); x < upto; ++x)
                picks[size_t(x - first)] = std::clamp(int((start + step * (x - run)) >> 16), 0, last);
            continue;
        }
        qreal f = fx;
        for (int x = run; x < upto; ++x, f += m11)
            if (x >= first) picks[size_t(x - first)] = std::clamp(qFloor(f), 0, last);
    }
    return picks;
}

} // namespace

void TShapeEngine::MeasurePath(const std::vector<QPoint>& pts, QPoint a0)
{
    MLeft = MTop = MRight = MBottom = a0;
    MarginL = MarginT = MarginR = MarginB = 0;
    for (QPoint p : pts) {
        if (p.x() < MLeft.x()) MLeft = p;
        else if (p.x() > MRight.x()) MRight = p;
        if (p.y() < MTop.y()) MTop = p;
        else if (p.y() > MBottom.y()) MBottom = p;
    }
}

void TShapeEngine::MeasureMargins(const QImage& img)
{
    MarginL = std::min(0, MeasurePenReach(img, MLeft, 180).x() - MLeft.x());
    MarginT = std::min(0, MeasurePenReach(img, MTop, 90).y() - MTop.y());
    MarginR = std::max(0, MeasurePenReach(img, MRight, 0).x() - MRight.x());
    MarginB = std::max(0, MeasurePenReach(img, MBottom, -90).y() - MBottom.y());
}

QPoint TShapeEngine::MeasurePenReach(const QImage& img, QPoint p, double angle) const
{
    const QRgb eraser = ToPixel(EraserColor);
    // The steps of PolarPoint(i x 0.1, angle), with the angle's sine and cosine taken once.
    const double rad = angle * 3.14159265358979323846 / 180.0;
    const double c = std::cos(rad), s = std::sin(rad);
    QPoint last(INT32_MIN, INT32_MIN);
    for (int i = 1; i <= 3000; ++i) {
        const double r = i * 0.1;
        const QPoint q = p + QPoint(Round(r * c), Round(-r * s));
        if (q == last) continue;
        last = q;
        if (q.x() < 0 || q.y() < 0 || q.x() >= img.width() || q.y() >= img.height()) continue;
        if ((reinterpret_cast<const QRgb*>(img.constScanLine(q.y()))[q.x()] | 0xFF000000u) == eraser) return q;
    }
    return p;
}

void TShapeEngine::RenderShape(const TShapeRecord& rec, QImage& target, bool onView, bool measure,
                               bool skipUnderStroke, TPenMode mode, int dx, int dy)
{
    TShapeRecord r = rec;
    const QPoint d(dx, dy);
    r.A[0] += d;
    r.B[0] += d;
    if (d != QPoint()) MovePoints(r.Points, d);

    int width = r.Width;
    if (IsOutlineKind(r.Kind)) width = std::clamp(width, 0, 50);
    const int w = PenWidthOf(onView, r.Kind, width);
    const int style = std::clamp(r.PenStyle, 0, 4);
    TGeoPen main{w, r.Color, style};
    TGeoPen second{w, r.Color, r.Kind == skRectangle || r.Kind == skEllipse ? style : int(gpsSolid)};
    const TGeoPen marker{1, MarkerColor, gpsSolid};
    if (r.Kind == skRangeDrawing) {
        main = TGeoPen{1, clRed, gpsDash};
        second = TGeoPen{1, clRed, gpsSolid};
    }
    const bool underStroke = style > 0 && !skipUnderStroke && IsOutlineKind(r.Kind);

    switch (r.Kind) {
    case skRectangle:
    case skEllipse:
    case skLine: {
        if (r.A[0] == r.B[0]) return;
        const TFlatPath path = OutlinePath(r);
        if (underStroke) StrokePath(target, path, marker, mode);
        StrokePath(target, path, main, mode);
        if (measure) {
            MeasurePath(path.IntegerPoints(), r.A[0]);
            MeasureMargins(target);
        }
        break;
    }
    case skPen: {
        if (onView && ToolKind == skPen && Dragging) {
            if (InProgress.empty()) return;
            StrokeDot(target, InProgress.front(), second, mode);
            TFlatPath path;
            path.AddPolyline(InProgress, false);
            if (InProgress.size() > 1) StrokePath(target, path, main, mode);
            return;
        }
        if (r.Points.empty()) return;
        TFlatPath path;
        path.AddPolyline(r.Points, false);
        if (underStroke) StrokePath(target, path, marker, mode);
        // A click without movement leaves the dot its preview showed.
        if (r.Points.size() == 1) StrokeDot(target, r.Points.front(), second, mode);
        else StrokePath(target, path, main, mode);
        if (measure) {
            MeasurePath(r.Points, r.A[0]);
            MeasureMargins(target);
        }
        break;
    }
    case skFill: {
        const QPoint s = r.A[0];
        if (s.x() < 0 || s.y() < 0 || s.x() >= target.width() || s.y() >= target.height()) return;
        TCanvas c(&target);
        const TColor seed = c.Pixel(s.x(), s.y());
        if (seed == r.FillColor) return;
        c.Brush.Color = r.FillColor;
        c.Brush.Style = TBrushStyle::bsSolid;
        c.FloodFill(s.x(), s.y(), seed, TFillStyle::fsSurface);
        break;
    }
    case skRangeDrawing: RenderRangeOutline(r, target, onView, second, d); break;
    case skPicture: RenderPicture(r, target, measure); break;
    default: break;
    }
}

void TShapeEngine::RenderRangeOutline(const TShapeRecord& r, QImage& target, bool onView, const TGeoPen& second, QPoint d)
{
    if (r.FreeOutline) {
        if (onView && ToolKind == skRangeDrawing && Dragging) {
            const size_t n = InProgress.size();
            if (n % 2 != 0) return;
            TFlatPath seg;
            if (n > 1) seg.AddPolyline({InProgress[n - 2], InProgress[n - 1]}, false);
            else if (n == 1) seg.AddPolyline({InProgress[0]}, false);
            StrokePath(target, seg, second, TPenMode::pmNotXor);
            return;
        }
        std::vector<QPoint> pts = InProgress;
        MovePoints(pts, d);
        TFlatPath path;
        path.AddPolyline(pts, false);
        StrokePath(target, path, second, TPenMode::pmNotXor);
    } else {
        StrokePath(target, RectanglePath(r.A[0].x(), r.A[0].y(), r.B[0].x(), r.B[0].y()), TGeoPen{1, clRed, gpsDot},
                   TPenMode::pmNotXor);
    }
}

void TShapeEngine::RenderPicture(const TShapeRecord& r, QImage& target, bool measure)
{
    if (!r.Picture || r.Picture->Empty()) return;
    QImage pic = r.Picture->Image();
    if (pic.format() != QImage::Format_RGB32) pic = pic.convertToFormat(QImage::Format_RGB32);
    const int pw = pic.width(), ph = pic.height();
    const QPoint m = StretchMargins(pw, ph, r.Curve, r.StretchType);
    QRect dest(QPoint(r.B[0].x() - m.x(), r.B[0].y() - m.y()), QSize(pw + 2 * m.x(), ph + 2 * m.y()));
    // A stretch beyond any canvas (only from a damaged record) is drawn unscaled.
    const bool sane = qint64(dest.width()) * dest.height() <= kMaxPicturePixels;
    if (r.Curve == 0 || !sane || dest.width() <= 0 || dest.height() <= 0) dest = QRect(r.B[0], pic.size());
    // Only what shows is looked up and masked: a stretched picture may reach far past the canvas.
    const QRect vis = dest.intersected(target.rect());
    const TStretchPicks picks(pic.size(), dest.size(), vis.translated(-dest.topLeft()));
    std::vector<unsigned char> clip;
    const bool clipped = r.FreeOutline && r.Points.size() >= 3;
    if (clipped) clip = PolygonMask(r.Points, vis.topLeft(), vis.width(), vis.height());
    const bool transparent = r.Picture->Transparent;
    const QRgb key = ToPixel(r.Picture->TransparentColor);
    for (int i = 0; i < vis.height(); ++i) {
        const QRgb* s = reinterpret_cast<const QRgb*>(pic.constScanLine(picks.Row(i)));
        const int* cols = picks.Columns(i);
        QRgb* t = reinterpret_cast<QRgb*>(target.scanLine(vis.top() + i)) + vis.left();
        const unsigned char* inside = clipped ? clip.data() + size_t(i) * size_t(vis.width()) : nullptr;
        for (int j = 0; j < vis.width(); ++j) {
            if (inside && !inside[j]) continue;
            const QRgb v = s[cols[j]] | 0xFF000000u;
            if (transparent && v == key) continue;
            t[j] = v;
        }
    }
    if (measure) {
        if (r.FreeOutline) {
            MeasurePath(r.Points, r.Points.empty() ? r.A[0] : r.Points.front());
            MeasureMargins(target);
        } else {
            MLeft = MTop = dest.topLeft();
            MRight = MBottom = QPoint(dest.left() + dest.width(), dest.top() + dest.height());
            MarginL = MarginT = MarginR = MarginB = 0;
        }
    }
}

void TShapeEngine::RenderCanvas(int mode, TPenMode penMode)
{
    ClearCanvas();
    if (BasePicture && !BasePicture->Empty()) Canvas.Canvas().Draw(0, 0, BasePicture->Image(), false);
    QImage& img = Canvas.Image();
    for (const TShapeRecord& r : Shapes) {
        if (!r.Selected) RenderShape(r, img, false, false, false, TPenMode::pmCopy);
        else if (mode == 2) RenderShape(r, img, false, false, false, penMode);
        else if (!CtrlCopy && ToolKind != skMove) RenderShape(r, img, false, false, false, penMode);
    }
}

void TShapeEngine::PaintView(QImage& view)
{
    view.fill(ToPixel(EraserColor));
    // The sample underlay first; the canvas's pure white lets it show.
    const bool underlay = SampleShown && !SampleFaded.isNull();
    if (underlay) {
        const QPoint at = SampleRecord.B[0];
        DrawUnderlay(view, SampleFaded, QRect(ToView(at.x()), ToView(at.y()), ToView(SampleFaded.width()),
                                              ToView(SampleFaded.height())));
    }
    const QRgb see = underlay ? ToPixel(EraserColor) : 0;
    // The canvas stretched over the whole view, nearest pixel.
    const QImage& src = Canvas.Image();
    const int vw = view.width(), vh = view.height(), cw = src.width(), ch = src.height();
    if (vw > 0 && vh > 0 && cw > 0 && ch > 0) {
        std::vector<int> xmap(static_cast<size_t>(vw));
        for (int x = 0; x < vw; ++x) xmap[size_t(x)] = int((qint64(x) * cw) / vw);
        int lastSy = -1;
        for (int y = 0; y < vh; ++y) {
            const int sy = int((qint64(y) * ch) / vh);
            QRgb* d = reinterpret_cast<QRgb*>(view.scanLine(y));
            if (sy == lastSy && !underlay) {
                std::copy_n(reinterpret_cast<const QRgb*>(view.constScanLine(y - 1)), vw, d);
                continue;
            }
            lastSy = sy;
            const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
            for (int x = 0; x < vw; ++x) {
                const QRgb p = s[xmap[size_t(x)]] | 0xFF000000u;
                if (p != see) d[x] = p;
            }
        }
    }
    // A pitch of 0 draws no lines in its direction.
    if (GridShown) {
        const TGeoPen grid{1, GridColor, gpsDot};
        TFlatPath lines;
        for (int k = 0; GridPitchY > 0 && k <= ch / GridPitchY; ++k) {
            const int y = ToView(k * GridPitchY) - 1;
            lines.AddPolyline({QPoint(0, y), QPoint(vw - 1, y)}, false);
        }
        for (int k = 0; GridPitchX > 0 && k <= cw / GridPitchX; ++k) {
            const int x = ToView(k * GridPitchX) - 1;
            lines.AddPolyline({QPoint(x, 0), QPoint(x, vh - 1)}, false);
        }
        for (const auto& f : lines.Figures) {
            TFlatPath one;
            one.Figures.push_back(f);
            StrokePath(view, one, grid, TPenMode::pmMask);
        }
    }
    if (HasRange() && (ToolKind == skRangeDrawing || ToolKind == skRangeMade)) {
        if (InProgress.empty()) {
            StrokePath(view, RectanglePath(RangeL, RangeT, RangeR, RangeB), TGeoPen{1, clRed, gpsDot}, TPenMode::pmNotXor);
        } else {
            TFlatPath segs;
            for (size_t i = 2; i < InProgress.size(); i += 2) segs.AddPolyline({InProgress[i - 1], InProgress[i]}, false);
            StrokePath(view, segs, TGeoPen{1, clRed, gpsSolid}, TPenMode::pmNotXor);
        }
    }
    DrawGuideText(view);
}

void TShapeEngine::DrawGuideText(QImage& view)
{
    if (!GuideArmed) return;
    TCanvas c(&view);
    c.Font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    c.Font.SetSize(12);
    c.Font.Color = clBlue;
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(20, 20, QStringLiteral("※キャンバスの左側半分には，少し右を向いた感じで，"));
    c.TextOut(20, 45, QStringLiteral("　止まっているような画像を描いて下さい。"));
    c.TextOut(440, 20, QStringLiteral("※キャンバスの右側半分には，少し右を向いた感じで，"));
    c.TextOut(440, 45, QStringLiteral("　動いているような画像を描いて下さい。"));
    GuideArmed = false;
}

QPoint TShapeEngine::ShapeHandlePoint(const TShapeRecord& r) const
{
    switch (r.Kind) {
    case skLine:
    case skPen: return r.A[0];
    case skPicture: {
        const int w = r.Picture ? r.Picture->Width() : 0, h = r.Picture ? r.Picture->Height() : 0;
        return QPoint(r.B[0].x() + w / 2, r.B[0].y() + h / 2);
    }
    default:
        return QPoint(RoundOutward((r.A[0].x() + r.B[0].x()) / 2.0), RoundOutward((r.A[0].y() + r.B[0].y()) / 2.0));
    }
}

void TShapeEngine::StoreShapeExtent(TShapeRecord& r) const
{
    r.Leftmost = MLeft;
    r.Topmost = MTop;
    r.Rightmost = MRight;
    r.Bottommost = MBottom;
    r.MarginL = MarginL;
    r.MarginT = MarginT;
    r.MarginR = MarginR;
    r.MarginB = MarginB;
}


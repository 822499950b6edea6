#include "ShapeEngine.h"

#include "Dialogs.h"
#include "EditorGdi.h"
#include "MathUtil.h"
#include "PictureFile.h"
#include "ShapeSnapshot.h"
#include <algorithm>
#include <cmath>

namespace {

bool IsOutlineKind(int kind)
{
    return kind == skRectangle || kind == skEllipse || kind == skLine || kind == skPen;
}

bool IsReshapeKind(int kind)
{
    return IsOutlineKind(kind) || kind == skPicture;
}

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

} // namespace

TShapeEngine::TShapeEngine()
{
    Canvas.SetSize(140, 70);
    ClearCanvas();
}

TColor TShapeEngine::RealizeColor(TColor c)
{
    TBitmap b(1, 1);
    b.Canvas().Brush.Color = c;
    const TColor before = b.Canvas().Pixel(0, 0);
    b.Canvas().FloodFill(0, 0, before, TFillStyle::fsSurface);
    return b.Canvas().Pixel(0, 0);
}

void TShapeEngine::FindNearWhites()
{
    TColor opaque = RGBColor(255, 0, 255);
    for (int n = 255; n >= 0; --n) {
        const TColor cand = RGBColor(255, n, 255);
        if (RealizeColor(cand) != clWhite) {
            opaque = cand;
            break;
        }
    }
    OpaqueWhite = opaque;
    const int g = GetGValue(opaque);
    TColor marker = RGBColor(255, g, 0);
    for (int m = 255; m >= 0; --m) {
        const TColor cand = RGBColor(255, g, m);
        const TColor real = RealizeColor(cand);
        if (real != clWhite && real != OpaqueWhite) {
            marker = cand;
            break;
        }
    }
    MarkerColor = marker;
}

int TShapeEngine::PenWidthOf(bool onView, int kind, int setting) const
{
    const int w = PenWidthForSetting(kind, setting);
    return onView ? ToView(w) : w;
}

void TShapeEngine::ClearCanvas()
{
    Canvas.Image().fill(ToPixel(EraserColor));
}

void TShapeEngine::SetCanvasSize(int w, int h)
{
    Canvas.SetSize(w, h);
}

// ---------------------------------------------------------------------------------------------
// Building and drawing

TShapeRecord TShapeEngine::BuildShape(TColor colour) const
{
    TShapeRecord r;
    r.Kind = ToolKind;
    r.FreeOutline = FreeRange ? 1 : 0;
    if (ToolKind == skFill) {
        r.A[0] = ToCanvasPoint(StartPoint);
        r.B[0] = ToCanvasPoint(CurrentPoint);
    } else {
        r.A[0] = StartPoint;
        r.B[0] = CurrentPoint;
    }
    r.SyncCD();
    r.Leftmost = r.Topmost = r.Rightmost = r.Bottommost = r.A[0];
    r.Color = r.Color2 = r.FillColor = colour;
    r.PenStyle = PenStyle;
    switch (ToolKind) {
    case skRectangle:
    case skEllipse:
    case skPen: r.Width = PenSetting; break;
    case skLine:
        r.Width = PenSetting;
        r.Curve = CurveSetting;
        break;
    case skPicture: r.PenStyle = 0; break;
    default: break;
    }
    return r;
}

void TShapeEngine::AddShapeRecord(const TShapeRecord& built)
{
    TShapeRecord r = built.DeepCopy();
    r.A[0] = ToCanvasPoint(StartPoint);
    r.B[0] = ToCanvasPoint(CurrentPoint);
    r.SyncCD();
    StoreShapeExtent(r);
    r.FreeOutline = FreeRange ? 1 : 0;
    if (r.Kind == skPen || r.FreeOutline) {
        r.Points.clear();
        r.Points.reserve(InProgress.size());
        for (QPoint p : InProgress) r.Points.push_back(ToCanvasPoint(p));
    }
    if (r.Kind == skPicture) {
        r.Picture = std::make_shared<TBitmap>(FloatingRange);
        r.Text = FloatingFileName;
        r.Picture->TransparentColor = EraserColor;
        r.Picture->Transparent = r.Color != EraserColor;
    }
    AppendRecord(std::move(r));
}

void TShapeEngine::AppendRecord(TShapeRecord r)
{
    r.SyncCD();
    r.Handle = ShapeHandlePoint(r);
    r.Mark = kRecordMark;
    r.Selected = 0;
    Shapes.push_back(std::move(r));
    RenderShape(Shapes.back(), Canvas.Image(), false, true, false, TPenMode::pmCopy);
    StoreShapeExtent(Shapes.back());
}

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
    case skRangeDrawing: {
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
        break;
    }
    case skPicture: {
        if (!r.Picture || r.Picture->Empty()) return;
        const QImage& pic = r.Picture->Image();
        const int pw = pic.width(), ph = pic.height();
        const QPoint m = StretchMargins(pw, ph, r.Curve, r.StretchType);
        QRect dest(QPoint(r.B[0].x() - m.x(), r.B[0].y() - m.y()), QSize(pw + 2 * m.x(), ph + 2 * m.y()));
        QImage src = pic;
        // A stretch beyond any canvas (only from a damaged record) is drawn unscaled.
        const bool sane = qint64(dest.width()) * dest.height() <= kMaxPicturePixels;
        if (r.Curve != 0 && sane && dest.width() > 0 && dest.height() > 0 && dest.size() != pic.size())
            src = pic.scaled(dest.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        else
            src = pic, dest = QRect(r.B[0], pic.size());
        if (src.format() != QImage::Format_RGB32) src = src.convertToFormat(QImage::Format_RGB32);
        std::vector<unsigned char> clip;
        const bool clipped = r.FreeOutline && r.Points.size() >= 3;
        if (clipped) clip = PolygonMask(r.Points, dest.topLeft(), dest.width(), dest.height());
        const bool transparent = r.Picture->Transparent;
        const QRgb key = ToPixel(r.Picture->TransparentColor);
        const QRect vis = dest.intersected(target.rect());
        for (int y = vis.top(); y <= vis.bottom(); ++y) {
            const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y - dest.top()));
            QRgb* t = reinterpret_cast<QRgb*>(target.scanLine(y));
            for (int x = vis.left(); x <= vis.right(); ++x) {
                const int sx = x - dest.left();
                if (clipped && !clip[size_t(y - dest.top()) * size_t(dest.width()) + size_t(sx)]) continue;
                const QRgb v = s[sx] | 0xFF000000u;
                if (transparent && v == key) continue;
                t[x] = v;
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
        break;
    }
    default: break;
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
            if (sy == lastSy) {
                std::copy_n(reinterpret_cast<const QRgb*>(view.constScanLine(y - 1)), vw, d);
                continue;
            }
            lastSy = sy;
            const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
            for (int x = 0; x < vw; ++x) d[x] = s[xmap[size_t(x)]] | 0xFF000000u;
        }
    }
    if (GridShown && GridPitchX > 0 && GridPitchY > 0) {
        const TGeoPen grid{1, GridColor, gpsDot};
        TFlatPath lines;
        for (int k = 0; k <= ch / GridPitchY; ++k) {
            const int y = ToView(k * GridPitchY) - 1;
            lines.AddPolyline({QPoint(0, y), QPoint(vw - 1, y)}, false);
        }
        for (int k = 0; k <= cw / GridPitchX; ++k) {
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

// ---------------------------------------------------------------------------------------------
// Selecting and moving

void TShapeEngine::DeselectAllShapes()
{
    for (TShapeRecord& r : Shapes) r.Selected = 0;
}

int TShapeEngine::SelectedCount() const
{
    return int(std::count_if(Shapes.begin(), Shapes.end(), [](const TShapeRecord& r) { return r.Selected != 0; }));
}

int TShapeEngine::SelectShapesAt(QPoint p)
{
    if (p == QPoint(-2, -2)) {
        DeselectAllShapes();
        if (Shapes.empty()) return 0;
        Shapes.back().Selected = 1;
        return 1;
    }
    // The corner and negative points mean "deselect everything" and nothing more.
    if (p.x() <= 0 && p.y() <= 0) {
        DeselectAllShapes();
        return 0;
    }
    if (p.x() >= 0 && p.y() >= 0) p = ToCanvasPoint(p);
    if (ToolKind != skMove) DeselectAllShapes();
    if (HasRange()) {
        int n = 0;
        std::vector<unsigned char> mask;
        QRect box;
        const bool freeShape = FreeRange && InProgress.size() >= 3;
        std::vector<QPoint> poly;
        if (freeShape) {
            for (QPoint q : InProgress) poly.push_back(ToCanvasPoint(q));
            int l = poly[0].x(), t = poly[0].y(), rr = l, b = t;
            for (QPoint q : poly) {
                l = std::min(l, q.x());
                t = std::min(t, q.y());
                rr = std::max(rr, q.x());
                b = std::max(b, q.y());
            }
            box = QRect(QPoint(l, t), QPoint(rr, b));
            mask = PolygonMask(poly, box.topLeft(), box.width(), box.height());
        } else {
            box = QRect(QPoint(ToCanvas(RangeL), ToCanvas(RangeT)), QPoint(ToCanvas(RangeR) - 1, ToCanvas(RangeB) - 1));
        }
        auto in = [&](QPoint q) {
            if (!box.contains(q)) return false;
            if (!freeShape) return true;
            return mask[size_t(q.y() - box.top()) * size_t(box.width()) + size_t(q.x() - box.left())] != 0;
        };
        for (TShapeRecord& r : Shapes) {
            const bool hit = (r.Kind == skFill || r.Kind == skPicture)
                                 ? in(r.Handle)
                                 : in(r.Leftmost) && in(r.Topmost) && in(r.Rightmost) && in(r.Bottommost);
            if (hit) {
                r.Selected = 1;
                ++n;
            }
        }
        return n;
    }
    int result = 0;
    for (auto it = Shapes.rbegin(); it != Shapes.rend(); ++it) {
        const int reach = it->Kind == skFill ? 5 : 8;
        const QPoint h = it->Handle;
        if (std::abs(p.x() - h.x()) > reach || std::abs(p.y() - h.y()) > reach) continue;
        if (!CtrlCopy) {
            it->Selected = 1;
            return 1;
        }
        if (it->Selected) {
            it->Selected = 0;
            --result;
        } else {
            it->Selected = 1;
            ++result;
        }
    }
    return result;
}

void TShapeEngine::FreeShapeList()
{
    Shapes.clear();
}

bool TShapeEngine::InsideCanvas(QPoint p) const
{
    return p.x() >= 0 && p.y() >= 0 && ToCanvas(p.x()) < Canvas.Width() && ToCanvas(p.y()) < Canvas.Height();
}

QRect TShapeEngine::RangeCanvasRect() const
{
    const int l = ToCanvas(RangeL), t = ToCanvas(RangeT), r = ToCanvas(RangeR), b = ToCanvas(RangeB);
    return QRect(l, t, r - l, b - t);
}

bool TShapeEngine::PointInRange(QPoint p) const
{
    if (!HasRange()) return false;
    if (FreeRange && InProgress.size() >= 3) return PolygonMask(InProgress, p, 1, 1)[0] != 0;
    // Right and bottom edges are outside, as for any rectangle here.
    return p.x() >= RangeL && p.x() < RangeR && p.y() >= RangeT && p.y() < RangeB;
}

bool TShapeEngine::LiftRange()
{
    const QRect r = RangeCanvasRect();
    if (r.width() <= 0 || r.height() <= 0) return false;
    ToolKind = skPicture;
    const bool freeShape = FreeRange && InProgress.size() >= 3;
    std::vector<QPoint> outline;
    if (freeShape)
        for (QPoint q : InProgress) outline.push_back(ToCanvasPoint(q));
    // The range's pixels, taken before the cover goes over them.
    TBitmap pixels(r.width(), r.height());
    pixels.Image().fill(ToPixel(EraserColor));
    pixels.Canvas().CopyRect(QRect(0, 0, r.width(), r.height()), Canvas.Canvas(), r);

    auto pictureRecord = [&](TColor colour) {
        TShapeRecord rec;
        rec.Kind = skPicture;
        rec.A[0] = rec.B[0] = r.topLeft();
        rec.Color = rec.Color2 = rec.FillColor = colour;
        rec.Picture = std::make_shared<TBitmap>(FloatingRange);
        rec.Picture->TransparentColor = EraserColor;
        rec.Picture->Transparent = colour != EraserColor;
        rec.Text = FloatingFileName;
        return rec;
    };
    // The cover: the range (a free range only inside its outline) becomes pure white.
    FloatingRange.SetSize(r.width(), r.height());
    FloatingRange.Image().fill(ToPixel(EraserColor));
    FloatingFileName.clear();
    TShapeRecord cover = pictureRecord(EraserColor);
    if (freeShape) {
        cover.FreeOutline = 1;
        cover.Points = outline;
    }
    AppendRecord(std::move(cover));

    // The lifted picture: the range's pixels (a free range's only inside its outline), the rest
    // eraser colour, drawn transparent.
    QImage& lifted = FloatingRange.Image();
    std::vector<unsigned char> inside;
    if (freeShape) inside = PolygonMask(outline, r.topLeft(), r.width(), r.height());
    for (int y = 0; y < r.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(pixels.Image().constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(lifted.scanLine(y));
        for (int x = 0; x < r.width(); ++x)
            if (!freeShape || inside[size_t(y) * size_t(r.width()) + size_t(x)]) d[x] = s[x];
    }
    FreeRange = false;
    AppendRecord(pictureRecord(clBlack));
    SelectShapesAt(QPoint(-2, -2));
    ToolKind = skMove;
    StartShapeMove();
    Dragging = true;
    return true;
}

void TShapeEngine::ClearSelection()
{
    if (!HasRange()) return;
    RangeL = RangeT = RangeR = RangeB = 0;
    InProgress.clear();
    FreeRange = false;
    Repaint();
}

TMoveGhost TShapeEngine::MakeMoveGhost(const TShapeRecord& r)
{
    TMoveGhost g;
    if (r.Kind == skPicture && r.Picture) {
        const QPoint m = StretchMargins(r.Picture->Width(), r.Picture->Height(), r.Curve, r.StretchType);
        g.Image = r.Picture->Image();
        g.Anchor = r.B[0] - m;
        g.CanvasSize = QSize(r.Picture->Width() + 2 * m.x(), r.Picture->Height() + 2 * m.y());
        return g;
    }
    const QPoint tl(r.Leftmost.x() + r.MarginL, r.Topmost.y() + r.MarginT);
    const QPoint br(r.Rightmost.x() + r.MarginR, r.Bottommost.y() + r.MarginB);
    const QSize size(std::clamp(br.x() - tl.x(), 1, 4096), std::clamp(br.y() - tl.y(), 1, 4096));
    g.Image = QImage(size, QImage::Format_RGB32);
    g.Image.fill(ToPixel(EraserColor));
    RenderShape(r, g.Image, false, false, false, TPenMode::pmCopy, -tl.x(), -tl.y());
    g.Anchor = tl;
    g.CanvasSize = size;
    return g;
}

void TShapeEngine::CopyToMoveList(const TShapeRecord& r)
{
    TShapeRecord c = r.DeepCopy();
    if (c.Picture) c.Picture->Transparent = true;
    c.Selected = 0;
    MoveCopies.push_back(std::move(c));
}

void TShapeEngine::OffsetShape(TShapeRecord& r, int dx, int dy) const
{
    const QPoint d(ToCanvas(dx), ToCanvas(dy));
    for (int i = 0; i < 3; ++i) {
        r.A[i] += d;
        r.B[i] += d;
    }
    r.SyncCD();
    for (QPoint* p : {&r.Handle, &r.Leftmost, &r.Topmost, &r.Rightmost, &r.Bottommost}) *p += d;
    if (r.HasPointList()) MovePoints(r.Points, d);
}

void TShapeEngine::AddMovedCopies(int dx, int dy)
{
    for (const TShapeRecord& c : MoveCopies) {
        TShapeRecord n = c.DeepCopy();
        OffsetShape(n, dx, dy);
        if (n.Picture) n.Picture->Transparent = n.Color != EraserColor;
        n.Selected = 0;
        Shapes.push_back(std::move(n));
        RenderShape(Shapes.back(), Canvas.Image(), false, false, false, TPenMode::pmCopy);
    }
}

void TShapeEngine::FreeMoveCopies()
{
    MoveCopies.clear();
    const bool had = !Ghosts.empty();
    Ghosts.clear();
    GhostOffset = QPoint();
    if (had && OnGhostsChanged) OnGhostsChanged();
}

void TShapeEngine::DrawMoveCopies()
{
    for (const TShapeRecord& c : MoveCopies) RenderShape(c, Canvas.Image(), false, false, false, TPenMode::pmCopy);
    Repaint();
}

void TShapeEngine::StartShapeMove()
{
    if (!CtrlCopy) RenderCanvas(0, TPenMode::pmNotXor);
    FreeMoveCopies();
    for (const TShapeRecord& r : Shapes) {
        if (!r.Selected) continue;
        if (r.Kind != skFill) Ghosts.push_back(MakeMoveGhost(r));
        CopyToMoveList(r);
    }
    GhostOffset = QPoint();
    Repaint();
    if (OnGhostsChanged) OnGhostsChanged();
}

void TShapeEngine::FinishShapeMove(int dx, int dy)
{
    if (SelectedCount() > 0) {
        if (CtrlCopy) {
            AddMovedCopies(dx, dy);
        } else {
            for (TShapeRecord& r : Shapes)
                if (r.Selected) OffsetShape(r, dx, dy);
        }
    }
    ToolKind = SavedToolKind;
    // Redrawn in list order, so that the canvas is what a redraw from scratch gives.
    DeselectAllShapes();
    RenderCanvas(0, TPenMode::pmCopy);
    Repaint();
    ClearSelection();
    PushUndo();
}

void TShapeEngine::EndShapeMove()
{
    ToolKind = SavedToolKind;
    ClearSelection();
    DeselectAllShapes();
    RenderCanvas(0, TPenMode::pmCopy);
    Repaint();
    FreeMoveCopies();
    Dragging = false;
}

// ---------------------------------------------------------------------------------------------
// Re-shaping

void TShapeEngine::SetReformState(bool can, bool on)
{
    ReformCan = can;
    ReformOn = on;
    if (OnReformStateChanged) OnReformStateChanged();
}

void TShapeEngine::ReshapeFromSettings()
{
    if (Shapes.empty()) return;
    auto update = [&](TShapeRecord& r) {
        if (IsOutlineKind(r.Kind)) r.Width = PenSetting;
        if (r.Kind == skLine) r.Curve = CurveSetting;
        r.StretchType = 0;
        RenderShape(r, Canvas.Image(), false, true, false, TPenMode::pmCopy);
        StoreShapeExtent(r);
    };
    if (ToolKind == skRangeMade) {
        RenderCanvas(0, TPenMode::pmCopy);
        Repaint();
        for (TShapeRecord& r : Shapes)
            if (r.Selected && IsReshapeKind(r.Kind)) update(r);
    } else if (IsReshapeKind(Shapes.back().Kind) && ReformOn) {
        DeselectAllShapes();
        update(Shapes.back());
    }
    RenderCanvas(2, TPenMode::pmCopy);
    Repaint();
    WriteBack();
    PendingModification = true;
}

void TShapeEngine::CommitPendingShape(bool deselect)
{
    if (!PendingModification) return;
    if (deselect) {
        DeselectAllShapes();
        ClearSelection();
    }
    PendingModification = false;
    PushUndo();
}

// ---------------------------------------------------------------------------------------------
// Canvas mouse

QPoint TShapeEngine::ConstrainPoint(QPoint p)
{
    if (!ShiftHeld) return p;
    const int sx = StartPoint.x(), sy = StartPoint.y();
    int x = p.x(), y = p.y();
    switch (ToolKind) {
    case skRectangle:
    case skEllipse: {
        const int dd = std::max(std::abs(x - sx), std::abs(y - sy));
        x = x >= sx ? sx + dd : sx - dd;
        y = y >= sy ? sy + dd : sy - dd;
        return QPoint(x, y);
    }
    case skLine:
        if (std::abs(y - sy) < std::abs(x - sx)) y = sy;
        else x = sx;
        return QPoint(x, y);
    case skPen:
    case skMove: {
        if (AxisLock == 0) {
            const int ox = std::abs(x - LockOrigin.x()), oy = std::abs(y - LockOrigin.y());
            if (ox > oy) AxisLock = 1;
            else if (oy > ox) AxisLock = 2;
            else return p;
        }
        if (AxisLock == 1) y = LockOrigin.y();
        else x = LockOrigin.x();
        return QPoint(x, y);
    }
    default: return p;
    }
}

void TShapeEngine::DrawPreview(TPenMode mode)
{
    if (!View) return;
    const TShapeRecord rec = BuildShape(EraserSelected() ? TColor(0xE0E0E0) : DrawColor);
    RenderShape(rec, *View, true, false, false, mode);
    if (OnViewChanged) OnViewChanged();
}

void TShapeEngine::MouseDown(TMouseButton button, QPoint p)
{
    if (Dragging) return;
    CurrentPoint = p;
    CommitPendingShape(false);
    if (button != TMouseButton::mbLeft) return;
    StartPoint = CurrentPoint;
    AxisLock = 0;
    LockOrigin = StartPoint;
    m_moved = false;
    // The click that closed the pop-up menu does not paint.
    if ((ToolKind == skPen || ToolKind == skFill) && PopupFlag) {
        PopupFlag = false;
        return;
    }
    PopupFlag = false;
    if (ToolKind == skPicture) ToolKind = SavedToolKind;
    auto used = [this](int kind) {
        if (OnToolUsed) OnToolUsed(kind);
    };
    for (int pass = 0; pass < 2; ++pass) {
        switch (ToolKind) {
        case skRectangle:
        case skEllipse:
        case skLine:
            Dragging = true;
            DrawPreview(TPenMode::pmNotXor);
            used(ToolKind);
            return;
        case skPen:
            InProgress = {StartPoint};
            Dragging = true;
            DrawPreview(TPenMode::pmCopy);
            used(ToolKind);
            return;
        case skFill:
            // Beside the canvas there is nothing to fill.
            if (!InsideCanvas(p)) return;
            AddShapeRecord(BuildShape(DrawColor));
            PushUndo();
            Repaint();
            used(skFill);
            return;
        case skRangeDrawing:
            if (!InsideCanvas(p)) return;
            FreeRange = FreeRangeTool;
            if (FreeRange) {
                InProgress = {StartPoint};
                RangeL = RangeR = StartPoint.x();
                RangeT = RangeB = StartPoint.y();
            }
            Dragging = true;
            // The rectangle is drawn at once too, so that the first move's erase takes it off again.
            DrawPreview(TPenMode::pmNotXor);
            return;
        case skRangeMade:
            if (PointInRange(p) && LiftRange()) return;
            // Any other press ends the range and counts for the range tool again.
            ToolKind = SavedToolKind;
            ClearSelection();
            DeselectAllShapes();
            Repaint();
            continue;
        case skMove:
            if (SelectShapesAt(p) <= 0) {
                // A press beside every shape ends the move state and counts for the drawing tool.
                ToolKind = SavedToolKind;
                ClearSelection();
                DeselectAllShapes();
                Repaint();
                continue;
            }
            StartShapeMove();
            Dragging = true;
            return;
        default: return;
        }
    }
}

void TShapeEngine::MouseMove(QPoint p)
{
    const QPoint previous = CurrentPoint;
    CurrentPoint = p;
    if (!Dragging) return;
    switch (ToolKind) {
    case skPen: {
        const QPoint q = ConstrainPoint(p);
        CurrentPoint = q;
        InProgress.push_back(q);
        if (PenStyle == 0 && View && InProgress.size() >= 2) {
            // A solid stroke grows by its last piece; drawing only that piece gives the same pixels.
            const TGeoPen pen{PenWidthOf(true, skPen, PenSetting), EraserSelected() ? TColor(0xE0E0E0) : DrawColor, 0};
            TFlatPath tail;
            tail.AddPolyline({InProgress[InProgress.size() - 2], InProgress.back()}, false);
            StrokePath(*View, tail, pen, TPenMode::pmCopy);
            if (OnViewChanged) OnViewChanged();
        } else {
            DrawPreview(TPenMode::pmCopy);
        }
        break;
    }
    case skRangeDrawing:
        if (FreeRange) {
            InProgress.push_back(p);
            DrawPreview(TPenMode::pmNotXor);
            if (p.x() < RangeL) RangeL = p.x();
            else if (p.x() > RangeR) RangeR = p.x();
            if (p.y() < RangeT) RangeT = p.y();
            else if (p.y() > RangeB) RangeB = p.y();
        } else {
            CurrentPoint = previous;
            DrawPreview(TPenMode::pmNotXor);
            CurrentPoint = p;
            DrawPreview(TPenMode::pmNotXor);
        }
        break;
    case skMove:
        GhostOffset = ConstrainPoint(p) - StartPoint;
        if (GhostOffset != QPoint()) m_moved = true;
        if (OnGhostsChanged) OnGhostsChanged();
        break;
    case skRectangle:
    case skEllipse:
    case skLine:
        CurrentPoint = previous;
        DrawPreview(TPenMode::pmNotXor);
        CurrentPoint = ConstrainPoint(p);
        DrawPreview(TPenMode::pmNotXor);
        break;
    default: break;
    }
}

void TShapeEngine::FinishShape()
{
    Dragging = false;
    AddShapeRecord(BuildShape(DrawColor));
    Repaint();
    PushUndo();
    ToolKind = SavedToolKind;
    SetReformState(true, true);
}

void TShapeEngine::MouseUp(TMouseButton button, QPoint p)
{
    // Drags start with the left button, and only its release ends one: another button let go
    // meanwhile leaves the shape being drawn, or the shapes being moved, as they are.
    if (Dragging && button != TMouseButton::mbLeft) return;
    CurrentPoint = p;
    if (button == TMouseButton::mbLeft && Dragging) {
        switch (ToolKind) {
        case skRectangle:
        case skEllipse:
        case skLine:
            if (CurrentPoint != StartPoint) {
                CurrentPoint = ConstrainPoint(CurrentPoint);
                FinishShape();
            } else {
                Dragging = false;
                Repaint();
            }
            break;
        case skPen:
            if (!InProgress.empty()) FinishShape();
            break;
        case skRangeDrawing:
            Dragging = false;
            if (!FreeRange) {
                if (CurrentPoint != StartPoint && !HasRange()) {
                    RangeL = std::min(StartPoint.x(), CurrentPoint.x());
                    RangeT = std::min(StartPoint.y(), CurrentPoint.y());
                    RangeR = std::max(StartPoint.x(), CurrentPoint.x());
                    RangeB = std::max(StartPoint.y(), CurrentPoint.y());
                    ToolKind = skRangeMade;
                }
            } else if (std::all_of(InProgress.begin(), InProgress.end(), [&](QPoint q) { return q == StartPoint; })) {
                // A click without movement outlines nothing: no range.
                RangeL = RangeT = RangeR = RangeB = 0;
                InProgress.clear();
                FreeRange = false;
            } else {
                ToolKind = skRangeMade;
            }
            Repaint();
            break;
        case skPicture:
            ToolKind = SavedToolKind;
            ClearSelection();
            DeselectAllShapes();
            Repaint();
            break;
        case skMove: {
            const QPoint off = ConstrainPoint(p) - StartPoint;
            if (!m_moved && off == QPoint()) {
                EndShapeMove();
            } else {
                Dragging = false;
                FinishShapeMove(off.x(), off.y());
            }
            break;
        }
        default: break;
        }
    }
    FreeMoveCopies();
    Dragging = false;
}

// ---------------------------------------------------------------------------------------------
// Undo

void TShapeEngine::PushUndo()
{
    if (!Undo.Push(MakeSnapshot(Shapes))) return;
    InProgress.clear();
    SetReformState(false, false);
    UndoStateChanged();
    WriteBack();
}

void TShapeEngine::UndoClick()
{
    CommitPendingShape(true);
    const std::int64_t before = Undo.Cur();
    if (Undo.StepBack() && !RestoreUndo()) Undo.SetCur(before);
    UndoStateChanged();
    WriteBack();
}

void TShapeEngine::RedoClick()
{
    const std::int64_t before = Undo.Cur();
    if (Undo.StepForward() && !RestoreUndo()) Undo.SetCur(before);
    UndoStateChanged();
    WriteBack();
}

bool TShapeEngine::RestoreUndo()
{
    TShapeList list;
    if (!ReadSnapshot(Undo.Current(), list, EraserColor)) {
        // The drawing stays as it was; the canvas is drawn again from it.
        MessageBeep(MB_ICONASTERISK);
        MessageDlg(QStringLiteral("内部データエラー"), TMsgDlgType::mtError, TMsgButtons::OK);
        RenderCanvas(0, TPenMode::pmCopy);
        Repaint();
        return false;
    }
    Shapes = std::move(list);
    ToolKind = skRestoring;
    RenderCanvas(0, TPenMode::pmCopy);
    Repaint();
    ToolKind = SavedToolKind;
    SetReformState(false, false);
    ClearSelection();
    DeselectAllShapes();
    return true;
}

void TShapeEngine::ClearUndo(bool keepDrawing)
{
    Undo.Clear();
    if (keepDrawing && !Shapes.empty()) Undo.SlotOf(0) = MakeSnapshot(Shapes);
    SetReformState(false, false);
    UndoStateChanged();
}

bool TShapeEngine::SavedState(bool compare)
{
    const QByteArray snap = MakeSnapshot(Shapes);
    if (!compare) {
        SavedSnapshot = snap;
        return false;
    }
    return snap != SavedSnapshot;
}

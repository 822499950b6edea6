// Selecting records, moving and duplicating them with their ghosts, and the range: its rectangle or
// free outline, the hit test inside it, and lifting it off the canvas for moving.
#include "ShapeEngine.h"

#include "EditorGdi.h"
#include <algorithm>

namespace {

void MovePoints(std::vector<QPoint>& pts, QPoint d)
{
    for (QPoint& p : pts) p += d;
}

} // namespace

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
            box = RangeCanvasRect();
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
    if (RangeCanvasExact.isValid() && HasRange()) return RangeCanvasExact;
    const int l = ToCanvas(RangeL), t = ToCanvas(RangeT), r = ToCanvas(RangeR), b = ToCanvas(RangeB);
    return QRect(l, t, r - l, b - t);
}

std::vector<QPoint> TShapeEngine::RangeOutline() const
{
    std::vector<QPoint> outline;
    if (FreeRange && InProgress.size() >= 3)
        for (QPoint q : InProgress) outline.push_back(ToCanvasPoint(q));
    return outline;
}

bool TShapeEngine::PointInRange(QPoint p) const
{
    if (!HasRange()) return false;
    if (FreeRange && InProgress.size() >= 3) return PolygonMask(InProgress, p, 1, 1)[0] != 0;
    // Right and bottom edges are outside, as for any rectangle here.
    return p.x() >= RangeL && p.x() < RangeR && p.y() >= RangeT && p.y() < RangeB;
}

TShapeRecord TShapeEngine::RangePictureRecord(const QRect& r, TColor colour) const
{
    TShapeRecord rec;
    rec.Kind = skPicture;
    rec.A[0] = rec.B[0] = r.topLeft();
    rec.Color = rec.Color2 = rec.FillColor = colour;
    rec.Picture = std::make_shared<TBitmap>(FloatingRange);
    rec.Picture->TransparentColor = EraserColor;
    rec.Picture->Transparent = colour != EraserColor;
    rec.Text = FloatingFileName;
    return rec;
}

bool TShapeEngine::CoverRange()
{
    const QRect r = RangeCanvasRect();
    if (r.width() <= 0 || r.height() <= 0) return false;
    FloatingRange.SetSize(r.width(), r.height());
    FloatingRange.Image().fill(ToPixel(EraserColor));
    FloatingFileName.clear();
    // Drawn opaque in the eraser colour: pure white over the range, a free range's only inside its
    // outline, which travels in the record.
    TShapeRecord cover = RangePictureRecord(r, EraserColor);
    cover.Points = RangeOutline();
    cover.FreeOutline = cover.Points.empty() ? 0 : 1;
    AppendRecord(std::move(cover));
    return true;
}

QImage TShapeEngine::CopyRangeBitmap(bool useRange) const
{
    const bool ranged = useRange && HasRange();
    const QRect r = ranged ? RangeCanvasRect() : Canvas.Image().rect();
    if (r.width() <= 0 || r.height() <= 0) return QImage();
    QImage out(r.size(), QImage::Format_RGB32);
    out.fill(ToPixel(EraserColor));
    const std::vector<QPoint> outline = ranged ? RangeOutline() : std::vector<QPoint>();
    std::vector<unsigned char> inside;
    if (!outline.empty()) inside = PolygonMask(outline, r.topLeft(), r.width(), r.height());
    const QImage& src = Canvas.Image();
    const QRect part = r.intersected(src.rect());
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y - r.top()));
        for (int x = part.left(); x <= part.right(); ++x) {
            const size_t at = size_t(y - r.top()) * size_t(r.width()) + size_t(x - r.left());
            if (inside.empty() || inside[at]) d[x - r.left()] = s[x] | 0xFF000000u;
        }
    }
    return out;
}

bool TShapeEngine::LiftRange()
{
    const QRect r = RangeCanvasRect();
    if (r.width() <= 0 || r.height() <= 0) return false;
    ToolKind = skPicture;
    // The range's pixels, taken before the cover goes over them.
    const QImage pixels = CopyRangeBitmap(true);
    CoverRange();
    FreeRange = false;
    FloatingRange.Assign(pixels);
    AppendRecord(RangePictureRecord(r, clBlack));
    SelectShapesAt(QPoint(-2, -2));
    ToolKind = skMove;
    StartShapeMove();
    Dragging = true;
    return true;
}

void TShapeEngine::SelectCanvasRange(const QRect& canvas)
{
    ClearSelection();
    InProgress.clear();
    FreeRange = false;
    RangeL = ToView(canvas.left());
    RangeT = ToView(canvas.top());
    RangeR = ToView(canvas.left() + canvas.width());
    RangeB = ToView(canvas.top() + canvas.height());
    // At the smallest zooms the view cannot tell some canvas pixels apart: the range keeps its own.
    RangeCanvasExact = canvas;
    if (!HasRange()) RangeR = 1;
    ToolKind = skRangeMade;
    Repaint();
}

void TShapeEngine::AddPictureRecord(QPoint canvasTopLeft, const QImage& picture, const QString& fileName, TColor colour)
{
    TShapeRecord rec;
    rec.Kind = skPicture;
    rec.A[0] = rec.B[0] = canvasTopLeft;
    rec.Color = rec.Color2 = rec.FillColor = colour;
    rec.Picture = std::make_shared<TBitmap>();
    rec.Picture->Assign(picture.convertToFormat(QImage::Format_RGB32));
    rec.Picture->TransparentColor = EraserColor;
    rec.Picture->Transparent = colour != EraserColor;
    rec.Text = fileName;
    AppendRecord(std::move(rec));
}

void TShapeEngine::ClearSelection()
{
    RangeCanvasExact = QRect();
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


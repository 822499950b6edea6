#include "ShapeTools.h"

#include "EditorGdi.h"
#include "ShapeEngine.h"
#include <algorithm>

namespace {

using TBegin = TShapeTool::TBegin;

// Rectangle, ellipse and line: a rubber band drawn in not-xor while dragging, a record on release.
class TOutlineTool final : public TShapeTool {
public:
    TBegin Begin(TShapeEngine& e, QPoint) const override
    {
        e.Dragging = true;
        e.DrawPreview(TPenMode::pmNotXor);
        e.ToolUsed(e.ToolKind);
        return TBegin::Done;
    }
    void Move(TShapeEngine& e, QPoint p, QPoint previous) const override
    {
        // The old band drawn again takes itself off.
        e.CurrentPoint = previous;
        e.DrawPreview(TPenMode::pmNotXor);
        e.CurrentPoint = e.ConstrainPoint(p);
        e.DrawPreview(TPenMode::pmNotXor);
    }
    void End(TShapeEngine& e, QPoint) const override
    {
        if (e.CurrentPoint == e.StartPoint) {
            e.Dragging = false;
            e.RequestRepaint();
            return;
        }
        e.CurrentPoint = e.ConstrainPoint(e.CurrentPoint);
        e.FinishShape();
    }
};

// The pen: the stroke grows point by point on the view; a record of all its points on release.
class TPenTool final : public TShapeTool {
public:
    TBegin Begin(TShapeEngine& e, QPoint) const override
    {
        e.InProgress = {e.StartPoint};
        e.Dragging = true;
        e.DrawPreview(TPenMode::pmCopy);
        e.ToolUsed(skPen);
        return TBegin::Done;
    }
    void Move(TShapeEngine& e, QPoint p, QPoint) const override
    {
        const QPoint q = e.ConstrainPoint(p);
        e.CurrentPoint = q;
        e.InProgress.push_back(q);
        if (e.PenStyle != 0 || !e.View || e.InProgress.size() < 2) {
            e.DrawPreview(TPenMode::pmCopy);
            return;
        }
        // A solid stroke grows by its last piece; drawing only that piece gives the same pixels.
        const TGeoPen pen{e.PenWidthOf(true, skPen, e.PenSetting), e.PreviewColor(), 0};
        TFlatPath tail;
        tail.AddPolyline({e.InProgress[e.InProgress.size() - 2], e.InProgress.back()}, false);
        StrokePath(*e.View, tail, pen, TPenMode::pmCopy);
        if (e.OnViewChanged) e.OnViewChanged();
    }
    void End(TShapeEngine& e, QPoint) const override
    {
        if (!e.InProgress.empty()) e.FinishShape();
    }
};

// The fill acts at the press; no drag follows.
class TFillTool final : public TShapeTool {
public:
    TBegin Begin(TShapeEngine& e, QPoint p) const override
    {
        // Beside the canvas there is nothing to fill.
        if (!e.InsideCanvas(p)) return TBegin::Done;
        e.AddShapeRecord(e.BuildShape(e.DrawColor));
        e.PushUndo();
        e.RequestRepaint();
        e.ToolUsed(skFill);
        return TBegin::Done;
    }
};

// The range being drawn: a dotted rectangle, or a free outline that grows with the pointer.
class TRangeTool final : public TShapeTool {
public:
    TBegin Begin(TShapeEngine& e, QPoint p) const override
    {
        if (!e.InsideCanvas(p)) return TBegin::Done;
        e.RangeCanvasExact = QRect();
        e.FreeRange = e.FreeRangeTool;
        if (e.FreeRange) {
            e.InProgress = {e.StartPoint};
            e.RangeL = e.RangeR = e.StartPoint.x();
            e.RangeT = e.RangeB = e.StartPoint.y();
        }
        e.Dragging = true;
        // The rectangle is drawn at once too, so that the first move's erase takes it off again.
        e.DrawPreview(TPenMode::pmNotXor);
        return TBegin::Done;
    }
    void Move(TShapeEngine& e, QPoint p, QPoint previous) const override
    {
        if (!e.FreeRange) {
            e.CurrentPoint = previous;
            e.DrawPreview(TPenMode::pmNotXor);
            e.CurrentPoint = p;
            e.DrawPreview(TPenMode::pmNotXor);
            return;
        }
        e.InProgress.push_back(p);
        e.DrawPreview(TPenMode::pmNotXor);
        if (p.x() < e.RangeL) e.RangeL = p.x();
        else if (p.x() > e.RangeR) e.RangeR = p.x();
        if (p.y() < e.RangeT) e.RangeT = p.y();
        else if (p.y() > e.RangeB) e.RangeB = p.y();
    }
    void End(TShapeEngine& e, QPoint) const override
    {
        e.Dragging = false;
        const QPoint s = e.StartPoint, c = e.CurrentPoint;
        if (!e.FreeRange) {
            if (c != s && !e.HasRange()) {
                e.RangeL = std::min(s.x(), c.x());
                e.RangeT = std::min(s.y(), c.y());
                e.RangeR = std::max(s.x(), c.x());
                e.RangeB = std::max(s.y(), c.y());
                e.ToolKind = skRangeMade;
            }
        } else if (std::all_of(e.InProgress.begin(), e.InProgress.end(), [&](QPoint q) { return q == s; })) {
            // A click without movement outlines nothing: no range.
            e.RangeL = e.RangeT = e.RangeR = e.RangeB = 0;
            e.InProgress.clear();
            e.FreeRange = false;
        } else {
            e.ToolKind = skRangeMade;
        }
        e.RequestRepaint();
    }
};

// A made range: a press inside lifts it for moving; any other press ends it.
class TRangeMadeTool final : public TShapeTool {
public:
    TBegin Begin(TShapeEngine& e, QPoint p) const override
    {
        if (e.PointInRange(p) && e.LiftRange()) return TBegin::Done;
        e.ToolKind = e.SavedToolKind;
        e.ClearSelection();
        e.DeselectAllShapes();
        e.RequestRepaint();
        return TBegin::Again;
    }
};

// A picture record just drawn: its release ends the range and the selection.
class TPictureTool final : public TShapeTool {
public:
    TBegin Begin(TShapeEngine&, QPoint) const override { return TBegin::Done; }
    void End(TShapeEngine& e, QPoint) const override
    {
        e.ToolKind = e.SavedToolKind;
        e.ClearSelection();
        e.DeselectAllShapes();
        e.RequestRepaint();
    }
};

// Moving (with Ctrl duplicating) the selected records: their ghosts follow the pointer.
class TMoveTool final : public TShapeTool {
public:
    TBegin Begin(TShapeEngine& e, QPoint p) const override
    {
        if (e.SelectShapesAt(p) <= 0) {
            // A press beside every shape ends the move state and counts for the drawing tool.
            e.ToolKind = e.SavedToolKind;
            e.ClearSelection();
            e.DeselectAllShapes();
            e.RequestRepaint();
            return TBegin::Again;
        }
        e.StartShapeMove();
        e.Dragging = true;
        return TBegin::Done;
    }
    void Move(TShapeEngine& e, QPoint p, QPoint) const override
    {
        e.GhostOffset = e.ConstrainPoint(p) - e.StartPoint;
        if (e.GhostOffset != QPoint()) e.MoveHappened = true;
        if (e.OnGhostsChanged) e.OnGhostsChanged();
    }
    void End(TShapeEngine& e, QPoint p) const override
    {
        const QPoint off = e.ConstrainPoint(p) - e.StartPoint;
        if (!e.MoveHappened && off == QPoint()) {
            e.EndShapeMove();
            return;
        }
        e.Dragging = false;
        e.FinishShapeMove(off.x(), off.y());
    }
};

class TNoTool final : public TShapeTool {
public:
    TBegin Begin(TShapeEngine&, QPoint) const override { return TBegin::Done; }
};

} // namespace

const TShapeTool& ToolOfKind(int kind)
{
    static const TOutlineTool outline;
    static const TPenTool pen;
    static const TFillTool fill;
    static const TRangeTool range;
    static const TRangeMadeTool rangeMade;
    static const TPictureTool picture;
    static const TMoveTool move;
    static const TNoTool none;
    switch (kind) {
    case skRectangle:
    case skEllipse:
    case skLine: return outline;
    case skPen: return pen;
    case skFill: return fill;
    case skRangeDrawing: return range;
    case skRangeMade: return rangeMade;
    case skPicture: return picture;
    case skMove: return move;
    default: return none;
    }
}

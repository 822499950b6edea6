#pragma once
// The editor's drawing engine: the shape list of the selected cell, the canvas bitmap built from
// it, the zoomed view, hit tests, moving and duplicating shapes, re-shaping the last shape, the
// canvas mouse strokes and the undo ring. It needs no window: the editor form gives it the view's
// surface and reacts to its notifications, and tests drive it directly.
#include "Canvas.h"
#include "EditorGeometry.h"
#include "Keys.h"
#include "ShapeRecord.h"
#include "UndoRing.h"
#include <QByteArray>
#include <QImage>
#include <functional>
#include <vector>

// A picture that follows the pointer while shapes are moved: shown stretched to the zoom, pure
// white transparent, its top-left at ToView(Anchor) plus the drag offset.
struct TMoveGhost {
    QImage Image;
    QPoint Anchor;     // canvas pixels
    QSize CanvasSize;  // canvas pixels; the ghost shows at ToView of it
};

struct TGeoPen;

class TShapeEngine {
public:
    TShapeEngine();

    // --- colours -------------------------------------------------------------------------------
    // The colour a 24-bit canvas really stores for a colour.
    static TColor RealizeColor(TColor c);
    // Finds the opaque white and the marker colour (run first at start-up).
    void FindNearWhites();
    TColor EraserColor = clWhite; // pure white: transparent in a sheet
    TColor OpaqueWhite = clOpaqueWhite;
    TColor MarkerColor = RGBColor(255, 254, 254);

    // --- view scale ----------------------------------------------------------------------------
    TViewScale Scale;
    int ToView(int x) const { return Scale.ToView(x); }
    int ToCanvas(int v) const { return Scale.ToCanvas(v); }
    QPoint ToCanvasPoint(QPoint p) const { return Scale.ToCanvasPoint(p); }
    // Drawn width of a width setting for a kind; on the view it is zoomed.
    int PenWidthOf(bool onView, int kind, int setting) const;

    // --- pictures ------------------------------------------------------------------------------
    TBitmap Canvas;                      // the selected cell being edited (140 x 70)
    std::shared_ptr<TBitmap> BasePicture; // the cell as cut from the sheet, none for a new sheet
    TBitmap FloatingRange;               // the picture a picture record is made from
    QString FloatingFileName;
    void ClearCanvas();
    // Sets the canvas size (a new canvas is all eraser colour).
    void SetCanvasSize(int w, int h);

    // --- the records ---------------------------------------------------------------------------
    TShapeList Shapes;
    TShapeList MoveCopies; // copies of the selected shapes taken when a move starts

    // Tool state (kinds of ShapeRecord.h).
    int ToolKind = skPen;
    int SavedToolKind = skPen;
    int PenSetting = 1;   // udPen, 1..50
    int CurveSetting = 0; // udLine, -50..50
    int PenStyle = 0;     // 0 solid, 1 dash, 2 dot
    TColor DrawColor = clBlack; // the selected palette colour
    bool EraserSelected() const { return DrawColor == EraserColor; }
    // The colour previews are drawn in: light grey stands for the eraser's pure white.
    TColor PreviewColor() const { return EraserSelected() ? TColor(0xE0E0E0) : DrawColor; }

    // Drag state, in content (view) coordinates.
    QPoint StartPoint, CurrentPoint;
    std::vector<QPoint> InProgress;
    bool Dragging = false;

    // The extreme points and margins of the last measured shape.
    QPoint MLeft, MTop, MRight, MBottom;
    int MarginL = 0, MarginT = 0, MarginR = 0, MarginB = 0;

    // Range selection (content coordinates; all zero when there is none).
    int RangeL = 0, RangeT = 0, RangeR = 0, RangeB = 0;
    bool FreeRange = false; // a free range's outline is the in-progress point list
    bool HasRange() const { return RangeL != 0 || RangeT != 0 || RangeR != 0 || RangeB != 0; }
    // Ends the range selection.
    void ClearSelection();
    // The range tool draws free outlines ("自由") rather than rectangles ("四角").
    bool FreeRangeTool = false;
    // A content point lies in the made range (the rectangle, or the free outline's polygon).
    bool PointInRange(QPoint p) const;
    // The range in canvas pixels, right and bottom exclusive.
    QRect RangeCanvasRect() const;
    // Lifts the made range off the canvas as a picture record and starts moving it; false when the
    // range holds no whole canvas pixel.
    bool LiftRange();
    // The range (or without one, or when useRange is off, the whole canvas) as a picture: a free
    // range keeps only the pixels inside its outline, the rest is the eraser colour. Null when the
    // range holds no whole canvas pixel.
    QImage CopyRangeBitmap(bool useRange) const;
    // Covers the range with pure white by a picture record (a free range only inside its outline);
    // false when the range holds no whole canvas pixel.
    bool CoverRange();
    // A rectangular range of exactly these canvas pixels, made as if dragged with the range tool.
    void SelectCanvasRange(const QRect& canvas);
    // The canvas pixels of a range made by SelectCanvasRange (the view cannot always hold them).
    QRect RangeCanvasExact;
    // Stores a picture drawn at a canvas point (kind 51). Its pure white is transparent unless the
    // colour is the eraser's, which paints the picture whole.
    void AddPictureRecord(QPoint canvasTopLeft, const QImage& picture, const QString& fileName, TColor colour);
    // A content point lies on the canvas.
    bool InsideCanvas(QPoint p) const;

    // Flags.
    bool ReformCan = false, ReformOn = false;
    bool PendingModification = false;
    bool CtrlCopy = false;
    bool GuideArmed = true;
    // The canvas pop-up menu was just shown: the press that closed it does not paint.
    bool PopupFlag = false;
    bool ShiftHeld = false;
    int AxisLock = 0; // 0 none, 1 horizontal, 2 vertical
    QPoint LockOrigin;

    // Display state of the view.
    int GridPitchX = 70, GridPitchY = 70;
    bool GridShown = true;
    TColor GridColor = 0x808080;
    // The sample underlay, shown faded under the canvas's pure white while SampleShown; its record
    // (kind 55) holds its top-left in canvas pixels at A and B.
    QImage SampleFaded;
    TShapeRecord SampleRecord;
    bool SampleShown = false;

    // --- building and drawing ------------------------------------------------------------------
    TShapeRecord BuildShape(TColor colour) const;
    // Stores a copy of a built record (points from the drag, in canvas pixels) and draws it.
    void AddShapeRecord(const TShapeRecord& built);
    // Stores a record whose points are already in canvas pixels and draws it, measured.
    void AppendRecord(TShapeRecord r);
    // Draws one record moved by (dx, dy); onView: the target is the zoomed view (record in content
    // coordinates, pens zoomed). With measure the extreme points and margins are recorded.
    void RenderShape(const TShapeRecord& rec, QImage& target, bool onView, bool measure, bool skipUnderStroke,
                     TPenMode mode, int dx = 0, int dy = 0);
    // Rebuilds the canvas from the base picture and the records. Selected records are drawn with
    // penMode in mode 2; otherwise only while no Ctrl-copy runs and no move is under way.
    void RenderCanvas(int mode, TPenMode penMode);
    // Paints the zoomed view: the canvas, the grid, the range and the guide text.
    void PaintView(QImage& view);
    void DrawGuideText(QImage& view);

    QPoint ShapeHandlePoint(const TShapeRecord& rec) const;
    void StoreShapeExtent(TShapeRecord& rec) const;
    QPoint MeasurePenReach(const QImage& img, QPoint p, double angle) const;

    // --- selecting and moving ------------------------------------------------------------------
    // Hit test at a content point: selects and answers the count (Ctrl-copy: selected minus
    // deselected). (-2, -2) selects the last record. (0, 0) and other negative points only deselect.
    int SelectShapesAt(QPoint p);
    void DeselectAllShapes();
    int SelectedCount() const;
    void FreeShapeList();

    TMoveGhost MakeMoveGhost(const TShapeRecord& rec);
    void CopyToMoveList(const TShapeRecord& rec);
    // Moves a record by a content offset (converted to canvas pixels).
    void OffsetShape(TShapeRecord& rec, int dx, int dy) const;
    void AddMovedCopies(int dx, int dy);
    void FreeMoveCopies();
    // Draws the move copies onto the canvas (the selected shapes show at their old places).
    void DrawMoveCopies();
    // Starts moving the selected shapes: the ghosts follow the pointer from here.
    void StartShapeMove();
    std::vector<TMoveGhost> Ghosts;
    QPoint GhostOffset; // content pixels, pointer minus start
    // Ends a move that moved by a content offset: moves (or with Ctrl-copy duplicates) the selected
    // shapes and stores the state.
    void FinishShapeMove(int dx, int dy);
    // Ends a move state without movement.
    void EndShapeMove();

    // --- re-shaping ----------------------------------------------------------------------------
    void SetReformState(bool can, bool on);
    // Re-draws the last shape (or the selected ones while a range is made) with the width and
    // curvature settings.
    void ReshapeFromSettings();
    void CommitPendingShape(bool deselect);

    // --- canvas mouse (drawing tools) ----------------------------------------------------------
    // The view surface previews are drawn on (content coordinates).
    QImage* View = nullptr;
    QPoint ConstrainPoint(QPoint p);
    void MouseDown(TMouseButton button, QPoint p);
    void MouseMove(QPoint p);
    void MouseUp(TMouseButton button, QPoint p);
    // Draws the preview of the shape in progress on the view.
    void DrawPreview(TPenMode mode);
    // Stores the shape just dragged as a record and ends the drag.
    void FinishShape();
    // A press drew with a tool (its colour is remembered).
    void ToolUsed(int kind);
    // Shapes being moved have left their place since the press.
    bool MoveHappened = false;
    void RequestRepaint() { Repaint(); }

    // --- undo ----------------------------------------------------------------------------------
    TUndoRing Undo;
    QByteArray SavedSnapshot;
    void PushUndo();
    void UndoClick();
    void RedoClick();
    // Rebuilds the shape list from the snapshot at cur; a snapshot that does not read changes
    // nothing and says "内部データエラー".
    bool RestoreUndo();
    // Empties the ring. With keepDrawing its first state is the drawing as it stands (after a save
    // the shapes stay, and undo must not take them off); otherwise the empty drawing.
    void ClearUndo(bool keepDrawing = false);
    // store: keeps the current snapshot as the saved state. compare: true when the drawing differs.
    bool SavedState(bool compare);
    bool CanUndo() const { return Undo.CanUndo(); }
    bool CanRedo() const { return Undo.CanRedo(); }

    // --- notifications to the form -------------------------------------------------------------
    std::function<void()> OnRepaint;         // the view must be painted again
    std::function<void()> OnUndoStateChanged; // undo/redo availability may have changed
    std::function<void()> OnWriteBack;       // the canvas goes back into the sheet
    std::function<void()> OnReformStateChanged;
    std::function<void()> OnViewChanged;     // the view surface was drawn on directly
    std::function<void()> OnGhostsChanged;   // ghosts made, moved or freed
    std::function<void(int kind)> OnToolUsed; // a press drew with a tool (its colour is remembered)

private:
    TShapeRecord RangePictureRecord(const QRect& r, TColor colour) const;
    void RenderRangeOutline(const TShapeRecord& r, QImage& target, bool onView, const TGeoPen& second, QPoint d);
    void RenderPicture(const TShapeRecord& r, QImage& target, bool measure);
    // A free range's outline in canvas pixels; empty for a rectangular range.
    std::vector<QPoint> RangeOutline() const;
    void Repaint() { if (OnRepaint) OnRepaint(); }
    void WriteBack() { if (OnWriteBack) OnWriteBack(); }
    void UndoStateChanged() { if (OnUndoStateChanged) OnUndoStateChanged(); }
    void MeasurePath(const std::vector<QPoint>& pts, QPoint a0);
    void MeasureMargins(const QImage& img);
};

#pragma once
// What a left press, a drag and the left release on the canvas do for each tool kind of the shape
// records: one class per tool, each with its begin (the press), move (while dragging) and end (the
// release). The engine picks the tool of its current kind and keeps the drag state they share.
#include <QPoint>

class TShapeEngine;

class TShapeTool {
public:
    virtual ~TShapeTool() = default;
    // Done: the press was handled. Again: the press ended a state (a made range, the move state)
    // and counts once more for the tool kind now current.
    enum class TBegin { Done, Again };
    virtual TBegin Begin(TShapeEngine& e, QPoint p) const = 0;
    // A move while dragging; previous is the point before it.
    virtual void Move(TShapeEngine& /*e*/, QPoint /*p*/, QPoint /*previous*/) const {}
    // The left release that ends the drag.
    virtual void End(TShapeEngine& /*e*/, QPoint /*p*/) const {}
};

// The tool of a kind; kinds with no tool of their own get one that does nothing.
const TShapeTool& ToolOfKind(int kind);

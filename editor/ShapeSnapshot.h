#pragma once
// The byte form of a shape list, as the undo ring and the saved state keep it. Little-endian int32
// throughout: the total size (this word included), the record count, then each record: kind, mark,
// free-outline flag and a reserved byte, the eight settings, the twelve points (A0 B0 A1 B1 A2 B2
// C0 D0 C1 D1 C2 D2), the handle and the four extreme points, the four pen margins, the font name
// and the text (length + Shift-JIS bytes), the point list for pen strokes, fills and free outlines
// (count + points), and for a picture record its picture as a bitmap file (length + bytes).
// The selected mark is not kept.
#include "ShapeRecord.h"
#include <QByteArray>

// The records of a list with every point moved by (dx, dy): count, then the records.
QByteArray WriteShapeList(const TShapeList& list, int dx = 0, int dy = 0);
// A whole snapshot: the size word, then WriteShapeList(list).
QByteArray MakeSnapshot(const TShapeList& list);
// The snapshot of an empty ring slot: total size 0, count 0.
QByteArray EmptySnapshot();

// Reads a snapshot. Every length and count is checked against the bytes really present; on any
// fault the answer is false and `out` is left untouched. Pictures get the eraser colour as their
// transparent colour and are drawn transparent unless the record's colour is the eraser colour.
bool ReadSnapshot(const QByteArray& bytes, TShapeList& out, TColor eraserColor = clWhite);

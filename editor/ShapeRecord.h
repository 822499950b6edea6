#pragma once
// One drawing operation of the editor, kept in the shape list of the selected cell. The canvas is
// the cell's base picture with every record drawn over it, in list order.
#include "Canvas.h"
#include <QPoint>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// Record kinds; while a tool is active its kind is also the tool kind.
enum TShapeKind : int {
    skNone = 0,        // a transform mode of a floating image is active
    skRectangle = 11,
    skEllipse = 12,
    skLine = 14,
    skPen = 17,
    skFill = 23,
    skRangeDrawing = 31, // the range outline being dragged; never stored
    skRangeMade = 32,
    skPicture = 51,
    skSample = 55,
    skMove = 64,
    skRestoring = 90,
};

constexpr int kRecordMark = 4;

// Kinds drawn as an outline with a pen (and re-shaped by the width setting).
inline bool IsOutlineKind(int kind)
{
    return kind == skRectangle || kind == skEllipse || kind == skLine || kind == skPen;
}

struct TShapeRecord {
    int Kind = 0;
    int Mark = kRecordMark;
    std::uint8_t FreeOutline = 0;
    std::uint8_t Reserved1 = 0;
    // The eight settings.
    TColor Color = 0;
    TColor Color2 = 0;
    TColor FillColor = 0;
    int PenStyle = 0;
    int Width = 0;
    int Curve = 0; // curvature of a line, stretch amount of a picture
    int StretchType = 0;
    int Reserved2 = 0;
    // A[0] start and B[0] end of the drag; C mirrors A and D mirrors B.
    QPoint A[3], B[3], C[3], D[3];
    QPoint Handle, Leftmost, Topmost, Rightmost, Bottommost;
    // How far the drawn stroke reaches beyond the extreme points (left/top <= 0, right/bottom >= 0).
    int MarginL = 0, MarginT = 0, MarginR = 0, MarginB = 0;
    QString FontName;
    QString Text; // a picture's file name
    std::vector<QPoint> Points; // pen stroke, or the free outline of a picture
    std::shared_ptr<TBitmap> Picture; // picture records only; copies of a record copy it deeply
    std::uint8_t Selected = 0;

    bool HasPointList() const { return Kind == skPen || FreeOutline != 0; }
    void SyncCD()
    {
        for (int i = 0; i < 3; ++i) {
            C[i] = A[i];
            D[i] = B[i];
        }
    }
    // A copy that owns its own picture.
    TShapeRecord DeepCopy() const
    {
        TShapeRecord r = *this;
        if (Picture) r.Picture = std::make_shared<TBitmap>(*Picture);
        return r;
    }
};

using TShapeList = std::vector<TShapeRecord>;

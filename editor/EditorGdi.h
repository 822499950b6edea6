#pragma once
// Drawing primitives of the picture editor that the canvas does not have: geometric pens with round
// caps and round joins in five styles (with their dash patterns scaled to the pen's width), drawn
// with the copy, not-xor or mask raster mode; flattened rectangle, ellipse and Bézier paths;
// polygon masks for clipping; and the stretching of a picture in the platform's two stretch modes.
// Coordinates are pixel indices; a pixel is covered when its centre lies within half the pen width
// of the path. One-pixel pens step from pixel to pixel (8-connected), so a 4-connected fill can
// never pass through one of their lines.
#include "Canvas.h"
#include <QPointF>
#include <vector>

enum TGeoPenStyle { gpsSolid = 0, gpsDash = 1, gpsDot = 2, gpsDashDot = 3, gpsDashDotDot = 4 };

struct TGeoPen {
    int Width = 1;
    TColor Color = clBlack;
    int Style = gpsSolid;
};

// A flattened path: one or more figures, each open or closed.
struct TFlatPath {
    struct Figure {
        std::vector<QPointF> Pts;
        bool Closed = false;
    };
    std::vector<Figure> Figures;
    void AddPolyline(const std::vector<QPoint>& pts, bool closed);
    // The points as the platform would report them from a flattened path (rounded to pixels).
    std::vector<QPoint> IntegerPoints() const;
};

// The rectangle outline of a shape from (x1, y1) to (x2, y2), right and bottom edges exclusive.
TFlatPath RectanglePath(int x1, int y1, int x2, int y2);
// The ellipse in the box (x1, y1)-(x2, y2), right and bottom edges exclusive.
TFlatPath EllipsePath(int x1, int y1, int x2, int y2);
// One cubic Bézier segment, flattened.
TFlatPath BezierPath(QPoint p0, QPoint p1, QPoint p2, QPoint p3);

// Strokes the path onto img; with a mode other than copy every covered pixel is combined once.
void StrokePath(QImage& img, const TFlatPath& path, const TGeoPen& pen, TPenMode mode);
// A dot of the pen at p (a single-point stroke).
void StrokeDot(QImage& img, QPoint p, const TGeoPen& pen, TPenMode mode);

// Pixels inside a polygon (odd-even rule, pixel centres), as one byte per pixel of a w x h area
// whose top-left is `origin`.
std::vector<unsigned char> PolygonMask(const std::vector<QPoint>& poly, QPoint origin, int w, int h);

// The picture stretched to `size`. In the default mode each axis that shrinks merges its source
// pixels into one by ANDing every channel, so that dark lines one pixel thin stay whole (black on
// white); an axis that grows repeats pixels. Halftone averages instead.
QImage StretchPicture(const QImage& src, QSize size, bool halftone);

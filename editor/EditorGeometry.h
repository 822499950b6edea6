#pragma once
// The arithmetic of the editor's view and shapes: zoom conversions between canvas pixels and the
// zoomed view, angles and polar points, pen widths, the curved line, picture stretch margins and the
// window's place on the work area. Everything here is plain arithmetic that tests can table.
#include "Color.h"
#include <QPoint>
#include <QRect>
#include <array>

// Zoom of the canvas view: a canvas pixel shows as Zoom / 100 view pixels.
struct TViewScale {
    int Zoom = 600;
    // Canvas length to view length, rounded (halves to even).
    int ToView(int x) const;
    // View length to canvas length, truncated toward zero.
    int ToCanvas(int v) const;
    QPoint ToViewPoint(QPoint p) const { return QPoint(ToView(p.x()), ToView(p.y())); }
    QPoint ToCanvasPoint(QPoint p) const { return QPoint(ToCanvas(p.x()), ToCanvas(p.y())); }
};

constexpr int kZoomMin = 25;
constexpr int kZoomMax = 975;
constexpr int kZoomStart = 600;

// Direction from p1 to p2 in degrees, counter-clockwise with the screen's y downward.
double AngleOf(QPoint p1, QPoint p2);
// Unrounded distance.
double DistanceOf(QPoint p1, QPoint p2);
// (Round(r cos a), Round(-r sin a)), a in degrees.
QPoint PolarPoint(double r, double angleDeg);
// Trunc(x + 0.9) for x >= 0, Trunc(x - 0.9) below.
int RoundOutward(double x);

// Drawn pen width of a width setting for a shape kind (1..10, 13..40 by 3, 47..250 by 7), before
// the view's zoom.
int PenWidthForSetting(int kind, int setting);

// The control polygon of a line drawn with a curvature (-50..50): two points for a straight line,
// else the four points of one cubic Bézier segment.
struct TCurve {
    int Count = 2;
    std::array<QPoint, 4> Pts{};
};
TCurve CurvedLinePoints(QPoint p1, QPoint p2, int curvature);

// How far a picture of w x h grows on each side for a stretch amount and type (0 plain, 1 three
// quarters, 2 half).
QPoint StretchMargins(int w, int h, int amount, int type);

// Where the editor window goes: the screen less a taskbar that is not auto-hidden, at least 1024
// pixels wide, centred. edge: 0 left, 1 top, 2 right, 3 bottom.
struct TTaskbar {
    QRect Rect;
    int Edge = 3;
    bool AutoHide = false;
};
QRect FitToWorkAreaRect(int screenW, int screenH, const TTaskbar& bar);

// The caption colour that reads on a panel of colour c: black on light colours, else white.
TColor ContrastTextColor(TColor c);

// The editor's tool cursors, 32 x 32 with a transparent background: white bodies with black
// outlines so that they show on any colour. The editor puts each hotspot at the working tip
// (editor/UnitPictureEditor.cpp keeps the hotspots beside their names).
#include "ResGen.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace {

QImage Blank()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

void Outlined(QPainter& p, const QPainterPath& path, const QColor& fill)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(fill);
    p.drawPath(path);
}

void Begin(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
}

// A three-quarter circle with an arrow head; clockwise turns the arrow the other way round.
QImage Rotate(bool clockwise)
{
    QImage img = Blank();
    QPainter p(&img);
    Begin(p);
    for (int pass = 0; pass < 2; ++pass) {
        p.setPen(QPen(pass == 0 ? Qt::black : Qt::white, pass == 0 ? 5 : 2, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(7, 7, 18, 18), clockwise ? 180 * 16 : 0, clockwise ? 270 * 16 : -270 * 16);
    }
    QPolygon head = clockwise ? QPolygon({QPoint(2, 14), QPoint(12, 14), QPoint(7, 20)})
                              : QPolygon({QPoint(20, 14), QPoint(30, 14), QPoint(25, 20)});
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(head);
    // The centre the picture turns about.
    p.fillRect(QRect(15, 15, 3, 3), Qt::black);
    return img;
}

// Eyedropper: the tip at the bottom-left corner.
QImage Spoit()
{
    QImage img = Blank();
    QPainter p(&img);
    Begin(p);
    QPainterPath tube;
    tube.moveTo(1, 30);
    tube.lineTo(3, 24);
    tube.lineTo(18, 9);
    tube.lineTo(22, 13);
    tube.lineTo(7, 28);
    tube.closeSubpath();
    Outlined(p, tube, Qt::white);
    QPainterPath bulb;
    bulb.addEllipse(QRectF(19, 3, 10, 10));
    Outlined(p, bulb, QColor(60, 60, 60));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(16, 8, 23, 15);
    return img;
}

// Paint bucket pouring: the drop's tip at the bottom-left is where the fill starts.
QImage Flood()
{
    QImage img = Blank();
    QPainter p(&img);
    Begin(p);
    QPainterPath bucket;
    bucket.moveTo(10, 12);
    bucket.lineTo(20, 4);
    bucket.lineTo(29, 15);
    bucket.lineTo(19, 23);
    bucket.closeSubpath();
    Outlined(p, bucket, Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(14, 9, 23, 20);
    QPainterPath paint;
    paint.moveTo(10, 12);
    paint.lineTo(4, 18);
    paint.lineTo(2, 29);
    paint.lineTo(6, 20);
    paint.lineTo(12, 15);
    paint.closeSubpath();
    Outlined(p, paint, QColor(40, 40, 40));
    return img;
}

// Eraser block tilted, its working corner at the bottom-left.
QImage Eraser()
{
    QImage img = Blank();
    QPainter p(&img);
    Begin(p);
    QPainterPath body;
    body.moveTo(1, 24);
    body.lineTo(17, 8);
    body.lineTo(26, 17);
    body.lineTo(10, 30);
    body.lineTo(4, 30);
    body.closeSubpath();
    Outlined(p, body, Qt::white);
    QPainterPath band;
    band.moveTo(17, 8);
    band.lineTo(23, 2);
    band.lineTo(31, 11);
    band.lineTo(26, 17);
    band.closeSubpath();
    Outlined(p, band, QColor(80, 120, 220));
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(1, 30, 12, 30);
    return img;
}

// Cross hair at (15, 15) with a small frame beside it: dotted square or lasso.
QImage Range(bool freeShape)
{
    QImage img = Blank();
    QPainter p(&img);
    Begin(p);
    for (int pass = 0; pass < 2; ++pass) {
        p.setPen(QPen(pass == 0 ? Qt::white : Qt::black, pass == 0 ? 3 : 1));
        p.drawLine(15, 3, 15, 12);
        p.drawLine(15, 18, 15, 27);
        p.drawLine(3, 15, 12, 15);
        p.drawLine(18, 15, 27, 15);
    }
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    if (freeShape) {
        QPainterPath lasso;
        lasso.moveTo(20, 20);
        lasso.cubicTo(31, 17, 32, 29, 25, 30);
        lasso.cubicTo(20, 31, 18, 26, 20, 20);
        p.drawPath(lasso);
    } else {
        p.drawRect(QRect(19, 19, 11, 11));
    }
    return img;
}

ResRegistrar rRotate("cursors/ROTATE.png", ResProgram::Editor, [] { return PngOf(Rotate(true)); });
ResRegistrar rRotate2("cursors/ROTATE2.png", ResProgram::Editor, [] { return PngOf(Rotate(false)); });
ResRegistrar rSpoit("cursors/SPOIT.png", ResProgram::Editor, [] { return PngOf(Spoit()); });
ResRegistrar rFlood("cursors/FLOOD.png", ResProgram::Editor, [] { return PngOf(Flood()); });
ResRegistrar rEraser("cursors/ERASER.png", ResProgram::Editor, [] { return PngOf(Eraser()); });
ResRegistrar rRange("cursors/RANGE.png", ResProgram::Editor, [] { return PngOf(Range(false)); });
ResRegistrar rRange2("cursors/RANGE2.png", ResProgram::Editor, [] { return PngOf(Range(true)); });

} // namespace

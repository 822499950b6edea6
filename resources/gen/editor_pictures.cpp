// Pictures of the editor's own controls: the glyphs of the motion check button, "play" while the
// preview stands still and "pause" while it runs. 16 x 16 with a transparent background, flat
// colours with a dark outline, so they read on the button face at any size the style gives them.
#include "ResGen.h"

#include <QPainter>
#include <QPolygon>

namespace {

QImage Blank()
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

QImage Play()
{
    QImage img = Blank();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(20, 70, 30), 1));
    p.setBrush(QColor(40, 170, 70));
    p.drawPolygon(QPolygon({QPoint(4, 2), QPoint(13, 8), QPoint(4, 14)}));
    // A light edge on the upper side gives the triangle some body.
    p.setPen(QPen(QColor(150, 230, 160), 1));
    p.drawLine(5, 4, 10, 8);
    return img;
}

QImage Pause()
{
    QImage img = Blank();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(110, 30, 20), 1));
    p.setBrush(QColor(215, 70, 50));
    p.drawRect(QRect(3, 2, 3, 11));
    p.drawRect(QRect(9, 2, 3, 11));
    p.setPen(QPen(QColor(245, 160, 140), 1));
    p.drawLine(4, 3, 4, 11);
    p.drawLine(10, 3, 10, 11);
    return img;
}

ResRegistrar rPlay("bitmaps/imTestPlay.png", ResProgram::Editor, [] { return PngOf(Play()); });
ResRegistrar rPause("bitmaps/imTestPause.png", ResProgram::Editor, [] { return PngOf(Pause()); });

} // namespace

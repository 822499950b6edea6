#include "PictureSelectView.h"

#include "EditorGdi.h"
#include "PaintBox.h"
#include <QMouseEvent>
#include <QPainter>
#include <vector>

TPictureSelectView::TPictureSelectView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(0, 0);
}

QImage TPictureSelectView::Render(const QRect& wanted) const
{
    const QRect area = wanted.intersected(rect());
    QImage tile(area.size(), QImage::Format_RGB32);
    if (tile.isNull()) return tile;
    const QRgb back = ToPixel(BackColor), flashMask = ToPixel(OutlineColor);
    tile.fill(Flash ? flashMask : back);
    const QImage* pic = Picture;
    if (pic && !pic->isNull() && width() > 0 && height() > 0) {
        // Stretched as a bitmap is stretched: view pixel x shows picture pixel x * w / width.
        std::vector<int> column(size_t(area.width()));
        for (int x = 0; x < area.width(); ++x)
            column[size_t(x)] = int(qint64(area.left() + x) * pic->width() / width());
        const QRgb white = ToPixel(clWhite);
        for (int y = 0; y < area.height(); ++y) {
            const int py = int(qint64(area.top() + y) * pic->height() / height());
            const QRgb* s = reinterpret_cast<const QRgb*>(pic->constScanLine(py));
            QRgb* d = reinterpret_cast<QRgb*>(tile.scanLine(y));
            for (int x = 0; x < area.width(); ++x) {
                const QRgb c = s[column[size_t(x)]] | 0xFF000000u;
                if (Flash) d[x] = c & flashMask;
                else if (c != white) d[x] = c;
            }
        }
    }
    const TPen pen{OutlineColor, std::max(1, OutlineWidth), TPenStyle::psSolid, TPenMode::pmNotXor};
    if (Outline && !Outline->Empty()) {
        TCutOutline shown = *Outline;
        for (QPoint& p : shown.Points) p = Zoom.PictureToScreenPoint(p);
        DrawOutline(tile, shown, pen, TBrush{clWhite, TBrushStyle::bsClear}, false, -area.topLeft());
    }
    if (DotShown)
        StrokeDot(tile, Zoom.PictureToScreenPoint(Dot) - area.topLeft(), TGeoPen{pen.Width, OutlineColor, gpsSolid},
                  TPenMode::pmNotXor);
    return tile;
}

void TPictureSelectView::paintEvent(QPaintEvent* e)
{
    const QRect area = e->rect().intersected(rect());
    if (area.isEmpty()) return;
    QPainter(this).drawImage(area.topLeft(), Render(area));
}

void TPictureSelectView::mousePressEvent(QMouseEvent* e)
{
    if (OnMouseDown)
        OnMouseDown(MouseButtonOf(e->button()), ShiftStateOf(e->modifiers(), e->buttons()), int(e->position().x()),
                    int(e->position().y()));
}

void TPictureSelectView::mouseMoveEvent(QMouseEvent* e)
{
    if (OnMouseMove)
        OnMouseMove(ShiftStateOf(e->modifiers(), e->buttons()), int(e->position().x()), int(e->position().y()));
}

void TPictureSelectView::mouseReleaseEvent(QMouseEvent* e)
{
    if (OnMouseUp)
        OnMouseUp(MouseButtonOf(e->button()), ShiftStateOf(e->modifiers(), e->buttons()), int(e->position().x()),
                  int(e->position().y()));
}

void TPictureSelectView::leaveEvent(QEvent* e)
{
    QWidget::leaveEvent(e);
    if (OnLeave) OnLeave();
}

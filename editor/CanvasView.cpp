#include "CanvasView.h"

#include "Color.h"
#include "PaintBox.h"
#include <QMouseEvent>
#include <QPainter>

TCanvasView::TCanvasView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    SetViewSize(140, 70);
}

void TCanvasView::SetViewSize(int w, int h)
{
    w = std::max(1, w);
    h = std::max(1, h);
    if (m_surface.size() != QSize(w, h)) {
        m_surface = QImage(w, h, QImage::Format_RGB32);
        m_surface.fill(ToPixel(clWhite));
    }
    resize(w, h);
    Invalidate();
}

void TCanvasView::Invalidate()
{
    m_dirty = true;
    update();
}

void TCanvasView::RepaintNow()
{
    m_dirty = false;
    if (OnPaint) OnPaint();
    update();
}

void TCanvasView::paintEvent(QPaintEvent* e)
{
    if (m_dirty) {
        m_dirty = false;
        if (OnPaint) OnPaint();
    }
    QPainter p(this);
    const QRect r = e->rect();
    p.drawImage(r.topLeft(), m_surface, r);
}

void TCanvasView::mousePressEvent(QMouseEvent* e)
{
    if (OnMouseDown)
        OnMouseDown(MouseButtonOf(e->button()), ShiftStateOf(e->modifiers(), e->buttons()), int(e->position().x()),
                    int(e->position().y()));
}

void TCanvasView::mouseMoveEvent(QMouseEvent* e)
{
    if (OnMouseMove) OnMouseMove(ShiftStateOf(e->modifiers(), e->buttons()), int(e->position().x()), int(e->position().y()));
}

void TCanvasView::mouseReleaseEvent(QMouseEvent* e)
{
    if (OnMouseUp)
        OnMouseUp(MouseButtonOf(e->button()), ShiftStateOf(e->modifiers(), e->buttons()), int(e->position().x()),
                  int(e->position().y()));
}

void TCanvasView::mouseDoubleClickEvent(QMouseEvent* e)
{
    mousePressEvent(e);
}

TGhostImage::TGhostImage(QWidget* parent, const QImage& img) : QWidget(parent)
{
    // Pure white shows what lies under the ghost.
    m_img = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < m_img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(m_img.scanLine(y));
        for (int x = 0; x < m_img.width(); ++x)
            if ((line[x] & 0xFFFFFFu) == 0xFFFFFFu) line[x] = 0;
    }
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TGhostImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(rect(), m_img);
}

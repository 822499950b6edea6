#include "PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

TMouseButton MouseButtonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return TMouseButton::mbLeft;
    }
}

TPaintBox::TPaintBox(QWidget* parent, int w, int h) : QWidget(parent), m_canvas(&m_surface)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(w, h);
    m_surface = QImage(w, h, QImage::Format_RGB32);
    m_surface.fill(ToPixel(clWhite));
}

void TPaintBox::SetBounds(int x, int y, int w, int h)
{
    setGeometry(x, y, w, h);
}

void TPaintBox::resizeEvent(QResizeEvent*)
{
    if (m_surface.size() == size()) return;
    QImage n(size(), QImage::Format_RGB32);
    n.fill(ToPixel(clWhite));
    QPainter p(&n);
    p.drawImage(0, 0, m_surface);
    p.end();
    m_surface = n;
}

void TPaintBox::Show(const TBitmap& bmp)
{
    m_canvas.Draw(0, 0, bmp.Image(), false);
    Changed();
}

void TPaintBox::Changed()
{
    if (m_inPaint) return;
    m_changed = true;
    update();
}

void TPaintBox::paintEvent(QPaintEvent*)
{
    const bool ours = m_changed;
    m_changed = false;
    if (OnPaint && !ours) {
        m_inPaint = true;
        OnPaint();
        m_inPaint = false;
    }
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}

void TPaintBox::mousePressEvent(QMouseEvent* e)
{
    if (OnMouseDown)
        OnMouseDown(MouseButtonOf(e->button()), ShiftStateOf(e->modifiers(), e->buttons()), int(e->position().x()),
                    int(e->position().y()));
}

void TPaintBox::mouseMoveEvent(QMouseEvent* e)
{
    if (OnMouseMove) OnMouseMove(ShiftStateOf(e->modifiers(), e->buttons()), int(e->position().x()), int(e->position().y()));
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* e)
{
    if (OnMouseUp)
        OnMouseUp(MouseButtonOf(e->button()), ShiftStateOf(e->modifiers(), e->buttons()), int(e->position().x()),
                  int(e->position().y()));
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (OnDblClick) OnDblClick();
    else mousePressEvent(e);
}

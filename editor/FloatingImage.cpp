#include "FloatingImage.h"
#include "PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The picture with pure white see-through, for drawing over the canvas.
QImage SeeThrough(const QImage& picture)
{
    QImage img = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFFu) == 0xFFFFFFu) line[x] = 0;
    }
    return img;
}

void Report(const TOverlayMouse& handler, QMouseEvent* e, bool release)
{
    if (!handler) return;
    // A release reports the button let go; a move the buttons held.
    const TShiftState shift = ShiftStateOf(e->modifiers(), release ? Qt::MouseButtons(e->button()) : e->buttons());
    handler(MouseButtonOf(e->button()), shift, e->globalPosition().toPoint());
}

} // namespace

void TMouseOverlay::mousePressEvent(QMouseEvent* e)
{
    Report(OnMouseDown, e, false);
}

void TMouseOverlay::mouseMoveEvent(QMouseEvent* e)
{
    Report(OnMouseMove, e, false);
}

void TMouseOverlay::mouseReleaseEvent(QMouseEvent* e)
{
    Report(OnMouseUp, e, true);
}

TFrameImage::TFrameImage(QWidget* parent, const QString& name) : TOverlay(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TFrameImage::SetPicture(const QImage& frame)
{
    m_picture = frame;
    m_shown = SeeThrough(frame);
    resize(frame.size());
    update();
}

void TFrameImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_shown);
}

TFloatingImage::TFloatingImage(QWidget* parent, const QString& name, int tag, TFrameImage* frame)
    : TMouseOverlay(parent), Tag(tag), Frame(frame)
{
    setObjectName(name);
    hide();
}

void TFloatingImage::SetPicture(const QImage& picture)
{
    m_picture = picture.convertToFormat(QImage::Format_RGB32);
    prepare();
}

void TFloatingImage::SetTransparent(bool on)
{
    m_transparent = on;
    prepare();
}

void TFloatingImage::prepare()
{
    m_shown = m_transparent ? SeeThrough(m_picture) : m_picture;
    update();
}

TBounds TFloatingImage::Bounds() const
{
    // The widget covers the rectangle made positive; its left edge is the right one while the
    // width is negative.
    return {m_width < 0 ? x() - m_width : x(), m_height < 0 ? y() - m_height : y(), m_width, m_height};
}

void TFloatingImage::SetBounds(const TBounds& b)
{
    m_width = b.Width;
    m_height = b.Height;
    const int l = b.Width < 0 ? b.Left + b.Width : b.Left, t = b.Height < 0 ? b.Top + b.Height : b.Top;
    setGeometry(l, t, std::abs(b.Width), std::abs(b.Height));
    update();
}

void TFloatingImage::paintEvent(QPaintEvent*)
{
    if (m_shown.isNull()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Mirrored while a side is dragged past the other.
    p.translate(m_width < 0 ? width() : 0, m_height < 0 ? height() : 0);
    p.scale(m_width < 0 ? -1 : 1, m_height < 0 ? -1 : 1);
    p.drawImage(QRect(0, 0, width(), height()), m_shown);
}

THandle::THandle(QWidget* parent, const QString& name, TKind kind, int tag) : TMouseOverlay(parent), Kind(kind), Tag(tag)
{
    setObjectName(name);
    resize(7, 7);
    hide();
}

void THandle::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), QColor(255, 0, 0));
}

void TScrollBox::scrollContentsBy(int dx, int dy)
{
    QScrollArea::scrollContentsBy(dx, dy);
    for (QObject* o : viewport()->children())
        if (auto* w = qobject_cast<TOverlay*>(o)) w->move(w->pos() + QPoint(dx, dy));
}

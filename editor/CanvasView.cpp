#include "CanvasView.h"

#include "Color.h"
#include "EditorGeometry.h"
#include "PaintBox.h"
#include <algorithm>
#include <QLineEdit>
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

TStripView::TStripView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TStripView::SetPicture(const QImage* sheet, const QRect& cell)
{
    m_sheet = sheet;
    m_cell = cell;
    if (m_sheet) resize(m_sheet->size());
    update();
}

void TStripView::DrawCellFrame(QImage& img, const QRect& cell)
{
    const QRgb red = ToPixel(clRed);
    auto fill = [&](int x, int y, int w, int h) {
        const QRect r = QRect(x, y, w, h).intersected(img.rect());
        for (int yy = r.top(); yy <= r.bottom(); ++yy) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
            std::fill(line + r.left(), line + r.right() + 1, red);
        }
    };
    fill(cell.left(), cell.top(), cell.width(), 2);
    fill(cell.left(), cell.bottom() - 1, cell.width(), 2);
    fill(cell.left(), cell.top(), 2, cell.height());
    fill(cell.right() - 1, cell.top(), 2, cell.height());
}

QImage TStripView::Picture() const
{
    if (!m_sheet) return QImage();
    QImage img = m_sheet->convertToFormat(QImage::Format_RGB32);
    DrawCellFrame(img, m_cell);
    return img;
}

void TStripView::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    const QRect r = e->rect();
    p.fillRect(r, palette().color(QPalette::Window));
    if (!m_sheet) return;
    p.drawImage(r.topLeft(), *m_sheet, r);
    // Only the frame's part of the strip is drawn again, with the frame on it.
    const QRect f = m_cell.intersected(r);
    if (f.isEmpty()) return;
    QImage cell = m_sheet->copy(m_cell);
    DrawCellFrame(cell, QRect(QPoint(0, 0), m_cell.size()));
    p.drawImage(m_cell.topLeft(), cell);
}

void TStripView::mousePressEvent(QMouseEvent* e)
{
    if (OnMouseDown) OnMouseDown(int(e->position().x()), int(e->position().y()));
}

TUpDown::TUpDown(QWidget* parent) : QSpinBox(parent)
{
    lineEdit()->setReadOnly(true);
    lineEdit()->setFocusPolicy(Qt::NoFocus);
    setFixedWidth(28);
}

QString CssColor(TColor c)
{
    return QStringLiteral("#%1%2%3")
        .arg(GetRValue(c), 2, 16, QLatin1Char('0'))
        .arg(GetGValue(c), 2, 16, QLatin1Char('0'))
        .arg(GetBValue(c), 2, 16, QLatin1Char('0'));
}

TColorPanel::TColorPanel(QWidget* parent, const QString& name, int tag) : QLabel(parent), Tag(tag)
{
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
    restyle();
}

void TColorPanel::SetColor(TColor c)
{
    m_color = c;
    restyle();
}

void TColorPanel::SetCaptionColor(TColor c)
{
    m_caption = c;
    restyle();
}

void TColorPanel::SetBorder(bool on)
{
    m_border = on;
    restyle();
}

void TColorPanel::restyle()
{
    // The selected panel's border stands out against its own colour.
    const QString border = m_border ? QStringLiteral("3px solid %1").arg(CssColor(ContrastTextColor(m_color)))
                                    : QStringLiteral("1px solid #a0a0a0");
    setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; border: %3; }").arg(CssColor(m_color), CssColor(m_caption), border));
}

void TColorPanel::mousePressEvent(QMouseEvent* e)
{
    if (OnMouseDown) OnMouseDown(e);
}

void TColorPanel::mouseReleaseEvent(QMouseEvent* e)
{
    if (OnMouseUp) OnMouseUp(e);
}

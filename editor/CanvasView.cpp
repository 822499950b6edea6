#include "CanvasView.h"

#include "ClipboardCache.h"
#include "Color.h"
#include "EditorGeometry.h"
#include "PaintBox.h"
#include <algorithm>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QStyleOptionSpinBox>

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

namespace {

// The up-down's look on any platform style: its two arrow buttons share the whole control, one
// above the other, and there is no edit field beside them.
class TUpDownStyle : public QProxyStyle {
public:
    TUpDownStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc, const QWidget* w) const override
    {
        if (cc != CC_SpinBox) return QProxyStyle::subControlRect(cc, opt, sc, w);
        const QRect r = opt->rect;
        const int half = r.height() / 2;
        switch (sc) {
        case SC_SpinBoxUp: return QRect(r.left(), r.top(), r.width(), half);
        case SC_SpinBoxDown: return QRect(r.left(), r.top() + half, r.width(), r.height() - half);
        case SC_SpinBoxFrame: return r;
        default: return QRect();
        }
    }

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p, const QWidget* w) const override
    {
        const auto* box = qstyleoption_cast<const QStyleOptionSpinBox*>(opt);
        if (cc != CC_SpinBox || !box) {
            QProxyStyle::drawComplexControl(cc, opt, p, w);
            return;
        }
        for (const SubControl sc : {SC_SpinBoxUp, SC_SpinBoxDown}) {
            const bool up = sc == SC_SpinBoxUp;
            QStyleOptionButton button;
            button.QStyleOption::operator=(*opt);
            button.rect = subControlRect(cc, opt, sc, w);
            button.state &= ~(State_Sunken | State_HasFocus);
            if (!(box->stepEnabled & (up ? QAbstractSpinBox::StepUpEnabled : QAbstractSpinBox::StepDownEnabled)))
                button.state &= ~(State_Enabled | State_MouseOver);
            else if (box->activeSubControls == sc && (opt->state & State_Sunken))
                button.state |= State_Sunken;
            else
                button.state |= State_Raised;
            drawPrimitive(PE_PanelButtonBevel, &button, p, w);
            QStyleOption arrow = button;
            arrow.rect = button.rect.adjusted(2, 1, -2, -1);
            drawPrimitive(up ? PE_IndicatorArrowUp : PE_IndicatorArrowDown, &arrow, p, w);
        }
    }
};

QStyle* UpDownStyle()
{
    // Shared by every up-down for the whole run; a widget never owns its style.
    static QStyle* style = new TUpDownStyle;
    return style;
}

} // namespace

bool TMemo::canInsertFromMimeData(const QMimeData* source) const
{
    if (const auto mode = TClipboardCache::ModeOf(source)) return TClipboardCache::Of().HasText(*mode);
    return source && source->hasText();
}

void TMemo::insertFromMimeData(const QMimeData* source)
{
    if (!canInsertFromMimeData(source)) return;
    const auto mode = TClipboardCache::ModeOf(source);
    insertPlainText(mode ? TClipboardCache::Of().Text(*mode) : source->text());
}

TUpDown::TUpDown(QWidget* parent) : QSpinBox(parent)
{
    setStyle(UpDownStyle());
    lineEdit()->setReadOnly(true);
    lineEdit()->setFocusPolicy(Qt::NoFocus);
    setFixedWidth(17);
}

void TUpDown::Associate(QLineEdit* edit)
{
    m_buddy = edit;
    connect(this, &QSpinBox::valueChanged, edit, [edit](int v) {
        if (edit->text().trimmed() != QString::number(v)) edit->setText(QString::number(v));
    });
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool ok = false;
        const int v = text.trimmed().toInt(&ok);
        const QSignalBlocker block(this);
        if (ok) setValue(v);
    });
    edit->installEventFilter(this);
}

bool TUpDown::eventFilter(QObject* o, QEvent* e)
{
    if (o == m_buddy && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QSpinBox::eventFilter(o, e);
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

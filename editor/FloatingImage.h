#pragma once
// The pictures that lie over the canvas view: the sample underlay (imMihon), the floating copy
// (imPaste) and the imported picture (imFace), each with the frame drawn round it, and the sixteen
// handles that stretch, rotate and flip the current one. All of them sit in the scroll box's client
// area and scroll with the canvas, as children of a scroll box do.
#include "Color.h"
#include "Keys.h"
#include <QImage>
#include <QScrollArea>
#include <QWidget>
#include <functional>

// A rectangle of the scroll box's client area whose width and height may be negative while a side
// is dragged past the opposite one.
struct TBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TBounds&) const = default;
};

// A widget over the canvas that moves with the scroll bars.
class TOverlay : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
};

// The mouse as the floating images and handles report it: the pointer on the screen.
using TOverlayMouse = std::function<void(TMouseButton, TShiftState, QPoint screen)>;

// An overlay that reports the mouse pressed, moved and let go over it.
class TMouseOverlay : public TOverlay {
    Q_OBJECT
public:
    using TOverlay::TOverlay;
    TOverlayMouse OnMouseDown, OnMouseMove, OnMouseUp;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// The frame image of a floating image: 6 pixels wider and higher than it, placed 3 pixels up and
// left of it, with pure white (its transparent colour) showing what lies under it.
class TFrameImage : public TOverlay {
    Q_OBJECT
public:
    explicit TFrameImage(QWidget* parent, const QString& name);
    void SetPicture(const QImage& frame);
    const QImage& Picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage m_picture, m_shown;
};

class TFloatingImage : public TMouseOverlay {
    Q_OBJECT
public:
    // tag: 0 sample, 1 copy, 2 import.
    TFloatingImage(QWidget* parent, const QString& name, int tag, TFrameImage* frame);
    const int Tag;
    TFrameImage* const Frame;

    // The picture, shown stretched over the image (after a rotation it is at screen resolution).
    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);
    // Pure white shows what lies under the image; off only for the commit's flash.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on);

    // Place and size in the scroll box's client area; a negative size shows the picture mirrored.
    TBounds Bounds() const;
    void SetBounds(const TBounds& b);
    int Left() const { return Bounds().Left; }
    int Top() const { return Bounds().Top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void MoveTo(int left, int top) { SetBounds({left, top, m_width, m_height}); }

    // The canvas place and size the zoom re-layout places the image from.
    QPoint StoredPos;
    QSize StoredSize;
    // 0 none since the last tool change or import, 2 stretched, 3 rotated, 4 flipped, 5 re-laid out.
    int LastTransform = 0;
    // Rotation since the rotation source was taken, in radians.
    double Angle = 0;
    QImage RotationSource;
    QSize RotationShownSize; // the screen size the rotation source stands for

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void prepare();
    QImage m_picture, m_shown;
    bool m_transparent = true;
    int m_width = 0, m_height = 0;
};

// A handle of the current floating image: a red square.
class THandle : public TMouseOverlay {
    Q_OBJECT
public:
    enum TKind { Stretch, Rotate, Flip };
    THandle(QWidget* parent, const QString& name, TKind kind, int tag);
    const TKind Kind;
    const int Tag;

protected:
    void paintEvent(QPaintEvent* e) override;
};

// The canvas view's scroll box: its overlays move with the content when the bars move.
class TScrollBox : public QScrollArea {
    Q_OBJECT
public:
    using QScrollArea::QScrollArea;

protected:
    void scrollContentsBy(int dx, int dy) override;
};

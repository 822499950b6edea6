#pragma once
// The picture view of the picture import dialog (its Image1): the working picture stretched to the
// zoom over the background colour (which shows where the picture is pure white), the cut-out
// outline and the pointer dot drawn over it in the not-xor mode of the outline colour. The view
// holds no picture of its own size: each paint draws only the part asked for, so a large picture
// at a high zoom costs no more than the window shows.
#include "Keys.h"
#include "PictureImport.h"
#include <QWidget>
#include <functional>

class TPictureSelectView : public QWidget {
    Q_OBJECT
public:
    explicit TPictureSelectView(QWidget* parent);

    // What is shown; the dialog owns it and asks for a repaint after each change.
    const QImage* Picture = nullptr;
    const TCutOutline* Outline = nullptr;
    TPictureZoom Zoom;
    TColor BackColor = 0x00FF00;
    TColor OutlineColor = 0x0000FF;
    int OutlineWidth = 1;
    // The pointer dot, in picture pixels.
    QPoint Dot;
    bool DotShown = false;
    // The whole view in the outline colour with the picture masked over it.
    bool Flash = false;

    // The part `area` of the view as it shows (view coordinates).
    QImage Render(const QRect& area) const;

    std::function<void(TMouseButton, TShiftState, int, int)> OnMouseDown;
    std::function<void(TShiftState, int, int)> OnMouseMove;
    std::function<void(TMouseButton, TShiftState, int, int)> OnMouseUp;
    std::function<void()> OnLeave;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
};

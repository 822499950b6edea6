#pragma once
// A paint box: a surface of its own size that the form draws on; painting shows the surface after
// OnPaint has had its say. Mouse events come with the form's coordinates and buttons.
#include "Canvas.h"
#include "Keys.h"
#include <QWidget>
#include <functional>

class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent, int w = 100, int h = 100);
    void SetBounds(int x, int y, int w, int h);
    TCanvas& Canvas() { return m_canvas; }
    QImage& Surface() { return m_surface; }
    // Copies a whole picture to the surface at (0, 0) and shows it.
    void Show(const TBitmap& bmp);
    // Shows what was drawn on the surface (nothing more to do while OnPaint runs).
    void Changed();

    // Runs when the window system asks for the box to be painted again (uncovered, shown), not for
    // the paints that Changed asks for: a handler that draws and calls Changed cannot loop.
    std::function<void()> OnPaint;
    std::function<void(TMouseButton, TShiftState, int, int)> OnMouseDown;
    std::function<void(TShiftState, int, int)> OnMouseMove;
    std::function<void(TMouseButton, TShiftState, int, int)> OnMouseUp;
    std::function<void()> OnDblClick;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    QImage m_surface;
    TCanvas m_canvas;
    bool m_inPaint = false;
    bool m_changed = false;
};

// Mouse button of a Qt button.
TMouseButton MouseButtonOf(Qt::MouseButton b);

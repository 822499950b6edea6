#pragma once
// The zoomed canvas view (Image1) and the ghost pictures that follow the pointer while shapes move.
// The view keeps its own surface: a repaint that was asked for draws the whole surface through
// OnPaint; rubber-band previews drawn onto the surface in between stay until the next such repaint,
// as on a window that is only painted when invalidated.
#include "Color.h"
#include "Keys.h"
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QWidget>
#include <functional>

class QLineEdit;

class TCanvasView : public QWidget {
    Q_OBJECT
public:
    explicit TCanvasView(QWidget* parent);
    QImage& Surface() { return m_surface; }
    // Sets the size of the view (and its surface); the next paint redraws it.
    void SetViewSize(int w, int h);
    // Asks for a full repaint through OnPaint.
    void Invalidate();
    // Paints at once (a full repaint through OnPaint), without waiting for the event loop.
    void RepaintNow();
    // Shows what was drawn onto the surface directly.
    void ShowSurface() { update(); }
    bool Dirty() const { return m_dirty; }

    std::function<void()> OnPaint;
    std::function<void(TMouseButton, TShiftState, int, int)> OnMouseDown;
    std::function<void(TShiftState, int, int)> OnMouseMove;
    std::function<void(TMouseButton, TShiftState, int, int)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    QImage m_surface;
    bool m_dirty = true;
};

// A picture shown stretched to its widget size, pure white transparent.
class TGhostImage : public QWidget {
    Q_OBJECT
public:
    TGhostImage(QWidget* parent, const QImage& img);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage m_img;
};

// The player strip (imChara): the whole sheet at its own size, with a red frame of two pixels
// inside the selected cell. It shows the sheet it is given without copying it.
class TStripView : public QWidget {
    Q_OBJECT
public:
    explicit TStripView(QWidget* parent);
    // The sheet shown (kept by the caller) and the selected cell's rectangle.
    void SetPicture(const QImage* sheet, const QRect& cell);
    std::function<void(int x, int y)> OnMouseDown;
    static void DrawCellFrame(QImage& img, const QRect& cell);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    const QImage* m_sheet = nullptr;
    QRect m_cell;
};

// An up-down control: two stacked arrow buttons holding a number that the form shows in its own
// way (the player "2/5", the motion check's frame or speed) or in an edit box beside it.
class TUpDown : public QSpinBox {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent);
    // The edit box that shows the number: the arrows write it there, what is typed moves the
    // up-down (held to its range), and Up and Down typed in the box step it.
    void Associate(QLineEdit* edit);

protected:
    QString textFromValue(int) const override { return QString(); }
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QLineEdit* m_buddy = nullptr;
};

// A box of several lines of plain text that takes from the clipboard (keys, its menu, the middle
// button, a drop) only the text really there: a clipboard with no owner offers no formats at all,
// and Qt's own paste reads the first of them. What the clipboard holds is taken from the editor's
// kept answers, so a paste asks the clipboard's owner at most once per change.
class TMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

// A panel of a colour with a caption, as the palette and the re-shape light show them.
class TColorPanel : public QLabel {
    Q_OBJECT
public:
    TColorPanel(QWidget* parent, const QString& name, int tag);
    int Tag;
    TColor Color() const { return m_color; }
    void SetColor(TColor c);
    void SetCaptionColor(TColor c);
    void SetBorder(bool on);
    std::function<void(QMouseEvent*)> OnMouseDown;
    std::function<void(QMouseEvent*)> OnMouseUp;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void restyle();
    TColor m_color = clWhite;
    TColor m_caption = clBlack;
    bool m_border = false;
};

// A colour as a style sheet writes it.
QString CssColor(TColor c);

#pragma once
// A bitmap with a drawing canvas, as the game and editor code draws: right and bottom edges of
// rectangles and ellipses are exclusive, LineTo leaves out its end point, and pure white is the
// transparent colour wherever a bitmap is drawn with transparency on.
#include "Color.h"
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum class TPenMode { pmCopy, pmNotXor, pmXor, pmMask, pmMerge, pmNot };
enum class TBrushStyle { bsSolid, bsClear };
enum class TFillStyle { fsSurface, fsBorder };
enum class TCopyMode { cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcInvert, cmNotSrcCopy };

// A pixel drawn in a pen mode over what is there (copy, not-xor, xor, mask, merge, not).
QRgb CombinePen(QRgb dst, QRgb src, TPenMode mode);

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

struct TFont {
    QString Name = QStringLiteral("ＭＳ ゴシック");
    int PixelHeight = 13; // character height in pixels (the negative Height of a font)
    TColor Color = clBlack;
    bool Bold = false;
    bool Italic = false;
    // Point size at 96 pixels per inch, as the forms give sizes.
    void SetSize(int points) { PixelHeight = (points * 96 + 36) / 72; }
    int Size() const { return (PixelHeight * 72 + 48) / 96; }
    void SetHeight(int height) { PixelHeight = height < 0 ? -height : height; }
    QFont ToQFont() const;
};

class TBitmap;

class TCanvas {
public:
    explicit TCanvas(QImage* target) : m_img(target) {}

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TCopyMode CopyMode = TCopyMode::cmSrcCopy;

    const QImage& Image() const { return *m_img; }

    void MoveTo(int x, int y) { m_pen = QPoint(x, y); }
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(const std::vector<QPoint>& pts);
    void Polyline(const std::vector<QPoint>& pts);
    // Fills x1..x2-1, y1..y2-1 with the brush.
    void FillRect(int x1, int y1, int x2, int y2);
    // Outlines x1..x2-1, y1..y2-1 in the brush colour, one pixel wide.
    void FrameRect(int x1, int y1, int x2, int y2);
    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    // Draws a bitmap at (x, y); with its Transparent flag on, pixels of its transparent colour are left out.
    void Draw(int x, int y, const TBitmap& src);
    void Draw(int x, int y, const QImage& src, bool transparent, TColor transparentColor = clWhite);
    // Copies src's rectangle onto dest with CopyMode, stretching (nearest pixel) when the sizes differ.
    void CopyRect(const QRect& dest, const TCanvas& src, const QRect& srcRect);

    // Reading outside the picture gives 0xFFFFFFFF.
    TColor Pixel(int x, int y) const;

    // Iterative scanline fill, 4-connected, exact colour match. fsSurface fills the area of `color`
    // connected to (x, y); fsBorder fills everything connected up to the border `color`.
    void FloodFill(int x, int y, TColor color, TFillStyle style);

private:
    void plot(int x, int y, TColor c, TPenMode mode);
    void thinLine(int x1, int y1, int x2, int y2, bool includeEnd);
    void penPath(const std::vector<QPoint>& pts, bool closed);
    bool simplePen() const { return Pen.Width <= 1; }
    QImage* m_img;
    QPoint m_pen;
};

class TBitmap {
public:
    TBitmap();
    TBitmap(int w, int h);
    TBitmap(const TBitmap& o);
    TBitmap& operator=(const TBitmap& o);

    int Width() const { return m_img.width(); }
    int Height() const { return m_img.height(); }
    // New pixels are white, as a freshly sized bitmap is.
    void SetSize(int w, int h);
    bool Empty() const { return m_img.isNull() || m_img.width() == 0 || m_img.height() == 0; }
    void Assign(const QImage& img);

    TCanvas& Canvas() { return m_canvas; }
    const TCanvas& Canvas() const { return m_canvas; }
    QImage& Image() { return m_img; }
    const QImage& Image() const { return m_img; }

    bool Transparent = false;
    TColor TransparentColor = clWhite;

    // A built-in picture by its resource name (PLAYER0, GOALBMP, ...); false when there is none.
    bool LoadFromResourceName(const QString& name);

private:
    QImage m_img;
    TCanvas m_canvas;
};

// A built-in picture; a null image when the name is unknown.
QImage ResourceBitmap(const QString& name);
// A picture of the program's own resources, read as the given format ("PNG", "BMP") and kept as it
// is (alpha included); a null image when it cannot be read.
QImage ReadResourcePicture(const QString& path, const char* format);
// Copies the part of src that fits onto dst's top-left corner, pixels as they are (a back buffer
// shown, a background laid under a scene).
void CopyImageRows(QImage& dst, const QImage& src);

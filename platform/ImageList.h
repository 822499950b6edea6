#pragma once
// Fixed-size pictures, drawn with their mask colour (pure white) left out.
#include "Canvas.h"
#include <vector>

class TImageList {
public:
    TImageList(int w = 16, int h = 16) : m_w(w), m_h(h) {}
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    int Count() const { return int(m_images.size()); }
    // Adds the picture (cut or padded with white to the list's size); pixels of `mask` are transparent.
    int AddMasked(const TBitmap& bmp, TColor mask = clWhite);
    int AddMasked(const QImage& img, TColor mask = clWhite);
    void Clear() { m_images.clear(); }
    // Draws picture `index`; an index out of range draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index) const;
    // Copies picture `index` into bmp (resized to the list's size).
    void GetBitmap(int index, TBitmap& bmp) const;
    const QImage& Image(int index) const { return m_images.at(size_t(index)).img; }
    void Assign(const TImageList& o) { *this = o; }

private:
    struct Entry {
        QImage img;
        TColor mask;
    };
    int m_w, m_h;
    std::vector<Entry> m_images;
};

#include "ImageList.h"

#include <QPainter>

int TImageList::AddMasked(const TBitmap& bmp, TColor mask)
{
    return AddMasked(bmp.Image(), mask);
}

int TImageList::AddMasked(const QImage& src, TColor mask)
{
    QImage img(m_w, m_h, QImage::Format_RGB32);
    img.fill(ToPixel(clWhite));
    if (!src.isNull()) {
        QPainter p(&img);
        p.drawImage(0, 0, src.convertToFormat(QImage::Format_RGB32));
    }
    m_images.push_back({img, mask});
    return int(m_images.size()) - 1;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) const
{
    if (index < 0 || index >= Count()) return;
    const Entry& e = m_images[size_t(index)];
    const TCopyMode keep = canvas.CopyMode;
    canvas.CopyMode = TCopyMode::cmSrcCopy;
    canvas.Draw(x, y, e.img, true, e.mask);
    canvas.CopyMode = keep;
}

void TImageList::GetBitmap(int index, TBitmap& bmp) const
{
    if (index < 0 || index >= Count()) return;
    bmp.Assign(m_images[size_t(index)].img);
}

#include "SampleUnderlay.h"

#include "SheetFile.h"
#include <algorithm>
#include <vector>

void FadeSampleImage(QImage& target, QPoint offset, TColor skip, TColor fade, const QImage& source)
{
    const QRect overlap = source.rect().translated(offset).intersected(target.rect());
    if (overlap.isEmpty()) return;
    if (target.format() != QImage::Format_RGB32) target = target.convertToFormat(QImage::Format_RGB32);
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    const QRgb skipped = ToPixel(skip) & 0xFFFFFFu;
    const int fr = GetRValue(fade), fg = GetGValue(fade), fb = GetBValue(fade);
    auto blend = [](int f, int t, int s) { return (f * t + (255 - f) * s) / 255; };
    for (int y = overlap.top(); y <= overlap.bottom(); ++y) {
        QRgb* d = reinterpret_cast<QRgb*>(target.scanLine(y));
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y - offset.y()));
        for (int x = overlap.left(); x <= overlap.right(); ++x) {
            const QRgb p = s[x - offset.x()];
            if ((p & 0xFFFFFFu) == skipped) continue;
            const QRgb t = d[x];
            d[x] = qRgb(blend(fr, qRed(t), qRed(p)), blend(fg, qGreen(t), qGreen(p)), blend(fb, qBlue(t), qBlue(p)));
        }
    }
}

QImage FadedSample(const QImage& sample)
{
    QImage faded(sample.size(), QImage::Format_RGB32);
    if (faded.isNull()) return faded;
    faded.fill(ToPixel(clWhite));
    FadeSampleImage(faded, QPoint(0, 0), clWhite, kSampleFadeColor, sample);
    return faded;
}

void DrawUnderlay(QImage& view, const QImage& faded, const QRect& at)
{
    if (faded.isNull() || at.width() < 1 || at.height() < 1) return;
    const QRect shown = at.intersected(view.rect());
    if (shown.isEmpty()) return;
    const QImage src = faded.convertToFormat(QImage::Format_RGB32);
    const qint64 fw = src.width(), fh = src.height();
    std::vector<int> xmap(size_t(shown.width()));
    for (int x = shown.left(); x <= shown.right(); ++x)
        xmap[size_t(x - shown.left())] = int(qint64(x - at.left()) * fw / at.width());
    for (int y = shown.top(); y <= shown.bottom(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(int(qint64(y - at.top()) * fh / at.height())));
        QRgb* d = reinterpret_cast<QRgb*>(view.scanLine(y)) + shown.left();
        for (size_t i = 0; i < xmap.size(); ++i) d[i] = s[xmap[i]] | 0xFF000000u;
    }
}

bool ReadSamplePicture(const QString& path, QImage& out, QString& error, int& fileError)
{
    // Read as a sheet of one-pixel cells: the same formats, checks and caps, any size.
    QImage picture;
    if (!ReadSheetFile(path, picture, error, 1, 1, &fileError)) return false;
    if (picture.width() > kMaxSampleWidth || picture.height() > kMaxSampleHeight) {
        error = QStringLiteral("見本画像が大きすぎます。（横%1×縦%2ピクセル以下の画像にして下さい）")
                    .arg(kMaxSampleWidth)
                    .arg(kMaxSampleHeight);
        return false;
    }
    out = picture;
    return true;
}

#pragma once
// The 24-bit Windows bitmap writer, header-only so that the build-time picture generator shares it.
#include <QByteArray>
#include <QImage>

namespace bmpwriter {
inline void put32(QByteArray& d, quint32 v)
{
    for (int i = 0; i < 4; ++i) d.append(char((v >> (8 * i)) & 0xFF));
}
inline void put16(QByteArray& d, quint16 v)
{
    d.append(char(v & 0xFF));
    d.append(char(v >> 8));
}
} // namespace bmpwriter

// BITMAPFILEHEADER, BITMAPINFOHEADER (40 bytes, no compression, no palette), rows bottom-up, each
// padded to 4 bytes.
inline QByteArray EncodeBmp24(const QImage& src)
{
    const QImage img = src.convertToFormat(QImage::Format_RGB32);
    const quint32 w = quint32(img.width()), h = quint32(img.height());
    const quint32 stride = ((w * 24 + 31) / 32) * 4;
    const quint32 imageSize = stride * h;
    QByteArray d;
    d.reserve(int(54 + imageSize));
    d.append("BM", 2);
    bmpwriter::put32(d, 54 + imageSize);
    bmpwriter::put32(d, 0);
    bmpwriter::put32(d, 54);
    bmpwriter::put32(d, 40);
    bmpwriter::put32(d, w);
    bmpwriter::put32(d, h);
    bmpwriter::put16(d, 1);
    bmpwriter::put16(d, 24);
    bmpwriter::put32(d, 0);
    bmpwriter::put32(d, imageSize);
    bmpwriter::put32(d, 0);
    bmpwriter::put32(d, 0);
    bmpwriter::put32(d, 0);
    bmpwriter::put32(d, 0);
    for (int y = int(h) - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        const qsizetype start = d.size();
        for (quint32 x = 0; x < w; ++x) {
            d.append(char(qBlue(line[x])));
            d.append(char(qGreen(line[x])));
            d.append(char(qRed(line[x])));
        }
        while (quint32(d.size() - start) < stride) d.append('\0');
    }
    return d;
}

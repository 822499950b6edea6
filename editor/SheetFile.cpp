#include "SheetFile.h"

#include "Canvas.h"
#include "FileErrorText.h"
#include "PictureFile.h"
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

QString formatError()
{
    return QStringLiteral("BMP ファイル（.bmp）か JPEG ファイル（.jpg）を選んで下さい。");
}

QString tooSmallError(int cellW, int cellH)
{
    return QStringLiteral("プレイヤー画像のファイルとしては小さすぎます。（横%1×縦%2ピクセル以上の画像にして下さい）")
        .arg(cellW)
        .arg(cellH);
}


} // namespace

TSheetFormat SheetFormatOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return TSheetFormat::None;
    const QString ext = name.mid(dot).toLower();
    if (ext == QLatin1String(".bmp")) return TSheetFormat::Bmp;
    if (ext == QLatin1String(".jpg")) return TSheetFormat::Jpeg;
    return TSheetFormat::None;
}

QString CompleteSheetName(const QString& path, TSheetFormat preferred)
{
    if (path.isEmpty() || SheetFormatOf(path) != TSheetFormat::None) return path;
    return path + (preferred == TSheetFormat::Jpeg ? QStringLiteral(".jpg") : QStringLiteral(".bmp"));
}

bool DecodeSheet(const QByteArray& data, TSheetFormat format, QImage& out, QString& error, int cellW, int cellH)
{
    QImage img;
    QString why;
    bool ok = false;
    switch (format) {
    case TSheetFormat::Bmp: ok = DecodeBmp(data, img, &why); break;
    case TSheetFormat::Jpeg: ok = DecodeJpeg(data, img, &why); break;
    case TSheetFormat::None: why = formatError(); break;
    }
    if (!ok) {
        error = why;
        return false;
    }
    if (img.width() < cellW || img.height() < cellH) {
        error = tooSmallError(cellW, cellH);
        return false;
    }
    // The decoders cap what they allocate; a picture that got past them is held to the same cap.
    if (qint64(img.width()) * img.height() > kMaxPicturePixels) {
        error = QStringLiteral("画像が大きすぎます。");
        return false;
    }
    if (img.format() != QImage::Format_RGB32) img = img.convertToFormat(QImage::Format_RGB32);
    out = img;
    return true;
}

bool ReadSheetFile(const QString& path, QImage& out, QString& error, int cellW, int cellH, int* fileError)
{
    if (fileError) *fileError = 0;
    const TSheetFormat format = SheetFormatOf(path);
    if (format == TSheetFormat::None) {
        error = formatError();
        return false;
    }
    QByteArray data;
    if (const int err = ReadRegularFile(path, kMaxPictureFileBytes, data)) {
        error = SystemErrorText(err);
        if (fileError) *fileError = err;
        return false;
    }
    return DecodeSheet(data, format, out, error, cellW, cellH);
}

bool EncodeSheet(const QImage& sheet, TSheetFormat format, TColor marker, QByteArray& out, QString& error)
{
    if (format == TSheetFormat::None) {
        error = formatError();
        return false;
    }
    QImage work = sheet.convertToFormat(QImage::Format_RGB32);
    const QRgb key = ToPixel(marker), white = ToPixel(clWhite);
    for (int y = 0; y < work.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(work.scanLine(y));
        for (int x = 0; x < work.width(); ++x)
            if ((line[x] | 0xFF000000u) == key) line[x] = white;
    }
    if (format == TSheetFormat::Bmp) {
        out = EncodeBmp24(work);
        return true;
    }
    QString why;
    if (!EncodeJpeg(work, 100, out, &why)) {
        error = why;
        return false;
    }
    return true;
}

bool WriteSheetFile(const QString& path, const QImage& sheet, TColor marker, QString& error, int* fileError)
{
    if (fileError) *fileError = 0;
    QByteArray bytes;
    if (!EncodeSheet(sheet, SheetFormatOf(path), marker, bytes, error)) return false;
    if (const int err = WriteFileAtomically(path, bytes)) {
        error = SystemErrorText(err);
        if (fileError) *fileError = err;
        return false;
    }
    return true;
}

void MakeInnerWhiteOpaque(QImage& picture, TColor opaqueWhite)
{
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return;
    if (picture.format() != QImage::Format_RGB32) picture = std::move(picture).convertToFormat(QImage::Format_RGB32);
    const int w = picture.width(), h = picture.height();
    const QRgb opaque = ToPixel(opaqueWhite), white = ToPixel(clWhite);
    const auto isWhite = [&](int x, int y) {
        const QRgb v = reinterpret_cast<const QRgb*>(picture.constScanLine(y))[x] | 0xFF000000u;
        return v == white || v == opaque;
    };
    // The whites that reach the border through whites (4-neighbours) are marked, a byte a pixel,
    // by scanline runs: the picture itself is the only copy of its pixels held meanwhile.
    std::vector<unsigned char> outer(size_t(w) * size_t(h), 0);
    const auto at = [w](int x, int y) { return size_t(y) * size_t(w) + size_t(x); };
    struct Seed {
        int x, y;
    };
    std::vector<Seed> seeds;
    const auto seed = [&](int x, int y) {
        if (!outer[at(x, y)] && isWhite(x, y)) seeds.push_back({x, y});
    };
    for (int x = 0; x < w; ++x) seed(x, 0), seed(x, h - 1);
    for (int y = 0; y < h; ++y) seed(0, y), seed(w - 1, y);
    while (!seeds.empty()) {
        const Seed s = seeds.back();
        seeds.pop_back();
        if (outer[at(s.x, s.y)]) continue;
        int l = s.x, r = s.x;
        while (l > 0 && !outer[at(l - 1, s.y)] && isWhite(l - 1, s.y)) --l;
        while (r < w - 1 && !outer[at(r + 1, s.y)] && isWhite(r + 1, s.y)) ++r;
        std::fill(outer.begin() + qsizetype(at(l, s.y)), outer.begin() + qsizetype(at(r, s.y)) + 1, 1);
        for (int ny : {s.y - 1, s.y + 1}) {
            if (ny < 0 || ny >= h) continue;
            bool inRun = false;
            for (int x = l; x <= r; ++x) {
                const bool open = !outer[at(x, ny)] && isWhite(x, ny);
                if (open && !inRun) seeds.push_back({x, ny});
                inRun = open;
            }
        }
    }
    // Outer white is transparent, enclosed white visible.
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (outer[at(x, y)]) line[x] = white;
            else if ((line[x] | 0xFF000000u) == white) line[x] = opaque;
        }
    }
}

void InsertSheetCell(QImage& sheet, int index, int cellW, int cellH)
{
    const int oldW = sheet.width(), h = sheet.height();
    const int left = std::clamp(index * cellW, 0, oldW);
    QImage grown(oldW + cellW, h, QImage::Format_RGB32);
    grown.fill(ToPixel(clWhite));
    const QImage src = sheet.format() == QImage::Format_RGB32 ? sheet : sheet.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(grown.scanLine(y));
        std::copy(s, s + left, d);
        std::copy(s + left, s + oldW, d + left + cellW);
    }
    // The new cell is blank: pure white, transparent in the games.
    for (int y = 0; y < std::min(h, cellH); ++y) {
        QRgb* d = reinterpret_cast<QRgb*>(grown.scanLine(y));
        std::fill(d + left, d + left + cellW, ToPixel(clWhite));
    }
    sheet = grown;
}

void DeleteSheetCell(QImage& sheet, int index, int cellW)
{
    const int oldW = sheet.width(), h = sheet.height();
    if (oldW - cellW <= 0) return;
    const int left = std::clamp(index * cellW, 0, oldW - cellW);
    QImage shrunk(oldW - cellW, h, QImage::Format_RGB32);
    const QImage src = sheet.format() == QImage::Format_RGB32 ? sheet : sheet.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(shrunk.scanLine(y));
        std::copy(s, s + left, d);
        std::copy(s + left + cellW, s + oldW, d + left);
    }
    sheet = shrunk;
}

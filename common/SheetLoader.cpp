#include "SheetLoader.h"

#include "BitmapTools.h"

#include "Paths.h"
#include "PictureFile.h"

bool LoadSheetFile(const QString& path, TBitmap& sheet, QString* error)
{
    QByteArray data;
    if (!ReadWholeFile(path, kMaxPictureFileBytes, data, error)) return false;
    QImage img;
    // Only ".jpg" is JPEG; ".jpeg" and every other name go to the bitmap reader.
    const bool jpeg = ExtractFileExt(path.toLower()) == QLatin1String(".jpg");
    if (!(jpeg ? DecodeJpeg(data, img, error) : DecodeBmp(data, img, error))) return false;
    sheet.Assign(img);
    return true;
}

void LoadTeamSheet(const QString& path, const QString& resourceName, TBitmap& sheet)
{
    // A file that does not load, or holds not even one cell, would leave the team without players:
    // the built-in sheet stands in for it as it does for a missing file.
    if (!path.isEmpty() && FileExists(path)) {
        TBitmap loaded;
        if (LoadSheetFile(path, loaded) && loaded.Width() >= kCellWidth && loaded.Height() >= kCellHeight) {
            sheet.Assign(loaded.Image());
            return;
        }
    }
    const QImage builtIn = ResourceBitmap(resourceName);
    if (!builtIn.isNull()) {
        sheet.Assign(builtIn);
        return;
    }
    QImage blank(9 * kCellWidth, kCellHeight, QImage::Format_RGB32);
    blank.fill(ToPixel(clWhite));
    sheet.Assign(blank);
}

int SheetPlayerCount(const TBitmap& sheet)
{
    return (sheet.Width() / kFrameSize) / 2;
}

void CutSheetFrame(const TBitmap& sheet, int player, int frame, TBitmap& out)
{
    out.SetSize(kFrameSize, kFrameSize);
    out.Canvas().Brush.Color = clWhite;
    out.Canvas().Brush.Style = TBrushStyle::bsSolid;
    out.Canvas().FillRect(0, 0, kFrameSize, kFrameSize);
    const int left = kCellWidth * player + kFrameSize * frame;
    out.Canvas().CopyRect(QRect(0, 0, kFrameSize, kFrameSize), sheet.Canvas(), QRect(left, 0, kFrameSize, kFrameSize));
}

void AddSheetFrame(TImageList& list, const TBitmap& sheet, int player, int frame, TFrameTurn turn)
{
    TBitmap tmp;
    CutSheetFrame(sheet, player, frame, tmp);
    if (turn == TFrameTurn::Mirror) {
        MirrorBitmap(tmp, tmp);
    } else if (turn == TFrameTurn::Rotate90) {
        TBitmap turned;
        RotateBitmap(tmp, 90, TColor(0xFFFFFFFFu), turned);
        tmp = turned;
    }
    list.AddMasked(tmp, clWhite);
}

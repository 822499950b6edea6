#pragma once
// ピクモ's player picture sheets on disk, and the picture work done on whole sheets: reading and
// writing the two formats, turning enclosed white visible, and adding, deleting and swapping cells.
// A sheet is one row of cells (140 x 70 each) without any header or count of its own; pure white is
// transparent in the games, visible white is stored as opaque near-white, and the editor's marker
// colour is always written as pure white. Nothing here needs a window.
#include "Color.h"
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

enum class TSheetFormat { None, Bmp, Jpeg };

// By the extension, compared in lower case: ".bmp" or ".jpg"; anything else is no sheet format.
TSheetFormat SheetFormatOf(const QString& path);
// The name with the format's extension put on when it has neither sheet extension (".jpg" for
// JPEG, else ".bmp"); a name that has one is returned as it is.
QString CompleteSheetName(const QString& path, TSheetFormat preferred);

// Decodes sheet bytes of a format into an RGB32 picture. Refused (with the reason, nothing else
// changed): an unknown format, bytes that do not decode ("JPEG エラー #n" for JPEG), and a picture
// smaller than one cell or larger than the size cap.
bool DecodeSheet(const QByteArray& data, TSheetFormat format, QImage& out, QString& error, int cellW = 140,
                 int cellH = 70);
// Reads a sheet file by its extension; as DecodeSheet, with the file's own read errors, whose system
// error code goes to fileError (0 when the file was read and its content refused).
bool ReadSheetFile(const QString& path, QImage& out, QString& error, int cellW = 140, int cellH = 70,
                   int* fileError = nullptr);

// The bytes of a sheet file: every marker-colour pixel made pure white, then a 24-bit bitmap file
// or a JPEG of quality 100.
bool EncodeSheet(const QImage& sheet, TSheetFormat format, TColor marker, QByteArray& out, QString& error);
// Writes a sheet file by its extension: the old file or the new one whole (WriteFileAtomically).
// A failed write's system error code goes to fileError (0 when nothing could be encoded).
bool WriteSheetFile(const QString& path, const QImage& sheet, TColor marker, QString& error, int* fileError = nullptr);

// White enclosed by a drawing becomes visible (opaque white); white connected to the picture's
// border, through 4-neighbours, stays or becomes pure white (transparent).
void MakeInnerWhiteOpaque(QImage& picture, TColor opaqueWhite);

// Cell operations on a sheet (cell k at x = k * cellW). Insert: the sheet grows by one cell, the
// cells from index on move one place right and the new cell is pure white. Delete: the pixels
// right of the cell move one place left and the sheet shrinks by one cell.
void InsertSheetCell(QImage& sheet, int index, int cellW, int cellH);
void DeleteSheetCell(QImage& sheet, int index, int cellW);
// The rectangle of cell k.
inline QRect SheetCellRect(int index, int cellW, int cellH)
{
    return QRect(index * cellW, 0, cellW, cellH);
}
// Whole cells in a sheet: width div cell width.
inline int SheetCellCount(const QImage& sheet, int cellW)
{
    return cellW > 0 ? sheet.width() / cellW : 0;
}

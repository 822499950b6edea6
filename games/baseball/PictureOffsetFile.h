#pragma once
// The picture offset file "野球_選手画像の調節.txt" in the sheet folder: one CP932 line per player
// picture sheet, ended by CR LF, the comma text of the sheet's key and its 18 offsets (glove x, y of
// poses 0-3, bat x, y, ball x, y of poses 0-3). The key is the sheet's path relative to the sheet
// folder, written with "\" between folders ("..\" for each folder up).
// Apart from reading the file whole, everything here works on bytes and strings; writing the file is
// the baseball form's.
#include "BaseballPictures.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace bb {

constexpr int kOffsetLineItems = 19;     // the key and 18 numbers
constexpr int kAdjustItems = 9;          // glove poses 0-3, the bat, ball poses 0-3
// A number of the file beyond this is no picture offset: the line is taken as malformed.
constexpr int kMaxOffsetMagnitude = 10000;

// The file's name, and its path under a data folder ("…/画像と音声/").
QString PictureOffsetFileName();
QString PictureOffsetFileOf(const QString& dataDir);

// The longest line a save writes: the key of a whole path (PATH_MAX bytes) quoted with every quote
// doubled, 18 numbers of up to six characters each after its comma, and the line break.
constexpr qint64 kMaxOffsetLineBytes = 2 * 4096 + 2 + 18 * 7 + 2;
// Lines of far more sheets than anyone adjusts; a larger file is not this one.
constexpr qint64 kMaxOffsetFileBytes = 2048 * kMaxOffsetLineBytes;

enum class TOffsetRead { Missing, Read, Failed };
// Reads the file whole; a missing file is no failure. Anything else that keeps it from being read (a
// folder, pipe or device in its place, a file over the cap) is reported, and nothing is read then.
TOffsetRead ReadPictureOffsetFile(const QString& path, QByteArray& bytes);

// Item i (0-8) of a side's offsets, in the adjusting dialog's order.
QPoint& AdjustItem(TPictureOffsets& o, int item);
QPoint AdjustItem(const TPictureOffsets& o, int item);

// The items of a comma text line: separated by commas or by blanks and control characters outside
// double quotes; a quoted item runs to its closing quote, with doubled quotes read as one.
QStringList SplitCommaText(const QString& line);
// The line of these items; an item holding a blank, a control character, a comma or a double quote
// is quoted, its double quotes doubled.
QString JoinCommaText(const QStringList& items);

// The file's lines, each as its bytes: lines end at CR LF, LF or CR; a break at the very end makes
// no empty last line.
QList<QByteArray> SplitFileLines(const QByteArray& bytes);

// The key of a sheet, relative to the sheet folder (both absolute paths with "/"): the leading
// folders the two share (compared regardless of ASCII letter case) are dropped, "..\" stands for each
// remaining folder of the sheet folder, then the rest of the sheet's path follows with "\" between
// its folders. A path that is not absolute keeps its whole text, its "/" written as "\".
QString SheetKey(const QString& sheetFolder, const QString& sheetPath);
// Keys are the same when they differ at most in the case of ASCII letters, character by character.
bool SameKey(const QString& a, const QString& b);
// The key can stand in the file: CP932 holds every character, and it has no line break or NUL.
bool KeyStorable(const QString& key);

// One side's line (without its line break), in CP932. The key must be storable.
QByteArray PictureOffsetLine(const QString& key, const TPictureOffsets& o);

// What the file holds for one key: the first line whose key matches.
struct TOffsetLookup {
    bool Found = false;     // a line matched
    bool Valid = false;     // and it held 18 numbers within the limits
    int Line = -1;          // that line, counted from 1
    TPictureOffsets Offsets;
};
// Reads a line: false when its key is not `key`; otherwise `out` tells what it held.
bool ReadOffsetLine(const QByteArray& line, const QString& key, TOffsetLookup& out);
// Looks up both sides' keys in the file's bytes. A key that cannot stand in the file matches nothing.
std::array<TOffsetLookup, 2> FindPictureOffsets(const QByteArray& file, const std::array<QString, 2>& keys);

// The file after a save: its lines kept byte for byte and in order, each written side's line in place
// of the first line with its key or appended, side 0 first (so that when both sides share a sheet,
// side 1's line is the one kept); every line ends with CR LF.
QByteArray MergePictureOffsets(const QByteArray& file, const std::array<QString, 2>& keys,
                               const std::array<TPictureOffsets, 2>& offsets, const std::array<bool, 2>& write);

} // namespace bb

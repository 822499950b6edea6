#pragma once
// Player picture sheets: one row of 140 x 70 cells, each two 70 x 70 frames.
#include "Canvas.h"
#include "ImageList.h"
#include <QString>

constexpr int kCellWidth = 140;
constexpr int kCellHeight = 70;
constexpr int kFrameSize = 70;

// Loads a sheet file: a name whose lower-cased extension is exactly ".jpg" is decoded as JPEG,
// any other goes to the bitmap reader. False (with the reason) when it cannot be read.
bool LoadSheetFile(const QString& path, TBitmap& sheet, QString* error = nullptr);
// A team's sheet: the file when it exists, loads and holds at least one cell; otherwise the
// built-in sheet of that team (resource PLAYER0 or PLAYER1).
void LoadTeamSheet(const QString& path, const QString& resourceName, TBitmap& sheet);
// The number of players on a sheet: (width div 70) div 2.
int SheetPlayerCount(const TBitmap& sheet);

// How a frame cut from a sheet is turned before it goes into an image list.
enum class TFrameTurn { None, Mirror, Rotate90 };
// Frame `frame` (0 standing, 1 moving) of player `player`: the sheet's 70 x 70 square copied onto a
// white 70 x 70 bitmap.
void CutSheetFrame(const TBitmap& sheet, int player, int frame, TBitmap& out);
// That frame, mirrored or turned by 90 degrees on white as asked, added to the list with pure white
// as its mask.
void AddSheetFrame(TImageList& list, const TBitmap& sheet, int player, int frame, TFrameTurn turn = TFrameTurn::None);

#pragma once
// Which picture each actor shows, and where glove, bat and ball sit on it, as plain data: the form
// cuts the frames out of the sheets by this map and draws the items at these offsets.
#include "BaseballField.h"
#include <QPoint>
#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace bb {

constexpr int kFrameSize = 70;     // one frame of a sheet cell
constexpr int kMaxSheetFrames = 18; // nine players at most

// The players of a sheet of this width: whole 70 px frames, at most 18, two frames per player.
int SheetPlayerCount(int sheetWidth);

// One side's picture map. Its image list holds, for each shuffled player p, frame 0 then frame 1, and
// after all of them the same pairs mirrored: image i + MirrorOffset() is the mirror of image i.
struct TTeamPictures {
    int PlayerCount = 0;
    std::vector<int> Order;          // list player p is the sheet's cell Order[p]
    std::array<int, 9> SlotImage{};  // batting-order slot j shows image 2 x (j mod PlayerCount)

    int MirrorOffset() const { return 2 * PlayerCount; }
    // The standing image of the player at a batting-order position (plate appearances so far).
    int ImageOfPosition(int position) const;
};

// Builds a side's map from its sheet's width; the shuffle draws PlayerCount values from randomInt
// (0 .. n-1). A sheet without a whole cell yields no players and every image is -1 (not drawn).
TTeamPictures MakeTeamImages(int sheetWidth, const std::function<int(int)>& randomInt);

// Offsets of glove, bat and ball per side, relative to the bottom centre of the 70 x 70 picture; glove
// and bat place their picture's top-left corner, the ball its centre. Poses: 0 facing right standing,
// 1 facing right moving, 2 facing left standing, 3 facing left moving.
struct TPictureOffsets {
    std::array<QPoint, 4> Glove{{{19, -23}, {22, -34}, {22, -24}, {23, -38}}};
    QPoint Bat{-70, -67};
    std::array<QPoint, 4> Ball{{{-31, -23}, {-31, -32}, {-28, -23}, {-30, -29}}};
    friend bool operator==(const TPictureOffsets&, const TPictureOffsets&) = default;
};

// What the current pitcher and batter hold, from the fielding side's glove and the batting side's bat.
struct TEquipment {
    std::array<QPoint, 2> PitcherHold{}; // the ball in the pitcher's glove, standing and moving
    std::array<QPoint, 6> BatFrames{};   // 0 at rest, 1-5 the swing
    TBox FlyCatchBox;                    // relative to the fielder who takes a fly
    QPoint FenceCatchHold;               // the ball in the glove of a leaping outfielder
};
TEquipment EquipmentFrom(const TPictureOffsets& fielding, const TPictureOffsets& batting);

// A batter's figure in the batting-order panel: " hits/at-bats", or the batting average with three
// digits, never above "1.000".
QString BattingOrderText(int hits, int atBats, bool average);

// "mm:ss" of a game time: minutes mod 60, seconds rounded down to a multiple of step.
QString FormatGameTime(qint64 ms, int step);

} // namespace bb

#include "RaceCommon.h"

#include "GameHost.h"
#include "QuickGame.h"
#include "SheetLoader.h"

#include <algorithm>

std::pair<int, int> MakeRunnerImages(TImageList& mine, TImageList& aite)
{
    TBitmap sheets[2];
    GameHost().LoadTeamPictures(sheets[0], sheets[1]);
    TImageList* lists[2] = {&mine, &aite};
    int chosen[2] = {0, 0};
    for (int side = 0; side < 2; ++side) {
        const int p = TQuickGameForm::RandomInt(std::max(1, SheetPlayerCount(sheets[side])));
        chosen[side] = p;
        TImageList& list = *lists[side];
        list.Clear();
        for (TFrameTurn turn : {TFrameTurn::None, TFrameTurn::Mirror, TFrameTurn::Rotate90}) {
            AddSheetFrame(list, sheets[side], p, 0, turn);
            AddSheetFrame(list, sheets[side], p, 1, turn);
        }
    }
    return {chosen[0], chosen[1]};
}

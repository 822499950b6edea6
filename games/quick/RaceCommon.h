#pragma once
// What the running race and the hurdle race share: the runners' pictures and the photo finish.
#include "ImageList.h"
#include <utility>

// One random player of each team (mine first) in six pictures: 0 standing, 1 running, 2 and 3 the
// same facing left, 4 and 5 the same turned on their side for a fall. Returns the players chosen,
// mine and the opponent's, for the result window.
std::pair<int, int> MakeRunnerImages(TImageList& mine, TImageList& aite);

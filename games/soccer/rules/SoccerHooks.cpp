// Steps of the tick that belong to the replays. Each keeps its place in the tick order; until its
// own module lands it does the plain thing described on it.
#include "SoccerEngine.h"

namespace soccer {

// --- Replays -----------------------------------------------------------------------------------

void TSoccerEngine::RecordFrame(bool advance, bool)
{
    if (advance) FRingIndex = (FRingIndex + 1) % kRingSize;
}

bool TSoccerEngine::ShowReplayFrame(bool advance)
{
    if (FRingIndex == FReplayEnd) return false;
    if (advance) {
        FRingIndex = (FRingIndex + 1) % kRingSize;
        ++FReplayFrames;
    }
    return true;
}

void TSoccerEngine::PastReplayStart() {}

void TSoccerEngine::PastReplayTick() {}

} // namespace soccer

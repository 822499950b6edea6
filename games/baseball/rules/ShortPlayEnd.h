#pragma once
// A short play that settles the outcome on the scoreboard without fielding: the ball heads for the
// spot of its result, the batter runs, the call shows once both have come to rest, and a fixed number
// of ticks later the bases, outs and runs are booked and the next batter comes up. It keeps a game
// going batter after batter until the full rules of the batted ball take its place.
#include "PlayRules.h"

namespace bb {

class TShortPlayEnd : public TPlayRules {
public:
    static constexpr int kEndTicks = 12;     // ticks from the call to the next plate appearance
    static constexpr int kLongestPlay = 200; // the call comes after this many ticks at the latest

    void AfterContact(TBaseBallGame& game) override;
    void PlanFielding(TBaseBallGame& game) override;
    void StepActor(TBaseBallGame& game, int actor) override;
    void MoveBall(TBaseBallGame& game) override;
    void PlayEnd(TBaseBallGame& game) override;

    // Shows the call of the play: a banner over the ball (the first out mark), or beside the foul spot.
    static void Call(TBaseBallGame& game);
    // Books the play: outs, runners moved on, runs and hits, the batter's figures. Not after a foul.
    static void Settle(TBaseBallGame& game);

private:
    int m_waited = 0;
};

} // namespace bb

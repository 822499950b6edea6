#pragma once
// A short play that settles the outcome on the scoreboard without fielding: the ball heads for the
// spot of its result, the batter runs, and a fixed number of ticks after the swing the bases, outs and
// runs are booked and the next batter comes up. It keeps a game going batter after batter until the
// full rules of the batted ball take its place.
#include "PlayRules.h"

namespace bb {

class TShortPlayEnd : public TPlayRules {
public:
    static constexpr int kEndTicks = 12; // ticks from the batter's last step to the next plate appearance

    void AfterContact(TBaseBallGame& game) override;
    void PlanFielding(TBaseBallGame& game) override;
    void StepActor(TBaseBallGame& game, int actor) override;
    void MoveBall(TBaseBallGame& game) override;
    void PlayEnd(TBaseBallGame& game) override;

    // Books the play: outs, runners moved on, runs and hits. Not after a foul.
    static void Settle(TBaseBallGame& game);
};

} // namespace bb

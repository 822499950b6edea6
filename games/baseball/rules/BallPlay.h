#pragma once
// The batted ball played out: its flight and roll, the fielders who chase it, cover the bases, throw
// and relay it, the runners who run, score or go back, and the end of the play with its outs. The
// outcome of the duel settles most of it at contact: the throw chain, who is safe and who is out, and
// whether runs count are planned there; the actors then act it out tick by tick.
#include "BaseballTypes.h"
#include "PlayRules.h"

namespace bb {

class TBaseBallGame;

class TBallPlay : public TPlayRules {
public:
    void AfterContact(TBaseBallGame& g) override;
    void PlanFielding(TBaseBallGame& g) override;
    void StepActor(TBaseBallGame& g, int actor) override;
    void MoveBall(TBaseBallGame& g) override;
    void PlayEnd(TBaseBallGame& g) override;
};

// ---- Contact: what the ball does, decided as it leaves the bat -------------------------------------

int BattedBallSpeed(int result, int kind);
QPoint BattedBallTarget(const TBaseBallGame& g);
// The fielder who takes the batted ball; -1 for none (a home run over the fence, a pole foul).
int DesignatedFielder(const TBallRecord& ball, const TPlayState& play);

// ---- The fielding plan ---------------------------------------------------------------------------

// Draws whether the relay comes late: the batted grounder's speed, the on-time flag, and whether runs
// of the play count (a throw home) or wait for the end of the chain (an inning-ending relay).
bool SetThrowSpeed(TBaseBallGame& g, int percent, int slowDelta, int fastDelta, bool homeThrow);
// The throw chain, second cover and speed draws for the ball and the bases as they stand.
void ChooseThrowChain(TBaseBallGame& g);
// Where fielder n stands to take a throw (fielders 1-5), as a spot index.
int CoverSpotOf(int fielder);
// How many outs the end of the play will add (the catch, the force at the last base, a runner
// thrown out after tagging up).
int PlayEndOuts(const TBaseBallGame& g);

// ---- Steps of the actors and the ball -----------------------------------------------------------

void StepFielder(TBaseBallGame& g, int actor);
void StepRunner(TBaseBallGame& g, int actor);
// The ball's fielder has it in his catch box: an error, or he takes it and the chain goes on.
void TakeBall(TBaseBallGame& g, int actor);
// The holder of the ball throws to the next receiver, or the chain ends with him.
void ContinueChain(TBaseBallGame& g, int holder);
// Runner (9-12) runs n more bases from where he stands or is heading.
void RunOn(TBaseBallGame& g, int actor, int bases);
// A runner is sent back to the base he started from; the batter to the retreat spot.
void SendBack(TBaseBallGame& g, int actor);
// The game is won from the batter's box: bench out, the batter and runners gather.
void StartWalkOff(TBaseBallGame& g);
// The ball is about to be caught on the fly: runners go back, the batter turns away.
void FlyAboutToBeCaught(TBaseBallGame& g);
// The catch box in which the ball's fielder takes it this tick.
TBox CatchBoxOf(const TBaseBallGame& g, int actor);
// Whether the ball passed through a box on its way since the last tick.
bool BallPassedThrough(const TBaseBallGame& g, const TBox& box);
void SetAction(TBallActor& a, TActorAction action);
// Fielder f runs to the base he covers, to wait there for a throw.
void SendCover(TBaseBallGame& g, int f);
// Runs cross the plate: the batting side's total and this inning's cell.
void AddRuns(TBaseBallGame& g, int n);
// Runs held back for an inning-ending relay count: the relay came late and the inning goes on.
bool HeldRunsCount(const TBaseBallGame& g);

// ---- The end of the play ------------------------------------------------------------------------

// Ticks after the play ends at which the plate appearance closes.
int CloseTick(const TPlayState& p);
// Nothing on the field has moved for this many ticks while the play went on: the ball is dead.
constexpr int kStillTicks = 20;

} // namespace bb

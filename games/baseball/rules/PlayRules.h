#pragma once
// What the ball and the actors do between the pitch and the end of the play. The plate appearance
// (the duel, the wind-up, the swing and the outcome) calls these at fixed points of its tick; the
// batted ball's flight, the fielders and runners, the outs and the closing of the plate appearance
// live behind this interface. All of it works on the game's public records.
namespace bb {

class TBaseBallGame;

class TPlayRules {
public:
    virtual ~TPlayRules() = default;
    // The batter's step 5, right after the outcome is decided (the ball sits at the contact point,
    // its play result and kind set): the play kind, the bases to advance, the ball's target and speed.
    virtual void AfterContact(TBaseBallGame& game) = 0;
    // The batter's step 6: who fields, covers and backs up, and which runners run.
    virtual void PlanFielding(TBaseBallGame& game) = 0;
    // One tick of an actor in any action but the pitcher's wind-up (acPitching) and the swing (acBatting).
    virtual void StepActor(TBaseBallGame& game, int actor) = 0;
    // One tick of the ball, the pitch included.
    virtual void MoveBall(TBaseBallGame& game) = 0;
    // After the tick's drawing: whether the play is over, its outs, and the closing of the plate
    // appearance (TBaseBallGame::ClosePlateAppearance starts the next one).
    virtual void PlayEnd(TBaseBallGame& game) = 0;
};

} // namespace bb

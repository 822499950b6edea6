#pragma once
// The rules of the target kick: targets cross the top of the field from right to left, one after
// another, and both teams kick balls from the bottom towards one point on the targets' line. A plain
// class that a test ticks without a window; the form draws what it reads here and feeds it the
// user's kicks, and lends it the runtime generator, the sounds and the drawing through the hooks.
#include "GameServices.h"
#include <functional>

namespace mato {

// The point on the targets' line that every ball flies through.
constexpr int kLineX = 245, kLineY = 95;
constexpr int kFieldWidth = 630;
constexpr int kTargetWidth = 65;
constexpr int kEndTicks = 50; // ticks of celebration after the decision

enum class TMatoSound { Kick, Tackle, Cheer };

// Left, top inclusive; right, bottom exclusive.
struct TBox {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

enum TBallState { bsResting = 0, bsFlying = 1, bsAtLine = 2, bsMissed = 3, bsHit = 4 };

// A ball (one for each of a team's two kickers): it rests at its start point, flies to its target
// point, and after a hit flies off to its after-hit point; once past the line it comes back.
class TPlayer {
public:
    int X = 0, Y = 0;
    int StartX = 0, StartY = 0, TargetX = 0, TargetY = 0, AfterX = 0, AfterY = 0;
    int State = bsResting;
    int Speed = 0;
    int Frame = 0;
    TBox HitBox;

    void Place(int startX, int startY, int targetX, int targetY, int afterX, int afterY);
    // Back to the start point, resting.
    void Reset();
    void Step();
    bool AtLine() const { return HitBox.Contains(kLineX, kLineY); }

protected:
    // One move of Speed pixels towards (tx, ty), rounded steps.
    void MoveTowards(int tx, int ty);
    virtual void UpdateHitBox();
};

enum TMatoState { msWaiting = 0, msMoving = 1, msAtLine = 2, msPast = 3, msHit = 4 };

// A target: kinds 0 small, 1 medium, 2 large, 3 special (small, fast, 5 points).
class TMato : public TPlayer {
public:
    int Kind = 0;
    int Aim[2] = {0, 0};  // aim offsets of my team and of the opponent, for the computer's timing
    bool Cheer = false;   // a special target was hit and its cheer has not started yet

    // The first entry: Random is the runtime generator.
    void Reset(const std::function<int(int)>& random);
    // Moves while not waiting; past the left edge it comes round again with a new kind.
    void Step(const std::function<int(int)>& random);
    // 20 x 20 for kinds 0 and 3, 30 x 30 for kind 1, 40 x 40 for kind 2.
    static TBox HitBoxAt(int x, int y, int kind);
    int Points() const { return Kind == 3 ? 5 : 1; }

protected:
    void UpdateHitBox() override;
};

// The runtime generator of the shared services draws the targets' kinds, speeds and aims.
class TMatoGame : public TGameServices {
public:
    // Hooks of its own beside the shared services; each has a harmless default.
    std::function<bool(TMatoSound)> Sound; // true when the sound started (the cheer may be refused)
    std::function<bool()> AutoOn;          // the "自動進行" box is checked
    std::function<void()> Draw;            // draws the scene

    static constexpr int kWinOptions[3] = {10, 20, 30};

    int WinPoint = 10;
    int Score[2] = {0, 0};   // 0 my team, 1 the opponent; below zero after misses
    int Kicker[2] = {0, 0};  // each team's current kicker (its ball)
    int Flash = 0;           // counts down from a hit
    int Winner = -1;         // -1 none, 0 my team, 1 the opponent
    int EndCount = -1;       // -1 while playing
    int Tick = 0;
    TPlayer Balls[2][2];     // [team][kicker]
    TMato Targets[2];

    // A new game (its opening follows).
    void Start();
    // One play tick after the opening; true when the game is over and is to be reported.
    bool Step();
    // The user's kick (a click or Enter); false when it is not taken.
    bool UserKick();

    bool Decided() const { return EndCount >= 0; }
    bool MyWin() const { return Winner == 0; }
    // Both teams have the winning points and nothing is decided: sudden death.
    bool SuddenDeath() const { return Winner < 0 && Score[0] >= WinPoint && Score[1] >= WinPoint; }
    // A ball of my team is flying off after a hit.
    bool MyBallHit() const { return Balls[0][0].State == bsHit || Balls[0][1].State == bsHit; }
    // The decision from the scores: -1 none yet, else the winning team.
    static int DecideWinner(int mine, int aite, int winPoint);

private:
    bool sound(TMatoSound s) const { return Sound ? Sound(s) : false; }
    void draw() const
    {
        if (Draw) Draw();
    }
    void stepTargets();
    void startTargets();
    void computerKick(int team);
    void kick(int team, bool alwaysSwitch);
    void lineChecks();
    void hits();
    bool afterDecision();
};

} // namespace mato

#pragma once
// The rules of the putting match: a plain class that a test ticks without a window. Each hole is a
// new green; the teams putt in turn from the same tee, always at the same speed, and the first ball
// in the cup wins the hole. The user aims by dragging or by keys; the computer, and the user's side
// under auto-progress, aim by a search over the earlier tries on this green. The form feeds it mouse
// and key events at play-field coordinates, calls Tick once per timer tick, draws what it reads here,
// and lends it the random service, the sounds and the auto-progress box through the hooks.
#include "GameServices.h"
#include "GolfGreen.h"

#include <QString>
#include <functional>
#include <vector>

namespace golf {

enum class TGolfSound { Pat, In, Change, Cheer }; // GOLFPAT, GOLFIN, CHANGE, KANSEI (a crowd cheer)

class TGolfMatch : public TGameServices {
public:
    // Hooks of its own beside the shared services; each has a harmless default (0, silence,
    // auto-progress off).
    std::function<void(TGolfSound)> Sound;
    std::function<bool()> AutoChecked;       // the "自動進行" box is checked now

    // The option "ホール数": holes needed to win for each item, and the default item.
    static constexpr int kHoleOptions[5] = {3, 4, 5, 6, 8};
    static constexpr int kDefaultOption = 1;

    static constexpr int kNewGreenWait = 15;   // ticks before anything moves on a new green
    static constexpr int kPuttCountdown = 10;  // ticks from a given putt to the ball's start
    static constexpr int kIdleLimit = 600;     // ticks the user may leave a putt undone
    static constexpr int kEndTicks = 45;       // ticks of celebration after a ball drops in

    // What the form draws, and the state of the match. Read-only for the form.
    TGreen Green;                 // cup, hills, the flattened hill, FSolutions, FStraightFound
    TPlayer Ball;                 // the played ball
    int FHolesToWin = kHoleOptions[kDefaultOption];
    int FResult = -1;             // -1 undecided, 0 my team won, 1 my team lost
    int FFirstTeam = 0;
    int FTurnTeam = 0;            // 0 my team, 1 the computer's: whose ball is putted
    int FHolesWon[2] = {0, 0};
    int FWaitTicks = 0;
    int FAimTarget = 0;           // the solution the computer aims for on this green
    int FEndCount = -1;           // -1 while the hole is played, then ticks since a ball dropped in
    bool FOpening = false;
    int FAimX = 0, FAimY = 0;     // a putt sends the ball towards this point
    std::vector<int> FTries;      // aims tried on this green
    int FAimRemaining = 0;        // the computer's aim still has this far to move
    int FAimDir = 0;              // ... in this direction (-1, 0, +1)
    int FPuttNo = 0;              // putts on this green, both teams together
    int FPuttCountdown = 0;
    std::vector<int> FStoppedAims;
    bool FDragging = false;       // the user is aiming
    int FIdleTicks = 0;
    bool Finished = false;        // the game has ended; the form reports FResult

    // FormShow: a new game, still in its opening; draws the first team.
    void Start();
    // The opening is over: the first green.
    void BeginPlay();
    // Readies the next putt from the tee, on a new green when asked.
    void PreparePutt(bool newGreen);
    // One timer tick of play; true on the tick the game ends.
    bool Tick();

    // Input at play-field coordinates; only the left button is passed on.
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y);
    // A key press or its auto-repeat (Qt key codes; numeric-pad digits come as plain digits): "1" or
    // "3" start aiming at the cup and move the aim a pixel, Enter or "2" putts.
    void KeyDown(int key);

    // For drawing.
    bool Won() const { return FResult == 0; }
    bool AutoOn() const { return AutoChecked && AutoChecked(); }
    bool BallWaiting() const { return Ball.State == bsWaiting; } // the putter and the quiet sign show
    bool AimLineShown() const;
    bool AimLineSolid() const { return FPuttCountdown > 0; }
    QString HoleMarks(int team) const; // "●" per hole won, "○" per hole still needed
    int HoleNumber() const { return FHolesWon[0] + FHolesWon[1]; }
    QString HoleTitle() const;         // "%d番ホール", shown once a ball has dropped in

    // The computer's search, on its own for testing. The first tries of a green: the cup's x and
    // where the line from each felt hill through the tee meets the cup's row, arranged so that they
    // bracket the target.
    static std::vector<int> SeedTries(const TGreen& green, int target);
    // The next aim: the target itself once tried, else a point in the bracket of sorted tries around
    // it, nearer the target's side. Sorts the tries and adds the aim to them.
    static int SearchAim(std::vector<int>& tries, int target, const std::function<int(int)>& random);

private:
    int random(int n) { return Random ? Random(n) : 0; }
    void sound(TGolfSound s)
    {
        if (Sound) Sound(s);
    }
    bool usersTurn() const { return FTurnTeam == 0 && Ball.State == bsWaiting && !FOpening && !Finished; }
    bool aimMoveDue() const { return FAimRemaining > 0 || (FAimRemaining == 0 && FAimDir == 0); }
    void chooseTarget();
    void playHole();
    bool afterHole();
    void givePutt(int crossX);
    void endGame(int result);
};

} // namespace golf

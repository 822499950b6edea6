#pragma once
// The rules of the penalty shoot-out, and of the single kick that the soccer game plays: a plain
// class that a test ticks without a window. The form feeds it the user's choices, draws its state,
// and lends it the random service, the sounds and the waits through the hooks.
#include "GameServices.h"
#include <QPoint>
#include <functional>
#include <vector>

// An actor's picture: a player of a side (its position in that side's shuffled order), frame 0 or 1,
// facing right (unmirrored) or left (mirrored).
struct TPKActor {
    QPoint pos;
    int side = 0;
    int player = 0;
    int frame = 0;
    bool mirrored = false;
};

enum class TPKSound { Kick, Tackle, Cheer };

class TPKMatch : public TGameServices {
public:
    // Hooks of its own beside the shared services; each has a harmless default.
    std::function<void(TPKSound)> Sound;         // Tackle is the synchronous one
    std::function<void()> RefreshHover;
    std::function<void()> DropPendingInput;

    // Interface fields of the form.
    bool FSoccerMode = false;
    int FKickSide = 0; // 0: my team kicks (the user aims), 1: the opponent kicks (the user keeps goal)
    int FMySide = 0;
    int FKickDir = 0, FAimDir = 0, FKeeperDir = 0;

    // Game state.
    int KickCount = 0;
    int Marks[2][5] = {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
    int MarkCount[2] = {0, 0};      // marks of the current block that have been given
    int Result = 0;                 // 0 undecided, 1 my team lost, 2 my team won
    int AfterKick = -1;             // -1 while a kick is under way, then ticks since it was resolved
    bool LastGoal = false;          // the last resolved kick was a goal
    int Fire = 0;                   // 0 none, 1 coming, 2 and 3 curving, 4 the curve is over
    bool Opening = false;
    bool RunUp = false;
    bool Flying = false;
    int Step = 0;
    bool UserChose = false;
    int HighlightZone = 0;          // -1, 0, +1
    int HighlightTicks = 0;
    int AsideJump = 0;
    int Players[2] = {1, 1};        // players of each side
    int Position[2] = {0, 0};       // each side's current kicker in its shuffled order
    TPKActor Kicker, Keeper;
    QPoint Ball, Shadow, PrevBall;
    int BallFrame = 0;
    bool Finished = false;          // the decision has been acted on: the form ends

    static constexpr int kOpeningTicks = 40;
    static constexpr int kStandTicks = 20;
    // The goal zones in imOmote coordinates, left to right (direction -1, 0, +1).
    static int ZoneAt(int x, int y, bool* inside);

    // Starts the shoot-out (with its opening) or the single kick.
    void Start(int myPlayers, int aitePlayers);
    void SetUpKick();
    void NextPlayerIndex();
    // The user's zone: from a click or the keys 1 to 3. False when the ball already flies.
    bool ChooseDirection(int dir);
    void StepKick();
    void ResolveKick();
    // The rules of one timer tick, before drawing; true when the game has just ended.
    bool TickRules();
    // After drawing: the after-kick counter moves on (the single kick waits for its end instead).
    void AfterDraw();

    int Sum(int side) const;
    // Whether a shoot-out with the given score is decided after kick k (counted from 0).
    static bool Decided(int k, int c, int d);

private:
    int random(int n) { return Random ? Random(n) : 0; }
    void sound(TPKSound s)
    {
        if (Sound) Sound(s);
    }
    void placeForKick(bool drawFrame);
};

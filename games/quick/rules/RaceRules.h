#pragma once
// The rules of the running race: a plain class that a test ticks without a window. Two runners go
// round an oval track; every lap is cut into 15 sections, and at the start of each one of two boxes
// hides a dash that doubles the runner's speed. The user picks boxes for his runner, the opponent's
// dashes are random, and a runner that is behind may get a surprise dash. The form feeds it clicks
// and keys, calls Tick once per play tick, draws what it reads here, and lends it the random
// service, the runtime generator, the sounds and the menu form's manual-play flag through the hooks.
#include "GameServices.h"
#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace run {

enum class TRunSound { Pistol, Cheer, CheerNoStop, Kick, Kokeru }; // KICK plays without cutting off

constexpr int kBoundaries = 15;   // section boundaries per lap
constexpr int kMaxLaps = 11;      // laps of the dash table
constexpr int kBoxSize = 26;

// A section boundary of the lap: the point, where its two boxes lie, and how a runner passes it.
struct TBoundary {
    QPoint point;
    QPoint box[2];     // top left of box 1 and box 2
    char axis;         // 'x' or 'y': which coordinate of the runner's frame is compared
    bool atLeast;      // passed when that coordinate >= the point's, else when <=
};
const TBoundary& Boundary(int i);

// One runner: my runner runs lane 1, the opponent lane 2.
struct TPlayer {
    int X = 0, Y = 0;                 // top left of the 70 x 70 frame
    int Speed = 4;                    // pixels per step
    std::array<QPoint, 9> Waypoints{};
    int Counter = 1;                  // the next waypoint is Counter mod 9
    float Heading = 0;                // radians
    int LapsDone = 0;
    int Section = 0;                  // the next boundary to pass, 0..15
    std::array<std::uint8_t, 16> Dash{}; // dash bit of each section of the lap
    int Streak = 0, StumbleTimer = 0, Dust = 0, Distance = 0;
    // Statistics.
    int MaxStreak = 0, Dashes = 0, SectionsEntered = 0;
    bool AllDash = true;

    bool Dashing() const { return Dash[size_t(Section)] != 0; }
    bool Stumbling() const { return StumbleTimer > 0; }
    // Heading for one of these waypoints (to draw the runner facing left on the back straight).
    bool HeadingTo(int from, int to) const;
};

class TRunRace : public TGameServices {
public:
    // Hooks of its own beside the shared services; each has a harmless default.
    std::function<void(TRunSound)> Sound;

    // The option "走る距離": laps for each item, and the default item.
    static constexpr int kLapOptions[6] = {1, 2, 3, 5, 7, 10};
    static constexpr int kDefaultOption = 1;
    static constexpr int kStartTick = 21;     // the runners set off
    static constexpr int kEndTicks = 40;      // the finish counter runs past this, then the game ends
    static constexpr int kPhotoTicks = 35;    // the photo wait runs past this, then it decides
    static constexpr int kPhotoGap = 4;       // px between the runners at the finish for a photo

    int LapsToRun = 2;
    // Dash table: for every lap and boundary exactly one box holds 1, once the opening is over.
    std::uint8_t DashTable[kMaxLaps][kBoundaries][2] = {};
    // The user's box at each boundary of the current lap (-1 none), and whether it gave a dash.
    std::array<int, kBoundaries> Choice{};
    std::array<bool, kBoundaries> ChoiceDashed{};
    int KeyCursor = 0;
    int Winner = -1;           // -1 none, 0 my runner, 1 the opponent
    int FinishCounter = -1;    // -1, then ticks since the finish was decided
    int PhotoCounter = -1;     // -1, counting while the photo is looked at, -999 once it decided
    int TickCount = 0;         // play ticks, counted after each tick's work
    bool Opening = true;
    bool Finished = false;     // the celebration is over: the form reports
    std::array<TPlayer, 2> Runners;

    // FormShow: both runners on the start, a new first lap each; the opening runs.
    void Start();
    // The opening is over: the dash table is drawn.
    void EndOpening();
    // Laps from the option, taken during the opening.
    void SetLaps(int laps) { LapsToRun = laps; }
    // One play tick; true on the tick the game ends.
    bool Tick();
    void Step(int who);
    void NewLap(int who);

    // The box under a point: false when there is none, else its boundary and box (0 or 1).
    static bool BoxAt(int x, int y, int& boundary, int& box);
    // A click on box `box` at `boundary`: taken only for a boundary not yet passed and not chosen.
    bool Choose(int boundary, int box);
    // Key 1 or 2: the next boundary not yet chosen, from my runner's section on.
    bool ChooseByKey(int box);

    bool PhotoRunning() const { return PhotoCounter >= 0; }
    bool PhotoDecided() const { return PhotoCounter == -999; }
    bool Decided() const { return Winner >= 0; }
    bool Passed(const TPlayer& p) const;
    // "1周目" .. or "ラスト", and the dash rate "50%".
    QString LapText(int who) const;
    QString RateText(int who) const;
    QString StatusLine(int who) const;

private:
    int random(int n) { return Random ? Random(n) : 0; }
    int runtime(int n) { return RuntimeRandom && n > 0 ? RuntimeRandom(n) : 0; }
    void sound(TRunSound s)
    {
        if (Sound) Sound(s);
    }
    void placeOnStart(int who);
    void passBoundary(int who);
    void homeStraight(TPlayer& p);
    void move(int who);
    void checkFinish();
    bool atTheLine(int who) const;
};

} // namespace run

#pragma once
// The rules of the hurdle race: a plain class that a test ticks without a window. My runner (front
// lane) and the opponent (back lane) run side by side while the course scrolls under them; three
// hurdle records are reused in turn until the chosen number of hurdles has come by, then both sprint
// to the finish. A jump started in a narrow window before a hurdle is clean and gains ground, any
// other jump costs a little, and a hurdle met on the ground is knocked down and costs more. The
// opponent, and my runner under auto-progress, jump by a random plan drawn when the option is taken.
#include "GameServices.h"
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace hur {

enum class THurSound { Pistol, Cheer, CheerNoStop, Hurdle, HurdleNoStop, Kokeru };
enum class TLaneStatus { Untouched, Normal, Clean, Knocked }; // yellow, pink, blue, red
enum TPlanKind : std::uint8_t { pkNormal = 0, pkClean = 1, pkKnock = 2 };

struct TPlayer {
    int X = 0, Y = 0;          // top left of the 70 x 70 frame
    int StartX = 0, RunToX = 0, FinishX = 0, GroundY = 0, JumpY = 0;
    int Gain = 0;              // all gains and losses from jumps
    int Pending = 0;           // added to X and Gain at the next step
    int Speed = 5;
    int Air = 0, StumbleTimer = 0, Dust = 0;
    bool Airborne() const { return Air > 0; }
    bool Stumbling() const { return StumbleTimer > 0; }
    // Where the runner would stand with its gains: what a hurdle's distance is measured from.
    int Base() const { return RunToX + Gain; }
};

struct TRecord {
    int X = 0;
    bool Visible = true;
    std::array<TLaneStatus, 2> Status{TLaneStatus::Untouched, TLaneStatus::Untouched};
    std::array<bool, 2> Knocked{false, false};
    int Number = 0;            // counted from 0
};

class THurdleRace : public TGameServices {
public:
    // Hooks of its own beside the shared services; each has a harmless default.
    std::function<void(THurSound)> Sound;
    std::function<bool()> AutoChecked;     // the "自動進行" box is checked now

    // The option "ハードル数": hurdles for each item, and the default item.
    static constexpr int kHurdleOptions[3] = {6, 8, 10};
    static constexpr int kDefaultOption = 2;
    static constexpr int kScrollTick = 61;     // the course starts to scroll
    static constexpr int kRaceTick = 29;       // the runners start to step
    static constexpr int kAirTicks = 16;
    static constexpr int kEndTicks = 75;       // the finish counter runs past this, then the game ends
    static constexpr int kPhotoTicks = 50;
    static constexpr int kPhotoGap = 5;
    // A jump this far ahead of a hurdle (from the runner's base) is clean: [45, 50).
    static constexpr int kCleanFrom = 45, kCleanTo = 50;
    // A hurdle in this range of a runner on the ground is knocked down.
    static constexpr int kKnockFrom = -20, kKnockTo = 30;
    // Where each lane's plan acts, by plan kind (normal, clean, knock).
    static constexpr int kPlanOffsets[2][3] = {{40, 45, 30}, {80, 85, 70}};

    int Hurdles = 10;
    std::array<std::vector<std::uint8_t>, 2> Plan;
    std::array<size_t, 2> PlanPos{0, 0};
    int Scroll = 0;
    int Current = 0;           // the record to be judged next
    int Recycled = 0;
    int Winner = -1;           // -1 none, 0 my runner, 1 the opponent
    int FinishCounter = -1;
    int PhotoCounter = -1;     // -1, counting while the photo is looked at, -999 once it decided
    int TickCount = 0;
    bool Opening = true;
    bool Finished = false;
    std::array<TRecord, 3> Records;
    std::array<TPlayer, 2> Runners;

    // FormShow: the records, the runners on their starts, the opening.
    void Start();
    // The option is taken during the opening: its hurdle count and new jump plans for both lanes.
    void DrawPlans(int hurdles);
    void EndOpening() { Opening = false; }
    // One play tick; true on the tick the game ends.
    bool Tick();
    // The user's jump (a click or Enter); false when it is ignored.
    bool Jump();
    void Step(int who);

    int CourseEnd() const { return Hurdles * 295 + 300; }
    bool AutoOn() const { return AutoChecked && AutoChecked(); }
    const TRecord& CurrentRecord() const { return Records[size_t(Current)]; }
    bool PhotoRunning() const { return PhotoCounter >= 0; }
    bool PhotoDecided() const { return PhotoCounter == -999; }
    bool Decided() const { return Winner >= 0; }
    // Late in the course the crowd cheers on whatever the last hurdle gave.
    bool LateInCourse() const { return Scroll > Hurdles * 355 - 710; }

private:
    int random(int n) { return Random ? Random(n) : 0; }
    int runtime(int n) { return RuntimeRandom && n > 0 ? RuntimeRandom(n) : 0; }
    void sound(THurSound s)
    {
        if (Sound) Sound(s);
    }
    void scrollCourse();
    void handLane();
    void computerLane(int lane);
    void sprint(TPlayer& p);
    void checkFinish();
};

} // namespace hur

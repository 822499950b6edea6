#pragma once
// The rules of hide-and-seek: my hider, the opponent's hider and a seeker walk along a path of five
// nodes between two rows of four numbered boxes. Each round both hiders pick a box, birds may carry
// boxes away, then the seeker walks to a box: finding my hider loses the game, finding the
// opponent's wins it, an empty box is removed and the next round starts with one box fewer.
// A plain class that a test ticks without a window; the form draws what it reads here, feeds it the
// user's choice, and lends it the random service, the sounds, the waits and the drawing.
#include "GameServices.h"
#include <QPoint>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <vector>

namespace kakure {

constexpr int kFieldWidth = 737, kFieldHeight = 490;
constexpr int kBoxCount = 8, kNodeCount = 5;
constexpr int kFinishTicks = 40; // ticks from the seeker's arrival to the next round or the end
constexpr int kOpeningTicks = 35;

// Condition marks of a hider for one round, and what they make of it.
enum TMark : quint16 {
    mkNone = 1,
    mkBird = 2,         // a bird takes its box away
    mkInFront = 4,      // it stands in front of its box
    mkLarge = 8,        // drawn large
    mkFootprints = 16,  // leaves footprints
    mkShake = 32,       // its box shakes
    mkSmall = 64,       // drawn small
    mkInvisible = 128,  // not drawn until the round ends
    mkWarped = 256,     // has warped to another box this round
};

enum TWalkerKind { wkMine = 0, wkAite = 1, wkOni = 2 };
enum TBirdState : quint8 { bdFlyingIn = 0, bdLanding = 1, bdFlyingOff = 2, bdGone = 3, bdIdle = 255 };
enum TKakureResult : quint8 { krMineFound = 1, krAiteFound = 0, krUndecided = 255 };
enum class TKakureSound { Change, Cheer };

// Left, top inclusive; right, bottom exclusive.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

class TKakureGame;

// A walker: a hider of either team, or the seeker.
class TPlayer {
public:
    quint8 FKind = wkMine;
    int FX = 0, FY = 0;          // top-left corner of its picture
    int FSpeed = 12;
    int FDir = 0;                // +1 towards higher nodes, -1 towards lower, 0 standing
    TRect FHitRect;
    int FFromNode = 0, FToNode = 0; // FToNode -1: walking to the box
    int FTargetX = 0, FTargetY = 0;
    int FSpot = -1;              // the chosen box
    bool FHidden = false;        // arrived at the box
    int FTurnsLeft = 0;          // turns at the path's ends still to walk
    bool FSkipOnce = false;      // passes the first node it could leave for its box
    int FDance = 0;              // 0..5: how it dances when not found
    int FCallStyle = 0;          // 1 "こっちこっち", 0 "こっちだよ"
    quint16 FMarks = mkNone;
    std::vector<QPoint> FFootprints;
    int FLinkIndex = -1;         // hider: the bird that carries its box; seeker: the hider it goes to
    QString FSpeech;

    bool Walking() const { return FDir != 0 && !FHidden; }
    bool Has(quint16 mark) const { return (FMarks & mark) != 0; }
    // One step towards the target point; at a node on to the next, at the box hidden.
    void Step(const TKakureGame& game);
};

struct TBird {
    int X = 0, Y = 0;
    quint8 State = bdIdle;
    int LandX = 0, LandY = 0, ExitX = 0, ExitY = 0;
    int Box = -1;
    bool Carries = false; // takes the box away
};

// The random service is passed any bound as it is.
class TKakureGame : public TGameServices {
public:
    // Hooks of its own beside the shared services; each has a harmless default.
    std::function<void(TKakureSound)> Sound;
    std::function<void()> Draw;              // draws the scene

    static const QPoint kNodes[kNodeCount];
    static const quint8 kNodeBoxes[kNodeCount]; // bit k: box k can be reached from the node
    static const QPoint kBoxes[kBoxCount];
    static TRect BoxRect(int box);

    TPlayer Walkers[3];            // my hider, the opponent's hider, the seeker
    int BoxNumbers[kBoxCount] = {1, 2, 3, 4, 5, 6, 7, 8}; // 0 once removed
    int FOpenCount = kBoxCount;
    int FFirstNode = 0, FLastNode = kNodeCount - 1;
    int Tick = 0;
    bool PickedByHand = false;
    int FinishCount = -1;
    quint8 Result = krUndecided;
    QPoint WarpPoint{-999, -999};
    bool WarpFailed = false;
    int Round = 0;
    TBird Birds[2];

    TPlayer& Mine() { return Walkers[wkMine]; }
    TPlayer& Aite() { return Walkers[wkAite]; }
    TPlayer& Oni() { return Walkers[wkOni]; }
    const TPlayer& Mine() const { return Walkers[wkMine]; }
    const TPlayer& Aite() const { return Walkers[wkAite]; }
    const TPlayer& Oni() const { return Walkers[wkOni]; }

    // A new game: all eight boxes, the whole path, nothing decided.
    void Start();
    void StartRound();
    // A random box that fits the rule (0 my first box, 1 the opponent's, 2 the seeker's without a
    // hider chosen, 3 a bird's, 4 a warp's new box).
    int PickSpot(int rule);
    // One play tick; true when the game is over (Result tells who was found).
    bool Step();

    bool Exists(int box) const { return box >= 0 && box < kBoxCount && BoxNumbers[box] != 0; }
    // My hider still walks the path, choosing.
    bool Choosing() const { return Mine().FTurnsLeft > 0; }
    // A left click on the field; true when it chose a box.
    bool ClickAt(int x, int y);
    // A key while my hider chooses: digit 1..8 picks that box if it still exists (0 for any other
    // key); either way my hider goes to its current box.
    void KeyChoice(int digit);
    // The seeker has been sent to a box (its choice is made).
    bool SeekerChose() const { return Oni().FDir != 0 || Oni().FHidden; }
    bool Found(int hider) const { return FinishCount >= 0 && Walkers[hider].FSpot == Oni().FSpot; }

    // The seeker's weight change for a hider's first condition mark.
    static int WeightAdjustment(quint16 marks);
    // The reactions at a round's end, drawing only where the order of the marks reaches.
    QString ReactionNotFound(const TPlayer& hider);
    QString ReactionFound(const TPlayer& hider);
    // At drawing: each hider's reaction is chosen once the round's end shows it.
    void UpdateSpeech();

private:
    int random(int n) const { return Random ? Random(n) : 0; }
    void sound(TKakureSound s) const
    {
        if (Sound) Sound(s);
    }
    void draw() const
    {
        if (Draw) Draw();
    }
    bool holdsHider(int box) const { return box == Mine().FSpot || box == Aite().FSpot; }
    void resetHider(TPlayer& w, int kind, int yOffset);
    void stepHider(TPlayer& w);
    void placeBirds();
    void stepBirds();
    void seekerChoice();
    bool tryWarp();
    bool finishTick();
    void removeBox(int box);
    void movePathEnds();
    void commitMyChoice();
};

} // namespace kakure

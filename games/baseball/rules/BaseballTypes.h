#pragma once
// The records of a baseball play: the actors, the ball, the outcome of the duel and the play state
// that the fielding, running and play-end rules work on.
#include "BaseballField.h"
#include <QPoint>
#include <QtGlobal>
#include <array>
#include <vector>

namespace bb {

// Actors 0-8 are the fielders by position number, 9 the batter, 10-12 the runners who start on
// first, second and third, 13-17 the bench players of the batting side (out only for a walk-off).
enum TActorIndex {
    kPitcher = 0,
    kCatcher = 1,
    kFirstBaseman = 2,
    kSecondBaseman = 3,
    kThirdBaseman = 4,
    kShortstop = 5,
    kLeftFielder = 6,
    kCentreFielder = 7,
    kRightFielder = 8,
    kBatter = 9,
    kRunner1 = 10,
    kBench0 = 13,
    kActorCount = 18,
    kFieldActors = 13, // fielders, batter and runners: the actors ranked by ball distance
};

enum TActorAction : quint8 {
    acNone,      // standing, facing the ball
    acPitching,
    acBatting,
    acMoveToPos, // run to the target
    acThrowing,
    acCatching,  // chase and take the ball
    acDummyMove, // back-up run that ends by itself
};

constexpr int kNotRunning = 255;   // bases to run of an actor who is no runner
constexpr int kFarAway = 99999;    // ball distance of batter, runners and bench

struct TBallActor {
    int MinX = 0, MaxX = kFieldWidth, MinY = 0, MaxY = kFieldHeight;
    QPoint Pos, Target;
    int Speed = 0;          // pixels per tick; 0 standing
    double Direction = 0;   // radians from position to target, y up
    int Picture = -1;       // index into the side's image list; -1 not drawn
    TActorAction Action = acNone;
    int Step = 0;           // ticks spent in the current action
    int JumpStage = 0;      // 0-3 of a leap for the ball
    bool Done = false;      // finished its part in the play
    bool Arrived = false;
    int Role = 0;           // spot index of the destination, or the fielder number
    TBox CatchBox;
    int CatchGrowth = 0;    // added to the catch box of a fielder waiting for a throw
    TBox TouchBox;          // arrival test
    QPoint Intercept;       // point on the batted ball's path that the fielder runs to
    double Facing = 0;      // radians: where the actor looks
    int BallDistance = 0;   // 0 for the holder of the ball
    int Side = 0;
    int Pose = 255;         // bit 0 moving frame, +2 mirrored; 255 before the first pick
    bool Erred = false;
    int Base = 0;           // a runner's base 1-4, or 0
    int BasesToRun = kNotRunning;

    // Renews the touch and plain catch boxes around the position.
    void RenewBoxes(int touch = 5);
};

enum TBallKind { bkThrown = -1, bkGrounder = -2, bkFly = -3, bkLiner = -4 }; // 0-8: the fielder holding it

// Results of a plate appearance.
enum TPlayResult {
    prCatcher = 1,        // 0-8: the ball goes to that fielder
    prLeftFielder = 6,
    prRightFielder = 8,
    prBunt = 9,
    prStrikeout = 10,
    prWalk = 11,
    prGroundLeftLine = 12, // grounder double down the left line
    prGroundRightLine = 13,
    prFlyLeftLine = 14,
    prLeftCentreLeft = 15,
    prFlyRightLine = 16,
    prTriple = 17,          // to right-centre, right side
    prLeftCentreCentre = 18,
    prRightCentreCentre = 19,
    prHomeRun = 20,
};

enum TPlayKind { pkHit = 0, pkWalk = 1, pkPlayable = 2, pkStrikeout = 3, pkFoul = 4 };

struct TBallRecord {
    // The ball stays on the field: its last row is the field's bottom edge, where a fielder standing
    // on that edge can still reach it.
    int MinX = 0, MaxX = kBallMaxX, MinY = 0, MaxY = kFieldHeight - 1;
    QPoint Pos, Target;
    int Speed = 0;
    double Direction = 0;  // radians, y up
    int Height = 0;        // picture 0-4: apparent height of a fly
    bool Arrived = false;
    int PlayResult = 0;    // TPlayResult
    int Kind = kPitcher;   // TBallKind, or the fielder holding it
    int Fielder = 0;       // designated to take the batted ball, then the receiver of each throw
    bool Bounced = false;
    QPoint Launch;         // where the ball was hit
};

// An outfielder's leap at the fence for a home-run ball.
struct TFenceCatch {
    int Spot = -1;       // fence-catch spot 0-6
    int Fielder = -1;    // 7 for spots 0-2, 8 for spots 3-6; -1 none
    bool Robbed = false; // the catch is made
};

// A banner over the field: the call of the play, or one of its outs.
struct TOutMark {
    QPoint At;
    int Banner = pkPlayable; // picture of the call banners: a play kind
    friend bool operator==(const TOutMark&, const TOutMark&) = default;
};

// Everything a plate appearance decides and its play works on; a new plate appearance starts from a
// fresh one.
struct TPlayState {
    // The outcome of the duel.
    int FoulKind = 0;       // 0 fair; 1-2 pole, 3-4 grounder down a line, 5-6 fly down a line, 7 in front of the plate
    int BuntKind = 0;       // with a runner on third: 0 run scores, 1 nobody out, 2 runner out at home
    bool BallFlag = false;  // the pitch is a ball: the batter walks
    TFenceCatch FenceCatch;
    int FencePoint = -1;    // the fence point 0-6 of a home run (3 or 5 for a fence catch)
    QPoint Landing;         // where a home-run ball comes down

    // The play.
    int PlayKind = pkPlayable;
    int BattedKind = bkGrounder; // the ball's kind as it left the bat
    int BasesToAdvance = 1;
    std::array<int, 3> Chain{}; // first, second, third receiver (fielder numbers; 0 none)
    int PlannedFirst = 0;       // the first receiver as the plan chose him
    int SecondCover = 0;
    int DivingInfielder = -1;
    int OutfieldTarget = -1;    // the outfielder whose spot a diving stop's ball rolls to
    quint16 BackUpMask = 0;
    bool ErrorFlag = false;
    std::array<int, 2> TagUpPlan{}; // runner on third, runner on second: 0 none, 1 runs, 2 scores, 3 out
    bool TagUpSent = false;     // the tagging runners have left
    bool OnTime = true;
    bool FastRun = true;
    bool HitFlag = true;
    bool TriplePlay = false;
    bool RunsCount = true;      // runners crossing home score (not when the throw goes home)
    bool RunsHeld = false;      // runs of this play wait for the end of the throw chain
    int HeldRuns = 0;
    bool LateRelay = false;     // the last relay came too late: the batter is safe at first
    bool WalkOffExpected = false;
    bool HomeRun = false;
    bool FoulAnnounced = false;
    bool ErrorHappened = false;
    bool CheerUsed = false;
    bool PlanMade = false;      // the fielding plan exists (the batter's step 6 has run)
    bool Retreated = false;     // runners sent back as a fly was about to be caught
    bool BatterOut = false;     // the batter's fly was caught: he leaves the field
    bool ChainDone = false;     // the ball's last holder has it and throws no more
    bool Over = false;          // the play is over and its outs are counted
    bool RunsThisPlay = false;
    bool BatterCredited = false; // the batter's hit is on the board
    bool StatsCounted = false;   // the plate appearance is in the statistics
    std::array<bool, 4> BaseFlags{}; // per base 1-3: a runner may stand there after the play
    std::vector<TOutMark> OutMarks;
    int EndTimer = -1;          // -1, or ticks since the play ended
    int SlowTick = 0;           // ticks since the ball last lost speed below its fast range
    QPoint BallFrom;            // where the ball was a tick ago
    int StillTicks = 0;         // ticks in which nothing on the field moved
    quint64 FieldPrint = 0;     // positions of the ball and the actors last tick
};

// Sounds of the game, played by the form; the rules have already applied the sound switches.
// FinalCheer is the crowd's cheer at the end of the game, which waits for no other sound to stop.
enum class TBallSound { Opening, Bant, Batting, Tackle, Kick, Kansei, Change, FinalCheer };

} // namespace bb

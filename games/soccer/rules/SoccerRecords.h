#pragma once
// The soccer match as plain data: the players, the ball, the tactic values and every flag of the
// match and of its scene. One tick of the engine changes nothing else, so a copy of TSoccerState is a
// complete snapshot (the replay ring records from it, the form draws from it).
#include "SoccerFrames.h"
#include "SoccerGeometry.h"
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace soccer {

// Player actions; the labels are the program's own.
enum TAction : quint8 {
    acNone = 0, acDribble, acPass, acHeadPass, acShoot, acShootMove, acSeriai,
    acKeridasiP, acKeridasiI, acKokeru, acDash
};

// Set-piece kinds.
enum TSetPieceKind { spNone = -1, spPenalty = 0, spFoul = 1, spOffside = 2 };

// Time states and time modes (the items of the time list).
enum TTimeState { tsNormal = 0, tsBonus = 1, tsSuddenDeath = 2 };
enum TTimeMode { tmFirstHalf = 0, tmSecondHalf = 1, tmSuddenDeath = 2, tmPastReplay = 3 };

// Statistics per team, FStats[team][i].
enum TStat {
    stGoals = 0, stShots, stFouls, stHeadings, stPenalties, stOffsides, stLoopShots, stPassesWon,
    stPostHits, stTackles, stLoopGoals, stHeadingGoals, stPenaltyGoals, stCount
};

// A (team, player) pair; (-1, -1) is none.
struct TTeamPt {
    int team = -1;
    int player = -1;
    bool Set() const { return team >= 0 && player >= 0; }
    bool Is(int t, int p) const { return team == t && player == p; }
    void Clear() { team = player = -1; }
    bool operator==(const TTeamPt&) const = default;
};

// The region round the ball that the decisions test: a circle of radius 50 round a still ball, a box
// reaching 70 px ahead of a moving one. It moves with the ball until it is rebuilt.
struct TAroundRegion {
    bool Circle = true;
    TRect Box;
    bool Touches(const TRect& r) const;
    void Offset(int dx, int dy) { Box = {Box.Left + dx, Box.Top + dy, Box.Right + dx, Box.Bottom + dy}; }
};

struct TSoccerPlayer {
    // Place and movement.
    int MinX = kMinX, MaxX = kMaxX, MinY = kMinY, MaxY = kMaxY; // the celebration box
    int X = 0, Y = 0;               // feet centre
    int View = 0;                   // 0 facing right, 2 facing left, +1 moving pose, 4 and up fallen
    int Speed = 3;                  // px per tick
    double Heading = 0;             // towards Target
    QPoint Target;
    QPoint HomeCell, AttackCell, CurCell; // (column, row) in the team's own view
    quint8 Team = 0;
    quint8 Role = rlKeeper;
    TRect BodyRt;                   // ball contact
    TRect HeadRt;                   // clicks and blocking
    int BallDist = 0;
    int GoalDist = 0;               // to the aiming point of the goal the team attacks
    double BallAngle = 0;           // from (X, Y - 60) to the ball
    bool Arrived = true;
    bool RunFlag = false;
    quint8 Celebration = 0;         // 0 none, 1..4
    int CelebrationCount = 0;       // run-and-slide counter

    // Behaviour state (the action layer fills it).
    quint8 Action = acNone;
    int ActionTarget = -1;
    int ActionParam = 0;
    int ActionWait = 0;
    int ActionChoice = 0;
    quint8 OrderSource = 0;         // 0 computer, 1 planned by the computer, 2 the user
    int PassedFrom = -1;
    quint8 Passers = 0;             // bit set of team-mates
    quint16 LaneFlags = 0;          // low 4 bits open lanes, high byte the lane score
    quint8 Pressure = 0;            // 1 ahead, 2 above, 4 below, 8 behind
    bool OffsideFlag = false;
    bool InOwnHalf = true;
    quint8 HeaderCount = 0;
    bool CanHead = true;
    quint8 TurnSide = 1;
    bool IsSlow = false;
    int SlowTick = 0;
    int MarkedFoe = -1;
    bool InContest = false;         // his contest for the ball has started
};

struct TBall {
    int X = 0, Y = 0;
    int Speed = 0;                  // px per tick, 0 still
    double Angle = 0;
    int GoalDist[2] = {0, 0};       // to the goal each team attacks
    QPoint KickStart;               // where the last kick started
    bool PostHit = false;
    int Height = 0;                 // 0 ground, 1 low, 2 high
    quint8 OutFlags = 0;            // 1 left goal line, 2 right, 4 top, 8 bottom; 17, 18 restarts
    bool Free = false;
    TAroundRegion AroundRgn;
};

// Tactic values of one team.
struct TTeamTactic {
    int TrapDistance = 35;
    int Tolerance = 10;             // a player is at his cell within 3 x this
    bool Dash = false;
    bool Foul = false;              // fouls may be whistled at all
    bool Penalty = false;           // a foul in the penalty area gives a penalty kick
    int Weakness = 2;               // added to the other team's shot chance; the reaction delay
    bool RndDefensePos[7] = {};
    int Weights[3][2] = {{1, 1}, {1, 1}, {1, 1}}; // (w1, w2) for marking
    int Cover = 1;                  // the side back who covers (1 or 3)
    int Marking = 1;                // the marking choice 1..4
};

struct TSetPiece {
    int team = -1, player = -1, x = -1, y = -1;
    void Clear() { team = player = x = y = -1; }
};

struct TSoccerState {
    // Settings, from the menu and the form.
    bool FSoundOn = true;
    bool FCheerOn = true;
    int FTimeMode = tmSecondHalf;   // the time list's item in force
    int FOperation = 0;             // operation mode
    bool FShowReplay = true;        // goal replays are shown
    int FirstShuffled[2] = {0, 0};  // first and last of each team's shuffled pictures
    int LastShuffled[2] = {0, 0};

    // Match flow.
    bool FOpening = false;
    bool FOpeningDrawn = false;
    int FTick = 0;
    int FResumeTick = 50;
    int FClock = 0;                 // seconds
    bool FClockStarted = false;     // the clock has run since the first kick-off
    int FEndTime = 5400;
    int FAddedMinutes = 0;
    int FTimeState = tsNormal;
    int FGoalTime = 0;
    QString FGoalTimeText;
    int FGoalTick = -1;
    int FFreeKickTick = -1;
    int FPKTick = -1;
    int FPauseTick = -1;
    int FWinner = -1;
    int FFinalWinner = -1;
    bool FFinalWhistle = false;
    bool FReplaying = false;
    TTeamPt FLastScorer;
    TTeamPt FHolder;
    TTeamPt FNearest;
    TTeamPt FLastKicker;
    TTeamPt FTackler;
    TSetPiece FSetPiece;
    int FSetPieceKind = spNone;
    bool FSetPieceDeep = false;
    int FLastBallTick = 0;
    int FGoalKind = 0;
    bool FFreeKickGoal = false;
    int FStats[2][stCount] = {};
    std::vector<QString> FGoalLabels;
    int FShotChance[2] = {0, 0};
    bool FChanceOn = true;
    bool FCanSaveReplay = false;
    bool KickOffPass = false;       // the kick-off pass is pending
    int LastTackleSound = -1000;    // FTick of the last "TACKLE"

    // The timer and the end.
    int TimerInterval = 107;
    bool TimerEnabled = false;
    bool MatchOver = false;
    int ModalResult = 0;            // 6 won, 7 lost, 2 closed in the past-replay mode
    quint16 ResultCode = 0;

    // Teams, ball and scene.
    TSoccerPlayer FPlayers[2][7];
    TBall Ball;
    TTeamTactic FTactic[2];
    int FAttackSide = 0;            // the team whose players think first
    int Order[2][7] = {};           // by distance to the ball, nearest first
    int GoalOrder[2][7] = {};       // by distance to the attacked goal
    bool CheerFlag[2] = {false, false};
    bool ButtonHover[2] = {false, false};
    int NetAnim[2] = {0, 0};        // net shake: 10 lower half, 11 upper half
    bool FCornerPlay = false;
    bool FCornerPlayPrev = false;
    int KeeperHold[2] = {0, 0};     // ticks the keeper still holds the ball
    int KeeperPause[2] = {0, 0};
    bool KeeperOffCentre[2] = {false, false};
    int KeeperLineX[2] = {0, 0};
    bool BlockFlag[2] = {false, false}; // silences the net-bounce sound
    bool ParryMark = false;
    int SavedPenaltyDir = -2;
    // The defenders' wall places at a free kick; x < 0 none.
    QPoint WallPlace[7] = {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}};
    quint8 InPlace[2] = {0, 0};     // bit set of players 0-3 at their cells       // -1, 0, +1 while a saved penalty's direction is pending
    int FShotTraceTick = -100;      // FTick of the last shot

    // Behaviour state.
    TTeamPt FReceiver, FHeader, FHeadTarget, FHeadShot, FDasher, FMarked, FFallen;
    bool FLofted = false;
    int FDashTicks = 0;
    int FMarkedCount = 0;
    int FFrontMan[2] = {6, 6};
    int FLastMan[2] = {2, 2};
    QPoint FFoulSpot;
    int FFallDir = 0;
    bool FFoulInArea = false;
    bool FTrap[2] = {false, false};
    int FTrapCount[2] = {0, 0};
    bool FLoopShot[2] = {false, false};
    bool FShotFlying = false;
    bool FShotScores = false;
    int FShotKind = -1;             // ticks since the shot, -1 none
    int FShotType = 0;              // the shot's kind (the shooter's action parameter)
    QPoint FShotAim;
    int FKeeperMove = 0;
    int FLastKickTick = 0;
    int FLastPassTick = 0;
    int FPassCount = 0;
    int FRestartCount = 0;
    int FControlled = -1;
    bool FAskPending = false;
    bool FAIDecides = true;
    quint8 FTouch[2] = {0, 0};      // bit set of the players touching the ball this tick
    int FLastAction = acNone;       // the last action given
    int FMovePasses = 0;            // passes of the holding team since it won the ball
    int FFallTick = -1000;          // FTick of the last fall
    int FLastLoopTick = -1000;      // FTick of the last loop shot
    int FRestartTick = -1000;       // FTick of the last kick-off pass or free kick
    int FClickedPlayer = -1;        // the user's last clicked player and how often in a row
    int FClickStreak = 0;
    int FHoverChoice = -1;          // the choice under the pointer while a question is pending
    // The user's operation: his order of a shot since his last click, the two buttons of his side
    // under the pointer, and the defence button's at the pointer's last move.
    bool FUserShot = false;
    bool FLoopHover = false, FDefenceHover = false;
    bool FDefenceHoverLast = false;
    QPoint FPointer{-1, -1};        // where the pointer last moved on the scene; x < 0 never

    // Replay ring indexes (the frames themselves belong to the replay module).
    int FRingIndex = 0;
    int FReplayStart = 0;
    int FReplayEnd = 0;
    int FReplayFrames = 0;
    int FReplayPause = -1;          // -1 idle, else 0..7

    // The recorded frames, the goal scenes and the past replay (SoccerReplay.cpp).
    TReplayFrame FRing[kRingFrames] = {};
    int FRingCount = 0;             // frames of a loaded scene; 0 means the whole ring
    int FRingRecorded = 0;          // frames recorded since the kick-off, counted up to the ring's size
    bool FReplayBallAbove = false;  // the frame shown draws the ball above the players
    bool FReplayFlash = false;      // the frame shown has the shot flash at the ball
    QByteArray FReplayStream;       // the goal scenes in the replay file's layout
    int FSceneCount = 0;            // scenes appended; in the past replay the scene shown
    bool FScenePlaying = false;     // the user has picked a scene of the past replay
    quint8 FFileManual = 0;         // the manual-play byte of the file shown
    std::vector<TRect> FGoalLabelRects; // the past replay's scene labels on screen
    bool FReplayNormalSpeed = false; // "通常速度": past replays at 107 ms a frame, else 200
};

// Sounds of the soccer game, by resource name.
enum class TSoccerSound { Opening, Whistle, Whistle3, GoalPost, Tackle, Kick, Kansei, Change, GoalFileBgm };
const char* SoundName(TSoccerSound s);

// The scoreboard's clock: "リプレイ" during a replay, "00:00" until the first kick-off, the time of the
// goal (or of the final whistle) while play stands for it, else the running clock.
QString BoardClockText(const TSoccerState& s);

} // namespace soccer

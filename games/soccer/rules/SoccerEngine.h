#pragma once
// The seven-a-side soccer match: a plain engine that owns the whole match state (TSoccerState, its
// base) and advances it one timer tick at a time. The form creates it, fills its services and
// settings, calls Show() when the match starts, Tick() on every timer tick (at TimerInterval ms while
// TimerEnabled), Close() when the window closes, and draws from the state.
//
// One tick, in order: the opening; the past replay; the goal replay; the goal or end-of-match
// celebration; the penalty kick, the pause or the free kick; otherwise the play tick (clock and time
// rules, tactic values, repositioning, every player's action and move, the ball, the goal test, the
// team lists and shot chances, the keepers, the player at the ball, separation, team flags, cheers);
// the frame is recorded; contact rectangles; the scene is drawn.
#include "SoccerRecords.h"
#include "SoccerServices.h"

namespace soccer {

constexpr int kRingSize = 120;
// Ticks a caught ball is seen in the keeper's hands before his pass or clearance leaves them (about
// a second of play).
constexpr int kKeeperHoldTicks = 10;

class TSoccerEngine : public TSoccerState {
public:
    explicit TSoccerEngine(TSoccerServices services = {});
    TSoccerServices Svc;

    // --- The form's entry points -------------------------------------------------------------
    // The start of a match: statistics cleared, the opening runs, the first kick-off is placed and
    // the time mode in force applied.
    void Show();
    // A time mode chosen from the list; only during the opening (false otherwise, nothing changes).
    bool ApplyTimeMode(int item);
    void Tick();
    // The window closes: saves a decided match's replay, reports an undecided one as lost unless the
    // user's team has won. Returns the modal result.
    int Close();
    // The result code of the decided match (won or lost with the menu's mode bits).
    quint16 FinalResultCode() const;

    // --- Field, teams and rules helpers ------------------------------------------------------
    int RandomInt(int n);
    void ResetKickOff();
    void UpdateBallRegion();
    void PlaceDefence(int team, int kind);
    bool CellTaken(int team, int player, int slot) const;
    void DrawTactics();
    bool KickBall(bool full, bool power, int action, QPoint target, QPoint from);
    bool IsTrailing(int team) const;
    bool IsLeading(int team) const;
    int GoalDistance(int team, int x, int y) const;
    int PickReceiver(int kind, int team, int exclude, int minRank, int rangeA, int rangeB, int passer);
    bool PassLaneFree(int team, int receiver) const;
    int FindThroughRunner(int team, int passer) const;
    bool ThroughRunnerFits(int team, int passer, int runner) const;
    void ClearRunFlags(int team);
    void MarkForwardRuns(int team, int passer);
    void ShotChance(int team);
    // An opponent of (team, player) stands in the box or ellipse from (x + back, y + top) to
    // (x + front, y + bottom), mirrored left-right for team 1 when Mirror.
    bool OpponentInZone(int team, int player, bool box, bool mirror, int bottom, int top, int front, int back) const;
    bool BallInReach(int team, int player) const;
    bool Possesses(int team) const { return FHolder.team == team; }
    bool BallInHands() const { return KeeperHold[0] > 0 || KeeperHold[1] > 0; }
    TSoccerPlayer& Player(TTeamPt p) { return FPlayers[p.team][p.player]; }
    QString ClockText(int clock) const;

    // --- Ball physics and movement ----------------------------------------------------------
    void MoveBall();
    void MovePlayer(int team, int player);
    void MoveCelebrating(int team, int player);
    void SetReachRect(int team, int player);
    void UpdateContact(int team, int player);

    // --- Match flow ---------------------------------------------------------------------------
    void PlayTick();
    void GoalAndNetTest();
    void TimeRules();
    void BonusTime();
    void SortTeams();
    void Separation();
    void CrowdCheer();

    // --- Steps that the action layer, the set pieces and the replays fill ----------------------
    // Each keeps its place in the tick.
    void PlayerThink(int team, int player);   // one tick of the player's action
    bool DecideAtBall(int team);              // the player at the ball takes it and chooses
    bool KeeperAtBall(int team);              // the keeper distributes, parries or catches
    void TrapTick(int team);                  // the trap counter of the team without the ball
    void CheckTrapBreak();
    void ClearTrapFlags(int team);
    bool RunRefused(int team, int candidate, int passer) const;
    bool KeeperPassRefused(int team, int candidate) const;
    void GetUp(int team, int player);
    void FreeKickStep();                      // one tick of a free kick
    void PenaltyKickStep();                   // one tick of a penalty kick
    TPKOutcome PlayPenaltyKick();             // the PK form through the service
    void RecordFrame(bool advance, bool kickBit);
    bool ShowReplayFrame(bool advance);       // false once the replay's frames are over
    void PastReplayStart();
    void PastReplayTick();

    // --- Goal scenes and the past replay (SoccerReplay.cpp, SoccerPastReplay.cpp) ---------------
    // The goal scene from the ring into the stream (the header first); with count, a scene more.
    void AppendGoalScene(bool count);
    // The stream's header rewritten with the statistics and the menu's manual-play flag of now.
    void WriteReplayHeader();
    // -1: the chosen file read into the stream, every scene read and the label list built; n >= 0:
    // scenes 0..n read again from the stream and scene n left in the ring. False when it fails; then
    // no replay runs.
    bool LoadReplayScenes(int scene);
    // The user's inputs in the past replay: a click (true when it played a scene), the pointer, the
    // arrow keys (previous or next scene), 0 and Enter (the current scene played).
    bool PickGoalScene(QPoint p);
    void HoverGoalScene(QPoint p);
    void StepGoalScene(int delta);
    bool PlayCurrentScene();
    // Another replay file has been chosen: it is loaded and its first scene shown ("CHANGE" when changed).
    void OpenPastReplay(bool changed);
    int SceneAt(QPoint p) const;              // the scene label under p, -1 none

    // --- The user's operation (SoccerOperation.cpp) ---------------------------------------------
    // A left click on the scene during a match: a shot at the goal or with the loop button, a pass
    // to a team-mate, a dribble of the controlled player, the defence line raised or lowered.
    void UserClick(QPoint p);
    // The pointer over the scene during a match: the buttons' hover flags and a question's choice.
    void UserHover(QPoint p);
    // The not-allowed pointer for a cursor update of `hot` (the team holding the ball; -1 the default).
    bool CursorForbidden(int hot) const;
    // The operation state of a new kick-off: no orders, no hover, no question.
    void ResetOperationState();
    // Where a number key clicks (1-6 a team-mate, 0 the goal or the defence button, 7 the loop
    // button); false when the key gives no order now.
    bool KeyClickPoint(int digit, QPoint& p) const;
    // The user's clickable team-mate under p, topmost first; -1 none.
    int UserPlayerAt(QPoint p) const;

    // --- Player actions, decisions, shot lanes, offside and set pieces -------------------------
    // Orders come from the computer (source 0), a move it planned (1) or the user (2).
    void SetAction(int source, int team, int param, int target, int action, int player);
    // Player -1 or -2 is the whole team (-2 keeps the turn sides); team -1 both teams.
    void ClearAction(int team, int player);
    void ClearQuestion();
    void StartSetPiece(int kind, int team, int player);
    void SortByDistance(int team, QPoint p, int (&order)[7], bool skipKeeper, bool byCell) const;
    int PickByRole(int team, int minRole, bool fromFar, QPoint p, int maxRole) const;
    void SetSlow(int team, int player, bool on);
    bool CanDash(int team, int player) const;
    void StartDash(int team, int player);
    bool OpponentInReach(int team, int player) const;
    bool IsPressed(int team, int player) const;
    bool UserPassGate(int team, int player);
    void DribbleKick(int team, int player, int speed);
    void KeepBallAtFeet(int team, int player, int dir);
    bool CanWhistleFoul(int team);
    quint8 PressureOf(int team, int player) const;
    bool EvaluateShotLanes(int team, int player, bool fromHead, int kind);
    bool IsShotChance(int team, int player) const;
    int ChooseShotAim(int team, int player);  // sets FShotAim; 1 upper, 2 middle, 3 lower
    bool DecideShoot(int team, int player);
    void FindLineMen();
    void CheckOffsideTrap(int team);

private:
    static int Forward(int team) { return team == 0 ? 1 : -1; }
    void ThinkPass(int team, int player, bool inReach);
    void PassMade(int team, int passer, int receiver, bool deflected);
    void Fumble(int team, int player);
    void ThinkHeadPass(int team, int player, bool inReach);
    void ThinkDribble(int team, int player, bool inReach);
    void TurnBack(int team, int player);
    int DribbleAngle(int team, int player, bool anySpeed);
    void KickAway(int team, int player);
    void ThinkShoot(int team, int player);
    void ShotTaken(int team, int player, bool heads);
    bool KickOut(int team, int player);
    void Contest(int team, int player);
    void ContestOutcome(int team, int player);
    void Fall(int team, int player);
    void FallDecided(int team, int player);
    bool AsksUser(int team, int player, int target, int action) const;
    void JudgeOffside(int team, int receiver);
    void ClearOffside();
    void HeaderAtBall(int team);
    bool CanGain(int team, int player) const;
    bool GainBall(int team, int player);
    void Choose(int team, int player, bool contest);
    bool SetUpShooter(int team, int player);
    int PressedReceiver(int team, int player);
    void BuildWall();
    void TakeFreeKick();
    void PlacePenalty();
    void TakePenalty();
    void PenaltyFrames(const TPKOutcome& o);
    void KeeperDistributes(int team, bool& kicked);
    void KeeperCatches(int team, bool& kicked);
    bool OpeningTick();
    void RunPlay();
    void MovePlayers();
    void EndOfTick();
    void GoalFor(int team);
    void NetBounce(int goal);
    void CelebrationTick();
    void StartCelebrationMoves();
    void StartGoalReplay();
    void GoalReplayTick();
    void MatchEnd();
    QString GoalLabel(int team) const;
    void PlaceKickOffPlayer(int team, int player, int kickingTeam);
    void ZoneCell(int team, int player, int slot, const TRect& zone);
    void DrawCells(int team, int kind);
    QPoint RoleTarget(int team, int player);
    QPoint BackTarget(int team, int player, int m, bool defending);
    QPoint CentreBackTarget(int team, int player, int m);
    QPoint SideBackTarget(int team, int player, int m);
    QPoint MidfielderTarget(int team, int player, bool defending);
    QPoint ForwardTarget(int team, int player);
    QPoint KeeperTarget(int team, int player);
    QPoint ChaseTarget(int team, int player);
    QPoint FreeKickTarget(int team, int player);
    bool Chases(int team, int player) const;
    void StepPlayer(int team, int player, bool inPlay, bool chasing);
    void UpdatePose(int team, int player, bool moved);
    void UpdateBallDist(int team, int player);
    void HeaderJump(int team, int player);
    // Where the ball goes this tick: on a header's head, in a keeper's hands, or along its flight.
    enum class TBallCarrier { Head, Hands, Flight };
    TBallCarrier PlaceBall();
    void BallLimits();
    void Friction();
    void BallHeight();
    void CornerPlay();
    void Touched(int team, int player);
    bool Sound(TSoccerSound s, bool noStop = false);
    void Draw();
    void ApplyFrame(const TReplayFrame& f);
    bool PlayScene(int k);
    bool WaitForSceneClick(int times);
    void DropSceneClicks();
    void PlayReplayMusic();
};

} // namespace soccer

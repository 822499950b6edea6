// Player actions: who may give which order, the "ときどき選択" questions, the passes that the user's
// modes keep for the user, offside, the offside trap, contests and the falls that end in fouls.
#include "SoccerScene.h"
#include <gtest/gtest.h>

using namespace soccer;

namespace {

// Team t's midfielder 4 has the ball in the centre circle; forward 6 and midfielder 5 are ahead.
void Attack(SoccerScene& s, int t = 0)
{
    const int m = t == 0 ? 1 : -1;
    s.place(t, 4, 431 - 30 * m, 335);
    s.place(t, 6, 431 + 90 * m, 300);
    s.place(t, 5, 431 + 60 * m, 420);
    s.ball(431 - 28 * m, 335);
    s.e.FHolder = {t, 4};
    s.refresh();
}

} // namespace

TEST(SoccerAction, WhoMayReplaceAnOrder)
{
    enum { none, freeKick, lofted, contestWaits, finalWhistle };
    struct Row {
        const char* what;
        int source, current, action, target, state, expectAction, expectTarget;
    };
    const Row rows[] = {
        {"a computer order is given", 0, acNone, acPass, 6, none, acPass, 6},
        {"it never replaces a pass", 0, acPass, acDribble, -1, none, acPass, 5},
        {"nor a head pass", 1, acHeadPass, acDribble, -1, none, acHeadPass, 5},
        {"nor a shot", 0, acShoot, acPass, 6, none, acShoot, 5},
        {"nor a shot on arrival", 1, acShootMove, acDribble, -1, none, acShootMove, 5},
        {"the user replaces a pass", 2, acPass, acShoot, 0, none, acShoot, 0},
        {"but not at a free kick", 2, acPass, acShoot, 0, freeKick, acPass, 5},
        {"nor a shot at a free kick", 2, acShoot, acPass, 6, freeKick, acShoot, 5},
        {"nor his head pass under a lofted ball", 2, acHeadPass, acDribble, -1, lofted, acHeadPass, 5},
        {"a pass under a lofted ball clears him", 0, acDribble, acPass, 6, lofted, acNone, 5},
        {"a head pass while the contest's holder waits clears him", 0, acDribble, acHeadPass, 6, contestWaits, acNone, 5},
        {"a pass to nobody clears the team", 0, acDribble, acPass, -1, none, acNone, 5},
        {"after the final whistle every order is a dribble", 0, acNone, acShoot, 0, finalWhistle, acDribble, -1},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        Attack(s);
        TSoccerPlayer& pl = s.e.FPlayers[0][4];
        pl.Action = quint8(r.current);
        pl.ActionTarget = 5;
        s.e.FPlayers[0][5].Action = acDribble;
        s.e.FFreeKickTick = r.state == freeKick ? 5 : -1;
        s.e.FLofted = r.state == lofted;
        s.e.FFinalWinner = r.state == finalWhistle ? 0 : -1;
        if (r.state == contestWaits) {
            s.e.FLastAction = acSeriai;
            pl.ActionWait = 3;
        }
        s.e.SetAction(r.source, 0, 3, r.target, r.action, 4);
        EXPECT_EQ(pl.Action, r.expectAction) << r.what;
        EXPECT_EQ(pl.Action == acNone ? r.expectTarget : pl.ActionTarget, r.expectTarget) << r.what;
        EXPECT_EQ(s.e.FPlayers[0][5].Action, r.target < 0 && r.action == acPass ? acNone : acDribble) << r.what;
    }
}

TEST(SoccerAction, SometimesChoosingAsksTheUser)
{
    enum { none, soonAfterKick, receiverAhead, passerAhead, kickOff, header, clickedThrice, autoMode, theyHold };
    struct Row {
        const char* what;
        int player, action, target, state;
        bool asks;
    };
    const Row rows[] = {
        {"a shot", 4, acShoot, 0, none, true},
        {"a head pass", 5, acHeadPass, 6, none, true},
        {"a shot on arrival", 6, acShootMove, -1, none, true},
        {"a back's pass to the front long after a kick", 2, acPass, 6, none, true},
        {"the same soon after a kick", 2, acPass, 6, soonAfterKick, false},
        {"a forward pass to a team-mate past halfway", 4, acPass, 6, receiverAhead, true},
        {"a forward pass inside the own half", 4, acPass, 6, none, false},
        {"a pass back from past halfway", 4, acPass, 2, passerAhead, true},
        {"a pass back from the own half", 4, acPass, 2, none, false},
        {"a dribble", 4, acDribble, -1, none, false},
        {"while the kick-off pass is pending", 4, acShoot, 0, kickOff, false},
        {"when somebody heads the ball", 4, acShoot, 0, header, false},
        {"for a player clicked three times running", 4, acShoot, 0, clickedThrice, false},
        {"in the mode \"自動進行\"", 4, acShoot, 0, autoMode, false},
        {"when the opponents hold the ball", 4, acShoot, 0, theyHold, false},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        Attack(s);
        TSoccerEngine& e = s.e;
        e.FOperation = r.state == autoMode ? 3 : 2;
        for (TSoccerPlayer& pl : e.FPlayers[0]) pl.InOwnHalf = true;
        e.FPlayers[0][6].InOwnHalf = r.state != receiverAhead;
        e.FPlayers[0][4].InOwnHalf = r.state != passerAhead;
        if (r.state == soonAfterKick) e.FLastKickTick = e.FTick - 10;
        e.KickOffPass = r.state == kickOff;
        if (r.state == header) e.FHeader = {0, 6};
        if (r.state == clickedThrice) e.FClickedPlayer = 4, e.FClickStreak = 3;
        if (r.state == theyHold) e.FHolder = {1, 4};
        e.SetAction(0, 0, 1, r.target, r.action, r.player);
        EXPECT_EQ(e.FAskPending, r.asks) << r.what;
        EXPECT_EQ(e.FAIDecides, !r.asks) << r.what;
        EXPECT_EQ(e.FPlayers[0][r.player].Action, r.asks ? acNone : r.action) << r.what;
    }
}

TEST(SoccerAction, MouseAndKeyboardModesKeepTheirPassesForTheUser)
{
    struct Row {
        int operation, team, source;
        bool passes;
    };
    const Row rows[] = {{0, 0, 0, false}, {1, 0, 1, false}, {3, 0, 0, true}, {0, 1, 0, true}, {0, 0, 2, true}};
    for (const Row& r : rows) {
        SoccerScene s;
        Attack(s, r.team);
        s.e.FOperation = r.operation;
        s.e.SetAction(r.source, r.team, 0, 6, acPass, 4);
        s.e.PlayerThink(r.team, 4);
        const std::string what = "mode " + std::to_string(r.operation) + " team " + std::to_string(r.team);
        EXPECT_EQ(s.e.FReceiver == (TTeamPt{r.team, 6}), r.passes) << what;
        EXPECT_EQ(s.e.Ball.Speed > 0, r.passes) << what;
        EXPECT_EQ(s.e.FPlayers[r.team][4].Action, r.passes ? acNone : acDribble) << what;
    }
}

TEST(SoccerAction, OffsideStopsPlayAndGivesAFreeKick)
{
    // Team 0's forward 6 receives a pass from 120 px behind team 1's last outfield player.
    struct Row {
        int receiverX, lastManX;
        bool offside;
    };
    const Row rows[] = {{650, 620, true}, {627, 620, true}, {626, 620, false}, {400, 300, false}};
    for (const Row& r : rows) {
        SoccerScene s;
        s.place(0, 4, r.lastManX - 120, 335);
        s.ball(r.lastManX - 118, 335);
        s.place(0, 6, r.receiverX, 250);
        for (int p = 1; p < 7; ++p) s.place(1, p, r.lastManX - 10 * (p - 2) * (p - 2), 120 + 60 * p);
        s.e.FHolder = {0, 4};
        s.refresh();
        ASSERT_EQ(s.e.FLastMan[1], 2);
        s.e.SetAction(0, 0, 0, 6, acPass, 4);
        s.e.PlayerThink(0, 4);
        ASSERT_EQ(s.e.FReceiver, (TTeamPt{0, 6})) << r.receiverX;
        EXPECT_EQ(s.e.FPlayers[0][6].OffsideFlag, r.offside) << r.receiverX;
        EXPECT_EQ(s.e.FPauseTick, r.offside ? 0 : -1) << r.receiverX;
        // The ball reaches him on the ground.
        s.ball(r.receiverX, 250, 3);
        s.refresh();
        s.e.FTick += 5;
        s.e.DecideAtBall(0);
        EXPECT_EQ(s.e.FFreeKickTick, r.offside ? 0 : -1) << r.receiverX;
        EXPECT_EQ(s.e.FStats[0][stOffsides], r.offside ? 1 : 0);
        EXPECT_EQ(s.e.FSetPiece.team, r.offside ? 1 : -1);
        EXPECT_EQ(s.count(TSoccerSound::Whistle), r.offside ? 1 : 0);
    }
}

TEST(SoccerAction, LineMenAndTheOffsideTrap)
{
    SoccerScene s;
    s.place(0, 1, 200, 200);
    s.place(0, 3, 200, 400); // level with player 1: the lower number is the last man
    s.place(0, 5, 600, 200);
    s.place(0, 6, 600, 400);
    s.refresh();
    EXPECT_EQ(s.e.FLastMan[0], 1);
    EXPECT_EQ(s.e.FFrontMan[0], 5);

    enum { none, holds, farPast, noLane, counting };
    struct Row {
        const char* what;
        int trapTeam, operation, state;
        bool armed;
    };
    const Row rows[] = {
        {"a front man near the line with a lane", 1, 0, none, true},
        {"he holds the ball", 1, 0, holds, false},
        {"he is well past the line", 1, 0, farPast, false},
        {"he has no lane", 1, 0, noLane, false},
        {"the trap counter runs", 1, 0, counting, false},
        {"team 0 in the mode \"自動進行\"", 0, 3, none, true},
        {"team 0 in the other modes", 0, 2, none, false},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        const int a = 1 - r.trapTeam, m = a == 0 ? 1 : -1;
        s.place(a, 4, 431, 335);
        s.place(a, 6, 431 + (r.state == farPast ? 270 : 180) * m, 300);
        for (int p = 1; p < 7; ++p) s.place(r.trapTeam, p, 431 + (p == 2 ? 200 : 100) * m, 120 + 60 * p);
        s.ball(433, 335);
        s.e.FHolder = {a, r.state == holds ? 6 : 4};
        s.e.FOperation = r.operation;
        s.refresh();
        s.e.FPlayers[a][6].LaneFlags = r.state == noLane ? 0 : 0x300;
        s.e.FTrapCount[r.trapTeam] = r.state == counting ? 2 : 0;
        s.e.CheckOffsideTrap(r.trapTeam);
        EXPECT_EQ(s.e.FTrap[r.trapTeam], r.armed) << r.what;
    }
}

TEST(SoccerAction, ContestsAndTheirOutcome)
{
    // Team 1's midfielder contests team 0's forward: six ticks, then the ball goes his way.
    for (int choice : {0, 2}) {
        SoccerScene s;
        s.place(1, 4, 500, 335);
        s.place(0, 6, 495, 345);
        s.ball(498, 335);
        s.e.FHolder = {0, 6};
        s.refresh();
        s.answers = {choice == 2 ? 0 : 1};
        s.e.SetAction(0, 1, 0, 6, acSeriai, 4);
        for (int i = 0; i < 7 && s.e.FPlayers[1][4].Action == acSeriai; ++i) {
            s.ball(s.e.FPlayers[1][4].X - 2, 335); // the ball stays at his feet
            s.refresh();
            s.e.PlayerThink(1, 4);
        }
        EXPECT_EQ(s.e.FPlayers[1][4].Action, acNone);
        EXPECT_EQ(s.e.FHolder, (TTeamPt{1, 4})) << choice;
        EXPECT_TRUE(s.e.FPlayers[0][6].IsSlow);
        EXPECT_EQ(s.e.FMarked, TTeamPt{}); // the touch frees the marked opponent again
        // Won: away at -150 degrees; lost: poked down past the opponent in front of him.
        EXPECT_NEAR(RadToDeg(s.e.Ball.Angle), choice == 2 ? -150 : -135, 1e-6);
    }
}

TEST(SoccerAction, FallsEndInPenaltiesFreeKicksOrPlayOn)
{
    struct Row {
        const char* what;
        int x, y;
        bool penaltyFlag;
        int draw, expectPK, expectFreeKick, expectTackles, lies;
    };
    const Row rows[] = {
        {"in the area with the penalty flag", 680, 335, true, 0, 0, -1, 0, 11},
        {"in the area without it", 680, 335, false, 0, -1, -1, 1, 19},
        {"midfield, the whistle", 431, 300, false, 0, -1, 0, 0, 5},
        {"midfield, play on", 431, 300, false, 1, -1, -1, 1, 13},
        {"in a corner zone", 700, 160, false, 0, -1, -1, 1, 13},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        s.place(0, 6, r.x, r.y);
        s.place(1, 3, r.x + 4, r.y - 3);
        s.ball(r.x + 2, r.y);
        s.e.FHolder = {0, 6};
        s.e.FTactic[0].Foul = true;
        s.e.FTactic[0].Penalty = r.penaltyFlag;
        s.refresh();
        ASSERT_TRUE(s.e.OpponentInReach(0, 6) && s.e.CanWhistleFoul(0)) << r.what;
        s.e.SetAction(0, 0, 0, 3, acKokeru, 6);
        s.answers = {r.draw};
        int lies = 0;
        do {
            s.e.PlayerThink(0, 6);
        } while (++lies < 40 && s.e.FFallen.Set() && s.e.FPKTick < 0 && s.e.FFreeKickTick < 0);
        EXPECT_EQ(lies, r.lies) << r.what;
        EXPECT_EQ(s.e.FPKTick, r.expectPK) << r.what;
        EXPECT_EQ(s.e.FFreeKickTick, r.expectFreeKick) << r.what;
        EXPECT_EQ(s.e.FStats[1][stTackles], r.expectTackles) << r.what;
        EXPECT_EQ(s.e.FStats[1][stFouls], 1 - r.expectTackles) << r.what;
        // The tackler's team defends the penalty kick.
        EXPECT_EQ(s.e.FTackler, (r.expectPK == 0 ? TTeamPt{1, 3} : TTeamPt{})) << r.what;
        EXPECT_EQ(s.count(TSoccerSound::Tackle), 1);
    }
}

TEST(SoccerAction, PlayGoesOnWhereItWouldStall)
{
    // A holder who reaches his own ball once it has rolled to a stop plays it on; at a ball placed
    // for him (a free kick's) he waits for his order.
    for (bool rolled : {true, false}) {
        SoccerScene s;
        Attack(s);
        s.e.Ball.Free = rolled;
        EXPECT_EQ(s.e.DecideAtBall(0), rolled);
    }
    // A header shot whose header was stopped no longer keeps everybody off the ball.
    SoccerScene s;
    Attack(s);
    s.e.Ball.Free = true;
    s.e.FHeadShot = {0, 6};
    EXPECT_TRUE(s.e.DecideAtBall(0));
    EXPECT_EQ(s.e.FHeadShot, TTeamPt{});
    // While his team holds the ball a player runs to the attack cell drawn for him.
    s.e.PlaceDefence(0, -1);
    for (const TSoccerPlayer& pl : s.e.FPlayers[0]) EXPECT_EQ(pl.CurCell, pl.AttackCell);
    // A midfielder marking an opponent on the touchline stands 15 px below him, but on the pitch.
    s.e.FHolder = {1, 4};
    s.e.FTactic[0].Marking = 2;
    s.e.FTactic[0].RndDefensePos[5] = false;
    s.place(1, 5, 400, 545);
    s.refresh();
    s.e.MovePlayer(0, 5);
    EXPECT_LE(s.e.FPlayers[0][5].Target.y(), kMaxY);
}

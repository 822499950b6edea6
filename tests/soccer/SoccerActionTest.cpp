// Player actions: who may give which order, the "ときどき選択" questions, the passes that the user's
// modes keep for the user, offside, the offside trap, contests and the falls that end in fouls.
#include "SoccerScene.h"
#include <functional>
#include <gtest/gtest.h>

using namespace soccer;

namespace {

// Team 0's midfielder 4 has the ball in the centre circle; forward 6 and midfielder 5 are ahead.
void Attack(SoccerScene& s, int team = 0)
{
    const int m = team == 0 ? 1 : -1;
    s.place(team, 4, 431 - 30 * m, 335);
    s.place(team, 6, 431 + 90 * m, 300);
    s.place(team, 5, 431 + 60 * m, 420);
    s.ball(431 - 28 * m, 335);
    s.e.FHolder = {team, 4};
    s.refresh();
}

} // namespace

TEST(SoccerAction, WhoMayReplaceAnOrder)
{
    struct Row {
        const char* what;
        int source, current, action, target;
        std::function<void(SoccerScene&)> setup;
        int expectAction, expectTarget;
    };
    const auto none = [](SoccerScene&) {};
    const Row rows[] = {
        {"a computer order is given", 0, acNone, acPass, 6, none, acPass, 6},
        {"it never replaces a pass", 0, acPass, acDribble, -1, none, acPass, 5},
        {"nor a head pass", 1, acHeadPass, acDribble, -1, none, acHeadPass, 5},
        {"nor a shot", 0, acShoot, acPass, 6, none, acShoot, 5},
        {"nor a shot on arrival", 1, acShootMove, acDribble, -1, none, acShootMove, 5},
        {"the user replaces a pass", 2, acPass, acShoot, 0, none, acShoot, 0},
        {"but not at a free kick", 2, acPass, acShoot, 0, [](SoccerScene& s) { s.e.FFreeKickTick = 5; }, acPass, 5},
        {"nor a shot at a free kick", 2, acShoot, acPass, 6, [](SoccerScene& s) { s.e.FFreeKickTick = 5; }, acShoot, 5},
        {"nor his head pass under a lofted ball", 2, acHeadPass, acDribble, -1,
         [](SoccerScene& s) { s.e.FLofted = true; }, acHeadPass, 5},
        {"a pass under a lofted ball clears him", 0, acDribble, acPass, 6,
         [](SoccerScene& s) { s.e.FLofted = true; }, acNone, 5},
        {"a head pass while the contest's holder waits is cleared", 0, acDribble, acHeadPass, 6,
         [](SoccerScene& s) {
             s.e.FLastAction = acSeriai;
             s.e.FPlayers[0][4].ActionWait = 3;
         },
         acNone, 5},
        {"a pass to nobody clears the team", 0, acDribble, acPass, -1, none, acNone, 5},
        {"after the final whistle every order is a dribble", 0, acNone, acShoot, 0,
         [](SoccerScene& s) { s.e.FFinalWinner = 0; }, acDribble, -1},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        Attack(s);
        TSoccerPlayer& pl = s.e.FPlayers[0][4];
        pl.Action = quint8(r.current);
        pl.ActionTarget = 5;
        s.e.FPlayers[0][5].Action = acDribble;
        r.setup(s);
        s.e.SetAction(r.source, 0, 3, r.target, r.action, 4);
        EXPECT_EQ(pl.Action, r.expectAction) << r.what;
        if (pl.Action != acNone) {
            EXPECT_EQ(pl.ActionTarget, r.expectTarget) << r.what;
        }
        EXPECT_EQ(s.e.FPlayers[0][5].Action, r.target < 0 && r.action == acPass ? acNone : acDribble) << r.what;
    }
}

TEST(SoccerAction, SometimesChoosingAsksTheUser)
{
    struct Row {
        const char* what;
        int player, action, target;
        std::function<void(SoccerScene&)> setup;
        bool asks;
    };
    const auto none = [](SoccerScene&) {};
    const auto ahead = [](int p) { return [p](SoccerScene& s) { s.e.FPlayers[0][p].InOwnHalf = false; }; };
    const Row rows[] = {
        {"a shot", 4, acShoot, 0, none, true},
        {"a head pass", 5, acHeadPass, 6, none, true},
        {"a shot on arrival", 6, acShootMove, -1, none, true},
        {"a back's pass to the front long after a kick", 2, acPass, 6, none, true},
        {"the same soon after a kick", 2, acPass, 6, [](SoccerScene& s) { s.e.FLastKickTick = 150; }, false},
        {"a forward pass to a team-mate past halfway", 4, acPass, 6, ahead(6), true},
        {"a forward pass inside the own half", 4, acPass, 6, none, false},
        {"a pass back from past halfway", 4, acPass, 2, ahead(4), true},
        {"a pass back from the own half", 4, acPass, 2, none, false},
        {"a dribble", 4, acDribble, -1, none, false},
        {"while the kick-off pass is pending", 4, acShoot, 0, [](SoccerScene& s) { s.e.KickOffPass = true; }, false},
        {"when somebody heads the ball", 4, acShoot, 0, [](SoccerScene& s) { s.e.FHeader = {0, 6}; }, false},
        {"for a player clicked three times running", 4, acShoot, 0,
         [](SoccerScene& s) {
             s.e.FClickedPlayer = 4;
             s.e.FClickStreak = 3;
         },
         false},
        {"in the mode \"自動進行\"", 4, acShoot, 0, [](SoccerScene& s) { s.e.FOperation = 3; }, false},
        {"when the opponents hold the ball", 4, acShoot, 0, [](SoccerScene& s) { s.e.FHolder = {1, 4}; }, false},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        Attack(s);
        s.e.FOperation = 2;
        for (TSoccerPlayer& pl : s.e.FPlayers[0]) pl.InOwnHalf = true;
        r.setup(s);
        s.e.SetAction(0, 0, 1, r.target, r.action, r.player);
        EXPECT_EQ(s.e.FAskPending, r.asks) << r.what;
        EXPECT_EQ(s.e.FAIDecides, !r.asks) << r.what;
        EXPECT_EQ(s.e.FPlayers[0][r.player].Action, r.asks ? acNone : r.action) << r.what;
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
    // Team 1's last outfield player stands at x 620; team 0's forward 6 receives a pass from x 500.
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
        if (r.offside) {
            EXPECT_EQ(s.e.FSetPiece.team, 1);
            EXPECT_EQ(s.e.FSetPieceKind, spOffside);
            EXPECT_EQ(s.count(TSoccerSound::Whistle), 1);
        }
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

    struct Row {
        const char* what;
        int trapTeam, operation;
        std::function<void(SoccerScene&)> change;
        bool armed;
    };
    const auto none = [](SoccerScene&) {};
    const Row rows[] = {
        {"a front man near the line with a lane", 1, 0, none, true},
        {"he holds the ball", 1, 0, [](SoccerScene& s) { s.e.FHolder.player = s.e.FFrontMan[s.e.FHolder.team]; }, false},
        {"he is well past the line", 1, 0, [](SoccerScene& s) { s.e.FPlayers[0][6].X = 700; }, false},
        {"he has no lane", 1, 0, [](SoccerScene& s) { s.e.FPlayers[0][6].LaneFlags = 0; }, false},
        {"the trap counter runs", 1, 0, [](SoccerScene& s) { s.e.FTrapCount[1] = 2; }, false},
        {"team 0 in the mode \"自動進行\"", 0, 3, none, true},
        {"team 0 in the other modes", 0, 2, none, false},
    };
    for (const Row& r : rows) {
        SoccerScene s;
        const int a = 1 - r.trapTeam, m = a == 0 ? 1 : -1;
        s.place(a, 4, 431, 335);
        s.ball(433, 335);
        s.place(a, 6, 431 + 180 * m, 300);
        s.place(r.trapTeam, 2, 431 + 200 * m, 335);
        for (int p = 1; p < 7; ++p)
            if (p != 2) s.place(r.trapTeam, p, 431 + 100 * m, 120 + 60 * p);
        s.e.FHolder = {a, 4};
        s.e.FOperation = r.operation;
        s.refresh();
        s.e.FFrontMan[a] = 6;
        s.e.FPlayers[a][6].LaneFlags = 0x300;
        r.change(s);
        s.e.CheckOffsideTrap(r.trapTeam);
        EXPECT_EQ(s.e.FTrap[r.trapTeam], r.armed) << r.what;
    }
}

TEST(SoccerAction, ContestsAndTheirOutcome)
{
    // Team 1's midfielder contests team 0's forward for the ball: six ticks, then the ball goes his way.
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
        const double deg = RadToDeg(s.e.Ball.Angle);
        if (choice == 2) {
            EXPECT_NEAR(deg, -150, 1e-6);
        } else {
            EXPECT_NEAR(deg, -135, 1e-6); // poked down past the opponent in front of him
        }
    }
}

TEST(SoccerAction, FallsEndInPenaltiesFreeKicksOrPlayOn)
{
    struct Row {
        const char* what;
        int x, y;
        bool penaltyFlag;
        int draw;
        int expectPK, expectFreeKick, expectTackles;
    };
    const Row rows[] = {
        {"in the area with the penalty flag", 680, 335, true, 0, 0, -1, 0},
        {"in the area without it", 680, 335, false, 0, -1, -1, 1},
        {"midfield, the whistle", 431, 300, false, 0, -1, 0, 0},
        {"midfield, play on", 431, 300, false, 1, -1, -1, 1},
        {"in a corner zone", 700, 160, false, 0, -1, -1, 1},
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
        ASSERT_TRUE(s.e.OpponentInReach(0, 6)) << r.what;
        ASSERT_TRUE(s.e.CanWhistleFoul(0)) << r.what;
        s.e.SetAction(0, 0, 0, 3, acKokeru, 6);
        s.answers = {r.draw};
        s.e.PlayerThink(0, 6);
        int lay = 1;
        while (s.e.FFallen.Set() && lay < 40 && s.e.FPKTick < 0 && s.e.FFreeKickTick < 0) {
            s.e.PlayerThink(0, 6);
            ++lay;
        }
        EXPECT_EQ(s.e.FPKTick, r.expectPK) << r.what;
        EXPECT_EQ(s.e.FFreeKickTick, r.expectFreeKick) << r.what;
        EXPECT_EQ(s.e.FStats[1][stTackles], r.expectTackles) << r.what;
        EXPECT_EQ(s.e.FStats[1][stFouls], r.expectPK == 0 || r.expectFreeKick == 0 ? 1 : 0) << r.what;
        if (r.expectPK == 0) {
            EXPECT_EQ(s.e.FTackler, (TTeamPt{1, 3})) << "the tackler's team defends the kick";
        }
        if (r.expectPK < 0 && r.expectFreeKick < 0) {
            EXPECT_EQ(lay, r.x > 613 && r.y > 195 && r.y < 475 ? 19 : 13) << r.what;
        }
        EXPECT_EQ(s.count(TSoccerSound::Tackle), 1);
    }
}

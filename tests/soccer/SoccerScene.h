#pragma once
// A soccer engine in the middle of play with players placed by hand: the random service answers from
// a script (each answer modulo n, then 0 once the script is used up), sounds are recorded, and a
// fake PK runner answers the penalty kick. Unplaced players stand in a row below the pitch.
#include "SoccerEngine.h"
#include <algorithm>
#include <deque>
#include <vector>

// Every player's contact rectangle and distance to the ball, after places were changed by hand.
inline void UpdateContacts(soccer::TSoccerEngine& e)
{
    for (int t = 0; t < 2; ++t)
        for (int p = 0; p < 7; ++p) {
            e.UpdateContact(t, p);
            soccer::TSoccerPlayer& pl = e.FPlayers[t][p];
            pl.BallDist = soccer::PointDistance({pl.X, pl.Y}, {e.Ball.X, e.Ball.Y});
        }
}

struct SoccerScene {
    soccer::TSoccerEngine e;
    std::deque<int> answers;
    std::vector<soccer::TSoccerSound> sounds;
    std::vector<soccer::TPKRequest> pkRequests;
    soccer::TPKOutcome pkOutcome;

    SoccerScene()
    {
        e.Svc.Random = [this](int n) {
            const int v = answers.empty() ? 0 : answers.front() % n;
            if (!answers.empty()) answers.pop_front();
            return v;
        };
        e.Svc.Play = [this](soccer::TSoccerSound s, bool) { return sounds.push_back(s), true; };
        e.Svc.PenaltyKick = [this](const soccer::TPKRequest& r) { return pkRequests.push_back(r), pkOutcome; };
        e.FLastScorer = {1, -1}; // team 0 kicks off
        e.ResetKickOff();
        e.KickOffPass = false;
        e.FOperation = 3;
        e.FTick = 200;
        e.FLastKickTick = e.FLastPassTick = 100;
        for (int t = 0; t < 2; ++t)
            for (int p = 0; p < 7; ++p) place(t, p, 150 + 80 * p + 40 * t, 565);
        place(0, 0, 116, 335);
        place(1, 0, 746, 335);
    }
    void place(int t, int p, int x, int y)
    {
        e.FPlayers[t][p].X = x;
        e.FPlayers[t][p].Y = y;
    }
    void ball(int x, int y, int speed = 0)
    {
        e.Ball.X = x;
        e.Ball.Y = y;
        e.Ball.Speed = speed;
        for (int t = 0; t < 2; ++t) e.Ball.GoalDist[t] = e.GoalDistance(t, x, y);
        e.UpdateBallRegion();
    }
    // Contact rectangles, pressure, lanes, distances and the team lists after a change of places.
    void refresh()
    {
        for (int pass = 0; pass < 2; ++pass) UpdateContacts(e);
        e.SortTeams();
        e.FindLineMen();
    }
    int count(soccer::TSoccerSound s) const { return int(std::count(sounds.begin(), sounds.end(), s)); }
};

#pragma once
// A baseball game set up at a chosen situation and hit a chosen ball, for the tests of the play and
// the innings: the random service answers from a script of (range, value) pairs, and once the script
// is used up with the largest value of each range (no dive, no error, no late relay).
#include "BallPlay.h"
#include "BaseballGame.h"
#include "ServicesRecord.h"
#include <deque>
#include <gtest/gtest.h>

namespace bbtest {

using namespace bb;

struct Situation {
    bool userBats = true;
    int outs = 0;
    int bases = 0; // bit 0 first, bit 1 second, bit 2 third
    int inning = 3;
    int runsBat = 0, runsField = 0;
    bool tagUp = false;
};

struct Contact {
    int result = 0;
    int kind = bkGrounder;
    int foul = 0;
    int bunt = 0;
    int fenceSpot = -1; // a fence catch at this spot
    bool robbed = false;
    int fencePoint = 3; // a home run's fence point
};

class Field : public TServicesRecord {
public:
    TBaseBallGame g;
    std::deque<std::pair<int, int>> script; // (n, value) of the next draws
    std::vector<std::pair<int, int>> drawn;
    std::vector<TBallSound> sounds;
    int timerStops = 0;
    TPlayState lastPlay; // the play as it stood on the tick before the next plate appearance

    Field()
    {
        const auto random = [this](int n) {
            int v = n - 1;
            if (!script.empty()) {
                EXPECT_EQ(script.front().first, n) << "draw " << drawn.size();
                v = script.front().second;
                script.pop_front();
            }
            drawn.push_back({n, v});
            return v;
        };
        FillServices(g.Services, random, [](int n) { return n - 1; });
        g.Services.Sound = [this](TBallSound s) { sounds.push_back(s); };
        g.Services.StopTimer = [this] { ++timerStops; };
        g.Create();
        g.NewGame(1260, 1260);
        g.Opening = false;
        g.BallChance = 2;
    }

    void Set(const Situation& s)
    {
        g.BattingSide = s.userBats ? 1 : 0;
        g.FieldingSide = 1 - g.BattingSide;
        g.Outs = s.outs;
        g.Inning = s.inning;
        for (auto& row : g.LineScore) row.fill(-2);
        for (int i = 0; i < g.Inning % 10; ++i) g.LineScore[0][size_t(i)] = g.LineScore[1][size_t(i)] = 0;
        g.LineScore[0][size_t(g.Inning % 10)] = s.userBats ? 0 : -1;
        if (s.userBats) g.LineScore[1][size_t(g.Inning % 10)] = -1;
        g.Runs[size_t(g.BattingSide)] = s.runsBat;
        g.Runs[size_t(g.FieldingSide)] = s.runsField;
        // The earlier innings hold the runs so far, so that the board adds up.
        g.LineScore[size_t(g.BattingSide)][0] = s.runsBat;
        g.LineScore[size_t(g.FieldingSide)][0] = s.runsField;
        for (int b = 1; b <= 3; ++b) {
            g.BaseFlags[size_t(b)] = (s.bases >> (b - 1)) & 1;
            g.RunnerImage[size_t(b)] = 2 * b;
        }
        g.TagUp = {s.tagUp, s.tagUp};
        script.clear();
        g.StartAtBat();
        g.TagUp = {s.tagUp, s.tagUp};
        drawn.clear();
        sounds.clear();
    }

    // The ball leaves the bat at the plate; the play's plan and the batter's run follow on the next
    // ticks as in a real plate appearance.
    void Hit(const Contact& c, std::vector<std::pair<int, int>> draws = {})
    {
        script.assign(draws.begin(), draws.end());
        TBallRecord& b = g.Ball;
        TPlayState& p = g.Play;
        g.Actors[kPitcher].Action = acNone;
        g.UserCourse = g.ComCourse = 5;
        b.Pos = {300, 530};
        b.PlayResult = c.result;
        b.Kind = c.kind;
        p.FoulKind = c.foul;
        p.BuntKind = c.bunt;
        if (c.result == prHomeRun) {
            if (c.fenceSpot >= 0) {
                p.FenceCatch = {c.fenceSpot, c.fenceSpot <= 2 ? int(kCentreFielder) : int(kRightFielder), c.robbed};
                p.FencePoint = c.fenceSpot <= 2 ? 3 : 5;
                p.Landing = kFenceCatchSpots[size_t(c.fenceSpot)] + g.Equipment.FenceCatchHold;
            } else {
                p.FencePoint = c.fencePoint;
                p.Landing = kFencePoints[size_t(c.fencePoint)];
            }
        }
        g.PanelStage = 3;
        b.Launch = b.Pos;
        g.PlayRules().AfterContact(g);
        g.Actors[kBatter].Step = 6;
    }

    // Ticks until the next plate appearance begins or the game ends; the ticks it took.
    int PlayOut(int limit = 600)
    {
        const int before = g.OrderPosition[0] + g.OrderPosition[1];
        const int foul = g.Play.FoulKind;
        for (int t = 1; t <= limit; ++t) {
            lastPlay = g.Play;
            g.Tick();
            if (g.EndCounter >= 0 || g.OrderPosition[0] + g.OrderPosition[1] != before || (foul && g.PanelStage == 0)) return t;
        }
        ADD_FAILURE() << "the play did not end";
        return limit;
    }

    int Bases() const { return int(g.BaseFlags[1]) | int(g.BaseFlags[2]) << 1 | int(g.BaseFlags[3]) << 2; }
};

} // namespace bbtest

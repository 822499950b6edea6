// The plate appearance: a guessing duel on the course panel. The pitching side picks where to throw
// and the batting side where to swing; the two courses, the batter's power and a few draws decide the
// play result.
//
// Order of the draws. Every condition that holds a draw from the random service is evaluated left to
// right and stops at the first operand that settles it: in `outs == 0 && RunnerOn(2) &&
// RandomInt(14) >= Power` the draw is made only with no outs and a runner on second. The draws of a
// plate appearance are made in the order of the code below, and with the service's alternating blocks
// that order fixes the whole sequence of a game; keep each condition's operands in the order written.
#include "BaseballGame.h"

#include <algorithm>
#include <cstdlib>

namespace bb {

namespace {

// The computer's choices: a batter sacrifices with these odds (draw n against his power), a pitcher
// walks a batter on purpose with these.
struct TChoiceTable {
    int BuntRunnerOnSecond = 14, BuntRunnerOnFirst = 8, BuntRunnerOnThird = 12;
    int WalkSecondThirdNoOut = 25, WalkSecondThirdOneOut = 20, WalkThirdNoOut = 40, WalkThirdOneOut = 50;
    int RaiseBelow = 6;  // a trailing batter below this power is raised from the fifth inning
    int Strong = 8;      // a strong batter: rows count for him, and he bunts only before a strong one
};
constexpr TChoiceTable kChoice;

} // namespace

void TBaseBallGame::AssignBatterPowers()
{
    for (auto& side : SlotPower)
        for (int& power : side) power = RandomInt(5) == 4 ? RandomInt(11) : RandomInt(7) + 4;
}

void TBaseBallGame::StartAtBat()
{
    UpdateEquipmentOffsets();
    Spots[spCatcher] = kCatcherBaseSpot;
    Spots[spCentreFielder] = kCentreBaseSpot;
    // After a foul the batter keeps his power.
    if (Play.FoulKind == 0) {
        Power = SlotPower[size_t(BattingSide)][size_t(CurrentSlot())];
        if (Inning >= 4 && Power < kChoice.RaiseBelow && BattingTrails()) Power += RandomInt(2) + 1;
        Power = std::min(Power, 10);
    }
    Play = TPlayState{};
    Ball = TBallRecord{};
    UserCourse = ComCourse = kNoCourse;
    PanelStage = 0;
    BatFrame = 0;
    setUpActors();
    Ball.Pos = Actors[kPitcher].Pos + Equipment.PitcherHold[0];

    if (Auto) {
        if (UserBats()) TagUp[1] = ChooseTagUp(1);
        CourseBuffer = ChooseCourse(1);
    } else {
        CourseBuffer = kNoCourse;
    }
    if (!UserBats()) TagUp[0] = ChooseTagUp(0);
    drawScene();
}

int TBaseBallGame::ChooseCourse(int side)
{
    return side == BattingSide ? batterCourseChoice() : pitcherCourseChoice();
}

int TBaseBallGame::batterCourseChoice()
{
    const int next = NextBatterPower();
    const bool firstOnly = RunnerOn(1) && !RunnerOn(2) && !RunnerOn(3);
    if (Outs == 2 || RunnerCount() == 0 || std::abs(Runs[0] - Runs[1]) >= 2 || Inning <= 2 || (Outs == 1 && firstOnly) || next < Power)
        return SystemRandomInt(9) + 1;
    // Late in the game a weak batter before a strong one sacrifices; anyone else bunts one time in ten.
    if (!(Inning - StartFlag >= 8 && RandomInt(10) <= BallChance + 3 && Power <= 4 && next >= kChoice.Strong))
        return SystemRandomInt(10);
    if (Outs == 0 && RunnerOn(2) && RandomInt(kChoice.BuntRunnerOnSecond) >= Power) return 0;
    if (Outs == 0 && RunnerOn(1) && RandomInt(kChoice.BuntRunnerOnFirst) >= Power) return 0;
    if (Outs < 2 && RunnerOn(3) && RandomInt(kChoice.BuntRunnerOnThird) >= Power) return 0;
    return SystemRandomInt(10);
}

int TBaseBallGame::pitcherCourseChoice()
{
    // A strong batter before a weaker one is walked on purpose to set up the force at first.
    const bool weakerNext = NextBatterPower() < Power;
    if (!RunnerOn(1) && RunnerOn(2) && RunnerOn(3)) {
        if (Outs == 0 && RandomInt(kChoice.WalkSecondThirdNoOut) <= Power && weakerNext) return 0;
        if (Outs == 1 && RandomInt(kChoice.WalkSecondThirdOneOut) <= Power && weakerNext) return 0;
    } else if (!RunnerOn(1) && !RunnerOn(2) && RunnerOn(3)) {
        if (Outs == 0 && RandomInt(kChoice.WalkThirdNoOut) <= Power && weakerNext) return 0;
        if (Outs == 1 && RandomInt(kChoice.WalkThirdOneOut) <= Power && weakerNext) return 0;
    }
    return SystemRandomInt(9) + 1;
}

bool TBaseBallGame::ChooseTagUp(int side)
{
    bool yes = Outs < 2 && RunnerOn(3);
    if (yes && RunnerOn(2)) {
        if ((Outs == 0 && RandomInt(3) > 0) || (Outs == 1 && RandomInt(4) > 0)) yes = false;
    } else if (yes && RunnerOn(1)) {
        if ((Outs == 0 && RandomInt(2) > 0) || (Outs == 1 && RandomInt(3) > 0)) yes = false;
    }
    if (yes && RandomInt(std::abs(Runs[0] - Runs[1]) + 1) > 0) yes = false;
    // A changed flag of the user's shows on the panel for three ticks before the pitch.
    Settle = side == 1 && yes != TagUp[1] ? 0 : 3;
    return yes;
}

bool TBaseBallGame::CourseMatches(int kind, bool allowed) const
{
    switch (kind) {
    case 0: return UserCourse == ComCourse;
    case 1: return allowed && UserCourse % 3 == ComCourse % 3;
    case 2: return allowed && (UserCourse - 1) / 3 == (ComCourse - 1) / 3;
    default: return false;
    }
}

void TBaseBallGame::StepActor(int actor)
{
    const TActorAction action = Actors[size_t(actor)].Action;
    if (actor == kPitcher && action == acPitching) stepPitcher();
    else if (actor == kBatter && action == acBatting) stepBatter();
    else m_playRules->StepActor(*this, actor);
}

void TBaseBallGame::stepPitcher()
{
    TBallActor& p = Actors[kPitcher];
    const int step = p.Step++;
    if (step <= 10) {
        p.Pos = Spots[spPitcher];
        SetActorFrame(kPitcher, 0);
    } else if (step <= 13) {
        p.Pos = Spots[spPitcher] + QPoint(-3, 8);
        SetActorFrame(kPitcher, 1);
        if (step == 11) PanelStage = 1;
    } else {
        releasePitch();
        return;
    }
    p.RenewBoxes();
    Ball.Pos = p.Pos + Equipment.PitcherHold[size_t(p.Pose & 1)];
}

void TBaseBallGame::releasePitch()
{
    ComCourse = ChooseCourse(0);
    PanelStage = 2;
    TBallActor& p = Actors[kPitcher];
    p.Pos = Spots[spPitcher] + QPoint(6, 15);
    p.Action = acNone;
    p.RenewBoxes();

    // The catcher sets his mitt by the pitching side's course: right for 0, 3, 6, 9, left for 1, 4, 7.
    const int course = PitchingCourse();
    QPoint mitt = Spots[spCatcher];
    if (course % 3 == 0) mitt.rx() += 32;
    else if (course % 3 == 1) mitt.rx() -= 22;
    Spots[spCatcher] = mitt;

    Ball.Pos = p.Pos + Equipment.PitcherHold[size_t(p.Pose & 1)];
    Ball.Kind = bkThrown;
    Ball.Speed = 24;
    Ball.Target = mitt;
    Ball.Direction = PointAngle(Ball.Pos, mitt);
    Ball.Arrived = false;
    Play.BallFlag = course == 0 || RandomInt(BallChance + 14) == 0;
    if (!Play.BallFlag) {
        TBallActor& c = Actors[kCatcher];
        c.Target = mitt - QPoint(10, 0);
        c.Action = acMoveToPos;
        c.Speed = 8;
        c.Arrived = false;
    }
}

void TBaseBallGame::stepBatter()
{
    TBallActor& b = Actors[kBatter];
    // The batter's first steps pass with the bat at rest; the swing waits until the pitch is well on
    // its way, so that the ball meets the bat at the plate.
    if (b.Step == 3 && Ball.Pos.y() <= Spots[spPitcher].y() + 40) return;
    const int step = b.Step++;
    if (step >= 3 && !Play.BallFlag) {
        const int r = Ball.PlayResult;
        const int last = step < 5 ? 3 : r == prStrikeout ? 4 : r == prBunt ? 3 : 5;
        BatFrame = std::min(step - 2, last);
    }
    if (step == 5) {
        DecideOutcome();
        PanelStage = 3;
        Ball.Launch = Ball.Pos;
        m_playRules->AfterContact(*this);
    } else if (step == 6) {
        m_playRules->PlanFielding(*this);
        Play.PlanMade = true;
    } else if (step == 7) {
        batterLeaves();
    }
}

void TBaseBallGame::batterLeaves()
{
    TBallActor& b = Actors[kBatter];
    if (Ball.PlayResult == prStrikeout) {
        PlaySound(TBallSound::Tackle);
        b.Action = acNone;
        b.Target = Spots[spBatterBox];
        b.Role = spBatterBox;
        b.Done = true;
        return;
    }
    if (Ball.PlayResult == prBunt) {
        BatFrame = 1;
    } else if (Ball.PlayResult == prWalk) {
        PlaySound(TBallSound::Kick);
        BatFrame = 5;
    }
    b.BasesToRun = Play.BasesToAdvance;
    SendRunner(kBatter, Play.BasesToAdvance, false);
}

void TBaseBallGame::DecideOutcome()
{
    const int bz = BattingTrails() ? 10 - RandomInt(3) : 10;
    const int lead = Runs[size_t(BattingSide)] - Runs[size_t(FieldingSide)];
    const int k = std::max(2, 10 - lead); // a pole foul is likelier the further the batting side leads

    // The pitching side's intentional walk beats the batter's bunt.
    if (Play.BallFlag || (!UserBats() && UserCourse == 0)) {
        Ball.PlayResult = prWalk;
        Ball.Kind = bkGrounder;
        Play.BallFlag = false;
    } else if (BattingCourse() == 0) {
        decideBunt();
    } else {
        RandomInt(bz); // drawn on every swing; its value is not used
        if (CourseMatches(0, true)) decideExactMatch(k);
        else if ((CourseMatches(1, true) || CourseMatches(2, Power >= kChoice.Strong)) && RandomInt(bz) <= Power) decideGoodContact(k);
        else decideWeakContact();
    }
    if (Ball.PlayResult == prBunt) PlaySound(TBallSound::Bant);
    else if (Ball.PlayResult != prStrikeout && Ball.PlayResult != prWalk) PlaySound(TBallSound::Batting);
}

void TBaseBallGame::decideBunt()
{
    Ball.PlayResult = prBunt;
    Ball.Kind = bkGrounder;
    if (!RunnerOn(3)) return;
    const bool tiedNinth = Inning >= 8 && UserBats() && Runs[0] == Runs[1];
    if (Outs == 2 || tiedNinth) {
        Play.BuntKind = RandomInt(2) + 1;
    } else {
        const int r = RandomInt(10);
        Play.BuntKind = r <= 1 ? 0 : r <= 4 ? 1 : 2;
    }
}

void TBaseBallGame::decideExactMatch(int k)
{
    Ball.PlayResult = prHomeRun;
    Ball.Kind = bkFly;
    if (RandomInt(k) == 0) {
        // The ball hooks foul at a pole, somewhere up its height.
        if (RandomInt(2) != 0) {
            Play.FoulKind = 2;
            FoulSpots[2] = {580, 200 - RandomInt(30)};
        } else {
            Play.FoulKind = 1;
            FoulSpots[1] = {25, 200 - RandomInt(30)};
        }
    } else if (RandomInt(5) < 2) {
        TFenceCatch& fc = Play.FenceCatch;
        fc.Spot = RandomInt(7);
        fc.Robbed = RandomInt(3) == 0;
        fc.Fielder = fc.Spot <= 2 ? kCentreFielder : kRightFielder;
        Play.FencePoint = fc.Spot <= 2 ? 3 : 5;
        Play.Landing = kFenceCatchSpots[size_t(fc.Spot)] + Equipment.FenceCatchHold;
    } else {
        const int f = RandomInt(7);
        int dx = 0, dy = 0; // the height is drawn before the sideways spread
        if (f == 1) {
            dy = RandomInt(10);
            dx = RandomInt(10);
        } else if (f == 5) {
            dy = RandomInt(10);
            dx = -RandomInt(10);
        } else if (f == 3) {
            dy = RandomInt(20);
            dx = RandomInt(80) - 40;
        } else {
            dy = RandomInt(20);
            dx = RandomInt(40) - 20;
        }
        Play.FencePoint = f;
        Play.Landing = kFencePoints[size_t(f)] + QPoint(dx, -dy);
    }
}

void TBaseBallGame::decideGoodContact(int k)
{
    if (RandomInt(k) == 0) {
        Play.FoulKind = RandomInt(2) + 3;
        Ball.PlayResult = Play.FoulKind == 3 ? prGroundLeftLine : prGroundRightLine;
        Ball.Kind = bkGrounder;
    } else if ((CourseMatches(1, true) && Power >= kChoice.Strong) || RandomInt(4) == 0) {
        const int r = RandomInt(8) + prGroundLeftLine;
        Ball.PlayResult = r;
        // The hits down the lines may land foul; one draw for each of them, none for the others.
        const int foul = r == prGroundLeftLine ? 3 : r == prGroundRightLine ? 4 : r == prFlyLeftLine ? 5 : r == prFlyRightLine ? 6 : 0;
        if (foul != 0 && RandomInt(3) == 0) Play.FoulKind = foul;
        Ball.Kind = r <= prGroundRightLine ? bkGrounder : bkFly;
    } else {
        Ball.PlayResult = RandomInt(3) + prLeftFielder; // a clean single to left, centre or right
        Ball.Kind = RandomInt(5) < 2 ? bkLiner : bkGrounder;
    }
}

void TBaseBallGame::decideWeakContact()
{
    const bool column = CourseMatches(1, true);
    int r = prBunt;
    // A bunt is never the result of a swing: it is drawn again from the top. A random service that
    // kept answering a bunt would be broken; the strikeout ends the loop then.
    for (int tries = 0; r == prBunt; ++tries) {
        if (tries == 1000) r = prStrikeout;
        else if (column) r = RandomInt(3) + prLeftFielder;
        else if (RandomInt(10) == 0) r = prStrikeout;
        else if (RandomInt(5) > 2) r = RandomInt(11);
        else r = RandomInt(6);
    }
    Ball.PlayResult = r;
    if (r == prStrikeout) Ball.Kind = bkGrounder;
    else if ((r >= prLeftFielder && r <= prRightFielder) || RandomInt(5) > 3) Ball.Kind = bkFly;
    else Ball.Kind = bkGrounder;
    if (Ball.Kind == bkGrounder && r == prCatcher && RandomInt(3) == 0) Play.FoulKind = 7;
}

int PlayKindOf(const TBallRecord& ball, const TPlayState& play)
{
    const int r = ball.PlayResult;
    if (play.FoulKind != 0) return pkFoul;
    if (r == prStrikeout) return pkStrikeout;
    if (r == prWalk) return pkWalk;
    const bool outfieldSingle = r >= prLeftFielder && r <= prRightFielder && ball.Kind != bkFly;
    const bool extraBase = r >= prGroundLeftLine && r <= prRightCentreCentre;
    const bool homeRun = r == prHomeRun && !play.FenceCatch.Robbed;
    if (outfieldSingle || extraBase || homeRun || play.ErrorFlag || (r == prBunt && play.BuntKind == 1)) return pkHit;
    return pkPlayable;
}

int BasesToAdvanceOf(const TBallRecord& ball, const TPlayState& play)
{
    const int r = ball.PlayResult;
    if (r == prStrikeout) return 0;
    if (r == prTriple) return 3;
    if (r == prHomeRun) return play.FoulKind != 0 || play.FenceCatch.Robbed ? 1 : 4;
    if (r >= prGroundLeftLine && r <= prRightCentreCentre) return play.FoulKind != 0 ? 1 : 2;
    return 1;
}

} // namespace bb

#include "RaceRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace run {

namespace {

// Lane 1 (mine); the opponent's lane 2 runs the same way 50 px higher.
constexpr QPoint kLane1[9] = {{472, 335}, {560, 325}, {610, 265}, {610, 235}, {530, 175},
                              {90, 185},  {30, 225},  {30, 255},  {70, 335}};
constexpr int kLaneGap = 50;

const TBoundary kBoundaryTable[kBoundaries] = {
    {{540, 343}, {{574, 343}, {574, 384}}, 'x', true},  {{605, 240}, {{605, 287}, {644, 287}}, 'y', false},
    {{565, 190}, {{575, 231}, {575, 190}}, 'x', false}, {{470, 190}, {{480, 231}, {480, 190}}, 'x', false},
    {{375, 190}, {{385, 231}, {385, 190}}, 'x', false}, {{280, 190}, {{290, 231}, {290, 190}}, 'x', false},
    {{185, 190}, {{195, 231}, {195, 190}}, 'x', false}, {{90, 190}, {{100, 231}, {100, 190}}, 'x', false},
    {{30, 240}, {{69, 287}, {30, 287}}, 'y', true},     {{66, 343}, {{100, 343}, {100, 384}}, 'x', true},
    {{161, 343}, {{195, 343}, {195, 384}}, 'x', true},  {{221, 343}, {{255, 343}, {255, 384}}, 'x', true},
    {{281, 343}, {{315, 343}, {315, 384}}, 'x', true},  {{341, 343}, {{375, 343}, {375, 384}}, 'x', true},
    {{401, 343}, {{435, 343}, {435, 384}}, 'x', true},
};

constexpr int kHomeStraight = 13; // sections 13 to 15: stumbles and wobbles

} // namespace

const TBoundary& Boundary(int i)
{
    return kBoundaryTable[std::clamp(i, 0, kBoundaries - 1)];
}

bool TPlayer::HeadingTo(int from, int to) const
{
    const int w = Counter % 9;
    return w >= from && w <= to;
}

void TRunRace::placeOnStart(int who)
{
    TPlayer& p = Runners[size_t(who)];
    p = TPlayer{};
    for (size_t i = 0; i < 9; ++i) p.Waypoints[i] = kLane1[i] - QPoint(0, who * kLaneGap);
    p.X = p.Waypoints[0].x();
    p.Y = p.Waypoints[0].y();
    NewLap(who);
}

void TRunRace::Start()
{
    for (int who = 0; who < 2; ++who) placeOnStart(who);
    std::memset(DashTable, 0, sizeof DashTable);
    TickCount = 0;
    Opening = true;
    Winner = -1;
    FinishCounter = -1;
    PhotoCounter = -1;
    Finished = false;
}

void TRunRace::NewLap(int who)
{
    TPlayer& p = Runners[size_t(who)];
    if (who == 0) {
        Choice.fill(-1);
        ChoiceDashed.fill(false);
        KeyCursor = 0;
    }
    for (std::uint8_t& d : p.Dash) d = std::uint8_t(runtime(2));
    if (p.LapsDone == 0) {
        p.Dash[0] = 0;
        p.Speed = 4;
    }
    p.Section = 0;
    p.Counter = 1;
}

void TRunRace::EndOpening()
{
    Opening = false;
    for (auto& lap : DashTable)
        for (auto& boxes : lap) {
            const bool first = random(2) == 1;
            boxes[0] = first ? 1 : 0;
            boxes[1] = first ? 0 : 1;
        }
}

bool TRunRace::BoxAt(int x, int y, int& boundary, int& box)
{
    for (int i = 0; i < kBoundaries; ++i)
        for (int b = 0; b < 2; ++b) {
            const QPoint& t = kBoundaryTable[i].box[b];
            if (x >= t.x() && x < t.x() + kBoxSize && y >= t.y() && y < t.y() + kBoxSize) {
                boundary = i;
                box = b;
                return true;
            }
        }
    return false;
}

bool TRunRace::Choose(int boundary, int box)
{
    TPlayer& me = Runners[0];
    if (boundary < 0 || boundary >= kBoundaries || box < 0 || box > 1) return false;
    if (boundary < me.Section || Choice[size_t(boundary)] >= 0) return false;
    // Before the opening ends the table is still empty: such a choice never dashes.
    const bool dash = DashTable[std::min(me.LapsDone, kMaxLaps - 1)][boundary][box] != 0;
    me.Dash[size_t(boundary) + 1] = dash ? 1 : 0;
    Choice[size_t(boundary)] = box;
    ChoiceDashed[size_t(boundary)] = dash;
    return true;
}

bool TRunRace::ChooseByKey(int box)
{
    KeyCursor = std::max(KeyCursor, Runners[0].Section);
    // Boundaries already chosen by a click are passed over, so the keys always choose the next open one.
    while (KeyCursor < kBoundaries && Choice[size_t(KeyCursor)] >= 0) ++KeyCursor;
    if (KeyCursor >= kBoundaries) return false;
    Choose(KeyCursor, box);
    ++KeyCursor;
    return true;
}

bool TRunRace::Passed(const TPlayer& p) const
{
    if (p.Section >= kBoundaries) return false;
    const TBoundary& b = kBoundaryTable[p.Section];
    const int v = b.axis == 'x' ? p.X : p.Y;
    const int at = b.axis == 'x' ? b.point.x() : b.point.y();
    return b.atLeast ? v >= at : v <= at;
}

bool TRunRace::Tick()
{
    if (Finished) return false;
    const int t = TickCount;
    if (t == 17) sound(TRunSound::Pistol);
    if (t == 20) {
        sound(TRunSound::Cheer);
        Runners[random(2) == 1 ? 1 : 0].Dash[0] = 1;
        for (TPlayer& p : Runners) p.Waypoints[0].rx() += 6;
    }
    if (t >= kStartTick && !PhotoRunning()) {
        if (!Decided()) {
            if (t % 2 == 0) {
                Step(0);
                Step(1);
            }
            checkFinish();
            if (!Decided() && !PhotoRunning() && random(10) == t % 70) sound(TRunSound::CheerNoStop);
        } else {
            if (FinishCounter == 0) sound(TRunSound::Cheer);
            if (++FinishCounter > kEndTicks) Finished = true;
        }
    }
    // The photo is looked at from the tick the runners reach the line.
    if (PhotoRunning() && ++PhotoCounter > kPhotoTicks) {
        PhotoCounter = -999;
        FinishCounter = 0;
        Winner = random(2) == 1 ? 1 : 0;
    }
    ++TickCount;
    return Finished;
}

bool TRunRace::atTheLine(int who) const
{
    const TPlayer& p = Runners[size_t(who)];
    return p.LapsDone >= LapsToRun || (p.LapsDone == LapsToRun - 1 && p.Section == kBoundaries);
}

void TRunRace::checkFinish()
{
    const bool mineDone = Runners[0].LapsDone >= LapsToRun;
    if (!mineDone && Runners[1].LapsDone < LapsToRun) return;
    for (TPlayer& p : Runners) p.StumbleTimer = p.Dust = 0;
    // Only two runners side by side at the line go to the photo: one that is a lap or half a lap
    // behind at the same x has not finished at all.
    const bool close = std::abs(Runners[0].X - Runners[1].X) <= kPhotoGap && atTheLine(0) && atTheLine(1);
    if (close) {
        PhotoCounter = 0;
        return;
    }
    Winner = mineDone ? 0 : 1;
    FinishCounter = 0;
}

void TRunRace::Step(int who)
{
    TPlayer& p = Runners[size_t(who)];
    if (Passed(p)) passBoundary(who);
    p.Speed = p.Dashing() ? 8 : 4;
    if (p.Dashing() && !p.Stumbling()) sound(TRunSound::Kick);
    if (p.Section >= kHomeStraight && !Decided() && !PhotoRunning()) homeStraight(p);
    p.Distance += p.Speed;
    move(who);
}

void TRunRace::passBoundary(int who)
{
    TPlayer& p = Runners[size_t(who)];
    const TPlayer& other = Runners[size_t(1 - who)];
    // The box chosen at the boundary being passed decides the section it begins.
    const bool picked = Choice[size_t(p.Section)] >= 0;
    // Every boundary passed without a choice marks the game as played by the computer.
    if (who == 0 && !Opening && !picked && ManualPlay && SetManualPlay && ManualPlay()) SetManualPlay(false);
    ++p.Section;
    ++p.SectionsEntered;
    // A surprise dash for the runner behind, either one, never in a section whose box the user picked.
    if (runtime(3) == 0 && !picked && p.Distance < other.Distance) {
        const int n = (LapsToRun - p.LapsDone) * 2;
        if (n > 0 && runtime(n) == 0) p.Dash[size_t(p.Section)] = 1;
    }
    if (p.Dashing()) {
        ++p.Streak;
        p.MaxStreak = std::max(p.MaxStreak, p.Streak);
        ++p.Dashes;
    } else {
        p.Streak = 0;
        p.AllDash = false;
    }
}

void TRunRace::homeStraight(TPlayer& p)
{
    if (p.Stumbling()) {
        p.Speed = 0;
        --p.StumbleTimer;
        if (p.Dust > 0) --p.Dust;
    } else if (runtime(100) == 0) {
        p.Speed = 0;
        sound(TRunSound::Kokeru);
        p.Dust = 4;
        p.StumbleTimer = 4 + runtime(10);
    } else if (runtime(10) == 0) {
        p.Speed += runtime(5) - 2;
    }
}

void TRunRace::move(int who)
{
    TPlayer& p = Runners[size_t(who)];
    const QPoint w = p.Waypoints[size_t(p.Counter % 9)];
    p.Heading = float(std::atan2(double(p.Y - w.y()), double(w.x() - p.X)));
    p.X += int(std::nearbyint(std::cos(double(p.Heading)) * p.Speed));
    p.Y -= int(std::nearbyint(std::sin(double(p.Heading)) * p.Speed));
    if (w.x() >= p.X - 8 && w.x() < p.X + 8 && w.y() >= p.Y - 8 && w.y() < p.Y + 8) {
        ++p.Counter;
        if (p.Counter % 9 == 1) {
            ++p.LapsDone;
            NewLap(who);
        }
    }
}

QString TRunRace::LapText(int who) const
{
    const int lap = std::min(Runners[size_t(who)].LapsDone + 1, std::max(1, LapsToRun));
    if (LapsToRun >= 2 && lap == LapsToRun) return QStringLiteral("ラスト");
    return QStringLiteral("%1周目").arg(lap);
}

QString TRunRace::RateText(int who) const
{
    const TPlayer& p = Runners[size_t(who)];
    if (p.SectionsEntered == 0) return QStringLiteral("0%");
    if (p.AllDash) return QStringLiteral("100%");
    const int rate = int(std::nearbyint(p.Dashes * 100.0 / p.SectionsEntered));
    return QStringLiteral("%1%").arg(rate);
}

QString TRunRace::StatusLine(int who) const
{
    const TPlayer& p = Runners[size_t(who)];
    return QStringLiteral("%1[%2] ダッシュ%3回(%4) %5連(Max%6連)")
        .arg(who == 0 ? QStringLiteral("自分") : QStringLiteral("相手"), LapText(who), QString::number(p.Dashes), RateText(who),
             QString::number(p.Streak), QString::number(p.MaxStreak));
}

} // namespace run

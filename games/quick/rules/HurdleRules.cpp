#include "HurdleRules.h"

#include <algorithm>

namespace hur {

namespace {

struct TLane {
    int startX, runToX, finishX, groundY, jumpY;
};
constexpr TLane kLanes[2] = {{80, 235, 510, 215, 191}, {40, 195, 470, 135, 114}};
constexpr int kFirstRecordX = 480, kRecordGap = 320, kReuseBelow = -89, kReuseAt = 870;
constexpr int kScrollStep = 5;
constexpr int kRunUpScroll = 160; // the runners have reached their places before the course moves this far

} // namespace

void THurdleRace::Start()
{
    for (int i = 0; i < 3; ++i) {
        TRecord& r = Records[size_t(i)];
        r = TRecord{};
        r.X = kFirstRecordX + kRecordGap * i;
        r.Number = i;
    }
    for (int who = 0; who < 2; ++who) {
        const TLane& l = kLanes[who];
        TPlayer& p = Runners[size_t(who)];
        p = TPlayer{};
        p.StartX = l.startX;
        p.RunToX = l.runToX;
        p.FinishX = l.finishX;
        p.GroundY = l.groundY;
        p.JumpY = l.jumpY;
        p.X = l.startX;
        p.Y = l.groundY;
    }
    Current = 0;
    Recycled = 0;
    Scroll = 0;
    Winner = -1;
    FinishCounter = -1;
    PhotoCounter = -1;
    TickCount = 0;
    Opening = true;
    Finished = false;
    PlanPos = {0, 0};
}

void THurdleRace::DrawPlans(int hurdles)
{
    Hurdles = hurdles;
    for (auto& plan : Plan) {
        plan.assign(size_t(std::max(0, hurdles)), pkNormal);
        for (std::uint8_t& kind : plan) {
            const int a = random(10);
            if (a < 3) kind = pkClean;
            else if (a < 7) kind = std::uint8_t(random(2));
            else kind = std::uint8_t(random(3));
        }
    }
    PlanPos = {0, 0};
}

bool THurdleRace::Tick()
{
    if (Finished) return false;
    const int t = ++TickCount;
    if (t >= kScrollTick && Scroll < CourseEnd()) scrollCourse();
    if (AutoOn()) computerLane(0);
    else handLane();
    computerLane(1);
    if (t == 26) sound(THurSound::Pistol);
    if (t >= kRaceTick && !PhotoRunning()) {
        if (!Decided()) {
            if (t == 32) sound(THurSound::Cheer);
            Step(0);
            Step(1);
            checkFinish();
        } else {
            if (FinishCounter == 0) sound(THurSound::Cheer);
            if (++FinishCounter > kEndTicks) Finished = true;
        }
    }
    if (PhotoRunning() && ++PhotoCounter > kPhotoTicks) {
        PhotoCounter = -999;
        FinishCounter = 0;
        Winner = random(2) == 1 ? 1 : 0;
    }
    return Finished;
}

void THurdleRace::scrollCourse()
{
    Scroll += kScrollStep;
    const int m = std::min(Runners[0].X, Runners[1].X);
    for (TRecord& r : Records) r.X -= kScrollStep;
    // The hurdle behind both runners is done with; the next one is judged.
    if (CurrentRecord().X < m - 70 && Recycled <= Hurdles - 2) Current = (Current + 1) % 3;
    for (TRecord& r : Records) {
        if (r.X >= kReuseBelow) continue;
        r.X = kReuseAt;
        r.Status = {TLaneStatus::Untouched, TLaneStatus::Untouched};
        r.Knocked = {false, false};
        r.Number += 3;
        ++Recycled;
        if (Recycled >= Hurdles - 2) r.Visible = false;
    }
}

void THurdleRace::handLane()
{
    TPlayer& me = Runners[0];
    if (me.Airborne()) {
        --me.Air;
        return;
    }
    if (Scroll < kScrollTick || Scroll > CourseEnd()) return;
    TRecord& r = Records[size_t(Current)];
    if (!r.Visible || r.Knocked[0]) return;
    const int d = r.X - me.Base();
    if (d < kKnockFrom || d > kKnockTo) return;
    sound(THurSound::HurdleNoStop);
    r.Status[0] = TLaneStatus::Knocked;
    r.Knocked[0] = true;
    me.Pending = -15;
}

void THurdleRace::computerLane(int lane)
{
    if (Scroll < kScrollTick) return;
    TPlayer& p = Runners[size_t(lane)];
    if (p.Airborne()) {
        --p.Air;
        return;
    }
    const std::vector<std::uint8_t>& plan = Plan[size_t(lane)];
    size_t& pos = PlanPos[size_t(lane)];
    if (pos >= plan.size()) return;
    const int kind = std::min<int>(plan[pos], pkKnock);
    const int o = kPlanOffsets[lane][kind];
    TRecord& r = Records[size_t(Current)];
    const int d = r.X - p.Base();
    if (d < o || d >= o + kScrollStep) return;
    TLaneStatus& status = r.Status[size_t(lane)];
    if (kind == pkKnock) {
        if (status != TLaneStatus::Knocked) {
            sound(THurSound::Hurdle);
            status = TLaneStatus::Knocked;
            r.Knocked[size_t(lane)] = true;
            p.Pending = -15;
        }
    } else if (status == TLaneStatus::Untouched) {
        if (kind == pkClean) sound(THurSound::CheerNoStop);
        p.Air = kAirTicks;
        status = kind == pkClean ? TLaneStatus::Clean : TLaneStatus::Normal;
        p.Pending = kind == pkClean ? 5 : -5;
    }
    ++pos;
}

bool THurdleRace::Jump()
{
    // Play has not begun during the opening: a click there keeps the first hurdle's jump.
    if (Opening || Finished || AutoOn()) return false;
    TPlayer& me = Runners[0];
    TRecord& r = Records[size_t(Current)];
    if (me.Airborne() || r.Status[0] != TLaneStatus::Untouched) return false;
    me.Air = kAirTicks;
    const int d = r.X - me.Base();
    if (d >= kCleanFrom && d < kCleanTo) {
        sound(THurSound::CheerNoStop);
        r.Status[0] = TLaneStatus::Clean;
        me.Pending = 5;
    } else {
        r.Status[0] = TLaneStatus::Normal;
        me.Pending = -5;
    }
    return true;
}

void THurdleRace::sprint(TPlayer& p)
{
    if (p.Stumbling()) {
        --p.StumbleTimer;
        if (p.Dust > 0) --p.Dust;
    } else if (runtime(120) == 0) {
        sound(THurSound::Kokeru);
        p.Dust = 8;
        p.StumbleTimer = 8 + runtime(30);
    } else if (runtime(10) == 0) {
        p.X += p.Speed + runtime(5) - 2;
    } else {
        p.X += p.Speed;
    }
}

void THurdleRace::Step(int who)
{
    TPlayer& p = Runners[size_t(who)];
    if (Scroll <= kRunUpScroll && p.X < p.RunToX) p.X += p.Speed;
    if (Scroll >= CourseEnd() && p.X < p.FinishX) sprint(p);
    p.X += p.Pending;
    p.Gain += p.Pending;
    p.Pending = 0;
    p.Y = p.Airborne() ? p.JumpY : p.GroundY;
}

void THurdleRace::checkFinish()
{
    const TPlayer& me = Runners[0];
    const TPlayer& aite = Runners[1];
    if (me.X < me.FinishX && aite.X < aite.FinishX) return;
    for (TPlayer& p : Runners) p.StumbleTimer = p.Dust = 0;
    // Neck and neck: both at or past five pixels before their lines.
    if (me.X >= me.FinishX - kPhotoGap && aite.X >= aite.FinishX - kPhotoGap) {
        PhotoCounter = 0;
        return;
    }
    Winner = me.X < me.FinishX ? 1 : 0;
    FinishCounter = 0;
}

} // namespace hur

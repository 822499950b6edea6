#include "MatoRules.h"

#include <cmath>
#include <cstdlib>

namespace mato {

namespace {

constexpr int kEntryX = 630, kEntryY = 33, kExitX = -100, kExitY = 33;
constexpr int kTargetMinX = -65;
constexpr int kMinX = -150, kMaxX = 610, kMinY = -20;

struct TBallPlace {
    int startX, startY, targetX, targetY, afterX, afterY;
};
// My balls fly up to the right of the line point and are knocked off to the left; the opponent's
// mirror them.
constexpr TBallPlace kPlaces[2] = {{130, 510, 270, -58, -150, 150}, {360, 510, 220, -58, 640, 150}};

} // namespace

// ---------------------------------------------------------------------------------------------
// Balls

void TPlayer::Place(int startX, int startY, int targetX, int targetY, int afterX, int afterY)
{
    StartX = startX;
    StartY = startY;
    TargetX = targetX;
    TargetY = targetY;
    AfterX = afterX;
    AfterY = afterY;
    Reset();
}

void TPlayer::Reset()
{
    X = StartX;
    Y = StartY;
    State = bsResting;
    UpdateHitBox();
}

void TPlayer::UpdateHitBox()
{
    HitBox = {X - 20, Y - 20, X + 40, Y + 40};
}

void TPlayer::MoveTowards(int tx, int ty)
{
    const double a = std::atan2(double(ty - Y), double(tx - X));
    X += int(std::nearbyint(std::cos(a) * Speed));
    Y += int(std::nearbyint(std::sin(a) * Speed));
}

void TPlayer::Step()
{
    // Fast after a hit; otherwise slowing as it drifts sideways, more so above the line.
    if (State == bsHit) Speed = 45;
    else Speed = 25 - std::abs(X - StartX) / (Y < kLineY ? 7 : 15);
    if (State != bsResting) {
        if (State == bsHit) MoveTowards(AfterX, AfterY);
        else MoveTowards(TargetX, TargetY);
        if (State > bsAtLine && (Y < kMinY || X < kMinX || X > kMaxX)) {
            X = StartX;
            Y = StartY;
            State = bsResting;
        }
    }
    UpdateHitBox();
    Frame = 1 - Frame;
}

// ---------------------------------------------------------------------------------------------
// Targets

TBox TMato::HitBoxAt(int x, int y, int kind)
{
    const int s = kind % 3;
    return {x - 5 * s + 13, y - 10 * s + 50, x + 5 * s + 33, y + 70};
}

void TMato::UpdateHitBox()
{
    HitBox = HitBoxAt(X, Y, Kind);
}

void TMato::Reset(const std::function<int(int)>& random)
{
    auto r = [&](int n) { return random ? random(n) : 0; };
    StartX = kEntryX;
    StartY = kEntryY;
    TargetX = kExitX;
    TargetY = kExitY;
    X = kEntryX;
    Y = kEntryY;
    Kind = r(3);
    Speed = r(10) + 5;
    Aim[0] = r(80) - 40;
    Aim[1] = r(80) - 40;
    State = msWaiting;
    Cheer = false;
    UpdateHitBox();
}

void TMato::Step(const std::function<int(int)>& random)
{
    if (State == msWaiting) return;
    auto r = [&](int n) { return random ? random(n) : 0; };
    MoveTowards(kExitX, kExitY);
    if (X < kTargetMinX) {
        X = kEntryX;
        Y = kEntryY;
        if (r(3) != 0) {
            Kind = r(4);
            Speed = Kind == 3 ? 15 : r(10) + 5;
        } else {
            Kind = 3;
            Speed = r(10) + 15;
        }
        for (int& aim : Aim) {
            if (Kind == 3) aim = r(9) * 10 - 40;
            else if (Kind == 0) aim = r(5) * 10 - 40;
            else aim = r(4) != 0 ? 0 : r(9) * 10 - 40;
        }
        State = msWaiting;
        Cheer = false;
    }
    UpdateHitBox();
}

// ---------------------------------------------------------------------------------------------
// The game

void TMatoGame::Start()
{
    Tick = 0;
    Flash = 0;
    Kicker[0] = Kicker[1] = 0;
    Score[0] = Score[1] = 0;
    EndCount = -1;
    Winner = -1;
    for (int team = 0; team < 2; ++team) {
        const TBallPlace& p = kPlaces[team];
        for (TPlayer& b : Balls[team]) b.Place(p.startX, p.startY, p.targetX, p.targetY, p.afterX, p.afterY);
    }
    for (TMato& t : Targets) t.Reset(RuntimeRandom);
    Targets[0].State = msMoving;
}

int TMatoGame::DecideWinner(int mine, int aite, int winPoint)
{
    if (mine >= winPoint && aite < winPoint) return 0;
    if (aite >= winPoint && mine < winPoint) return 1;
    if (mine >= winPoint && aite >= winPoint && mine != aite) return mine > aite ? 0 : 1;
    return -1;
}

void TMatoGame::stepTargets()
{
    for (TMato& t : Targets) {
        t.Step(RuntimeRandom);
        // The cheer for a special hit waits until no other sound holds the channel.
        if (t.State == msHit && t.Cheer && sound(TMatoSound::Cheer)) t.Cheer = false;
    }
}

void TMatoGame::startTargets()
{
    // The next target sets off when the one before it reaches the line.
    for (int i = 0; i < 2; ++i)
        if (Targets[i].State == msWaiting && Targets[1 - i].State > msMoving) {
            Targets[i].State = msMoving;
            return;
        }
    if (Targets[0].State == msWaiting && Targets[1].State == msWaiting) {
        Targets[0].Reset(RuntimeRandom);
        Targets[0].State = msMoving;
    }
}

void TMatoGame::kick(int team, bool alwaysSwitch)
{
    sound(TMatoSound::Kick);
    Balls[team][Kicker[team]].State = bsFlying;
    if (alwaysSwitch || Score[0] < Score[1]) Kicker[team] = 1 - Kicker[team];
}

void TMatoGame::computerKick(int team)
{
    // The ball needs about twenty ticks to the line: kick when the first moving target is that far
    // away, give or take the team's aim offset for it.
    for (const TMato& t : Targets) {
        if (t.State != msMoving) continue;
        const int half = kTargetWidth / 2;
        const int from = t.Speed * 20 + kLineX + t.Aim[team] - half;
        const int to = t.Speed * 21 + kLineX + t.Aim[team] - half;
        if (t.X > from && t.X < to && t.X < kFieldWidth - kTargetWidth && Balls[team][Kicker[team]].State == bsResting)
            kick(team, true);
        return;
    }
}

bool TMatoGame::UserKick()
{
    if ((AutoOn && AutoOn()) || Decided() || Balls[0][Kicker[0]].State != bsResting) return false;
    // Behind, the next kicker takes over; level or ahead, the same one kicks again.
    kick(0, false);
    return true;
}

void TMatoGame::lineChecks()
{
    for (int i = 0; i < 2; ++i) {
        for (int team = 0; team < 2; ++team) {
            TPlayer& b = Balls[team][i];
            if (b.State == bsFlying && b.AtLine()) {
                b.State = bsAtLine;
            } else if (b.State == bsAtLine && !b.AtLine()) {
                b.State = bsMissed;
                Score[team] -= 2;
            }
        }
        TMato& t = Targets[i];
        if (t.State == msMoving && t.AtLine()) t.State = msAtLine;
        else if (t.State == msAtLine && !t.AtLine()) t.State = msPast;
    }
}

void TMatoGame::hits()
{
    // Both teams can hit on the same tick, even the same target.
    for (TMato& t : Targets)
        for (int team = 0; team < 2; ++team)
            for (TPlayer& b : Balls[team]) {
                if (!t.AtLine() || b.State != bsAtLine) continue;
                sound(TMatoSound::Tackle);
                Flash = 10;
                t.State = msHit;
                if (t.Kind == 3) t.Cheer = true;
                b.State = bsHit;
                Score[team] += t.Points();
            }
}

bool TMatoGame::afterDecision()
{
    ++EndCount;
    if (EndCount <= 10) sound(TMatoSound::Cheer);
    for (TPlayer& b : Balls[Winner]) b.Step();
    if (EndCount > kEndTicks) return true;
    draw();
    return false;
}

bool TMatoGame::Step()
{
    ++Tick;
    if (Flash > 0) --Flash;
    if (Decided()) return afterDecision();
    stepTargets();
    for (auto& team : Balls)
        for (TPlayer& b : team) b.Step();
    draw();
    startTargets();
    if (AutoOn && AutoOn()) computerKick(0);
    computerKick(1);
    lineChecks();
    hits();
    Winner = DecideWinner(Score[0], Score[1], WinPoint);
    if (Winner >= 0) EndCount = 0;
    return false;
}

} // namespace mato

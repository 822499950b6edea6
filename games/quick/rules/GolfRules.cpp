#include "GolfRules.h"

#include <QtCore/qnamespace.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace golf {

namespace {

int roundi(double v) { return int(std::nearbyint(v)); }

// Where the line from (x0, y0) through (x1, y1) meets the row y = row, rounded. Tries are kept well
// inside the integer range whatever the line, so that the search's sums cannot overflow.
int crossRow(int x0, int y0, int x1, int y1, int row)
{
    if (y1 == y0) return x1;
    const double x = x0 + double(row - y0) * (x1 - x0) / (y1 - y0);
    return roundi(std::clamp(x, -1.0e6, 1.0e6));
}

void removeAll(std::vector<int>& v, int value) { v.erase(std::remove(v.begin(), v.end(), value), v.end()); }

} // namespace

void TGolfMatch::Start()
{
    FHolesWon[0] = FHolesWon[1] = 0;
    FIdleTicks = 0;
    FOpening = true;
    FEndCount = -1;
    FResult = -1;
    Finished = false;
    FFirstTeam = random(2);
    FTurnTeam = FFirstTeam;
    Ball.Reset();
    FPuttNo = 0;
    FPuttCountdown = 0;
    FWaitTicks = 0;
    FDragging = false;
    FAimTarget = 0;
    FTries.clear();
    FStoppedAims.clear();
}

void TGolfMatch::BeginPlay()
{
    FOpening = false;
    PreparePutt(true);
}

void TGolfMatch::PreparePutt(bool newGreen)
{
    FDragging = false;
    FEndCount = -1;
    FPuttCountdown = 0;
    Ball.Reset();
    if (newGreen) {
        FWaitTicks = kNewGreenWait;
        FPuttNo = 0;
        // A green must offer a few holing aims; a hole that decides the game for the team to putt
        // first must not be won by one straight putt. Only a broken generator fails a thousand times.
        const bool deciding = FHolesWon[FTurnTeam] == FHolesToWin - 1;
        const std::function<int(int)> rnd = [this](int n) { return random(n); };
        for (int attempt = 0; attempt < 1000; ++attempt) {
            Green.MakeGreen(rnd);
            if (Green.FSolutions.size() >= 3 && !(Green.FStraightFound && deciding)) break;
        }
    }
    FAimX = Green.CupX;
    FAimY = Green.CupY;
    if (FPuttNo == 0) {
        chooseTarget();
        FTries = SeedTries(Green, FAimTarget);
    }
    int aim;
    if (Green.FStraightFound) aim = FAimTarget;
    else if (FPuttNo == 0) aim = Green.CupX; // the first putt on a green goes straight at the cup
    else aim = SearchAim(FTries, FAimTarget, [this](int n) { return random(n); });
    FAimRemaining = std::abs(aim - FAimX);
    FAimDir = aim > FAimX ? 1 : aim < FAimX ? -1 : 0;
    ++FPuttNo;
    FIdleTicks = 0;
}

// The target is a solution next to the cup's x: the one nearer the last green's target when there
// are two (the later one on a tie).
void TGolfMatch::chooseTarget()
{
    std::vector<int>& s = Green.FSolutions;
    s.push_back(Green.CupX);
    std::sort(s.begin(), s.end());
    const int n = int(s.size());
    const int i = int(std::find(s.begin(), s.end(), Green.CupX) - s.begin());
    if (n == 1) FAimTarget = s[0];
    else if (i == 0) FAimTarget = s[1];
    else if (i == n - 1) FAimTarget = s[n - 2];
    else {
        const int before = s[i - 1], after = s[i + 1];
        FAimTarget = std::abs(before - FAimTarget) < std::abs(after - FAimTarget) ? before : after;
    }
}

std::vector<int> TGolfMatch::SeedTries(const TGreen& green, int target)
{
    std::vector<int> t{green.CupX};
    int seed[2];
    for (int h = 0; h < 2; ++h) {
        const THill& hill = green.Hills[h];
        if (green.HillFelt(h)) {
            seed[h] = crossRow(hill.x, hill.y, kTeeX, kTeeY, green.CupY);
            t.push_back(seed[h]);
        } else {
            seed[h] = green.CupX;
        }
    }
    std::sort(t.begin(), t.end());
    if (t.front() > target) t.push_back(2 * target - t.front());
    else if (t.back() < target) t.push_back(2 * target - t.back());
    if (seed[0] < green.CupX && seed[1] < green.CupX) removeAll(t, green.CupX);
    // Taking the cup's x out may leave nothing on the target's far side; its mirror brackets it again.
    const int largest = *std::max_element(t.begin(), t.end());
    if (largest < target) t.push_back(2 * target - largest);
    return t;
}

int TGolfMatch::SearchAim(std::vector<int>& tries, int target, const std::function<int(int)>& random)
{
    std::sort(tries.begin(), tries.end());
    int aim = target; // seeded tries always bracket the target; this is only the safe answer
    for (std::size_t k = 1; k < tries.size(); ++k) {
        if (tries[k] == target) break;
        if (tries[k] < target) continue;
        const int lo = tries[k - 1], hi = tries[k];
        const int mid = (lo + hi) / 2;
        const double half = (hi - lo) / 2.0;
        if (mid > target) aim = lo + roundi((random(2) + 1) * half / 2);
        else aim = mid + roundi(random(2) * half / 2);
        break;
    }
    tries.push_back(aim);
    return aim;
}

bool TGolfMatch::Tick()
{
    if (Finished || FOpening) return false;
    if (FWaitTicks > 0) {
        --FWaitTicks;
    } else if (FEndCount < 0) {
        playHole();
    } else if (afterHole()) {
        return true;
    }
    // A user who leaves the putt undone loses; not while aiming, nor once the putt is given.
    if (FTurnTeam == 0 && !AutoOn() && Ball.State == bsWaiting && FPuttCountdown == 0 && FIdleTicks > kIdleLimit
        && !FDragging) {
        endGame(1);
        return true;
    }
    TRollEvents events;
    Ball.Roll(Green, &events);
    if (events.Holed) {
        sound(TGolfSound::In);
        ++FHolesWon[FTurnTeam];
        FEndCount = 0;
    }
    if (events.RestInCup) sound(TGolfSound::Cheer);
    ++FIdleTicks;
    return false;
}

void TGolfMatch::playHole()
{
    if (Ball.State == bsWaiting && FPuttCountdown == 0 && aimMoveDue()) {
        // The computer's aim glides to its choice: fast while far, then pixel by pixel.
        if (FTurnTeam == 1 || AutoOn()) {
            if (FAimRemaining > 15) {
                FAimX += 5 * FAimDir;
                FAimRemaining -= 5;
            } else if (FAimRemaining > 0) {
                FAimX += FAimDir;
                FAimRemaining -= 1;
            }
            if (FAimRemaining == 0) FPuttCountdown = kPuttCountdown;
        }
    } else if (FPuttCountdown > 0) {
        if (--FPuttCountdown == 0) {
            sound(TGolfSound::Pat);
            Ball.AimAt(FAimX, FAimY);
        }
    } else if (Ball.State >= bsAtRest) {
        // A missed putt: a short pause, then the other team putts from the tee on the same green.
        FStoppedAims.push_back(FAimX);
        ++Ball.State;
        if (Ball.State == 7) sound(TGolfSound::Change);
        if (Ball.State == 12) {
            FTurnTeam = 1 - FTurnTeam;
            PreparePutt(false);
        }
    }
}

bool TGolfMatch::afterHole()
{
    ++FEndCount;
    if (FEndCount == 1 && (FHolesWon[0] >= FHolesToWin || FHolesWon[1] >= FHolesToWin))
        FResult = FHolesWon[0] > FHolesWon[1] ? 0 : 1;
    if (FEndCount <= kEndTicks) return false;
    if (FResult == -1) {
        // The hole's loser starts the next hole.
        FTurnTeam = 1 - FTurnTeam;
        FStoppedAims.clear();
        PreparePutt(true);
        return false;
    }
    Finished = true;
    return true;
}

void TGolfMatch::endGame(int result)
{
    FResult = result;
    Finished = true;
}

void TGolfMatch::MouseDown(int x, int y)
{
    if (!usersTurn() || AutoOn() || FDragging) return;
    FAimX = x;
    FAimY = y;
    FDragging = true;
}

void TGolfMatch::MouseMove(int x, int y)
{
    if (!usersTurn() || AutoOn() || !FDragging) return;
    FAimX = x;
    FAimY = y;
}

void TGolfMatch::MouseUp(int x, int y)
{
    if (usersTurn() && !AutoOn() && FDragging) {
        FAimX = x;
        FAimY = y;
        // A release on the ball's own row gives no direction towards the cup: no putt then, and the
        // user aims again.
        if (y != Ball.y) givePutt(crossRow(Ball.x, Ball.y, x, y, Green.CupY));
    }
    FDragging = false;
}

void TGolfMatch::givePutt(int crossX)
{
    FPuttCountdown = kPuttCountdown;
    if (random(100) < 40) FTries.push_back(crossX);
    FDragging = false;
}

void TGolfMatch::KeyDown(int key)
{
    if (!usersTurn()) return;
    const bool step = key == Qt::Key_1 || key == Qt::Key_3;
    if (!FDragging) {
        if (!step || AutoOn()) return;
        FAimX = Green.CupX;
        FAimY = Green.CupY;
        FDragging = true;
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_2) {
        givePutt(FAimX);
        return;
    }
    // The typed digit moves the aim, so the press that starts aiming already moves it a pixel.
    if (step) FAimX = std::clamp(FAimX + (key == Qt::Key_1 ? -1 : 1), 0, kFieldWidth);
}

bool TGolfMatch::AimLineShown() const
{
    if (FOpening || FWaitTicks > 0 || FEndCount >= 0 || Ball.State != bsWaiting) return false;
    return FDragging || FPuttCountdown > 0 || ((FTurnTeam == 1 || AutoOn()) && aimMoveDue());
}

QString TGolfMatch::HoleMarks(int team) const
{
    const int won = FHolesWon[team == 0 ? 0 : 1];
    return QString(won, QChar(0x25CF)) + QString(std::max(0, FHolesToWin - won), QChar(0x25CB));
}

QString TGolfMatch::HoleTitle() const { return QStringLiteral("%1番ホール").arg(HoleNumber()); }

} // namespace golf

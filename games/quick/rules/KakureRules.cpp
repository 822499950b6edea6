#include "KakureRules.h"

#include <cmath>

namespace kakure {

const QPoint TKakureGame::kNodes[kNodeCount] = {{100, 230}, {230, 230}, {360, 230}, {490, 230}, {620, 230}};
// Each node reaches the boxes beside it in both rows: {0, 4}, {0, 1, 4, 5}, ... {3, 7}.
const quint8 TKakureGame::kNodeBoxes[kNodeCount] = {17, 51, 102, 204, 136};
const QPoint TKakureGame::kBoxes[kBoxCount] = {{170, 330}, {300, 330}, {430, 330}, {560, 330},
                                               {170, 130}, {300, 130}, {430, 130}, {560, 130}};

namespace {

constexpr int kPickFallback = 100000; // draws before PickSpot gives up drawing and takes the first fit

bool inRect(const TRect& r, int x, int y)
{
    return r.Contains(x, y);
}

} // namespace

TRect TKakureGame::BoxRect(int box)
{
    const QPoint p = kBoxes[box];
    return {p.x() - 15, p.y() - 10, p.x() + 85, p.y() + 90};
}

// ---------------------------------------------------------------------------------------------
// Walkers

void TPlayer::Step(const TKakureGame& g)
{
    if (FDir == 0 || FHidden) return;
    const float angle = std::atan2(float(FY - FTargetY), float(FTargetX - FX));
    FX += int(std::nearbyint(std::cos(angle) * FSpeed));
    FY -= int(std::nearbyint(std::sin(angle) * FSpeed));
    FHitRect = {FX - 6, FY - 6, FX + 6, FY + 6};
    if (!inRect(FHitRect, FTargetX, FTargetY)) return;

    // The seeker comes to the opponent's box from the side, so that the opponent shows.
    const bool besideAite = FKind == wkOni && FSpot == g.Aite().FSpot;
    if (FToNode < 0) {
        FDir = 0;
        FHidden = true;
        const QPoint box = TKakureGame::kBoxes[FSpot];
        FX = besideAite ? box.x() - 40 : box.x();
        FY = besideAite ? box.y() + 7 : box.y();
        return;
    }
    FFromNode = FToNode;
    FToNode += FDir;
    if (FToNode > g.FLastNode) {
        --FTurnsLeft;
        FDir = -1;
        FToNode = g.FLastNode - 1;
    } else if (FToNode < g.FFirstNode) {
        --FTurnsLeft;
        FDir = 1;
        FToNode = g.FFirstNode + 1;
    }
    FTargetX = TKakureGame::kNodes[FToNode].x();
    FTargetY = TKakureGame::kNodes[FToNode].y();
    if (FTurnsLeft < 1 && FSpot >= 0 && (TKakureGame::kNodeBoxes[FFromNode] >> FSpot) & 1) {
        if (FSkipOnce) {
            FSkipOnce = false;
            return;
        }
        FToNode = -1;
        const QPoint box = TKakureGame::kBoxes[FSpot];
        FTargetX = besideAite ? box.x() - 40 : box.x();
        FTargetY = besideAite ? box.y() + 7 : box.y();
    }
}

// ---------------------------------------------------------------------------------------------
// Rounds

void TKakureGame::Start()
{
    for (int k = 0; k < kBoxCount; ++k) BoxNumbers[k] = k + 1;
    FOpenCount = kBoxCount;
    FFirstNode = 0;
    FLastNode = kNodeCount - 1;
    Result = krUndecided;
    Round = 0;
    Tick = 0;
    FinishCount = -1;
    for (int i = 0; i < 3; ++i) {
        Walkers[i] = TPlayer();
        Walkers[i].FKind = quint8(i);
    }
}

int TKakureGame::PickSpot(int rule)
{
    auto fits = [&](int k) {
        switch (rule) {
        case 0: return Exists(k);
        case 1: return Exists(k) && k != Mine().FSpot;
        case 2: return FOpenCount < 3 ? holdsHider(k) : Exists(k) && !holdsHider(k);
        // A bird takes any box once few are left, and now and then anyway.
        case 3: return Exists(k) && (FOpenCount <= 4 || random(3) == 0 || !holdsHider(k));
        default: return Exists(k) && !holdsHider(k);
        }
    };
    for (int n = 0; n < kPickFallback; ++n) {
        const int k = random(kBoxCount);
        if (k >= 0 && k < kBoxCount && fits(k)) return k;
    }
    // Only a generator that never yields a fitting box comes here.
    for (int k = 0; k < kBoxCount; ++k)
        if (fits(k)) return k;
    return 0;
}

void TKakureGame::resetHider(TPlayer& w, int kind, int yOffset)
{
    const QPoint node = kNodes[FFirstNode];
    w.FKind = quint8(kind);
    w.FFromNode = w.FToNode = FFirstNode;
    w.FX = node.x() - 80;
    w.FY = node.y() + yOffset;
    w.FTargetX = node.x();
    w.FTargetY = node.y();
    w.FHitRect = {w.FX - 6, w.FY - 6, w.FX + 6, w.FY + 6};
    w.FHidden = false;
    w.FSkipOnce = false;
    w.FMarks = mkNone;
    w.FFootprints.clear();
    w.FLinkIndex = -1;
    w.FSpeech.clear();
}

void TKakureGame::StartRound()
{
    FinishCount = -1;
    WarpFailed = false;
    PickedByHand = false;
    for (TBird& b : Birds) b.State = bdIdle;
    if (FOpenCount < kBoxCount) sound(TKakureSound::Change);

    TPlayer& mine = Mine();
    resetHider(mine, wkMine, 0);
    mine.FSpeed = 14;
    mine.FDir = 1;
    mine.FTurnsLeft = 2;
    mine.FDance = random(2) == 0 ? 0 : random(5) + 1;
    mine.FCallStyle = random(2);
    mine.FSpot = PickSpot(0);

    TPlayer& aite = Aite();
    resetHider(aite, wkAite, -100);
    aite.FDir = 0;
    aite.FTurnsLeft = 0;
    aite.FSpot = -1;
    aite.FDance = random(2) == 0 ? 0 : random(5) + 1;
    aite.FCallStyle = random(2);

    TPlayer& oni = Oni();
    resetHider(oni, wkOni, 100);
    oni.FDir = 0;
    oni.FTurnsLeft = random(2);
    oni.FSpot = -1;
    oni.FDance = oni.FCallStyle = 0;

    for (TPlayer* h : {&mine, &aite})
        if (random(3) == 0) h->FMarks = quint16(1u << (random(7) + 1));

    for (TBird& b : Birds) {
        b.X = kFieldWidth + 10;
        b.Y = 10;
        b.Box = -1;
        b.Carries = false;
    }
    ++Round;
    WarpPoint = QPoint(-999, -999);
    draw();
    Tick = 0;
}

// ---------------------------------------------------------------------------------------------
// Choosing

void TKakureGame::commitMyChoice()
{
    Mine().FTurnsLeft = 0;
    Mine().FFromNode = Mine().FToNode;
}

bool TKakureGame::ClickAt(int x, int y)
{
    if (!Choosing()) return false;
    for (int k = 0; k < kBoxCount; ++k)
        if (Exists(k) && inRect(BoxRect(k), x, y)) {
            Mine().FSpot = k;
            commitMyChoice();
            PickedByHand = true;
            return true;
        }
    return false;
}

void TKakureGame::KeyChoice(int digit)
{
    if (!Choosing()) return;
    if (digit >= 1 && digit <= kBoxCount && Exists(digit - 1)) {
        Mine().FSpot = digit - 1;
        PickedByHand = true;
    }
    // Any key sends my hider to the box it holds now.
    commitMyChoice();
}

// ---------------------------------------------------------------------------------------------
// The play tick

void TKakureGame::stepHider(TPlayer& w)
{
    w.Step(*this);
    if (w.Has(mkFootprints) && w.Walking()) w.FFootprints.push_back(QPoint(w.FX + 35, w.FY + 64));
}

void TKakureGame::placeBirds()
{
    int placed = 0;
    for (int b = 0; b < 2; ++b) {
        TBird& bird = Birds[b];
        TPlayer* marked = nullptr;
        for (TPlayer* h : {&Mine(), &Aite()})
            if (!marked && h->FMarks == mkBird && h->FLinkIndex < 0) marked = h;
        if (marked) {
            bird.Box = marked->FSpot;
            bird.Carries = true;
            marked->FLinkIndex = b;
            ++placed;
            continue;
        }
        if (placed + 1 > FOpenCount || random(6) != 0) continue;
        bird.Box = PickSpot(3);
        if (bird.Box == Birds[1 - b].Box) bird.Box = -1;
        if (bird.Box < 0) continue;
        ++placed;
        bird.Carries = holdsHider(bird.Box) ? random(3) == 0 : true;
        if (!bird.Carries) continue;
        for (TPlayer* h : {&Mine(), &Aite()})
            if (h->FSpot == bird.Box) {
                h->FMarks |= mkBird;
                h->FLinkIndex = b;
            }
    }
}

void TKakureGame::removeBox(int box)
{
    // A box goes once: a box a bird has carried off is not counted off again.
    if (!Exists(box)) return;
    BoxNumbers[box] = 0;
    --FOpenCount;
}

void TKakureGame::stepBirds()
{
    const bool bothHidden = Mine().FHidden && Aite().FHidden;
    const bool firstHalf = Tick % 6 < 3;
    for (TBird& b : Birds) {
        if (b.Box < 0) continue;
        if (b.State == bdIdle && bothHidden) {
            const TRect r = BoxRect(b.Box);
            b.State = bdFlyingIn;
            b.LandX = r.Left + 20;
            b.LandY = r.Top - 60;
            b.ExitX = kBoxes[b.Box].x() - 250;
            b.ExitY = -200;
        }
        switch (b.State) {
        case bdFlyingIn:
            b.X -= 15;
            b.Y = firstHalf ? 10 - 3 * (Tick % 3) : 10 + 3 * (Tick % 3);
            if (b.X < b.LandX + 10) {
                b.Y += 10;
                b.State = bdLanding;
            }
            break;
        case bdLanding:
            b.X = b.LandX;
            b.Y += firstHalf ? 20 : -3;
            if (b.Y >= b.LandY) {
                b.Y = b.LandY;
                b.State = bdFlyingOff;
            }
            break;
        case bdFlyingOff: {
            const double a = std::atan2(double(b.Y - b.ExitY), double(b.ExitX - b.X));
            if (firstHalf) b.X += int(std::nearbyint(std::cos(a) * 15));
            b.Y -= int(std::nearbyint(std::sin(a) * 15));
            if (b.Y <= b.ExitY + 30) {
                b.State = bdGone;
                if (b.Carries) removeBox(b.Box);
            }
            break;
        }
        default:
            break;
        }
    }
}

int TKakureGame::WeightAdjustment(quint16 marks)
{
    static const int kAdjust[][2] = {{mkBird, -25}, {mkInFront, -20}, {mkLarge, -15}, {mkFootprints, -10},
                                     {mkShake, -5}, {mkSmall, 10},    {mkInvisible, 20}};
    for (const auto& a : kAdjust)
        if (marks & a[0]) return a[1];
    return 0;
}

void TKakureGame::seekerChoice()
{
    TPlayer& oni = Oni();
    const int first = random(2);
    const int order[2] = {first, 1 - first};
    oni.FDir = 1;
    oni.FSpot = -1;
    // The fewer the boxes and the plainer a hider shows, the likelier it is found; the weight may
    // fall to 0 or below, and the random service's answer to such a bound decides.
    int h = FOpenCount * 10;
    for (int i : order) {
        h += WeightAdjustment(Walkers[i].FMarks);
        if (random(h) < 10) {
            oni.FSpot = Walkers[i].FSpot;
            break;
        }
    }
    if (oni.FSpot < 0) oni.FSpot = PickSpot(2);
    for (int i = 0; i < 2; ++i)
        if (Walkers[i].FSpot == oni.FSpot) {
            oni.FLinkIndex = i;
            oni.FSkipOnce = random(3) == 0;
            break;
        }
}

bool TKakureGame::tryWarp()
{
    if (FinishCount != -1 || WarpFailed) return false;
    for (int i = 0; i < 2; ++i) {
        TPlayer& h = Walkers[i];
        if (h.Has(mkWarped) || h.FSpot != Oni().FSpot || FOpenCount <= 2 || random(3) != 0) continue;
        WarpPoint = QPoint(h.FX, h.FY);
        if (random(3) == 0) {
            WarpFailed = true;
            h.FSpeech = QStringLiteral("ワープ失敗！");
        } else {
            h.FMarks |= mkWarped;
            h.FSpot = PickSpot(4);
            h.FX = kBoxes[h.FSpot].x();
            h.FY = kBoxes[h.FSpot].y();
            h.FSpeech = QStringLiteral("ワープ！");
        }
        return true;
    }
    return false;
}

void TKakureGame::movePathEnds()
{
    auto gone = [&](int column) { return !Exists(column) && !Exists(column + 4); };
    if (gone(0)) {
        FFirstNode = 1;
        if (gone(1)) {
            FFirstNode = 2;
            if (gone(2)) FFirstNode = 3;
        }
    }
    if (gone(3)) {
        FLastNode = 3;
        if (gone(2)) {
            FLastNode = 2;
            if (gone(1)) FLastNode = 1;
        }
    }
}

bool TKakureGame::finishTick()
{
    ++FinishCount;
    if (FinishCount == 0) {
        sound(TKakureSound::Cheer);
        for (int i = 0; i < 2; ++i) Walkers[i].FMarks &= quint16(~(mkNone | mkWarped));
        if (Result == krUndecided) {
            if (Oni().FSpot == Mine().FSpot) Result = krMineFound;
            else if (Oni().FSpot == Aite().FSpot) Result = krAiteFound;
        }
    }
    if (FinishCount < kFinishTicks) return false;
    if (Result != krUndecided) return true;
    removeBox(Oni().FSpot);
    movePathEnds();
    if (Sleep) Sleep(200);
    StartRound();
    return false;
}

bool TKakureGame::Step()
{
    ++Tick;
    stepHider(Mine());
    TPlayer& aite = Aite();
    if (Mine().FTurnsLeft < 1 && aite.FDir == 0 && !aite.FHidden) {
        Mine().FSpeed = 12;
        aite.FDir = 1;
        aite.FSpot = PickSpot(1);
        // A round without a choice by click or key makes the game an auto-played one.
        if (ManualPlay && SetManualPlay && ManualPlay()) SetManualPlay(PickedByHand);
        placeBirds();
    }
    stepHider(aite);
    stepBirds();
    const bool birdsDone = [&] {
        for (const TBird& b : Birds)
            if (b.Box >= 0 && b.State != bdGone && b.State != bdIdle) return false;
        return true;
    }();
    if (Mine().FHidden && aite.FHidden && birdsDone && !SeekerChose()) seekerChoice();
    Oni().Step(*this);
    if (Oni().FHidden) {
        if (tryWarp()) {
            draw();
            return false;
        }
        if (finishTick()) return true;
    }
    draw();
    return false;
}

// ---------------------------------------------------------------------------------------------
// Reactions

QString TKakureGame::ReactionNotFound(const TPlayer& w)
{
    if (w.Has(mkBird)) return QStringLiteral("超ラッキー！");
    if (w.Has(mkInFront) || random(8) == 0) return QStringLiteral("たすかった～");
    if (w.Has(mkLarge)) return QStringLiteral("あぶな～");
    if (w.Has(mkFootprints) || random(4) == 0) return QStringLiteral("ラッキー");
    if (w.Has(mkShake) || random(3) == 0) return QStringLiteral("よかった～");
    return w.FCallStyle == 1 ? QStringLiteral("こっちこっち") : QStringLiteral("こっちだよ");
}

QString TKakureGame::ReactionFound(const TPlayer& w)
{
    if (w.Has(mkBird)) return QStringLiteral("なっとく");
    if (w.Has(mkInFront)) return QStringLiteral("やっぱり");
    if (w.Has(mkLarge) || random(6) == 0) return QStringLiteral("そうか～");
    if (w.Has(mkFootprints) || random(6) == 0) return QStringLiteral("もう～");
    if (w.Has(mkShake) || random(6) == 0) return QStringLiteral("こっちか～");
    if (w.Has(mkSmall) || random(4) == 0) return QStringLiteral("なんで～");
    if (w.Has(mkInvisible)) return QStringLiteral("そんな～");
    if (random(4) != 0) return Round == 1 ? QStringLiteral("はやい！") : QStringLiteral("う～～～");
    return QStringLiteral("そんな～");
}

void TKakureGame::UpdateSpeech()
{
    if (FinishCount < 0) return;
    for (int i = 0; i < 2; ++i) {
        TPlayer& w = Walkers[i];
        if (!w.FSpeech.isEmpty()) continue;
        if (!Found(i)) w.FSpeech = ReactionNotFound(w);
        else if (FinishCount > 10) w.FSpeech = ReactionFound(w);
    }
}

} // namespace kakure

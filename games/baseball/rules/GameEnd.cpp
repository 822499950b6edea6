// The end of a game: the closing celebration, the result report, the early close, and the boards
// that the result window's link shows.
#include "BaseballGame.h"

namespace bb {

namespace {

constexpr int kBannerTicks = 44;     // the end banner shows while the end counter is 0-43
constexpr int kCelebration = 45;     // ticks of the celebration before the report
constexpr int kBenchCelebration = 55; // with the bench out on the field

} // namespace

void TBaseBallGame::EndGame(int winner)
{
    Winner = winner;
    EndCounter = 0;
}

void TBaseBallGame::startCelebration()
{
    UpdateBattingStats();
    PlaySound(TBallSound::FinalCheer);
    // The winners take a frame each, at random, and from now on jump for joy.
    const bool fieldersWon = Winner == FieldingSide;
    for (int i = 0; i < kActorCount; ++i) {
        TBallActor& a = Actors[size_t(i)];
        const bool winner = i < kBatter ? fieldersWon : !fieldersWon;
        if (!winner || a.Picture < 0) continue;
        const int frame = ((a.Picture & 1) + RandomInt(2)) % 2;
        if (i < kBatter) {
            a.Picture = Teams[size_t(a.Side)].SlotImage[size_t(i)];
            a.Action = acNone;
            a.Step = 0;
            a.Speed = 0;
        }
        SetActorFrame(i, frame);
        SelectActorImage(i);
    }
    if (fieldersWon) {
        TBallActor& c = Actors[kCatcher];
        c.Action = acMoveToPos;
        c.Step = 0;
        c.Target = Spots[spCoverHome];
        c.Role = spCoverHome;
        c.Arrived = false;
    }
}

void TBaseBallGame::Celebrate()
{
    if (EndCounter == 0) {
        startCelebration();
    } else {
        const bool fieldersWon = Winner == FieldingSide;
        for (int i = 0; i < kActorCount; ++i) {
            const TBallActor& a = Actors[size_t(i)];
            if (a.Picture >= 0 && (i < kBatter) == fieldersWon) SetActorFrame(i, (a.Picture & 1) ^ 1);
        }
    }
    ++EndCounter;
    if (EndCounter >= (BenchOut ? kBenchCelebration : kCelebration)) report();
}

bool TBaseBallGame::ShowsEndBanner() const
{
    return EndCounter >= 0 && EndCounter < kBannerTicks;
}

void TBaseBallGame::report()
{
    if (Reported) return;
    if (Inning >= 10) FullLineScore = true;
    if (Services.StopTimer) Services.StopTimer();
    drawScene();
    if (Services.Sleep) Services.Sleep(100);
    Reported = true;
    reportResult();
}

void TBaseBallGame::CloseEarly()
{
    if (Reported) return;
    // The plate appearance in progress counts once, and only once its outcome is known: not during
    // the opening, nor again after the celebration counted the last one.
    if (EndCounter < 0 && !Opening && PanelStage >= 3) UpdateBattingStats();
    if (Inning > 9) FullLineScore = true;
    drawScene();
    if (Services.Sleep) Services.Sleep(100);
    Reported = true;
    reportResult();
}

void TBaseBallGame::reportResult()
{
    const quint16 bits = Services.ModeBits ? Services.ModeBits() : 0;
    if (Services.ReportResult) Services.ReportResult(quint16(bits + (Winner == 1 ? 0x2007 : 0x1007)));
}

void TBaseBallGame::ShowGameRecord()
{
    StatisticsFlag = true;
    if (Inning > 9) FullLineScore = true;
    drawScene();
}

std::vector<std::array<int, 2>> TBaseBallGame::AllInnings() const
{
    std::vector<std::array<int, 2>> all = LineArchive;
    for (int i = 0; i <= Inning % 10; ++i) all.push_back({LineScore[0][size_t(i)], LineScore[1][size_t(i)]});
    return all;
}

bool TBaseBallGame::LastCellMarked() const
{
    return EndCounter >= 0 && Winner == 1;
}

} // namespace bb

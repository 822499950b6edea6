#include "FakeGameHost.h"

#include "GameRandom.h"
#include "Canvas.h"
#include "Resources.h"
#include "SheetLoader.h"

FakeGameHost::FakeGameHost(std::uint32_t seed)
{
    static const bool resources = [] {
        InitGameResources();
        return true;
    }();
    (void)resources;
    RandSeed = seed;
    MTSeed(seed);
    for (int i = 0; i < 12; ++i) figures.AddMasked(ResourceBitmap(QStringLiteral("ANIME%1").arg(i, 2, 10, QLatin1Char('0'))));
    SetGameHost(this);
}

FakeGameHost::~FakeGameHost()
{
    if (GameHostOrNull() == this) SetGameHost(nullptr);
}

int FakeGameHost::GameRandom(int, int n)
{
    return BlockRandom(randomCount++, randomBlock, n);
}

void FakeGameHost::LoadTeamPictures(TBitmap& mySheet, TBitmap& aiteSheet)
{
    LoadTeamSheet(mySheetFile, QStringLiteral("PLAYER0"), mySheet);
    LoadTeamSheet(aiteSheetFile, QStringLiteral("PLAYER1"), aiteSheet);
}

quint16 FakeGameHost::GetModeBits() const
{
    return quint16((manualPlay ? 0 : 0x800) + optionIndex * 256);
}

void FakeGameHost::ShowGameResult(quint16 code)
{
    results.push_back(code);
}

void FakeGameHost::SetResultPlayers(int myIndex, int aiteIndex)
{
    resultPlayers[0] = myIndex;
    resultPlayers[1] = aiteIndex;
}

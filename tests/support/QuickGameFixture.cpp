#include "QuickGameFixture.h"

#include "GameRandom.h"
#include "QuickGames.h"
#include "UnitGameWinMes.h"

void QuickGameFixture::SetUp()
{
    ShellFixture::SetUp();
    RegisterQuickGames();
    MakeForms();
    Form::SetModalHook([this](Form* f) {
        if (f == FormGameWinMes) {
            reports.push_back({FormGameWinMes->FScreenKind, FormGameWinMes->FCodeText, FormGameWinMes->FSubText});
            ResultShown();
            f->Close();
        } else if (onGameShown) {
            onGameShown(f);
        }
    });
}

void QuickGameFixture::seed(int s)
{
    RandSeed = std::uint32_t(s) * 2654435761u + seedOffset;
    MTSeed(std::uint32_t(s) + 4357);
}

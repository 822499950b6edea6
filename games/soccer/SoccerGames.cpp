#include "SoccerGames.h"

#include "UnitSoccer.h"

quint16 PlaySoccer(TGameHost& host)
{
    return RunGameForm<TFormSoccer>(
        host, QStringLiteral(" サッカー対決"), FormSoccer,
        [&host](TFormSoccer& form) {
            form.cobSousa->SetItemIndex(host.AutoProgress() ? 3 : 0);
            // Soccer is never part of a match of several games: the menu's box alone decides.
            form.FSetUpOpenStart = host.SetUpOpenStart();
        },
        [&host](TFormSoccer& form) { host.SetAutoProgress(form.cobSousa->ItemIndex() == 3); });
}

void RegisterSoccerGame()
{
    RegisterGameLauncher(gnSoccer, PlaySoccer);
}

#include "SoccerGames.h"

#include "UnitSoccer.h"

#include <memory>

quint16 PlaySoccer(TGameHost& host)
{
    std::unique_ptr<TFormSoccer> form(new TFormSoccer(host.OwnerWindow()));
    FormSoccer = form.get();
    struct Clear {
        ~Clear() { FormSoccer = nullptr; }
    } clear;
    form->SetCaption(host.SeriesName() + QStringLiteral(" サッカー対決"));
    form->FPlayerName = host.PlayerName();
    form->cobSousa->SetItemIndex(host.AutoProgress() ? 3 : 0);
    // Soccer is never part of a match of several games: the menu's box alone decides.
    form->FSetUpOpenStart = host.SetUpOpenStart();
    const int result = form->ShowModal();
    host.SetAutoProgress(form->cobSousa->ItemIndex() == 3);
    return quint16(result);
}

void RegisterSoccerGame()
{
    RegisterGameLauncher(gnSoccer, PlaySoccer);
}

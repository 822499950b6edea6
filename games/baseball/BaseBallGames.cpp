#include "BaseBallGames.h"

#include "UnitBaseBall.h"

#include <memory>

quint16 PlayBaseBall(TGameHost& host)
{
    std::unique_ptr<TFormBaseBall> form(new TFormBaseBall(host.OwnerWindow()));
    FormBaseBall = form.get();
    struct Clear {
        ~Clear() { FormBaseBall = nullptr; }
    } clear;
    form->SetCaption(host.SeriesName() + QStringLiteral(" 野球対決"));
    form->FPlayerName = host.PlayerName();
    form->cbAuto->setChecked(host.AutoProgress());
    // Baseball is never part of a match of several games: the menu's box alone decides.
    form->FSetUpOpenStart = host.SetUpOpenStart();
    const int result = form->ShowModal();
    host.SetAutoProgress(form->cbAuto->isChecked());
    return quint16(result);
}

void RegisterBaseBallGame()
{
    RegisterGameLauncher(gnBaseBall, PlayBaseBall);
}

#include "BaseBallGames.h"

#include "UnitBaseBall.h"

quint16 PlayBaseBall(TGameHost& host)
{
    return RunGameForm<TFormBaseBall>(
        host, QStringLiteral(" 野球対決"), FormBaseBall,
        [&host](TFormBaseBall& form) {
            form.cbAuto->setChecked(host.AutoProgress());
            // Baseball is never part of a match of several games: the menu's box alone decides.
            form.FSetUpOpenStart = host.SetUpOpenStart();
        },
        [&host](TFormBaseBall& form) { host.SetAutoProgress(form.cbAuto->isChecked()); });
}

void RegisterBaseBallGame()
{
    RegisterGameLauncher(gnBaseBall, PlayBaseBall);
}

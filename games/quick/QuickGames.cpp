#include "QuickGames.h"

#include "UnitGolf.h"
#include "UnitPK.h"

quint16 PlayPK(TGameHost& host)
{
    return RunQuickGameForm<TFormPK>(host, QStringLiteral(" ＰＫ対決"), FormPK, [&host](TFormPK& form) {
        form.cbClickHyouji->setChecked(host.SetUpOpenStart());
        form.FSoccerMode = false;
        form.FKickSide = 0;
        form.FMySide = 0;
    });
}

quint16 PlayGolf(TGameHost& host)
{
    return RunQuickGameForm<TFormGolf>(host, QStringLiteral(" ゴルフ対決"), FormGolf);
}

void RegisterQuickGames()
{
    RegisterGameLauncher(gnPK, PlayPK);
    RegisterGameLauncher(gnGolf, PlayGolf);
}

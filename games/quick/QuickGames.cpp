#include "QuickGames.h"

#include "UnitKakure.h"
#include "UnitMato.h"
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

quint16 PlayKakure(TGameHost& host)
{
    return RunQuickGameForm<TFormKakure>(host, QStringLiteral(" かくれんぼ対決"), FormKakure);
}

quint16 PlayMato(TGameHost& host)
{
    return RunQuickGameForm<TFormMato>(host, QStringLiteral(" まと当て対決"), FormMato);
}

void RegisterQuickGames()
{
    RegisterGameLauncher(gnPK, PlayPK);
    RegisterGameLauncher(gnKakure, PlayKakure);
    RegisterGameLauncher(gnMato, PlayMato);
}

#include "QuickGames.h"

#include "UnitGolf.h"
#include "UnitHurdle.h"
#include "UnitKakure.h"
#include "UnitMato.h"
#include "UnitPK.h"
#include "UnitRun.h"

quint16 PlayPK(TGameHost& host)
{
    return RunQuickGameForm<TFormPK>(host, QStringLiteral(" ＰＫ対決"), FormPK, [&host](TFormPK& form) {
        form.cbClickHyouji->setChecked(host.SetUpOpenStart());
        form.FSoccerMode = false;
        form.FKickSide = 0;
        form.FMySide = 0;
    });
}

quint16 PlayRun(TGameHost& host)
{
    return RunQuickGameForm<TFormRun>(host, QStringLiteral(" かけっこ対決"), FormRun);
}

quint16 PlayHurdle(TGameHost& host)
{
    return RunQuickGameForm<TFormHur>(host, QStringLiteral(" ハードル対決"), FormHur);
}

quint16 PlayGolf(TGameHost& host)
{
    return RunQuickGameForm<TFormGolf>(host, QStringLiteral(" ゴルフ対決"), FormGolf);
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
    RegisterGameLauncher(gnRun, PlayRun);
    RegisterGameLauncher(gnHur, PlayHurdle);
    RegisterGameLauncher(gnGolf, PlayGolf);
    RegisterGameLauncher(gnKakure, PlayKakure);
    RegisterGameLauncher(gnMato, PlayMato);
}

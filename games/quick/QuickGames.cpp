#include "QuickGames.h"

#include "UnitGame.h"
#include "UnitPK.h"

#include <memory>

quint16 PlayPK(TFormGame& game)
{
    // The form is freed however its modal run ends, an escaping error included.
    std::unique_ptr<TFormPK> form(new TFormPK(&game));
    FormPK = form.get();
    struct Clear {
        ~Clear() { FormPK = nullptr; }
    } clear;
    form->SetCaption(game.FSeriesName + QStringLiteral(" ＰＫ対決"));
    form->imlMyChara.Assign(game.imlAnime);
    form->FPlayerName = game.FPlayerName;
    form->cbClickHyouji->setChecked(game.cbSetUpOpenStart->isChecked());
    form->FSoccerMode = false;
    form->FKickSide = 0;
    form->FMySide = 0;
    return quint16(form->ShowModal());
}

void RegisterQuickGames()
{
    RegisterGameLauncher(gnPK, PlayPK);
}

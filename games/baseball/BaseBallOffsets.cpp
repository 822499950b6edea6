// The baseball form's picture offsets: where glove, bat and ball sit on each sheet's players, read
// from the offset file when the form is created, changed in "選手画像の調節" and written back after its
// OK. The file keeps one line per sheet that was ever adjusted; a save keeps every other sheet's line.
#include "UnitBaseBall.h"

#include "Dialogs.h"
#include "GameHost.h"
#include "PictureOffsetFile.h"
#include "UnitCryptAccess.h"
#include "UnitPicAdjust.h"

using namespace bb;

namespace {

void warn(QWidget* parent, const QString& text)
{
    MessageBeep(MB_ICONHAND);
    MessageDlg(text, TMsgDlgType::mtWarning, TMsgButtons::OK, parent);
}

QString quotedFileName()
{
    return QLatin1Char('"') + PictureOffsetFileName() + QLatin1Char('"');
}

const QString kForThisGame = QStringLiteral("調節した位置は，このゲームの間だけ使います。");

} // namespace

void TFormBaseBall::LoadPictureOffsets()
{
    const QString dataDir = GameHost().DataDir();
    // Without a data folder there is no sheet folder to keep the file in.
    if (dataDir.isEmpty()) return;
    FOffsetFile = PictureOffsetFileOf(dataDir);
    const QString sheetFolder = dataDir + QStringLiteral("ゲームの選手画像/");
    FPicKeys = {SheetKey(sheetFolder, GameHost().AitePicFile()), SheetKey(sheetFolder, GameHost().MyPicFile())};

    QByteArray bytes;
    if (ReadPictureOffsetFile(FOffsetFile, bytes) != TOffsetRead::Read) return;
    const std::array<TOffsetLookup, 2> found = FindPictureOffsets(bytes, FPicKeys);
    QStringList badLines;
    for (size_t side = 0; side < 2; ++side) {
        const TOffsetLookup& f = found[side];
        if (f.Valid) m_game.Offsets[side] = f.Offsets;
        else if (f.Found && !badLines.contains(QString::number(f.Line))) badLines << QString::number(f.Line);
    }
    m_game.UpdateEquipmentOffsets();
    // One report for the whole file; the sides it concerns keep the usual places.
    if (!badLines.isEmpty())
        warn(this, QStringLiteral("選手画像の調節ファイルの %1 行目が正しくありません。").arg(badLines.join(QStringLiteral("，")))
                       + QStringLiteral("\r\n\r\n") + quotedFileName() + QStringLiteral("\r\n\r\n")
                       + QStringLiteral("この選手画像のグローブ，バット，ボールは，最初の位置に表示します。"));
}

void TFormBaseBall::SavePictureOffsets()
{
    if (FOffsetFile.isEmpty()) return;
    QByteArray old;
    // A file that is there but could not be read is not overwritten: every other sheet's line in it
    // would be lost.
    if (ReadPictureOffsetFile(FOffsetFile, old) == TOffsetRead::Failed) {
        warn(this, QStringLiteral("選手画像の調節ファイルを読めなかったので，保存しませんでした。\r\n\r\n") + quotedFileName()
                       + QStringLiteral("\r\n\r\n") + kForThisGame);
        return;
    }
    std::array<bool, 2> write{};
    QStringList refused;
    for (size_t side = 0; side < 2; ++side) {
        write[side] = KeyStorable(FPicKeys[side]);
        if (!write[side] && !refused.contains(FPicKeys[side])) refused << FPicKeys[side];
    }
    if (!refused.isEmpty())
        warn(this, QStringLiteral("選手画像のファイル名に，調節ファイルに書けない文字があります。\r\n\r\n\"")
                       + refused.join(QStringLiteral("\"\r\n\"")) + QLatin1Char('"')
                       + QStringLiteral("\r\n\r\nこの選手画像の調節は保存しませんでした。") + kForThisGame);
    if (!write[0] && !write[1]) return;
    // A failed write is reported by the helper; the offsets stay as chosen for this game.
    SaveStringToFile(FOffsetFile, MergePictureOffsets(old, FPicKeys, m_game.Offsets, write));
}

void TFormBaseBall::btAdjustClick()
{
    TFormPicAdjust dlg(this);
    // Page 0 is the user's team (side 1), page 1 the computer's (side 0).
    for (int page = 0; page < TFormPicAdjust::kPages; ++page) {
        const size_t side = size_t(1 - page);
        dlg.FMirrorIndex[size_t(page)] = m_game.Teams[side].MirrorOffset();
        dlg.FTeamImages[size_t(page)] = &m_scene.TeamList(int(side));
        for (int item = 0; item < kAdjustItems; ++item) dlg.FPos[size_t(page)][size_t(item)] = AdjustItem(m_game.Offsets[side], item);
        dlg.FInitPos[size_t(page)] = dlg.FPos[size_t(page)];
    }
    dlg.FGloveImages = &m_scene.imlGlove;
    dlg.FBatImages = &m_scene.imlBat;
    dlg.FBallImages = &m_scene.imlBall;
    if (dlg.ShowModal() != mrOk) return;
    for (int page = 0; page < TFormPicAdjust::kPages; ++page)
        for (int item = 0; item < kAdjustItems; ++item)
            AdjustItem(m_game.Offsets[size_t(1 - page)], item) = dlg.FPos[size_t(page)][size_t(item)];
    SavePictureOffsets();
    m_game.UpdateEquipmentOffsets();
    if (isVisible()) DrawScene();
}

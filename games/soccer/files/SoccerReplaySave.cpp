#include "SoccerReplaySave.h"

#include "Dialogs.h"
#include "GameHost.h"
#include "ListItems.h"
#include "MyFileDialogs.h"
#include "Sjis.h"
#include "UnitCryptAccess.h"
#include <QFileInfo>

namespace soccer {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kReplayExt = QStringLiteral("rpz");

void setUpDialog(TMyFileDialog& d, const TReplayFiles& files)
{
    d.DirChangeBox = d.DirCreateBtn = d.DirUpBtn = d.DirPrevBtn = false;
    d.DirEditBox = d.DirEditPath = d.ListMenu = d.ListChangeFN = false;
    d.KeepSize = true;
    d.InitialDir = files.Folder;
    d.Filter = QStringLiteral("過去リプレイ(*.%1)|*.%1").arg(kReplayExt);
    d.DefaultExt = kReplayExt;
}

} // namespace

void SetUpReplayDialogs(TMyOpenDialog& open, TMySaveDialog& save, const TReplayFiles& files)
{
    setUpDialog(open, files);
    open.Title = QStringLiteral("過去リプレイの選択");
    open.Options = ofHideReadOnly | ofFileMustExist | ofEnableSizing;
    open.FileName = files.FReplayFile;
    setUpDialog(save, files);
    save.Title = QStringLiteral("リプレイ手動保存 （リプレイに名前を付けて保存）");
    save.FileName.clear();
    save.OnCanClose = [&save](bool& canClose) { ReplaySaveCanClose(save, canClose); };
}

void ReplaySaveCanClose(const TMySaveDialog& d, bool& canClose)
{
    if (!QFileInfo::exists(d.FileName)) return;
    MessageBeep(MB_ICONEXCLAMATION);
    canClose = MessageDlg(d.FileName + kCrLf + QStringLiteral("ファイルはすでに存在します。上書き保存しますか。"),
                          TMsgDlgType::mtConfirmation, TMsgButtons::YesNo) == idYes;
}

void InstallReplayServices(TSoccerEngine& e, TReplayFiles& files, std::function<QString()> playerName)
{
    e.Svc.SaveReplaySlot = [&e, &files, playerName] { SaveReplaySlot(e, files, playerName ? playerName() : QString()); };
    e.Svc.ReadReplayFile = [&files](QByteArray& bytes) { return files.ReadReplayFile(bytes); };
    e.Svc.ToSjis = [](const QString& s) { return ToSjis(s); };
    e.Svc.FromSjis = [](const QByteArray& b) { return FromSjis(b); };
    e.Svc.Warning = [](const QString& text) {
        MessageBeep(MB_ICONASTERISK);
        MessageDlg(text, TMsgDlgType::mtWarning, TMsgButtons::OK);
    };
}

bool SaveReplaySlot(TSoccerEngine& e, TReplayFiles& files, const QString& playerName)
{
    e.WriteReplayHeader();
    const QString suffix = ReplaySuffix(playerName, e.FStats[0][stGoals], e.FStats[1][stGoals]);
    return files.SaveSlot(e.FReplayStream, suffix);
}

bool SaveReplayManually(TSoccerEngine& e, TMySaveDialog& d, const QString& playerName)
{
    if (d.FileName.isEmpty())
        d.FileName = QStringLiteral("リプレイ手動保存_") + ReplaySuffix(playerName, e.FStats[0][stGoals], e.FStats[1][stGoals]);
    if (!d.Execute()) return false;
    const QString name = CompleteFileExt(d.FileName, kReplayExt);
    if (QFileInfo::exists(name)) {
        MessageBeep(MB_ICONEXCLAMATION);
        if (MessageDlg(QStringLiteral("指定したファイル名はすでに存在します。上書きしてもいいですか。"), TMsgDlgType::mtWarning,
                       TMsgButtons::YesCancel) != idYes)
            return false;
    }
    // Before the result is settled the header still carries the statistics of the scenes' time.
    if (e.ModalResult != 6 && e.ModalResult != 7) e.WriteReplayHeader();
    return SaveStringToFile(name, e.FReplayStream);
}

void InstallReplayLinks(TSoccerEngine& e, TMySaveDialog& d, std::function<QString()> playerName)
{
    ResultLinks().SaveReplayManually = [&e, &d, playerName] { SaveReplayManually(e, d, playerName ? playerName() : QString()); };
    ResultLinks().CanSaveReplay = [&e] { return e.FCanSaveReplay; };
}

void RemoveReplayLinks()
{
    ResultLinks().SaveReplayManually = nullptr;
    ResultLinks().CanSaveReplay = nullptr;
}

bool ChooseReplayFile(TMyOpenDialog& d, TReplayFiles& files)
{
    if (!d.Execute()) return false;
    const QString name = CompleteFileExt(d.FileName, kReplayExt);
    d.FileName = name;
    if (files.ChooseFile(name)) return true;
    MessageBeep(MB_ICONASTERISK);
    MessageDlg(QStringLiteral("リプレイファイルが見つかりません。") + kCrLf + kCrLf + name, TMsgDlgType::mtWarning, TMsgButtons::OK);
    return false;
}

bool StepReplaySlot(TSoccerEngine& e, TReplayFiles& files, int dir)
{
    if (!files.StepSlot(dir)) return false;
    e.OpenPastReplay(true);
    return true;
}

} // namespace soccer

#pragma once
// What the soccer form does with replay files, ready to be called from its handlers: the services the
// engine asks for, the automatic slot save, the manual save from the result window's link
// "ﾘﾌﾟﾚｲ手動保存" with its dialog and questions, and the past replay's file choices.
#include "SoccerEngine.h"
#include "SoccerReplayFiles.h"
#include <functional>

class TMyOpenDialog;
class TMySaveDialog;

namespace soccer {

// The form's start (FormCreate): both dialogs look into the replay folder and show only replay
// files; every switch is off but KeepSize. The open dialog starts at the current replay file, the
// save dialog with no name.
void SetUpReplayDialogs(TMyOpenDialog& open, TMySaveDialog& save, const TReplayFiles& files);
// The save dialog's close check (its OnCanClose): an existing file is taken only after Yes.
void ReplaySaveCanClose(const TMySaveDialog& d, bool& canClose);

// Fills the engine's replay services: the slot save at the end of a decided match (the player's name
// read at that moment), the past replay's file, Shift-JIS labels and the warning box.
void InstallReplayServices(TSoccerEngine& e, TReplayFiles& files, std::function<QString()> playerName);

// The decided match into the next slot: the stream's header rewritten with the final statistics,
// then the slot written. A failure is reported (the result is still reported by the caller).
bool SaveReplaySlot(TSoccerEngine& e, TReplayFiles& files, const QString& playerName);

// "ﾘﾌﾟﾚｲ手動保存": the save dialog (default name "リプレイ手動保存_" + player + score), the extension
// completed, the overwrite question, and the stream written whole. True when saved.
bool SaveReplayManually(TSoccerEngine& e, TMySaveDialog& d, const QString& playerName);
// The result window's link and its condition, while the form exists; cleared when it goes.
void InstallReplayLinks(TSoccerEngine& e, TMySaveDialog& d, std::function<QString()> playerName);
void RemoveReplayLinks();

// F3 and the open button of the past replay: the open dialog; true when another file became the
// current one ("リプレイファイルが見つかりません。" for a name that does not exist). The form then
// calls e.OpenPastReplay with the answer, after Cancel too.
bool ChooseReplayFile(TMyOpenDialog& d, TReplayFiles& files);
// The slot stepper (and Shift with an arrow key): the next or previous slot's file shown; false
// and nothing changed when that slot has no file.
bool StepReplaySlot(TSoccerEngine& e, TReplayFiles& files, int dir);

} // namespace soccer

#pragma once
// What a game asks of the program that runs it. The menu form implements this; tests give a fake.
// Games never reach into the menu form's widgets: the switches, the random service, the team sheets,
// the result report and the window services all come through here.
#include "Canvas.h"
#include "ImageList.h"
#include <QString>
#include <QtGlobal>
#include <functional>

class QWidget;

// Game numbers, as result codes and the game buttons carry them.
enum TGameNo { gnPK = 1, gnKakure = 2, gnRun = 3, gnGolf = 4, gnMato = 5, gnHur = 6, gnBaseBall = 7, gnSoccer = 8, gnKongou3 = 9 };

// Links from the result window into the game still open beneath it; a game fills them while its form
// exists and clears them when it goes.
struct TResultLinks {
    std::function<void()> ShowGameRecord;       // baseball: batting data
    std::function<void()> SaveReplayManually;   // soccer: save the replay by hand
    std::function<bool()> CanSaveReplay;        // soccer: a finished match's replay exists
};
TResultLinks& ResultLinks();

class TGameHost {
public:
    virtual ~TGameHost() = default;

    // The window that owns the game forms (the menu form), or none.
    virtual QWidget* OwnerWindow() = 0;

    // The random service: 0 .. n-1, alternating the two generators in blocks of FRandomBlock draws.
    virtual int GameRandom(int ignored, int n) = 0;
    virtual void SetRandomBlock(int block) = 0;

    // The menu's switches, read when a game form is created and by the launchers.
    virtual bool SoundEffectsOff() const = 0;   // "効果音なし"
    virtual bool CheersOff() const = 0;         // "歓声なし"
    virtual bool AutoProgress() const = 0;      // "自動進行"
    virtual void SetAutoProgress(bool on) = 0;
    virtual bool SetUpOpenStart() const = 0;    // "開始時設定表示"

    // Menu form state that the games read and write.
    virtual bool ManualPlay() const = 0;        // FManualPlay
    virtual void SetManualPlay(bool on) = 0;
    virtual void SetOptionIndex(quint8 index) = 0; // FOptionIndex
    virtual int MatchLength() const = 0;        // FMatchLength
    virtual QString SeriesName() const = 0;     // FSeriesName
    virtual QString PlayerName() const = 0;     // FPlayerName
    virtual QString FontName() const = 0;       // the menu form's font name
    virtual QString DataDir() const = 0;        // FDataDir, with its trailing '/'
    virtual QString ThirdPicFile() const = 0;   // FThirdPicFile
    virtual QString MyPicFile() const = 0;      // FMyPicFile: the user's sheet ('' for the built-in one)
    virtual QString AitePicFile() const = 0;    // FAitePicFile: the opponent's sheet
    virtual const TImageList& CheerFigures() const = 0; // imlAnime: figure k is pictures 2k and 2k + 1

    // Both teams' sheets, the user's first, falling back to the built-in sheets.
    virtual void LoadTeamPictures(TBitmap& mySheet, TBitmap& aiteSheet) = 0;

    // The result protocol: mode bits of the result code, the report (shows the result window
    // modally), and the players that the result window shows.
    virtual quint16 GetModeBits() const = 0;
    virtual void ShowGameResult(quint16 code) = 0;
    virtual void SetResultPlayers(int myIndex, int aiteIndex) = 0;

    // Window services.
    virtual void AdjustFormTop(QWidget* form) = 0;
    virtual void ShowHelp(QWidget* form) = 0;
};

// The host of the running program (the menu form, or a test's fake); null before one is set.
TGameHost* GameHostOrNull();
TGameHost& GameHost();
void SetGameHost(TGameHost* host);

// A launcher creates the game's form owned by the host's window, runs it modally, frees it (also when
// the run ends by an exception) and returns its modal result.
using GameLauncher = std::function<quint16(TGameHost&)>;
// Registers the launcher of a game number 1..8; a game with none has its menu button disabled.
void RegisterGameLauncher(int gameNo, GameLauncher launcher);
bool HasGameLauncher(int gameNo);
// Runs the registered launcher of a game; 0 when there is none.
quint16 LaunchGame(int gameNo, TGameHost& host);
void ClearGameLaunchers();

// The start rule: a game opens its settings at its start when the menu asks for it, except an
// auto-progress game inside a match of several games.
bool OpenSettingsAtStart(const TGameHost& host, bool autoProgress);

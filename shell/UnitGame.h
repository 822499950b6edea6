#pragma once
// The game program's menu form: the main window, the settings the games read, the team pictures,
// and the services the games call (random numbers, placement, help, sheets, results).
#include "Canvas.h"
#include "Clock.h"
#include "Form.h"
#include "ImageList.h"
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <memory>

class SheetLinkServer;
class TMyOpenPictureDialog;

// Game numbers, as result codes and the game buttons carry them.
enum TGameNo { gnPK = 1, gnKakure = 2, gnRun = 3, gnGolf = 4, gnMato = 5, gnHur = 6, gnBaseBall = 7, gnSoccer = 8, gnKongou3 = 9 };

class TFormGame : public Form {
    Q_OBJECT
public:
    explicit TFormGame(QWidget* parent = nullptr);
    ~TFormGame() override;

    // Components.
    QLabel* Label1;
    QPushButton *bbPK, *bbKakure, *bbRun, *bbGolf, *bbMato, *bbHur, *bbBaseBall, *bbSoccer, *bbKongou3;
    QLabel *imPK, *imKakure, *imRun, *imGolf, *imMato, *imHur, *imBaseBall, *imSoccer, *imKongou3;
    QLabel *Label4, *Label2, *Label3;
    QLineEdit *edMyPic, *edAitePic;
    QPushButton *btMyPic, *btAitePic;
    QPushButton* bbPlayer;
    QCheckBox *cbSetUpOpenStart, *cbAuto, *cb2, *cb3, *cb1;
    QLabel *Label5, *Label6;
    QPushButton* btClose;
    TImageList imlAnime{70, 70};
    GameTimer* tmAutoClose;
    TMyOpenPictureDialog* opd1 = nullptr;

    // State that the games read and write.
    bool FMatchDecided = false;
    QString FReceivedFileName;
    int FRandomCount = 0;
    QString FHelpFile;
    QString FSeriesName;
    QString FPlayerName;
    QString FMyPicFile;
    QString FAitePicFile;
    QString FThirdPicFile;
    QString FDataDir;
    QString FPresentedBy;
    bool FManualPlay = true;
    quint8 FOptionIndex = 0;
    int FGameNo = 0;
    int FMatchLength = 1;
    int FWinCount = 0;
    int FLoseCount = 0;
    int FRandomBlock = 0;

    // Launchers: each returns the game form's modal result.
    quint16 PlayPK();
    quint16 PlayKakure();
    quint16 PlayRun();
    quint16 PlayGolf();
    quint16 PlayMato();
    quint16 PlayHurdle();
    quint16 PlayBaseBall();
    quint16 PlaySoccer();

    // Services of the games.
    int GameRandom(int ignored, int n);
    int PickRandom(int n);
    void AdjustFormTop(QWidget* form);
    void ShowHelp(QWidget* form);
    void LoadTeamPictures(TBitmap& mySheet, TBitmap& aiteSheet);
    void MirrorBitmap(const TBitmap& src, TBitmap& dst);
    void RotateBitmap(const TBitmap& src, int angleDeg, TColor bgColor, TBitmap& dst);
    QString CompleteFileExt(const QString& fileName, const QString& extList);
    quint16 GetModeBits() const;
    QString ResultCodeText(quint16 code, int digits) const;
    void ShowGameResult(quint16 code);

    // The game program's message from the editor (dwData, bytes); answers 1 when taken.
    int WMCopyData(quint32 dwData, const QByteArray& data);
    // Starts listening for the editor's messages.
    void ListenForEditor();

    // Handlers.
    void btCloseClick();
    void tmAutoCloseTimer();
    void bbPKClick();
    void bbKakureClick();
    void bbRunClick();
    void bbGolfClick();
    void bbMatoClick();
    void bbHurClick();
    void bbBaseBallClick();
    void bbSoccerClick();
    void bbKongou3Click();
    void btMyPicClick();
    void btAitePicClick();
    void cb2Click();
    void bbPlayerClick();

protected:
    void FormCreate();
    void FormShow() override;
    void FormKeyDown(Word& key, TShiftState shift) override;

private:
    void playSingle(int gameNo, quint16 (TFormGame::*launcher)());
    void chooseTeamPicture(bool mine);
    quint16 launch(int gameNo);
    std::unique_ptr<SheetLinkServer> m_link;
};

extern TFormGame* FormGame;

// A launcher creates the game's form owned by the menu, runs it modally and frees it (see each game).
using GameLauncher = std::function<quint16(TFormGame&)>;
// Registers the launcher of a game number 1..8; a game with none has its button disabled.
void RegisterGameLauncher(int gameNo, GameLauncher launcher);
bool HasGameLauncher(int gameNo);
void ClearGameLaunchers();

// Creates the three forms that live for the whole run, in start-up order (menu, chooser, result
// window), into FormGame, FormJusinFNSelect and FormGameWinMes; DestroyShellForms frees them (tests).
void CreateShellForms();
void DestroyShellForms();

// The sheet file name that the menu shows for a path.
QString SheetDisplayName(const QString& path);

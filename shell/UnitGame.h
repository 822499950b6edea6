#pragma once
// The game program's menu form: the main window, the settings the games read, the team pictures,
// and the services the games call (random numbers, placement, help, sheets, results).
#include "Canvas.h"
#include "Clock.h"
#include "Form.h"
#include "GameHost.h"
#include "ImageList.h"
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <memory>

class SheetLinkServer;
class TMyOpenPictureDialog;

class TFormGame : public Form, public TGameHost {
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

    // Services of the games (the games' host).
    QWidget* OwnerWindow() override { return this; }
    int GameRandom(int ignored, int n) override;
    void SetRandomBlock(int block) override { FRandomBlock = block; }
    int PickRandom(int n);
    bool SoundEffectsOff() const override { return cb2->isChecked(); }
    bool CheersOff() const override { return cb3->isChecked(); }
    bool AutoProgress() const override { return cbAuto->isChecked(); }
    void SetAutoProgress(bool on) override { cbAuto->setChecked(on); }
    bool SetUpOpenStart() const override { return cbSetUpOpenStart->isChecked(); }
    bool ManualPlay() const override { return FManualPlay; }
    void SetManualPlay(bool on) override { FManualPlay = on; }
    void SetOptionIndex(quint8 index) override { FOptionIndex = index; }
    int MatchLength() const override { return FMatchLength; }
    QString SeriesName() const override { return FSeriesName; }
    QString PlayerName() const override { return FPlayerName; }
    QString FontName() const override { return Font.Name; }
    QString DataDir() const override { return FDataDir; }
    QString ThirdPicFile() const override { return FThirdPicFile; }
    QString MyPicFile() const override { return FMyPicFile; }
    QString AitePicFile() const override { return FAitePicFile; }
    const TImageList& CheerFigures() const override { return imlAnime; }
    void SetResultPlayers(int myIndex, int aiteIndex) override;
    void AdjustFormTop(QWidget* form) override;
    void ShowHelp(QWidget* form) override;
    void LoadTeamPictures(TBitmap& mySheet, TBitmap& aiteSheet) override;
    QString CompleteFileExt(const QString& fileName, const QString& extList);
    quint16 GetModeBits() const override;
    QString ResultCodeText(quint16 code, int digits) const;
    void ShowGameResult(quint16 code) override;

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
    std::unique_ptr<SheetLinkServer> m_link;
};

extern TFormGame* FormGame;

// Creates the three forms that live for the whole run, in start-up order (menu, chooser, result
// window), into FormGame, FormJusinFNSelect and FormGameWinMes; DestroyShellForms frees them (tests).
void CreateShellForms();
void DestroyShellForms();

// The sheet file name that the menu shows for a path.
QString SheetDisplayName(const QString& path);

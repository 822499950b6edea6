#pragma once
// The penalty shoot-out (game 1): the teams take turns at penalty kicks, five each, then sudden death;
// the user aims when his team kicks and keeps goal when the opponent kicks. The same form plays one
// single penalty kick for the soccer game (FSoccerMode).
#include "PKRules.h"
#include "QuickGame.h"

class TFormPK : public TQuickGameForm {
    Q_OBJECT
public:
    explicit TFormPK(QWidget* owner);
    ~TFormPK() override;

    static const TQuickGameTable& Row();

    // Components of the PK form.
    TBitmap imHaikei;  // the goal picture (470 x 480)
    TBitmap imKumo;    // the cloud strip, transparent
    TImageList imlBall{30, 30};
    QCheckBox* cbClickHyouji;

    // Interface fields, shared with the rules.
    bool& FSoccerMode;
    int& FKickSide;
    int& FMySide;
    int& FKickDir;
    int& FAimDir;
    int& FKeeperDir;
    int FMyPlayerIndex = 0;   // single-kick mode: the players that take part
    int FAitePlayerIndex = 0;

    TPKMatch& Match() { return m_match; }
    const TPKMatch& Match() const { return m_match; }

    // The user's zone (-1 left, 0 centre, +1 right), as a click or the keys 1 to 3 give it.
    void ChooseDirection(int dir);
    void DrawScene() override;

protected:
    void MakeTeamImages() override;
    void GameReset() override;
    void GameTick() override {}
    void Tick() override;
    bool MyTeamDecidedWinner() const override { return m_match.Result == 2; }
    void GameKeyDown(Word& key, TShiftState shift) override;
    void imOmoteMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void imOmoteMouseMove(TShiftState shift, int x, int y) override;
    QString OpeningSound() const override;
    bool CentreHorizontally() const override { return !m_match.FSoccerMode; }
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(Word& key, TShiftState shift) override;

private:
    void refreshHover();
    void dropPendingInput();
    void finish();
    void drawActor(const TPKActor& a, int dy = 0);
    void drawFigures();
    void makeSprites();
    int userDir() const;

    TPKMatch m_match;
    int m_cloudX = 0;
    bool m_dropKey = false;
    bool m_dropMouse = false;
    TBitmap m_ballShadow, m_markGoal, m_markMiss;
};

extern TFormPK* FormPK;

#pragma once
// The target kick (game 5): targets cross the top of the field from right to left; both teams kick
// balls at the point on their line where a target may be met. The user kicks with a click or Enter;
// the computer kicks when a target comes into its window, and plays the user's side too under
// auto-progress.
#include "MatoRules.h"
#include "QuickGame.h"

class TFormMato : public TQuickGameForm {
    Q_OBJECT
public:
    explicit TFormMato(QWidget* owner);
    ~TFormMato() override;

    static const TQuickGameTable& Row();

    // Components of the target kick form.
    TBitmap imMato;     // the field with the targets' wire
    TBitmap imFlower1, imFlower2;
    TImageList imlMato{65, 72};  // targets by kind
    TImageList imlBall{20, 20};  // my balls (two frames)
    TImageList imlBallB{20, 20}; // the opponent's balls

    mato::TMatoGame& Game() { return m_game; }
    const mato::TMatoGame& Game() const { return m_game; }

    // The user's kick, as a click on the field or Enter gives it.
    void Kick();
    void DrawScene() override;
    // Where a ball is drawn: its flight is shown as a lob over the ground track (x, y).
    static int DrawnBallY(int team, int x, int y, int state);

protected:
    void MakeTeamImages() override;
    void GameReset() override;
    void GameTick() override;
    bool MyTeamDecidedWinner() const override { return m_game.Winner == 0; }
    void OptionTaken(int value) override { m_game.WinPoint = value; }
    void GameKeyDown(Word& key, TShiftState shift) override;
    void imOmoteMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void drawPlay();
    void drawFigures();
    void drawScores();
    void makeSprites();

    mato::TMatoGame m_game;
    TBitmap m_ballShadow;
    TBitmap m_targetShadow[3];
};

extern TFormMato* FormMato;

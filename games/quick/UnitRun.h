#pragma once
// The running race (game 3): my runner and the opponent's go round an oval track for the chosen
// number of laps. At each of the 15 boundaries of a lap the user picks one of two numbered boxes by
// clicking it or with the keys 1 and 2; the box with the dash doubles the runner's speed for the
// section that begins there.
#include "RaceCommon.h"
#include "RaceRules.h"

class TFormRun : public TRaceForm<run::TRunRace> {
    Q_OBJECT
public:
    explicit TFormRun(QWidget* owner);
    ~TFormRun() override;

    static const TQuickGameTable& Row();

    // Pictures of the form.
    TBitmap imHaikei;              // the track
    TBitmap imNumber1, imNumber2;  // the number plates of box 1 and box 2

    void DrawScene() override;

protected:
    void GameReset() override;
    void GameTick() override;
    void OptionTaken(int value) override { m_race.SetLaps(value); }
    void GameKeyDown(Word& key, TShiftState shift) override;
    void imOmoteMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void paintPlates();
    void drawOpening();
    void drawFigures();
    void drawStatus();
    void drawChoices();
    void drawRunner(int who);

    TBitmap m_track; // the track, with the plates once the race is under way
};

extern TFormRun* FormRun;

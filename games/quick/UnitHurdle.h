#pragma once
// The hurdle race (game 6): my runner in the front lane and the opponent's in the back lane run side
// by side while the course scrolls under them. A click or Enter makes my runner jump; the jump's
// timing decides whether a hurdle is cleared cleanly, cleared, or knocked down. After the last
// hurdle both sprint to the finish.
#include "HurdleRules.h"
#include "RaceCommon.h"

class TFormHur : public TRaceForm<hur::THurdleRace> {
    Q_OBJECT
public:
    explicit TFormHur(QWidget* owner);
    ~TFormHur() override;

    static const TQuickGameTable& Row();

    // Pictures of the form.
    TBitmap imHaikei;                 // the track
    TBitmap imStart, imHaikeiGoal;    // the start and finish areas
    TBitmap imHurdle1, imHurdleD1;    // the front lane's hurdle, standing and knocked
    TBitmap imHurdle2, imHurdleD2;    // the back lane's
    TBitmap imFlower1, imFlower2;

    void DrawScene() override;

protected:
    void GameReset() override;
    void GameTick() override;
    void OptionTaken(int value) override { m_race.DrawPlans(value); }
    void GameKeyDown(Word& key, TShiftState shift) override;
    void imOmoteMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void drawRecord(const hur::TRecord& r);
    void drawRunner(int who);
    void drawFigures();
    void drawOpening();
};

extern TFormHur* FormHur;

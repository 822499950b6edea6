#pragma once
// Putting golf (game 4): on each hole a new green with two hills and a cup; the teams putt in turn
// from the same tee at the same strength, and the first ball in the cup wins the hole. The user aims
// by dragging on the green or with the keys 1 and 3, and putts by releasing the button, Enter or 2.
#include "GolfRules.h"
#include "QuickGame.h"

// A geometric pen: a solid brush of its colour with round caps and joins, dashed or solid.
struct TGolfPen {
    int Width = 1;
    TColor Color = clBlack;
    TPenStyle Style = TPenStyle::psSolid;
};

class TFormGolf : public TQuickGameForm {
    Q_OBJECT
public:
    explicit TFormGolf(QWidget* owner);
    ~TFormGolf() override;

    static const TQuickGameTable& Row();

    // Pictures of the scene.
    TBitmap imGround, imHata, imPatter, imQuiet, imMount0, imMount1;
    TImageList imlBall{14, 14}; // four rolling frames, then the small ball of the putt count

    golf::TGolfMatch& Match() { return m_match; }
    const golf::TGolfMatch& Match() const { return m_match; }

    static TGolfPen MakePen(int width, TColor color, TPenStyle style);
    void DrawScene() override;

    // Where the scene puts its pieces.
    static constexpr int kMarksX = 300, kMarksY = 526; // the hole marks, a line per team
    static constexpr int kBannerY = 150;
    static constexpr int kHoleTitleY = 236;
    static constexpr int kCheerY = 320;

protected:
    void MakeTeamImages() override;
    void GameReset() override;
    void GameTick() override;
    bool MyTeamDecidedWinner() const override { return m_match.FResult == 0; }
    void OptionTaken(int value) override { m_match.FHolesToWin = value; }
    void OpeningEnded() override { m_match.BeginPlay(); }
    void GameKeyDown(Word& key, TShiftState shift) override;
    void imOmoteMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void imOmoteMouseMove(TShiftState shift, int x, int y) override;
    void imOmoteMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void drawOpening();
    void drawGreen();
    void drawAimLine();
    void drawTeeArea();
    void drawMarks();
    void drawHoleEnd();
    void outlinedText(int x, int y, const QString& text, TColor face, TColor edge);
    void penLine(const TGolfPen& pen, QPoint from, QPoint to);
    void makeCup();

    golf::TGolfMatch m_match;
    int m_ballFrame = 0;
    TBitmap m_cup;
};

extern TFormGolf* FormGolf;

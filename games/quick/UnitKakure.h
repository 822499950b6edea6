#pragma once
// Hide-and-seek (game 2): my hider walks the path and picks a box by click or digit, the opponent
// hides too, birds may carry boxes off, and the seeker (a player of the third sample sheet) goes to
// one box. Finding the opponent wins the game, finding my hider loses it; an empty box goes.
#include "KakureRules.h"
#include "QuickGame.h"
#include "Region.h"

// The bird picture file in the data folder, and its size on the field.
extern const QString kBirdFileName;
constexpr int kBirdWidth = 140, kBirdHeight = 90;
// The bird picture: the file stretched to the bird's size, or the built-in bird when the file is
// missing, not a regular file or not a picture. True when the file was used.
bool LoadBirdPicture(const QString& path, TBitmap& bird);

class TFormKakure : public TQuickGameForm {
    Q_OBJECT
public:
    explicit TFormKakure(QWidget* owner);
    ~TFormKakure() override;

    static const TQuickGameTable& Row();

    // Components of the hide-and-seek form.
    TImageList imlC{70, 70};        // the seeker
    TImageList imlLargeA{110, 110}, imlLargeB{110, 110};
    TImageList imlSmallA{40, 40}, imlSmallB{40, 40};
    TBitmap imHaikei, imBox, imFlower1, imFlower2, imWarp;
    TBitmap Birds[2];               // 140 x 90, transparent

    kakure::TKakureGame& Game() { return m_game; }
    const kakure::TKakureGame& Game() const { return m_game; }

    void DrawScene() override;

protected:
    void MakeTeamImages() override;
    void GameReset() override;
    void GameTick() override;
    void Tick() override;
    bool MyTeamDecidedWinner() const override { return m_game.Result == kakure::krAiteFound; }
    void GameKeyDown(Word& key, TShiftState shift) override;
    void imOmoteMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    struct Look {
        const TImageList* list;
        int x, y, size;
    };
    // Where a walker's picture is drawn (large and small hiders too), and its frame.
    Look lookOf(int walker, int dx = 0, int dy = 0) const;
    int frameOf(int walker) const;
    bool inFront(int walker) const;
    void drawOpening();
    void drawWalker(int walker, int baseDy);
    void drawWalkerAt(int walker, int frame, int dx, int dy, bool shadow);
    void drawDance(int walker, int baseDy);
    void drawWalkers();
    void drawBox(int box);
    void drawBirds();
    void drawFigures();
    void drawSpeeches();
    // A text over a walker's picture, black with a white outline.
    void DrawSpeech(int walker, const QString& text, int dy);
    void drawShadowSized(int x, int y, int size);
    bool boxInPlace(int box) const;
    void makeBoxPictures();
    void makeSprites();
    void loadSeeker();

    kakure::TKakureGame m_game;
    TRegion m_upperBoxes[4];
    TBitmap m_boxPics[kakure::kBoxCount][2]; // plain, and picked by the user
    bool m_boxDrawn[kakure::kBoxCount] = {};
    TBitmap m_shadows[3]; // under small, normal and large walkers
    TBitmap m_footprint;
};

extern TFormKakure* FormKakure;

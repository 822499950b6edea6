#pragma once
// The picture of a baseball game: the ballpark with its scoreboard, the right-hand panel with the
// score, the outs, both batting orders and the course panel, the players with glove, bat and ball, the
// calls and the opening title. It draws a TBaseBallGame into a back buffer; what changes only between
// plays (the boards and the batting orders) is kept drawn and redrawn only when it changes.
#include "BaseballGame.h"
#include "Canvas.h"
#include "ImageList.h"
#include <QString>
#include <array>
#include <vector>

// What the form adds to the game's state.
struct TSceneOptions {
    bool ShowComCourse = false; // "相手選択番号表示"
    bool ShowData = false;      // "攻撃データ表示"
    qint64 GameTimeMs = 0;
    QString Title;              // the window caption, shown during the opening
};

class TBaseBallScene {
public:
    TBaseBallScene();

    // The pictures.
    TBitmap imHaikei;                 // the ballpark and the panel (792 x 590)
    TImageList imlA{70, 70};          // side 0, the computer's team
    TImageList imlB{70, 70};          // side 1, the user's team
    TImageList imlBall{29, 29};       // the ball by height
    TImageList imlBat{100, 100};      // the bat: at rest, then the swing
    TImageList imlGlove{17, 17};
    TImageList imlHantei{88, 34};     // calls by play kind: hit, walk, out, strikeout, foul
    std::array<TBitmap, 3> imHomeRun; // "ホームラン", "満塁ホームラン", "サヨナラホームラン"
    TBitmap imBatMark, imBatMark2;    // power marks of the batting order

    TImageList& TeamList(int side) { return side == 0 ? imlA : imlB; }
    // Fills a side's list from its sheet by the game's picture map: each player's two frames, then
    // all of them mirrored.
    void MakeTeamList(int side, const TBitmap& sheet, const bb::TTeamPictures& map);

    void SetFontName(const QString& name);
    // Renders a whole frame.
    void Draw(const bb::TBaseBallGame& g, const TSceneOptions& o);
    const TBitmap& BackBuffer() const { return m_back; }
    TBitmap& BackBuffer() { return m_back; }

private:
    // The parts that change only between plays, over the ballpark.
    void refreshBoards(const bb::TBaseBallGame& g);
    std::vector<int> boardKey(const bb::TBaseBallGame& g) const;
    void drawLineScore(const bb::TBaseBallGame& g);
    void drawScorePanel(const bb::TBaseBallGame& g);
    void drawBattingOrders(const bb::TBaseBallGame& g);
    // The course panel: faces drawn once per state and copied each frame.
    void makeCourseFaces();
    void drawCoursePanel(const bb::TBaseBallGame& g, const TSceneOptions& o);
    void drawActors(const bb::TBaseBallGame& g);
    void drawBall(const bb::TBaseBallGame& g);
    void drawCalls(const bb::TBaseBallGame& g);
    // The batting-data panel, the whole line score of a long game and the end banner
    // (BaseBallBoards.cpp).
    void drawData(const bb::TBaseBallGame& g, const TSceneOptions& o);
    void drawFullLineScore(const bb::TBaseBallGame& g);
    void drawEndBanner(const bb::TBaseBallGame& g);
    void drawOpening(const TSceneOptions& o);
    void makeTitle(const QString& title);
    void text(TCanvas& c, int x, int y, const QString& s, int pixels, TColor color, bool bold = false);
    void centredText(TCanvas& c, int left, int right, int y, const QString& s, int pixels, TColor color, bool bold = false);

    QString m_fontName = QStringLiteral("ＭＳ ゴシック");
    TBitmap m_back;
    TBitmap m_boards;
    std::vector<int> m_boardKey;
    // Faces per course button (0-9, 10 the tag-up button) and state; course 0 has a face per role.
    enum TFaceState { fsNormal, fsHover, fsMine, fsCom, fsBoth, kFaceStates };
    std::array<std::array<TBitmap, kFaceStates>, 11> m_faces;
    std::array<TBitmap, kFaceStates> m_buntFaces; // course 0 when the user bats ("送りﾊﾞﾝﾄ")
    TBitmap m_ballCall;                           // "ボール"
    TBitmap m_title;
    QString m_titleText;
    TBitmap m_endBanner;
    QString m_endBannerText;
};

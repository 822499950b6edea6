#pragma once
// The picture of a soccer match: the two teams' player pictures and the whole scene drawn from the
// engine's state into an 863 x 570 back buffer, layer by layer (the pitch, the goals, the operation
// buttons, the scoreboard, the period and its time bar, the goal list, the pass line, the players and
// the ball by depth, the shot trace, the markers, the messages and the opening title). What changes
// rarely is kept drawn: the pitch, the buttons' faces, the texts with their sizes and the turned
// pictures of fallen and sliding players.
#include "Canvas.h"
#include "ImageList.h"
#include "SoccerRecords.h"
#include <QHash>
#include <QImage>
#include <QString>
#include <array>
#include <map>
#include <vector>

class QPainter;

namespace soccer {

// What the form adds to the engine's state.
struct TSoccerViewOptions {
    QString Title;              // the window caption, the opening's title
    bool ShowPlayers = true;    // "選手": the pictures, else framed boxes
    bool ShowTrace = false;     // "ｼｭｰﾄ軌跡", enabled and checked
    bool ReplayChosen = false;  // the past replay has a file
    int ReplaySlot = 0;
    QString LatestSlotText;
    QString ReplayLabel;
};

// Channels mixed towards C2 by F: f := Round(F * 256), each channel (f * c2 + (255 - f) * c1) div 255.
TColor BlendColor(TColor c1, TColor c2, double f);

class TSoccerView {
public:
    TSoccerView();

    TImageList imlA{70, 70};        // team 0: player i standing 2i, moving 2i + 1; then all mirrored
    TImageList imlB{70, 70};        // team 1
    TImageList imlBall{23, 23};     // at rest, rolling (two), fast to the right, fast to the left
    TImageList imlFire{30, 30};     // the shot flame of each team
    TBitmap imChance0, imChance1;   // balloons beside a player on his right and on his left
    TBitmap PKBmp, GoalBmp;
    int PlayerCount[2] = {1, 1};    // sheet players per team (at most 7)

    // Fills a team's list from its sheet: the players of `order` (at most seven), both frames, then
    // all of them mirrored.
    void MakeTeamImages(int team, const TBitmap& sheet, const std::vector<int>& order);
    // The scoreboard's top band: 0 aqua, 1 light yellow, 2 light green.
    void SetBoardColour(int which);
    void SetFontName(const QString& name);

    // Draws one frame. Only the goals' shaking counters and the picture caches change.
    void Draw(TSoccerState& s, const TSoccerViewOptions& o);
    const TBitmap& BackBuffer() const { return m_back; }
    // Where a match's goal label n stands (its text's size in the label font).
    QRect LabelRect(int n, const QString& label);

private:
    // Texts drawn once and kept with their sizes: aliased glyphs on a clear ground.
    struct TTextKey {
        QString text;
        int px;
        bool bold;
        QRgb colour;
        bool operator==(const TTextKey& o) const = default;
    };
    friend size_t qHash(const TTextKey& k, size_t seed) { return qHashMulti(seed, k.text, k.px, k.bold, k.colour); }
    const QImage& text(const QString& s, int px, TColor colour, bool bold = false);
    QSize textSize(const QString& s, int px, bool bold = false);
    void drawText(QPainter& p, int x, int y, const QString& s, int px, TColor colour, bool bold = false);
    void drawCentred(QPainter& p, int cx, int y, const QString& s, int px, TColor colour, bool bold = false);

    // Layers.
    void drawBackground();
    void drawGoals(QPainter& p, TSoccerState& s);
    void drawButtons(QPainter& p, const TSoccerState& s);
    void drawScoreboard(QPainter& p, const TSoccerState& s);
    void drawPeriod(QPainter& p, const TSoccerState& s);
    void drawGoalList(QPainter& p, const TSoccerState& s);
    void drawPassLine(QPainter& p, const TSoccerState& s);
    void drawActors(QPainter& p, const TSoccerState& s, const TSoccerViewOptions& o);
    void drawPlayer(QPainter& p, const TSoccerState& s, int team, int player, bool showPictures);
    void drawBall(QPainter& p, const TSoccerState& s);
    void drawTrace(QPainter& p, const TSoccerState& s, const TSoccerViewOptions& o);
    void drawMarkers(QPainter& p, const TSoccerState& s);
    void drawQuestion(QPainter& p, const TSoccerState& s);
    void drawMessages(QPainter& p, const TSoccerState& s);
    void drawBalloon(QPainter& p, const TSoccerState& s, int kind, const QString& text);
    void drawOpening(QPainter& p, const TSoccerViewOptions& o);

    void makeButtonFaces();
    // A player's picture turned for a fall or a slide (frame 1 lying), kept once made.
    const QImage& turned(int team, int player, int fallDir, int frame);
    const QImage& sprite(int team, int index) const;

    QString m_fontName = QStringLiteral("ＭＳ ゴシック");
    TBitmap m_back;
    QImage m_pitch;                 // the pitch picture, rows from y 95 used
    QImage m_goalFrame[2];          // the goal frames, left and right
    QImage m_ball[5], m_fire[2], m_chance[2], m_pk, m_goalBanner;
    std::vector<QImage> m_sprites[2]; // the team lists' pictures with a clear ground
    std::map<int, QImage> m_turned;
    TColor m_boardColour = clAqua;
    // Button faces: [own colours, light colours][loop, defence][normal, lit]. The computer's pair is
    // always light; the user's turns light while the computer plays for him.
    QImage m_buttons[2][2][2];
    QImage m_hatch[2];              // the net's diagonal cross pattern, white and red
    QHash<TTextKey, QImage> m_texts;
    QHash<TTextKey, QSize> m_sizes;
};

} // namespace soccer

#pragma once
// The skeleton that every quick game shares: a fixed-size window with one paint box and a back
// buffer, a timer that first plays an opening and then steps the game, the one option that may only
// change during the opening, the optional auto-progress box, the keys, the team pictures and the
// result report. A game supplies its row of TQuickGameTable, its rules, its drawing and its input.
#include "Canvas.h"
#include "GameForm.h"
#include "GameHost.h"
#include "ImageList.h"
#include "OptionCombo.h"
#include "SheetLoader.h"
#include "Sound.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// How the quick game forms differ.
struct TQuickGameTable {
    int GameNo = 0;
    int RandomBlock = 0;
    int Interval = 100;     // ms of Timer1
    int OpeningTicks = 0;   // length of the opening, in ticks
    QSize FieldSize;        // imOmote, at (0, 0)
    QSize ClientSize;       // the fixed window
    // The option combo; no label means the game has none.
    QString OptionLabel;
    QStringList OptionItems;
    std::vector<int> OptionValues;
    int DefaultItem = 0;
    QString OptionRefusal;  // the warning when the option is changed after the opening
    bool HasAuto = false;   // the "自動進行" box
    bool SwallowWheel = false;
    bool SleepAtOpeningEnd = true;
    bool DrawOnShow = true;     // false: the first scene waits for the first tick
    bool RedrawOnPaint = false; // the scene is drawn again when the window system repaints the field
};

class TQuickGameForm : public TGameForm {
    Q_OBJECT
public:
    TQuickGameForm(QWidget* owner, const TQuickGameTable& table);
    ~TQuickGameForm() override;

    const TQuickGameTable& Table() const { return m_table; }

    // Components.
    TImageList imlA{70, 70}, imlB{70, 70};
    TImageList imlMyChara{70, 70};
    QLabel* Label1 = nullptr;
    TOptionCombo* cobOption = nullptr;
    QCheckBox* cbAuto = nullptr;

    // The option value taken during the opening (from the table's values).
    int OptionValue() const { return m_optionValue; }
    bool Opening() const { return m_opening; }
    int TickCount() const { return m_tickCount; }
    const TBitmap& BackBuffer() const { return m_back; }

    // Handlers.
    void Timer1Timer();
    void cobOptionClick();
    void cbAutoClick();

    // The result code of this game as the menu form counts it.
    quint16 ResultCode(bool won) const;


protected:
    // What each game supplies.
    virtual void MakeTeamImages() = 0;
    // Resets the game state at FormShow, after the goal banner is loaded.
    virtual void GameReset() = 0;
    // One tick of play after the opening.
    virtual void GameTick() = 0;
    virtual void DrawScene() = 0;
    // An early close reports a win only when this holds.
    virtual bool MyTeamDecidedWinner() const = 0;
    // The option's value was taken during the opening.
    virtual void OptionTaken(int /*value*/) {}
    // The opening has just ended (after the frame's own work, before the pause).
    virtual void OpeningEnded() {}
    // One tick; by default the opening as the frame plays it, then GameTick.
    virtual void Tick();
    // Keys that the frame leaves to the game (digits, Enter, PK's F2); clear key to consume it.
    virtual void GameKeyDown(Word& /*key*/, TShiftState /*shift*/) {}
    virtual void imOmoteMouseDown(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/) {}
    virtual void imOmoteMouseMove(TShiftState /*shift*/, int /*x*/, int /*y*/) {}
    virtual void imOmoteMouseUp(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/) {}
    // The sound at FormShow.
    virtual QString OpeningSound() const { return QStringLiteral("OPENING"); }
    // Whether FormShow centres the window horizontally.
    virtual bool CentreHorizontally() const { return true; }

    // Ends the opening: flag off, auto box and option into the menu form, counter 0, a short pause.
    void EndOpening();
    void SetOpening(bool on) { m_opening = on; }
    void SetTickCount(int n) { m_tickCount = n; }
    // Ends the game: timer off, result report, modal result (won: mrYes, lost: mrNo).
    void EndGame(bool won);
    // Effects obey the sound switch, the crowd cheer the cheer switch.
    bool PlayEffect(const QString& name, unsigned flags = SndAsync);
    bool PlayCheer(unsigned flags = SndAsync);
    // Copies the back buffer onto imOmote and shows it.
    void ShowBackBuffer();
    // Loads both teams' sheets (mine first).
    static void LoadSheets(TBitmap& mine, TBitmap& aite);
    // The option list is open: Enter and clicks belong to it, not to the play field.
    bool OptionListOpen() const { return cobOption && cobOption->DroppedDown(); }

    // Scene pieces that the games share (see QuickScene.cpp).
    // The result window shows these players of each team.
    static void ShowResultPlayers(int myIndex, int aiteIndex);
    // Cuts a strip of equal pictures (a built-in bitmap) into an image list of their size.
    static void LoadPictureStrip(TImageList& list, const QString& resource);
    // A built-in picture drawn with pure white showing through; a missing one is blank, of the size
    // given (or empty without one).
    static void LoadSprite(TBitmap& bmp, const char* resource, QSize ifMissing = QSize());
    // An ellipse filling w x h on pure white that shows through (shadows, marks).
    static void MakeEllipseSprite(TBitmap& bmp, int w, int h, TColor fill, TColor edge);
    // Copies a picture of the field's size into the back buffer, row by row.
    void CopyToBack(const TBitmap& picture);
    // A grey shadow under a 70 x 70 figure drawn at (x, y).
    void DrawShadow(int x, int y);
    // Cheering figure k (pictures 2k and 2k + 1 of imlMyChara) at (x, y); figures shown: k < count.
    int CheerFigureCount() const { return imlMyChara.Count() / 2; }
    void DrawFigure(int k, int x, int y, int frame, int dy = 0);
    // Jumping (10 px up on phase 1) with a sparkle jittered by the random service beside it.
    void DrawFigureJumping(int k, int x, int y, int phase);
    // Standing with the disappointment mark.
    void DrawFigureSad(int k, int x, int y);
    // The caption as a title: outlined in yellow around a blue face, made once at the given size.
    void MakeTitle(int points);
    // The title centred across the field, its face at y.
    void DrawTitle(int faceY);
    // The goal banner at (x, y): it slides in as the caller moves x.
    void DrawGoalBanner(int x, int y);

    // Reaction marks (0 disappointment, 1 sparkle) and flames (0, 1), as every quick game shows them.
    TImageList imlEffect{20, 30};
    TImageList imlFire{30, 30};

    void FormShow() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(Word& key, TShiftState shift) override;
    bool eventFilter(QObject* o, QEvent* e) override;

    TBitmap m_back;
    TBitmap m_goalBmp;
    TBitmap m_title;
    TBitmap m_shadow;

private:
    bool comboFocused() const;
    void pauseOrResume();
    void buildOptionRow();
    void makeShadow();
    TQuickGameTable m_table;
    bool m_opening = false;
    int m_tickCount = 0;
    int m_optionValue = 0;
};

// The launcher of a quick game: creates the form owned by the host's window into the game's global,
// gives it the caption, the cheering figures and the player name, copies the menu's auto-progress
// into the form's box and applies the start rule where the form has them, lets the game set what is
// its own, runs the form modally, copies the auto-progress back, and frees the form however the run
// ends.
template <class TForm>
quint16 RunQuickGameForm(TGameHost& host, const QString& captionSuffix, TForm*& global,
                         const std::function<void(TForm&)>& before = {})
{
    return RunGameForm<TForm>(
        host, captionSuffix, global,
        [&](TForm& form) {
            form.imlMyChara.Assign(host.CheerFigures());
            if (form.cbAuto) form.cbAuto->setChecked(host.AutoProgress());
            if (form.cobOption)
                form.FSetUpOpenStart = OpenSettingsAtStart(host, form.cbAuto ? form.cbAuto->isChecked() : host.AutoProgress());
            if (before) before(form);
        },
        [&](TForm& form) {
            if (form.cbAuto) host.SetAutoProgress(form.cbAuto->isChecked());
        });
}

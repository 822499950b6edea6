#pragma once
// The soccer game (game 8): seven a side, the user's team "●" against the computer's "○". The match
// itself lives in the engine (no window); this form builds the team pictures, draws the scene after
// every tick, turns the user's clicks and keys into orders, holds the settings row under the pitch
// (time mode, operation mode, replays, player pictures, the past replay's file controls) and reports
// the result.
#include "GameForm.h"
#include "OptionCombo.h"
#include "SoccerEngine.h"
#include "SoccerReplayFiles.h"
#include "SoccerView.h"
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <deque>
#include <functional>
#include <memory>

class TMyOpenDialog;
class TMySaveDialog;

// An up-down control: two small arrow buttons, one above the other.
class TUpDownButtons : public QWidget {
    Q_OBJECT
public:
    explicit TUpDownButtons(QWidget* parent);
    QToolButton* Up;
    QToolButton* Down;
    std::function<void(bool up)> OnClick;
};

class TFormSoccer : public TGameForm {
    Q_OBJECT
public:
    explicit TFormSoccer(QWidget* owner);
    ~TFormSoccer() override;

    static constexpr int kClientWidth = soccer::kW, kClientHeight = 640;

    // Components.
    QLabel* Label1;             // "試合時間"
    TOptionCombo* cobTime;
    QLabel* Label3;             // "操作方法"
    TOptionCombo* cobSousa;
    QCheckBox* cbReplay;
    QCheckBox* cbKiseki;
    QCheckBox* cbPlayer;
    QCheckBox* cbReplaySpeed;
    QPushButton* bbtOpenGoalFile;
    TUpDownButtons* udOpenGoalFile;
    std::unique_ptr<TMyOpenDialog> MyOpenDialog1;
    std::unique_ptr<TMySaveDialog> MySaveDialog1;

    soccer::TSoccerEngine& Engine() { return m_engine; }
    soccer::TReplayFiles& Files() { return m_files; }
    soccer::TSoccerView& View() { return m_view; }
    const TBitmap& BackBuffer() const { return m_view.BackBuffer(); }
    bool Paused() const { return m_paused; }

    // Handlers.
    void Timer1Timer();
    void imOmoteMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void imOmoteMouseMove(TShiftState shift, int x, int y);
    void imOmotePaint();
    void cobTimeClick();
    void cobSousaChange();
    void cbReplayClick();
    void cbReplaySpeedClick();
    void bbtOpenGoalFileClick();
    void udOpenGoalFileClick(bool up);
    // The pointer's look for the team holding the ball (team 1 and the modes without clicks: not
    // allowed); -1 the default arrow.
    void UpdateCursor(int hot);
    void DrawScene();

protected:
    void FormShow() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(Word& key, TShiftState shift) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void buildSettingsRow();
    void installServices();
    void makeTeamImages();
    soccer::TPKOutcome playPenaltyKick(const soccer::TPKRequest& r);
    bool playSound(soccer::TSoccerSound s, bool noStop);
    // After the engine has run: the timer's interval and state, and the end of the match.
    void syncTimer();
    void pauseOrResume();
    bool arrowKey(Word key, TShiftState shift);
    void clickAt(QPoint p);
    void dropDown(TOptionCombo* combo);
    // One pending left press on the scene, taken from the input that waits while a tick runs; the
    // rest of that input is handed on once the tick is over.
    bool takeSceneClick(QPoint& p);
    void releaseHeldInput();

    soccer::TSoccerEngine m_engine;
    soccer::TReplayFiles m_files;
    soccer::TSoccerView m_view;
    bool m_paused = false;
    bool m_forbidden = false;
    // Input held back while the engine waits inside a tick.
    struct THeldEvent {
        QPointer<QObject> target;
        std::unique_ptr<QEvent> event;
        bool sceneClick = false;
        QPoint at;
        bool taken = false;
    };
    std::deque<THeldEvent> m_held;
    bool m_holding = false;
    // A replay file is being chosen or loaded (its dialog or warning may be open): no other load, and
    // no tick, starts inside it.
    bool m_loading = false;
};

extern TFormSoccer* FormSoccer;

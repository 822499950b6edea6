#pragma once
// The baseball game (game 7): the computer's team "相手" bats first, the user's "自分" second. Each
// plate appearance is a guessing duel on the keypad-shaped course panel at the right; the rules live
// in TBaseBallGame (no window), this form draws them, routes the mouse and the keys to them, and
// holds the settings row under the field.
#include "BaseBallScene.h"
#include "BaseballGame.h"
#include "GameForm.h"
#include "ImageList.h"
#include "OptionCombo.h"
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

class TFormBaseBall : public TGameForm {
    Q_OBJECT
public:
    explicit TFormBaseBall(QWidget* owner);
    ~TFormBaseBall() override;

    // The field with the panel, the visible part of the window and the height that leaves the row of
    // developer settings cut off.
    static constexpr int kFieldWidth = 792, kFieldHeight = 590, kClientHeight = 632;

    // Components.
    QLabel* Label1;
    TOptionCombo* cobInning;
    QCheckBox* cbAuto;
    QCheckBox* cbData;
    QCheckBox* cbShowComSelect;
    QPushButton* btAdjust;

    bb::TBaseBallGame& Game() { return m_game; }
    const bb::TBaseBallGame& Game() const { return m_game; }
    TBaseBallScene& Scene() { return m_scene; }
    const TBaseBallScene& Scene() const { return m_scene; }
    const TBitmap& BackBuffer() const { return m_scene.BackBuffer(); }

    // Handlers.
    void Timer1Timer();
    void imOmoteMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void imOmoteMouseMove(TShiftState shift, int x, int y);
    void cbAutoClick();
    void cobInningClick();
    void btAdjustClick();
    // Renders the frame into the back buffer and shows it.
    void DrawScene();
    // The result window's link: the batting data and the whole line score.
    void ShowGameRecord();

    // The glove, bat and ball offsets of both sheets in the offset file (BaseBallOffsets.cpp): the
    // file, each side's sheet key (side 0 the opponent's sheet, side 1 the user's), the read at the
    // form's creation and the write after the adjusting dialog's OK.
    QString FOffsetFile;
    std::array<QString, 2> FPicKeys;
    void LoadPictureOffsets();
    void SavePictureOffsets();

protected:
    void FormShow() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(Word& key, TShiftState shift) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void buildSettingsRow();
    void makeTeamImages();
    void playSound(bb::TBallSound s);
    bool comboFocused() const;
    void pauseOrResume();

    bb::TBaseBallGame m_game;
    TBaseBallScene m_scene;
    qint64 m_gameStart = 0;
    bool m_changePending = false; // "CHANGE" waits for the sound that plays to end
};

extern TFormBaseBall* FormBaseBall;

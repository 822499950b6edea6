#pragma once
// The result window: a little animated scene of the two teams' players with the result text, the
// match tally and the result code, shown modally over the game that just ended.
#include "Form.h"
#include "GameHost.h"
#include "ImageList.h"
#include "PaintBox.h"
#include <QPushButton>
#include <functional>

class GameTimer;


class TFormGameWinMes : public Form {
    Q_OBJECT
public:
    explicit TFormGameWinMes(QWidget* parent = nullptr);
    ~TFormGameWinMes() override;

    TPaintBox* imOmote;
    TBitmap imHaikeiW, imHaikeiL, imHaikeiT;
    QPushButton* btClose;
    TImageList imlA{70, 70}, imlB{70, 70};
    TImageList imlEffect{20, 30};
    TImageList imlFire{30, 30};
    GameTimer* Timer1;

    int FMyPlayerIndex = 0;
    int FAitePlayerIndex = 0;
    int FGameNo = 0;
    int FScreenKind = 0;
    QString FMainText;
    QString FSubText;
    QString FCodeText;

    void MakeTeamImages();
    void DrawScreen();
    void btCloseClick();
    void Timer1Timer();
    void imOmotePaint();
    void imOmoteMouseMove(TShiftState shift, int x, int y);
    void imOmoteMouseUp(TMouseButton button, TShiftState shift, int x, int y);

    // For tests and the benchmark.
    const TBitmap& BackBuffer() const { return m_back; }
    int FrameCounter() const { return m_frame; }
    QString LinkText() const { return m_linkText; }
    QRect LinkRect() const { return m_linkRect; }

protected:
    void FormShow() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(Word& key, TShiftState shift) override;

private:
    TBitmap m_back;
    int m_frame = 0;
    QString m_linkText;
    QRect m_linkRect;
    QPoint m_codePos;
    bool m_overLink = false;
};

extern TFormGameWinMes* FormGameWinMes;

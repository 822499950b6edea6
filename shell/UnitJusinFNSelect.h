#pragma once
// The chooser asked after the picture editor has ended: use the last sheet it sent for my team,
// for the opponent, or not at all. It lives for the whole run, so the last choice stays selected.
#include "Form.h"
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

class TFormJusinFNSelect : public Form {
    Q_OBJECT
public:
    explicit TFormJusinFNSelect(QWidget* parent = nullptr);
    QLabel* Label1;
    QLabel* Image1;
    QRadioButton *rb1, *rb2, *rb3;
    QPushButton* btOK;
    void btOKClick();

protected:
    void FormShow() override;
    void FormKeyDown(Word& key, TShiftState shift) override;
};

extern TFormJusinFNSelect* FormJusinFNSelect;

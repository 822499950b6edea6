#pragma once
// The line width dialog "線の幅": one number from 1 to 100, the outline width of the picture
// import.
#include "Form.h"

class QLineEdit;
class QPushButton;
class TUpDown;

class TFormSelectWidth : public Form {
    Q_OBJECT
public:
    explicit TFormSelectWidth(QWidget* owner = nullptr);
    TUpDown* UpDown1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;

protected:
    void FormShow() override;
    void FormKeyDown(Word& key, TShiftState shift) override;
};

#pragma once
// The small borderless window that tells the user a file is being accessed: a message and a bar of
// stars that grows by one each second.
#include "Form.h"
#include <QLabel>

class GameTimer;

class TFormMes : public Form {
    Q_OBJECT
public:
    explicit TFormMes(QWidget* owner = nullptr);

    QLabel* lbMes;
    QLabel* lbBar;
    QLabel* lbNum;
    GameTimer* tm1;

    void tm1Timer();

protected:
    void FormCreate();
    void FormShow() override;
    void FormClose(TCloseAction& action) override;

private:
    int m_counter = 0;
};

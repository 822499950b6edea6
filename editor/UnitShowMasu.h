#pragma once
// The grid dialog "罫線の設定": the pitch between the vertical lines ("横幅") and between the
// horizontal lines ("縦幅"), 0 to 100 canvas pixels each, and the lines' colour with a sample of it.
// The editor fills it before showing it and reads it back after OK.
#include "Color.h"
#include "Form.h"
#include <QImage>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TUpDown;
class QToolButton;

class TFormShowMasu : public Form {
    Q_OBJECT
public:
    explicit TFormShowMasu(QWidget* owner = nullptr);

    TUpDown *UpDown1 = nullptr, *UpDown2 = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr;
    QToolButton* sbLineColor = nullptr;
    QFrame* pnLineColor = nullptr;
    QLabel* imLineColor = nullptr;
    QPushButton *btOK = nullptr, *btCancel = nullptr;
    // The colour of ColorDialog1: set by the caller, read after OK.
    TColor LineColor = 0x808080;
    // The colour dialog (full open): true with the chosen colour on OK. Tests replace it.
    std::function<bool(TColor& colour)> ColorDialog1Execute;

    void sbLineColorClick();
    void btOKClick();
    void btCancelClick() { SetModalResult(mrCancel); }

protected:
    void FormShow() override;
    void FormKeyDown(Word& key, TShiftState shift) override;

private:
    void drawLineSample();
    QImage m_sample;
};

#pragma once
// The colour effect dialog "画像の調整": four bars shift the brightness and the red, green and blue
// levels of the picture import dialog's working picture, live; OK keeps the change, "ｷｬﾝｾﾙ" puts
// the picture back as it was, "最初から" starts again. The effect is always worked out from the
// picture as it was at the start, so a bar moved back restores it exactly.
#include "Form.h"
#include <QImage>

class QLabel;
class QPushButton;
class QScrollBar;
class TFormPictureSelect;

class TFormPicEffect : public Form {
    Q_OBJECT
public:
    explicit TFormPicEffect(TFormPictureSelect* owner);

    QScrollBar *sbBri = nullptr, *sbR = nullptr, *sbG = nullptr, *sbB = nullptr;
    QLabel *lbBri = nullptr, *lbR = nullptr, *lbG = nullptr, *lbB = nullptr;
    QPushButton *btOK = nullptr, *btCancel = nullptr, *btInit = nullptr;
    // -100..100 each.
    int Brightness = 0, Red = 0, Green = 0, Blue = 0;
    // The working picture as it was at the start (or at the last "最初から").
    QImage Backup;

    void ResetEffect();
    void sbBriScroll(int position);
    void sbRScroll(QScrollBar* bar, int position);
    void btOKClick() { SetModalResult(mrOk); }
    void btCancelClick();
    void btInitClick();

protected:
    void FormShow() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(Word& key, TShiftState shift) override;

private:
    void applyEffect();
    void restoreBackup();
    TFormPictureSelect* m_select;
};

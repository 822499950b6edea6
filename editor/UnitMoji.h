#pragma once
// The text input dialog "文字入力": lines of text with a font (and its colour) and a line spacing.
// The editor's text tool shows it and, after OK, makes the floating copy from the text.
#include "Canvas.h"
#include "Form.h"
#include <QStringList>
#include <functional>

class QComboBox;
class QFontDialog;
class QLineEdit;
class QPushButton;
class TMemo;
class TUpDown;

// The font dialog of the text input: typeface, style, size and the text colour.
class TFontDialog : public Form {
    Q_OBJECT
public:
    explicit TFontDialog(QWidget* owner = nullptr);
    TFont Font;
    // Shows the dialog with Font; true with the chosen font on OK.
    bool Execute();
    QFontDialog* FontBox = nullptr; // made on the first Execute, then kept
    QComboBox* ColorBox = nullptr;
    QPushButton *btOK = nullptr, *btCancel = nullptr;

protected:
    void FormKeyDown(Word& key, TShiftState shift) override;

private:
    void buildFontBox();
};

class TFormMoji : public Form {
    Q_OBJECT
public:
    explicit TFormMoji(QWidget* owner = nullptr);

    TMemo* Memo1 = nullptr;
    TUpDown* UpDown1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton *btFont = nullptr, *btOK = nullptr, *btCancel = nullptr;
    TFontDialog* FontDialog1 = nullptr;

    // Read by the editor after OK.
    TFont TextFont;
    int LineSpacing = 4;
    // Every line of the text, blank ones included.
    QStringList Lines() const;

    void btFontClick();
    void btOKClick();
    void btCancelClick() { SetModalResult(mrCancel); }

protected:
    void FormShow() override;
    void FormKeyDown(Word& key, TShiftState shift) override;
};

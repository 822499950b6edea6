#include "UnitMoji.h"

#include "CanvasView.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The text colours the font dialog offers.
const std::pair<TColor, const char*> kTextColors[] = {
    {clBlack, "黒"},      {clMaroon, "栗色"}, {clGreen, "緑"},      {clOlive, "オリーブ"}, {clNavy, "紺"},
    {clPurple, "紫"},     {clTeal, "青緑"},   {clGray, "灰色"},     {clSilver, "銀色"},    {clRed, "赤"},
    {clLime, "黄緑"},     {clYellow, "黄"},   {clBlue, "青"},       {clFuchsia, "赤紫"},   {clAqua, "水色"},
    {clWhite, "白"},
};

// Line spacing as the dialog allows it.
constexpr int kSpacingMin = 0;
constexpr int kSpacingMax = 100;

} // namespace

// ---------------------------------------------------------------------------------------------
// TFontDialog

TFontDialog::TFontDialog(QWidget* owner) : Form(owner)
{
    setObjectName(QStringLiteral("FontDialog1"));
    SetCaption(QStringLiteral("フォント"));
    Font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    auto* root = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* colourLabel = new QLabel(QStringLiteral("色(&C):"), this);
    row->addWidget(colourLabel);
    ColorBox = new QComboBox(this);
    ColorBox->setObjectName(QStringLiteral("ColorBox"));
    colourLabel->setBuddy(ColorBox);
    for (const auto& [colour, name] : kTextColors) {
        QPixmap swatch(16, 12);
        swatch.fill(ToQColor(colour));
        ColorBox->addItem(QIcon(swatch), QString::fromUtf8(name), QVariant::fromValue(uint(colour)));
    }
    row->addWidget(ColorBox, 1);
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    row->addWidget(btOK);
    row->addWidget(btCancel);
    root->addLayout(row);
    connect(btOK, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    connect(btCancel, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
}

void TFontDialog::buildFontBox()
{
    FontBox = new QFontDialog(this);
    FontBox->setWindowFlags(Qt::Widget);
    FontBox->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    // Text pictures carry no underline or strike-out: those choices are not offered.
    for (QCheckBox* effect : FontBox->findChildren<QCheckBox*>()) effect->setEnabled(false);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, FontBox);
}

bool TFontDialog::Execute()
{
    // Qt's font box reads every typeface and its icons as it is made: that waits for the first use.
    if (!FontBox) buildFontBox();
    QFont f = Font.ToQFont();
    f.setPointSize(Font.Size());
    // The list shows the typeface really used for a name that stands for another.
    f.setFamily(QFontInfo(f).family());
    FontBox->setCurrentFont(f);
    int index = ColorBox->findData(QVariant::fromValue(uint(Font.Color)));
    if (index < 0) {
        // A colour of no name stays choosable as it is.
        ColorBox->addItem(QStringLiteral("カスタム"), QVariant::fromValue(uint(Font.Color)));
        index = ColorBox->count() - 1;
    }
    ColorBox->setCurrentIndex(index);
    if (ShowModal() != mrOk) return false;
    const QFont chosen = FontBox->currentFont();
    Font.Name = chosen.family();
    if (chosen.pointSize() > 0) Font.SetSize(chosen.pointSize());
    Font.Bold = chosen.bold();
    Font.Italic = chosen.italic();
    Font.Color = TColor(ColorBox->currentData().toUInt());
    return true;
}

void TFontDialog::FormKeyDown(Word& key, TShiftState)
{
    if (key == VK_ESCAPE) {
        btCancel->click();
        key = 0;
    } else if (key == VK_RETURN && !qobject_cast<QPushButton*>(focusWidget())) {
        btOK->click();
        key = 0;
    }
}

// ---------------------------------------------------------------------------------------------
// TFormMoji

TFormMoji::TFormMoji(QWidget* owner) : Form(owner)
{
    setObjectName(QStringLiteral("FormMoji"));
    SetCaption(QStringLiteral("文字入力"));
    Font.Name = QStringLiteral("ＭＳ ゴシック");
    ApplyFont();
    auto* root = new QGridLayout(this);
    Memo1 = new TMemo(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setMinimumSize(320, 160);
    root->addWidget(Memo1, 0, 0, 1, 5);
    root->addWidget(new QLabel(QStringLiteral("行間"), this), 1, 0);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaximumWidth(60);
    root->addWidget(Edit1, 1, 1);
    UpDown1 = new TUpDown(this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(kSpacingMin, kSpacingMax);
    UpDown1->Associate(Edit1);
    root->addWidget(UpDown1, 1, 2);
    btFont = new QPushButton(QStringLiteral("ﾌｫﾝﾄ"), this);
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btFont);
    buttons->addStretch(1);
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    root->addLayout(buttons, 1, 3, 1, 2);
    FontDialog1 = new TFontDialog(this);
    connect(btFont, &QPushButton::clicked, this, [this] { btFontClick(); });
    connect(btOK, &QPushButton::clicked, this, [this] { btOKClick(); });
    connect(btCancel, &QPushButton::clicked, this, [this] { btCancelClick(); });

    // Creation: the text font, the spacing and an empty text.
    TextFont.Name = QStringLiteral("ＭＳ ゴシック");
    TextFont.SetSize(12);
    LineSpacing = 4;
    FontDialog1->Font = TextFont;
    UpDown1->setValue(LineSpacing);
    Edit1->setText(QString::number(LineSpacing));
    Memo1->clear();
}

QStringList TFormMoji::Lines() const
{
    const QString text = Memo1->toPlainText();
    if (text.isEmpty()) return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    // A line break at the very end starts no further line.
    if (text.endsWith(QLatin1Char('\n'))) lines.removeLast();
    return lines;
}

void TFormMoji::FormShow()
{
    FontDialog1->Font = TextFont;
    UpDown1->setValue(LineSpacing);
    Edit1->setText(QString::number(LineSpacing));
    Memo1->setFocus();
}

void TFormMoji::btFontClick()
{
    FontDialog1->Font = TextFont;
    if (FontDialog1->Execute()) TextFont = FontDialog1->Font;
}

void TFormMoji::btOKClick()
{
    bool ok = false;
    const int spacing = Edit1->text().trimmed().toInt(&ok);
    // Only what the up-down allows: a typed spacing beyond it would make an endless picture.
    LineSpacing = ok ? std::clamp(spacing, kSpacingMin, kSpacingMax) : 4;
    TextFont = FontDialog1->Font;
    SetModalResult(Memo1->toPlainText().trimmed().isEmpty() ? mrCancel : mrOk);
}

void TFormMoji::FormKeyDown(Word& key, TShiftState)
{
    if (key == VK_ESCAPE || key == VK_F4) {
        btCancel->click();
        key = 0;
    }
}

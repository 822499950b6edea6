#include "UnitJusinFNSelect.h"

#include "Canvas.h"
#include <QGuiApplication>
#include <QScreen>

TFormJusinFNSelect* FormJusinFNSelect = nullptr;

TFormJusinFNSelect::TFormJusinFNSelect(QWidget* parent) : Form(parent)
{
    SetCaption(QStringLiteral("画像作成"));
    SetClientSize(330, 178);
    Font.Name = QStringLiteral("ＭＳ ゴシック");
    Font.SetHeight(-15);
    ApplyFont();
    KeyPreview = true;

    Label1 = new QLabel(QStringLiteral("開いた画像ファイルを使いますか。"), this);
    Label1->setGeometry(12, 10, 310, 24);
    Image1 = new QLabel(this);
    Image1->setGeometry(14, 44, 88, 88);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(QPixmap::fromImage(ResourceBitmap(QStringLiteral("JUSIN"))));
    rb1 = new QRadioButton(QStringLiteral("「自分」の画像で使う"), this);
    rb1->setGeometry(114, 44, 210, 26);
    rb2 = new QRadioButton(QStringLiteral("「相手」の画像で使う"), this);
    rb2->setGeometry(114, 74, 210, 26);
    rb3 = new QRadioButton(QStringLiteral("使わない"), this);
    rb3->setGeometry(114, 104, 210, 26);
    rb1->setChecked(true);
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setGeometry(226, 140, 92, 30);
    btOK->setAutoDefault(false);
    connect(btOK, &QPushButton::clicked, this, &TFormJusinFNSelect::btOKClick);

    // FormCreate
    btOK->setToolTip(QStringLiteral("このフォームを閉じます。　【ｷｰﾎﾞｰﾄﾞ】<F4>, <Esc>"));
}

void TFormJusinFNSelect::FormShow()
{
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        move(g.left() + (g.width() - frameGeometry().width()) / 2, g.top() + (g.height() - frameGeometry().height()) / 2);
    }
}

void TFormJusinFNSelect::btOKClick()
{
    SetModalResult(mrOk);
}

void TFormJusinFNSelect::FormKeyDown(Word& key, TShiftState)
{
    // Esc confirms the choice shown, as OK does; only the close box cancels.
    if (key == VK_ESCAPE || key == VK_F4) {
        btOK->click();
        key = 0;
    }
}

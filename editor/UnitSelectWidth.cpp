#include "UnitSelectWidth.h"

#include "CanvasView.h"
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TFormSelectWidth::TFormSelectWidth(QWidget* owner) : Form(owner)
{
    setObjectName(QStringLiteral("FormSelectWidth"));
    SetCaption(QStringLiteral("線の幅"));
    Font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    ApplyFont();
    auto* root = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    TFont editFont;
    editFont.Name = QStringLiteral("ＭＳ ゴシック");
    editFont.SetSize(9);
    QFont f = editFont.ToQFont();
    f.setStyleStrategy(QFont::PreferDefault);
    Edit1->setFont(f);
    UpDown1 = new TUpDown(this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(1, 100);
    UpDown1->setValue(1);
    Edit1->setText(QStringLiteral("1"));
    UpDown1->Associate(Edit1);
    row->addWidget(Edit1);
    row->addWidget(UpDown1);
    root->addLayout(row);
    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    root->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    connect(Button2, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
}

void TFormSelectWidth::FormShow()
{
    Edit1->setText(QString::number(UpDown1->value()));
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        move(g.left() + (g.width() - frameGeometry().width()) / 2, g.top() + (g.height() - frameGeometry().height()) / 2);
    }
    Edit1->setFocus();
    Edit1->selectAll();
}

void TFormSelectWidth::FormKeyDown(Word& key, TShiftState)
{
    // Enter takes the width shown (on a focused button it presses that one); Esc leaves it.
    if (key == VK_RETURN && !qobject_cast<QPushButton*>(focusWidget())) {
        Button1->click();
        key = 0;
    } else if (key == VK_ESCAPE) {
        Button2->click();
        key = 0;
    }
}

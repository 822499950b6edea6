#include "UnitPicEffect.h"

#include "PictureImport.h"
#include "UnitPictureSelect.h"
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

TFormPicEffect::TFormPicEffect(TFormPictureSelect* owner) : Form(owner), m_select(owner)
{
    setObjectName(QStringLiteral("FormPicEffect"));
    SetCaption(QStringLiteral("画像の調整"));
    Font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    Font.SetSize(9);
    ApplyFont();
    auto* root = new QHBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(1, 240);
    int row = 0;
    auto bar = [&](const QString& name, const QString& caption, QScrollBar*& sb, QLabel*& lb) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        sb = new QScrollBar(Qt::Horizontal, this);
        sb->setObjectName(name);
        sb->setRange(0, 200);
        sb->setValue(100);
        sb->setPageStep(10);
        sb->setSingleStep(1);
        // The arrow keys go the way the bar reads: right for more.
        sb->setInvertedControls(false);
        sb->setMinimumWidth(240);
        grid->addWidget(sb, row, 1);
        lb = new QLabel(QStringLiteral("0"), this);
        lb->setAlignment(Qt::AlignCenter);
        lb->setMinimumWidth(36);
        grid->addWidget(lb, row, 2);
        ++row;
    };
    bar(QStringLiteral("sbBri"), QStringLiteral("明るさ"), sbBri, lbBri);
    bar(QStringLiteral("sbR"), QStringLiteral("赤"), sbR, lbR);
    bar(QStringLiteral("sbG"), QStringLiteral("緑"), sbG, lbG);
    bar(QStringLiteral("sbB"), QStringLiteral("青"), sbB, lbB);
    lbBri->setObjectName(QStringLiteral("lbBri"));
    lbR->setObjectName(QStringLiteral("lbR"));
    lbG->setObjectName(QStringLiteral("lbG"));
    lbB->setObjectName(QStringLiteral("lbB"));
    root->addLayout(grid, 1);
    auto* buttons = new QVBoxLayout;
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    btInit = new QPushButton(QStringLiteral("最初\nから"), this);
    for (QPushButton* b : {btOK, btCancel, btInit}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(72);
        buttons->addWidget(b);
    }
    btInit->setMinimumHeight(44);
    buttons->addStretch(1);
    root->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(sbBri, &QScrollBar::valueChanged, this, [this](int v) { sbBriScroll(v); });
    for (QScrollBar* b : {sbR, sbG, sbB})
        connect(b, &QScrollBar::valueChanged, this, [this, b](int v) { sbRScroll(b, v); });
    connect(btOK, &QPushButton::clicked, this, [this] { btOKClick(); });
    connect(btCancel, &QPushButton::clicked, this, [this] { btCancelClick(); });
    connect(btInit, &QPushButton::clicked, this, [this] { btInitClick(); });
}

void TFormPicEffect::FormShow()
{
    btInit->setText(QStringLiteral("最初\nから"));
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        move(g.left() + (g.width() - frameGeometry().width()) / 2, g.top() + (g.height() - frameGeometry().height()) / 2);
    }
    ResetEffect();
}

void TFormPicEffect::ResetEffect()
{
    Backup = m_select->Working;
    for (QScrollBar* b : {sbBri, sbR, sbG, sbB}) {
        const QSignalBlocker block(b);
        b->setValue(100);
    }
    for (QLabel* l : {lbBri, lbR, lbG, lbB}) l->setText(QStringLiteral("0"));
    Brightness = Red = Green = Blue = 0;
}

void TFormPicEffect::sbBriScroll(int position)
{
    Brightness = position - 100;
    applyEffect();
    lbBri->setText(QString::number(Brightness));
}

void TFormPicEffect::sbRScroll(QScrollBar* bar, int position)
{
    Red = (bar == sbR ? position : sbR->value()) - 100;
    Green = (bar == sbG ? position : sbG->value()) - 100;
    Blue = (bar == sbB ? position : sbB->value()) - 100;
    applyEffect();
    lbR->setText(QString::number(Red));
    lbG->setText(QString::number(Green));
    lbB->setText(QString::number(Blue));
}

void TFormPicEffect::applyEffect()
{
    if (Backup.isNull()) return;
    m_select->Working = ApplyPictureEffect(Backup, Brightness, Red, Green, Blue);
    m_select->UpDown1Click();
    m_select->RepaintView();
}

void TFormPicEffect::restoreBackup()
{
    if (Backup.isNull()) return;
    m_select->Working = Backup;
    m_select->UpDown1Click();
    m_select->RepaintView();
}

void TFormPicEffect::btCancelClick()
{
    restoreBackup();
    SetModalResult(mrCancel);
}

void TFormPicEffect::btInitClick()
{
    restoreBackup();
    ResetEffect();
}

void TFormPicEffect::FormClose(TCloseAction&)
{
    Backup = QImage();
}

void TFormPicEffect::FormKeyDown(Word& key, TShiftState)
{
    if (key == VK_ESCAPE || key == VK_F4) {
        btCancel->click();
        key = 0;
    }
}

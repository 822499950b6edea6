#include "UnitShowMasu.h"

#include "CanvasView.h"
#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kPitchMax = 100;

} // namespace

TFormShowMasu::TFormShowMasu(QWidget* owner) : Form(owner)
{
    setObjectName(QStringLiteral("FormShowMasu"));
    SetCaption(QStringLiteral("罫線の設定"));
    Font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    ApplyFont();
    auto* root = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const auto pitchRow = [&](int row, const QString& label, const QString& editName, const QString& upDownName,
                              QLineEdit*& edit, TUpDown*& upDown) {
        grid->addWidget(new QLabel(label, this), row, 0);
        edit = new QLineEdit(this);
        edit->setObjectName(editName);
        edit->setMaximumWidth(60);
        upDown = new TUpDown(this);
        upDown->setObjectName(upDownName);
        upDown->setRange(0, kPitchMax);
        upDown->setValue(50);
        edit->setText(QStringLiteral("50"));
        upDown->Associate(edit);
        grid->addWidget(edit, row, 1);
        grid->addWidget(upDown, row, 2);
    };
    pitchRow(0, QStringLiteral("横幅"), QStringLiteral("Edit1"), QStringLiteral("UpDown1"), Edit1, UpDown1);
    pitchRow(1, QStringLiteral("縦幅"), QStringLiteral("Edit2"), QStringLiteral("UpDown2"), Edit2, UpDown2);
    sbLineColor = new QToolButton(this);
    sbLineColor->setObjectName(QStringLiteral("sbLineColor"));
    sbLineColor->setText(QStringLiteral("線色"));
    pnLineColor = new QFrame(this);
    pnLineColor->setObjectName(QStringLiteral("pnLineColor"));
    pnLineColor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    imLineColor = new QLabel(pnLineColor);
    imLineColor->setObjectName(QStringLiteral("imLineColor"));
    auto* panel = new QHBoxLayout(pnLineColor);
    panel->setContentsMargins(2, 2, 2, 2);
    panel->addWidget(imLineColor);
    m_sample = QImage(46, 24, QImage::Format_RGB32);
    m_sample.fill(ToPixel(clWhite));
    imLineColor->setFixedSize(m_sample.size());
    pnLineColor->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    grid->addWidget(sbLineColor, 2, 0);
    grid->addWidget(pnLineColor, 2, 1, 1, 2, Qt::AlignLeft);
    root->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    root->addLayout(buttons);
    root->setSizeConstraint(QLayout::SetFixedSize);
    ColorDialog1Execute = [this](TColor& colour) {
        const QColor c = QColorDialog::getColor(ToQColor(colour), this);
        if (!c.isValid()) return false;
        colour = FromQColor(c);
        return true;
    };
    connect(sbLineColor, &QToolButton::clicked, this, [this] { sbLineColorClick(); });
    connect(btOK, &QPushButton::clicked, this, [this] { btOKClick(); });
    connect(btCancel, &QPushButton::clicked, this, [this] { btCancelClick(); });
}

void TFormShowMasu::FormShow()
{
    Edit1->setText(QString::number(UpDown1->value()));
    Edit2->setText(QString::number(UpDown2->value()));
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        move(g.left() + (g.width() - frameGeometry().width()) / 2, g.top() + (g.height() - frameGeometry().height()) / 2);
    }
    drawLineSample();
    Edit1->setFocus();
    Edit1->selectAll();
}

void TFormShowMasu::drawLineSample()
{
    // A line two pixels thick from (3, 12) to (42, 12).
    QImage& img = m_sample;
    const QRgb c = ToPixel(LineColor);
    for (int y = 11; y <= 12; ++y) std::fill_n(reinterpret_cast<QRgb*>(img.scanLine(y)) + 3, 42 - 3, c);
    imLineColor->setPixmap(QPixmap::fromImage(img));
}

void TFormShowMasu::sbLineColorClick()
{
    TColor c = LineColor;
    if (!ColorDialog1Execute || !ColorDialog1Execute(c)) return;
    LineColor = c;
    drawLineSample();
}

void TFormShowMasu::btOKClick()
{
    SetModalResult(mrOk);
}

void TFormShowMasu::FormKeyDown(Word& key, TShiftState)
{
    // Enter takes the settings shown (on a focused button it presses that one); Esc leaves them.
    if (key == VK_RETURN && !qobject_cast<QPushButton*>(focusWidget()) && !qobject_cast<QToolButton*>(focusWidget())) {
        btOK->click();
        key = 0;
    } else if (key == VK_ESCAPE) {
        btCancel->click();
        key = 0;
    }
}

#include "UnitMes.h"

#include "Clock.h"
#include "MathUtil.h"
#include <QGuiApplication>
#include <QScreen>

namespace {
constexpr int kClientWidth = 337;
constexpr int kClientHeight = 103;
constexpr int kBarWidth = 220;
constexpr int kBarStars = 20;
} // namespace

TFormMes::TFormMes(QWidget* owner) : Form(owner)
{
    // No border, above everything, and never in the way of the keyboard focus.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    KeyPreview = false;
    Font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    Font.SetHeight(-21);
    ApplyFont();
    SetClientSize(kClientWidth, kClientHeight);

    lbMes = new QLabel(this);
    lbMes->move(0, 14);
    lbBar = new QLabel(this);
    lbBar->setAlignment(Qt::AlignCenter);
    lbBar->setGeometry(0, 44, kBarWidth, 24);
    lbNum = new QLabel(this);
    lbNum->setAlignment(Qt::AlignCenter);
    lbNum->setGeometry(0, 72, kClientWidth, 24);

    tm1 = new GameTimer(this, 1000, true);
    tm1->OnTimer = [this] { tm1Timer(); };
    FormCreate();
}

void TFormMes::FormCreate()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(0xFFFFE0));
    setPalette(pal);
    setAutoFillBackground(true);
}

void TFormMes::FormShow()
{
    lbMes->adjustSize();
    const int w = Round(1.2 * lbMes->width());
    setFixedWidth(w);
    lbMes->move((w - lbMes->width()) / 2, lbMes->y());
    lbBar->move((w - lbBar->width()) / 2, lbBar->y());
    lbNum->setGeometry(0, lbNum->y(), w, lbNum->height());
    lbBar->clear();
    lbNum->clear();
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        move(g.left() + (g.width() - width()) / 2, g.top() + (g.height() - height()) / 2);
    }
}

void TFormMes::tm1Timer()
{
    m_counter = (m_counter + 1) % (kBarStars + 1);
    lbBar->setText(QString(m_counter, QLatin1Char('*')));
}

void TFormMes::FormClose(TCloseAction& action)
{
    // The window goes away with its close; the timer stops at once so it never ticks on a closed form.
    tm1->SetEnabled(false);
    action = TCloseAction::caFree;
    deleteLater();
}

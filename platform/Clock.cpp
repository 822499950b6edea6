#include "Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QApplication>
#include <QWidget>
#include <QPointer>
#include <QWindow>
#include <chrono>
#include <thread>

namespace {

class RealClock : public ClockService {
public:
    RealClock() { m_t.start(); }
    qint64 NowMs() override { return m_t.elapsed(); }
    void Sleep(int ms) override
    {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
    void Arm(GameTimer* t) override { t->QtTimer().start(t->Interval()); }
    void Disarm(GameTimer* t) override { t->QtTimer().stop(); }

private:
    QElapsedTimer m_t;
};

RealClock& realClock()
{
    static RealClock c;
    return c;
}

ClockService* g_clock = nullptr;

} // namespace

ClockService& Clock()
{
    return g_clock ? *g_clock : realClock();
}

void SetClock(ClockService* c)
{
    g_clock = c;
}

void Sleep(int ms)
{
    // What was drawn before the wait is shown first; input waits until afterwards.
    if (QCoreApplication::instance()) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) w->repaint();
    }
    Clock().Sleep(ms);
}

GameTimer::GameTimer(QObject* owner, int interval, bool enabled) : QObject(owner), m_interval(interval)
{
    m_qt.setTimerType(Qt::PreciseTimer);
    connect(&m_qt, &QTimer::timeout, this, &GameTimer::Fire);
    SetEnabled(enabled);
}

GameTimer::~GameTimer()
{
    Clock().Disarm(this);
}

void GameTimer::SetInterval(int ms)
{
    if (ms == m_interval) return;
    m_interval = ms;
    rearm();
}

void GameTimer::SetEnabled(bool on)
{
    if (on == m_enabled) return;
    m_enabled = on;
    rearm();
}

void GameTimer::rearm()
{
    Clock().Disarm(this);
    if (m_enabled && m_interval > 0) Clock().Arm(this);
}

void GameTimer::Fire()
{
    if (!m_enabled || m_inHandler || !OnTimer) return;
    m_inHandler = true;
    // The handler may free the form that owns this timer only after returning to the loop;
    // the guard is reset before anything else touches the timer.
    OnTimer();
    m_inHandler = false;
}

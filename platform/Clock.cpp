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

VirtualClock::VirtualClock()
{
    m_driver.setInterval(0);
    connect(&m_driver, &QTimer::timeout, this, &VirtualClock::step);
    m_driver.start();
}

VirtualClock::~VirtualClock()
{
    if (&Clock() == this) SetClock(nullptr);
}

void VirtualClock::SetAutoRun(bool on)
{
    if (on) m_driver.start();
    else m_driver.stop();
}

void VirtualClock::Sleep(int ms)
{
    if (ms > 0) {
        m_now += ms;
        m_slept += ms;
    }
}

void VirtualClock::Arm(GameTimer* t)
{
    m_due[t] = {m_now + t->Interval(), ++m_seq};
}

void VirtualClock::Disarm(GameTimer* t)
{
    m_due.erase(t);
}

GameTimer* VirtualClock::takeNext(qint64 limit)
{
    GameTimer* next = nullptr;
    std::pair<qint64, qint64> best{0, 0};
    for (const auto& [t, due] : m_due)
        if (!next || due < best) {
            next = t;
            best = due;
        }
    if (!next || best.first > limit) return nullptr;
    if (best.first > m_now) m_now = best.first;
    // Re-armed before firing, so a handler that changes the interval or stops the timer wins.
    m_due[next] = {std::max(m_now, best.first) + std::max(1, next->Interval()), ++m_seq};
    return next;
}

bool VirtualClock::fireNext(qint64 limit)
{
    GameTimer* next = takeNext(limit);
    if (!next) return false;
    next->Fire();
    return true;
}

void VirtualClock::step()
{
    // The tick runs as a posted call, not inside this timer's own handler: a game tick may open a
    // modal window, and Qt does not deliver a timer again while its handler is still running, which
    // would stop the clock for every window opened from a tick.
    if (m_queued) return;
    GameTimer* next = takeNext(std::numeric_limits<qint64>::max());
    if (!next) return;
    m_queued = true;
    QMetaObject::invokeMethod(
        this,
        [this, t = QPointer<GameTimer>(next)] {
            m_queued = false;
            if (t) t->Fire();
        },
        Qt::QueuedConnection);
}

void VirtualClock::Advance(qint64 ms)
{
    const qint64 end = m_now + ms;
    while (fireNext(end)) {
    }
    m_now = end;
}

#pragma once
// Every wait and every game tick goes through the clock service, so that tests can run a whole
// match on virtual time in a fraction of a second.
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>

class GameTimer;

class ClockService {
public:
    virtual ~ClockService() = default;
    virtual qint64 NowMs() = 0;
    // Blocks for ms without handling input or timers.
    virtual void Sleep(int ms) = 0;
    virtual void Arm(GameTimer* t) = 0;
    virtual void Disarm(GameTimer* t) = 0;
};

ClockService& Clock();
// Replaces the clock (tests); nullptr puts the real clock back.
void SetClock(ClockService* c);

// Shows what has been drawn, then waits ms on the clock.
void Sleep(int ms);

// A window timer: Interval in ms, OnTimer on each tick, never re-entered while its handler runs.
class GameTimer : public QObject {
    Q_OBJECT
public:
    explicit GameTimer(QObject* owner = nullptr, int interval = 1000, bool enabled = false);
    ~GameTimer() override;
    int Interval() const { return m_interval; }
    void SetInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on);
    std::function<void()> OnTimer;
    int Tag = 0;
    // Called by the clock when the timer is due.
    void Fire();
    QTimer& QtTimer() { return m_qt; }

private:
    void rearm();
    int m_interval;
    bool m_enabled = false;
    bool m_inHandler = false;
    QTimer m_qt;
};

// Virtual time for tests: timers fire in time order as fast as the event loop turns, Sleep only
// moves the time on.
class VirtualClock : public QObject, public ClockService {
    Q_OBJECT
public:
    VirtualClock();
    ~VirtualClock() override;
    qint64 NowMs() override { return m_now; }
    void Sleep(int ms) override;
    void Arm(GameTimer* t) override;
    void Disarm(GameTimer* t) override;
    // Fires every timer due up to now + ms, in order, and leaves the time there.
    void Advance(qint64 ms);
    qint64 SleptMs() const { return m_slept; }
    // When on (the default), the event loop advances the time to the next due timer by itself.
    void SetAutoRun(bool on);

private:
    void step();
    bool fireNext(qint64 limit);
    GameTimer* takeNext(qint64 limit);
    bool m_queued = false;
    qint64 m_now = 0;
    qint64 m_slept = 0;
    qint64 m_seq = 0;
    std::map<GameTimer*, std::pair<qint64, qint64>> m_due; // timer -> (due time, arm order)
    QTimer m_driver;
};

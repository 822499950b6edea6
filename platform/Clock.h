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

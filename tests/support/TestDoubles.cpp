#include "TestDoubles.h"

#include <QPointer>
#include <algorithm>
#include <limits>

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

RecordingDialogs::RecordingDialogs()
{
    SetDialogs(this);
}

RecordingDialogs::~RecordingDialogs()
{
    if (&Dialogs() == this) SetDialogs(nullptr);
}

void RecordingDialogs::Beep(int kind)
{
    MessageRecord r;
    r.beep = true;
    r.beepKind = kind;
    records.push_back(r);
}

int RecordingDialogs::Box(QWidget*, const QString& text, const QString& caption, TMsgDlgType type, TMsgButtons buttons)
{
    MessageRecord r;
    r.type = type;
    r.buttons = buttons;
    r.caption = caption;
    r.text = text;
    records.push_back(r);
    if (whileOpen) {
        mostOpen = std::max(mostOpen, ++m_open);
        whileOpen();
        --m_open;
    }
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
    case TMsgButtons::OK: case TMsgButtons::OKCancel: return idOK;
    default: return idYes;
    }
}

std::vector<MessageRecord> RecordingDialogs::Boxes() const
{
    std::vector<MessageRecord> out;
    for (const auto& r : records)
        if (!r.beep) out.push_back(r);
    return out;
}

int RecordingDialogs::BeepCount(int kind) const
{
    int n = 0;
    for (const auto& r : records)
        if (r.beep && r.beepKind == kind) ++n;
    return n;
}

void RecordingSoundBackend::Start(const QString& name, const TWaveData& wave, bool loop)
{
    events.push_back({name, loop, Clock().NowMs(), wave.LengthMs()});
}

void RecordingSoundBackend::Stop()
{
    events.push_back({QString(), false, Clock().NowMs()});
}

std::vector<QString> RecordingSoundBackend::Started() const
{
    std::vector<QString> r;
    for (const Event& e : events)
        if (!e.name.isEmpty()) r.push_back(e.name);
    return r;
}

int RecordingSoundBackend::Count(const QString& name) const
{
    int c = 0;
    for (const Event& e : events) c += e.name == name;
    return c;
}

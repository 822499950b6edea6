#pragma once
// Test doubles of the platform's services: virtual time, recorded message boxes and recorded sounds;
// clipboard data that counts the questions asked of it.
// The shipped programs never link these.
#include "Clock.h"
#include "Dialogs.h"
#include "Sound.h"
#include <QMimeData>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <vector>

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

struct MessageRecord {
    bool beep = false;   // a beep, not a box
    int beepKind = 0;
    TMsgDlgType type = TMsgDlgType::mtInformation;
    TMsgButtons buttons = TMsgButtons::OK;
    QString caption;
    QString text;
};

// Records every beep and box; answers boxes from a queue, or with the first button when it is empty.
class RecordingDialogs : public DialogService {
public:
    RecordingDialogs();
    ~RecordingDialogs() override;
    void Beep(int kind) override;
    int Box(QWidget* parent, const QString& text, const QString& caption, TMsgDlgType type, TMsgButtons buttons) override;
    std::vector<MessageRecord> records;
    std::deque<int> answers;
    // Run while a box is open, as a real box runs its own event loop; mostOpen counts the boxes that
    // were open at once.
    std::function<void()> whileOpen;
    int mostOpen = 0;
    std::vector<MessageRecord> Boxes() const;
    int BeepCount(int kind) const;
    void Clear() { records.clear(); }

private:
    int m_open = 0;
};

// Records the starts and stops, in order, for tests.
class RecordingSoundBackend : public SoundBackend {
public:
    struct Event {
        QString name; // empty for a stop
        bool loop = false;
        qint64 atMs = 0; // on the clock service
        qint64 lengthMs = 0; // of the sound's WAVE data
    };
    void Start(const QString& name, const TWaveData& wave, bool loop) override;
    void Stop() override;
    std::vector<Event> events;
    // Names of the sounds started, in order.
    std::vector<QString> Started() const;
    int Count(const QString& name) const;
    void Clear() { events.clear(); }
};

// Clipboard data that counts what is asked of it, as its owner would be asked: the list of its
// formats, and data in a format.
class CountingMimeData : public QMimeData {
public:
    mutable int FormatAsks = 0;
    mutable int DataAsks = 0;
    QStringList formats() const override
    {
        ++FormatAsks;
        return QMimeData::formats();
    }

protected:
    QVariant retrieveData(const QString& format, QMetaType type) const override
    {
        ++DataAsks;
        return QMimeData::retrieveData(format, type);
    }
};

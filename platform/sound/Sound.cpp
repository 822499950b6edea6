#include "Sound.h"

#include "LittleEndian.h"

#include "Clock.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <cstring>

namespace {

// Feeds the PCM bytes to the sink, from the start again when looping.
class PcmSource : public QIODevice {
public:
    PcmSource(QByteArray pcm, bool loop) : m_pcm(std::move(pcm)), m_loop(loop) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return m_loop ? qint64(1) << 30 : (m_pcm.size() - m_pos) + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        qint64 done = 0;
        while (done < max && !m_pcm.isEmpty()) {
            if (m_pos >= m_pcm.size()) {
                if (!m_loop) break;
                m_pos = 0;
            }
            const qint64 n = std::min<qint64>(max - done, m_pcm.size() - m_pos);
            std::memcpy(data + done, m_pcm.constData() + m_pos, size_t(n));
            m_pos += n;
            done += n;
        }
        return done;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_pcm;
    bool m_loop;
    qint64 m_pos = 0;
};

// The audio device, driven from a thread of its own: the game thread blocks in its waits (a
// synchronous sound among them), and the output must go on meanwhile. With no device it is silent.
class DeviceSoundBackend : public SoundBackend {
public:
    explicit DeviceSoundBackend(bool useDevice) : m_probed(!useDevice)
    {
        m_thread.setObjectName(QStringLiteral("sound output"));
        m_worker.moveToThread(&m_thread);
        m_thread.start();
    }
    ~DeviceSoundBackend() override
    {
        QMetaObject::invokeMethod(&m_worker, [this] { stopOutput(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    void Start(const QString&, const TWaveData& wave, bool loop) override
    {
        const QByteArray pcm = wave.pcm; // shared, not copied
        const int rate = wave.sampleRate, channels = wave.channels, bits = wave.bitsPerSample;
        QMetaObject::invokeMethod(&m_worker, [this, pcm, rate, channels, bits, loop] { startOutput(pcm, rate, channels, bits, loop); });
    }
    void Stop() override
    {
        QMetaObject::invokeMethod(&m_worker, [this] { stopOutput(); });
    }

private:
    // Runs on the output thread.
    void startOutput(const QByteArray& pcm, int rate, int channels, int bits, bool loop)
    {
        stopOutput();
        if (!m_probed) {
            m_probed = true;
            m_device = QMediaDevices::defaultAudioOutput();
        }
        if (m_device.isNull()) return;
        QAudioFormat f;
        f.setSampleRate(rate);
        f.setChannelCount(channels);
        f.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
        if (!m_device.isFormatSupported(f)) return;
        m_source = std::make_unique<PcmSource>(pcm, loop);
        m_sink = std::make_unique<QAudioSink>(m_device, f);
        m_sink->start(m_source.get());
    }
    void stopOutput()
    {
        if (m_sink) m_sink->stop();
        m_sink.reset();
        m_source.reset();
    }

    QThread m_thread;
    QObject m_worker;
    bool m_probed = false;
    QAudioDevice m_device;
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<PcmSource> m_source;
};

} // namespace

std::unique_ptr<SoundBackend> NewDeviceSoundBackend(bool useDevice)
{
    return std::make_unique<DeviceSoundBackend>(useDevice);
}

qint64 TWaveData::LengthMs() const
{
    const qint64 bytesPerSecond = qint64(sampleRate) * channels * (bitsPerSample / 8);
    if (bytesPerSecond <= 0) return 0;
    return (qint64(pcm.size()) * 1000 + bytesPerSecond - 1) / bytesPerSecond;
}

bool ParseWave(const QByteArray& file, TWaveData& out)
{
    const qint64 n = file.size();
    const char* d = file.constData();
    if (n < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0) return false;
    bool haveFmt = false;
    TWaveData w;
    qint64 pos = 12;
    while (pos + 8 <= n) {
        const qint64 size = ReadLE32(file, pos + 4);
        const qint64 body = pos + 8;
        if (size > n - body) return false;
        if (std::memcmp(d + pos, "fmt ", 4) == 0) {
            if (size < 16 || ReadLE16(file, body) != 1) return false; // PCM only
            w.channels = ReadLE16(file, body + 2);
            w.sampleRate = int(ReadLE32(file, body + 4));
            w.bitsPerSample = ReadLE16(file, body + 14);
            if (w.channels < 1 || w.channels > 2 || w.sampleRate < 1000 || w.sampleRate > 192000) return false;
            if (w.bitsPerSample != 8 && w.bitsPerSample != 16) return false;
            haveFmt = true;
        } else if (std::memcmp(d + pos, "data", 4) == 0) {
            if (!haveFmt) return false;
            const qint64 frame = qint64(w.channels) * (w.bitsPerSample / 8);
            w.pcm = file.mid(body, (size / frame) * frame);
            out = std::move(w);
            return true;
        }
        pos = body + size + (size & 1);
    }
    return false;
}

namespace {

SoundService* g_programSound = nullptr;

// The stand-in's output: no device and no thread, so it is safe to end among the exit handlers.
class SilentSoundBackend : public SoundBackend {
public:
    void Start(const QString&, const TWaveData&, bool) override {}
    void Stop() override {}
};

} // namespace

SoundService::SoundService(bool useDevice) : m_useDevice(useDevice)
{
    if (useDevice && !g_programSound) g_programSound = this;
}

SoundService::~SoundService()
{
    if (g_programSound == this) g_programSound = nullptr;
}

SoundBackend& SoundService::backend()
{
    if (m_backend) return *m_backend;
    if (!m_device) {
        if (m_useDevice) m_device = NewDeviceSoundBackend(true);
        else m_device = std::make_unique<SilentSoundBackend>();
    }
    return *m_device;
}

void SoundService::SetBackend(SoundBackend* b)
{
    if (m_backend != b && !m_current.isEmpty()) Stop();
    m_backend = b;
    m_current.clear();
}

const TWaveData* SoundService::wave(const QString& name)
{
    auto it = m_cache.find(name);
    if (it == m_cache.end()) {
        std::unique_ptr<TWaveData> w;
        QFile f(QStringLiteral(":/sounds/") + name + QStringLiteral(".wav"));
        if (f.open(QIODevice::ReadOnly)) {
            auto parsed = std::make_unique<TWaveData>();
            if (ParseWave(f.readAll(), *parsed)) w = std::move(parsed);
        }
        it = m_cache.emplace(name, std::move(w)).first;
    }
    return it->second.get();
}

bool SoundService::Playing()
{
    if (m_current.isEmpty()) return false;
    if (m_loop || Clock().NowMs() < m_start + m_length) return true;
    m_current.clear();
    return false;
}

bool SoundService::Play(const QString& name, unsigned flags)
{
    if ((flags & SndNoStop) && Playing()) return false;
    const TWaveData* w = wave(name);
    if (!w) return false;
    const bool loop = flags & SndLoop;
    backend().Start(name, *w, loop);
    m_current = name;
    m_start = Clock().NowMs();
    m_length = w->LengthMs();
    m_loop = loop;
    if (!loop && !(flags & SndAsync)) {
        // The caller waits for the end on the clock, never by spinning.
        Clock().Sleep(int(m_length));
    }
    return true;
}

void SoundService::Stop()
{
    if (m_current.isEmpty()) return;
    backend().Stop();
    m_current.clear();
    m_loop = false;
}

SoundService& Sound()
{
    static SoundService standIn(/*useDevice=*/false);
    return g_programSound ? *g_programSound : standIn;
}

bool PlaySound(const QString& name, unsigned flags)
{
    return Sound().Play(name, flags);
}

#include "Sound.h"

#include "LittleEndian.h"

#include "Clock.h"

#include <QFile>
#include <QIODevice>
#include <cstring>

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
    // Without the device the output opens nothing and starts no thread, so the stand-in may end
    // among the exit handlers.
    if (!m_device) m_device = NewDeviceSoundBackend(m_useDevice);
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

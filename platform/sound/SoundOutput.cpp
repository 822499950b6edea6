#include "SoundOutput.h"

#include "Sound.h"

#include <QCoreApplication>
#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <thread>

void TSoundMix::Set(const QByteArray& pcm, bool loop)
{
    std::lock_guard<std::mutex> l(m_lock);
    m_pcm = pcm; // shares the cached wave's bytes: nothing is copied or freed here
    m_pos = 0;
    m_loop = loop;
}

void TSoundMix::Clear()
{
    std::lock_guard<std::mutex> l(m_lock);
    m_pcm = QByteArray();
    m_pos = 0;
    m_loop = false;
}

void TSoundMix::Fill(std::int16_t* out, int frames)
{
    const qsizetype want = qsizetype(frames) * 2;
    qsizetype done = 0;
    {
        std::lock_guard<std::mutex> l(m_lock);
        const qsizetype size = m_pcm.size() & ~qsizetype(1);
        while (done < want && size > 0) {
            if (m_pos >= size) {
                if (!m_loop) break;
                m_pos = 0;
            }
            const qsizetype n = std::min(want - done, size - m_pos);
            std::memcpy(reinterpret_cast<char*>(out) + done, m_pcm.constData() + m_pos, size_t(n));
            m_pos += n;
            done += n;
        }
    }
    std::memset(reinterpret_cast<char*>(out) + done, 0, size_t(want - done));
}

namespace {

using namespace std::chrono_literals;

// What the output thread shares with the backend. The thread holds it too, so that a thread left
// behind at exit (stuck in a hung sound server) never reaches freed memory.
struct TOutputState {
    TSoundMix mix;
    std::mutex lock;
    std::condition_variable wake;
    bool quit = false;
    bool done = false;
};

// How long the end of the program waits for the output to close before it leaves the thread behind.
constexpr auto kCloseWait = 3s;
// How often the thread looks whether the stream was lost (the server ended), and how long it waits
// before trying again after a failed open. A lost stream is looked for again every second on the
// driver that had it, which fails quickly and quietly while the server is away. Before any stream
// opened, every driver is tried, and some complain on stderr each time: the wait doubles, up to
// the cap.
constexpr auto kWatchEvery = 500ms;
constexpr auto kFirstRetry = 1s;
constexpr auto kLongestRetry = 30s;

void feed(void* mix, Uint8* stream, int len)
{
    static_cast<TSoundMix*>(mix)->Fill(reinterpret_cast<std::int16_t*>(stream), len / 2);
}

SDL_AudioDeviceID openStream(TSoundMix& mix)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    SDL_AudioSpec want{};
    want.freq = kStreamRate;
    want.format = AUDIO_S16SYS;
    want.channels = kStreamChannels;
    want.samples = 1024; // about 46 ms: short enough for a kick, long enough for a busy machine
    want.callback = feed;
    want.userdata = &mix;
    // SDL converts to whatever the device takes.
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!id) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO); // the next try looks for a driver afresh
        return 0;
    }
    SDL_PauseAudioDevice(id, 0);
    return id;
}

void closeStream(SDL_AudioDeviceID id)
{
    SDL_CloseAudioDevice(id);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// The output thread: opens the stream, keeps it, opens it again when the server comes back after
// losing it, and closes it once at the end. Opening can block (a server that does not answer), so it
// never happens on the game thread.
void runOutput(std::shared_ptr<TOutputState> s, QByteArray appName)
{
    // The program keeps its own handling of SIGINT and SIGTERM.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, appName.constData());
    SDL_AudioDeviceID stream = 0;
    std::chrono::milliseconds retry = kFirstRetry;
    bool opened = false;
    std::unique_lock<std::mutex> l(s->lock);
    while (!s->quit) {
        if (!stream) {
            l.unlock();
            stream = openStream(s->mix);
            l.lock();
            if (!stream) {
                s->wake.wait_for(l, retry, [&] { return s->quit; });
                if (!opened) retry = std::min<std::chrono::milliseconds>(retry * 2, kLongestRetry);
                continue;
            }
            if (!opened) {
                // Once a driver has worked, a lost stream is looked for again on that driver alone:
                // the others would only fail, each with its own complaint on stderr.
                opened = true;
                SDL_SetHint(SDL_HINT_AUDIODRIVER, SDL_GetCurrentAudioDriver());
            }
        }
        if (s->wake.wait_for(l, kWatchEvery, [&] { return s->quit; })) break;
        if (SDL_GetAudioDeviceStatus(stream) == SDL_AUDIO_STOPPED) { // the server went away
            l.unlock();
            closeStream(stream);
            stream = 0;
            l.lock();
        }
    }
    l.unlock();
    if (stream) closeStream(stream);
    SDL_Quit();
    l.lock();
    s->done = true;
    s->wake.notify_all();
}

class DeviceSoundBackend : public SoundBackend {
public:
    explicit DeviceSoundBackend(bool useDevice) : m_useDevice(useDevice) {}
    ~DeviceSoundBackend() override
    {
        if (!m_thread.joinable()) return;
        std::unique_lock<std::mutex> l(m_state->lock);
        m_state->quit = true;
        m_state->wake.notify_all();
        const bool closed = m_state->wake.wait_for(l, kCloseWait, [this] { return m_state->done; });
        l.unlock();
        if (closed) m_thread.join();
        else m_thread.detach(); // stuck in the sound server: the program ends without it
    }
    void Start(const QString&, const TWaveData& wave, bool loop) override
    {
        if (wave.sampleRate == kStreamRate && wave.channels == kStreamChannels && wave.bitsPerSample == kStreamBits)
            m_state->mix.Set(wave.pcm, loop);
        else
            m_state->mix.Clear();
        if (m_useDevice && !m_thread.joinable())
            m_thread = std::thread(runOutput, m_state, QCoreApplication::applicationName().toUtf8());
    }
    void Stop() override { m_state->mix.Clear(); }

private:
    bool m_useDevice;
    std::shared_ptr<TOutputState> m_state = std::make_shared<TOutputState>();
    std::thread m_thread;
};

} // namespace

std::unique_ptr<SoundBackend> NewDeviceSoundBackend(bool useDevice)
{
    return std::make_unique<DeviceSoundBackend>(useDevice);
}

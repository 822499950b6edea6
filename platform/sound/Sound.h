#pragma once
// The sound service: one logical channel, playing the built-in WAVE resources (":/sounds/NAME.wav")
// by name. A sound "plays" from its start for the length of its WAVE data as measured on the clock
// service (Clock()), whatever the audio device does; with no device the sound is silent and the
// timing is the same. The output itself is a backend: the audio device, or a recording one in tests.
#include <QByteArray>
#include <QString>
#include <map>
#include <memory>
#include <vector>

// Flags of a play call. Without SndAsync the call returns once the sound has played.
enum TSoundFlags : unsigned {
    SndSync = 0x00,
    SndAsync = 0x01,
    SndLoop = 0x08,   // plays again and again until stopped or replaced (always asynchronous)
    SndNoStop = 0x10, // fails while another sound still plays, which keeps playing
};

// A decoded WAVE resource: the PCM bytes and their format.
struct TWaveData {
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    QByteArray pcm;
    // Length of the data in ms, rounded up.
    qint64 LengthMs() const;
};

// Reads a PCM WAVE file; false when it is not one (the chunks are checked against the bytes present).
bool ParseWave(const QByteArray& file, TWaveData& out);

// What actually makes the sound. Start replaces whatever the backend was playing.
class SoundBackend {
public:
    virtual ~SoundBackend() = default;
    virtual void Start(const QString& name, const TWaveData& wave, bool loop) = 0;
    virtual void Stop() = 0;
};

// The audio device's output (SoundOutput.h): one stream for the whole run, opened on a thread of its
// own when the first sound plays. With useDevice false, or while the system has no audio output, it
// plays nothing, and the service's timing is the same.
std::unique_ptr<SoundBackend> NewDeviceSoundBackend(bool useDevice = true);

// The game program makes its service in main(), after the application object, so that the service
// and its audio output end while the application and Qt's audio backend still live. While it lives,
// Sound() is that service; before and after, Sound() is a silent stand-in with the same timing.
class SoundService {
public:
    // The service with the device is the program's: Sound() answers with it while it lives. Without
    // the device (the stand-in) the default output plays nothing.
    explicit SoundService(bool useDevice = true);
    ~SoundService();
    SoundService(const SoundService&) = delete;
    SoundService& operator=(const SoundService&) = delete;
    // Plays a sound resource; false when the name is unknown or SndNoStop found a sound playing.
    bool Play(const QString& name, unsigned flags);
    // Stops the sound that plays, if any.
    void Stop();
    // A sound plays now (a looped one until stopped).
    bool Playing();
    QString Current() const { return m_current; }
    // Replaces the output (tests pass a recording backend; nullptr puts the default output back).
    void SetBackend(SoundBackend* b);

private:
    const TWaveData* wave(const QString& name);
    SoundBackend& backend();
    std::map<QString, std::unique_ptr<TWaveData>> m_cache; // null entry: no such resource
    SoundBackend* m_backend = nullptr;
    std::unique_ptr<SoundBackend> m_device;
    bool m_useDevice;
    QString m_current;
    qint64 m_start = 0;
    qint64 m_length = 0;
    bool m_loop = false;
};

// The program's service while one lives, else the silent stand-in.
SoundService& Sound();
// The original play-by-name call: Sound().Play(name, flags).
bool PlaySound(const QString& name, unsigned flags);

#pragma once
// The audio device's output: one stream, opened when the first sound plays and kept for the run,
// fed from the current sound or silence. Making and destroying a stream per sound raced with the
// sound server's callbacks and aborted the program now and then; one stream never does that.
#include <QByteArray>
#include <cstdint>
#include <mutex>

// The stream's format. Every sound of the program is recorded in it; a sound in another format is
// kept silent (its timing on the service's clock is the same).
constexpr int kStreamRate = 22050;
constexpr int kStreamChannels = 1;
constexpr int kStreamBits = 16;

// What the stream plays next: the samples of the current sound from where it has got to (from its
// start again when it loops), then silence. The game thread sets it, the audio thread drains it.
class TSoundMix {
public:
    void Set(const QByteArray& pcm, bool loop);
    void Clear();
    // Writes the next `frames` samples.
    void Fill(std::int16_t* out, int frames);

private:
    std::mutex m_lock; // held only to copy samples: the audio thread never waits long on it
    QByteArray m_pcm;
    qsizetype m_pos = 0;
    bool m_loop = false;
};

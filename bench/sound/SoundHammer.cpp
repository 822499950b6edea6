// Hammers the game program's sound output as a restless game would: thousands of plays, loops,
// no-stop plays, short synchronous plays and stops, at random gaps of 0 to 20 ms, on the real audio
// device. Run by sound_soak.sh against a private sound server; it must end with status 0.
// Usage: sound_hammer [switches] [seed]
#include "Resources.h"
#include "Sound.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdio>
#include <random>

namespace {

const char* const kSounds[] = {"OPENING", "KANSEI", "CHANGE", "KICK", "TACKLE", "PISTOL", "KOKERU", "HURDLE",
                               "GOLFPAT", "GOLFIN", "BANT", "BATTING", "WHISTLE", "WHISTLE3", "GOALPOST", "GOALFILEBGM"};
// Short enough to be played synchronously without stretching the run.
const char* const kShortSounds[] = {"KICK", "GOLFPAT", "BANT"};

// Waits while the application's events go on, as the game's timers do between ticks.
void pause(int ms)
{
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    } while (t.elapsed() < ms);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int switches = argc > 1 ? std::atoi(argv[1]) : 5000;
    const unsigned seed = argc > 2 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : std::random_device()();
    InitGameResources();
    SoundService sound;
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> gap(0, 20), pick(0, 99);
    std::uniform_int_distribution<size_t> anySound(0, std::size(kSounds) - 1), shortSound(0, std::size(kShortSounds) - 1);
    int plays = 0, loops = 0, stops = 0, refused = 0;
    for (int i = 0; i < switches; ++i) {
        const int what = pick(rng);
        const QString name = QString::fromLatin1(kSounds[anySound(rng)]);
        if (what < 40) {
            plays += sound.Play(name, SndAsync);
        } else if (what < 60) {
            loops += sound.Play(name, SndAsync | SndLoop);
        } else if (what < 85) {
            sound.Stop();
            ++stops;
        } else if (what < 95) {
            refused += !sound.Play(name, SndAsync | SndNoStop);
        } else {
            plays += sound.Play(QString::fromLatin1(kShortSounds[shortSound(rng)]), SndSync);
        }
        pause(gap(rng));
    }
    sound.Stop();
    std::printf("seed %u: %d switches, %d plays, %d loops, %d stops, %d no-stop refusals\n", seed, switches, plays, loops,
                stops, refused);
    return 0;
}

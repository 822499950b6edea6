// The sound service on the clock service: one channel, replacing, no-stop refusals, synchronous
// waits, loops, the device backend without a device, the program's service and the stand-in after
// it; and the synthesised sounds themselves.
#include "Clock.h"
#include "Resources.h"
#include "Sound.h"
#include "SoundOutput.h"
#include <QFile>
#include <cmath>
#include <gtest/gtest.h>
#include "TestDoubles.h"

namespace {

const char* const kAllSounds[] = {"OPENING", "KANSEI", "CHANGE", "KICK", "TACKLE", "PISTOL", "KOKERU", "HURDLE",
                                  "GOLFPAT", "GOLFIN", "BANT", "BATTING", "WHISTLE", "WHISTLE3", "GOALPOST", "GOALFILEBGM"};

// A sound resource's WAVE data; empty when there is none.
TWaveData waveOf(const char* name)
{
    QFile f(QStringLiteral(":/sounds/") + QString::fromLatin1(name) + QStringLiteral(".wav"));
    TWaveData w;
    if (!f.open(QIODevice::ReadOnly) || !ParseWave(f.readAll(), w)) return TWaveData();
    return w;
}

qint64 lengthOf(const char* name)
{
    return waveOf(name).LengthMs();
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const bool once = [] {
            InitGameResources();
            return true;
        }();
        (void)once;
        clock.SetAutoRun(false);
        SetClock(&clock);
        Sound().SetBackend(&rec);
    }
    void TearDown() override
    {
        Sound().Stop();
        Sound().SetBackend(nullptr);
        SetClock(nullptr);
    }
    VirtualClock clock;
    RecordingSoundBackend rec;
};

TEST_F(SoundTest, ANewSoundReplacesThePlayingOne)
{
    ASSERT_TRUE(Sound().Play(QStringLiteral("KANSEI"), SndAsync));
    clock.Advance(100);
    ASSERT_TRUE(Sound().Play(QStringLiteral("KICK"), SndAsync));
    EXPECT_EQ(Sound().Current(), QStringLiteral("KICK"));
    ASSERT_EQ(rec.events.size(), 2u);
    EXPECT_EQ(rec.events[1].name, QStringLiteral("KICK"));
    EXPECT_EQ(rec.events[1].atMs, 100);
    // The channel is free again once the kick's length has passed, whatever KANSEI's length was.
    clock.Advance(lengthOf("KICK"));
    EXPECT_FALSE(Sound().Playing());
}

TEST_F(SoundTest, NoStopIsRefusedWhileASoundPlaysAndTakenAfterIt)
{
    const qint64 len = lengthOf("OPENING");
    ASSERT_TRUE(Sound().Play(QStringLiteral("OPENING"), SndAsync));
    clock.Advance(len - 1);
    EXPECT_TRUE(Sound().Playing());
    EXPECT_FALSE(Sound().Play(QStringLiteral("WHISTLE"), SndAsync | SndNoStop));
    EXPECT_EQ(rec.Count(QStringLiteral("WHISTLE")), 0);
    EXPECT_EQ(Sound().Current(), QStringLiteral("OPENING"));
    clock.Advance(1);
    EXPECT_TRUE(Sound().Play(QStringLiteral("WHISTLE"), SndAsync | SndNoStop));
    EXPECT_EQ(rec.Count(QStringLiteral("WHISTLE")), 1);
}

TEST_F(SoundTest, ASynchronousSoundWaitsItsLengthOnTheClock)
{
    const qint64 len = lengthOf("TACKLE");
    const qint64 before = clock.NowMs();
    ASSERT_TRUE(Sound().Play(QStringLiteral("TACKLE"), SndSync));
    EXPECT_EQ(clock.NowMs() - before, len);
    EXPECT_EQ(clock.SleptMs(), len);
    EXPECT_FALSE(Sound().Playing());
    // A refused or unknown sound waits for nothing.
    EXPECT_FALSE(Sound().Play(QStringLiteral("NOSUCH"), SndSync));
    EXPECT_EQ(clock.NowMs() - before, len);
}

TEST_F(SoundTest, ALoopPlaysUntilStoppedAndBlocksNoStopSounds)
{
    ASSERT_TRUE(Sound().Play(QStringLiteral("GOALFILEBGM"), SndAsync | SndLoop | SndNoStop));
    clock.Advance(10 * lengthOf("GOALFILEBGM"));
    EXPECT_TRUE(Sound().Playing());
    EXPECT_FALSE(Sound().Play(QStringLiteral("CHANGE"), SndAsync | SndNoStop));
    EXPECT_TRUE(rec.events.back().loop);
    Sound().Stop();
    EXPECT_FALSE(Sound().Playing());
    ASSERT_EQ(rec.events.size(), 2u);
    EXPECT_TRUE(rec.events[1].name.isEmpty());
    EXPECT_TRUE(Sound().Play(QStringLiteral("CHANGE"), SndAsync | SndNoStop));
}

TEST_F(SoundTest, WithoutADeviceTheTimingIsTheSame)
{
    auto silent = NewDeviceSoundBackend(/*useDevice=*/false);
    Sound().SetBackend(silent.get());
    const qint64 before = clock.NowMs();
    ASSERT_TRUE(Sound().Play(QStringLiteral("KANSEI"), SndAsync));
    EXPECT_TRUE(Sound().Playing());
    EXPECT_FALSE(Sound().Play(QStringLiteral("KICK"), SndAsync | SndNoStop));
    ASSERT_TRUE(Sound().Play(QStringLiteral("TACKLE"), SndSync));
    EXPECT_EQ(clock.NowMs() - before, lengthOf("TACKLE"));
    ASSERT_TRUE(Sound().Play(QStringLiteral("GOALFILEBGM"), SndAsync | SndLoop));
    Sound().Stop();
    Sound().SetBackend(&rec);
    silent.reset(); // its output thread ends cleanly
}

TEST_F(SoundTest, OnceTheProgramsServiceEndsSoundsGoToTheSilentStandIn)
{
    {
        RecordingSoundBackend program;
        SoundService service;
        service.SetBackend(&program);
        ASSERT_TRUE(PlaySound(QStringLiteral("KICK"), SndAsync));
        EXPECT_EQ(program.Count(QStringLiteral("KICK")), 1);
        EXPECT_EQ(rec.Count(QStringLiteral("KICK")), 0);
    }
    EXPECT_TRUE(PlaySound(QStringLiteral("KICK"), SndAsync));
    EXPECT_EQ(rec.Count(QStringLiteral("KICK")), 1);
}

// What the one stream plays: the current sound from its start, then silence; a loop again and again;
// a new sound or a stop takes over from the next sample.
TEST(SoundMixTest, TheStreamPlaysTheCurrentSoundFromItsStartThenSilence)
{
    auto pcm = [](std::initializer_list<std::int16_t> v) {
        return QByteArray(reinterpret_cast<const char*>(std::data(v)), qsizetype(v.size() * 2));
    };
    const QByteArray a = pcm({1, 2, 3, 4, 5, 6}), b = pcm({100, 101, 102, 103});
    struct Step {
        const QByteArray* set; // null: a stop
        bool loop;
        int fill; // samples drawn after the change (0: the change alone)
    };
    struct Row {
        const char* what;
        std::vector<Step> steps;
        std::vector<std::int16_t> heard;
    };
    const Row rows[] = {
        {"a sound, then silence", {{&a, false, 8}}, {1, 2, 3, 4, 5, 6, 0, 0}},
        {"a loop", {{&b, true, 10}}, {100, 101, 102, 103, 100, 101, 102, 103, 100, 101}},
        {"a new sound mid-way", {{&a, false, 3}, {&b, false, 5}}, {1, 2, 3, 100, 101, 102, 103, 0}},
        {"a stop in a loop", {{&b, true, 2}, {nullptr, false, 3}}, {100, 101, 0, 0, 0}},
        {"nothing yet", {{nullptr, false, 3}}, {0, 0, 0}},
    };
    for (const Row& r : rows) {
        TSoundMix mix;
        std::vector<std::int16_t> heard;
        for (const Step& s : r.steps) {
            if (s.set) mix.Set(*s.set, s.loop);
            else mix.Clear();
            std::vector<std::int16_t> out(size_t(s.fill), -1);
            mix.Fill(out.data(), s.fill);
            heard.insert(heard.end(), out.begin(), out.end());
        }
        EXPECT_EQ(heard, r.heard) << r.what;
    }
}

TEST(WaveTest, ParseRejectsWhatIsNotAWholePcmWave)
{
    QFile f(QStringLiteral(":/sounds/KICK.wav"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    TWaveData w;
    ASSERT_TRUE(ParseWave(good, w));
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.bitsPerSample, 16);
    EXPECT_EQ(qint64(w.pcm.size()), qint64(good.size()) - 44);
    for (int cut : {0, 4, 11, 20, 36, 43}) EXPECT_FALSE(ParseWave(good.left(cut), w)) << cut;
    QByteArray longer = good;
    longer[40] = char(0xFF); // data size beyond the bytes present
    longer[41] = char(0xFF);
    EXPECT_FALSE(ParseWave(longer, w));
    QByteArray notPcm = good;
    notPcm[20] = 3;
    EXPECT_FALSE(ParseWave(notPcm, w));
}

// ---------------------------------------------------------------------------------------------
// The sounds by analysis: length, level, no clipping, and where their energy lies.

std::vector<double> samplesOf(const char* name)
{
    const TWaveData w = waveOf(name);
    std::vector<double> s;
    const auto* p = reinterpret_cast<const qint16*>(w.pcm.constData());
    for (qsizetype i = 0; i < w.pcm.size() / 2; ++i) s.push_back(p[i] / 32768.0);
    return s;
}

// Energy of a frequency band relative to the whole, by a plain DFT over a window.
double bandShare(const std::vector<double>& s, double lo, double hi, size_t from, size_t len)
{
    const double rate = 22050;
    double band = 0, total = 0;
    len = std::min(len, s.size() - from);
    for (double f = 50; f < 10000; f += 50) {
        double re = 0, im = 0;
        for (size_t i = 0; i < len; ++i) {
            const double a = 2 * M_PI * f * double(i) / rate;
            re += s[from + i] * std::cos(a);
            im += s[from + i] * std::sin(a);
        }
        const double e = re * re + im * im;
        total += e;
        if (f >= lo && f <= hi) band += e;
    }
    return total > 0 ? band / total : 0;
}

TEST(SoundAnalysisTest, ShortCleanAndWellLevelled)
{
    struct Expect {
        const char* name;
        double minSec, maxSec;
    };
    const Expect table[] = {{"OPENING", 1.5, 3.0}, {"KANSEI", 1.5, 3.0},  {"CHANGE", 0.3, 1.0},   {"KICK", 0.08, 0.3},
                            {"TACKLE", 0.15, 0.4}, {"PISTOL", 0.25, 0.7}, {"KOKERU", 0.3, 0.9},   {"HURDLE", 0.2, 0.6},
                            {"GOLFPAT", 0.05, 0.2}, {"GOLFIN", 0.3, 0.9}, {"BANT", 0.08, 0.3},    {"BATTING", 0.15, 0.5},
                            {"WHISTLE", 0.3, 1.0}, {"WHISTLE3", 1.2, 2.5}, {"GOALPOST", 0.4, 1.2}, {"GOALFILEBGM", 4.0, 12.0}};
    for (const Expect& e : table) {
        const TWaveData w = waveOf(e.name);
        // In the output stream's own format, or it would stay silent.
        EXPECT_EQ(std::tuple(w.sampleRate, w.channels, w.bitsPerSample), std::tuple(kStreamRate, kStreamChannels, kStreamBits)) << e.name;
        const std::vector<double> s = samplesOf(e.name);
        ASSERT_FALSE(s.empty()) << e.name;
        const double secs = double(s.size()) / 22050;
        EXPECT_GE(secs, e.minSec) << e.name;
        EXPECT_LE(secs, e.maxSec) << e.name;
        double peak = 0;
        for (double v : s) peak = std::max(peak, std::abs(v));
        EXPECT_GT(peak, 0.3) << e.name;
        EXPECT_LT(peak, 0.9) << e.name << " too hot";
    }
}

TEST(SoundAnalysisTest, EachSoundsWhereItShould)
{
    // A referee's whistle is shrill: most of its energy between 2.4 and 3.6 kHz.
    const auto whistle = samplesOf("WHISTLE");
    EXPECT_GT(bandShare(whistle, 2400, 3600, 2000, 2048), 0.7);
    // A kick and a tackle are thumps: mostly below 1 kHz.
    EXPECT_GT(bandShare(samplesOf("KICK"), 0, 1000, 0, 2048), 0.6);
    EXPECT_GT(bandShare(samplesOf("TACKLE"), 0, 1200, 0, 2048), 0.6);
    // A crowd's cheer spreads over the voice range rather than sitting on one tone.
    const auto cheer = samplesOf("KANSEI");
    const double voice = bandShare(cheer, 200, 4000, 22050, 2048);
    EXPECT_GT(voice, 0.6);
    EXPECT_LT(bandShare(cheer, 700, 800, 22050, 2048), 0.5);
    // The bell chime rings high.
    EXPECT_GT(bandShare(samplesOf("CHANGE"), 1000, 3000, 0, 2048), 0.6);
}

TEST(SoundAnalysisTest, EffectsStartAndEndSilentTheMusicLoopsSeamlessly)
{
    for (const char* name : kAllSounds) {
        const auto s = samplesOf(name);
        if (std::string(name) == "GOALFILEBGM") continue;
        EXPECT_LT(std::abs(s.front()), 0.01) << name;
        EXPECT_LT(std::abs(s.back()), 0.01) << name;
    }
    const auto bgm = samplesOf("GOALFILEBGM");
    // The step from the last sample to the first is no bigger than the steps inside the tune.
    double maxStep = 0;
    for (size_t i = 1; i < bgm.size(); ++i) maxStep = std::max(maxStep, std::abs(bgm[i] - bgm[i - 1]));
    EXPECT_LE(std::abs(bgm.front() - bgm.back()), maxStep);
}

} // namespace

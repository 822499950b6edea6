// The game program's sounds, synthesised: 22050 Hz, 16-bit mono WAVE. Each is short and peaks a few
// dB below full scale; the effects fade in and out over a few samples so that nothing clicks, and the
// replay music is rendered around its own end so that it loops without a seam.
#include "ResGen.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Wave = std::vector<double>;

Wave silence(double seconds)
{
    return Wave(size_t(seconds * kRate), 0.0);
}

// A small deterministic noise source, so that every build makes the same bytes.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : m_s(seed ? seed : 1) {}
    double next()
    {
        m_s ^= m_s << 13;
        m_s ^= m_s >> 17;
        m_s ^= m_s << 5;
        return double(m_s) / 2147483648.0 - 1.0;
    }
    double uniform(double lo, double hi) { return lo + (hi - lo) * (next() + 1.0) / 2.0; }

private:
    std::uint32_t m_s;
};

// Band-pass biquad (constant peak gain), as the usual audio cookbook gives it.
class BandPass {
public:
    BandPass(double centre, double q)
    {
        const double w = 2 * kPi * centre / kRate, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
        m_b0 = alpha / a0;
        m_b2 = -alpha / a0;
        m_a1 = -2 * std::cos(w) / a0;
        m_a2 = (1 - alpha) / a0;
    }
    double operator()(double x)
    {
        const double y = m_b0 * x + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
        m_x2 = m_x1;
        m_x1 = x;
        m_y2 = m_y1;
        m_y1 = y;
        return y;
    }

private:
    double m_b0, m_b2, m_a1, m_a2;
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};

class LowPass {
public:
    explicit LowPass(double cutoff) : m_k(1.0 - std::exp(-2 * kPi * cutoff / kRate)) {}
    double operator()(double x) { return m_y += m_k * (x - m_y); }

private:
    double m_k;
    double m_y = 0;
};

// Adds src into dst at a time offset, growing dst as needed.
void mixAt(Wave& dst, const Wave& src, double at, double gain = 1.0)
{
    const size_t off = size_t(at * kRate);
    if (dst.size() < off + src.size()) dst.resize(off + src.size(), 0.0);
    for (size_t i = 0; i < src.size(); ++i) dst[off + i] += gain * src[i];
}

// A struck tone: partials (frequency ratio, level, decay time in s) of a base frequency.
struct Partial {
    double ratio, level, decay;
};
Wave struck(double freq, const std::vector<Partial>& partials, double seconds, double attack = 0.002)
{
    Wave w = silence(seconds);
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        const double a = std::min(1.0, t / attack);
        double v = 0;
        for (const Partial& p : partials) v += p.level * std::exp(-t / p.decay) * std::sin(2 * kPi * freq * p.ratio * t);
        w[i] = a * v;
    }
    return w;
}

// A burst of filtered noise with an exponential decay.
Wave noiseBurst(double seconds, double centre, double q, double decay, std::uint32_t seed, double attack = 0.001)
{
    Noise n(seed);
    BandPass bp(centre, q);
    Wave w = silence(seconds);
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        w[i] = bp(n.next()) * std::min(1.0, t / attack) * std::exp(-t / decay);
    }
    return w;
}

// A sine whose frequency glides exponentially from f0 to f1 over the length, with a decay.
Wave glide(double f0, double f1, double seconds, double decay, double attack = 0.002)
{
    Wave w = silence(seconds);
    double phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        const double f = f0 * std::pow(f1 / f0, t / seconds);
        phase += 2 * kPi * f / kRate;
        w[i] = std::sin(phase) * std::min(1.0, t / attack) * std::exp(-t / decay);
    }
    return w;
}

// Scales to the peak, fades the edges (unless the sound loops) and makes the samples.
std::vector<qint16> finish(Wave w, double peak, bool fadeEdges = true)
{
    double top = 0;
    for (double v : w) top = std::max(top, std::abs(v));
    const double k = top > 0 ? peak / top : 0;
    const size_t fade = std::min(w.size() / 4, size_t(kRate / 200)); // 5 ms
    std::vector<qint16> out(w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        double g = k;
        if (fadeEdges) {
            if (i < fade) g *= double(i) / double(fade);
            if (w.size() - 1 - i < fade) g *= double(w.size() - 1 - i) / double(fade);
        }
        out[i] = qint16(std::lround(std::clamp(w[i] * g, -1.0, 1.0) * 32767.0));
    }
    return out;
}

QByteArray wav(Wave w, double peak, bool fadeEdges = true)
{
    return WavOf(finish(std::move(w), peak, fadeEdges), kRate);
}

double noteFreq(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// A note of a soft square-ish voice (odd harmonics falling off) with attack and release.
Wave voiceNote(double freq, double seconds, double level, double brightness, double release = 0.06)
{
    Wave w = silence(seconds + release);
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        double env = std::min(1.0, t / 0.01) * (0.75 + 0.25 * std::exp(-t / 0.08));
        if (t > seconds) env *= std::max(0.0, 1.0 - (t - seconds) / release);
        double v = 0;
        for (int h = 1; h <= 7; h += 2) v += std::pow(brightness, (h - 1) / 2) / h * std::sin(2 * kPi * freq * h * t);
        w[i] = level * env * v;
    }
    return w;
}

// A plucked bass note: a sine with its octave, decaying.
Wave bassNote(double freq, double seconds, double level)
{
    Wave w = silence(seconds);
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        const double env = std::min(1.0, t / 0.005) * std::exp(-t / 0.35) * std::min(1.0, (seconds - t) / 0.02);
        w[i] = level * env * (std::sin(2 * kPi * freq * t) + 0.3 * std::sin(4 * kPi * freq * t));
    }
    return w;
}

// ---------------------------------------------------------------------------------------------

// A ball kicked: a low thump falling in pitch, with the slap of the foot on the ball. Short enough
// (130 ms) to play whole on every step of a dashing runner, 160 ms apart.
QByteArray makeKick()
{
    Wave w = glide(160, 55, 0.13, 0.04);
    mixAt(w, noiseBurst(0.03, 1800, 0.8, 0.006, 11), 0, 0.35);
    return wav(w, 0.75);
}

// Bodies and ball colliding: a deep thud under a short dull crash.
QByteArray makeTackle()
{
    Wave w = glide(110, 45, 0.26, 0.08);
    mixAt(w, noiseBurst(0.2, 700, 0.7, 0.045, 21), 0, 0.8);
    mixAt(w, noiseBurst(0.05, 2500, 1.2, 0.008, 22), 0, 0.25);
    return wav(w, 0.75);
}

// The starter's pistol: a sharp crack, a low boom and a short rolling echo.
QByteArray makePistol()
{
    Wave w = noiseBurst(0.45, 2200, 0.5, 0.018, 31, 0.0005);
    mixAt(w, glide(90, 40, 0.3, 0.09), 0, 0.8);
    Noise n(32);
    LowPass lp(900);
    Wave tail = silence(0.45);
    for (size_t i = 0; i < tail.size(); ++i) {
        const double t = double(i) / kRate;
        tail[i] = lp(n.next()) * std::exp(-t / 0.12) * std::min(1.0, t / 0.03);
    }
    mixAt(w, tail, 0.02, 1.2);
    return wav(w, 0.72);
}

// A runner falling over: a quick falling slide, then a bump and a smaller bounce.
QByteArray makeKokeru()
{
    Wave w = glide(950, 220, 0.28, 0.5, 0.01);
    for (double& v : w) v *= 0.45;
    mixAt(w, glide(120, 50, 0.2, 0.06), 0.27, 1.0);
    mixAt(w, noiseBurst(0.12, 600, 0.8, 0.03, 41), 0.27, 0.7);
    mixAt(w, glide(110, 55, 0.14, 0.04), 0.42, 0.45);
    mixAt(w, noiseBurst(0.08, 700, 0.8, 0.02, 42), 0.42, 0.3);
    return wav(w, 0.72);
}

// A hurdle knocked down: a wooden clack and the bar clattering on the track.
QByteArray makeHurdle()
{
    const std::vector<Partial> wood{{1.0, 1.0, 0.03}, {2.3, 0.5, 0.02}, {3.9, 0.25, 0.012}};
    Wave w;
    const double at[] = {0.0, 0.09, 0.16, 0.21, 0.25};
    const double level[] = {1.0, 0.6, 0.45, 0.3, 0.2};
    for (int i = 0; i < 5; ++i) {
        mixAt(w, struck(620 + 70 * i, wood, 0.12), at[i], level[i]);
        mixAt(w, noiseBurst(0.04, 2000, 1.0, 0.006, 51 + std::uint32_t(i)), at[i], 0.5 * level[i]);
    }
    w.resize(size_t(0.42 * kRate), 0.0);
    return wav(w, 0.7);
}

// The putter meeting the ball: a light, bright tick.
QByteArray makeGolfPat()
{
    Wave w = struck(1750, {{1.0, 1.0, 0.02}, {1.93, 0.4, 0.012}, {3.1, 0.2, 0.006}}, 0.12, 0.0008);
    mixAt(w, noiseBurst(0.02, 4000, 1.0, 0.003, 61), 0, 0.3);
    return wav(w, 0.65);
}

// The ball dropping into the cup: hollow knocks rattling closer together and fading.
QByteArray makeGolfIn()
{
    const std::vector<Partial> cup{{1.0, 1.0, 0.06}, {2.7, 0.45, 0.03}, {5.2, 0.15, 0.015}};
    Wave w;
    const double at[] = {0.0, 0.16, 0.27, 0.35, 0.41, 0.45};
    const double level[] = {1.0, 0.75, 0.55, 0.4, 0.28, 0.18};
    for (int i = 0; i < 6; ++i) mixAt(w, struck(760 - 25 * i, cup, 0.2), at[i], level[i]);
    w.resize(size_t(0.62 * kRate), 0.0);
    return wav(w, 0.7);
}

// A bunt: the ball deadened on the bat, a soft wooden tock.
QByteArray makeBant()
{
    Wave w = struck(480, {{1.0, 1.0, 0.035}, {2.4, 0.35, 0.018}}, 0.16);
    mixAt(w, noiseBurst(0.03, 1200, 1.0, 0.006, 71), 0, 0.3);
    return wav(w, 0.68);
}

// A full swing meeting the ball: a sharp crack with a ringing wooden body.
QByteArray makeBatting()
{
    Wave w = noiseBurst(0.08, 2600, 0.7, 0.01, 81, 0.0005);
    mixAt(w, struck(1350, {{1.0, 1.0, 0.08}, {1.95, 0.6, 0.05}, {3.3, 0.3, 0.03}}, 0.35, 0.0008), 0, 0.7);
    mixAt(w, glide(220, 120, 0.12, 0.03), 0, 0.4);
    return wav(w, 0.75);
}

// A referee's pea whistle: a shrill tone near 2.9 kHz, trilled by the pea, with breath in it.
Wave whistleBlast(double seconds, std::uint32_t seed)
{
    Noise n(seed);
    BandPass breath(2900, 6);
    Wave w = silence(seconds);
    double phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        const double trill = std::sin(2 * kPi * 32 * t);
        const double f = 2900 + 140 * trill;
        phase += 2 * kPi * f / kRate;
        const double env = std::min(1.0, t / 0.02) * std::min(1.0, (seconds - t) / 0.04);
        const double tone = std::sin(phase) + 0.12 * std::sin(2 * phase);
        w[i] = env * ((0.75 + 0.25 * trill) * tone + 0.6 * breath(n.next()));
    }
    return w;
}

QByteArray makeWhistle()
{
    return wav(whistleBlast(0.6, 91), 0.6);
}

// The final whistle: two short blasts and a long one.
QByteArray makeWhistle3()
{
    Wave w;
    mixAt(w, whistleBlast(0.26, 92), 0.0);
    mixAt(w, whistleBlast(0.26, 93), 0.4);
    mixAt(w, whistleBlast(1.0, 94), 0.8);
    return wav(w, 0.6);
}

// The ball striking a goal post: a metallic clang with inharmonic partials that ring on.
QByteArray makeGoalPost()
{
    Wave w = struck(520, {{1.0, 1.0, 0.35}, {2.76, 0.7, 0.22}, {5.40, 0.45, 0.12}, {8.93, 0.25, 0.07}}, 0.8, 0.001);
    mixAt(w, noiseBurst(0.03, 3000, 1.0, 0.005, 101), 0, 0.4);
    return wav(w, 0.7);
}

// A turn passing: a two-note bell chime.
QByteArray makeChange()
{
    const std::vector<Partial> bell{{1.0, 1.0, 0.25}, {2.0, 0.35, 0.12}, {3.01, 0.15, 0.06}};
    Wave w;
    mixAt(w, struck(noteFreq(88), bell, 0.45), 0.0);  // E6
    mixAt(w, struck(noteFreq(84), bell, 0.55), 0.18); // C6
    return wav(w, 0.6);
}

// A crowd cheer: many voices on an open vowel at scattered pitches, with the hiss of the crowd,
// swelling in and dying away.
QByteArray makeKansei()
{
    const double len = 2.2;
    Wave voices = silence(len);
    Noise n(111);
    for (int v = 0; v < 36; ++v) {
        const double f0 = n.uniform(170, 420), start = n.uniform(0.0, 0.35), vib = n.uniform(4, 7), glideUp = n.uniform(1.0, 1.25);
        const double level = n.uniform(0.5, 1.0);
        double phase = 0;
        for (size_t i = size_t(start * kRate); i < voices.size(); ++i) {
            const double t = double(i) / kRate - start;
            const double f = f0 * (1.0 + (glideUp - 1.0) * std::min(1.0, t / 0.4)) * (1.0 + 0.02 * std::sin(2 * kPi * vib * t));
            phase += 2 * kPi * f / kRate;
            // A soft sawtooth: a few harmonics, for the vowel filters to shape.
            double s = 0;
            for (int h = 1; h <= 12; ++h) s += std::sin(h * phase) / h;
            voices[i] += level * std::min(1.0, t / 0.15) * s;
        }
    }
    BandPass f1(750, 2.5), f2(1200, 3.0), f3(2600, 4.0);
    BandPass hissBand(2000, 0.6);
    Noise hn(112);
    Wave w = silence(len);
    double flutter = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        const double vowel = f1(voices[i]) + 0.7 * f2(voices[i]) + 0.25 * f3(voices[i]);
        flutter += (hn.next() * 0.02 - flutter) * 0.001;
        const double hiss = hissBand(hn.next()) * (1.0 + 8 * flutter);
        const double swell = std::min(1.0, t / 0.35) * (t > len - 0.9 ? std::max(0.0, (len - t) / 0.9) : 1.0);
        w[i] = swell * (0.06 * vowel + 0.5 * hiss);
    }
    return wav(w, 0.5);
}

// The opening: a bright little fanfare in C major.
QByteArray makeOpening()
{
    const double e = 60.0 / 150 / 2; // an eighth at 150 beats a minute
    struct N {
        int midi;
        double at, len;
    };
    const N melody[] = {{67, 0, 1}, {72, 1, 1}, {76, 2, 1}, {79, 3, 2}, {76, 5, 1}, {79, 6, 1}, {84, 7, 5}};
    const N bass[] = {{48, 0, 2}, {43, 2, 2}, {48, 4, 2}, {43, 6, 1}, {48, 7, 5}};
    const N harmony[] = {{64, 3, 2}, {67, 7, 5}, {72, 7, 5}};
    Wave w;
    for (const N& m : melody) mixAt(w, voiceNote(noteFreq(m.midi), m.len * e * 0.95, 0.5, 0.55), m.at * e);
    for (const N& h : harmony) mixAt(w, voiceNote(noteFreq(h.midi), h.len * e * 0.95, 0.22, 0.4), h.at * e);
    for (const N& b : bass) mixAt(w, bassNote(noteFreq(b.midi), b.len * e, 0.5), b.at * e);
    // The last chord fades out.
    const size_t endAt = size_t(12 * e * kRate) + size_t(0.35 * kRate);
    w.resize(endAt, 0.0);
    const size_t fadeFrom = size_t(9 * e * kRate);
    for (size_t i = fadeFrom; i < w.size(); ++i) w[i] *= 1.0 - double(i - fadeFrom) / double(w.size() - fadeFrom);
    return wav(w, 0.6);
}

// The replay music: four bars, rendered around the end of the loop so that it repeats seamlessly.
QByteArray makeGoalFileBgm()
{
    const double beat = 60.0 / 120;
    const double loopLen = 16 * beat;
    const size_t loopSamples = size_t(loopLen * kRate);
    Wave w(loopSamples, 0.0);
    auto mixLoop = [&](const Wave& src, double at, double gain) {
        const size_t off = size_t(at * kRate);
        for (size_t i = 0; i < src.size(); ++i) w[(off + i) % loopSamples] += gain * src[i];
    };
    // Melody in eighths (midi, length in eighths); 0 is a rest.
    const int melody[][2] = {{72, 2}, {74, 1}, {76, 1}, {79, 2}, {76, 2}, {77, 2}, {76, 1}, {74, 1}, {72, 4},
                             {69, 2}, {72, 1}, {74, 1}, {76, 2}, {74, 2}, {72, 2}, {71, 2}, {67, 4}};
    double t = 0;
    for (const auto& m : melody) {
        const double len = m[1] * beat / 2;
        if (m[0]) mixLoop(voiceNote(noteFreq(m[0]), len * 0.85, 0.4, 0.5, 0.05), t, 1.0);
        t += len;
    }
    // Bass on the beats, root and fifth: C, F, A and G, a bar each.
    const int roots[4] = {48, 53, 45, 43};
    for (int bar = 0; bar < 4; ++bar)
        for (int b = 0; b < 4; ++b) {
            const int note = roots[bar] + (b % 2 ? 7 : 0);
            mixLoop(bassNote(noteFreq(note), beat * 0.9, 0.45), (bar * 4 + b) * beat, 1.0);
        }
    // A light shaker on the off-beats.
    for (int k = 0; k < 16; ++k) mixLoop(noiseBurst(0.06, 7000, 1.0, 0.012, 121 + std::uint32_t(k)), (k + 0.5) * beat, 0.15);
    return wav(w, 0.45, false);
}

const ResRegistrar kSounds[] = {
    {"sounds/OPENING.wav", ResProgram::Game, makeOpening},
    {"sounds/KANSEI.wav", ResProgram::Game, makeKansei},
    {"sounds/CHANGE.wav", ResProgram::Game, makeChange},
    {"sounds/KICK.wav", ResProgram::Game, makeKick},
    {"sounds/TACKLE.wav", ResProgram::Game, makeTackle},
    {"sounds/PISTOL.wav", ResProgram::Game, makePistol},
    {"sounds/KOKERU.wav", ResProgram::Game, makeKokeru},
    {"sounds/HURDLE.wav", ResProgram::Game, makeHurdle},
    {"sounds/GOLFPAT.wav", ResProgram::Game, makeGolfPat},
    {"sounds/GOLFIN.wav", ResProgram::Game, makeGolfIn},
    {"sounds/BANT.wav", ResProgram::Game, makeBant},
    {"sounds/BATTING.wav", ResProgram::Game, makeBatting},
    {"sounds/WHISTLE.wav", ResProgram::Game, makeWhistle},
    {"sounds/WHISTLE3.wav", ResProgram::Game, makeWhistle3},
    {"sounds/GOALPOST.wav", ResProgram::Game, makeGoalPost},
    {"sounds/GOALFILEBGM.wav", ResProgram::Game, makeGoalFileBgm},
};

} // namespace

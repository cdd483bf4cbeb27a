// The four sounds, synthesised sample by sample and written as 44.1 kHz
// 16-bit mono WAV files. The two music loops are mixed on a ring buffer:
// whatever rings past the end continues at the start, so the seam is
// seamless by construction.
#include "art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int rate = 44100; // samples per second
constexpr double pi = 3.14159265358979;

struct Track {
    std::vector<float> samples;
    bool loops = false; // ring buffer when set, clipped at the end when not
};

void add(Track &track, long index, float value) {
    const long n = static_cast<long>(track.samples.size());
    if (track.loops) {
        track.samples[((index % n) + n) % n] += value;
    } else if (index >= 0 && index < n) {
        track.samples[index] += value;
    }
}

double midiHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// A struck string: slightly stretched partials, the high ones dying first,
// a quick hammer attack and a short damper release.
void piano(Track &track, double start, int note, double length, float velocity) {
    const double f = midiHz(note);
    const double ring = length + 0.08;
    const long first = std::lround(start * rate);
    const long count = std::lround(ring * rate);
    for (long i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        double v = 0;
        for (int k = 1; k <= 7 && k * f < 9000; ++k) {
            const double fk = k * f * std::sqrt(1 + 0.0004 * k * k);
            const double decay = (1.4 + 0.02 * f / 100) * (0.7 + 0.5 * k);
            v += std::sin(2 * pi * fk * t) * std::exp(-decay * t) / std::pow(k, 1.4);
        }
        const double attack = std::min(1.0, t / 0.004);
        const double release = t < length ? 1.0 : std::max(0.0, 1 - (t - length) / 0.08);
        add(track, first + i, static_cast<float>(v * attack * release * velocity));
    }
}

// A music-box tine: nearly pure, long and soft.
void tine(Track &track, double start, int note, float velocity) {
    const double f = midiHz(note);
    const long first = std::lround(start * rate);
    const long count = std::lround(1.6 * rate);
    for (long i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double v =
            std::sin(2 * pi * f * t) + 0.25 * std::sin(2 * pi * 4.03 * f * t) * std::exp(-9 * t);
        const double envelope =
            std::min(1.0, t / 0.003) * std::exp(-2.6 * t) * std::min(1.0, (1.6 - t) / 0.05);
        add(track, first + i, static_cast<float>(v * envelope * velocity));
    }
}

// The clock's tick: a tiny knock of filtered noise and a wooden ping.
void tick(Track &track, double start, double pitch, float velocity, uint32_t seed) {
    Rng rng{seed};
    const long first = std::lround(start * rate);
    const long count = std::lround(0.06 * rate);
    double low = 0;
    for (long i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double noise = nextUnit(rng) * 2 - 1;
        low += (noise - low) * 0.35;
        const double knock = (noise - low) * std::exp(-t / 0.004);
        const double ping = std::sin(2 * pi * pitch * t) * std::exp(-t / 0.012);
        const double attack = std::min(1.0, t / 0.0005);
        add(track, first + i, static_cast<float>((0.6 * knock + 0.5 * ping) * attack * velocity));
    }
}

// Scales the track so its loudest sample sits at `peak` and writes it.
bool writeWav(const std::string &path, Track &track, float peak) {
    float loudest = 1e-6f;
    for (float v : track.samples) {
        loudest = std::max(loudest, std::fabs(v));
    }
    const float gain = peak / loudest;
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    const uint32_t dataBytes = static_cast<uint32_t>(track.samples.size() * 2);
    auto u32 = [&](uint32_t v) {
        const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        std::fwrite(b, 1, 4, file);
    };
    auto u16 = [&](uint16_t v) {
        const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
        std::fwrite(b, 1, 2, file);
    };
    std::fwrite("RIFF", 1, 4, file);
    u32(36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, file);
    u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
    std::fwrite("data", 1, 4, file);
    u32(dataBytes);
    for (float v : track.samples) {
        u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * gain * 32767))));
    }
    return std::fclose(file) == 0;
}

Track pianoTickLoop() {
    // Four bars of A minor at 120 beats a minute, ticking on every beat.
    const double beat = 0.5;
    Track track{std::vector<float>(16 * 22050), true};
    const int melody[4][8] = {{69, 72, 76, 72, 69, 72, 76, 77},
                              {77, 76, 72, 69, 65, 69, 72, 76},
                              {76, 74, 72, 67, 72, 74, 76, 79},
                              {76, 80, 83, 80, 76, 71, 68, 71}};
    const int bass[4][2] = {{45, 52}, {41, 48}, {48, 43}, {40, 47}};
    for (int bar = 0; bar < 4; ++bar) {
        for (int i = 0; i < 8; ++i) {
            const double at = (bar * 4 + i * 0.5) * beat;
            piano(track, at, melody[bar][i], 0.2, i % 2 ? 0.26f : 0.34f);
        }
        for (int i = 0; i < 2; ++i) {
            piano(track, (bar * 4 + i * 2) * beat, bass[bar][i], 0.9, 0.5f);
        }
    }
    for (int b = 0; b < 16; ++b) {
        tick(track, b * beat, b % 2 ? 1650 : 2200, 0.55f, 11 + b);
    }
    return track;
}

Track menuLoop() {
    // A music box over soft piano chords, 90 beats a minute, four bars.
    const double beat = 60.0 / 90;
    Track track{std::vector<float>(16 * 29400), true};
    const int chords[4][3] = {{48, 55, 64}, {45, 52, 60}, {41, 48, 57}, {43, 50, 59}};
    const int tune[4][8] = {{72, 76, 79, 76, 84, 79, 76, 79},
                            {72, 76, 81, 76, 84, 81, 76, 81},
                            {69, 72, 77, 72, 81, 77, 72, 77},
                            {71, 74, 79, 74, 83, 79, 74, 77}};
    for (int bar = 0; bar < 4; ++bar) {
        for (int n = 0; n < 3; ++n) {
            piano(track, bar * 4 * beat + n * 0.03, chords[bar][n], 4 * beat - 0.1, 0.22f);
        }
        for (int i = 0; i < 8; ++i) {
            tine(track, (bar * 4 + i * 0.5) * beat, tune[bar][i], i == 0 ? 0.3f : 0.2f);
        }
    }
    return track;
}

Track gameOverJingle() {
    Track track{std::vector<float>(rate * 5 / 2), false};
    const int fall[5] = {76, 72, 69, 68, 64};
    for (int i = 0; i < 5; ++i) {
        piano(track, i * 0.17, fall[i], 0.16, 0.4f);
        tick(track, i * 0.17, 1900 - i * 150, 0.25f, 40 + i);
    }
    for (int note : {45, 52, 57, 60, 64}) {
        piano(track, 0.9, note, 1.4, note < 50 ? 0.5f : 0.3f);
    }
    return track;
}

Track zoomWhoosh() {
    // Noise through a resonant band-pass whose centre sweeps up, under a
    // rising glide, ending on a bright chime.
    const double length = 1.1;
    Track track{std::vector<float>(static_cast<size_t>(length * rate)), false};
    Rng rng{77};
    double low = 0, band = 0, phase = 0;
    for (size_t i = 0; i < track.samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double u = t / length;
        const double centre = 250 * std::pow(14.0, u);
        const double f = 2 * std::sin(pi * centre / rate);
        const double noise = nextUnit(rng) * 2 - 1;
        low += f * band;
        band += f * (noise - low - 0.3 * band);
        phase += 2 * pi * (180 + 700 * u * u) / rate;
        const double swell = std::pow(std::sin(pi * std::min(1.0, u * 1.15)), 2);
        add(track, static_cast<long>(i),
            static_cast<float>((0.8 * band + 0.15 * std::sin(phase)) * swell));
    }
    piano(track, 0.62, 88, 0.3, 0.12f);
    piano(track, 0.70, 95, 0.25, 0.08f);
    return track;
}

} // namespace

bool writeSounds(const std::string &folder) {
    Track tickLoop = pianoTickLoop();
    Track menu = menuLoop();
    Track over = gameOverJingle();
    Track zoom = zoomWhoosh();
    return writeWav(folder + "/BGM_piano_tick.wav", tickLoop, 0.8f) &&
           writeWav(folder + "/Menu_bgm.wav", menu, 0.75f) &&
           writeWav(folder + "/game_over_overlay.wav", over, 0.85f) &&
           writeWav(folder + "/zoom_transition.wav", zoom, 0.8f);
}

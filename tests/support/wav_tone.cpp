#include "support/wav_tone.h"

#include <cmath>
#include <cstdio>

static void put16(std::vector<uint8_t> &out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xff));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xff));
}

static void put32(std::vector<uint8_t> &out, uint32_t value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

static void putTag(std::vector<uint8_t> &out, const char *tag) {
    out.insert(out.end(), tag, tag + 4);
}

bool writeToneWav(const std::string &path, double seconds, double frequency, double amplitude) {
    const uint32_t frames = static_cast<uint32_t>(seconds * toneSampleRate);
    const uint32_t dataBytes = frames * 2;
    std::vector<uint8_t> bytes;
    putTag(bytes, "RIFF");
    put32(bytes, 36 + dataBytes);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    put32(bytes, 16);                 // size of the format block
    put16(bytes, 1);                  // integer PCM
    put16(bytes, 1);                  // mono
    put32(bytes, toneSampleRate);     // frames per second
    put32(bytes, toneSampleRate * 2); // bytes per second
    put16(bytes, 2);                  // bytes per frame
    put16(bytes, 16);                 // bits per sample
    putTag(bytes, "data");
    put32(bytes, dataBytes);
    const double pi = 3.14159265358979323846;
    for (uint32_t i = 0; i < frames; ++i) {
        double value = amplitude * std::sin(2.0 * pi * frequency * i / toneSampleRate);
        put16(bytes, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767.0))));
    }
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

ToneMeasure measureTone(const int16_t *samples, size_t count, double frequency) {
    ToneMeasure result;
    if (count == 0) {
        return result;
    }
    const double pi = 3.14159265358979323846;
    double energy = 0.0, re = 0.0, im = 0.0;
    for (size_t i = 0; i < count; ++i) {
        double x = samples[i] / 32768.0;
        double phase = 2.0 * pi * frequency * static_cast<double>(i) / toneSampleRate;
        energy += x * x;
        re += x * std::cos(phase);
        im -= x * std::sin(phase);
    }
    double meanSquare = energy / static_cast<double>(count);
    result.rms = std::sqrt(meanSquare);
    // A sine of amplitude A has mean square A^2 / 2; A comes from the
    // correlation with the asked frequency.
    double toneAmplitude = 2.0 * std::sqrt(re * re + im * im) / static_cast<double>(count);
    result.toneShare = meanSquare > 0.0 ? toneAmplitude * toneAmplitude / 2.0 / meanSquare : 0.0;
    return result;
}

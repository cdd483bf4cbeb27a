// Sound helper for the shell tests.
//   soundtool tone FILE SECONDS HZ       write a sine tone as a WAV file
//   soundtool hears RAWFILE HZ SECONDS [WINDOW]
//       exit 0 if the recording (raw mono signed 16-bit little-endian at
//       44.1 kHz, as parec writes it) holds the tone, loud and clear, for at least SECONDS in
//       total, judged in half-second windows, or in windows of WINDOW seconds when given (short
//       ones ride out a stream's dropouts, which shift its phase)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/wav_tone.h"

constexpr double loudRms = 0.02;      // fraction of full scale; digital silence is 0
constexpr double clearShare = 0.8;    // energy share at the tone's frequency
constexpr double defaultWindow = 0.5; // seconds

static int hears(const char *path, double frequency, double wantedSeconds, double window) {
    const auto windowFrames = static_cast<size_t>(window * toneSampleRate);
    FILE *file = std::fopen(path, "rb");
    if (!file) {
        std::fprintf(stderr, "soundtool: cannot read %s\n", path);
        return 2;
    }
    std::vector<int16_t> samples;
    int16_t buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, sizeof buffer[0], 4096, file)) > 0) {
        samples.insert(samples.end(), buffer, buffer + got);
    }
    std::fclose(file);
    double heardSeconds = 0.0;
    for (size_t start = 0; start + windowFrames <= samples.size(); start += windowFrames) {
        ToneMeasure m = measureTone(samples.data() + start, windowFrames, frequency);
        bool heard = m.rms > loudRms && m.toneShare > clearShare;
        std::printf("%5.1f s: rms %.4f, %.0f Hz share %.3f%s\n",
                    static_cast<double>(start) / toneSampleRate, m.rms, frequency, m.toneShare,
                    heard ? "  <- tone" : "");
        if (heard) {
            heardSeconds += static_cast<double>(windowFrames) / toneSampleRate;
        }
    }
    std::printf("%.0f Hz heard for %.1f s of %.1f s recorded\n", frequency, heardSeconds,
                static_cast<double>(samples.size()) / toneSampleRate);
    return heardSeconds >= wantedSeconds ? 0 : 1;
}

int main(int argc, char **argv) {
    if (argc == 5 && std::strcmp(argv[1], "tone") == 0) {
        return writeToneWav(argv[2], std::atof(argv[3]), std::atof(argv[4]), 0.5) ? 0 : 2;
    }
    if ((argc == 5 || argc == 6) && std::strcmp(argv[1], "hears") == 0) {
        return hears(argv[2], std::atof(argv[3]), std::atof(argv[4]),
                     argc == 6 ? std::atof(argv[5]) : defaultWindow);
    }
    std::fprintf(
        stderr,
        "usage: soundtool tone FILE SECONDS HZ | soundtool hears RAWFILE HZ SECONDS [WINDOW]\n");
    return 2;
}

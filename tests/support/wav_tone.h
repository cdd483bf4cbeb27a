// Test sounds made on the spot: sine tones written as WAV files, and the
// measure used to find such a tone again in a recording.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int toneSampleRate = 44100; // frames per second

// Writes a mono 16-bit PCM WAV file at 44.1 kHz holding a sine tone.
// amplitude is a fraction of full scale (0 to 1). False if the file
// cannot be written.
bool writeToneWav(const std::string &path, double seconds, double frequency, double amplitude);

struct ToneMeasure {
    double rms = 0.0;       // root mean square, fraction of full scale
    double toneShare = 0.0; // share of the energy at the asked frequency, 0 to 1
};

// Measures a stretch of mono 16-bit samples at 44.1 kHz.
ToneMeasure measureTone(const int16_t *samples, size_t count, double frequency);

// What the player's machine reports, and what the game makes of it: the
// screen's scale for the window's first size, and the pace at which the
// sound device takes sound.
#include <gtest/gtest.h>

#include <vector>

#include "audio/audio.h"
#include "shell/shell.h"

namespace {

TEST(MachineTest, TheWindowOpensAtTheScreensScaleWithinTheScreen) {
    struct Row {
        const char *name;
        int dpi, monitorWidth, monitorHeight;
        int width, height;
    };
    const Row rows[] = {
        {"100 dpi opens as always", 100, 1920, 1080, 800, 600},
        {"96 dpi", 96, 1920, 1080, 800, 600},
        {"150 %", 144, 2560, 1440, 1200, 900},
        {"200 % on a screen it fits", 192, 2880, 1920, 1600, 1200},
        {"X's 191 for 192", 191, 2880, 1920, 1600, 1200},
        {"a quarter step down", 190, 2880, 1920, 1400, 1050},
        {"200 % fitted to a full-HD screen", 192, 1920, 1080, 1224, 918},
        {"no reading", 0, 1920, 1080, 800, 600},
        {"an absurd reading", 481, 3840, 2160, 800, 600},
        {"below 96 dpi", 72, 1920, 1080, 800, 600},
        {"a screen too small for 800x600", 192, 800, 600, 800, 600},
        {"no screen size", 192, 0, 0, 1600, 1200},
    };
    for (const Row &row : rows) {
        const WindowSize size = startingWindowSize(row.dpi, row.monitorWidth, row.monitorHeight);
        EXPECT_EQ(size.width, row.width) << row.name;
        EXPECT_EQ(size.height, row.height) << row.name;
    }
}

// The watch fed a clock and what the voice took in each half second: a
// live device takes sound at real time (a new stream after a slow start), a
// driver on a dead sound server races, and one on a device that went takes
// nothing for long.
TEST(MachineTest, TheSoundDevicesPaceTellsWhetherItLives) {
    struct Row {
        const char *name;
        std::vector<double> frames; // taken in each half second
        VoicePace last;
    };
    const double second = 44100;
    const Row rows[] = {
        {"real time", {second / 2, second / 2, second / 2}, VoicePace::Live},
        {"a new stream's slow start", {2048, 0, 0, 14336}, VoicePace::Live},
        {"racing for nobody", {second / 2, 5 * second / 2}, VoicePace::Racing},
        {"nothing for a second and a half", {second / 2, 0, 0, 0}, VoicePace::Quiet},
        {"nothing for two seconds", {second / 2, 0, 0, 0, 0}, VoicePace::Stalled},
        {"a trickle", {2000, 2000, 2000, 2000}, VoicePace::Stalled},
    };
    for (const Row &row : rows) {
        PaceWindow window = {100.0, 0};
        double now = window.start;
        VoicePace pace = VoicePace::Open;
        for (const double frames : row.frames) {
            EXPECT_EQ(judgeVoicePace(window, now + 0.4, frames, second), VoicePace::Open)
                << row.name << ": the window is not over";
            now += 0.5;
            pace = judgeVoicePace(window, now, frames, second);
        }
        EXPECT_EQ(pace, row.last) << row.name;
    }
}

} // namespace

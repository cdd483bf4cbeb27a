// What the player's machine reports, and what the game makes of it: the
// screen's scale for the window's first size.
#include <gtest/gtest.h>

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

} // namespace

// What the game's own frame function paints for a given state, drawn by
// this test into a window of its own on the same X server and read back.
#pragma once

#include <string>

#include "e2e/frames.h"
#include "e2e/game_process.h"
#include "shell/shell.h"

// A window of the game as the test expects it.
struct WindowLayout {
    int width = screenWidth;
    int height = screenHeight;
};

// Brings up the library as the game does, opens an 800x600 window at
// (x, y) and loads the game's pictures and font from `assetDir`.
bool openExpectedView(const std::string &assetDir, int x, int y, std::string &error);

// The test's own window, as the X server knows it.
unsigned long expectedViewWindow();

// Copies `snap` into this process's records and paints it as the game's
// window of the layout's size shows it.
void renderExpected(const GameSnapshot &snap, Image &image, const WindowLayout &layout = {});

bool savePng(const Image &image, const std::string &path);

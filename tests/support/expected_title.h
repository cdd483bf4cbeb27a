// The title screen as render() paints it when the game starts (both scores
// 0), for the checks that look at another build's window: under Wine, and
// in the browser.
#pragma once

#include <vector>

#include "e2e/frames.h"

// One frame per title picture, in a window of the given size: the 800x600
// frame between black bars, as renderToWindow() lays it. Needs the asset
// folder's pictures and font loaded; drawn with OpenGL when a display is
// current (a scaled frame filters its pictures as OpenGL does), else in
// memory.
std::vector<Image> expectedTitles(int width = 800, int height = 600);

// Pixels with a channel further than `channelTolerance` from the nearest of
// `titles`, or -1 when no title has the picture's size.
int titleDistance(const Image &picture, const std::vector<Image> &titles, int channelTolerance);

// How the graphics driver lays a picture's texels: as they are, or
// multiplied by the colour the library tints them with.
#pragma once

// Switches the driver to laying texels as they are (untinted true) or
// tinted (false), where the target is drawn by OpenGL's fixed pipeline;
// returns the mode before, to hand back to restoreTextureMode, or -1 where
// there is nothing to switch.
int setTextureMode(bool untinted);
void restoreTextureMode(int before);

// Runs `draw` with texels laid as they are. Every picture the game draws is
// untinted (white), and multiplying by white changes no pixel, but Mesa's
// software renderer copies a picture in about two thirds of the time when
// it need not multiply. Text is tinted: it goes inside drawTinted.
template <typename Draw> void drawUntinted(Draw draw) {
    const int before = setTextureMode(true);
    draw();
    restoreTextureMode(before);
}

template <typename Draw> void drawTinted(Draw draw) {
    const int before = setTextureMode(false);
    draw();
    restoreTextureMode(before);
}

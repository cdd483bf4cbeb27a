// Putting only part of a frame on the window.
//
// With a software rasteriser every pixel of a frame costs processor time,
// and in play only the hand and the mouse move. Where the driver can copy a
// rectangle of the back buffer to the window (GLX_MESA_copy_sub_buffer),
// the loop redraws and copies just the rectangles that changed, and never
// swaps buffers, so the back buffer always holds the whole frame shown.
// Graphics hardware draws whole frames for free and swaps in step with the
// screen, so there the game keeps swapping whole frames.
#pragma once

#include <allegro5/allegro.h>

// Turns region updates on if the window's driver renders in software and
// can copy part of the back buffer; returns whether it did.
bool startRegionUpdates(ALLEGRO_DISPLAY *display);
bool regionUpdatesOn();
// Off again, for the whole-frame way (tests compare the two).
void stopRegionUpdates();
// Copies the rectangle (pixels from the top left) of the back buffer to the window.
void showRegion(int x, int y, int w, int h);

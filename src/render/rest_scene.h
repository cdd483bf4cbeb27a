// The background with the clock face at rest on it, composed once per
// background and frame size into one picture.
#pragma once

#include <allegro5/allegro.h>

struct RestScene {
    ALLEGRO_BITMAP *picture = nullptr;    // the target's size, memory or video as the target
    ALLEGRO_BITMAP *background = nullptr; // the background composed into it
    ALLEGRO_BITMAP *clock = nullptr;      // the clock face composed into it
};

extern RestScene restScene;

// While the clock is at rest, lays the background and the clock face as the
// one composed picture and returns true; false while zooming, when the two
// must be drawn as layers.
bool drawRestScene();

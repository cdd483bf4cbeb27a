// What lies under the hand: the cleared frame, the background and the
// clock face.
#pragma once

#include <allegro5/allegro.h>

// Clears the target and lays the background and the clock face. At rest
// the two are one opaque picture, made on first use for each background.
void drawBackdrop();

// The background `background` with the clock face at rest on it, as one
// picture of the current target's kind (memory or video), made or remade
// as needed; nullptr if it cannot be made.
ALLEGRO_BITMAP *restSceneFor(ALLEGRO_BITMAP *background);

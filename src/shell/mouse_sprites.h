// The mouse's run cycle, drawn from one picture (see AssetSet).
#pragma once

#include <allegro5/allegro.h>

// Makes the run cycle of `frames`, taking them over: pictures that all
// have the size of the first one; null entries are sprites missing.
void setMouseSprites(ALLEGRO_BITMAP *frames[4]);
// The same, one picture at a time as they load: a memory bitmap or null
// for each sprite, then the end of the cycle.
void addMouseSprite(int sprite, ALLEGRO_BITMAP *picture);
void finishMouseSprites();
// The picture to draw for run-cycle sprite `sprite`, made to show it;
// nullptr when that sprite is missing.
ALLEGRO_BITMAP *mouseSprite(int sprite);
bool hasMouseSprite(int sprite);
void freeMouseSprites();

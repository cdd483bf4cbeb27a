// The pictures and the font, loaded once at start-up and kept for the run.
#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <string>

// Prefixed to every asset file name; empty, so files are read from the
// working directory.
extern const std::string assetRoot;

// An empty slot (nullptr) means its file could not be loaded; drawing
// code skips empty slots.
struct AssetSet {
    ALLEGRO_BITMAP *clock = nullptr;      // 600x600 face, black keyed out
    ALLEGRO_BITMAP *background = nullptr; // 800x600 calm background
    ALLEGRO_BITMAP *warning[3] = {};      // 800x600, ever more urgent
    ALLEGRO_BITMAP *mouseFrames[4] = {};  // 600x600 run cycle, pivot (300, 300), blue keyed out
    ALLEGRO_BITMAP *clockHand = nullptr;  // pivot (50, 300), black keyed out
    ALLEGRO_BITMAP *menuFrames[8] = {};   // 800x600 title animation
    ALLEGRO_BITMAP *messages[13] = {};    // level messages, drawn at y = 200
    ALLEGRO_FONT *font = nullptr;         // score text, size 28
    int picturesLoaded = 0;               // pictures of the loading order done, loaded or not
    bool picturesOnDemand = false;        // the loop loads them as frames need them, and when idle
    // Made on first use, not loaded: a background with the clock face at
    // rest on it, and the two pictures it was made from.
    ALLEGRO_BITMAP *restScene = nullptr;           // 800x600, opaque
    ALLEGRO_BITMAP *restSceneBackground = nullptr; // the background inside it
    ALLEGRO_BITMAP *restSceneClock = nullptr;      // the clock inside it
};

extern AssetSet assets;

constexpr int pictureCount = 31;

// Every picture, at once.
void loadImages();
// The next picture in loading order, which starts with the title pictures
// in slot order; nothing once all are done.
void loadNextPicture();
bool allPicturesLoaded();
void loadFont();

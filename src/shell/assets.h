// The pictures and the font, loaded once at start-up and kept for the run.
#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <string>
#include <vector>

// Prefixed to every asset file name; empty, so files are read from the
// working directory.
extern const std::string assetRoot;

// One rectangle where a title picture differs from the first one: where it
// lies in the slot's patch sheet and where it goes on the frame.
struct TitlePatch {
    int sheetX, sheetY; // top-left corner in the sheet, pixels
    int x, y;           // top-left corner on the frame, pixels
    int width, height;  // pixels
};

// Where a picture kept cropped lies within its file.
struct PictureOffset {
    int x, y; // of the crop's top-left corner from the file's, pixels
};

// A box within a picture.
struct PictureBox {
    int x, y;          // top-left corner, pixels
    int width, height; // pixels
};

// An empty slot (nullptr) means its file could not be loaded; drawing
// code skips empty slots.
struct AssetSet {
    ALLEGRO_BITMAP *clock = nullptr;      // 600x600 face, black keyed out
    ALLEGRO_BITMAP *background = nullptr; // 800x600 calm background
    ALLEGRO_BITMAP *warning[3] = {};      // 800x600, ever more urgent, or strips
    // Set for a warning kept as the strips round the middle that the clock
    // at rest covers: the two most urgent never show behind the opening
    // zoom, the one view without the outer clock, so their middles are
    // never seen. The strips' places are in warningStrips.
    bool warningCut[3] = {};
    std::vector<TitlePatch> warningStrips[3];
    PictureBox warningHoles[3] = {}; // the middle left out
    // The mouse's run cycle: 600x600 pictures, pivot (300, 300), blue keyed
    // out. The four differ only inside one box, so one picture is drawn,
    // showing one sprite at a time, and each sprite is kept as its pixels
    // in that box: four whole pictures would take 5.8 MB.
    ALLEGRO_BITMAP *mouseSheet = nullptr; // the picture drawn
    int mouseShown = -1;                  // the sprite it shows
    ALLEGRO_BITMAP *mouseParts[4] = {};   // memory bitmaps; null for a sprite that failed to load
    PictureBox mouseMoving = {};          // where the parts go in the sheet
    PictureBox mouseVisible = {};         // round every pixel that shows, in any sprite
    ALLEGRO_BITMAP *clockHand = nullptr;  // pivot (50, 300), black keyed out
    ALLEGRO_BITMAP *menuFrames[8] = {};   // 800x600 title animation, or patch sheets
    // Set for a title slot holding a patch sheet: its picture is
    // menuFrames[0] with menuPatches[slot] copied over it. Most of a title
    // picture equals the first, so only the differences are kept.
    bool menuPatched[8] = {};
    std::vector<TitlePatch> menuPatches[8]; // in no particular order; none overlap
    // A memory copy of the first title picture, to find where the others
    // differ; kept only while they load.
    ALLEGRO_BITMAP *menuBaseCopy = nullptr;
    ALLEGRO_BITMAP *messages[13] = {}; // level messages, drawn at y = 200, cropped
    // Each message is kept cropped to its pixels that are not fully
    // transparent, and drawn this far right and down of its place.
    PictureOffset messageOffsets[13] = {};
    // While pictures load on demand, one level message at a time is held:
    // a level shows one, and all thirteen would take 4 MB.
    int messageHeld = -1;         // the slot of messages loaded, -1 for none
    bool messageMissing[13] = {}; // slots whose file could not be loaded

    ALLEGRO_FONT *font = nullptr;  // score text, size 28
    int picturesLoaded = 0;        // pictures of the loading order done, loaded or not
    bool picturesOnDemand = false; // the loop loads them as frames need them, and when idle
    // Made on first use, not loaded: a background with the clock face at
    // rest on it, and the two pictures it was made from.
    ALLEGRO_BITMAP *restScene = nullptr;           // 800x600, opaque
    ALLEGRO_BITMAP *restSceneBackground = nullptr; // the background inside it
    ALLEGRO_BITMAP *restSceneClock = nullptr;      // the clock inside it
};

extern AssetSet assets;

constexpr int pictureCount = 31;
// Pictures before the level messages in the loading order.
constexpr int picturesBeforeMessages = 18;

// Every picture, at once.
void loadImages();
// The next picture in loading order, which starts with the title pictures
// in slot order; nothing once all are done.
void loadNextPicture();
bool allPicturesLoaded();
// While pictures load on demand: the pictures of the loading order that are
// loaded for good, the title's and the game's, all done.
bool lastingPicturesLoaded();
// Makes level message `slot` the one held, letting the one held before go;
// a slot whose file failed once is not tried again.
void holdLevelMessage(int slot);
void loadFont();
// Hands the heap's free pages back to the system, where the C library can.
void releaseFreeHeap();

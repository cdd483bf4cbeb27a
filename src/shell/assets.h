// The pictures and the font, loaded once and kept for the run.
#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <string>

// Prefixed to every asset file name: the folder all the game's files are
// read from, chosen once at start-up; empty for the working directory.
extern std::string assetRoot;

constexpr int menuFrameCount = 8;

// An empty slot (nullptr) means its file could not be loaded; the drawing
// code skips empty slots.
struct AssetSet {
    ALLEGRO_BITMAP *clock = nullptr;      // 600x600 face, black keyed out
    ALLEGRO_BITMAP *background = nullptr; // 800x600, the clock well filled
    ALLEGRO_BITMAP *warning[3] = {};      // 800x600, ever more urgent
    ALLEGRO_BITMAP *mouseFrames[4] = {};  // run cycle, 600x600, pivot (300, 300), blue keyed out
    ALLEGRO_BITMAP *clockHand = nullptr;  // pivot (50, 300), black keyed out
    ALLEGRO_BITMAP *menuFrames[menuFrameCount] = {}; // 800x600 title animation
    ALLEGRO_BITMAP *messages[13] = {};               // level messages, drawn at y = 200
    ALLEGRO_FONT *font = nullptr;                    // score text, size 28
    ALLEGRO_FONT *builtinFont = nullptr; // the library's own, for words when pictures are missing
    ALLEGRO_FONT *sizedFont = nullptr;   // the same at sizedFontSize, for a frame at another scale
    int sizedFontSize = 0;               // pixels
    bool filtered = false;               // pictures made smooth for a scaled frame
};

extern AssetSet assets;

// What the game plays on without, counted as the loaders find it, for the
// title to tell the player.
struct LoadProblems {
    int pictures = 0; // missing, unreadable or of the wrong size
    int sounds = 0;   // missing or unreadable
    bool font = false;
};

extern LoadProblems loadProblems;

constexpr int pictureCount = 31;
constexpr int iconSize = 64; // the window's icon is square, pixels
constexpr int fontSize = 28; // pixels, in the 800x600 frame

// Pictures of the loading order done so far, loaded or not. The order
// starts with the title pictures in slot order, so the first k of them
// are menuFrames[0] to menuFrames[k - 1].
extern int picturesLoaded;

// The first of the working directory and the folders the build and the
// install lay out beside the executable that holds all or nearly all of the
// game's files, or else the one that holds the most; says on standard
// error what is missing from it, or, when none holds any, which were tried
// (and keeps the working directory).
void chooseAssetRoot();
// The folders chooseAssetRoot() looked in, one per line, for a title
// without its pictures to say where they were sought.
extern std::string foldersSearched;

// Every picture, at once, from the first.
void loadImages();
// The next picture in loading order; nothing once all are done.
void loadNextPicture();
// The font, or an empty slot and a line on standard error when it is
// missing or cannot draw the digits. Also makes the built-in font.
void loadFont();
// The window's icon, or nullptr.
ALLEGRO_BITMAP *loadIcon();
// Pictures filtered smoothly, for a frame at another scale
// than 1, or unfiltered, for an 800x600 frame: every picture loaded so far
// is made again with the other flags when the choice changes.
void filterPictures(bool filtered);
// The score font at `size` pixels: the size-28 one itself, or one loaded
// when the size changes. Empty without the font.
ALLEGRO_FONT *fontOfSize(int size);

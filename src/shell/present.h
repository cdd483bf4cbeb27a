// Putting frames on the window: a frame that would repeat the picture
// already shown is neither drawn nor flipped.
#pragma once

#include <allegro5/allegro.h>

#include <cstdint>

#include "game/maze.h"
#include "render/scene.h"

// Everything the drawing layers read, reduced to what changes the picture:
// two equal keys draw the same frame. Only 4-byte fields and bytes, so
// that the record has no padding and compares with memcmp, and no
// pointers, so that another process can work out the same key.
struct FrameKey {
    int32_t warningLevel;         // background behind the clock, 0 to 3
    int32_t inGame;               // 1 in a game, 0 on the title
    int32_t menuSlot;             // title picture slot, -1 for none
    int32_t bestScore;            // levels
    int32_t score;                // levels
    int32_t zoomFrame;            // phaseFrame while zooming, else -1
    int32_t outerClock;           // the zoom draws the outer clock
    int32_t handShown;            // the clock has a hand
    float handDegrees;            // whole degrees, -360 to 0
    int32_t mazeHidden;           // the opening zoom shows no maze
    int32_t sprite;               // mouse run-cycle picture
    float mouseAngle;             // clock degrees
    float mouseRadius;            // pixels from the clock centre
    int32_t facingRight;          // the mouse's facing
    int32_t fadeAlpha;            // game-over white, -1 without the fade
    int32_t messageSlot;          // level message shown, -1 for none
    int32_t messageX;             // its left edge, pixels
    uint8_t walls[mazeCellCount]; // wallMap as drawn
    uint8_t arcs[mazeCellCount];  // arcMap as drawn
};

// Frames in a row that may be skipped as unchanged before one is drawn
// anyway, so that a window uncovered by another is repaired within half a
// second even when the picture stands still.
constexpr int maxSkippedFrames = 30;
// Likewise, frames in a row put on the window only where they changed
// before the whole frame is put there again.
constexpr int maxRegionFrames = 30;

struct FrameMemo {
    FrameKey shown;       // the frame on the window
    bool valid = false;   // false until a frame is shown, and after the window was disturbed
    int skipped = 0;      // frames skipped since the last one drawn
    int64_t drawn = 0;    // frames drawn and put on the window since start-up
    int regionFrames = 0; // frames in a row put on the window only where they changed
};

extern FrameMemo frameMemo;

FrameKey frameKey();

// Boxes of the window that differ between the frame `shown` and the frame
// `next` of a game when only the hand, the mouse or the level message
// moved, clipped to the window; up to maxChangedBoxes, and how many, or 0
// if anything else changed.
constexpr int maxChangedBoxes = handPieces + 2;
int changedBoxes(const FrameKey &shown, const FrameKey &next, ScreenBox boxes[maxChangedBoxes]);

// Loads the pictures the frame shows if they are still to come, then draws
// the frame into the back buffer and puts it on the window, unless it is
// the one there already: only the parts that changed where the window
// takes regions, else whole. Where the window takes regions, a frame put
// there again to repair it is copied from the back buffer, not redrawn.
// Without a window it always draws into the target.
void presentFrame();

// Start-up's last step. The first frame waits for the timer's first tick;
// meanwhile the pictures it shows are loaded and it is drawn once into the
// back buffer, unseen, so that the driver has made its drawing code by
// then. It counts as no frame: the loop's first is drawn again and shown
// whole.
void readyFirstFrame();

// With the pictures loading on demand, the next one when no event waits.
void loadPictureWhileIdle();

// After the window was uncovered or switched back to, the next frame is drawn.
void forgetShownFrame();

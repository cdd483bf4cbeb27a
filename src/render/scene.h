// Clock-centred geometry, the zoom into the nested clock, the clock face and its hand.
#pragma once

#include "render/boxes.h"

struct ScreenPoint {
    int x;
    int y;
};

constexpr double degToRad = 0.017453292;

constexpr float clockCentreX = 400.0f; // pixels
constexpr float clockCentreY = 300.0f; // pixels
constexpr float clockSize = 600.0f;    // side of the clock picture, pixels
constexpr int clockLayers = 4;         // nested copies inside the full clock
constexpr double zoomBase = 3.0;       // each nested copy is this much smaller
constexpr unsigned zoomFrames = 60;    // updates from one clock to the next

ScreenPoint polarToScreen(float angle, float r);
float zoomScale(float t);

// The view flies into the centre during the level transition's zoom and the
// game-over sequence; the level message (frames above 60) is at rest.
bool isZooming();
// 0 to 1 over the zoom; meaningful only while zooming.
float zoomProgress();
// How many times smaller than the full clock layer k is drawn this frame.
float clockLayerScale(int k);
// The hand's turn in whole degrees, -360 (full clock) up to 0 (empty).
float clockHandDegrees();

// Whether the target takes a copy of a picture exactly as it would take a
// blend of its opaque pixels: then the clocks' opaque parts are copied,
// and otherwise blended.
bool copiesAsItBlends();

void drawClockFace();
void drawClockLayer(int k);
// The square of the window that clock layer k covers with fully opaque
// pixels this frame: what lies under it there is never seen.
ScreenBox clockLayerCover(int k);
// The same for the outer clock at rest, whatever the frame.
ScreenBox clockRestCover();

void drawClockHand();
// Where the hand can leave pixels when turned to `degrees`: only its
// visible part, not the transparent rest of its picture.
ScreenBox clockHandBox(float degrees);
// The hand's visible part cut along its length into this many pieces, and
// where piece `piece` (0 at the picture's top) lies when turned: round a
// slanted hand the pieces hold far fewer pixels than one box round it.
constexpr int handPieces = 4;
ScreenBox clockHandPieceBox(float degrees, int piece);

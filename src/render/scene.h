// Clock-centred geometry, the zoom into the nested clock, the clock face
// and its hand.
#pragma once

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

// The radius about the clock centre within which layer k, or the whole
// face, is opaque and hides what lies beneath.
float clockLayerRadius(int k);
float clockFaceRadius();
// Draws draw(k), a layer that a later one hides within radius r of the
// clock centre, only beside that disc.
void drawBesideDisc(float r, void (*draw)(int), int k);
// The background, laid only where the clock face leaves it in sight.
void drawBackgroundBesideFace();

void drawClockFace();
void drawClockLayer(int k);
void drawClockHand();

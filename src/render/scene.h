// Clock-centred geometry, the zoom into the nested clock, the clock face and its hand.
#pragma once

struct ScreenPoint {
    int x;
    int y;
};

// A rectangle of the window, pixels, right and bottom edges excluded; empty
// when x0 >= x1 or y0 >= y1.
struct ScreenBox {
    int x0;
    int y0;
    int x1;
    int y1;
};

constexpr ScreenBox noBox = {0, 0, 0, 0};

bool isEmpty(const ScreenBox &box);
// The smallest box holding both.
ScreenBox joinBoxes(const ScreenBox &a, const ScreenBox &b);
int boxArea(const ScreenBox &box);
// Every pixel that a picture's part (left, top, right, bottom in the
// picture, pixels) can touch when drawn turned by `radians` about the pivot
// (px, py), scaled by `scale` and with the pivot at (x, y): its corners'
// bounds with a pixel to spare on every side for the rasteriser's rounding.
ScreenBox turnedPictureBox(const float part[4], float px, float py, float x, float y, float scale,
                           float radians);

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

void drawClockFace();
void drawClockLayer(int k);
void drawClockHand();
// Where the hand can leave pixels when turned to `degrees`: only its
// visible part, not the transparent rest of its picture.
ScreenBox clockHandBox(float degrees);

// The maze's walls and arcs and the mouse, following the zoom.
#pragma once

#include "render/scene.h"

constexpr float mazeLineThickness = 8.0f; // pixels, walls and arcs alike
constexpr float mouseScale = 0.1f;        // sprite size on screen / picture size
constexpr float mousePivot = 300.0f;      // sprite centre in the picture, both axes, pixels
constexpr int mouseFramesPerSprite = 6;   // animation counts per running sprite

// The opening zoom of a new game shows no maze: the one laid out for it is
// replaced before the first level is played.
bool mazeHidden();
// How far the maze is scaled out from the centre this frame (1 at rest).
float mazeZoom();
// The mouse's distance from the clock centre this frame, pixels.
float mouseRadius();

void drawWalls();
void drawArcs();
void drawMouse();
// Where the mouse's run-cycle picture `sprite` can leave pixels at this
// angle (clock degrees), distance from the centre (pixels) and facing.
ScreenBox mouseBox(int sprite, float angle, float radius, bool facingRight);
void drawWallSegment(float a1, float r1, float a2, float r2);
void drawArcSegment(float start, float width, float r);

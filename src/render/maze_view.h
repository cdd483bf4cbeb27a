// The maze's walls and arcs and the mouse, following the zoom.
#pragma once

constexpr float mazeLineThickness = 8.0f; // pixels, walls and arcs alike
constexpr float mouseScale = 0.1f;        // sprite size on screen / picture size
constexpr float mousePivot = 300.0f;      // sprite centre in the picture, both axes, pixels
constexpr int mouseFramesPerSprite = 6;   // animation counts per running sprite

void drawWalls();
void drawArcs();
void drawMouse();
void drawWallSegment(float a1, float r1, float a2, float r2);
void drawArcSegment(float start, float width, float r);

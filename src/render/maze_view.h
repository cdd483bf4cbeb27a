// The maze's walls and arcs and the mouse, following the zoom.
#pragma once

void drawWalls();
void drawArcs();
void drawMouse();
void drawWallSegment(float a1, float r1, float a2, float r2);
void drawArcSegment(float start, float width, float r);

#include "render/maze_view.h"

void drawWalls() {}
void drawArcs() {}
void drawMouse() {}
void drawWallSegment(float, float, float, float) {}
void drawArcSegment(float, float, float) {}

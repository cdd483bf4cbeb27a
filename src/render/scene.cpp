#include "render/scene.h"

ScreenPoint polarToScreen(float, float) { return {0, 0}; }
float zoomScale(float) { return 1.0f; }
void drawClockFace() {}
void drawClockLayer(int) {}
void drawClockHand() {}

// Clock-centred geometry, the zoom into the nested clock, the clock face and its hand.
#pragma once

struct ScreenPoint {
    int x;
    int y;
};

constexpr double degToRad = 0.017453292;

ScreenPoint polarToScreen(float angle, float r);
float zoomScale(float t);

void drawClockFace();
void drawClockLayer(int k);
void drawClockHand();

#include "render/screens.h"

void drawBackground() {}
void drawNumber(int, int, int) {}
void drawFade() {}
void drawLevelMessage() {}
void drawMenu() {}

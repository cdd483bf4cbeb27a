// Everything in a frame that is neither clock nor maze: backgrounds, score
// text, the game-over fade, level messages and the title screen.
#pragma once

void drawBackground();
void drawNumber(int value, int x, int y);
void drawFade();
void drawLevelMessage();
void drawMenu();

// Everything in a frame that is neither clock nor maze: backgrounds, score
// text, the game-over fade, level messages and the title screen.
#pragma once

#include <allegro5/allegro.h>

#include "render/scene.h"

// The picture behind the clock, more urgent as the clock runs out; may be
// an empty slot.
// 0 while the clock is fuller than 2/3, then 1 to 3 as it runs out.
int warningLevel(int timeLeft, int timeLimit);
ALLEGRO_BITMAP *backgroundFor(int timeLeft, int timeLimit);
// White over the game-over sequence, opaque from frame 51 on.
int fadeAlpha(unsigned phaseFrame);
// Left edge of the sliding level message at a message frame (61 to 250).
int levelMessageX(unsigned phaseFrame);
// Slot of menuFrames shown at a title frame (0 to 199); -1 past the cycle.
int menuFrameSlot(unsigned phaseFrame);

void drawBackground();
// The slot of assets.warning holding `background` as strips, or -1.
int cutWarning(ALLEGRO_BITMAP *background);
// A background picture at the window's corner, whole or as its strips.
void drawBackdropPicture(ALLEGRO_BITMAP *background);
// The middle a background kept as strips leaves out; noBox for one kept whole.
ScreenBox backdropHole(ALLEGRO_BITMAP *background);
void drawNumber(int value, int x, int y);
// Where drawNumber(value, x, y) can leave pixels; noBox without a font.
ScreenBox numberBox(int value, int x, int y);
void drawFade();
void drawLevelMessage();
// Where level message `slot` lies with its left edge at `x`.
ScreenBox levelMessageBox(int slot, int x);
// The title picture of a slot of menuFrames, nothing for an empty slot.
void drawTitlePicture(int slot);
void drawMenu();

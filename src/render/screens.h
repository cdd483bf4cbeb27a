// Everything in a frame that is neither clock nor maze: backgrounds, score
// text, the game-over fade, level messages and the title screen.
#pragma once

#include <allegro5/allegro.h>

#include <string>

// The picture behind the clock for how much of it is left, more urgent as
// it runs out; may be an empty slot.
ALLEGRO_BITMAP *backgroundFor(int timeLeft, int timeLimit);
// Slot of menuFrames shown at a title frame (0 to 199).
int menuFrameSlot(unsigned phaseFrame);

// Text at (x, y) of the 800x600 frame, in the score font at the size that
// matches the frame's scale, placed on whole pixels: rasterised at the
// target's own resolution, never stretched. Without the font, nothing.
void drawText(ALLEGRO_COLOR colour, float x, float y, int flags, const char *text);

// The title picture of `slot`, or else the nearest one there (the earlier
// of two as near): a title picture missing, broken or not yet read does not
// turn the title into the screen that says its pictures are missing.
ALLEGRO_BITMAP *titlePicture(int slot);
// One line saying what the game plays on without, from loadProblems;
// empty when nothing is missing.
std::string loadProblemsLine();

void drawBackground();
void drawNumber(int value, int x, int y);
void drawFade();
void drawLevelMessage();
void drawMenu();
// A paused game under a dim veil, with how to resume it.
void drawPause();

// The control a touch player taps to pause, at the frame's top right.
constexpr float pauseControlX = 750.0f; // centre, frame pixels
constexpr float pauseControlY = 50.0f;
constexpr float pauseControlRadius = 30.0f;
void drawPauseControl();

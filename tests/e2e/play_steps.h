// The steps in play: a level on screen, the four steering keys, and the
// scripted player clearing a level to the zoom and the next level.
#pragma once

#include "game/game_state.h"

// A level in play: no sequence runs and the mouse is on the maze.
bool playing(const GameState &s);

bool levelInPlay();
bool steeringKeys();

// `reached` gets the score of the game once the next level is in play.
bool clearOneLevel(int &reached);

// From the title screen: starts a game and clears one level, unchecked, so
// that a later step can be seen again. `reached` gets the new score.
bool playAnotherGame(int &reached);

// The scripted player: from a state read out of the game, which steering
// key to hold.
#pragma once

#include "e2e/game_process.h"

enum class Steer { none, left, right };

// Head for the middle of the ring's opening, the way the ring's wall does
// not block. Nothing to steer during a sequence or off the maze.
Steer chooseSteer(const GameSnapshot &snap);

// Clockwise distance from `from` to `to`, clock degrees in [0, 360).
float clockwiseGap(float from, float to);

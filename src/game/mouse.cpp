#include "game/mouse.h"

#include "game/game_state.h"
#include "game/maze.h"

void moveMouse() {}
void checkRingPassage() {}

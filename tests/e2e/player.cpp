// Steers with the maze library's own lookups on the maps read from the game.
#include "e2e/player.h"

#include <cmath>

#include "support/maze_read.h"

float clockwiseGap(float from, float to) { return std::fmod(to - from + 720.0f, 360.0f); }

Steer chooseSteer(const GameSnapshot &snap) {
    const GameState &state = snap.state;
    const int ring = state.mouse.ring;
    if (!state.inGame || state.levelTransition || state.gameOver || ring < 1 || ring > ringCount) {
        return Steer::none;
    }
    wallMap = snap.walls;
    arcMap = snap.arcs;
    const int opening = theOpening(ring);
    const int wall = theWall(ring);
    if (opening < 0 || wall < 0) {
        return Steer::none;
    }
    const float target = (opening + 0.5f) * ringSpecs[ring - 1].cellAngle;
    const float wallAngle = cellStartAngle(ring, wall);
    const bool blocked =
        clockwiseGap(state.mouse.angle, wallAngle) < clockwiseGap(state.mouse.angle, target);
    return blocked ? Steer::left : Steer::right;
}

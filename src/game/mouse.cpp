// The mouse's two steps per update: steering along its ring against the
// ring's wall, and dropping inward through the ring's opening.
#include "game/mouse.h"

#include "game/game_state.h"
#include "game/maze.h"

constexpr float fullTurn = 360.0f; // clock degrees
constexpr int32_t centreRing = 5;  // the ring number that means the centre is reached
constexpr int32_t passageAnimFrame = 16;

// In single precision, as the angle is stored. A hair below 0 plus 360 can
// round to exactly 360; that is the same place as 0, and no lookup may see
// 360 (ring 1's cell 40 would be ring 2's cell 0).
static void normaliseAngle(float &angle) {
    if (angle >= fullTurn) {
        angle -= fullTurn;
    }
    if (angle < 0.0f) {
        angle += fullTurn;
    }
    if (angle == fullTurn) {
        angle = 0.0f;
    }
}

// Only the wall at the start of the cell holding the centre can stop it;
// the mouse comes to rest touching that wall.
static void stepAnticlockwise(Mouse &mouse) {
    mouse.facingRight = false;
    const int i = cellIndexFloor(mouse.ring, mouse.angle);
    const float a = cellStartAngle(mouse.ring, i);
    if (hasWall(mouse.ring, i) && a > mouse.angle - mouse.halfWidth - mouse.speed) {
        mouse.angle = a + mouse.halfWidth;
    } else {
        mouse.angle -= mouse.speed;
    }
}

// Only the wall at the next boundary at or after the centre can stop it. A
// wall at 0 is met from below 360, so it is measured against 360 instead.
static void stepClockwise(Mouse &mouse) {
    mouse.facingRight = true;
    const int i = cellIndexCeil(mouse.ring, mouse.angle);
    const float a = cellStartAngle(mouse.ring, i);
    const float reach = mouse.angle + mouse.halfWidth + mouse.speed;
    if (!hasWall(mouse.ring, i)) {
        mouse.angle += mouse.speed;
    } else if (i != 0) {
        mouse.angle = a < reach ? a - mouse.halfWidth : mouse.angle + mouse.speed;
    } else {
        mouse.angle = reach > fullTurn ? fullTurn - mouse.halfWidth : mouse.angle + mouse.speed;
    }
}

// Frozen while a sequence runs; both keys or neither hold it still.
void moveMouse() {
    Mouse &mouse = game.mouse;
    normaliseAngle(mouse.angle);
    if (!game.levelTransition) {
        if (game.keyLeft && !game.keyRight) {
            stepAnticlockwise(mouse);
        } else if (game.keyRight && !game.keyLeft) {
            stepClockwise(mouse);
        }
    }
    normaliseAngle(mouse.angle);
}

// Keeps running during the sequences: a frozen angle over the old maze's
// ring-1 opening drops the mouse into ring 2 before the next level is laid.
void checkRingPassage() {
    Mouse &mouse = game.mouse;
    if (isOpening(mouse.ring, mouse.angle)) {
        mouse.ring += 1;
        mouse.animFrame = passageAnimFrame;
    }
    if (mouse.ring == centreRing) {
        completeLevel();
    }
}

// A scripted player that reads the maps and presses only the three keys:
// proof that levels can be crossed one after another within the clock.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "game/game_state.h"
#include "support/cue_log.h"
#include "support/maze_read.h"

namespace {

float clockwiseGap(float from, float to) { return std::fmod(to - from + 720.0f, 360.0f); }

// Head for the middle of the ring's opening, the way its wall does not block.
void steer() {
    const Mouse &mouse = game.mouse;
    const float target = (theOpening(mouse.ring) + 0.5f) * ringSpecs[mouse.ring - 1].cellAngle;
    const float wall = cellStartAngle(mouse.ring, theWall(mouse.ring));
    const bool blocked = clockwiseGap(mouse.angle, wall) < clockwiseGap(mouse.angle, target);
    game.keyLeft = blocked && !game.levelTransition;
    game.keyRight = !blocked && !game.levelTransition;
}

TEST(ScriptedPlayer, ClearsTenLevelsInARowWithinTheClock) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::srand(seed);
        game = GameState{};
        game.keyStart = true;
        update();
        game.keyStart = false;
        for (int i = 0; i < 100000 && !game.gameOver && game.score < 10; ++i) {
            steer();
            update();
        }
        EXPECT_FALSE(game.gameOver) << "seed " << seed;
        EXPECT_EQ(game.score, 10) << "seed " << seed;
    }
}

} // namespace

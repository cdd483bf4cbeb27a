// The mouse's steering, walls and ring passage, driven through update().
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "game/game_state.h"
#include "game/maze.h"
#include "support/cue_log.h"

namespace {

// A level in play, every ring closed and without walls.
void playing(int ring, float angle) {
    game = GameState{};
    game.inGame = true;
    game.timeLimit = 950;
    game.timeLeft = 900;
    game.mouse = Mouse{1, angle, ring};
    clearMap(wallMap);
    for (uint8_t &cell : arcMap.cells) {
        cell = 1;
    }
    cueLog.clear();
}

void wallAt(int ring, int cell) { wallMap.cells[ringSpecs[ring - 1].firstIndex + cell] = 1; }
void openAt(int ring, int cell) { arcMap.cells[ringSpecs[ring - 1].firstIndex + cell] = 0; }

TEST(MouseSteering, Table) {
    struct Row {
        const char *name;
        int ring, wall;
        float start;
        const char *keys; // L, R held
        bool transition;
        std::vector<float> angles; // after each update
    };
    const Row rows[] = {
        {"anticlockwise onto 45", 1, 5, 55, "L", false, {52.35f, 49.7f, 49, 49}},
        {"clockwise onto 45", 1, 5, 30, "R", false, {32.65f, 35.3f, 37.95f, 40.6f, 41, 41}},
        {"clockwise onto 0 from below 360", 1, 0, 353, "R", false, {355.65f, 356, 356}},
        {"anticlockwise onto 0 from above 0", 1, 0, 1, "L", false, {4, 4}},
        {"clockwise away from 0", 1, 0, 4, "R", false, {6.65f}},
        {"anticlockwise past 0", 1, 20, 1, "L", false, {358.35f, 355.7f}},
        {"clockwise past 360", 1, 20, 359, "R", false, {1.65f, 4.3f}},
        {"clockwise onto 22.5, ring 2", 2, 2, 10, "R", false, {12.65f, 15.3f, 17.95f, 18.5f}},
        {"anticlockwise onto 22.5, ring 2", 2, 2, 30, "L", false, {27.35f, 26.5f, 26.5f}},
        {"anticlockwise onto 337.5, ring 4", 4, 15, 345, "L", false, {342.35f, 341.5f}},
        {"both keys", 1, 20, 100, "LR", false, {100, 100}},
        {"no key", 1, 20, 100, "", false, {100}},
        {"frozen during a sequence", 1, 20, 100, "L", true, {100, 100}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        playing(row.ring, row.start);
        wallAt(row.ring, row.wall);
        const bool left = std::strchr(row.keys, 'L'), right = std::strchr(row.keys, 'R');
        game.keyLeft = left;
        game.keyRight = right;
        game.levelTransition = row.transition;
        game.mouse.facingRight = !right; // so that a turn shows
        for (float want : row.angles) {
            update();
            EXPECT_NEAR(game.mouse.angle, want, 1e-3);
        }
        const bool moves = left != right && !row.transition;
        EXPECT_EQ(game.mouse.facingRight, moves == right);
        EXPECT_EQ(game.mouse.ring, row.ring);
    }
}

// A step back from a hair above `speed` lands a hair below 0, and 360 plus
// that rounds to exactly 360 in single precision. As 360 it would be ring 1's
// cell 40, which is ring 2's cell 0 in the maps.
TEST(MouseSteering, AnAngleRoundingToExactly360IsStoredAsZero) {
    playing(1, std::nextafter(Mouse{}.speed, 0.0f));
    openAt(2, 0);
    ASSERT_EQ(game.mouse.angle - game.mouse.speed + 360.0f, 360.0f);
    game.keyLeft = true;
    update();
    EXPECT_EQ(game.mouse.angle, 0.0f);
    EXPECT_EQ(game.mouse.ring, 1) << "looked up ring 2's opening";
}

TEST(RingPassage, DropsOneRingPerUpdateAndNeverWhenInactive) {
    playing(1, 100);
    openAt(1, 11); // 99 to 108
    openAt(2, 8);  // 90 to 101.25
    game.mouse.active = 0;
    game.keyRight = true;
    update();
    EXPECT_EQ(game.mouse.angle, 100.0f) << "inactive";
    EXPECT_EQ(game.mouse.ring, 1) << "inactive";
    game.mouse.active = 1;
    game.keyRight = false;
    const int rings[] = {2, 3, 3};
    for (int want : rings) {
        update();
        EXPECT_EQ(game.mouse.ring, want);
        EXPECT_EQ(game.mouse.animFrame, 16);
    }
}

// The zoom freezes the angle and keeps the old maze until the next level is
// laid, so an old ring-1 opening under the mouse drops it into ring 2.
TEST(RingPassage, ClearsTheLevelThenKeepsRunningDuringTheZoom) {
    playing(4, 100);
    openAt(4, 4);  // 90 to 112.5
    openAt(1, 11); // 99 to 108, in the maze being left
    update();
    EXPECT_EQ(game.score, 1);
    EXPECT_EQ(game.mouse.ring, 1);
    EXPECT_TRUE(game.levelTransition);
    EXPECT_EQ(cueLog, std::vector<std::string>{"playZoomSound"});
    game.keyRight = true;
    update();
    EXPECT_EQ(game.mouse.ring, 2);
    for (int i = 0; i < 100 && game.levelTransition; ++i) {
        update();
    }
    ASSERT_FALSE(game.levelTransition);
    EXPECT_EQ(game.mouse.ring, 2) << "the next level starts in ring 2";
    EXPECT_EQ(game.mouse.angle, 100.0f);
}

} // namespace

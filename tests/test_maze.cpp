// The ring maze's lookups and its generator, fed chosen numbers or rand().
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "game/game_state.h"
#include "support/maze_read.h"

namespace {

std::vector<int> script; // the numbers the generator draws, in order
size_t drawn = 0;

int scriptedRoll() { return drawn < script.size() ? script[drawn++] : -1000; }

void generateFrom(float mouseAngle, const std::vector<int> &numbers) {
    game = GameState{};
    game.mouse.angle = mouseAngle;
    script = numbers;
    drawn = 0;
    generateMazeWith(scriptedRoll);
    EXPECT_EQ(drawn, 8u) << "the generator draws exactly eight numbers";
}

TEST(MazeLookups, CellIndices) {
    struct Row {
        int ring;
        float angle;
        int floor, ceil;
    };
    const Row rows[] = {
        {1, 0.0f, 0, 0},  {1, 18.0f, 2, 2}, {1, 18.5f, 2, 3}, {1, 355.0f, 39, 0},
        {2, 22.5f, 2, 3}, {2, 22.0f, 1, 2}, {2, 45.0f, 4, 4}, {2, 350.0f, 31, 0},
        {3, 15.0f, 1, 1}, {3, 14.9f, 0, 1}, {4, 67.5f, 3, 4}, {4, 90.0f, 4, 4},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << "ring " << row.ring << " angle " << row.angle);
        EXPECT_EQ(cellIndexFloor(row.ring, row.angle), row.floor);
        EXPECT_EQ(cellIndexCeil(row.ring, row.angle), row.ceil);
    }
}

TEST(MazeLookups, StartAnglesWrapsAndFallbacks) {
    EXPECT_FLOAT_EQ(cellStartAngle(2, 5), 56.25f);
    EXPECT_FLOAT_EQ(cellStartAngle(5, 3), 0.0f);
    const int wraps[][3] = {{40, 1, 0},  {-1, 1, 39}, {-3, 2, 29}, {16, 4, 0},
                            {15, 4, 15}, {7, 5, 7},   {-2, 5, -2}}; // cell, ring, wrapped
    for (const auto &row : wraps) {
        EXPECT_EQ(wrapCell(row[0], row[1]), row[2]) << "cell " << row[0] << " ring " << row[1];
    }
    clearMap(wallMap);
    wallMap.cells[ringSpecs[2].firstIndex + 4] = 1;
    EXPECT_TRUE(hasWall(3, 4));
    EXPECT_FALSE(hasWall(3, 5) || hasWall(2, 4) || hasWall(5, 0));
    arcMap.cells[ringSpecs[1].firstIndex] = 1;
    arcMap.cells[ringSpecs[1].firstIndex + 1] = 0; // ring 2, 11.25 to 22.5
    arcMap.cells[ringSpecs[0].firstIndex + 1] = 1;
    EXPECT_FALSE(isOpening(2, 11.0f));
    EXPECT_TRUE(isOpening(2, 11.25f));
    EXPECT_FALSE(isOpening(1, 11.25f)) << "ring 1 has its own cells";
    EXPECT_TRUE(isOpening(5, 100.0f)) << "past ring 4 lies the centre";
}

TEST(MazeGenerator, LaysWallsAndOpeningsFromTheDrawnNumbers) {
    struct Row {
        const char *name;
        float mouseAngle;
        std::vector<int> numbers; // w1, o1, w2, o2, w3, o3, w4, o4
        int walls[4], openings[4];
    };
    const Row rows[] = {
        {"worked example", 0, {0, 10, 5, 7, 3, 20, 9, 2}, {37, 5, 0, 9}, {10, 4, 20, 2}},
        {"ring 1, 2 and 39", 0, {2, 39, 15, 20, 10, 5, 5, 10}, {5, 15, 10, 5}, {36, 20, 5, 10}},
        {"ring 1, 1", 0, {1, 20, 5, 20, 10, 5, 5, 10}, {4, 5, 10, 5}, {20, 20, 5, 10}},
        {"mouse at 100", 100, {9, 13, 5, 20, 10, 5, 5, 10}, {6, 5, 10, 5}, {16, 20, 5, 10}},
        // Under o1 = 0, (0 - 2) * 32 / 40 truncates to -1: cell 30 stays, 31 moves.
        {"negative sum", 180, {5, 0, 30, 31, 10, 5, 5, 10}, {5, 30, 10, 5}, {0, 28, 5, 10}},
        // Under o1 = 39, 41 * 32 / 40 = 32 wraps to 0, caught after the middle.
        {"past the ring", 180, {5, 39, 0, 9, 10, 5, 5, 10}, {5, 3, 10, 5}, {39, 9, 2, 10}},
        {"ring 3", 180, {5, 10, 20, 0, 23, 0, 5, 10}, {5, 20, 20, 5}, {10, 0, 21, 10}},
        {"ring 4", 180, {5, 10, 20, 1, 10, 23, 0, 15}, {5, 20, 10, 3}, {10, 1, 23, 12}},
    };
    for (const Row &row : rows) {
        generateFrom(row.mouseAngle, row.numbers);
        for (int ring = 1; ring <= 4; ++ring) {
            EXPECT_EQ(theWall(ring), row.walls[ring - 1]) << row.name << ", ring " << ring;
            EXPECT_EQ(theOpening(ring), row.openings[ring - 1]) << row.name << ", ring " << ring;
        }
    }
}

// Over many seeds and angles: one wall and one opening per ring, none on or
// beside the mouse's cell in ring 1, and every point of each opening lies
// over a cell of the next ring that is neither its wall nor its opening.
TEST(MazeGenerator, KeepsClearOfTheMouseAndOfEveryDropPoint) {
    for (unsigned seed = 1; seed <= 4000; ++seed) {
        std::srand(seed);
        game = GameState{};
        game.mouse.angle = static_cast<float>(std::rand() % 36000) / 100.0f;
        generateMaze();
        SCOPED_TRACE(testing::Message() << "seed " << seed << " angle " << game.mouse.angle);
        for (int ring = 1; ring <= 4; ++ring) {
            ASSERT_NE(theWall(ring), -1) << "ring " << ring;
            ASSERT_NE(theOpening(ring), -1) << "ring " << ring;
        }
        const int e = cellIndexFloor(1, game.mouse.angle);
        for (int near = e + 38; near <= e + 42; ++near) {
            ASSERT_NE(theWall(1), near % 40);
            ASSERT_NE(theOpening(1), near % 40);
        }
        for (int ring = 1; ring <= 3; ++ring) {
            const float start = cellStartAngle(ring, theOpening(ring));
            for (float a = start; a < start + ringSpecs[ring - 1].cellAngle; a += 0.25f) {
                const int below = cellIndexFloor(ring + 1, a);
                ASSERT_NE(below, theWall(ring + 1)) << "ring " << ring + 1 << " at " << a;
                ASSERT_NE(below, theOpening(ring + 1)) << "ring " << ring + 1 << " at " << a;
            }
        }
    }
}

} // namespace

// The maze and the mouse on memory bitmaps: where walls, arcs and the mouse
// land at rest and through the zooms.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/game_state.h"
#include "game/maze.h"
#include "render/maze_view.h"
#include "render/scene.h"
#include "shell/assets.h"
#include "shell/shell.h"
#include "support/render_fixture.h"

namespace {

// The maze colour (16, 64, 32) at alpha 240 over black.
bool isMaze(Rgb p) {
    return std::abs(p.r - 15) <= 2 && std::abs(p.g - 60) <= 2 && std::abs(p.b - 30) <= 2;
}

struct SceneState {
    const char *name;
    bool levelTransition;
    bool gameOver;
    int score;
    unsigned phaseFrame;
};

const SceneState playing{"playing", false, false, 3, 0};
const SceneState opening0{"opening zoom frame 0", true, false, 0, 0};
const SceneState opening30{"opening zoom frame 30", true, false, 0, 30};
const SceneState opening60{"opening zoom frame 60", true, false, 0, 60};
const SceneState level30{"level zoom frame 30", true, false, 5, 30};
const SceneState message150{"level message frame 150", true, false, 4, 150};
const SceneState over30{"game over frame 30", false, true, 2, 30};
const SceneState over60{"game over frame 60", false, true, 2, 60};

class MazeViewTest : public RenderTest {
  protected:
    void setState(const SceneState &s) {
        game.inGame = true;
        game.levelTransition = s.levelTransition;
        game.gameOver = s.gameOver;
        game.score = s.score;
        game.phaseFrame = s.phaseFrame;
    }
    static uint8_t &wall(int ring, int i) {
        return wallMap.cells[ringSpecs[ring - 1].firstIndex + i];
    }
    static uint8_t &arc(int ring, int i) {
        return arcMap.cells[ringSpecs[ring - 1].firstIndex + i];
    }
    static float cellAngle(int ring) { return ringSpecs[ring - 1].cellAngle; }
};

TEST_F(MazeViewTest, WallsStandWhereTheMapSays) {
    struct Row {
        int ring;
        int cell;
    };
    const Row rows[] = {{1, 0}, {1, 10}, {2, 5}, {3, 12}, {4, 13}, {4, 15}};
    setState(playing);
    for (const Row &row : rows) {
        const RingSpec &geom = ringSpecs[row.ring - 1];
        const float mid = (geom.innerRadius + geom.outerRadius) / 2;
        const int other = (row.cell + geom.cells / 2) % geom.cells;
        const ScreenPoint on = polarToScreen(row.cell * geom.cellAngle, mid);
        const ScreenPoint off = polarToScreen(other * geom.cellAngle, mid);

        clearMap(wallMap);
        clearTarget();
        drawWalls();
        EXPECT_TRUE(shot().litBox().empty) << "empty map, ring " << row.ring;

        wall(row.ring, row.cell) = 1;
        drawWalls();
        const Snapshot s = shot();
        EXPECT_TRUE(isMaze(s.at(on.x, on.y))) << "ring " << row.ring << " cell " << row.cell;
        EXPECT_FALSE(s.lit(off.x, off.y)) << "ring " << row.ring << " cell " << other;
    }
}

TEST_F(MazeViewTest, EachRingsOpeningIsTheGapInItsArcs) {
    struct Row {
        int ring;
        int opening;
    };
    const Row rows[] = {{1, 10}, {2, 0}, {3, 23}, {4, 7}};
    setState(playing);
    for (const Row &row : rows) {
        const RingSpec &geom = ringSpecs[row.ring - 1];
        clearMap(arcMap);
        for (int i = 0; i < geom.cells; ++i) {
            arc(row.ring, i) = i == row.opening ? 0 : 1;
        }
        clearTarget();
        drawArcs();
        const Snapshot s = shot();
        auto at = [&](int cell) {
            const int i = (cell + geom.cells) % geom.cells;
            return polarToScreen((i + 0.5f) * geom.cellAngle, geom.innerRadius);
        };
        const ScreenPoint gap = at(row.opening);
        const ScreenPoint before = at(row.opening - 1);
        const ScreenPoint after = at(row.opening + 1);
        EXPECT_FALSE(s.lit(gap.x, gap.y)) << "ring " << row.ring << " opening";
        EXPECT_TRUE(isMaze(s.at(before.x, before.y))) << "ring " << row.ring << " cell before";
        EXPECT_TRUE(isMaze(s.at(after.x, after.y))) << "ring " << row.ring << " cell after";
    }
}

TEST_F(MazeViewTest, OpeningZoomShowsNoMaze) {
    struct Row {
        SceneState state;
        bool drawn;
    };
    const Row rows[] = {{opening0, false},  {opening30, false}, {opening60, false}, {playing, true},
                        {message150, true}, {level30, true},    {over30, true}};
    for (uint8_t &cell : wallMap.cells) {
        cell = 1;
    }
    for (uint8_t &cell : arcMap.cells) {
        cell = 1;
    }
    for (const Row &row : rows) {
        setState(row.state);
        clearTarget();
        drawWalls();
        drawArcs();
        drawWallSegment(90.0f, 100.0f, 90.0f, 150.0f);
        drawArcSegment(0.0f, 90.0f, 100.0f);
        EXPECT_EQ(shot().count(isMaze) > 0, row.drawn) << row.state.name;
    }
}

TEST_F(MazeViewTest, MazeFollowsTheZoom) {
    struct Row {
        SceneState state;
        int ring;
        float wallRadius;  // a point that must be on the wall at 90 degrees
        float clearRadius; // and one that must not
        float arcRadius;   // the ring's inner arc, zoomed
    };
    const Row rows[] = {
        {playing, 4, 125.0f, 375.0f, 100.0f},
        {message150, 4, 125.0f, 375.0f, 100.0f},
        {level30, 4, 216.0f, 125.0f, 173.2f}, // 173.2 to 259.8
        {over30, 4, 216.0f, 125.0f, 173.2f},
        {over60, 4, 375.0f, 125.0f, 300.0f}, // three times as far out
        {over60, 3, 525.0f, 175.0f, 450.0f}, // wall off the right edge
    };
    for (const Row &row : rows) {
        setState(row.state);
        clearMap(wallMap);
        clearMap(arcMap);
        const int wallCell = static_cast<int>(90.0f / cellAngle(row.ring));
        wall(row.ring, wallCell) = 1;
        arc(row.ring, 0) = 1;
        clearTarget();
        drawWalls();
        drawArcs();
        const Snapshot s = shot();
        const ScreenPoint on = polarToScreen(90.0f, row.wallRadius);
        const ScreenPoint off = polarToScreen(90.0f, row.clearRadius);
        const ScreenPoint arcPoint = polarToScreen(cellAngle(row.ring) / 2, row.arcRadius);
        const bool onScreen = on.x < screenWidth;
        if (onScreen) {
            EXPECT_TRUE(isMaze(s.at(on.x, on.y))) << row.state.name << " ring " << row.ring;
        }
        EXPECT_FALSE(s.lit(off.x, off.y)) << row.state.name << " ring " << row.ring;
        if (arcPoint.y >= 0) {
            EXPECT_TRUE(isMaze(s.at(arcPoint.x, arcPoint.y)))
                << row.state.name << " arc of ring " << row.ring;
        }
    }
}

TEST_F(MazeViewTest, RingOneWallLeavesTheWindowHalfWayThroughTheZoom) {
    setState(level30);
    wall(1, 10) = 1; // at 90 degrees: 433 to 520 from the centre
    drawWalls();
    EXPECT_TRUE(shot().litBox().empty);
}

} // namespace

// The ring maze: ring geometry, the two cell maps, their lookups and the
// random generator that lays out one level.
#include "game/maze.h"

#include <cstdlib>

#include "game/game_state.h"

const RingSpec ringSpecs[ringCount] = {
    {40, 9.0f, 250.0f, 300.0f, 0},
    {32, 11.25f, 200.0f, 250.0f, 40},
    {24, 15.0f, 150.0f, 200.0f, 72},
    {16, 22.5f, 100.0f, 150.0f, 96},
};

RingCellMap wallMap;
RingCellMap arcMap;

// Cells either side of a window's middle that the wall and opening avoid,
// and how far a value caught in the window is pushed out of it.
constexpr int windowReach = 2;
constexpr int windowShift = 3;

// Ring 1 to 4, or nullptr for any other ring number (the lookups' fallbacks).
static const RingSpec *geometryOf(int ring) {
    return ring >= 1 && ring <= ringCount ? &ringSpecs[ring - 1] : nullptr;
}

// Only ever asked about rings 1 to 4; 0 keeps any other ring inside the maps.
int cellIndexFloor(int ring, float angle) {
    const RingSpec *geom = geometryOf(ring);
    return geom ? static_cast<int>(angle / geom->cellAngle) : 0;
}

// The boundary is compared with its whole-degree cut, so on rings 2 and 4 an
// angle lying exactly on a fractional boundary counts as past it.
int cellIndexCeil(int ring, float angle) {
    const RingSpec *geom = geometryOf(ring);
    if (!geom) {
        return 0;
    }
    const int i = cellIndexFloor(ring, angle);
    const int boundary = static_cast<int>(static_cast<float>(i) * geom->cellAngle);
    if (angle == static_cast<float>(boundary)) {
        return i;
    }
    return i + 1 == geom->cells ? 0 : i + 1;
}

float cellStartAngle(int ring, int i) {
    const RingSpec *geom = geometryOf(ring);
    return geom ? static_cast<float>(i) * geom->cellAngle : 0.0f;
}

// One wrap is enough: callers are never more than one ring's count off.
int wrapCell(int i, int ring) {
    const RingSpec *geom = geometryOf(ring);
    const int count = geom ? geom->cells : 0;
    if (i >= count) {
        i -= count;
    }
    if (i < 0) {
        i += count;
    }
    return i;
}

bool hasWall(int ring, int i) {
    const RingSpec *geom = geometryOf(ring);
    return geom ? wallMap.cells[geom->firstIndex + i] == 1 : false;
}

// Past ring 4 lies the centre, which is all opening.
bool isOpening(int ring, float angle) {
    const RingSpec *geom = geometryOf(ring);
    return geom ? arcMap.cells[geom->firstIndex + cellIndexFloor(ring, angle)] == 0 : true;
}

void clearMap(RingCellMap &map) {
    for (uint8_t &cell : map.cells) {
        cell = 0;
    }
}

// Draws one ring's wall and opening, then pushes each out of the window of
// five cells around `outerCell` of a ring with `outerCells` cells, scaled into
// this ring's cells: anticlockwise if caught at or before the middle, else
// clockwise. The scaling truncates toward zero, also for negative sums.
static void layRing(int ring, int outerCell, int outerCells, int (*roll)(), int &wall,
                    int &opening) {
    const int cells = ringSpecs[ring - 1].cells;
    wall = roll() % cells;
    opening = roll() % cells;
    for (int d = -windowReach; d <= windowReach; ++d) {
        const int c = wrapCell((outerCell + d) * cells / outerCells, ring);
        const int shift = d <= 0 ? -windowShift : windowShift;
        if (wall == c) {
            wall = wrapCell(wall + shift, ring);
        }
        if (opening == c) {
            opening = wrapCell(opening + shift, ring);
        }
    }
}

static void writeMaps(const int walls[ringCount], const int openings[ringCount]) {
    for (int ring = 1; ring <= ringCount; ++ring) {
        const RingSpec &geom = ringSpecs[ring - 1];
        for (int i = 0; i < geom.cells; ++i) {
            wallMap.cells[geom.firstIndex + i] = i == walls[ring - 1] ? 1 : 0;
            arcMap.cells[geom.firstIndex + i] = i == openings[ring - 1] ? 0 : 1;
        }
    }
}

void generateMaze() { generateMazeWith(std::rand); }

// Ring 1 keeps clear of the mouse's own cell; each inner ring keeps clear of
// the cells under the opening the mouse drops through, so the mouse never
// lands against a wall or straight over the next opening. Eight numbers are
// drawn: wall then opening, ring by ring, outermost first.
void generateMazeWith(int (*roll)()) {
    int walls[ringCount];
    int openings[ringCount];
    int outerCell = cellIndexFloor(1, game.mouse.angle);
    int outerCells = ringSpecs[0].cells; // ring 1's window is in its own cells
    for (int ring = 1; ring <= ringCount; ++ring) {
        layRing(ring, outerCell, outerCells, roll, walls[ring - 1], openings[ring - 1]);
        outerCell = openings[ring - 1];
        outerCells = ringSpecs[ring - 1].cells;
    }
    writeMaps(walls, openings);
}

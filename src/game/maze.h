// The ring maze: four concentric rings of equal cells, each with one
// radial wall and one opening in its inner edge.
#pragma once

#include <cstdint>

constexpr int ringCount = 4;
constexpr int mazeCellCount = 112; // 40 + 32 + 24 + 16

struct RingSpec {
    int32_t cells;      // cells in the ring
    float cellAngle;    // degrees per cell
    float innerRadius;  // pixels from the clock centre
    float outerRadius;  // pixels from the clock centre
    int32_t firstIndex; // index of the ring's cell 0 in a RingCellMap
};

// Rings 1 (outermost) to 4 at indices 0 to 3.
extern const RingSpec ringSpecs[ringCount];

// One byte per cell of all four rings.
struct RingCellMap {
    uint8_t cells[mazeCellCount];
};

extern RingCellMap wallMap; // 1: a radial wall at the cell's start boundary
extern RingCellMap arcMap;  // 1: the cell's inner edge is closed; 0: the opening

int cellIndexFloor(int ring, float angle);
int cellIndexCeil(int ring, float angle);
float cellStartAngle(int ring, int i);
int wrapCell(int i, int ring);
bool hasWall(int ring, int i);
bool isOpening(int ring, float angle);
void clearMap(RingCellMap &map);

// Lays out a new level around the mouse's angle, drawing numbers from rand().
void generateMaze();
// The same layout with the eight numbers drawn from `roll` instead, so that
// tests can hand it a chosen sequence.
void generateMazeWith(int (*roll)());

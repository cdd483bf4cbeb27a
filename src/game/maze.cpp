#include "game/maze.h"

const RingSpec ringSpecs[ringCount] = {
    {40, 9.0f, 250.0f, 300.0f, 0},
    {32, 11.25f, 200.0f, 250.0f, 40},
    {24, 15.0f, 150.0f, 200.0f, 72},
    {16, 22.5f, 100.0f, 150.0f, 96},
};

RingCellMap wallMap;
RingCellMap arcMap;

int cellIndexFloor(int, float) { return 0; }
int cellIndexCeil(int, float) { return 0; }
float cellStartAngle(int, int) { return 0.0f; }
int wrapCell(int i, int) { return i; }
bool hasWall(int, int) { return false; }
bool isOpening(int, float) { return false; }
void clearMap(RingCellMap &map) {
    for (uint8_t &cell : map.cells) {
        cell = 0;
    }
}
void generateMaze() {}

// Reading a laid-out maze back from its maps, for the tests.
#pragma once

#include "game/maze.h"

// The one cell of `ring` whose entry in `map` is `value`; -1 if none or several.
inline int onlyCell(const RingCellMap &map, int ring, int value) {
    const RingSpec &geom = ringSpecs[ring - 1];
    int found = -1;
    for (int i = 0; i < geom.cells; ++i) {
        if (map.cells[geom.firstIndex + i] == value) {
            found = found == -1 ? i : -2;
        }
    }
    return found < 0 ? -1 : found;
}

inline int theWall(int ring) { return onlyCell(wallMap, ring, 1); }
inline int theOpening(int ring) { return onlyCell(arcMap, ring, 0); }

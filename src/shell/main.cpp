// Clock Maze: a mouse runs a circular maze on a clock face.
#include "shell/shell.h"

int main(int, char **) {
    if (!startUp()) {
        return 1;
    }
    runLoop();
    return 0;
}

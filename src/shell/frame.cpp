// The frame function: the order in which the drawing layers are laid.
#include "game/game_state.h"
#include "render/maze_view.h"
#include "render/rest_scene.h"
#include "render/scene.h"
#include "render/screens.h"
#include "shell/shell.h"

void render() {
    al_clear_to_color(al_map_rgb(0, 0, 0));
    if (!game.inGame) {
        drawMenu();
        return;
    }
    if (!drawRestScene()) {
        drawBackground();
        drawClockFace();
    }
    drawClockHand();
    drawWalls();
    drawArcs();
    drawNumber(game.score, 107, 532);
    drawMouse();
    if (game.gameOver) {
        drawFade();
    }
    drawLevelMessage();
}
